// Exports and import of one test on the ordinary large project. The exported test is the
// project's largest: a generated test of the given number of questions (each with the project's
// answers, weights and scales) put into the large project; the timings grow with it linearly
// ("records" is the test's size; the fit is reported as the complexity line).
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "exchange/ExportFormats.h"
#include "exchange/ImportTest.h"
#include "platform/SafeFile.h"
#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"

namespace {

std::string BenchFile(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

// One test put into the open project: the generated test of that many questions.
struct BigTest {
    std::int32_t TestID = -1;
    std::int32_t GroupID = -1;
    std::int64_t Records = 0;   // the test's records, itself included
};

constexpr int kSizes[] = {20, 80, 320, 1280};

// The large project is made once and opened, with one test of each size of kSizes in it.
const BigTest& OpenWithTest(int questions) {
    static const std::map<int, BigTest> tests = [] {
        GlobalStore() = std::make_unique<TFileAccess>();
        TFileAccess& open = *GlobalStore();
        GenerateProject(open, ProjectSize::Large());
        std::map<int, BigTest> made;
        for (int size : kSizes) {
            ProjectSize one = ProjectSize::Large();
            one.Groups = 1;
            one.Tests = 1;
            one.QuestionsPerTest = size;
            TFileAccess single;
            GenerateProject(single, one, static_cast<std::uint32_t>(size));
            BigTest t;
            t.GroupID = open.TestGroups.At(0).ID;
            t.TestID = single.CopyTestTo(single.Tests.At(0).ID, t.GroupID, open, true);
            for (const TObjectTable* table : single.AllTables())
                if (table != &single.TestGroups) t.Records += table->RecordCount();
            made[size] = t;
        }
        return made;
    }();
    return tests.at(questions);
}

void BM_Export(benchmark::State& state, std::size_t format) {
    const BigTest& p = OpenWithTest(static_cast<int>(state.range(0)));
    const TExportFormat& f = ExportFormats()[format];
    const std::string path = BenchFile(std::string("orvel-bench-export.") + f.Ext);
    for (auto _ : state) {
        if (!f.Make(path, p.TestID, "Author", "author@example.org", "(c)", false)->Export())
            state.SkipWithError("the export failed");
    }
    state.SetComplexityN(p.Records);
    state.counters["records"] = static_cast<double>(p.Records);
    platform::RemoveFile(path);
}

void BM_ImportKvt(benchmark::State& state) {
    const BigTest& p = OpenWithTest(static_cast<int>(state.range(0)));
    const std::string path = BenchFile("orvel-bench-import.kvt");
    if (!ExportFormats()[0].Make(path, p.TestID, "", "", "", false)->Export()) state.SkipWithError("no kvt");
    for (auto _ : state) {
        TImportKVTTest importer(p.GroupID, path);
        if (!importer.Import()) state.SkipWithError("the import failed");
        state.PauseTiming();
        GlobalStore()->DeleteTest(importer.GetNewTestID());
        state.ResumeTiming();
    }
    state.SetComplexityN(p.Records);
    state.counters["records"] = static_cast<double>(p.Records);
    platform::RemoveFile(path);
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int size : kSizes) b->Arg(size);
    b->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_Export, kvt, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Export, xml, 1)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Export, csv, 2)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Export, kvw, 3)->Apply(Sizes);
BENCHMARK(BM_ImportKvt)->Apply(Sizes);

}  // namespace
