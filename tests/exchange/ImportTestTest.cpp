#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "exchange/ExportTest.h"
#include "exchange/ImportTest.h"
#include "platform/SafeFile.h"
#include "platform/ShortDates.h"
#include "store/StoreTestSeam.h"
#include "store/XorCoding.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/StoreFixtures.h"

namespace {

// The IDs of every file table of a store, per table, before an import.
std::vector<std::set<int>> UsedIds(const TFileAccess& s) {
    std::vector<std::set<int>> used;
    ForEachFileTable(s, s, [&](const auto& t, const auto&) {
        const std::vector<int> ids = IdsOf(t);
        used.emplace_back(ids.begin(), ids.end());
    });
    return used;
}

// The names of the records of one parent, in table order.
template <typename Table>
std::vector<std::string> NamesUnder(const Table& t, std::int32_t parent) {
    std::vector<std::string> names;
    for (int i : t.IndexesOfParent(parent)) names.push_back(t.At(i).Name);
    return names;
}

// The test the import put into the open project, checked against the fixture's test 7: the same
// values but for its ID, group and spare text; every child under the copy of its parent.
void ExpectImportedFixture(const TFileAccess& open, std::int32_t newTest, std::int32_t group) {
    const TTest& copy = ByID(open.Tests, newTest);
    TTest expected = ByID(open.Tests, kFixtureTest);
    expected.ID = newTest;
    expected.ParentID = group;
    expected.SpareText.clear();
    expected.AuthorName = kAuthor;
    expected.AuthorEmail = kEmail;
    expected.Copyright = kCopyright;
    expected.Private = true;
    // The file keeps the date alone.
    expected.Created = platform::EncodeDate(2024, 3, 15);
    EXPECT_EQ(copy, expected);

    EXPECT_EQ(NamesUnder(open.Scales, newTest), (std::vector<std::string>{"Speed", "Care"}));
    EXPECT_EQ(NamesUnder(open.Stimuli, newTest),
              (std::vector<std::string>{"First question", "Second question", "Third question"}));
    // Each weight keeps its value and is bound to the copy of its own scale, or to none.
    std::map<std::string, std::pair<double, std::string>> weights;
    for (int s : open.Stimuli.IndexesOfParent(newTest))
        for (int r : open.Reactions.IndexesOfParent(open.Stimuli.At(s).ID))
            for (int w : open.Weights.IndexesOfParent(open.Reactions.At(r).ID)) {
                const TWeight& weight = open.Weights.At(w);
                std::string scale = "none";
                if (weight.ScaleID != -1) {
                    const TScale& bound = ByID(open.Scales, weight.ScaleID);
                    EXPECT_EQ(bound.ParentID, newTest) << weight.Name;
                    scale = bound.Name;
                }
                weights[weight.Name] = {weight.Value, scale};
            }
    const std::map<std::string, std::pair<double, std::string>> want = {
        {"w30", {1.5, "Speed"}}, {"w31", {-0.25, "Care"}}, {"w32", {2, "none"}},
        {"w33", {3, "Speed"}},   {"w34", {0.1, "Care"}},
    };
    EXPECT_EQ(weights, want);
}

class KvtForm : public ExchangeTest, public ::testing::WithParamInterface<TFormCase> {
protected:
    KvtForm() : ExchangeTest(GetParam().Settings) {}
};

}  // namespace

TEST_P(KvtForm, ExportWritesTheHandWrittenFileAndImportTakesItBackWithFreshIds) {
    const std::string path = dir_.File("attention.kvt");
    TFileAccess before;
    CloneStore(Open(), before);
    {
        TExportKVTTest exporter(path, kFixtureTest, kAuthor, kEmail, kCopyright, true);
        ASSERT_TRUE(exporter.Export());
        EXPECT_EQ(exporter.ExchangeStore->FileText, TestDataFile(GetParam().Stem + ".txt"));
    }
    EXPECT_EQ(ReadBytes(path), TestDataFile(GetParam().Stem + ".kvt"));
    // The open project keeps its own author values and private flag, and is not modified.
    ExpectSameState(before, Open(), "after the export");
    EXPECT_TRUE(shown_.Messages.empty());
    EXPECT_TRUE(services_.Shown.empty());

    // Every ID of the file is in use in the open project already.
    const std::vector<std::set<int>> used = UsedIds(Open());
    TImportKVTTest first(kOtherGroup, std::string(ORVEL_TEST_DATA) + "/" + GetParam().Stem + ".kvt");
    ASSERT_TRUE(first.Import());
    const std::int32_t newTest = first.GetNewTestID();
    EXPECT_EQ(Open().Tests.RecordCount(), before.Tests.RecordCount() + 1);
    ExpectImportedFixture(Open(), newTest, kOtherGroup);
    EXPECT_TRUE(Open().IsModified());
    // Every record added has an ID its table did not use before.
    const std::vector<std::set<int>> after = UsedIds(Open());
    std::size_t table = 0;
    ForEachFileTable(before, Open(), [&](const auto& old, const auto& now) {
        EXPECT_EQ(now.RecordCount() - old.RecordCount(), static_cast<int>(after[table].size() - used[table].size()))
            << now.ClassName() << ": a copy reused an ID";
        ++table;
    });
    EXPECT_TRUE(shown_.Messages.empty());

    TImportKVTTest second(kFixtureGroup, path);
    ASSERT_TRUE(second.Import());
    EXPECT_NE(second.GetNewTestID(), newTest);
    EXPECT_EQ(Open().Tests.RecordCount(), before.Tests.RecordCount() + 2);
    ExpectImportedFixture(Open(), second.GetNewTestID(), kFixtureGroup);
}

