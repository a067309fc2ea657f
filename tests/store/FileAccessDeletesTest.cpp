#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "store/FileAccess.h"
#include "tests/store/ReferenceWalks.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/StoreFixtures.h"

namespace {

// The two tests, with one weight of test 2 (weight 6, of answer 4) bound to scale 1 of test 1.
void FillCrossBound(TFileAccess& s) {
    FillTwoTests(s);
    TWeight cross = Item<TWeight>(6, 4, "W6");
    cross.ScaleID = 1;
    s.Weights.AddWeight(cross);
}

}  // namespace

TEST(StoreDeletes, ATestGoesWithExactlyItsSubtree) {
    TFileAccess s;
    FillCrossBound(s);
    s.SetModified(false);
    ASSERT_TRUE(s.DeleteTest(1));
    EXPECT_EQ(IdsOf(s.TestGroups), std::vector<int>{1});
    EXPECT_EQ(IdsOf(s.Tests), std::vector<int>{2});
    EXPECT_EQ(IdsOf(s.Scales), std::vector<int>{3});
    EXPECT_EQ(IdsOf(s.Interpretations), std::vector<int>{3});
    EXPECT_EQ(IdsOf(s.Stimuli), std::vector<int>{3});
    EXPECT_EQ(IdsOf(s.Reactions), std::vector<int>{4});
    // Weight 6 of test 2 and the stray weight 5 lose scale 1; weight 4 keeps scale 3.
    EXPECT_EQ(IdsOf(s.Weights), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(ScaleIDs(s.Weights), (std::vector<int>{3, -1, -1}));
    EXPECT_FALSE(s.TestGroups.Modified());
    for (const TObjectTable* t : {static_cast<const TObjectTable*>(&s.Tests), static_cast<const TObjectTable*>(&s.Weights),
                                  static_cast<const TObjectTable*>(&s.Scales)})
        EXPECT_TRUE(t->Modified()) << t->ClassName();
    EXPECT_EQ(s.Tests.Cursor(), 0);   // where the test stood
    // The freed IDs are the next ones given.
    EXPECT_EQ(s.Tests.NewID(), 1);
    EXPECT_EQ(s.Weights.NewID(), 1);
    EXPECT_EQ(s.Reactions.NewID(), 1);

    EXPECT_FALSE(s.DeleteTest(1));    // gone already
}

TEST(StoreDeletes, AScaleLeavesItsWeightsUnbound) {
    TFileAccess s;
    FillCrossBound(s);
    s.SetModified(false);
    s.Weights.SetCursor(3);
    ASSERT_TRUE(s.DeleteScale(1));
    EXPECT_EQ(IdsOf(s.Scales), (std::vector<int>{2, 3}));
    EXPECT_EQ(IdsOf(s.Interpretations), std::vector<int>{3});
    EXPECT_EQ(IdsOf(s.Weights), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ScaleIDs(s.Weights), (std::vector<int>{-1, 2, -1, 3, -1, -1}));
    EXPECT_TRUE(s.Weights.Modified());
    EXPECT_EQ(s.Weights.Cursor(), 3);

    // A scale without weights: the unbound weights still count as rewritten.
    s.SetModified(false);
    ASSERT_TRUE(s.DeleteScale(2));
    EXPECT_EQ(ScaleIDs(s.Weights), (std::vector<int>{-1, -1, -1, 3, -1, -1}));
    EXPECT_TRUE(s.Weights.Modified());
}

TEST(StoreDeletes, UnbindOrphanWeightsLeavesBoundWeightsAlone) {
    TFileAccess s;
    FillTwoTests(s);
    TFileAccess none;
    TWeight w = Item<TWeight>(1, 1, "w");
    w.ScaleID = 1;
    none.Scales.AddScale(Item<TScale>(1, 1, "s"));
    none.Weights.AddWeight(w);
    none.SetModified(false);
    none.UnbindOrphanWeights();
    EXPECT_FALSE(none.Weights.Modified());   // nothing to unbind
    EXPECT_EQ(ScaleIDs(none.Weights), std::vector<int>{1});

    s.SetModified(false);
    s.UnbindOrphanWeights();
    EXPECT_TRUE(s.Weights.Modified());   // weight 3 is unbound already and is rewritten
    EXPECT_EQ(ScaleIDs(s.Weights), (std::vector<int>{1, 2, -1, 3, 1}));
}

TEST(StoreDeletes, GroupsAndChildren) {
    TFileAccess s;
    GenerateProject(s, ProjectSize{2, 6, 3, 2, 2, 2, 2}, 5);
    s.Users.AddUser(1, "admin", "");
    const int testsOfGroup1 = s.TestCount(1);
    ASSERT_EQ(testsOfGroup1, 3);
    ASSERT_TRUE(s.DeleteTestsOfGroup(1));
    EXPECT_EQ(s.TestCount(1), 0);
    EXPECT_EQ(s.Tests.RecordCount(), 3);
    EXPECT_TRUE(s.DeleteTestsOfGroup(1));   // none left: still True
    EXPECT_EQ(s.TestGroupCount(), 2);

    // The survivors keep their order.
    const std::vector<int> weightsBefore = IdsOf(s.Weights);
    ASSERT_TRUE(s.DeleteStimulus(s.Stimuli.At(1).ID));
    std::vector<int> expected;
    for (int id : weightsBefore)
        if (s.Weights.ContainsID(id)) expected.push_back(id);
    EXPECT_EQ(IdsOf(s.Weights), expected);
    EXPECT_EQ(s.Weights.RecordCount(), static_cast<int>(weightsBefore.size()) - 4);

    ASSERT_TRUE(s.DeleteAllTestGroups());
    for (const TObjectTable* t : s.AllTables()) {
        if (t == &s.Users) EXPECT_EQ(t->RecordCount(), 1);
        else EXPECT_EQ(t->RecordCount(), 0) << t->ClassName();
    }
    EXPECT_TRUE(s.DeleteAllTestGroups());   // an empty store
    EXPECT_TRUE(TFileAccess().DeleteAllTestGroups());
}

TEST(StoreDeletes, MissingItemsChangeNothing) {
    using S = TFileAccess;
    const std::pair<const char*, std::function<bool(S&)>> deletes[] = {
        {"group", [](S& s) { return s.DeleteTestGroup(7); }},
        {"test", [](S& s) { return s.DeleteTest(7); }},
        {"stimulus", [](S& s) { return s.DeleteStimulus(7); }},
        {"reaction", [](S& s) { return s.DeleteReaction(7); }},
        {"weight", [](S& s) { return s.DeleteWeight(7); }},
        {"scale", [](S& s) { return s.DeleteScale(7); }},
        {"interpretation", [](S& s) { return s.DeleteInterpretation(7); }},
    };
    for (const auto& [what, del] : deletes) {
        TFileAccess s;
        FillTwoTests(s);
        s.SetModified(false);
        TFileAccess before;
        CloneStore(s, before);
        EXPECT_FALSE(del(s)) << what;
        ExpectSameStore(s, before);
        EXPECT_FALSE(s.IsModified()) << what;
    }
}

// Deletes gather what goes and remove it in one pass per table; on random stores they leave
// exactly what deleting record by record leaves: the same records in the same order, the same
// next IDs, Modified flags and cursors, and the same results.
TEST(StoreDeletes, EqualTheRecordByRecordWalksOnRandomStores) {
    using S = TFileAccess;
    using Op = std::function<bool(S&, std::int32_t)>;
    const std::pair<Op, Op> ops[] = {
        {[](S& s, std::int32_t id) { return s.DeleteTestGroup(id); }, reference::DeleteTestGroup},
        {[](S& s, std::int32_t id) { return s.DeleteTest(id); }, reference::DeleteTest},
        {[](S& s, std::int32_t id) { return s.DeleteStimulus(id); }, reference::DeleteStimulus},
        {[](S& s, std::int32_t id) { return s.DeleteReaction(id); }, reference::DeleteReaction},
        {[](S& s, std::int32_t id) { return s.DeleteWeight(id); }, reference::DeleteWeight},
        {[](S& s, std::int32_t id) { return s.DeleteScale(id); }, reference::DeleteScale},
        {[](S& s, std::int32_t id) { return s.DeleteInterpretation(id); }, reference::DeleteInterpretation},
        {[](S& s, std::int32_t id) { return s.DeleteTestsOfGroup(id); }, reference::DeleteTestsOfGroup},
        {[](S& s, std::int32_t id) { return s.DeleteStimuliOfTest(id); }, reference::DeleteStimuliOfTest},
        {[](S& s, std::int32_t id) { return s.DeleteScalesOfTest(id); }, reference::DeleteScalesOfTest},
        {[](S& s, std::int32_t id) { return s.DeleteReactionsOfStimulus(id); }, reference::DeleteReactionsOfStimulus},
        {[](S& s, std::int32_t id) { return s.DeleteWeightsOfReaction(id); }, reference::DeleteWeightsOfReaction},
        {[](S& s, std::int32_t id) { return s.DeleteInterpretationsOfScale(id); },
         reference::DeleteInterpretationsOfScale},
        {[](S& s, std::int32_t) { return s.DeleteAllTestGroups(); },
         [](S& s, std::int32_t) { return reference::DeleteAllTestGroups(s); }},
        {[](S& s, std::int32_t) { s.UnbindOrphanWeights(); return true; },
         [](S& s, std::int32_t) { reference::UnbindOrphanWeights(s); return true; }},
    };
    constexpr int kOps = sizeof ops / sizeof ops[0];
    std::mt19937 rng(31);
    int removed = 0;
    for (int round = 0; round < 400; ++round) {
        TFileAccess a;
        GenerateRandomStore(a, rng);
        TFileAccess b;
        CloneStore(a, b);
        const int records = a.Weights.RecordCount() + a.Tests.RecordCount();
        for (int step = 0; step < 5; ++step) {
            // Rarely all groups at once, so that most rounds cut a store down step by step.
            int k = static_cast<int>(rng() % (kOps - 1));
            if (k == kOps - 2 && rng() % 4 != 0) k = static_cast<int>(rng() % 7);
            if (rng() % 10 == 0) k = kOps - 1;
            const std::int32_t id = static_cast<std::int32_t>(rng() % 26) - 1;
            const bool fast = ops[k].first(a, id);
            const bool walked = ops[k].second(b, id);
            const std::string where = "round " + std::to_string(round) + " step " + std::to_string(step) +
                                      " op " + std::to_string(k) + " id " + std::to_string(id);
            EXPECT_EQ(fast, walked) << where;
            ExpectSameState(a, b, where);
            EXPECT_EQ(UntrueCaches(a), "") << where;
            EXPECT_EQ(UntrueCaches(b), "") << where;
            if (::testing::Test::HasFailure()) return;
        }
        removed += records - (a.Weights.RecordCount() + a.Tests.RecordCount());
    }
    EXPECT_GT(removed, 1000);   // the rounds did delete things
}

// ---- moves

TEST(StoreMoves, AnItemTakesItsNewParentAndKeepsEverythingElse) {
    using S = TFileAccess;
    struct Case {
        const char* what;
        std::function<bool(S&, std::int32_t, std::int32_t)> move;
        std::size_t table;   // index in AllTables
        std::int32_t id;
        std::int32_t newParent;
    };
    const Case cases[] = {
        {"test", [](S& s, std::int32_t i, std::int32_t p) { return s.MoveTest(i, p); }, 2, 2, 2},
        {"stimulus", [](S& s, std::int32_t i, std::int32_t p) { return s.MoveStimulus(i, p); }, 3, 3, 1},
        {"reaction", [](S& s, std::int32_t i, std::int32_t p) { return s.MoveReaction(i, p); }, 4, 4, 2},
        {"scale", [](S& s, std::int32_t i, std::int32_t p) { return s.MoveScale(i, p); }, 5, 1, 2},
        {"interpretation", [](S& s, std::int32_t i, std::int32_t p) { return s.MoveInterpretation(i, p); }, 6, 2, 3},
        {"weight", [](S& s, std::int32_t i, std::int32_t p) { return s.MoveWeight(i, p); }, 7, 1, 3},
    };
    for (const auto& c : cases) {
        TFileAccess s;
        FillTwoTests(s);
        s.TestGroups.AddTestGroup(Item<TTestGroup>(2, -1, "Other group"));
        s.SetModified(false);
        for (TObjectTable* t : s.AllTables()) t->SetCursor(-5);

        // What a move must come to: the same record with only its parent changed.
        TFileAccess expected;
        CloneStore(s, expected);
        TObjectTable& et = *expected.AllTables()[c.table];
        ASSERT_TRUE(et.Locate(c.id)) << c.what;
        const TAnyObject& r = et.GetRecord();
        et.EditObject(r.ID, c.newParent, r.Name, r.Description, r.Order);

        EXPECT_TRUE(c.move(s, c.id, c.newParent)) << c.what;
        ExpectSameState(s, expected, c.what);

        // A missing item or a missing parent: False, and nothing changes, the cursors included.
        TFileAccess before;
        CloneStore(s, before);
        EXPECT_FALSE(c.move(s, 77, c.newParent)) << c.what;
        EXPECT_FALSE(c.move(s, c.id, 77)) << c.what;
        EXPECT_FALSE(c.move(s, c.id, -1)) << c.what;
        ExpectSameState(s, before, c.what);
    }
}

TEST(StoreMoves, ChildrenGoAlongAndWeightsKeepTheirScales) {
    TFileAccess s;
    FillTwoTests(s);
    // Question 1 (answers 1 and 2, weights 1 to 3) goes to test 2.
    ASSERT_TRUE(s.MoveStimulus(1, 2));
    EXPECT_EQ(s.GetTestOfReaction(2), 2);
    EXPECT_EQ(s.GetTestOfWeight(1), 2);
    EXPECT_EQ(s.Weights.At(0).ScaleID, 1);   // still scale 1, of test 1
    // Scale 1 goes to test 2: its ID and its interpretations stay, weights stay bound to it.
    ASSERT_TRUE(s.MoveScale(1, 2));
    EXPECT_EQ(s.GetTestOfInterpretation(2), 2);
    EXPECT_EQ(s.Weights.At(0).ScaleID, 1);
    EXPECT_EQ(s.ScaleCount(2), 2);
    // The moved item keeps its Order, so siblings may share one.
    s.Stimuli.Locate(3);
    EXPECT_EQ(s.Stimuli.GetOrder(), s.Stimuli.At(0).Order);
    EXPECT_EQ(s.StimulusCount(2), 2);
}
