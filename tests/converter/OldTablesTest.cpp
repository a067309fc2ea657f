// The old tables: the cursor, the saved positions and Locate.
#include <gtest/gtest.h>

#include "converter/OldTables.h"
#include "converter/Vantrel.h"

using namespace vantrel;

namespace {

TAOldScale Scale(std::int32_t id, std::int32_t order) {
    TAOldScale s;
    s.ID = id;
    s.Order = order;
    return s;
}

}  // namespace

TEST(OldTables, LocateFindsTheFirstOfEqualIdsAndLeavesTheCursorOnTheLastWhenNoneMatches) {
    TScaleTableOld table;
    EXPECT_FALSE(table.Locate(1));
    EXPECT_EQ(table.Cursor(), 0);

    table.Add(Scale(5, 0));
    table.Add(Scale(7, 1));
    table.Add(Scale(5, 2));
    EXPECT_TRUE(table.Modified());
    EXPECT_EQ(table.Cursor(), 2);   // Add makes the new record current
    ASSERT_TRUE(table.Locate(5));
    EXPECT_EQ(table.Cursor(), 0);
    EXPECT_EQ(table.GetOrder(), 0);
    ASSERT_TRUE(table.Locate(7));
    EXPECT_EQ(table.Cursor(), 1);
    EXPECT_FALSE(table.Locate(9));
    EXPECT_EQ(table.Cursor(), 2);

    // The lookup follows changes of the table.
    table.Exchange(0, 1);
    ASSERT_TRUE(table.Locate(7));
    EXPECT_EQ(table.Cursor(), 0);
    table.Add(Scale(9, 3));
    ASSERT_TRUE(table.Locate(9));
    EXPECT_EQ(table.Cursor(), 3);
    ASSERT_TRUE(table.Locate(5));
    ASSERT_TRUE(table.Delete());
    ASSERT_TRUE(table.Locate(5));
    EXPECT_EQ(table.GetOrder(), 2);
}

TEST(OldTables, PositionsAreRestoredInReverseAndAnEmptyStackGivesNoRecord) {
    TTestTableOld table;
    for (int i = 1; i <= 3; ++i) {
        TAOldTest t;
        t.ID = i;
        table.Add(t);
    }
    ASSERT_TRUE(table.First());
    table.SavePosition();
    ASSERT_TRUE(table.Next());
    table.SavePosition();
    ASSERT_TRUE(table.Next());
    EXPECT_FALSE(table.Next());
    table.RestorePosition();
    EXPECT_EQ(table.Cursor(), 1);
    table.RestorePosition();
    EXPECT_EQ(table.Cursor(), 0);
    table.RestorePosition();
    EXPECT_EQ(table.Cursor(), -99999);
    EXPECT_THROW(table.GetID(), std::out_of_range);
}

TEST(OldTables, ACopyIntoThe142TableKeepsEveryFieldAndLeavesTheOldCursorWhereItWas) {
    TTestTableOld from;
    for (int i = 1; i <= 3; ++i) {
        TAOldTest t;
        t.ID = 10 - i;
        t.ParentID = i;
        t.Order = -i;
        t.Name = "T" + std::to_string(i);
        t.Annotation = "a";
        t.Instruction = "i";
        t.MoveDirection = static_cast<std::uint8_t>(i);
        t.ReplayEnabled = i == 1;
        t.StopEnabled = i == 2;
        t.SpareFlag = i == 3;
        t.TimeLimit = 60 * i;
        from.Add(t);
        from.SetDescription("d" + std::to_string(i));
    }
    ASSERT_TRUE(from.Locate(8));
    TTestTable to;
    TATest stale;
    stale.ID = 99;
    to.Add(stale);
    CopyTests(from, to);
    EXPECT_EQ(from.Cursor(), 1);
    ASSERT_EQ(to.RecordCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const TAOldTest& o = from.At(i);
        const TATest& n = to.At(i);
        EXPECT_EQ(n.ID, o.ID);
        EXPECT_EQ(n.ParentID, o.ParentID);
        EXPECT_EQ(n.Order, o.Order);
        EXPECT_EQ(n.Name, o.Name);
        EXPECT_EQ(n.Description, o.Description);
        EXPECT_EQ(n.Annotation, o.Annotation);
        EXPECT_EQ(n.Instruction, o.Instruction);
        EXPECT_EQ(n.MoveDirection, o.MoveDirection);
        EXPECT_EQ(n.ReplayEnabled, o.ReplayEnabled);
        EXPECT_EQ(n.StopEnabled, o.StopEnabled);
        EXPECT_EQ(n.SpareFlag, o.SpareFlag);
        EXPECT_EQ(n.TimeLimit, o.TimeLimit);
    }
}
