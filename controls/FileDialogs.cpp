#include "controls/FileDialogs.h"

#include "platform/qt/ModalDialogs.h"

bool TOpenDialog::Execute(QWidget* parent) {
    platform::TFileDialogRequest request;
    request.Kind = IsSaveDialog() ? platform::TFileDialogRequest::TKind::Save : platform::TFileDialogRequest::TKind::Open;
    request.Title = Title;
    request.Filter = Filter;
    request.FilterIndex = FilterIndex;
    request.FileName = FileName;
    request.InitialDir = InitialDir;
    request.DefaultExt = DefaultExt;
    request.OverwritePrompt = IsSaveDialog() && Options.count(ofOverwritePrompt) > 0;
    request.FileMustExist = Options.count(ofFileMustExist) > 0;
    request.HelpContext = HelpContext;
    request.Parent = parent;
    const std::optional<platform::TFileDialogChoice> choice = platform::RunFileChoiceDialog(request);
    if (!choice) return false;
    FileName = choice->FileName;
    FilterIndex = choice->FilterIndex;
    Files.assign(1, choice->FileName);
    return true;
}
