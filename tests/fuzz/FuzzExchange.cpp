// Reads any bytes as a coded exchange text file and imports what loads into an open project, then
// builds the XML and CSV exports of the imported test: no input may crash the import or the
// exports, or leave the open project half changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/ExportCSVTest.h"
#include "exchange/ExportXMLTest.h"
#include "exchange/ImportTest.h"
#include "platform/UserInteraction.h"

namespace {

// Messages of refused files are expected here; they go nowhere.
class Silent : public platform::IUserInteraction {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Silent silent;
    platform::SetUserInteraction(&silent);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    GlobalStore() = std::make_unique<TFileAccess>();
    TFileAccess& open = *GlobalStore();
    TTestGroup group;
    group.ID = 1;
    group.ParentID = -1;
    group.Name = "Group";
    open.TestGroups.AddTestGroup(group);
    TTest present;
    present.ID = 1;
    present.ParentID = 1;
    present.Name = "Present";
    open.Tests.AddTest(present);

    TImportKVTTest importer(1, "fuzz.kvt");
    if (importer.ExchangeStore->LoadFromBytes(bytes, TExchangeTest::ExchangeSections()) && importer.Validate()) {
        const int before = open.Tests.RecordCount();
        const bool copied = importer.CopyIntoCurrent();
        // A test is either in the open project whole, or not at all.
        Check(open.Tests.RecordCount() == before + (copied ? 1 : 0));
        if (copied) {
            TExportXMLTest xml("fuzz.xml", importer.GetNewTestID(), "a", "b", "c", false);
            Check(xml.BuildXML());
            TExportCSVTest csv("fuzz.csv", importer.GetNewTestID(), "a", "b", "c", true);
            Check(csv.BuildCSV());
        }
    }
    GlobalStore().reset();
    platform::SetUserInteraction(nullptr);
    return 0;
}
