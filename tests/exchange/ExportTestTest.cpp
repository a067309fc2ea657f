#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exchange/ExportFormats.h"
#include "platform/SafeFile.h"
#include "store/XorCoding.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/StoreFixtures.h"

namespace {

struct TFormatCase {
    TFormCase Form;
    std::size_t Format;   // index into ExportFormats()
};

std::string CaseName(const ::testing::TestParamInfo<TFormatCase>& info) {
    return info.param.Form.Stem + "_" + ExportFormats()[info.param.Format].Ext;
}

std::vector<TFormatCase> FormatCases(const std::vector<TFormCase>& forms) {
    std::vector<TFormatCase> cases;
    for (const TFormCase& form : forms)
        for (std::size_t f = 0; f < ExportFormats().size(); ++f) cases.push_back({form, f});
    return cases;
}

class FixtureExport : public ExchangeTest, public ::testing::WithParamInterface<TFormatCase> {
protected:
    FixtureExport() : ExchangeTest(GetParam().Form.Settings) {}
    const TExportFormat& Format() const { return ExportFormats()[GetParam().Format]; }
    std::unique_ptr<TExportTest> Make(const std::string& path, std::int32_t testID) const {
        return Format().Make(path, testID, kAuthor, kEmail, kCopyright, true);
    }
    // Messages shown by the export and by the store it saved through.
    std::size_t MessageCount() const { return shown_.Messages.size() + services_.Shown.size(); }
};

class ExportFailure : public FixtureExport {};

}  // namespace

