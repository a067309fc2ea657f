// Help: the bridge from the windows' help requests to the HTML Help commands, the viewer of the
// help file that the build puts beside the program, and F1 pressed in the windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWindow>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "app/FormAbout.h"
#include "exchange/FormExportTest.h"
#include "exchange/FormImportTest.h"
#include "app/HelpViewerForm.h"
#include "app/HtmlHelpBridge.h"
#include "app/MainForm.h"
#include "lang/DlgLangConverter.h"
#include "lang/HelpHook.h"
#include "lang/MessageDialog.h"
#include "platform/HtmlHelp.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtUserInteraction.h"
#include "runner/FormReporter.h"
#include "runner/ReportServices.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "store/FileAccess.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/CommandCases.h"
#include "tests/support/DamagedHelpFiles.h"
#include "tests/support/TempDir.h"
#include "tree/FormArrangeItems.h"
#include "tree/NodeKind.h"
#include "tree/ObjectsTree.h"
#include "tree/PropertyDialogs.h"

namespace {

// Keeps the HTML Help commands instead of showing anything.
struct TRecordedCommand {
    std::string File;
    std::uint32_t Command;
    std::uintptr_t Number;
    std::string Text;
    bool TesterInstalled;
    bool operator==(const TRecordedCommand&) const = default;
};

class RecordingHtmlHelp : public platform::IHtmlHelp {
public:
    RecordingHtmlHelp() : previous_(platform::SetHtmlHelp(this)) {}
    ~RecordingHtmlHelp() override { platform::SetHtmlHelp(previous_); }
    void HtmlHelp(const std::string& file, std::uint32_t command, const platform::THelpData& data) override {
        Commands.push_back({file, command, data.Number, data.Text, WinHelpTester() != nullptr});
    }
    std::vector<TRecordedCommand> Commands;

private:
    platform::IHtmlHelp* previous_;
};

TEST(HelpBridge, TheHookTurnsWinHelpCommandsIntoHtmlHelpCommands) {
    struct Case {
        std::uint32_t WinHelp;
        platform::THelpData Data;
        std::uint32_t HtmlHelp;
        std::uintptr_t Number;
        std::string Text;
    };
    const Case cases[] = {
        {platform::HELP_CONTEXT, {110, "x"}, platform::HH_HELP_CONTEXT, 110, ""},
        {platform::HELP_CONTEXTPOPUP, {530, ""}, platform::HH_HELP_CONTEXT, 530, ""},
        {platform::HELP_QUIT, {7, "x"}, platform::HH_CLOSE_ALL, 0, ""},
        {platform::HELP_CONTENTS, {7, "x"}, platform::HH_DISPLAY_TOC, 0, ""},
        {platform::HELP_FINDER, {0, "pages/find.html"}, platform::HH_DISPLAY_TOPIC, 0, "pages/find.html"},
        {platform::HELP_KEY, {0, "Scores"}, platform::HH_DISPLAY_INDEX, 0, "Scores"},
        {platform::HELP_SETPOPUP_POS, {0x00200010, ""}, platform::HH_DISPLAY_TOPIC, 0, ""},
        {99, {5, "x"}, platform::HH_DISPLAY_TOPIC, 0, ""},
    };
    RecordingHtmlHelp viewer;
    TconHTMLHelp hook;
    for (const Case& c : cases) {
        viewer.Commands.clear();
        bool callHelp = true;
        EXPECT_TRUE(hook.ApplicationHelp(c.WinHelp, c.Data, callHelp));
        EXPECT_FALSE(callHelp);
        ASSERT_EQ(viewer.Commands.size(), 1u) << c.WinHelp;
        const TRecordedCommand& got = viewer.Commands[0];
        EXPECT_EQ(got.File, "orvel_helper.chm");
        EXPECT_EQ(got.Command, c.HtmlHelp) << c.WinHelp;
        EXPECT_EQ(got.Number, c.Number) << c.WinHelp;
        EXPECT_EQ(got.Text, c.Text) << c.WinHelp;
    }
}

TEST(HelpBridge, TheViewerAndTheSelectorAnswerAsDescribed) {
    RecordingHtmlHelp recorder;
    THelpBridge bridge;
    THTMLHelpViewer& viewer = bridge.Viewer();
    EXPECT_EQ(viewer.GetViewerName(), "D6OnHelpFix");
    EXPECT_EQ(viewer.UnderstandsKeyword("x"), 1);
    EXPECT_EQ(viewer.GetHelpStrings("Find"), std::vector<std::string>{"D6OnHelpFix: Find"});
    EXPECT_TRUE(viewer.CanShowTableOfContents() && viewer.UnderstandsTopic("t") && viewer.UnderstandsContext(1, ""));

    viewer.ShowTableOfContents();
    viewer.ShowHelp(std::string(300, 'k'));
    viewer.DisplayTopic("Scale");
    viewer.DisplayTopic(std::string(254, 't'));
    viewer.DisplayHelpByContext(550);
    const std::vector<TRecordedCommand> expected = {
        {"orvel_helper.chm", platform::HH_DISPLAY_TOC, 0, "", true},
        {"orvel_helper.chm", platform::HH_DISPLAY_INDEX, 0, std::string(255, 'k'), true},
        {"orvel_helper.chm", platform::HH_DISPLAY_INDEX, 0, "Scalezzz", true},
        {"orvel_helper.chm", platform::HH_DISPLAY_INDEX, 0, std::string(254, 't') + "z", true},
        // The WinHelp tester is away while the context is asked for, and back afterwards.
        {"orvel_helper.chm", platform::HH_HELP_CONTEXT, 550, "", false},
    };
    EXPECT_EQ(recorder.Commands, expected);
    EXPECT_NE(WinHelpTester(), nullptr);

    // A window's help request goes the same way.
    recorder.Commands.clear();
    lang::RequestHelp(600);
    ASSERT_EQ(recorder.Commands.size(), 1u);
    EXPECT_EQ(recorder.Commands[0].Command, platform::HH_HELP_CONTEXT);
    EXPECT_EQ(recorder.Commands[0].Number, 600u);

    const THelpSelector& selector = bridge.Selector();
    EXPECT_EQ(selector.SelectKeyword({"a", "b"}), 0);
    EXPECT_EQ(selector.TableOfContents({"WinHelp", "D6OnHelpFix", "Other", "D6OnHelpFix", "Last"}), 3);
    EXPECT_EQ(selector.TableOfContents({"WinHelp", "Other"}), 0);
    EXPECT_EQ(selector.TableOfContents({}), 0);

    TWinHelpTester tester("orvel_helper.chm");
    EXPECT_FALSE(tester.CanShowALink("a", "f") || tester.CanShowTopic("t", "f") || tester.CanShowContext(1, "f"));
    EXPECT_TRUE(tester.GetHelpStrings("x").empty());
    EXPECT_EQ(tester.GetHelpPath(), "");
    EXPECT_EQ(tester.GetDefaultHelpFile(""), "orvel_helper.chm");
    EXPECT_EQ(tester.GetDefaultHelpFile("other.chm"), "other.chm");
}

TEST(HelpBridge, AtTheEndTheHelpIsClosedAndNoLongerAsked) {
    RecordingHtmlHelp recorder;
    { THelpBridge bridge; }
    ASSERT_EQ(recorder.Commands.size(), 1u);
    EXPECT_EQ(recorder.Commands[0].Command, platform::HH_CLOSE_ALL);
    lang::RequestHelp(110);
    EXPECT_FALSE(ApplicationHelpCommand(platform::HELP_CONTEXT, {110, {}}));
    EXPECT_EQ(recorder.Commands.size(), 1u);
    EXPECT_EQ(WinHelpTester(), nullptr);
}

// The program's help as start-up installs it, with the main window.
class Help : public ::testing::Test {
public:
    Help() : previousViewer_(platform::SetHtmlHelp(&viewer)) {}
    ~Help() override { platform::SetHtmlHelp(previousViewer_); }

