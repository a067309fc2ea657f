#include "controls/ButtonGlyph.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "controls/ControlUtilities.h"

// ---- TGlyphList

TGlyphList::TGlyphList(int width, int height) : width_(width), height_(height) {}

int TGlyphList::TakeFreeIndex() {
    for (std::size_t i = 0; i < used_.size(); ++i) {
        if (!used_[i]) {
            used_[i] = true;
            return static_cast<int>(i);
        }
    }
    QPixmap blank(width_, height_);
    blank.fill(Qt::transparent);
    images_.push_back(blank);
    used_.push_back(true);
    return static_cast<int>(images_.size()) - 1;
}

int TGlyphList::AddImage(const QImage& image, const QImage& mask) {
    const int index = TakeFreeIndex();
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (m.rect().contains(x, y) && qGray(m.pixel(x, y)) == 0) argb.setPixel(x, y, 0);
    images_[static_cast<std::size_t>(index)] = QPixmap::fromImage(argb);
    ++count_;
    return index;
}

int TGlyphList::AddMaskedImage(const QImage& image, const QColor& maskColor) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage mask(rgb.size(), QImage::Format_RGB32);
    const QRgb key = maskColor.rgb();
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) mask.setPixel(x, y, rgb.pixel(x, y) == key ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return AddImage(rgb, mask);
}

void TGlyphList::FreeIndex(int index) {
    if (index < 0 || index >= Capacity() || !used_[static_cast<std::size_t>(index)]) return;
    used_[static_cast<std::size_t>(index)] = false;
    --count_;
}

// ---- TGlyphCache

namespace {

std::unique_ptr<TGlyphCache>& CacheSlot() {
    static std::unique_ptr<TGlyphCache> cache;
    return cache;
}

}  // namespace

TGlyphList* TGlyphCache::ListFor(int width, int height) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
    lists_.push_back(std::make_unique<TGlyphList>(width, height));
    return lists_.back().get();
}

void TGlyphCache::GiveBack(TGlyphList* list) {
    for (auto it = lists_.begin(); it != lists_.end(); ++it) {
        if (it->get() == list) {
            if (list->Count() == 0) lists_.erase(it);
            return;
        }
    }
}

TGlyphCache* TGlyphCache::Shared() { return CacheSlot().get(); }

TGlyphCache& TGlyphCache::Acquire() {
    if (!CacheSlot()) CacheSlot() = std::make_unique<TGlyphCache>();
    return *CacheSlot();
}

void TGlyphCache::FreeIfEmpty() {
    if (CacheSlot() && CacheSlot()->IsEmpty()) CacheSlot().reset();
}

// ---- TButtonGlyph

TButtonGlyph::TButtonGlyph() { TGlyphCache::Acquire(); }

TButtonGlyph::~TButtonGlyph() {
    ReleaseImages();
    TGlyphCache::FreeIfEmpty();
}

void TButtonGlyph::SetGlyph(const QImage& glyph) {
    ReleaseImages();
    Picture = glyph;
    PictureChanged();
}

void TButtonGlyph::SetNumGlyphs(int value) {
    if (value < 1 || value == numGlyphs_) return;
    ReleaseImages();
    numGlyphs_ = value;
}

QSize TButtonGlyph::ImageSize() const {
    if (Picture.isNull() || Picture.width() == 0 || Picture.height() == 0) return {0, 0};
    return {Picture.width() / numGlyphs_, Picture.height()};
}

void TButtonGlyph::PictureChanged() {
    ReleaseImages();
    if (Picture.height() > 0) {
        // The picture's own transparent colour is its bottom-left pixel.
        MaskColor = QColor(Picture.pixel(0, Picture.height() - 1)).rgb();
        if (Picture.width() % Picture.height() == 0) {
            const int count = Picture.width() / Picture.height();
            numGlyphs_ = count > 5 ? 1 : count;
        }
    }
    if (OnChanged) OnChanged();
}

void TButtonGlyph::ReleaseImages() {
    for (int& index : StateImage) {
        if (index != -1 && ImageList) ImageList->FreeIndex(index);
        index = -1;
    }
    if (ImageList && TGlyphCache::Shared()) TGlyphCache::Shared()->GiveBack(ImageList);
    ImageList = nullptr;
}

