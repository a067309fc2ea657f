#pragma once
#include <cstdint>
#include <string>

class QComboBox;
class QListWidget;
class TFilenameEdit;

// What the export and the import dialog share: the test groups of the open project in a combo
// box, the IDs their items carry, and the file name as the edit shows it.
namespace exchangedialog {

// The groups of the open project in the store's order, each item carrying its ID; item 0
// selected when there is one. Returns the first group's ID, -1 when there is none.
std::int32_t FillTestGroups(QComboBox& combo);
// The index of the item that carries the ID; -1 when none does.
int IndexOfObject(const QComboBox& combo, std::int32_t id);
int IndexOfObject(const QListWidget& list, std::int32_t id);
// The ID of the selected item; -1 without a selection.
std::int32_t SelectedID(const QComboBox& combo);
std::int32_t SelectedID(const QListWidget& list);
// The edit's text without double quotes (the browse road quotes a name that holds a blank): the
// file's name as it stands, blanks at either end kept.
std::string UnquotedFileName(const TFilenameEdit& edit);
// The same without the blanks around it.
std::string EditedFileName(const TFilenameEdit& edit);

}  // namespace exchangedialog
