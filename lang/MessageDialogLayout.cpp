#include "lang/MessageDialogLayout.h"

#include <algorithm>

#include "lang/Rounding.h"

TMessageDialogGeometry ComputeMessageDialogGeometry(const TMessageDialogMetrics& m) {
    constexpr int kMargin = 20;
    TMessageDialogGeometry g;
    g.Width = m.CaptionWidth + 2 * kMargin;
    g.LabelWidth = m.CaptionWidth;
    int extra = std::max(0, m.ExtraLinesHeight);
    if (g.Width > m.MaxWidth && m.TextHeightAt) {
        g.Width = std::max(m.MaxWidth, 2 * kMargin + 1);
        g.LabelWidth = g.Width - 2 * kMargin;
        extra += std::max(0, m.TextHeightAt(g.LabelWidth) - m.TextHeightAt(m.CaptionWidth));
    }
    g.ClientHeight = TMessageDialogMetrics::kClientHeight + extra;
    g.ButtonTop = g.ClientHeight - TMessageDialogMetrics::kButtonHeight - 10;

    const int count = std::clamp(m.ButtonCount, 1, 3);
    int left = kMargin;
    for (int i = 0; i < count; ++i) {
        g.ButtonLefts.push_back(left);
        left += TMessageDialogMetrics::kButtonWidth + kMargin;
    }
    const int needed = count * TMessageDialogMetrics::kButtonWidth + kMargin * (count + 1);
    if (g.Width < needed) {
        g.Width = needed;
    } else {
        const int shift = static_cast<int>(lang::RoundHalfEven(g.Width - needed, 2));
        for (int& l : g.ButtonLefts) l += shift;
    }
    g.LabelLeft = static_cast<int>(lang::RoundHalfEven(g.Width - g.LabelWidth, 2));
    g.LabelTop = static_cast<int>(lang::RoundHalfEven(g.ButtonTop - extra - m.FontPointSize, 3));
    return g;
}
