// The contents and index of a help file come from the file itself: any bytes must parse
// without a fault, and every entry read has a name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/HelpSitemap.h"

namespace {

void Check(const std::vector<platform::THelpSitemapEntry>& entries) {
    for (const auto& e : entries) {
        if (e.Name.empty()) std::abort();
        Check(e.Children);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(platform::ParseHelpSitemap(std::string(reinterpret_cast<const char*>(data), size)));
    return 0;
}
