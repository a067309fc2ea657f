// Find, Find Next and the quick import as the user reaches them in the main window: the keys
// Ctrl+F and F3, the Find dialog, the kept search and the enabling of Find Next, the popup's
// import items.
#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "lang/DlgLangConverter.h"
#include "platform/SafeFile.h"
#include "platform/qt/ModalDialogs.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/CommandCases.h"
#include "tests/support/TempDir.h"
#include "tests/tree/DialogTestSupport.h"
#include "tree/FindForm.h"
#include "tree/NodeSearch.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

// Works the Find dialog, when it comes up, as a person does; keeps how it came up.
class AnswerFind {
public:
    using Work = std::function<void(TFindForm&)>;
    explicit AnswerFind(Work work)
        : work_(std::move(work)), hook_([this](QDialog& d) {
              auto* form = dynamic_cast<TFindForm*>(&d);
              if (!form) {
                  ADD_FAILURE() << "another dialog came up";
                  return 0;
              }
              ++Shown;
              Text = form->ObjectEdit->text().toStdString();
              Flags = form->SearchFlags;
              Type = form->SearchType;
              form->show();
              work_(*form);
              const int result = ResultOnceClosed(*form);
              EXPECT_NE(result, kStillOpen) << "the window stayed open";
              return result;
          }) {}
    int Shown = 0;
    std::string Text;
    std::uint8_t Flags = 0;
    std::uint8_t Type = 0;

private:
    Work work_;
    platform::ScopedModalHook hook_;
};

// Types text into the edit and presses Enter.
AnswerFind::Work Type(const char* text) {
    return [text](TFindForm& f) {
        f.ObjectEdit->selectAll();
        QTest::keyClicks(f.ObjectEdit, text);
        QTest::keyClick(f.ObjectEdit, Qt::Key_Return);
    };
}

class MainFormFind : public ::testing::Test {
protected:
    MainFormFind() : window_(std::make_unique<TMainForm>(platform::FormatSettings::Posix())) {
        window_->resize(900, 600);
        window_->show();
        Activate();
        const std::string path = dir_.File("find.kvd");
        WriteProject(path, FillCommandCaseProject);
        window_->OpenProject(path);
        window_->ResetFind();
        window_->UpdateCommands();
        Flush();
    }
    ~MainFormFind() override {
        window_.reset();
        Flush();
    }
    // A key as the user presses it in the main window.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Activate();
        QTest::keyClick(window_->Tree, static_cast<Qt::Key>(key), modifiers);
        Flush();
    }
    // The window active again, as it is when a dialog over it closes.
    void Activate() {
        window_->activateWindow();
        (void)QTest::qWaitForWindowActive(window_.get());
    }
    std::string Current() const {
        const std::string dump = DumpSubtree(window_->Tree->currentItem());
        return dump.substr(0, dump.find('\n'));
    }
    std::vector<std::string>& Messages() { return env_.Interaction.Messages; }

    TAppTestEnvironment env_;
    TempDir dir_;
    std::unique_ptr<TMainForm> window_;
};

}  // namespace

