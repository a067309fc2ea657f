#include "app/SplashForm.h"

#include <algorithm>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QPalette>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "app/ProductLogo.h"
#include "lang/DlgLangConverter.h"
#include "lang/VersionInformation.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtText.h"

namespace {

QLabel* AddLabel(QWidget* parent, QVBoxLayout* layout, const char* name, int pointSize, bool bold, bool italic) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    layout->addWidget(label);
    return label;
}

}  // namespace

TSplashForm::TSplashForm() : TLanguageController(nullptr) {
    setObjectName("SplashForm");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(519, 326);

    PanelSplash = new QFrame(this);
    PanelSplash->setObjectName("PanelSplash");
    PanelSplash->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelSplash->setGeometry(rect());
    QPalette palette = PanelSplash->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    PanelSplash->setPalette(palette);
    auto* layout = new QVBoxLayout(PanelSplash);
    layout->setContentsMargins(24, 28, 24, 20);
    LabelProductName = AddLabel(PanelSplash, layout, "LabelProductName", 28, true, false);
    LabelVersion = AddLabel(PanelSplash, layout, "LabelVersion", 11, false, true);
    layout->addStretch(1);
    LabelCopyright = AddLabel(PanelSplash, layout, "LabelCopyright", 9, false, false);
    LabelAllRights = AddLabel(PanelSplash, layout, "LabelAllRights", 9, false, false);
    LabelPhrase = AddLabel(PanelSplash, layout, "LabelPhrase", 10, false, true);
    LabelHTTPReference = AddLabel(PanelSplash, layout, "LabelHTTPReference", 9, false, false);
    ProgressBarLoading = new QProgressBar(PanelSplash);
    ProgressBarLoading->setObjectName("ProgressBarLoading");
    ProgressBarLoading->setFixedSize(361, 9);
    ProgressBarLoading->setTextVisible(false);
    ProgressBarLoading->setRange(0, 2500);
    ProgressBarLoading->setValue(0);
    layout->addSpacing(8);
    layout->addWidget(ProgressBarLoading, 0, Qt::AlignHCenter);
    ApplyLanguage();

    const TVersionInformation version(platform::ProgramFile());
    LabelProductName->setText(platform::ToQString(version.ProductName));
    LabelVersion->setText(platform::ToQString(lang::GetMessageText("ABOUT_VERSION") + ": " + version.FileVersion));
    LabelCopyright->setText(platform::ToQString(version.LegalCopyright));
    LabelHTTPReference->setText(kMakerWebAddress);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplashForm::ShowAtOnce() {
    show();
    raise();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
}

int TSplashForm::DrawnWidth(int value) const {
    const int span = ProgressBarLoading->maximum() - ProgressBarLoading->minimum();
    if (span <= 0) return 0;
    const long long done = value - ProgressBarLoading->minimum();
    return static_cast<int>(done * ProgressBarLoading->width() / span);
}

void TSplashForm::RunProgress() {
    // Every step is taken, but only a step that changes the bar's drawn pixels is painted, and
    // only the bar: a repaint of the whole window at each of the 2,501 steps costs seconds on X.
    const int steps = ProgressBarLoading->maximum() - ProgressBarLoading->minimum() + 1;
    int drawn = DrawnWidth(ProgressBarLoading->value());
    for (int i = 0; i < steps; ++i) {
        ProgressBarLoading->setValue(std::min(ProgressBarLoading->value() + 1, ProgressBarLoading->maximum()));
        const int now = DrawnWidth(ProgressBarLoading->value());
        if (now != drawn) {
            drawn = now;
            ProgressBarLoading->repaint();
        }
    }
}

void TSplashForm::paintEvent(QPaintEvent*) {
    // The background picture: a calm gradient with the logo in its upper right corner.
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(32, 74, 135));
    g.setColorAt(1, QColor(16, 36, 70));
    p.fillRect(rect(), g);
    PaintProductLogo(p, QRectF(width() - 110, 30, 80, 80), QColor(255, 255, 255, 90));
}
