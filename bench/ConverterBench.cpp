// The converter library on an old file of the ordinary large project's size, called through
// dlopen as the program calls it. "convert_ms" is one whole conversion in place (read, copy,
// write); "plain_read_ms" reads the same bytes plainly; "x_plain_read" is the ratio.
#include <chrono>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/SafeFile.h"
#include "platform/SharedLibrary.h"
#include "bench/OldLayout.h"
#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/TempDir.h"

namespace {

const std::string& LargeOldFile() {
    static const std::string text = [] {
        TFileAccess store;
        GenerateProject(store, ProjectSize::Large());
        return OldLayoutOf(store);
    }();
    return text;
}

double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void BM_ConvertLargeOldFile(benchmark::State& state) {
    const auto library = platform::TSharedLibrary::Load(VANTREL_LIBRARY);
    auto* vantrel = library->Function<bool(const unsigned char*)>("Vantrel");
    TempDir dir;
    const std::string name = dir.File("old.kvd");
    std::string arg(1, static_cast<char>(name.size()));
    arg += name;
    const std::string& old = LargeOldFile();
    double convert = 0;
    double read = 0;
    for (auto _ : state) {
        state.PauseTiming();
        platform::WriteFileAtomic(name, old);
        auto t0 = std::chrono::steady_clock::now();
        const auto bytes = platform::ReadFileCapped(name);
        read += Ms(t0);
        benchmark::DoNotOptimize(bytes->data());
        state.ResumeTiming();
        t0 = std::chrono::steady_clock::now();
        if (!vantrel(reinterpret_cast<const unsigned char*>(arg.data()))) state.SkipWithError("not converted");
        convert += Ms(t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["MB"] = static_cast<double>(old.size()) / 1e6;
    state.counters["convert_ms"] = convert / n;
    state.counters["plain_read_ms"] = read / n;
    state.counters["x_plain_read"] = read > 0 ? convert / read : 0;
}

}  // namespace

BENCHMARK(BM_ConvertLargeOldFile)->Unit(benchmark::kMillisecond)->Iterations(3);
