// The reader of old data files: the grid of a table section, the conversions of the cells and the
// whole file.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "converter/FileAccessOld.h"
#include "lang/Rounding.h"
#include "tests/support/TempDir.h"

using namespace vantrel;

namespace {

std::string Join(const std::vector<std::string>& lines, const char* end = "\n") {
    std::string out;
    for (const std::string& l : lines) out += l + end;
    return out;
}

std::string GroupsOf(const TFileAccessOld& f) {
    std::string out;
    for (int i = 0; i < f.TestGroups.RecordCount(); ++i) {
        const auto& g = f.TestGroups.At(i);
        out += std::to_string(g.ID) + ":" + g.Name + ":" + std::to_string(g.Order) + ":" + g.Description + "|";
    }
    return out;
}

const std::vector<std::string> kGroupColumns = {"FIELD_NUMS=4", "TEST_GROUP_ID=", "TEST_GROUP_NAME=",
                                                "TEST_GROUP_ORDER=", "TEST_GROUP_DESCR="};

std::vector<std::string> Columns(std::vector<std::string> values) {
    std::vector<std::string> lines = kGroupColumns;
    for (std::string& v : values) lines.push_back("V=" + v);
    return lines;
}

struct GridCase {
    const char* Name;
    std::vector<std::string> Body;   // the lines after the section header
    bool Ok;
    int RowCount;                    // of the grid, 0 when the grid fails
    std::string Groups;              // the records the section reader appended
};

std::vector<GridCase> GridCaseTable() {
    return {
        {"NoValueLines", Columns({}), true, 1, ""},
        {"OneRow", Columns({"1", "One", "0", "First"}), true, 2, "1:One:0:First|"},
        // (11 - 5) / 4 = 1.5 rounds to 2: three rows counted, the second one is missing lines.
        {"SixValueLinesCountARowThatIsNotThere", Columns({"1", "One", "0", "d", "2", "Two"}), false, 0, ""},
        // (10 - 5) / 4 = 1.25 rounds to 1: the fifth value line is ignored.
        {"FiveValueLinesReadOneRow", Columns({"1", "One", "0", "d", "2"}), true, 2, "1:One:0:d|"},
        // (15 - 5) / 4 = 2.5 goes to the even 2: the last two value lines are ignored.
        {"TenValueLinesReadTwoRows", Columns({"1", "a", "0", "", "2", "b", "1", "", "3", "c"}), true, 3,
         "1:a:0:|2:b:1:|"},
        {"FieldNumsNotANumber", {"FIELD_NUMS=x", "TEST_GROUP_ID=", "V=1"}, false, 0, ""},
        {"FieldNumsZero", {"FIELD_NUMS=0", "TEST_GROUP_ID=", "V=1"}, false, 0, ""},
        {"FieldNumsHuge", {"FIELD_NUMS=2147483647", "TEST_GROUP_ID=", "V=1"}, false, 0, ""},
        {"FieldNumsInLowerCase", {"field_nums=1", "TEST_GROUP_DESCR=", "V=d"}, false, 0, ""},
        {"CountNotFirst", {"TEST_GROUP_ID=", "FIELD_NUMS=1", "V=d"}, false, 0, ""},
        {"NoCountedLineAtAll", {"just text", ""}, false, 0, ""},
        // The grid takes an empty cell; the integer column refuses it, after the rows before it.
        {"EmptyIntegerCell", Columns({"1", "One", "0", "", "", "Two", "1", ""}), false, 3, "1:One:0:|"},
        {"NotAnInteger", Columns({"1x", "One", "0", ""}), false, 2, ""},
        {"ValueHoldingEquals", Columns({"1", "a=b=c", "0", "x=y"}), true, 2, "1:a=b=c:0:x=y|"},
        {"LinesWithoutEqualsShiftNoCell",
         {"FIELD_NUMS=4", "; note", "TEST_GROUP_ID=", "TEST_GROUP_NAME=", "", "TEST_GROUP_ORDER=", "TEST_GROUP_DESCR=",
          "V=1", "no equals here", "V=One", "V=0", "", "V=d"},
         true, 2, "1:One:0:d|"},
        {"NullCells", Columns({"NULL", "NULL", "NULL", "NULL"}), true, 2, "-1::-1:|"},
        {"NullInLowerCaseIsText", Columns({"1", "null", "0", "null"}), true, 2, "1:null:0:null|"},
        {"LineBreaksInTheDescription", Columns({"1", "a&&&&&b", "0", "x&&&&&y&&&&&&z"}), true, 2,
         "1:a&&&&&b:0:x\r\ny\r\n&z|"},
        {"ColumnsInAnotherOrderAndUnknownOnes",
         {"FIELD_NUMS=5", "TEST_GROUP_ORDER=", "OTHER=", "TEST_GROUP_NAME=", "TEST_GROUP_ID=", "TEST_GROUP_DESCR=",
          "V=7", "V=ignored", "V=Seven", "V=3", "V=d"},
         true, 2, "3:Seven:7:d|"},
        {"LastColumnIsTheDescriptionWhateverItsName",
         {"FIELD_NUMS=2", "TEST_GROUP_ID=", "TEST_GROUP_NAME=", "V=4", "V=Not a name"}, true, 2, "4::0:Not a name|"},
        {"TwoRowsWithOneIdPutBothDescriptionsOnTheFirst", Columns({"1", "a", "0", "first", "1", "b", "1", "second"}),
         true, 3, "1:a:0:second|1:b:1:|"},
        {"AnIdSeenBeforeALowerOneFindsItsFirstRow",
         Columns({"2", "a", "0", "x", "1", "b", "1", "y", "2", "c", "2", "z", "3", "d", "3", "w"}), true, 5,
         "2:a:0:z|1:b:1:y|2:c:2:|3:d:3:w|"},
    };
}

class GridCases : public ::testing::TestWithParam<GridCase> {};

}  // namespace

