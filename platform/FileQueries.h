#pragma once
#include <string>

namespace platform {

// Folder and file queries on names in the program's code page; "/" is the only separator.

// True when path names an existing folder (a link to a folder counts).
bool IsDirectory(const std::string& path);

// The name part (without folder) of the existing file or folder that path names, as the file
// system spells it; empty when nothing of that name exists.
std::string ExistingEntryName(const std::string& path);

// The process error mode: the set of critical-error and file-open boxes the system may show.
// Linux shows none of them, so the mode is only kept for whoever sets it; the value returned is
// the one it replaces.
unsigned SetErrorMode(unsigned mode);
unsigned GetErrorMode();

}  // namespace platform
