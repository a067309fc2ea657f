#pragma once
#include "platform/UserInteraction.h"

namespace platform {

// The message boxes of the windowed program, shown with QMessageBox on the GUI thread through
// ExecModal, their text selectable.
class QtUserInteraction : public IUserInteraction {
public:
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool AskWarningYesNo(const std::string& text) override;
};

}  // namespace platform
