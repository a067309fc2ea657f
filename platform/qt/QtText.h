#pragma once
#include <QString>

#include <string>
#include <string_view>

namespace platform {

// The one crossing between the program's code-page texts and QString; both go through
// CodePage::Current(), never fail, and turn what does not decode into U+FFFD.
QString ToQString(std::string_view local);
std::string FromQString(const QString& text);

}  // namespace platform
