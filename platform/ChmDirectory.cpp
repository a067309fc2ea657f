#include "platform/ChmDirectory.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t kMinFileHeader = 0x58;
constexpr std::size_t kMinDirectoryHeader = 0x54;
constexpr std::uint32_t kMinChunk = 32;
constexpr std::uint32_t kMaxChunk = 1u << 16;
constexpr std::size_t kListingHeader = 20;
constexpr std::size_t kIndexHeader = 8;

std::uint32_t U32(std::string_view s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint64_t U64(std::string_view s, std::size_t at) {
    return U32(s, at) | (static_cast<std::uint64_t>(U32(s, at + 4)) << 32);
}

// A chunk's entries, read one field at a time; a field that runs past the entries' end fails.
class TEntries {
public:
    TEntries(std::string_view chunk, std::size_t begin, std::size_t end) : chunk_(chunk), at_(begin), end_(end) {}
    bool AtEnd() const { return at_ >= end_; }

    // A number of 7 bits a byte, most significant first, high bit set on every byte but the last.
    std::optional<std::uint64_t> Number() {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i) {
            if (at_ >= end_) return std::nullopt;
            const auto b = static_cast<unsigned char>(chunk_[at_++]);
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        return std::nullopt;
    }

    bool Name() {
        const std::optional<std::uint64_t> length = Number();
        if (!length || *length == 0 || *length > kMaxChmPath || *length > end_ - at_) return false;
        at_ += static_cast<std::size_t>(*length);
        return true;
    }

private:
    std::string_view chunk_;
    std::size_t at_, end_;
};

class TDirectoryCheck {
public:
    explicit TDirectoryCheck(std::string_view file) : file_(file) {}

    TChmRefusal Run() {
        if (file_.size() < kMinFileHeader || file_.substr(0, 4) != "ITSF") return TChmRefusal::NotHelpFile;
        const std::uint32_t headerLength = U32(file_, 8);
        if (headerLength < kMinFileHeader || headerLength > file_.size()) return TChmRefusal::Damaged;
        if (!Inside(U64(file_, 0x38), U64(file_, 0x40), file_.size())) return TChmRefusal::Damaged;
        const std::uint64_t dirOffset = U64(file_, 0x48), dirLength = U64(file_, 0x50);
        if (!Inside(dirOffset, dirLength, file_.size()) || dirLength < kMinDirectoryHeader) return TChmRefusal::Damaged;
        const std::string_view dir = file_.substr(static_cast<std::size_t>(dirOffset), static_cast<std::size_t>(dirLength));
        if (dir.substr(0, 4) != "ITSP") return TChmRefusal::Damaged;
        const std::uint32_t dirHeader = U32(dir, 8);
        chunkSize_ = U32(dir, 0x10);
        const auto indexRoot = static_cast<std::int32_t>(U32(dir, 0x1C));
        const auto firstListing = static_cast<std::int32_t>(U32(dir, 0x20));
        chunks_ = U32(dir, 0x2C);
        if (dirHeader < kMinDirectoryHeader || dirHeader > dir.size() || chunkSize_ < kMinChunk || chunkSize_ > kMaxChunk)
            return TChmRefusal::Damaged;
        if (chunks_ == 0 || chunks_ > (dir.size() - dirHeader) / chunkSize_) return TChmRefusal::Damaged;
        chunkArea_ = dir.substr(dirHeader, static_cast<std::size_t>(chunks_) * chunkSize_);
        if (!Valid(firstListing) || (indexRoot != -1 && !Valid(indexRoot))) return TChmRefusal::Damaged;
        if (const TChmRefusal r = WalkListings(firstListing); r != TChmRefusal::None) return r;
        if (indexRoot != -1) return WalkIndex(static_cast<std::uint32_t>(indexRoot));
        return TChmRefusal::None;
    }

private:
    static bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
        return offset <= size && length <= size - offset;
    }
    bool Valid(std::int32_t chunk) const { return chunk >= 0 && static_cast<std::uint32_t>(chunk) < chunks_; }
    std::string_view Chunk(std::uint32_t n) const {
        return chunkArea_.substr(static_cast<std::size_t>(n) * chunkSize_, chunkSize_);
    }

    // The listing chunks, from the first along their "next" links, each at most once.
    TChmRefusal WalkListings(std::int32_t first) {
        std::vector<bool> passed(chunks_, false);
        std::size_t entries = 0;
        for (std::int32_t n = first; n != -1;) {
            if (!Valid(n) || passed[static_cast<std::size_t>(n)]) return TChmRefusal::Damaged;
            passed[static_cast<std::size_t>(n)] = true;
            const std::string_view chunk = Chunk(static_cast<std::uint32_t>(n));
            if (chunk.substr(0, 4) != "PMGL") return TChmRefusal::Damaged;
            const std::uint32_t free = U32(chunk, 4);
            if (free > chunkSize_ - kListingHeader) return TChmRefusal::Damaged;
            TEntries e(chunk, kListingHeader, chunkSize_ - free);
            while (!e.AtEnd()) {
                if (!e.Name()) return TChmRefusal::Damaged;
                const auto section = e.Number(), offset = e.Number(), length = e.Number();
                if (!section || !offset || !length || *section > 1) return TChmRefusal::Damaged;
                if (*length > kMaxChmDecodedSize || ++entries > 2 * kMaxChmObjects) return TChmRefusal::TooMuchContent;
            }
            n = static_cast<std::int32_t>(U32(chunk, 16));
        }
        return TChmRefusal::None;
    }

    // The index chunks below the root: every child named lies in the directory, and no path
    // down the tree comes back to a chunk on it.
    TChmRefusal WalkIndex(std::uint32_t root) {
        enum : std::uint8_t { kNew, kOnPath, kDone };
        std::vector<std::uint8_t> state(chunks_, kNew);
        struct TStep {
            std::uint32_t Chunk;
            std::vector<std::uint32_t> Children;
            std::size_t Next = 0;
        };
        std::vector<TStep> path;
        const auto enter = [&](std::uint32_t n) -> TChmRefusal {
            state[n] = kOnPath;
            TStep step{n, {}, 0};
            const std::string_view chunk = Chunk(n);
            if (chunk.substr(0, 4) == "PMGI") {
                const std::uint32_t free = U32(chunk, 4);
                if (free > chunkSize_ - kIndexHeader) return TChmRefusal::Damaged;
                TEntries e(chunk, kIndexHeader, chunkSize_ - free);
                while (!e.AtEnd()) {
                    if (!e.Name()) return TChmRefusal::Damaged;
                    const auto child = e.Number();
                    if (!child || *child >= chunks_) return TChmRefusal::Damaged;
                    step.Children.push_back(static_cast<std::uint32_t>(*child));
                }
            } else if (chunk.substr(0, 4) != "PMGL") {
                return TChmRefusal::Damaged;
            }
            path.push_back(std::move(step));
            return TChmRefusal::None;
        };
        if (const TChmRefusal r = enter(root); r != TChmRefusal::None) return r;
        while (!path.empty()) {
            TStep& top = path.back();
            if (top.Next == top.Children.size()) {
                state[top.Chunk] = kDone;
                path.pop_back();
                continue;
            }
            const std::uint32_t child = top.Children[top.Next++];
            if (state[child] == kOnPath) return TChmRefusal::Damaged;
            if (state[child] == kNew) {
                if (const TChmRefusal r = enter(child); r != TChmRefusal::None) return r;
            }
        }
        return TChmRefusal::None;
    }

    std::string_view file_;
    std::string_view chunkArea_;
    std::uint32_t chunkSize_ = 0;
    std::uint32_t chunks_ = 0;
};

}  // namespace

TChmRefusal CheckChmDirectory(std::string_view file) { return TDirectoryCheck(file).Run(); }

}  // namespace platform
