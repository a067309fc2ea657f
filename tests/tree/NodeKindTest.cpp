// The node-kind table: what each kind of node means to the tree and to the main window's
// commands, checked without widgets.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "store/FileAccess.h"
#include "tests/support/StoreFixtures.h"
#include "tree/NodeKind.h"

namespace {

std::vector<TNodeKind> AllKinds() {
    std::vector<TNodeKind> kinds;
    for (int k = 0; k <= kLastNodeKind; ++k) kinds.push_back(static_cast<TNodeKind>(k));
    return kinds;
}

// The kinds that have kind among their children.
std::vector<TNodeKind> ParentsOf(TNodeKind kind) {
    std::vector<TNodeKind> parents;
    for (TNodeKind k : AllKinds())
        for (TNodeKind c : NodeKindInfo(k).Children)
            if (c == kind && kind != nkNone) parents.push_back(k);
    return parents;
}

bool IsChild(TNodeKind parent, TNodeKind child) {
    for (TNodeKind c : NodeKindInfo(parent).Children)
        if (c == child && child != nkNone) return true;
    return false;
}

bool Inside(TNodeKind kind) { return NodeKindInfo(kind).TestDepth >= 0; }

}  // namespace

namespace {

// What each kind of node shows, written out here rather than read from the program's table, so
// that a changed row of that table shows: the name in the dumps, the picture, the fixed caption
// of a root or folder, the status line, the one kind it hangs under, and the captions of Create,
// Change, Remove, Arrange Items and Remove children.
struct KindRow {
    TNodeKind Kind;
    const char* Name;
    int Image;
    const char* CaptionKey;
    const char* StatusKey;
    TNodeKind Parent;
    std::array<const char*, 5> Captions;
};

constexpr std::array<const char*, 5> kPlainCaptions = {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_COMMON_CHANGE",
                                                       "OBJECTSTREE_COMMON_REMOVE", "OBJECTSTREE_ARRANGE_ITEMS",
                                                       "OBJECTSTREE_REMOVE_CHILDREN"};
constexpr std::array<const char*, 5> kWeightRowCaptions = {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_WEIGHT_CHANGE",
                                                           "OBJECTSTREE_WEIGHT_REMOVE", "OBJECTSTREE_ARRANGE_ITEMS",
                                                           "OBJECTSTREE_REMOVE_CHILDREN"};

const KindRow kKindRows[] = {
    {nkNone, "nkNone", 2, nullptr, "OBJECTSTREE_STATUSBAR_NO_SELECTED_NODES", nkNone, kPlainCaptions},
    {nkRoot, "nkRoot", 3, "OBJECTSTREE_MAIN_NODE_TITLE", "OBJECTSTREE_STATUSBAR_GLOBAL_NODE", nkNone, kPlainCaptions},
    {nkTestsRoot, "nkTestsRoot", 7, "OBJECTSTREE_TESTS_MAIN_NODE_TITLE", "OBJECTSTREE_STATUSBAR_NODE_TESTS", nkRoot,
     {"OBJECTSTREE_TSTGRP_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
      "OBJECTSTREE_ARRANGE_TEST_GROUPS", "OBJECTSTREE_REMOVE_CHILD_TESTGROUPS"}},
    {nkTestGroup, "nkTestGroup", 8, nullptr, "OBJECTSTREE_STATUSBAR_NODE_TESTS_GROUP", nkTestsRoot,
     {"OBJECTSTREE_TEST_CREATE", "OBJECTSTREE_TSTGRP_CHANGE", "OBJECTSTREE_TSTGRP_REMOVE", "OBJECTSTREE_ARRANGE_TESTS",
      "OBJECTSTREE_REMOVE_CHILD_TESTS"}},
    {nkTest, "nkTest", 9, nullptr, "OBJECTSTREE_STATUSBAR_NODE_TEST", nkTestGroup,
     {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_TEST_CHANGE", "OBJECTSTREE_TEST_REMOVE", "OBJECTSTREE_ARRANGE_ITEMS",
      "OBJECTSTREE_REMOVE_CHILD_SCLSTM"}},
    {nkScalesFolder, "nkScalesFolder", 2, "OBJECTSTREE_SCALES_MAIN_NODE_TITLE", "OBJECTSTREE_STATUSBAR_NODE_SCALES",
     nkTest,
     {"OBJECTSTREE_SCALE_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
      "OBJECTSTREE_ARRANGE_SCALES", "OBJECTSTREE_REMOVE_CHILD_SCALES"}},
    {nkScale, "nkScale", 13, nullptr, "OBJECTSTREE_STATUSBAR_NODE_SCALE", nkScalesFolder,
     {"OBJECTSTREE_INTERP_CREATE", "OBJECTSTREE_SCALE_CHANGE", "OBJECTSTREE_SCALE_REMOVE",
      "OBJECTSTREE_ARRANGE_INTERPS", "OBJECTSTREE_REMOVE_CHILD_INTERPS"}},
    {nkInterpretation, "nkInterpretation", 14, nullptr, "OBJECTSTREE_STATUSBAR_NODE_INTERPRETATION", nkScale,
     {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_INTERP_CHANGE", "OBJECTSTREE_INTERP_REMOVE",
      "OBJECTSTREE_ARRANGE_ITEMS", "OBJECTSTREE_REMOVE_CHILDREN"}},
    {nkWeight, "nkWeight", 12, nullptr, "OBJECTSTREE_STATUSBAR_NODE_WEIGHT", nkAnswer, kWeightRowCaptions},
    {nkWeightNoScale, "nkWeightNoScale", 15, nullptr, "OBJECTSTREE_STATUSBAR_NODE_WEIGHT_NO_SCALE", nkAnswer,
     kWeightRowCaptions},
    {nkQuestionsFolder, "nkQuestionsFolder", 2, "OBJECTSTREE_STIMULS_MAIN_NODE_TITLE",
     "OBJECTSTREE_STATUSBAR_NODE_QUESTIONS", nkTest,
     {"OBJECTSTREE_STIMUL_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
      "OBJECTSTREE_ARRANGE_STIMULS", "OBJECTSTREE_REMOVE_CHILD_STIMULS"}},
    {nkQuestion, "nkQuestion", 10, nullptr, "OBJECTSTREE_STATUSBAR_NODE_QUESTION", nkQuestionsFolder,
     {"OBJECTSTREE_REACTION_CREATE", "OBJECTSTREE_STIMUL_CHANGE", "OBJECTSTREE_STIMUL_REMOVE",
      "OBJECTSTREE_ARRANGE_REACTIONS", "OBJECTSTREE_REMOVE_CHILD_REACTIONS"}},
    {nkAnswer, "nkAnswer", 11, nullptr, "OBJECTSTREE_STATUSBAR_NODE_ANSWER", nkQuestion,
     {"OBJECTSTREE_WEIGHT_CREATE", "OBJECTSTREE_REACTION_CHANGE", "OBJECTSTREE_REACTION_REMOVE",
      "OBJECTSTREE_ARRANGE_WEIGHTS", "OBJECTSTREE_REMOVE_CHILD_WEIGHTS"}},
};

std::string KeyText(const char* key) { return key ? key : "(none)"; }

}  // namespace

