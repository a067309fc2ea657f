#include "platform/qt/QtUserInteraction.h"

#include <QMessageBox>

#include "platform/qt/ModalDialogs.h"
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

bool QtUserInteraction::AskWarningYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, ToQString(ApplicationTitle()), ToQString(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return ExecModal(box) == QMessageBox::Yes;
}

}  // namespace platform
