#pragma once
#include <QWidget>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "lang/Progress.h"

class QProgressBar;

// The progress window: small, borderless, on top of every window, centred on the desktop, with
// a bar that shows the per cent done. It takes no language texts.
class TFormProcessBar : public QWidget {
    Q_OBJECT
public:
    TFormProcessBar();
    QProgressBar* GaugeProcessBar;
};

// Shows a progress window while it lives and steps it on request; the working code calls Step
// on the GUI thread. It also runs a thread of its own that only waits, without using the
// processor, until the destructor stops it.
class TThreadProgressBar : public lang::IProgress {
public:
    // Shows the window at 0 per cent and paints it at once. Steps below 1 count as 1.
    explicit TThreadProgressBar(int steps);
    // Hides and frees the window, then stops the thread and waits for it.
    ~TThreadProgressBar() override;
    TThreadProgressBar(const TThreadProgressBar&) = delete;
    TThreadProgressBar& operator=(const TThreadProgressBar&) = delete;

    // One step further (never past Steps); the bar is repainted at once.
    void Step() override;

    int Steps() const { return counter_.Steps(); }
    int Position() const { return counter_.Position(); }
    TFormProcessBar* Window() const { return window_.get(); }

private:
    void Execute();

    lang::TProgressCounter counter_;
    std::unique_ptr<TFormProcessBar> window_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool terminated_ = false;
    std::thread thread_;
};

namespace lang {
// Makes MakeProgress show a TThreadProgressBar; the windowed program calls this at start-up.
void InstallWindowProgress();
}  // namespace lang
