// The main window on the offscreen platform: its commands, the project file commands with the
// dialogs answered by the test, and the test windows with their runners.
#include <gtest/gtest.h>

#include "platform/qt/MenuCaption.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtUserInteraction.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>
#include <QMdiSubWindow>
#include <QListWidget>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>
#include <functional>
#include <set>

#include "app/FormAbout.h"
#include "app/MainForm.h"
#include "app/ToolbarForm.h"
#include "app/UpdateCheck.h"
#include "exchange/ConverterBinding.h"
#include "lang/DlgLangConverter.h"
#include "lang/LanguageController.h"
#include "lang/Progress.h"
#include "lang/ThreadProgressBar.h"
#include "lang/VersionInformation.h"
#include "platform/MessageHub.h"
#include "platform/WindowMessages.h"
#include "platform/ProgramFolder.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "runner/TestRunner.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/CommandCases.h"
#include "tests/support/LocaleCases.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"
#include "tree/NodeKind.h"
#include "tree/ObjectsTree.h"
#include "tree/PropertyDialogs.h"
#include "tree/TreeDump.h"

namespace {

QString Text(const std::string& key) { return QString::fromStdString(lang::GetMessageText(key)); }

// A tree dump with $ROOT, $TESTS, $SCALES and $QUESTIONS in place of the folders' captions.
std::string WithTreeTitles(std::string dump) {
    for (const auto& [mark, key] : {std::pair{"$ROOT", "OBJECTSTREE_MAIN_NODE_TITLE"},
                                    {"$TESTS", "OBJECTSTREE_TESTS_MAIN_NODE_TITLE"},
                                    {"$SCALES", "OBJECTSTREE_SCALES_MAIN_NODE_TITLE"},
                                    {"$QUESTIONS", "OBJECTSTREE_STIMULS_MAIN_NODE_TITLE"}})
        for (std::size_t p = dump.find(mark); p != std::string::npos; p = dump.find(mark))
            dump.replace(p, std::string(mark).size(), lang::GetMessageText(key));
    return dump;
}

// Answers the update check with no.
class TRefuseEveryFile : public IUpdateCheck {
public:
    bool CheckAndUpdate(const std::string& fileName, const std::string& refusalNote) override {
        Checked.push_back(fileName);
        Notes.push_back(refusalNote);
        return false;
    }
    std::vector<std::string> Checked;
    std::vector<std::string> Notes;
};

class MainWindow : public ::testing::Test {
public:
    void SetUp() override {
        window = std::make_unique<TMainForm>(platform::FormatSettings::Posix());
        window->resize(1000, 700);
        window->show();
        Flush();
    }
    void TearDown() override {
        window.reset();
        Flush();
        EXPECT_TRUE(env.Answers.empty()) << "answers left over";
        EXPECT_TRUE(env.Files.empty()) << "file choices left over";
    }

    std::string CaseProject(const char* name = "project.kvd") {
        const std::string path = dir.File(name);
        WriteProject(path, FillCommandCaseProject);
        return path;
    }
    void Open(const std::string& path) {
        env.Files.push_back(path);
        window->MenuItemProjectOpen->trigger();
        Flush();
    }
    TFileAccess* Store() const { return GlobalStore().get(); }
    // Something the user changed in the project.
    void Change() {
        TTestGroup g;
        g.ID = Store()->TestGroups.NewID();
        g.ParentID = -1;
        g.Name = "Added group";
        Store()->TestGroups.AddTestGroup(g);
        window->UpdateCommands();
    }
    // Whether the open project holds that change.
    bool HasTheChange() const {
        for (int i = 0; i < Store()->TestGroups.RecordCount(); ++i)
            if (Store()->TestGroups.At(i).Name == "Added group") return true;
        return false;
    }
    TRunTestForm* RunTestOf(std::int32_t testID) {
        Select(*window, FindNode(*window, nkTest, testID));
        window->MenuItemObjectRunTest->trigger();
        Flush();
        return window->Runners().FindChildForm(LastWindowHandle());
    }
    platform::WindowHandle LastWindowHandle() const {
        const QList<QAction*> items = window->WindowMenuItems();
        return items.isEmpty() ? platform::kNoWindow
                               : static_cast<platform::WindowHandle>(items.back()->property("Tag").toLongLong());
    }
    int OpenTestWindows() const {
        int n = 0;
        for (QWidget* w : QApplication::allWidgets())
            if (qobject_cast<TRunTestForm*>(w)) ++n;
        return n;
    }

    TAppTestEnvironment env;
    TempDir dir;
    std::unique_ptr<TMainForm> window;
};

// ---------------------------------------------------------------- commands

class WindowCommands : public MainWindow, public ::testing::WithParamInterface<TCommandCase> {};

std::vector<TCommandCase> WindowCases() {
    std::vector<TCommandCase> cases;
    for (const TCommandCase& c : CommandCases())
        if (c.NotInWindow.empty()) cases.push_back(c);
    return cases;
}

}  // namespace

TEST_P(WindowCommands, FollowTheTable) {
    const TCommandCase& c = GetParam();
    std::string path;
    switch (c.Project) {
        case TCommandCase::NoProject: break;
        case TCommandCase::Created: window->MenuItemProjectCreate->trigger(); break;
        case TCommandCase::Opened:
        case TCommandCase::OpenedAndChanged:
        case TCommandCase::OpenedAndClosed: Open(path = CaseProject()); break;
    }
    if (c.Mark.Kind != nkNone) {
        Select(*window, FindNode(*window, c.Mark.Kind, c.Mark.Under));
        QAction* mark = c.Mark.Cut ? window->MenuItemEditCut : window->MenuItemEditCopy;
        ASSERT_TRUE(mark->isEnabled()) << "cannot mark a node of kind " << c.Mark.Kind;
        mark->trigger();
        Flush();
    }
    if (c.Project == TCommandCase::OpenedAndChanged) Change();
    if (c.Project == TCommandCase::OpenedAndClosed) {
        window->MenuItemProjectClose->trigger();
        Flush();
    }
    QTreeWidgetItem* node = c.Facts.Kind == nkNone ? nullptr : FindNode(*window, c.Facts.Kind, c.Under);
    ASSERT_EQ(node == nullptr, c.Facts.Kind == nkNone) << "no node of kind " << c.Facts.Kind;
    Select(*window, node);

    // The window sees the facts of the case.
    const TCommandFacts seen = window->CurrentFacts();
    EXPECT_EQ(seen.FileOpen, c.Facts.FileOpen);
    EXPECT_EQ(seen.Modified, c.Facts.Modified);
    EXPECT_EQ(seen.FileName.empty(), c.Facts.FileName.empty());
    EXPECT_EQ(seen.FindText, c.Facts.FindText);
    EXPECT_EQ(seen.Kind, c.Facts.Kind);
    EXPECT_EQ(seen.Private, c.Facts.Private);
    EXPECT_EQ(seen.CanPaste, c.Facts.CanPaste);
    EXPECT_EQ(seen.IsLeaf, c.Facts.IsLeaf);
    EXPECT_EQ(seen.HasStoredChildren, c.Facts.HasStoredChildren);

    // Every command of the expectation, and every command the pass names, as the window shows it.
    const TCommandStates expected = ExpectedCommandStates(c.Facts);
    std::set<std::string> names;
    for (const auto& [name, state] : expected.Commands) names.insert(name);
    for (const auto& [name, state] : ComputeCommandStates(c.Facts).Commands) names.insert(name);
    for (const std::string& name : names) {
        const TCommandState want = expected.Of(name);
        const bool button = name.rfind("SpeedButton", 0) == 0;
        const QString actionName =
            button ? "MenuItem" + QString::fromStdString(name.substr(std::string("SpeedButton").size()))
                   : QString::fromStdString(name);
        QAction* a = window->Command(actionName);
        ASSERT_NE(a, nullptr) << name;
        if (button) {
            QToolButton* b = window->SpeedButton(QString::fromStdString(name));
            ASSERT_NE(b, nullptr) << name;
            EXPECT_EQ(b->defaultAction(), a) << name;
            EXPECT_EQ(b->isEnabled(), a->isEnabled()) << name;
        }
        // Qt reports a hidden action as disabled, whatever its own state.
        if (want.Enabled) {
            EXPECT_EQ(a->isEnabled(), *want.Enabled && a->isVisible()) << name;
        }
        if (want.Visible) {
            EXPECT_EQ(a->isVisible(), *want.Visible) << name;
        }
        if (!want.CaptionKey.empty()) {
            EXPECT_EQ(a->text(), Text(want.CaptionKey)) << name;
        }
        if (!want.HintKey.empty()) {
            EXPECT_EQ(a->toolTip(), Text(want.HintKey)) << name;
        }
    }
    // What no pass touches keeps its state from the window's creation.
    EXPECT_TRUE(window->MenuItemFileExit->isEnabled());
    QString title = Text("MAIN_F_WINDOW_CAPTION");
    if (expected.CaptionFileName) title += " (" + QString::fromStdString(path) + ")";
    EXPECT_EQ(window->windowTitle(), title);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowCommands, ::testing::ValuesIn(WindowCases()),
                         [](const auto& testCase) { return testCase.param.Name; });

