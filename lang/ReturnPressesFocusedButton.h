#pragma once

class QWidget;

namespace lang {

// Return (or Enter) pressed on a push or tool button that has the keyboard focus presses that
// button, as on any desktop; anywhere else the key goes on to the window, which keeps its own
// default (the dialog's default button, a window's own Return handling). Every window of the
// program gets this when its language texts are applied.
void ReturnPressesFocusedButton(QWidget& window);

}  // namespace lang