TEST_P(FixtureExport, WritesTheHandWrittenFileAndLeavesTheOpenProjectAlone) {
    const std::string path = dir_.File(std::string("attention.") + Format().Ext);
    TFileAccess before;
    CloneStore(Open(), before);
    ASSERT_TRUE(Make(path, kFixtureTest)->Export());
    EXPECT_EQ(ReadBytes(path), TestDataFile(GetParam().Form.Stem + "." + Format().Ext));
    ExpectSameState(before, Open(), "after the export");
    EXPECT_EQ(MessageCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, FixtureExport, ::testing::ValuesIn(FormatCases({DotForm(), CommaForm()})), CaseName);

TEST_P(ExportFailure, AFailedWriteLeavesTheOldFileAsItWasAndIsShown) {
    const std::string path = dir_.File(std::string("old.") + Format().Ext);
    WriteBytes(path, "the old file");
    const ScopedFailingWrites failing;   // the next file written
    EXPECT_FALSE(Make(path, kFixtureTest)->Export());
    EXPECT_EQ(ReadBytes(path), "the old file");
    EXPECT_EQ(MessageCount(), 1u);
    EXPECT_FALSE(Open().IsModified());
}

TEST_P(ExportFailure, AFolderThatDoesNotExistIsShownAndNothingIsWritten) {
    const std::string path = dir_.File(std::string("none/new.") + Format().Ext);
    EXPECT_FALSE(Make(path, kFixtureTest)->Export());
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_EQ(MessageCount(), 1u);
}

// The text is the export's, not the project file's, and it names the file.
TEST_P(ExportFailure, AReadOnlyFileIsNamedInTheExportsTextAndLeftAsItWas) {
    const std::string path = dir_.File(std::string("locked.") + Format().Ext);
    WriteBytes(path, "the old file");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(Make(path, kFixtureTest)->Export());
    EXPECT_EQ(ReadBytes(path), "the old file");
    const char* const key = "IMPEXP_TESTEXPORT_READONLY";
    // The exchange text file is saved through the store, the others are written by the export.
    if (std::string(Format().Ext) == "kvt") {
        EXPECT_EQ(services_.Shown, std::vector<std::string>{ScopedStoreServices::TextOf(key) + "\n" + path});
        EXPECT_TRUE(shown_.Messages.empty());
    } else {
        EXPECT_EQ(shown_.Messages, std::vector<std::string>{Text(key) + "\n" + path});
        EXPECT_TRUE(services_.Shown.empty());
    }
}

TEST_P(ExportFailure, ATestThatDoesNotExistShowsTheExportErrorAndWritesNothing) {
    const std::string path = dir_.File(std::string("missing.") + Format().Ext);
    EXPECT_FALSE(Make(path, 404)->Export());
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{Text("IMPEXP_TESTEXPORT_ERROR")});
    EXPECT_TRUE(services_.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportFailure, ::testing::ValuesIn(FormatCases({DotForm()})), CaseName);

TEST_F(ExchangeTest, ExportFormatsFollowTheDialogsFileTypes) {
    std::vector<std::string> exts;
    for (const TExportFormat& f : ExportFormats()) {
        exts.push_back(f.Ext);
        EXPECT_NE(Text(f.FilterKey), "");
    }
    EXPECT_EQ(exts, (std::vector<std::string>{"kvt", "xml", "csv", "kvw"}));
}

TEST_F(ExchangeTest, AuthorValuesLoseLineBreaksAndAreCutTo255Bytes) {
    const std::string path = dir_.File("long.kvt");
    TExportKVTTest exporter(path, kFixtureTest, std::string(300, 'n'), "two\r\nlines", "c", false);
    EXPECT_EQ(exporter.AuthorName, std::string(255, 'n'));
    EXPECT_EQ(exporter.AuthorEmail, "two  lines");
    ASSERT_TRUE(exporter.Export());
    TTest copy;
    exporter.ExchangeStore->GetTest(kFixtureTest, copy);
    EXPECT_EQ(copy.AuthorName, std::string(255, 'n'));
    EXPECT_EQ(copy.AuthorEmail, "two  lines");
    EXPECT_FALSE(copy.Private);
}

namespace {

// A name in the program's code page and what it must become in the UTF-8 exports.
struct TCodePageCase {
    const char* Codeset;
    const char* Local;
    const char* Utf8;
};

const TCodePageCase kCodePages[] = {
    {"UTF-8", "Gr\xC3\xB6\xC3\x9F" "e", "Gr\xC3\xB6\xC3\x9F" "e"},
    {"CP1251", "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
    {"ISO-8859-1", "K\xF6ln", "K\xC3\xB6ln"},
};

class NonAsciiName : public ExchangeTest, public ::testing::WithParamInterface<TCodePageCase> {};

}  // namespace

TEST_P(NonAsciiName, SurvivesTheExportsAsUtf8WithoutAByteOrderMark) {
    const TCodePageCase& c = GetParam();
    ScopedCodePage page(c.Codeset);
    EditStored(Open().Tests, kFixtureTest, [&](TTest& test) { test.Name = c.Local; });

    for (const TExportFormat& format : ExportFormats()) {
        SCOPED_TRACE(format.Ext);
        const std::string path = dir_.File(std::string("name.") + format.Ext);
        ASSERT_TRUE(format.Make(path, kFixtureTest, "", "", "", false)->Export());
        const std::string ext = format.Ext;
        const std::string bytes = ext == "kvt" || ext == "kvw" ? DecodeText(ReadBytes(path)) : ReadBytes(path);
        if (ext == "kvt") {
            // The exchange text file keeps the data file's code page.
            EXPECT_NE(bytes.find(std::string("\r\n") + c.Local + "\r\n"), std::string::npos);
            continue;
        }
        EXPECT_NE(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
        EXPECT_NE(bytes.find(c.Utf8), std::string::npos) << bytes.substr(0, 200);
    }
}

std::string CodesetName(const ::testing::TestParamInfo<TCodePageCase>& param) {
    std::string name = param.param.Codeset;
    std::erase(name, '-');
    return name;
}

INSTANTIATE_TEST_SUITE_P(CodePages, NonAsciiName, ::testing::ValuesIn(kCodePages), CodesetName);
