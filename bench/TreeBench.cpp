// Timings of the objects tree on the ordinary large project (500 tests, 10,000 questions,
// 50,000 answers, 250,000 weights): building the tree as Open shows it and building it whole,
// bringing the weight kinds in line,
// refilling one test, pasting a copy or a cut, dropping a node among its siblings, Show and Hide
// All Children and a remove on the fully expanded tree, Find and Find Next, a quick import. Runs
// on the offscreen platform.
#include <QApplication>

#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>

#include "lang/MessageDialog.h"
#include "platform/SafeFile.h"
#include "platform/qt/ModalDialogs.h"
#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"
#include "tree/NodeSearch.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeNode.h"

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

// The tree built down to the last weight, as after Show All or a Find through every question.
void BM_RebuildWholeLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    for (auto _ : state) {
        tree.Rebuild();
        tree.BuildAll(nullptr);
        benchmark::DoNotOptimize(tree.RootNode());
    }
    state.counters["nodes"] = CountNodes(tree.RootNode());
}
BENCHMARK(BM_RebuildWholeLargeProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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

// Lookups by ID and by parent once, so that their indexes stand (a delete drops them, and the
// next lookup builds them anew).
void WarmIndexes(const TFileAccess& s) {
    for (const TObjectTable* t : s.AllTables()) {
        t->IndexOfID(1);
        t->IndexesOfParent(1);
    }
}

// A copy of one test (5 scales, 15 interpretations, 20 questions, 100 answers, 500 weights)
// pasted into another group: the deep copy, its node filled and expanded. The copy is taken out
// again between the rounds, so each pastes into the same project, and the indexes that the
// delete dropped are built before the next round: the figure is the paste's own.
void BM_PasteCopyOfTestLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    QTreeWidgetItem* source = tree.FindChildByID(1, tree.FindTestGroupNode(1));
    QTreeWidgetItem* group = tree.FindTestGroupNode(2);
    for (auto _ : state) {
        state.PauseTiming();
        tree.setCurrentItem(source);
        tree.Copy();
        tree.setCurrentItem(group);
        state.ResumeTiming();
        tree.Paste();
        state.PauseTiming();
        QTreeWidgetItem* copy = tree.PastedNode();
        GlobalStore()->DeleteTest(GetNodeID(copy));
        tree.ClearClipboard();
        delete copy;
        WarmIndexes(*GlobalStore());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteCopyOfTestLargeProject)->Unit(benchmark::kMillisecond);

// A scale cut and pasted into another test: the move, the renumbering of its new siblings, and
// the walk over every weight for those that lose their binding. It goes back and forth.
void BM_PasteCutScaleLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    QTreeWidgetItem* folders[] = {tree.FindChildByID(1, tree.FindTestGroupNode(1))->child(0),
                                  tree.FindChildByID(2, tree.FindTestGroupNode(2))->child(0)};
    int from = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tree.setCurrentItem(folders[from]->child(0));
        tree.Cut();
        tree.setCurrentItem(folders[1 - from]);
        state.ResumeTiming();
        tree.Paste();
        from = 1 - from;
    }
}
BENCHMARK(BM_PasteCutScaleLargeProject)->Unit(benchmark::kMillisecond);

// The last answer of a question dropped on its first: the move and the renumbering, with the
// sort of the 50,000 answers.
void BM_DropAnswerLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    QTreeWidgetItem* question = tree.FindChildByID(1, tree.FindTestGroupNode(1))->child(1)->child(0);
    tree.EnsureChildren(question);
    for (auto _ : state) {
        QTreeWidgetItem* last = question->child(question->childCount() - 1);
        tree.setCurrentItem(last);
        tree.DropBefore(last, question->child(0));
    }
}
BENCHMARK(BM_DropAnswerLargeProject)->Unit(benchmark::kMillisecond);

// ---- the View commands and a remove on the fully expanded tree, shown in a window

// The large project's tree in a window, every node expanded.
struct ShownTree {
    TObjectsTree tree{nullptr, platform::kNoWindow};
    ShownTree() {
        InstallLargeProject();
        tree.resize(300, 800);
        tree.show();
        tree.Rebuild();
        tree.BuildAll(nullptr);
        Expand();
    }
    void Expand() {
        tree.expandAll();
        QApplication::processEvents();
    }
    void Collapse() {
        tree.collapseAll();
        QApplication::processEvents();
    }
};

// The first group of the tests root; its tests hold about a fifth of the tree.
QTreeWidgetItem* FirstGroup(const TObjectsTree& tree) { return tree.TestsRootNode()->child(0); }

// Show All Children on the root of the collapsed tree: every node becomes visible.
void BM_ShowAllChildrenLargeProject(benchmark::State& state) {
    ShownTree shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.Collapse();
        state.ResumeTiming();
        shown.tree.ExpandAll(shown.tree.RootNode());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowAllChildrenLargeProject)->Unit(benchmark::kMillisecond);

// Show All Children on the root of the tree as Open shows it: the answers and weights are built
// on the way.
void BM_ShowAllChildrenAfterOpenLargeProject(benchmark::State& state) {
    ShownTree shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.tree.Rebuild();
        QApplication::processEvents();
        state.ResumeTiming();
        shown.tree.ExpandAll(shown.tree.RootNode());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowAllChildrenAfterOpenLargeProject)->Unit(benchmark::kMillisecond);

