#pragma once
#include <string>

namespace platform {

// The full path of the running program file (from /proc/self/exe); empty when the system does
// not tell. A shared library asking this gets the program that loaded it.
std::string ProgramFile();

// The folder of the running program file, without a trailing "/"; "." when it is unknown.
std::string ProgramFolder();

}  // namespace platform
