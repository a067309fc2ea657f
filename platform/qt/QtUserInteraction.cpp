#include "platform/qt/QtUserInteraction.h"

#include <QMessageBox>

#include "platform/qt/QtText.h"

namespace platform {
namespace {

void Show(QMessageBox::Icon icon, const std::string& text) {
    QMessageBox box(icon, ToQString(ApplicationTitle()), ToQString(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace

void QtUserInteraction::ShowMessage(const std::string& text) { Show(QMessageBox::NoIcon, text); }

void QtUserInteraction::ShowError(const std::string& text) { Show(QMessageBox::Critical, text); }

}  // namespace platform