TEST_F(MainWindow, EveryCommandIsThereWithItsShortcut) {
    struct Row {
        const char* Name;
        QKeySequence Shortcut;
        const char* Button;   // the tool bar that shows it, or ""
    };
    const Row rows[] = {
        {"MenuItemProjectCreate", QKeySequence(Qt::CTRL | Qt::Key_N), "ToolBarFile"},
        {"MenuItemProjectOpen", QKeySequence(Qt::CTRL | Qt::Key_O), "ToolBarFile"},
        {"MenuItemProjectSave", QKeySequence(Qt::CTRL | Qt::Key_S), "ToolBarFile"},
        {"MenuItemProjectSaveAs", {}, "ToolBarFile"},
        {"MenuItemProjectClose", {}, "ToolBarFile"},
        {"MenuItemFileImportTests", {}, "ToolBarFile"},
        {"MenuItemFileExportTests", {}, "ToolBarFile"},
        {"MenuItemFileExit", QKeySequence(Qt::CTRL | Qt::Key_E), "ToolBarFile"},
        {"MenuItemEditFind", QKeySequence(Qt::CTRL | Qt::Key_F), "ToolBarEdit"},
        {"MenuItemEditFindNext", QKeySequence(Qt::Key_F3), "ToolBarEdit"},
        {"MenuItemEditCut", QKeySequence(Qt::CTRL | Qt::Key_X), ""},
        {"MenuItemEditCopy", QKeySequence(Qt::CTRL | Qt::Key_C), ""},
        {"MenuItemEditPaste", QKeySequence(Qt::CTRL | Qt::Key_V), ""},
        {"MenuItemEditToolbarFile", {}, ""},
        {"MenuItemEditToolbarHelp", {}, ""},
        {"MenuItemEditToolbarsSetup", {}, "ToolBarEdit"},
        {"MenuItemViewShowChildNodes", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), "ToolBarView"},
        {"MenuItemViewHideChildNodes", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_H), "ToolBarView"},
        {"MenuItemObjectCreate", QKeySequence(Qt::SHIFT | Qt::Key_Insert), "ToolBarObject"},
        {"MenuItemObjectChange", QKeySequence(Qt::SHIFT | Qt::Key_Return), "ToolBarObject"},
        {"MenuItemObjectRemove", QKeySequence(Qt::SHIFT | Qt::Key_Delete), "ToolBarObject"},
        {"MenuItemObjectArrangeItems", {}, "ToolBarObject"},
        {"MenuItemObjectRemoveChildren", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D), "ToolBarObject"},
        {"MenuItemObjectRunTest", QKeySequence(Qt::CTRL | Qt::Key_R), "ToolBarObject"},
        {"CascadeMenuItem", {}, ""},
        {"TileMenuItem", {}, ""},
        {"MenuItemHelpContext", {}, "ToolBarHelp"},
        {"MenuItemHelpHomepage", {}, "ToolBarHelp"},
        {"MenuItemHelpSupport", {}, "ToolBarHelp"},
        {"MenuItemHelpAbout", {}, ""},
        {"MenuItemDebugShowDM", {}, ""},
        {"MenuItemDebugHideDM", {}, ""},
    };
    for (const Row& row : rows) {
        QAction* a = window->Command(row.Name);
        ASSERT_NE(a, nullptr) << row.Name;
        EXPECT_EQ(a->shortcut(), row.Shortcut) << row.Name;
        const QString buttonName = "SpeedButton" + QString(row.Name).mid(8);
        QToolButton* button = window->SpeedButton(buttonName);
        if (*row.Button) {
            ASSERT_NE(button, nullptr) << row.Name;
            EXPECT_EQ(button->defaultAction(), a);
            EXPECT_EQ(button->parentWidget()->objectName(), row.Button) << row.Name;
        } else {
            EXPECT_EQ(button, nullptr) << row.Name;
        }
    }
    // The menus in their order; the Window menu is the fifth.
    QStringList menus;
    for (QAction* a : window->menuBar()->actions()) menus << a->menu()->objectName();
    EXPECT_EQ(menus, QStringList({"MenuItemFile", "MenuItemEdit", "MenuItemView", "MenuItemObject", "WindowMenuItem",
                                  "MenuItemHelp", "MenuItemDebugging"}));
    QStringList popup;
    for (QAction* a : window->PopupMenu->actions()) popup << a->objectName();
    EXPECT_EQ(popup, QStringList({"PopupItemCut", "PopupItemCopy", "PopupItemPaste", "PopupItemPasteChildrenSeparator",
                                  "PopupItemCreate", "PopupItemChange", "PopupItemRemove",
                                  "PopupItemRemoveChildrenSeparator", "PopupItemArrangeItems",
                                  "PopupItemRemoveChildren", "PopupItemExportTestSeparator", "PopupItemImportTest",
                                  "PopupItemExportTest", "PopupItemRunTestSeparator", "PopupItemRunTest",
                                  "PopupItemFastImportTestSeparator", "PopupItemFastImportScales",
                                  "PopupItemFastImportStimuls"}));
}

TEST_F(MainWindow, EveryTextComesFromTheLanguageFile) {
    Open(CaseProject());
    for (QAction* a : window->findChildren<QAction*>()) {
        EXPECT_NE(a->text(), TLanguageTexts::kAbsent) << a->objectName().toStdString();
        EXPECT_NE(a->toolTip(), TLanguageTexts::kAbsent) << a->objectName().toStdString();
    }
    for (QWidget* w : window->findChildren<QWidget*>())
        EXPECT_NE(w->toolTip(), TLanguageTexts::kAbsent) << w->objectName().toStdString();
    for (QMenu* m : window->findChildren<QMenu*>()) {
        EXPECT_NE(m->title(), TLanguageTexts::kAbsent);
    }
    EXPECT_EQ(window->ToolBarObject->windowTitle(), "Object");
}

TEST_F(MainWindow, TheToolbarsSubmenuShowsAndHidesItsToolBar) {
    EXPECT_TRUE(window->MenuItemEditToolbarHelp->isChecked());
    window->MenuItemEditToolbarHelp->trigger();
    EXPECT_TRUE(window->ToolBarHelp->isHidden());
    EXPECT_FALSE(window->MenuItemEditToolbarHelp->isChecked());
    EXPECT_FALSE(window->ToolBarFile->isHidden());
    window->MenuItemEditToolbarHelp->trigger();
    EXPECT_FALSE(window->ToolBarHelp->isHidden());
    EXPECT_TRUE(window->MenuItemEditToolbarHelp->isChecked());
}

TEST_F(MainWindow, AFloatingToolBarClosedFromItsOwnBoxClearsItsCheck) {
    // The close box of a floating tool bar delivers a close to the bar itself.
    window->ToolBarView->close();
    Flush();
    EXPECT_TRUE(window->ToolBarView->isHidden());
    EXPECT_FALSE(window->MenuItemEditToolbarView->isChecked());
    EXPECT_TRUE(window->MenuItemEditToolbarFile->isChecked());
    window->MenuItemEditToolbarView->trigger();
    EXPECT_FALSE(window->ToolBarView->isHidden());
    EXPECT_TRUE(window->MenuItemEditToolbarView->isChecked());
}

TEST_F(MainWindow, ToolbarSetupHidesAndShowsToolBarsAtOnceAndTheMenuFollowsWhenItCloses) {
    // A caption the language file does not have: the dialog shows the tool bar's own.
    window->ToolBarView->setWindowTitle("Looking");
    window->MenuItemEditToolbarObject->trigger();
    ASSERT_TRUE(window->ToolBarObject->isHidden());
    int shown = 0;
    {
        platform::ScopedModalHook hook([&](QDialog& d) {
            auto* form = qobject_cast<TToolbarForm*>(&d);
            EXPECT_NE(form, nullptr);
            if (!form) return int(QDialog::Rejected);
            ++shown;
            EXPECT_EQ(window->ToolbarSetupForm, form);
            EXPECT_EQ(form->parentWidget(), window.get());
            EXPECT_EQ(form->MainHandle, window->Handle());
            form->show();
            Flush();
            QListWidget* list = form->ToolbarCheckListBox;
            QStringList items;
            for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
            EXPECT_EQ(items, QStringList({"File", "Edit", "Looking", "Object", "Help"}));
            EXPECT_EQ(list->item(3)->checkState(), Qt::Unchecked);
            EXPECT_EQ(list->item(4)->checkState(), Qt::Checked);
            // Unticking Help hides its tool bar at once; the menu waits for the dialog's end.
            list->setCurrentRow(4);
            QTest::keyClick(list, Qt::Key_Space);
            EXPECT_TRUE(window->ToolBarHelp->isHidden());
            EXPECT_TRUE(window->MenuItemEditToolbarHelp->isChecked());
            // The same box twice: shown and hidden again.
            list->setCurrentRow(0);
            QTest::keyClick(list, Qt::Key_Space);
            EXPECT_TRUE(window->ToolBarFile->isHidden());
            QTest::keyClick(list, Qt::Key_Space);
            EXPECT_FALSE(window->ToolBarFile->isHidden());
            // Object back on.
            list->setCurrentRow(3);
            QTest::keyClick(list, Qt::Key_Space);
            EXPECT_FALSE(window->ToolBarObject->isHidden());
            QTest::mouseClick(form->CloseBitBtn, Qt::LeftButton);
            return form->result();
        });
        ASSERT_TRUE(window->MenuItemEditToolbarsSetup->isEnabled());
        window->SpeedButton("SpeedButtonEditToolbarsSetup")->click();
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window->ToolbarSetupForm, nullptr);
    const std::pair<QAction*, QToolBar*> bars[] = {
        {window->MenuItemEditToolbarFile, window->ToolBarFile},     {window->MenuItemEditToolbarEdit, window->ToolBarEdit},
        {window->MenuItemEditToolbarView, window->ToolBarView},     {window->MenuItemEditToolbarObject, window->ToolBarObject},
        {window->MenuItemEditToolbarHelp, window->ToolBarHelp},
    };
    for (const auto& [item, bar] : bars) EXPECT_EQ(item->isChecked(), !bar->isHidden()) << bar->objectName().toStdString();
    EXPECT_TRUE(window->ToolBarHelp->isHidden());
    EXPECT_FALSE(window->MenuItemEditToolbarHelp->isChecked());
}

