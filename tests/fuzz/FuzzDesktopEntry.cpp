// Reads any bytes as the Exec line of a desktop entry, as the links do with the entries a desktop
// has installed: no line may crash the reader, and every word of what it makes is a whole word.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Browser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The line up to the first NUL; what follows stands for the entry's icon, name and path.
    const std::size_t cut = input.find('\0');
    const std::string line = input.substr(0, cut);
    platform::TDesktopEntryFields entry;
    if (cut != std::string::npos) entry.Icon = entry.Name = entry.Path = input.substr(cut + 1);
    for (const char* url : {"https://www.example.org/a?b=1&c=%20", "mailto:support@example.org"}) {
        const auto command = platform::ExecCommand(line, url, entry);
        if (!command.empty() && command.front().empty()) std::abort();
    }
    return 0;
}
