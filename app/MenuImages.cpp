#include "app/MenuImages.h"

#include <QApplication>
#include <QHash>
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
