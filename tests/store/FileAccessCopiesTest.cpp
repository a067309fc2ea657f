#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "store/FileAccess.h"
#include "store/StoreTestSeam.h"
#include "tests/store/ReferenceWalks.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/StoreFixtures.h"

namespace {

// Every record of target equals the record of the same ID in source.
template <typename Table>
void ExpectCopiedAsIs(const Table& source, const Table& target) {
    for (int i = 0; i < target.RecordCount(); ++i) EXPECT_EQ(target.At(i), ByID(source, target.At(i).ID)) << source.ClassName();
}

}  // namespace

TEST(StoreCopies, IntoAnotherStoreWithTheSameIDs) {
    TFileAccess source;
    FillTwoTests(source);
    TFileAccess target;
    EXPECT_EQ(source.CopyTestTo(1, -1, target, false), 1);

    EXPECT_EQ(IdsOf(target.Tests), std::vector<int>{1});
    EXPECT_EQ(IdsOf(target.Scales), (std::vector<int>{1, 2}));
    EXPECT_EQ(IdsOf(target.Interpretations), (std::vector<int>{1, 2}));
    EXPECT_EQ(IdsOf(target.Stimuli), (std::vector<int>{1, 2}));
    EXPECT_EQ(IdsOf(target.Reactions), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(IdsOf(target.Weights), (std::vector<int>{1, 2, 3}));
    ForEachFileTable(source, target, [](const auto& from, const auto& to) { ExpectCopiedAsIs(from, to); });
    EXPECT_EQ(target.TestGroups.RecordCount(), 0);
    EXPECT_TRUE(target.Weights.Modified());
    EXPECT_FALSE(target.TestGroups.Modified());
    EXPECT_EQ(target.Weights.Cursor(), 2);   // on the last copy appended

    // A second test, into a group of the target.
    EXPECT_EQ(source.CopyTestTo(2, 5, target, false), 2);
    EXPECT_EQ(ByID(target.Tests, 2).ParentID, 5);
    EXPECT_EQ(ByID(target.Weights, 4).ScaleID, 3);
}

TEST(StoreCopies, ATestCopyInTheSameStoreTakesNewIDsInTheOrderOfTheWork) {
    TFileAccess s;
    FillTwoTests(s);
    TFileAccess before;
    CloneStore(s, before);
    s.SetModified(false);
    ASSERT_EQ(s.CopyTest(1, -1), 3);

    // The source records are untouched and stand first.
    for (std::size_t t = 0; t < 8; ++t) {
        const TObjectTable& now = *s.AllTables()[t];
        const TObjectTable& old = *before.AllTables()[t];
        ASSERT_GE(now.RecordCount(), old.RecordCount());
        for (int i = 0; i < old.RecordCount(); ++i) EXPECT_EQ(now.RecordAt(i), old.RecordAt(i)) << now.ClassName();
    }

    // The test, scale 1 with its two ranges, scale 2, question 1 with answer 1 (two weights) and
    // answer 2 (one weight), question 2 with answer 3: each takes its table's smallest free ID.
    const TTest& copy = ByID(s.Tests, 3);
    EXPECT_EQ(copy.ParentID, 1);   // the group of its source
    EXPECT_EQ(copy.Name, "First");
    EXPECT_EQ(copy.Order, 4);
    EXPECT_EQ(copy.SpareText, "spare");
    EXPECT_EQ(copy.Instruction, "Answer each question.");
    EXPECT_EQ(IdsOf(s.Scales), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ParentsOf(s.Scales), (std::vector<int>{1, 1, 2, 3, 3}));
    EXPECT_EQ(IdsOf(s.Interpretations), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ParentsOf(s.Interpretations), (std::vector<int>{1, 1, 3, 4, 4}));
    EXPECT_EQ(ByID(s.Interpretations, 5).Name, "High");
    EXPECT_EQ(IdsOf(s.Stimuli), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ParentsOf(s.Stimuli), (std::vector<int>{1, 1, 2, 3, 3}));
    EXPECT_EQ(IdsOf(s.Reactions), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(ParentsOf(s.Reactions), (std::vector<int>{1, 1, 2, 3, 4, 4, 5}));
    EXPECT_EQ(IdsOf(s.Weights), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(ParentsOf(s.Weights), (std::vector<int>{1, 1, 2, 4, 99, 5, 5, 6}));
    // The copied weights are bound to the copied scales.
    EXPECT_EQ(ScaleIDs(s.Weights), (std::vector<int>{1, 2, -1, 3, 1, 4, 5, -1}));
    EXPECT_EQ(ByID(s.Weights, 7).Value, -99999);
    for (const TObjectTable* t : s.AllTables()) {
        const bool appended = t != &s.TestGroups && t != &s.Users;
        EXPECT_EQ(t->Modified(), appended) << t->ClassName();
        if (appended) {
            EXPECT_EQ(t->Cursor(), t->RecordCount() - 1) << t->ClassName();
        }
    }
}

TEST(StoreCopies, CopiesFillTheSmallestFreeIDs) {
    TFileAccess s;
    s.Tests.AddTest(Item<TTest>(1, 1, "T"));
    for (int id : {1, 2, 4}) s.Stimuli.AddStimulus(Item<TStimul>(id, 1, "Q" + std::to_string(id)));
    for (int id : {1, 3}) s.Reactions.AddReaction(Item<TReaction>(id, 4, "A" + std::to_string(id)));
    s.Reactions.AddReaction(Item<TReaction>(5, 1, "A5"));
    ASSERT_EQ(s.CopyStimulus(4, -1), 3);
    // The answers of question 4 (IDs 1 and 3) become 2 and 4.
    EXPECT_EQ(IdsOf(s.Reactions), (std::vector<int>{1, 3, 5, 2, 4}));
    EXPECT_EQ(ParentsOf(s.Reactions), (std::vector<int>{4, 4, 1, 3, 3}));
    EXPECT_EQ(ByID(s.Reactions, 4).Name, "A3");
}

TEST(StoreCopies, CopiedWeightsKeepOnlyScalesOfTheTestTheyLandIn) {
    TFileAccess source;
    FillTwoTests(source);
    // The target's test 7 has a scale 2; its scale 1 belongs to test 8.
    TFileAccess target;
    target.Tests.AddTest(Item<TTest>(7, 1, "Seven"));
    target.Tests.AddTest(Item<TTest>(8, 1, "Eight"));
    target.Scales.AddScale(Item<TScale>(1, 8, "Of eight"));
    target.Scales.AddScale(Item<TScale>(2, 7, "Of seven"));
    target.Stimuli.AddStimulus(Item<TStimul>(1, 7, "Q"));
    target.Reactions.AddReaction(Item<TReaction>(1, 1, "A"));

    // Question 1: weights on scale 1, scale 2 and none.
    const std::int32_t q = source.CopyStimulusTo(1, 7, target, true);
    EXPECT_EQ(q, 2);
    EXPECT_EQ(ScaleIDs(target.Weights), (std::vector<int>{-1, 2, -1}));
    EXPECT_EQ(ParentsOf(target.Weights), (std::vector<int>{2, 2, 3}));

    // One answer into question 1 of test 7, one weight into answer 1 of it.
    target.Weights.Clear();
    EXPECT_EQ(source.CopyReactionTo(1, 1, target, true), 4);
    EXPECT_EQ(ScaleIDs(target.Weights), (std::vector<int>{-1, 2}));
    EXPECT_EQ(source.CopyWeightTo(2, 1, target, true), 3);
    EXPECT_EQ(ByID(target.Weights, 3).ScaleID, 2);
    EXPECT_EQ(source.CopyWeightTo(1, 1, target, true), 4);
    EXPECT_EQ(ByID(target.Weights, 4).ScaleID, -1);
    // Into an answer the target does not have: no test, so no scale.
    EXPECT_EQ(source.CopyWeightTo(2, 50, target, true), 5);
    EXPECT_EQ(ByID(target.Weights, 5).ScaleID, -1);

    // In the same store: within test 1 the scale stays, into test 2 it goes.
    TFileAccess s;
    FillTwoTests(s);
    const std::int32_t same = s.CopyWeight(1, 2);   // answer 2, question 1, test 1
    EXPECT_EQ(ByID(s.Weights, same).ScaleID, 1);
    const std::int32_t other = s.CopyWeight(1, 4);   // answer 4, test 2
    EXPECT_EQ(ByID(s.Weights, other).ScaleID, -1);
    const std::int32_t moved = s.CopyStimulus(3, 1);   // question 3 of test 2 into test 1
    const TWeight& w = ByID(s.Weights, s.Weights.At(s.Weights.RecordCount() - 1).ID);
    EXPECT_EQ(s.GetTestOfWeight(w.ID), 1);
    EXPECT_EQ(s.GetStimulusOfReaction(w.ParentID), moved);
    EXPECT_EQ(w.ScaleID, -1);   // it was on scale 3 of test 2

    // A test copy whose source weight names a scale of another test: unbound in the copy, with
    // or without new IDs.
    TFileAccess foreign;
    FillTwoTests(foreign);
    TWeight w9 = Item<TWeight>(9, 3, "W9");
    w9.ScaleID = 3;
    foreign.Weights.AddWeight(w9);
    TFileAccess exported;
    ASSERT_EQ(foreign.CopyTestTo(1, -1, exported, false), 1);
    EXPECT_EQ(IdsOf(exported.Weights), (std::vector<int>{1, 2, 3, 9}));
    EXPECT_EQ(ScaleIDs(exported.Weights), (std::vector<int>{1, 2, -1, -1}));
    ASSERT_EQ(foreign.CopyTest(1, -1), 3);
    EXPECT_EQ(IdsOf(foreign.Weights), (std::vector<int>{1, 2, 3, 4, 5, 9, 6, 7, 8, 10}));
    EXPECT_EQ(ScaleIDs(foreign.Weights), (std::vector<int>{1, 2, -1, 3, 1, 3, 4, 5, -1, -1}));
}

TEST(StoreCopies, ScalesAndInterpretations) {
    TFileAccess s;
    FillTwoTests(s);
    TFileAccess target;
    ASSERT_EQ(s.CopyScaleTo(1, 9, target, true), 1);
    EXPECT_EQ(ParentsOf(target.Scales), std::vector<int>{9});
    EXPECT_EQ(IdsOf(target.Interpretations), (std::vector<int>{1, 2}));
    EXPECT_EQ(ParentsOf(target.Interpretations), (std::vector<int>{1, 1}));
    EXPECT_EQ(ByID(target.Interpretations, 2).Maximum, 20);
    EXPECT_EQ(s.CopyInterpretation(3, 1), 4);
    EXPECT_EQ(s.InterpretationCount(1), 3);
    EXPECT_EQ(s.CopyScale(3, -1), 4);
    EXPECT_EQ(s.ScaleCount(2), 2);
    EXPECT_EQ(s.InterpretationCount(4), 1);
    // Scales carry no weights.
    EXPECT_EQ(target.Weights.RecordCount(), 0);
    EXPECT_EQ(s.Weights.RecordCount(), 5);
}

TEST(StoreCopies, AMissingSourceAddsNothing) {
    using S = TFileAccess;
    const std::pair<const char*, std::function<std::int32_t(S&, S&)>> copies[] = {
        {"test", [](S& s, S& t) { return s.CopyTestTo(7, -1, t, true); }},
        {"scale", [](S& s, S& t) { return s.CopyScaleTo(7, -1, t, false); }},
        {"interpretation", [](S& s, S& t) { return s.CopyInterpretationTo(7, -1, t, true); }},
        {"stimulus", [](S& s, S& t) { return s.CopyStimulusTo(7, -1, t, true); }},
        {"reaction", [](S& s, S& t) { return s.CopyReactionTo(7, 1, t, true); }},
        {"weight", [](S& s, S& t) { return s.CopyWeightTo(7, 1, t, false); }},
        {"test here", [](S& s, S&) { return s.CopyTest(7, 1); }},
        {"scale here", [](S& s, S&) { return s.CopyScale(7, 1); }},
        {"interpretation here", [](S& s, S&) { return s.CopyInterpretation(7, 1); }},
        {"stimulus here", [](S& s, S&) { return s.CopyStimulus(7, 1); }},
        {"reaction here", [](S& s, S&) { return s.CopyReaction(7, 1); }},
        {"weight here", [](S& s, S&) { return s.CopyWeight(7, 1); }},
    };
    for (const auto& [what, copy] : copies) {
        TFileAccess s, target;
        FillTwoTests(s);
        FillTwoTests(target);
        s.SetModified(false);
        target.SetModified(false);
        TFileAccess before;
        CloneStore(s, before);
        EXPECT_EQ(copy(s, target), -1) << what;
        ExpectSameState(s, before, what);
        EXPECT_FALSE(target.IsModified()) << what;
    }
}

TEST(StoreCopies, AFailurePartWayLeavesTheTargetAsItWas) {
    // A test copy appends 13 records; fail before each of them, into another store and into the
    // same one.
    for (const bool sameStore : {false, true}) {
        for (int after = 0; after < 13; ++after) {
            TFileAccess source;
            FillTwoTests(source);
            TFileAccess other;
            FillTwoTests(other);
            other.Tests.SetModified(false);
            other.Weights.SetCursor(1);
            TFileAccess& target = sameStore ? source : other;
            TFileAccess before;
            CloneStore(target, before);

            storetesthooks::FailCopyAfterRecords(after);
            EXPECT_EQ(source.CopyTestTo(1, -1, target, true), -1) << after;
            ExpectSameState(target, before, "failed after " + std::to_string(after));
        }
    }
    // Set for more records than a copy appends: the copy goes through; then clear it.
    storetesthooks::FailCopyAfterRecords(13);
    TFileAccess s;
    FillTwoTests(s);
    EXPECT_EQ(s.CopyTest(1, -1), 3);
    storetesthooks::FailCopyAfterRecords(-1);
    EXPECT_EQ(s.CopyTest(1, -1), 4);
}

// On random stores, a copy gives the records, IDs, cursors and flags of the copy made record by
// record through the plain walks, into the same store and into another one.
TEST(StoreCopies, EqualTheRecordByRecordCopyOnRandomStores) {
    std::mt19937 rng(5);
    int copied = 0;
    for (int round = 0; round < 300; ++round) {
        TFileAccess a, b, ta, tb;
        GenerateRandomStore(a, rng);
        CloneStore(a, b);
        GenerateRandomStore(ta, rng);
        CloneStore(ta, tb);
        const bool sameStore = rng() % 2 == 0;
        const bool newIDs = sameStore || rng() % 2 == 0;
        TFileAccess& targetA = sameStore ? a : ta;
        TFileAccess& targetB = sameStore ? b : tb;
        const bool test = rng() % 2 == 0;
        // Mostly an item that exists, now and then one that does not.
        const TObjectTable& from = test ? static_cast<const TObjectTable&>(a.Tests) : a.Stimuli;
        const std::int32_t id = from.RecordCount() > 0 && rng() % 5 != 0
                                    ? from.RecordAt(static_cast<int>(rng() % from.RecordCount())).ID
                                    : static_cast<std::int32_t>(rng() % 20) - 1;
        const std::int32_t parent = rng() % 3 == 0 ? -1 : static_cast<std::int32_t>(rng() % 10);
        const std::string where = "round " + std::to_string(round);
        const int before = targetA.Weights.RecordCount() + targetA.Stimuli.RecordCount();
        if (test) {
            EXPECT_EQ(a.CopyTestTo(id, parent, targetA, newIDs), reference::CopyTestTo(b, id, parent, targetB, newIDs))
                << where;
        } else {
            EXPECT_EQ(a.CopyStimulusTo(id, parent, targetA, newIDs),
                      reference::CopyStimulusTo(b, id, parent, targetB, newIDs))
                << where;
        }
        ExpectSameState(a, b, where + " source");
        ExpectSameState(ta, tb, where + " target");
        for (const TFileAccess* s : {&a, &b, &ta, &tb}) EXPECT_EQ(UntrueCaches(*s), "") << where;
        if (::testing::Test::HasFailure()) return;
        copied += targetA.Weights.RecordCount() + targetA.Stimuli.RecordCount() - before;
    }
    EXPECT_GT(copied, 300);
}
