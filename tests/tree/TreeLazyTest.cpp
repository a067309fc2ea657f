// The answers and weights of a question are built when first needed: whatever a person does, the
// tree shows what a tree built whole at once shows.
#include <gtest/gtest.h>
#include <QTest>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "lang/DlgLangConverter.h"
#include "platform/qt/QtText.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/NodeSearch.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

// ---- the plain rule: every record under its parent, in table order, read straight off the tables

template <class Table, class F>
void EachChildOf(const Table& table, std::int32_t parent, F&& f) {
    for (int i = 0; i < table.RecordCount(); ++i)
        if (table.At(i).ParentID == parent) f(table.At(i));
}

void Line(std::string& out, int depth, int kind, std::int32_t id, const std::string& name) {
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + NodeKindName(kind) + ' ' + std::to_string(id) + ' ' +
           platform::FromQString(platform::ToQString(name)) + '\n';
}

std::string Caption(TNodeKind kind) { return lang::GetMessageText(NodeKindInfo(kind).CaptionKey); }

std::string PlainDump(const TFileAccess& s) {
    std::string out;
    Line(out, 0, nkRoot, -1, Caption(nkRoot));
    Line(out, 1, nkTestsRoot, -1, Caption(nkTestsRoot));
    for (int g = 0; g < s.TestGroups.RecordCount(); ++g) {
        const TTestGroup& group = s.TestGroups.At(g);
        Line(out, 2, nkTestGroup, group.ID, group.Name);
        EachChildOf(s.Tests, group.ID, [&](const TTest& test) {
            Line(out, 3, nkTest, test.ID, test.Name);
            Line(out, 4, nkScalesFolder, test.ID, Caption(nkScalesFolder));
            EachChildOf(s.Scales, test.ID, [&](const TScale& scale) {
                Line(out, 5, nkScale, scale.ID, scale.Name);
                EachChildOf(s.Interpretations, scale.ID,
                            [&](const TInterpretation& in) { Line(out, 6, nkInterpretation, in.ID, in.Name); });
            });
            Line(out, 4, nkQuestionsFolder, test.ID, Caption(nkQuestionsFolder));
            EachChildOf(s.Stimuli, test.ID, [&](const TStimul& question) {
                Line(out, 5, nkQuestion, question.ID, question.Name);
                EachChildOf(s.Reactions, question.ID, [&](const TReaction& answer) {
                    Line(out, 6, nkAnswer, answer.ID, answer.Name);
                    EachChildOf(s.Weights, answer.ID,
                                [&](const TWeight& w) { Line(out, 7, WeightKind(w.ScaleID), w.ID, w.Name); });
                });
            });
        });
    }
    return out;
}

// ---- what the tree holds

void Walk(QTreeWidgetItem* node, const std::function<void(QTreeWidgetItem*)>& f) {
    f(node);
    for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), f);
}

std::vector<QTreeWidgetItem*> BuiltNodes(const QTreeWidget& tree) {
    std::vector<QTreeWidgetItem*> nodes;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) Walk(tree.topLevelItem(i), [&](QTreeWidgetItem* n) { nodes.push_back(n); });
    return nodes;
}

int PendingCount(const QTreeWidget& tree) {
    int pending = 0;
    for (QTreeWidgetItem* n : BuiltNodes(tree)) pending += IsPendingNode(n) ? 1 : 0;
    return pending;
}

// A node waiting for its children has none yet and is closed; an open node's children are built.
void ExpectWellFormed(const QTreeWidget& tree, const std::string& step) {
    for (QTreeWidgetItem* n : BuiltNodes(tree)) {
        if (!IsPendingNode(n)) continue;
        EXPECT_EQ(n->childCount(), 0) << step << ": " << DumpSubtree(n);
        EXPECT_FALSE(n->isExpanded()) << step << ": " << DumpSubtree(n);
    }
}

