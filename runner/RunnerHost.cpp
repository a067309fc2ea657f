#include "runner/RunnerHost.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <exception>

#include "lang/DlgLangConverter.h"
#include "platform/Exception.h"
#include "platform/WindowMessages.h"
#include "runner/RunTestForm.h"
#include "runner/TestRunner.h"

TRunnerHost::TRunnerHost(TFileAccess& store, QMdiArea* mdi) : store_(store), mdi_(mdi) {
    handle_ = platform::MessageHub().Register([this](const platform::TWindowMessage& m) {
        try {
            HandleMessage(m);
        } catch (const std::exception& e) {
            lang::ShowMessageText(e.what());
        }
    });
}

TRunnerHost::~TRunnerHost() {
    platform::MessageHub().Unregister(handle_);
    delete fullScreenForm_.data();
    for (TRun& r : runs_) {
        r.Runner.reset();
        FreeForm(r.Form);
    }
}

TRunTestForm* TRunnerHost::RunTest(std::int32_t testID) {
    std::unique_ptr<TTestRunner> runner;
    try {
        TTest test;
        store_.GetTest(testID, test);
        if (IsTestWindowOpen(testID))
            throw Exception(lang::GetMessageText("OBJECTSTREE_TEST_TITLE") + " \"" + test.Name + "\". " +
                            lang::GetMessageText("RUNTEST_TEST_IS_ACTIVE"));
        auto* form = new TRunTestForm(nullptr, store_, handle_, testID, test.Name);
        if (mdi_) {
            mdi_->addSubWindow(form)->show();
        } else {
            form->show();
        }
        runs_.push_back({form, nullptr});
        runner = std::make_unique<TTestRunner>(store_, handle_, form->View(), testID, test.Name);
        TTestRunner* r = runner.get();
        runs_.back().Runner = std::move(runner);
        r->ExecuteCommand(wm::rnStart);
        return form;
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
        return nullptr;
    }
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
    TTestRunner* runner = FindRunner(from);
    return runner ? runner : fullScreenRunner_;
}

void TRunnerHost::RunTestCommand(std::uint32_t code, platform::WindowHandle from) {
    try {
        TTestRunner* runner = RunnerFor(from);
        if (code == wm::rcMaximizeToScreen) {
            MaximizeToScreen(runner);
            return;
        }
        if (code == wm::rcMinimizeToApplication) {
            if (runner) MinimizeToApplication(runner);
            return;
        }
        const wm::TRunTestCommandRoute route = wm::RouteOfRunTestCommand(code);
        if (!runner) {
            if (route.ErrorWithoutRunner) throw Exception(lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW"));
            return;
        }
        if (route.Command != 0) runner->ExecuteCommand(route.Command);
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

void TRunnerHost::GoTo(std::int32_t index, platform::WindowHandle from) {
    try {
        TTestRunner* runner = RunnerFor(from);
        if (!runner) throw Exception(lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW"));
        runner->ExecuteCommand(wm::rnGoTo, index);
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

void TRunnerHost::MaximizeToScreen(TTestRunner* runner) {
    if (fullScreenRunner_) throw Exception(lang::GetMessageText("MAIN_F_IS_MAXIMIZED_TEST_SCREEN"));
    if (!runner) throw Exception(lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW"));
    auto* form = new TRunTestForm(nullptr, store_, handle_, runner->GetTestID(), runner->GetTestName());
    fullScreenForm_ = form;
    form->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    form->showMaximized();
    runner->SetHost(form->View(), hmFullScreen);
    runner->ExecuteCommand(wm::rnRedisplay);
    fullScreenRunner_ = runner;
}

void TRunnerHost::MinimizeToApplication(TTestRunner* runner) {
    if (IRunnerView* own = runner->GetOwnForm(); own && platform::MessageHub().IsWindow(runner->GetFormHandle())) {
        runner->SetHost(*own, hmOwnWindow);
        runner->ExecuteCommand(wm::rnRedisplay);
    }
    // The request comes from a menu command of that very window: free it once that has returned.
    if (fullScreenForm_) fullScreenForm_->deleteLater();
    fullScreenForm_ = nullptr;
    fullScreenRunner_ = nullptr;
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
    TRunTestForm* form = FindChildForm(handle);
    if (!form) return;
    for (TRun& r : runs_)
        if (r.Form == form) {
            if (fullScreenRunner_ == r.Runner.get()) {
                if (fullScreenForm_) fullScreenForm_->deleteLater();
                fullScreenForm_ = nullptr;
                fullScreenRunner_ = nullptr;
            }
            r.Runner.reset();
        }
    FreeForm(form);
    PruneRunners();
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
