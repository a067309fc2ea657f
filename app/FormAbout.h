#pragma once
#include <QDialog>

#include <memory>
#include <string>

#include "app/Grlink.h"
#include "help/context.h"
#include "lang/LanguageController.h"
#include "lang/VersionInformation.h"

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The base of the about box: the legal notice and the version block of the program file,
// read when the window is made.
class TFormAboutCore : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    static constexpr const char* kLegalNotice =
        "This program is protected by copyright law and international treaties. "
        "Unauthorised reproduction or distribution of this program, or of any part of it, is prohibited. "
        "Doing so may result in severe civil and criminal penalties. "
        "Offenders will be prosecuted to the maximum extent possible under the law.";

    // programFile: whose version block the window shows, the running program's by default.
    TFormAboutCore(QWidget* owner, const std::string& programFile);

    const std::string LegalNotice = kLegalNotice;
    const std::unique_ptr<TVersionInformation> VersionInfo;
};

// Help > About: the program's name, version and copyright from its version block, the links to
// the maker's home page and to the support, the legal notice and the acknowledgments.
class TFormAbout : public TFormAboutCore {
    Q_OBJECT
public:
    static constexpr int kHelpContext = IDH_ABOUT;

    explicit TFormAbout(QWidget* owner);
    TFormAbout(QWidget* owner, const std::string& programFile);

    int HelpContext = kHelpContext;

    QLabel* ImageLogo;
    QLabel* ImageBand;
    QLabel* LabelProgramName;
    QLabel* LabelVersion;
    QLabel* LabelVersionNumber;
    QLabel* LabelCopyright;
    TGrlink* GrlinkHomePage;
    TGrlink* GrlinkSupport;
    QPlainTextEdit* MemoAdditionalInfo;
    QPushButton* ButtonClose;
    QToolButton* BitBtnAcknowledgments;

    void ButtonCloseClick();
    // Shows the acknowledgments window modally.
    void BitBtnAcknowledgmentsClick();

protected:
    // F1 asks for the window's help topic.
    void keyPressEvent(QKeyEvent* event) override;
};
