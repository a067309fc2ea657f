#include <gtest/gtest.h>

#include "store/Tables.h"

TEST(Tables, ValueWords) {
    EXPECT_TRUE(TextToBool("true"));
    for (const char* no : {"True", "TRUE", " true", "", "false", "1"}) EXPECT_FALSE(TextToBool(no)) << no;
    EXPECT_EQ(BoolToText(true), "true");
    EXPECT_EQ(BoolToText(false), "false");
    const std::pair<int, const char*> words[] = {{0, "None"}, {1, "ForwardOnly"}, {2, "ForwardBack"}, {3, "Free"}, {7, "None"}};
    for (const auto& [d, w] : words) EXPECT_EQ(MoveDirectionToText(d), w);
    EXPECT_EQ(TextToMoveDirection("Free"), 3);
    EXPECT_EQ(TextToMoveDirection("free"), 0);
    EXPECT_EQ(TextToMoveDirection("ForwardBack"), 2);
    EXPECT_EQ(TextToMoveDirection("None"), 0);
}

TEST(Tables, AddLeavesTheCursorOnTheNewRecord) {
    TTestTable t;
    TTest test;
    test.ID = 1;
    test.SpareFlag = true;
    t.AddTest(test);
    EXPECT_EQ(t.Cursor(), 0);
    EXPECT_TRUE(t.Modified());
    EXPECT_TRUE(t.GetSpareFlag());
    test.ID = 2;
    test.SpareFlag = false;
    t.AddTest(test);
    EXPECT_EQ(t.Cursor(), 1);
    t.First();
    test.ID = 1;
    test.SpareFlag = true;
    test.Private = true;
    t.EditTest(test);
    EXPECT_TRUE(t.GetSpareFlag());
    EXPECT_TRUE(t.GetPrivate());
}

TEST(Tables, ShortTextsLoseLineBreaksAndAreCutLongTextsKeepThem) {
    TTestTable t;
    TTest test;
    test.ID = 1;
    test.Name = "two\r\nlines";
    test.AuthorName = std::string(300, 'a');
    test.Description = "keep\r\nthis";
    t.AddTest(test);
    EXPECT_EQ(t.GetName(), "two  lines");
    EXPECT_EQ(t.GetAuthorName().size(), 255u);
    EXPECT_EQ(t.GetDescription(), "keep\r\nthis");
    t.EditObject(1, 0, "a\nb", "x", 0);
    EXPECT_EQ(t.GetName(), "a b");
}

TEST(Tables, DeleteKeepsTheCursorIndex) {
    TReactionTable t;
    for (int id : {1, 2, 3}) {
        TReaction r;
        r.ID = id;
        t.AddReaction(r);
    }
    t.First();
    EXPECT_TRUE(t.Delete());
    EXPECT_EQ(t.GetID(), 2);
    t.Last();
    EXPECT_TRUE(t.Delete());
    EXPECT_EQ(t.Cursor(), t.RecordCount());   // one past the end
    EXPECT_FALSE(t.Delete());
    EXPECT_THROW(t.GetID(), Exception);
}

TEST(Tables, CopyChecksTheClassAndCopiesEveryRecord) {
    TScaleTable scales;
    TScale s;
    s.ID = 4;
    s.ParentID = 2;
    s.Name = "Mood";
    scales.AddScale(s);
    TWeightTable weights;
    weights.SetModified(false);
    try {
        scales.Copy(weights);
        FAIL() << "copy into a table of another class";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TScaleTable.Copy - not TScaleTable class! Call to Support.");
    }
    EXPECT_EQ(weights.RecordCount(), 0);
    EXPECT_FALSE(weights.Modified());

    TScaleTable target;
    target.AddScale(s);
    target.SetModified(false);
    TScaleTable().Copy(target);   // an empty source empties the target, Modified as it was
    EXPECT_EQ(target.RecordCount(), 0);
    EXPECT_FALSE(target.Modified());

    scales.First();
    scales.Copy(target);
    ASSERT_EQ(target.RecordCount(), 1);
    EXPECT_EQ(target.At(0), scales.At(0));
    EXPECT_TRUE(target.Modified());
    EXPECT_EQ(scales.Cursor(), 0);

    TUserTable users, users2;
    users.AddUser(1, "admin", "secret");
    users.Copy(users2);
    EXPECT_EQ(users2.GetPassword(), "secret");
    EXPECT_EQ(users2.GetParentID(), 0);
    EXPECT_EQ(users2.GetOrder(), 0);
    EXPECT_EQ(users2.GetDescription(), "");
}

TEST(Tables, WeightsKeepTheirScaleApartFromTheirParent) {
    TWeightTable w;
    TWeight unbound;
    unbound.ID = 1;
    unbound.ParentID = 8;
    unbound.ScaleID = -1;
    w.AddWeight(unbound);
    EXPECT_EQ(w.GetScaleID(), -1);
    EXPECT_EQ(w.GetReactionID(), 8);
    TInterpretationTable in;
    TInterpretation i;
    i.ID = 1;
    i.ParentID = 6;
    in.AddInterpretation(i);
    EXPECT_EQ(in.GetScaleID(), 6);
}
