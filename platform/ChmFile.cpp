#include "platform/ChmFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/ChmDirectory.h"
#include "platform/ProgramFolder.h"
#include "platform/SafeFile.h"

namespace platform {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::uint32_t ReadU32(const std::string& data, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t ReadU16(const std::string& data, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) |
                                      (static_cast<unsigned char>(data[at + 1]) << 8));
}

// A text field of the file: up to its first NUL.
std::string CText(const std::string& data, std::size_t at, std::size_t size) {
    const std::string field = data.substr(at, size);
    return field.substr(0, field.find('\0'));
}

std::string Rooted(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    return "/" + path;
}

bool IsInternalPath(const std::string& path) { return path.size() < 2 || path[1] == '#' || path[1] == '$' || path[1] == ':'; }

// A descriptor closed when it goes out of scope.
class TFd {
public:
    explicit TFd(int fd = -1) : fd_(fd) {}
    ~TFd() { Reset(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Reads exactly size bytes of the descriptor; nullopt when it has fewer or more.
std::optional<std::string> ReadExactly(int fd, std::uint64_t size) {
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got != size) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

// A copy of the bytes that only lives in memory, for the reading process: it decodes exactly
// what was checked, whatever happens to the file meanwhile.
int MemoryCopy(const std::string& bytes) {
    const int fd = ::memfd_create("orvel-help", MFD_CLOEXEC);
    if (fd < 0) return -1;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return fd;
}

// The most that the reading process may answer: every object at its largest, with its frame.
constexpr std::size_t kMaxAnswer = kMaxChmDecodedSize + kMaxChmObjects * (8 + kMaxChmPath) + 64;

// Runs the reading process on the bytes and takes back its answer.
TChmRefusal Decode(const std::string& bytes, const TChmLimits& limits, std::string& answer) {
    const std::string program = limits.Program.empty() ? TChmFile::ReaderProgram() : limits.Program;
    TFd file(MemoryCopy(bytes));
    int ends[2];
    if (file.Get() < 0 || ::pipe2(ends, O_CLOEXEC) != 0) return TChmRefusal::ReaderFailed;
    TFd readEnd(ends[0]), writeEnd(ends[1]);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, file.Get(), 3);
    ::posix_spawn_file_actions_addclosefrom_np(&actions, 4);
    const std::string memory = std::to_string(limits.MemoryBytes), cpu = std::to_string(limits.CpuSeconds);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(memory.c_str()),
                    const_cast<char*>(cpu.c_str()), nullptr};
    char* envp[] = {nullptr};
    // The process starts with no signal blocked and every signal at its default, whatever the
    // program has set for itself: a fault ends it, and so does its processor time limit.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &all);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp);
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return TChmRefusal::ReaderFailed;
    writeEnd.Reset();
    file.Reset();

    TChmRefusal result = TChmRefusal::None;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.WallMilliseconds);
    char buffer[1 << 16];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result = TChmRefusal::ReaderTimedOut;
            break;
        }
        pollfd p{readEnd.Get(), POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR) {
            result = TChmRefusal::ReaderFailed;
            break;
        }
        if (ready <= 0) continue;
        const ssize_t n = ::read(readEnd.Get(), buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) {
            result = TChmRefusal::ReaderFailed;
            break;
        }
        if (n == 0) break;
        if (static_cast<std::size_t>(n) > kMaxAnswer - answer.size()) {
            result = TChmRefusal::TooMuchContent;
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    if (result != TChmRefusal::None) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (result != TChmRefusal::None) return result;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return TChmRefusal::ReaderStopped;
    return TChmRefusal::None;
}

}  // namespace

std::string TChmFile::ReaderProgram() { return ProgramFolder() + "/orvel_chm_reader"; }

TChmFile::TChmFile(const std::string& path, const TChmLimits& limits) : path_(path) {
    Load(limits);
    if (!IsOpen()) {
        content_.clear();
        return;
    }
    for (const auto& [objectPath, data] : content_)
        if (!IsInternalPath(objectPath)) objects_.push_back(objectPath);
    for (const std::string& o : objects_) byLowerPath_.emplace(Lower(o), o);
    ReadSystem();
    ReadContextMap();
}

