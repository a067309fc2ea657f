#pragma once
#include <QDialog>
#include <QLabel>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lang/MessageDialog.h"
#include "platform/qt/ModalDialogs.h"

#include "platform/MessageHub.h"
#include "store/FileAccess.h"
#include "tree/NodeKind.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/ScopedGlobalStore.h"
#include "tests/support/TempDir.h"
#include "tree/ObjectsTree.h"
#include "tree/FormArrangeItems.h"
#include "tree/PropertyDialogs.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <ostream>

// Readable QStrings in the messages of failed checks.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

class QTreeWidget;
class QTreeWidgetItem;

// A small project with every shape the tree shows: groups whose order differs from their IDs,
// an empty group, a test without scales and questions, a private test, interpretations, a
// question without answers, weights bound to a scale and one bound to none.
void FillTreeFixture(TFileAccess& store);
std::unique_ptr<TFileAccess> MakeFixtureStore();

// The fixture's tree, as DumpTree writes it with the shipped language texts.
std::string FixtureDump();

// Stands for the main window in the hub and keeps every message it gets.
class MainWindowProbe {
public:
    MainWindowProbe();
    ~MainWindowProbe();
    MainWindowProbe(const MainWindowProbe&) = delete;
    MainWindowProbe& operator=(const MainWindowProbe&) = delete;

    platform::WindowHandle Handle() const { return handle_; }
    std::vector<platform::TWindowMessage> Messages;
    // The WM_CHILDNOTIFY codes received, in order.
    std::vector<std::uint32_t> Codes() const;

private:
    platform::WindowHandle handle_;
};

// The first node in display order of that kind and ID; nullptr when none.
QTreeWidgetItem* FindNode(const QTreeWidget& tree, TNodeKind kind, std::int32_t id);
// The dump of a new tree built from the global store.
std::string RebuiltDump();
// The tree's dump without the cut and copy marks, which are no part of the store.
std::string UnmarkedDump(const QTreeWidget& tree);

// The rows that the view shows, walked as the user does with the Down key; and the same count
// worked out from the nodes' expanded states.
int ViewRowCount(const QTreeWidget& tree);
int ExpectedRowCount(const QTreeWidget& tree);
// The node's row lies wholly inside the view's viewport, top to bottom.
bool WithinViewport(const QTreeWidget& tree, const QTreeWidgetItem* node);

// The stored record with this ID (a failure, and an empty record, when there is none).
template <class Table>
typename Table::Record Stored(const Table& table, std::int32_t id) {
    const int at = table.IndexOfID(id);
    if (at < 0) {
        ADD_FAILURE() << "no record " << id << " in " << table.ClassName();
        return {};
    }
    return table.At(at);
}

// Answers every modal dialog shown while it lives in place of a person: the dialog must be a
// Form; edit changes its controls, then OK (or Cancel) is pressed. Keeps how often a dialog was
// shown and what it showed when it came up.
enum class DialogButton { Ok, Cancel };

template <class Form>
class AnswerDialogs {
public:
    using Edit = std::function<void(Form&)>;
    using Button = DialogButton;

    explicit AnswerDialogs(Edit edit = {}, Button button = Button::Ok)
        : edit_(std::move(edit)), button_(button), hook_([this](QDialog& d) { return Answer(d); }) {}

    int Shown = 0;
    QString Caption;      // the window title
    QString NameShown;    // the name edit's text
    std::vector<QString> ScalesListed;   // of a weight dialog

private:
    int Answer(QDialog& d) {
        ++Shown;
        auto* form = dynamic_cast<Form*>(&d);
        if (!form) {
            ADD_FAILURE() << "another dialog than expected came up: " << d.metaObject()->className();
            return 0;
        }
        Caption = form->windowTitle();
        NameShown = form->NameEdit->text();
        if constexpr (requires { form->ScaleComboBox; })
            for (int i = 0; i < form->ScaleComboBox->count(); ++i) ScalesListed.push_back(form->ScaleComboBox->itemText(i));
        if (edit_) edit_(*form);
        (button_ == Button::Ok ? form->OkBitBtn : form->CancelBitBtn)->click();
        return form->DialogResult;
    }

    Edit edit_;
    Button button_;
    platform::ScopedModalHook hook_;
};

// Answers the Arrange Items dialog in place of a person: work(form) checks lines and presses the
// move buttons, then OK or Cancel is pressed. Keeps the lines the dialog came up with.
class AnswerArrange {
public:
    explicit AnswerArrange(std::function<void(TFormArrangeItems&)> work, DialogButton button = DialogButton::Ok)
        : hook_([this, work = std::move(work), button](QDialog& d) {
              ++Shown;
              auto* form = dynamic_cast<TFormArrangeItems*>(&d);
              if (!form) {
                  ADD_FAILURE() << "another dialog than expected came up";
                  return 0;
              }
              for (int i = 0; i < form->CheckListBoxArrangeItems->count(); ++i)
                  Lines.push_back(form->CheckListBoxArrangeItems->item(i)->text());
              if (work) work(*form);
              (button == DialogButton::Ok ? form->BitBtnOK : form->BitBtnCancel)->click();
              return form->result();
          }) {}

    int Shown = 0;
    std::vector<QString> Lines;

private:
    platform::ScopedModalHook hook_;
};

// Checks the last line of the Arrange Items dialog and moves it to the start.
void LastToStart(TFormArrangeItems& f);

// Fails the test when any modal dialog comes up while it lives.
class NoDialogs {
public:
    NoDialogs() : hook_([this](QDialog& d) {
        ++Shown;
        ADD_FAILURE() << "a dialog came up: " << d.metaObject()->className();
        return 0;
    }) {}
    int Shown = 0;

private:
    platform::ScopedModalHook hook_;
};

// Answers every yes/no question while it lives, and keeps what was asked.
class AnswerQuestions {
public:
    explicit AnswerQuestions(std::uint8_t answer);
    ~AnswerQuestions();
    AnswerQuestions(const AnswerQuestions&) = delete;
    AnswerQuestions& operator=(const AnswerQuestions&) = delete;

    struct Question {
        std::string Title;
        std::string Caption;
        TMessageDlgType Type;
    };
    std::vector<Question> Asked;

private:
    TMessageDialog::Responder saved_;
};

// Saves the global store to a file, loads it into a new store and gives that store's tree dump:
// what the user sees after saving and opening the project again.
std::string DumpAfterSaveAndLoad(const std::string& fileName);

// A tree built over the fixture project as the global store, with a stand-in main window, the
// status label and the message boxes recorded.
class FixtureTreeTest : public ::testing::Test {
protected:
    FixtureTreeTest();

    TFileAccess& S() const { return store_.Store(); }
    // Selects the node and forgets the notices so far; nullptr (and a failure) when there is none.
    QTreeWidgetItem* Select(TNodeKind kind, std::int32_t id);
    // The tree shows what a tree built from the store shows, and so it does after a save and load
    // (the cut and copy marks aside).
    void ExpectMirrorsTheStore(const std::string& step);
    static std::string T(const char* key);
    // Shows the tree in a window; False when it never came up.
    bool ShowTree();
    // Expands every node and makes the shown tree only so many rows high.
    void ExpandAllInRows(int rows);

    TempDir dir_;
    ScopedGlobalStore store_;
    MainWindowProbe main_;
    RecordingInteraction shown_;
    QLabel status_;
    TObjectsTree tree_;
};
