#pragma once
#include <QWidget>

#include <cstdint>
#include <string>

#include "lang/LanguageController.h"
#include "platform/MessageHub.h"
#include "platform/qt/ModalDialogs.h"

// A child window of the main window that shows a test: it knows its main window and its test,
// has a window handle of the message hub, and tells the main window when it is created (posted
// cnChildCreated), activated (sent cnChildActivated) and closed (posted cnChildClosed).
class TVisualChildForm : public TLanguageController<QWidget> {
    Q_OBJECT
public:
    // formName names the window and so its language section; the derived window builds its
    // components and applies the language texts.
    TVisualChildForm(QWidget* owner, platform::WindowHandle mainHandle, std::int32_t testID, std::string title,
                     const char* formName);
    ~TVisualChildForm() override;

    platform::WindowHandle Handle() const { return handle_; }
    platform::WindowHandle MainHandle() const { return mainHandle_; }
    std::int32_t GetTestID() const { return testID_; }
    const std::string& Title() const { return title_; }

    // A save dialog for pictures, kept for the window; no command opens it.
    platform::TFileDialogRequest ImageSaveDialog;

protected:
    // A message of the hub for this window (sent or posted). Failures are caught by the caller.
    virtual void HandleMessage(const platform::TWindowMessage& message);
    // Whether the window may close now; the test window asks the person.
    virtual bool CanClose() { return true; }
    // Sends a message to the main window with this window's handle.
    void SendToMain(std::uint32_t msg, std::uint32_t code);

    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    platform::WindowHandle mainHandle_;
    std::int32_t testID_;
    std::string title_;
    platform::WindowHandle handle_ = platform::kNoWindow;
};
