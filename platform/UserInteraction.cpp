#include "platform/UserInteraction.h"

#include <atomic>
#include <iostream>
#include <mutex>

namespace platform {
namespace {

class StreamInteraction : public IUserInteraction {
public:
    void ShowMessage(const std::string& text) override { std::cerr << ApplicationTitle() << ": " << text << '\n'; }
    void ShowError(const std::string& text) override {
        std::cerr << ApplicationTitle() << ": error: " << text << '\n';
    }
};

StreamInteraction g_default;
std::atomic<IUserInteraction*> g_current{nullptr};

std::mutex& TitleMutex() {
    static std::mutex m;
    return m;
}
std::string& TitleSlot() {
    static std::string title = "ORVEL";
    return title;
}

}  // namespace

bool IUserInteraction::AskWarningYesNo(const std::string& text) {
    std::cerr << ApplicationTitle() << ": " << text << " (no one to answer: No)\n";
    return false;
}

IUserInteraction& UserInteraction() {
    IUserInteraction* ui = g_current.load();
    return ui ? *ui : g_default;
}

IUserInteraction* SetUserInteraction(IUserInteraction* ui) { return g_current.exchange(ui); }

void ShowMessage(const std::string& text) { UserInteraction().ShowMessage(text); }
void ShowError(const std::string& text) { UserInteraction().ShowError(text); }
bool AskWarningYesNo(const std::string& text) { return UserInteraction().AskWarningYesNo(text); }

std::string ApplicationTitle() {
    std::lock_guard lock(TitleMutex());
    return TitleSlot();
}

void SetApplicationTitle(std::string_view title) {
    std::lock_guard lock(TitleMutex());
    TitleSlot() = std::string(title);
}

}  // namespace platform
