// What the main window asks of the tree, the status line and the notices, over the fixture.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/qt/QtText.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"

namespace {

class TreeQueries : public FixtureTreeTest {};

constexpr const char* U = TObjectsTree::kUndefinedName;

struct Row {
    TNodeKind Kind;
    std::int32_t Id;
    std::int32_t ParentId;
    std::int32_t TestId;
    const char* TestName;
    std::int32_t ObjectTestId;
    bool Private;
    bool Leaf;
    bool NoStoredChildren;
    const char* Status;
};

// One row a node of the fixture. The status lines are those of the shipped language file.
const Row kRows[] = {
    {nkRoot, -1, -1, -1, U, -1, false, false, true, "Project"},
    {nkTestsRoot, -1, -1, -1, U, -1, false, false, false, "All test groups"},
    {nkTestGroup, 4, -1, -1, U, -1, false, false, false, "Test group: Skills (Id = 4)"},
    {nkTestGroup, 2, -1, -1, U, -1, false, true, true, "Test group: Empty group (Id = 2)"},
    {nkTest, 2, 4, 2, "Typing", 2, false, false, true, "Test: Typing (Id = 2)"},
    {nkTest, 1, 1, 1, "Big Five", 1, false, false, false, "Test: Big Five (Id = 1)"},
    {nkTest, 5, 1, 5, "Private test", 5, true, false, false, "Test: Private test (Id = 5)"},
    {nkScalesFolder, 2, 2, 2, "Typing", 2, false, true, true, "Scales of the test"},
    {nkScalesFolder, 1, 1, 1, "Big Five", 1, false, false, false, "Scales of the test"},
    {nkQuestionsFolder, 1, 1, 1, "Big Five", 1, false, false, false, "Questions of the test"},
    {nkScale, 1, 1, 1, "Big Five", 1, false, false, false, "Scale: Extraversion (Id = 1), Test \"Big Five\""},
    {nkScale, 3, 1, 1, "Big Five", 1, false, true, true, "Scale: Neuroticism (Id = 3), Test \"Big Five\""},
    {nkInterpretation, 2, 1, 1, "Big Five", 1, false, true, true, "Interpretation: High (Id = 2), Test \"Big Five\""},
    {nkQuestion, 1, 1, 1, "Big Five", 1, false, false, false, "Question: Parties (Id = 1), Test \"Big Five\""},
    {nkQuestion, 2, 1, 1, "Big Five", 1, false, true, true, "Question: Calm (Id = 2), Test \"Big Five\""},
    {nkAnswer, 2, 1, 1, "Big Five", 1, false, false, false, "Answer: No (Id = 2), Test \"Big Five\""},
    {nkWeight, 1, 1, 1, "Big Five", 1, false, true, true, "Weight: Yes on Extraversion (Id = 1), Test \"Big Five\""},
    {nkWeightNoScale, 2, 1, 1, "Big Five", 1, false, true, true,
     "Weight without a scale: Unbound (Id = 2), Test \"Big Five\""},
    {nkScale, 4, 5, 5, "Private test", 5, true, true, true, "Scale: Secret (Id = 4), Test \"Private test\""},
    {nkWeight, 4, 3, 5, "Private test", 5, true, true, true, "Weight: Maybe on Secret (Id = 4), Test \"Private test\""},
};

}  // namespace

TEST_F(TreeQueries, EveryNodeOfTheFixture) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(std::string(NodeKindName(r.Kind)) + " " + std::to_string(r.Id));
        QTreeWidgetItem* node = FindNode(tree_, r.Kind, r.Id);
        ASSERT_NE(node, nullptr);
        main_.Messages.clear();
        tree_.setCurrentItem(node);
        EXPECT_TRUE(tree_.HasSelection());
        EXPECT_EQ(tree_.SelectedNode(), node);
        EXPECT_EQ(tree_.SelectedKind(), r.Kind);
        EXPECT_EQ(tree_.SelectedID(), r.Id);
        EXPECT_EQ(tree_.SelectedParentID(), r.ParentId);
        EXPECT_EQ(tree_.SelectedTestID(), r.TestId);
        EXPECT_EQ(tree_.SelectedTestName(), r.TestName);
        EXPECT_EQ(tree_.SelectedObjectTestID(), r.ObjectTestId);
        EXPECT_EQ(tree_.IsSelectedTestPrivate(), r.Private);
        EXPECT_EQ(tree_.IsLeaf(node), r.Leaf);
        EXPECT_EQ(tree_.HasNoStoredChildren(node), r.NoStoredChildren);
        EXPECT_FALSE(tree_.CanPaste());
        EXPECT_EQ(platform::FromQString(status_.text()), r.Status);
        // The selection change reached the main window, with 0 as second parameter.
        ASSERT_EQ(main_.Messages.size(), 1u);
        EXPECT_EQ(main_.Messages[0].Msg, wm::WM_CHILDNOTIFY);
        EXPECT_EQ(main_.Messages[0].WParam, 504u);
        EXPECT_EQ(main_.Messages[0].LParam, 0);
    }
    EXPECT_FALSE(store_.Store().IsModified());
}

