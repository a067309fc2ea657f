// Find in the tree: which node a search selects, the not-found message, Find Next without
// wrapping around, and a match in a collapsed branch opened and scrolled into view.
#include <gtest/gtest.h>

#include <QApplication>

#include <string>
#include <vector>

#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/NodeSearch.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

class TreeFind : public FixtureTreeTest {
protected:
    std::string NotFound() const { return T("OBJECTSTREE_FIND_NO_OBJECT"); }
};

struct FindCase {
    const char* Text;
    std::uint8_t Flags;
    std::uint8_t Code;
    TNodeKind Kind;   // nkNone: nothing is found
    std::int32_t Id;
};

constexpr std::uint8_t kCase = sfCaseSensitive;
constexpr std::uint8_t kWhole = sfWholeTitle;

// Over the fixture's tree, in display order: the first match of each search from the top.
const FindCase kFindCases[] = {
    // containment in any letter case; the answer comes before its weights
    {"yes", 0, fotAnyObject, nkAnswer, 1},
    {"YES ON", 0, fotAnyObject, nkWeight, 1},
    {"ality", 0, fotAnyObject, nkTestGroup, 1},
    {"test", 0, fotAnyObject, nkTest, 5},
    {"maybe", 0, fotAnyObject, nkAnswer, 3},
    // case-sensitive
    {"yes", kCase, fotAnyObject, nkNone, 0},
    {"Yes", kCase, fotAnyObject, nkAnswer, 1},
    {"on N", kCase, fotAnyObject, nkWeight, 3},
    // the whole caption
    {"big five", kWhole, fotAnyObject, nkTest, 1},
    {"Big Five", kWhole | kCase, fotTest, nkTest, 1},
    {"big five", kWhole | kCase, fotAnyObject, nkNone, 0},
    {"Big", kWhole, fotAnyObject, nkNone, 0},
    {"calm", kWhole, fotQuestion, nkQuestion, 2},
    // the object type: one kind, or weights with and without a scale
    {"Neuroticism", 0, fotScale, nkScale, 3},
    {"Neuroticism", 0, fotWeight, nkWeight, 3},
    {"unbound", 0, fotWeight, nkWeightNoScale, 2},
    {"h", 0, fotInterpretation, nkInterpretation, 2},
    {"e", 0, fotTestGroup, nkTestGroup, 1},
    {"Parties", 0, fotAnswer, nkNone, 0},
    {"Parties", 0, fotQuestion, nkQuestion, 1},
    // folders and roots are never found
    {"Scales", 0, fotAnyObject, nkNone, 0},
    {"Questions", kWhole, fotAnyObject, nkNone, 0},
    {"Project", 0, fotAnyObject, nkNone, 0},
    // an empty text finds nothing
    {"", 0, fotAnyObject, nkNone, 0},
    {"", kWhole, fotAnyObject, nkNone, 0},
};

}  // namespace

TEST_F(TreeFind, FindsTheFirstMatchFromTheTop) {
    for (const FindCase& c : kFindCases) {
        SCOPED_TRACE(std::string("\"") + c.Text + "\" flags " + std::to_string(c.Flags) + " code " +
                     std::to_string(c.Code));
        Select(nkTestGroup, 2);
        shown_.Messages.clear();
        QTreeWidgetItem* found = tree_.FindObject(nullptr, c.Text, c.Flags, c.Code);
        if (c.Kind == nkNone) {
            EXPECT_EQ(found, nullptr) << DumpSubtree(found);
            EXPECT_EQ(shown_.Messages, std::vector<std::string>{NotFound()});
            EXPECT_EQ(tree_.SelectedNode(), FindNode(tree_, nkTestGroup, 2)) << "the selection stays";
            EXPECT_TRUE(main_.Codes().empty());
        } else {
            EXPECT_EQ(found, FindNode(tree_, c.Kind, c.Id));
            EXPECT_EQ(tree_.SelectedNode(), found);
            EXPECT_TRUE(shown_.Messages.empty());
            // Selecting writes the status line and tells the main window.
            EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
        }
    }
}

