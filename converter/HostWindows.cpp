#include "converter/HostWindows.h"

#include <QApplication>
#include <QThread>

#include "lang/Progress.h"
#include "lang/ThreadProgressBar.h"
#include "platform/UserInteraction.h"
#include "platform/qt/QtUserInteraction.h"

namespace vantrel {

void UseHostWindows() {
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app && QThread::currentThread() == app->thread()) {
        static platform::QtUserInteraction windows;
        platform::SetUserInteraction(&windows);
        lang::InstallWindowProgress();
    } else {
        platform::SetUserInteraction(nullptr);
        lang::SetProgressFactory(nullptr);
    }
}

}  // namespace vantrel
