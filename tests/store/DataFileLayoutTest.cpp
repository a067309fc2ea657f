#include <gtest/gtest.h>

#include "platform/SafeFile.h"
#include "platform/ShortDates.h"
#include "store/FileAccess.h"
#include "store/XorCoding.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"

using platform::DateOrder;
using platform::FormatSettings;

namespace {

const FormatSettings kDot{'.', DateOrder::YMD, '-'};
const FormatSettings kComma{',', DateOrder::DMY, '.'};

void WriteAll(TFileAccess& s) {
    s.FileText.clear();
    s.WriteProductInfo("Orvel", "2.0.1");
    ASSERT_TRUE(s.WriteTestGroups());
    ASSERT_TRUE(s.WriteTests());
    ASSERT_TRUE(s.WriteStimuli());
    ASSERT_TRUE(s.WriteReactions());
    ASSERT_TRUE(s.WriteScales());
    ASSERT_TRUE(s.WriteInterpretations());
    ASSERT_TRUE(s.WriteWeights());
}

bool ReadAll(TFileAccess& s) {
    return s.ReadTestGroups() && s.ReadTests() && s.ReadStimuli() && s.ReadReactions() && s.ReadScales() &&
           s.ReadInterpretations() && s.ReadWeights();
}

// A plain text of one section of the given lines, ending as the writer ends a file.
std::string Section(const std::string& name, std::initializer_list<std::string> lines) {
    std::string s = "[" + name + "]";
    for (const auto& l : lines) s += "\r\n" + l;
    return s + "\r\n";
}

}  // namespace

class FixtureFile : public ::testing::TestWithParam<std::pair<FormatSettings, std::string>> {};

TEST_P(FixtureFile, IsWrittenByteForByteAndReadsBackEqual) {
    const auto& [settings, name] = GetParam();
    TempDir dir;
    TFileAccess store(dir.File("fixture.kvd"), settings);
    FillFixture(store);
    WriteAll(store);
    EXPECT_EQ(store.FileText, TestDataFile(name + ".txt"));

    SaveStringToFile(store.FileName, store.FileText, true);
    EXPECT_EQ(ReadBytes(store.FileName), TestDataFile(name + ".kvd"));

    TFileAccess loaded(std::string(ORVEL_TEST_DATA) + "/" + name + ".kvd", settings);
    loaded.FileText = loaded.ReadFileText(loaded.FileName);
    ASSERT_TRUE(ReadAll(loaded));
    ExpectSameStore(store, loaded);
}

INSTANTIATE_TEST_SUITE_P(Settings, FixtureFile,
                         ::testing::Values(std::make_pair(kDot, std::string("fixture_dot")),
                                           std::make_pair(kComma, std::string("fixture_comma"))),
                         [](const auto& testCase) { return testCase.param.second; });

TEST(DataFileLayout, LineHelpers) {
    EXPECT_EQ(TFileAccess::LineCount(""), 1);
    EXPECT_EQ(TFileAccess::LineCount("a\r\nb\r\n"), 3);
    EXPECT_EQ(TFileAccess::LineCount("a\rb\nc"), 1);
    EXPECT_EQ(TFileAccess::GetLine("a\r\nb\r\nc", 0), "a");
    EXPECT_EQ(TFileAccess::GetLine("a\r\nb\r\nc", 2), "c");
    EXPECT_EQ(TFileAccess::GetLine("a\r\nb", 5), "");
    EXPECT_EQ(TFileAccess::EncodeLineBreaks("x\r\ny\r\n"), "x&&&&&y&&&&&");
    EXPECT_EQ(TFileAccess::DecodeLineBreaks("x&&&&&&y"), "x\r\n&y");
    EXPECT_EQ(TFileAccess::SectionHeader("TESTS"), "[TESTS]");

    struct Case {
        std::string line;
        bool header;
    };
    const Case cases[] = {{"[TESTS]", true}, {"[]", true}, {"[x", false}, {" [TESTS]", false}, {"", false},
                          {"[" + std::string(253, 'x') + "]", true},
                          {"[" + std::string(253, 'x') + "]tail", true},   // only the first 255 count
                          {"[" + std::string(254, 'x') + "]", false}};
    for (const auto& c : cases) EXPECT_EQ(TFileAccess::IsSectionHeader(c.line), c.header) << c.line;
}

