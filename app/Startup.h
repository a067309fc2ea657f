#pragma once
#include <QApplication>

#include <string>

#include "app/HintPause.h"

// The program's application object: an error that escapes an event handler is shown in the
// default error box instead of crossing the event loop, and the program goes on.
class TOrvelApplication : public QApplication {
    Q_OBJECT
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

// What the program's parts need of the windowed program, installed once at start-up: the
// message boxes, the queued delivery of window messages, the progress window, the report setup
// dialog, and the store's services (message texts, message box, progress, the product and
// version of the running program).
void InstallProgramServices();

// The start-up block, once the services are installed: the message table from the language
// file, the converter libraries from libraryFolder (the program's own folder), the splash window,
// the main window, the message loop; then the shut-down. A failure before the loop runs (a
// converter library or its export missing among them) is shown in the message box and ends the
// program with status 1.
int RunProgram(QApplication& app, const std::string& languageFile, const std::string& libraryFolder);
int RunProgram(QApplication& app, const std::string& languageFile);

// The hint hide pause of the running program (RunProgram installs it).
THintPause& ProgramHintPause();
