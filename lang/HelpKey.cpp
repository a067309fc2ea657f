#include "lang/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

#include "lang/HelpHook.h"

namespace lang {
namespace {

constexpr const char* kContext = "HelpContext";
constexpr const char* kOpenerContext = "HelpOpenerContext";

}  // namespace

bool IsHelpKey(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_F1 && key.modifiers() == Qt::NoModifier;
}

bool AnswerHelpKey(const QKeyEvent& event, int helpContext) {
    if (!IsHelpKey(event)) return false;
    AskForHelp(helpContext);
    return true;
}

int HelpContextOf(const QWidget* w, int fallback) {
    for (; w; w = w->parentWidget()) {
        if (const int context = w->property(kContext).toInt(); context != 0) return context;
        if (w->isWindow())
            if (const int context = w->property(kOpenerContext).toInt(); context != 0) return context;
    }
    return fallback;
}

void NoteHelpOpener(QWidget& window) {
    const QWidget* active = QApplication::activeWindow();
    if (!active || active == &window) return;
    const QWidget* at = active->focusWidget() ? active->focusWidget() : active;
    window.setProperty(kOpenerContext, HelpContextOf(at));
}

void BeforeHelpDelivery(QObject* receiver, const QEvent& event) {
    if (event.type() != QEvent::Show || !receiver->isWidgetType()) return;
    auto* w = static_cast<QWidget*>(receiver);
    // Menus, tool tips and the like are no windows a person presses F1 in.
    const Qt::WindowType type = w->windowType();
    if (w->isWindow() && (type == Qt::Window || type == Qt::Dialog)) NoteHelpOpener(*w);
}

bool AnswerUnansweredHelpKey(QObject* receiver, QEvent& event) {
    if (!IsHelpKey(event) || event.isAccepted() || !receiver->isWidgetType()) return false;
    event.accept();
    AskForHelp(HelpContextOf(static_cast<QWidget*>(receiver)));
    return true;
}

}  // namespace lang
