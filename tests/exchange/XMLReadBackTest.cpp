#include <QXmlStreamReader>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "exchange/ExportXMLTest.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/store/StoreChecks.h"

namespace {

// The text of every element that holds text, by its path ("test/scales/scale/name"), in document
// order; empty when the reader finds the document not well-formed.
std::multimap<std::string, std::string> ElementTexts(const std::string& utf8, std::string& error) {
    std::multimap<std::string, std::string> texts;
    QXmlStreamReader reader(QByteArray::fromStdString(utf8));
    std::vector<std::string> path;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path.push_back(reader.name().toString().toStdString());
        } else if (reader.isEndElement()) {
            path.pop_back();
        } else if (reader.isCharacters() && !path.empty()) {
            std::string key;
            for (const std::string& p : path) key += (key.empty() ? "" : "/") + p;
            texts.emplace(key, reader.text().toString().toStdString());
        }
    }
    if (reader.hasError()) {
        error = reader.errorString().toStdString();
        texts.clear();
    }
    return texts;
}

}  // namespace

TEST_F(ExchangeTest, XmlWithAmpersandsAndAngleBracketsReadsBackToTheSameTexts) {
    EditStored(Open().Tests, kFixtureTest, [](TTest& test) {
        test.Name = "A&B";
        test.Annotation = "<b>bold</b> & \"quoted\"";
    });
    EditStored(Open().Scales, 5, [](TScale& scale) { scale.Name = "x < 3"; });

    const std::string path = dir_.File("special.xml");
    ASSERT_TRUE(TExportXMLTest(path, kFixtureTest, "Tom & Jerry", "<t@j>", "", false).Export());
    std::string error;
    const auto texts = ElementTexts(ReadBytes(path), error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(texts.find("test/name")->second, "A&B");
    EXPECT_EQ(texts.find("test/annotation")->second, "<b>bold</b> & \"quoted\"");
    EXPECT_EQ(texts.find("test/authorname")->second, "Tom & Jerry");
    EXPECT_EQ(texts.find("test/authoremail")->second, "<t@j>");
    std::vector<std::string> scaleNames;
    for (auto [it, end] = texts.equal_range("test/scales/scale/name"); it != end; ++it) scaleNames.push_back(it->second);
    EXPECT_EQ(scaleNames, (std::vector<std::string>{"Speed", "x < 3"}));
}

TEST_F(ExchangeTest, XmlOfTheFixtureIsWellFormed) {
    std::string error;
    const auto texts = ElementTexts(TestDataFile("exchange_dot.xml"), error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(texts.count("test/stimuls/stimul/reactions/reaction/weights/weight_entry/scaleid"), 5u);
}