// Find Next from each match in turn finds the next one below it, and after the last one shows
// the message, although matches lie above.
TEST_F(TreeFind, FindNextGoesOnDownAndNeverWrapsAround) {
    std::vector<std::string> found;
    for (QTreeWidgetItem* node = tree_.FindObject(nullptr, "on", 0, fotAnyObject); node;
         node = tree_.FindObject(tree_.SelectedNode(), "on", 0, fotAnyObject)) {
        found.push_back(DumpSubtree(node).substr(0, DumpSubtree(node).find('\n')));
        ASSERT_LT(found.size(), 10u);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"nkTestGroup 1 Personality", "nkScale 1 Extraversion",
                                               "nkWeight 1 Yes on Extraversion", "nkWeight 3 No on Neuroticism",
                                               "nkWeight 4 Maybe on Secret"}));
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{NotFound()});
    EXPECT_EQ(tree_.SelectedNode(), FindNode(tree_, nkWeight, 4));
    // From the top again, the first match is found again.
    EXPECT_EQ(tree_.FindObject(nullptr, "on", 0, fotAnyObject), FindNode(tree_, nkTestGroup, 1));
}

TEST_F(TreeFind, FromTheLastNodeOfTheTreeNothingIsFound) {
    QTreeWidgetItem* last = Select(nkTestGroup, 2);
    tree_.ExpandAll(tree_.RootNode());
    ASSERT_EQ(tree_.itemBelow(last), nullptr) << "the last node in display order";
    EXPECT_EQ(tree_.FindObject(last, "Empty group", kWhole, fotAnyObject), nullptr);
    EXPECT_EQ(tree_.FindObject(last, "e", 0, fotAnyObject), nullptr);
    EXPECT_EQ(shown_.Messages, (std::vector<std::string>{NotFound(), NotFound()}));
    EXPECT_EQ(tree_.SelectedNode(), last);
}

TEST_F(TreeFind, AStartNodeOutsideTheTreeOrAnEmptyTreeFindsNothing) {
    TObjectsTree other(nullptr, platform::kNoWindow);
    other.Rebuild();
    EXPECT_EQ(tree_.FindObject(other.RootNode(), "Yes", 0, fotAnyObject), nullptr);
    tree_.Clear();
    EXPECT_EQ(tree_.FindObject(nullptr, "Yes", 0, fotAnyObject), nullptr);
    EXPECT_EQ(shown_.Messages, (std::vector<std::string>{NotFound(), NotFound()}));
}

// As the tree stands after opening a project, only the root open: a match deep in a collapsed
// group becomes current, every node above it opens, it is in view and the tree has the focus.
TEST_F(TreeFind, AMatchInACollapsedBranchIsOpenedAndShown) {
    ASSERT_TRUE(ShowTree());
    tree_.resize(300, 6 * tree_.visualItemRect(tree_.RootNode()).height() + 2 * tree_.frameWidth());
    tree_.activateWindow();
    QApplication::processEvents();
    QTreeWidgetItem* weight = FindNode(tree_, nkWeight, 4);
    ASSERT_FALSE(tree_.TestsRootNode()->child(1)->isExpanded());
    ASSERT_FALSE(WithinViewport(tree_, weight));

    EXPECT_EQ(tree_.FindObject(nullptr, "secret", 0, fotWeight), weight);
    QApplication::processEvents();
    EXPECT_EQ(tree_.currentItem(), weight);
    for (QTreeWidgetItem* up = weight->parent(); up; up = up->parent()) EXPECT_TRUE(up->isExpanded()) << DumpSubtree(up);
    EXPECT_TRUE(WithinViewport(tree_, weight));
    EXPECT_TRUE(tree_.hasFocus());
    EXPECT_EQ(ViewRowCount(tree_), ExpectedRowCount(tree_));
}
