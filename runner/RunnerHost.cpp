#include "runner/RunnerHost.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <exception>

#include "lang/DlgLangConverter.h"
#include "platform/Exception.h"
#include "platform/WindowMessages.h"
#include "runner/RunnerCommands.h"
#include "runner/RunTestForm.h"
#include "runner/TestRunner.h"

TRunnerHost::TRunnerHost(TFileAccess& store, QMdiArea* mdi)
    : store_([&store] { return &store; }), mdi_(mdi), ownHandle_(true) {
    handle_ = platform::MessageHub().Register([this](const platform::TWindowMessage& m) {
        try {
            HandleMessage(m);
        } catch (const std::exception& e) {
            lang::ShowMessageText(e.what());
        }
    });
}

TRunnerHost::TRunnerHost(std::function<TFileAccess*()> store, QMdiArea* mdi, platform::WindowHandle mainHandle,
                         TEvents events)
    : store_(std::move(store)), mdi_(mdi), handle_(mainHandle), events_(std::move(events)) {}

TRunnerHost::~TRunnerHost() {
    if (ownHandle_) platform::MessageHub().Unregister(handle_);
    // Whoever listened may be going away as well.
    events_ = {};
    FreeAll();
}

void TRunnerHost::FreeAll() {
    delete fullScreenForm_.data();
    fullScreenForm_ = nullptr;
    fullScreenRunner_ = nullptr;
    std::vector<TRun> runs = std::move(runs_);
    runs_.clear();
    for (TRun& r : runs) {
        r.Runner.reset();
        const platform::WindowHandle handle = r.Form ? r.Form->Handle() : platform::kNoWindow;
        FreeForm(r.Form);
        if (handle != platform::kNoWindow && events_.WindowFreed) events_.WindowFreed(handle);
    }
}

TRunTestForm* TRunnerHost::RunTest(std::int32_t testID) {
    std::unique_ptr<TTestRunner> runner;
    try {
        TFileAccess* store = store_();
        TTest test;
        if (store) store->GetTest(testID, test);
        if (!store || test.ID < 0) throw Exception(lang::GetMessageText("NO_Test_MSG"));
        if (IsTestWindowOpen(testID))
            throw Exception(lang::GetMessageText("OBJECTSTREE_TEST_TITLE") + " \"" + test.Name + "\". " +
                            lang::GetMessageText("RUNTEST_TEST_IS_ACTIVE"));
        auto* form = new TRunTestForm(nullptr, *store, handle_, testID, test.Name);
        if (mdi_) {
            // Without a layout the window would open at its minimum size, a bare title bar:
            // it opens filling the MDI area so that its page shows at once.
            QMdiSubWindow* sub = mdi_->addSubWindow(form);
            sub->setGeometry(QRect(QPoint(0, 0), mdi_->viewport()->size()));
            sub->show();
        } else {
            form->show();
        }
        runs_.push_back({form, nullptr});
        if (events_.WindowOpened) events_.WindowOpened(*form);
        runner = std::make_unique<TTestRunner>(*store, handle_, form->View(), testID, test.Name);
        form->SetGotoItems(GotoCaptions(*runner));
        TTestRunner* r = runner.get();
        runs_.back().Runner = std::move(runner);
        if (!r->ExecuteCommand(rnStart)) {
            // A run that cannot show its first page is not kept, nor is its window.
            DropRun(form);
            return nullptr;
        }
        TakeFocus(form);
        return form;
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
        for (const TRun& r : runs_)
            if (!r.Runner) {
                DropRun(r.Form);
                break;
            }
        return nullptr;
    }
}

std::vector<std::string> TRunnerHost::GotoCaptions(const TTestRunner& runner) {
    std::vector<std::string> captions;
    // Only a free test offers Go To; the items are the run's own questions.
    if (runner.Test().MoveDirection != mdFree) return captions;
    for (const TStimul& q : runner.Stimuli()) captions.push_back(q.Name);
    return captions;
}

void TRunnerHost::DropRun(TRunTestForm* form) {
    const platform::WindowHandle handle = form ? form->Handle() : platform::kNoWindow;
    for (TRun& r : runs_)
        if (r.Form == form) r.Runner.reset();
    FreeForm(form);
    for (std::size_t i = runs_.size(); i-- > 0;)
        if (!runs_[i].Runner) runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
    if (handle != platform::kNoWindow && events_.WindowFreed) events_.WindowFreed(handle);
}

bool TRunnerHost::HandleMessage(const platform::TWindowMessage& m) {
    const std::uint32_t code = wm::MessageCode(m.WParam);
    const auto from = static_cast<platform::WindowHandle>(m.LParam);
    switch (m.Msg) {
    case wm::WM_RUNTESTCOMMAND: RunTestCommand(code, from); return true;
    case wm::WM_RUNTESTGOTO: GoTo(static_cast<std::int32_t>(m.WParam), from); return true;
    case wm::WM_CHILDNOTIFY:
        if (code == wm::cnChildClosed) ChildClosed(from);
        if (code == wm::cnCloseChild) CloseChild(from);
        return true;
    default: return false;
    }
}

