#pragma once
#include <QDialog>

#include <cstdint>
#include <string>

#include "lang/LanguageController.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFilenameEdit;
struct TExportFormat;

// Chooses a test of the open project (private tests are not offered), the author values to
// export, the private flag, the target file and, through the browse dialog's file type, the
// format; Confirm runs the export of that format and closes the window. The caller reads nothing.
class TFormExportTest : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    explicit TFormExportTest(QWidget* owner = nullptr);
    ~TFormExportTest() override;

    QLabel* LabelTestGroup;
    QComboBox* ComboBoxTestGroup;
    QLabel* LabelTests;
    QListWidget* ListBoxTests;
    QLabel* LabelAuthorName;
    QLineEdit* EditAuthorName;
    QLabel* LabelAuthorEmail;
    QLineEdit* EditAuthorEmail;
    QLabel* LabelCopyright;
    QLineEdit* EditCopyright;
    QCheckBox* CheckBoxPrivate;
    QLabel* LabelFileNameEdit;
    TFilenameEdit* FilenameEdit;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

    // Selects the group and, when it lists it, the test, with the test's author values; -1 for
    // either selects nothing.
    void SelectTest(std::int32_t groupID, std::int32_t testID);

    // The tests of the group that are not private, the first selected, with its author values.
    void FillTests(std::int32_t groupID);
    // The stored author values of the selected test in the three edits; empty without one.
    void ShowTestAuthor();
    // Confirm is enabled while a file name, a group and a test are chosen.
    void UpdateButtons();
    // What Confirm writes: the format and the file.
    struct TTarget {
        const TExportFormat* Format;
        std::string Path;
    };
    // A name chosen while browsing, as the edit still shows it, is written in the chosen file type,
    // with that type's extension unless it has it already. A typed name that ends in one of the four
    // extensions (any case) is written as it stands in that format; any other typed name as an
    // exchange text file, with ".kvt" added.
    TTarget Target() const;
    std::string TargetFileName() const { return Target().Path; }
    // The 1-based file type of the last browse (1 until the user browsed).
    int FormatIndex() const;
    // True when the export may go to path: its folder exists, it is no folder itself, and a file
    // that is there already may be replaced. Otherwise the reason or the question has been shown.
    static bool MayWrite(const std::string& path);

    void ComboBoxTestGroupChange();
    void ListBoxTestsClick();
    void FilenameEditChange();
    void ButtonOKClick();
    void ButtonCancelClick();

    // The result of the last export run by Confirm; False before any.
    bool Exported = false;

private:
    // The name the last confirmed browse put into the edit; empty before one.
    std::string browsedName_;
};