    void SetUp() override {
        window = std::make_unique<TMainForm>(platform::FormatSettings::Posix());
        window->resize(1000, 700);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        Flush();
    }
    void OpenProject() {
        const std::string path = dir.File("project.kvd");
        WriteProject(path, FillCommandCaseProject);
        env.Files.push_back(path);
        window->MenuItemProjectOpen->trigger();
        Flush();
    }
    std::string Topic() const { return viewer.isVisible() ? viewer.CurrentTopic() : "<not shown>"; }
    // A modal hook for the small windows of the Help and Edit menus: each is shown and made
    // active, press(name, part) is run with the part of the window that a key is pressed in, and
    // the about box then opens its acknowledgments window, as its button does.
    static platform::ModalHook InTheSmallWindows(std::function<void(const std::string&, QWidget*)> press) {
        return [press = std::move(press)](QDialog& dialog) {
            static const std::map<std::string, const char*> pressedIn = {
                {"FormAbout", "ButtonClose"}, {"FormAcknowledgments", "ButtonClose"}, {"ToolbarForm", "ToolbarCheckListBox"}};
            const std::string name = dialog.objectName().toStdString();
            dialog.show();
            dialog.activateWindow();
            // The window itself, not its owner that shares the activation with it.
            if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }))
                ADD_FAILURE() << name << " did not become active";
            if (QWidget* part = pressedIn.count(name) ? dialog.findChild<QWidget*>(pressedIn.at(name)) : nullptr)
                press(name, part);
            else
                ADD_FAILURE() << "no part to press F1 in: " << name;
            if (auto* about = dynamic_cast<TFormAbout*>(&dialog)) about->BitBtnAcknowledgments->click();
            dialog.hide();
            return static_cast<int>(QDialog::Accepted);
        };
    }

    TAppTestEnvironment env;
    TempDir dir;
    THelpViewerForm viewer;
    THelpBridge bridge;
    std::unique_ptr<TMainForm> window;