TEST_F(TreeQueries, NothingSelected) {
    EXPECT_FALSE(tree_.HasSelection());
    EXPECT_EQ(tree_.SelectedKind(), nkNone);
    EXPECT_EQ(tree_.SelectedID(), -1);
    EXPECT_EQ(tree_.SelectedParentID(), -1);
    EXPECT_EQ(tree_.SelectedTestID(), -1);
    EXPECT_EQ(tree_.SelectedTestName(), U);
    EXPECT_EQ(tree_.SelectedObjectTestID(), -1);
    EXPECT_FALSE(tree_.IsSelectedTestPrivate());
    EXPECT_FALSE(tree_.CanPaste());
    EXPECT_EQ(TObjectsTree::StatusText(nullptr), "Nothing selected");
}

TEST_F(TreeQueries, FindingGroupsAndChildren) {
    EXPECT_EQ(tree_.FindTestGroupNode(1), FindNode(tree_, nkTestGroup, 1));
    EXPECT_EQ(tree_.FindTestGroupNode(3), nullptr);
    EXPECT_EQ(tree_.FindTestGroupNode(-1), nullptr);
    QTreeWidgetItem* group = tree_.FindTestGroupNode(1);
    EXPECT_EQ(tree_.FindChildByID(5, group), FindNode(tree_, nkTest, 5));
    EXPECT_EQ(tree_.FindChildByID(2, group), nullptr) << "test 2 is in another group";
    // The first child with the ID: a test's scales folder comes before its questions folder.
    EXPECT_EQ(tree_.FindChildByID(1, FindNode(tree_, nkTest, 1)), FindNode(tree_, nkScalesFolder, 1));
    tree_.Clear();
    EXPECT_EQ(tree_.FindTestGroupNode(1), nullptr);
}

TEST_F(TreeQueries, RunTestAsksTheMainWindow) {
    tree_.setCurrentItem(FindNode(tree_, nkTest, 1));
    main_.Messages.clear();
    tree_.RunTest();
    ASSERT_EQ(main_.Messages.size(), 1u);
    EXPECT_EQ(main_.Messages[0].Msg, wm::WM_CHILDNOTIFY);
    EXPECT_EQ(main_.Messages[0].WParam, 510u);
    EXPECT_EQ(main_.Messages[0].LParam, static_cast<std::int32_t>(tree_.Handle()));
    EXPECT_NE(tree_.Handle(), main_.Handle());
    EXPECT_NE(tree_.Handle(), platform::kNoWindow);
}

TEST_F(TreeQueries, ClearingDropsTheSelectionButNotTheStatusLine) {
    tree_.setCurrentItem(FindNode(tree_, nkScale, 1));
    const QString line = status_.text();
    main_.Messages.clear();
    tree_.Clear();
    EXPECT_EQ(tree_.topLevelItemCount(), 0);
    EXPECT_EQ(tree_.RootNode(), nullptr);
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
    EXPECT_EQ(status_.text(), line);
    // With nothing selected, clearing is no change of selection.
    main_.Messages.clear();
    tree_.Clear();
    EXPECT_TRUE(main_.Messages.empty());
}

TEST_F(TreeQueries, TheRightButtonSelectsTheNodeUnderIt) {
    tree_.resize(400, 600);
    tree_.show();
    tree_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tree_));
    QTreeWidgetItem* tests = tree_.TestsRootNode();
    tree_.setCurrentItem(tree_.RootNode());
    tree_.clearFocus();
    ASSERT_FALSE(tree_.hasFocus());
    QTest::mouseClick(tree_.viewport(), Qt::RightButton, {}, tree_.visualItemRect(tests).center());
    EXPECT_EQ(tree_.SelectedNode(), tests);
    EXPECT_TRUE(tree_.hasFocus());
    // On empty space the selection stays.
    QTest::mouseClick(tree_.viewport(), Qt::RightButton, {}, QPoint(200, 580));
    EXPECT_EQ(tree_.SelectedNode(), tests);
    // The press never starts the default handling (no change of expansion, no other selection).
    EXPECT_FALSE(tests->isExpanded());
}

TEST_F(TreeQueries, ExpandAndCollapseAWholeBranch) {
    QTreeWidgetItem* test = FindNode(tree_, nkTest, 1);
    tree_.ExpandAll(test);
    EXPECT_TRUE(test->isExpanded());
    EXPECT_TRUE(FindNode(tree_, nkAnswer, 1)->isExpanded());
    EXPECT_FALSE(FindNode(tree_, nkTestGroup, 1)->isExpanded()) << "only the branch below the node";
    tree_.CollapseAll(test);
    EXPECT_FALSE(test->isExpanded());
    EXPECT_FALSE(FindNode(tree_, nkAnswer, 1)->isExpanded());
}

