#include "platform/qt/QtMessagePoster.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <exception>

#include "platform/MessageHub.h"
#include "platform/UserInteraction.h"

namespace platform {

void InstallQtMessagePoster() {
    MessageHub().SetPoster([](std::function<void()> work) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [work = std::move(work)] {
                try {
                    work();
                } catch (const std::exception& e) {
                    ShowError(e.what());
                }
            },
            Qt::QueuedConnection);
    });
}

}  // namespace platform
