#pragma once
#include <QDialog>

#include <cstdint>

#include "lang/LanguageController.h"

class QComboBox;
class QLabel;
class QPushButton;
class TFilenameEdit;

// Chooses a test group of the open project and an exchange text file; Yes imports the file's
// test into the group and closes the window. The caller then reads the group and the new test.
class TFormImportTest : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    explicit TFormImportTest(QWidget* owner = nullptr);
    ~TFormImportTest() override;

    QLabel* LabelTestGroups;
    QComboBox* ComboBoxTestGroups;
    QLabel* LabelFileName;
    TFilenameEdit* FilenameEdit;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

    // Selects the group when the combo box holds it (-1: none), then updates the buttons.
    void SelectTestGroup(std::int32_t groupID);
    // The group that received the test; -1 unless an import succeeded.
    std::int32_t GetTestGroupID() const { return TestGroupID; }
    // The imported test's ID in the open project; -1 unless an import succeeded.
    std::int32_t GetImportedTestID() const { return ImportedTestID; }

    // Yes is enabled while a file name and a group are chosen.
    void UpdateButtons();
    void FilenameEditChange();
    void ButtonOKClick();
    void ButtonCancelClick();

    std::int32_t TestGroupID = -1;
    std::int32_t ImportedTestID = -1;
};