TEST_F(MainWindow, TheToolbarsMessageWithoutTheDialogChangesNothing) {
    platform::MessageHub().Send(window->Handle(), wm::WM_TOOLBARSCHANGED, 0, 0);
    for (QToolBar* bar : {window->ToolBarFile, window->ToolBarEdit, window->ToolBarView, window->ToolBarObject,
                          window->ToolBarHelp})
        EXPECT_FALSE(bar->isHidden());
}

TEST_F(MainWindow, HelpAboutShowsTheAboutBoxOfTheProgram) {
    Open(CaseProject());
    int shown = 0;
    {
        platform::ScopedModalHook hook([&](QDialog& d) {
            auto* about = qobject_cast<TFormAbout*>(&d);
            EXPECT_NE(about, nullptr);
            if (!about) return int(QDialog::Rejected);
            ++shown;
            EXPECT_EQ(about->parentWidget(), window.get());
            const TVersionInformation version(platform::ProgramFile());
            EXPECT_EQ(about->LabelVersionNumber->text().toStdString(), version.FileVersion);
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(window->MenuItemHelpAbout->isEnabled());
        window->MenuItemHelpAbout->trigger();
    }
    EXPECT_EQ(shown, 1);
}

// ---------------------------------------------------------------- project file commands

TEST_F(MainWindow, CreateMakesAnUnchangedProjectWithTheOneAdminUser) {
    window->MenuItemProjectCreate->trigger();
    ASSERT_NE(Store(), nullptr);
    ASSERT_EQ(Store()->Users.RecordCount(), 1);
    EXPECT_EQ(Store()->Users.At(0).ID, 1);
    EXPECT_EQ(Store()->Users.At(0).Name, "admin");
    EXPECT_EQ(Store()->Users.At(0).Password, "");
    for (const TObjectTable* table : Store()->AllTables()) {
        if (table == &Store()->Users) continue;
        EXPECT_EQ(table->RecordCount(), 0) << table->ClassName();
    }
    EXPECT_FALSE(Store()->IsModified());
    EXPECT_TRUE(Store()->FileName.empty());
    EXPECT_FALSE(window->MenuItemProjectSave->isEnabled());
    EXPECT_EQ(window->windowTitle(), Text("MAIN_F_WINDOW_CAPTION"));
    EXPECT_NE(window->Tree->topLevelItemCount(), 0);
    EXPECT_TRUE(env.Asked.empty());
}

TEST_F(MainWindow, TheEditAndArrangeCommandsReachTheTree) {
    Open(CaseProject());
    // Copy the scale of test 1 and paste it into the scales of the empty test 3.
    Select(*window, FindNode(*window, nkScale, 1));
    ASSERT_TRUE(window->MenuItemEditCopy->isEnabled());
    window->MenuItemEditCopy->trigger();
    Select(*window, FindNode(*window, nkScalesFolder, 3));
    ASSERT_TRUE(window->MenuItemEditPaste->isEnabled());
    window->MenuItemEditPaste->trigger();
    Flush();
    EXPECT_EQ(Store()->ScaleCount(3), 1);
    EXPECT_TRUE(window->MenuItemProjectSave->isEnabled());

    // Cut a question of test 1 and paste it into the questions of test 3.
    Select(*window, FindNode(*window, nkQuestion, 1));
    window->Command("PopupItemCut")->trigger();
    Select(*window, FindNode(*window, nkQuestionsFolder, 3));
    window->Command("PopupItemPaste")->trigger();
    Flush();
    EXPECT_EQ(Store()->StimulusCount(1), 1);
    EXPECT_EQ(Store()->StimulusCount(3), 1);

    // Arrange Items on test 1's questions shows the arrange dialog.
    Select(*window, FindNode(*window, nkQuestionsFolder, 1));
    ASSERT_TRUE(window->MenuItemObjectArrangeItems->isEnabled());
    int shown = 0;
    platform::ScopedModalHook hook([&](QDialog& d) {
        ++shown;
        EXPECT_EQ(d.objectName(), "FormArrangeItems");
        return 0;
    });
    window->MenuItemObjectArrangeItems->trigger();
    EXPECT_EQ(shown, 1);
}

TEST_F(MainWindow, OpenShowsTheProjectDialogAndLoadsTheFile) {
    const std::string path = CaseProject();
    Open(path);
    ASSERT_EQ(env.Dialogs.size(), 1u);
    const platform::TFileDialogRequest& r = env.Dialogs[0];
    EXPECT_EQ(r.Kind, platform::TFileDialogRequest::TKind::Open);
    EXPECT_EQ(r.Title, lang::GetMessageText("MAIN_F_PROJECT_OPENDIALOG_TITLE"));
    EXPECT_EQ(r.Filter, lang::GetMessageText("MAIN_F_PROJECT_FILTER_HEAD") + " (*.kvd)|*.kvd|" +
                            lang::GetMessageText("MAIN_F_DIALOG_FILTER_HEAD") + " (*.*)|*.*");
    EXPECT_TRUE(r.FileMustExist);
    ASSERT_NE(Store(), nullptr);
    EXPECT_EQ(Store()->FileName, path);
    EXPECT_EQ(Store()->Tests.RecordCount(), 3);
    EXPECT_FALSE(Store()->IsModified());
    EXPECT_NE(FindNode(*window, nkTest, 2), nullptr);
}

TEST_F(MainWindow, OpenThenCancelKeepsTheProjectAndAsksNothing) {
    Open(CaseProject());
    Change();
    TFileAccess* before = Store();
    env.Files.push_back(std::nullopt);
    window->MenuItemProjectOpen->trigger();
    EXPECT_EQ(Store(), before);
    EXPECT_TRUE(Store()->IsModified());
    EXPECT_TRUE(env.Asked.empty());
    EXPECT_NE(window->Tree->topLevelItemCount(), 0);
}

TEST_F(MainWindow, AModifiedProjectAsksOnceOnClose) {
    const std::string path = CaseProject();
    Open(path);
    const std::string bytes = ReadBytes(path);
    Change();
    env.Answers.push_back(TMessageDialog::mrNo);
    window->MenuItemProjectClose->trigger();
    ASSERT_EQ(env.Asked.size(), 1u);
    EXPECT_EQ(env.Asked[0].Title, lang::GetMessageText("MAIN_F_PROJECT_CONFIRM_SAVE_DLGNAM"));
    EXPECT_EQ(env.Asked[0].Caption, lang::GetMessageText("MAIN_F_PROJECT_CONFIRM_SAVE_DLGCAP"));
    EXPECT_EQ(env.Asked[0].Type, mdYesNo);
    EXPECT_EQ(Store(), nullptr);
    EXPECT_EQ(window->Tree->topLevelItemCount(), 0);
    EXPECT_EQ(ReadBytes(path), bytes);
    // An unchanged project closes without a question.
    Open(path);
    window->MenuItemProjectClose->trigger();
    EXPECT_EQ(env.Asked.size(), 1u);
    EXPECT_EQ(Store(), nullptr);
}

TEST_F(MainWindow, LeavingWithAModifiedProjectAsksOnceAndNoStillLeaves) {
    Open(CaseProject());
    Change();
    env.Answers.push_back(TMessageDialog::mrNo);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(env.Asked.size(), 1u);
    EXPECT_EQ(Store(), nullptr);
}

TEST_F(MainWindow, YesSavesBeforeClosing) {
    const std::string path = CaseProject();
    Open(path);
    Change();
    env.Answers.push_back(TMessageDialog::mrYes);
    window->MenuItemProjectClose->trigger();
    EXPECT_EQ(Store(), nullptr);
    TFileAccess reloaded(path, platform::FormatSettings::Posix());
    ASSERT_TRUE(reloaded.LoadAll());
    EXPECT_EQ(reloaded.TestGroups.RecordCount(), 3);
}

TEST_F(MainWindow, SaveAsAppendsTheExtensionAndTheFileReloadsEqual) {
    Open(CaseProject());
    Change();
    const std::string chosen = dir.File("name");
    env.Files.push_back(chosen);
    window->MenuItemProjectSaveAs->trigger();
    ASSERT_EQ(env.Dialogs.size(), 2u);
    const platform::TFileDialogRequest& r = env.Dialogs[1];
    EXPECT_EQ(r.Kind, platform::TFileDialogRequest::TKind::Save);
    EXPECT_EQ(r.Title, lang::GetMessageText("MAIN_F_PROJECT_SAVEDIALOG_TITLE"));
    EXPECT_EQ(r.Filter, lang::GetMessageText("MAIN_F_PROJECT_FILTER_HEAD") + " (*.kvd)|*.kvd");
    EXPECT_EQ(r.DefaultExt, "kvd");
    EXPECT_TRUE(r.OverwritePrompt);
    EXPECT_EQ(Store()->FileName, chosen + ".kvd");
    EXPECT_FALSE(Store()->IsModified());
    EXPECT_FALSE(window->MenuItemProjectSave->isEnabled());
    EXPECT_EQ(window->windowTitle(), Text("MAIN_F_WINDOW_CAPTION") + " (" + QString::fromStdString(chosen) + ".kvd)");
    TFileAccess reloaded(chosen + ".kvd", platform::FormatSettings::Posix());
    ASSERT_TRUE(reloaded.LoadAll()) << reloaded.LastError;
    EXPECT_TRUE(SameTables(reloaded, *Store()));
}

TEST_F(MainWindow, SaveOfANewProjectAsksForAName) {
    window->MenuItemProjectCreate->trigger();
    Change();
    env.Files.push_back(dir.File("first.kvd"));
    window->MenuItemProjectSave->trigger();
    ASSERT_EQ(env.Dialogs.size(), 1u);
    EXPECT_EQ(env.Dialogs[0].Kind, platform::TFileDialogRequest::TKind::Save);
    EXPECT_EQ(Store()->FileName, dir.File("first.kvd"));
    EXPECT_FALSE(ReadBytes(dir.File("first.kvd")).empty());
    // Then Save writes to that name without asking.
    Change();
    window->MenuItemProjectSave->trigger();
    EXPECT_EQ(env.Dialogs.size(), 1u);
    EXPECT_FALSE(Store()->IsModified());
}

TEST_F(MainWindow, AFailedSaveKeepsNameModifiedAndProject) {
    const std::string path = CaseProject();
    Open(path);
    Change();
    TFileAccess* before = Store();
    env.Files.push_back(dir.File("missing-folder/name.kvd"));
    window->MenuItemProjectSaveAs->trigger();
    EXPECT_EQ(Store(), before);
    EXPECT_EQ(Store()->FileName, path);
    EXPECT_TRUE(Store()->IsModified());
    EXPECT_TRUE(window->MenuItemProjectSave->isEnabled());
    EXPECT_FALSE(env.Interaction.Messages.empty()) << "the failure was not reported";
    EXPECT_EQ(window->windowTitle(), Text("MAIN_F_WINDOW_CAPTION") + " (" + QString::fromStdString(path) + ")");
    // A plain Save that fails keeps all as well.
    Store()->FileName = dir.File("missing-folder/other.kvd");
    window->MenuItemProjectSave->trigger();
    EXPECT_EQ(Store(), before);
    EXPECT_TRUE(Store()->IsModified());
}

// Yes to saving, then no save: the command that asked is abandoned and nothing is thrown away.
TEST_F(MainWindow, YesWithoutASaveAbandonsTheCommand) {
    struct Row {
        const char* Name;
        std::function<void(MainWindow&)> Command;
        bool CancelTheDialog;   // else the save fails
    };
    const std::string other = CaseProject("other.kvd");
    const Row rows[] = {
        {"Close", [](MainWindow& t) { t.window->MenuItemProjectClose->trigger(); }, true},
        {"Create", [](MainWindow& t) { t.window->MenuItemProjectCreate->trigger(); }, true},
        {"Open",
         [&](MainWindow& t) {
             t.env.Files.push_front(other);
             t.window->MenuItemProjectOpen->trigger();
         },
         true},
        {"LeavingTheProgram", [](MainWindow& t) { EXPECT_FALSE(t.window->close()); }, true},
        {"CloseWithAFailedSave", [](MainWindow& t) { t.window->MenuItemProjectClose->trigger(); }, false},
        {"LeavingWithAFailedSave", [](MainWindow& t) { EXPECT_FALSE(t.window->close()); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        window->MenuItemProjectCreate->trigger();
        Change();
        TFileAccess* before = Store();
        env.Answers.push_back(TMessageDialog::mrYes);
        if (row.CancelTheDialog) {
            env.Files.push_back(std::nullopt);
        } else {
            env.Files.push_back(dir.File("missing-folder/name.kvd"));
        }
        row.Command(*this);
        EXPECT_TRUE(env.Files.empty());
        EXPECT_EQ(Store(), before);
        ASSERT_NE(Store(), nullptr);
        EXPECT_TRUE(Store()->IsModified());
        EXPECT_TRUE(Store()->FileName.empty());
        EXPECT_TRUE(window->isVisible());
        EXPECT_NE(window->Tree->topLevelItemCount(), 0);
        // Leave it for the next row.
        Store()->SetModified(false);
        window->MenuItemProjectClose->trigger();
    }
}

TEST_F(MainWindow, AnAbandonedCloseKeepsTheRunningTests) {
    Open(CaseProject());
    ASSERT_NE(RunTestOf(1), nullptr);
    Change();
    const std::string name = Store()->FileName;
    Store()->FileName = dir.File("missing-folder/project.kvd");   // Yes, and the save fails
    env.Answers.push_back(TMessageDialog::mrYes);
    window->MenuItemProjectClose->trigger();
    Flush();
    ASSERT_NE(Store(), nullptr);
    EXPECT_TRUE(Store()->IsModified());
    EXPECT_EQ(OpenTestWindows(), 1);
    EXPECT_EQ(window->WindowMenuItems().size(), 1);
    EXPECT_NE(window->Runners().FindChildForm(LastWindowHandle()), nullptr);
    // Now without changes: Close frees the window with its runner and menu item.
    Store()->FileName = name;
    Store()->SetModified(false);
    window->MenuItemProjectClose->trigger();
    Flush();
    EXPECT_EQ(OpenTestWindows(), 0);
    EXPECT_TRUE(window->WindowMenuItems().isEmpty());
}

TEST_F(MainWindow, DismissingTheQuestionKeepsTheProject) {
    window->MenuItemProjectCreate->trigger();
    Change();
    env.Answers.push_back(TMessageDialog::mrNone);
    window->MenuItemProjectClose->trigger();
    ASSERT_NE(Store(), nullptr);
    EXPECT_TRUE(Store()->IsModified());
    Store()->SetModified(false);
}

TEST_F(MainWindow, OpenAsksAboutTheOldProjectOnlyAfterTheNewFileWasChosen) {
    Open(CaseProject());
    Change();
    const std::string other = CaseProject("other.kvd");
    env.Log.clear();
    env.Answers.push_back(TMessageDialog::mrNo);
    Open(other);
    EXPECT_EQ(env.Log, (std::vector<std::string>{"file:" + lang::GetMessageText("MAIN_F_PROJECT_OPENDIALOG_TITLE"),
                                                 "question:" + lang::GetMessageText("MAIN_F_PROJECT_CONFIRM_SAVE_DLGCAP")}));
    ASSERT_NE(Store(), nullptr);
    EXPECT_EQ(Store()->FileName, other);
    EXPECT_FALSE(Store()->IsModified());
}

TEST_F(MainWindow, AFailedOpenKeepsTheOpenProjectAsItWas) {
    struct Row {
        const char* Name;
        enum { None, File, Folder } Kind;
        std::string Bytes;   // the file's content
    };
    const Row rows[] = {{"MissingFile", Row::None, ""},
                        {"EmptyFile", Row::File, ""},
                        {"TextFile", Row::File, "this is not a project\n"},
                        {"Folder", Row::Folder, ""}};
    const std::string project = CaseProject();
    Open(project);
    Change();
    const int nodes = window->Tree->topLevelItemCount();
    const QString caption = window->windowTitle();
    ASSERT_GT(nodes, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        env.Asked.clear();
        env.Interaction.Errors.clear();
        const std::string path = dir.File(std::string(row.Name) + ".kvd");
        if (row.Kind == Row::File) WriteBytes(path, row.Bytes);
        if (row.Kind == Row::Folder) std::filesystem::create_directory(path);
        if (row.Kind != Row::None) env.Answers.push_back(TMessageDialog::mrOk);
        Open(path);

        ASSERT_NE(Store(), nullptr);
        EXPECT_EQ(Store()->FileName, project);
        EXPECT_TRUE(Store()->IsModified());
        EXPECT_TRUE(HasTheChange());
        EXPECT_EQ(window->Tree->topLevelItemCount(), nodes);
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_TRUE(window->MenuItemProjectSave->isEnabled());
        EXPECT_TRUE(window->MenuItemProjectClose->isEnabled());
        if (row.Kind == Row::None) {
            EXPECT_TRUE(env.Asked.empty());
            EXPECT_EQ(env.Interaction.Errors, std::vector<std::string>{lang::GetMessageText("MAIN_F_PROJECT_NO_FILE")});
            continue;
        }
        // One message, naming the file on its last line; no question about saving.
        ASSERT_EQ(env.Asked.size(), 1u);
        EXPECT_EQ(env.Asked[0].Title, "Orvyl");
        EXPECT_EQ(env.Asked[0].Type, mdOk);
        const std::string& shown = env.Asked[0].Caption;
        const std::size_t lineBreak = shown.find('\n');
        ASSERT_NE(lineBreak, std::string::npos) << shown;
        EXPECT_EQ(shown.substr(shown.rfind('\n') + 1), path);
        if (row.Kind == Row::File) {
            // The language file's text, then the line that says where the file is damaged.
            EXPECT_EQ(shown.substr(0, lineBreak), lang::GetMessageText("FILEACC_FILE_VIOLATED_MSG"));
            const std::string where = shown.substr(lineBreak + 1, shown.rfind('\n') - lineBreak - 1);
            EXPECT_NE(where.find(lang::GetMessageText("FILEACC_DAMAGE_MISSING_SECTION")), std::string::npos) << shown;
            EXPECT_EQ(ReadBytes(path), row.Bytes);
        }
    }
}

TEST_F(MainWindow, SavingTheOldProjectOverTheChosenFileOpensWhatWasSaved) {
    const std::string path = CaseProject();
    Open(path);
    Change();
    env.Answers.push_back(TMessageDialog::mrYes);
    Open(path);
    ASSERT_NE(Store(), nullptr);
    EXPECT_FALSE(Store()->IsModified());
    EXPECT_TRUE(HasTheChange());
}

TEST_F(MainWindow, TheExampleProjectOpensUnderEveryLocaleAndItsSavesUnderEveryOther) {
    const std::string example = std::string(ORVEL_TEST_DATA) + "/../../samples/example.kvd";
    TFileAccess expected(example, platform::FormatSettings::Posix());
    ASSERT_TRUE(expected.LoadAll()) << expected.LastError;
    const auto useWindowOf = [&](const LocaleCase& locale) {
        window = std::make_unique<TMainForm>(locale.Settings);
        window->show();
        Flush();
    };
    for (const LocaleCase& writer : CommonLocales()) {
        SCOPED_TRACE(writer.Name);
        useWindowOf(writer);
        Open(example);
        ASSERT_NE(Store(), nullptr);
        EXPECT_TRUE(SameTables(*Store(), expected));
        env.Files.push_back(dir.File(writer.Name + ".kvd"));
        window->MenuItemProjectSaveAs->trigger();
        ASSERT_EQ(Store()->FileName, dir.File(writer.Name + ".kvd"));
    }
    for (const LocaleCase& reader : CommonLocales()) {
        useWindowOf(reader);
        for (const LocaleCase& writer : CommonLocales()) {
            SCOPED_TRACE(writer.Name + " -> " + reader.Name);
            Open(dir.File(writer.Name + ".kvd"));
            ASSERT_NE(Store(), nullptr);
            EXPECT_EQ(Store()->FileName, dir.File(writer.Name + ".kvd"));
            EXPECT_TRUE(SameTables(*Store(), expected));
        }
    }
    EXPECT_TRUE(env.Asked.empty());
}

TEST_F(MainWindow, TheUpdateCheckMayRefuseAFile) {
    auto check = std::make_unique<TRefuseEveryFile>();
    TRefuseEveryFile* seen = check.get();
    window->SetUpdateCheck(std::move(check));
    const std::string path = CaseProject();
    Open(path);
    EXPECT_EQ(seen->Checked, std::vector<std::string>{path});
    EXPECT_EQ(Store(), nullptr);
    EXPECT_TRUE(env.Asked.empty());
    EXPECT_TRUE(env.Interaction.Messages.empty());
    // What the check is to add to its reasons: nothing was opened, and nothing is open.
    EXPECT_EQ(seen->Notes, std::vector<std::string>{lang::GetMessageText("MAIN_F_PROJECT_NOT_OPENED") + " " +
                                                    lang::GetMessageText("MAIN_F_PROJECT_NONE_OPEN")});
}

// ---------------------------------------------------------------- test windows

TEST_F(MainWindow, RunningTheSameTestTwiceGivesOneWindowAndTheMessage) {
    Open(CaseProject());
    TRunTestForm* form = RunTestOf(1);
    ASSERT_NE(form, nullptr);
    RunTestOf(1);
    EXPECT_EQ(window->MdiArea->subWindowList().size(), 1);
    EXPECT_EQ(window->Runners().RunnerCount(), 1);
    EXPECT_EQ(window->WindowMenuItems().size(), 1);
    EXPECT_EQ(env.Interaction.Messages,
              std::vector<std::string>{lang::GetMessageText("OBJECTSTREE_TEST_TITLE") + " \"Open test\". " +
                                       lang::GetMessageText("RUNTEST_TEST_IS_ACTIVE")});
}

TEST_F(MainWindow, EveryNodeOfATestRunsThatTest) {
    Open(CaseProject());
    for (int kind : {nkScalesFolder, nkQuestionsFolder, nkScale, nkInterpretation, nkQuestion, nkAnswer, nkWeight}) {
        SCOPED_TRACE(kind);
        Select(*window, FindNode(*window, kind, 1));
        window->MenuItemObjectRunTest->trigger();
        ASSERT_EQ(window->Runners().RunnerCount(), 1);
        EXPECT_TRUE(window->Runners().IsTestWindowOpen(1));
        window->MenuItemProjectClose->trigger();
        Open(dir.File("project.kvd"));
    }
}

TEST_F(MainWindow, TheTreesRunTestGoesThroughTheMainWindow) {
    Open(CaseProject());
    Select(*window, FindNode(*window, nkTest, 1));
    window->Command("PopupItemRunTest")->trigger();
    Flush();
    EXPECT_TRUE(window->Runners().IsTestWindowOpen(1));
}

TEST_F(MainWindow, TwoTestsHaveAWindowMenuItemEachThatActivatesItsWindow) {
    Open(CaseProject());
    TRunTestForm* first = RunTestOf(1);
    TRunTestForm* second = RunTestOf(2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const QList<QAction*> items = window->WindowMenuItems();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), "ChildWindowMenu1");
    EXPECT_EQ(items[1]->objectName(), "ChildWindowMenu2");
    EXPECT_EQ(items[0]->text(), Text("RUN_TEST_MENU_ADDING") + " (Open test)");
    EXPECT_EQ(items[1]->text(), Text("RUN_TEST_MENU_ADDING") + " (Private test)");
    EXPECT_EQ(items[0]->property("Tag").toLongLong(), first->Handle());
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_EQ(window->WindowMenuItem->actions().mid(0, 2),
              (QList<QAction*>{window->CascadeMenuItem, window->TileMenuItem}));

    items[0]->trigger();
    Flush();
    EXPECT_EQ(window->MdiArea->activeSubWindow(), first->parentWidget());
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    items[1]->trigger();
    Flush();
    EXPECT_EQ(window->MdiArea->activeSubWindow(), second->parentWidget());
    EXPECT_FALSE(items[0]->isChecked());
    // Activated in the area itself, the window checks its own item.
    window->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    Flush();
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    window->CascadeMenuItem->trigger();
    window->TileMenuItem->trigger();
    EXPECT_EQ(window->MdiArea->subWindowList().size(), 2);
}

TEST_F(MainWindow, AChosenAnswerIsDrawnInTheChosenColourInsideTheMainWindow) {
    auto yellowPixels = [](QWidget& w) {
        const QImage image = w.grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() > 200 && c.blue() < 80) ++n;
            }
        return n;
    };
    Open(CaseProject());
    TRunTestForm* form = RunTestOf(1);
    form->MenuItemNext->trigger();
    Flush();
    ASSERT_EQ(form->View().AnswerTexts().size(), 2u);
    QWidget& answer = *form->View().AnswerTexts()[0];
    EXPECT_EQ(yellowPixels(answer), 0);
    QTest::mouseClick(&answer, Qt::LeftButton);
    Flush();
    EXPECT_GT(yellowPixels(answer), 0);
}

TEST_F(MainWindow, ClosingOneWindowLeavesTheOtherAnswering) {
    Open(CaseProject());
    TRunTestForm* first = RunTestOf(1);
    TRunTestForm* second = RunTestOf(2);
    QPointer<TRunTestForm> gone = first;
    // No to the window's question keeps it; Yes closes it.
    env.Answers = {TMessageDialog::mrNo, TMessageDialog::mrYes};
    first->MenuItemExit->trigger();
    Flush();
    ASSERT_FALSE(gone.isNull());
    EXPECT_EQ(window->Runners().RunnerCount(), 2);
    EXPECT_EQ(window->WindowMenuItems().size(), 2);
    first->MenuItemExit->trigger();
    Flush();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(window->Runners().RunnerCount(), 1);
    ASSERT_EQ(window->WindowMenuItems().size(), 1);
    EXPECT_EQ(window->WindowMenuItems()[0]->objectName(), "ChildWindowMenu2");
    TTestRunner* runner = window->Runners().FindRunner(second->Handle());
    ASSERT_NE(runner, nullptr);
    second->MenuItemNext->trigger();
    EXPECT_EQ(runner->Screen(), rsStimulus);
    EXPECT_EQ(runner->Current(), 0);
    // The count of the Window menu goes on.
    RunTestOf(1);
    EXPECT_EQ(window->WindowMenuItems().back()->objectName(), "ChildWindowMenu3");
}

TEST_F(MainWindow, CommandsOfAWindowWithoutRunnerGoNowhere) {
    Open(CaseProject());
    TRunTestForm* form = RunTestOf(1);
    form->MenuItemMaximizeToScreen->trigger();
    TTestRunner* runner = window->Runners().FindRunner(form->Handle());
    ASSERT_NE(window->Runners().FullScreenForm(), nullptr);
    // A window that is neither the run's own nor the full-screen one.
    TRunTestForm stray(nullptr, *Store(), window->Handle(), 1, "Open test");
    stray.MenuItemNext->trigger();
    EXPECT_EQ(runner->Screen(), rsInstruction);
    EXPECT_EQ(env.Interaction.Messages, std::vector<std::string>{lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW")});
    // The full-screen window's commands reach the run.
    window->Runners().FullScreenForm()->MenuItemNext->trigger();
    EXPECT_EQ(runner->Screen(), rsStimulus);
}

TEST_F(MainWindow, ClosingTheFullScreenWindowReturnsTheRunToItsOwnWindow) {
    Open(CaseProject());
    TRunTestForm* form = RunTestOf(1);
    form->MenuItemNext->trigger();
    form->MenuItemMaximizeToScreen->trigger();
    QPointer<TRunTestForm> full = window->Runners().FullScreenForm();
    ASSERT_FALSE(full.isNull());
    TTestRunner* runner = window->Runners().FindRunner(form->Handle());
    env.Answers.push_back(TMessageDialog::mrYes);
    full->close();
    Flush();
    EXPECT_TRUE(full.isNull());
    EXPECT_EQ(window->Runners().FullScreenForm(), nullptr);
    EXPECT_EQ(runner->HostMode(), hmOwnWindow);
    EXPECT_EQ(runner->Current(), 0);
    ASSERT_NE(form->View().Heading(), nullptr);
    EXPECT_EQ(form->View().Heading()->text(), "Question one");
    EXPECT_TRUE(form->MenuItemMaximizeToScreen->isEnabled());
    form->MenuItemNext->trigger();
    EXPECT_EQ(runner->Current(), 1);
}

namespace {

void FillOtherProject(TFileAccess& store) {
    store.TestGroups.AddTestGroup(Item<TTestGroup>(7, -1, "Other group", 1));
    store.Users.AddUser(1, "admin", "");
}

}  // namespace

// Create, Open of another file, Close and leaving each replace a project that has two test
// windows, one of them shown full screen as well, and a node marked for a move: nothing of the
// old project stays, the tree shows the new one and the commands follow it.
TEST_F(MainWindow, EveryWayOfReplacingTheProjectLeavesNothingBehind) {
    struct Row {
        const char* Name;
        std::function<void(MainWindow&)> Replace;
        // What the window shows afterwards; empty when no project is open.
        std::string Tree;
        bool WindowStays;
    };
    const std::string other = dir.File("other.kvd");
    WriteProject(other, FillOtherProject);
    const std::string emptyTree = "nkRoot -1 $ROOT\n  nkTestsRoot -1 $TESTS\n";
    const Row rows[] = {
        {"Create", [](MainWindow& t) { t.window->MenuItemProjectCreate->trigger(); }, emptyTree, true},
        {"OpenAnotherFile", [&other](MainWindow& t) { t.Open(other); },
         emptyTree + "    nkTestGroup 7 Other group\n", true},
        {"Close", [](MainWindow& t) { t.window->MenuItemProjectClose->trigger(); }, "", true},
        {"LeavingTheProgram", [](MainWindow& t) { EXPECT_TRUE(t.window->close()); }, "", false},
        {"Exit", [](MainWindow& t) { t.window->MenuItemFileExit->trigger(); }, "", false},
        {"DestroyingTheWindow", [](MainWindow& t) { t.window.reset(); }, "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        if (!window) {
            window = std::make_unique<TMainForm>(platform::FormatSettings::Posix());
            window->show();
        }
        Open(CaseProject());
        // As the user does it: a question cut, then two tests run, the first also full screen.
        Select(*window, FindNode(*window, nkQuestion, 1));
        PressKey(*window, Qt::Key_X, Qt::ControlModifier);
        QPointer<TRunTestForm> first;
        for (std::int32_t test : {1, 2}) {
            Select(*window, FindNode(*window, nkTest, test));
            PressKey(*window, Qt::Key_R, Qt::ControlModifier);
            if (!first) first = window->Runners().FindChildForm(LastWindowHandle());
        }
        ASSERT_FALSE(first.isNull());
        first->MenuItemMaximizeToScreen->trigger();
        Flush();
        QPointer<TRunTestForm> full = window->Runners().FullScreenForm();
        ASSERT_FALSE(full.isNull());
        ASSERT_EQ(OpenTestWindows(), 3);
        ASSERT_EQ(window->Runners().RunnerCount(), 2);
        ASSERT_EQ(window->WindowMenuItems().size(), 2);
        ASSERT_NE(window->Tree->MarkedNode(), nullptr);
        Select(*window, FindNode(*window, nkQuestionsFolder, 3));
        ASSERT_TRUE(window->MenuItemEditPaste->isEnabled());

        row.Replace(*this);
        Flush();
        EXPECT_EQ(OpenTestWindows(), 0);
        EXPECT_TRUE(full.isNull());
        EXPECT_TRUE(env.Asked.empty()) << "a window asked its close question";
        if (!row.WindowStays) {
            EXPECT_EQ(Store(), nullptr);
            if (window) {
                EXPECT_FALSE(window->isVisible());
            }
            window.reset();
            continue;
        }
        EXPECT_EQ(window->Runners().RunnerCount(), 0);
        EXPECT_EQ(window->Runners().FullScreenForm(), nullptr);
        EXPECT_EQ(window->Runners().FullScreenRunner(), nullptr);
        EXPECT_TRUE(window->WindowMenuItems().isEmpty());
        EXPECT_TRUE(window->MdiArea->subWindowList().isEmpty());
        EXPECT_EQ(window->Tree->MarkedNode(), nullptr);
        EXPECT_EQ(window->Tree->PastedNode(), nullptr);
        EXPECT_EQ(window->Tree->ClipboardMode(), TObjectsTree::cmNone);
        EXPECT_EQ(DumpTree(*window->Tree), WithTreeTitles(row.Tree));
        EXPECT_EQ(window->Tree->RootNode() != nullptr, !row.Tree.empty());
        EXPECT_EQ(window->Tree->TestsRootNode() != nullptr, !row.Tree.empty());
        // The commands follow the new project: nothing selected, nothing changed.
        EXPECT_EQ(Store() != nullptr, !row.Tree.empty());
        EXPECT_FALSE(window->MenuItemProjectSave->isEnabled());
        EXPECT_EQ(window->MenuItemProjectClose->isEnabled(), Store() != nullptr);
        EXPECT_FALSE(window->MenuItemEditPaste->isEnabled());
        EXPECT_FALSE(window->MenuItemEditCut->isEnabled());
        EXPECT_FALSE(window->MenuItemObjectRunTest->isEnabled());
        const QString caption = Store() && !Store()->FileName.empty()
                                    ? Text("MAIN_F_WINDOW_CAPTION") + " (" + QString::fromStdString(other) + ")"
                                    : Text("MAIN_F_WINDOW_CAPTION");
        EXPECT_EQ(window->windowTitle(), caption);
    }
    EXPECT_EQ(Store(), nullptr);
}

TEST_F(MainWindow, RunTestOpensItsWindowFillingTheAreaWithThePageShowing) {
    Open(CaseProject());
    TRunTestForm* form = RunTestOf(1);
    ASSERT_NE(form, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), window->MdiArea->viewport()->size()));
    EXPECT_GE(form->height(), 300);
    ASSERT_NE(form->View().Page(), nullptr);
    EXPECT_EQ(form->View().Page()->geometry(), form->rect());
    EXPECT_TRUE(form->View().Heading()->isVisible());
}

TEST_F(MainWindow, ATestWithALongNameKeepsTheWindowMenuNarrow) {
    Open(CaseProject());
    TTest test;
    Store()->GetTest(1, test);
    ASSERT_TRUE(Store()->Tests.Locate(1));
    Store()->Tests.EditObject(1, test.ParentID, std::string(255, 'W'), test.Description, test.Order);
    TRunTestForm* form = RunTestOf(1);
    ASSERT_NE(form, nullptr);
    const QList<QAction*> items = window->WindowMenuItems();
    ASSERT_EQ(items.size(), 1);
    EXPECT_TRUE(items[0]->text().startsWith(Text("RUN_TEST_MENU_ADDING") + " (WWW"));
    EXPECT_TRUE(items[0]->text().endsWith(QChar(0x2026)));
    EXPECT_LT(window->WindowMenuItem->sizeHint().width(), 2 * platform::kMaxMenuCaptionWidth);
}

TEST_F(MainWindow, ArrowKeysMoveThroughTheAnswersOfARunningTest) {
    Open(CaseProject());
    TRunTestForm* form = RunTestOf(1);
    ASSERT_NE(form, nullptr);
    form->MenuItemNext->trigger();
    Flush();
    ASSERT_EQ(form->View().AnswerTexts().size(), 2u);
    // The person clicks the window's page, then walks with the arrows, press and release.
    QApplication::setActiveWindow(window.get());
    window->Tree->setFocus();
    QTest::mouseClick(form->View().Panel(), Qt::LeftButton, {}, QPoint(5, 5));
    Flush();
    ASSERT_TRUE(form->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == form);
    std::vector<int> path;
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        Flush();
        path.push_back(form->View().FocusedAnswer());
        EXPECT_TRUE(form->isAncestorOf(QApplication::focusWidget())) << key;
    }
    // Down into the first answer and to the second, Right on to the Next link, Up back.
    EXPECT_EQ(path, (std::vector<int>{0, 1, -99999, 1}));
    EXPECT_EQ(window->Tree->SelectedNode(), FindNode(*window, nkTest, 1));
}

