// Cut, copy and paste: the mark, which pairs may be pasted, moves and deep copies through the
// store, and the tree and the store alike afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QTest>

#include "store/StoreTestSeam.h"
#include "tests/support/StoreFixtures.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

// One node of each kind in the fixture (nkNone: no node).
struct KindSample {
    TNodeKind Kind;
    std::int32_t Id;
};
const KindSample kSamples[] = {
    {nkNone, 0},         {nkRoot, -1},          {nkTestsRoot, -1},   {nkTestGroup, 1},      {nkTest, 1},
    {nkScalesFolder, 1}, {nkScale, 1},          {nkInterpretation, 1}, {nkWeight, 1},       {nkWeightNoScale, 2},
    {nkQuestionsFolder, 1}, {nkQuestion, 1},    {nkAnswer, 1},
};

class TreePaste : public FixtureTreeTest {
protected:
    // Marks the node by Copy or Cut (nkNone: nothing marked).
    void MarkSample(const KindSample& s, bool cut = false) {
        tree_.ClearClipboard();
        if (s.Kind == nkNone) return;
        Select(s.Kind, s.Id);
        cut ? tree_.Cut() : tree_.Copy();
    }
    void SelectSample(const KindSample& s) {
        if (s.Kind == nkNone) tree_.setCurrentItem(nullptr);
        else Select(s.Kind, s.Id);
        main_.Messages.clear();
    }
    // Marks, selects the new parent and pastes.
    void CutAndPaste(TNodeKind kind, std::int32_t id, TNodeKind to, std::int32_t toId) {
        Select(kind, id);
        tree_.Cut();
        Select(to, toId);
        tree_.Paste();
    }
    void CopyAndPaste(TNodeKind kind, std::int32_t id, TNodeKind to, std::int32_t toId, int times = 1) {
        Select(kind, id);
        tree_.Copy();
        Select(to, toId);
        for (int i = 0; i < times; ++i) tree_.Paste();
    }
    void Refill() {
        GlobalStore() = MakeFixtureStore();
        tree_.Rebuild();
        main_.Messages.clear();
    }
    int RecordCount() const {
        int count = 0;
        for (const TObjectTable* t : S().AllTables()) count += t->RecordCount();
        return count;
    }
    std::vector<std::int32_t> ChildIDs(TNodeKind kind, std::int32_t id) const {
        std::vector<std::int32_t> ids;
        if (const QTreeWidgetItem* node = FindNode(tree_, kind, id))
            for (int i = 0; i < node->childCount(); ++i) ids.push_back(GetNodeID(node->child(i)));
        return ids;
    }
};

// The objects below a node (folders excluded), as kind and ID.
void Collect(const QTreeWidgetItem* node, std::vector<std::pair<TNodeKind, std::int32_t>>& out) {
    const TNodeKind kind = GetNodeKind(node);
    if (kind != nkScalesFolder && kind != nkQuestionsFolder) out.emplace_back(kind, GetNodeID(node));
    for (int i = 0; i < node->childCount(); ++i) Collect(node->child(i), out);
    TObjectsTree::WalkPending(node, [&](const TObjectsTree::TPendingRecord& r) {
        out.emplace_back(r.Kind, r.Id);
        return false;
    });
}

}  // namespace

