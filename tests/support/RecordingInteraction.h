#pragma once
#include <deque>
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
    // Takes the next queued answer; with none queued the answer is No.
    bool AskWarningYesNo(const std::string& text) override {
        Questions.push_back(text);
        if (YesNoAnswers.empty()) return false;
        const bool yes = YesNoAnswers.front();
        YesNoAnswers.pop_front();
        return yes;
    }

    std::vector<std::string> Messages;
    std::vector<std::string> Errors;
    std::vector<std::string> Questions;
    std::deque<bool> YesNoAnswers;

private:
    platform::IUserInteraction* previous_;
};
