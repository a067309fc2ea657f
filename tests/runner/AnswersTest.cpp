#include <gtest/gtest.h>

#include "tests/runner/RunnerTestSupport.h"

namespace {

struct Row {
    const char* Name;
    bool Multiple;
    int Limit;
    const char* Script;   // after "start next": the run stands on question 0
    std::vector<std::int32_t> Chosen;
    const char* Error;
    int Focus;            // where the keyboard focus ends on the page
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.Name; }

const std::int32_t a00 = AnswerID(0, 0), a01 = AnswerID(0, 1), a02 = AnswerID(0, 2), a10 = AnswerID(1, 0);

const Row kRows[] = {
    {"single choice replaces the previous answer", false, 0, "click:0 click:1", {a01}, "", -99999},
    {"clicking the chosen answer unchooses it", false, 0, "click:1 click:1", {}, "", -99999},
    {"multiple keeps the order chosen", true, 3, "click:2 click:0", {a02, a00}, "", -99999},
    {"a third choice over a limit of two", true, 2, "click:0 click:1 click:2", {a00, a01}, "Too many answers are chosen.",
     -99999},
    {"unchoosing makes room again", true, 2, "click:0 click:1 click:2 click:0 click:2", {a01, a02},
     "Too many answers are chosen.", -99999},
    {"a limit of zero allows nothing", true, 0, "click:0", {}, "Too many answers are chosen.", -99999},
    {"answers of all questions in the order chosen", false, 0, "click:1 next click:0 back click:2", {a10, a02}, "",
     -99999},
    {"space on a focused answer toggles it once", false, 0, "focus:1 space", {a01}, "", 1},
    {"space twice toggles it back", true, 3, "focus:2 space focus:0 space focus:2 space", {a00}, "", 2},
    {"down from outside the answers wraps to the first", false, 0, "focus:- down", {}, "", 0},
    {"down past the last answer wraps to the first", false, 0, "focus:3 down", {}, "", 0},
    {"up from outside the answers wraps to the last", false, 0, "focus:- up", {}, "", 2},
    {"an arrow keeps a focus inside the answers", false, 0, "focus:1 up", {}, "", 1},
};

class Answers : public ::testing::TestWithParam<Row> {};

}  // namespace

TEST_P(Answers, ChoicesFollowTheQuestionsRules) {
    const Row& r = GetParam();
    TSixRun run({3, true, {}, r.Multiple, r.Limit});
    TRunnerRig& rig = *run.Rig;
    const TRunnerTestEnvironment& env = run.Env;
    rig.Run("start next");
    rig.Run(r.Script);
    EXPECT_EQ(rig.Runner->Chosen(), r.Chosen);
    std::string errors;
    for (const auto& m : env.Messages) errors += m;
    EXPECT_EQ(errors, r.Error);
    EXPECT_EQ(rig.View.Focus, r.Focus);
    // What the page shows yellow is what is chosen.
    EXPECT_EQ(rig.View.Highlighted, rig.Runner->Chosen());
}

INSTANTIATE_TEST_SUITE_P(Runner, Answers, ::testing::ValuesIn(kRows), [](const auto& testCase) { return CaseName(testCase.param.Name); });

TEST(AnswerKeys, SpaceOnAFocusedLinkActsAsItsClick) {
    TSixRun run({2, true, {}});
    TRunnerRig& rig = *run.Rig;
    rig.Run("start");
    rig.View.FocusLink = TNavLinkKind::Next;
    rig.Run("space");
    EXPECT_EQ(rig.View.PageText, "Q0");
    rig.Run("next");
    rig.View.FocusLink = TNavLinkKind::Back;
    rig.Run("space");
    EXPECT_EQ(rig.View.PageText, "Q0");
    EXPECT_TRUE(rig.Runner->Chosen().empty());
}

TEST(AnswerKeys, ArrowsDoNothingOffTheQuestionScreen) {
    TSixRun run({2, true, {}});
    TRunnerRig& rig = *run.Rig;
    rig.Run("start focus:- down");
    EXPECT_EQ(rig.View.Focus, -99999);
}

TEST(AnswerKeys, TheScreensTextsAndLinks) {
    TRunnerTestEnvironment env;
    TFileAccess store;
    FillSixQuestions(store, {2, true, {}});
    // A question titled by its description and an answer of several lines.
    ASSERT_TRUE(store.Stimuli.Locate(11));
    TStimul q = store.Stimuli.GetRecordOf();
    q.Description = "How are you\r\ntoday?";
    store.Stimuli.EditStimulus(q);
    ASSERT_TRUE(store.Reactions.Locate(AnswerID(1, 0)));
    TReaction a = store.Reactions.GetRecordOf();
    a.Description = "Fine,\r\nthank you";
    store.Reactions.EditReaction(a);
    ASSERT_TRUE(store.Reactions.Locate(AnswerID(1, 1)));
    a = store.Reactions.GetRecordOf();
    a.Description = " \t ";
    store.Reactions.EditReaction(a);

    TRunnerRig rig(store, kSixTestID);
    rig.Run("start");
    EXPECT_EQ(rig.View.PageText, "Read this first.");
    EXPECT_FALSE(rig.View.Links.Back);
    EXPECT_EQ(rig.View.Links.NextText, "Next");
    rig.Run("next next");
    EXPECT_EQ(rig.View.PageText, "How are you\r\ntoday?");
    ASSERT_EQ(rig.View.Answers.size(), 3u);
    EXPECT_EQ(rig.View.Answers[0].Text, "Fine,\rthank you");
    EXPECT_EQ(rig.View.Answers[1].Text, "A1.1");
    EXPECT_EQ(rig.View.Answers[1].ReactionID, AnswerID(1, 1));
    EXPECT_EQ(rig.View.Links.BackText, "Back");
    EXPECT_EQ(rig.View.Links.NextText, "Next");
}

TEST(AnswerKeys, NormalizeLineBreaks) {
    EXPECT_EQ(TTestRunner::NormalizeLineBreaks("a\r\nb\r\n\r\nc\rd\ne"), "a\rb\r\rc\rd\ne");
    EXPECT_EQ(TTestRunner::NormalizeLineBreaks("end\r"), "end\r");
}
