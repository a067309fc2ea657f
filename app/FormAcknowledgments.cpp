#include "app/FormAcknowledgments.h"
#include "platform/qt/ModalDialogs.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "lang/HelpKey.h"

TFormAcknowledgments::TFormAcknowledgments(QWidget* owner) : TLanguageController(owner) {
    setObjectName("FormAcknowledgments");
    platform::SetDialogBorder(*this, QSize(433, 288));
    platform::CentreOnDesktop(*this);
    MemoThanks = new QPlainTextEdit(this);
    MemoThanks->setObjectName("MemoThanks");
    MemoThanks->setGeometry(8, 8, 417, 236);
    MemoThanks->setReadOnly(true);
    MemoThanks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ButtonClose = new QPushButton(this);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setGeometry(345, 252, 80, 28);
    ButtonClose->setDefault(true);
    ApplyLanguage();
    FormCreate();
    connect(ButtonClose, &QPushButton::clicked, this, &TFormAcknowledgments::ButtonCloseClick);
}

void TFormAcknowledgments::FormCreate() {
    HelpContext = kHelpContext;
    setProperty("HelpContext", HelpContext);
    MemoThanks->setPlainText(kThanks);
}

void TFormAcknowledgments::ButtonCloseClick() { accept(); }

void TFormAcknowledgments::keyPressEvent(QKeyEvent* event) {
    if (!lang::AnswerHelpKey(*event, HelpContext)) TLanguageController::keyPressEvent(event);
}
