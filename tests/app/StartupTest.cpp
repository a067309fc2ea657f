// The program's start-up and shut-down, and the services it installs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QPaintEvent>
#include <QProgressBar>
#include <QRegion>
#include <QTimer>
#include <QElapsedTimer>
#include <QTest>
#include <QWindow>

#include <filesystem>
#include <functional>

#include "app/HelpViewerForm.h"
#include "app/MainForm.h"
#include "app/MenuImages.h"
#include "app/SplashForm.h"
#include "app/Startup.h"
#include "lang/DlgLangConverter.h"
#include "lang/MessageDialog.h"
#include "lang/Progress.h"
#include "lang/VersionInformation.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtMessagePoster.h"
#include "runner/ReportServices.h"
#include "store/FileAccess.h"
#include "tree/ObjectsTree.h"
#include "store/StoreServices.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"

namespace {

template <typename W>
int CountWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<W*>(w)) ++n;
    return n;
}

// Puts back what start-up changes for the whole program.
class RestoreProgramState {
public:
    RestoreProgramState()
        : table_(lang::SetMessageTable(nullptr)), store_(StoreServices()), reports_(ReportServices()) {}
    ~RestoreProgramState() {
        lang::SetLanguageFileName("");
        lang::SetMessageTable(std::move(table_));
        StoreServices() = store_;
        ReportServices() = reports_;
        lang::SetProgressFactory(nullptr);
        platform::MessageHub().SetPoster(nullptr);
        GlobalStore().reset();
    }

private:
    std::unique_ptr<TDlgLangConverter> table_;
    TStoreServices store_;
    TReportServices reports_;
};

}  // namespace

TEST(Startup, ALanguageFileWithoutMessagesEndsTheProgramWithItsText) {
    RestoreProgramState restore;
    RecordingInteraction shown;
    TempDir dir;
    const std::string file = dir.File("language.txt");
    WriteBytes(file, "[MainForm]\nMainForm_cap=Orvel\n");
    EXPECT_NE(RunProgram(*qApp, file), 0);
    ASSERT_EQ(shown.Messages.size(), 1u);
    EXPECT_NE(shown.Messages[0].find("Dialogues"), std::string::npos) << shown.Messages[0];
    EXPECT_EQ(CountWindows<TMainForm>(), 0);
    EXPECT_EQ(CountWindows<TSplashForm>(), 0);
}

TEST(Startup, TheProgramRunsUntilItsMainWindowCloses) {
    RestoreProgramState restore;
    RecordingInteraction shown;
    platform::InstallQtMessagePoster();
    int mainWindows = -1;
    QString title;
    // Once the loop runs, close the main window as a person would.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<TMainForm*>(w); main && main->isVisible()) {
                mainWindows = CountWindows<TMainForm>();
                title = main->windowTitle();
                main->close();
            }
    });
    closer.start(10);
    // Started from another folder, the program still finds the language file beside itself.
    TempDir elsewhere;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.Path());
    const int status = RunProgram(*qApp, lang::LanguageFileName());
    std::filesystem::current_path(before);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(mainWindows, 1);
    EXPECT_EQ(title.toStdString(), "Orvel - questionnaire tests");
    EXPECT_EQ(CountWindows<TMainForm>(), 0);
    EXPECT_EQ(CountWindows<TSplashForm>(), 0);
    EXPECT_TRUE(shown.Messages.empty());
    EXPECT_TRUE(shown.Errors.empty());
    EXPECT_EQ(platform::ApplicationTitle(), "ORVEL");
}

