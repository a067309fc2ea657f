#include "tree/ControlValues.h"

#include <gtest/gtest.h>

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

#include <cmath>
#include <limits>
#include <string>

#include "platform/ShortDates.h"
#include "tests/tree/DialogTestSupport.h"

using platform::EncodeDate;
using platform::EncodeTime;

namespace {

class ControlValues : public ::testing::Test {
protected:
    Utf8CodePage utf8_;
};

}  // namespace

// ---------------------------------------------------------------- short texts

TEST_F(ControlValues, LineBreaksInAShortTextBecomeBlanksHoweverTheyArrive) {
    QLineEdit edit;
    tree::KeepShortText(edit);
    EXPECT_EQ(edit.maxLength(), 255);

    edit.setText("first\r\nsecond");
    EXPECT_EQ(edit.text(), "first  second");
    tree::SetShortText(edit, "one\ntwo\rthree");
    EXPECT_EQ(edit.text(), "one two three");
    EXPECT_EQ(tree::ShortText(edit), "one two three");

    PasteOver(edit, "pasted\nover\r\nlines");
    EXPECT_EQ(edit.text(), "pasted over  lines");

    edit.clear();
    QTest::keyClicks(&edit, "ab");
    edit.setCursorPosition(1);
    edit.insert("\n");
    EXPECT_EQ(edit.text(), "a b");
    EXPECT_EQ(edit.cursorPosition(), 2) << "the cursor stays behind what was inserted";
}

TEST_F(ControlValues, AShortTextIsCutTo255BytesWithoutSplittingACharacter) {
    QLineEdit edit;
    tree::KeepShortText(edit);
    edit.setText(QString(300, 'x'));
    EXPECT_EQ(tree::ShortText(edit), std::string(255, 'x'));

    // 200 two-byte characters fit the edit's 255 characters, but not 255 bytes.
    std::string e200;
    for (int i = 0; i < 200; ++i) e200 += "\xC3\xA9";
    tree::SetShortText(edit, e200);
    edit.end(false);
    edit.backspace();   // a person's edit, so the stored bytes no longer count
    const std::string read = tree::ShortText(edit);
    EXPECT_EQ(read, e200.substr(0, 254));
    EXPECT_EQ(platform::SanitizeUtf8(read), read);
}

TEST_F(ControlValues, AnUnchangedShortTextReadsBackItsStoredBytes) {
    QLineEdit edit;
    tree::KeepShortText(edit);
    const std::string stored = "Scale \xFF\xFE of bytes that are no UTF-8";
    tree::SetShortText(edit, stored);
    EXPECT_TRUE(edit.text().contains(QChar(0xFFFD)));
    EXPECT_EQ(tree::ShortText(edit), stored);

    QTest::keyClicks(&edit, "!");
    EXPECT_EQ(tree::ShortText(edit), "Scale \xEF\xBF\xBD\xEF\xBF\xBD of bytes that are no UTF-8!");
    // Typed back to what was shown, it is the stored text again.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(tree::ShortText(edit), stored);

    // A text set without the helper forgets the stored one.
    edit.setText("plain");
    EXPECT_EQ(tree::ShortText(edit), "plain");
}

// ---------------------------------------------------------------- long texts

TEST_F(ControlValues, ALongTextIsShownInLinesAndReadWithCrLf) {
    QPlainTextEdit memo;
    tree::SetLongText(memo, "first\r\nsecond\r\n\r\nfourth");
    EXPECT_EQ(memo.toPlainText(), "first\nsecond\n\nfourth");
    EXPECT_EQ(memo.document()->blockCount(), 4);

    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, "fifth");
    EXPECT_EQ(tree::LongText(memo), "first\r\nsecond\r\n\r\nfourth\r\nfifth");

    memo.clear();
    EXPECT_EQ(tree::LongText(memo), "");
}

TEST_F(ControlValues, ALongTextKeepsWhatThePlainTextWouldLose) {
    QPlainTextEdit memo;
    // A lone CR and bytes that do not decode survive a confirmation without a change.
    const std::string stored = "odd\rbreak and \xFF byte";
    tree::SetLongText(memo, stored);
    EXPECT_EQ(tree::LongText(memo), stored);

    // A no-break space survives an edit.
    memo.setPlainText(QString("a") + QChar(0xA0) + "b");
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, "c");
    EXPECT_EQ(tree::LongText(memo), "a\xC2\xA0" "bc");
}

// ---------------------------------------------------------------- numbers

TEST_F(ControlValues, IntegersAreDecimalAndAnythingElseIsNoInteger) {
    QLineEdit edit;
    tree::SetInteger(edit, -42);
    EXPECT_EQ(edit.text(), "-42");
    EXPECT_EQ(tree::Integer(edit), -42);
    struct Case {
        const char* Text;
        std::optional<std::int32_t> Value;
    };
    for (const Case& c : {Case{"7", 7}, Case{"+7", 7}, Case{" 7 ", 7}, Case{"2147483647", 2147483647},
                          Case{"", std::nullopt}, Case{"2147483648", std::nullopt}, Case{"1e3", std::nullopt},
                          Case{"0x10", std::nullopt}, Case{"12a", std::nullopt}, Case{"nan", std::nullopt},
                          Case{"1.5", std::nullopt}})
        EXPECT_EQ(tree::ParseInteger(c.Text), c.Value) << "'" << c.Text << "'";
}

