// One measurement of the store, the converter or a plain file access per call, for
// bench/figures.py, which runs it in fresh processes and takes the medians. Each command prints
// "name=value" pairs, one a line: times in milliseconds, memory in kB.
//
//   orvel_probe make DIR             the large project as DIR/large.kvd, and as DIR/old.kvd in
//                                    the old layout
//   orvel_probe read FILE            a plain read of the file
//   orvel_probe load FILE            one load of the project (time, and the peak memory it added)
//   orvel_probe load-warm FILE N     N loads and N plain reads in one process, interleaved
//   orvel_probe save FILE N          N saves of the loaded project and N fsync-writes of the same
//                                    bytes, interleaved
//   orvel_probe convert FILE N       N conversions of a copy of the old file and N plain reads
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/OldLayout.h"
#include "platform/SafeFile.h"
#include "platform/SharedLibrary.h"
#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// A line "Key:   123 kB" of /proc/self/status.
long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string want = std::string(key) + ":";
    while (std::getline(in, line))
        if (line.compare(0, want.size(), want) == 0) return std::atol(line.c_str() + want.size());
    return -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Print(const char* key, double value) { std::printf("%s=%.3f\n", key, value); }

std::size_t PlainRead(const std::string& path) {
    const auto bytes = platform::ReadFileCapped(path);
    return bytes ? bytes->size() : 0;
}

int Make(const std::string& dir) {
    TFileAccess store(dir + "/large.kvd");
    GenerateProject(store, ProjectSize::Large());
    if (!store.SaveAll()) return 1;
    platform::WriteFileAtomic(dir + "/old.kvd", OldLayoutOf(store));
    return 0;
}

int Read(const std::string& path) {
    const long before = StatusKb("VmRSS");
    const auto t0 = Clock::now();
    const std::size_t n = PlainRead(path);
    Print("ms", MsSince(t0));
    Print("peak_kb", static_cast<double>(StatusKb("VmHWM") - before));
    Print("file_kb", static_cast<double>(n) / 1024.0);
    return 0;
}

int Load(const std::string& path) {
    const long before = StatusKb("VmRSS");
    auto store = std::make_unique<TFileAccess>(path);
    const auto t0 = Clock::now();
    if (!store->LoadAll()) return 1;
    Print("ms", MsSince(t0));
    Print("peak_kb", static_cast<double>(StatusKb("VmHWM") - before));
    Print("after_kb", static_cast<double>(StatusKb("VmRSS") - before));
    return 0;
}

int LoadWarm(const std::string& path, int n) {
    std::vector<double> loads, reads;
    for (int i = 0; i <= n; ++i) {
        auto store = std::make_unique<TFileAccess>(path);
        auto t0 = Clock::now();
        if (!store->LoadAll()) return 1;
        const double load = MsSince(t0);
        store.reset();
        t0 = Clock::now();
        PlainRead(path);
        const double read = MsSince(t0);
        if (i == 0) continue;   // the first round only warms the caches
        loads.push_back(load);
        reads.push_back(read);
    }
    Print("ms", Median(loads));
    Print("read_ms", Median(reads));
    return 0;
}

int Save(const std::string& path, int n) {
    TFileAccess store(path);
    if (!store.LoadAll()) return 1;
    const auto coded = platform::ReadFileCapped(path);
    store.FileName = path + ".saved";
    const std::string plainTarget = path + ".plain";
    std::vector<double> saves, writes;
    for (int i = 0; i <= n; ++i) {
        auto t0 = Clock::now();
        if (!store.SaveAll()) return 1;
        const double save = MsSince(t0);
        t0 = Clock::now();
        platform::WriteFileAtomic(plainTarget, *coded);
        const double write = MsSince(t0);
        if (i == 0) continue;
        saves.push_back(save);
        writes.push_back(write);
    }
    const bool same = platform::ReadFileCapped(store.FileName) == coded;
    platform::RemoveFile(store.FileName);
    platform::RemoveFile(plainTarget);
    Print("ms", Median(saves));
    Print("write_ms", Median(writes));
    Print("same_bytes", same ? 1 : 0);
    return 0;
}

int Convert(const std::string& path, int n) {
    const auto library = platform::TSharedLibrary::Load(VANTREL_LIBRARY);
    auto* vantrel = library->Function<bool(const unsigned char*)>("Vantrel");
    const auto old = platform::ReadFileCapped(path);
    const std::string copy = path + ".converted";
    std::string arg(1, static_cast<char>(copy.size()));
    arg += copy;
    std::vector<double> converts, reads;
    for (int i = 0; i < n; ++i) {
        platform::WriteFileAtomic(copy, *old);
        auto t0 = Clock::now();
        PlainRead(copy);
        reads.push_back(MsSince(t0));
        t0 = Clock::now();
        if (!vantrel(reinterpret_cast<const unsigned char*>(arg.data()))) return 1;
        converts.push_back(MsSince(t0));
    }
    platform::RemoveFile(copy);
    Print("ms", Median(converts));
    Print("read_ms", Median(reads));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv + 1, argv + argc);
    const auto count = [&] { return a.size() > 2 ? std::max(1, std::atoi(a[2].c_str())) : 5; };
    try {
        if (a.size() >= 2 && a[0] == "make") return Make(a[1]);
        if (a.size() >= 2 && a[0] == "read") return Read(a[1]);
        if (a.size() >= 2 && a[0] == "load") return Load(a[1]);
        if (a.size() >= 2 && a[0] == "load-warm") return LoadWarm(a[1], count());
        if (a.size() >= 2 && a[0] == "save") return Save(a[1], count());
        if (a.size() >= 2 && a[0] == "convert") return Convert(a[1], count());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: orvel_probe make DIR | read FILE | load FILE | load-warm FILE N | save FILE N | "
                         "convert FILE N\n");
    return 2;
}