INSTANTIATE_TEST_SUITE_P(Forms, KvtForm, ::testing::Values(DotForm(), CommaForm()), FormName);

TEST_F(ExchangeTest, KvtOfATestWithoutChildrenHoldsSixSectionsFiveOfThemEmpty) {
    const std::string path = dir_.File("other.kvt");
    TExportKVTTest exporter(path, kPrivateTest, "", "", "", false);
    ASSERT_TRUE(exporter.Export());
    const std::string plain = DecodeText(ReadBytes(path));
    EXPECT_EQ(plain.find("[TEST_GROUPS]"), std::string::npos);
    const std::string empty = "[STIMULS]\r\n[REACTIONS]\r\n[SCALES]\r\n[INTERPRETATIONS]\r\n[WEIGHTS]\r\n";
    ASSERT_GE(plain.size(), empty.size());
    EXPECT_EQ(plain.substr(plain.size() - empty.size()), empty);
    EXPECT_NE(plain.find("[TESTS]\r\n1\r\n9\r\n1\r\nHidden test\r\n"), std::string::npos) << plain;
}

TEST_F(ExchangeTest, AFileWrittenUnderTheOtherNumberAndDateFormsImportsWhole) {
    TImportKVTTest importer(kOtherGroup, std::string(ORVEL_TEST_DATA) + "/exchange_comma.kvt");
    ASSERT_TRUE(importer.Import());
    ExpectImportedFixture(Open(), importer.GetNewTestID(), kOtherGroup);
    // The open project keeps its own forms for its next save.
    EXPECT_EQ(Open().Settings, platform::FormatSettings::Posix());
}

TEST_F(ExchangeTest, ImportIgnoresTheTestGroupsOfTheFile) {
    std::string plain = TestDataFile("exchange_dot.txt");
    plain.insert(plain.find("[TESTS]"), "[TEST_GROUPS]\r\n0\r\n3\r\nGroup three\r\n\r\n");
    const std::string path = dir_.File("groups.kvt");
    WriteBytes(path, EncodeText(plain));
    const int groups = Open().TestGroups.RecordCount();
    TImportKVTTest importer(kOtherGroup, path);
    ASSERT_TRUE(importer.Import());
    EXPECT_EQ(ByID(Open().Tests, importer.GetNewTestID()).ParentID, kOtherGroup);
    EXPECT_EQ(Open().TestGroups.RecordCount(), groups);
}

