#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class QFontMetrics;
class QPainter;
class QWidget;

// Free routines under the file-name edit and the speed button. Names are byte strings in the
// program's code page; "/" is the only folder separator.
namespace controls {

constexpr int Max(int a, int b) { return a > b ? a : b; }
constexpr int Min(int a, int b) { return a < b ? a : b; }
inline int RectWidth(const QRect& r) { return r.width(); }
inline int RectHeight(const QRect& r) { return r.height(); }

// The next token of a command line from pos (a NUL byte ends the text as its end does):
// white space (bytes 1 to 32) and empty "" pairs are skipped, then every byte above 32 is
// collected, a double quote opening a run that is taken as it stands up to the next quote.
// Quotes never belong to the token. Returns the token (empty at the end) and the position
// after it. A token has no length limit.
std::pair<std::string, std::size_t> ReadCommandToken(std::string_view text, std::size_t pos);
// The number of tokens before the first empty one.
int CountCommandTokens(std::string_view text);
// The token at index (from 0), or empty.
std::string GetCommandToken(std::string_view text, int index);
// Token 0 as the program; the other tokens, each quoted when it holds a blank, joined by blanks.
std::pair<std::string, std::string> SplitProgramAndParams(std::string_view commandLine);

// The edit's text as a file name: the text itself when a file of that name exists, otherwise
// its first token without quotes.
std::string TextToFileName(const std::string& text);
// name in double quotes when it holds a blank and does not begin with a quote.
std::string QuoteFileName(const std::string& name);
bool HasAnyChar(std::string_view text, std::string_view chars);
// Not empty and none of < > " [ ] |; the file system is not asked.
bool IsValidFileName(std::string_view name);
bool IsDirectory(const std::string& path);
// The name part of an existing file as the file system spells it; empty when there is none.
// Linux has no short (8.3) names, so both give the same.
std::string LongFileNameOf(const std::string& fileName);
std::string ShortFileNameOf(const std::string& fileName);
// The folder part up to and including the last "/", and the part after it.
std::string ExtractFilePath(const std::string& fileName);
std::string ExtractFileName(const std::string& fileName);

// text cut from its end, with "..." in place of what was cut, until it is at most width pixels
// wide; the first cut drops two characters, and a text that never fits ends as "...".
QString ShortenTextToWidth(const QString& text, const QFontMetrics& metrics, int width);

// The colours of the button face that the drawing routines use, from the application palette.
struct TFaceColors {
    QColor BtnFace, BtnHighlight, BtnShadow, WindowFrame, BtnText;
    static TFaceColors Current();
};

// The embossed form of a glyph: a picture of its size on back, where every pixel of the outline
// colour is drawn in highlight one pixel right and down (when wanted), then in shadow in place.
QImage CreateDisabledGlyph(const QImage& glyph, const QColor& outline, const QColor& back,
                           const QColor& highlight, const QColor& shadow, bool drawHighlight = true);
QImage CreateDisabledGlyph(const QImage& glyph, const QColor& outline);

// Paints into painter (whose origin is the control's top-left corner) what lies under the
// control: the parent's background and the siblings before it that overlap it.
void PaintParentBackground(QWidget& control, QPainter& painter);

// True when one of the program's windows is the active window.
bool AppWindowIsActive();

}  // namespace controls