private:
    platform::IHtmlHelp* previousViewer_;
};

TEST_F(Help, EveryContextNumberThatAWindowNamesOpensAPageOfTheHelpFile) {
    TTestGroupForm group(nullptr);
    TTestForm test(nullptr, platform::FormatSettings::Posix());
    TScaleForm scale(nullptr);
    TInterpretationForm interpretation(nullptr, platform::FormatSettings::Posix());
    TStimulForm question(nullptr);
    TReactionForm answer(nullptr);
    TWeightForm weight(nullptr, platform::FormatSettings::Posix());
    TFileAccess store(std::string(), platform::FormatSettings::Posix());
    TRunTestForm testWindow(nullptr, store, window->Handle(), 1, "T");
    const std::pair<const char*, int> windows[] = {
        {"main window", window->HelpContext},
        {"main window's message box", window->MessageDialog->HelpContext},
        {"test group", group.HelpContext()},
        {"test", test.HelpContext()},
        {"scale", scale.HelpContext()},
        {"interpretation", interpretation.HelpContext()},
        {"question", question.HelpContext()},
        {"answer", answer.HelpContext()},
        {"weight", weight.HelpContext()},
        {"arrange items", TFormArrangeItems::kHelpContext},
        {"test window", testWindow.HelpContext},
    };
    std::set<std::string> topics;
    for (const auto& [name, context] : windows) {
        ASSERT_NE(context, 0) << name;
        viewer.hide();
        lang::RequestHelp(context);
        EXPECT_TRUE(viewer.isVisible()) << name;
        EXPECT_NE(viewer.CurrentTopic(), viewer.File()->DefaultTopic()) << name;
        topics.insert(viewer.CurrentTopic());
    }
    EXPECT_TRUE(env.Interaction.Messages.empty());
    // The property dialogs, the arrange dialog and the test window each have a topic of their own.
    EXPECT_EQ(topics.size(), std::size(windows) - 1);
}

TEST_F(Help, F1InTheMainWindowOpensTheMainWindowsTopic) {
    window->Tree->setFocus();
    QTest::keyClick(window->Tree, Qt::Key_F1);
    EXPECT_EQ(Topic(), "/pages/main_window.html");
    EXPECT_EQ(viewer.windowTitle(), "Orvel Help");
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

TEST_F(Help, F1InAPropertyDialogOpensTheDialogsTopic) {
    OpenProject();
    Select(*window, FindNode(*window, nkTestGroup, -1));
    int dialogs = 0;
    platform::ScopedModalHook hook([&](QDialog& dialog) {
        ++dialogs;
        auto* form = dynamic_cast<TPropertyForm*>(&dialog);
        if (!form) return 0;
        // On the screen and active, as the modal dialog is for the person.
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form)) ADD_FAILURE() << "the dialog did not become active";
        QCoreApplication::processEvents();
        QTest::keyClick(form->NameEdit, Qt::Key_F1);
        form->CancelBitBtn->click();
        return static_cast<int>(QDialog::Rejected);
    });
    window->MenuItemObjectChange->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Topic(), "/pages/test_group.html");
}

