#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/MessageHub.h"

// What a runner draws into the window that hosts it, and what that window's controls tell the
// runner back. The runner decides every text and every rule; the view only lays out, colours
// and reports clicks and focus. Texts are in the program's code page; a line break inside a
// text is a lone CR.

// The Back and Next links under a page, each with its text when it is shown.
struct TNavLinks {
    bool Back = false;
    bool Next = false;
    std::string BackText;
    std::string NextText;
};

struct TScreenAnswer {
    std::int32_t ReactionID = -1;
    std::string Text;
};

// A link of the end screen back to a question (its index in the run).
struct TScreenLink {
    int StimulusIndex = -1;
    std::string Text;
};

enum class TNavLinkKind { None, Back, Next };

// The runner as the page's controls see it.
class IRunnerEvents {
public:
    virtual ~IRunnerEvents() = default;
    // The left button went down on, or Space chose, the text of this answer.
    virtual void AnswerClicked(std::int32_t reactionID) = 0;
    // The left button went down on the Back or the Next link.
    virtual void NavLinkPressed(TNavLinkKind link) = 0;
    // The left button went down on the end screen's link to a question.
    virtual void EndScreenLinkPressed(int stimulusIndex) = 0;
};

class IRunnerView {
public:
    virtual ~IRunnerView() = default;

    // The hosting window's handle: WM_RUNTEST notices go there. A view whose window is gone is
    // no longer registered with the hub, and the runner then leaves it alone.
    virtual platform::WindowHandle Handle() const = 0;
    // The runner whose pages this view shows now; nullptr when none.
    virtual void SetEvents(IRunnerEvents* events) = 0;

    // Removes the page shown (its controls stay alive until the handler that runs has returned).
    virtual void ClearPage() = 0;
    virtual void ShowInstruction(const std::string& text, const TNavLinks& links) = 0;
    virtual void ShowStimulus(const std::string& title, const std::vector<TScreenAnswer>& answers,
                              const TNavLinks& links) = 0;
    // A heading, then the links to the questions (none when the test is completed).
    virtual void ShowEndScreen(const std::string& heading, const std::vector<TScreenLink>& links) = 0;

    // Chosen answers of the page get a yellow highlight behind their black text; the focused
    // answer or link gets a border.
    virtual void Highlight(const std::vector<std::int32_t>& chosen) = 0;
    // The index (in the order shown) of the answer that has the keyboard focus; -99999 when none.
    virtual int FocusedAnswer() const = 0;
    virtual void FocusAnswer(int index) = 0;
    virtual TNavLinkKind FocusedNavLink() const = 0;
    // The question index of the end screen's link that has the keyboard focus; -99999 when none.
    virtual int FocusedEndLink() const = 0;
};
