#pragma once
#include <functional>
#include <optional>
#include <string>

#include <QString>

#include "platform/ScopedHook.h"

class QDialog;
class QSize;
class QWidget;

namespace platform {

// Every modal dialog and file dialog of the program is shown through these functions, so that a
// test answers in place of a person and nothing ever blocks on a modal loop there.

// A dialog border: a title and a close box, nothing to minimise or maximise, and this fixed
// size. Set before the window is first shown.
void SetDialogBorder(QWidget& window, const QSize& size);
// Puts the window in the middle of its screen's desktop area.
void CentreOnDesktop(QWidget& window);

// Shows the dialog modally and returns its result (QDialog::exec() unless a hook is installed;
// a hook fills the controls, presses a button or just returns a result).
using ModalHook = std::function<int(QDialog& dialog)>;
int ExecModal(QDialog& dialog);
// Installs a hook (an empty one restores exec()) and returns the one it replaces.
ModalHook SetModalHook(ModalHook hook);

// An open or save file dialog. Filter is in the program's form: pairs of description and
// patterns separated by "|" ("Text files (*.txt)|*.txt|All files (*.*)|*.*"); patterns of one
// pair are separated by ";", and "*.*" means every file.
struct TFileDialogRequest {
    enum class TKind { Open, Save };
    TKind Kind = TKind::Open;
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;          // 1-based, as in the filter
    std::string FileName;         // preset name or path
    std::string InitialDir;
    std::string DefaultExt;       // without the dot; added to a typed name that has none
    bool OverwritePrompt = false;
    bool FileMustExist = false;
    int HelpContext = 0;          // F1's topic; 0: the topic of the window it is opened from
    QWidget* Parent = nullptr;
};
// The chosen file (code page), or nothing when the user cancels.
using FileDialogHook = std::function<std::optional<std::string>(const TFileDialogRequest&)>;
std::optional<std::string> RunFileDialog(const TFileDialogRequest& request);
FileDialogHook SetFileDialogHook(FileDialogHook hook);

// The same dialog for callers that also need the filter entry the user left selected.
struct TFileDialogChoice {
    std::string FileName;
    int FilterIndex = 1;   // 1-based
};
// A test answers through either hook: with only the plain one installed, the choice keeps the
// request's filter index; with only this one, RunFileDialog takes its file name.
using FileChoiceHook = std::function<std::optional<TFileDialogChoice>(const TFileDialogRequest&)>;
std::optional<TFileDialogChoice> RunFileChoiceDialog(const TFileDialogRequest& request);
FileChoiceHook SetFileChoiceHook(FileChoiceHook hook);

// The filter in Qt's form: "Text files (*.txt);;All files (*)".
QString ToQtFilter(const std::string& filter);
// Qt's form of the filter entry at a 1-based index, or an empty text.
QString QtFilterAt(const std::string& filter, int index);

// Each installs its hook for its lifetime and puts the previous one back (tests).
using ScopedModalHook = ScopedHook<ModalHook, &SetModalHook>;
using ScopedFileDialogHook = ScopedHook<FileDialogHook, &SetFileDialogHook>;
using ScopedFileChoiceHook = ScopedHook<FileChoiceHook, &SetFileChoiceHook>;

}  // namespace platform
