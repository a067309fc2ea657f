#pragma once
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageHub.h"
#include "runner/RunTestForm.h"
#include "store/FileAccess.h"

class QMdiArea;
class TTestRunner;

// The main window's side of running tests: it opens a test window and its runner, keeps the
// runners, passes each test window's commands to its runner, shows a test full screen and back,
// and frees a test window when it has closed. It receives the main window's messages under its
// own handle, or under the main window's, through HandleMessage.
class TRunnerHost {
public:
    // What the main window learns of the test windows.
    struct TEvents {
        // A test window was opened; its run starts after this.
        std::function<void(TRunTestForm& form)> WindowOpened;
        // A test window was freed (its handle); its runner is gone with it.
        std::function<void(platform::WindowHandle form)> WindowFreed;
    };

    // Test windows become subwindows of mdi when one is given, else windows of their own. The
    // host receives under a handle of its own.
    explicit TRunnerHost(TFileAccess& store, QMdiArea* mdi = nullptr);
    // The host of the main window: the store of the open project is asked for at each run, and
    // the test windows talk to mainHandle, whose receiver hands the messages to HandleMessage.
    TRunnerHost(std::function<TFileAccess*()> store, QMdiArea* mdi, platform::WindowHandle mainHandle,
                TEvents events);
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

    // Frees every test window with its runner, the full-screen window included, without asking
    // the windows' close questions.
    void FreeAll();

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
    void TakeFocus(TRunTestForm* form);
    void FreeForm(TRunTestForm* form);
    // Frees a window whose run could not start, with its runner, and forgets both.
    void DropRun(TRunTestForm* form);
    // The captions of a run's Go-To items: its own questions, none unless the test is free.
    static std::vector<std::string> GotoCaptions(const TTestRunner& runner);
    void PruneRunners();
    // The runner of a test window's command: its own, or the full-screen one for the full-screen
    // window; nullptr for any other window.
    TTestRunner* RunnerFor(platform::WindowHandle from) const;
    // The full-screen window is gone: the run goes back to its own window.
    void EndFullScreen();

    std::function<TFileAccess*()> store_;
    QPointer<QMdiArea> mdi_;
    platform::WindowHandle handle_ = platform::kNoWindow;
    bool ownHandle_ = false;
    TEvents events_;
    std::vector<TRun> runs_;
    TTestRunner* fullScreenRunner_ = nullptr;
    QPointer<TRunTestForm> fullScreenForm_;
};