// Rows: the marked kind (0: nothing marked); columns: the selected kind (0: nothing selected).
// 'P' where Paste is possible.
TEST_F(TreePaste, CanPasteOverEveryPairOfKinds) {
    //                        selected: 0123456789012
    const char* const kTable[] = {
        ".............",   // nothing marked
        ".............",   // root
        ".............",   // tests root
        ".............",   // test group: the store cannot copy or move a whole group
        "...P.........",   // test under a test group
        ".............",   // scales folder
        ".....P.......",   // scale under a scales folder
        "......P......",   // interpretation under a scale
        "............P",   // weight under an answer
        "............P",   // weight without a scale under an answer
        ".............",   // questions folder
        "..........P..",   // question under a questions folder
        "...........P.",   // answer under a question
    };
    const std::string before = DumpTree(tree_);
    for (const KindSample& marked : kSamples) {
        for (const KindSample& selected : kSamples) {
            SCOPED_TRACE(std::string(NodeKindName(marked.Kind)) + " on " + NodeKindName(selected.Kind));
            MarkSample(marked);
            SelectSample(selected);
            const bool expected = kTable[marked.Kind][selected.Kind] == 'P';
            EXPECT_EQ(tree_.CanPaste(), expected);
            if (expected) continue;
            // A refused pair pastes nothing and tells nobody.
            tree_.Paste();
            EXPECT_EQ(UnmarkedDump(tree_), before);
            EXPECT_TRUE(main_.Messages.empty());
        }
    }
    EXPECT_FALSE(S().IsModified());
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(TreePaste, CutAndCopyMarkOneNodeAtATime) {
    QTreeWidgetItem* first = Select(nkQuestion, 1);
    tree_.Cut();
    EXPECT_EQ(tree_.ClipboardMode(), TObjectsTree::cmCut);
    EXPECT_EQ(tree_.MarkedNode(), first);
    EXPECT_EQ(GetNodeOverlay(first), kCutOverlayImage);
    EXPECT_EQ(first->icon(0).cacheKey(), tree_.NodeIcon(nkQuestion, kCutOverlayImage).cacheKey());

    QTreeWidgetItem* second = Select(nkQuestion, 2);
    tree_.Copy();
    EXPECT_EQ(tree_.ClipboardMode(), TObjectsTree::cmCopy);
    EXPECT_EQ(tree_.MarkedNode(), second);
    EXPECT_EQ(GetNodeOverlay(first), kNoOverlay);
    EXPECT_EQ(GetNodeOverlay(second), kCopyOverlayImage);
    EXPECT_TRUE(main_.Messages.empty()) << "marking tells the main window nothing";

    // Paste now copies.
    Select(nkQuestionsFolder, 2);
    tree_.Paste();
    EXPECT_EQ(ChildIDs(nkQuestionsFolder, 1), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(ChildIDs(nkQuestionsFolder, 2), std::vector<std::int32_t>{4});

    // Without a selection there is nothing to mark; the mark stays where it was.
    tree_.setCurrentItem(nullptr);
    tree_.Cut();
    EXPECT_EQ(tree_.MarkedNode(), second);
    EXPECT_EQ(tree_.ClipboardMode(), TObjectsTree::cmCopy);
}

TEST_F(TreePaste, ACopiedQuestionPastedTwiceGivesTwoCopiesWithNewIds) {
    CopyAndPaste(nkQuestion, 1, nkQuestionsFolder, 2, 2);
    // Questions 1 to 3 exist: the copies are 4 and 5, at the end, in that order.
    EXPECT_EQ(ChildIDs(nkQuestionsFolder, 2), (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(Stored(S().Stimuli, 4).Order, 0);
    EXPECT_EQ(Stored(S().Stimuli, 5).Order, 1);
    EXPECT_EQ(Stored(S().Stimuli, 5).Name, "Parties");
    EXPECT_EQ(Stored(S().Stimuli, 5).AnswersLimit, 2);
    // Each with copies of the answers and their weights; the typing test has no scales, so the
    // copied weights are bound to none.
    const std::string copy =
        "nkQuestion 5 Parties\n"
        "  nkAnswer 6 Yes\n"
        "    nkWeightNoScale 8 Yes on Extraversion\n"
        "    nkWeightNoScale 9 Unbound\n"
        "  nkAnswer 7 No\n"
        "    nkWeightNoScale 10 No on Neuroticism\n";
    EXPECT_EQ(DumpSubtree(FindNode(tree_, nkQuestion, 5)), copy);
    EXPECT_EQ(tree_.PastedNode(), FindNode(tree_, nkQuestion, 5));
    EXPECT_TRUE(FindNode(tree_, nkQuestion, 5)->isExpanded());
    EXPECT_TRUE(FindNode(tree_, nkAnswer, 7)->isExpanded());
    // The source keeps its copy mark, so it can be pasted again.
    EXPECT_EQ(tree_.MarkedNode(), FindNode(tree_, nkQuestion, 1));
    EXPECT_EQ(GetNodeOverlay(tree_.MarkedNode()), kCopyOverlayImage);
    EXPECT_TRUE(tree_.CanPaste());
    EXPECT_EQ(main_.Codes(), (std::vector<std::uint32_t>{507, 507}));
    EXPECT_EQ(main_.Messages.back().LParam, static_cast<std::int32_t>(tree_.Handle()));
    ExpectMirrorsTheStore("question copied twice");
}

TEST_F(TreePaste, ATestCopiedTwiceGetsFreshIdsThroughout) {
    const QTreeWidgetItem* originalNode = FindNode(tree_, nkTest, 1);
    std::vector<std::pair<TNodeKind, std::int32_t>> original;
    Collect(originalNode, original);
    std::map<std::string, std::string> scaleOf;   // weight name -> scale name
    for (const auto& [kind, id] : original)
        if (kind == nkWeight) scaleOf[Stored(S().Weights, id).Name] = Stored(S().Scales, Stored(S().Weights, id).ScaleID).Name;
    ASSERT_EQ(scaleOf.size(), 2u);
    CopyAndPaste(nkTest, 1, nkTestGroup, 2, 2);
    const std::vector<std::int32_t> copies = ChildIDs(nkTestGroup, 2);
    ASSERT_EQ(copies.size(), 2u);
    std::set<std::pair<TNodeKind, std::int32_t>> seen(original.begin(), original.end());
    for (std::size_t c = 0; c < copies.size(); ++c) {
        SCOPED_TRACE("copy " + std::to_string(c + 1));
        const QTreeWidgetItem* copyNode = FindNode(tree_, nkTest, copies[c]);
        std::vector<std::pair<TNodeKind, std::int32_t>> objects;
        Collect(copyNode, objects);
        ASSERT_EQ(objects.size(), original.size());
        for (std::size_t i = 0; i < objects.size(); ++i) {
            // The same shape, and no ID that the original or the other copy has.
            EXPECT_EQ(objects[i].first, original[i].first) << i;
            EXPECT_TRUE(seen.insert(objects[i]).second) << NodeKindName(objects[i].first) << " " << objects[i].second;
        }
        EXPECT_EQ(Stored(S().Tests, copies[c]).Order, static_cast<std::int32_t>(c));
        EXPECT_EQ(Stored(S().Tests, copies[c]).ParentID, 2);
        // Bound weights name their own copy's copies of the scales the original weights name.
        for (const auto& [kind, id] : objects) {
            if (kind != nkWeight) continue;
            const TWeight w = Stored(S().Weights, id);
            const TScale scale = Stored(S().Scales, w.ScaleID);
            EXPECT_EQ(scale.ParentID, copies[c]) << "weight " << id;
            EXPECT_EQ(scale.Name, scaleOf[w.Name]) << "weight " << id;
        }
    }
    ExpectMirrorsTheStore("test copied twice");
}

TEST_F(TreePaste, ACopyComesAfterItsNewSiblingsInTheStoreToo) {
    // The source's Order (1) is below the largest Order under the new parent (2).
    S().Interpretations.AddInterpretation(Item<TInterpretation>(7, 3, "Very high", 2));
    tree_.Rebuild();
    CopyAndPaste(nkInterpretation, 2, nkScale, 3);
    EXPECT_EQ(ChildIDs(nkScale, 3), (std::vector<std::int32_t>{7, 3}));
    EXPECT_EQ(Stored(S().Interpretations, 3).Order, 3);
    EXPECT_EQ(Stored(S().Interpretations, 3).Name, "High");
    EXPECT_EQ(Stored(S().Interpretations, 3).Maximum, 10);
    ExpectMirrorsTheStore("interpretation copied");
}

TEST_F(TreePaste, ACutAnswerGoesFirstUnderItsNewQuestionAndTheMarkEnds) {
    S().Reactions.AddReaction(Item<TReaction>(4, 2, "Sometimes"));
    tree_.Rebuild();
    CutAndPaste(nkAnswer, 2, nkQuestion, 2);
    QTreeWidgetItem* moved = FindNode(tree_, nkAnswer, 2);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(ChildIDs(nkQuestion, 2), (std::vector<std::int32_t>{2, 4}));
    EXPECT_EQ(ChildIDs(nkQuestion, 1), std::vector<std::int32_t>{1});
    EXPECT_EQ(GetNodeOverlay(moved), kNoOverlay);
    EXPECT_EQ(tree_.MarkedNode(), nullptr);
    EXPECT_EQ(tree_.PastedNode(), moved);
    EXPECT_EQ(tree_.ClipboardMode(), TObjectsTree::cmNone);
    EXPECT_FALSE(tree_.CanPaste());
    EXPECT_TRUE(moved->isExpanded());
    // Its weight stays bound: the scale is of the same test.
    EXPECT_EQ(Stored(S().Weights, 3).ScaleID, 3);
    // The moved answer is first in the store as in the tree.
    EXPECT_EQ(Stored(S().Reactions, 2).ParentID, 2);
    EXPECT_EQ(Stored(S().Reactions, 2).Order, 0);
    EXPECT_EQ(Stored(S().Reactions, 4).Order, 1);
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
    ExpectMirrorsTheStore("answer moved");

    // Nothing is marked now: a second Paste does nothing.
    const std::string after = DumpTree(tree_);
    main_.Messages.clear();
    tree_.Paste();
    EXPECT_EQ(DumpTree(tree_), after);
    EXPECT_TRUE(main_.Messages.empty());
}

TEST_F(TreePaste, AQuestionCutAndPastedIntoItsOwnFolderStaysFirst) {
    CutAndPaste(nkQuestion, 2, nkQuestionsFolder, 1);
    EXPECT_EQ(ChildIDs(nkQuestionsFolder, 1), (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(Stored(S().Stimuli, 2).Order, 0);
    EXPECT_EQ(Stored(S().Stimuli, 1).Order, 1);
    ExpectMirrorsTheStore("question moved to the front");
}

// Weights keep a binding only to a scale of the test they are in, whichever part moved.
struct BindingCase {
    const char* What;
    TNodeKind Kind;
    std::int32_t Id;
    TNodeKind To;
    std::int32_t ToId;
    std::vector<std::pair<std::int32_t, std::int32_t>> WeightScales;   // after the move
};

const BindingCase kBindingCases[] = {
    {"question to another test", nkQuestion, 1, nkQuestionsFolder, 2, {{1, -1}, {2, -1}, {3, -1}, {4, 4}}},
    {"question within its test", nkQuestion, 1, nkQuestionsFolder, 1, {{1, 1}, {2, -1}, {3, 3}}},
    {"answer to another test", nkAnswer, 1, nkQuestion, 3, {{1, -1}, {2, -1}, {3, 3}, {4, 4}}},
    {"answer within its test", nkAnswer, 2, nkQuestion, 2, {{1, 1}, {3, 3}}},
    {"weight to another test", nkWeight, 1, nkAnswer, 3, {{1, -1}, {4, 4}}},
    {"weight within its test", nkWeight, 1, nkAnswer, 2, {{1, 1}, {3, 3}}},
    {"scale to another test", nkScale, 1, nkScalesFolder, 2, {{1, -1}, {3, 3}, {4, 4}}},
    {"scale within its test", nkScale, 3, nkScalesFolder, 1, {{1, 1}, {3, 3}}},
    {"test to another group", nkTest, 1, nkTestGroup, 2, {{1, 1}, {2, -1}, {3, 3}}},
};

TEST_F(TreePaste, MovedWeightsKeepOnlyBindingsToScalesOfTheirTest) {
    for (const BindingCase& c : kBindingCases) {
        SCOPED_TRACE(c.What);
        Refill();
        CutAndPaste(c.Kind, c.Id, c.To, c.ToId);
        EXPECT_EQ(GetNodeID(tree_.PastedNode()), c.Id);
        for (const auto& [weight, scale] : c.WeightScales) {
            EXPECT_EQ(Stored(S().Weights, weight).ScaleID, scale) << "weight " << weight;
            EXPECT_NE(FindNode(tree_, scale == -1 ? nkWeightNoScale : nkWeight, weight), nullptr)
                << "weight " << weight << "\n" << DumpTree(tree_);
        }
        EXPECT_TRUE(shown_.Messages.empty());
        ExpectMirrorsTheStore(c.What);
    }
}

TEST_F(TreePaste, CopiedWeightsKeepOnlyBindingsToScalesOfTheirTest) {
    for (const BindingCase& c : kBindingCases) {
        SCOPED_TRACE(c.What);
        Refill();
        CopyAndPaste(c.Kind, c.Id, c.To, c.ToId);
        ASSERT_NE(tree_.PastedNode(), nullptr);
        // Every bound weight of the copy names a scale of the test it is in.
        std::vector<std::pair<TNodeKind, std::int32_t>> objects;
        Collect(tree_.PastedNode(), objects);
        for (const auto& [kind, id] : objects) {
            if (kind != nkWeight && kind != nkWeightNoScale) continue;
            const TWeight w = Stored(S().Weights, id);
            EXPECT_EQ(kind, w.ScaleID == -1 ? nkWeightNoScale : nkWeight) << "weight " << id;
            if (w.ScaleID != -1) {
                EXPECT_EQ(Stored(S().Scales, w.ScaleID).ParentID, S().GetTestOfWeight(id)) << "weight " << id;
            }
        }
        ExpectMirrorsTheStore(c.What);
    }
}

TEST_F(TreePaste, AFailedMoveLeavesTreeAndStoreAsTheyWere) {
    Select(nkAnswer, 1);
    tree_.Cut();
    // The question the node stands for is no longer in the store.
    ASSERT_TRUE(S().Stimuli.Locate(2));
    S().Stimuli.Delete();
    S().SetModified(false);
    const std::string before = DumpTree(tree_);
    Select(nkQuestion, 2);
    tree_.Paste();
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_ERROR_MOVING_OBJECT")});
    EXPECT_EQ(DumpTree(tree_), before) << "the node and its cut mark stay";
    EXPECT_EQ(Stored(S().Reactions, 1).ParentID, 1);
    EXPECT_FALSE(S().IsModified());
}

TEST_F(TreePaste, AFailedCopyLeavesNothingBehind) {
    const std::string before = DumpTree(tree_);
    const int records = RecordCount();
    Select(nkTest, 1);
    tree_.Copy();
    Select(nkTestGroup, 2);
    storetesthooks::FailCopyAfterRecords(5);
    tree_.Paste();
    storetesthooks::FailCopyAfterRecords(-1);
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_ERROR_COPYING_OBJECT")});
    EXPECT_EQ(UnmarkedDump(tree_), before);
    EXPECT_EQ(RecordCount(), records);
    EXPECT_FALSE(S().IsModified());
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
    // The mark stays, and the next paste works.
    tree_.Paste();
    EXPECT_EQ(ChildIDs(nkTestGroup, 2), std::vector<std::int32_t>{3});
    ExpectMirrorsTheStore("copy after a failed one");
}

TEST_F(TreePaste, NothingIsPastedWithoutAMarkOrASelection) {
    NoDialogs none;
    Select(nkQuestionsFolder, 2);
    tree_.Paste();
    Select(nkQuestion, 1);
    tree_.Copy();
    tree_.setCurrentItem(nullptr);
    main_.Messages.clear();
    tree_.Paste();
    EXPECT_EQ(UnmarkedDump(tree_), FixtureDump());
    EXPECT_TRUE(main_.Messages.empty());
    EXPECT_FALSE(S().IsModified());
}

TEST_F(TreePaste, TheMarkEndsWhenTheTreeIsRebuiltOrEdited) {
    Select(nkQuestion, 1);
    tree_.Copy();
    tree_.Rebuild();
    EXPECT_EQ(tree_.MarkedNode(), nullptr);
    EXPECT_EQ(tree_.ClipboardMode(), TObjectsTree::cmNone);
    EXPECT_EQ(DumpTree(tree_), FixtureDump());

    // Removing a node ends the mark, also when the removal is declined.
    Select(nkAnswer, 1);
    tree_.Cut();
    Select(nkAnswer, 2);
    {
        AnswerQuestions no(TMessageDialog::mrNo);
        tree_.RemoveObject();
    }
    EXPECT_EQ(tree_.MarkedNode(), nullptr);
    EXPECT_EQ(GetNodeOverlay(FindNode(tree_, nkAnswer, 1)), kNoOverlay);
    EXPECT_FALSE(tree_.CanPaste());
}

// The mark, the pasted node and the two roots forget a node that goes by any way, not only
// through the tree's own operations; nothing then reads the freed node.
TEST_F(TreePaste, TheMarkAndTheRootsForgetANodeThatGoesAnyWay) {
    struct Case {
        const char* Name;
        std::function<void(TObjectsTree&, QTreeWidgetItem* marked, QTreeWidgetItem* pasted)> Remove;
        bool RootsGo;
    };
    const Case cases[] = {
        {"each node deleted",
         [](TObjectsTree&, QTreeWidgetItem* marked, QTreeWidgetItem* pasted) {
             delete marked;
             delete pasted;
         },
         false},
        {"the children of their folder taken and deleted",
         [](TObjectsTree&, QTreeWidgetItem* marked, QTreeWidgetItem*) { qDeleteAll(marked->parent()->takeChildren()); },
         false},
        {"their test deleted", [](TObjectsTree& tree, QTreeWidgetItem*, QTreeWidgetItem*) { delete FindNode(tree, nkTest, 1); },
         false},
        {"the view's own clear", [](TObjectsTree& tree, QTreeWidgetItem*, QTreeWidgetItem*) { tree.QTreeWidget::clear(); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Refill();
        // A copy of question 2 pasted into its own folder: the copy is the pasted node, the
        // original stays marked.
        CopyAndPaste(nkQuestion, 2, nkQuestionsFolder, 1);
        QTreeWidgetItem* marked = tree_.MarkedNode();
        QTreeWidgetItem* pasted = tree_.PastedNode();
        ASSERT_NE(marked, nullptr);
        ASSERT_NE(pasted, nullptr);
        ASSERT_EQ(ChildIDs(nkQuestionsFolder, 1).size(), 3u);
        QTreeWidgetItem* root = tree_.RootNode();
        QTreeWidgetItem* testsRoot = tree_.TestsRootNode();

        c.Remove(tree_, marked, pasted);
        EXPECT_EQ(tree_.MarkedNode(), nullptr);
        EXPECT_EQ(tree_.PastedNode(), nullptr);
        EXPECT_EQ(tree_.RootNode(), c.RootsGo ? nullptr : root);
        EXPECT_EQ(tree_.TestsRootNode(), c.RootsGo ? nullptr : testsRoot);
        EXPECT_EQ(tree_.FindTestGroupNode(1) != nullptr, !c.RootsGo);
        // Nothing is left to paste, wherever the user now is.
        if (!c.RootsGo) Select(nkQuestionsFolder, 2);
        EXPECT_FALSE(tree_.CanPaste());
        const std::vector<std::int32_t> before = ChildIDs(nkQuestionsFolder, 2);
        const int records = RecordCount();
        tree_.Paste();
        EXPECT_EQ(RecordCount(), records);
        EXPECT_EQ(ChildIDs(nkQuestionsFolder, 2), before);
        tree_.ClearClipboard();
        EXPECT_EQ(tree_.ClipboardMode(), TObjectsTree::cmNone);
    }
}

// The mark is the node itself, wherever the node is moved in the tree.
TEST_F(TreePaste, AMarkedNodeDraggedAmongItsSiblingsStaysMarked) {
    QTreeWidgetItem* cut = Select(nkQuestion, 2);
    tree_.Cut();
    tree_.DropBefore(cut, FindNode(tree_, nkQuestion, 1));
    ASSERT_EQ(ChildIDs(nkQuestionsFolder, 1), (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(tree_.MarkedNode(), cut);
    EXPECT_EQ(GetNodeOverlay(cut), kCutOverlayImage);
    Select(nkQuestionsFolder, 2);
    tree_.Paste();
    EXPECT_EQ(ChildIDs(nkQuestionsFolder, 1), std::vector<std::int32_t>{1});
    EXPECT_EQ(ChildIDs(nkQuestionsFolder, 2).front(), 2);
    EXPECT_EQ(tree_.PastedNode(), cut);
    EXPECT_EQ(tree_.MarkedNode(), nullptr);
}

namespace {

// A paste as the user does it in a shown tree, everything expanded and only a few rows high: the
// new parent scrolled to the top or the bottom of the view, and the pasted node (copy: the last
// child of its new parent; cut: the first) in view afterwards, the new parent too when both fit.
struct InViewCase {
    const char* Name;
    bool Cut;
    TNodeKind Kind;
    std::int32_t Id;
    TNodeKind To;
    std::int32_t ToId;
    QAbstractItemView::ScrollHint TargetAt;
    int Rows;
    bool BothFit;
};

const InViewCase kInViewCases[] = {
    {"copy far below the parent", false, nkQuestion, 2, nkQuestionsFolder, 1, QAbstractItemView::PositionAtTop, 5, false},
    {"copy within reach", false, nkQuestion, 2, nkQuestionsFolder, 1, QAbstractItemView::PositionAtTop, 12, true},
    {"cut below the last row", true, nkQuestion, 2, nkQuestionsFolder, 2, QAbstractItemView::PositionAtBottom, 5, true},
    {"cut answer", true, nkAnswer, 2, nkQuestion, 2, QAbstractItemView::PositionAtBottom, 4, true},
};

}  // namespace

TEST_F(TreePaste, ThePastedNodeIsScrolledIntoView) {
    ASSERT_TRUE(ShowTree());
    for (const InViewCase& c : kInViewCases) {
        SCOPED_TRACE(c.Name);
        Refill();
        ExpandAllInRows(c.Rows);
        Select(c.Kind, c.Id);
        c.Cut ? tree_.Cut() : tree_.Copy();
        QTreeWidgetItem* target = Select(c.To, c.ToId);
        tree_.scrollToItem(target, c.TargetAt);
        QApplication::processEvents();
        tree_.Paste();
        QApplication::processEvents();
        ASSERT_NE(tree_.PastedNode(), nullptr);
        EXPECT_TRUE(WithinViewport(tree_, tree_.PastedNode()));
        // The selection stays on the new parent, so a copy can be pasted there again.
        EXPECT_EQ(tree_.SelectedNode(), target);
        if (c.BothFit) {
            EXPECT_TRUE(WithinViewport(tree_, target));
        }
    }
}
