#include "platform/qt/MenuCaption.h"

#include <QFontMetrics>

#include "platform/qt/QtText.h"

namespace platform {

QString MenuCaption(std::string_view text, const QFont& font) {
    const QString caption = QFontMetrics(font).elidedText(ToQString(text).simplified(), Qt::ElideRight,
                                                          kMaxMenuCaptionWidth);
    return QString(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace platform
