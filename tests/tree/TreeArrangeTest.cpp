// Rename in place, drag-and-drop among siblings and the Arrange Items dialog, driven through the
// tree's own handlers and its view; the Orders they write, and the tree and the store alike.
#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "tests/support/StoreFixtures.h"
#include "tests/tree/DialogTestSupport.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/FormArrangeItems.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

class TreeReorder : public FixtureTreeTest {
protected:
    // Every node laid out, so that each has a place in the view.
    void ShowAll() {
        tree_.resize(400, 3000);
        tree_.show();
        tree_.expandAll();
        QApplication::processEvents();
    }
    QPoint PointOf(TNodeKind kind, std::int32_t id) const {
        return tree_.visualItemRect(FindNode(tree_, kind, id)).center();
    }
    std::vector<std::int32_t> ChildIDs(TNodeKind kind, std::int32_t id) const {
        std::vector<std::int32_t> ids;
        if (const QTreeWidgetItem* node = FindNode(tree_, kind, id))
            for (int i = 0; i < node->childCount(); ++i) ids.push_back(GetNodeID(node->child(i)));
        return ids;
    }
    // The stored object of a node's kind.
    TAnyObject StoredObject(TNodeKind kind, std::int32_t id) const {
        switch (kind) {
            case nkTestGroup: return Stored(S().TestGroups, id);
            case nkTest: return Stored(S().Tests, id);
            case nkScale: return Stored(S().Scales, id);
            case nkInterpretation: return Stored(S().Interpretations, id);
            case nkWeight:
            case nkWeightNoScale: return Stored(S().Weights, id);
            case nkQuestion: return Stored(S().Stimuli, id);
            case nkAnswer: return Stored(S().Reactions, id);
            default: ADD_FAILURE() << NodeKindName(kind); return {};
        }
    }
    // The Orders of the stored children, in the tree's order of the children.
    std::vector<std::int32_t> ChildOrders(TNodeKind kind, std::int32_t id) const {
        std::vector<std::int32_t> orders;
        const QTreeWidgetItem* node = FindNode(tree_, kind, id);
        for (int i = 0; node && i < node->childCount(); ++i)
            orders.push_back(StoredObject(GetNodeKind(node->child(i)), GetNodeID(node->child(i))).Order);
        return orders;
    }
    // Question 1 with four answers: Yes, No, Often, Never.
    void FourAnswers() {
        S().Reactions.AddReaction(Item<TReaction>(4, 1, "Often", 2));
        S().Reactions.AddReaction(Item<TReaction>(5, 1, "Never", 3));
        S().Reactions.Sort();
        S().SetModified(false);
        tree_.Rebuild();
    }
    // Renames through the view's own editor, as a person does: F2 on the selected node, a text,
    // Return.
    bool RenameInView(QTreeWidgetItem* node, const QString& text) {
        tree_.setCurrentItem(node);
        main_.Messages.clear();
        tree_.editItem(node);
        auto* editor = qobject_cast<QLineEdit*>(tree_.itemWidget(node, 0));
        if (!editor) return false;
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits what was typed once the key press is done.
        QApplication::processEvents();
        return true;
    }
};

std::vector<std::int32_t> Range(std::int32_t n) {
    std::vector<std::int32_t> v;
    for (std::int32_t i = 0; i < n; ++i) v.push_back(i);
    return v;
}

}  // namespace

// ---------------------------------------------------------------- rename in place

