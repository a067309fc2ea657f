#include <gtest/gtest.h>

#include "exchange/ExportCSVTest.h"
#include "tests/exchange/ExchangeTestSupport.h"

TEST(CsvQuote, PutsTheTextBetweenApostrophesAndDoublesThoseInside) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "''"},
        {"plain", "'plain'"},
        {"Level 'A'", "'Level ''A'''"},
        {"'", "''''"},
        {"a;b", "'a;b'"},
        {"two\r\nlines", "'two\r\nlines'"},
    };
    for (const auto& [text, quoted] : cases) EXPECT_EQ(TExportCSVTest::QuoteText(text), quoted) << text;
}

TEST_F(ExchangeTest, CsvOfATestWithoutChildrenHasItsRowAndFiveEmptySections) {
    TExportCSVTest exporter(dir_.File("hidden.csv"), kPrivateTest, "Au", "e@x", "C", true);
    ASSERT_TRUE(exporter.BuildCSV());
    const std::string& csv = exporter.CSVText;
    EXPECT_NE(csv.find(")\r\n\r\n9;'Hidden test';'';'';'';None;false;false;false;0;Au;e@x;C;1899-12-30;true;"
                       "2026-12-1009:05:034242;\r\n\r\n\r\n// "),
              std::string::npos)
        << csv;
    for (const char* columns : {"(id;testid;name;description)", "(id;scaleid;name;description;max;min)",
                                "(id;testid;name;description;multiple;amount;mandatory)",
                                "(id;stimulid;name;description)", "(id;name;description;weight;scaleid)"})
        EXPECT_NE(csv.find(std::string(columns) + "\r\n\r\n\r\n\r\n"), std::string::npos) << columns;
}

TEST_F(ExchangeTest, CsvDoublesApostrophesAndKeepsSemicolonsOfNames) {
    EditStored(Open().Scales, 4, [](TScale& scale) { scale.Name = "Level 'A'; fast"; });
    TExportCSVTest exporter(dir_.File("a.csv"), kFixtureTest, "", "", "", false);
    ASSERT_TRUE(exporter.BuildCSV());
    EXPECT_NE(exporter.CSVText.find("\r\n4;7;'Level ''A''; fast';'Fast answers'\r\n"), std::string::npos);
}