// F1 pressed in the small windows of the Help and Edit menus opens their topics: the about box,
// its acknowledgments window and the toolbar setup dialog.
TEST_F(Help, F1InTheAboutAcknowledgmentsAndToolbarSetupWindowsOpensTheirTopics) {
    std::vector<std::pair<std::string, std::string>> topics;   // window, topic shown after F1
    platform::ScopedModalHook hook(InTheSmallWindows([&](const std::string& name, QWidget* part) {
        part->setFocus();
        viewer.hide();
        QTest::keyClick(part, Qt::Key_F1);
        topics.emplace_back(name, Topic());
    }));
    window->MenuItemHelpAbout->trigger();
    window->MenuItemEditToolbarsSetup->trigger();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"FormAbout", "/pages/about.html"},
        {"FormAcknowledgments", "/pages/about.html"},
        {"ToolbarForm", "/pages/toolbar_setup.html"},
    };
    EXPECT_EQ(topics, expected);
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

TEST_F(Help, F1InATestWindowOpensTheTestWindowsTopic) {
    OpenProject();
    Select(*window, FindNode(*window, nkTest, -1));
    window->MenuItemObjectRunTest->trigger();
    Flush();
    auto* sub = window->MdiArea->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    QWidget* inside = sub->widget()->focusWidget() ? sub->widget()->focusWidget() : sub->widget();
    inside->setFocus();
    QTest::keyClick(inside, Qt::Key_F1);
    EXPECT_EQ(Topic(), "/pages/test_window.html");
}

TEST_F(Help, F1InTheMessageBoxOpensTheTopicOfItsWindow) {
    // The real box, not the test's answers.
    const TMessageDialog::Responder answers = TMessageDialog::SetResponder({});
    TMessageDialog& box = *window->MessageDialog;
    box.DialogType = mdOk;
    box.Caption = "Something to say";
    std::string shownWhileOpen;
    bool aboveTheBox = false;
    QTimer::singleShot(0, [&] {
        QDialog* w = box.Window();
        if (!w) return;
        if (!QTest::qWaitForWindowExposed(w)) ADD_FAILURE() << "the box was not shown";
        QTest::keyClick(w->findChild<QPushButton*>("Button0"), Qt::Key_F1);
        shownWhileOpen = Topic();
        // The modal box does not block the help: it stands above the box.
        aboveTheBox = viewer.windowHandle() && viewer.windowHandle()->transientParent() == w->windowHandle();
        w->findChild<QPushButton*>("Button0")->click();
    });
    // Never left hanging: the box closes itself if the keys did not.
    QTimer::singleShot(5000, [&] {
        if (box.Window()) box.Window()->reject();
    });
    box.Execute();
    TMessageDialog::SetResponder(answers);
    EXPECT_EQ(shownWhileOpen, "/pages/main_window.html");
    EXPECT_TRUE(aboveTheBox);
}

// Each help request shows the viewer on the topic asked for, raised and active, whatever state
// the person left it in: minimised, or behind the main window.
TEST_F(Help, F1BringsBackTheViewerMinimisedOrBehindTheMainWindow) {
    struct Case {
        const char* Name;
        std::function<void(THelpViewerForm&)> Leave;
    };
    const Case cases[] = {
        {"minimised", [](THelpViewerForm& v) { v.showMinimized(); }},
        {"behind the main window", [](THelpViewerForm&) {}},
    };
    for (const Case& c : cases) {
        // Another topic is shown first, so that the request visibly changes it.
        lang::RequestHelp(530);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer)) << c.Name;
        ASSERT_EQ(viewer.CurrentTopic(), "/pages/test_group.html");
        c.Leave(viewer);
        window->raise();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << c.Name;
        window->Tree->setFocus();
        QTest::keyClick(window->Tree, Qt::Key_F1);
        EXPECT_EQ(Topic(), "/pages/main_window.html") << c.Name;
        EXPECT_FALSE(viewer.isMinimized()) << c.Name;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&viewer)) << c.Name;
        EXPECT_EQ(QApplication::activeWindow(), &viewer) << c.Name;
    }
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

