#pragma once
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

// Shows every control's hint for the program's hint hide pause instead of the toolkit's own
// time, once it is installed as an event filter of the application.
class THintPause : public QObject {
    Q_OBJECT
public:
    static constexpr int kHidePause = 4000;   // milliseconds

    explicit THintPause(QObject* parent = nullptr);

    // Shows a hint at a global position for so many milliseconds; QToolTip by default.
    using TShow = std::function<void(const QPoint& at, const QString& text, QWidget* owner, int milliseconds)>;
    TShow Show;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