// Every node below node with children open, and nothing below it left to build.
bool OpenThroughout(QTreeWidgetItem* node) {
    bool open = true;
    Walk(node, [&](QTreeWidgetItem* n) { open = open && !IsPendingNode(n) && (n->childCount() == 0 || n->isExpanded()); });
    return open;
}

class LazyTree : public FixtureTreeTest {
protected:
    void Generate(std::uint32_t seed) {
        auto store = std::make_unique<TFileAccess>();
        GenerateProject(*store, ProjectSize{2, 4, 4, 3, 2, 2, 2}, seed);
        for (TObjectTable* t : store->AllTables()) {
            t->Sort();
            // Siblings in distinct Orders: the sort after a reorder leaves the other siblings as
            // they stand, so that the store's order after each step is the one to expect.
            std::map<std::int32_t, std::int32_t> next;
            for (int i = 0; i < t->RecordCount(); ++i) {
                const TAnyObject r = t->RecordAt(i);
                ASSERT_TRUE(t->Locate(r.ID));
                t->EditObject(r.ID, r.ParentID, r.Name, r.Description, next[r.ParentID]++);
            }
            t->Sort();
        }
        store->SetModified(false);
        GlobalStore() = std::move(store);
        tree_.Rebuild();
    }
    // A node of the tree built so far, chosen by the script.
    QTreeWidgetItem* AnyNode(std::mt19937& random) {
        const std::vector<QTreeWidgetItem*> nodes = BuiltNodes(tree_);
        return nodes[std::uniform_int_distribution<std::size_t>(0, nodes.size() - 1)(random)];
    }
    // A node whose kind is one of kinds, or nullptr when the tree shows none.
    QTreeWidgetItem* AnyNodeOf(std::mt19937& random, const std::function<bool(QTreeWidgetItem*)>& fits) {
        std::vector<QTreeWidgetItem*> nodes;
        for (QTreeWidgetItem* n : BuiltNodes(tree_))
            if (fits(n)) nodes.push_back(n);
        if (nodes.empty()) return nullptr;
        return nodes[std::uniform_int_distribution<std::size_t>(0, nodes.size() - 1)(random)];
    }
    // Find from start in this tree and in a tree built whole over the same store: the same node
    // is found (or none), and the match is selected and open to the view.
    void FindAsTheWholeTreeDoes(QTreeWidgetItem* start, const std::string& text, std::uint8_t flags,
                                const std::string& step) {
        TObjectsTree whole(nullptr, platform::kNoWindow);
        whole.Rebuild();
        whole.BuildAll(nullptr);
        QTreeWidgetItem* wholeStart = start ? FindNode(whole, GetNodeKind(start), GetNodeID(start)) : nullptr;
        ASSERT_EQ(wholeStart != nullptr, start != nullptr) << step;
        const QTreeWidgetItem* expected = whole.FindObject(wholeStart, text, flags, fotAnyObject);
        const QTreeWidgetItem* found = tree_.FindObject(start, text, flags, fotAnyObject);
        ASSERT_EQ(found != nullptr, expected != nullptr) << step << ": " << text;
        if (!found) return;
        EXPECT_EQ(GetNodeKind(found), GetNodeKind(expected)) << step << ": " << text;
        EXPECT_EQ(GetNodeID(found), GetNodeID(expected)) << step << ": " << text;
        EXPECT_EQ(tree_.currentItem(), found) << step;
        for (const QTreeWidgetItem* up = found->parent(); up; up = up->parent()) EXPECT_TRUE(up->isExpanded()) << step;
    }
    // A name from a table, so that Find has something to find, often below a closed question.
    std::string AnyName(std::mt19937& random) {
        const auto tables = S().AllTables();
        for (int tries = 0; tries < 20; ++tries) {
            const TObjectTable* t = tables[std::uniform_int_distribution<std::size_t>(0, tables.size() - 1)(random)];
            if (t->RecordCount() == 0) continue;
            return t->RecordAt(std::uniform_int_distribution<int>(0, t->RecordCount() - 1)(random)).Name;
        }
        return "nothing of the kind";
    }
    // One step of a person's work, chosen by the script; gives its name.
    std::string Step(std::mt19937& random) {
        const auto pick = std::uniform_int_distribution<int>(0, 10)(random);
        QTreeWidgetItem* node = AnyNode(random);
        tree_.setCurrentItem(node);
        switch (pick) {
            case 0: node->setExpanded(true); return "expand";
            case 1: node->setExpanded(false); return "collapse";
            case 2: {
                const std::string name = AnyName(random);
                const auto flags = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 3)(random));
                const bool fromStart = std::uniform_int_distribution<int>(0, 1)(random) == 0;
                FindAsTheWholeTreeDoes(fromStart ? nullptr : node, name, flags, "find " + name);
                return "find";
            }
            case 3: tree_.ExpandAll(node); EXPECT_TRUE(OpenThroughout(node)); return "show all";
            case 4: tree_.CollapseAll(node); return "hide all";
            case 5:
            case 6: {
                const bool cut = pick == 6;
                QTreeWidgetItem* marked = AnyNodeOf(random, [](QTreeWidgetItem* n) {
                    return NodeKindInfo(GetNodeKind(n)).Commands.Copy == TCell::On && GetNodeKind(n) != nkTestGroup;
                });
                if (!marked) return "nothing to mark";
                QTreeWidgetItem* target = AnyNodeOf(random, [&](QTreeWidgetItem* n) {
                    return CanPasteKind(GetNodeKind(marked), GetNodeKind(n));
                });
                if (!target) return "nowhere to paste";
                tree_.setCurrentItem(marked);
                cut ? tree_.Cut() : tree_.Copy();
                tree_.setCurrentItem(target);
                tree_.Paste();
                return cut ? "cut and paste" : "copy and paste";
            }
            case 7: {
                QTreeWidgetItem* parent = node->parent();
                if (!parent || parent->childCount() < 2) return "no siblings to drop on";
                QTreeWidgetItem* target = parent->child(std::uniform_int_distribution<int>(0, parent->childCount() - 1)(random));
                tree_.DropBefore(node, target);
                return "drop";
            }
            case 8: {
                AnswerQuestions yes(TMessageDialog::mrYes);
                tree_.RemoveObject();
                return "remove";
            }
            case 9: {
                AnswerQuestions yes(TMessageDialog::mrYes);
                tree_.RemoveChildren();
                return "remove children";
            }
            default: {
                if (tree_.IsLeaf(node) || NodeKindInfo(GetNodeKind(node)).Commands.NeverArrange) return "nothing to arrange";
                AnswerArrange answer(LastToStart);
                tree_.ArrangeItems();
                return "arrange";
            }
        }
    }
};

