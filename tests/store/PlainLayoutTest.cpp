// The plain 1.4.2 layout that the converter library writes: recognised from the bytes, loaded
// with the fields it lacks at their defaults, and saved again in the program's coded layout.
#include <gtest/gtest.h>

#include <string>

#include "store/FileAccess.h"
#include "store/XorCoding.h"
#include "tests/support/LocaleCases.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kData = ORVEL_TEST_DATA;

// Every value of the records the file keeps, one record a line.
std::string Dump(const TFileAccess& s) {
    std::string out;
    const auto line = [&](const TAnyObject& r, const std::string& more) {
        out += std::to_string(r.ID) + " " + std::to_string(r.ParentID) + " " + std::to_string(r.Order) + " [" + r.Name +
               "] [" + r.Description + "]" + more + "\n";
    };
    for (int i = 0; i < s.TestGroups.RecordCount(); ++i) line(s.TestGroups.At(i), "");
    for (int i = 0; i < s.Tests.RecordCount(); ++i) {
        const TTest& t = s.Tests.At(i);
        line(t, " [" + t.Annotation + "] [" + t.Instruction + "] " + std::to_string(t.MoveDirection) +
                    std::to_string(t.ReplayEnabled) + std::to_string(t.StopEnabled) + std::to_string(t.SpareFlag) + " " +
                    std::to_string(t.TimeLimit) + " [" + t.AuthorName + t.AuthorEmail + t.Copyright + t.SpareText +
                    "] " + std::to_string(t.Created) + std::to_string(t.Private));
    }
    for (int i = 0; i < s.Stimuli.RecordCount(); ++i) {
        const TStimul& q = s.Stimuli.At(i);
        line(q, " " + std::to_string(q.MultipleAnswers) + " " + std::to_string(q.AnswersLimit) + " " +
                    std::to_string(q.AnswerRequired));
    }
    for (int i = 0; i < s.Reactions.RecordCount(); ++i) line(s.Reactions.At(i), "");
    for (int i = 0; i < s.Scales.RecordCount(); ++i) line(s.Scales.At(i), "");
    for (int i = 0; i < s.Interpretations.RecordCount(); ++i) {
        const TInterpretation& n = s.Interpretations.At(i);
        line(n, " " + std::to_string(n.Maximum) + " " + std::to_string(n.Minimum));
    }
    for (int i = 0; i < s.Weights.RecordCount(); ++i) {
        const TWeight& w = s.Weights.At(i);
        line(w, " " + std::to_string(w.ScaleID) + " " + std::to_string(w.Value));
    }
    return out;
}

// The content of old_project.kvd as the program holds it after the conversion.
const char* const kConverted =
    "1 -1 0 [First group] []\n"
    "2 -1 1 [Second group] [Holds the second test]\n"
    "1 1 0 [Study=habits] [] [Line one\r\nLine two] [Answer honestly] 2101 0 [] 0.0000000\n"
    "2 2 0 [Interests] [Second\r\ntest] [] [Pick\r\n&one] 1010 30 [] 0.0000000\n"
    "1 1 0 [I keep notes] [Tick all that apply] 1 2 0\n"
    "3 1 1 [I plan my week] [] 0 1 1\n"
    "2 2 0 [Which subject?] [null] 1 -1 1\n"
    "1 1 0 [Yes] []\n"
    "2 1 1 [No] []\n"
    "3 2 0 [Physics] [Natural science]\n"
    "4 3 0 [Always] []\n"
    "1 1 0 [Organisation] [How well\r\nyou plan]\n"
    "2 2 0 [Interest] []\n"
    "1 1 0 [Low] [Plans little] 2.500000 0.000000\n"
    "2 1 1 [High] [] 10.000000 2.500000\n"
    "3 2 0 [Any] [] -1.000000 -0.750000\n"
    "1 1 0 [w] [] 1 2.000000\n"
    "2 2 0 [w] [] 1 -1.500000\n"
    "4 3 0 [p] [] 2 1.000000\n"
    "3 4 0 [unbound] [] -1 0.250000\n";

}  // namespace

