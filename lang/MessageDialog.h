#pragma once
#include <QDialog>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>

#include "lang/MessageDialogLayout.h"

enum TMessageDlgType : std::uint8_t { mdOk, mdOkHelp, mdOkCancel, mdOkCancelHelp, mdYesNo, mdYesNoHelp };

// A button's handler; the sender is the pressed button.
using TNotifyEvent = std::function<void(QObject* sender)>;

// The program's modal question box: a title, a one-line message and a set of buttons. The window
// is built by each Execute and freed when it returns.
class TMessageDialog : public QObject {
    Q_OBJECT
public:
    enum : std::uint8_t { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 3, mrNo = 4, mrHelp = 5 };

    explicit TMessageDialog(QObject* owner = nullptr);
    ~TMessageDialog() override;

    std::string Title;     // code page, at most 255 bytes are shown
    int HelpContext = 0;
    TMessageDlgType DialogType = mdOk;
    std::string Caption;   // the message
    TNotifyEvent OKClickNotifyEvent, CancelClickNotifyEvent, HelpClickNotifyEvent, YesClickNotifyEvent,
        NoClickNotifyEvent;

    // Shows the box modally and returns the answer: 1 OK, 2 Cancel, 3 Yes, 4 No, 5 when Help was
    // the last button pressed before the window was closed, 0 when it was closed without a
    // button. A missing button text in the message table raises before any window is shown.
    std::uint8_t Execute();
    std::uint8_t Answer() const { return answer_; }

    // The window while Execute runs, else null.
    QDialog* Window() const { return window_; }

    // Answers every Execute in place of a person (tests of the windows that ask questions);
    // the captions are still looked up first. Returns the responder it replaces.
    using Responder = std::function<std::uint8_t(const TMessageDialog&)>;
    static Responder SetResponder(Responder responder);

private:
    void Press(std::uint8_t result, QObject* sender);

    std::uint8_t answer_ = mrNone;
    QPointer<QDialog> window_;
};
