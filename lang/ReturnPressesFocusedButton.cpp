#include "lang/ReturnPressesFocusedButton.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

namespace lang {

namespace {

// Watches the window: a Return that a focused button left unanswered (a tool button, a push
// button that is not the dialog's default) reaches the window on its way up, and is taken here
// before the window's own handling turns it into the default button's.
class TReturnKeyFilter : public QObject {
public:
    explicit TReturnKeyFilter(QWidget& window) : QObject(&window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        QWidget* focus = QApplication::focusWidget();
        auto* button = qobject_cast<QAbstractButton*>(focus);
        if (!button || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button))) return false;
        if (!button->isEnabled() || !button->isVisible() || !window_.isAncestorOf(button)) return false;
        button->click();
        return true;
    }

private:
    QWidget& window_;
};

}  // namespace

void ReturnPressesFocusedButton(QWidget& window) { window.installEventFilter(new TReturnKeyFilter(window)); }

}  // namespace lang