TEST_F(TreeReorder, OnlyObjectsCanBeRenamed) {
    struct Case {
        TNodeKind Kind;
        std::int32_t Id;
        bool Allowed;
    };
    const Case cases[] = {
        {nkRoot, -1, false},        {nkTestsRoot, -1, false},  {nkTestGroup, 1, true},   {nkTest, 1, true},
        {nkScalesFolder, 1, false}, {nkScale, 1, true},         {nkInterpretation, 1, true}, {nkWeight, 1, true},
        {nkWeightNoScale, 2, true}, {nkQuestionsFolder, 1, false}, {nkQuestion, 1, true},  {nkAnswer, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NodeKindName(c.Kind));
        QTreeWidgetItem* node = Select(c.Kind, c.Id);
        for (const bool before : {false, true}) {
            bool allow = before;
            tree_.TreeEditing(allow);
            EXPECT_EQ(allow, c.Allowed);
        }
        // The view opens its editor only where the tree allows it.
        tree_.editItem(node);
        EXPECT_EQ(tree_.itemWidget(node, 0) != nullptr, c.Allowed);
        if (QWidget* editor = tree_.itemWidget(node, 0)) QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_EQ(tree_.itemWidget(node, 0), nullptr);
    }
    // Without a selection the flag stays as the view set it.
    tree_.setCurrentItem(nullptr);
    for (const bool before : {false, true}) {
        bool allow = before;
        tree_.TreeEditing(allow);
        EXPECT_EQ(allow, before);
    }
    // Only the selected node is edited.
    Select(nkAnswer, 1);
    QTreeWidgetItem* other = FindNode(tree_, nkAnswer, 2);
    tree_.editItem(other);
    EXPECT_EQ(tree_.itemWidget(other, 0), nullptr);
    EXPECT_FALSE(S().IsModified());
}

TEST_F(TreeReorder, EveryKindThatMayBeRenamedStoresTheNewName) {
    const std::pair<TNodeKind, std::int32_t> cases[] = {
        {nkTestGroup, 1}, {nkTest, 1},     {nkScale, 1},    {nkInterpretation, 1},
        {nkWeight, 1},    {nkWeightNoScale, 2}, {nkQuestion, 3}, {nkAnswer, 1},
    };
    for (const auto& [kind, id] : cases) {
        SCOPED_TRACE(NodeKindName(kind));
        TAnyObject expected = StoredObject(kind, id);
        expected.Name = std::string("Renamed ") + NodeKindName(kind);
        ASSERT_TRUE(RenameInView(FindNode(tree_, kind, id), platform::ToQString(expected.Name)));
        EXPECT_EQ(StoredObject(kind, id), expected) << "only the name changes";
        EXPECT_EQ(FindNode(tree_, kind, id)->text(0), platform::ToQString(expected.Name));
        // The status line of the renamed node names it anew at once.
        EXPECT_NE(status_.text().indexOf(platform::ToQString(": " + expected.Name + " (Id")), -1)
            << status_.text().toStdString();
        EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
        ExpectMirrorsTheStore(NodeKindName(kind));
    }
    // Question 3 is in the private test: rename in place does not ask.
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(TreeReorder, ANameIsStoredCutAndOnOneLine) {
    Utf8CodePage utf8;
    struct Case {
        const char* What;
        std::string Typed;
        std::string Stored;
    };
    std::string twoByteChars;
    for (int i = 0; i < 200; ++i) twoByteChars += "\xC3\xA9";   // é
    const Case cases[] = {
        {"plain", "Often", "Often"},
        {"blanks only", "   ", "   "},
        {"300 characters", std::string(300, 'x'), std::string(255, 'x')},
        {"two-byte characters", twoByteChars, twoByteChars.substr(0, 254)},
        {"a line break", "First\nsecond", "First second"},
    };
    QTreeWidgetItem* node = FindNode(tree_, nkAnswer, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        std::string text = c.Typed;
        tree_.setCurrentItem(node);
        main_.Messages.clear();
        tree_.TreeEdited(node, text);
        EXPECT_EQ(text, c.Stored);
        EXPECT_EQ(Stored(S().Reactions, 1).Name, c.Stored);
        std::string name;
        GetNodeName(node, name);
        EXPECT_EQ(name, c.Stored);
        EXPECT_EQ(platform::FromQString(node->text(0)), c.Stored);
        EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
    }
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(TreeReorder, AnEmptyNameIsRefusedAndTheCaptionStays) {
    QTreeWidgetItem* node = FindNode(tree_, nkAnswer, 1);
    ASSERT_TRUE(RenameInView(node, QString()));
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_NAME_NOT_EMPTY")});
    EXPECT_EQ(node->text(0), "Yes");
    EXPECT_EQ(Stored(S().Reactions, 1).Name, "Yes");
    EXPECT_FALSE(S().IsModified());
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});

    std::string text;
    tree_.TreeEdited(node, text);
    EXPECT_EQ(text, "Yes") << "the text becomes the caption again";
}

