#include "exchange/FormExportTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <filesystem>
#include <system_error>

#include "controls/ControlUtilities.h"
#include "controls/FilenameEdit.h"
#include "exchange/ExchangeDialogParts.h"
#include "exchange/ExportFormats.h"
#include "lang/DlgLangConverter.h"
#include "lang/Helpers.h"
#include "platform/FileQueries.h"
#include "platform/IniFile.h"
#include "platform/UserInteraction.h"
#include "platform/qt/QtText.h"
#include "store/FileAccess.h"
#include "store/Records.h"

using exchangedialog::SelectedID;

namespace {

template <typename W>
W* Named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption, QWidget* buddy) {
    auto* l = Named<QLabel>(parent, name);
    l->setText(QString::fromUtf8(caption));
    l->setBuddy(buddy);
    return l;
}

// The four file types of the browse dialog, in the order of ExportFormats().
std::string ExportFilter() {
    std::string filter;
    for (const TExportFormat& f : ExportFormats()) {
        const std::string ext = f.Ext;
        if (!filter.empty()) filter += "|";
        filter += lang::GetMessageText(f.FilterKey) + " (*." + ext + ")|*." + ext;
    }
    return filter;
}

}  // namespace

TFormExportTest::TFormExportTest(QWidget* owner) : TLanguageController<QDialog>(owner) {
    setObjectName("FormExportTest");
    setWindowTitle(QStringLiteral("Export Test"));
    setSizeGripEnabled(true);

    ComboBoxTestGroup = Named<QComboBox>(this, "ComboBoxTestGroup");
    LabelTestGroup = Label(this, "LabelTestGroup", "Test Group:", ComboBoxTestGroup);
    ListBoxTests = Named<QListWidget>(this, "ListBoxTests");
    ListBoxTests->setSelectionMode(QAbstractItemView::SingleSelection);
    LabelTests = Label(this, "LabelTests", "Tests:", ListBoxTests);
    EditAuthorName = Named<QLineEdit>(this, "EditAuthorName");
    LabelAuthorName = Label(this, "LabelAuthorName", "Author Name:", EditAuthorName);
    EditAuthorEmail = Named<QLineEdit>(this, "EditAuthorEmail");
    LabelAuthorEmail = Label(this, "LabelAuthorEmail", "Author Email:", EditAuthorEmail);
    EditCopyright = Named<QLineEdit>(this, "EditCopyright");
    LabelCopyright = Label(this, "LabelCopyright", "Copyright:", EditCopyright);
    for (QLineEdit* e : {EditAuthorName, EditAuthorEmail, EditCopyright}) e->setMaxLength(255);
    CheckBoxPrivate = Named<QCheckBox>(this, "CheckBoxPrivate");
    CheckBoxPrivate->setText(QStringLiteral("Private"));
    FilenameEdit = Named<TFilenameEdit>(this, "FilenameEdit");
    LabelFileNameEdit = Label(this, "LabelFileNameEdit", "File Name:", FilenameEdit);
    ButtonOK = Named<QPushButton>(this, "ButtonOK");
    ButtonOK->setText(QStringLiteral("Confirm"));
    ButtonOK->setDefault(true);
    ButtonCancel = Named<QPushButton>(this, "ButtonCancel");
    ButtonCancel->setText(QStringLiteral("Cancel"));

    auto* root = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    root->addLayout(grid, 1);
    grid->addWidget(LabelTestGroup, 0, 0);
    grid->addWidget(ComboBoxTestGroup, 0, 1);
    grid->addWidget(LabelTests, 1, 0, Qt::AlignTop);
    grid->addWidget(ListBoxTests, 1, 1);
    grid->setRowStretch(1, 1);
    grid->addWidget(LabelAuthorName, 2, 0);
    grid->addWidget(EditAuthorName, 2, 1);
    grid->addWidget(LabelAuthorEmail, 3, 0);
    grid->addWidget(EditAuthorEmail, 3, 1);
    grid->addWidget(LabelCopyright, 4, 0);
    grid->addWidget(EditCopyright, 4, 1);
    grid->addWidget(CheckBoxPrivate, 5, 1);
    grid->addWidget(LabelFileNameEdit, 6, 0);
    grid->addWidget(FilenameEdit, 6, 1);
    auto* buttons = new QHBoxLayout;
    root->addLayout(buttons);
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    // Handlers never let a failure reach the event loop: it is shown.
    const auto guarded = [this](void (TFormExportTest::*handler)()) {
        return [this, handler] {
            try {
                (this->*handler)();
            } catch (const std::exception& e) {
                platform::ShowMessage(e.what());
            }
        };
    };
    connect(ComboBoxTestGroup, &QComboBox::activated, this, guarded(&TFormExportTest::ComboBoxTestGroupChange));
    connect(ListBoxTests, &QListWidget::itemSelectionChanged, this, guarded(&TFormExportTest::ListBoxTestsClick));
    connect(FilenameEdit, &QLineEdit::textChanged, this, guarded(&TFormExportTest::FilenameEditChange));
    connect(ButtonOK, &QPushButton::clicked, this, guarded(&TFormExportTest::ButtonOKClick));
    connect(ButtonCancel, &QPushButton::clicked, this, guarded(&TFormExportTest::ButtonCancelClick));
    FilenameEdit->OnAfterDialog = [this](TFileDirEdit&, std::string& name, bool& action) {
        if (action) browsedName_ = std::string(platform::TrimBlanks(name));
    };

    ApplyLanguage();

    ButtonOK->setEnabled(false);
    FilenameEdit->SetDialogKind(dkSave);
    TOpenDialog& dialog = *FilenameEdit->FileDialog();
    dialog.Title = lang::GetMessageText("IMPEXP_TESTEXPORT_DIALOG_TITLE");
    dialog.Filter = ExportFilter();
    dialog.HelpContext = 0;
    dialog.Options = {ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing};
    dialog.OptionsEx.clear();
    try {
        FillTests(exchangedialog::FillTestGroups(*ComboBoxTestGroup));
    } catch (const std::exception& e) {
        platform::ShowMessage(e.what());
    }
    resize(762, 582);
}