TEST_F(MainWindow, ANameTypedInTheTreeIsStoredBeforeAnyCommand) {
    struct Case {
        const char* Name;
        std::function<void(MainWindow&, QWidget& editor)> Command;
        bool Asks;   // the save question comes
    };
    const Case cases[] = {
        {"Change by its menu item", [](MainWindow& t, QWidget&) { t.window->MenuItemObjectChange->trigger(); }, false},
        {"Change by Shift+Return", [](MainWindow&, QWidget& editor) {
             QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
         }, false},
        {"File Close", [](MainWindow& t, QWidget&) { t.window->MenuItemProjectClose->trigger(); }, true},
        {"File Exit", [](MainWindow& t, QWidget&) { t.window->MenuItemFileExit->trigger(); }, true},
        {"the close box", [](MainWindow& t, QWidget&) { t.window->close(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!window) SetUp();
        Open(CaseProject());
        Select(*window, FindNode(*window, nkTest, 1));
        window->Tree->setFocus();
        QTest::keyClick(window->Tree, Qt::Key_F2);
        Flush();
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "Typed name");
        std::vector<std::string> shown;
        platform::ScopedModalHook hook([&](QDialog& d) {
            if (auto* f = qobject_cast<TPropertyForm*>(&d)) shown.push_back(f->NameEdit->text().toStdString());
            return 2;
        });
        if (c.Asks) env.Answers.push_back(TMessageDialog::mrNo);
        TTest stored;
        if (!c.Asks) {
            c.Command(*this, *editor);
            Flush();
            EXPECT_EQ(shown, std::vector<std::string>{"Typed name"});
            Store()->GetTest(1, stored);
            EXPECT_EQ(stored.Name, "Typed name");
            EXPECT_EQ(FindNode(*window, nkTest, 1)->text(0), "Typed name");
            EXPECT_TRUE(env.Asked.empty());
            env.Answers.push_back(TMessageDialog::mrNo);
            window->MenuItemProjectClose->trigger();
        } else {
            c.Command(*this, *editor);
            Flush();
            ASSERT_EQ(env.Asked.size(), 1u);
            EXPECT_EQ(env.Asked[0].Caption, lang::GetMessageText("MAIN_F_PROJECT_CONFIRM_SAVE_DLGCAP"));
        }
        env.Asked.clear();
        window.reset();
        Flush();
    }
}

// An empty name is refused with a message; while it is up the node shows its old name, and
// afterwards the old name stays, stored and shown, with one message only.
TEST_F(MainWindow, WhileAnEmptyNameIsRefusedTheNodeShowsItsOldName) {
    Open(CaseProject());
    QTreeWidgetItem* node = FindNode(*window, nkTest, 1);
    const QString old = node->text(0);
    ASSERT_FALSE(old.isEmpty());
    Select(*window, node);
    QApplication::setActiveWindow(window.get());
    window->Tree->setFocus();
    QTest::keyClick(window->Tree, Qt::Key_F2);
    Flush();
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    ASSERT_TRUE(editor->text().isEmpty());

    platform::QtUserInteraction boxes;
    platform::IUserInteraction* recording = platform::SetUserInteraction(&boxes);
    std::vector<std::string> messages;
    QStringList shownOverTheNode;
    platform::ScopedModalHook hook([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        if (!box) return 0;
        messages.push_back(box->text().toStdString());
        box->show();
        QApplication::setActiveWindow(box);
        Flush();
        // What the person sees where the node is: the editor over it, if it is still open, or
        // the node's caption.
        const QRect place = window->Tree->visualItemRect(node);
        QWidget* over = window->Tree->viewport()->childAt(place.center());
        auto* edit = qobject_cast<QLineEdit*>(over);
        shownOverTheNode << (edit && edit->isVisible() ? edit->text() : node->text(0));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Return);
        return box->result();
    });
    QTest::keyClick(editor, Qt::Key_Return);
    Flush();
    platform::SetUserInteraction(recording);
    EXPECT_EQ(messages, std::vector<std::string>{lang::GetMessageText("OBJECTSTREE_NAME_NOT_EMPTY")});
    EXPECT_EQ(shownOverTheNode, QStringList{old});
    EXPECT_EQ(FindNode(*window, nkTest, 1)->text(0), old);
    TTest stored;
    Store()->GetTest(1, stored);
    EXPECT_EQ(stored.Name, old.toStdString());
}

