#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/MessageHub.h"
#include "platform/WindowMessages.h"
#include "runner/RunnerCommands.h"
#include "runner/RunnerView.h"
#include "store/FileAccess.h"
#include "store/Records.h"

class TReporter;

enum TRunScreen : std::uint8_t { rsNone = 0, rsInstruction = 2, rsStimulus = 3, rsEndScreen = 4 };
enum : std::uint8_t { hmFullScreen = 0, hmOwnWindow = 1 };

// Runs one test of a store for one person: where the run stands, where Next, Back and Go To may
// lead under the test's move direction and replay flag, mandatory answers, the answer limit,
// and the answers chosen, in the order chosen. It draws into its host view and tells the host
// window which commands are possible through WM_RUNTEST notices. Nothing of a run is stored.
class TTestRunner : private IRunnerEvents {
public:
    // The run starts with no screen; command 2 shows the instruction. The questions of the test
    // are read once, here: the run works on that list whatever happens to the store meanwhile.
    TTestRunner(TFileAccess& store, platform::WindowHandle mainHandle, IRunnerView& host, std::int32_t testID,
                const std::string& testName);
    ~TTestRunner() override;
    TTestRunner(const TTestRunner&) = delete;
    TTestRunner& operator=(const TTestRunner&) = delete;

    // The one entry for commands (TRunnerCommand); value matters only for Go To (5). A failure is
    // shown in the message box and the menus then stay as they were; the result is false then.
    bool ExecuteCommand(std::uint8_t code, std::int32_t value = wm::kNoIndex);
    // Moves the run to another host (hmOwnWindow or hmFullScreen); the caller then sends command
    // 10. The new host's Go-To menu learns the visited questions that may not be shown again and
    // the current one.
    void SetHost(IRunnerView& host, std::uint8_t hostMode);

    platform::WindowHandle GetFormHandle() const { return formHandle_; }
    std::int32_t GetTestID() const { return test_.ID; }
    std::string GetTestName() const { return test_.Name; }
    IRunnerView* GetOwnForm() const { return ownForm_; }
    platform::WindowHandle GetMainHandle() const { return mainHandle_; }

    // ---- state
    const TTest& Test() const { return test_; }
    TRunScreen Screen() const { return screen_; }
    int Current() const { return current_; }
    std::uint8_t HostMode() const { return hostMode_; }
    const std::vector<TStimul>& Stimuli() const { return stimuli_; }
    const std::vector<int>& Visited() const { return visited_; }
    const std::vector<TReaction>& Reactions() const { return reactions_; }
    const std::vector<std::int32_t>& Chosen() const { return chosen_; }

    // ---- queries
    bool IsVisited(int index) const;
    bool IsChosen(std::int32_t reactionID) const;
    int ChosenIndexOf(std::int32_t reactionID) const;   // -99999 when not chosen
    int ChosenCountOfStimulus(std::int32_t stimulusID) const;
    // Indexes of the questions without a chosen answer (only the mandatory ones when asked), in order.
    std::vector<int> ListUnanswered(bool mandatoryOnly) const;
    int UnansweredMandatoryCount() const;
    // Whether the run holds the person on this question until it is answered: it is mandatory
    // and offers a way to answer it.
    bool HeldMandatory(const TStimul& q) const;
    bool CanLeave() const;
    int NextIndex() const;   // -99999 when none
    int PrevIndex() const;   // -99999 when none
    bool CanGoNext() const;
    bool CanGoBack() const;
    // True where the end screen shows with no mandatory question unanswered: only then are the
    // reports offered.
    bool ReportsAllowed() const;

    // ---- scores and reports
    struct TScaleScore {
        std::int32_t ScaleID = -1;
        std::string Name;          // at most 255 bytes
        std::string Description;   // its first 255 bytes
        double Score = 0;
    };
    // Every scale of the test in table order with the sum of the weights of the chosen answers.
    std::vector<TScaleScore> ComputeScores() const;
    // The interpretation of a score: the first whose range holds the score as it is shown.
    std::string InterpretationOf(std::int32_t scaleID, double score) const;
    // The report templates, dated today.
    std::string ResultsTemplate(double today) const;
    std::string ProtocolTemplate(double today);
    // Commands 9 and 8: the setup dialog, then the report file.
    void DisplayResults();
    void DisplayProtocol();

    // ---- helpers
    // The text of a question or an answer: its description when that is not blank, else its name.
    static std::string TextOf(const TAnyObject& item);
    // Every CR LF becomes a lone CR.
    static std::string NormalizeLineBreaks(const std::string& s);

private:
    void LoadStimuli(std::int32_t testID);
    void LoadReactions(std::int32_t stimulusID);
    // Question index becomes the current page: marked visited, then shown.
    void ShowQuestion(int index);
    void MarkVisited(int index);
    void UpdateMenus();
    void Redisplay();
    void DisplayInstruction();
    void DisplayStimulus(int index);
    void DisplayEndScreen();
    TNavLinks NavLinks() const;
    void ClearHost();
    void RefreshHighlight();
    void ReactionClick(std::int32_t reactionID);
    void UnchooseStimulus(std::int32_t stimulusID);
    void FocusReaction(bool forward);
    void RequireLeave() const;
    void SendToHost(std::uint32_t code, std::int32_t lParam = wm::kNoIndex);
    IRunnerView* LiveHost() const;
    std::string ReportHead(double today, const char* sectionKey) const;
    void MakeReport(bool results);

    // IRunnerEvents: what the page's controls report.
    void AnswerClicked(std::int32_t reactionID) override;
    void NavLinkPressed(TNavLinkKind link) override;
    void EndScreenLinkPressed(int stimulusIndex) override;

    TFileAccess& store_;
    IRunnerView* host_;
    platform::WindowHandle hostHandle_;
    IRunnerView* ownForm_;
    TTest test_;
    platform::WindowHandle mainHandle_;
    platform::WindowHandle formHandle_;
    int current_ = -1;
    TRunScreen screen_ = rsNone;
    std::vector<TStimul> stimuli_;
    std::vector<int> visited_;
    std::vector<TReaction> reactions_;
    std::vector<std::int32_t> chosen_;
    std::uint8_t hostMode_ = hmOwnWindow;
};
