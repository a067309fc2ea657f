#pragma once
#include <QPixmap>

class QPainter;
class QRectF;

// The program's logo, drawn rather than loaded: a light ring with a tick inside, in the colour
// given. The splash draws it on its background; the about box shows it as a picture.
void PaintProductLogo(QPainter& painter, const QRectF& box, const QColor& color);
QPixmap ProductLogo(int side, const QColor& color);
