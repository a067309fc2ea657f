#include "lang/HelpHook.h"

#include <exception>

#include "platform/UserInteraction.h"

namespace lang {
namespace {

HelpHook& HookSlot() {
    static HelpHook hook;
    return hook;
}

}  // namespace

void SetHelpHook(HelpHook hook) { HookSlot() = std::move(hook); }

void RequestHelp(int helpContext) {
    if (const HelpHook& hook = HookSlot()) hook(helpContext);
}

void AskForHelp(int helpContext) {
    try {
        RequestHelp(helpContext);
    } catch (const std::exception& e) {
        platform::ShowError(e.what());
    }
}

}  // namespace lang
