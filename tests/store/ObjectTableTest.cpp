#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "store/StoreTestSeam.h"
#include "store/Tables.h"
#include "tests/support/StoreFixtures.h"

namespace {

TScale Scale(int id, int parent, int order, const std::string& name = "s") {
    return Item<TScale>(id, parent, name, order);
}

void Fill(TScaleTable& t, std::initializer_list<int> ids) {
    for (int id : ids) t.AddScale(Scale(id, 1, 0));
}

}  // namespace

TEST(ObjectTable, NewIdIsTheSmallestFreeOne) {
    struct Case {
        std::initializer_list<int> ids;
        int expected;
    };
    const Case cases[] = {{{}, 1}, {{1, 2, 4}, 3}, {{2, 3}, 1}, {{3, 1, 2}, 4}};
    for (const auto& c : cases) {
        TScaleTable t;
        Fill(t, c.ids);
        EXPECT_EQ(t.NewID(), c.expected);
    }
}

TEST(ObjectTable, NewIdFollowsDeletesAndEdits) {
    TScaleTable t;
    Fill(t, {1, 2, 3, 4});
    EXPECT_EQ(t.NewID(), 5);
    ASSERT_TRUE(t.Locate(2));
    t.Delete();
    EXPECT_EQ(t.NewID(), 2);
    t.AddScale(Scale(2, 1, 0));
    EXPECT_EQ(t.NewID(), 5);
    ASSERT_TRUE(t.Locate(3));
    t.EditScale(Scale(9, 1, 0));
    EXPECT_EQ(t.NewID(), 3);
    EXPECT_EQ(t.DeleteWhere([](const TAnyObject& r) { return r.ID == 1; }), 1);
    EXPECT_EQ(t.NewID(), 1);
}

TEST(ObjectTable, MaxOrderLeavesTheCursor) {
    TScaleTable t;
    t.AddScale(Scale(1, 7, -3));
    t.AddScale(Scale(2, 7, -2));
    t.AddScale(Scale(3, 8, 4));
    t.AddScale(Scale(4, 8, 1));
    t.First();
    EXPECT_EQ(t.MaxOrder(5), -1);
    EXPECT_EQ(t.MaxOrder(7), -1);    // orders below -1 do not count
    EXPECT_EQ(t.MaxOrder(8), 4);
    EXPECT_EQ(t.MaxOrder(-1), 4);
    EXPECT_EQ(t.Cursor(), 0);
}

TEST(ObjectTable, LocateAndTheWalks) {
    TScaleTable empty;
    empty.SetCursor(3);
    EXPECT_FALSE(empty.Locate(1));
    EXPECT_EQ(empty.Cursor(), 3);
    EXPECT_FALSE(empty.First());
    EXPECT_FALSE(empty.Last());

    TScaleTable t;
    Fill(t, {5, 6, 7});
    EXPECT_FALSE(t.Locate(9));
    EXPECT_EQ(t.Cursor(), 2);         // on the last record
    EXPECT_TRUE(t.Locate(6));
    EXPECT_EQ(t.Cursor(), 1);
    EXPECT_TRUE(t.Last());
    EXPECT_FALSE(t.Next());
    EXPECT_EQ(t.Cursor(), 2);
    EXPECT_TRUE(t.First());
    EXPECT_FALSE(t.Prior());
    EXPECT_EQ(t.Cursor(), 0);

    EXPECT_TRUE(t.LocateAndSave(7));
    t.First();
    t.RestorePosition();
    EXPECT_EQ(t.Cursor(), 2);
    t.RestorePosition();              // nothing saved
    EXPECT_EQ(t.Cursor(), -99999);
    EXPECT_FALSE(t.LocateAndSave(42));
    EXPECT_EQ(t.SavedPositionCount(), 0);
}

TEST(ObjectTable, LocateFindsRecordsAfterExchangeDeleteAndEdit) {
    TScaleTable t;
    Fill(t, {1, 2, 3, 4});
    t.Exchange(0, 3);
    ASSERT_TRUE(t.Locate(1));
    EXPECT_EQ(t.Cursor(), 3);
    ASSERT_TRUE(t.Locate(4));
    EXPECT_EQ(t.Cursor(), 0);
    t.Delete();                       // record 4 goes; the others move down
    ASSERT_TRUE(t.Locate(1));
    EXPECT_EQ(t.Cursor(), 2);
    t.EditObject(10, 3, "ten", "", 0);
    EXPECT_FALSE(t.Locate(1));
    ASSERT_TRUE(t.Locate(10));
    EXPECT_EQ(t.Cursor(), 2);
    EXPECT_EQ(t.IndexesOfParent(3), std::vector<int>{2});
    EXPECT_EQ(t.IndexesOfParent(1), (std::vector<int>{0, 1}));
}

