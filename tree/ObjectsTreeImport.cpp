// The quick text import of scales or questions into the selected folder.
#include <exception>
#include <string>
#include <vector>

#include "lang/DlgLangConverter.h"
#include "platform/WindowMessages.h"
#include "platform/qt/BusyCursor.h"
#include "platform/qt/ModalDialogs.h"
#include "store/FileAccess.h"
#include "tree/ObjectsTree.h"
#include "tree/QuickImport.h"

void TObjectsTree::FastImportScales() { FastImport(nkScalesFolder); }

void TObjectsTree::FastImportStimuls() { FastImport(nkQuestionsFolder); }

void TObjectsTree::FastImport(TNodeKind folderKind) {
    QTreeWidgetItem* folder = SelectedNode();
    // Only into the folder of its kind, and not into a test that its author keeps private.
    if (GetNodeKind(folder) != folderKind || !Store() || IsSelectedTestPrivate()) return;
    const bool scales = folderKind == nkScalesFolder;

    platform::TFileDialogRequest dialog;
    dialog.Kind = platform::TFileDialogRequest::TKind::Open;
    dialog.Title = scales ? kImportScalesTitle : kImportStimulsTitle;
    dialog.Filter = kImportFilter;
    dialog.FileMustExist = true;
    const std::optional<std::string> chosen = platform::RunFileDialog(dialog);
    if (!chosen) return;

    std::vector<TQuickImportBlock> blocks;
    try {
        blocks = ParseQuickImport(ReadQuickImportFile(*chosen));
    } catch (const std::exception& e) {
        // Nothing has been stored.
        lang::ShowMessageText(e.what());
        return;
    }

    std::string failure;
    {
        const platform::TBusyCursor busy;
        // The folder carries its test's ID, as its parent does.
        const std::int32_t test = GetParentNodeID(folder);
        TQuickImportCount count;
        try {
            if (scales)
                StoreQuickImportScales(*Store(), test, blocks, lang::GetMessageText("OBJECTSTREE_INTERPRETATION_TITLE"),
                                       count);
            else
                StoreQuickImportStimuli(*Store(), test, blocks, count);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        // What was stored shows, also after a failure part-way.
        ClearClipboard();
        qDeleteAll(folder->takeChildren());
        scales ? FillScales(folder, false) : FillStimuli(folder, false);
        folder->setExpanded(true);
    }
    if (!failure.empty()) lang::ShowMessageText(failure);
    Notify(wm::cnSelectionChanged, 0);
}
