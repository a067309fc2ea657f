#include <algorithm>
#include <filesystem>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "platform/RealNumbers.h"
#include "platform/SafeFile.h"
#include "platform/ShortDates.h"
#include "store/FileAccess.h"
#include "store/XorCoding.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/LocaleCases.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/ScopedStoreServices.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"

using platform::DateOrder;
using platform::FormatSettings;

namespace {

const std::string kViolated = ScopedStoreServices::TextOf("FILEACC_FILE_VIOLATED_MSG");

class StoreFile : public ::testing::Test {
protected:
    ScopedStoreServices services;
    TempDir dir;
    std::string Path(const std::string& name = "project.kvd") const { return dir.File(name); }
};

// The records of every table of from, in a shuffled order.
void ShuffledCopy(const TFileAccess& from, TFileAccess& to, std::uint32_t seed) {
    std::mt19937 rng(seed);
    ForEachFileTable(from, to, [&](const auto& src, auto& dst) {
        std::vector<int> order(static_cast<std::size_t>(src.RecordCount()));
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        std::shuffle(order.begin(), order.end(), rng);
        for (int i : order) dst.AddRecord(src.At(i));
    });
}

}  // namespace

TEST(StoreLifecycle, CreateAndModified) {
    TFileAccess s("some.kvd");
    EXPECT_EQ(s.FileName, "some.kvd");
    EXPECT_FALSE(s.LoginRequired);
    EXPECT_TRUE(s.FileText.empty());
    EXPECT_FALSE(s.IsModified());
    for (const TObjectTable* t : s.AllTables()) EXPECT_EQ(t->RecordCount(), 0) << t->ClassName();

    // Any one table's flag makes the store modified; SetModified reaches all eight.
    for (std::size_t i = 0; i < 8; ++i) {
        s.SetModified(false);
        s.AllTables()[i]->SetModified(true);
        EXPECT_TRUE(s.IsModified()) << s.AllTables()[i]->ClassName();
    }
    s.SetModified(true);
    for (const TObjectTable* t : s.AllTables()) EXPECT_TRUE(t->Modified()) << t->ClassName();
    s.SetModified(false);
    EXPECT_FALSE(s.IsModified());
    s.Users.AddUser(1, "admin", "");
    EXPECT_TRUE(s.IsModified());
}

TEST(StoreLifecycle, TheGlobalStoreIsOneSlot) {
    ASSERT_EQ(GlobalStore(), nullptr);   // no project at start
    GlobalStore() = std::make_unique<TFileAccess>("open.kvd");
    EXPECT_EQ(GlobalStore()->FileName, "open.kvd");
    GlobalStore().reset();
    EXPECT_EQ(GlobalStore(), nullptr);
}

class FixtureSave : public StoreFile, public ::testing::WithParamInterface<std::pair<FormatSettings, std::string>> {};

TEST_P(FixtureSave, WritesTheHandWrittenFileAndLoadsItBack) {
    const auto& [settings, name] = GetParam();
    TFileAccess s(Path(), settings);
    FillFixture(s);
    ASSERT_TRUE(s.SaveAll()) << s.LastError;
    EXPECT_EQ(ReadBytes(s.FileName), TestDataFile(name + ".kvd"));
    EXPECT_EQ(s.FileText, TestDataFile(name + ".txt"));
    EXPECT_FALSE(s.IsModified());
    EXPECT_TRUE(s.LastError.empty());
    EXPECT_TRUE(services.Shown.empty());
    // One bar of 15 steps, stepped 16 times: the product record, eight sorts, seven sections.
    ASSERT_EQ(services.Bars.size(), 1u);
    EXPECT_EQ(services.Bars[0].Steps, 15);
    EXPECT_EQ(services.Bars[0].Done, 16);

    TFileAccess back(std::string(ORVEL_TEST_DATA) + "/" + name + ".kvd", settings);
    ASSERT_TRUE(back.LoadAll()) << back.LastError;
    ExpectSameStore(s, back);
    EXPECT_FALSE(back.IsModified());
    ASSERT_EQ(services.Bars.size(), 2u);
    EXPECT_EQ(services.Bars[1].Steps, 7);
    EXPECT_EQ(services.Bars[1].Done, 7);
}

