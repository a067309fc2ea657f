#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/ExchangeTest.h"

// The export of one test of the open project, with the author values and the private flag that
// the export dialog collected.
class TExportTest : public TExchangeTest {
public:
    // The author values are cut to 255 bytes and lose their line breaks, as stored short texts do.
    TExportTest(std::string fileName, std::int32_t testID, std::string_view authorName, std::string_view authorEmail,
                std::string_view copyright, bool isPrivate);

    // Copies the test into the exchange store with its IDs, then puts the author values and the
    // private flag into the copy. False, with the export error shown, when the copy fails.
    virtual bool Export();

    // Today's date, the time and a random number (VersionStamp.h), in the open project's forms.
    std::string MakeVersionStamp() const;

    std::int32_t TestID;
    std::string AuthorName;
    std::string AuthorEmail;
    std::string Copyright;
    bool Private;

protected:
    const platform::FormatSettings& Settings() const { return ExchangeStore->Settings; }
    // Writes text, turned from the program's code page into UTF-8 without a byte-order mark,
    // atomically to FileName, coded when encode is set. On failure the export error is shown with
    // the reason (for a read-only file, the read-only text with the file's name), the old file
    // stays as it was, and the result is False.
    bool WriteUtf8(std::string_view text, bool encode) const;
    // Shows the export error, with the reason on a line of its own when there is one.
    static void ShowExportError(std::string_view reason);
};

// The exchange text file (kvt): the data-file layout without the test groups, holding the test.
class TExportKVTTest : public TExportTest {
public:
    using TExportTest::TExportTest;
    // The copy, then the save of the exchange store; the save shows its own failures, a read-only
    // file with the export's text.
    bool Export() override;
};
