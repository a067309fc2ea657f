// Timings on the ordinary large project. The timings of the coding and the sections carry
// "plain_ms", the time of a plain copy of the same bytes, and "x_plain", the ratio of the two; the
// whole-file Save and Load carry "plain_file_ms", writing or reading the same coded bytes plainly,
// and "x_plain_file".
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include <benchmark/benchmark.h>

#include "platform/SafeFile.h"
#include "store/FileAccess.h"
#include "store/XorCoding.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/StoreFixtures.h"

namespace {

void WriteAllSections(TFileAccess& s) {
    s.FileText.clear();
    s.WriteProductInfo("Orvel", "2.0.1");
    s.WriteTestGroups();
    s.WriteTests();
    s.WriteStimuli();
    s.WriteReactions();
    s.WriteScales();
    s.WriteInterpretations();
    s.WriteWeights();
}

bool ReadAllSections(TFileAccess& s) {
    return s.ReadTestGroups() && s.ReadTests() && s.ReadStimuli() && s.ReadReactions() && s.ReadScales() &&
           s.ReadInterpretations() && s.ReadWeights();
}

struct Project {
    TFileAccess store;
    std::string plain;
    std::string coded;
    Project() {
        GenerateProject(store, ProjectSize::Large());
        WriteAllSections(store);
        plain = store.FileText;
        coded = EncodeText(plain);
    }
};

Project& Large() {
    static Project p;
    return p;
}

// Best of five plain copies of n bytes, in milliseconds.
double PlainPassMs(std::size_t n) {
    const std::string src(n, 'x');
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        std::string copy(src);
        benchmark::DoNotOptimize(copy.data());
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return best;
}

void Report(benchmark::State& state, std::size_t bytes, double totalMs) {
    const double plain = PlainPassMs(bytes);
    const double per = totalMs / static_cast<double>(state.iterations());
    state.counters["plain_ms"] = plain;
    state.counters["x_plain"] = plain > 0 ? per / plain : 0;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

template <typename F>
void Timed(benchmark::State& state, std::size_t bytes, F&& body) {
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        body(state);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    Report(state, bytes, total);
}

void BM_WriteAllSections(benchmark::State& state) {
    auto& p = Large();
    Timed(state, p.coded.size(), [&](benchmark::State&) {
        WriteAllSections(p.store);
        benchmark::DoNotOptimize(p.store.FileText.data());
    });
}

void BM_Encode(benchmark::State& state) {
    auto& p = Large();
    Timed(state, p.coded.size(), [&](benchmark::State&) {
        auto coded = EncodeText(p.plain);
        benchmark::DoNotOptimize(coded.data());
    });
}

void BM_Decode(benchmark::State& state) {
    auto& p = Large();
    Timed(state, p.coded.size(), [&](benchmark::State&) {
        auto plain = DecodeText(p.coded);
        benchmark::DoNotOptimize(plain.data());
    });
}

void BM_ReadAllSections(benchmark::State& state) {
    auto& p = Large();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<TFileAccess>();
        s->FileText = p.plain;
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        if (!ReadAllSections(*s)) state.SkipWithError("the generated project did not read back");
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    Report(state, p.coded.size(), total);
}

void BM_NewIDFullTable(benchmark::State& state) {
    auto& p = Large();
    for (auto _ : state) {
        // A fresh hint each time: the worst case is a walk over every used ID once.
        TWeightTable& w = p.store.Weights;
        w.First();
        TWeight first = w.GetRecordOf();
        w.Delete();
        benchmark::DoNotOptimize(w.NewID());
        w.AddWeight(first);
        benchmark::DoNotOptimize(w.NewID());
    }
    state.counters["records"] = p.store.Weights.RecordCount();
}

void BM_SortFullTable(benchmark::State& state) {
    auto& p = Large();
    // The weights in a shuffled order, sorted again each time.
    TWeightTable shuffled;
    std::vector<int> order(p.store.Weights.RecordCount());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    for (int i : order) shuffled.AddWeight(p.store.Weights.At(i));
    TWeightTable t;
    for (auto _ : state) {
        state.PauseTiming();
        shuffled.Copy(t);
        state.ResumeTiming();
        t.Sort();
        benchmark::DoNotOptimize(t.Modified());
    }
    state.counters["records"] = shuffled.RecordCount();
}

// The whole project to disk and back, against writing and reading the same coded bytes plainly.
std::string BenchFile(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

template <typename F>
double BestMs(F&& f) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void BM_SaveWholeProject(benchmark::State& state) {
    auto& p = Large();
    p.store.FileName = BenchFile("orvel-bench-save.kvd");
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!p.store.SaveAll()) state.SkipWithError(p.store.LastError.c_str());
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    const std::string coded = EncodeText(p.store.FileText);
    const double plain = BestMs([&] { platform::WriteFileAtomic(p.store.FileName, coded); });
    state.counters["plain_file_ms"] = plain;
    state.counters["x_plain_file"] = total / static_cast<double>(state.iterations()) / plain;
    state.counters["MB"] = static_cast<double>(coded.size()) / 1e6;
    platform::RemoveFile(p.store.FileName);
}

void BM_LoadWholeProject(benchmark::State& state) {
    auto& p = Large();
    const std::string path = BenchFile("orvel-bench-load.kvd");
    platform::WriteFileAtomic(path, p.coded);
    double total = 0;
    for (auto _ : state) {
        auto s = std::make_unique<TFileAccess>(path);
        const auto t0 = std::chrono::steady_clock::now();
        if (!s->LoadAll()) state.SkipWithError("the generated project did not load");
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    const double plain = BestMs([&] { benchmark::DoNotOptimize(platform::ReadFileCapped(path)->size()); });
    state.counters["plain_file_ms"] = plain;
    state.counters["x_plain_file"] = total / static_cast<double>(state.iterations()) / plain;
    state.counters["MB"] = static_cast<double>(p.coded.size()) / 1e6;
    platform::RemoveFile(path);
}

// The test with the most weights below it.
std::int32_t LargestTest(const TFileAccess& s) {
    std::int32_t best = -1;
    int most = -1;
    for (int t = 0; t < s.Tests.RecordCount(); ++t) {
        const std::int32_t test = s.Tests.At(t).ID;
        int weights = 0;
        for (int q : s.Stimuli.IndexesOfParent(test))
            for (int r : s.Reactions.IndexesOfParent(s.Stimuli.At(q).ID))
                weights += static_cast<int>(s.Weights.IndexesOfParent(s.Reactions.At(r).ID).size());
        if (weights > most) {
            most = weights;
            best = test;
        }
    }
    return best;
}

// Times body on a fresh copy of the large project each time.
template <typename F>
void OnFreshCopy(benchmark::State& state, F&& body) {
    auto& p = Large();
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<TFileAccess>();
        CloneStore(p.store, *s);
        state.ResumeTiming();
        body(*s);
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["weights"] = p.store.Weights.RecordCount();
}

void BM_DeleteAllTestGroups(benchmark::State& state) {
    OnFreshCopy(state, [&](TFileAccess& s) {
        if (!s.DeleteAllTestGroups() || s.Weights.RecordCount() != 0) state.SkipWithError("not all deleted");
    });
}

void BM_DeleteLargestTest(benchmark::State& state) {
    const std::int32_t test = LargestTest(Large().store);
    OnFreshCopy(state, [&](TFileAccess& s) {
        if (!s.DeleteTest(test)) state.SkipWithError("the test was not deleted");
    });
}

// Builds the lookups by ID and by parent again after a bulk removal, as a load leaves them.
void WarmIndexes(TFileAccess& s) {
    for (TObjectTable* t : s.AllTables()) {
        if (t->RecordCount() == 0) continue;
        benchmark::DoNotOptimize(t->IndexOfID(t->RecordAt(0).ID));
        benchmark::DoNotOptimize(t->IndexesOfParent(t->RecordAt(0).ParentID).size());
    }
}

void BM_CopyLargestTest(benchmark::State& state) {
    auto& p = Large();
    TFileAccess s;
    CloneStore(p.store, s);
    const std::int32_t test = LargestTest(s);
    std::array<int, 8> counts{};
    for (std::size_t i = 0; i < counts.size(); ++i) counts[i] = s.AllTables()[i]->RecordCount();
    int copied = 0;
    for (auto _ : state) {
        if (s.CopyTest(test, -1) < 0) state.SkipWithError("the copy failed");
        state.PauseTiming();
        copied = 0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            copied += s.AllTables()[i]->RecordCount() - counts[i];
            s.AllTables()[i]->Truncate(counts[i]);
        }
        WarmIndexes(s);
        state.ResumeTiming();
    }
    state.counters["records_copied"] = copied;
    state.counters["weights"] = s.Weights.RecordCount();
}

void BM_ThousandAddsWithNewIDs(benchmark::State& state) {
    auto& p = Large();
    TFileAccess s;
    CloneStore(p.store, s);
    // Free IDs spread over the table, as deletes leave them.
    for (int i = s.Weights.RecordCount() - 1; i >= 0; i -= 250) {
        s.Weights.SetCursor(i);
        s.Weights.Delete();
    }
    const int base = s.Weights.RecordCount();
    WarmIndexes(s);
    TWeight w;
    w.ParentID = 1;
    w.ScaleID = 1;
    w.Name = "Added";
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            w.ID = s.Weights.NewID();
            w.Order = s.Weights.MaxOrder(w.ParentID) + 1;
            s.Weights.AddWeight(w);
        }
        state.PauseTiming();
        s.Weights.DeleteWhere([&](const TAnyObject& r) { return r.Name == "Added"; });
        WarmIndexes(s);
        state.ResumeTiming();
    }
    state.counters["weights"] = base;
}

}  // namespace

BENCHMARK(BM_SaveWholeProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWholeProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAllSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewIDFullTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFullTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAllTestGroups)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteLargestTest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyLargestTest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThousandAddsWithNewIDs)->Unit(benchmark::kMillisecond);