INSTANTIATE_TEST_SUITE_P(Settings, FixtureSave,
                         ::testing::Values(std::make_pair(FormatSettings{'.', DateOrder::YMD, '-'}, std::string("fixture_dot")),
                                           std::make_pair(FormatSettings{',', DateOrder::DMY, '.'}, std::string("fixture_comma"))),
                         [](const auto& testCase) { return testCase.param.second; });

TEST_F(StoreFile, GeneratedProjectSurvivesSaveAndLoad) {
    // Generated in parent order, then shuffled, so that the save has to sort every table.
    TFileAccess generated;
    GenerateProject(generated, ProjectSize{3, 12, 6, 4, 3, 3, 3}, 7);
    TFileAccess s(Path("first.kvd"));
    ShuffledCopy(generated, s, 11);

    ASSERT_TRUE(s.SaveAll()) << s.LastError;
    for (const TObjectTable* t : s.AllTables()) EXPECT_TRUE(t->IsInOrder()) << t->ClassName();
    // The order is the one of the table sort itself, ties included.
    TFileAccess sorted;
    ShuffledCopy(generated, sorted, 11);
    for (TObjectTable* t : sorted.AllTables()) t->Sort();
    ExpectSameStore(s, sorted);
    const std::string first = ReadBytes(s.FileName);

    TFileAccess back(s.FileName);
    ASSERT_TRUE(back.LoadAll()) << back.LastError;
    ExpectSameStore(s, back);
    EXPECT_FALSE(back.IsModified());

    back.FileName = Path("second.kvd");
    ASSERT_TRUE(back.SaveAll());
    EXPECT_TRUE(ReadBytes(back.FileName) == first);
    ExpectSameStore(s, back);
    ASSERT_TRUE(s.SaveAll());
    EXPECT_TRUE(ReadBytes(s.FileName) == first);

    // What the generator puts in is there: negative reals, empty and multi-line texts.
    const auto any = [](const auto& t, auto pred) {
        for (int i = 0; i < t.RecordCount(); ++i)
            if (pred(t.At(i))) return true;
        return false;
    };
    EXPECT_TRUE(any(back.Weights, [](const TWeight& w) { return w.Value < 0 && w.Value != static_cast<int>(w.Value); }));
    EXPECT_TRUE(any(back.Tests, [](const TTest& t) { return t.Description.find("\r\n") != std::string::npos; }));
    EXPECT_TRUE(any(back.Tests, [](const TTest& t) { return t.Description.empty(); }));
}

TEST_F(StoreFile, EmptyStoreWritesTheHeadersAlone) {
    TFileAccess s(Path());
    ASSERT_TRUE(s.SaveAll());
    EXPECT_EQ(ReadBytes(s.FileName), TestDataFile("empty_project.kvd"));

    TFileAccess back(s.FileName);
    back.SetModified(true);
    ASSERT_TRUE(back.LoadAll());
    for (const TObjectTable* t : back.AllTables()) EXPECT_EQ(t->RecordCount(), 0) << t->ClassName();
    EXPECT_FALSE(back.IsModified());
}

