// Reads any bytes as the language file: as an INI text, and through the message table the program
// builds of it. Every key the reader lists must read back, trimmed and within the length limit.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "lang/DlgLangConverter.h"
#include "platform/IniFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// A file of the program's own for the message table to read.
const std::string& LanguageFile() {
    static const std::string path = [] {
        char name[] = "/tmp/orvel-fuzz-language-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) ::close(fd);
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const platform::IniFile ini = platform::IniFile::Parse(text);

    // Every header-like line names a section; what the reader keeps of it reads back.
    std::set<std::string> seen;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = platform::TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() != '[') continue;
        const std::string_view name = line.substr(1, line.find(']') == std::string_view::npos ? line.npos : line.find(']') - 1);
        Check(ini.HasSection(name));
        if (!seen.insert(platform::LowerAscii(platform::TrimBlanks(name))).second) continue;
        for (const std::string& key : ini.Keys(name)) {
            Check(!key.empty() && !IsBlank(key.front()) && !IsBlank(key.back()));
            const auto value = ini.Value(name, key);
            Check(value.has_value());
            Check(value->size() <= platform::IniFile::kMaxValueLength);
            Check(value->empty() || (!IsBlank(value->front()) && !IsBlank(value->back())));
            Check(ini.ReadString(name, key, "default") == *value);
            Check(ini.Value(platform::LowerAscii(name), platform::LowerAscii(key)) == value);
        }
    }

    // The message table of the same text: refused as a whole, or every key has its text.
    // Written plainly: a safe write syncs the disk on every input.
    std::ofstream(LanguageFile(), std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
    try {
        const TDlgLangConverter table(LanguageFile());
        Check(!table.Keys().empty() && table.Keys().size() == table.Lines().size());
        Check(table.GetMessageText(table.Keys().front()).size() <= 255);
        Check(table.GetMessageText(table.Keys().back()).size() <= 255);
    } catch (const std::exception&) {
        // a file without the section or its keys
    }
    return 0;
}
