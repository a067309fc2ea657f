#pragma once
#include <QWidget>

#include "lang/LanguageController.h"

class QFrame;
class QLabel;
class QProgressBar;

// The window shown while the program starts: product, version, copyright and a bar that fills
// from empty to full. Borderless, on top, centred on the screen.
class TSplashForm : public TLanguageController<QWidget> {
    Q_OBJECT
public:
    TSplashForm();

    // The maker's web address shown on the window.
    static constexpr const char* kMakerWebAddress = "www.talmer-group.example";

    QFrame* PanelSplash;
    QLabel* LabelProductName;
    QLabel* LabelVersion;
    QLabel* LabelCopyright;
    QLabel* LabelAllRights;
    QLabel* LabelPhrase;
    QLabel* LabelHTTPReference;
    QProgressBar* ProgressBarLoading;

    // Shows the window and waits, a second at most, until it is on the screen: before the window
    // system has mapped it, whatever is painted is lost.
    void ShowAtOnce();
    // Steps the bar from its minimum to its maximum; each step that changes what the bar shows is
    // on the screen before the next one.
    void RunProgress();
    // How many pixels of the bar are filled at a value.
    int DrawnWidth(int value) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
