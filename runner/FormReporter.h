#pragma once
#include <QDialog>

#include <cstdint>

#include "lang/LanguageController.h"
#include "runner/ReportServices.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The report setup dialog: the report type (only Text can be chosen), the file name with a
// browse button, and whether to open the file once it is written.
class TFormReporter : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    explicit TFormReporter(QWidget* owner = nullptr);

    // 0 at creation and when closed by the close box, 1 after Create, 2 after Cancel.
    std::uint8_t DialogResult = 0;

    QGroupBox* GroupBoxReportType;
    QRadioButton* RadioButtonIsText;
    QRadioButton* RadioButtonIsHTML;
    QRadioButton* RadioButtonIsRTF;
    QRadioButton* RadioButtonIsPDF;
    QLabel* LabelReportFileName;
    QLineEdit* EditFileName;
    QPushButton* BitBtnFileName;
    QCheckBox* CheckBoxShow;
    QPushButton* ButtonCreate;
    QPushButton* ButtonCancel;

    // Create is available exactly while the file name is not blank.
    void UpdateButtons();
    void ButtonCreateClick();
    void ButtonCancelClick();
    // Browses for the file to write: a new name, or an existing file to overwrite (asked first).
    void BitBtnFileNameClick();
    // Gives the file name the extension of the chosen type.
    void RadioButtonClick();

    // The filter of the browse dialog.
    static const char* const kFilter;
};

// Runs TFormReporter for the reporter; the windows install it at start-up.
class TFormReporterSetup : public IReportSetupDialog {
public:
    std::uint8_t Execute(TReportSetupValues& values) override;
};
void InstallReportSetupDialog();
