#include "exchange/ExchangeDialogParts.h"

#include <QComboBox>
#include <QListWidget>

#include <algorithm>

#include "controls/FilenameEdit.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"
#include "store/FileAccess.h"

namespace exchangedialog {

std::int32_t FillTestGroups(QComboBox& combo) {
    combo.clear();
    const TFileAccess* open = GlobalStore().get();
    if (!open) return -1;
    TTypeIntegerSingleList ids;
    TTypeShortStringSingleList names;
    open->ListTestGroups(&ids, &names);
    for (int i = 0; i < ids.Count(); ++i) combo.addItem(platform::ToQString(names.Get(i)), ids.Get(i));
    if (combo.count() == 0) return -1;
    combo.setCurrentIndex(0);
    return ids.Get(0);
}

int IndexOfObject(const QComboBox& combo, std::int32_t id) { return combo.findData(id); }

int IndexOfObject(const QListWidget& list, std::int32_t id) {
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->data(Qt::UserRole).toInt() == id) return i;
    return -1;
}

std::int32_t SelectedID(const QComboBox& combo) {
    return combo.currentIndex() < 0 ? -1 : combo.currentData().toInt();
}

std::int32_t SelectedID(const QListWidget& list) {
    const QListWidgetItem* item = list.currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

std::string UnquotedFileName(const TFilenameEdit& edit) {
    std::string name = platform::FromQString(edit.text());
    name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
    return name;
}

std::string EditedFileName(const TFilenameEdit& edit) { return std::string(platform::TrimBlanks(UnquotedFileName(edit))); }

}  // namespace exchangedialog