TEST_F(LazyTree, OpenBuildsTheQuestionsButNotTheirAnswers) {
    Generate(7);
    int questions = 0;
    for (QTreeWidgetItem* n : BuiltNodes(tree_)) {
        const TNodeKind kind = GetNodeKind(n);
        EXPECT_NE(kind, nkAnswer);
        EXPECT_NE(NodeKindInfo(kind).Object, TStoredType::Weight);
        if (kind != nkQuestion) continue;
        ++questions;
        // The indicator shows whether the question has answers, as their nodes would.
        EXPECT_EQ(IsPendingNode(n), S().ReactionCount(GetNodeID(n)) > 0) << DumpSubtree(n);
        EXPECT_FALSE(tree_.IsLeaf(n) && S().ReactionCount(GetNodeID(n)) > 0);
    }
    EXPECT_EQ(questions, S().Stimuli.RecordCount());
    EXPECT_GT(PendingCount(tree_), 0);
    EXPECT_EQ(DumpTree(tree_), PlainDump(S())) << "a dump shows the whole tree";
    tree_.BuildAll(nullptr);
    EXPECT_EQ(PendingCount(tree_), 0);
    EXPECT_EQ(DumpTree(tree_), PlainDump(S())) << "the nodes built whole";
}

// A script of random steps on random projects: after every step the tree shows what the plain
// rule shows for the store, and built whole at the end it holds exactly those nodes.
TEST_F(LazyTree, AnyScriptOfStepsEndsInTheTreeTheWholeBuildGives) {
    ASSERT_TRUE(ShowTree());
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generate(seed);
        std::mt19937 random(seed);
        for (int i = 0; i < 40; ++i) {
            const std::string step = Step(random);
            ASSERT_EQ(UnmarkedDump(tree_), PlainDump(S())) << "step " << i << ": " << step;
            ExpectWellFormed(tree_, step);
            EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_)) << step;
        }
        tree_.BuildAll(nullptr);
        EXPECT_EQ(PendingCount(tree_), 0);
        EXPECT_EQ(UnmarkedDump(tree_), PlainDump(S()));
        EXPECT_EQ(UnmarkedDump(tree_), DumpAfterSaveAndLoad(dir_.File("project.kvd")));
    }
}

