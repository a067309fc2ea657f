#include "runner/VisualChildForm.h"

#include <QCloseEvent>

#include <exception>

#include "lang/DlgLangConverter.h"
#include "platform/UserInteraction.h"
#include "platform/WindowMessages.h"

TVisualChildForm::TVisualChildForm(QWidget* owner, platform::WindowHandle mainHandle, std::int32_t testID,
                                   std::string title, const char* formName)
    : TLanguageController(owner), mainHandle_(mainHandle), testID_(testID), title_(std::move(title)) {
    setObjectName(formName);
    ImageSaveDialog.Kind = platform::TFileDialogRequest::TKind::Save;
    ImageSaveDialog.Title = lang::GetMessageText("RUNTEST_SAVE_IMAGE_IN_FILE_DLG");
    ImageSaveDialog.OverwritePrompt = true;
    ImageSaveDialog.FileMustExist = true;
    ImageSaveDialog.Filter = "Bitmap files (*.bmp)|*.BMP|Jpg files (*.jpg)|*.JPG";
    ImageSaveDialog.DefaultExt = "bmp";
    handle_ = platform::MessageHub().Register([this](const platform::TWindowMessage& m) {
        try {
            HandleMessage(m);
        } catch (const std::exception& e) {
            platform::ShowError(e.what());
        }
    });
    platform::MessageHub().Post(mainHandle_, wm::WM_CHILDNOTIFY, wm::cnChildCreated, static_cast<std::int32_t>(handle_));
}

TVisualChildForm::~TVisualChildForm() { platform::MessageHub().Unregister(handle_); }

void TVisualChildForm::HandleMessage(const platform::TWindowMessage&) {}

void TVisualChildForm::SendToMain(std::uint32_t msg, std::uint32_t code) {
    platform::MessageHub().Send(mainHandle_, msg, code, static_cast<std::int32_t>(handle_));
}

bool TVisualChildForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) SendToMain(wm::WM_CHILDNOTIFY, wm::cnChildActivated);
    return TLanguageController::event(e);
}

void TVisualChildForm::closeEvent(QCloseEvent* e) {
    bool may = false;
    try {
        may = CanClose();
    } catch (const std::exception& ex) {
        platform::ShowMessage(ex.what());
    }
    if (!may) {
        e->ignore();
        return;
    }
    // Posted: the main window frees this window only after its close handling has returned.
    platform::MessageHub().Post(mainHandle_, wm::WM_CHILDNOTIFY, wm::cnChildClosed, static_cast<std::int32_t>(handle_));
    e->accept();
}