// Without a help file, F1 in a window tells the person once, wherever it is pressed.
TEST_F(Help, AMissingHelpFileIsReportedOnceInEveryWindow) {
    OpenProject();
    const std::string saved = platform::HelpFileName();
    platform::SetHelpFileName(dir.File("orvel_helper.chm"));
    const std::string expected = lang::GetMessageText("HELP_FILE_NOT_OPENED") + "\n" + dir.File("orvel_helper.chm");
    std::vector<std::pair<std::string, std::size_t>> reports;   // window, messages after its F1
    const auto pressF1 = [&](const std::string& name, QWidget* part) {
        env.Interaction.Messages.clear();
        part->window()->activateWindow();
        if (!QTest::qWaitForWindowActive(part->window())) ADD_FAILURE() << name << " did not become active";
        part->setFocus();
        QTest::keyClick(part, Qt::Key_F1);
        reports.emplace_back(name, env.Interaction.Messages.size());
        for (const std::string& m : env.Interaction.Messages) EXPECT_EQ(m, expected) << name;
    };
    platform::ScopedModalHook hook(InTheSmallWindows(pressF1));
    window->MenuItemHelpAbout->trigger();
    window->MenuItemEditToolbarsSetup->trigger();
    pressF1("main window", window->Tree);
    Select(*window, FindNode(*window, nkTest, -1));
    window->MenuItemObjectRunTest->trigger();
    Flush();
    QMdiSubWindow* sub = window->MdiArea->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    pressF1("test window", sub->widget()->focusWidget() ? sub->widget()->focusWidget() : sub->widget());
    platform::SetHelpFileName(saved);
    const std::vector<std::pair<std::string, std::size_t>> once = {
        {"FormAbout", 1}, {"FormAcknowledgments", 1}, {"ToolbarForm", 1}, {"main window", 1}, {"test window", 1}};
    EXPECT_EQ(reports, once);
    EXPECT_FALSE(viewer.isVisible());
}

// F1 works in every window. One without a topic of its own opens the topic of the window it was
// opened from: the exchange dialogs and the file dialog of the main window show the main window's
// topic, the report setup and its file dialog and the test window's question the test window's,
// and the message of a property dialog the dialog's.
TEST_F(Help, F1InAWindowWithoutATopicOpensTheTopicOfTheWindowItWasOpenedFrom) {
    OpenProject();
    const TReportServices reports = ReportServices();
    InstallReportSetupDialog();
    std::vector<std::pair<std::string, std::string>> topics;   // window, topic after F1
    // F1 where the window has its focus, with the window active, as under the person's hands.
    const auto pressF1 = [&](QWidget& w, const std::string& name) {
        w.activateWindow();
        if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }))
            ADD_FAILURE() << name << " did not become active";
        QWidget* part = w.focusWidget() ? w.focusWidget() : &w;
        viewer.hide();
        QTest::keyClick(part, Qt::Key_F1);
        topics.emplace_back(name, Topic());
    };
    // The question box that the next step opens, in its own modal loop.
    const auto answerNextBox = [&](const std::string& name) {
        QTimer::singleShot(0, [&, name] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return ADD_FAILURE() << "no box for " << name, void();
            pressF1(*box, name);
            box->reject();
        });
    };
    platform::ScopedModalHook hook([&](QDialog& dialog) {
        dialog.show();
        if (dynamic_cast<TFormExportTest*>(&dialog)) {
            pressF1(dialog, "export");
        } else if (dynamic_cast<TFormImportTest*>(&dialog)) {
            pressF1(dialog, "import");
        } else if (auto* reporter = dynamic_cast<TFormReporter*>(&dialog)) {
            pressF1(dialog, "report setup");
            reporter->BitBtnFileName->click();
            reporter->ButtonCancel->click();
        } else if (auto* files = dynamic_cast<QFileDialog*>(&dialog)) {
            pressF1(dialog, files->acceptMode() == QFileDialog::AcceptSave ? "save file dialog" : "open file dialog");
        } else if (auto* form = dynamic_cast<TInterpretationForm*>(&dialog)) {
            form->InterpretationMinEdit->setText("5");
            form->InterpretationMaxEdit->setText("1");
            form->activateWindow();
            if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == form; }))
                ADD_FAILURE() << "the interpretation dialog did not become active";
            // The program's own message box, which this hook is given in turn.
            platform::QtUserInteraction boxes;
            platform::IUserInteraction* recorded = platform::SetUserInteraction(&boxes);
            form->OkBitBtn->click();
            platform::SetUserInteraction(recorded);
            form->CancelBitBtn->click();
        } else if (dynamic_cast<QMessageBox*>(&dialog)) {
            pressF1(dialog, "interpretation's message");
        } else {
            ADD_FAILURE() << "unexpected window " << dialog.objectName().toStdString();
        }
        dialog.hide();
        return static_cast<int>(QDialog::Rejected);
    });
    Select(*window, FindNode(*window, nkTest, -1));
    window->MenuItemFileExportTests->trigger();
    window->MenuItemFileImportTests->trigger();
    {
        // The program's own file dialogs, not the test's answers.
        const platform::ScopedFileDialogHook realFiles({});
        const platform::ScopedFileChoiceHook realChoice({});
        window->Tree->setFocus();
        window->MenuItemProjectOpen->trigger();

        Select(*window, FindNode(*window, nkTest, -1));
        window->MenuItemObjectRunTest->trigger();
        Flush();
        QMdiSubWindow* sub = window->MdiArea->activeSubWindow();
        ASSERT_NE(sub, nullptr);
        auto* test = qobject_cast<TRunTestForm*>(sub->widget());
        ASSERT_NE(test, nullptr);
        for (int i = 0; i < 3; ++i) test->MenuItemNext->trigger();
        Flush();
        ASSERT_TRUE(test->MenuItemDisplayReport->isEnabled());
        (test->focusWidget() ? test->focusWidget() : test)->setFocus();
        test->MenuItemDisplayReport->trigger();
        // Closing the test window asks, in the program's own question box.
        const TMessageDialog::Responder answers = TMessageDialog::SetResponder({});
        answerNextBox("test window's question");
        test->MenuItemExit->trigger();
        TMessageDialog::SetResponder(answers);
    }
    Select(*window, FindNode(*window, nkInterpretation, -1));
    window->MenuItemObjectChange->trigger();
    ReportServices() = reports;

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"export", "/pages/main_window.html"},
        {"import", "/pages/main_window.html"},
        {"open file dialog", "/pages/main_window.html"},
        {"report setup", "/pages/test_window.html"},
        {"save file dialog", "/pages/test_window.html"},
        {"test window's question", "/pages/test_window.html"},
        {"interpretation's message", "/pages/interpretation.html"},
    };
    EXPECT_EQ(topics, expected);
}

