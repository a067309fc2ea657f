#include <gtest/gtest.h>

#include "tests/runner/RunnerTestSupport.h"

namespace {

struct Row {
    const char* Name;
    std::uint8_t Direction;
    bool Replay;
    std::set<int> Mandatory;
    const char* Script;
    // Expected: the page ("instruction", "stimulus:<title>", "end:" with the end screen's links),
    // the current question, the visited questions, the chosen answers, the message boxes, the
    // menus (NBGPRMmC) and the Go-To items disabled.
    const char* Page;
    int Current;
    const char* Visited;
    std::vector<std::int32_t> Chosen;
    const char* Error;
    const char* Menus;
    const char* DisabledGoto;
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.Name; }

std::string PageOf(const TFakeView& v) {
    if (v.Page == "stimulus") return "stimulus:" + v.PageText;
    if (v.Page == "end") {
        std::vector<int> links;
        for (const auto& l : v.EndLinks) links.push_back(l.StimulusIndex);
        return "end:" + Join(links);
    }
    return v.Page;
}

std::string SetOf(const std::set<int>& s) { return Join(std::vector<int>(s.begin(), s.end())); }

// Six questions, indexes 0 to 5; "next*" repeats are written out.
const Row kRows[] = {
    // ForwardOnly: Next only; Back does nothing even when asked.
    {"forward only starts on the instruction", 1, false, {}, "start", "instruction", -1, "", {}, "", "N....M.C", ""},
    {"forward only first question", 1, false, {}, "start next", "stimulus:Q0", 0, "0", {}, "", "N....M.C", "0"},
    {"forward only ignores back", 1, false, {}, "start next next back", "stimulus:Q1", 1, "0,1", {}, "",
     "N....M.C", "0,1"},
    {"forward only next on the last question", 1, false, {}, "start next next next next next next next",
     "end:", 5, "0,1,2,3,4,5", {}, "", "...PRM.C", "0,1,2,3,4,5"},
    {"forward only with replay is the same", 1, true, {}, "start next next back", "stimulus:Q1", 1, "0,1", {}, "",
     "N....M.C", ""},
    {"forward only mandatory holds", 1, false, {1}, "start next next next", "stimulus:Q1", 1, "0,1", {},
     "Choose an answer first.", "N....M.C", "0,1"},
    {"forward only mandatory answered", 1, false, {1}, "start next next click:2 next", "stimulus:Q2", 2, "0,1,2",
     {AnswerID(1, 2)}, "", "N....M.C", "0,1,2"},
    // ForwardBack.
    {"forward back at the first question", 2, false, {}, "start next next back", "stimulus:Q0", 0, "0,1", {}, "",
     "N....M.C", "0,1"},
    {"forward back goes back one", 2, false, {}, "start next next next back", "stimulus:Q1", 1, "0,1,2", {}, "",
     "NB...M.C", "0,1,2"},
    {"forward back by the links", 2, true, {}, "start nextlink nextlink backlink", "stimulus:Q0", 0, "0,1", {}, "",
     "N....M.C", ""},
    {"forward back mandatory holds backwards", 2, false, {1}, "start next next back", "stimulus:Q1", 1, "0,1", {},
     "Choose an answer first.", "NB...M.C", "0,1"},
    {"forward back ignores go to index out of range", 2, false, {}, "start next goto:6 goto:-1", "stimulus:Q0", 0,
     "0", {}, "", "N....M.C", "0"},
    // Free with replay: back and next by one, Go To anywhere, mandatory does not hold.
    {"free replay go to and back", 3, true, {}, "start next goto:4 back", "stimulus:Q3", 3, "0,4,3", {}, "",
     "NBG..M.C", ""},
    {"free replay revisits", 3, true, {}, "start next next back next", "stimulus:Q1", 1, "0,1", {}, "", "NBG..M.C",
     ""},
    {"free replay final screen", 3, true, {}, "start next end", "end:", 0, "0", {}, "", "...PRM.C", ""},
    {"free replay mandatory left unanswered", 3, true, {1, 3}, "start next next next end", "end:1,3", 2, "0,1,2", {},
     "", ".....M.C", ""},
    {"free replay reports stay off", 3, true, {1}, "start next next end protocol results", "end:1", 1, "0,1", {}, "",
     ".....M.C", ""},
    {"free replay end link answers the question", 3, true, {1}, "start next next end endlink:1 click:0 end", "end:",
     1, "0,1", {AnswerID(1, 0)}, "", "...PRM.C", ""},
    {"free replay ignores go to beyond the run", 3, true, {}, "start next goto:9", "stimulus:Q0", 0, "0", {}, "",
     "N.G..M.C", ""},
    // Free without replay: visited questions are skipped both ways and leave the Go-To menu.
    {"free goes back past visited questions", 3, false, {}, "start next next next goto:5 back", "stimulus:Q4", 4,
     "0,1,2,5,4", {}, "", "NBG..M.C", "0,1,2,4,5"},
    {"free back stops when all before are visited", 3, false, {}, "start next next next goto:5 back back",
     "stimulus:Q3", 3, "0,1,2,5,4,3", {}, "", "N.G..M.C", "0,1,2,3,4,5"},
    {"free back when off does nothing", 3, false, {}, "start next next next goto:5 back back back", "stimulus:Q3", 3,
     "0,1,2,5,4,3", {}, "", "N.G..M.C", "0,1,2,3,4,5"},
    {"free next skips visited", 3, false, {}, "start next goto:3 goto:1 next next", "stimulus:Q4", 4, "0,3,1,2,4",
     {}, "", "N.G..M.C", "0,1,2,3,4"},
    {"free next past the last unvisited", 3, false, {}, "start next goto:5 goto:4 next", "end:", 4, "0,5,4", {}, "",
     "...PRM.C", "0,4,5"},
    {"free mandatory holds without replay", 3, false, {2}, "start next next next goto:4", "stimulus:Q2", 2, "0,1,2",
     {}, "Choose an answer first.", "N.G..M.C", "0,1,2"},
    {"free end screen link from the end screen", 3, false, {4}, "start next end endlink:4", "stimulus:Q4", 4, "0,4",
     {}, "", "NBG..M.C", "0,4"},
    // None: Next only, mandatory never holds.
    {"none next only", 0, false, {}, "start next next back", "stimulus:Q1", 1, "0,1", {}, "", "N....M.C", "0,1"},
    {"none mandatory does not hold", 0, false, {1}, "start next next next next next next next", "end:1", 5,
     "0,1,2,3,4,5", {}, "", ".....M.C", "0,1,2,3,4,5"},
    {"none no go to menu on the question", 0, true, {}, "start next", "stimulus:Q0", 0, "0", {}, "", "N....M.C", ""},
};

class Navigation : public ::testing::TestWithParam<Row> {};

}  // namespace

