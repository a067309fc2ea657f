#include "lang/LanguageController.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <memory>

#include "lang/DlgLangConverter.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kLanguage =
    "[Dialogues]\n"
    "SOME_MSG=x\n"
    "[RunTestForm]\n"
    "RunTestForm_cap=Running a test\n"
    "RunTestForm_hint=The test window\n"
    "OkButton_cap=&OK\n"
    "OkButton_hint=Closes the window\n"
    "EmptyButton_cap=\n"
    "EmptyButton_hint=\n"
    "LabelInfo_cap=Information\n"
    "CheckBoxPrivate_cap=Private\n"
    "GroupBoxMain_cap=Main\n"
    "ComboBoxKind_cap=Second\n"
    "EditName_cap=must not replace the content\n"
    "EditName_hint=Type a name\n"
    "MemoText_cap=must not replace the content\n"
    "MemoText_hint=Type a text\n"
    "SpinCount_hint=How many\n"
    "OwnButton_cap=from the file\n"
    "MenuFile_cap=&File\n"
    "MenuFile_hint=menus take no hint\n"
    "MenuItemOpen_cap=&Open\n"
    "MenuItemOpen_hint=menu items take no hint\n"
    "ToolButtonRun_cap=Run\n"
    "ToolButtonRun_hint=Runs the test\n"
    "TabSheetFirst_cap=First page\n"
    "TabSheetFirst_hint=The first page\n"
    "InnerButton_cap=belongs to the inner dialog\n"
    "[FindForm]\n"
    "FindForm_cap=Find\n"
    "[MainForm]\n"
    "MainForm_cap=Main window\n"
    "ToolBarFile_cap=File tools\n";

class WindowTexts : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir_.File("language.txt"), kLanguage);
        lang::SetLanguageFileName(dir_.File("language.txt"));
    }
    void TearDown() override { lang::SetLanguageFileName({}); }
    void Rewrite(const std::string& text) { WriteBytes(dir_.File("language.txt"), text); }
    void Remove() { std::remove(dir_.File("language.txt").c_str()); }

    TempDir dir_;
};

template <class T, class P>
T* Named(P* parent, const char* name) {
    auto* o = new T(parent);
    o->setObjectName(name);
    return o;
}

class TRunTestForm : public TLanguageController<QDialog> {
public:
    explicit TRunTestForm(const QString& name) {
        setObjectName(name);
        OkButton = Named<QPushButton>(this, "OkButton");
        EmptyButton = Named<QPushButton>(this, "EmptyButton");
        MissingButton = Named<QPushButton>(this, "MissingButton");
        OwnButton = Named<QPushButton>(this, "OwnButton");
        LabelInfo = Named<QLabel>(this, "LabelInfo");
        CheckBoxPrivate = Named<QCheckBox>(this, "CheckBoxPrivate");
        GroupBoxMain = Named<QGroupBox>(this, "GroupBoxMain");
        ComboBoxKind = Named<QComboBox>(GroupBoxMain, "ComboBoxKind");   // inside a group box
        ComboBoxKind->addItems({"First", "Second"});
        EditName = Named<QLineEdit>(this, "EditName");
        EditName->setText("content");
        MemoText = Named<QTextEdit>(this, "MemoText");
        MemoText->setPlainText("memo content");
        SpinCount = Named<QSpinBox>(this, "SpinCount");
        SpinCount->setValue(7);
        Unnamed = new QPushButton("unnamed", this);
        Internal = Named<QPushButton>(this, "qt_internal_button");
        Internal->setText("internal");

        MenuFile = Named<QMenu>(this, "MenuFile");
        MenuItemOpen = Named<QAction>(MenuFile, "MenuItemOpen");
        MenuFile->addAction(MenuItemOpen);
        Separator = MenuFile->addSeparator();
        Separator->setObjectName("SeparatorOne");

        ActionRun = new QAction("run", this);
        ToolButtonRun = Named<QToolButton>(this, "ToolButtonRun");
        ToolButtonRun->setDefaultAction(ActionRun);

        auto* tabs = Named<QTabWidget>(this, "PageControl");
        TabSheetFirst = Named<QWidget>(static_cast<QWidget*>(nullptr), "TabSheetFirst");
        tabs->addTab(TabSheetFirst, "tab");

        InnerDialog = Named<QDialog>(this, "InnerForm");
        InnerButton = Named<QPushButton>(InnerDialog, "InnerButton");
        InnerButton->setText("inner");

        ApplyLanguage();
        // The window's own set-up comes after the file's texts and wins.
        OwnButton->setText("set by the window");
    }
    using TLanguageController::ApplyLanguage;

