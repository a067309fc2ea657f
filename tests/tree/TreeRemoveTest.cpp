// Remove and remove-children: the question, the store's cascading delete and the mirrored nodes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>
#include <span>

#include "lang/DlgLangConverter.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

class TreeRemove : public FixtureTreeTest {
protected:
    // The records of every table together.
    int RecordCount() {
        int count = 0;
        for (const TObjectTable* t : S().AllTables()) count += t->RecordCount();
        return count;
    }
    // The stored objects a node and its subtree stand for (folders stand for none).
    static int RecordsBelow(const QTreeWidgetItem* node) {
        const TNodeKind kind = GetNodeKind(node);
        int count = kind == nkScalesFolder || kind == nkQuestionsFolder ? 0 : 1;
        for (int i = 0; i < node->childCount(); ++i) count += RecordsBelow(node->child(i));
        TObjectsTree::WalkPending(node, [&](const TObjectsTree::TPendingRecord&) { return ++count, false; });
        return count;
    }
    // A fresh fixture store and its tree.
    void Refill() {
        GlobalStore() = MakeFixtureStore();
        tree_.Rebuild();
    }
};

struct RemoveCase {
    TNodeKind Kind;
    std::int32_t Id;
    const char* QuestionKey;
};

const RemoveCase kRemoveCases[] = {
    {nkTestGroup, 1, "OBJECTSTREE_CAN_REMOVE_TEST_GROUP"},
    {nkTest, 1, "OBJECTSTREE_CAN_REMOVE_TEST"},
    {nkScale, 1, "OBJECTSTREE_CAN_REMOVE_SCALE"},
    {nkInterpretation, 2, "OBJECTSTREE_CAN_REMOVE_INTERPRETATION"},
    {nkWeight, 3, "OBJECTSTREE_CAN_REMOVE_WEIGHT"},
    {nkWeightNoScale, 2, "OBJECTSTREE_CAN_REMOVE_WEIGHT"},
    {nkQuestion, 1, "OBJECTSTREE_CAN_REMOVE_STIMUL"},
    {nkAnswer, 1, "OBJECTSTREE_CAN_REMOVE_REACTION"},
};

const RemoveCase kRemoveChildrenCases[] = {
    {nkTestsRoot, -1, "OBJECTSTREE_CAN_REMOVE_ALLTESTS_CHILDREN"},
    {nkTestGroup, 1, "OBJECTSTREE_CAN_REMOVE_TESTGROUP_CHILDREN"},
    {nkTest, 1, "OBJECTSTREE_CAN_REMOVE_TEST_CHILDREN"},
    {nkScalesFolder, 1, "OBJECTSTREE_CAN_REMOVE_ALLSCALES_CHILDREN"},
    {nkScale, 1, "OBJECTSTREE_CAN_REMOVE_SCALE_CHILDREN"},
    {nkQuestionsFolder, 1, "OBJECTSTREE_CAN_REMOVE_ALLSTIMULS_CHILDREN"},
    {nkQuestion, 1, "OBJECTSTREE_CAN_REMOVE_STIMUL_CHILDREN"},
    {nkAnswer, 1, "OBJECTSTREE_CAN_REMOVE_REACTION_CHILDREN"},
};

}  // namespace

TEST_F(TreeRemove, AnsweringNoChangesNothing) {
    for (const bool children : {false, true}) {
        for (const RemoveCase& c : children ? std::span(kRemoveChildrenCases) : std::span(kRemoveCases)) {
            SCOPED_TRACE(std::string(NodeKindName(c.Kind)) + (children ? " children" : ""));
            Select(c.Kind, c.Id);
            AnswerQuestions no(TMessageDialog::mrNo);
            children ? tree_.RemoveChildren() : tree_.RemoveObject();
            ASSERT_EQ(no.Asked.size(), 1u);
            EXPECT_EQ(no.Asked[0].Title,
                      T(children ? "OBJECTSTREE_CAN_REMOVE_CHILDREN_TITLE" : "OBJECTSTREE_CAN_REMOVE_OBJECT_TITLE"));
            EXPECT_EQ(no.Asked[0].Caption, T(c.QuestionKey));
            EXPECT_EQ(no.Asked[0].Type, mdYesNo);
            EXPECT_EQ(DumpTree(tree_), FixtureDump());
            EXPECT_FALSE(S().IsModified());
            EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
        }
    }
    // Closing the box is no Yes either.
    Select(nkTest, 1);
    AnswerQuestions closed(TMessageDialog::mrNone);
    tree_.RemoveObject();
    EXPECT_EQ(DumpTree(tree_), FixtureDump());
}

TEST_F(TreeRemove, RemovingAnObjectTakesEverythingBelowIt) {
    for (const RemoveCase& c : kRemoveCases) {
        SCOPED_TRACE(NodeKindName(c.Kind));
        Refill();
        QTreeWidgetItem* node = Select(c.Kind, c.Id);
        const int records = RecordsBelow(node);
        const int before = RecordCount();
        AnswerQuestions yes(TMessageDialog::mrYes);
        tree_.RemoveObject();
        EXPECT_EQ(FindNode(tree_, c.Kind, c.Id), nullptr);
        EXPECT_TRUE(S().IsModified());
        // The records of the subtree are gone, no more and no fewer.
        EXPECT_EQ(before - RecordCount(), records);
        EXPECT_EQ(main_.Codes().back(), 507u);
        EXPECT_TRUE(shown_.Messages.empty());
        ExpectMirrorsTheStore(NodeKindName(c.Kind));
    }
}

