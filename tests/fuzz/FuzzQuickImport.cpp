// Reads any bytes as a quick-import text and stores what it holds as scales and as questions: no
// input may crash the reader, and what it gives must be what the import expects of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/CodePage.h"
#include "store/FileAccess.h"
#include "tree/QuickImport.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// A line of a block: not empty, no line end or NUL, trimmed of bytes 0 to 32.
void CheckLine(std::string_view line) {
    Require(!line.empty());
    Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    Require(static_cast<unsigned char>(line.front()) > 32 && static_cast<unsigned char>(line.back()) > 32);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool utf8 = (platform::CodePage::SetCurrent(platform::CodePage("UTF-8")), true);
    (void)utf8;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<TQuickImportBlock> blocks = ParseQuickImport(bytes);
    int children = 0;
    for (const TQuickImportBlock& block : blocks) {
        CheckLine(block.Top);
        for (const std::string& line : block.Children) CheckLine(line);
        children += static_cast<int>(block.Children.size());
    }

    TFileAccess store;
    TQuickImportCount scales;
    StoreQuickImportScales(store, 1, blocks, "Interpretation", scales);
    TQuickImportCount questions;
    StoreQuickImportStimuli(store, 1, blocks, questions);
    Require(scales.Top == static_cast<int>(blocks.size()) && scales.Children == children);
    Require(questions.Top == scales.Top && questions.Children == children);
    Require(store.Scales.RecordCount() == scales.Top && store.Stimuli.RecordCount() == questions.Top);
    for (int i = 0; i < store.Scales.RecordCount(); ++i) Require(store.Scales.At(i).Name.size() <= 255);
    return 0;
}
