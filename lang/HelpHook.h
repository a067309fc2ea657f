#pragma once
#include <functional>

namespace lang {

// The help system's answer to a request for a help topic. The help bridge installs it; until
// then a request does nothing.
using HelpHook = std::function<void(int helpContext)>;

void SetHelpHook(HelpHook hook);
void RequestHelp(int helpContext);
// RequestHelp for a key or button handler: a help system that fails shows its message, and the
// failure goes no further than the handler.
void AskForHelp(int helpContext);

}  // namespace lang