TEST(NodeKindTable, EachKindShowsWhatItsDescriptionSays) {
    ASSERT_EQ(std::size(kKindRows), static_cast<std::size_t>(kLastNodeKind + 1));
    for (const KindRow& row : kKindRows) {
        const TNodeKindInfo& info = NodeKindInfo(row.Kind);
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(info.Kind, row.Kind);
        EXPECT_STREQ(NodeKindName(row.Kind), row.Name);
        EXPECT_EQ(KindImageIndex(row.Kind), row.Image);
        EXPECT_EQ(KeyText(info.CaptionKey), KeyText(row.CaptionKey));
        EXPECT_EQ(KeyText(info.StatusKey), KeyText(row.StatusKey));
        const std::vector<TNodeKind> parents = ParentsOf(row.Kind);
        EXPECT_EQ(parents, row.Parent == nkNone ? std::vector<TNodeKind>{} : std::vector<TNodeKind>{row.Parent});
        for (std::size_t i = 0; i < row.Captions.size(); ++i)
            EXPECT_EQ(KeyText(info.Commands.CaptionKeys[i]), KeyText(row.Captions[i])) << "caption " << i;
    }
}

TEST(NodeKindTable, EachRowIsItsOwnKindAndUnknownKindsReadAsNone) {
    std::set<std::string> names;
    for (TNodeKind k : AllKinds()) {
        const TNodeKindInfo& info = NodeKindInfo(k);
        EXPECT_EQ(info.Kind, k) << NodeKindName(k);
        EXPECT_TRUE(names.insert(info.Name).second) << info.Name;
        EXPECT_EQ(std::string(info.Name).rfind("nk", 0), 0u) << info.Name;
        // Pictures 0 and 1 are the cut and copy overlays.
        EXPECT_GT(info.Image, kCopyOverlayImage) << info.Name;
        EXPECT_LT(info.Image, kImageCount) << info.Name;
        EXPECT_NE(info.StatusKey, nullptr) << info.Name;
        for (const char* key : info.Commands.CaptionKeys) EXPECT_NE(key, nullptr) << info.Name;
    }
    for (int outside : {-1, kLastNodeKind + 1, 255}) {
        EXPECT_FALSE(IsNodeKind(outside));
        EXPECT_EQ(NodeKindInfo(outside).Kind, nkNone);
        EXPECT_EQ(KindImageIndex(outside), 2);
        EXPECT_STREQ(NodeKindName(outside), "nk?");
    }
}