TEST_P(GridCases, ReadAsTheLayoutSays) {
    const GridCase& c = GetParam();
    TFileAccessOld file("unused");
    file.SetLines("[TEST_GROUPS]\n" + Join(c.Body));
    std::vector<std::string> descriptions;
    const bool grid = file.ReadGrid("TEST_GROUPS", descriptions);
    EXPECT_EQ(grid ? file.Grid->GetRowCount() : 0, c.RowCount);
    if (grid) {
        EXPECT_EQ(static_cast<int>(descriptions.size()), c.RowCount - 1);
    }

    EXPECT_EQ(file.ReadTestGroups(), c.Ok);
    EXPECT_EQ(GroupsOf(file), c.Groups);
    EXPECT_EQ(file.Grid, nullptr) << "the grid lives only while a section is read";
    for (int i = 0; i < file.TestGroups.RecordCount(); ++i) EXPECT_EQ(file.TestGroups.At(i).ParentID, -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridCases, ::testing::ValuesIn(GridCaseTable()),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(FileAccessOld, TestCellsConvertAsTheColumnsSay) {
    TFileAccessOld file("unused");
    const std::vector<std::string> columns = {
        "TEST_ID", "TEST_TESTGROUP_ID", "TEST_NAM", "TEST_ANNOT", "TEST_INSTR", "TEST_MOVEDIR", "TEST_REPLYALLOW",
        "TEST_INTERALLOW", "TEST_ANONYM", "TEST_TIMLIMIT", "TEST_ORDER", "TEST_DESCR"};
    std::vector<std::string> lines = {"[Tests]", "FIELD_NUMS=12"};
    for (const auto& c : columns) lines.push_back(c + "=");
    const std::vector<std::vector<std::string>> rows = {
        {"1", "2", "A", "x&&&&&y", "NULL", "0", "0", "5", "0", "30", "4", "NULL"},
        {"NULL", "NULL", "NULL", "NULL", "i", "4", "NULL", "NULL", "NULL", "NULL", "NULL", "d"},
        {"3", "1", "C", "", "", "3", "-1", "0", "1", "0", "0", ""},
    };
    for (const auto& r : rows)
        for (const auto& v : r) lines.push_back("K=" + v);
    file.SetLines(Join(lines, "\r\n"));
    ASSERT_TRUE(file.ReadTests());
    ASSERT_EQ(file.Tests.RecordCount(), 3);

    const TAOldTest& a = file.Tests.At(0);
    EXPECT_EQ(a.ID, 1);
    EXPECT_EQ(a.ParentID, 2);
    EXPECT_EQ(a.Annotation, "x\r\ny");
    EXPECT_EQ(a.Instruction, "");
    EXPECT_EQ(a.MoveDirection, 1) << "0 is no move direction of the old layout";
    EXPECT_FALSE(a.ReplayEnabled);
    EXPECT_TRUE(a.StopEnabled);
    EXPECT_FALSE(a.SpareFlag);
    EXPECT_EQ(a.TimeLimit, 30);
    EXPECT_EQ(a.Order, 4);
    EXPECT_EQ(a.Description, "");

    const TAOldTest& b = file.Tests.At(1);
    EXPECT_EQ(b.ID, -1);
    EXPECT_EQ(b.ParentID, -1);
    EXPECT_EQ(b.MoveDirection, 1);
    EXPECT_TRUE(b.ReplayEnabled);
    EXPECT_TRUE(b.StopEnabled);
    EXPECT_TRUE(b.SpareFlag);
    EXPECT_EQ(b.TimeLimit, 0);
    EXPECT_EQ(b.Order, -1);
    EXPECT_EQ(b.Description, "d");

    const TAOldTest& c = file.Tests.At(2);
    EXPECT_EQ(c.MoveDirection, 3);
    EXPECT_TRUE(c.ReplayEnabled) << "any integer but 0 is True";
    EXPECT_FALSE(c.StopEnabled);
}

TEST(FileAccessOld, RowDefaultsFillTheFieldsOfMissingColumns) {
    TFileAccessOld file("unused");
    file.SetLines("[TESTS]\nFIELD_NUMS=2\nTEST_ID=\nTEST_DESCR=\nK=5\nK=d\n"
                  "[STIMULS]\nFIELD_NUMS=2\nSTIMUL_ID=\nSTIMUL_DESCR=\nK=6\nK=\n"
                  "[INTERPRETATIONS]\nFIELD_NUMS=1\nINTERP_DESCR=\nK=e\n");
    ASSERT_TRUE(file.ReadTests());
    ASSERT_TRUE(file.ReadStimuli());
    ASSERT_TRUE(file.ReadInterpretations());
    const TAOldTest& t = file.Tests.At(0);
    EXPECT_EQ(t.ParentID, -1);
    EXPECT_EQ(t.MoveDirection, 1);
    EXPECT_TRUE(t.ReplayEnabled);
    EXPECT_TRUE(t.StopEnabled);
    EXPECT_FALSE(t.SpareFlag);
    EXPECT_EQ(t.Order, 0);
    EXPECT_FALSE(file.Stimuli.At(0).MultipleAnswers);
    EXPECT_EQ(file.Stimuli.At(0).AnswersLimit, 0);
    EXPECT_EQ(file.Interpretations.At(0).ID, -1);
    EXPECT_EQ(file.Interpretations.At(0).Maximum, -1.0);
    EXPECT_EQ(file.Interpretations.At(0).Minimum, -1.0);
}

TEST(FileAccessOld, RealsFollowTheGivenSettings) {
    const std::string text = "[INTERPRETATIONS]\nFIELD_NUMS=4\nINTERP_ID=\nINTERP_MAX=\nINTERP_MIN=\nINTERP_DESCR=\n"
                             "K=1\nK=2,5\nK=NULL\nK=\n";
    platform::FormatSettings comma;
    comma.DecimalSeparator = ',';
    TFileAccessOld withComma("unused", comma);
    withComma.SetLines(text);
    ASSERT_TRUE(withComma.ReadInterpretations());
    EXPECT_EQ(withComma.Interpretations.At(0).Maximum, 2.5);
    EXPECT_EQ(withComma.Interpretations.At(0).Minimum, -1.0);

    TFileAccessOld withDot("unused", platform::FormatSettings::Posix());
    withDot.SetLines(text);
    EXPECT_FALSE(withDot.ReadInterpretations()) << "\"2,5\" is no number where the separator is \".\"";
}

TEST(FileAccessOld, TableSectionsAreFoundInAnyCaseButTheAuthorFlagOnlyInCapitals) {
    TFileAccessOld file("unused");
    file.SetLines("[users]\nFIELD_NUMS=1\nUSER_DESCR=\n[additional]\nIS_AUTHOR=0\n");
    EXPECT_TRUE(file.ReadUsers());
    EXPECT_TRUE(file.ReadIsAuthor());
    file.SetLines("[USERS]\nFIELD_NUMS=1\nX=\n[ADDITIONAL]\nis_author=0\nIS_AUTHOR=0\n");
    EXPECT_FALSE(file.ReadIsAuthor());
    file.SetLines("[ADDITIONAL]\nIS_AUTHOR=yes\n");
    EXPECT_TRUE(file.ReadIsAuthor());
    file.SetLines("");
    EXPECT_TRUE(file.ReadIsAuthor());
}

TEST(FileAccessOld, LineOperationsAndSections) {
    EXPECT_TRUE(TFileAccessOld::IsSectionHeader("[A]"));
    EXPECT_FALSE(TFileAccessOld::IsSectionHeader(" [A]"));
    EXPECT_TRUE(TFileAccessOld::IsSectionHeader("[" + std::string(253, 'x') + "]tail"));
    EXPECT_EQ(TFileAccessOld::SectionName("[ABC]"), "ABC");
    EXPECT_EQ(TFileAccessOld::SectionName("ABC"), "");
    EXPECT_EQ(TFileAccessOld::KeyOfLine("k=v=w"), "k");
    EXPECT_EQ(TFileAccessOld::ValueOfLine("k=v=w"), "v=w");
    EXPECT_EQ(TFileAccessOld::KeyOfLine("no equals"), "");
    std::string text = "a&&&&&b&&&&&c";
    EXPECT_TRUE(TFileAccessOld::ReplaceFirst("&&&&&", "\r\n", text));
    EXPECT_EQ(text, "a\r\nb&&&&&c");
    EXPECT_FALSE(TFileAccessOld::ReplaceFirst("#", "-", text));

    TFileAccessOld file("unused");
    file.SetLines("x\r[A]\rk=1\r\r[B]\n[C]\r\nk=3");
    int first = 0;
    int last = 0;
    file.FindSection("A", first, last);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 3);
    file.FindSection("B", first, last);
    EXPECT_EQ(first, -1) << "an empty body is no section";
    EXPECT_EQ(last, -2);
    file.FindSection("C", first, last);
    EXPECT_EQ(first, 6);
    EXPECT_EQ(last, 6);
    file.FindSection("a", first, last);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(file.ReadValue("C", "k"), "3");
    EXPECT_EQ(file.ReadValue("C", "K"), "");
    std::vector<std::string> keys;
    ASSERT_TRUE(file.GetSectionKeys("a", keys));
    EXPECT_EQ(keys, std::vector<std::string>{"k"});
}

TEST(FileAccessOld, TheWholeFileNeedsAllEightTableSections) {
    TempDir dir;
    const std::string name = dir.File("old.kvd");
    const std::string fixture = ReadBytes(std::string(ORVEL_TEST_DATA) + "/old_project.kvd");
    WriteBytes(name, fixture);
    TFileAccessOld file(name);
    ASSERT_TRUE(file.LoadAll());
    EXPECT_EQ(file.TestGroups.RecordCount(), 2);
    EXPECT_EQ(file.Weights.RecordCount(), 4);
    EXPECT_EQ(file.Users.RecordCount(), 1);
    EXPECT_EQ(file.Users.At(0).Password, "pa=ss");
    EXPECT_TRUE(file.IsAuthor);
    EXPECT_FALSE(file.Weights.Modified());

    const std::size_t users = fixture.find("[Users]");
    ASSERT_NE(users, std::string::npos);
    WriteBytes(name, fixture.substr(0, users) + "[ADDITIONAL]\nIS_AUTHOR=0\n");
    TFileAccessOld withoutUsers(name);
    EXPECT_FALSE(withoutUsers.LoadAll());
    EXPECT_EQ(withoutUsers.Weights.RecordCount(), 4) << "the sections before the failing one keep their records";

    TFileAccessOld missing(dir.File("none.kvd"));
    EXPECT_FALSE(missing.LoadAll());
    TFileAccessOld folder(dir.Path());
    EXPECT_FALSE(folder.LoadAll());
}

namespace {

// The plain reading that the reader's walk over the text must agree with: the lines in a list,
// each section found by going through them from the top.
class PlainLines {
public:
    using Counted = std::vector<std::pair<std::string, std::string>>;

    explicit PlainLines(const std::string& text) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = start;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
            lines_.push_back(text.substr(start, end - start));
            if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
            start = end + 1;
        }
    }

    // The lines holding "=" of the first table section of that name in any case.
    Counted TableSection(const std::string& name) const {
        Counted out;
        std::size_t i = 0;
        while (i < lines_.size() && !(lines_[i].size() >= 2 && lines_[i].front() == '[' && lines_[i].back() == ']' &&
                                      Lower(lines_[i]) == Lower("[" + name + "]")))
            ++i;
        for (++i; i < lines_.size() && !TFileAccessOld::IsSectionHeader(lines_[i]); ++i) {
            const std::size_t eq = lines_[i].find('=');
            if (eq != std::string::npos) out.emplace_back(lines_[i].substr(0, eq), lines_[i].substr(eq + 1));
        }
        return out;
    }

    void FindSection(const std::string& name, int& first, int& last) const {
        first = -1;
        last = -2;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (!TFileAccessOld::IsSectionHeader(lines_[i])) continue;
            if (first >= 0) {
                last = static_cast<int>(i) - 1;
                break;
            }
            if (TFileAccessOld::SectionName(lines_[i]) == name) first = static_cast<int>(i) + 1;
        }
        if (first >= 0 && last == -2) last = static_cast<int>(lines_.size()) - 1;
        if (last < first) {
            first = -1;
            last = -2;
        }
    }

    std::string ReadValue(const std::string& section, const std::string& key) const {
        int first = 0;
        int last = 0;
        FindSection(section, first, last);
        for (int i = first; i >= 0 && i <= last; ++i) {
            const std::string& l = lines_[static_cast<std::size_t>(i)];
            const std::size_t eq = l.find('=');
            if (eq != std::string::npos && l.substr(0, eq) == key) return l.substr(eq + 1);
        }
        return {};
    }

