#include "platform/qt/QtText.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace {

// Runs with another code page and puts the old one back.
class WithCodePage {
public:
    explicit WithCodePage(const char* codeset) : saved_(platform::CodePage::Current()) {
        platform::CodePage::SetCurrent(platform::CodePage(codeset));
    }
    ~WithCodePage() { platform::CodePage::SetCurrent(saved_); }

private:
    platform::CodePage saved_;
};

}  // namespace

TEST(QtText, ConvertsThroughTheProgramsCodePage) {
    {
        WithCodePage page("UTF-8");
        EXPECT_EQ(platform::ToQString("Gr\xC3\xBC\xC3\x9F" "e"), QString::fromUtf8("Grüße"));
        EXPECT_EQ(platform::FromQString(QString::fromUtf8("Grüße")), "Gr\xC3\xBC\xC3\x9F" "e");
        // A byte that does not decode becomes U+FFFD; nothing fails.
        EXPECT_EQ(platform::ToQString("a\xFF" "b"), QString::fromUtf8("a\xEF\xBF\xBD" "b"));
    }
    {
        WithCodePage page("CP1251");
        EXPECT_EQ(platform::ToQString("\xCF\xF0\xE8"), QString::fromUtf8("При"));
        EXPECT_EQ(platform::FromQString(QString::fromUtf8("При")), "\xCF\xF0\xE8");
    }
}