TEST_F(TreeReorder, RenamingATestRenamesItInTheStatusLineOfItsObjects) {
    ASSERT_TRUE(RenameInView(FindNode(tree_, nkTest, 1), "Six factors"));
    Select(nkWeight, 3);
    EXPECT_NE(status_.text().indexOf("\"Six factors\""), -1) << status_.text().toStdString();
    EXPECT_EQ(tree_.SelectedTestName(), "Six factors");
}

TEST_F(TreeReorder, ANodeMissingFromTheStoreKeepsItsCaption) {
    tree_.BuildAll(nullptr);
    ASSERT_TRUE(S().Reactions.Locate(2));
    S().Reactions.Delete();
    QTreeWidgetItem* node = FindNode(tree_, nkAnswer, 2);
    ASSERT_TRUE(RenameInView(node, "Never"));
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_NO_RECORD_MSG")});
    EXPECT_EQ(node->text(0), "No");
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
}

TEST_F(TreeReorder, WithoutANodeARenameOnlyTells) {
    std::string text = "Anything";
    tree_.TreeEdited(nullptr, text);
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
    EXPECT_FALSE(S().IsModified());
    EXPECT_TRUE(shown_.Messages.empty());
}

// ---------------------------------------------------------------- drag-and-drop

TEST_F(TreeReorder, ANodeCanBeDroppedOnlyOnASiblingOfItsKind) {
    ShowAll();
    struct Case {
        const char* What;
        TNodeKind Dragged;
        std::int32_t DraggedId;
        TNodeKind Target;
        std::int32_t TargetId;
        bool Accept;
    };
    const Case cases[] = {
        {"answer on a sibling answer", nkAnswer, 1, nkAnswer, 2, true},
        {"weight without a scale on a weight with one", nkWeightNoScale, 2, nkWeight, 1, true},
        {"weight with a scale on one without", nkWeight, 1, nkWeightNoScale, 2, true},
        {"group on a group", nkTestGroup, 1, nkTestGroup, 4, true},
        {"test on a test of its group", nkTest, 5, nkTest, 1, true},
        {"scale on a scale", nkScale, 3, nkScale, 1, true},
        {"interpretation on an interpretation", nkInterpretation, 2, nkInterpretation, 1, true},
        {"question on a question of its test", nkQuestion, 2, nkQuestion, 1, true},
        {"question on a question of another test", nkQuestion, 1, nkQuestion, 3, false},
        {"test on a test of another group", nkTest, 1, nkTest, 2, false},
        {"a node on itself", nkQuestion, 1, nkQuestion, 1, false},
        {"a node on its parent", nkQuestion, 1, nkQuestionsFolder, 1, false},
        {"a folder on the other folder", nkScalesFolder, 1, nkQuestionsFolder, 1, false},
        {"an answer on a weight", nkAnswer, 1, nkWeight, 3, false},
        {"the tests root on the root", nkTestsRoot, -1, nkRoot, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        QTreeWidgetItem* dragged = FindNode(tree_, c.Dragged, c.DraggedId);
        QTreeWidgetItem* target = FindNode(tree_, c.Target, c.TargetId);
        EXPECT_EQ(TObjectsTree::CanDropOn(dragged, target), c.Accept);
        tree_.setCurrentItem(dragged);
        bool accept = !c.Accept;
        tree_.TreeDragOver(PointOf(c.Target, c.TargetId), accept);
        EXPECT_EQ(accept, c.Accept);
    }
    // Nothing selected, or no node under the cursor: nothing to drop.
    tree_.setCurrentItem(nullptr);
    bool accept = true;
    tree_.TreeDragOver(PointOf(nkAnswer, 2), accept);
    EXPECT_FALSE(accept);
    Select(nkAnswer, 1);
    accept = true;
    tree_.TreeDragOver(QPoint(5, tree_.viewport()->height() - 2), accept);
    EXPECT_FALSE(accept);
}

TEST_F(TreeReorder, ADropPutsTheNodeBeforeTheTargetAndRenumbersTheSiblings) {
    FourAnswers();
    ShowAll();
    // The third of four answers dropped on the first.
    Select(nkAnswer, 4);
    tree_.TreeDragDrop(PointOf(nkAnswer, 1));
    EXPECT_EQ(ChildIDs(nkQuestion, 1), (std::vector<std::int32_t>{4, 1, 2, 5}));
    EXPECT_EQ(ChildOrders(nkQuestion, 1), Range(4));
    EXPECT_TRUE(S().Reactions.IsInOrder());
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507}) << "the selection did not change on the way";
    EXPECT_EQ(tree_.SelectedNode(), FindNode(tree_, nkAnswer, 4));
    ExpectMirrorsTheStore("third answer dropped on the first");

    // Downwards: the first dropped on the last stands before it.
    Select(nkAnswer, 4);
    tree_.DropBefore(FindNode(tree_, nkAnswer, 4), FindNode(tree_, nkAnswer, 5));
    EXPECT_EQ(ChildIDs(nkQuestion, 1), (std::vector<std::int32_t>{1, 2, 4, 5}));
    EXPECT_EQ(ChildOrders(nkQuestion, 1), Range(4));
    // On the next sibling nothing moves.
    tree_.DropBefore(FindNode(tree_, nkAnswer, 1), FindNode(tree_, nkAnswer, 2));
    EXPECT_EQ(ChildIDs(nkQuestion, 1), (std::vector<std::int32_t>{1, 2, 4, 5}));
    ExpectMirrorsTheStore("dropped down");
}

