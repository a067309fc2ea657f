#include "app/Grlink.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>

#include "app/Links.h"
#include "platform/Browser.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"

TGrlink::TGrlink(QWidget* owner) : QLabel(owner) {
    SetColor(QColor(0x00, 0x00, 0xFF));
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    CopyItem = PopupMenu->addAction("Copy");
    CopyItem->setObjectName("CopyItem");
    connect(CopyItem, &QAction::triggered, this, [this] { CopyClick(); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu->popup(mapToGlobal(pos)); });
}

QColor TGrlink::ColorOf() const { return palette().color(QPalette::WindowText); }

void TGrlink::SetColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

std::string TGrlink::Target() const {
    if (!platform::TrimBlanks(URL).empty()) return std::string(platform::TrimBlanks(URL));
    const std::string caption(platform::TrimBlanks(platform::FromQString(text())));
    const std::string scheme = platform::UrlScheme(caption);
    // A caption is opened only when it is an address; "Home Page" is not.
    if (scheme == "http" || scheme == "https" || scheme == "mailto") return caption;
    return {};
}

void TGrlink::Click() {
    emit clicked();
    const std::string target = Target();
    if (!target.empty()) OpenLink(target);
}

void TGrlink::CopyClick() { QGuiApplication::clipboard()->setText(text()); }

void TGrlink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        savedColor_ = ColorOf();
        SetColor(ActiveColor);
        pressed_ = true;
    }
    QLabel::mousePressEvent(event);
}

void TGrlink::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && pressed_;
    if (event->button() == Qt::LeftButton && pressed_) {
        SetColor(savedColor_);
        pressed_ = false;
    }
    QLabel::mouseReleaseEvent(event);
    if (click && rect().contains(event->position().toPoint())) Click();
}
