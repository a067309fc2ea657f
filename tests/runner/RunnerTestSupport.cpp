#include "tests/runner/RunnerTestSupport.h"

#include <cctype>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/WindowMessages.h"
#include "lang/DlgLangConverter.h"

struct TRunnerTestEnvironment::Saved {
    std::unique_ptr<TDlgLangConverter> Table;
    TReportServices Reports;
};

namespace {

class TFakeSetup : public IReportSetupDialog {
public:
    explicit TFakeSetup(TRunnerTestEnvironment& env) : env_(env) {}
    std::uint8_t Execute(TReportSetupValues& values) override {
        ++env_.SetupCalls;
        values = env_.SetupValues;
        return env_.SetupResult;
    }

private:
    TRunnerTestEnvironment& env_;
};

}  // namespace

TRunnerTestEnvironment::TRunnerTestEnvironment(const std::string& languageFile)
    : saved_(new Saved{lang::SetMessageTable(std::make_unique<TDlgLangConverter>(languageFile)),
                       ReportServices()}) {
    ReportServices().MakeSetupDialog = [this] { return std::make_unique<TFakeSetup>(*this); };
    ReportServices().Today = [this] { return Today; };
    ReportServices().OpenFile = [this](const std::string& f) {
        Opened.push_back(f);
        return OpenSucceeds;
    };
}

TRunnerTestEnvironment::~TRunnerTestEnvironment() {
    lang::SetMessageTable(std::move(saved_->Table));
    ReportServices() = saved_->Reports;
}

std::string RunnerLanguageFile() { return std::string(ORVEL_TEST_DATA) + "/runner_language.txt"; }

std::string TMenuStates::Letters() const {
    std::string s;
    for (char c : std::string("NBGPRMmC")) {
        const auto it = On.find(c);
        s += (it != On.end() && it->second) ? c : '.';
    }
    return s;
}

TFakeView::TFakeView() {
    handle_ = platform::MessageHub().Register([this](const platform::TWindowMessage& m) {
        if (m.Msg != wm::WM_RUNTEST) return;
        const std::uint32_t code = wm::MessageCode(m.WParam);
        Notices.push_back(code);
        static const std::map<std::uint32_t, std::pair<char, bool>> states = {
            {wm::rsNextOn, {'N', true}},      {wm::rsNextOff, {'N', false}},     {wm::rsBackOn, {'B', true}},
            {wm::rsBackOff, {'B', false}},    {wm::rsGotoOn, {'G', true}},       {wm::rsGotoOff, {'G', false}},
            {wm::rsProtocolOn, {'P', true}},  {wm::rsProtocolOff, {'P', false}}, {wm::rsResultsOn, {'R', true}},
            {wm::rsResultsOff, {'R', false}}, {wm::rsMaximizeOn, {'M', true}},   {wm::rsMaximizeOff, {'M', false}},
            {wm::rsMinimizeOn, {'m', true}},  {wm::rsMinimizeOff, {'m', false}}, {wm::rsCloseOn, {'C', true}},
            {wm::rsCloseOff, {'C', false}},
        };
        if (const auto it = states.find(code); it != states.end()) {
            Menus.On[it->second.first] = it->second.second;
        } else if (code == wm::rsCheckGotoItem) {
            Menus.CheckedGoto = m.LParam;
        } else if (code == wm::rsDisableGotoItem) {
            Menus.DisabledGoto.insert(m.LParam);
        } else if ((code == wm::rsNextLinkPressed || code == wm::rsBackLinkPressed) && OnLink) {
            OnLink(code == wm::rsNextLinkPressed);
        }
    });
}

TFakeView::~TFakeView() { Close(); }

void TFakeView::Close() {
    platform::MessageHub().Unregister(handle_);
}

void TFakeView::ClearPage() {
    Page.clear();
    PageText.clear();
    Answers.clear();
    EndLinks.clear();
    Links = {};
    Focus = -99999;
    FocusLink = TNavLinkKind::None;
}

void TFakeView::ShowInstruction(const std::string& text, const TNavLinks& links) {
    Page = "instruction";
    PageText = text;
    Links = links;
}