// Hide All Children on the root (0) or on the first group (1) of the fully expanded tree.
void BM_HideAllChildrenLargeProject(benchmark::State& state) {
    ShownTree shown;
    QTreeWidgetItem* node = state.range(0) == 0 ? shown.tree.RootNode() : FirstGroup(shown.tree);
    for (auto _ : state) {
        state.PauseTiming();
        shown.Expand();
        state.ResumeTiming();
        shown.tree.CollapseAll(node);
        QApplication::processEvents();
    }
    state.counters["rows_hidden"] = CountNodes(node) - 1;
}
BENCHMARK(BM_HideAllChildrenLargeProject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Remove of a test (confirmed) with the whole tree expanded: the store's cascading delete and
// the view dropping the test's rows. A different test each round.
void BM_RemoveTestExpandedLargeProject(benchmark::State& state) {
    ShownTree shown;
    const TMessageDialog::Responder saved =
        TMessageDialog::SetResponder([](const TMessageDialog&) { return TMessageDialog::mrYes; });
    for (auto _ : state) {
        state.PauseTiming();
        QTreeWidgetItem* group = FirstGroup(shown.tree);
        shown.tree.setCurrentItem(group->child(group->childCount() / 2));
        WarmIndexes(*GlobalStore());
        state.ResumeTiming();
        shown.tree.RemoveObject();
        QApplication::processEvents();
    }
    TMessageDialog::SetResponder(saved);
    // The project lost tests: the next benchmarks start from a new one.
    GlobalStore().reset();
}
BENCHMARK(BM_RemoveTestExpandedLargeProject)->Unit(benchmark::kMillisecond)->Iterations(10);

// ---- Find and the quick import

// Find of a name that only the last node of the tree holds, from the first node: the walk over
// every node in display order, through the answers and weights not built yet (arg 0) or with the
// whole tree built (arg 1).
void BM_FindLastNodeLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    if (state.range(0) == 1) tree.BuildAll(nullptr);
    QTreeWidgetItem* last = tree.RootNode();
    for (tree.EnsureChildren(last); last->childCount() > 0; tree.EnsureChildren(last))
        last = last->child(last->childCount() - 1);
    const std::string name = "Only the last node";
    tree.SetNodeName(last, name);
    for (auto _ : state) {
        tree.setCurrentItem(tree.RootNode());
        if (tree.FindObject(nullptr, name, sfWholeTitle, fotAnyObject) != last) state.SkipWithError("not found");
    }
    state.counters["nodes"] = CountNodes(tree.RootNode());
}
BENCHMARK(BM_FindLastNodeLargeProject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Find and then Find Next over every match of a word that the name of every question holds
// (10,000 matches, in any letter case), to the message at the end.
void BM_FindNextEveryMatchLargeProject(benchmark::State& state) {
    InstallLargeProject();
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    const std::string word = "question";
    const RecordingInteraction shown;   // the not-found message at the end
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (QTreeWidgetItem* node = tree.FindObject(nullptr, word, 0, fotAnyObject); node;
             node = tree.FindObject(tree.SelectedNode(), word, 0, fotAnyObject))
            ++matches;
    }
    state.counters["matches"] = matches;
}
BENCHMARK(BM_FindNextEveryMatchLargeProject)->Unit(benchmark::kMillisecond);

// A quick import of 10,000 questions with 5 answers each into the questions folder of one test:
// reading the text, storing the objects and filling the folder anew. The questions are taken out
// again between the rounds.
void BM_QuickImportQuestionsLargeProject(benchmark::State& state) {
    InstallLargeProject();
    std::string text;
    for (int q = 0; q < 10000; ++q) {
        text += "Question " + std::to_string(q) + " of the import\r\n";
        for (int a = 0; a < 5; ++a) text += "  Answer " + std::to_string(a) + "\r\n";
        text += "\r\n";
    }
    TempDir dir;
    const std::string file = dir.File("questions.txt");
    platform::WriteFileAtomic(file, text);
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    // Test 2: the first test is private.
    QTreeWidgetItem* folder = tree.FindChildByID(2, tree.FindTestGroupNode(2))->child(1);
    const platform::ScopedFileDialogHook chooseFile([&](const platform::TFileDialogRequest&) { return file; });
    bool imported = true;
    for (auto _ : state) {
        state.PauseTiming();
        const int before = folder->childCount();
        tree.setCurrentItem(folder);
        state.ResumeTiming();
        tree.FastImportStimuls();
        state.PauseTiming();
        imported = imported && folder->childCount() == before + 10000;
        GlobalStore()->DeleteStimuliOfTest(2);
        qDeleteAll(folder->takeChildren());
        WarmIndexes(*GlobalStore());
        state.ResumeTiming();
    }
    if (!imported) state.SkipWithError("not imported");
    state.counters["lines"] = 60000;
    // The project lost the test's questions: the next benchmarks start from a new one.
    GlobalStore().reset();
}
BENCHMARK(BM_QuickImportQuestionsLargeProject)->Unit(benchmark::kMillisecond);

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
