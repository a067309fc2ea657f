#include "exchange/ImportTest.h"

#include <exception>

#include "lang/DlgLangConverter.h"
#include "platform/UserInteraction.h"

namespace {

constexpr const char* kUndefinedName = "*****UNDEFINED_STRING*****";
constexpr double kNoValue = -99999;

void ShowFileCorrupted() { platform::ShowMessage(lang::GetMessageText("IMPEXP_TESTIMPORT_FILE_CORRUPTED")); }

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
    // What a failed load left in the exchange store is never copied: a damaged file is refused
    // whole, like a damaged data file.
    if (!ExchangeStore->Load(false, ExchangeSections())) {
        ShowFileCorrupted();
        return false;
    }
    if (!Validate()) return false;
    return CopyIntoCurrent();
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
        ShowFileCorrupted();
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
