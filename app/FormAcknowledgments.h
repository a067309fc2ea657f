#pragma once
#include <QDialog>

#include "help/context.h"
#include "lang/LanguageController.h"

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

// Thanks to the people and projects whose work the program is built on; shown from the about box.
class TFormAcknowledgments : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    static constexpr int kHelpContext = IDH_ABOUT;
    static constexpr const char* kThanks =
        "Orvel is built with the work of others, and we thank them:\n"
        "\n"
        "- The Qt Project, for the Qt toolkit that draws every window of the program.\n"
        "- The authors of GoogleTest, which tests the program from its store to its windows.\n"
        "- Jed Wing and the authors of CHMLIB, which read the help file.\n"
        "- The Free Pascal team, whose chmcmd compiles the help file.\n"
        "- The GNU and LLVM projects, for the compilers and the sanitizers that keep the program sound.\n"
        "- The Debian project, for the system the program is built and tested on.\n"
        "- The psychologists and teachers who tried the early versions and told us what they needed.\n";

    explicit TFormAcknowledgments(QWidget* owner);

    int HelpContext = 0;

    QPlainTextEdit* MemoThanks;
    QPushButton* ButtonClose;

    void FormCreate();
    void ButtonCloseClick();

protected:
    // F1 asks for the window's help topic.
    void keyPressEvent(QKeyEvent* event) override;
};