    QPushButton *OkButton, *EmptyButton, *MissingButton, *OwnButton, *Unnamed, *Internal, *InnerButton;
    QLabel* LabelInfo;
    QCheckBox* CheckBoxPrivate;
    QGroupBox* GroupBoxMain;
    QComboBox* ComboBoxKind;
    QLineEdit* EditName;
    QTextEdit* MemoText;
    QSpinBox* SpinCount;
    QMenu* MenuFile;
    QAction *MenuItemOpen, *Separator, *ActionRun;
    QToolButton* ToolButtonRun;
    QWidget* TabSheetFirst;
    QDialog* InnerDialog;
};

const QString kAbsent = QString::fromLatin1(TLanguageTexts::kAbsent);

}  // namespace

TEST(LanguageController, SectionNameIsTheNameUpToItsFirstUnderscore) {
    EXPECT_EQ(TLanguageTexts::GetSectionName("RunTestForm_1"), "RunTestForm");
    EXPECT_EQ(TLanguageTexts::GetSectionName("FindForm"), "FindForm");
    EXPECT_EQ(TLanguageTexts::GetSectionName("A_B_C"), "A");
    EXPECT_EQ(TLanguageTexts::GetSectionName("_x"), "");
    EXPECT_EQ(TLanguageTexts::GetSectionName(""), "");
}

TEST_F(WindowTexts, AWindowTakesItsTextsFromItsOwnSection) {
    TRunTestForm w("RunTestForm_1");
    EXPECT_TRUE(w.LanguageApplied());
    EXPECT_EQ(w.windowTitle(), "Running a test");
    EXPECT_EQ(w.toolTip(), "The test window");
    EXPECT_EQ(w.OkButton->text(), "&OK");
    EXPECT_EQ(w.OkButton->toolTip(), "Closes the window");
    EXPECT_EQ(w.LabelInfo->text(), "Information");
    EXPECT_EQ(w.CheckBoxPrivate->text(), "Private");
    EXPECT_EQ(w.GroupBoxMain->title(), "Main");
    EXPECT_EQ(w.ComboBoxKind->currentText(), "Second");
    EXPECT_EQ(w.TabSheetFirst->toolTip(), "The first page");
    auto* tabs = w.findChild<QTabWidget*>("PageControl");
    EXPECT_EQ(tabs->tabText(tabs->indexOf(w.TabSheetFirst)), "First page");
}

TEST_F(WindowTexts, MissingKeysShowTheAbsentMarkAndEmptyValuesShowNothing) {
    TRunTestForm w("RunTestForm_1");
    EXPECT_EQ(w.MissingButton->text(), kAbsent);
    EXPECT_EQ(w.MissingButton->toolTip(), kAbsent);
    EXPECT_EQ(w.LabelInfo->toolTip(), kAbsent);
    EXPECT_EQ(w.EmptyButton->text(), "");
    EXPECT_EQ(w.EmptyButton->toolTip(), "");
}

TEST_F(WindowTexts, EditsKeepTheirContentAndTakeTheirHint) {
    TRunTestForm w("RunTestForm_1");
    EXPECT_EQ(w.EditName->text(), "content");
    EXPECT_EQ(w.EditName->toolTip(), "Type a name");
    EXPECT_EQ(w.MemoText->toPlainText(), "memo content");
    EXPECT_EQ(w.MemoText->toolTip(), "Type a text");
    EXPECT_EQ(w.SpinCount->value(), 7);
    EXPECT_EQ(w.SpinCount->toolTip(), "How many");
}

TEST_F(WindowTexts, TheWindowsOwnSetUpWins) {
    TRunTestForm w("RunTestForm");
    EXPECT_EQ(w.OwnButton->text(), "set by the window");
}

