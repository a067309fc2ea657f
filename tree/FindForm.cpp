#include "tree/FindForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "lang/DlgLangConverter.h"
#include "lang/HelpHook.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"
#include "tree/NodeSearch.h"
#include "platform/qt/ModalDialogs.h"

namespace {

struct TTypeItem {
    const char* Key;
    std::uint8_t Code;
};

// The combo's items: the order of the list differs from the order of the codes.
constexpr TTypeItem kTypeItems[TFindForm::kTypeCount] = {
    {lang::MessageKey("OBJECTSTREE_FIND_ANY_NAME"), fotAnyObject},
    {lang::MessageKey("OBJECTSTREE_TESTGROUP_TITLE"), fotTestGroup},
    {lang::MessageKey("OBJECTSTREE_TEST_TITLE"), fotTest},
    {lang::MessageKey("OBJECTSTREE_SCALE_TITLE"), fotScale},
    {lang::MessageKey("OBJECTSTREE_INTERPRETATION_TITLE"), fotInterpretation},
    {lang::MessageKey("OBJECTSTREE_STIMUL_TITLE"), fotQuestion},
    {lang::MessageKey("OBJECTSTREE_REACTION_TITLE"), fotAnswer},
    {lang::MessageKey("OBJECTSTREE_WEIGHT_TITLE"), fotWeight},
};

template <class W>
W* Named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

}  // namespace

std::uint8_t TFindForm::TypeCodeAt(int index) {
    return index >= 0 && index < kTypeCount ? kTypeItems[index].Code : std::uint8_t{fotAnyObject};
}

int TFindForm::TypeIndexOf(std::uint8_t code) {
    for (int i = 0; i < kTypeCount; ++i)
        if (kTypeItems[i].Code == code) return i;
    return -1;
}

TFindForm::TFindForm(QWidget* owner) : TLanguageController<QDialog>(owner) {
    setObjectName("FindForm");
    setWindowTitle(QStringLiteral("Find first"));
    // Windows opened from this one that have no topic of their own show its topic.
    setProperty("HelpContext", kHelpContext);

    ObjectLabel = Named(new QLabel(QStringLiteral("Find:"), this), "ObjectLabel");
    ObjectEdit = Named(new QLineEdit(this), "ObjectEdit");
    ObjectTypeLabel = Named(new QLabel(QStringLiteral("Type:"), this), "ObjectTypeLabel");
    ObjectTypeComboBox = Named(new QComboBox(this), "ObjectTypeComboBox");
    CaseSensCheckBox = Named(new QCheckBox(QStringLiteral("Case sensitive"), this), "CaseSensCheckBox");
    FullStringCheckBox = Named(new QCheckBox(QStringLiteral("Exactly node title"), this), "FullStringCheckBox");
    FindButton = Named(new QPushButton(QStringLiteral("Find"), this), "FindButton");
    CloseButton = Named(new QPushButton(QStringLiteral("Close"), this), "CloseButton");
    ObjectLabel->setBuddy(ObjectEdit);
    ObjectTypeLabel->setBuddy(ObjectTypeComboBox);
    // Enter and Escape are the window's own (FormKeyDown), never the dialog's default button.
    FindButton->setAutoDefault(false);
    CloseButton->setAutoDefault(false);

    auto* root = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    root->addLayout(fields);
    fields->addWidget(ObjectLabel, 0, 0);
    fields->addWidget(ObjectEdit, 0, 1);
    fields->addWidget(ObjectTypeLabel, 1, 0);
    fields->addWidget(ObjectTypeComboBox, 1, 1);
    fields->addWidget(CaseSensCheckBox, 2, 1);
    fields->addWidget(FullStringCheckBox, 3, 1);
    root->addStretch(1);
    auto* buttons = new QHBoxLayout;
    root->addLayout(buttons);
    buttons->addStretch(1);
    buttons->addWidget(FindButton);
    buttons->addWidget(CloseButton);

    connect(ObjectEdit, &QLineEdit::textChanged, this, [this] { UpdateFindButton(); });
    connect(ObjectTypeComboBox, &QComboBox::currentIndexChanged, this, [this] { ObjectTypeComboBoxChange(); });
    connect(FindButton, &QPushButton::clicked, this, [this] { FindButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
    for (QWidget* w : {static_cast<QWidget*>(ObjectEdit), static_cast<QWidget*>(ObjectTypeComboBox),
                       static_cast<QWidget*>(CaseSensCheckBox), static_cast<QWidget*>(FullStringCheckBox)})
        w->installEventFilter(this);

    ApplyLanguage();
    Confirmed = false;
    SearchFlags = 0;
    SearchType = fotAnyObject;
    {
        const QSignalBlocker blocker(ObjectTypeComboBox);
        ObjectTypeComboBox->clear();
        for (const TTypeItem& item : kTypeItems)
            ObjectTypeComboBox->addItem(platform::ToQString(lang::GetMessageText(item.Key)));
        ObjectTypeComboBox->setCurrentIndex(0);
    }
    UpdateFindButton();
    // A fixed dialog of the design's client size, larger only when the texts need it.
    platform::SetDialogBorder(*this, QSize(376, 186).expandedTo(minimumSizeHint()));
    platform::CentreOnDesktop(*this);
}

void TFindForm::SetSearch(const std::string& text, std::uint8_t flags, std::uint8_t type) {
    ObjectEdit->setText(platform::ToQString(platform::TrimBlanks(text)));
    SearchFlags = flags;
    if (flags & sfCaseSensitive) CaseSensCheckBox->setChecked(true);
    if (flags & sfWholeTitle) FullStringCheckBox->setChecked(true);
    SearchType = type;
    if (const int index = TypeIndexOf(type); index >= 0) {
        const QSignalBlocker blocker(ObjectTypeComboBox);
        ObjectTypeComboBox->setCurrentIndex(index);
    }
}

std::string TFindForm::SearchText() const {
    return std::string(platform::TrimBlanks(platform::FromQString(ObjectEdit->text())));
}

void TFindForm::UpdateFindButton() { FindButton->setEnabled(!SearchText().empty()); }

void TFindForm::ObjectTypeComboBoxChange() { SearchType = TypeCodeAt(ObjectTypeComboBox->currentIndex()); }

void TFindForm::FindButtonClick() {
    Confirmed = true;
    SearchFlags = static_cast<std::uint8_t>((SearchFlags & ~(sfCaseSensitive | sfWholeTitle)) |
                                            (CaseSensCheckBox->isChecked() ? sfCaseSensitive : 0) |
                                            (FullStringCheckBox->isChecked() ? sfWholeTitle : 0));
    done(QDialog::Accepted);
}

void TFindForm::CloseButtonClick() { done(QDialog::Rejected); }

bool TFindForm::FormKeyDown(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (FindButton->isEnabled()) FindButton->click();
            return true;
        case Qt::Key_Escape: CloseButton->click(); return true;
        case Qt::Key_F1: lang::AskForHelp(kHelpContext); return true;
        default: return false;
    }
}

bool TFindForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            if (FormKeyDown(key->key())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFindForm::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) &&
        FormKeyDown(event->key()))
        return;
    QDialog::keyPressEvent(event);
}