TEST_F(StoreFile, EachChoiceWritesItsOwnSection) {
    // The members of the choice stand in another order than the sections of the file.
    struct Case {
        bool TSectionChoice::*member;
        const char* section;
    };
    const Case cases[] = {
        {&TSectionChoice::TestGroups, "TEST_GROUPS"}, {&TSectionChoice::Tests, "TESTS"},
        {&TSectionChoice::Scales, "SCALES"},          {&TSectionChoice::Interpretations, "INTERPRETATIONS"},
        {&TSectionChoice::Stimuli, "STIMULS"},        {&TSectionChoice::Reactions, "REACTIONS"},
        {&TSectionChoice::Weights, "WEIGHTS"},
    };
    TFileAccess s(Path());
    FillFixture(s);
    const std::string product = TestDataFile("product_only.txt");
    for (const auto& c : cases) {
        TSectionChoice one;
        one.*(c.member) = true;
        ASSERT_TRUE(s.Save(true, one)) << c.section;
        // The section as it stands in the hand-written file, up to the next header.
        const std::string fixture = TestDataFile("fixture_dot.txt");
        const std::size_t start = fixture.find(std::string("[") + c.section + "]\r\n");
        const std::size_t end = fixture.find("\r\n[", start);
        const std::string section = fixture.substr(start, end == std::string::npos ? end : end + 2 - start);
        EXPECT_EQ(DecodeText(ReadBytes(s.FileName)), product + section) << c.section;

        TFileAccess back(s.FileName);
        EXPECT_TRUE(back.Load(true, one)) << c.section;
        for (const auto& other : cases) {
            if (other.section == c.section) continue;
            TSectionChoice wrong;
            wrong.*(other.member) = true;
            EXPECT_FALSE(TFileAccess(s.FileName).Load(true, wrong)) << c.section << " as " << other.section;
        }
    }

    ASSERT_TRUE(s.Save(true, TSectionChoice{}));
    EXPECT_EQ(ReadBytes(s.FileName), TestDataFile("product_only.kvd"));
}

TEST_F(StoreFile, ASectionLeftOutFailsTheLoadThatAsksForIt) {
    TFileAccess s(Path());
    FillFixture(s);
    TSectionChoice exchange = TSectionChoice::All();
    exchange.TestGroups = false;
    ASSERT_TRUE(s.Save(true, exchange));
    EXPECT_EQ(s.FileText.find("[TEST_GROUPS]"), std::string::npos);

    TFileAccess all(s.FileName);
    EXPECT_FALSE(all.LoadAll());
    EXPECT_EQ(all.LastError, kViolated);
    EXPECT_TRUE(services.Shown.empty());   // the caller shows it

    TFileAccess without(s.FileName);
    ASSERT_TRUE(without.Load(true, exchange)) << without.LastError;
    EXPECT_TRUE(without.LastError.empty());
    EXPECT_EQ(without.TestGroups.RecordCount(), 0);
    EXPECT_EQ(without.Weights.RecordCount(), 2);
    EXPECT_FALSE(without.IsModified());
}

TEST_F(StoreFile, LoadFailures) {
    // No file: nothing is read, the first section is missing.
    TFileAccess missing(Path("missing.kvd"));
    EXPECT_FALSE(missing.LoadAll());
    EXPECT_EQ(missing.LastError, kViolated);
    for (const TObjectTable* t : missing.AllTables()) EXPECT_EQ(t->RecordCount(), 0);
    EXPECT_TRUE(TFileAccess(Path("missing.kvd")).Load(true, TSectionChoice{}));   // nothing asked for

    // A folder is no data file: the reader's own message.
    TFileAccess folder(dir.Path());
    EXPECT_FALSE(folder.LoadAll());
    EXPECT_NE(folder.LastError.find("not a regular file"), std::string::npos) << folder.LastError;

    // A plain (uncoded) file decodes to bytes without sections.
    WriteBytes(Path("plain.kvd"), TestDataFile("fixture_dot.txt"));
    TFileAccess plain(Path("plain.kvd"));
    EXPECT_FALSE(plain.LoadAll());
    EXPECT_EQ(plain.LastError, kViolated);

    // A bad value in a later section: nothing of the file stays.
    std::string text = TestDataFile("fixture_dot.txt");
    const std::size_t weights = text.find("[WEIGHTS]\r\n0\r\n1\r\n1\r\n1\r\nw1\r\n2.5");
    ASSERT_NE(weights, std::string::npos);
    text.replace(text.find("2.5", weights), 3, "2,5");
    WriteBytes(Path("bad.kvd"), EncodeText(text));
    TFileAccess bad(Path("bad.kvd"));
    EXPECT_FALSE(bad.LoadAll());
    EXPECT_EQ(bad.LastError, kViolated);
    EXPECT_EQ(bad.Interpretations.RecordCount(), 0);
    EXPECT_FALSE(bad.Interpretations.Modified());

    // A message key the language file lacks: its own error instead.
    StoreServices().MessageText = [](const std::string& key) -> std::string {
        throw Exception("Inner Error -> No such message; Bad file! - " + key + " absent");
    };
    TFileAccess nokey(Path("missing.kvd"));
    EXPECT_FALSE(nokey.LoadAll());
    EXPECT_EQ(nokey.LastError, "Inner Error -> No such message; Bad file! - FILEACC_FILE_VIOLATED_MSG absent");
}

