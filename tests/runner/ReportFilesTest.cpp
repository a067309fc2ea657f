#include <gtest/gtest.h>

#include "platform/ShortDates.h"
#include "tests/runner/RunnerTestSupport.h"
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
    TTestGroup g;
    g.ID = 1;
    g.ParentID = -1;
    g.Name = "Group";
    store.TestGroups.AddTestGroup(g);
    TTest t;
    t.ID = 5;
    t.ParentID = 1;
    t.Name = "Mood [short] & more";
    t.Instruction = "Answer as you feel.";
    t.MoveDirection = 3;
    t.ReplayEnabled = true;
    store.Tests.AddTest(t);

    auto scale = [&](std::int32_t id, const char* name, const char* description, int order) {
        TScale s;
        s.ID = id;
        s.ParentID = 5;
        s.Name = name;
        s.Description = description;
        s.Order = order;
        store.Scales.AddScale(s);
    };
    scale(1, "S1", "First scale", 0);
    scale(2, "Second", "   ", 1);
    auto interpretation = [&](std::int32_t id, std::int32_t scaleID, const char* name, const char* description,
                              double min, double max, int order) {
        TInterpretation i;
        i.ID = id;
        i.ParentID = scaleID;
        i.Name = name;
        i.Description = description;
        i.Minimum = min;
        i.Maximum = max;
        i.Order = order;
        store.Interpretations.AddInterpretation(i);
    };
    interpretation(1, 1, "low", "Low score", 0, 10, 0);
    interpretation(2, 1, "high", "High score", 10, 20, 1);
    interpretation(3, 2, "Small", " ", 0, 5, 0);

    auto question = [&](std::int32_t id, const char* name, const char* description, bool multiple, int order) {
        TStimul q;
        q.ID = id;
        q.ParentID = 5;
        q.Name = name;
        q.Description = description;
        q.MultipleAnswers = multiple;
        q.AnswersLimit = 2;
        q.Order = order;
        store.Stimuli.AddStimulus(q);
    };
    question(1, "Feel", "How do you feel?", false, 0);
    question(2, "Pick", "Pick all\r\nthat apply", true, 1);
    auto answer = [&](std::int32_t id, std::int32_t questionID, const char* name, const char* description, int order) {
        TReaction a;
        a.ID = id;
        a.ParentID = questionID;
        a.Name = name;
        a.Description = description;
        a.Order = order;
        store.Reactions.AddReaction(a);
    };
    answer(1, 1, "g", "Good", 0);
    answer(2, 1, "Bad [really]", "", 1);
    answer(3, 2, "sun", "Sun & rain", 0);
    answer(4, 2, "Wind", "", 1);
    auto weight = [&](std::int32_t id, std::int32_t reactionID, std::int32_t scaleID, double value) {
        TWeight w;
        w.ID = id;
        w.ParentID = reactionID;
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
    EXPECT_EQ(Report(wm::rnResults, "results"), Expected("runner_results.txt"));
    EXPECT_EQ(env.Opened, std::vector<std::string>{dir.File("results.txt")});
    EXPECT_TRUE(env.Messages.empty());
}

TEST_F(ReportFiles, ProtocolEqualsTheExpectedFile) {
    EXPECT_EQ(Report(wm::rnProtocol, "protocol.txt"), Expected("runner_protocol.txt"));
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
    EXPECT_EQ(Report(wm::rnResults, "cancelled.txt"), "");
    EXPECT_EQ(env.SetupCalls, 1);
    EXPECT_TRUE(env.Opened.empty());
}

TEST_F(ReportFiles, ReportsAreRefusedAwayFromTheEndScreen) {
    rig->Run("goto:0");
    EXPECT_EQ(Report(wm::rnResults, "early.txt"), "");
    EXPECT_EQ(Report(wm::rnProtocol, "early.txt"), "");
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
