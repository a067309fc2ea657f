#include "lang/HelpHook.h"

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

}  // namespace lang
