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