// The help viewer is a window of its own; leaving the program closes it, and the program ends.
TEST(Startup, LeavingWithTheHelpOpenEndsTheProgram) {
    struct Case {
        const char* Name;
        std::function<void(TMainForm&)> Leave;
    };
    const Case cases[] = {
        {"File, Exit (Ctrl+E)", [](TMainForm& main) { QTest::keyClick(main.Tree, Qt::Key_E, Qt::ControlModifier); }},
        {"the window's close box",
         // As the window system asks when the close box is clicked.
         [](TMainForm& main) { main.windowHandle()->close(); }},
    };
    for (const Case& c : cases) {
        RestoreProgramState restore;
        RecordingInteraction shown;
        platform::InstallQtMessagePoster();
        std::string topic = "<none>";
        bool left = false;
        bool stillRunning = false;
        QElapsedTimer sinceLeaving;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            THelpViewerForm* viewer = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* v = qobject_cast<THelpViewerForm*>(w)) viewer = v;
            if (left) {
                // The loop should have ended; if not, the test ends it.
                if (sinceLeaving.elapsed() < 3000) return;
                stillRunning = true;
                for (QWidget* w : QApplication::topLevelWidgets()) w->close();
                return;
            }
            TMainForm* main = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* m = qobject_cast<TMainForm*>(w); m && m->isVisible()) main = m;
            if (!main || !viewer || !main->isActiveWindow()) return;
            main->Tree->setFocus();
            QTest::keyClick(main->Tree, Qt::Key_F1);
            if (!viewer->isVisible()) return;
            topic = viewer->CurrentTopic();
            // The person goes back to the main window and leaves.
            main->activateWindow();
            if (!QTest::qWaitForWindowActive(main)) return;
            left = true;
            sinceLeaving.start();
            c.Leave(*main);
        });
        driver.start(10);
        const int status = RunProgram(*qApp, lang::LanguageFileName());
        driver.stop();
        EXPECT_EQ(status, 0) << c.Name;
        EXPECT_EQ(topic, "/pages/main_window.html") << c.Name;
        EXPECT_TRUE(left) << c.Name;
        EXPECT_FALSE(stillRunning) << c.Name;
        EXPECT_EQ(CountWindows<TMainForm>(), 0) << c.Name;
        EXPECT_EQ(CountWindows<THelpViewerForm>(), 0) << c.Name;
        EXPECT_TRUE(shown.Messages.empty()) << c.Name;
    }
}

TEST(Startup, EveryWindowShowsTheProgramsIconAndHintsStayFourSeconds) {
    RestoreProgramState restore;
    RecordingInteraction shown;
    platform::InstallQtMessagePoster();
    const QImage own = ProgramIcon().pixmap(16).toImage();
    std::vector<QImage> icons;
    std::vector<int> pauses;
    QString hint;
    const THintPause::TShow before = ProgramHintPause().Show;
    ProgramHintPause().Show = [&](const QPoint&, const QString& text, QWidget*, int milliseconds) {
        hint = text;
        pauses.push_back(milliseconds);
    };
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<TMainForm*>(w); main && main->isVisible()) {
                icons.push_back(main->windowIcon().pixmap(16).toImage());
                // A test window's frame inside the main window.
                QMdiSubWindow* sub = main->MdiArea->addSubWindow(new QWidget);
                icons.push_back(sub->windowIcon().pixmap(16).toImage());
                // The hint of a tool button, asked for as the mouse rests on it.
                QToolButton* button = main->findChild<QToolButton*>("SpeedButtonProjectOpen");
                EXPECT_NE(button, nullptr);
                if (button) {
                    if (button->toolTip().isEmpty()) button->setToolTip("Open");
                    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
                    QApplication::sendEvent(button, &help);
                    EXPECT_EQ(hint, button->toolTip());
                }
                main->close();
            }
    });
    closer.start(10);
    EXPECT_EQ(RunProgram(*qApp, lang::LanguageFileName()), 0);
    ProgramHintPause().Show = before;
    ASSERT_EQ(icons.size(), 2u);
    for (const QImage& icon : icons) EXPECT_EQ(icon, own);
    EXPECT_EQ(pauses, std::vector<int>{4000});
}