TEST(DataFileLayout, GetSectionFindsWholeHeaderLinesOnly) {
    const std::string text = "[A]\r\n1\r\n[AB]\r\n2\r\n[B]\r\nx[B]\r\n3\r\n";
    EXPECT_EQ(TFileAccess::GetSection("A", text), "[A]\r\n1");
    EXPECT_EQ(TFileAccess::GetSection("AB", text), "[AB]\r\n2");
    EXPECT_EQ(TFileAccess::GetSection("B", text), "[B]\r\nx[B]\r\n3\r\n");
    EXPECT_EQ(TFileAccess::GetSection("b", text), "");
    EXPECT_EQ(TFileAccess::GetSection("C", text), "");
}

TEST(DataFileLayout, LongTextsKeepTheirLineBreaks) {
    TFileAccess s;
    TScale sc;
    sc.ID = 1;
    sc.ParentID = 1;
    sc.Description = "two\r\nlines";
    s.Scales.AddScale(sc);
    sc.ID = 2;
    sc.Description = "marks &&&&& inside";
    s.Scales.AddScale(sc);
    sc.ID = 3;
    sc.Description = "lone\nLF and lone\rCR";
    s.Scales.AddScale(sc);
    ASSERT_TRUE(s.WriteScales());
    EXPECT_NE(s.FileText.find("\r\ntwo&&&&&lines\r\n"), std::string::npos);

    TFileAccess back;
    back.FileText = s.FileText;
    ASSERT_TRUE(back.ReadScales());
    ASSERT_EQ(back.Scales.RecordCount(), 3);
    EXPECT_EQ(back.Scales.At(0).Description, "two\r\nlines");
    EXPECT_EQ(back.Scales.At(1).Description, "marks \r\n inside");
    EXPECT_EQ(back.Scales.At(2).Description, "lone\nLF and lone\rCR");
}

TEST(DataFileLayout, ValuesThatLookLikeHeadersSurvive) {
    TFileAccess s;
    TTestGroup g;
    g.ID = 1;
    g.ParentID = -1;
    g.Name = "[Intro]";
    g.Description = "[x]";
    s.TestGroups.AddTestGroup(g);
    g.ID = 2;
    g.Name = "[WEIGHTS]";
    g.Description = "[two\r\nlines]";   // written as "[two&&&&&lines]"
    s.TestGroups.AddTestGroup(g);
    g.ID = 3;
    g.Name = "\x1B[WEIGHTS]";   // a value that starts with the escape byte itself
    g.Description = "\x1Bplain";
    s.TestGroups.AddTestGroup(g);
    s.FileText.clear();
    ASSERT_TRUE(s.WriteTestGroups());
    ASSERT_TRUE(s.WriteWeights());

    TFileAccess back;
    back.FileText = s.FileText;
    ASSERT_TRUE(back.ReadTestGroups());
    ASSERT_TRUE(back.ReadWeights());
    ExpectSameTable(s.TestGroups, back.TestGroups);
    EXPECT_EQ(back.Weights.RecordCount(), 0);
}

