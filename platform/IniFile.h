#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// An INI text read the way the program reads its language file: "[section]" headers and
// key=value lines; section and key names match regardless of letter case, blanks (bytes 0 to 32)
// around names and values do not count, a value is cut at 2047 bytes, the keys of a section come
// in file order. A missing or unreadable file reads as an empty one, so every read gives its default.
// Lines before the first header, lines without "=" and lines starting with ";" are ignored; of
// two keys or sections with the same name the first counts.
class IniFile {
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    IniFile() = default;
    static IniFile Load(const std::string& path);
    static IniFile Parse(std::string_view text);

    bool HasSection(std::string_view section) const;
    // The key names of a section as the file spells them, in file order; empty when it is absent.
    std::vector<std::string> Keys(std::string_view section) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

private:
    struct Entry {
        std::string Key;
        std::string Value;
    };
    struct Section {
        std::vector<Entry> Entries;
        std::unordered_map<std::string, std::size_t> Index;   // folded key -> entry
    };
    const Section* Find(std::string_view section) const;

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;       // folded name -> section
};

// Bytes 0 to 32 removed from both ends.
std::string_view TrimBlanks(std::string_view s);
// "A" to "Z" turned into "a" to "z"; every other byte stays (names are matched this way).
std::string LowerAscii(std::string_view s);

}  // namespace platform
