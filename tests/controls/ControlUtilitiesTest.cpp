#include "controls/ControlUtilities.h"

#include <QApplication>
#include <QFontMetrics>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using namespace controls;

namespace {

std::vector<std::string> AllTokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    for (;;) {
        auto [token, next] = ReadCommandToken(text, pos);
        if (token.empty()) return tokens;
        tokens.push_back(token);
        pos = next;
    }
}

}  // namespace

TEST(ControlUtilities, CommandTokens) {
    struct Case {
        std::string text;
        std::vector<std::string> tokens;
    };
    const std::string longName(300, 'x');
    const Case cases[] = {
        {"", {}},
        {"  \t \r\n ", {}},
        {"\"\"", {}},
        {"\"\"\"\"  \"\"", {}},
        {"prog a \"b c\" d", {"prog", "a", "b c", "d"}},
        {"ab\"c d\"e", {"abc de"}},
        {"   first second", {"first", "second"}},
        {"\"unterminated run", {"unterminated run"}},
        {"a \"\" b", {"a", "b"}},
        {std::string("x\x01y", 3), {"x", "y"}},
        {"caf\xE9 \xFF", {"caf\xE9", "\xFF"}},
        {std::string("a\0b", 3), {"a"}},
        {"\"/tmp/My Files/a.kvt\" rest", {"/tmp/My Files/a.kvt", "rest"}},
        {longName + " y", {longName, "y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AllTokens(c.text), c.tokens);
        EXPECT_EQ(CountCommandTokens(c.text), static_cast<int>(c.tokens.size()));
        for (std::size_t i = 0; i < c.tokens.size(); ++i) EXPECT_EQ(GetCommandToken(c.text, static_cast<int>(i)), c.tokens[i]);
        EXPECT_EQ(GetCommandToken(c.text, static_cast<int>(c.tokens.size())), "");
    }
}

TEST(ControlUtilities, SplitProgramAndParams) {
    struct Case {
        const char* line;
        const char* program;
        const char* params;
    };
    const Case cases[] = {
        {"prog a \"b c\" d", "prog", "a \"b c\" d"},
        {"", "", ""},
        {"   ", "", ""},
        {"prog", "prog", ""},
        {"\"my prog\"   x  y ", "my prog", "x y"},
        {"p a\"b c\"", "p", "\"ab c\""},
    };
    for (const Case& c : cases) {
        const auto [program, params] = SplitProgramAndParams(c.line);
        EXPECT_EQ(program, c.program) << c.line;
        EXPECT_EQ(params, c.params) << c.line;
    }
}

TEST(ControlUtilities, QuotingValidityAndParts) {
    struct Quote {
        const char* name;
        const char* quoted;
    };
    const Quote quotes[] = {
        {"", ""},
        {"a.kvt", "a.kvt"},
        {"/tmp/My report.kvt", "\"/tmp/My report.kvt\""},
        {"\"/tmp/My report.kvt\"", "\"/tmp/My report.kvt\""},
        {"\"half quoted x", "\"half quoted x"},
        {" lead", "\" lead\""},
    };
    for (const Quote& q : quotes) EXPECT_EQ(QuoteFileName(q.name), q.quoted) << q.name;

    struct Valid {
        const char* name;
        bool valid;
    };
    const Valid names[] = {
        {"", false},     {"a<b", false},    {"a>b", false},     {"a\"b", false},    {"a[b", false},
        {"a]b", false},  {"a|b", false},    {"a*b", true},      {"a?b", true},      {"/x/y:z", true},
        {" ", true},     {"\xE9t\xE9", true}, {"report.kvt", true},
    };
    for (const Valid& v : names) EXPECT_EQ(IsValidFileName(v.name), v.valid) << v.name;
    EXPECT_TRUE(HasAnyChar("abc", "xc"));
    EXPECT_FALSE(HasAnyChar("abc", ""));
    EXPECT_FALSE(HasAnyChar("", "abc"));

    struct Part {
        const char* name;
        const char* path;
        const char* file;
    };
    const Part parts[] = {
        {"/tmp/My Files/a.kvt", "/tmp/My Files/", "a.kvt"},
        {"a.kvt", "", "a.kvt"},
        {"/tmp/sub/", "/tmp/sub/", ""},
        {"/", "/", ""},
        {"C:\\dir\\a.kvt", "", "C:\\dir\\a.kvt"},
    };
    for (const Part& p : parts) {
        EXPECT_EQ(ExtractFilePath(p.name), p.path) << p.name;
        EXPECT_EQ(ExtractFileName(p.name), p.file) << p.name;
    }
}

TEST(ControlUtilities, FileNamesAgainstTheDisk) {
    TempDir dir;
    const std::string folder = dir.File("My Files");
    std::filesystem::create_directory(folder);
    const std::string file = folder + "/test report.kvt";
    WriteBytes(file, "x");

    struct Case {
        std::string text;
        std::string name;
    };
    const Case cases[] = {
        {file, file},                                          // exists: the whole text
        {folder + "/none.kvt", dir.File("My")},                // missing: its first token
        {"\"" + folder + "/none.kvt\"", folder + "/none.kvt"},  // quotes removed
        {"\"" + file + "\"", file},
        {"   " + dir.File("a b"), dir.File("a")},
        {folder, dir.File("My")},                               // a folder is not a file
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TextToFileName(c.text), c.name) << c.text;

    EXPECT_TRUE(IsDirectory(folder));
    EXPECT_TRUE(IsDirectory(folder + "/"));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_FALSE(IsDirectory(dir.File("none")));
    EXPECT_FALSE(IsDirectory(""));
    EXPECT_EQ(LongFileNameOf(file), "test report.kvt");
    EXPECT_EQ(ShortFileNameOf(file), "test report.kvt");
    EXPECT_EQ(LongFileNameOf(folder + "/"), "My Files");
    EXPECT_EQ(LongFileNameOf(dir.File("none.kvt")), "");
}

TEST(ControlUtilities, ShortenTextToWidth) {
    const QFontMetrics metrics(QApplication::font());
    const QString text = "A rather long caption for a button";
    EXPECT_EQ(ShortenTextToWidth(text, metrics, metrics.horizontalAdvance(text)), text);
    EXPECT_EQ(ShortenTextToWidth("", metrics, 0), "");
    EXPECT_EQ(ShortenTextToWidth(text, metrics, 0), "...");

    for (const int width : {metrics.horizontalAdvance(text) - 1, metrics.horizontalAdvance("A rather long"), 30}) {
        const QString shortened = ShortenTextToWidth(text, metrics, width);
        SCOPED_TRACE(shortened.toStdString());
        ASSERT_TRUE(shortened.endsWith("..."));
        const QString kept = shortened.chopped(3);
        EXPECT_TRUE(text.startsWith(kept));
        // The first cut drops two characters, and each cut after it one more.
        EXPECT_LE(kept.size(), text.size() - 2);
        EXPECT_LE(metrics.horizontalAdvance(shortened), width);
        if (kept.size() < text.size() - 2) {
            EXPECT_GT(metrics.horizontalAdvance(text.left(kept.size() + 1) + "..."), width);
        }
    }
}

TEST(ControlUtilities, EmbossedGlyphMatchesTheFixture) {
    // Black is the outline; the red pixel is not drawn.
    const char* const glyphXpm[] = {
        "5 4 3 1", ". c #FF00FF", "k c #000000", "r c #FF0000",
        "k.k..",
        ".k...",
        "..kk.",
        "....r",
    };
    const QImage glyph(glyphXpm);
    ASSERT_FALSE(glyph.isNull());
    const QImage embossed = CreateDisabledGlyph(glyph, Qt::black, QColor(0xC0, 0xC0, 0xC0), Qt::white,
                                                QColor(0x80, 0x80, 0x80));
    const QImage expected(QString(ORVEL_TEST_DATA) + "/controls/embossed.xpm");
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(embossed.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));

    const QImage flat = CreateDisabledGlyph(glyph, Qt::black, QColor(0xC0, 0xC0, 0xC0), Qt::white,
                                            QColor(0x80, 0x80, 0x80), false);
    EXPECT_EQ(flat.pixel(3, 1), QColor(0xC0, 0xC0, 0xC0).rgb());   // no highlight without asking
    EXPECT_EQ(flat.pixel(1, 1), QColor(0x80, 0x80, 0x80).rgb());
}
