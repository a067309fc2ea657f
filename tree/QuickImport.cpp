#include "tree/QuickImport.h"

#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"
#include "store/FileAccess.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The line as the program's code page holds it: bytes that do not decode become U+FFFD.
std::string InCodePage(std::string_view line) {
    const platform::CodePage& page = platform::CodePage::Current();
    return page.FromUtf8(page.ToUtf8(line));
}

// The fields that every imported object shares.
template <class R>
R Imported(TObjectTable& table, std::int32_t parent, std::int32_t order, std::string name, const std::string& line) {
    R r;
    r.ID = table.NewID();
    r.ParentID = parent;
    r.Order = order;
    r.Name = std::move(name);
    r.Description = line;
    return r;
}

// A table whose records stand in order gets what the import appended put in its place, also when
// an add raised, so that the table stays in order and a save need not sort it: the records that
// were there keep their places, ties among them too. A table out of order is left as it is.
class KeepInOrder {
public:
    explicit KeepInOrder(TObjectTable& table)
        : table_(table), from_(table.RecordCount()), inOrder_(table.IsInOrder()) {}
    ~KeepInOrder() {
        if (inOrder_) table_.PlaceAppended(from_);
    }
    KeepInOrder(const KeepInOrder&) = delete;
    KeepInOrder& operator=(const KeepInOrder&) = delete;

private:
    TObjectTable& table_;
    int from_;
    bool inOrder_;
};

// Runs add over the blocks, top objects first in each, appending to the two tables.
template <class AddTop, class AddChild>
void StoreBlocks(TObjectTable& tops, TObjectTable& children, std::int32_t test,
                 const std::vector<TQuickImportBlock>& blocks, TQuickImportCount& count, AddTop&& addTop,
                 AddChild&& addChild) {
    const KeepInOrder keepTops(tops);
    const KeepInOrder keepChildren(children);
    // After the objects that the folder holds already, also after a save and load.
    std::int32_t order = tops.MaxOrder(test) + 1;
    for (const TQuickImportBlock& block : blocks) {
        const std::int32_t top = addTop(block.Top, order++);
        ++count.Top;
        std::int32_t n = 0;
        for (const std::string& line : block.Children) {
            addChild(top, line, n++);
            ++count.Children;
        }
    }
}

}  // namespace

std::vector<TQuickImportBlock> ParseQuickImport(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);

    std::vector<TQuickImportBlock> blocks;
    bool inBlock = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", at);
        const std::string_view raw = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (end == std::string_view::npos) at = text.size();
        else at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);

        const std::string_view line = platform::TrimBlanks(raw);
        if (line.empty()) {
            inBlock = false;
        } else if (inBlock) {
            blocks.back().Children.push_back(InCodePage(line));
        } else {
            blocks.push_back({InCodePage(line), {}});
            inBlock = true;
        }
    }
    return blocks;
}

std::string ReadQuickImportFile(const std::string& path) {
    std::optional<std::string> bytes = platform::ReadFileCapped(path);
    if (!bytes) throw platform::EFileError("The file " + path + " does not exist.");
    return std::move(*bytes);
}

void StoreQuickImportScales(TFileAccess& store, std::int32_t test, const std::vector<TQuickImportBlock>& blocks,
                            const std::string& interpretationTitle, TQuickImportCount& count) {
    StoreBlocks(
        store.Scales, store.Interpretations, test, blocks, count,
        [&](const std::string& line, std::int32_t order) {
            TScale s = Imported<TScale>(store.Scales, test, order, platform::CutShortText(line), line);
            store.Scales.AddScale(s);
            return s.ID;
        },
        [&](std::int32_t scale, const std::string& line, std::int32_t n) {
            auto in = Imported<TInterpretation>(store.Interpretations, scale, n,
                                                platform::CutShortText(interpretationTitle + " " + std::to_string(n + 1)),
                                                line);
            in.Minimum = 0;
            in.Maximum = 0;
            store.Interpretations.AddInterpretation(std::move(in));
        });
}

void StoreQuickImportStimuli(TFileAccess& store, std::int32_t test, const std::vector<TQuickImportBlock>& blocks,
                             TQuickImportCount& count) {
    StoreBlocks(
        store.Stimuli, store.Reactions, test, blocks, count,
        [&](const std::string& line, std::int32_t order) {
            TStimul q = Imported<TStimul>(store.Stimuli, test, order, platform::CutShortText(line), line);
            q.AnswerRequired = true;
            q.AnswersLimit = 1;
            q.MultipleAnswers = false;
            store.Stimuli.AddStimulus(q);
            return q.ID;
        },
        [&](std::int32_t question, const std::string& line, std::int32_t n) {
            store.Reactions.AddReaction(
                Imported<TReaction>(store.Reactions, question, n, platform::CutShortText(line), line));
        });
}