TEST(ObjectTable, ExchangeOnlyChangesWhatItSwaps) {
    TScaleTable t;
    Fill(t, {1, 2, 3});
    t.SetModified(false);
    t.Exchange(2, 2);
    t.Exchange(1, 3);
    t.Exchange(-1, 0);
    EXPECT_FALSE(t.Modified());
    t.Exchange(0, 2);
    EXPECT_TRUE(t.Modified());
    EXPECT_EQ(t.At(0).ID, 3);
    EXPECT_EQ(t.At(2).ID, 1);
}

TEST(ObjectTable, BulkRemovalKeepsTheOrderCursorAndIndexes) {
    const auto ids = [](const TScaleTable& t) {
        std::vector<int> out;
        for (int i = 0; i < t.RecordCount(); ++i) out.push_back(t.At(i).ID);
        return out;
    };
    TScaleTable t;
    Fill(t, {1, 2, 3, 4, 5, 6});
    t.SetCursor(4);
    t.SetModified(false);
    EXPECT_EQ(t.DeleteMarked({0, 0, 0}), 0);   // a short mark list marks nothing beyond it
    EXPECT_FALSE(t.Modified());
    EXPECT_EQ(t.DeleteMarked({1, 0, 1, 0, 0, 1}), 3);
    EXPECT_EQ(ids(t), (std::vector<int>{2, 4, 5}));
    EXPECT_TRUE(t.Modified());
    EXPECT_EQ(t.Cursor(), 4);
    EXPECT_EQ(t.NewID(), 1);
    ASSERT_TRUE(t.Locate(5));
    EXPECT_EQ(t.Cursor(), 2);
    EXPECT_EQ(t.IndexesOfParent(1), (std::vector<int>{0, 1, 2}));

    EXPECT_EQ(t.DeleteWhere([](const TAnyObject& r) { return r.ID == 4; }), 1);
    EXPECT_EQ(ids(t), (std::vector<int>{2, 5}));

    t.AddScale(Scale(1, 2, 0));
    t.AddScale(Scale(3, 2, 0));
    t.SetModified(false);
    t.SetCursor(1);
    t.Truncate(5);                          // nothing beyond the table
    t.Truncate(2);
    EXPECT_EQ(ids(t), (std::vector<int>{2, 5}));
    EXPECT_FALSE(t.Modified());
    EXPECT_EQ(t.Cursor(), 1);
    EXPECT_EQ(t.NewID(), 1);
    EXPECT_TRUE(t.IndexesOfParent(2).empty());
    EXPECT_FALSE(t.Locate(3));
    t.Truncate(0);
    EXPECT_EQ(t.RecordCount(), 0);
    EXPECT_EQ(t.NewID(), 1);
}

TEST(ObjectTable, LookupsHoldWhateverOrderTheIDsStandIn) {
    // High IDs first and low ones last, as after a sort or a record moved to the end, with gaps
    // and one stray huge ID; then the lookups are rebuilt after a delete.
    TScaleTable t;
    std::vector<int> ids;
    for (int id = 20000; id >= 2; id -= 2) ids.push_back(id);
    ids.push_back(900000000);
    ids.push_back(1);
    for (int id : ids) t.AddScale(Scale(id, id % 7, 0));
    ASSERT_TRUE(t.Locate(1));
    t.Delete();
    for (std::size_t i = 0; i + 1 < ids.size(); ++i) {
        ASSERT_TRUE(t.Locate(ids[i])) << ids[i];
        EXPECT_EQ(t.Cursor(), static_cast<int>(i));
    }
    EXPECT_FALSE(t.Locate(3));
    EXPECT_EQ(t.NewID(), 1);
    t.AddScale(Scale(1, 0, 0));
    EXPECT_EQ(t.NewID(), 3);
    ASSERT_TRUE(t.Locate(1));
    EXPECT_EQ(t.Cursor(), t.RecordCount() - 1);
}

