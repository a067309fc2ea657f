// The quick text import without the tree: the reading of the text into blocks, and the objects
// that the blocks become in the store.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/SafeFile.h"
#include "store/FileAccess.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"
#include "tree/QuickImport.h"

namespace {

// The texts are UTF-8, whatever the machine's locale says.
class QuickImport : public ::testing::Test {
protected:
    QuickImport() : saved_(platform::CodePage::Current()) { platform::CodePage::SetCurrent(platform::CodePage("UTF-8")); }
    ~QuickImport() override { platform::CodePage::SetCurrent(saved_); }

private:
    platform::CodePage saved_;
};

using Blocks = std::vector<TQuickImportBlock>;

struct ParseCase {
    const char* Name;
    std::string Text;
    Blocks Expected;
};

const std::string k400(400, 'x');

const ParseCase kParseCases[] = {
    {"CR LF", "Anxiety\r\nLow\r\nHigh\r\n\r\nStress\r\n", {{"Anxiety", {"Low", "High"}}, {"Stress", {}}}},
    {"LF", "Anxiety\nLow\nHigh\n\nStress\n", {{"Anxiety", {"Low", "High"}}, {"Stress", {}}}},
    {"CR", "Anxiety\rLow\rHigh\r\rStress\r", {{"Anxiety", {"Low", "High"}}, {"Stress", {}}}},
    {"mixed line ends", "A\rB\nC\r\n\n\rD", {{"A", {"B", "C"}}, {"D", {}}}},
    {"a last line without a line end", "A\nB", {{"A", {"B"}}}},
    {"a NUL ends the text", std::string("A\nB\0C\n\nD", 9), {{"A", {"B"}}}},
    {"a NUL first", std::string("\0A\nB", 4), {}},
    {"blank lines in a row are one separator", "A\n\n\n\nB\r\n\r\n\r\nC", {{"A", {}}, {"B", {}}, {"C", {}}}},
    {"leading blank lines", "\n\r\n  \t\nA\nB", {{"A", {"B"}}}},
    {"lines of blanks separate", "A\nB\n \t \x01\nC\nD", {{"A", {"B"}}, {"C", {"D"}}}},
    {"trimming bytes 0 to 32", " \t\x01" "A b\x1f \n\x0b\x0c" "B\t\t", {{"A b", {"B"}}}},
    {"bytes above 32 stay", "\x7f" "A" "\x7f", {{"\x7f" "A" "\x7f", {}}}},
    {"a 400-character line", k400 + "\n" + k400, {{k400, {k400}}}},
    {"an empty file", "", {}},
    {"blank lines only", "\n \r\n\t\r", {}},
    {"a byte-order mark", "\xEF\xBB\xBF" "A\nB", {{"A", {"B"}}}},
    {"a byte-order mark before a blank line", "\xEF\xBB\xBF\nA", {{"A", {}}}},
    {"bytes that do not decode", "A\xFF" "B\n\xC3", {{"A\xEF\xBF\xBD" "B", {"\xEF\xBF\xBD"}}}},
    {"UTF-8 text stays", "Ängstlichkeit\nniedrig", {{"Ängstlichkeit", {"niedrig"}}}},
};

}  // namespace

TEST_F(QuickImport, ReadsTheTextIntoBlocks) {
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ParseQuickImport(c.Text), c.Expected);
    }
}

TEST_F(QuickImport, ReadsAFileWholeAndRefusesWhatItCannotRead) {
    TempDir dir;
    const std::string file = dir.File("scales.txt");
    platform::WriteFileAtomic(file, "Anxiety\r\nLow\r\n");
    EXPECT_EQ(ReadQuickImportFile(file), "Anxiety\r\nLow\r\n");
    EXPECT_THROW(ReadQuickImportFile(dir.File("missing.txt")), platform::EFileError);
    EXPECT_THROW(ReadQuickImportFile(dir.Path()), platform::EFileError) << "a folder";
}

