#include "exchange/FormImportTest.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "controls/FilenameEdit.h"
#include "exchange/ExchangeDialogParts.h"
#include "exchange/ImportTest.h"
#include "lang/DlgLangConverter.h"
#include "platform/UserInteraction.h"

TFormImportTest::TFormImportTest(QWidget* owner) : TLanguageController<QDialog>(owner) {
    setObjectName("FormImportTest");
    setWindowTitle(QStringLiteral("Import Test"));
    setSizeGripEnabled(true);

    ComboBoxTestGroups = new QComboBox(this);
    ComboBoxTestGroups->setObjectName("ComboBoxTestGroups");
    LabelTestGroups = new QLabel(QStringLiteral("Test Group:"), this);
    LabelTestGroups->setObjectName("LabelTestGroups");
    LabelTestGroups->setBuddy(ComboBoxTestGroups);
    FilenameEdit = new TFilenameEdit(this);
    FilenameEdit->setObjectName("FilenameEdit");
    LabelFileName = new QLabel(QStringLiteral("File Name:"), this);
    LabelFileName->setObjectName("LabelFileName");
    LabelFileName->setBuddy(FilenameEdit);
    ButtonOK = new QPushButton(QStringLiteral("Yes"), this);
    ButtonOK->setObjectName("ButtonOK");
    ButtonOK->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName("ButtonCancel");

    auto* root = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    root->addLayout(grid);
    grid->addWidget(LabelTestGroups, 0, 0);
    grid->addWidget(ComboBoxTestGroups, 0, 1);
    grid->addWidget(LabelFileName, 1, 0);
    grid->addWidget(FilenameEdit, 1, 1);
    grid->setColumnStretch(1, 1);
    root->addStretch(1);
    auto* buttons = new QHBoxLayout;
    root->addLayout(buttons);
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    connect(FilenameEdit, &QLineEdit::textChanged, this, [this] { FilenameEditChange(); });
    connect(ComboBoxTestGroups, &QComboBox::currentIndexChanged, this, [this] { UpdateButtons(); });
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });

    ApplyLanguage();

    TestGroupID = -1;
    ImportedTestID = -1;
    FilenameEdit->SetDialogKind(dkOpen);
    TOpenDialog& dialog = *FilenameEdit->FileDialog();
    dialog.Title = lang::GetMessageText("IMPEXP_TESTIMPORT_DIALOG_TITLE");
    dialog.Filter = lang::GetMessageText("IMPEXP_FILTER_KVT") + " (*.kvt)|*.kvt";
    dialog.HelpContext = 0;
    dialog.Options = {ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing};
    dialog.OptionsEx.clear();
    try {
        exchangedialog::FillTestGroups(*ComboBoxTestGroups);
    } catch (const std::exception& e) {
        ComboBoxTestGroups->clear();
        platform::ShowMessage(e.what());
    }
    UpdateButtons();
    resize(617, 200);
}

TFormImportTest::~TFormImportTest() = default;

void TFormImportTest::SelectTestGroup(std::int32_t groupID) {
    const int index = groupID == -1 ? -1 : exchangedialog::IndexOfObject(*ComboBoxTestGroups, groupID);
    if (index >= 0) ComboBoxTestGroups->setCurrentIndex(index);
    UpdateButtons();
}

void TFormImportTest::UpdateButtons() {
    ButtonOK->setEnabled(!exchangedialog::EditedFileName(*FilenameEdit).empty() &&
                         exchangedialog::SelectedID(*ComboBoxTestGroups) != -1);
}

void TFormImportTest::FilenameEditChange() { UpdateButtons(); }

void TFormImportTest::ButtonOKClick() {
    UpdateButtons();
    if (!ButtonOK->isEnabled()) return;
    bool imported = false;
    try {
        TestGroupID = exchangedialog::SelectedID(*ComboBoxTestGroups);
        // The whole name: a path is not cut to 255 bytes, which could name another file, and
        // blanks at its ends belong to it.
        TImportKVTTest importer(TestGroupID, exchangedialog::UnquotedFileName(*FilenameEdit));
        imported = importer.Import();
        if (imported) ImportedTestID = importer.GetNewTestID();
    } catch (const std::exception&) {
        imported = false;
    }
    if (!imported) {
        TestGroupID = -1;
        ImportedTestID = -1;
        platform::ShowMessage(lang::GetMessageText("IMPEXP_TESTIMPORT_ERROR"));
    }
    accept();
}

void TFormImportTest::ButtonCancelClick() { reject(); }