// The captions of the windows and menus as the language file gives them, with the "&" of their
// shortcut letters taken out: the texts a person sees.
std::set<std::string> CaptionsOfTheLanguageFile() {
    std::ifstream in(lang::LanguageFileName());
    std::set<std::string> captions;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq < 4 || line.compare(eq - 4, 4, "_cap") != 0) continue;
        std::string text;
        for (std::size_t i = eq + 1; i < line.size(); ++i) {
            if (line[i] == '&' && (i + 1 >= line.size() || line[i + 1] != '&')) continue;
            text += line[i];
            if (line[i] == '&') ++i;
        }
        if (text.empty()) continue;
        captions.insert(text);
        // A label's colon is not part of the name a text quotes.
        if (text.back() == ':') captions.insert(text.substr(0, text.size() - 1));
    }
    return captions;
}

// Every caption that a help page quotes (marked as a part of the program's windows) and every
// command name it gives (a name that ends in "...") is a caption of the language file: the help
// names the windows' parts and the menus' commands as the program shows them.
TEST_F(Help, EveryCaptionAndCommandThatTheHelpQuotesIsInTheLanguageFile) {
    const std::set<std::string> captions = CaptionsOfTheLanguageFile();
    ASSERT_GT(captions.count("Import Questions..."), 0u);
    platform::HtmlHelp(platform::HelpFileName(), platform::HH_DISPLAY_TOC, {});
    ASSERT_NE(viewer.File(), nullptr);
    const std::regex quoted(R"re(<span class="ui">([^<]*)</span>)re");
    const std::regex tag("<[^>]*>");
    const std::regex command(R"re(((?:[A-Z][A-Za-z]* )*[A-Z][A-Za-z]*)\.\.\.)re");
    std::size_t quotes = 0;
    std::vector<std::string> unknown;   // page: text
    for (const std::string& page : viewer.File()->Objects()) {
        if (page.size() < 5 || page.compare(page.size() - 5, 5, ".html") != 0) continue;
        const std::optional<std::string> html = viewer.File()->Read(page);
        ASSERT_TRUE(html.has_value()) << page;
        const auto check = [&](const std::string& text) {
            if (!captions.count(text)) unknown.push_back(page + ": " + text);
        };
        for (std::sregex_iterator it(html->begin(), html->end(), quoted), end; it != end; ++it) {
            check((*it)[1].str());
            ++quotes;
        }
        const std::string text = std::regex_replace(*html, tag, "");
        for (std::sregex_iterator it(text.begin(), text.end(), command), end; it != end; ++it) check((*it)[0].str());
    }
    EXPECT_EQ(unknown, std::vector<std::string>{});
    // The pages quote the program's captions throughout, not in one place.
    EXPECT_GT(quotes, 100u);
}

