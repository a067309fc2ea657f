#pragma once
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFontMetrics;
class QPainter;

// The look of a speed button; also the position of each image in a multi-image glyph.
enum class TButtonState : std::uint8_t { Up = 0, Disabled = 1, Down = 2, Exclusive = 3, Inactive = 4 };
enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonStyle : std::uint8_t { bsAutoDetect, bsWin31, bsNew };
enum TTextAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// An image list of one image size that hands out slots; a freed slot keeps its image and is
// the first to be taken again.
class TGlyphList {
public:
    TGlyphList(int width, int height);

    int TakeFreeIndex();
    // Stores image in a free slot, transparent where mask is 0 (or where the pixel has
    // maskColor), and returns the slot.
    int AddImage(const QImage& image, const QImage& mask);
    int AddMaskedImage(const QImage& image, const QColor& maskColor);
    void FreeIndex(int index);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(images_.size()); }
    const QPixmap& Image(int index) const { return images_.at(static_cast<std::size_t>(index)); }
    bool InUse(int index) const { return used_.at(static_cast<std::size_t>(index)); }

private:
    int width_;
    int height_;
    int count_ = 0;
    std::vector<bool> used_;
    std::vector<QPixmap> images_;
};

// The image lists of all buttons of the process, one per image size.
class TGlyphCache {
public:
    TGlyphList* ListFor(int width, int height);
    // Frees list once it holds no image.
    void GiveBack(TGlyphList* list);
    bool IsEmpty() const { return lists_.empty(); }
    int ListCount() const { return static_cast<int>(lists_.size()); }

    // The one cache; created on first need, freed by the last glyph that empties it.
    static TGlyphCache* Shared();
    static TGlyphCache& Acquire();
    static void FreeIfEmpty();

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

// Where a button's glyph and caption go within its face.
struct TButtonLayoutResult {
    QPoint GlyphPos;
    QRect TextBounds;
    QString Caption;   // the caption as shortened to its room
};

// A button's glyph: the bitmap, cut into per-state images that are built on first use and
// shared through the cache.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    const QImage& Glyph() const { return Picture; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    // One image's size; empty without a picture.
    QSize ImageSize() const;

    void ReleaseImages();
    // The slot of the state's image in ImageList, built on first use; -1 without a picture.
    int BuildStateImage(TButtonState state);
    // The state's image as built (a null pixmap without a picture).
    QPixmap StateImagePixmap(TButtonState state);

    TButtonLayoutResult ComputeLayout(const QRect& client, const QString& caption, const QFontMetrics& metrics,
                                      TButtonLayout layout, int margin, int spacing, bool dropDownMark) const;
    // Draws glyph, caption and drop-down mark for state within client; returns the text bounds.
    QRect DrawButton(QPainter& painter, const QRect& client, const QString& caption, TButtonLayout layout,
                     int margin, int spacing, bool dropDownMark, TButtonState state);

    QColor MaskColor{255, 0, 255};
    bool WordWrap = false;
    TTextAlignment Alignment = taCenter;
    TGlyphList* ImageList = nullptr;
    std::array<int, 5> StateImage{-1, -1, -1, -1, -1};
    std::function<void()> OnChanged;

private:
    void PictureChanged();

    QImage Picture;
    int numGlyphs_ = 1;
};
