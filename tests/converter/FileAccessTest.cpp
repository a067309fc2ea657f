// The converter's 1.4.2 store and its writer.
#include <gtest/gtest.h>

#include <string>

#include "converter/FileAccess.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "platform/UserInteraction.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/TempDir.h"

using namespace vantrel;

namespace {

// The product record of this test program's version block.
const std::string kProduct = "[PRODUCT_INFO]\r\nOrvel\r\n2.0.1\r\n";
const std::string kEmptySections =
    "[TEST_GROUPS]\r\n[TESTS]\r\n[STIMULS]\r\n[REACTIONS]\r\n[SCALES]\r\n[INTERPRETATIONS]\r\n[WEIGHTS]\r\n";

class RecordedMessages : public platform::IUserInteraction {
public:
    RecordedMessages() : previous_(platform::SetUserInteraction(this)) {}
    ~RecordedMessages() override { platform::SetUserInteraction(previous_); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;
    void ShowMessage(const std::string& text) override { Shown.push_back(text); }
    void ShowError(const std::string& text) override { Shown.push_back(text); }
    std::vector<std::string> Shown;

private:
    platform::IUserInteraction* previous_;
};

TATest MakeTest(std::int32_t id, std::int32_t group, std::uint8_t direction) {
    TATest t;
    t.ID = id;
    t.ParentID = group;
    t.Name = "T" + std::to_string(id);
    t.MoveDirection = direction;
    t.ReplayEnabled = true;
    t.TimeLimit = -5;
    return t;
}

}  // namespace

TEST(ConverterStore, AnEmptyStoreWritesTheProductRecordAndSevenHeaders) {
    TempDir dir;
    TFileAccess store(dir.File("a.kvd"));
    ASSERT_TRUE(store.SaveAll());
    EXPECT_EQ(ReadBytes(dir.File("a.kvd")), kProduct + kEmptySections);

    TSectionChoice some;
    some.Tests = some.Weights = true;
    ASSERT_TRUE(store.Save(some));
    EXPECT_EQ(ReadBytes(dir.File("a.kvd")), kProduct + "[TESTS]\r\n[WEIGHTS]\r\n");
}

TEST(ConverterStore, RecordsAreWrittenSortedWithTheirValueForms) {
    TempDir dir;
    platform::FormatSettings comma;
    comma.DecimalSeparator = ',';
    TFileAccess store(dir.File("a.kvd"), comma);
    TATest second = MakeTest(2, 1, 0);
    second.Order = 1;
    store.Tests.Add(second);
    store.Tests.SetDescription("a\r\nb\nc");
    store.Tests.Add(MakeTest(1, 1, 3));
    store.Tests.SetDescription("");
    TAWeight w;
    w.ID = 1;
    w.ParentID = 4;
    w.ScaleID = -1;
    w.Value = 0.5;
    w.Name = "w";
    store.Weights.Add(w);
    // Records of one parent and one order keep the places that the sort's exchanges give them.
    for (int i = 1; i <= 4; ++i) {
        TAScale s;
        s.ID = i;
        s.ParentID = i == 4 ? 4 : 5;
        store.Scales.Add(s);
    }
    ASSERT_TRUE(store.SaveAll());
    const std::string tests = "[TESTS]\r\n"
                              "0\r\n1\r\n1\r\nT1\r\n\r\n\r\n3\r\n1\r\n0\r\n0\r\n-5\r\n\r\n"
                              "1\r\n2\r\n1\r\nT2\r\n\r\n\r\n\r\n1\r\n0\r\n0\r\n-5\r\na&&&&&b\nc\r\n";
    const std::string scales = "[SCALES]\r\n0\r\n4\r\n4\r\n\r\n\r\n0\r\n1\r\n5\r\n\r\n\r\n0\r\n2\r\n5\r\n\r\n\r\n"
                               "0\r\n3\r\n5\r\n\r\n\r\n";
    const std::string weights = "[WEIGHTS]\r\n0\r\n1\r\n4\r\n-1\r\nw\r\n0,5\r\n\r\n";
    const std::string expected = kProduct + "[TEST_GROUPS]\r\n" + tests + "[STIMULS]\r\n[REACTIONS]\r\n" + scales +
                                 "[INTERPRETATIONS]\r\n" + weights;
    EXPECT_EQ(ReadBytes(dir.File("a.kvd")), expected);
    EXPECT_FALSE(store.Tests.Modified());

    // A second save writes the same again.
    ASSERT_TRUE(store.SaveAll());
    EXPECT_EQ(store.FileText, expected);
}

TEST(ConverterStore, AFailedWriteLeavesTheOldFileAndIsReported) {
    TempDir dir;
    const std::string name = dir.File("a.kvd");
    WriteBytes(name, "the user's file");
    RecordedMessages shown;
    TFileAccess store(name);
    store.Tests.Add(MakeTest(1, 1, 1));
    const ScopedFailingWrites failing;   // the next file written
    EXPECT_FALSE(store.SaveAll());
    EXPECT_EQ(ReadBytes(name), "the user's file");
    ASSERT_EQ(shown.Shown.size(), 1u);
    EXPECT_NE(shown.Shown[0].find(name), std::string::npos) << shown.Shown[0];

    TFileAccess intoNothing(dir.File("no/such/folder.kvd"));
    EXPECT_FALSE(intoNothing.SaveAll());
    EXPECT_EQ(shown.Shown.size(), 2u);
}

TEST(ConverterStore, CopyKeepsRecordsAndRefusesATableOfAnotherClass) {
    TTestTable from;
    from.Add(MakeTest(4, 2, 2));
    from.SetDescription("d");
    from.First();
    TTestTable to;
    to.Add(MakeTest(9, 9, 1));
    from.Copy(to);
    ASSERT_EQ(to.RecordCount(), 1);
    EXPECT_EQ(to.At(0).ID, 4);
    EXPECT_EQ(to.At(0).Description, "d");
    EXPECT_EQ(from.Cursor(), 0);

    TScaleTable scales;
    TWeightTable weights;
    try {
        scales.Copy(weights);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TScaleTable.Copy - not TScaleTable class! Call to Support.");
    }
}