TTestRunner* TRunnerHost::FindRunner(platform::WindowHandle formHandle) const {
    for (const TRun& r : runs_)
        if (r.Runner && r.Runner->GetFormHandle() == formHandle) return r.Runner.get();
    return nullptr;
}

TRunTestForm* TRunnerHost::FindChildForm(platform::WindowHandle handle) const {
    for (const TRun& r : runs_)
        if (r.Form && r.Form->Handle() == handle) return r.Form;
    return nullptr;
}

bool TRunnerHost::IsTestWindowOpen(std::int32_t testID) const {
    for (const TRun& r : runs_)
        if (r.Form && r.Form->GetTestID() == testID) return true;
    return false;
}

TTestRunner* TRunnerHost::RunnerFor(platform::WindowHandle from) const {
    if (TTestRunner* runner = FindRunner(from)) return runner;
    // Only the full-screen window speaks for the full-screen run.
    if (fullScreenForm_ && fullScreenForm_->Handle() == from) return fullScreenRunner_;
    return nullptr;
}

void TRunnerHost::RunTestCommand(std::uint32_t code, platform::WindowHandle from) {
    try {
        TTestRunner* runner = RunnerFor(from);
        const TRunTestCommand command = RunTestCommandOf(code);
        switch (command.Target) {
            case TRunTestCommandTarget::None: return;
            case TRunTestCommandTarget::FullScreen: MaximizeToScreen(runner); return;
            case TRunTestCommandTarget::OwnWindow:
                if (runner) MinimizeToApplication(runner);
                return;
            case TRunTestCommandTarget::Runner:
                if (!runner) {
                    if (command.ErrorWithoutRunner) throw Exception(lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW"));
                    return;
                }
                if (command.Command != rnNone) runner->ExecuteCommand(command.Command);
                return;
        }
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

void TRunnerHost::GoTo(std::int32_t index, platform::WindowHandle from) {
    try {
        TTestRunner* runner = RunnerFor(from);
        if (!runner) throw Exception(lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW"));
        runner->ExecuteCommand(rnGoTo, index);
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

void TRunnerHost::MaximizeToScreen(TTestRunner* runner) {
    if (fullScreenRunner_) throw Exception(lang::GetMessageText("MAIN_F_IS_MAXIMIZED_TEST_SCREEN"));
    if (!runner) throw Exception(lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW"));
    TFileAccess* store = store_();
    if (!store) throw Exception(lang::GetMessageText("NO_Test_MSG"));
    auto* form = new TRunTestForm(nullptr, *store, handle_, runner->GetTestID(), runner->GetTestName());
    fullScreenForm_ = form;
    form->SetGotoItems(GotoCaptions(*runner));
    form->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    form->showMaximized();
    runner->SetHost(form->View(), hmFullScreen);
    runner->ExecuteCommand(rnRedisplay);
    fullScreenRunner_ = runner;
    TakeFocus(form);
}

void TRunnerHost::MinimizeToApplication(TTestRunner* runner) {
    if (IRunnerView* own = runner->GetOwnForm(); own && platform::MessageHub().IsWindow(runner->GetFormHandle())) {
        runner->SetHost(*own, hmOwnWindow);
        runner->ExecuteCommand(rnRedisplay);
        TakeFocus(FindChildForm(runner->GetFormHandle()));
    }
    EndFullScreen();
}

void TRunnerHost::EndFullScreen() {
    // The request comes from a menu command of that very window: free it once that has returned.
    if (fullScreenForm_) fullScreenForm_->deleteLater();
    fullScreenForm_ = nullptr;
    fullScreenRunner_ = nullptr;
}

// The keys of the person at the screen go to the test that has just come up, not to the control
// that started it.
void TRunnerHost::TakeFocus(TRunTestForm* form) {
    if (!form) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()); sub && mdi_) mdi_->setActiveSubWindow(sub);
    form->activateWindow();
    form->setFocus(Qt::ActiveWindowFocusReason);
}

void TRunnerHost::FreeForm(TRunTestForm* form) {
    if (!form) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        delete sub;
    } else {
        delete form;
    }
}

void TRunnerHost::ChildClosed(platform::WindowHandle handle) {
    if (fullScreenForm_ && fullScreenForm_->Handle() == handle) {
        // The full-screen window was closed: its run goes on in its own window.
        if (fullScreenRunner_) {
            MinimizeToApplication(fullScreenRunner_);
        } else {
            EndFullScreen();
        }
        return;
    }
    TRunTestForm* form = FindChildForm(handle);
    if (!form) return;
    for (TRun& r : runs_)
        if (r.Form == form) {
            if (fullScreenRunner_ == r.Runner.get()) EndFullScreen();
            r.Runner.reset();
        }
    FreeForm(form);
    PruneRunners();
    if (events_.WindowFreed) events_.WindowFreed(handle);
}

void TRunnerHost::CloseChild(platform::WindowHandle handle) {
    TRunTestForm* form = FindChildForm(handle);
    if (!form) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        sub->close();
    } else {
        form->close();
    }
}

void TRunnerHost::PruneRunners() {
    for (int i = static_cast<int>(runs_.size()) - 1; i >= 0; --i) {
        const TRun& r = runs_[static_cast<std::size_t>(i)];
        if (!r.Form) runs_.erase(runs_.begin() + i);
    }
}
