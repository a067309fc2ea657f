#include "platform/qt/QtUserInteraction.h"

#include <QLabel>
#include <QMessageBox>

#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"

namespace platform {
namespace {

// A message is text as it stands, and what it names (an address, a file) can be selected and
// copied with the mouse or the keyboard.
void MakeSelectable(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Tab reaches the text from the buttons, for a person without a mouse.
    for (QLabel* label : box.findChildren<QLabel*>())
        if (label->text() == box.text()) label->setFocusPolicy(Qt::StrongFocus);
}

void Show(QMessageBox::Icon icon, const std::string& text) {
    QMessageBox box(icon, ToQString(ApplicationTitle()), ToQString(text), QMessageBox::Ok);
    MakeSelectable(box);
    // The keyboard starts on the button, as in any message box; Tab leads to the text.
    box.setDefaultButton(QMessageBox::Ok);
    ExecModal(box);
}

}  // namespace

void QtUserInteraction::ShowMessage(const std::string& text) { Show(QMessageBox::NoIcon, text); }

void QtUserInteraction::ShowError(const std::string& text) { Show(QMessageBox::Critical, text); }

bool QtUserInteraction::AskWarningYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, ToQString(ApplicationTitle()), ToQString(text),
                    QMessageBox::Yes | QMessageBox::No);
    MakeSelectable(box);
    box.setDefaultButton(QMessageBox::No);
    return ExecModal(box) == QMessageBox::Yes;
}

}  // namespace platform
