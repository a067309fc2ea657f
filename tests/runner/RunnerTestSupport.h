#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/MessageHub.h"
#include "runner/ReportServices.h"
#include "runner/RunnerView.h"
#include "runner/TestRunner.h"
#include "store/FileAccess.h"
#include "tests/support/RecordingInteraction.h"

// The language file of the runner tests (tests/data/runner_language.txt).
std::string RunnerLanguageFile();

// Installs the message table of the tests' language file, records every message box instead
// of showing it, and replaces the report setup dialog, the clock and the opener; restores all
// on destruction.
class TRunnerTestEnvironment {
public:
    explicit TRunnerTestEnvironment(const std::string& languageFile = RunnerLanguageFile());
    ~TRunnerTestEnvironment();

    RecordingInteraction Interaction;
    std::vector<std::string>& Messages = Interaction.Messages;   // shown message boxes, in order
    std::vector<std::string> Opened;     // files the opener was asked to open
    bool OpenSucceeds = true;            // whether the desktop had a program for them
    // What the fake setup dialog answers: its result and the values it leaves.
    std::uint8_t SetupResult = 1;
    TReportSetupValues SetupValues;
    int SetupCalls = 0;
    double Today = 0;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

// The menu states a host learns from WM_RUNTEST, as "NBGPRMmC": the letter when the item is on,
// "." when it is off (Next, Back, Go To, Protocol, Results, Maximize, Minimize, Close).
struct TMenuStates {
    std::map<char, bool> On;
    std::set<int> DisabledGoto;
    int CheckedGoto = -99999;
    std::string Letters() const;
};

// A host window without widgets: it records the page it was given and the notices it got, and
// passes its Next and Back links on as the test window would.
class TFakeView : public IRunnerView {
public:
    TFakeView();
    ~TFakeView() override;

    platform::WindowHandle Handle() const override { return handle_; }
    void SetEvents(IRunnerEvents* events) override { Events = events; }
    void ClearPage() override;
    void ShowInstruction(const std::string& text, const TNavLinks& links) override;
    void ShowStimulus(const std::string& title, const std::vector<TScreenAnswer>& answers,
                      const TNavLinks& links) override;
    void ShowEndScreen(const std::string& heading, const std::vector<TScreenLink>& links) override;
    void Highlight(const std::vector<std::int32_t>& chosen) override { Highlighted = chosen; ++HighlightCalls; }
    int FocusedAnswer() const override { return Focus; }
    void FocusAnswer(int index) override { Focus = index; }
    TNavLinkKind FocusedNavLink() const override { return FocusLink; }
    int FocusedEndLink() const override { return FocusEndLink; }

    // The window goes away: it leaves the hub as a real one does.
    void Close();

    IRunnerEvents* Events = nullptr;
    std::string Page;   // "", "instruction", "stimulus" or "end"
    std::string PageText;
    std::vector<TScreenAnswer> Answers;
    std::vector<TScreenLink> EndLinks;
    TNavLinks Links;
    std::vector<std::int32_t> Highlighted;
    int HighlightCalls = 0;
    int Focus = -99999;
    TNavLinkKind FocusLink = TNavLinkKind::None;
    int FocusEndLink = -99999;
    TMenuStates Menus;
    std::vector<std::uint32_t> Notices;
    // What the window does with a pressed link (the test window sends it to the main window).
    std::function<void(bool next)> OnLink;

private:
    platform::WindowHandle handle_ = platform::kNoWindow;
};

// A test of six questions, "Q0" to "Q5" (IDs 10 to 15), each with the answers "A<q>.0" to
// "A<q>.2" (IDs 100 + 10q + a); mandatory names the indexes whose answer is required.
struct TSixQuestions {
    std::uint8_t MoveDirection = 1;
    bool Replay = false;
    std::set<int> Mandatory;
    bool Multiple = false;
    int Limit = 0;
};
constexpr std::int32_t kSixTestID = 1;
constexpr std::int32_t kEmptyTestID = 2;   // a test of the same group without questions
void FillSixQuestions(TFileAccess& store, const TSixQuestions& spec);
std::int32_t AnswerID(int question, int answer);

// A runner on a fake view, wired as the main window wires it, with a script runner:
// "start", "next", "back", "end", "goto:N", "click:A" (answer A of the page), "nextlink",
// "backlink", "endlink:N", "protocol", "results", "redisplay", "tab", "space", "up", "down",
// "focus:A" (the keyboard focus to answer A of the page, or "focus:-" for none).
class TRunnerRig {
public:
    TRunnerRig(TFileAccess& store, std::int32_t testID);
    void Run(const std::string& script);
    TFakeView View;
    std::unique_ptr<TTestRunner> Runner;
};

// A run of the six-question test (or of the empty one) in an environment of its own.
struct TSixRun {
    explicit TSixRun(const TSixQuestions& spec, std::int32_t testID = kSixTestID);
    TRunnerTestEnvironment Env;
    TFileAccess Store;
    std::unique_ptr<TRunnerRig> Rig;
};

std::string Join(const std::vector<int>& v);
// A case name for a table row: its words joined by "_".
std::string CaseName(const char* words);
