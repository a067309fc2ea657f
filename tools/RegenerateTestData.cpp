// Writes the expected files of tests/data again from the fixtures the tests build them from, as
// the program writes them today. Run it by hand after a change to a file layout and read the
// result as a diff ("git diff tests/data"): the tests go on comparing byte for byte.
//
//   orvel_regenerate_test_data [DIR]    DIR: the folder to write into (default: tests/data)
//
// The example project has its own writer: build/bin/orvel_make_example samples/example.kvd.
#include <cstdio>
#include <string>

#include "exchange/ExportFormats.h"
#include "exchange/ExportTest.h"
#include "platform/SafeFile.h"
#include "platform/SharedLibrary.h"
#include "store/FileAccess.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/ScopedCodePage.h"
#include "tests/support/ScopedGlobalStore.h"
#include "tests/support/ScopedStoreServices.h"
#include "tests/support/StoreFixtures.h"

namespace {

using platform::DateOrder;
using platform::FormatSettings;

std::string g_dir;

std::string Path(const std::string& name) { return g_dir + "/" + name; }

void Wrote(const std::string& name) { std::printf("%s\n", Path(name).c_str()); }

void WriteText(const std::string& name, const std::string& text) {
    platform::WriteFileAtomic(Path(name), text);
    Wrote(name);
}

// The data file of the store fixture: its plain text, and the coded file the program saves.
void DataFileFixture(const FormatSettings& settings, const std::string& stem) {
    TFileAccess store(Path(stem + ".kvd"), settings);
    FillFixture(store);
    if (!store.SaveAll()) throw Exception(store.LastError);
    Wrote(stem + ".kvd");
    WriteText(stem + ".txt", store.FileText);
}

void EmptyAndProductOnly() {
    TFileAccess empty(Path("empty_project.kvd"));
    if (!empty.SaveAll()) throw Exception(empty.LastError);
    Wrote("empty_project.kvd");
    TFileAccess product(Path("product_only.kvd"));
    FillFixture(product);
    if (!product.Save(true, TSectionChoice{})) throw Exception(product.LastError);
    Wrote("product_only.kvd");
    WriteText("product_only.txt", product.FileText);
}

// The fixture test exported in every format, and the plain text of the exchange file.
void ExchangeFiles(const FormatSettings& settings, const std::string& stem) {
    const ScopedCodePage codePage("UTF-8");
    const ScopedVersionStamp stamp;
    const ScopedGlobalStore open(MakeExchangeProject(settings));
    for (const TExportFormat& f : ExportFormats()) {
        const std::string name = stem + "." + f.Ext;
        auto exporter = f.Make(Path(name), kFixtureTest, kAuthor, kEmail, kCopyright, true);
        if (!exporter->Export()) throw Exception("the export to " + name + " failed");
        Wrote(name);
    }
    TExportKVTTest kvt(Path(stem + ".kvt"), kFixtureTest, kAuthor, kEmail, kCopyright, true);
    if (!kvt.Export()) throw Exception("the export to " + stem + ".kvt failed");
    WriteText(stem + ".txt", kvt.ExchangeStore->FileText);
}

// The old project through the converter library, as the program calls it.
void ConvertedOldProject() {
    const auto library = platform::TSharedLibrary::Load(VANTREL_LIBRARY);
    auto* vantrel = library->Function<bool(const unsigned char*)>("Vantrel");
    const auto old = platform::ReadFileCapped(Path("old_project.kvd"));
    if (!old) throw Exception("old_project.kvd is missing");
    const std::string name = Path("old_project_142.kvd");
    platform::WriteFileAtomic(name, *old);
    std::string arg(1, static_cast<char>(name.size()));
    arg += name;
    if (!vantrel(reinterpret_cast<const unsigned char*>(arg.data()))) throw Exception("the conversion failed");
    Wrote("old_project_142.kvd");
}

}  // namespace

int main(int argc, char** argv) {
    g_dir = argc > 1 ? argv[1] : "tests/data";
    try {
        const ScopedStoreServices services;
        DataFileFixture({'.', DateOrder::YMD, '-'}, "fixture_dot");
        DataFileFixture({',', DateOrder::DMY, '.'}, "fixture_comma");
        EmptyAndProductOnly();
        ExchangeFiles(FormatSettings::Posix(), "exchange_dot");
        ExchangeFiles({',', DateOrder::DMY, '.'}, "exchange_comma");
        ConvertedOldProject();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