TEST_F(TreeReorder, ADroppedNodeKeepsItsOpenBranches) {
    ShowAll();
    QTreeWidgetItem* answer = FindNode(tree_, nkAnswer, 2);
    QTreeWidgetItem* question = FindNode(tree_, nkQuestion, 1);
    question->setExpanded(true);
    answer->setExpanded(false);
    Select(nkQuestion, 2);
    tree_.DropBefore(FindNode(tree_, nkQuestion, 2), question);
    Select(nkQuestion, 1);
    tree_.DropBefore(question, FindNode(tree_, nkQuestion, 2));
    EXPECT_TRUE(question->isExpanded());
    EXPECT_TRUE(FindNode(tree_, nkAnswer, 1)->isExpanded());
    EXPECT_FALSE(answer->isExpanded());
    EXPECT_EQ(tree_.SelectedNode(), question);
}

TEST_F(TreeReorder, ADropOnANodeThatIsNoSiblingDoesNothing) {
    ShowAll();
    const std::string before = DumpTree(tree_);
    const std::pair<std::pair<TNodeKind, std::int32_t>, std::pair<TNodeKind, std::int32_t>> drops[] = {
        {{nkQuestion, 1}, {nkQuestion, 3}},
        {{nkAnswer, 1}, {nkQuestion, 2}},
        {{nkWeight, 3}, {nkWeight, 1}},
        {{nkTest, 1}, {nkTestGroup, 2}},
    };
    for (const auto& [from, to] : drops) {
        Select(from.first, from.second);
        tree_.TreeDragDrop(PointOf(to.first, to.second));
        tree_.DropBefore(FindNode(tree_, from.first, from.second), FindNode(tree_, to.first, to.second));
    }
    tree_.DropBefore(nullptr, FindNode(tree_, nkAnswer, 1));
    tree_.DropBefore(FindNode(tree_, nkAnswer, 1), nullptr);
    EXPECT_EQ(DumpTree(tree_), before);
    EXPECT_TRUE(main_.Messages.empty());
    EXPECT_FALSE(S().IsModified());
}

