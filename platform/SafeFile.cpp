#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace platform {
namespace {

WriteCall& WriteCallSlot() {
    static WriteCall call;
    return call;
}

ssize_t WriteSome(int fd, const void* data, std::size_t count) {
    const WriteCall& call = WriteCallSlot();
    return call ? call(fd, data, count) : ::write(fd, data, count);
}

std::string Reason(int err) { return std::strerror(err); }

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { int f = fd_; fd_ = -1; return f; }
private:
    int fd_;
};

// Where a chain of links ends, for a link whose last target does not exist yet; the path itself
// when it is no link.
std::string FollowLinks(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st{};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return path;
        const std::string next(target.data(), static_cast<std::size_t>(n));
        path = !next.empty() && next[0] == '/' ? next : FolderOf(path) + "/" + next;
    }
    throw EFileError("Cannot create file \"" + path + "\". " + Reason(ELOOP));
}

// A file the user may not change: no write permission for anybody, or none for this user.
bool IsReadOnly(const std::string& path, const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Writes what produce makes to a new temporary file in folder with the mode, flushed and synced,
// and returns its name. On any failure the temporary file is removed, and fail is called with the
// reason (what produce raises is passed on).
template <typename Fail>
std::string WriteTemporary(const std::string& folder, const ByteProducer& produce, mode_t mode, Fail fail) {
    // A short name in the same folder, so a long target name still fits.
    std::string tmpl = folder + "/.orvel-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    Fd fd(::mkstemp(name.data()));
    if (fd.get() < 0) fail(Reason(errno));
    const std::string tmp(name.data());

    const auto abandon = [&](const std::string& why) {
        ::close(fd.release());
        ::unlink(tmp.c_str());
        fail(why);
    };

    // mkstemp made the file 0600: a file system that cannot change modes leaves it private.
    ::fchmod(fd.get(), mode);

    // Bytes written and not yet sent on to the disk. Once they make a few megabytes, the disk is
    // set to work on them while the rest is made: the final sync then waits for less.
    off_t written = 0, started = 0;
    constexpr off_t kStartBytes = 4 * 1024 * 1024;
    const auto put = [&](std::string_view bytes) {
        if (written - started >= kStartBytes) {
            ::sync_file_range(fd.get(), started, written - started, SYNC_FILE_RANGE_WRITE);
            started = written;
        }
        written += static_cast<off_t>(bytes.size());
        const char* p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t n = WriteSome(fd.get(), p, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                abandon(Reason(errno));
            }
            if (n == 0) abandon(Reason(EIO));   // no progress: never loop forever
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    };
    try {
        produce(put);
    } catch (...) {
        // What failed while the bytes were made leaves no temporary file either (a failed write
        // has removed it already).
        if (fd.get() >= 0) {
            ::close(fd.release());
            ::unlink(tmp.c_str());
        }
        throw;
    }
    if (::fsync(fd.get()) != 0) abandon(Reason(errno));
    if (::close(fd.release()) != 0) {
        ::unlink(tmp.c_str());
        fail(Reason(errno));
    }
    return tmp;
}

// Makes a rename in the folder durable.
void SyncFolder(const std::string& folder) {
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

void WriteFileAtomic(const std::string& path, const ByteProducer& produce) {
    const auto fail = [&](const std::string& why) {
        throw EFileError("Cannot create file \"" + path + "\". " + why);
    };
    if (path.empty()) fail("No file name.");

    // A link is followed, so that the file it names is replaced and the link stays a link.
    std::string real;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        real = resolved;
        std::free(resolved);
    } else {
        real = FollowLinks(path);   // a dangling link: its target is created
    }
    struct stat target{};
    const bool exists = ::stat(real.c_str(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode)) fail("It is not a regular file.");
    if (exists && IsReadOnly(real, target))
        throw EFileReadOnly("Cannot create file \"" + path + "\". The file is read-only.");

    // Keep the target's permissions; a new file gets the usual ones.
    mode_t mode = 0666;
    if (exists) mode = target.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    const std::string tmp = WriteTemporary(FolderOf(real), produce, mode, fail);
    if (::rename(tmp.c_str(), real.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(Reason(err));
    }
    SyncFolder(FolderOf(real));
}

bool WriteNewFileAtomic(const std::string& path, std::string_view bytes, mode_t mode) {
    const auto fail = [&](const std::string& why) {
        throw EFileError("Cannot create file \"" + path + "\". " + why);
    };
    if (path.empty()) fail("No file name.");
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0) return false;
    const std::string tmp =
        WriteTemporary(FolderOf(path), [&](const ByteSink& put) { put(bytes); }, mode & 07777, fail);
    // Put in place only under a name that is free: a file that appeared there meanwhile stays.
    if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0) {
        int err = errno;
        if (err == EINVAL || err == ENOSYS) {
            // A file system without the call: a second name for the file is made only when free.
            err = ::link(tmp.c_str(), path.c_str()) == 0 ? 0 : errno;
        }
        ::unlink(tmp.c_str());
        if (err == EEXIST) return false;
        if (err != 0) fail(Reason(err));
    }
    SyncFolder(FolderOf(path));
    return true;
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
    WriteFileAtomic(path, [bytes](const ByteSink& put) { put(bytes); });
}

