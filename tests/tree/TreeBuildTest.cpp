// Building the tree from the store: the whole tree, one node's children, the weight kinds.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include <fstream>
#include <memory>
#include <random>

#include "lang/DlgLangConverter.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

// The tree as the plain walks of the tables would build it: every table read from its first
// record to its last through its cursor, once per parent node.
class ReferenceBuild {
public:
    explicit ReferenceBuild(TFileAccess& s) : s_(s) {}

    std::string Dump() {
        out_.clear();
        Line(0, "nkRoot", -1, lang::GetMessageText("OBJECTSTREE_MAIN_NODE_TITLE"));
        Line(1, "nkTestsRoot", -1, lang::GetMessageText("OBJECTSTREE_TESTS_MAIN_NODE_TITLE"));
        for (bool ok = s_.TestGroups.First(); ok; ok = s_.TestGroups.Next()) {
            const TTestGroup g = s_.TestGroups.GetRecordOf();
            Line(2, "nkTestGroup", g.ID, g.Name);
            Tests(g.ID);
        }
        return out_;
    }

private:
    void Line(int depth, const char* kind, std::int32_t id, const std::string& name) {
        out_ += std::string(static_cast<std::size_t>(depth) * 2, ' ') + kind + " " + std::to_string(id) + " " + name + "\n";
    }
    void Tests(std::int32_t group) {
        for (bool ok = s_.Tests.First(); ok; ok = s_.Tests.Next()) {
            if (s_.Tests.GetParentID() != group) continue;
            const TTest t = s_.Tests.GetRecordOf();
            Line(3, "nkTest", t.ID, t.Name);
            Line(4, "nkScalesFolder", t.ID, lang::GetMessageText("OBJECTSTREE_SCALES_MAIN_NODE_TITLE"));
            for (bool sc = s_.Scales.First(); sc; sc = s_.Scales.Next()) {
                if (s_.Scales.GetParentID() != t.ID) continue;
                Line(5, "nkScale", s_.Scales.GetID(), s_.Scales.GetName());
                const std::int32_t scale = s_.Scales.GetID();
                for (bool in = s_.Interpretations.First(); in; in = s_.Interpretations.Next())
                    if (s_.Interpretations.GetParentID() == scale)
                        Line(6, "nkInterpretation", s_.Interpretations.GetID(), s_.Interpretations.GetName());
            }
            Line(4, "nkQuestionsFolder", t.ID, lang::GetMessageText("OBJECTSTREE_STIMULS_MAIN_NODE_TITLE"));
            for (bool st = s_.Stimuli.First(); st; st = s_.Stimuli.Next()) {
                if (s_.Stimuli.GetParentID() != t.ID) continue;
                Line(5, "nkQuestion", s_.Stimuli.GetID(), s_.Stimuli.GetName());
                const std::int32_t stimulus = s_.Stimuli.GetID();
                for (bool r = s_.Reactions.First(); r; r = s_.Reactions.Next()) {
                    if (s_.Reactions.GetParentID() != stimulus) continue;
                    Line(6, "nkAnswer", s_.Reactions.GetID(), s_.Reactions.GetName());
                    const std::int32_t reaction = s_.Reactions.GetID();
                    for (bool w = s_.Weights.First(); w; w = s_.Weights.Next())
                        if (s_.Weights.GetParentID() == reaction)
                            Line(7, s_.Weights.GetScaleID() == -1 ? "nkWeightNoScale" : "nkWeight",
                                 s_.Weights.GetID(), s_.Weights.GetName());
                }
            }
        }
    }

    TFileAccess& s_;
    std::string out_;
};

}  // namespace

TEST(TreeBuild, WithoutAProjectTheTreeStaysEmpty) {
    ScopedGlobalStore store(nullptr);
    MainWindowProbe main;
    TObjectsTree tree(nullptr, main.Handle());
    tree.Rebuild();
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(tree.RootNode(), nullptr);
    EXPECT_EQ(tree.TestsRootNode(), nullptr);
    EXPECT_TRUE(main.Messages.empty());
}