namespace {

// Test 1 holds scales with Orders 0 and 4 and questions with Orders 0 and 1, each question with an
// answer; test 2 a scale and a question that stand after them in the tables.
void FillStore(TFileAccess& s) {
    s.Scales.AddScale(Item<TScale>(1, 1, "Mood", 0));
    s.Scales.AddScale(Item<TScale>(2, 1, "Energy", 4));
    s.Scales.AddScale(Item<TScale>(3, 2, "Focus", 0));
    s.Interpretations.AddInterpretation(Item<TInterpretation>(1, 1, "Low", 0));
    s.Stimuli.AddStimulus(Item<TStimul>(1, 1, "Q1", 0));
    s.Stimuli.AddStimulus(Item<TStimul>(2, 1, "Q2", 1));
    s.Stimuli.AddStimulus(Item<TStimul>(3, 2, "Q3", 0));
    s.Reactions.AddReaction(Item<TReaction>(1, 1, "A1", 0));
    s.Reactions.AddReaction(Item<TReaction>(2, 2, "A2", 0));
    s.Reactions.AddReaction(Item<TReaction>(3, 3, "A3", 0));
    for (TObjectTable* t : s.AllTables()) t->Sort();
}

// The table as "ID parent order name | description" lines, in table order.
template <class Table>
std::vector<std::string> Lines(const Table& table) {
    std::vector<std::string> out;
    for (int i = 0; i < table.RecordCount(); ++i) {
        const auto& r = table.At(i);
        out.push_back(std::to_string(r.ID) + " " + std::to_string(r.ParentID) + " " + std::to_string(r.Order) + " " +
                      r.Name + " | " + r.Description);
    }
    return out;
}

using L = std::vector<std::string>;

}  // namespace

// The scales of the example: a scale with two interpretations and a scale without; the new
// scales come after the test's scales, and the tables stay in order.
TEST_F(QuickImport, ScalesWithTheirInterpretations) {
    TFileAccess s;
    FillStore(s);
    TQuickImportCount count;
    StoreQuickImportScales(s, 1, ParseQuickImport("Anxiety\nLow\nHigh\n\nStress"), "Interpretation", count);
    EXPECT_EQ(count.Top, 2);
    EXPECT_EQ(count.Children, 2);
    EXPECT_EQ(Lines(s.Scales), (L{"1 1 0 Mood | ", "2 1 4 Energy | ", "4 1 5 Anxiety | Anxiety", "5 1 6 Stress | Stress",
                                  "3 2 0 Focus | "}));
    EXPECT_EQ(Lines(s.Interpretations),
              (L{"1 1 0 Low | ", "2 4 0 Interpretation 1 | Low", "3 4 1 Interpretation 2 | High"}));
    for (int i = 1; i <= 2; ++i) {
        const TInterpretation& in = s.Interpretations.At(i);
        EXPECT_EQ(in.Minimum, 0);
        EXPECT_EQ(in.Maximum, 0);
    }
    EXPECT_TRUE(s.Scales.IsInOrder());
    EXPECT_TRUE(s.Interpretations.IsInOrder());
    EXPECT_TRUE(s.Scales.Modified());
}

TEST_F(QuickImport, QuestionsWithTheirAnswers) {
    TFileAccess s;
    FillStore(s);
    TQuickImportCount count;
    StoreQuickImportStimuli(s, 1, ParseQuickImport("  Do you plan?\t\r\n Always \r\nNever\r\n \r\nDo you rest?\r\nYes"),
                            count);
    EXPECT_EQ(count.Top, 2);
    EXPECT_EQ(count.Children, 3);
    EXPECT_EQ(Lines(s.Stimuli), (L{"1 1 0 Q1 | ", "2 1 1 Q2 | ", "4 1 2 Do you plan? | Do you plan?",
                                   "5 1 3 Do you rest? | Do you rest?", "3 2 0 Q3 | "}));
    EXPECT_EQ(Lines(s.Reactions), (L{"1 1 0 A1 | ", "2 2 0 A2 | ", "3 3 0 A3 | ", "4 4 0 Always | Always",
                                     "5 4 1 Never | Never", "6 5 0 Yes | Yes"}));
    // Every imported question is mandatory and takes one answer.
    for (std::int32_t id : {4, 5}) {
        const TStimul& q = s.Stimuli.At(s.Stimuli.IndexOfID(id));
        EXPECT_TRUE(q.AnswerRequired);
        EXPECT_EQ(q.AnswersLimit, 1);
        EXPECT_FALSE(q.MultipleAnswers);
    }
    EXPECT_TRUE(s.Stimuli.IsInOrder());
    EXPECT_TRUE(s.Reactions.IsInOrder());
}

