#include "platform/qt/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace platform {

TBusyCursor::TBusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

TBusyCursor::~TBusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace platform