TEST(DataFileLayout, SectionEdgeCases) {
    TFileAccess s;
    // An empty table is a section of its header alone.
    s.FileText = Section("SCALES", {});
    EXPECT_TRUE(s.ReadScales());
    EXPECT_EQ(s.Scales.RecordCount(), 0);

    // 36 value lines: two tests.
    std::initializer_list<std::string> test = {"0", "1", "1", "T", "", "", "Free", "True", "false", "false", "0",
                                               "", "", "", "", "2024-03-15", "false", ""};
    std::string tests = "[TESTS]";
    for (int k = 0; k < 2; ++k)
        for (const auto& l : test) tests += "\r\n" + (l == "1" && &l == test.begin() + 1 ? std::to_string(k + 1) : l);
    s.FileText = tests + "\r\n";
    ASSERT_TRUE(s.ReadTests());
    ASSERT_EQ(s.Tests.RecordCount(), 2);
    EXPECT_EQ(s.Tests.At(1).ID, 2);
    EXPECT_EQ(s.Tests.At(0).MoveDirection, mdFree);
    EXPECT_FALSE(s.Tests.At(0).ReplayEnabled);   // "True" is not "true"

    // An unknown move direction word is None.
    TFileAccess u;
    u.FileText = Section("TESTS", {"0", "1", "1", "T", "", "", "Sideways", "true", "false", "false", "0", "", "",
                                   "", "", "2024-03-15", "false", ""});
    ASSERT_TRUE(u.ReadTests());
    EXPECT_EQ(u.Tests.At(0).MoveDirection, mdNone);

    // A header in lower case or behind a blank is not found.
    TFileAccess lower;
    lower.FileText = Section("scales", {}) + " [SCALES]\r\n";
    EXPECT_FALSE(lower.ReadScales());
    EXPECT_FALSE(TFileAccess().ReadScales());   // nothing at all
}

TEST(DataFileLayout, ASectionCutShortIsRefused) {
    const std::string scale = "\r\n0\r\n1\r\n1\r\nMood\r\nHow you feel";   // one whole record
    const std::string next = "[INTERPRETATIONS]\r\n";
    struct Case {
        const char* Name;
        std::string Text;
        bool Loads;
    };
    const Case cases[] = {
        {"whole, last in the text", "[SCALES]" + scale + "\r\n", true},
        {"whole, before another section", "[SCALES]" + scale + "\r\n" + next, true},
        {"header alone", "[SCALES]\r\n", true},
        {"a blank line before another section", "[SCALES]" + scale + "\r\n\r\n" + next, true},
        {"inside a record, last in the text", "[SCALES]" + scale + scale.substr(0, 6) + "\r\n", false},
        {"inside a record, before another section", "[SCALES]" + scale + "\r\n0\r\n" + next, false},
        {"inside the last line", "[SCALES]" + scale.substr(0, scale.size() - 3), false},
        {"before the last line break", "[SCALES]" + scale, false},
        {"inside the last line break", "[SCALES]" + scale + "\r", false},
        {"inside the header line", "[SCALES]", false},
        {"an empty last value", "[SCALES]" + scale.substr(0, scale.size() - 12) + "\r\n", true},
        {"an empty last value without its break", "[SCALES]" + scale.substr(0, scale.size() - 12), false},
    };
    for (const Case& c : cases) {
        TFileAccess s;
        s.FileText = c.Text;
        EXPECT_EQ(s.ReadScales(), c.Loads) << c.Name;
    }
}

TEST(DataFileLayout, CreatedKeepsTheDateOnlyAndLongNamesAreCut) {
    TFileAccess s;
    TTest t;
    t.ID = 1;
    t.ParentID = 1;
    t.Created = platform::EncodeDate(2024, 3, 15) + platform::EncodeTime(14, 30, 0);
    s.Tests.AddTest(t);
    ASSERT_TRUE(s.WriteTests());
    TFileAccess back;
    back.FileText = s.FileText;
    ASSERT_TRUE(back.ReadTests());
    EXPECT_EQ(back.Tests.At(0).Created, platform::EncodeDate(2024, 3, 15));

    TFileAccess cut;
    cut.FileText = Section("SCALES", {"0", "1", "1", std::string(300, 'n'), ""});
    ASSERT_TRUE(cut.ReadScales());
    EXPECT_EQ(cut.Scales.At(0).Name.size(), 255u);
}

TEST(DataFileLayout, SectionsInAnotherOrderLoadTheSame) {
    TFileAccess s;
    FillFixture(s);
    WriteAll(s);
    // Put the sections in reverse order.
    std::string reversed;
    for (const char* name : {"WEIGHTS", "INTERPRETATIONS", "SCALES", "REACTIONS", "STIMULS", "TESTS", "TEST_GROUPS"})
        reversed += TFileAccess::GetSection(name, s.FileText) + "\r\n";
    TFileAccess back;
    back.FileText = reversed;
    ASSERT_TRUE(ReadAll(back));
    ExpectSameStore(s, back);
}