int TButtonGlyph::BuildStateImage(TButtonState state) {
    if (state == TButtonState::Down && numGlyphs_ < 3) state = TButtonState::Up;
    const auto slot = static_cast<std::size_t>(state);
    if (StateImage[slot] != -1) return StateImage[slot];
    const QSize size = ImageSize();
    if (size.isEmpty()) return -1;
    if (!ImageList) ImageList = TGlyphCache::Acquire().ListFor(size.width(), size.height());

    const controls::TFaceColors colors = controls::TFaceColors::Current();
    const auto imageAt = [&](int i) {
        QImage scratch(size, QImage::Format_RGB32);
        scratch.fill(colors.BtnFace);
        QPainter p(&scratch);
        p.drawImage(QPoint(0, 0), Picture, QRect(i * size.width(), 0, size.width(), size.height()));
        return scratch;
    };
    const int source = static_cast<int>(slot) < numGlyphs_ ? static_cast<int>(slot) : 0;

    int index;
    if (state == TButtonState::Disabled && numGlyphs_ == 1) {
        index = ImageList->AddMaskedImage(controls::CreateDisabledGlyph(Picture, Qt::black), colors.BtnFace);
    } else if (state == TButtonState::Inactive && numGlyphs_ < 5) {
        QImage grey = imageAt(0);
        const QRgb mask = MaskColor.rgb();
        const QRgb face = colors.BtnFace.rgb();
        for (int y = 0; y < grey.height(); ++y) {
            for (int x = 0; x < grey.width(); ++x) {
                const QRgb c = grey.pixel(x, y) | 0xFF000000u;
                if (c == mask || c == face) continue;
                const int level = (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) >> 8;
                grey.setPixel(x, y, qRgb(level, level, level));
            }
        }
        index = ImageList->AddMaskedImage(grey, MaskColor);
    } else {
        index = ImageList->AddMaskedImage(imageAt(source), MaskColor);
    }
    StateImage[slot] = index;
    return index;
}

QPixmap TButtonGlyph::StateImagePixmap(TButtonState state) {
    const int index = BuildStateImage(state);
    return index < 0 ? QPixmap() : ImageList->Image(index);
}

namespace {

constexpr int kDropDownTextRoom = 9;
constexpr int kDropDownGlyphRoom = 6;

int TextFlags(TTextAlignment alignment, bool wordWrap, Qt::LayoutDirection direction) {
    int flags = Qt::AlignVCenter;
    switch (alignment) {
    case taLeftJustify: flags |= direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft; break;
    case taRightJustify: flags |= direction == Qt::RightToLeft ? Qt::AlignLeft : Qt::AlignRight; break;
    case taCenter: flags |= Qt::AlignHCenter; break;
    }
    if (wordWrap) flags |= Qt::TextWordWrap;
    return flags;
}

}  // namespace

