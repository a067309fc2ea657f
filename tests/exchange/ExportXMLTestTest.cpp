#include <gtest/gtest.h>

#include "exchange/ExportXMLTest.h"
#include "tests/exchange/ExchangeTestSupport.h"

TEST_F(ExchangeTest, XmlOfATestWithoutChildrenEndsWithEmptyScalesAndStimuli) {
    TExportXMLTest exporter(dir_.File("hidden.xml"), kPrivateTest, "", "", "", false);
    ASSERT_TRUE(exporter.BuildXML());
    const std::string end = "<version>2026-12-1009:05:034242</version><scales></scales><stimuls></stimuls></test>";
    ASSERT_GE(exporter.XMLText.size(), end.size());
    EXPECT_EQ(exporter.XMLText.substr(exporter.XMLText.size() - end.size()), end);
    // The stored flag, not the export's.
    EXPECT_NE(exporter.XMLText.find("<private>true</private>"), std::string::npos);
}

TEST_F(ExchangeTest, XmlEscapesAmpersandAndAngleBracketsInElementTexts) {
    EditStored(Open().Tests, kFixtureTest, [](TTest& test) {
        test.Name = "A&B";
        test.Description = "x < y > z &amp;";
    });
    TExportXMLTest exporter(dir_.File("a.xml"), kFixtureTest, "Tom & Jerry", "<t@j>", "'quoted' \"text\"", false);
    ASSERT_TRUE(exporter.BuildXML());
    const std::string& xml = exporter.XMLText;
    EXPECT_NE(xml.find("<name>A&amp;B</name>"), std::string::npos);
    EXPECT_NE(xml.find("<description>x &lt; y &gt; z &amp;amp;</description>"), std::string::npos);
    EXPECT_NE(xml.find("<authorname>Tom &amp; Jerry</authorname>"), std::string::npos);
    EXPECT_NE(xml.find("<authoremail>&lt;t@j&gt;</authoremail>"), std::string::npos);
    EXPECT_NE(xml.find("<copyright>'quoted' \"text\"</copyright>"), std::string::npos);
}

TEST_F(ExchangeTest, XmlOfATestThatDoesNotExistIsEmptyAndShown) {
    TExportXMLTest exporter(dir_.File("none.xml"), 404, "", "", "", false);
    EXPECT_FALSE(exporter.BuildXML());
    EXPECT_TRUE(exporter.XMLText.empty());
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{Text("IMPEXP_TESTEXPORT_ERROR")});
}