TEST(Startup, TheServicesComeFromTheLanguageLayerAndTheVersionBlock) {
    RestoreProgramState restore;
    lang::SetMessageTable(std::make_unique<TDlgLangConverter>(platform::ProgramFolder() + "/language.txt"));
    platform::IUserInteraction* before = platform::SetUserInteraction(nullptr);
    InstallProgramServices();
    platform::IUserInteraction* installed = platform::SetUserInteraction(before);
    EXPECT_NE(installed, nullptr);
    EXPECT_NE(installed, before);

    RecordingInteraction shown;
    EXPECT_EQ(StoreServices().MessageText("APPLICATION_NAME"), lang::GetMessageText("APPLICATION_NAME"));
    EXPECT_THROW(StoreServices().MessageText("NO_SUCH_KEY_AT_ALL"), Exception);
    StoreServices().ShowMessageText("saved badly");
    EXPECT_EQ(shown.Messages, std::vector<std::string>{"saved badly"});
    const TVersionInformation version(platform::ProgramFile());
    const TProductInfo product = StoreServices().ProgramProductInfo();
    EXPECT_EQ(product.ProductName, version.ProductName);
    EXPECT_EQ(product.ProductVersion, version.ProductVersion);
    EXPECT_NE(product.ProductVersion, "-");
    std::unique_ptr<IStoreProgress> progress = StoreServices().MakeProgress(3);
    ASSERT_NE(progress, nullptr);
    progress->Step();
    EXPECT_NE(ReportServices().MakeSetupDialog(), nullptr);

    // A damaged data file: the store's failure text is the language file's.
    TempDir dir;
    const std::string damaged = dir.File("damaged.kvd");
    WriteBytes(damaged, "not a data file");
    TFileAccess store(damaged);
    EXPECT_FALSE(store.LoadAll());
    EXPECT_EQ(store.LastError, lang::GetMessageText("FILEACC_FILE_VIOLATED_MSG"));
    EXPECT_NE(store.LastError, "FILEACC_FILE_VIOLATED_MSG");
    // A saved project carries the program's own product record.
    TFileAccess saved(dir.File("saved.kvd"));
    ASSERT_TRUE(saved.SaveAll());
    TFileAccess reread(saved.FileName);
    reread.LoadFileText();
    TProductInfo info;
    reread.ReadProductInfo(info);
    EXPECT_EQ(info.ProductName, "Orvel");
    EXPECT_EQ(info.ProductVersion, "2.0.1");
}

namespace {

class TThrowingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw Exception("handler failed");
        return QObject::event(e);
    }
};

}  // namespace

TEST(Startup, AnErrorThatEscapesAHandlerIsShownAndTheProgramGoesOn) {
    ASSERT_NE(qobject_cast<TOrvelApplication*>(qApp), nullptr);
    RecordingInteraction shown;
    TThrowingObject target;
    QEvent e(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &e));
    EXPECT_EQ(shown.Errors, std::vector<std::string>{"handler failed"});
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&target, &again);
    EXPECT_EQ(shown.Errors.size(), 2u);
}

TEST(SplashForm, ShowsTheVersionBlockAndFillsItsBar) {
    RestoreProgramState restore;
    lang::SetMessageTable(std::make_unique<TDlgLangConverter>(platform::ProgramFolder() + "/language.txt"));
    TSplashForm splash;
    const TVersionInformation version(platform::ProgramFile());
    EXPECT_EQ(splash.LabelProductName->text().toStdString(), version.ProductName);
    EXPECT_EQ(splash.LabelVersion->text().toStdString(),
              lang::GetMessageText("ABOUT_VERSION") + ": " + version.FileVersion);
    EXPECT_EQ(splash.LabelCopyright->text().toStdString(), version.LegalCopyright);
    EXPECT_EQ(splash.LabelHTTPReference->text(), TSplashForm::kMakerWebAddress);
    EXPECT_FALSE(splash.LabelAllRights->text().isEmpty());
    EXPECT_EQ(splash.size(), QSize(519, 326));
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash.ProgressBarLoading->value(), 0);
    splash.show();
    splash.RunProgress();
    EXPECT_EQ(splash.ProgressBarLoading->value(), 2500);
}

