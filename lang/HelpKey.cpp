#include "lang/HelpKey.h"

#include <QKeyEvent>

#include "lang/HelpHook.h"

namespace lang {

bool AnswerHelpKey(const QKeyEvent& event, int helpContext) {
    if (event.key() != Qt::Key_F1 || event.modifiers() != Qt::NoModifier) return false;
    AskForHelp(helpContext);
    return true;
}

}  // namespace lang
