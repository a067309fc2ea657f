#pragma once

namespace platform {

// True when one of the program's own windows is the active window of the desktop.
bool AppWindowIsActive();

}  // namespace platform
