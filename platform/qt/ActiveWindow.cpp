#include "platform/qt/ActiveWindow.h"

#include <QApplication>

namespace platform {

bool AppWindowIsActive() { return QApplication::activeWindow() != nullptr; }

}  // namespace platform