namespace {

// One import that must be refused: how to make the file, the key of the reason its message gives
// (empty: no message of its own) and how the message ends: the key of the damage it names for a
// damaged file, the number of tests found for one that does not hold exactly one.
struct TBadImport {
    const char* Name;
    std::function<std::string(const TempDir& dir)> MakeFile;   // returns the path
    const char* Reason;
    const char* Ending = "";
    std::int32_t Group = kOtherGroup;
    int FailCopyAfter = -1;
};

std::string WritePlain(const TempDir& dir, const std::string& plain) {
    const std::string path = dir.File("bad.kvt");
    WriteBytes(path, EncodeText(plain));
    return path;
}

// The fixture's exchange text with one line replaced (the first line equal to from).
std::string FixtureWith(const std::string& from, const std::string& to) {
    std::string plain = TestDataFile("exchange_dot.txt");
    const std::size_t at = plain.find("\r\n" + from + "\r\n");
    EXPECT_NE(at, std::string::npos) << from;
    return plain.replace(at + 2, from.size(), to);
}

std::function<std::string(const TempDir&)> Replaced(const std::string& from, const std::string& to) {
    return [from, to](const TempDir& dir) { return WritePlain(dir, FixtureWith(from, to)); };
}

std::string FixtureFile(const TempDir&) { return std::string(ORVEL_TEST_DATA) + "/exchange_dot.kvt"; }

constexpr const char* kMissing = "IMPEXP_TESTIMPORT_FILE_MISSING";
constexpr const char* kNotAFile = "IMPEXP_TESTIMPORT_FILE_NOT_A_FILE";
constexpr const char* kUnreadable = "IMPEXP_TESTIMPORT_FILE_UNREADABLE";
constexpr const char* kDamaged = "IMPEXP_TESTIMPORT_FILE_DAMAGED";
constexpr const char* kNotOneTest = "IMPEXP_TESTIMPORT_NOT_ONE_TEST";
constexpr const char* kUndefined = "*****UNDEFINED_STRING*****";

// The fixture's exchange file with the second digit of the code of the first byte of a plain
// text replaced by c.
std::function<std::string(const TempDir&)> CodedWith(const std::string& plainText, char c) {
    return [plainText, c](const TempDir& dir) {
        std::string coded = TestDataFile("exchange_dot.kvt");
        const std::size_t at = DecodeText(coded).find(plainText);
        EXPECT_NE(at, std::string::npos) << plainText;
        coded.at(2 * at + 1) = c;
        WriteBytes(dir.File("badly_coded.kvt"), coded);
        return dir.File("badly_coded.kvt");
    };
}

const TBadImport kBadImports[] = {
    {"MissingFile", [](const TempDir& dir) { return dir.File("none.kvt"); }, kMissing},
    {"MissingFolder", [](const TempDir& dir) { return dir.File("none/x.kvt"); }, kMissing},
    {"EmptyFile", [](const TempDir& dir) { return WritePlain(dir, ""); }, kDamaged, "FILEACC_DAMAGE_MISSING_SECTION"},
    {"Folder", [](const TempDir& dir) { return dir.Path(); }, kNotAFile},
    {"LinkThatLoops", [](const TempDir& dir) {
         std::filesystem::create_symlink("loop.kvt", dir.File("loop.kvt"));
         return dir.File("loop.kvt");
     },
     kUnreadable},
    {"LargerThanAnyProject", [](const TempDir& dir) {
         const std::string path = WritePlain(dir, TestDataFile("exchange_dot.txt"));
         std::filesystem::resize_file(path, platform::kMaxReadBytes + 2);
         return path;
     },
     kUnreadable},
    {"PlainTextNotCoded",
     [](const TempDir& dir) {
         WriteBytes(dir.File("plain.kvt"), TestDataFile("exchange_dot.txt"));
         return dir.File("plain.kvt");
     },
     kDamaged, "FILEACC_DAMAGE_BAD_CODING"},
    {"DataFileWithSeveralTests",
     [](const TempDir& dir) {
         TFileAccess project(dir.File("project.kvd"));
         FillExchangeFixture(project);
         project.SaveAll();
         return project.FileName;
     },
     kNotOneTest, "3"},
    {"ExchangeFileWithoutATest", [](const TempDir& dir) {
         std::string plain = TestDataFile("exchange_dot.txt");
         const std::size_t from = plain.find("[TESTS]\r\n") + 9;
         return WritePlain(dir, plain.erase(from, plain.find("[STIMULS]") - from));
     },
     kNotOneTest, "0"},
    {"MissingWeightsSection", [](const TempDir& dir) {
         std::string plain = TestDataFile("exchange_dot.txt");
         return WritePlain(dir, plain.erase(plain.find("[WEIGHTS]")));
     },
     kDamaged, "FILEACC_DAMAGE_MISSING_SECTION"},
    {"BadRealInWeights", Replaced("-0.25", "-0.25x"), kDamaged, "FILEACC_DAMAGE_BAD_REAL"},
    {"RealOfTheOtherFormInWeights", Replaced("-0.25", "-0,25"), kDamaged, "FILEACC_DAMAGE_BAD_REAL"},
    {"BadIntegerInTests", Replaced("15", "fifteen"), kDamaged, "FILEACC_DAMAGE_BAD_INTEGER"},
    {"UndefinedTestName", Replaced("Attention test", kUndefined), ""},
    {"UndefinedScaleName", Replaced("Care", kUndefined), ""},
    {"UndefinedQuestionName", Replaced("Third question", kUndefined), ""},
    {"UndefinedAnswerName", Replaced("Never", kUndefined), ""},
    // The reader refuses the "none" value as an ID before the check sees it.
    {"TestIdNone", Replaced("7", "-99999"), kDamaged, "FILEACC_DAMAGE_OUT_OF_RANGE"},
    {"InterpretationMaximumNone", Replaced("1.25", "-99999"), ""},
    {"InterpretationMinimumNone", Replaced("-2.5", "-99999"), ""},
    {"WeightValueNone", Replaced("0.1", "-99999"), ""},
    // A file cut short is refused like a damaged data file, wherever the cut falls.
    {"CutShortByOneDigit", [](const TempDir& dir) {
         const std::string coded = TestDataFile("exchange_dot.kvt");
         WriteBytes(dir.File("cut.kvt"), coded.substr(0, coded.size() - 1));
         return dir.File("cut.kvt");
     },
     kDamaged, "FILEACC_DAMAGE_CUT_SHORT"},
    {"CutInsideTheLastWeight", [](const TempDir& dir) {
         const std::string plain = TestDataFile("exchange_dot.txt");
         return WritePlain(dir, plain.substr(0, plain.rfind("w34") + 3));
     },
     kDamaged, "FILEACC_DAMAGE_INCOMPLETE_RECORD"},
    {"CutInsideTheTest", [](const TempDir& dir) {
         const std::string plain = TestDataFile("exchange_dot.txt");
         return WritePlain(dir, plain.substr(0, plain.find("A. Author")));
     },
     kDamaged, "FILEACC_DAMAGE_INCOMPLETE_RECORD"},
    // One character of a coded field that is no hex digit, the length kept even: the file is not
    // read as other bytes.
    {"NotAHexDigitInAName", CodedWith("Care", 'G'), kDamaged, "FILEACC_DAMAGE_BAD_CODING"},
    {"BlankInsideTheCodedText", CodedWith("Third question", ' '), kDamaged, "FILEACC_DAMAGE_BAD_CODING"},
    {"LineBreakInsideTheCodedText", CodedWith("\r\n[WEIGHTS]", '\n'), kDamaged, "FILEACC_DAMAGE_BAD_CODING"},
    {"GroupThatDoesNotExist", FixtureFile, "", "", 42},
    {"CopyFailsAfterTheTest", FixtureFile, "", "", kOtherGroup, 1},
    {"CopyFailsAtTheLastWeight", FixtureFile, "", "", kOtherGroup, 17},
};

class BadImport : public ExchangeTest, public ::testing::WithParamInterface<TBadImport> {
protected:
    ~BadImport() override { storetesthooks::FailCopyAfterRecords(-1); }
};

}  // namespace