TEST(PlainLayout, TheLayoutIsToldFromTheBytes) {
    EXPECT_TRUE(TFileAccess::IsCodedLayout(""));
    EXPECT_TRUE(TFileAccess::IsCodedLayout("0123456789ABCDEFabcdef"));
    EXPECT_FALSE(TFileAccess::IsCodedLayout("FC\r\n"));
    EXPECT_FALSE(TFileAccess::IsCodedLayout("[PRODUCT_INFO]"));
    EXPECT_EQ(TFileAccess::PlainTextOf(EncodeText("a\r\nb")), "a\r\nb");
    EXPECT_EQ(TFileAccess::PlainTextOf("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
}

TEST(PlainLayout, TheConvertersFileLoadsModifiedAndSavesInTheProgramsLayout) {
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, ReadBytes(kData + "/old_project_142.kvd"));
    TFileAccess store(name);
    ASSERT_TRUE(store.LoadEitherLayout()) << store.LastError;
    EXPECT_EQ(Dump(store), kConverted);
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(store.Users.RecordCount(), 0);

    ASSERT_TRUE(store.SaveAll());
    EXPECT_TRUE(TFileAccess::IsCodedLayout(ReadBytes(name)));
    TFileAccess reloaded(name);
    ASSERT_TRUE(reloaded.LoadEitherLayout());
    EXPECT_FALSE(reloaded.IsModified());
    EXPECT_EQ(Dump(reloaded), kConverted);
}

class PlainLayoutLocales : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(PlainLayoutLocales, RealsAreReadInTheFormTheyWereWrittenIn) {
    const platform::FormatSettings& fs = GetParam().Settings;
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    std::string text = ReadBytes(kData + "/old_project_142.kvd");
    if (fs.DecimalSeparator == ',') {
        for (const char* v : {"2.5\r\n", "-1.5\r\n", "-0.75\r\n", "0.25\r\n"})
            for (std::size_t p = text.find(v); p != std::string::npos; p = text.find(v, p + 1)) text[text.find('.', p)] = ',';
    }
    WriteBytes(name, text);
    TFileAccess store(name, fs);
    ASSERT_TRUE(store.LoadEitherLayout()) << store.LastError;
    EXPECT_EQ(Dump(store), kConverted);
}

INSTANTIATE_TEST_SUITE_P(Locales, PlainLayoutLocales, ::testing::ValuesIn(CommonLocales()),
                         [](const auto& row) { return row.param.Name; });

TEST(PlainLayout, AFileThatDoesNotReadLeavesTheStoreEmpty) {
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    for (const std::string& bad : {std::string("[TEST_GROUPS]\r\n0\r\nx\r\n"), std::string("plain text\n"),
                                   ReadBytes(kData + "/old_project.kvd"),
                                   // Coded throughout but for the last two bytes: not coded at all.
                                   ReadBytes(kData + "/fixture_dot.kvd") + "ZZ",
                                   ReadBytes(kData + "/fixture_dot.kvd") + "\r\n"}) {
        WriteBytes(name, bad);
        TFileAccess store(name);
        EXPECT_FALSE(store.LoadEitherLayout());
        EXPECT_FALSE(store.LastError.empty());
        EXPECT_EQ(Dump(store), "");
        EXPECT_FALSE(store.ReadingPlainLayout);
        EXPECT_EQ(ReadBytes(name), bad);
    }
}

TEST(PlainLayout, DigitsBeforeThePlainTextDoNotMakeTheFileCoded) {
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, "0A\r\n" + ReadBytes(kData + "/old_project_142.kvd"));
    TFileAccess store(name);
    ASSERT_TRUE(store.LoadEitherLayout()) << store.LastError;
    EXPECT_EQ(Dump(store), kConverted);
    EXPECT_TRUE(store.IsModified());
}