TEST_F(ControlValues, RealsAreShownAndReadThroughTheOneFormatter) {
    struct Case {
        platform::FormatSettings Settings;
        const char* Text;
        std::optional<double> Value;
    };
    const auto dot = DotSettings();
    const auto comma = CommaSettings();
    for (const Case& c : {Case{dot, "0.1", 0.1}, Case{dot, "-2.5", -2.5}, Case{dot, "1E20", 1e20}, Case{comma, "0,1", 0.1},
                          Case{dot, "nan", std::nullopt}, Case{dot, "NaN", std::nullopt}, Case{dot, "inf", std::nullopt},
                          Case{dot, "-inf", std::nullopt}, Case{dot, "infinity", std::nullopt},
                          Case{dot, "1e400", std::nullopt}, Case{dot, "1,000", std::nullopt},
                          Case{comma, "0.1", std::nullopt}, Case{dot, "2 kg", std::nullopt}, Case{dot, "", std::nullopt}})
        EXPECT_EQ(tree::ParseRealText(c.Text, c.Settings), c.Value) << "'" << c.Text << "'";
    EXPECT_EQ(tree::RealText(0.1, comma), "0,1");
    EXPECT_EQ(tree::RealText(-2.5, dot), "-2.5");
}

TEST_F(ControlValues, AnUnchangedRealReadsBackExactly) {
    const auto dot = DotSettings();
    QLineEdit edit;
    for (double v : {0.1, 0.1 + 0.2, 1.0 / 3.0, -1234.5678901234567, 5e-324, 1e300}) {
        tree::SetReal(edit, v, dot);
        const auto read = tree::Real(edit, dot);
        ASSERT_TRUE(read) << edit.text().toStdString();
        EXPECT_EQ(*read, v) << edit.text().toStdString();
    }

    tree::SetReal(edit, 0.1 + 0.2, dot);
    EXPECT_EQ(edit.text(), "0.3");
    QTest::keyClicks(&edit, "5");
    EXPECT_EQ(tree::Real(edit, dot), 0.35);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(tree::Real(edit, dot), 0.1 + 0.2) << "back to the shown text, back to the stored value";
    tree::SetReal(edit, 2, dot);
    edit.setText("nan");
    EXPECT_EQ(tree::Real(edit, dot), std::nullopt);
}

// ---------------------------------------------------------------- dates

TEST_F(ControlValues, DatesAreDaysSince30December1899) {
    struct Case {
        double Value;
        QDateTime Shown;
    };
    const auto at = [](int y, int mo, int d, int h, int mi, int s, int ms = 0) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
    };
    for (const Case& c : {Case{0, at(1899, 12, 30, 0, 0, 0)},
                          Case{EncodeDate(2016, 3, 1) + EncodeTime(17, 41, 39), at(2016, 3, 1, 17, 41, 39)},
                          Case{EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59), at(2024, 2, 29, 23, 59, 59)},
                          Case{-1.25, at(1899, 12, 29, 6, 0, 0)},
                          Case{EncodeDate(2000, 1, 1) + 0.5 / 86400, at(2000, 1, 1, 0, 0, 0, 500)}}) {
        EXPECT_EQ(tree::ToQDateTime(c.Value), c.Shown) << c.Value;
        EXPECT_EQ(tree::FromQDateTime(c.Shown), c.Value) << c.Value;
    }
    EXPECT_EQ(tree::ToQDateTime(std::numeric_limits<double>::quiet_NaN()), at(1899, 12, 30, 0, 0, 0));
    EXPECT_EQ(tree::ToQDateTime(1e12), at(1899, 12, 30, 0, 0, 0));
}

TEST_F(ControlValues, ThePickerKeepsWhatItDoesNotShowUntilItIsChanged) {
    QDateTimeEdit picker;
    picker.setDisplayFormat(tree::DateTimeDisplayFormat(DotSettings()));
    // A thousandth of a second that the picker does not show.
    const double stored = EncodeDate(2021, 7, 14) + EncodeTime(9, 5, 7) + 0.25 / 86400 + 1e-9;
    tree::SetDateTime(picker, stored);
    EXPECT_EQ(picker.text(), "2021-07-14 09:05:07");
    EXPECT_EQ(tree::DateTime(picker), stored);

    picker.setDateTime(QDateTime(QDate(2022, 1, 2), QTime(3, 4, 5), Qt::UTC));
    EXPECT_EQ(tree::DateTime(picker), EncodeDate(2022, 1, 2) + EncodeTime(3, 4, 5));

    // A date the picker cannot show is what the picker holds.
    tree::SetDateTime(picker, EncodeDate(1600, 1, 1));
    EXPECT_EQ(tree::DateTime(picker), tree::FromQDateTime(picker.minimumDateTime()));
}

TEST_F(ControlValues, TheCurrentTimeConvertsBackExactly) {
    const double now = platform::NowDateTime();
    EXPECT_EQ(tree::FromQDateTime(tree::ToQDateTime(now)), now);
}

TEST_F(ControlValues, TheDisplayFormatFollowsTheSettings) {
    struct Case {
        platform::FormatSettings Settings;
        const char* Text;
    };
    QDateTimeEdit picker;
    for (const Case& c : {Case{DotSettings(), "2016-03-01 17:41:39"}, Case{CommaSettings(), "01.03.2016 17:41:39"},
                          Case{{'.', platform::DateOrder::MDY, '/'}, "03/01/2016 17:41:39"}}) {
        picker.setDisplayFormat(tree::DateTimeDisplayFormat(c.Settings));
        tree::SetDateTime(picker, EncodeDate(2016, 3, 1) + EncodeTime(17, 41, 39));
        EXPECT_EQ(picker.text(), c.Text);
    }
}
