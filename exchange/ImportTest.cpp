#include "exchange/ImportTest.h"

#include <cstring>
#include <exception>

#include "lang/DlgLangConverter.h"
#include "platform/SafeFile.h"
#include "platform/UserInteraction.h"

namespace {

constexpr const char* kUndefinedName = "*****UNDEFINED_STRING*****";
constexpr double kNoValue = -99999;

std::string Text(const char* key) { return lang::GetMessageText(key); }

// Why the file is refused, under the line that says it is, and the file's name: what the person
// reads is true for the file at hand.
void ShowRefused(const std::string& fileName, const std::string& reason) {
    platform::ShowMessage(Text("IMPEXP_TESTIMPORT_FILE_CORRUPTED") + "\n" + fileName + "\n" + reason);
}

// True when no record of the table fails the check.
template <typename Table, typename Fails>
bool NoneFails(const Table& table, Fails fails) {
    bool ok = true;
    for (int i = 0; i < table.RecordCount(); ++i)
        if (fails(table.At(i))) ok = false;
    return ok;
}

}  // namespace

TImportTest::TImportTest(std::int32_t targetGroupID, std::string fileName)
    : TExchangeTest(std::move(fileName)), TargetGroupID(targetGroupID) {}

bool TImportKVTTest::Import() {
    const std::optional<std::string> bytes = ReadExchangeFile();
    if (!bytes) return false;
    // What a failed load left in the exchange store is never copied: a damaged file is refused
    // whole, like a damaged data file.
    if (!ExchangeStore->LoadFromBytes(*bytes, ExchangeSections())) {
        const std::string where = DescribeLoadFailure(ExchangeStore->LoadFailure);
        ShowRefused(FileName, Text("IMPEXP_TESTIMPORT_FILE_DAMAGED") + (where.empty() ? "" : "\n" + where));
        return false;
    }
    if (!Validate()) return false;
    return CopyIntoCurrent();
}

std::optional<std::string> TImportKVTTest::ReadExchangeFile() const {
    {
        const platform::TReadableFile file(FileName);
        switch (file.State()) {
            case platform::TReadableFile::TState::Open: break;
            case platform::TReadableFile::TState::Missing:
                ShowRefused(FileName, Text("IMPEXP_TESTIMPORT_FILE_MISSING"));
                return std::nullopt;
            case platform::TReadableFile::TState::NotRegular:
                ShowRefused(FileName, Text("IMPEXP_TESTIMPORT_FILE_NOT_A_FILE"));
                return std::nullopt;
            case platform::TReadableFile::TState::Failed:
                ShowRefused(FileName, Text("IMPEXP_TESTIMPORT_FILE_UNREADABLE") + " " + std::strerror(file.Error()));
                return std::nullopt;
        }
    }
    try {
        std::optional<std::string> bytes = platform::ReadFileCapped(FileName);
        if (!bytes) ShowRefused(FileName, Text("IMPEXP_TESTIMPORT_FILE_MISSING"));
        return bytes;
    } catch (const platform::EFileError& e) {
        ShowRefused(FileName, Text("IMPEXP_TESTIMPORT_FILE_UNREADABLE") + " " + e.what());
        return std::nullopt;
    }
}

bool TImportKVTTest::Validate() const {
    const TFileAccess& s = *ExchangeStore;
    const auto undefinedName = [](const TAnyObject& r) { return r.Name == kUndefinedName; };
    // Every table is checked to its end; one failing record is enough.
    bool ok = NoneFails(s.Tests, [&](const TTest& t) { return t.ID == kNoValue || undefinedName(t); });
    ok = NoneFails(s.Scales, undefinedName) && ok;
    ok = NoneFails(s.Stimuli, undefinedName) && ok;
    ok = NoneFails(s.Reactions, undefinedName) && ok;
    ok = NoneFails(s.Interpretations,
                   [](const TInterpretation& r) { return r.Maximum == kNoValue || r.Minimum == kNoValue; }) &&
         ok;
    ok = NoneFails(s.Weights, [](const TWeight& r) { return r.Value == kNoValue; }) && ok;
    return ok;
}

bool TImportKVTTest::CopyIntoCurrent() {
    if (ExchangeStore->Tests.RecordCount() != 1) {
        ShowRefused(FileName,
                    Text("IMPEXP_TESTIMPORT_NOT_ONE_TEST") + " " + std::to_string(ExchangeStore->Tests.RecordCount()));
        return false;
    }
    try {
        TFileAccess& open = OpenStore();
        if (!open.TestGroups.ContainsID(TargetGroupID)) return false;
        // The copy is whole or not at all: a failure on the way takes back what it added.
        NewTestID = ExchangeStore->CopyTestTo(ExchangeStore->Tests.At(0).ID, TargetGroupID, open, true);
        return NewTestID != -1;
    } catch (const std::exception&) {
        NewTestID = -1;
        return false;
    }
}