TFormExportTest::~TFormExportTest() = default;

void TFormExportTest::SelectTest(std::int32_t groupID, std::int32_t testID) {
    if (groupID == -1 || testID == -1) return;
    const int group = exchangedialog::IndexOfObject(*ComboBoxTestGroup, groupID);
    if (group < 0) return;
    ComboBoxTestGroup->setCurrentIndex(group);
    FillTests(groupID);
    const int test = exchangedialog::IndexOfObject(*ListBoxTests, testID);
    if (test < 0) return;
    ListBoxTests->setCurrentRow(test);
    ShowTestAuthor();
}

void TFormExportTest::FillTests(std::int32_t groupID) {
    const QSignalBlocker quiet(ListBoxTests);
    ListBoxTests->clear();
    try {
        TFileAccess* open = GlobalStore().get();
        if (open) {
            TTypeIntegerSingleList ids;
            TTypeShortStringSingleList names;
            open->ListTests(groupID, &ids, &names);
            for (int i = 0; i < ids.Count(); ++i) {
                if (open->IsTestPrivate(ids.Get(i))) continue;
                auto* item = new QListWidgetItem(platform::ToQString(names.Get(i)), ListBoxTests);
                item->setData(Qt::UserRole, ids.Get(i));
            }
        }
        if (ListBoxTests->count() > 0) ListBoxTests->setCurrentRow(0);
    } catch (const std::exception& e) {
        // What was filled stays.
        platform::ShowMessage(e.what());
    }
    ShowTestAuthor();
    UpdateButtons();
}

void TFormExportTest::ShowTestAuthor() {
    EditAuthorName->clear();
    EditAuthorEmail->clear();
    EditCopyright->clear();
    const std::int32_t id = SelectedID(*ListBoxTests);
    const TFileAccess* open = GlobalStore().get();
    if (id == -1 || !open) return;
    TTest test;
    open->GetTest(id, test);
    EditAuthorName->setText(platform::ToQString(test.AuthorName));
    EditAuthorEmail->setText(platform::ToQString(test.AuthorEmail));
    EditCopyright->setText(platform::ToQString(test.Copyright));
}

void TFormExportTest::UpdateButtons() {
    ButtonOK->setEnabled(!exchangedialog::EditedFileName(*FilenameEdit).empty() && SelectedID(*ListBoxTests) != -1 &&
                         SelectedID(*ComboBoxTestGroup) != -1);
}

int TFormExportTest::FormatIndex() const {
    const int index = FilenameEdit->FileDialog()->FilterIndex;
    return index >= 1 && index <= static_cast<int>(ExportFormats().size()) ? index : 1;
}

TFormExportTest::TTarget TFormExportTest::Target() const {
    const std::string name = exchangedialog::EditedFileName(*FilenameEdit);
    if (!browsedName_.empty() && name == browsedName_) {
        const TExportFormat& format = ExportFormats()[static_cast<std::size_t>(FormatIndex() - 1)];
        return {&format, EnsureFileExt(name, format.Ext)};
    }
    const std::string typed = platform::LowerAscii(FileExtOf(name));
    for (const TExportFormat& format : ExportFormats())
        if (typed == "." + std::string(format.Ext)) return {&format, name};
    const TExportFormat& text = ExportFormats().front();
    return {&text, EnsureFileExt(name, text.Ext)};
}

bool TFormExportTest::MayWrite(const std::string& path) {
    std::string folder = controls::ExtractFilePath(path);
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!folder.empty() && !platform::IsDirectory(folder)) {
        platform::ShowMessage(lang::GetMessageText(lang::MessageKey("IMPEXP_TESTEXPORT_NO_FOLDER")) + "\n" + folder);
        return false;
    }
    if (platform::IsDirectory(path)) {
        platform::ShowMessage(lang::GetMessageText(lang::MessageKey("IMPEXP_TESTEXPORT_IS_FOLDER")) + "\n" + path);
        return false;
    }
    // Anything at the path counts, a link that leads nowhere too: the export would write through it.
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found) return true;
    return platform::AskWarningYesNo(lang::GetMessageText(lang::MessageKey("IMPEXP_TESTEXPORT_REPLACE_FILE")) +
                                     "\n" + path);
}

void TFormExportTest::ComboBoxTestGroupChange() { FillTests(SelectedID(*ComboBoxTestGroup)); }

void TFormExportTest::ListBoxTestsClick() {
    ShowTestAuthor();
    UpdateButtons();
}

void TFormExportTest::FilenameEditChange() { UpdateButtons(); }

void TFormExportTest::ButtonOKClick() {
    UpdateButtons();
    // Nothing to export while an input is missing; the window stays for the user to complete it.
    if (!ButtonOK->isEnabled()) return;
    const TTarget target = Target();
    // A file that cannot be written there, or that the user keeps, leaves the window open with
    // everything entered.
    if (!MayWrite(target.Path)) return;
    const auto cut = [](const QLineEdit* edit) { return CleanShortText(platform::FromQString(edit->text())); };
    // Each export shows its own failures; the window closes either way.
    Exported = target.Format
                   ->Make(target.Path, SelectedID(*ListBoxTests), cut(EditAuthorName), cut(EditAuthorEmail),
                          cut(EditCopyright), CheckBoxPrivate->isChecked())
                   ->Export();
    accept();
}

void TFormExportTest::ButtonCancelClick() { reject(); }