TEST(DataFileLayout, ViolatedValuesFailTheSection) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"order not a number", Section("SCALES", {"x", "1", "1", "n", ""})},
        {"ID below 1", Section("SCALES", {"0", "0", "1", "n", ""})},
        {"negative ID", Section("SCALES", {"0", "-4", "1", "n", ""})},
        {"ID at the sort's sentinel", Section("SCALES", {"0", "999999999", "1", "n", ""})},
        {"parent at the sort's sentinel", Section("SCALES", {"0", "1", "999999999", "n", ""})},
        {"parent at the none value", Section("SCALES", {"0", "1", "-99999", "n", ""})},
        {"order at the none value", Section("SCALES", {"-99999", "1", "1", "n", ""})},
        {"order beyond the sentinel", Section("SCALES", {"1000000000", "1", "1", "n", ""})},
        {"integer overflow", Section("SCALES", {"0", "99999999999", "1", "n", ""})},
        {"duplicate ID", Section("SCALES", {"0", "1", "1", "a", "", "1", "1", "1", "b", ""})},
        {"integer with trailing rubbish", Section("SCALES", {"0", "1x", "1", "n", ""})},
    };
    for (const auto& c : cases) {
        TFileAccess s;
        s.FileText = c.text;
        EXPECT_FALSE(s.ReadScales()) << c.what;
    }
    const Case weights[] = {
        {"value not a number", Section("WEIGHTS", {"0", "1", "1", "-1", "w", "nan", ""})},
        {"value in the other locale", Section("WEIGHTS", {"0", "1", "1", "-1", "w", "2,5", ""})},
        {"scale at the sentinel", Section("WEIGHTS", {"0", "1", "1", "999999999", "w", "1", ""})},
    };
    for (const auto& c : weights) {
        TFileAccess s;
        s.FileText = c.text;
        EXPECT_FALSE(s.ReadWeights()) << c.what;
    }
    TFileAccess date;
    date.FileText = Section("TESTS", {"0", "1", "1", "T", "", "", "Free", "true", "false", "false", "0", "", "", "",
                                      "", "15.03.2024", "false", ""});
    EXPECT_FALSE(date.ReadTests());   // a date in another locale's form
}

TEST(DataFileLayout, FailedSavesKeepTheOldFile) {
    TempDir dir;
    TFileAccess s(dir.File("project.kvd"));
    FillFixture(s);
    WriteAll(s);
    WriteBytes(s.FileName, "old bytes");

    const ScopedFailingWrites failing;   // the next file written
    EXPECT_THROW(SaveStringToFile(s.FileName, s.FileText, true), platform::EFileError);
    EXPECT_EQ(ReadBytes(s.FileName), "old bytes");
    EXPECT_THROW(SaveStringToFile(dir.File("missing/folder/p.kvd"), s.FileText, true), platform::EFileError);

    SaveStringToFile(s.FileName, s.FileText, true);
    EXPECT_EQ(DecodeText(ReadBytes(s.FileName)), s.FileText);
    SaveStringToFile(s.FileName, "", true);   // an empty text leaves no file behind
    EXPECT_FALSE(platform::FileExists(s.FileName));
}

TEST(DataFileLayout, ReadFileTextDecodesAndMissingFilesAreEmpty) {
    TempDir dir;
    TFileAccess s;
    EXPECT_EQ(s.ReadFileText(dir.File("missing.kvd")), "");
    WriteBytes(dir.File("plain.kvd"), "[TESTS]\r\n");   // not coded: decodes to bytes without headers
    s.FileText = s.ReadFileText(dir.File("plain.kvd"));
    EXPECT_FALSE(s.ReadTests());
    EXPECT_THROW(s.ReadFileText(dir.Path()), platform::EFileError);
}
