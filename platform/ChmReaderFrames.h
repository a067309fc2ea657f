#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Why a help file was refused.
enum class TChmRefusal : std::uint8_t {
    None = 0,
    Missing,         // the path leads to nothing
    NotRegular,      // a folder, a pipe or a device
    TooLarge,        // above the size a help file may have
    NotHelpFile,     // the file does not begin as a compiled help file
    Damaged,         // its directory or its compressed data do not hold together
    TooMuchContent,  // more objects, or larger ones, than a help file may hold
    ReaderStopped,   // the reading process died or went past its memory or time limit
    ReaderTimedOut,  // the reading process did not finish in time
    ReaderFailed,    // the reading process could not be started or answered nonsense
};

// The bounds of a help file and of what is decoded from it.
inline constexpr std::uint64_t kMaxChmFileSize = 32u << 20;
inline constexpr std::uint64_t kMaxChmObjectSize = 16u << 20;
inline constexpr std::uint64_t kMaxChmDecodedSize = 64u << 20;
inline constexpr std::size_t kMaxChmObjects = 20000;
inline constexpr std::size_t kMaxChmPath = 512;

// The decoded objects of a help file, path and content.
struct TChmObject {
    std::string Path;
    std::string Data;
};

// The reading process answers through a pipe in frames: a tag byte, a 32-bit little-endian
// payload length, the payload. 'O' an object (16-bit path length, path, content), 'R' a refusal
// (one byte, the reason), 'E' the end (32-bit count of the objects sent). Nothing follows 'E'.
std::string ObjectFrame(std::string_view path, std::string_view data);
std::string RefusalFrame(TChmRefusal reason);
std::string EndFrame(std::uint32_t objects);

// Reads the answer of the reading process; every length and count is checked against the
// bounds above. None with the objects, or the reason of the refusal.
TChmRefusal ParseChmFrames(std::string_view answer, std::vector<TChmObject>& objects);

}  // namespace platform
