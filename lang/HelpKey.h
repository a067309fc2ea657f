#pragma once

class QKeyEvent;

namespace lang {

// F1 pressed in a window (no Shift, Ctrl or Alt) asks the help system for the window's topic.
// True when the key was F1 and is answered; a window's key handler passes on every other key.
bool AnswerHelpKey(const QKeyEvent& event, int helpContext);

}  // namespace lang