TEST_F(LazyTree, FindOpensTheWayToAMatchInsideAQuestionNeverOpened) {
    QTreeWidgetItem* parties = FindNode(tree_, nkQuestion, 1);
    QTreeWidgetItem* hidden = FindNode(tree_, nkQuestion, 3);
    ASSERT_TRUE(IsPendingNode(parties));
    ASSERT_TRUE(IsPendingNode(hidden));
    QTreeWidgetItem* found = tree_.FindObject(nullptr, "No on Neuroticism", sfWholeTitle, fotAnyObject);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(DumpSubtree(found), "nkWeight 3 No on Neuroticism\n");
    EXPECT_EQ(found->parent()->parent(), parties);
    EXPECT_EQ(tree_.currentItem(), found);
    EXPECT_TRUE(parties->isExpanded());
    EXPECT_TRUE(found->parent()->isExpanded());
    EXPECT_TRUE(IsPendingNode(hidden)) << "only the question that holds the match is built";
    // Find Next goes on below the match, into the next question never opened.
    QTreeWidgetItem* next = tree_.FindObject(found, "on", 0, fotAnyObject);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(DumpSubtree(next), "nkWeight 4 Maybe on Secret\n");
    EXPECT_TRUE(hidden->isExpanded());
    EXPECT_TRUE(shown_.Messages.empty());
    // From a question never opened, its own answers come first.
    tree_.Rebuild();
    QTreeWidgetItem* start = FindNode(tree_, nkQuestion, 1);
    ASSERT_TRUE(IsPendingNode(start));
    next = tree_.FindObject(start, "Yes", 0, fotAnyObject);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(DumpSubtree(next).substr(0, DumpSubtree(next).find('\n')), "nkAnswer 1 Yes");
    ExpectMirrorsTheStore("found");
}

TEST_F(LazyTree, APasteOntoAQuestionNeverOpenedAddsOnlyThePastedAnswer) {
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "copy");
        GlobalStore() = MakeFixtureStore();
        tree_.Rebuild();
        QTreeWidgetItem* maybe = FindNode(tree_, nkAnswer, 3);   // builds question 3 only
        ASSERT_NE(maybe, nullptr);
        QTreeWidgetItem* parties = FindNode(tree_, nkQuestion, 1);
        ASSERT_TRUE(IsPendingNode(parties));
        tree_.setCurrentItem(maybe);
        cut ? tree_.Cut() : tree_.Copy();
        tree_.setCurrentItem(parties);
        tree_.Paste();
        ASSERT_FALSE(IsPendingNode(parties));
        std::vector<std::int32_t> answers;
        for (int i = 0; i < parties->childCount(); ++i) answers.push_back(GetNodeID(parties->child(i)));
        EXPECT_EQ(answers, cut ? (std::vector<std::int32_t>{3, 1, 2}) : (std::vector<std::int32_t>{1, 2, 4}));
        EXPECT_TRUE(parties->isExpanded());
        ExpectMirrorsTheStore(cut ? "cut" : "copy");
    }
}

