#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Qt>

#include <gtest/gtest.h>

#include "lang/MessageDialog.h"
#include "platform/qt/ModalDialogs.h"
#include "store/FileAccess.h"
#include "tests/support/RecordingInteraction.h"

class QTreeWidgetItem;
class TMainForm;

// Delivers what the event loop holds: posted messages and deferred deletions.
void Flush();

// The program's services as start-up installs them, with every modal question answered by the
// test: message boxes are recorded, the question box and the file dialogs take their answers
// from queues (a question with no answer queued fails the test). The message table is the
// shipped language file's. All is restored on destruction.
class TAppTestEnvironment {
public:
    TAppTestEnvironment();
    ~TAppTestEnvironment();
    TAppTestEnvironment(const TAppTestEnvironment&) = delete;
    TAppTestEnvironment& operator=(const TAppTestEnvironment&) = delete;

    struct TQuestion {
        std::string Title;
        std::string Caption;
        TMessageDlgType Type;
    };
    RecordingInteraction Interaction;
    std::vector<TQuestion> Asked;
    std::deque<std::uint8_t> Answers;
    std::vector<platform::TFileDialogRequest> Dialogs;
    std::deque<std::optional<std::string>> Files;
    // Questions and file dialogs in the order they came: "question:<caption>", "file:<title>".
    std::vector<std::string> Log;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

// The main window under test, with the tree's nodes at hand.
// The first node of the kind (of the test under, or any for -1) in display order, built when needed.
QTreeWidgetItem* FindNode(TMainForm& window, int kind, std::int32_t under);
// Selects the node as a person does; nullptr clears the selection.
void Select(TMainForm& window, QTreeWidgetItem* node);
// A key pressed and released in the main window's tree, with the window active as it is under
// the user's hands; what it started has run when this returns.
void PressKey(TMainForm& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Writes a project file of the store's content (with the POSIX settings).
void WriteProject(const std::string& fileName, void (*fill)(TFileAccess&));
// Whether the two stores hold equal records in every table that the data file keeps (all but
// the users), in the same order.
::testing::AssertionResult SameTables(const TFileAccess& a, const TFileAccess& b);
