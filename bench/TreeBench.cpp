// Timings of the objects tree on the ordinary large project (500 tests, 10,000 questions,
// 50,000 answers, 250,000 weights): building the whole tree, bringing the weight kinds in line,
// refilling one test. Runs on the offscreen platform.
#include <QApplication>

#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>

#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"
#include "tree/ObjectsTree.h"

namespace {

void InstallLargeProject() {
    if (GlobalStore()) return;
    auto store = std::make_unique<TFileAccess>();
    GenerateProject(*store, ProjectSize::Large());
    for (TObjectTable* t : store->AllTables()) t->Sort();
    GlobalStore() = std::move(store);
}

int CountNodes(const QTreeWidgetItem* node) {
    int n = 1;
    for (int i = 0; i < node->childCount(); ++i) n += CountNodes(node->child(i));
    return n;
}

void BM_RebuildLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    for (auto _ : state) {
        tree.Rebuild();
        benchmark::DoNotOptimize(tree.RootNode());
    }
    state.counters["nodes"] = CountNodes(tree.RootNode());
}
BENCHMARK(BM_RebuildLargeProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same, shown in a window, as the main window's pane is.
void BM_RebuildLargeProjectShown(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.resize(300, 800);
    tree.show();
    QApplication::processEvents();
    for (auto _ : state) {
        tree.Rebuild();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RebuildLargeProjectShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RefreshWeightKindsLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    for (auto _ : state) tree.RefreshWeightKinds();
}
BENCHMARK(BM_RefreshWeightKindsLargeProject)->Unit(benchmark::kMillisecond);

// One test node emptied and filled again (import and paste do this).
void BM_FillOneTest(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    QTreeWidgetItem* test = tree.FindChildByID(1, tree.FindTestGroupNode(1));
    for (auto _ : state) {
        qDeleteAll(test->takeChildren());
        tree.FillNode(test);
    }
}
BENCHMARK(BM_FillOneTest)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    GlobalStore().reset();
    return 0;
}
