#pragma once
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/ScopedHook.h"

namespace platform {

// A file that could not be read or written; the text names the file and the reason.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// The file to be replaced is read-only: it is left as it is.
class EFileReadOnly : public EFileError {
public:
    using EFileError::EFileError;
};

constexpr std::size_t kMaxReadBytes = 512u * 1024u * 1024u;

// Writes bytes to path atomically: a temporary file in the same folder, flushed and synced,
// then renamed over the target. A link is followed, also when the file it names does not exist
// yet, so that the link stays a link. On failure the old file is left as it was, the temporary
// file is removed, and EFileError is raised: EFileReadOnly for a target without write permission.
void WriteFileAtomic(const std::string& path, std::string_view bytes);
// The same with the bytes made piece by piece: produce hands each piece to the sink it is given,
// in order. What produce raises is passed on, with the old file left as it was.
using ByteSink = std::function<void(std::string_view bytes)>;
using ByteProducer = std::function<void(const ByteSink& put)>;
void WriteFileAtomic(const std::string& path, const ByteProducer& produce);

// Writes bytes to a new file at path the same way, with the given permissions, but only when no
// file of that name exists: False then, and nothing is written or left behind. Raises EFileError
// for any other failure, with no temporary file left.
bool WriteNewFileAtomic(const std::string& path, std::string_view bytes, mode_t mode);

// A file opened for reading: non-blocking and close-on-exec, so that a pipe or a device put in
// place of the file cannot hang the program, and checked on the open descriptor, so that what is
// read is what was checked.
class TReadableFile {
public:
    enum class TState { Open, Missing, NotRegular, Failed };
    explicit TReadableFile(const std::string& path);
    ~TReadableFile();
    TReadableFile(const TReadableFile&) = delete;
    TReadableFile& operator=(const TReadableFile&) = delete;

    TState State() const { return state_; }
    int Error() const { return error_; }          // errno of a failed open or check
    int Descriptor() const { return fd_; }        // -1 unless Open
    unsigned long long Size() const { return size_; }   // at the time of the check

private:
    TState state_ = TState::Failed;
    int error_ = 0;
    int fd_ = -1;
    unsigned long long size_ = 0;
};

// The whole content of a regular file; nullopt when the path does not exist. Raises EFileError
// for a path that is not a regular file, a file larger than maxBytes, or a read error.
std::optional<std::string> ReadFileCapped(const std::string& path, std::size_t maxBytes = kMaxReadBytes);
// The same content handed to take piece by piece, in order, without the whole of it in memory at
// once; start (when given) learns the size first. False when the path does not exist. Raises as
// ReadFileCapped, possibly after some pieces.
constexpr std::size_t kPieceBytes = 256 * 1024;
bool ReadFileInPieces(const std::string& path, const std::function<void(std::size_t size)>& start, const ByteSink& take,
                      std::size_t maxBytes = kMaxReadBytes);

// The first bytes of a regular file, at most headBytes of them, and whether they are all of it;
// nullopt when the path does not exist. Raises EFileError as ReadFileCapped does.
struct FileHead {
    std::string Bytes;
    bool Whole = false;
};
std::optional<FileHead> ReadFileHead(const std::string& path, std::size_t headBytes,
                                     std::size_t maxBytes = kMaxReadBytes);

bool FileExists(const std::string& path);

// What tells one content of a path from another written there later: the file it names (a save
// puts a new one in place) and its size and time of change. Empty when there is none.
struct FileIdentity {
    unsigned long long Device = 0, Inode = 0, Size = 0;
    long long ChangedSeconds = 0, ChangedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentifyFile(const std::string& path);
void RemoveFile(const std::string& path);   // no error when absent

// The call that puts bytes into the temporary file of WriteFileAtomic: ::write, unless another
// stands in its place (tests make a write fail half-way, as a full disk does). It answers as
// ::write does: the number of bytes written, or -1 with errno set.
using WriteCall = std::function<ssize_t(int fd, const void* data, std::size_t count)>;
// Puts call in place (an empty one brings ::write back) and returns the one it replaces.
WriteCall ReplaceWriteCall(WriteCall call);

// Puts a write call in place for its lifetime, then the previous one back.
using ScopedWriteCall = ScopedHook<WriteCall, &ReplaceWriteCall>;

}  // namespace platform