TEST(TreeBuild, AnEmptyProjectShowsTheRootAndTheTestsRoot) {
    ScopedGlobalStore store(std::make_unique<TFileAccess>());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    EXPECT_EQ(DumpTree(tree), "nkRoot -1 " + lang::GetMessageText("OBJECTSTREE_MAIN_NODE_TITLE") + "\n  nkTestsRoot -1 " +
                                  lang::GetMessageText("OBJECTSTREE_TESTS_MAIN_NODE_TITLE") + "\n");
    ASSERT_NE(tree.RootNode(), nullptr);
    EXPECT_TRUE(tree.RootNode()->isExpanded());
    EXPECT_EQ(tree.TestsRootNode(), tree.RootNode()->child(0));
    EXPECT_TRUE(tree.IsLeaf(tree.TestsRootNode()));
}

TEST(TreeBuild, TheFixtureBuildsTheExpectedTree) {
    ScopedGlobalStore store(MakeFixtureStore());
    MainWindowProbe main;
    TObjectsTree tree(nullptr, main.Handle());
    tree.Rebuild();
    EXPECT_EQ(DumpTree(tree), FixtureDump());
    // The root shows its one child; everything below stays collapsed; nothing is selected.
    EXPECT_TRUE(tree.RootNode()->isExpanded());
    EXPECT_FALSE(tree.TestsRootNode()->isExpanded());
    EXPECT_EQ(tree.SelectedNode(), nullptr);
    EXPECT_TRUE(main.Messages.empty()) << "building is no change of selection";
    // The store is only read.
    EXPECT_FALSE(store.Store().IsModified());
    // A second build gives the same tree.
    tree.Rebuild();
    EXPECT_EQ(DumpTree(tree), FixtureDump());
}

TEST(TreeBuild, RebuildingDropsTheSelectionAndTellsTheMainWindow) {
    ScopedGlobalStore store(MakeFixtureStore());
    MainWindowProbe main;
    TObjectsTree tree(nullptr, main.Handle());
    QLabel status;
    tree.SetStatusLabel(&status);
    tree.Rebuild();
    tree.setCurrentItem(FindNode(tree, nkTest, 1));
    const QString line = status.text();
    main.Messages.clear();
    tree.Rebuild();
    EXPECT_EQ(tree.SelectedNode(), nullptr);
    ASSERT_EQ(main.Messages.size(), 1u);
    EXPECT_EQ(main.Messages[0].WParam, 504u);
    EXPECT_EQ(main.Messages[0].LParam, 0);
    EXPECT_EQ(status.text(), line) << "a cleared selection leaves the status line";
}

TEST(TreeBuild, TheBuildMatchesThePlainWalksOnRandomStores) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 40; ++round) {
        auto s = std::make_unique<TFileAccess>();
        GenerateRandomStore(*s, rng);
        if (round % 2) {
            for (TObjectTable* t : s->AllTables()) t->Sort();
        }
        ReferenceBuild reference(*s);
        const std::string expected = reference.Dump();
        ScopedGlobalStore store(std::move(s));
        TObjectsTree tree(nullptr, platform::kNoWindow);
        tree.Rebuild();
        ASSERT_EQ(DumpTree(tree), expected) << "round " << round;
        ASSERT_EQ(UntrueCaches(store.Store()), "") << "round " << round;
    }
}

TEST(TreeBuild, FillNodeAddsTheChildrenOfEachKind) {
    ScopedGlobalStore store(MakeFixtureStore());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    struct Case {
        TNodeKind Kind;
        std::int32_t Id;
    };
    const Case cases[] = {{nkTestsRoot, -1}, {nkTestGroup, 1},       {nkTest, 1},     {nkScalesFolder, 1},
                          {nkScale, 1},      {nkQuestionsFolder, 1}, {nkQuestion, 1}, {nkAnswer, 1}};
    for (const Case& c : cases) {
        QTreeWidgetItem* node = FindNode(tree, c.Kind, c.Id);
        ASSERT_NE(node, nullptr) << NodeKindName(c.Kind);
        const std::string before = DumpSubtree(node);
        qDeleteAll(node->takeChildren());
        tree.FillNode(node);
        EXPECT_EQ(DumpSubtree(node), before) << NodeKindName(c.Kind);
    }
    EXPECT_EQ(DumpTree(tree), FixtureDump());
    // Nodes without stored children get none.
    for (const Case& c : {Case{nkInterpretation, 1}, Case{nkWeight, 1}, Case{nkWeightNoScale, 2}}) {
        QTreeWidgetItem* node = FindNode(tree, c.Kind, c.Id);
        tree.FillNode(node);
        EXPECT_EQ(node->childCount(), 0) << NodeKindName(c.Kind);
    }
    // On the root it builds the tree anew, here from a changed store.
    store.Store().TestGroups.Locate(2);
    store.Store().TestGroups.Delete();
    tree.FillNode(tree.RootNode());
    EXPECT_EQ(DumpTree(tree), RebuiltDump());
    EXPECT_EQ(FindNode(tree, nkTestGroup, 2), nullptr);
}