TEST_P(Navigation, ScriptLeadsToTheExpectedState) {
    const Row& r = GetParam();
    TSixRun run({r.Direction, r.Replay, r.Mandatory});
    TRunnerRig& rig = *run.Rig;
    const TRunnerTestEnvironment& env = run.Env;
    rig.Run(r.Script);

    EXPECT_EQ(PageOf(rig.View), r.Page);
    EXPECT_EQ(rig.Runner->Current(), r.Current);
    EXPECT_EQ(Join(rig.Runner->Visited()), r.Visited);
    EXPECT_EQ(rig.Runner->Chosen(), r.Chosen);
    std::string errors;
    for (const auto& m : env.Messages) errors += m;
    EXPECT_EQ(errors, r.Error);
    EXPECT_EQ(rig.View.Menus.Letters(), r.Menus);
    EXPECT_EQ(SetOf(rig.View.Menus.DisabledGoto), r.DisabledGoto);
    EXPECT_EQ(env.SetupCalls, 0);   // no row may reach a report
}

INSTANTIATE_TEST_SUITE_P(Runner, Navigation, ::testing::ValuesIn(kRows), [](const auto& testCase) { return CaseName(testCase.param.Name); });

TEST(NavigationEdges, ATestWithoutQuestionsStaysOnItsInstruction) {
    TSixRun run({3, true, {}}, kEmptyTestID);
    TRunnerRig& rig = *run.Rig;
    rig.Run("start");
    EXPECT_FALSE(rig.View.Links.Next);
    EXPECT_EQ(rig.View.Menus.Letters(), ".....M.C");
    rig.Run("next nextlink back");
    EXPECT_EQ(rig.View.Page, "instruction");
    EXPECT_EQ(rig.View.PageText, "Read this first.");
    EXPECT_EQ(rig.Runner->Current(), -1);
    EXPECT_TRUE(rig.Runner->Visited().empty());
}

TEST(NavigationEdges, AFailedLeaveChangesNeitherPageNorMenus) {
    TSixRun run({1, false, {0}}, kSixTestID);
    TRunnerRig& rig = *run.Rig;
    rig.Run("start next");
    const auto noticesBefore = rig.View.Notices.size();
    const int highlightsBefore = rig.View.HighlightCalls;
    rig.Run("next");
    EXPECT_EQ(run.Env.Messages, std::vector<std::string>{"Choose an answer first."});
    EXPECT_EQ(rig.View.Notices.size(), noticesBefore);   // no menu notice at all
    EXPECT_EQ(rig.View.HighlightCalls, highlightsBefore); // and no redraw
    EXPECT_EQ(rig.View.PageText, "Q0");
}