TReadableFile::TReadableFile(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        error_ = errno;
        state_ = error_ == ENOENT || error_ == ENOTDIR ? TState::Missing : TState::Failed;
        return;
    }
    struct stat st{};
    if (::fstat(fd_, &st) != 0) {
        error_ = errno;
    } else if (!S_ISREG(st.st_mode)) {
        state_ = TState::NotRegular;
    } else {
        state_ = TState::Open;
        size_ = static_cast<unsigned long long>(st.st_size);
        return;
    }
    ::close(fd_);
    fd_ = -1;
}

TReadableFile::~TReadableFile() {
    if (fd_ >= 0) ::close(fd_);
}

namespace {

[[noreturn]] void ReadFailed(const std::string& path, const std::string& why) {
    throw EFileError("Cannot read file \"" + path + "\". " + why);
}

// False when the path leads to nothing; raises for a file that is not to be read: not a regular
// file, not open, or larger than maxBytes.
bool MayBeRead(const TReadableFile& file, const std::string& path, std::size_t maxBytes) {
    if (file.State() == TReadableFile::TState::Missing) return false;
    if (file.State() == TReadableFile::TState::NotRegular) ReadFailed(path, "It is not a regular file.");
    if (file.State() != TReadableFile::TState::Open) ReadFailed(path, Reason(file.Error()));
    if (file.Size() > maxBytes)
        ReadFailed(path, "The file is larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MiB.");
    return true;
}

}  // namespace

bool ReadFileInPieces(const std::string& path, const std::function<void(std::size_t)>& start, const ByteSink& take,
                      std::size_t maxBytes) {
    const auto fail = [&](const std::string& why) { ReadFailed(path, why); };
    const TReadableFile file(path);
    if (!MayBeRead(file, path, maxBytes)) return false;

    // Exactly the size the file had when it was checked, then one byte more: a file that another
    // program is still writing is not taken half-written.
    const auto size = static_cast<std::size_t>(file.Size());
    if (start) start(size);
    const std::size_t pieceSize = std::min<std::size_t>(size, kPieceBytes);
    const auto piece = std::make_unique_for_overwrite<char[]>(pieceSize);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(file.Descriptor(), piece.get(), std::min(pieceSize, size - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(Reason(errno));
        if (n == 0) fail("The file changed while it was read.");
        got += static_cast<std::size_t>(n);
        take(std::string_view(piece.get(), static_cast<std::size_t>(n)));
    }
    char probe;
    ssize_t n;
    while ((n = ::read(file.Descriptor(), &probe, 1)) < 0 && errno == EINTR) {
    }
    if (n < 0) fail(Reason(errno));
    if (n > 0) fail("The file changed while it was read.");
    return true;
}

std::optional<std::string> ReadFileCapped(const std::string& path, std::size_t maxBytes) {
    std::string out;
    const auto reserve = [&](std::size_t size) { out.reserve(size); };
    if (!ReadFileInPieces(path, reserve, [&](std::string_view piece) { out += piece; }, maxBytes)) return std::nullopt;
    return out;
}

std::optional<FileHead> ReadFileHead(const std::string& path, std::size_t headBytes, std::size_t maxBytes) {
    const auto fail = [&](const std::string& why) { ReadFailed(path, why); };
    const TReadableFile file(path);
    if (!MayBeRead(file, path, maxBytes)) return std::nullopt;
    FileHead head;
    head.Whole = file.Size() <= headBytes;
    head.Bytes.resize(static_cast<std::size_t>(head.Whole ? file.Size() : headBytes));
    for (std::size_t got = 0; got < head.Bytes.size();) {
        const ssize_t n = ::read(file.Descriptor(), head.Bytes.data() + got, head.Bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(Reason(errno));
        if (n == 0) fail("The file changed while it was read.");
        got += static_cast<std::size_t>(n);
    }
    return head;
}

bool FileExists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, static_cast<unsigned long long>(st.st_size), st.st_mtim.tv_sec,
                        st.st_mtim.tv_nsec};
}

WriteCall ReplaceWriteCall(WriteCall call) { return std::exchange(WriteCallSlot(), std::move(call)); }

}  // namespace platform