TButtonLayoutResult TButtonGlyph::ComputeLayout(const QRect& client, const QString& caption,
                                                const QFontMetrics& metrics, TButtonLayout layout, int margin,
                                                int spacing, bool dropDownMark) const {
    const QSize clientSize = client.size();
    QSize glyphSize = ImageSize();
    const bool vertical = layout == blGlyphTop || layout == blGlyphBottom;
    const int fixedMargin = margin != -1 ? margin : 0;
    const int fixedSpacing = spacing != -1 ? spacing : 0;
    QSize room = vertical ? QSize(clientSize.width(), clientSize.height() - glyphSize.height() - fixedMargin - fixedSpacing)
                          : QSize(clientSize.width() - glyphSize.width() - fixedMargin - fixedSpacing -
                                      (dropDownMark ? kDropDownTextRoom : 0),
                                  clientSize.height());
    room = room.expandedTo(QSize(0, 0));

    TButtonLayoutResult result;
    if (WordWrap) {
        result.Caption = caption;
    } else {
        QStringList lines = caption.split('\n');
        for (QString& line : lines) line = controls::ShortenTextToWidth(line, metrics, room.width());
        result.Caption = lines.join('\n');
    }
    while (!result.Caption.isEmpty() && (result.Caption.back() == ' ' || result.Caption.back() == '\n' ||
                                          result.Caption.back() == '\r'))
        result.Caption.chop(1);
    result.Caption = result.Caption.left(255);

    QSize textSize(0, 0);
    if (!result.Caption.isEmpty()) {
        const QRect measured = metrics.boundingRect(QRect(QPoint(0, 0), room),
                                                    TextFlags(Alignment, WordWrap, Qt::LeftToRight), result.Caption);
        textSize = measured.size().boundedTo(room);
    }
    if (dropDownMark) {
        if (glyphSize.width() == 0 || layout == blGlyphLeft) textSize.rwidth() += kDropDownTextRoom;
        else glyphSize.rwidth() += kDropDownGlyphRoom;
    }

    QPoint glyphPos;
    QPoint textPos;
    // Across the layout's axis both are centred.
    if (vertical) {
        glyphPos.setX(clientSize.width() / 2 - glyphSize.width() / 2);
        textPos.setX(clientSize.width() / 2 - textSize.width() / 2);
    } else {
        glyphPos.setY(clientSize.height() / 2 - glyphSize.height() / 2);
        textPos.setY(clientSize.height() / 2 - textSize.height() / 2);
    }
    const int client1 = vertical ? clientSize.height() : clientSize.width();
    const int glyph1 = vertical ? glyphSize.height() : glyphSize.width();
    const int text1 = vertical ? textSize.height() : textSize.width();
    if (text1 == 0 || glyph1 == 0) spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (client1 - glyph1 - text1) / 3;
            spacing = margin;
        } else {
            margin = (client1 - (glyph1 + spacing + text1)) / 2;
        }
    } else if (spacing == -1) {
        spacing = (client1 - (margin + glyph1) - text1) / 2;
    }
    // Glyph first (left, top) or last (right, bottom) along the axis.
    const bool glyphFirst = layout == blGlyphLeft || layout == blGlyphTop;
    const int glyphAt = glyphFirst ? margin : client1 - margin - glyph1;
    const int textAt = glyphFirst ? margin + glyph1 + spacing : glyphAt - spacing - text1;
    if (vertical) {
        glyphPos.setY(glyphAt);
        textPos.setY(textAt);
    } else {
        glyphPos.setX(glyphAt);
        textPos.setX(textAt);
    }
    result.GlyphPos = glyphPos + client.topLeft();
    result.TextBounds = QRect(textPos + client.topLeft(), textSize);
    return result;
}

QRect TButtonGlyph::DrawButton(QPainter& painter, const QRect& client, const QString& caption, TButtonLayout layout,
                               int margin, int spacing, bool dropDownMark, TButtonState state) {
    const TButtonLayoutResult at =
        ComputeLayout(client, caption, painter.fontMetrics(), layout, margin, spacing, dropDownMark);
    const QPixmap image = StateImagePixmap(state);
    if (!image.isNull()) painter.drawPixmap(at.GlyphPos, image);

    const controls::TFaceColors colors = controls::TFaceColors::Current();
    if (!at.Caption.isEmpty()) {
        const int flags = TextFlags(Alignment, WordWrap, painter.layoutDirection());
        if (state == TButtonState::Disabled) {
            painter.setPen(colors.BtnHighlight);
            painter.drawText(at.TextBounds.translated(1, 1), flags, at.Caption);
            painter.setPen(colors.BtnShadow);
        } else {
            painter.setPen(colors.BtnText);
        }
        painter.drawText(at.TextBounds, flags, at.Caption);
    }
    if (dropDownMark) {
        QPoint point;
        if (layout != blGlyphLeft && !image.isNull()) {
            point = QPoint(at.GlyphPos.x() + image.width() + 1, at.GlyphPos.y() + image.height() / 2);
        } else {
            const QRect t = at.TextBounds;
            point = QPoint(at.Caption.isEmpty() ? (t.left() + t.right() + 1 - 7) / 2 : t.right() + 1 + 3,
                           t.top() + t.height() / 2);
        }
        const auto triangle = [&](QPoint p, const QColor& colour) {
            for (int row = 0; row < 4; ++row)
                painter.fillRect(QRect(p.x() + row, p.y() - 1 + row, 7 - 2 * row, 1), colour);
        };
        if (state == TButtonState::Disabled) {
            triangle(point + QPoint(1, 1), colors.BtnHighlight);
            triangle(point, colors.BtnShadow);
        } else {
            triangle(point, colors.BtnText);
        }
    }
    return at.TextBounds;
}