private:
    static std::string Lower(std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }
    std::vector<std::string> lines_;
};

std::string RandomText(std::mt19937& random, const std::vector<std::string>& pieces, int most) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, most)(random);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int i = 0; i < count; ++i) text += pieces[pick(random)];
    return text;
}

}  // namespace

TEST(FileAccessOld, SectionsOfRandomTextsAreWhatAPlainListOfLinesGives) {
    const std::vector<std::string> pieces = {"[a]", "[A]", "[b]", "[ab]", "[a]tail", "[b", "]", "[", "k=1", "k=",
                                             "a=2", "=x", "x", "k=v=w", "\r", "\n", "\r\n", "\n\r", "\r\n"};
    const std::vector<std::string> names = {"a", "A", "b", "ab", ""};
    std::mt19937 random(20261211);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(random, pieces, 30);
        SCOPED_TRACE(::testing::PrintToString(text));
        const PlainLines plain(text);
        TFileAccessOld file("unused");
        file.SetLines(text);
        for (const std::string& name : names) {
            std::vector<std::string> keys;
            std::vector<std::string> values;
            ASSERT_TRUE(file.GetSectionKeys(name, keys));
            ASSERT_TRUE(file.GetSectionValues(name, values));
            PlainLines::Counted got;
            for (std::size_t i = 0; i < keys.size() && i < values.size(); ++i) got.emplace_back(keys[i], values[i]);
            ASSERT_EQ(keys.size(), values.size());
            EXPECT_EQ(got, plain.TableSection(name)) << name;
            int first = 0;
            int last = 0;
            int plainFirst = 0;
            int plainLast = 0;
            file.FindSection(name, first, last);
            plain.FindSection(name, plainFirst, plainLast);
            EXPECT_EQ(std::make_pair(first, last), std::make_pair(plainFirst, plainLast)) << name;
            for (const char* key : {"k", "a", ""}) EXPECT_EQ(file.ReadValue(name, key), plain.ReadValue(name, key));
        }
    }
}

