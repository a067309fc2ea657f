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

struct TRemoval {
    TNodeKind Kind;
    const char* QuestionKey;
    bool (*Delete)(TFileAccess& store, std::int32_t id);
    const char* ErrorKey;
    bool RefreshWeights;   // the delete can unbind weights
};

template <bool (TFileAccess::*Op)(std::int32_t)>
bool Run(TFileAccess& s, std::int32_t id) {
    return (s.*Op)(id);
}

// Removing one object with everything below it.
const TRemoval kRemoveObject[] = {
    {nkTestGroup, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_TEST_GROUP"), Run<&TFileAccess::DeleteTestGroup>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_TEST_GROUP"), false},
    {nkTest, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_TEST"), Run<&TFileAccess::DeleteTest>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_TEST"), false},
    {nkScale, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_SCALE"), Run<&TFileAccess::DeleteScale>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_SCALE"), true},
    {nkInterpretation, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_INTERPRETATION"), Run<&TFileAccess::DeleteInterpretation>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_INTERPRETATION"), false},
    {nkWeight, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_WEIGHT"), Run<&TFileAccess::DeleteWeight>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_WEIGHT"), false},
    {nkWeightNoScale, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_WEIGHT"), Run<&TFileAccess::DeleteWeight>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_WEIGHT"), false},
    {nkQuestion, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_STIMUL"), Run<&TFileAccess::DeleteStimulus>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_STIMUL"), false},
    {nkAnswer, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_REACTION"), Run<&TFileAccess::DeleteReaction>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_REACTION"), false},
};

// Removing every child of an object; the object stays. A test's own row is handled apart.
const TRemoval kRemoveChildren[] = {
    {nkTestsRoot, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_ALLTESTS_CHILDREN"),
     [](TFileAccess& s, std::int32_t) { return s.DeleteAllTestGroups(); },
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_ALLTESTS_CHILDREN"), false},
    {nkTestGroup, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_TESTGROUP_CHILDREN"), Run<&TFileAccess::DeleteTestsOfGroup>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_TESTGROUP_CHILDREN"), false},
    {nkScalesFolder, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_ALLSCALES_CHILDREN"), Run<&TFileAccess::DeleteScalesOfTest>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_ALLSCALES_CHILDREN"), true},
    {nkScale, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_SCALE_CHILDREN"), Run<&TFileAccess::DeleteInterpretationsOfScale>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_SCALE_CHILDREN"), false},
    {nkQuestionsFolder, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_ALLSTIMULS_CHILDREN"),
     Run<&TFileAccess::DeleteStimuliOfTest>, lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_ALLSTIMULS_CHILDREN"), false},
    {nkQuestion, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_STIMUL_CHILDREN"), Run<&TFileAccess::DeleteReactionsOfStimulus>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_STIMUL_CHILDREN"), false},
    {nkAnswer, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_REACTION_CHILDREN"), Run<&TFileAccess::DeleteWeightsOfReaction>,
     lang::MessageKey("OBJECTSTREE_ERROR_REMOVING_REACTION_CHILDREN"), false},
};

template <std::size_t N>
const TRemoval* Find(const TRemoval (&table)[N], TNodeKind kind) {
    for (const TRemoval& r : table)
        if (r.Kind == kind) return &r;
    return nullptr;
}

void DeleteChildNodes(QTreeWidgetItem* node) { qDeleteAll(node->takeChildren()); }

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
    if (const TRemoval* r = Find(kRemoveObject, GetNodeKind(node)); r && Store()) {
        try {
            if (Confirm(kRemoveTitle, r->QuestionKey)) {
                const platform::TBusyCursor busy;
                if (!r->Delete(*Store(), GetNodeID(node))) throw Exception(lang::GetMessageText(r->ErrorKey));
                delete node;
                if (r->RefreshWeights) RefreshWeightKinds();
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
    const TNodeKind kind = GetNodeKind(node);
    if (kind == nkTest && Store()) {
        RemoveTestChildren(GetNodeID(node), node);
    } else if (const TRemoval* r = Find(kRemoveChildren, kind); r && Store()) {
        try {
            if (Confirm(kRemoveChildrenTitle, r->QuestionKey)) {
                const platform::TBusyCursor busy;
                if (!r->Delete(*Store(), GetNodeID(node))) throw Exception(lang::GetMessageText(r->ErrorKey));
                DeleteChildNodes(node);
                if (r->RefreshWeights) RefreshWeightKinds();
            }
        } catch (const std::exception& e) {
            lang::ShowMessageText(e.what());
        }
    }
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
}

// The scales and the questions of a test go; its two folders stay, empty.
void TObjectsTree::RemoveTestChildren(std::int32_t id, QTreeWidgetItem* node) {
    try {
        if (!Confirm(kRemoveChildrenTitle, lang::MessageKey("OBJECTSTREE_CAN_REMOVE_TEST_CHILDREN"))) return;
        const platform::TBusyCursor busy;
        TFileAccess& s = *Store();
        if (!s.DeleteScalesOfTest(id))
            throw Exception(lang::GetMessageText("OBJECTSTREE_ERROR_REMOVING_ALLSCALES_CHILDREN"));
        if (!s.DeleteStimuliOfTest(id))
            throw Exception(lang::GetMessageText("OBJECTSTREE_ERROR_REMOVING_ALLSTIMULS_CHILDREN"));
        if (node->childCount() < 2) throw Exception(lang::GetMessageText("OBJECTSTREE_ERROR_REMOVING_TEST_CHILDREN"));
        for (int i = 0; i < node->childCount(); ++i) {
            const TNodeKind kind = GetNodeKind(node->child(i));
            if (kind == nkScalesFolder || kind == nkQuestionsFolder) DeleteChildNodes(node->child(i));
        }
        RefreshWeightKinds();
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}