TEST_F(Help, TheContentsAndTheIndexListEveryTopic) {
    platform::HtmlHelp(platform::HelpFileName(), platform::HH_DISPLAY_TOC, {});
    ASSERT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.TabsNavigation->currentWidget(), viewer.TabContents);
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/start.html");
    std::set<std::string> pages;
    for (const std::string& o : viewer.File()->Objects())
        if (o.size() > 5 && o.compare(o.size() - 5, 5, ".html") == 0) pages.insert(o);
    std::set<std::string> contents;
    for (QTreeWidgetItemIterator it(viewer.TreeContents); *it; ++it) {
        // Each entry shows its page when clicked.
        viewer.TreeContents->setCurrentItem(*it);
        emit viewer.TreeContents->itemClicked(*it, 0);
        contents.insert(viewer.CurrentTopic());
    }
    EXPECT_EQ(contents, pages);
    std::set<std::string> index;
    for (int i = 0; i < viewer.ListIndex->count(); ++i) {
        emit viewer.ListIndex->itemActivated(viewer.ListIndex->item(i));
        index.insert(viewer.CurrentTopic());
    }
    EXPECT_EQ(index, pages);
}

TEST_F(Help, TheIndexFindsKeywordsAsTheyAreTyped) {
    platform::HtmlHelp(platform::HelpFileName(), platform::HH_DISPLAY_INDEX, {0, "Find"});
    EXPECT_EQ(viewer.TabsNavigation->currentWidget(), viewer.TabIndex);
    EXPECT_EQ(viewer.EditKeyword->text(), "Find");
    ASSERT_NE(viewer.ListIndex->currentItem(), nullptr);
    EXPECT_EQ(viewer.ListIndex->currentItem()->text(), "Find");

    viewer.EditKeyword->clear();
    QTest::keyClicks(viewer.EditKeyword, "scor");
    ASSERT_NE(viewer.ListIndex->currentItem(), nullptr);
    EXPECT_EQ(viewer.ListIndex->currentItem()->text(), "Scores");
    QTest::keyClick(viewer.EditKeyword, Qt::Key_Return);
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/scores.html");
    // A topic asked for by name lands in the index after the last keyword before it.
    bridge.Viewer().DisplayTopic("Weight");
    EXPECT_EQ(viewer.EditKeyword->text(), "Weightzzz");
    EXPECT_EQ(viewer.ListIndex->currentItem()->text(), "XML export");
}

