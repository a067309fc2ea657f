#include "controls/ControlUtilities.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "platform/FileQueries.h"
#include "platform/SafeFile.h"
#include "platform/qt/ActiveWindow.h"

namespace controls {
namespace {

bool AtEnd(std::string_view text, std::size_t pos) { return pos >= text.size() || text[pos] == '\0'; }
bool IsWhite(char c) { return c >= 1 && c <= ' '; }
bool IsTokenChar(char c) { return static_cast<unsigned char>(c) > ' '; }

}  // namespace

std::pair<std::string, std::size_t> ReadCommandToken(std::string_view text, std::size_t pos) {
    for (;;) {
        if (!AtEnd(text, pos) && IsWhite(text[pos])) {
            ++pos;
        } else if (!AtEnd(text, pos) && text[pos] == '"' && !AtEnd(text, pos + 1) && text[pos + 1] == '"') {
            pos += 2;
        } else {
            break;
        }
    }
    std::string token;
    while (!AtEnd(text, pos) && IsTokenChar(text[pos])) {
        if (text[pos] == '"') {
            ++pos;
            while (!AtEnd(text, pos) && text[pos] != '"') token += text[pos++];
            if (!AtEnd(text, pos)) ++pos;
        } else {
            token += text[pos++];
        }
    }
    return {token, pos};
}

int CountCommandTokens(std::string_view text) {
    int count = 0;
    std::size_t pos = 0;
    for (;;) {
        auto [token, next] = ReadCommandToken(text, pos);
        if (token.empty()) return count;
        ++count;
        pos = next;
    }
}

std::string GetCommandToken(std::string_view text, int index) {
    std::size_t pos = 0;
    for (int i = 0;; ++i) {
        auto [token, next] = ReadCommandToken(text, pos);
        if (i == index) return token;
        if (token.empty()) return {};
        pos = next;
    }
}

std::pair<std::string, std::string> SplitProgramAndParams(std::string_view commandLine) {
    std::string program;
    std::string params;
    std::size_t pos = 0;
    const int count = CountCommandTokens(commandLine);
    for (int i = 0; i < count; ++i) {
        auto [token, next] = ReadCommandToken(commandLine, pos);
        pos = next;
        if (i == 0) {
            program = token;
            continue;
        }
        params += token.find(' ') != std::string::npos ? "\"" + token + "\"" : token;
        if (i < count - 1) params += ' ';
    }
    return {program, params};
}

std::string TextToFileName(const std::string& text) {
    if (platform::FileExists(text)) return text;
    return SplitProgramAndParams(text).first;
}

std::string QuoteFileName(const std::string& name) {
    if (name.find(' ') != std::string::npos && name.front() != '"') return "\"" + name + "\"";
    return name;
}

bool HasAnyChar(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) != std::string_view::npos;
}

bool IsValidFileName(std::string_view name) { return !name.empty() && !HasAnyChar(name, "<>\"[]|"); }

bool IsDirectory(const std::string& path) { return platform::IsDirectory(path); }

std::string LongFileNameOf(const std::string& fileName) { return platform::ExistingEntryName(fileName); }
std::string ShortFileNameOf(const std::string& fileName) { return platform::ExistingEntryName(fileName); }

std::string ExtractFilePath(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

QString ShortenTextToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    QString result = text;
    const qsizetype length = text.size();
    for (qsizetype i = 1; i <= length && metrics.horizontalAdvance(result) > width; ++i)
        result = text.left(std::max<qsizetype>(0, length - i - 1)) + "...";
    return result;
}

TFaceColors TFaceColors::Current() {
    const QPalette p = QApplication::palette();
    return {p.color(QPalette::Button), p.color(QPalette::Light), p.color(QPalette::Dark),
            p.color(QPalette::Shadow), p.color(QPalette::ButtonText)};
}

QImage CreateDisabledGlyph(const QImage& glyph, const QColor& outline, const QColor& back,
                           const QColor& highlight, const QColor& shadow, bool drawHighlight) {
    const QImage source = glyph.convertToFormat(QImage::Format_RGB32);
    QImage result(source.size(), QImage::Format_RGB32);
    result.fill(back);
    const QRgb ink = outline.rgb();
    const auto paint = [&](int dx, int dy, const QColor& colour) {
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                if (source.pixel(x, y) == ink && result.rect().contains(x + dx, y + dy))
                    result.setPixel(x + dx, y + dy, colour.rgb());
    };
    if (drawHighlight) paint(1, 1, highlight);
    paint(0, 0, shadow);
    return result;
}

QImage CreateDisabledGlyph(const QImage& glyph, const QColor& outline) {
    const TFaceColors c = TFaceColors::Current();
    return CreateDisabledGlyph(glyph, outline, c.BtnFace, c.BtnHighlight, c.BtnShadow);
}

void PaintParentBackground(QWidget& control, QPainter& painter) {
    QWidget* parent = control.parentWidget();
    if (!parent) return;
    const QRect bounds = control.geometry();
    painter.save();
    parent->render(&painter, QPoint(0, 0), QRegion(bounds), QWidget::DrawWindowBackground);
    painter.restore();
    for (QObject* child : parent->children()) {
        if (child == &control) break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || !sibling->isVisible() || sibling->isWindow() || !sibling->geometry().intersects(bounds)) continue;
        painter.save();
        sibling->render(&painter, sibling->pos() - bounds.topLeft(), QRegion(), QWidget::DrawChildren);
        painter.restore();
    }
}

bool AppWindowIsActive() { return platform::AppWindowIsActive(); }

}  // namespace controls