// A test without a creation date (as the converter brings them from the old layout) shows no
// date in its dialog, and OK keeps the zero it has.
TEST_F(MainWindow, ATestWithoutACreationDateShowsNoDateAndKeepsIt) {
    const std::string path = dir.File("undated.kvd");
    WriteProject(path, [](TFileAccess& s) {
        FillCommandCaseProject(s);
        TTest t;
        s.GetTest(1, t);
        t.Created = 0;
        s.UpdateTest(1, t);
    });
    Open(path);
    Select(*window, FindNode(*window, nkTest, 1));
    std::vector<std::string> shown;
    platform::ScopedModalHook hook([&](QDialog& d) {
        auto* f = qobject_cast<TTestForm*>(&d);
        if (!f) return 0;
        d.show();
        QApplication::setActiveWindow(&d);
        f->PageControlMain->setCurrentWidget(f->TabSheetOptions);
        Flush();
        shown.push_back(f->DateTimePickerTestCreated->text().toStdString());
        // The person looks at the field and leaves it; OK from the keyboard.
        f->DateTimePickerTestCreated->setFocus(Qt::TabFocusReason);
        shown.push_back(f->DateTimePickerTestCreated->text().toStdString());
        QTest::keyClick(f->DateTimePickerTestCreated, Qt::Key_Return);
        return d.result();
    });
    PressKey(*window, Qt::Key_Return, Qt::ShiftModifier);
    Flush();
    ASSERT_EQ(shown.size(), 2u) << "the test's dialog did not open";
    for (const std::string& text : shown) {
        EXPECT_EQ(text.find("1899"), std::string::npos) << text;
        EXPECT_EQ(text.find_first_not_of(' '), std::string::npos) << text;
    }
    TTest stored;
    Store()->GetTest(1, stored);
    EXPECT_EQ(stored.Created, 0.0);
}

