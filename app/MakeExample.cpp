// Writes the example project: orvel_make_example <file>. The file is written with the settings
// of the POSIX locale (decimal ".", dates yyyy-MM-dd), whatever the machine's locale.
#include <cstdio>
#include <string>

#include "app/ExampleProject.h"
#include "lang/VersionInformation.h"
#include "platform/ProgramFolder.h"
#include "store/FileAccess.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.kvd>\n", argv[0]);
        return 2;
    }
    const TVersionInformation version(platform::ProgramFile());
    StoreServices().ProgramProductInfo = [&] { return TProductInfo{version.ProductName, version.ProductVersion}; };
    StoreServices().ShowMessageText = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    TFileAccess store(argv[1], platform::FormatSettings::Posix());
    FillExampleProject(store);
    return store.SaveAll() ? 0 : 1;
}