TEST_P(BadImport, IsRefusedAndLeavesTheOpenProjectAsItWas) {
    const TBadImport& c = GetParam();
    const std::string path = c.MakeFile(dir_);
    // A file too large to read is left alone by the test as well.
    std::error_code noFile;
    const bool isFile = std::filesystem::is_regular_file(path, noFile) && std::filesystem::file_size(path) < 1u << 20;
    const std::string fileBefore = isFile ? ReadBytes(path) : "";
    TFileAccess before;
    CloneStore(Open(), before);
    storetesthooks::FailCopyAfterRecords(c.FailCopyAfter);

    TImportKVTTest importer(c.Group, path);
    EXPECT_FALSE(importer.Import());
    EXPECT_EQ(importer.GetNewTestID(), -1);
    ExpectSameState(before, Open(), c.Name);
    if (isFile) {
        EXPECT_EQ(ReadBytes(path), fileBefore);
    }
    if (!*c.Reason) {
        EXPECT_EQ(shown_.Messages, std::vector<std::string>{});
        return;
    }
    // The message says that the file is refused, names it and gives the reason that is true for it.
    ASSERT_EQ(shown_.Messages.size(), 1u);
    const std::string& shown = shown_.Messages[0];
    const std::string head = Text("IMPEXP_TESTIMPORT_FILE_CORRUPTED") + "\n" + path + "\n" + Text(c.Reason);
    EXPECT_EQ(shown.substr(0, head.size()), head) << shown;
    const std::string ending = std::string(c.Ending).starts_with("FILEACC_") ? ScopedStoreServices::TextOf(c.Ending)
                                                                               : " " + std::string(c.Ending);
    if (*c.Ending) {
        EXPECT_TRUE(shown.ends_with(ending)) << shown;
    } else {
        EXPECT_EQ(shown.find(Text(kDamaged)), std::string::npos) << shown;
        EXPECT_EQ(shown.find(Text(kNotOneTest)), std::string::npos) << shown;
    }
}

std::string BadImportName(const ::testing::TestParamInfo<TBadImport>& param) { return param.param.Name; }

INSTANTIATE_TEST_SUITE_P(Cases, BadImport, ::testing::ValuesIn(kBadImports), BadImportName);

TEST_F(ExchangeTest, ImportWithoutAnOpenProjectIsRefused) {
    ScopedGlobalStore none(nullptr);
    TImportKVTTest importer(kOtherGroup, std::string(ORVEL_TEST_DATA) + "/exchange_dot.kvt");
    EXPECT_FALSE(importer.Import());
    EXPECT_EQ(GlobalStore(), nullptr);
}
