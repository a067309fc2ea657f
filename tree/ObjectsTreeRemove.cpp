// Remove and remove-children: a yes/no question, the store's cascading delete, the mirrored nodes.
#include <exception>

#include "lang/DlgLangConverter.h"
#include "lang/MessageDialog.h"
#include "platform/Exception.h"
#include "platform/WindowMessages.h"
#include "platform/qt/BusyCursor.h"
#include "store/FileAccess.h"
#include "tree/ObjectsTree.h"

namespace {

// The store holds no children of the node any more, built or not.
void DeleteChildNodes(QTreeWidgetItem* node) {
    qDeleteAll(node->takeChildren());
    SetPendingNode(node, false);
}

constexpr const char* kRemoveTitle = lang::MessageKey("OBJECTSTREE_CAN_REMOVE_OBJECT_TITLE");
constexpr const char* kRemoveChildrenTitle = lang::MessageKey("OBJECTSTREE_CAN_REMOVE_CHILDREN_TITLE");

}  // namespace

bool TObjectsTree::Confirm(const char* titleKey, const char* questionKey) {
    messageDialog_->Title = lang::GetMessageText(titleKey);
    messageDialog_->Caption = lang::GetMessageText(questionKey);
    messageDialog_->DialogType = mdYesNo;
    return messageDialog_->Execute() == TMessageDialog::mrYes;
}

void TObjectsTree::RemoveObject() {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    ClearClipboard();
    if (const TRemovalRule& r = NodeKindInfo(GetNodeKind(node)).Remove; r.QuestionKey && Store()) {
        try {
            if (Confirm(kRemoveTitle, r.QuestionKey)) {
                const platform::TBusyCursor busy;
                if (const char* error = r.Delete(*Store(), GetNodeID(node))) throw Exception(lang::GetMessageText(error));
                delete node;
                if (r.RefreshWeights) RefreshWeightKinds();
                // The view picks the next selection; the user sees it.
                if (QTreeWidgetItem* current = currentItem()) scrollToItem(current);
            }
        } catch (const std::exception& e) {
            lang::ShowMessageText(e.what());
        }
    }
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
}

void TObjectsTree::RemoveChildren() {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    ClearClipboard();
    if (const TRemovalRule& r = NodeKindInfo(GetNodeKind(node)).RemoveChildren; r.QuestionKey && Store()) {
        try {
            if (Confirm(kRemoveChildrenTitle, r.QuestionKey)) {
                const platform::TBusyCursor busy;
                if (const char* error = r.Delete(*Store(), GetNodeID(node))) throw Exception(lang::GetMessageText(error));
                if (r.KeepsChildFolders) {
                    // The folders stay, emptied.
                    if (node->childCount() < 2)
                        throw Exception(lang::GetMessageText("OBJECTSTREE_ERROR_REMOVING_TEST_CHILDREN"));
                    for (int i = 0; i < node->childCount(); ++i)
                        if (NodeKindInfo(GetNodeKind(node->child(i))).CarriesTestID) DeleteChildNodes(node->child(i));
                } else {
                    DeleteChildNodes(node);
                }
                if (r.RefreshWeights) RefreshWeightKinds();
            }
        } catch (const std::exception& e) {
            lang::ShowMessageText(e.what());
        }
    }
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
}
