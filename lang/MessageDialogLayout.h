#pragma once
#include <functional>
#include <vector>

// Where the message box puts its window, buttons and message, in pixels of the client area.
struct TMessageDialogGeometry {
    int Width = 0;          // client width
    int ClientHeight = 0;
    int ButtonTop = 0;
    std::vector<int> ButtonLefts;
    int LabelLeft = 0;
    int LabelTop = 0;
    int LabelWidth = 0;     // the message's width; narrower than its text when it wraps
};

struct TMessageDialogMetrics {
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;
    // The client area of a 120-pixel dialog under its title bar and borders.
    static constexpr int kClientHeight = 93;

    int CaptionWidth = 0;         // the message's widest line, in the window's font
    int ExtraLinesHeight = 0;     // of the lines after the first of a message with line breaks
    int FontPointSize = 8;        // of the message's font
    int ButtonCount = 1;          // 1 to 3
    int MaxWidth = 1 << 30;       // the widest window the screen holds
    // The height of the message wrapped at a width; only asked when the message must wrap.
    std::function<int(int width)> TextHeightAt;
};

// The window is as wide as the message + 40, at least as wide as the row of buttons with 20
// pixels around each; a wider window centres the row. A message too wide for MaxWidth wraps
// at MaxWidth - 40; the window grows by the lines after the first, its own and those of the wrap.
TMessageDialogGeometry ComputeMessageDialogGeometry(const TMessageDialogMetrics& m);
