#include "runner/FormReporter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <type_traits>

#include "lang/Helpers.h"
#include "platform/IniFile.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"

using platform::FromQString;
using platform::ToQString;

const char* const TFormReporter::kFilter = "Text files (*.txt)|*.txt|PDF files (*.pdf)|*.pdf|RTF files (*.rtf)|*.rtf";

namespace {

template <class W>
W* Make(QWidget* parent, const char* name, int left, int top, int width, int height, const char* caption) {
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(left, top, width, height);
    if constexpr (std::is_same_v<W, QGroupBox>) {
        w->setTitle(caption);
    } else if constexpr (!std::is_same_v<W, QLineEdit>) {
        w->setText(caption);
    }
    return w;
}

}  // namespace

TFormReporter::TFormReporter(QWidget* owner) : TLanguageController(owner) {
    setObjectName("FormReporter");
    setWindowTitle("Report Setup");
    platform::SetDialogBorder(*this, QSize(408, 182));
    platform::CentreOnDesktop(*this);
    setFont(QFont("MS Sans Serif"));

    GroupBoxReportType = Make<QGroupBox>(this, "GroupBoxReportType", 8, 8, 393, 57, "Report type");
    RadioButtonIsText = Make<QRadioButton>(GroupBoxReportType, "RadioButtonIsText", 16, 24, 65, 17, "Text");
    RadioButtonIsHTML = Make<QRadioButton>(GroupBoxReportType, "RadioButtonIsHTML", 100, 24, 65, 17, "HTML");
    RadioButtonIsRTF = Make<QRadioButton>(GroupBoxReportType, "RadioButtonIsRTF", 204, 24, 65, 17, "RTF");
    RadioButtonIsPDF = Make<QRadioButton>(GroupBoxReportType, "RadioButtonIsPDF", 296, 24, 65, 17, "PDF");
    LabelReportFileName = Make<QLabel>(this, "LabelReportFileName", 8, 72, 369, 13, "Report file name:");
    EditFileName = Make<QLineEdit>(this, "EditFileName", 8, 88, 301, 21, "");
    LabelReportFileName->setBuddy(EditFileName);
    // The browse button carries a caption as well as its picture, for its Alt letter.
    BitBtnFileName = Make<QPushButton>(this, "BitBtnFileName", 312, 86, 89, 25, "");
    CheckBoxShow = Make<QCheckBox>(this, "CheckBoxShow", 8, 116, 377, 17, "Open in default program");
    ButtonCreate = Make<QPushButton>(this, "ButtonCreate", 132, 144, 75, 25, "Create");
    ButtonCancel = Make<QPushButton>(this, "ButtonCancel", 212, 144, 75, 25, "Cancel");
    ApplyLanguage();

    RadioButtonIsText->setChecked(true);
    RadioButtonIsHTML->setEnabled(false);
    RadioButtonIsRTF->setEnabled(false);
    RadioButtonIsPDF->setEnabled(false);
    EditFileName->setMaxLength(255);
    CheckBoxShow->setChecked(true);
    BitBtnFileName->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    // Return presses Create, the default button, unless the focus is on another button: that one
    // is pressed (lang::ReturnPressesFocusedButton).
    for (QPushButton* b : {ButtonCreate, ButtonCancel, BitBtnFileName}) b->setAutoDefault(false);
    ButtonCreate->setDefault(true);
    // The person types the file name first.
    EditFileName->setFocus(Qt::OtherFocusReason);

    connect(EditFileName, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    connect(ButtonCreate, &QPushButton::clicked, this, [this] { ButtonCreateClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    connect(BitBtnFileName, &QPushButton::clicked, this, [this] { BitBtnFileNameClick(); });
    for (QRadioButton* r : {RadioButtonIsText, RadioButtonIsHTML, RadioButtonIsRTF, RadioButtonIsPDF})
        connect(r, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
    UpdateButtons();
}

void TFormReporter::UpdateButtons() {
    ButtonCreate->setEnabled(!platform::TrimBlanks(FromQString(EditFileName->text())).empty());
}

void TFormReporter::ButtonCreateClick() {
    DialogResult = 1;
    done(QDialog::Accepted);
}

void TFormReporter::ButtonCancelClick() {
    DialogResult = 2;
    done(QDialog::Rejected);
}

void TFormReporter::BitBtnFileNameClick() {
    platform::TFileDialogRequest r;
    r.Kind = platform::TFileDialogRequest::TKind::Save;
    r.Filter = kFilter;
    r.FileName = std::string(platform::TrimBlanks(FromQString(EditFileName->text())));
    r.OverwritePrompt = true;
    // A report is mostly written to a new file.
    r.FileMustExist = false;
    r.Parent = this;
    if (const auto chosen = platform::RunFileDialog(r)) EditFileName->setText(ToQString(*chosen));
}

void TFormReporter::RadioButtonClick() {
    const std::string name(platform::TrimBlanks(FromQString(EditFileName->text())));
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return;
    // The part before the first occurrence of the extension stays.
    const std::string ext = name.substr(dot);
    const std::string stem = CopyRange(name, 1, static_cast<int>(name.find(ext)));
    if (RadioButtonIsText->isChecked()) EditFileName->setText(ToQString(stem + ".txt"));
}

std::uint8_t TFormReporterSetup::Execute(TReportSetupValues& values) {
    TFormReporter dialog;
    dialog.RadioButtonIsText->setChecked(true);
    dialog.CheckBoxShow->setChecked(values.OpenAfter);
    dialog.EditFileName->setText(ToQString(values.FileName));
    platform::ExecModal(dialog);
    values.FileName = FromQString(dialog.EditFileName->text());
    values.OpenAfter = dialog.CheckBoxShow->isChecked();
    return dialog.DialogResult;
}

void InstallReportSetupDialog() {
    ReportServices().MakeSetupDialog = [] { return std::make_unique<TFormReporterSetup>(); };
}
