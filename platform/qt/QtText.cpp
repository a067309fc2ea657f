#include "platform/qt/QtText.h"

#include "platform/CodePage.h"

namespace platform {

QString ToQString(std::string_view local) {
    const std::string utf8 = CodePage::Current().ToUtf8(local);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return CodePage::Current().FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace platform
