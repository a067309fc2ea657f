#pragma once
#include <string>
#include <string_view>

namespace platform {

// A text of the program's code page in upper case. ASCII letters always change; the letters
// beyond ASCII change as the user's locale (LC_CTYPE) says.
std::string UpperCase(std::string_view local);

}  // namespace platform
