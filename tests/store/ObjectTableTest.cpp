#include <gtest/gtest.h>

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