// The shape of the tree: root, tests root, groups, tests, two folders, and the objects below.
TEST(NodeKindTable, EveryKindButTheRootsHangsUnderOneParentKind) {
    EXPECT_TRUE(ParentsOf(nkRoot).empty());
    EXPECT_TRUE(ParentsOf(nkNone).empty());
    for (TNodeKind k : AllKinds()) {
        if (k == nkNone || k == nkRoot) continue;
        EXPECT_EQ(ParentsOf(k).size(), 1u) << NodeKindName(k);
    }
    EXPECT_EQ(NodeKindInfo(nkTest).Children[0], nkScalesFolder);
    EXPECT_EQ(NodeKindInfo(nkTest).Children[1], nkQuestionsFolder);
}

// A node's test is found by walking up TestDepth levels, so each level must be one parent step.
TEST(NodeKindTable, TheDepthToTheTestIsTheNumberOfParentStepsToATestNode) {
    for (TNodeKind k : AllKinds()) {
        const int depth = NodeKindInfo(k).TestDepth;
        if (depth < 0) {
            EXPECT_TRUE(k == nkNone || k == nkRoot || k == nkTestsRoot || k == nkTestGroup) << NodeKindName(k);
            continue;
        }
        TNodeKind at = k;
        for (int i = 0; i < depth; ++i) {
            ASSERT_EQ(ParentsOf(at).size(), 1u) << NodeKindName(k);
            at = ParentsOf(at).front();
        }
        EXPECT_EQ(at, nkTest) << NodeKindName(k);
    }
}

TEST(NodeKindTable, RootsAndFoldersHaveFixedCaptionsAndStandForNoStoredObject) {
    for (TNodeKind k : AllKinds()) {
        const TNodeKindInfo& info = NodeKindInfo(k);
        const bool fixed = info.Object == TStoredType::None;
        EXPECT_EQ(info.CaptionKey != nullptr, fixed && k != nkNone) << info.Name;
        // Only the two folders carry their test's ID.
        EXPECT_EQ(info.CarriesTestID, k == nkScalesFolder || k == nkQuestionsFolder) << info.Name;
    }
    EXPECT_EQ(NodeKindInfo(nkWeight).Object, NodeKindInfo(nkWeightNoScale).Object);
    EXPECT_EQ(WeightKind(-1), nkWeightNoScale);
    EXPECT_EQ(WeightKind(0), nkWeight);
    EXPECT_EQ(WeightKind(7), nkWeight);
}