TEST_F(Help, LinksAndPicturesOfATopicComeFromTheHelpFile) {
    platform::HtmlHelp(platform::HelpFileName(), platform::HH_DISPLAY_TOPIC, {});
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/start.html");
    const QVariant picture = viewer.BrowserTopic->loadResource(QTextDocument::ImageResource, QUrl("images/tree.png"));
    EXPECT_FALSE(picture.value<QImage>().isNull());
    emit viewer.BrowserTopic->anchorClicked(QUrl("main_window.html"));
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/main_window.html");
    // The contents show where the link led.
    ASSERT_NE(viewer.TreeContents->currentItem(), nullptr);
    EXPECT_EQ(viewer.TreeContents->currentItem()->text(0), "The main window");
    emit viewer.BrowserTopic->anchorClicked(QUrl("no_such_page.html"));
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/main_window.html");
    QTest::mouseClick(viewer.ButtonBack, Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/start.html");
    QTest::mouseClick(viewer.ButtonForward, Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/main_window.html");
    QTest::mouseClick(viewer.ButtonHome, Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "/pages/start.html");
    platform::HtmlHelp(platform::HelpFileName(), platform::HH_CLOSE_ALL, {});
    EXPECT_FALSE(viewer.isVisible());
}

TEST_F(Help, AMissingHelpFileOrTopicGivesAMessage) {
    const std::string saved = platform::HelpFileName();
    platform::SetHelpFileName(dir.File("orvel_helper.chm"));
    QTest::keyClick(window->Tree, Qt::Key_F1);
    platform::SetHelpFileName(saved);
    ASSERT_EQ(env.Interaction.Messages.size(), 1u);
    EXPECT_EQ(env.Interaction.Messages[0],
              lang::GetMessageText("HELP_FILE_NOT_OPENED") + "\n" + dir.File("orvel_helper.chm"));
    EXPECT_FALSE(viewer.isVisible());

    lang::RequestHelp(4242);
    ASSERT_EQ(env.Interaction.Messages.size(), 2u);
    EXPECT_EQ(env.Interaction.Messages[1], lang::GetMessageText("HELP_NO_CONTEXT_TOPIC") + " 4242");
    // The request from the main window first showed the default topic; no other page is shown.
    EXPECT_EQ(Topic(), "/pages/start.html");
}

// A help file that is damaged, or something else in its place, is refused with one message that
// says why; the program and the open project stay as they were, and the good file shows again.
TEST_F(Help, ADamagedHelpFileIsRefusedWithOneMessageAndTheProjectStaysAsItWas) {
    using platform::TChmRefusal;
    const std::map<TChmRefusal, const char*> keys = {
        {TChmRefusal::NotRegular, "HELP_REFUSED_NOT_REGULAR"},
        {TChmRefusal::NotHelpFile, "HELP_REFUSED_NOT_HELP_FILE"},
        {TChmRefusal::Damaged, "HELP_REFUSED_DAMAGED"},
        {TChmRefusal::ReaderStopped, "HELP_REFUSED_READER_STOPPED"},
    };
    const std::string good = platform::ResolveHelpFile(platform::HelpFileName());
    std::vector<TDamagedHelpFile> files = DamagedHelpFiles(ReadBytes(good));
    files.push_back({"a pipe", "", TChmRefusal::NotRegular});
    files.push_back({"a folder", "", TChmRefusal::NotRegular});
    OpenProject();
    ASSERT_NE(GlobalStore(), nullptr);
    const std::string project = GlobalStore()->FileName;
    const std::string bytes = ReadBytes(project);
    const int nodes = window->Tree->topLevelItemCount();
    ASSERT_GT(nodes, 0);
    const std::string saved = platform::HelpFileName();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const TDamagedHelpFile& f = files[i];
        const std::string path = dir.File("help" + std::to_string(i) + ".chm");
        if (f.Name == "a pipe") {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        } else if (f.Name == "a folder") {
            std::filesystem::create_directory(path);
        } else {
            WriteBytes(path, f.Bytes);
        }
        env.Interaction.Messages.clear();
        platform::SetHelpFileName(path);
        window->Tree->setFocus();
        QTest::keyClick(window->Tree, Qt::Key_F1);
        platform::SetHelpFileName(saved);
        ASSERT_TRUE(keys.count(f.Reason)) << f.Name;
        EXPECT_EQ(env.Interaction.Messages,
                  std::vector<std::string>{lang::GetMessageText("HELP_NOT_AVAILABLE") + "\n" +
                                           lang::GetMessageText(keys.at(f.Reason)) + "\n" + path})
            << f.Name;
        EXPECT_FALSE(viewer.isVisible()) << f.Name;
        EXPECT_TRUE(window->isVisible()) << f.Name;
        ASSERT_NE(GlobalStore(), nullptr) << f.Name;
        EXPECT_EQ(GlobalStore()->FileName, project) << f.Name;
        EXPECT_FALSE(GlobalStore()->IsModified()) << f.Name;
        EXPECT_EQ(window->Tree->topLevelItemCount(), nodes) << f.Name;
    }
    EXPECT_EQ(ReadBytes(project), bytes);

    env.Interaction.Messages.clear();
    window->Tree->setFocus();
    QTest::keyClick(window->Tree, Qt::Key_F1);
    EXPECT_EQ(Topic(), "/pages/main_window.html");
    EXPECT_TRUE(env.Interaction.Messages.empty());
    ASSERT_NE(viewer.File(), nullptr);
    EXPECT_GT(viewer.File()->Objects().size(), 20u);
}

}  // namespace
