#pragma once

class QEvent;
class QKeyEvent;
class QObject;
class QWidget;

namespace lang {

// F1 pressed in a window (no Shift, Ctrl or Alt) asks the help system for the window's topic.
// True when the key was F1 and is answered; a window's key handler passes on every other key.
bool AnswerHelpKey(const QKeyEvent& event, int helpContext);

// The help context of the place w is in: from w up through its parents, the first "HelpContext"
// property other than 0; a window without one has the context of the window it was opened from
// (NoteHelpOpener). fallback when none is found.
int HelpContextOf(const QWidget* w, int fallback = 0);

// Notes on a window that opens the help context of the window it is opened from: the active one.
void NoteHelpOpener(QWidget& window);

// For the program's application object, around the delivery of each event, so that F1 works in
// every window, also in those that do not answer it themselves (message boxes, file dialogs):
// before delivery, a window that is shown notes its opener;
void BeforeHelpDelivery(QObject* receiver, const QEvent& event);
// after delivery, a plain F1 that nothing accepted asks for HelpContextOf(the receiver), which is
// the contents when it is 0. True when it did.
bool AnswerUnansweredHelpKey(QObject* receiver, QEvent& event);
// Whether the event is a press of F1 with no Shift, Ctrl or Alt.
bool IsHelpKey(const QEvent& event);

}  // namespace lang
