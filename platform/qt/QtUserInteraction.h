#pragma once
#include "platform/UserInteraction.h"

namespace platform {

// The message boxes of the windowed program, shown with QMessageBox on the GUI thread.
class QtUserInteraction : public IUserInteraction {
public:
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    // A QMessageBox shown through ExecModal, so that a test can answer it.
    bool AskWarningYesNo(const std::string& text) override;
};

}  // namespace platform
