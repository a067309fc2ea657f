// A stand-in for the sibling product's converter. It takes that product's 1.2.0 files to be in the
// old key-and-value layout already: it checks that the file reads as that layout and changes
// nothing. Converting the sibling product's own 1.2.0 format is not part of this system.
#include <exception>
#include <string>

#include "converter/FileAccessOld.h"
#include "platform/FormatSettings.h"

extern "C" __attribute__((visibility("default"))) bool Corvish(const unsigned char* path) {
    try {
        if (!path) return false;
        vantrel::TFileAccessOld file(std::string(reinterpret_cast<const char*>(path + 1), path[0]),
                                     platform::FormatSettings::FromLocale());
        return file.LoadAll();
    } catch (...) {
        return false;
    }
}