// Create adds a child; Change and Remove work on a stored object; Remove children has something
// stored to remove; Run Test has a test above; the paste cell is the paste state wherever
// something is selected.
TEST(NodeKindTable, TheCommandRowAgreesWithWhatTheKindCanDo) {
    for (TNodeKind k : AllKinds()) {
        const TNodeKindInfo& info = NodeKindInfo(k);
        const TKindCommands& c = info.Commands;
        const bool object = info.Object != TStoredType::None;
        SCOPED_TRACE(info.Name);

        EXPECT_EQ(c.Create == TCell::On, info.Creates != nkNone);
        EXPECT_EQ(c.Create, c.PopupCreate);
        if (info.Creates != nkNone) {
            EXPECT_TRUE(IsChild(k, info.Creates));
        }

        EXPECT_EQ(c.Change == TCell::On, object);
        EXPECT_EQ(c.Remove == TCell::On, object);
        EXPECT_EQ(c.Remove == TCell::On, info.Remove.QuestionKey != nullptr);
        EXPECT_EQ(c.Change, c.PopupChange);
        EXPECT_EQ(c.Remove, c.PopupRemove);
        EXPECT_EQ(c.Cut, c.Copy);
        EXPECT_EQ(c.Cut == TCell::On, object);
        EXPECT_EQ(c.Cut, c.PopupCut);

        bool storedChildren = false;
        for (TNodeKind child : info.Children)
            if (child != nkNone && (NodeKindInfo(child).Object != TStoredType::None || NodeKindInfo(child).CarriesTestID))
                storedChildren = true;
        EXPECT_EQ(info.RemoveChildren.QuestionKey != nullptr, storedChildren);
        EXPECT_EQ(info.RemoveChildren.KeepsChildFolders, k == nkTest);

        EXPECT_EQ(c.RunTest == TCell::On, Inside(k));
        EXPECT_EQ(c.ShowRunTest == TCell::On, k == nkTest);
        EXPECT_EQ(c.ShowExportTest == TCell::On, k == nkTest);
        EXPECT_EQ(c.Paste == TCell::IfPaste, k != nkNone);
        EXPECT_EQ(c.Paste, c.PopupPaste);

        // A quick import fills a folder of its test.
        const bool scalesHere = info.CarriesTestID && ChildObjectType(k) == TStoredType::Scale;
        const bool stimuliHere = info.CarriesTestID && ChildObjectType(k) == TStoredType::Stimulus;
        EXPECT_EQ(c.FastImportScales, scalesHere);
        EXPECT_EQ(c.ShowImportScales == TCell::On, scalesHere);
        EXPECT_EQ(c.FastImportStimuls, stimuliHere);
        EXPECT_EQ(c.ShowImportStimuls == TCell::On, stimuliHere);

        // A group imports a test; a test never rearranges its two folders and alone stays
        // removable in a private test.
        EXPECT_EQ(c.ShowImportTest, k == nkTestGroup);
        EXPECT_EQ(c.NeverArrange, k == nkTest);
        EXPECT_EQ(c.RemovableWhenPrivate, k == nkTest);
    }
}

TEST(NodeKindTable, OnlyStoredObjectsArePastedAndOnlyUnderTheKindThatHoldsThem) {
    for (TNodeKind target : AllKinds())
        for (TNodeKind marked : AllKinds()) {
            const bool accepted = NodeKindInfo(target).AcceptsOnPaste.Has(marked);
            if (accepted) {
                EXPECT_TRUE(IsChild(target, marked)) << NodeKindName(marked) << " on " << NodeKindName(target);
                EXPECT_NE(NodeKindInfo(marked).Object, TStoredType::None) << NodeKindName(marked);
            }
            EXPECT_EQ(CanPasteKind(marked, target), accepted) << NodeKindName(marked) << " on " << NodeKindName(target);
        }
    // The store moves and copies no whole group, and the tests root takes nothing.
    for (TNodeKind target : AllKinds()) EXPECT_FALSE(CanPasteKind(nkTestGroup, target)) << NodeKindName(target);
    EXPECT_TRUE(CanPasteKind(nkWeightNoScale, nkAnswer));
    EXPECT_TRUE(CanPasteKind(nkWeight, nkAnswer));
    EXPECT_FALSE(CanPasteKind(nkScale, nkQuestionsFolder));
    EXPECT_FALSE(CanPasteKind(nkTest, nkTestsRoot));
    EXPECT_FALSE(CanPasteKind(kLastNodeKind + 1, nkAnswer));
}

TEST(NodeKindTable, ChildrenOfOneStoredTypeHaveTheirTableAndFoldersHaveNone) {
    const struct {
        TNodeKind Kind;
        TStoredType Children;
    } cases[] = {
        {nkRoot, TStoredType::None},           {nkTestsRoot, TStoredType::TestGroup},
        {nkTestGroup, TStoredType::Test},      {nkTest, TStoredType::None},
        {nkScalesFolder, TStoredType::Scale},  {nkScale, TStoredType::Interpretation},
        {nkInterpretation, TStoredType::None}, {nkQuestionsFolder, TStoredType::Stimulus},
        {nkQuestion, TStoredType::Reaction},   {nkAnswer, TStoredType::Weight},
        {nkWeight, TStoredType::None},
    };
    for (const auto& c : cases) EXPECT_EQ(ChildObjectType(c.Kind), c.Children) << NodeKindName(c.Kind);
}

// ---- what the kinds ask of the store

namespace {

// The two tests of FillTwoTests in group 1, with an empty test 3 beside them and an empty group 2.
TFileAccess& KindStore() {
    static TFileAccess s{std::string()};
    static const bool filled = [] {
        FillTwoTests(s);
        s.Tests.AddTest(Item<TTest>(3, 1, "Empty", 3));
        s.TestGroups.AddTestGroup(Item<TTestGroup>(2, -1, "Empty group"));
        return true;
    }();
    (void)filled;
    return s;
}

}  // namespace