namespace {

// Counts the progress windows shown while it lives, whoever shows them.
class ProgressWindowCounter : public QObject {
public:
    ProgressWindowCounter() { qApp->installEventFilter(this); }
    ~ProgressWindowCounter() override { qApp->removeEventFilter(this); }
    ProgressWindowCounter(const ProgressWindowCounter&) = delete;
    ProgressWindowCounter& operator=(const ProgressWindowCounter&) = delete;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "FormProcessBar") ++Shown;
        return false;
    }
    int Shown = 0;
};

}  // namespace

TEST_F(MainWindow, AnOldProjectOpensConvertedAfterYesAndKeepsABackup) {
    TConverterBinding converters(platform::ProgramFolder());
    window->SetUpdateCheck(std::make_unique<TConverterUpdateCheck>(converters));
    const std::string old = ReadBytes(std::string(ORVEL_TEST_DATA) + "/old_project.kvd");
    const std::string path = dir.File("old.kvd");
    WriteBytes(path, old);
    env.Interaction.YesNoAnswers = {true};
    // The converter library shows its own progress windows in a windowed host: one while it reads
    // the old file, one while it writes the new one.
    lang::InstallWindowProgress();
    ProgressWindowCounter progressWindows;
    Open(path);
    lang::SetProgressFactory(nullptr);
    EXPECT_EQ(progressWindows.Shown, 1 + 2) << "the update check's window and the converter's two";

    EXPECT_EQ(env.Interaction.Questions, std::vector<std::string>{lang::GetMessageText("UPDATEFILE_MUST_NEW_FILE")});
    EXPECT_TRUE(env.Interaction.Messages.empty());
    ASSERT_NE(Store(), nullptr);
    // The converted file is loaded, and the next save writes the program's own layout.
    EXPECT_TRUE(Store()->IsModified());
    EXPECT_EQ(ReadBytes(path + ".bak"), old);
    std::string expected =
        "nkRoot -1 $ROOT\n"
        "  nkTestsRoot -1 $TESTS\n"
        "    nkTestGroup 1 First group\n"
        "      nkTest 1 Study=habits\n"
        "        nkScalesFolder 1 $SCALES\n"
        "          nkScale 1 Organisation\n"
        "            nkInterpretation 1 Low\n"
        "            nkInterpretation 2 High\n"
        "        nkQuestionsFolder 1 $QUESTIONS\n"
        "          nkQuestion 1 I keep notes\n"
        "            nkAnswer 1 Yes\n"
        "              nkWeight 1 w\n"
        "            nkAnswer 2 No\n"
        "              nkWeight 2 w\n"
        "          nkQuestion 3 I plan my week\n"
        "            nkAnswer 4 Always\n"
        "              nkWeightNoScale 3 unbound\n"
        "    nkTestGroup 2 Second group\n"
        "      nkTest 2 Interests\n"
        "        nkScalesFolder 2 $SCALES\n"
        "          nkScale 2 Interest\n"
        "            nkInterpretation 3 Any\n"
        "        nkQuestionsFolder 2 $QUESTIONS\n"
        "          nkQuestion 2 Which subject?\n"
        "            nkAnswer 3 Physics\n"
        "              nkWeight 4 p\n";
    EXPECT_EQ(DumpTree(*window->Tree), WithTreeTitles(expected));

    // The fields the 1.4.2 layout carries arrive; a save then writes the coded layout that loads.
    const TTest& test = Store()->Tests.At(Store()->Tests.IndexOfID(2));
    EXPECT_EQ(test.Instruction, "Pick\r\n&one");
    EXPECT_EQ(test.MoveDirection, mdForwardOnly);
    EXPECT_EQ(test.TimeLimit, 30);
    EXPECT_EQ(Store()->Interpretations.At(Store()->Interpretations.IndexOfID(3)).Minimum, -0.75);
    window->MenuItemProjectSave->trigger();
    EXPECT_FALSE(Store()->IsModified());
    TFileAccess reloaded(path, platform::FormatSettings::Posix());
    ASSERT_TRUE(reloaded.LoadAll());
    EXPECT_TRUE(SameTables(reloaded, *Store()));
}

