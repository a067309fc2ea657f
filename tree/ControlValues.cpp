#include "tree/ControlValues.h"

#include <QByteArray>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVariant>

#include <algorithm>
#include <cmath>

#include "platform/CodePage.h"
#include "platform/RealNumbers.h"
#include "platform/ShortDates.h"
#include "platform/qt/QtText.h"
#include "store/Records.h"

namespace tree {
namespace {

using platform::FromQString;
using platform::ToQString;

// What a control was given: the value as shown and the value as stored.
constexpr const char* kShown = "orvelShownValue";
constexpr const char* kStored = "orvelStoredValue";

void Remember(QObject& control, const QVariant& shown, const QVariant& stored) {
    control.setProperty(kShown, shown);
    control.setProperty(kStored, stored);
}

void Forget(QObject& control) { Remember(control, QVariant(), QVariant()); }

// The stored value while the control still shows what it was given.
std::optional<QVariant> StoredWhileShown(const QObject& control, const QVariant& now) {
    const QVariant shown = control.property(kShown);
    if (!shown.isValid() || shown != now) return std::nullopt;
    return control.property(kStored);
}

QByteArray Bytes(std::string_view s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }
std::string String(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }

std::string LfToCrLf(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

constexpr qint64 kMsPerDay = 86400000;
const QDateTime& ZeroDate() {
    static const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return zero;
}

}  // namespace

void KeepShortText(QLineEdit& edit) {
    edit.setMaxLength(static_cast<int>(platform::kShortTextMax));
    QLineEdit* e = &edit;
    QObject::connect(e, &QLineEdit::textChanged, e, [e](const QString& text) {
        if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) return;
        QString clean = text;
        clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const int position = e->cursorPosition();
        e->setText(clean);   // same length, so the cursor stays where it was
        e->setCursorPosition(position);
    });
}

void SetShortText(QLineEdit& edit, std::string_view text) {
    edit.setText(ToQString(text));
    Remember(edit, edit.text(), Bytes(text));
}

std::string ShortText(const QLineEdit& edit) {
    if (auto stored = StoredWhileShown(edit, edit.text())) return CleanShortText(String(stored->toByteArray()));
    return CleanShortText(FromQString(edit.text()));
}

void SetLongText(QPlainTextEdit& memo, std::string_view text) {
    memo.setPlainText(ToQString(text));
    Remember(memo, memo.document()->toRawText(), Bytes(text));
}

std::string LongText(const QPlainTextEdit& memo) {
    // The raw text keeps no-break spaces, which the plain text turns into blanks.
    QString raw = memo.document()->toRawText();
    if (auto stored = StoredWhileShown(memo, raw)) return String(stored->toByteArray());
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
    return LfToCrLf(FromQString(raw));
}

void SetInteger(QLineEdit& edit, std::int32_t value) { edit.setText(QString::number(value)); }

std::optional<std::int32_t> ParseInteger(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<std::int32_t> Integer(const QLineEdit& edit) { return ParseInteger(edit.text()); }

QString RealText(double value, const platform::FormatSettings& fs) { return ToQString(platform::FormatReal(value, fs)); }

std::optional<double> ParseRealText(const QString& text, const platform::FormatSettings& fs) {
    return platform::ParseReal(FromQString(text), fs);
}

void SetReal(QLineEdit& edit, double value, const platform::FormatSettings& fs) {
    const QString text = RealText(value, fs);
    edit.setText(text);
    // An edit that changes the text on its own (a clamp) no longer shows the stored value.
    if (edit.text() == text) Remember(edit, text, value);
    else Forget(edit);
}

std::optional<double> Real(const QLineEdit& edit, const platform::FormatSettings& fs) {
    if (auto stored = StoredWhileShown(edit, edit.text())) return stored->toDouble();
    return ParseRealText(edit.text(), fs);
}

QDateTime ToQDateTime(double value) {
    int year = 0, month = 0, day = 0;
    if (!platform::DecodeDate(value, year, month, day)) return ZeroDate();
    const QDate date(year, month, day);
    if (!date.isValid()) return ZeroDate();
    // Before 30 December 1899 the day count is negative and the time of day still counts forward.
    const double fraction = std::fabs(value - std::trunc(value));
    const qint64 ms = std::min<qint64>(std::llround(fraction * kMsPerDay), kMsPerDay - 1);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

double FromQDateTime(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    const double days = platform::EncodeDate(d.year(), d.month(), d.day());
    const double time = platform::EncodeTime(t.hour(), t.minute(), t.second()) + t.msec() / double(kMsPerDay);
    return days < 0 ? days - time : days + time;
}

void SetDateTime(QDateTimeEdit& picker, double value) {
    picker.setTimeSpec(Qt::UTC);
    const QDateTime shown = ToQDateTime(value);
    // No date (a test from the old layout has none) shows as no date rather than as 30 December
    // 1899: the picker's blank stands at its lowest value, which is then that day.
    if (shown == ZeroDate()) {
        picker.setMinimumDateTime(ZeroDate());
        picker.setSpecialValueText(QStringLiteral(" "));
    } else if (!picker.specialValueText().isEmpty()) {
        picker.setSpecialValueText(QString());
        picker.clearMinimumDateTime();
    }
    picker.setDateTime(shown);
    // A value outside the picker's range is shown clamped, and the clamp is what it holds.
    if (picker.dateTime() == shown) Remember(picker, shown, value);
    else Forget(picker);
}

double DateTime(const QDateTimeEdit& picker) {
    const QDateTime now = picker.dateTime();
    if (auto stored = StoredWhileShown(picker, now)) return stored->toDouble();
    return FromQDateTime(now);
}

QString DateTimeDisplayFormat(const platform::FormatSettings& fs) {
    const QString sep = fs.DateSeparator == '\'' ? QStringLiteral("''")
                                                  : "'" + QString(QLatin1Char(fs.DateSeparator)) + "'";
    QString date;
    switch (fs.ShortDateOrder) {
        case platform::DateOrder::DMY: date = "dd" + sep + "MM" + sep + "yyyy"; break;
        case platform::DateOrder::MDY: date = "MM" + sep + "dd" + sep + "yyyy"; break;
        case platform::DateOrder::YMD: date = "yyyy" + sep + "MM" + sep + "dd"; break;
    }
    return date + QStringLiteral(" HH:mm:ss");
}

}  // namespace tree
