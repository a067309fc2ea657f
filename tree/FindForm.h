#pragma once
#include <QDialog>

#include <cstdint>
#include <string>

#include "help/context.h"
#include "lang/LanguageController.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The small window in which the user enters what to find in the objects tree: the text, the
// kind of object and two options. The caller presets it with SetSearch, shows it with
// platform::ExecModal and, when Confirmed, reads the text (trimmed), SearchFlags and SearchType.
class TFindForm : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    static constexpr int kHelpContext = IDH_FIND;

    explicit TFindForm(QWidget* owner);

    // True once Find was pressed.
    bool Confirmed = false;
    // Bit 0 case-sensitive, bit 1 the whole node title (TSearchFlag); other bits are kept.
    std::uint8_t SearchFlags = 0;
    // The object type code of the chosen item (TFindObjectType); 0 any object.
    std::uint8_t SearchType = 0;

    QLabel* ObjectLabel;
    QLineEdit* ObjectEdit;
    QLabel* ObjectTypeLabel;
    QComboBox* ObjectTypeComboBox;
    QCheckBox* CaseSensCheckBox;
    QCheckBox* FullStringCheckBox;
    QPushButton* FindButton;
    QPushButton* CloseButton;

    // The combo's items in order, with the object type code each stands for.
    static constexpr int kTypeCount = 8;
    static std::uint8_t TypeCodeAt(int index);
    // The item of a type code; -1 for a code without one.
    static int TypeIndexOf(std::uint8_t code);

    // The text (trimmed of blanks), the flags (a set bit checks its box, a clear bit leaves it)
    // and the object type (a code without an item leaves the combo as it is).
    void SetSearch(const std::string& text, std::uint8_t flags, std::uint8_t type);
    // The text of the edit, in the program's code page and trimmed of blanks.
    std::string SearchText() const;

    void UpdateFindButton();
    void ObjectTypeComboBoxChange();
    void FindButtonClick();
    void CloseButtonClick();

protected:
    // Enter presses Find when it is enabled, Escape presses Close: in the window and in each of its
    // controls.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Enter, Escape and F1; True when the key was one of them.
    bool FormKeyDown(int key);
};
