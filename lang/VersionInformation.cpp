#include "lang/VersionInformation.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/IniFile.h"
#include "platform/SafeFile.h"

namespace {

// Far above any real section table, string table or version block.
constexpr std::uint64_t kMaxSections = 1u << 20;
constexpr std::uint64_t kMaxStringTable = 64u << 20;
constexpr std::uint64_t kMaxBlock = 1u << 20;
constexpr std::uint32_t kNoBits = 8;   // a section that takes no room in the file

class File {
public:
    // Only a regular file: a pipe or a device could block or never end.
    explicit File(const std::string& path) : file_(path) {
        if (file_.State() == platform::TReadableFile::TState::Open) {
            fd_ = file_.Descriptor();
            size_ = file_.Size();
        }
    }

    std::uint64_t Size() const { return size_; }

    // The bytes [offset, offset + count) when they all lie inside the file.
    std::optional<std::string> Read(std::uint64_t offset, std::uint64_t count) const {
        if (fd_ < 0 || offset > size_ || count > size_ - offset) return std::nullopt;
        std::string out(static_cast<std::size_t>(count), '\0');
        std::size_t got = 0;
        while (got < out.size()) {
            const ssize_t n = ::pread(fd_, out.data() + got, out.size() - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return std::nullopt;   // shrank under us or a read error
            got += static_cast<std::size_t>(n);
        }
        return out;
    }

private:
    platform::TReadableFile file_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Reads little- or big-endian unsigned fields out of a byte string that is known to be long enough.
class Fields {
public:
    Fields(std::string_view bytes, bool bigEndian) : bytes_(bytes), big_(bigEndian) {}
    std::uint64_t At(std::size_t offset, std::size_t width) const {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::uint64_t b = static_cast<unsigned char>(bytes_[offset + i]);
            v |= big_ ? b << (8 * (width - 1 - i)) : b << (8 * i);
        }
        return v;
    }

private:
    std::string_view bytes_;
    bool big_;
};

struct Layout {
    std::size_t HeaderSize, ShOff, ShEntSize, ShNum, ShStrNdx;    // ELF header
    std::size_t EntryMin, Name, Type, Offset, Size, Link, Word;   // section header; Word: address width
};
constexpr Layout kElf32{52, 0x20, 0x2E, 0x30, 0x32, 40, 0, 4, 16, 20, 24, 4};
constexpr Layout kElf64{64, 0x28, 0x3A, 0x3C, 0x3E, 64, 0, 4, 24, 32, 40, 8};

struct SectionHeader {
    std::uint64_t Name, Type, Offset, Size, Link;
};

bool IsHex8(std::string_view s) {
    if (s.size() != 8) return false;
    for (char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

std::optional<std::string> ReadElfSection(const std::string& path, const std::string& section) {
    const File file(path);
    const auto ident = file.Read(0, 16);
    if (!ident || std::memcmp(ident->data(), "\x7f" "ELF", 4) != 0) return std::nullopt;
    const int cls = (*ident)[4];
    const int data = (*ident)[5];
    if ((cls != 1 && cls != 2) || (data != 1 && data != 2)) return std::nullopt;
    const Layout& l = cls == 2 ? kElf64 : kElf32;
    const bool big = data == 2;

    const auto header = file.Read(0, l.HeaderSize);
    if (!header) return std::nullopt;
    const Fields h(*header, big);
    const std::uint64_t shoff = h.At(l.ShOff, l.Word);
    const std::uint64_t entSize = h.At(l.ShEntSize, 2);
    std::uint64_t count = h.At(l.ShNum, 2);
    std::uint64_t strIndex = h.At(l.ShStrNdx, 2);
    if (shoff == 0 || entSize < l.EntryMin) return std::nullopt;

    const auto entry = [&](std::uint64_t i) -> std::optional<SectionHeader> {
        if (i * entSize > std::numeric_limits<std::uint64_t>::max() - shoff) return std::nullopt;
        const auto bytes = file.Read(shoff + i * entSize, l.EntryMin);
        if (!bytes) return std::nullopt;
        const Fields s(*bytes, big);
        return SectionHeader{s.At(l.Name, 4), s.At(l.Type, 4), s.At(l.Offset, l.Word), s.At(l.Size, l.Word),
                             s.At(l.Link, 4)};
    };
    if (count == 0 || strIndex == 0xFFFF) {   // numbers too large for the header live in entry 0
        const auto first = entry(0);
        if (!first) return std::nullopt;
        if (count == 0) count = first->Size;
        if (strIndex == 0xFFFF) strIndex = first->Link;
    }
    if (count == 0 || count > kMaxSections || strIndex >= count) return std::nullopt;
    // The whole table must lie inside the file.
    if (shoff > file.Size() || count * entSize > file.Size() - shoff) return std::nullopt;

    const auto strHeader = entry(strIndex);
    if (!strHeader || strHeader->Type == kNoBits || strHeader->Size > kMaxStringTable) return std::nullopt;
    const auto strings = file.Read(strHeader->Offset, strHeader->Size);
    if (!strings) return std::nullopt;

    for (std::uint64_t i = 0; i < count; ++i) {
        const auto s = entry(i);
        if (!s) return std::nullopt;
        if (s->Name >= strings->size()) continue;
        const std::size_t start = static_cast<std::size_t>(s->Name);
        const std::size_t end = strings->find('\0', start);
        if (end == std::string::npos || std::string_view(*strings).substr(start, end - start) != section) continue;
        if (s->Type == kNoBits || s->Size > kMaxBlock) return std::nullopt;
        return file.Read(s->Offset, s->Size);
    }
    return std::nullopt;
}

TVersionInformation::TVersionInformation(std::string fileName) : FileName(std::move(fileName)) { ReadVersionInfo(); }

void TVersionInformation::Clear() {
    Size = 0;
    for (std::string* v : {&FileVersion, &FileDescription, &InternalName, &OriginalFilename, &CompanyName,
                           &ProductVersion, &ProductName, &LegalCopyright, &LegalTradeMarks, &Translation, &Comments,
                           &WebSite, &SupportEmail})
        v->assign(1, '-');
}

void TVersionInformation::ReadVersionInfo() {
    Clear();
    const auto block = ReadElfSection(FileName, kSectionName);
    if (!block || block->empty()) return;
    Size = static_cast<int>(block->size());

    // Key=value lines up to the first zero byte; keys match regardless of letter case.
    const std::string_view text(block->data(), std::min(block->size(), block->find('\0')));
    const platform::IniFile lines = platform::IniFile::Parse("[Block]\n" + std::string(text));
    const auto find = [&](const char* key) { return lines.ReadString("Block", key, ""); };

    // The values belong to the block's translation; without one there are none.
    const std::string translation = find("Translation");
    if (!IsHex8(translation)) return;
    Translation.clear();
    for (char c : translation) Translation += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    const std::pair<const char*, std::string*> keys[] = {
        {"CompanyName", &CompanyName},     {"FileDescription", &FileDescription}, {"FileVersion", &FileVersion},
        {"InternalName", &InternalName},   {"LegalCopyright", &LegalCopyright},   {"LegalTradeMarks", &LegalTradeMarks},
        {"OriginalFilename", &OriginalFilename}, {"ProductName", &ProductName}, {"ProductVersion", &ProductVersion},
        {"Comments", &Comments},           {"WebSite", &WebSite},                 {"SupportEmail", &SupportEmail},
    };
    for (const auto& [key, field] : keys) {
        std::string value = find(key);
        *field = value.empty() ? "-" : std::move(value);
    }
}
