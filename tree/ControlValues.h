#pragma once
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"

class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;

// Stored values in the controls of the property dialogs. Texts are in the program's code page,
// dates and times are days since 30 December 1899.
//
// A control set through one of the Set functions remembers the stored value. Read back while it
// still shows what it was given, it returns that value exactly: bytes that the code page cannot
// decode, digits beyond the fifteen that are shown, milliseconds the date picker does not show.
// So a dialog confirmed without a change writes back what it read.
namespace tree {

// Short texts (names, author fields): the edit takes at most 255 characters, and a line break
// typed, pasted or set into it becomes a blank at once.
void KeepShortText(QLineEdit& edit);
void SetShortText(QLineEdit& edit, std::string_view text);
// Without CR or LF, cut to 255 bytes without splitting a character.
std::string ShortText(const QLineEdit& edit);

// Long texts (descriptions, annotations, instructions): the store's lines are joined by CR LF.
void SetLongText(QPlainTextEdit& memo, std::string_view text);
std::string LongText(const QPlainTextEdit& memo);

// Integers in decimal; blanks around the digits are allowed when read.
void SetInteger(QLineEdit& edit, std::int32_t value);
std::optional<std::int32_t> ParseInteger(const QString& text);
std::optional<std::int32_t> Integer(const QLineEdit& edit);

// Real numbers through the program's one formatter and parser: nothing when the text is not a
// number (NaN, infinities, group separators and trailing rubbish included).
void SetReal(QLineEdit& edit, double value, const platform::FormatSettings& fs);
std::optional<double> Real(const QLineEdit& edit, const platform::FormatSettings& fs);
QString RealText(double value, const platform::FormatSettings& fs);
std::optional<double> ParseRealText(const QString& text, const platform::FormatSettings& fs);

// Dates and times. The picker works in UTC so that no local clock change can make a stored wall
// time invalid. A value that is no date, or zero, shows blank and is kept while it shows.
void SetDateTime(QDateTimeEdit& picker, double value);
double DateTime(const QDateTimeEdit& picker);
QDateTime ToQDateTime(double value);          // a value that is no date gives 30 December 1899
double FromQDateTime(const QDateTime& value);
// The date in the settings' field order and separator with a four-digit year, then the time.
QString DateTimeDisplayFormat(const platform::FormatSettings& fs);

}  // namespace tree