TEST_F(StoreFile, ADamagedFileSaysWhereItIsDamaged) {
    using K = TLoadFailureKind;
    struct Case {
        const char* Name;
        const char* From;   // a piece of the fixture's text, replaced by To
        const char* To;
        TLoadFailure Expected;
    };
    const char* const secondWeight = "\r\n\r\n1\r\n2\r\n2\r\n-1\r\nw2\r\n-0.75\r\n\r\n";
    const Case cases[] = {
        {"missing section", "[WEIGHTS]", "[WEIGHTZ]", {K::MissingSection, "WEIGHTS", 0, 0}},
        {"bad real", "w1\r\n2.5\r\n", "w1\r\n2.5x\r\n", {K::BadReal, "WEIGHTS", 1, 6}},
        {"bad integer", secondWeight, "\r\n\r\none\r\n2\r\n2\r\n-1\r\nw2\r\n-0.75\r\n\r\n", {K::BadInteger, "WEIGHTS", 2, 1}},
        {"bad date", "2024-03-15", "15th March", {K::BadDate, "TESTS", 1, 16}},
        {"duplicate ID", secondWeight, "\r\n\r\n1\r\n1\r\n2\r\n-1\r\nw2\r\n-0.75\r\n\r\n", {K::DuplicateID, "WEIGHTS", 2, 2}},
        {"out-of-range ID", "[WEIGHTS]\r\n0\r\n1\r\n", "[WEIGHTS]\r\n0\r\n0\r\n", {K::OutOfRange, "WEIGHTS", 1, 2}},
        {"incomplete record", secondWeight, "\r\n\r\n1\r\n2\r\n2\r\n-1\r\nw2\r\n", {K::IncompleteRecord, "WEIGHTS", 2, 5}},
    };
    const std::string fixture = TestDataFile("fixture_dot.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string text = fixture;
        const std::size_t at = text.find(c.From);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string_view(c.From).size(), c.To);
        WriteBytes(Path(), EncodeText(text));
        TFileAccess s(Path());
        EXPECT_FALSE(s.LoadAll());
        EXPECT_EQ(s.LastError, kViolated);
        EXPECT_EQ(s.LoadFailure, c.Expected);
        for (const TObjectTable* t : s.AllTables()) EXPECT_EQ(t->RecordCount(), 0) << t->ClassName();
        // One line naming the section, the record and the line within it.
        const std::string where = DescribeLoadFailure(s.LoadFailure);
        EXPECT_EQ(where.find('\n'), std::string::npos) << where;
        EXPECT_NE(where.find(c.Expected.Section), std::string::npos) << where;
        if (c.Expected.Record > 0) {
            EXPECT_NE(where.find(", " + ScopedStoreServices::TextOf("FILEACC_DAMAGE_AT_RECORD") + " " +
                                 std::to_string(c.Expected.Record)),
                      std::string::npos)
                << where;
        }
    }

    // Coded bytes cut inside a byte: no section to name.
    WriteBytes(Path(), EncodeText(fixture).substr(0, 101));
    TFileAccess cut(Path());
    EXPECT_FALSE(cut.LoadAll());
    EXPECT_EQ(cut.LoadFailure, (TLoadFailure{K::CutShort, "", 0, 0}));
    EXPECT_EQ(DescribeLoadFailure(cut.LoadFailure), ScopedStoreServices::TextOf("FILEACC_DAMAGE_CUT_SHORT"));

    // A load that reads clears what an earlier one left.
    WriteBytes(Path(), EncodeText(fixture));
    ASSERT_TRUE(cut.LoadAll()) << cut.LastError;
    EXPECT_EQ(cut.LoadFailure, TLoadFailure{});
    EXPECT_EQ(DescribeLoadFailure(cut.LoadFailure), "");

    // A file that cannot be read at all has its own message and nothing to point at.
    TFileAccess folder(dir.Path());
    EXPECT_FALSE(folder.LoadAll());
    EXPECT_EQ(folder.LoadFailure.Kind, K::Unreadable);
    EXPECT_EQ(DescribeLoadFailure(folder.LoadFailure), "");
}

