#include "platform/TextCase.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "platform/CodePage.h"

using namespace platform;

TEST(TextCase, AsciiLettersAlwaysChangeAndNothingElse) {
    EXPECT_EQ(UpperCase("Report of test \"abc\" [x] 2,5 & z"), "REPORT OF TEST \"ABC\" [X] 2,5 & Z");
    EXPECT_EQ(UpperCase(std::string("a\x01(b\r\n", 6)), std::string("A\x01(B\r\n", 6));
    EXPECT_EQ(UpperCase(""), "");
}

TEST(TextCase, LettersBeyondAsciiFollowTheLocale) {
    const CodePage saved = CodePage::Current();
    CodePage::SetCurrent(CodePage("UTF-8"));
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_EQ(UpperCase("\xc3\xa9t\xc3\xa9 \xd1\x84"), "\xc3\x89T\xc3\x89 \xd0\xa4");   // "été ф"
    std::setlocale(LC_CTYPE, before.c_str());
    CodePage::SetCurrent(saved);
}

TEST(TextCase, BytesThatCannotBeCasedStayAsTheyAre) {
    struct Case {
        const char* Page;
        const char* Locale;
        std::string Text;
        std::string Upper;
    };
    const CodePage saved = CodePage::Current();
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    for (const Case& c : {
             // An ASCII code page reads no byte beyond ASCII: "Straße" in Latin-1 and in UTF-8.
             Case{"ANSI_X3.4-1968", "C", "Stra\xdf" "e", "STRA\xdf" "E"},
             Case{"ANSI_X3.4-1968", "C", "Stra\xc3\x9f" "e", "STRA\xc3\x9f" "E"},
             // Latin-1 cases its own letters; UTF-8 keeps a byte that is no character.
             Case{"ISO-8859-1", "C.UTF-8", "\xe9t\xe9 \xdf", "\xc9T\xc9 \xdf"},
             Case{"UTF-8", "C.UTF-8", "ab\xff" "c \xc3\xa9", "AB\xff" "C \xc3\x89"},
             Case{"UTF-8", "C.UTF-8", "\xc3\x28 x", "\xc3\x28 X"},
             // No upper case in Latin-1 for the ÿ's capital (U+0178): the letter stays.
             Case{"ISO-8859-1", "C.UTF-8", "\xff" "a", "\xff" "A"},
         }) {
        CodePage::SetCurrent(CodePage(c.Page));
        ASSERT_NE(std::setlocale(LC_CTYPE, c.Locale), nullptr) << c.Locale;
        EXPECT_EQ(UpperCase(c.Text), c.Upper) << c.Page << " " << c.Text;
    }
    std::setlocale(LC_CTYPE, before.c_str());
    CodePage::SetCurrent(saved);
}
