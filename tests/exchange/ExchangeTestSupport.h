#pragma once
#include <string>

#include <gtest/gtest.h>

#include "lang/DlgLangConverter.h"
#include "platform/FormatSettings.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/ScopedCodePage.h"
#include "tests/support/ScopedGlobalStore.h"
#include "tests/support/ScopedStoreServices.h"
#include "tests/support/TempDir.h"

// The two forms of numbers and dates the exchange files are checked under, with the stem of
// their hand-written files in tests/data.
struct TFormCase {
    platform::FormatSettings Settings;
    std::string Stem;
};
inline TFormCase DotForm() { return {platform::FormatSettings::Posix(), "exchange_dot"}; }
inline TFormCase CommaForm() { return {{',', platform::DateOrder::DMY, '.'}, "exchange_comma"}; }
inline std::string FormName(const ::testing::TestParamInfo<TFormCase>& info) { return info.param.Stem; }

// Changes the record of that ID in the table and stores it again.
template <typename Table, typename Change>
void EditStored(Table& table, std::int32_t id, Change change) {
    ASSERT_TRUE(table.Locate(id)) << id;
    typename Table::Record record = table.GetRecordOf();
    change(record);
    table.EditRecord(record);
}

// The fixture project open, UTF-8 as the code page, the stamp fixed, messages recorded.
class ExchangeTest : public ::testing::Test {
protected:
    explicit ExchangeTest(const platform::FormatSettings& settings = platform::FormatSettings::Posix())
        : open_(MakeExchangeProject(settings)) {}

    TFileAccess& Open() const { return open_.Store(); }
    static std::string Text(const char* key) { return lang::GetMessageText(key); }

    ScopedCodePage codePage_{"UTF-8"};
    ScopedStoreServices services_;
    RecordingInteraction shown_;
    ScopedVersionStamp stamp_;
    TempDir dir_;
    ScopedGlobalStore open_;
};