// Every index broken on its own: the check fails and names the index, so it is no empty check.
TEST(ObjectTable, TheCacheCheckNamesTheIndexThatIsWrong) {
    using P = TObjectTablePeer;
    struct Case {
        const char* index;
        std::function<void(TScaleTable&)> breakIt;
    };
    const Case cases[] = {
        {"ID count: ID 4 is counted 2 times", [](TScaleTable& t) { P::IdCount(t).Add(4, 1); }},
        {"ID count: counts 5 IDs", [](TScaleTable& t) { P::IdCount(t).Set(9, 1); }},
        {"lowest free ID: every ID below 5", [](TScaleTable& t) { P::FreeHint(t) = 5; }},
        {"first record of each ID: ID 2 points at record 0", [](TScaleTable& t) { P::FirstIndex(t).Set(2, 1); }},
        {"first record of each ID: holds 5 IDs", [](TScaleTable& t) { P::FirstIndex(t).Set(9, 3); }},
        {"records of each parent: parent 1 lists record 2, whose parent is 2",
         [](TScaleTable& t) { P::ParentList(t, 1).push_back(2); }},
        {"records of each parent: lists 3 records",
         [](TScaleTable& t) { P::ParentList(t, 2).pop_back(); }},
        {"records of each parent: parent 1 lists record 0 after record 1",
         [](TScaleTable& t) { std::swap(P::ParentList(t, 1)[0], P::ParentList(t, 1)[1]); }},
        {"records of each parent: parent 2 lists record 7", [](TScaleTable& t) { P::ParentList(t, 2).push_back(7); }},
        {"list of the last parent appended to: it is not the list of parent 2",
         [](TScaleTable& t) { P::AppendToListOf(t, 1); }},
    };
    for (const Case& c : cases) {
        TScaleTable t;
        for (const auto& [id, parent] : {std::pair{1, 1}, {2, 1}, {4, 2}, {5, 2}}) t.AddScale(Scale(id, parent, 0));
        std::string why = "untouched";
        ASSERT_TRUE(P::CachesAreTrue(t, &why)) << why;
        EXPECT_EQ(why, "untouched");
        c.breakIt(t);
        EXPECT_FALSE(P::CachesAreTrue(t, &why)) << c.index;
        EXPECT_EQ(why.rfind(std::string("TScaleTable, ") + c.index, 0), 0u) << why;
        EXPECT_FALSE(P::CachesAreTrue(t)) << "without a reason asked for";
    }
}

// Every change of a table, with lookups in between so that the indexes are now kept up and now
// rebuilt: after each step they say what the records say.
TEST(ObjectTable, TheCachesHoldThroughEveryKindOfChange) {
    std::mt19937 rng(41);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 60; ++round) {
        TScaleTable t;
        for (int step = 0; step < 60; ++step) {
            const int n = t.RecordCount();
            const std::int32_t id = pick(12) + (pick(30) == 0 ? 5000 : 0);
            const std::int32_t parent = pick(4);
            switch (pick(11)) {
                case 0:
                case 1: t.AddScale(Scale(id, parent, pick(3))); break;
                case 2:
                    if (t.Locate(id)) t.EditScale(Scale(pick(12), parent, 0));
                    break;
                case 3:
                    if (t.Locate(id)) t.EditObject(pick(2) ? id : pick(12), parent, "e", "", 1);
                    break;
                case 4:
                    if (n > 0) t.Exchange(pick(n), pick(n));
                    break;
                case 5:
                    if (t.Locate(id)) t.Delete();
                    break;
                case 6: t.DeleteWhere([&](const TAnyObject& r) { return r.ParentID == parent; }); break;
                case 7: t.Truncate(n - pick(3)); break;
                case 8: t.Sort(); break;
                case 9:
                    t.IndexOfID(id);
                    t.IndexesOfParent(parent);
                    t.NewID();
                    break;
                default:
                    if (pick(8) == 0) t.Clear();
                    else t.MaxOrder(parent);
                    break;
            }
            std::string why;
            ASSERT_TRUE(TObjectTablePeer::CachesAreTrue(t, &why)) << "round " << round << " step " << step << ": " << why;
        }
    }
}