TEST(TreeBuild, FillWithoutFolderPutsTheItemsUnderTheNodeItself) {
    ScopedGlobalStore store(MakeFixtureStore());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    QTreeWidgetItem* scales = FindNode(tree, nkScalesFolder, 1);
    tree.FillScales(scales, false);   // a second set behind the first: nothing is removed
    EXPECT_EQ(scales->childCount(), 4);
    QTreeWidgetItem* test = FindNode(tree, nkTest, 2);
    tree.FillScales(test, true);
    ASSERT_EQ(test->childCount(), 3);
    EXPECT_EQ(GetNodeKind(test->child(2)), nkScalesFolder);
    EXPECT_EQ(GetNodeID(test->child(2)), 2);
}

TEST(TreeBuild, WeightKindsFollowTheStore) {
    ScopedGlobalStore store(MakeFixtureStore());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    tree.Rebuild();
    // Every weight has its node before the store changes.
    tree.BuildAll(nullptr);
    TWeightTable& weights = store.Store().Weights;
    const auto rebind = [&](std::int32_t id, std::int32_t scale) {
        ASSERT_TRUE(weights.Locate(id));
        TWeight w = weights.GetRecordOf();
        w.ScaleID = scale;
        weights.EditRecord(w);
    };
    rebind(1, -1);   // loses its scale
    rebind(2, 3);    // gains one
    QTreeWidgetItem* lost = FindNode(tree, nkWeight, 1);
    QTreeWidgetItem* gained = FindNode(tree, nkWeightNoScale, 2);
    // A weight node whose weight is gone keeps its kind.
    QTreeWidgetItem* orphan = AddObjectNode(nullptr, FindNode(tree, nkAnswer, 2), [] {
        TNodeData d;
        d.Id = 99;
        d.Name = "gone";
        d.Kind = nkWeightNoScale;
        return d;
    }());
    tree.collapseAll();
    tree.RefreshWeightKinds();
    EXPECT_EQ(GetNodeKind(lost), nkWeightNoScale);
    EXPECT_EQ(lost->icon(0).cacheKey(), tree.NodeIcon(nkWeightNoScale, kNoOverlay).cacheKey());
    EXPECT_EQ(GetNodeKind(gained), nkWeight);
    EXPECT_EQ(gained->icon(0).cacheKey(), tree.NodeIcon(nkWeight, kNoOverlay).cacheKey());
    EXPECT_EQ(GetNodeKind(orphan), nkWeightNoScale);
    delete orphan;
    EXPECT_EQ(DumpTree(tree), RebuiltDump());
}

TEST(TreeBuild, AFillThatFailsShowsWhyAndKeepsWhatItBuilt) {
    // A language file without the caption of the scales folder.
    TempDir dir;
    const std::string file = dir.Path() + "/language.txt";
    {
        std::ofstream out(file, std::ios::binary);
        out << "[Dialogues]\n";
        for (const char* key : {"APPLICATION_NAME", "OBJECTSTREE_MAIN_NODE_TITLE", "OBJECTSTREE_TESTS_MAIN_NODE_TITLE",
                                "OBJECTSTREE_STIMULS_MAIN_NODE_TITLE"})
            out << key << "=" << lang::GetMessageText(key) << "\n";
    }
    auto saved = lang::SetMessageTable(std::make_unique<TDlgLangConverter>(file));
    {
        ScopedGlobalStore store(MakeFixtureStore());
        RecordingInteraction shown;
        TObjectsTree tree(nullptr, platform::kNoWindow);
        tree.Rebuild();
        // Every test still shows its questions; none shows a scales folder.
        ASSERT_EQ(shown.Messages.size(), 3u);
        EXPECT_NE(shown.Messages[0].find("OBJECTSTREE_SCALES_MAIN_NODE_TITLE"), std::string::npos) << shown.Messages[0];
        EXPECT_EQ(FindNode(tree, nkScalesFolder, 1), nullptr);
        for (std::int32_t test : {1, 2, 5}) EXPECT_NE(FindNode(tree, nkQuestionsFolder, test), nullptr);
        EXPECT_NE(FindNode(tree, nkWeightNoScale, 2), nullptr);
    }
    lang::SetMessageTable(std::move(saved));
}