TEST_F(StoreFile, FailedSaveLeavesTheFileAndTheModifiedState) {
    TFileAccess s(Path());
    FillFixture(s);
    WriteBytes(s.FileName, "old bytes");
    ASSERT_TRUE(s.IsModified());

    const ScopedFailingWrites failing(2);   // this save and the next one
    EXPECT_FALSE(s.SaveAll());
    EXPECT_EQ(ReadBytes(s.FileName), "old bytes");
    EXPECT_TRUE(s.IsModified());
    ASSERT_EQ(services.Shown.size(), 1u);
    EXPECT_NE(services.Shown[0].find("Cannot create file"), std::string::npos) << services.Shown[0];
    EXPECT_EQ(s.LastError, services.Shown[0]);

    // A store that was not modified stays so, though the save sorted its tables.
    TFileAccess clean(Path());
    TScale a, b;
    a.ID = 1;
    a.ParentID = 2;
    b.ID = 2;
    b.ParentID = 1;
    clean.Scales.AddScale(a);
    clean.Scales.AddScale(b);
    clean.SetModified(false);
    EXPECT_FALSE(clean.SaveAll());
    EXPECT_FALSE(clean.IsModified());
    EXPECT_EQ(ReadBytes(clean.FileName), "old bytes");

    // A folder that does not exist: nothing is created.
    TFileAccess nowhere(dir.File("no/such/folder/p.kvd"));
    FillFixture(nowhere);
    EXPECT_FALSE(nowhere.SaveAll());
    EXPECT_TRUE(nowhere.IsModified());
    EXPECT_FALSE(platform::FileExists(nowhere.FileName));
    EXPECT_EQ(services.Shown.size(), 3u);

    // No file name at all.
    TFileAccess unnamed;
    EXPECT_FALSE(unnamed.SaveAll());
    EXPECT_FALSE(unnamed.LastError.empty());

    // The next save goes through and clears the error.
    ASSERT_TRUE(s.SaveAll());
    EXPECT_TRUE(s.LastError.empty());
    EXPECT_EQ(ReadBytes(s.FileName), TestDataFile("fixture_dot.kvd"));
}

TEST_F(StoreFile, ProductInfo) {
    TFileAccess s(Path());
    FillFixture(s);
    ASSERT_TRUE(s.SaveAll());

    TFileAccess check(s.FileName);
    TProductInfo info{"x", "y"};
    check.ReadProductInfo(info);   // before LoadFileText: nothing to read
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.ProductVersion, "");
    check.LoadFileText();
    check.ReadProductInfo(info);
    EXPECT_EQ(info.ProductName, "Orvel");
    EXPECT_EQ(info.ProductVersion, "2.0.1");

    // A file without the record.
    WriteBytes(Path("norecord.kvd"), EncodeText(TFileAccess::GetSection("TESTS", s.FileText) + "\r\n"));
    TFileAccess none(Path("norecord.kvd"));
    none.LoadFileText();
    info = {"x", "y"};
    none.ReadProductInfo(info);
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.ProductVersion, "");

    // A record of one line, and a long product name, which the save cuts.
    none.FileText = "[PRODUCT_INFO]\r\nOnly";
    none.ReadProductInfo(info);
    EXPECT_EQ(info.ProductName, "Only");
    EXPECT_EQ(info.ProductVersion, "");
    StoreServices().ProgramProductInfo = [] { return TProductInfo{std::string(300, 'n'), "2.0.1"}; };
    ASSERT_TRUE(s.SaveAll());
    check.LoadFileText();
    check.ReadProductInfo(info);
    EXPECT_EQ(info.ProductName, std::string(255, 'n'));
    EXPECT_EQ(info.ProductVersion, "2.0.1");
}

