#include "app/FormAbout.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "app/FormAcknowledgments.h"
#include "app/Grlink.h"
#include "app/LinkAddresses.h"
#include "app/ProductLogo.h"
#include "lang/HelpKey.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// The band under the product texts: the colours of the splash, left to right.
QPixmap Band(const QSize& size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(0, QColor(32, 74, 135));
    g.setColorAt(1, QColor(16, 36, 70, 0));
    painter.fillRect(picture.rect(), g);
    return picture;
}

}  // namespace

TFormAboutCore::TFormAboutCore(QWidget* owner, const std::string& programFile)
    : TLanguageController(owner), VersionInfo(std::make_unique<TVersionInformation>(programFile)) {}

TFormAbout::TFormAbout(QWidget* owner) : TFormAbout(owner, platform::ProgramFile()) {}

TFormAbout::TFormAbout(QWidget* owner, const std::string& programFile) : TFormAboutCore(owner, programFile) {
    setObjectName("FormAbout");
    platform::SetDialogBorder(*this, QSize(592, 364));
    platform::CentreOnDesktop(*this);

    ImageLogo = AddLabel(this, "ImageLogo", {16, 16, 96, 96});
    ImageLogo->setPixmap(ProductLogo(96, QColor(32, 74, 135)));
    LabelProgramName = AddLabel(this, "LabelProgramName", {128, 16, 448, 44});
    QFont bold = LabelProgramName->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    LabelProgramName->setFont(bold);
    LabelProgramName->setWordWrap(true);
    LabelProgramName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelVersion = AddLabel(this, "LabelVersion", {128, 66, 70, 20});
    LabelVersionNumber = AddLabel(this, "LabelVersionNumber", {200, 66, 376, 20});
    LabelCopyright = AddLabel(this, "LabelCopyright", {128, 88, 448, 20});
    GrlinkHomePage = new TGrlink(this);
    GrlinkHomePage->setObjectName("GrlinkHomePage");
    GrlinkHomePage->setGeometry(128, 116, 150, 20);
    GrlinkSupport = new TGrlink(this);
    GrlinkSupport->setObjectName("GrlinkSupport");
    GrlinkSupport->setGeometry(290, 116, 150, 20);
    ImageBand = AddLabel(this, "ImageBand", {16, 146, 560, 4});
    ImageBand->setPixmap(Band(ImageBand->size()));

    MemoAdditionalInfo = new QPlainTextEdit(this);
    MemoAdditionalInfo->setObjectName("MemoAdditionalInfo");
    MemoAdditionalInfo->setGeometry(16, 160, 560, 150);
    MemoAdditionalInfo->setReadOnly(true);
    MemoAdditionalInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    BitBtnAcknowledgments = new QToolButton(this);
    BitBtnAcknowledgments->setObjectName("BitBtnAcknowledgments");
    BitBtnAcknowledgments->setGeometry(16, 322, 32, 30);
    BitBtnAcknowledgments->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    BitBtnAcknowledgments->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ButtonClose = new QPushButton(this);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setGeometry(496, 322, 80, 30);
    ButtonClose->setDefault(true);
    ApplyLanguage();

    setProperty("HelpContext", HelpContext);
    // The program's long name, not its product name.
    LabelProgramName->setText(platform::ToQString(VersionInfo->LegalTradeMarks));
    LabelVersionNumber->setText(platform::ToQString(VersionInfo->FileVersion));
    LabelCopyright->setText(platform::ToQString(VersionInfo->LegalCopyright));
    MemoAdditionalInfo->setPlainText(platform::ToQString(LegalNotice));
    GrlinkHomePage->URL = links::kHomePage;
    GrlinkSupport->URL = std::string("mailto:") + links::kSupportAddress;

    connect(ButtonClose, &QPushButton::clicked, this, &TFormAbout::ButtonCloseClick);
    connect(BitBtnAcknowledgments, &QToolButton::clicked, this, &TFormAbout::BitBtnAcknowledgmentsClick);
}

void TFormAbout::ButtonCloseClick() { accept(); }

void TFormAbout::keyPressEvent(QKeyEvent* event) {
    if (!lang::AnswerHelpKey(*event, HelpContext)) TFormAboutCore::keyPressEvent(event);
}

void TFormAbout::BitBtnAcknowledgmentsClick() {
    TFormAcknowledgments acknowledgments(this);
    platform::ExecModal(acknowledgments);
}
