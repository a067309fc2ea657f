#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Exception.h"

namespace platform {

// A file that could not be read or written; the text names the file and the reason.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

constexpr std::size_t kMaxReadBytes = 512u * 1024u * 1024u;

// Writes bytes to path atomically: a temporary file in the same folder, flushed and synced,
// then renamed over the target. On failure the old file is left as it was, the temporary file
// is removed, and EFileError is raised.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// The whole content of a regular file; nullopt when the path does not exist. Raises EFileError
// for a path that is not a regular file, a file larger than maxBytes, or a read error.
std::optional<std::string> ReadFileCapped(const std::string& path, std::size_t maxBytes = kMaxReadBytes);

bool FileExists(const std::string& path);
void RemoveFile(const std::string& path);   // no error when absent

namespace testhooks {
// Makes the next atomic writes fail after the temporary file was partly written (count writes).
void FailNextWrites(int count);
}  // namespace testhooks

}  // namespace platform
