#include "app/Startup.h"

#include <QPointer>

#include <exception>
#include <memory>

#include "app/HelpViewerForm.h"
#include "app/HtmlHelpBridge.h"
#include "app/MainForm.h"
#include "app/MenuImages.h"
#include "app/SplashForm.h"
#include "app/UpdateCheck.h"
#include "exchange/ConverterBinding.h"
#include "lang/DlgLangConverter.h"
#include "lang/HelpKey.h"
#include "lang/Progress.h"
#include "lang/ThreadProgressBar.h"
#include "lang/VersionInformation.h"
#include "platform/FormatSettings.h"
#include "platform/HtmlHelp.h"
#include "platform/ProgramFolder.h"
#include "platform/UserInteraction.h"
#include "platform/qt/QtMessagePoster.h"
#include "platform/qt/QtUserInteraction.h"
#include "runner/FormReporter.h"
#include "store/StoreServices.h"

namespace {

// The store's progress is the progress window of the language layer.
class TStoreProgress : public IStoreProgress {
public:
    explicit TStoreProgress(std::unique_ptr<lang::IProgress> progress) : progress_(std::move(progress)) {}
    void Step() override {
        if (progress_) progress_->Step();
    }

private:
    std::unique_ptr<lang::IProgress> progress_;
};

}  // namespace

bool TOrvelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        lang::BeforeHelpDelivery(receiver, *event);
        if (!lang::IsHelpKey(*event)) return QApplication::notify(receiver, event);
        // The receiver may go while the key is handled.
        const QPointer<QObject> alive(receiver);
        const bool done = QApplication::notify(receiver, event);
        return (alive && lang::AnswerUnansweredHelpKey(alive, *event)) || done;
    } catch (const std::exception& e) {
        platform::ShowError(e.what());
    } catch (...) {
        platform::ShowError("Unknown error");
    }
    return false;
}

void InstallProgramServices() {
    static platform::QtUserInteraction interaction;
    platform::SetUserInteraction(&interaction);
    platform::InstallQtMessagePoster();
    lang::InstallWindowProgress();
    InstallReportSetupDialog();

    TStoreServices& store = StoreServices();
    store.MessageText = [](const std::string& key) { return lang::GetMessageText(key); };
    store.ShowMessageText = [](const std::string& text) { lang::ShowMessageText(text); };
    store.MakeProgress = [](int steps) -> std::unique_ptr<IStoreProgress> {
        return std::make_unique<TStoreProgress>(lang::MakeProgress(steps));
    };
    const TVersionInformation version(platform::ProgramFile());
    store.ProgramProductInfo = [info = TProductInfo{version.ProductName, version.ProductVersion}] { return info; };
}

THintPause& ProgramHintPause() {
    static THintPause pause;
    return pause;
}

int RunProgram(QApplication& app, const std::string& languageFile) {
    return RunProgram(app, languageFile, platform::ProgramFolder());
}

int RunProgram(QApplication& app, const std::string& languageFile, const std::string& libraryFolder) {
    app.setApplicationName("ORVEL");
    platform::SetApplicationTitle("ORVEL");
    // Every window, the test windows' title bars included, shows the program's own picture.
    QApplication::setWindowIcon(ProgramIcon());
    app.installEventFilter(&ProgramHintPause());
    std::unique_ptr<TSplashForm> splash;
    std::unique_ptr<THelpViewerForm> helpViewer;
    std::unique_ptr<THelpBridge> help;
    int status = 1;
    try {
        lang::SetLanguageFileName(languageFile);
        lang::SetMessageTable(std::make_unique<TDlgLangConverter>(lang::LanguageFileName()));
        std::unique_ptr<TConverterBinding> converters;
        try {
            converters = std::make_unique<TConverterBinding>(libraryFolder);
        } catch (const platform::ELibraryError& e) {
            throw Exception(lang::GetMessageText("UPDATEFILE_NO_CONVERTER_LIBRARY") + "\n" + e.what());
        }
        platform::SetHelpFileName("orvel_helper.chm");
        helpViewer = std::make_unique<THelpViewerForm>();
        platform::SetHtmlHelp(helpViewer.get());
        help = std::make_unique<THelpBridge>();
        splash = std::make_unique<TSplashForm>();
        splash->ShowAtOnce();
        auto main = std::make_unique<TMainForm>(platform::FormatSettings::FromLocale());
        main->SetUpdateCheck(std::make_unique<TConverterUpdateCheck>(*converters));
        splash->ShowAtOnce();
        splash->RunProgress();
        splash->hide();
        splash.reset();
        main->showMaximized();
        status = app.exec();
        // The main window goes first: nothing may look a message up after the table is freed.
        main.reset();
    } catch (const std::exception& e) {
        platform::ShowMessage(e.what());
        status = 1;
    }
    splash.reset();
    help.reset();
    platform::SetHtmlHelp(nullptr);
    helpViewer.reset();
    lang::SetMessageTable(nullptr);
    return status;
}