// Records the value a progress bar shows each time it is painted, and what is painted of the
// window around it.
class TPaintedValues : public QObject {
public:
    TPaintedValues(QWidget* window, QProgressBar* bar) : window_(window), bar_(bar) {
        bar->installEventFilter(this);
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (watched == bar_) Values.push_back(bar_->value());
            if (watched == window_) {
                // The part of the window painted outside the bar.
                const QRect bar(bar_->mapTo(window_, QPoint(0, 0)), bar_->size());
                PaintedBesideTheBar += static_cast<QPaintEvent*>(event)->region().subtracted(bar);
            }
        }
        return false;
    }
    std::vector<int> Values;
    QRegion PaintedBesideTheBar;

private:
    QWidget* window_;
    QProgressBar* bar_;
};

TEST(SplashForm, TheBarIsPaintedOnceForEachChangeOfItsFillFromEmptyToFull) {
    RestoreProgramState restore;
    lang::SetMessageTable(std::make_unique<TDlgLangConverter>(platform::ProgramFolder() + "/language.txt"));
    TSplashForm splash;
    EXPECT_EQ(splash.ProgressBarLoading->minimum(), 0);
    EXPECT_EQ(splash.ProgressBarLoading->maximum(), 2500);
    EXPECT_EQ(splash.ProgressBarLoading->size(), QSize(361, 9));
    EXPECT_EQ(splash.DrawnWidth(0), 0);
    EXPECT_EQ(splash.DrawnWidth(2500), 361);
    splash.ShowAtOnce();
    // What is painted from now on reaches the screen.
    ASSERT_NE(splash.windowHandle(), nullptr);
    EXPECT_TRUE(splash.windowHandle()->isExposed());
    TPaintedValues painted(&splash, splash.ProgressBarLoading);
    splash.RunProgress();
    EXPECT_EQ(splash.ProgressBarLoading->value(), 2500);
    // Without waiting for the event loop: every fill the bar can show, from the first pixel to
    // the last, was on the screen before the next one, and the rest of the window was left alone.
    std::vector<int> widths;
    for (int v : painted.Values) widths.push_back(splash.DrawnWidth(v));
    // The toolkit may paint the last step once more by itself; a bar
    // of 361 pixels has 362 states, so that is the most it is ever painted.
    EXPECT_LE(widths.size(), 362u);
    std::vector<int> distinct;
    for (int w : widths)
        if (distinct.empty() || distinct.back() != w) distinct.push_back(w);
    ASSERT_EQ(distinct.size(), 361u);
    for (int w = 1; w <= 361; ++w) ASSERT_EQ(distinct[static_cast<std::size_t>(w - 1)], w);
    EXPECT_EQ(painted.Values.back(), 2500);
    EXPECT_TRUE(painted.PaintedBesideTheBar.isEmpty()) << painted.PaintedBesideTheBar.boundingRect().width();
}

TEST(Startup, AMissingConverterLibraryEndsTheProgramWithItsName) {
    RestoreProgramState restore;
    RecordingInteraction shown;
    TempDir dir;
    EXPECT_NE(RunProgram(*qApp, lang::LanguageFileName(), dir.Path()), 0);
    ASSERT_EQ(shown.Messages.size(), 1u);
    EXPECT_EQ(shown.Messages[0].rfind(lang::GetMessageText("UPDATEFILE_NO_CONVERTER_LIBRARY") + "\n", 0), 0u)
        << shown.Messages[0];
    EXPECT_NE(shown.Messages[0].find(dir.Path() + "/libcorvish.so"), std::string::npos) << shown.Messages[0];
    EXPECT_EQ(CountWindows<TMainForm>(), 0);
    EXPECT_EQ(CountWindows<TSplashForm>(), 0);

    // A library without its export counts as missing too.
    std::filesystem::copy_file(platform::ProgramFolder() + "/libvantrel.so", dir.File("libcorvish.so"));
    std::filesystem::copy_file(platform::ProgramFolder() + "/libvantrel.so", dir.File("libvantrel.so"));
    shown.Messages.clear();
    EXPECT_NE(RunProgram(*qApp, lang::LanguageFileName(), dir.Path()), 0);
    ASSERT_EQ(shown.Messages.size(), 1u);
    EXPECT_NE(shown.Messages[0].find("\"Corvish\""), std::string::npos) << shown.Messages[0];
}
