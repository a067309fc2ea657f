#include "lang/MessageDialogLayout.h"

#include <gtest/gtest.h>

namespace {

TMessageDialogGeometry Layout(int captionWidth, int buttons, int maxWidth = 1 << 30) {
    TMessageDialogMetrics m;
    m.CaptionWidth = captionWidth;
    m.ButtonCount = buttons;
    m.FontPointSize = 8;
    m.MaxWidth = maxWidth;
    // 16 pixels a line, 8 pixels a character.
    m.TextHeightAt = [captionWidth](int width) { return 16 * ((captionWidth + width - 1) / width); };
    return ComputeMessageDialogGeometry(m);
}

}  // namespace

TEST(MessageDialogLayout, WidthsAndButtonPositions) {
    struct Case {
        const char* name;
        int captionWidth, buttons;
        int width;
        std::vector<int> lefts;
        int labelLeft;
    };
    const Case cases[] = {
        {"one button, narrow message", 30, 1, 115, {20}, 42},                       // (115 - 30) / 2 = 42.5 -> 42
        {"two buttons, narrow message", 30, 2, 210, {20, 115}, 90},
        {"three buttons, short message", 100, 3, 305, {20, 115, 210}, 102},         // 102.5 -> 102
        {"message as wide as the row", 265, 3, 305, {20, 115, 210}, 20},
        {"two buttons, long message", 400, 2, 440, {135, 230}, 20},                 // spare 230 -> 115
        {"spare 41: half rounds to even 20", 211, 2, 251, {40, 135}, 20},
        {"spare 43: half rounds to even 22", 213, 2, 253, {42, 137}, 20},
        {"one button, long message", 200, 1, 240, {82}, 20},                        // spare 125 -> 62.5 -> 62
    };
    for (const Case& c : cases) {
        const TMessageDialogGeometry g = Layout(c.captionWidth, c.buttons);
        EXPECT_EQ(g.Width, c.width) << c.name;
        EXPECT_EQ(g.ButtonLefts, c.lefts) << c.name;
        EXPECT_EQ(g.LabelLeft, c.labelLeft) << c.name;
        EXPECT_EQ(g.LabelWidth, c.captionWidth) << c.name;
    }
}

TEST(MessageDialogLayout, VerticalPlaces) {
    const TMessageDialogGeometry g = Layout(50, 1);
    EXPECT_EQ(g.ClientHeight, TMessageDialogMetrics::kClientHeight);
    EXPECT_EQ(g.ButtonTop, TMessageDialogMetrics::kClientHeight - 25 - 10);
    // (58 - 8) / 3 = 16.67
    EXPECT_EQ(g.LabelTop, 17);
}

TEST(MessageDialogLayout, AMessageTooWideForTheScreenWraps) {
    // 2000 pixels of text on a screen that holds 800: the text wraps at 760 into 3 lines.
    const TMessageDialogGeometry g = Layout(2000, 2, 800);
    EXPECT_EQ(g.Width, 800);
    EXPECT_EQ(g.LabelWidth, 760);
    EXPECT_EQ(g.LabelLeft, 20);
    EXPECT_EQ(g.ClientHeight, TMessageDialogMetrics::kClientHeight + 32);   // two more lines
    EXPECT_EQ(g.ButtonTop, g.ClientHeight - 35);
    EXPECT_EQ(g.ButtonLefts, (std::vector<int>{315, 410}));
    EXPECT_LE(g.ButtonLefts.back() + TMessageDialogMetrics::kButtonWidth, g.Width);
    EXPECT_EQ(g.LabelTop, 17);   // the first line stays where a single line stands
}

TEST(MessageDialogLayout, AMessageOfTwoLinesGrowsByTheSecond) {
    TMessageDialogMetrics m;
    m.CaptionWidth = 300;
    m.ExtraLinesHeight = 16;
    const TMessageDialogGeometry g = ComputeMessageDialogGeometry(m);
    EXPECT_EQ(g.Width, 340);
    EXPECT_EQ(g.ClientHeight, TMessageDialogMetrics::kClientHeight + 16);
    EXPECT_EQ(g.ButtonTop, g.ClientHeight - 35);
    EXPECT_EQ(g.LabelTop, 17);   // the first line stays where a single line stands
}
