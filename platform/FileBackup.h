#pragma once
#include <string>

namespace platform {

// A copy of the file at path beside it, "<path>.bak", or "<path>.bak.1", "<path>.bak.2" ... when
// that name is taken: an existing file is never overwritten. Returns the name of the copy; raises
// EFileError (and leaves no partial copy) when the file cannot be read or copied.
std::string MakeBackup(const std::string& path);

// Puts the content of the backup back into path, atomically; raises EFileError.
void RestoreBackup(const std::string& backup, const std::string& path);

}  // namespace platform