TEST(StoreProductInfo, VersionParts) {
    struct Case {
        const char* version;
        int part;
        int expected;   // kThrows: a conversion error
    };
    constexpr int kThrows = 1 << 30;
    const Case cases[] = {
        {"2.0.1", 1, 2},       {"2.0.1", 2, 0},      {"2.0.1", 3, 1},      {"2.0.1", 4, -99999},
        {"2.0.1", 0, -99999},  {"2.0.1", -1, -99999}, {"14.12.305", 3, 305}, {"1.x.3", 1, 1},
        {"1.x.3", 2, kThrows}, {"1.2.3.4", 3, kThrows}, {"1.2.3.4", 2, 2},   {"2.0", 1, kThrows},
        {"2", 1, kThrows},     {"", 1, kThrows},      {"..", 1, kThrows},   {"", 5, -99999},
    };
    for (const auto& c : cases) {
        const TProductInfo info{"Orvel", c.version};
        if (c.expected == kThrows) {
            EXPECT_THROW(TFileAccess::GetVersionPart(info, c.part), EConvertError) << c.version << " " << c.part;
        } else {
            EXPECT_EQ(TFileAccess::GetVersionPart(info, c.part), c.expected) << c.version << " " << c.part;
        }
    }
}

TEST_F(StoreFile, HeaderLikeValuesAndTwoDigitYearLocalesSurviveSaveAndLoad) {
    // en_US writes its short dates with a two-digit year; the file keeps all four.
    const FormatSettings us = FormatSettings::FromLocaleStrings(".", "%m/%d/%y");
    TFileAccess s(Path(), us);
    TTestGroup intro = Item<TTestGroup>(1, -1, "[Intro]", 0);
    intro.Description = "[x]";
    s.TestGroups.AddTestGroup(intro);
    TTest test = Item<TTest>(1, 1, "[TESTS]", 0);
    test.Created = platform::EncodeDate(2024, 7, 1);
    test.Instruction = "[WEIGHTS]";
    s.Tests.AddTest(test);
    s.Scales.AddScale(Item<TScale>(1, 1, "[WEIGHTS]", 0));
    ASSERT_TRUE(s.SaveAll()) << s.LastError;

    TFileAccess back(Path(), us);
    ASSERT_TRUE(back.LoadAll()) << back.LastError;
    ExpectSameStore(s, back);
    int year = 0, month = 0, day = 0;
    ASSERT_TRUE(platform::DecodeDate(back.Tests.At(0).Created, year, month, day));
    EXPECT_EQ(year, 2024);
    EXPECT_NE(DecodeText(ReadBytes(Path())).find("\r\n07/01/2024\r\n"), std::string::npos);
    // The text of the file is not kept once its records are read.
    EXPECT_TRUE(back.FileText.empty());
    EXPECT_EQ(back.FileText.capacity(), std::string().capacity());
}