// Ctrl+F, a text and Enter find the first match from the top; F3 goes on below the selection
// and, after the last match, shows the message; Find Next is enabled once a search is kept.
TEST_F(MainFormFind, CtrlFFindsAndF3GoesOn) {
    EXPECT_TRUE(window_->MenuItemEditFind->isEnabled());
    EXPECT_FALSE(window_->MenuItemEditFindNext->isEnabled());
    window_->MdiArea->setFocus();
    {
        AnswerFind find(Type("question"));
        Press(Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(find.Shown, 1);
    }
    EXPECT_EQ(Current(), "nkQuestion 1 Question one");
    EXPECT_EQ(window_->FindText, "question");
    EXPECT_TRUE(window_->MenuItemEditFindNext->isEnabled());
    Activate();
    EXPECT_TRUE(window_->Tree->hasFocus());
    Press(Qt::Key_F3);
    EXPECT_EQ(Current(), "nkQuestion 2 Question two");
    Press(Qt::Key_F3);
    EXPECT_EQ(Current(), "nkQuestion 3 Private question");
    EXPECT_TRUE(Messages().empty());
    Press(Qt::Key_F3);
    EXPECT_EQ(Current(), "nkQuestion 3 Private question");
    EXPECT_EQ(Messages(), std::vector<std::string>{lang::GetMessageText("OBJECTSTREE_FIND_NO_OBJECT")});
}

// The dialog comes up with the kept search; Escape keeps it as it was, whatever was changed.
TEST_F(MainFormFind, TheDialogShowsTheKeptSearchAndEscapeKeepsIt) {
    {
        AnswerFind find([](TFindForm& f) {
            QTest::keyClicks(f.ObjectEdit, "weight");
            QTest::keyClick(f.CaseSensCheckBox, Qt::Key_Space);
            f.ObjectTypeComboBox->setFocus();
            for (int i = 0; i < 7; ++i) QTest::keyClick(f.ObjectTypeComboBox, Qt::Key_Down);
            QTest::keyClick(f.ObjectTypeComboBox, Qt::Key_Return);
        });
        window_->MenuItemEditFind->trigger();
        Flush();
    }
    EXPECT_EQ(Current(), "nkWeightNoScale 2 Loose weight") << "case-sensitive: not 'Weight on scale one'";
    EXPECT_EQ(window_->FindFlags, sfCaseSensitive);
    EXPECT_EQ(window_->FindKind, fotWeight);
    {
        AnswerFind find([](TFindForm& f) {
            QTest::keyClicks(f.ObjectEdit, "more");
            QTest::keyClick(f.FullStringCheckBox, Qt::Key_Space);
            QTest::keyClick(f.ObjectEdit, Qt::Key_Escape);
        });
        window_->MenuItemEditFind->trigger();
        Flush();
        EXPECT_EQ(find.Text, "weight");
        EXPECT_EQ(find.Flags, sfCaseSensitive);
        EXPECT_EQ(find.Type, fotWeight);
    }
    EXPECT_EQ(window_->FindText, "weight");
    EXPECT_EQ(window_->FindFlags, sfCaseSensitive);
    EXPECT_EQ(window_->FindKind, fotWeight);
    EXPECT_EQ(Current(), "nkWeightNoScale 2 Loose weight");
    EXPECT_TRUE(window_->MenuItemEditFindNext->isEnabled());
    // Opening a project resets the search.
    window_->OpenProject(dir_.File("find.kvd"));
    window_->ResetFind();
    window_->UpdateCommands();
    EXPECT_FALSE(window_->MenuItemEditFindNext->isEnabled());
}

// The popup's Import Scales on a scales folder: the file dialog, the folder refilled and the
// commands brought up to date.
TEST_F(MainFormFind, ThePopupImportsScalesIntoTheSelectedFolder) {
    const std::string file = dir_.File("scales.txt");
    platform::WriteFileAtomic(file, "Anxiety\nLow\n");
    QTreeWidgetItem* folder = FindNode(*window_, nkScalesFolder, 1);
    Select(*window_, folder);
    Flush();
    QAction* importScales = window_->Command("PopupItemFastImportScales");
    ASSERT_TRUE(importScales->isEnabled());
    ASSERT_TRUE(importScales->isVisible());
    env_.Files.push_back(file);
    importScales->trigger();
    Flush();
    ASSERT_EQ(env_.Dialogs.size(), 1u);
    EXPECT_EQ(env_.Dialogs[0].Title, TObjectsTree::kImportScalesTitle);
    EXPECT_EQ(DumpSubtree(folder->child(folder->childCount() - 1)),
              "nkScale 3 Anxiety\n  nkInterpretation 2 " + lang::GetMessageText("OBJECTSTREE_INTERPRETATION_TITLE") +
                  " 1\n");
    // The project is modified, so Save is enabled.
    EXPECT_TRUE(window_->MenuItemProjectSave->isEnabled());
}
