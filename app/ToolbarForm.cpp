#include "app/ToolbarForm.h"

#include <QListWidget>
#include <QPushButton>

#include "lang/HelpKey.h"
#include "platform/CodePage.h"
#include "platform/WindowMessages.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ModalDialogs.h"

TToolbarForm::TToolbarForm(QWidget* owner, platform::WindowHandle mainHandle, bool visibleFile, bool visibleEdit,
                           bool visibleView, bool visibleObject, bool visibleHelp, const std::string& captionFile,
                           const std::string& captionEdit, const std::string& captionView,
                           const std::string& captionObject, const std::string& captionHelp)
    : TToolbarForm(owner, mainHandle, {visibleFile, visibleEdit, visibleView, visibleObject, visibleHelp},
                   {captionFile, captionEdit, captionView, captionObject, captionHelp}) {}

TToolbarForm::TToolbarForm(QWidget* owner, platform::WindowHandle mainHandle, const std::array<bool, tbCount>& visible,
                           const std::array<std::string, tbCount>& captions)
    : TLanguageController(owner), MainHandle(mainHandle) {
    setObjectName("ToolbarForm");
    setWindowTitle("Setup Toolbar");
    platform::SetDialogBorder(*this, QSize(353, 211));
    platform::CentreOnDesktop(*this);

    ToolbarCheckListBox = new QListWidget(this);
    ToolbarCheckListBox->setObjectName("ToolbarCheckListBox");
    ToolbarCheckListBox->setGeometry(0, 0, 353, 185);
    for (const char* design : {"File", "Edit", "View", "Object", "Help"}) {
        auto* item = new QListWidgetItem(design, ToolbarCheckListBox);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    CloseBitBtn = new QPushButton("&Close", this);
    CloseBitBtn->setObjectName("CloseBitBtn");
    CloseBitBtn->setGeometry(353 - 8 - 90, 185 + 1, 90, 24);
    ApplyLanguage();

    setProperty("HelpContext", HelpContext);
    Visible = visible;
    for (int i = 0; i < tbCount; ++i)
        ToolbarCheckListBox->item(i)->setText(
            platform::ToQString(platform::CutShortText(captions[static_cast<std::size_t>(i)])));

    connect(ToolbarCheckListBox, &QListWidget::itemChanged, this, [this] {
        if (!showing_) ToolbarCheckListBoxClickCheck();
    });
    connect(CloseBitBtn, &QPushButton::clicked, this, &TToolbarForm::CloseBitBtnClick);
}

void TToolbarForm::showEvent(QShowEvent* event) {
    FormShow();
    TLanguageController::showEvent(event);
}

void TToolbarForm::keyPressEvent(QKeyEvent* event) {
    if (!lang::AnswerHelpKey(*event, HelpContext)) TLanguageController::keyPressEvent(event);
}

void TToolbarForm::FormShow() {
    showing_ = true;
    for (int i = 0; i < tbCount; ++i)
        ToolbarCheckListBox->item(i)->setCheckState(Visible[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    showing_ = false;
}

void TToolbarForm::ToolbarCheckListBoxClickCheck() {
    for (int i = 0; i < tbCount; ++i)
        Visible[static_cast<std::size_t>(i)] = ToolbarCheckListBox->item(i)->checkState() == Qt::Checked;
    platform::MessageHub().Send(MainHandle, wm::WM_TOOLBARSCHANGED, 0, 0);
}

void TToolbarForm::CloseBitBtnClick() { accept(); }