TEST_F(TreeReorder, TheViewTakesOnlyItsOwnDragsAndNeverMovesNodesItself) {
    EXPECT_NE(tree_.dragDropMode(), QAbstractItemView::InternalMove);
    EXPECT_TRUE(tree_.dragEnabled());
    ShowAll();
    const auto send = [&](QEvent& e) { QCoreApplication::sendEvent(tree_.viewport(), &e); };

    // Qt hands moves and the drop only to the widget that took the drag when it entered.
    const auto enter = [&](const QMimeData* data) {
        QDragEnterEvent e(PointOf(nkAnswer, 1), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        send(e);
        return e.isAccepted();
    };

    // A drag of the selected answer over its sibling is taken, over a non-sibling it is not.
    Select(nkAnswer, 2);
    const std::unique_ptr<QMimeData> own(tree_.CreateDragData());
    ASSERT_TRUE(enter(own.get()));
    QDragMoveEvent over(PointOf(nkAnswer, 1), Qt::MoveAction, own.get(), Qt::LeftButton, Qt::NoModifier);
    send(over);
    EXPECT_TRUE(over.isAccepted());
    QDragMoveEvent elsewhere(PointOf(nkQuestion, 2), Qt::MoveAction, own.get(), Qt::LeftButton, Qt::NoModifier);
    send(elsewhere);
    EXPECT_FALSE(elsewhere.isAccepted());

    // Data of another node, or from elsewhere, is not taken.
    const std::unique_ptr<QMimeData> otherNode([&] {
        Select(nkAnswer, 1);
        return tree_.CreateDragData();
    }());
    Select(nkAnswer, 2);
    EXPECT_FALSE(tree_.IsOwnDrag(otherNode.get()));
    QDropEvent wrong(PointOf(nkAnswer, 1), Qt::MoveAction, otherNode.get(), Qt::LeftButton, Qt::NoModifier);
    send(wrong);
    EXPECT_FALSE(wrong.isAccepted());
    QMimeData foreign;
    foreign.setText("Yes");
    EXPECT_FALSE(enter(&foreign));
    EXPECT_FALSE(enter(otherNode.get()));
    EXPECT_EQ(UnmarkedDump(tree_), FixtureDump());
    EXPECT_TRUE(main_.Messages.empty());

    // Its own drop moves the node before the target, under the same parent, and deletes nothing.
    ASSERT_TRUE(enter(own.get()));
    QDropEvent drop(PointOf(nkAnswer, 1), Qt::MoveAction, own.get(), Qt::LeftButton, Qt::NoModifier);
    send(drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(ChildIDs(nkQuestion, 1), (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(DumpSubtree(FindNode(tree_, nkAnswer, 2)), "nkAnswer 2 No\n  nkWeight 3 No on Neuroticism\n");
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
    ExpectMirrorsTheStore("dropped through the view");
}

TEST_F(TreeReorder, RenumberingWritesTheTreeOrderAndSkipsWhatIsMissing) {
    FourAnswers();
    tree_.BuildAll(nullptr);
    ASSERT_TRUE(S().Reactions.Locate(2));
    S().Reactions.Delete();
    tree_.RenumberChildren(FindNode(tree_, nkQuestion, 1));
    // Answer 2 has no record: its index 1 is given to nobody.
    EXPECT_EQ(Stored(S().Reactions, 1).Order, 0);
    EXPECT_EQ(Stored(S().Reactions, 4).Order, 2);
    EXPECT_EQ(Stored(S().Reactions, 5).Order, 3);
    EXPECT_TRUE(S().Reactions.IsInOrder());
    // Kinds without children in a table, and nil, do nothing.
    S().SetModified(false);
    tree_.RenumberChildren(FindNode(tree_, nkTest, 1));
    tree_.RenumberChildren(FindNode(tree_, nkRoot, -1));
    tree_.RenumberChildren(nullptr);
    EXPECT_FALSE(S().IsModified());
}

// ---------------------------------------------------------------- arrange

TEST_F(TreeReorder, ArrangeGivesTheNodesAndTheStoreTheDialogsOrder) {
    S().Reactions.AddReaction(Item<TReaction>(4, 1, "Often", 2));
    tree_.Rebuild();
    Select(nkQuestion, 1);
    AnswerArrange answer(LastToStart);
    tree_.ArrangeItems();
    EXPECT_EQ(answer.Shown, 1);
    EXPECT_EQ(answer.Lines, (std::vector<QString>{"Yes", "No", "Often"}));
    EXPECT_EQ(ChildIDs(nkQuestion, 1), (std::vector<std::int32_t>{4, 1, 2}));
    EXPECT_EQ(ChildOrders(nkQuestion, 1), Range(3));
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
    ExpectMirrorsTheStore("answers arranged");
}

TEST_F(TreeReorder, ArrangeWorksOnTheChildrenOfEveryParentKind) {
    struct Case {
        TNodeKind Kind;
        std::int32_t Id;
        std::vector<std::int32_t> After;   // the last child first
    };
    const Case cases[] = {
        {nkTestsRoot, -1, {2, 4, 1}},   {nkTestGroup, 1, {5, 1}}, {nkScalesFolder, 1, {3, 1}},
        {nkScale, 1, {2, 1}},           {nkQuestionsFolder, 1, {2, 1}}, {nkQuestion, 1, {2, 1}},
        {nkAnswer, 1, {2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NodeKindName(c.Kind));
        GlobalStore() = MakeFixtureStore();
        tree_.Rebuild();
        QTreeWidgetItem* node = Select(c.Kind, c.Id);
        std::vector<QString> captions;
        for (int i = 0; i < node->childCount(); ++i) captions.push_back(node->child(i)->text(0));
        // A question never opened lists the answers it will show.
        TObjectsTree::WalkPending(node, [&](const TObjectsTree::TPendingRecord& r) {
            if (r.Depth == 0) captions.push_back(QString::fromUtf8(r.Name.data(), static_cast<qsizetype>(r.Name.size())));
            return false;
        });
        AnswerArrange answer(LastToStart);
        tree_.ArrangeItems();
        EXPECT_EQ(answer.Lines, captions) << "the dialog lists the children in their order";
        EXPECT_EQ(ChildIDs(c.Kind, c.Id), c.After);
        EXPECT_EQ(ChildOrders(c.Kind, c.Id), Range(static_cast<std::int32_t>(c.After.size())));
        ExpectMirrorsTheStore(NodeKindName(c.Kind));
    }
}

TEST_F(TreeReorder, ACancelledArrangeChangesNothing) {
    Select(nkTestsRoot, -1);
    AnswerArrange answer(LastToStart, DialogButton::Cancel);
    tree_.ArrangeItems();
    EXPECT_EQ(answer.Shown, 1);
    EXPECT_EQ(DumpTree(tree_), FixtureDump());
    EXPECT_FALSE(S().IsModified());
    EXPECT_TRUE(main_.Messages.empty());
}

TEST_F(TreeReorder, ArrangeWithoutASelectionShowsNothing) {
    NoDialogs none;
    tree_.ArrangeItems();
    EXPECT_TRUE(main_.Messages.empty());
}

TEST_F(TreeReorder, ArrangeFillsTheNodeAnewWhenTreeAndStoreDisagree) {
    // The store holds an answer the tree does not show, and lacks one it does.
    S().Reactions.AddReaction(Item<TReaction>(4, 1, "Often", 2));
    S().Reactions.AddReaction(Item<TReaction>(5, 1, "Never", 3));
    ASSERT_TRUE(S().Reactions.Locate(2));
    S().Reactions.Delete();
    tree_.Rebuild();
    tree_.BuildAll(nullptr);
    S().Reactions.AddReaction(Item<TReaction>(2, 1, "No", 1));
    ASSERT_TRUE(S().Reactions.Locate(5));
    S().Reactions.Delete();
    Select(nkAnswer, 1);
    tree_.Copy();
    Select(nkQuestion, 1);
    AnswerArrange answer(LastToStart);
    tree_.ArrangeItems();
    EXPECT_EQ(answer.Lines, (std::vector<QString>{"Yes", "Often", "No"}));
    EXPECT_EQ(ChildIDs(nkQuestion, 1), (std::vector<std::int32_t>{2, 1, 4}));
    EXPECT_EQ(ChildOrders(nkQuestion, 1), Range(3));
    EXPECT_EQ(tree_.MarkedNode(), nullptr) << "the marked node went with the old children";
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
    ExpectMirrorsTheStore("answers filled anew");
}

// ---------------------------------------------------------------- all of it together

TEST_F(TreeReorder, AScriptOfPastesRenamesDropsAndArrangesKeepsTreeAndStoreAlike) {
    ShowAll();
    const auto step = [&](const std::string& what, const std::function<void()>& work) {
        work();
        EXPECT_TRUE(shown_.Messages.empty()) << what;
        ExpectMirrorsTheStore(what);
    };
    step("copy a test into the empty group", [&] {
        Select(nkTest, 1);
        tree_.Copy();
        Select(nkTestGroup, 2);
        tree_.Paste();
    });
    step("paste it once more", [&] { tree_.Paste(); });
    step("rename the second copy", [&] {
        EXPECT_TRUE(RenameInView(FindNode(tree_, nkTest, 4), "Second copy"));
        EXPECT_EQ(S().Tests.At(S().Tests.IndexOfID(4)).Name, "Second copy");
    });
    step("drop the second copy before the first", [&] {
        Select(nkTest, 4);
        tree_.DropBefore(FindNode(tree_, nkTest, 4), FindNode(tree_, nkTest, 3));
    });
    step("cut a question of the copy", [&] {
        Select(nkQuestion, 4);
        tree_.Cut();
    });
    step("paste it into the typing test", [&] {
        Select(nkQuestionsFolder, 2);
        tree_.Paste();
    });
    step("copy an answer", [&] {
        Select(nkAnswer, 1);
        tree_.Copy();
        Select(nkQuestion, 2);
        tree_.Paste();
    });
    step("rename the copied answer", [&] { EXPECT_TRUE(RenameInView(tree_.PastedNode(), "Copied yes")); });
    step("arrange the groups", [&] {
        Select(nkTestsRoot, -1);
        AnswerArrange answer([](TFormArrangeItems& f) {
            f.CheckListBoxArrangeItems->item(0)->setCheckState(Qt::Checked);
            f.BitBtnDownToEnd->click();
        });
        tree_.ArrangeItems();
    });
    step("cut a scale into the typing test", [&] {
        Select(nkScale, 1);
        tree_.Cut();
        Select(nkScalesFolder, 2);
        tree_.Paste();
    });
    step("drop an interpretation", [&] {
        Select(nkInterpretation, 2);
        tree_.TreeDragDrop(PointOf(nkInterpretation, 1));
    });
    step("arrange the answers of a copied question", [&] {
        Select(nkQuestion, 6);
        AnswerArrange answer([](TFormArrangeItems& f) {
            f.BitBtnSelectAllItems->click();
            f.BitBtnDownOneStep->click();
            f.CheckListBoxArrangeItems->item(1)->setCheckState(Qt::Checked);
            f.BitBtnUpOneStep->click();
        });
        tree_.ArrangeItems();
    });
}