TEST(FileAccessOld, GridsOfRandomSectionsAreWhatTheirPlainLinesGive) {
    const std::vector<std::string> pieces = {"V=1\n", "V=NULL\n", "V=\n", "V=a=b\r\n", "no equals\n", "\n", "\r",
                                             "C=\n"};
    std::mt19937 random(1211);
    for (int round = 0; round < 2000; ++round) {
        const int n = std::uniform_int_distribution<int>(1, 4)(random);
        const std::string text = "[TEST_GROUPS]\nFIELD_NUMS=" + std::to_string(n) + "\n" + RandomText(random, pieces, 24) +
                                 (round % 2 ? "[NEXT]\nV=9\n" : "");
        SCOPED_TRACE(::testing::PrintToString(text));
        // What the layout says of the plain lines: the row count from their number, then the
        // cells row by row with the last column set apart.
        const PlainLines::Counted lines = PlainLines(text).TableSection("TEST_GROUPS");
        const auto m = static_cast<std::int64_t>(lines.size());
        const std::int64_t rows = lang::RoundHalfEven(m - n - 1, n) + 1;
        const bool ok = rows >= 1 && rows * n <= m - 1;

        TFileAccessOld file("unused");
        file.SetLines(text);
        std::vector<std::string> descriptions;
        ASSERT_EQ(file.ReadGrid("TEST_GROUPS", descriptions), ok);
        if (!ok) continue;
        ASSERT_EQ(file.Grid->GetRowCount(), rows);
        ASSERT_EQ(file.Grid->GetColCount(), n);
        std::vector<std::string> plainDescriptions;
        for (int r = 0; r < rows; ++r) {
            for (int i = 0; i < n; ++i) {
                const auto& line = lines[static_cast<std::size_t>(r * n + i + 1)];
                const std::string cell(*file.Grid->GetGridCell(i, r));
                if (r == 0) EXPECT_EQ(cell, line.first);
                else if (i < n - 1) EXPECT_EQ(cell, line.second);
                else plainDescriptions.push_back(line.second == "NULL" ? "" : line.second);
            }
        }
        EXPECT_EQ(descriptions, plainDescriptions);
    }
}
