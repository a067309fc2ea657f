#include "app/HintPause.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

THintPause::THintPause(QObject* parent)
    : QObject(parent), Show([](const QPoint& at, const QString& text, QWidget* owner, int milliseconds) {
          QToolTip::showText(at, text, owner, {}, milliseconds);
      }) {}

bool THintPause::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const QString text = widget->toolTip();
    // Views and menus that show hints of their items handle their own events.
    if (text.isEmpty()) return false;
    Show(static_cast<QHelpEvent*>(event)->globalPos(), text, widget, kHidePause);
    return true;
}