TEST_F(MainWindow, AnOldProjectThatIsNotConvertedStaysAsItWas) {
    TConverterBinding converters(platform::ProgramFolder());
    window->SetUpdateCheck(std::make_unique<TConverterUpdateCheck>(converters));
    std::string old = ReadBytes(std::string(ORVEL_TEST_DATA) + "/old_project.kvd");
    old.replace(old.find("INTERP_MAX=2.5"), 14, "INTERP_MAX=high");   // no number: the converter refuses it
    const std::string path = dir.File("old.kvd");
    WriteBytes(path, old);

    const std::string noneOpen =
        lang::GetMessageText("MAIN_F_PROJECT_NOT_OPENED") + " " + lang::GetMessageText("MAIN_F_PROJECT_NONE_OPEN");
    env.Interaction.YesNoAnswers = {false};
    Open(path);
    EXPECT_EQ(Store(), nullptr);
    EXPECT_EQ(env.Interaction.Messages,
              std::vector<std::string>{lang::GetMessageText("UPDATEFILE_NOT_CHANGED_FILE") + "\n" + noneOpen});
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));

    env.Interaction.Messages.clear();
    env.Interaction.YesNoAnswers = {true};
    Open(path);
    EXPECT_EQ(Store(), nullptr);
    EXPECT_EQ(env.Interaction.Messages,
              std::vector<std::string>{lang::GetMessageText("UPDATEFILE_PROBLEM_VER142") + "\n" +
                                       lang::GetMessageText("UPDATEFILE_BACKUP_KEPT") + " " + path + ".bak\n" +
                                       noneOpen});
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(ReadBytes(path + ".bak"), old);
}