namespace {

int NodesIn(const QTreeWidgetItem* node) {
    int n = 1;
    for (int i = 0; i < node->childCount(); ++i) n += NodesIn(node->child(i));
    return n;
}

// Whether every node below node with children is expanded (want) or collapsed (!want).
bool AllBelowExpanded(const QTreeWidgetItem* node, bool want) {
    for (int i = 0; i < node->childCount(); ++i) {
        const QTreeWidgetItem* child = node->child(i);
        if (child->childCount() > 0 && child->isExpanded() != want) return false;
        if (!AllBelowExpanded(child, want)) return false;
    }
    return true;
}

}  // namespace

// Hide All Children on a shown tree of a few thousand nodes, every one expanded: the node and
// everything below it collapse, the rest stays open, and the view shows exactly the rows that
// are left, the next one straight below the collapsed node.
TEST_F(TreeQueries, HideAllChildrenOfAFullyExpandedTree) {
    auto store = std::make_unique<TFileAccess>();
    GenerateProject(*store, ProjectSize{2, 20, 10, 4, 3, 3, 2});
    for (TObjectTable* t : store->AllTables()) t->Sort();
    GlobalStore() = std::move(store);
    tree_.resize(300, 400);
    ASSERT_TRUE(ShowTree());
    tree_.Rebuild();
    tree_.BuildAll(nullptr);
    QTreeWidgetItem* root = tree_.RootNode();
    const int total = NodesIn(root);
    ASSERT_GT(total, 2000);

    QTreeWidgetItem* firstGroup = tree_.TestsRootNode()->child(0);
    QTreeWidgetItem* secondGroup = tree_.TestsRootNode()->child(1);
    for (QTreeWidgetItem* node : {firstGroup, tree_.TestsRootNode(), root}) {
        SCOPED_TRACE(NodeKindName(GetNodeKind(node)));
        tree_.ExpandAll(root);
        ASSERT_EQ(ViewRowCount(tree_), total);
        tree_.setCurrentItem(node);
        tree_.CollapseAll(node);

        EXPECT_FALSE(node->isExpanded());
        EXPECT_TRUE(AllBelowExpanded(node, false));
        if (node == firstGroup) {
            EXPECT_TRUE(AllBelowExpanded(secondGroup, true)) << "only the branch below the node";
        }
        EXPECT_EQ(ViewRowCount(tree_), total - (NodesIn(node) - 1));
        EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));
        if (node == firstGroup) {
            EXPECT_EQ(tree_.itemBelow(node), secondGroup);
            EXPECT_EQ(tree_.visualItemRect(secondGroup).top(), tree_.visualItemRect(node).bottom() + 1);
        }
        // Opened again one level, it shows its children, each of them closed.
        node->setExpanded(true);
        EXPECT_EQ(ViewRowCount(tree_), total - (NodesIn(node) - 1) + node->childCount());
        EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));
    }
}

// Work that takes long on a large project shows the busy cursor while it runs, and only then:
// what the view hears while the work runs sees the busy cursor, and afterwards it is gone.
TEST_F(TreeQueries, LongWorkShowsTheBusyCursor) {
    std::vector<std::string> seen;
    const auto probe = [&](const char* what) {
        const QCursor* c = QApplication::overrideCursor();
        seen.push_back(std::string(what) + (c && c->shape() == Qt::WaitCursor ? " busy" : " idle"));
    };
    const auto connectModel = [&] {
        QObject::connect(tree_.model(), &QAbstractItemModel::rowsInserted, &tree_, [&] { probe("inserted"); });
        QObject::connect(tree_.model(), &QAbstractItemModel::rowsRemoved, &tree_, [&] { probe("removed"); });
    };
    connectModel();
    QObject::connect(&tree_, &QTreeView::expanded, &tree_, [&] { probe("expanded"); });

    tree_.Rebuild();
    ASSERT_FALSE(seen.empty());
    tree_.ExpandAll(FindNode(tree_, nkTest, 1));
    Select(nkQuestion, 2);
    tree_.Copy();
    Select(nkQuestionsFolder, 2);
    tree_.Paste();
    Select(nkQuestion, 1);
    {
        AnswerQuestions yes(TMessageDialog::mrYes);
        tree_.RemoveObject();
    }
    for (const char* what : {"inserted", "removed", "expanded"}) {
        const auto of = [&](const char* state) {
            return std::count(seen.begin(), seen.end(), std::string(what) + state);
        };
        EXPECT_GT(of(" busy"), 0) << what;
        EXPECT_EQ(of(" idle"), 0) << what << ::testing::PrintToString(seen);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
