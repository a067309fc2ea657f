#pragma once
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "runner/RunnerView.h"



// A text of a page: a label that can take the keyboard focus and reports the mouse. Its tag is
// the answer's ID, the question's index of an end-screen link, or -1.
class TStaticText : public QLabel {
public:
    explicit TStaticText(QWidget* parent);
    int Tag = -1;
    std::function<void(QMouseEvent&)> OnMouseDown;
    std::function<void()> OnClick;
    std::function<void()> OnMouseMove;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};

// The pages of a run drawn into a host window: a scroll box filling the host with a panel on it
// that holds the texts. Every page is new; the old one is hidden at once and released once the
// handler that is running has returned.
class TRunnerScreens : public IRunnerView {
public:
    TRunnerScreens(QWidget& host, platform::WindowHandle handle);
    ~TRunnerScreens() override;
    TRunnerScreens(const TRunnerScreens&) = delete;
    TRunnerScreens& operator=(const TRunnerScreens&) = delete;

    platform::WindowHandle Handle() const override { return handle_; }
    void SetEvents(IRunnerEvents* events) override { events_ = events; }
    void ClearPage() override;
    void ShowInstruction(const std::string& text, const TNavLinks& links) override;
    void ShowStimulus(const std::string& title, const std::vector<TScreenAnswer>& answers,
                      const TNavLinks& links) override;
    void ShowEndScreen(const std::string& heading, const std::vector<TScreenLink>& links) override;
    void Highlight(const std::vector<std::int32_t>& chosen) override;
    int FocusedAnswer() const override;
    void FocusAnswer(int index) override;
    TNavLinkKind FocusedNavLink() const override;
    int FocusedEndLink() const override;

    // The arrow keys: the focus to the next (or previous) answer or link of the page, in the
    // order shown, round from the last to the first; from outside the page to its first (or last).
    void MoveFocus(bool forward);

    // The page shown (tests and the window's key handling).
    QScrollArea* Page() const { return page_; }
    QWidget* Panel() const { return panel_; }
    QLabel* Heading() const { return heading_; }
    const std::vector<TStaticText*>& AnswerTexts() const { return answers_; }
    const std::vector<TStaticText*>& EndLinks() const { return endLinks_; }
    TStaticText* NavLink(TNavLinkKind kind) const;

    // The height a word-wrapped text needs at its width.
    static int MeasureTextHeight(const QLabel& text);

    // Colours of the pages (red, green, blue): texts, the highlight behind a chosen answer, the
    // text of the answer under the mouse, links.
    static const QColor kText, kChosen, kPointed, kLink;

private:
    QWidget* CreatePage();
    // The controls of the page that take the focus, in the order shown.
    std::vector<TStaticText*> FocusChain() const;
    QLabel* MakeLabel(int left, int top, int width, const std::string& text, int size, bool bold);
    int DisplayNavLinks(int top, const TNavLinks& links);
    int EndScreenLabel(int top, bool isLink, int tag, const std::string& text);
    void Grow(const QWidget& w, int bottomMargin);
    void ApplyHighlight(std::int32_t pointed);
    void Reset();

    QWidget& host_;
    platform::WindowHandle handle_;
    IRunnerEvents* events_ = nullptr;
    QPointer<QScrollArea> page_;
    QWidget* panel_ = nullptr;
    QLabel* heading_ = nullptr;
    std::vector<TStaticText*> answers_;
    std::vector<TStaticText*> endLinks_;
    TStaticText* backLink_ = nullptr;
    TStaticText* nextLink_ = nullptr;
    std::vector<std::int32_t> chosen_;
};