TEST_F(StoreFile, AProjectSavedUnderOneLocaleLoadsUnderEveryOther) {
    for (const LocaleCase& writer : CommonLocales()) {
        TFileAccess saved(Path(writer.Name + ".kvd"), writer.Settings);
        FillFixture(saved);   // a date after the 12th, reals with decimals, negative ones
        ASSERT_TRUE(saved.SaveAll()) << saved.LastError;
        for (const LocaleCase& reader : CommonLocales()) {
            SCOPED_TRACE(writer.Name + " -> " + reader.Name);
            TFileAccess back(saved.FileName, reader.Settings);
            ASSERT_TRUE(back.LoadAll()) << back.LastError;
            ExpectSameStore(saved, back);
            // The next save is the reader's own.
            EXPECT_EQ(back.Settings, reader.Settings);
            back.Tests.SetModified(true);
            ASSERT_TRUE(back.SaveAll()) << back.LastError;
            EXPECT_NE(back.FileText.find("\r\n" + platform::FormatShortDate(saved.Tests.At(0).Created, reader.Settings) + "\r\n"),
                      std::string::npos);
        }
    }
}

TEST_F(StoreFile, TheUsersOwnFormComesFirstWhereTwoFormsReadAFile) {
    // 01/02/2024 is the first of February day-first and the second of January month-first.
    const FormatSettings dayFirst = FormatSettings::FromLocaleStrings(".", "%d/%m/%Y");
    const FormatSettings monthFirst = FormatSettings::FromLocaleStrings(".", "%m/%d/%Y");
    TFileAccess s(Path(), dayFirst);
    FillFixture(s);
    TTest test = s.Tests.At(0);
    test.Created = platform::EncodeDate(2024, 2, 1);
    ASSERT_TRUE(s.Tests.Locate(test.ID));
    s.Tests.EditTest(test);
    ASSERT_TRUE(s.SaveAll()) << s.LastError;
    ASSERT_NE(s.FileText.find("\r\n01/02/2024\r\n"), std::string::npos);

    TFileAccess own(Path(), dayFirst);
    ASSERT_TRUE(own.LoadAll()) << own.LastError;
    EXPECT_EQ(own.Tests.At(0).Created, platform::EncodeDate(2024, 2, 1));
    TFileAccess other(Path(), monthFirst);
    ASSERT_TRUE(other.LoadAll()) << other.LastError;
    EXPECT_EQ(other.Tests.At(0).Created, platform::EncodeDate(2024, 1, 2));
}

TEST_F(StoreFile, AFileThatNoFormReadsWholeLeavesTheTablesAsTheyWere) {
    // Decimal commas in one section and decimal points in another: no single form reads both.
    std::string text = TestDataFile("fixture_dot.txt");
    const std::size_t weights = text.find("[WEIGHTS]");
    ASSERT_NE(weights, std::string::npos);
    const std::size_t value = text.find("2.5", weights);
    ASSERT_NE(value, std::string::npos);
    text.replace(value, 3, "2,5");
    WriteBytes(Path(), EncodeText(text));
    for (const LocaleCase& reader : CommonLocales()) {
        SCOPED_TRACE(reader.Name);
        TFileAccess s(Path(), reader.Settings);
        EXPECT_FALSE(s.LoadAll());
        EXPECT_EQ(s.LastError, kViolated);
        EXPECT_EQ(s.Settings, reader.Settings);
        for (const TObjectTable* t : s.AllTables()) {
            EXPECT_EQ(t->RecordCount(), 0) << t->ClassName();
            EXPECT_FALSE(t->Modified()) << t->ClassName();
        }
    }
}

