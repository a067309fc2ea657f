#pragma once
#include <QPointer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageHub.h"
#include "store/FileAccess.h"

class QMdiArea;
class TRunTestForm;
class TTestRunner;

// The main window's side of running tests: it opens a test window and its runner, keeps the
// runners, passes each test window's commands to its runner, shows a test full screen and back,
// and frees a test window when it has closed. It receives the main window's messages under its
// own handle (or under the main window's, through HandleMessage).
class TRunnerHost {
public:
    // Test windows become subwindows of mdi when one is given, else windows of their own.
    explicit TRunnerHost(TFileAccess& store, QMdiArea* mdi = nullptr);
    ~TRunnerHost();
    TRunnerHost(const TRunnerHost&) = delete;
    TRunnerHost& operator=(const TRunnerHost&) = delete;

    platform::WindowHandle Handle() const { return handle_; }

    // Opens a window for the test and starts its run; a failure is shown in the message box.
    // Returns the new window, or nullptr.
    TRunTestForm* RunTest(std::int32_t testID);
    // WM_CHILDNOTIFY, WM_RUNTESTCOMMAND and WM_RUNTESTGOTO; other messages are left alone.
    // Returns whether the message was one of them.
    bool HandleMessage(const platform::TWindowMessage& message);

    // The runner whose own test window has this handle, or nullptr.
    TTestRunner* FindRunner(platform::WindowHandle formHandle) const;
    TRunTestForm* FindChildForm(platform::WindowHandle handle) const;
    bool IsTestWindowOpen(std::int32_t testID) const;
    int RunnerCount() const { return static_cast<int>(runs_.size()); }
    TTestRunner* FullScreenRunner() const { return fullScreenRunner_; }
    TRunTestForm* FullScreenForm() const { return fullScreenForm_; }

private:
    struct TRun {
        QPointer<TRunTestForm> Form;
        std::unique_ptr<TTestRunner> Runner;
    };
    void RunTestCommand(std::uint32_t code, platform::WindowHandle from);
    void GoTo(std::int32_t index, platform::WindowHandle from);
    void MaximizeToScreen(TTestRunner* runner);
    void MinimizeToApplication(TTestRunner* runner);
    void ChildClosed(platform::WindowHandle handle);
    void CloseChild(platform::WindowHandle handle);
    void FreeForm(TRunTestForm* form);
    void PruneRunners();
    // The runner of a test window's command: its own, else the full-screen one.
    TTestRunner* RunnerFor(platform::WindowHandle from) const;

    TFileAccess& store_;
    QPointer<QMdiArea> mdi_;
    platform::WindowHandle handle_ = platform::kNoWindow;
    std::vector<TRun> runs_;
    TTestRunner* fullScreenRunner_ = nullptr;
    QPointer<TRunTestForm> fullScreenForm_;
};