TEST_F(WindowTexts, MenusAndActionsTakeCaptionsOnly) {
    TRunTestForm w("RunTestForm_2");
    EXPECT_EQ(w.MenuFile->title(), "&File");
    EXPECT_EQ(w.MenuItemOpen->text(), "&Open");
    EXPECT_NE(w.MenuItemOpen->toolTip(), "menu items take no hint");
    EXPECT_TRUE(w.Separator->text().isEmpty());
    EXPECT_TRUE(w.Separator->isSeparator());
}

TEST_F(WindowTexts, AToolButtonShowingAnActionShowsTheHintThroughIt) {
    TRunTestForm w("RunTestForm_1");
    EXPECT_EQ(w.ActionRun->toolTip(), "Runs the test");
    EXPECT_EQ(w.ActionRun->statusTip(), "Runs the test");
}

TEST_F(WindowTexts, InternalsUnnamedObjectsAndOtherWindowsAreLeftAlone) {
    TRunTestForm w("RunTestForm_1");
    EXPECT_EQ(w.Unnamed->text(), "unnamed");
    EXPECT_TRUE(w.Unnamed->toolTip().isEmpty());
    EXPECT_EQ(w.Internal->text(), "internal");
    EXPECT_EQ(w.InnerButton->text(), "inner");
    EXPECT_TRUE(w.InnerDialog->windowTitle().isEmpty());
}

TEST_F(WindowTexts, TextsAreReadOnce) {
    TRunTestForm w("RunTestForm_1");
    Rewrite("[RunTestForm]\nOkButton_cap=changed\nRunTestForm_cap=changed\n");
    w.ApplyLanguage();
    EXPECT_EQ(w.OkButton->text(), "&OK");
    EXPECT_EQ(w.windowTitle(), "Running a test");
    // A window made afterwards reads the new file.
    TRunTestForm later("RunTestForm_3");
    EXPECT_EQ(later.OkButton->text(), "changed");
}

TEST_F(WindowTexts, WithoutALanguageFileEveryTextIsAbsent) {
    Remove();
    TRunTestForm w("RunTestForm_1");
    EXPECT_EQ(w.windowTitle(), kAbsent);
    EXPECT_EQ(w.OkButton->text(), kAbsent);
    EXPECT_EQ(w.MenuFile->title(), kAbsent);
    EXPECT_EQ(w.EditName->text(), "content");
}

namespace {

class TMainForm : public TLanguageController<QMainWindow> {
public:
    TMainForm() {
        setObjectName("MainForm");
        ToolBarFile = Named<QToolBar>(this, "ToolBarFile");
        addToolBar(ToolBarFile);
        menuBar()->setObjectName("MainMenu");
        ApplyLanguage();
    }
    QToolBar* ToolBarFile;
};

class TFindForm : public TLanguageController<QWidget> {
public:
    TFindForm() {
        setObjectName("FindForm");
        ApplyLanguage();
    }
};

class TManyComponents : public TLanguageController<QWidget> {
public:
    explicit TManyComponents(int count) {
        setObjectName("RunTestForm");
        for (int i = 0; i < count; ++i) Actions.push_back(Named<QAction>(this, "OkButton"));
        ApplyLanguage();
    }
    std::vector<QAction*> Actions;
};

}  // namespace

TEST_F(WindowTexts, WorksForMainWindowsAndPlainWidgets) {
    TMainForm main;
    EXPECT_EQ(main.windowTitle(), "Main window");
    EXPECT_EQ(main.ToolBarFile->windowTitle(), "File tools");
    EXPECT_TRUE(main.menuBar()->toolTip().isEmpty());
    TFindForm find;
    EXPECT_EQ(find.windowTitle(), "Find");
    EXPECT_EQ(find.toolTip(), kAbsent);
}

TEST_F(WindowTexts, OnlyTheFirst100000ComponentsTakeTexts) {
    TManyComponents w(TLanguageTexts::kMaxComponents + 2);
    EXPECT_EQ(w.Actions.front()->text(), "&OK");
    EXPECT_EQ(w.Actions[TLanguageTexts::kMaxComponents - 1]->text(), "&OK");
    EXPECT_TRUE(w.Actions[TLanguageTexts::kMaxComponents]->text().isEmpty());
    EXPECT_TRUE(w.Actions.back()->text().isEmpty());
}