TEST_F(LazyTree, CreatingAnAnswerInAQuestionNeverOpenedKeepsTheOthersOnce) {
    QTreeWidgetItem* parties = Select(nkQuestion, 1);
    ASSERT_TRUE(IsPendingNode(parties));
    AnswerDialogs<TReactionForm> dialog;
    tree_.CreateObject();
    ASSERT_EQ(dialog.Shown, 1);
    ASSERT_EQ(parties->childCount(), 3);
    EXPECT_TRUE(parties->isExpanded());
    ExpectMirrorsTheStore("answer created");
}

TEST_F(LazyTree, RemovingTheAnswersOfAQuestionNeverOpenedLeavesItWithout) {
    QTreeWidgetItem* parties = Select(nkQuestion, 1);
    ASSERT_TRUE(IsPendingNode(parties));
    AnswerQuestions yes(TMessageDialog::mrYes);
    tree_.RemoveChildren();
    EXPECT_FALSE(IsPendingNode(parties));
    EXPECT_TRUE(tree_.IsLeaf(parties));
    ExpectMirrorsTheStore("answers removed");
}

// The keys and the mouse of the view open a question never opened, and what they open is built
// once: Right, '*', minus and plus, and a click on the expand indicator.
TEST_F(LazyTree, KeysAndTheMouseOpenQuestionsNeverOpened) {
    ASSERT_TRUE(ShowTree());
    tree_.setFocus();
    QTreeWidgetItem* folder = FindNode(tree_, nkQuestionsFolder, 1);
    for (QTreeWidgetItem* up = folder; up; up = up->parent()) up->setExpanded(true);
    QTreeWidgetItem* parties = FindNode(tree_, nkQuestion, 1);
    ASSERT_TRUE(IsPendingNode(parties));
    const std::string partiesDump = "nkQuestion 1 Parties\n"
                                    "  nkAnswer 1 Yes\n"
                                    "    nkWeight 1 Yes on Extraversion\n"
                                    "    nkWeightNoScale 2 Unbound\n"
                                    "  nkAnswer 2 No\n"
                                    "    nkWeight 3 No on Neuroticism\n";

    tree_.setCurrentItem(parties);
    QTest::keyClick(&tree_, Qt::Key_Right);
    EXPECT_TRUE(parties->isExpanded());
    EXPECT_EQ(parties->childCount(), 2);
    EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));
    QTest::keyClick(&tree_, Qt::Key_Minus);
    EXPECT_FALSE(parties->isExpanded());
    QTest::keyClick(&tree_, Qt::Key_Plus);
    EXPECT_TRUE(parties->isExpanded());
    EXPECT_EQ(DumpSubtree(parties), partiesDump) << "opened again, nothing is built twice";
    EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));

    // '*' opens a test down to its last weight.
    QTreeWidgetItem* privateTest = FindNode(tree_, nkTest, 5);
    QTreeWidgetItem* hidden = FindNode(tree_, nkQuestion, 3);
    ASSERT_TRUE(IsPendingNode(hidden));
    tree_.setCurrentItem(privateTest);
    QTest::keyClick(&tree_, Qt::Key_Asterisk);
    EXPECT_TRUE(OpenThroughout(privateTest));
    EXPECT_EQ(DumpSubtree(hidden), "nkQuestion 3 Hidden\n  nkAnswer 3 Maybe\n    nkWeight 4 Maybe on Secret\n");
    EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));

    // A click on the indicator of a question never opened.
    tree_.Rebuild();
    folder = FindNode(tree_, nkQuestionsFolder, 1);
    for (QTreeWidgetItem* up = folder; up; up = up->parent()) up->setExpanded(true);
    parties = FindNode(tree_, nkQuestion, 1);
    ASSERT_TRUE(IsPendingNode(parties));
    const QRect row = tree_.visualItemRect(parties);
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, QPoint(row.left() - tree_.indentation() / 2, row.center().y()));
    EXPECT_TRUE(parties->isExpanded());
    EXPECT_EQ(DumpSubtree(parties), partiesDump);
    EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));
    ExpectMirrorsTheStore("opened by keys and the mouse");
}

}  // namespace