TEST_F(TreeRemove, RemovingAScaleUnbindsItsWeights) {
    Select(nkScale, 1);
    AnswerQuestions yes(TMessageDialog::mrYes);
    tree_.RemoveObject();
    QTreeWidgetItem* weight = FindNode(tree_, nkWeightNoScale, 1);
    ASSERT_NE(weight, nullptr) << DumpTree(tree_);
    EXPECT_EQ(weight->icon(0).cacheKey(), tree_.NodeIcon(nkWeightNoScale, kNoOverlay).cacheKey());
    EXPECT_EQ(S().Weights.At(S().Weights.IndexOfID(1)).ScaleID, -1);
    ExpectMirrorsTheStore("scale removed");
}

TEST_F(TreeRemove, RemovingTheChildrenKeepsTheObject) {
    for (const RemoveCase& c : kRemoveChildrenCases) {
        SCOPED_TRACE(NodeKindName(c.Kind));
        Refill();
        QTreeWidgetItem* node = Select(c.Kind, c.Id);
        AnswerQuestions yes(TMessageDialog::mrYes);
        tree_.RemoveChildren();
        ASSERT_EQ(FindNode(tree_, c.Kind, c.Id), node);
        EXPECT_TRUE(tree_.HasNoStoredChildren(node));
        if (c.Kind == nkTest) {
            // The two folders stay, empty.
            ASSERT_EQ(node->childCount(), 2);
            EXPECT_EQ(GetNodeKind(node->child(0)), nkScalesFolder);
            EXPECT_EQ(GetNodeKind(node->child(1)), nkQuestionsFolder);
            EXPECT_TRUE(tree_.IsLeaf(node->child(0)));
            EXPECT_TRUE(tree_.IsLeaf(node->child(1)));
        } else {
            EXPECT_TRUE(tree_.IsLeaf(node));
        }
        EXPECT_EQ(main_.Codes().back(), 507u);
        EXPECT_TRUE(shown_.Messages.empty());
        ExpectMirrorsTheStore(NodeKindName(c.Kind));
    }
}

TEST_F(TreeRemove, RemovingAllScalesOfATestUnbindsTheWeights) {
    Select(nkScalesFolder, 1);
    AnswerQuestions yes(TMessageDialog::mrYes);
    tree_.RemoveChildren();
    EXPECT_NE(FindNode(tree_, nkWeightNoScale, 1), nullptr);
    EXPECT_NE(FindNode(tree_, nkWeightNoScale, 3), nullptr);
    EXPECT_NE(FindNode(tree_, nkWeight, 4), nullptr) << "the private test keeps its scale";
    ExpectMirrorsTheStore("scales removed");
}

TEST_F(TreeRemove, AFailedDeleteShowsItsMessageAndKeepsTheNode) {
    // The store no longer holds the answer the node stands for.
    tree_.BuildAll(nullptr);
    ASSERT_TRUE(S().Reactions.Locate(2));
    S().Reactions.Delete();
    const std::string before = DumpTree(tree_);
    Select(nkAnswer, 2);
    AnswerQuestions yes(TMessageDialog::mrYes);
    tree_.RemoveObject();
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_ERROR_REMOVING_REACTION")});
    EXPECT_EQ(DumpTree(tree_), before);
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
}

TEST_F(TreeRemove, ATestWithoutItsFoldersCannotBeEmptied) {
    QTreeWidgetItem* test = FindNode(tree_, nkTest, 2);
    delete test->child(1);
    Select(nkTest, 2);
    AnswerQuestions yes(TMessageDialog::mrYes);
    tree_.RemoveChildren();
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_ERROR_REMOVING_TEST_CHILDREN")});
    EXPECT_EQ(test->childCount(), 1);
}

TEST_F(TreeRemove, NothingSelectedRemovesNothing) {
    NoDialogs none;
    AnswerQuestions yes(TMessageDialog::mrYes);
    tree_.RemoveObject();
    tree_.RemoveChildren();
    EXPECT_TRUE(yes.Asked.empty());
    EXPECT_TRUE(main_.Messages.empty());
    EXPECT_EQ(DumpTree(tree_), FixtureDump());
}

// A remove as the user does it in a shown tree, everything expanded and only a few rows high,
// the removed node at the bottom of the view: the node that is selected afterwards is in view.
TEST_F(TreeRemove, TheNodeSelectedAfterARemoveIsInView) {
    const RemoveCase kCases[] = {
        {nkQuestion, 2, "the last question"},
        {nkWeight, 3, "the last weight of an answer"},
        {nkTestGroup, 2, "the last group"},
        {nkAnswer, 1, "the first answer"},
    };
    ASSERT_TRUE(ShowTree());
    for (const RemoveCase& c : kCases) {
        SCOPED_TRACE(c.QuestionKey);
        Refill();
        ExpandAllInRows(3);
        tree_.scrollToItem(Select(c.Kind, c.Id), QAbstractItemView::PositionAtBottom);
        QApplication::processEvents();
        AnswerQuestions yes(TMessageDialog::mrYes);
        tree_.RemoveObject();
        QApplication::processEvents();
        ASSERT_EQ(FindNode(tree_, c.Kind, c.Id), nullptr);
        ASSERT_NE(tree_.SelectedNode(), nullptr);
        EXPECT_TRUE(WithinViewport(tree_, tree_.SelectedNode())) << DumpSubtree(tree_.SelectedNode());
    }
}
