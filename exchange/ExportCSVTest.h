#pragma once
#include <string>
#include <string_view>

#include "exchange/ExportTest.h"

// The test as six sections of rows separated by ";", read from the open project and written in
// UTF-8 (csv): the test, its scales, interpretations, questions, answers and weights.
class TExportCSVTest : public TExportTest {
public:
    using TExportTest::TExportTest;

    // BuildCSV, then the write; False, with the export error shown, when either fails.
    bool Export() override;
    // Builds CSVText; False, with the export error shown, when the test cannot be read.
    bool BuildCSV();

    // The text between apostrophes; an apostrophe inside is doubled.
    static std::string QuoteText(std::string_view text);

    std::string CSVText;   // in the program's code page
};