TEST(NodeKindStore, StoredChildrenAreCountedByKind) {
    const TFileAccess& s = KindStore();
    const struct {
        TNodeKind Kind;
        std::int32_t Id;
        int Count;
    } cases[] = {
        {nkRoot, -1, 0},          {nkTestsRoot, -1, 2},      {nkTestGroup, 1, 3},    {nkTestGroup, 2, 0},
        {nkTest, 1, 4},           {nkTest, 2, 2},            {nkTest, 3, 0},         {nkScalesFolder, 1, 2},
        {nkScale, 1, 2},          {nkScale, 2, 0},           {nkInterpretation, 1, 0}, {nkQuestionsFolder, 1, 2},
        {nkQuestion, 1, 2},       {nkQuestion, 2, 1},        {nkAnswer, 1, 2},       {nkAnswer, 3, 0},
        {nkWeight, 1, 0},         {nkWeightNoScale, 3, 0},   {nkNone, 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredChildCount(s, c.Kind, c.Id), c.Count) << NodeKindName(c.Kind) << " " << c.Id;
}

TEST(NodeKindStore, TheTestOfAnObjectIsAskedOfTheStore) {
    TFileAccess& s = KindStore();
    const struct {
        TNodeKind Kind;
        std::int32_t Id;
        std::int32_t Test;
    } cases[] = {
        {nkTest, 2, 2},           {nkScalesFolder, 1, 1},  {nkQuestionsFolder, 2, 2}, {nkScale, 3, 2},
        {nkInterpretation, 3, 2}, {nkQuestion, 2, 1},      {nkAnswer, 4, 2},          {nkWeight, 1, 1},
        {nkWeightNoScale, 3, 1},  {nkWeight, 5, -1},       {nkScale, 99, -1},         {nkTestGroup, 1, -1},
        {nkTestsRoot, -1, -1},    {nkRoot, -1, -1},        {nkNone, 1, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(StoredTestOf(s, c.Kind, c.Id), c.Test) << NodeKindName(c.Kind) << " " << c.Id;
}

TEST(NodeKindStore, EachStoredTypeHasItsOwnTable) {
    TFileAccess& s = KindStore();
    EXPECT_EQ(TableOf(s, TStoredType::None), nullptr);
    EXPECT_EQ(TableOf(s, TStoredType::TestGroup), &s.TestGroups);
    EXPECT_EQ(TableOf(s, TStoredType::Test), &s.Tests);
    EXPECT_EQ(TableOf(s, TStoredType::Scale), &s.Scales);
    EXPECT_EQ(TableOf(s, TStoredType::Interpretation), &s.Interpretations);
    EXPECT_EQ(TableOf(s, TStoredType::Weight), &s.Weights);
    EXPECT_EQ(TableOf(s, TStoredType::Stimulus), &s.Stimuli);
    EXPECT_EQ(TableOf(s, TStoredType::Reaction), &s.Reactions);
    // No whole group is moved or copied.
    EXPECT_FALSE(MoveStored(s, TStoredType::TestGroup, 1, -1));
    EXPECT_EQ(CopyStored(s, TStoredType::TestGroup, 1, -1), -1);
    EXPECT_FALSE(MoveStored(s, TStoredType::None, 1, 1));
}

TEST(NodeKindStore, RemovalRulesDeleteWhatTheyAskAbout) {
    TFileAccess s{std::string()};
    FillTwoTests(s);
    // The test's children go together; the test stays.
    const TRemovalRule& children = NodeKindInfo(nkTest).RemoveChildren;
    EXPECT_EQ(children.Delete(s, 1), nullptr);
    EXPECT_EQ(s.ScaleCount(1) + s.StimulusCount(1), 0);
    EXPECT_EQ(s.ScaleCount(2) + s.StimulusCount(2), 2);
    EXPECT_EQ(s.TestCount(1), 2);
    // A delete the store refuses names its failure.
    EXPECT_STREQ(NodeKindInfo(nkScale).Remove.Delete(s, 42), "OBJECTSTREE_ERROR_REMOVING_SCALE");
    EXPECT_EQ(NodeKindInfo(nkTestGroup).Remove.Delete(s, 1), nullptr);
    EXPECT_EQ(s.TestGroupCount(), 0);
    EXPECT_EQ(s.TestCount(1), 0);
}
