#include "app/ProductLogo.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

void PaintProductLogo(QPainter& painter, const QRectF& box, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(box.width(), box.height());
    const qreal pen = side / 8;
    const QRectF ring(box.center().x() - (side - pen) / 2, box.center().y() - (side - pen) / 2, side - pen,
                      side - pen);
    painter.setPen(QPen(color, pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ring);
    QPainterPath tick;
    tick.moveTo(ring.left() + ring.width() * 0.28, ring.top() + ring.height() * 0.52);
    tick.lineTo(ring.left() + ring.width() * 0.45, ring.top() + ring.height() * 0.68);
    tick.lineTo(ring.left() + ring.width() * 0.74, ring.top() + ring.height() * 0.34);
    painter.setPen(QPen(color, pen * 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    painter.restore();
}

QPixmap ProductLogo(int side, const QColor& color) {
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    PaintProductLogo(painter, QRectF(0, 0, side, side), color);
    return picture;
}
