// Cut, copy and paste: one marked node, moved or deep-copied under the selected node.
#include <exception>

#include "lang/DlgLangConverter.h"
#include "platform/Exception.h"
#include "platform/WindowMessages.h"
#include "platform/qt/BusyCursor.h"
#include "store/FileAccess.h"
#include "tree/ObjectsTree.h"

namespace {

// ---- weights that a move takes into another test

// Unbinds the weight at index i unless its scale belongs to test.
void KeepBindingIn(TFileAccess& s, int i, std::int32_t test) {
    if (i < 0) return;
    const TWeight& w = s.Weights.At(i);
    if (w.ScaleID == -1) return;
    const int scale = s.Scales.IndexOfID(w.ScaleID);
    if (scale >= 0 && s.Scales.At(scale).ParentID == test) return;
    TWeight unbound = w;
    unbound.ScaleID = -1;
    s.Weights.SetCursor(i);
    s.Weights.EditRecord(unbound);
}

void KeepBindingsOfReaction(TFileAccess& s, std::int32_t reaction, std::int32_t test) {
    for (int i : s.Weights.IndexesOfParent(reaction)) KeepBindingIn(s, i, test);
}

// After a move, every weight of a test names a scale of that test or none, as after a copy: the
// weights that came along keep only bindings to scales of their new test, and the weights that
// stayed behind let go of a scale that left.
void KeepBindingsInTheirTests(TFileAccess& s, TStoredType type, std::int32_t id) {
    s.Weights.SavePosition();
    switch (type) {
        case TStoredType::Stimulus: {
            const std::int32_t test = s.GetTestOfStimulus(id);
            for (int r : s.Reactions.IndexesOfParent(id)) KeepBindingsOfReaction(s, s.Reactions.At(r).ID, test);
            break;
        }
        case TStoredType::Reaction: KeepBindingsOfReaction(s, id, s.GetTestOfReaction(id)); break;
        case TStoredType::Weight: KeepBindingIn(s, s.Weights.IndexOfID(id), s.GetTestOfWeight(id)); break;
        case TStoredType::Scale:
            for (int i = 0; i < s.Weights.RecordCount(); ++i)
                if (s.Weights.At(i).ScaleID == id) KeepBindingIn(s, i, s.GetTestOfWeight(s.Weights.At(i).ID));
            break;
        default: break;
    }
    s.Weights.RestorePosition();
}

}  // namespace

// ---- the mark

void TObjectsTree::Mark(std::uint8_t mode, int overlay) {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    clipboardMode_ = mode;
    if (markedNode_) SetNodeOverlay(markedNode_, kNoOverlay);
    SetNodeOverlay(node, overlay);
    pastedNode_ = nullptr;
    markedNode_ = node;
}

void TObjectsTree::Cut() { Mark(cmCut, kCutOverlayImage); }

void TObjectsTree::Copy() { Mark(cmCopy, kCopyOverlayImage); }

bool TObjectsTree::CanPaste() const {
    return markedNode_ && CanPasteKind(GetNodeKind(markedNode_), SelectedKind());
}

void TObjectsTree::Paste() {
    QTreeWidgetItem* target = SelectedNode();
    if (!target || !markedNode_ || !Store() || !CanPaste()) return;
    Guarded([&] {
        const platform::TBusyCursor busy;
        // The target's own children are built before the store gives it one more.
        EnsureChildren(target);
        if (clipboardMode_ == cmCut) PasteMoved(target);
        else PasteCopied(target);
        // The user sees what was pasted, with the selected parent above it when both fit.
        scrollToItem(target);
        scrollToItem(pastedNode_);
    });
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
}

// The marked node becomes the first child of target, and the Orders of target's children follow
// the tree, so the moved object stays first after a save.
void TObjectsTree::PasteMoved(QTreeWidgetItem* target) {
    TFileAccess& s = *Store();
    QTreeWidgetItem* moved = markedNode_;
    const TStoredType type = NodeKindInfo(GetNodeKind(moved)).Object;
    const std::int32_t id = GetNodeID(moved);
    // A scale leaves weights behind in its old test.
    QTreeWidgetItem* oldTest = type == TStoredType::Scale && moved->parent() ? moved->parent()->parent() : nullptr;
    if (!MoveStored(s, type, id, GetNodeID(target)))
        throw Exception(lang::GetMessageText("OBJECTSTREE_ERROR_MOVING_OBJECT"));

    MoveNode(moved, target, 0);
    RenumberChildren(target);
    KeepBindingsInTheirTests(s, type, id);
    RefreshWeightKinds(moved);
    if (oldTest) RefreshWeightKinds(oldTest);
    ExpandAll(moved);

    SetNodeOverlay(moved, kNoOverlay);
    clipboardMode_ = cmNone;
    pastedNode_ = moved;
    markedNode_ = nullptr;
}

// A deep copy of the marked object becomes the last child of target; the mark stays, so the
// same object can be pasted again.
void TObjectsTree::PasteCopied(QTreeWidgetItem* target) {
    TFileAccess& s = *Store();
    const TNodeKind kind = GetNodeKind(markedNode_);
    const TStoredType type = NodeKindInfo(kind).Object;
    const std::int32_t parent = GetNodeID(target);
    TObjectTable& table = *TableOf(s, type);
    const std::int32_t last = table.MaxOrder(parent);
    const std::int32_t copy = CopyStored(s, type, GetNodeID(markedNode_), parent);
    if (copy == -1 || !table.Locate(copy)) throw Exception(lang::GetMessageText("OBJECTSTREE_ERROR_COPYING_OBJECT"));
    // After its new siblings, in the store as in the tree.
    const std::string description = table.GetDescription();
    table.EditObject(copy, table.GetParentID(), table.GetName(), description, last + 1);

    TNodeData copied;
    GetNodeData(markedNode_, copied);
    copied.Id = copy;
    copied.Name = table.GetName();
    if (type == TStoredType::Weight) copied.Kind = WeightKind(s.Weights.At(s.Weights.IndexOfID(copy)).ScaleID);
    QTreeWidgetItem* node = AddObjectNode(nullptr, target, copied);
    FillNode(node);
    target->setExpanded(true);
    ExpandAll(node);
    pastedNode_ = node;
}