void TChmFile::Load(const TChmLimits& limits) {
    const TReadableFile file(path_);
    switch (file.State()) {
        case TReadableFile::TState::Open: break;
        case TReadableFile::TState::NotRegular: refusal_ = TChmRefusal::NotRegular; return;
        default: refusal_ = TChmRefusal::Missing; return;
    }
    if (file.Size() > kMaxChmFileSize) {
        refusal_ = TChmRefusal::TooLarge;
        return;
    }
    const std::optional<std::string> bytes = ReadExactly(file.Descriptor(), file.Size());
    if (!bytes) {
        refusal_ = TChmRefusal::Damaged;
        return;
    }
    refusal_ = CheckChmDirectory(*bytes);
    if (refusal_ != TChmRefusal::None) return;
    std::string answer;
    refusal_ = Decode(*bytes, limits, answer);
    if (refusal_ != TChmRefusal::None) return;
    std::vector<TChmObject> decoded;
    refusal_ = ParseChmFrames(answer, decoded);
    for (TChmObject& o : decoded) {
        if (!content_.emplace(std::move(o.Path), std::move(o.Data)).second) {
            // The same object twice: the file's directory does not hold together.
            refusal_ = TChmRefusal::Damaged;
            return;
        }
    }
}

const std::string* TChmFile::Internal(const std::string& objectPath) const {
    const auto it = content_.find(objectPath);
    return it == content_.end() ? nullptr : &it->second;
}

std::optional<std::string> TChmFile::Read(const std::string& objectPath) const {
    const auto it = byLowerPath_.find(Lower(Rooted(objectPath)));
    if (it == byLowerPath_.end()) return std::nullopt;
    return content_.at(it->second);
}

bool TChmFile::Exists(const std::string& objectPath) const { return byLowerPath_.count(Lower(Rooted(objectPath))) > 0; }

std::string TChmFile::FindObject(const std::string& path) const {
    if (path.empty()) return {};
    const std::string lower = Lower(Rooted(path));
    if (const auto it = byLowerPath_.find(lower); it != byLowerPath_.end()) return it->second;
    std::string best;
    for (const auto& [lowerObject, object] : byLowerPath_) {
        if (lowerObject.size() > best.size() && lower.size() > lowerObject.size() &&
            lower.compare(lower.size() - lowerObject.size(), lowerObject.size(), lowerObject) == 0)
            best = object;
    }
    return best;
}

// "#SYSTEM": a version, then records of a 16-bit code, a 16-bit length and that many bytes.
void TChmFile::ReadSystem() {
    const std::string* system = Internal("/#SYSTEM");
    if (!system || system->size() < 4) return;
    const std::string& data = *system;
    std::size_t at = 4;
    while (at + 4 <= data.size()) {
        const std::uint16_t code = ReadU16(data, at);
        const std::size_t size = ReadU16(data, at + 2);
        at += 4;
        if (size > data.size() - at) break;
        const std::string text = CText(data, at, size);
        switch (code) {
            case 0: contentsFile_ = FindObject(text); break;
            case 1: indexFile_ = FindObject(text); break;
            case 2: defaultTopic_ = FindObject(text); break;
            case 3: title_ = text; break;
            default: break;
        }
        at += size;
    }
}

// "#IVB": the byte length of the pairs that follow, then pairs of a context number and the
// offset of its topic's path in "#STRINGS".
void TChmFile::ReadContextMap() {
    const std::string* ivb = Internal("/#IVB");
    const std::string* strings = Internal("/#STRINGS");
    if (!ivb || !strings || ivb->size() < 4) return;
    const std::size_t size = std::min<std::size_t>(ReadU32(*ivb, 0), ivb->size() - 4);
    for (std::size_t at = 4; at + 8 <= 4 + size; at += 8) {
        const std::uint32_t context = ReadU32(*ivb, at);
        const std::size_t offset = ReadU32(*ivb, at + 4);
        if (offset >= strings->size()) continue;
        const std::string topic = FindObject(CText(*strings, offset, strings->size() - offset));
        if (!topic.empty()) contextMap_.emplace(context, topic);
    }
}

std::optional<std::string> TChmFile::TopicOfContext(std::uint32_t context) const {
    const auto it = contextMap_.find(context);
    if (it == contextMap_.end()) return std::nullopt;
    return it->second;
}

}  // namespace platform