// A refused file leaves the project that was open, and every refusal says so with its file.
TEST_F(MainWindow, ARefusedOldProjectSaysItWasNotOpenedAndWhatStaysOpen) {
    const std::string project = CaseProject();
    Open(project);
    ASSERT_NE(Store(), nullptr);
    Change();
    TConverterBinding converters(platform::ProgramFolder());
    window->SetUpdateCheck(std::make_unique<TConverterUpdateCheck>(converters));
    const std::string old = ReadBytes(std::string(ORVEL_TEST_DATA) + "/old_project.kvd");
    const std::string path = dir.File("old.kvd");
    WriteBytes(path, old);
    // The path is too long for the converters' call: refused before any question.
    const std::string deep = dir.File(std::string(200, 'd')) + "/" + std::string(60, 'o') + ".kvd";
    std::filesystem::create_directory(dir.File(std::string(200, 'd')));
    WriteBytes(deep, old);
    const std::string stillOpen = lang::GetMessageText("MAIN_F_PROJECT_NOT_OPENED") + " " +
                                  lang::GetMessageText("MAIN_F_PROJECT_STILL_OPEN") + "\n" + project;

    env.Interaction.YesNoAnswers = {false};
    Open(path);
    Open(deep);
    EXPECT_EQ(env.Interaction.Messages,
              (std::vector<std::string>{lang::GetMessageText("UPDATEFILE_NOT_CHANGED_FILE") + "\n" + stillOpen,
                                        lang::GetMessageText("UPDATEFILE_PATH_TOO_LONG") + "\n" + stillOpen}));
    ASSERT_NE(Store(), nullptr);
    EXPECT_EQ(Store()->FileName, project);
    EXPECT_TRUE(HasTheChange());
    EXPECT_TRUE(env.Asked.empty()) << "nobody was asked about saving";
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(ReadBytes(deep), old);
}

TEST_F(MainWindow, ThePopupExportAndImportWorkOnTheSelectedTestAndGroup) {
    Open(CaseProject());
    TempDir exchangeDir;
    const std::string path = exchangeDir.File("case.kvt");
    // On a node of another kind each asks for the right one.
    Select(*window, FindNode(*window, nkScale, 1));
    const std::size_t shown = env.Interaction.Messages.size();
    window->Command("PopupItemExportTest")->trigger();
    window->Command("PopupItemImportTest")->trigger();
    EXPECT_EQ(std::vector<std::string>(env.Interaction.Messages.begin() + static_cast<long>(shown),
                                       env.Interaction.Messages.end()),
              (std::vector<std::string>{lang::GetMessageText("MAIN_F_IMPORT_NEED_SEL_TEST"),
                                        lang::GetMessageText("MAIN_F_IMPORT_NEED_SEL_TESTGROUP")}));

    // The dialogs get the file name typed and are confirmed.
    platform::ScopedModalHook hook([&](QDialog& d) {
        d.findChild<QLineEdit*>("FilenameEdit")->setText(QString::fromStdString(path));
        d.findChild<QPushButton*>("ButtonOK")->click();
        return d.result();
    });
    QTreeWidgetItem* test = FindNode(*window, nkTest, 1);
    Select(*window, test);
    window->Command("PopupItemExportTest")->trigger();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(window->MenuItemProjectSave->isEnabled());

    const int tests = Store()->Tests.RecordCount();
    Select(*window, test->parent());
    window->Command("PopupItemImportTest")->trigger();
    EXPECT_EQ(Store()->Tests.RecordCount(), tests + 1);
    EXPECT_EQ(test->parent()->childCount(), Store()->TestCount(GetNodeID(test->parent())));
    // The imported test is there to save.
    EXPECT_TRUE(window->MenuItemProjectSave->isEnabled());
}
