#pragma once
#include <string>
#include <vector>

#include "platform/UserInteraction.h"

// Installed for its lifetime in place of the real message boxes; keeps what would have been shown.
class RecordingInteraction : public platform::IUserInteraction {
public:
    RecordingInteraction() : previous_(platform::SetUserInteraction(this)) {}
    ~RecordingInteraction() override { platform::SetUserInteraction(previous_); }
    RecordingInteraction(const RecordingInteraction&) = delete;
    RecordingInteraction& operator=(const RecordingInteraction&) = delete;

    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowError(const std::string& text) override { Errors.push_back(text); }

    std::vector<std::string> Messages;
    std::vector<std::string> Errors;

private:
    platform::IUserInteraction* previous_;
};
