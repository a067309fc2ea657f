#include "exchange/ExportTest.h"

#include <exception>

#include "exchange/VersionStamp.h"
#include "lang/DlgLangConverter.h"
#include "platform/CodePage.h"
#include "platform/UserInteraction.h"
#include "platform/SafeFile.h"
#include "store/Records.h"

namespace {

// The export's own word for a target it may not replace, not the project file's.
constexpr const char* kReadOnly = lang::MessageKey("IMPEXP_TESTEXPORT_READONLY");

}  // namespace

TExportTest::TExportTest(std::string fileName, std::int32_t testID, std::string_view authorName,
                         std::string_view authorEmail, std::string_view copyright, bool isPrivate)
    : TExchangeTest(std::move(fileName)),
      TestID(testID),
      AuthorName(CleanShortText(authorName)),
      AuthorEmail(CleanShortText(authorEmail)),
      Copyright(CleanShortText(copyright)),
      Private(isPrivate) {
    ExchangeStore->ReadOnlyMessageKey = kReadOnly;
}

bool TExportTest::Export() {
    bool copied = false;
    try {
        TFileAccess& exchange = *ExchangeStore;
        // One export per object; a second call starts again from an empty store.
        for (TObjectTable* table : exchange.AllTables()) table->Clear();
        copied = OpenStore().CopyTestTo(TestID, -1, exchange, false) != -1;
        if (copied) {
            TTest test;
            exchange.GetTest(TestID, test);
            test.AuthorName = AuthorName;
            test.AuthorEmail = AuthorEmail;
            test.Copyright = Copyright;
            test.Private = Private;
            exchange.UpdateTest(TestID, test);
        }
    } catch (const std::exception&) {
        copied = false;
    }
    if (!copied) ShowExportError({});
    return copied;
}

std::string TExportTest::MakeVersionStamp() const { return ::MakeVersionStamp(Settings()); }

bool TExportTest::WriteUtf8(std::string_view text, bool encode) const {
    try {
        const platform::CodePage& page = platform::CodePage::Current();
        // A text that is UTF-8 already is written as it stands, without a copy of it.
        if (page.IsUtf8Already(text)) SaveStringToFile(FileName, text, encode);
        else SaveStringToFile(FileName, page.ToUtf8(text), encode);
        return true;
    } catch (const platform::EFileReadOnly&) {
        platform::ShowMessage(lang::GetMessageText(kReadOnly) + "\n" + FileName);
        return false;
    } catch (const std::exception& e) {
        ShowExportError(e.what());
        return false;
    }
}

void TExportTest::ShowExportError(std::string_view reason) {
    std::string text = lang::GetMessageText("IMPEXP_TESTEXPORT_ERROR");
    if (!reason.empty()) text += "\n" + std::string(reason);
    platform::ShowMessage(text);
}

bool TExportKVTTest::Export() { return TExportTest::Export() && ExchangeStore->Save(false, ExchangeSections()); }
