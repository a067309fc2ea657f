#pragma once
#include <string>
#include <string_view>

namespace platform {

// Every modal message box of the program goes through one replaceable object, so that tests
// can record what would have been shown instead of blocking on a modal loop. Texts are in the
// program's code page. The windows install the Qt implementation at start-up; until then (and
// in programs without windows) messages go to the standard error stream.
class IUserInteraction {
public:
    virtual ~IUserInteraction() = default;
    // A plain modal message box: the application's title as caption, one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The default error box, for a failure that no handler of its own caught.
    virtual void ShowError(const std::string& text) = 0;
    // A modal warning with the buttons Yes and No; True only for Yes. Without windows nobody can
    // answer, so the question is written to the standard error stream and the answer is No.
    virtual bool AskWarningYesNo(const std::string& text);
};

// The object in use; never null.
IUserInteraction& UserInteraction();
// Installs ui (not owned; nullptr restores the default) and returns the one it replaces.
IUserInteraction* SetUserInteraction(IUserInteraction* ui);

void ShowMessage(const std::string& text);
void ShowError(const std::string& text);
bool AskWarningYesNo(const std::string& text);

// The caption of the program's message boxes.
std::string ApplicationTitle();
void SetApplicationTitle(std::string_view title);

}  // namespace platform
