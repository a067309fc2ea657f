#pragma once
#include <QFont>
#include <QString>

#include <string_view>

namespace platform {

// The widest caption of a menu item, in pixels.
constexpr int kMaxMenuCaptionWidth = 400;

// A text of the program's code page as the caption of a menu item in that font: on one line
// (line breaks and runs of blanks become one blank), "&" shown as itself rather than as an
// accelerator, and a text too wide for a menu cut with an ellipsis, so that a long question or
// test name never makes a menu as wide as the screen.
QString MenuCaption(std::string_view text, const QFont& font);

}  // namespace platform