// A name is its line's first 255 bytes, never half a character; the description is the whole
// line.
TEST_F(QuickImport, LongLinesAreCutForTheNameOnly) {
    const std::string ascii(400, 'q');
    const std::string wide = std::string(254, 'a') + "\xC3\xA4" + "tail";
    TFileAccess s;
    TQuickImportCount count;
    StoreQuickImportStimuli(s, 7, ParseQuickImport(ascii + "\n" + wide), count);
    StoreQuickImportScales(s, 7, ParseQuickImport(wide + "\n" + ascii), std::string(300, 'I'), count);
    EXPECT_EQ(s.Stimuli.At(0).Name, ascii.substr(0, 255));
    EXPECT_EQ(s.Stimuli.At(0).Description, ascii);
    EXPECT_EQ(s.Reactions.At(0).Name, std::string(254, 'a'));
    EXPECT_EQ(s.Reactions.At(0).Description, wide);
    EXPECT_EQ(s.Scales.At(0).Name, std::string(254, 'a'));
    EXPECT_EQ(s.Scales.At(0).Description, wide);
    EXPECT_EQ(s.Interpretations.At(0).Name, std::string(255, 'I'));
    EXPECT_EQ(s.Interpretations.At(0).Description, ascii);
}

// Importing the same file twice adds every object twice, with new IDs, the second time after the
// first; a text without a non-empty line adds nothing.
TEST_F(QuickImport, ASecondImportComesAfterTheFirst) {
    TFileAccess s;
    FillStore(s);
    TQuickImportCount count;
    const Blocks blocks = ParseQuickImport("Calm\nYes\n");
    StoreQuickImportStimuli(s, 2, blocks, count);
    StoreQuickImportStimuli(s, 2, blocks, count);
    StoreQuickImportStimuli(s, 2, ParseQuickImport("\r\n  \r\n"), count);
    EXPECT_EQ(count.Top, 2);
    EXPECT_EQ(count.Children, 2);
    EXPECT_EQ(Lines(s.Stimuli), (L{"1 1 0 Q1 | ", "2 1 1 Q2 | ", "3 2 0 Q3 | ", "4 2 1 Calm | Calm", "5 2 2 Calm | Calm"}));
    EXPECT_EQ(Lines(s.Reactions),
              (L{"1 1 0 A1 | ", "2 2 0 A2 | ", "3 3 0 A3 | ", "4 4 0 Yes | Yes", "5 5 0 Yes | Yes"}));
}

TEST_F(QuickImport, EveryOtherRecordKeepsItsPlaceTiesIncluded) {
    // Five tests whose scales all share Order 0: ties that a sort may swap.
    TFileAccess s(TempDir().File("p.kvd"));
    for (int t = 1; t <= 5; ++t)
        for (int k = 0; k < 4; ++k) {
            TScale scale;
            scale.ID = s.Scales.NewID();
            scale.ParentID = t;
            scale.Order = 0;
            scale.Name = "T" + std::to_string(t) + "S" + std::to_string(k);
            s.Scales.AddScale(scale);
        }
    const auto namesOf = [](const TScaleTable& table, std::int32_t parent) {
        std::vector<std::string> names;
        for (int i : table.IndexesOfParent(parent)) names.push_back(table.At(i).Name);
        return names;
    };
    std::vector<std::vector<std::string>> before;
    for (int t = 1; t <= 5; ++t) before.push_back(namesOf(s.Scales, t));

    TQuickImportCount count;
    StoreQuickImportScales(s, 2, ParseQuickImport("New\nLow\n\nOther"), "Interpretation", count);
    for (int t = 1; t <= 5; ++t) {
        std::vector<std::string> want = before[static_cast<std::size_t>(t - 1)];
        if (t == 2) want.insert(want.end(), {"New", "Other"});
        EXPECT_EQ(namesOf(s.Scales, t), want) << "test " << t;
    }
    // The table stays in order, so the saved file holds the records as the tree shows them.
    EXPECT_TRUE(s.Scales.IsInOrder());
    const std::string folder = std::filesystem::path(s.FileName).parent_path().string();
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(s.SaveAll());
    TFileAccess loaded(s.FileName);
    ASSERT_TRUE(loaded.LoadAll());
    for (int t = 1; t <= 5; ++t) EXPECT_EQ(namesOf(loaded.Scales, t), namesOf(s.Scales, t)) << "test " << t;
}
