#include "tree/TreeImages.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

QPixmap Paint(const Draw& draw) {
    QPixmap pm(TTreeImages::kSize, TTreeImages::kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pm;
}

void Folder(QPainter& p, const QColor& fill) {
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6.5, 3.5);
    path.lineTo(8, 5.5);
    path.lineTo(14.5, 5.5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.setPen(fill.darker(170));
    p.setBrush(fill);
    p.drawPath(path);
}

void Page(QPainter& p, qreal x, qreal y, const QColor& fill) {
    p.setPen(QColor(80, 80, 80));
    p.setBrush(fill);
    p.drawRect(QRectF(x + 0.5, y + 0.5, 9, 12));
    p.setPen(QColor(120, 120, 160));
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(x + 2.5, y + 3.5 + 3 * i), QPointF(x + 7.5, y + 3.5 + 3 * i));
}

void Letter(QPainter& p, const QColor& fill, const QString& text) {
    p.setPen(fill.darker(170));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
}

void Diamond(QPainter& p, const QColor& pen, const QBrush& fill) {
    const QPointF pts[] = {{8, 1.5}, {14.5, 8}, {8, 14.5}, {1.5, 8}};
    p.setPen(QPen(pen, 1.2));
    p.setBrush(fill);
    p.drawPolygon(pts, 4);
}

}  // namespace

TTreeImages::TTreeImages() {
    const Draw draws[kImageCount] = {
        // 0: the cut mark, a red cross in the lower left corner.
        [](QPainter& p) {
            p.setPen(QPen(QColor(200, 0, 0), 2));
            p.drawLine(QPointF(1, 9), QPointF(7, 15));
            p.drawLine(QPointF(7, 9), QPointF(1, 15));
        },
        // 1: the copy mark, a green plus in the lower left corner.
        [](QPainter& p) {
            p.setPen(QPen(QColor(0, 150, 0), 2));
            p.drawLine(QPointF(4, 9), QPointF(4, 15));
            p.drawLine(QPointF(1, 12), QPointF(7, 12));
        },
        [](QPainter& p) { Folder(p, QColor(240, 200, 80)); },   // 2: folder
        [](QPainter& p) {                                        // 3: the project
            p.setPen(QColor(20, 40, 110));
            p.setBrush(QColor(60, 90, 180));
            p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
            p.setPen(Qt::white);
            p.drawLine(QPointF(4, 6), QPointF(12, 6));
            p.drawLine(QPointF(4, 9.5), QPointF(10, 9.5));
        },
        [](QPainter& p) { Letter(p, QColor(150, 150, 150), QString()); },   // 4 to 6: spare
        [](QPainter& p) { Letter(p, QColor(150, 150, 150), QString()); },
        [](QPainter& p) { Letter(p, QColor(150, 150, 150), QString()); },
        [](QPainter& p) {                                        // 7: all tests, a stack of pages
            Page(p, 4, 0, QColor(230, 230, 230));
            Page(p, 1, 3, Qt::white);
        },
        [](QPainter& p) { Folder(p, QColor(110, 160, 230)); },  // 8: test group
        [](QPainter& p) { Page(p, 3, 1.5, Qt::white); },         // 9: test
        [](QPainter& p) { Letter(p, QColor(40, 120, 200), "?"); },   // 10: question
        [](QPainter& p) {                                        // 11: answer, a ticked box
            p.setPen(QColor(60, 60, 60));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
            p.setPen(QPen(QColor(0, 130, 0), 2));
            p.drawLine(QPointF(4.5, 8), QPointF(7, 11));
            p.drawLine(QPointF(7, 11), QPointF(12, 4.5));
        },
        [](QPainter& p) { Diamond(p, QColor(0, 110, 60), QColor(60, 180, 110)); },   // 12: weight
        [](QPainter& p) {                                        // 13: scale, a bar chart
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 90, 40));
            p.drawRect(QRectF(2, 9, 3, 5));
            p.drawRect(QRectF(6.5, 5, 3, 9));
            p.drawRect(QRectF(11, 2, 3, 12));
        },
        [](QPainter& p) {                                        // 14: interpretation, a speech bubble
            QPainterPath path;
            path.addRoundedRect(QRectF(1.5, 2.5, 13, 8.5), 3, 3);
            path.moveTo(4, 11);
            path.lineTo(4, 14.5);
            path.lineTo(8, 11);
            p.setPen(QColor(110, 60, 140));
            p.setBrush(QColor(200, 170, 230));
            p.drawPath(path.simplified());
        },
        [](QPainter& p) { Diamond(p, QColor(130, 130, 130), Qt::NoBrush); },   // 15: weight without a scale
    };
    for (int i = 0; i < kImageCount; ++i) images_[i] = Paint(draws[i]);
    for (int i = 0; i < kImageCount; ++i) {
        icons_[i][0] = QIcon(images_[i]);
        icons_[i][1] = QIcon(Compose(images_[i], images_[kCutOverlayImage]));
        icons_[i][2] = QIcon(Compose(images_[i], images_[kCopyOverlayImage]));
    }
}

const QPixmap& TTreeImages::Image(int index) const {
    return images_[index >= 0 && index < kImageCount ? index : 2];
}

const QIcon& TTreeImages::Icon(int image, int overlay) const {
    const auto& row = icons_[image >= 0 && image < kImageCount ? image : 2];
    switch (overlay) {
        case kCutOverlayImage: return row[1];
        case kCopyOverlayImage: return row[2];
        default: return row[0];
    }
}

QPixmap TTreeImages::Compose(const QPixmap& base, const QPixmap& overlay) {
    QPixmap out = base.copy();
    QPainter p(&out);
    p.drawPixmap(0, 0, overlay);
    return out;
}
