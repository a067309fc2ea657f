#include <gtest/gtest.h>

#include "platform/ShortDates.h"
#include "tests/runner/RunnerTestSupport.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"

namespace {

// A test of two questions and two scales under a "," locale:
// - "First scale" has interpretations [0, 10] "Low score" and [10, 20] "High score";
// - "Second" has a blank description, so its name titles it, and an interpretation [0, 5]
//   with a blank description, so its name "Small" is used.
// "Good" counts on both scales, "Wind" is chosen and unchosen again, and a weight bound to no
// scale counts nowhere. The scores are 10 (on the boundary) and 2.5.
void FillMoodTest(TFileAccess& store) {
    store.Settings = {',', platform::DateOrder::DMY, '.'};
    store.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, "Group"));
    TTest t = Item<TTest>(5, 1, "Mood [short] & more");
    t.Instruction = "Answer as you feel.";
    t.MoveDirection = 3;
    t.ReplayEnabled = true;
    store.Tests.AddTest(t);

    const auto described = [](auto record, const char* description) {
        record.Description = description;
        return record;
    };
    store.Scales.AddScale(described(Item<TScale>(1, 5, "S1", 0), "First scale"));
    store.Scales.AddScale(described(Item<TScale>(2, 5, "Second", 1), "   "));
    const auto interpretation = [&](std::int32_t id, std::int32_t scaleID, const char* name, const char* description,
                                    double min, double max, int order) {
        TInterpretation i = described(Item<TInterpretation>(id, scaleID, name, order), description);
        i.Minimum = min;
        i.Maximum = max;
        store.Interpretations.AddInterpretation(i);
    };
    interpretation(1, 1, "low", "Low score", 0, 10, 0);
    interpretation(2, 1, "high", "High score", 10, 20, 1);
    interpretation(3, 2, "Small", " ", 0, 5, 0);

    const auto question = [&](std::int32_t id, const char* name, const char* description, bool multiple, int order) {
        TStimul q = described(Item<TStimul>(id, 5, name, order), description);
        q.MultipleAnswers = multiple;
        q.AnswersLimit = 2;
        store.Stimuli.AddStimulus(q);
    };
    question(1, "Feel", "How do you feel?", false, 0);
    question(2, "Pick", "Pick all\r\nthat apply", true, 1);
    store.Reactions.AddReaction(described(Item<TReaction>(1, 1, "g", 0), "Good"));
    store.Reactions.AddReaction(described(Item<TReaction>(2, 1, "Bad [really]", 1), ""));
    store.Reactions.AddReaction(described(Item<TReaction>(3, 2, "sun", 0), "Sun & rain"));
    store.Reactions.AddReaction(described(Item<TReaction>(4, 2, "Wind", 1), ""));
    const auto weight = [&](std::int32_t id, std::int32_t reactionID, std::int32_t scaleID, double value) {
        TWeight w = Item<TWeight>(id, reactionID, "");
        w.ScaleID = scaleID;
        w.Value = value;
        store.Weights.AddWeight(w);
    };
    weight(1, 1, 1, 7.5);
    weight(2, 1, 2, 2.5);
    weight(3, 1, -1, 50);
    weight(4, 1, 1, 1000);   // a second weight of the same answer on the same scale never counts
    weight(5, 2, 1, 1);
    weight(6, 3, 1, 2.5);
    weight(7, 4, 1, 100);
}

std::string Expected(const char* name) { return ReadBytes(std::string(ORVEL_TEST_DATA) + "/" + name); }

class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        FillMoodTest(store);
        env.Today = platform::EncodeDate(2024, 3, 5);
        rig = std::make_unique<TRunnerRig>(store, 5);
        // Good; then Wind and Sun & rain, and Wind unchosen again.
        rig->Run("start next click:0 next click:1 click:0 click:1 end");
        ASSERT_EQ(rig->Runner->Chosen(), (std::vector<std::int32_t>{1, 3}));
    }
    // The report file of a command, its name typed without or with its extension.
    std::string Report(std::uint8_t command, const std::string& typed) {
        env.SetupValues = {dir.File(typed), true};
        rig->Runner->ExecuteCommand(command);
        const bool hasExt = typed.size() > 4 && typed.compare(typed.size() - 4, 4, ".txt") == 0;
        return ReadBytes(dir.File(hasExt ? typed : typed + ".txt"));
    }

    TRunnerTestEnvironment env;
    TFileAccess store;
    TempDir dir;
    std::unique_ptr<TRunnerRig> rig;
};

}  // namespace

TEST_F(ReportFiles, ResultsEqualTheExpectedFile) {
    EXPECT_EQ(Report(rnResults, "results"), Expected("runner_results.txt"));
    EXPECT_EQ(env.Opened, std::vector<std::string>{dir.File("results.txt")});
    EXPECT_TRUE(env.Messages.empty());
}

TEST_F(ReportFiles, ProtocolEqualsTheExpectedFile) {
    EXPECT_EQ(Report(rnProtocol, "protocol.txt"), Expected("runner_protocol.txt"));
    EXPECT_TRUE(env.Messages.empty());
    // Making the protocol changes nothing of the run.
    EXPECT_EQ(rig->Runner->Chosen(), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(rig->Runner->Screen(), rsEndScreen);
}

TEST_F(ReportFiles, ScoresAndInterpretations) {
    const auto scores = rig->Runner->ComputeScores();
    ASSERT_EQ(scores.size(), 2u);
    EXPECT_EQ(scores[0].Score, 10);
    EXPECT_EQ(scores[1].Score, 2.5);
    EXPECT_EQ(rig->Runner->InterpretationOf(1, 10), "Low score");   // the first range that holds it
    EXPECT_EQ(rig->Runner->InterpretationOf(1, 10.5), "High score");
    EXPECT_EQ(rig->Runner->InterpretationOf(1, 20.5), "");
    // A sum that is shown as 10 is compared as 10.
    EXPECT_EQ(rig->Runner->InterpretationOf(1, 0.1 + 0.2 + 9.7), "Low score");
    EXPECT_EQ(rig->Runner->InterpretationOf(1, 20.000000000000004), "High score");
}

TEST_F(ReportFiles, CancelledSetupWritesNothing) {
    env.SetupResult = 2;
    EXPECT_EQ(Report(rnResults, "cancelled.txt"), "");
    EXPECT_EQ(env.SetupCalls, 1);
    EXPECT_TRUE(env.Opened.empty());
}

TEST_F(ReportFiles, ReportsAreRefusedAwayFromTheEndScreen) {
    rig->Run("goto:0");
    EXPECT_EQ(Report(rnResults, "early.txt"), "");
    EXPECT_EQ(Report(rnProtocol, "early.txt"), "");
    EXPECT_EQ(env.SetupCalls, 0);
}

TEST(ReportHead, ATestWithoutScalesHasOnlyTheHead) {
    TRunnerTestEnvironment env;
    TFileAccess store;
    FillSixQuestions(store, {3, true, {}});
    TRunnerRig rig(store, kSixTestID);
    const std::string t = rig.Runner->ResultsTemplate(platform::EncodeDate(2024, 12, 31));
    EXPECT_EQ(t,
              "[HEADER1]Testing report&&&&&[HEADER2]&&&&&Date: 2024-12-31&&&&&"
              "[HEADER2]&&&&&Test: \"Six questions\"&&&&&[HEADER2]&&&&&Results&&&&&[TEXT]&&&&&");
}
