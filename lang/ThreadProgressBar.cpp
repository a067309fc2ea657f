#include "lang/ThreadProgressBar.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>

TFormProcessBar::TFormProcessBar()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      GaugeProcessBar(new QProgressBar(this)) {
    setObjectName("FormProcessBar");
    setWindowTitle("Processing");
    setFixedSize(267, 34);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(10);
    setFont(f);
    QPalette p = palette();
    const QColor face = p.color(QPalette::Button);
    p.setColor(QPalette::Window, face);
    p.setColor(QPalette::Base, face);
    p.setColor(QPalette::Highlight, Qt::blue);
    setPalette(p);
    setAutoFillBackground(true);

    GaugeProcessBar->setObjectName("GaugeProcessBar");
    GaugeProcessBar->setGeometry(10, 10, 248, 14);
    GaugeProcessBar->setRange(0, 100);
    GaugeProcessBar->setValue(0);
    GaugeProcessBar->setTextVisible(true);
    GaugeProcessBar->setFormat(QStringLiteral("%p%"));
    GaugeProcessBar->setAlignment(Qt::AlignCenter);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TThreadProgressBar::TThreadProgressBar(int steps) : counter_(steps), window_(std::make_unique<TFormProcessBar>()) {
    window_->show();
    window_->repaint();
    window_->GaugeProcessBar->repaint();
    // Last, so that nothing after it can fail and leave the thread running.
    thread_ = std::thread([this] { Execute(); });
}

TThreadProgressBar::~TThreadProgressBar() {
    window_->hide();
    window_.reset();
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

void TThreadProgressBar::Step() {
    window_->GaugeProcessBar->setValue(counter_.Step());
    window_->GaugeProcessBar->repaint();
}

void TThreadProgressBar::Execute() {
    std::unique_lock lock(mutex_);
    stop_.wait(lock, [this] { return terminated_; });
}

namespace lang {

void InstallWindowProgress() {
    SetProgressFactory([](int steps) -> std::unique_ptr<IProgress> { return std::make_unique<TThreadProgressBar>(steps); });
}

}  // namespace lang