TEST(NavigationEdges, TheRunKeepsTheQuestionsItStartedWith) {
    TSixRun run({3, true, {}}, kSixTestID);
    TRunnerRig& rig = *run.Rig;
    rig.Run("start next goto:5");
    // A question added to the test in the tree meanwhile is not part of this run.
    TStimul extra;
    extra.ID = 99;
    extra.ParentID = kSixTestID;
    extra.Order = 6;
    extra.Name = "Added";
    run.Store.Stimuli.AddStimulus(extra);
    rig.Run("goto:6 next");
    EXPECT_EQ(rig.View.Page, "end");
    EXPECT_EQ(rig.Runner->Current(), 5);
    // And one removed from the store still shows from the run's own copy.
    ASSERT_TRUE(run.Store.Stimuli.Locate(10));
    run.Store.Stimuli.Delete();
    rig.Run("goto:0");
    EXPECT_EQ(rig.View.PageText, "Q0");
}

TEST(NavigationEdges, TheShownQuestionIsCheckedAndItsAnswersHighlightedAtOnce) {
    TSixRun run({3, true, {}}, kSixTestID);
    TRunnerRig& rig = *run.Rig;
    rig.Run("start next click:1 goto:3");
    EXPECT_EQ(rig.View.Menus.CheckedGoto, 3);
    rig.View.Highlighted.clear();
    rig.Run("goto:0");
    EXPECT_EQ(rig.View.Menus.CheckedGoto, 0);
    EXPECT_EQ(rig.View.Highlighted, std::vector<std::int32_t>{AnswerID(0, 1)});
}

TEST(NavigationEdges, ANewHostLearnsTheVisitedQuestionsAndTheCurrentOne) {
    TSixRun run({3, false, {}}, kSixTestID);
    TRunnerRig& rig = *run.Rig;
    rig.Run("start next next goto:4");
    TFakeView full;
    rig.Runner->SetHost(full, hmFullScreen);
    rig.Runner->ExecuteCommand(rnRedisplay);
    EXPECT_EQ(SetOf(full.Menus.DisabledGoto), "0,1,4");
    EXPECT_EQ(full.Menus.CheckedGoto, 4);
    EXPECT_EQ(full.Menus.Letters(), "NBG...m.");
    EXPECT_EQ(full.PageText, "Q4");
    // Back in the own window (its old page is drawn again there).
    rig.Runner->SetHost(rig.View, hmOwnWindow);
    rig.Runner->ExecuteCommand(rnRedisplay);
    EXPECT_EQ(rig.View.Menus.Letters(), "NBG..M.C");
    EXPECT_EQ(rig.View.Menus.CheckedGoto, 4);
}

TEST(NavigationEdges, AClosedHostIsLeftAlone) {
    TSixRun run({2, true, {}}, kSixTestID);
    TRunnerRig& rig = *run.Rig;
    rig.Run("start next");
    rig.View.Close();
    rig.View.Page = "kept";
    rig.Run("next click:0 redisplay");
    EXPECT_EQ(rig.View.Page, "kept");   // nothing was drawn into the closed window
    EXPECT_EQ(rig.Runner->Current(), 1);
}

TEST(NavigationEdges, AMandatoryQuestionWithoutAWayToAnswerItDoesNotHold) {
    struct Case {
        const char* Name;
        bool Multiple;
        int Limit;
        bool WithoutAnswers;
        bool Holds;
    };
    for (const Case& c : {Case{"single choice without answers", false, 0, true, false},
                          Case{"multiple with a limit of zero", true, 0, false, false},
                          Case{"multiple with a negative limit", true, -1, false, false},
                          Case{"multiple with a limit of one", true, 1, false, true},
                          Case{"single choice with answers", false, 0, false, true}}) {
        for (std::uint8_t direction : {1, 2, 3}) {
            TSixRun run({direction, false, {0}, c.Multiple, c.Limit}, kSixTestID);
            if (c.WithoutAnswers)
                for (int a = 0; a < 3; ++a) {
                    ASSERT_TRUE(run.Store.Reactions.Locate(AnswerID(0, a)));
                    run.Store.Reactions.Delete();
                }
            TRunnerRig& rig = *run.Rig;
            rig.Run("start next next");
            EXPECT_EQ(rig.Runner->Current(), c.Holds ? 0 : 1) << c.Name << " " << int(direction);
            EXPECT_EQ(run.Env.Messages.size(), c.Holds ? 1u : 0u) << c.Name;
            if (c.Holds) continue;
            rig.Run("next next next next next");
            EXPECT_EQ(rig.View.Page, "end") << c.Name;
            EXPECT_TRUE(rig.View.EndLinks.empty()) << c.Name;
            EXPECT_TRUE(rig.Runner->ReportsAllowed()) << c.Name;
        }
    }
}