void TFakeView::ShowStimulus(const std::string& title, const std::vector<TScreenAnswer>& answers,
                             const TNavLinks& links) {
    Page = "stimulus";
    PageText = title;
    Answers = answers;
    Links = links;
}

void TFakeView::ShowEndScreen(const std::string& heading, const std::vector<TScreenLink>& links) {
    Page = "end";
    PageText = heading;
    EndLinks = links;
}

std::int32_t AnswerID(int question, int answer) { return 100 + 10 * question + answer; }

void FillSixQuestions(TFileAccess& store, const TSixQuestions& spec) {
    TTestGroup g;
    g.ID = 1;
    g.ParentID = -1;
    g.Name = "Group";
    store.TestGroups.AddTestGroup(g);
    for (std::int32_t id : {kSixTestID, kEmptyTestID}) {
        TTest t;
        t.ID = id;
        t.ParentID = 1;
        t.Order = id;
        t.Name = id == kSixTestID ? "Six questions" : "No questions";
        t.Instruction = "Read this first.";
        t.MoveDirection = spec.MoveDirection;
        t.ReplayEnabled = spec.Replay;
        store.Tests.AddTest(t);
    }
    for (int q = 0; q < 6; ++q) {
        TStimul s;
        s.ID = 10 + q;
        s.ParentID = kSixTestID;
        s.Order = q;
        s.Name = "Q" + std::to_string(q);
        s.AnswerRequired = spec.Mandatory.count(q) != 0;
        s.MultipleAnswers = spec.Multiple;
        s.AnswersLimit = spec.Limit;
        store.Stimuli.AddStimulus(s);
        for (int a = 0; a < 3; ++a) {
            TReaction r;
            r.ID = AnswerID(q, a);
            r.ParentID = s.ID;
            r.Order = a;
            r.Name = "A" + std::to_string(q) + "." + std::to_string(a);
            store.Reactions.AddReaction(r);
        }
    }
}

TRunnerRig::TRunnerRig(TFileAccess& store, std::int32_t testID) {
    Runner = std::make_unique<TTestRunner>(store, platform::kNoWindow, View, testID, "ignored");
    View.OnLink = [this](bool next) { Runner->ExecuteCommand(next ? rnNext : rnBack); };
}

void TRunnerRig::Run(const std::string& script) {
    std::istringstream in(script);
    std::string token;
    while (in >> token) {
        const auto colon = token.find(':');
        const std::string word = token.substr(0, colon);
        const std::string arg = colon == std::string::npos ? "" : token.substr(colon + 1);
        const int n = (arg.empty() || arg == "-") ? -99999 : std::stoi(arg);
        static const std::map<std::string, std::uint8_t> commands = {
            {"start", rnStart},     {"next", rnNext},         {"back", rnBack},
            {"end", rnEndScreen},   {"protocol", rnProtocol}, {"results", rnResults},
            {"redisplay", rnRedisplay}, {"tab", rnTab},       {"space", rnSpaceEnter},
            {"up", rnUpLeft},       {"down", rnDownRight},
        };
        if (const auto it = commands.find(word); it != commands.end()) {
            Runner->ExecuteCommand(it->second);
        } else if (word == "goto") {
            Runner->ExecuteCommand(rnGoTo, n);
        } else if (word == "click") {
            ASSERT_LT(n, static_cast<int>(View.Answers.size())) << token;
            View.Events->AnswerClicked(View.Answers[static_cast<std::size_t>(n)].ReactionID);
        } else if (word == "nextlink" || word == "backlink") {
            View.Events->NavLinkPressed(word == "nextlink" ? TNavLinkKind::Next : TNavLinkKind::Back);
        } else if (word == "endlink") {
            View.Events->EndScreenLinkPressed(n);
        } else if (word == "focus") {
            View.Focus = n;
        } else {
            FAIL() << "unknown script word " << token;
        }
    }
}

std::string Join(const std::vector<int>& v) {
    std::string s;
    for (int x : v) s += (s.empty() ? "" : ",") + std::to_string(x);
    return s;
}

TSixRun::TSixRun(const TSixQuestions& spec, std::int32_t testID) {
    FillSixQuestions(Store, spec);
    Rig = std::make_unique<TRunnerRig>(Store, testID);
}

std::string CaseName(const char* words) {
    std::string name;
    for (const char* p = words; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}