TEST_F(StoreFile, ALargeProjectCutShortIsRefusedWherever) {
    TFileAccess large(Path("large.kvd"));
    GenerateProject(large, ProjectSize::Large());
    ASSERT_TRUE(large.SaveAll()) << large.LastError;
    const std::string whole = ReadBytes(large.FileName);

    // Inside each section, in a line (an odd and an even number of digits) and at a line break,
    // then at the end of the file, and where an interrupted copy of it once stopped.
    std::vector<std::size_t> cuts;
    for (const char* name : {"PRODUCT_INFO", "TEST_GROUPS", "TESTS", "STIMULS", "REACTIONS", "SCALES",
                             "INTERPRETATIONS", "WEIGHTS"}) {
        const std::size_t start = large.FileText.find(TFileAccess::SectionHeader(name));
        ASSERT_NE(start, std::string::npos) << name;
        const std::size_t middle = start + (TFileAccess::GetSection(name, large.FileText).size() + 1) / 2;
        cuts.push_back(2 * middle + 1);
        const std::size_t lineBreak = large.FileText.find("\r\n", middle);
        cuts.push_back(2 * (lineBreak + 1));   // between CR and LF
    }
    for (const std::size_t back : {1, 2, 4}) cuts.push_back(whole.size() - back);
    cuts.push_back(10'000'000);
    ASSERT_EQ(cuts.size(), 20u);

    for (const std::size_t cut : cuts) {
        SCOPED_TRACE(cut);
        ASSERT_LT(cut, whole.size());
        const std::string bytes = whole.substr(0, cut);
        WriteBytes(Path("cut.kvd"), bytes);
        TFileAccess s(Path("cut.kvd"));
        EXPECT_FALSE(s.LoadAll());
        EXPECT_EQ(s.LastError, kViolated);
        for (const TObjectTable* t : s.AllTables()) EXPECT_EQ(t->RecordCount(), 0) << t->ClassName();
        EXPECT_TRUE(ReadBytes(Path("cut.kvd")) == bytes);
    }
}

TEST_F(StoreFile, TheLargestRealsSaveAndLoadBack) {
    const double largest = std::numeric_limits<double>::max();
    for (const LocaleCase& locale : CommonLocales()) {
        SCOPED_TRACE(locale.Name);
        TFileAccess s(Path(), locale.Settings);
        FillFixture(s);
        TInterpretation range = Item<TInterpretation>(2, 1, "Anything", 1);
        range.Minimum = -largest;
        range.Maximum = largest;
        s.Interpretations.AddInterpretation(range);
        TWeight heavy = Item<TWeight>(3, 1, "heavy", 2);
        heavy.ScaleID = 1;
        heavy.Value = -largest;
        s.Weights.AddWeight(heavy);
        ASSERT_TRUE(s.SaveAll()) << s.LastError;

        TFileAccess back(Path(), locale.Settings);
        ASSERT_TRUE(back.LoadAll()) << back.LastError;
        const TInterpretation& readRange = back.Interpretations.At(back.Interpretations.IndexOfID(2));
        EXPECT_EQ(readRange.Minimum, platform::RoundToShown(-largest));
        EXPECT_EQ(readRange.Maximum, platform::RoundToShown(largest));
        EXPECT_EQ(back.Weights.At(back.Weights.IndexOfID(3)).Value, platform::RoundToShown(-largest));
        // Loaded and saved again, the file stays as it was.
        const std::string first = ReadBytes(Path());
        back.Weights.SetModified(true);
        ASSERT_TRUE(back.SaveAll()) << back.LastError;
        EXPECT_TRUE(ReadBytes(Path()) == first);
    }
}

TEST_F(StoreFile, AReadOnlyFileRefusesTheSaveWithItsMessage) {
    TFileAccess s(Path());
    FillFixture(s);
    WriteBytes(s.FileName, "old bytes");
    // Without write permission for anybody: refused for every user, the administrator too.
    std::filesystem::permissions(s.FileName, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(s.SaveAll());
    EXPECT_EQ(ReadBytes(s.FileName), "old bytes");
    EXPECT_TRUE(s.IsModified());
    EXPECT_EQ(std::filesystem::status(s.FileName).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_EQ(s.LastError, ScopedStoreServices::TextOf("FILEACC_FILE_READONLY_MSG") + "\n" + s.FileName);
    EXPECT_EQ(services.Shown, std::vector<std::string>{s.LastError});

    // Given write permission again, the same store saves.
    std::filesystem::permissions(s.FileName, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_TRUE(s.SaveAll()) << s.LastError;
    TFileAccess back(s.FileName);
    ASSERT_TRUE(back.LoadAll()) << back.LastError;
    ExpectSameStore(s, back);
}
