// The library's one export. Only the library itself is built with it: the classes are tested
// without it, and the stand-in corvish carries its own.
#include <string>

#include "converter/HostWindows.h"
#include "converter/Vantrel.h"
#include "platform/FormatSettings.h"

extern "C" __attribute__((visibility("default"))) bool Vantrel(const unsigned char* path) {
    try {
        if (!path) return false;
        const std::string fileName(reinterpret_cast<const char*>(path + 1), path[0]);
        vantrel::UseHostWindows();
        return vantrel::ConvertFile(fileName, platform::FormatSettings::FromLocale());
    } catch (...) {
        return false;
    }
}
