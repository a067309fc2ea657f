#include "store/TypeList.h"

#include <gtest/gtest.h>

#include "store/Records.h"

TEST(TypeList, CellsAndCount) {
    TTypeIntegerSingleList list;
    for (int v : {10, 11, 12, 13, 14}) list.Add(v);
    EXPECT_EQ(list.GetItem(5), nullptr);
    ASSERT_NE(list.GetItem(4), nullptr);
    EXPECT_EQ(*list.GetItem(4), 14);
    EXPECT_THROW(list.GetItem(-1), std::out_of_range);

    int* first = list.GetItem(0);
    EXPECT_TRUE(list.SetCellCount(5));          // same count: nothing changes
    EXPECT_EQ(list.GetItem(0), first);
    EXPECT_TRUE(list.SetCellCount(2));          // cells 4, 3 and 2 go; 0 and 1 stay
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItem(0), first);
    EXPECT_EQ(list.Get(1), 11);
    EXPECT_TRUE(list.SetCellCount(5));
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.RowCount(), 0);
}

TEST(TypeList, DeleteAndClear) {
    TTypeIntegerSingleList list;
    for (int v : {1, 2, 3}) list.Add(v);
    list.DeleteCell(0);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Get(0), 2);
    EXPECT_EQ(list.Get(1), 3);
    list.ClearCells();
    EXPECT_EQ(list.GetCount(), 0);
    list.ClearCells();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(TypeList, TypedListsHoldTheirValues) {
    TTypeShortStringSingleList names;
    names.Add("abc");
    names.Add(std::string(300, 'n'));
    EXPECT_EQ(names.Get(0), "abc");
    EXPECT_EQ(names.Get(1).size(), 255u);

    TTypeRealSingleList reals;
    reals.Add(1.0);
    reals.Put(0, 2.5);
    EXPECT_EQ(reals.Get(0), 2.5);

    // A list of references never frees what it points at.
    TReaction answer;
    answer.Name = "alive";
    {
        TTypeTReactionSingleList refs;
        refs.Add(&answer);
        EXPECT_EQ(refs.Get(0), &answer);
    }
    EXPECT_EQ(answer.Name, "alive");
}
