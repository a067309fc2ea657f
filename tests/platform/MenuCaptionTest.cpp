#include "platform/qt/MenuCaption.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>

#include <string>

using platform::MenuCaption;

TEST(MenuCaption, ShortTextsStayWholeOnOneLine) {
    const QFont font = QApplication::font();
    struct Case {
        std::string Text;
        QString Caption;
    };
    for (const Case& c : {Case{"Q1", "Q1"}, Case{"Salt & pepper", "Salt && pepper"},
                          Case{"Two\r\nlines\r and  blanks", "Two lines and blanks"}, Case{"", ""}})
        EXPECT_EQ(MenuCaption(c.Text, font), c.Caption) << c.Text;
}

TEST(MenuCaption, ALongTextIsCutWithAnEllipsisAndKeepsTheMenuNarrow) {
    QMenu menu;
    for (const std::string& text : {std::string(3000, 'W'), std::string(255, 'm') + " & more words",
                                    std::string(200, 'x') + "\r\n" + std::string(200, 'y')}) {
        const QString caption = MenuCaption(text, menu.font());
        EXPECT_TRUE(caption.endsWith(QChar(0x2026))) << caption.size();
        EXPECT_FALSE(caption.contains(QLatin1Char('\n')));
        EXPECT_LE(QFontMetrics(menu.font()).horizontalAdvance(caption), platform::kMaxMenuCaptionWidth);
        menu.addAction(caption);
    }
    EXPECT_LT(menu.sizeHint().width(), 2 * platform::kMaxMenuCaptionWidth);
}
