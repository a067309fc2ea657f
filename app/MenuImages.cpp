#include "app/MenuImages.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

QIcon CommandIcon(const QString& name) {
    static const QHash<QString, QStyle::StandardPixmap> pictures = {
        {"MenuItemProjectCreate", QStyle::SP_FileIcon},
        {"MenuItemProjectOpen", QStyle::SP_DialogOpenButton},
        {"MenuItemProjectSave", QStyle::SP_DialogSaveButton},
        {"MenuItemProjectSaveAs", QStyle::SP_DriveFDIcon},
        {"MenuItemProjectClose", QStyle::SP_DialogCloseButton},
        {"MenuItemFileImportTests", QStyle::SP_ArrowDown},
        {"MenuItemFileExportTests", QStyle::SP_ArrowUp},
        {"MenuItemFileExit", QStyle::SP_TitleBarCloseButton},
        {"MenuItemEditFind", QStyle::SP_FileDialogContentsView},
        {"MenuItemEditFindNext", QStyle::SP_MediaSeekForward},
        {"MenuItemEditToolbarsSetup", QStyle::SP_FileDialogDetailedView},
        {"MenuItemViewShowChildNodes", QStyle::SP_ToolBarVerticalExtensionButton},
        {"MenuItemViewHideChildNodes", QStyle::SP_TitleBarShadeButton},
        {"MenuItemObjectCreate", QStyle::SP_FileDialogNewFolder},
        {"MenuItemObjectChange", QStyle::SP_FileDialogInfoView},
        {"MenuItemObjectRemove", QStyle::SP_TrashIcon},
        {"MenuItemObjectArrangeItems", QStyle::SP_FileDialogListView},
        {"MenuItemObjectRemoveChildren", QStyle::SP_DialogDiscardButton},
        {"MenuItemObjectRunTest", QStyle::SP_MediaPlay},
        {"MenuItemHelpContext", QStyle::SP_DialogHelpButton},
        {"MenuItemHelpHomepage", QStyle::SP_DirHomeIcon},
        {"MenuItemHelpSupport", QStyle::SP_MessageBoxInformation},
    };
    const auto it = pictures.constFind(name);
    if (it == pictures.constEnd()) return {};
    return QApplication::style()->standardIcon(it.value());
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const double u = size / 16.0;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x4e, 0x8c));
        p.drawRoundedRect(QRectF(0, 0, size, size), 3 * u, 3 * u);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5 * u, 2 * u, 9 * u, 12 * u));
        QPen tick(QColor(0x2e, 0x9d, 0x3a), 1.8 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(tick);
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(5.5 * u, 8.5 * u);
        path.lineTo(7.5 * u, 10.5 * u);
        path.lineTo(11 * u, 5 * u);
        p.drawPath(path);
        p.end();
        icon.addPixmap(picture);
    }
    return icon;
}
