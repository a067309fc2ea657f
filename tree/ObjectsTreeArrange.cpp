// Changing an object without its dialog: rename in place, dragging it before a sibling, and
// putting all children of a node in a new order through the Arrange Items dialog.
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include <exception>
#include <memory>
#include <vector>

#include "lang/DlgLangConverter.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/UserInteraction.h"
#include "platform/WindowMessages.h"
#include "platform/qt/ModalDialogs.h"
#include "store/FileAccess.h"
#include "tree/FormArrangeItems.h"
#include "tree/ObjectsTree.h"

namespace {

// The table of the objects that stand for nodes of this kind.
TObjectTable* OwnTable(TFileAccess& s, TNodeKind kind) { return TableOf(s, NodeKindInfo(kind).Object); }

// The table of the children of a node of this kind; nullptr when its children are folders.
TObjectTable* ChildrenTable(TFileAccess& s, TNodeKind kind) { return TableOf(s, ChildObjectType(kind)); }

// Orders 0, 1, 2 ... by the IDs in this order, then the sort; an ID not found is skipped and its
// index given to no other.
template <typename IdAt>
void WriteOrders(TObjectTable& table, int count, IdAt&& idAt) {
    table.SavePosition();
    for (int i = 0; i < count; ++i) {
        if (!table.Locate(idAt(i))) continue;
        const std::string name = table.GetName();
        const std::string description = table.GetDescription();
        table.EditObject(table.GetID(), table.GetParentID(), name, description, i);
    }
    table.Sort();
    table.RestorePosition();
}

void CollectExpanded(QTreeWidgetItem* node, std::vector<QTreeWidgetItem*>& expanded) {
    if (node->isExpanded()) expanded.push_back(node);
    for (int i = 0; i < node->childCount(); ++i) CollectExpanded(node->child(i), expanded);
}

constexpr const char* kDragFormat = "application/x-orvel-tree-node";

}  // namespace

// ---- rename in place

void TObjectsTree::TreeEditing(bool& allowEdit) const {
    const QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    // Roots and folders have fixed captions.
    allowEdit = NodeKindInfo(GetNodeKind(node)).Object != TStoredType::None;
}

void TObjectsTree::TreeEdited(QTreeWidgetItem* node, std::string& text) {
    try {
        if (node && text.empty()) {
            // Blanks are a name; nothing is not.
            GetNodeName(node, text);
            platform::ShowMessage(lang::GetMessageText("OBJECTSTREE_NAME_NOT_EMPTY"));
        } else if (TObjectTable* table = node && Store() ? OwnTable(*Store(), GetNodeKind(node)) : nullptr) {
            table->SavePosition();
            const bool found = table->Locate(GetNodeID(node));
            if (found) {
                const std::string description = table->GetDescription();
                table->EditObject(table->GetID(), table->GetParentID(), text, description, table->GetOrder());
                text = table->GetName();
            }
            table->RestorePosition();
            // A name that could not be kept is not shown either.
            if (!found) {
                GetNodeName(node, text);
                throw Exception(lang::GetMessageText("OBJECTSTREE_NO_RECORD_MSG"));
            }
            SetNodeName(node, text);
        }
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
    Notify(wm::cnSelectionChanged, 0);
}

bool TObjectsTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger == AllEditTriggers || (editTriggers() & trigger)) {
        // Only the selected node is renamed.
        if (itemFromIndex(index) != SelectedNode()) return false;
        bool allow = true;
        TreeEditing(allow);
        if (!allow) return false;
    }
    return QTreeWidget::edit(index, trigger, event);
}

// ---- drag-and-drop

bool TObjectsTree::CanDropOn(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) {
    if (!dragged || !target || dragged == target || !dragged->parent() || dragged->parent() != target->parent())
        return false;
    const TNodeKind a = GetNodeKind(dragged);
    const TNodeKind b = GetNodeKind(target);
    // Kinds of one stored object (a weight with and without a scale) count as one.
    const TStoredType object = NodeKindInfo(a).Object;
    return a == b || (object != TStoredType::None && object == NodeKindInfo(b).Object);
}

void TObjectsTree::TreeDragOver(const QPoint& pos, bool& accept) const {
    accept = CanDropOn(SelectedNode(), itemAt(pos));
}

void TObjectsTree::TreeDragDrop(const QPoint& pos) {
    if (QTreeWidgetItem* dragged = SelectedNode()) DropBefore(dragged, itemAt(pos));
}

void TObjectsTree::DropBefore(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    // Whoever calls, the rule holds: a drop elsewhere would re-parent the node behind the
    // store's back.
    if (!CanDropOn(dragged, target)) return;
    QTreeWidgetItem* parent = dragged->parent();
    Guarded([&] {
        const int from = parent->indexOfChild(dragged);
        int to = parent->indexOfChild(target);
        if (from < to) --to;   // counted without the dragged node
        MoveNode(dragged, parent, to);
        RenumberChildren(parent);
    });
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
}

// The drag names this program, this tree and the node, so a drag from elsewhere is never taken
// for one of ours.
QMimeData* TObjectsTree::CreateDragData() const {
    const QTreeWidgetItem* node = SelectedNode();
    auto* mime = new QMimeData;
    if (node)
        mime->setData(kDragFormat, QStringLiteral("%1 %2 %3 %4")
                                       .arg(QCoreApplication::applicationPid())
                                       .arg(handle_)
                                       .arg(GetNodeID(node))
                                       .arg(static_cast<int>(GetNodeKind(node)))
                                       .toLatin1());
    return mime;
}

bool TObjectsTree::IsOwnDrag(const QMimeData* mime) const {
    if (!mime || !SelectedNode() || !mime->hasFormat(kDragFormat)) return false;
    const std::unique_ptr<QMimeData> own(CreateDragData());
    return mime->data(kDragFormat) == own->data(kDragFormat);
}

void TObjectsTree::startDrag(Qt::DropActions) {
    if (!SelectedNode()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(CreateDragData());
    drag->setPixmap(SelectedNode()->icon(0).pixmap(TTreeImages::kSize));
    // The drop has done the move; whatever the drag reports, nothing is removed here.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void TObjectsTree::dragEnterEvent(QDragEnterEvent* event) {
    if (!IsOwnDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    setState(DraggingState);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TObjectsTree::dragMoveEvent(QDragMoveEvent* event) {
    // Qt's handling scrolls near the edges; whether the drop is taken is decided here.
    QTreeWidget::dragMoveEvent(event);
    bool accept = false;
    if (IsOwnDrag(event->mimeData())) TreeDragOver(event->position().toPoint(), accept);
    if (accept) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TObjectsTree::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (!IsOwnDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    Guarded([&] { TreeDragDrop(event->position().toPoint()); });
}

void TObjectsTree::MoveNode(QTreeWidgetItem* node, QTreeWidgetItem* parent, int index) {
    std::vector<QTreeWidgetItem*> expanded;
    CollectExpanded(node, expanded);
    QTreeWidgetItem* current = currentItem();
    // Taking the node out may move the selection for a moment; nobody is told.
    const QSignalBlocker blocker(this);
    QTreeWidgetItem* from = node->parent();
    from->takeChild(from->indexOfChild(node));
    parent->insertChild(index, node);
    for (QTreeWidgetItem* n : expanded) n->setExpanded(true);
    if (current) setCurrentItem(current);
}

// ---- Orders by the tree

void TObjectsTree::RenumberChildren(QTreeWidgetItem* node) {
    TObjectTable* table = node && Store() ? ChildrenTable(*Store(), GetNodeKind(node)) : nullptr;
    if (!table) return;
    EnsureChildren(node);
    if (node->childCount() == 0) return;
    WriteOrders(*table, node->childCount(), [node](int i) { return GetNodeID(node->child(i)); });
}

void TObjectsTree::ArrangeItems() {
    QTreeWidgetItem* node = SelectedNode();
    TObjectTable* table = node && Store() ? ChildrenTable(*Store(), GetNodeKind(node)) : nullptr;
    if (!table) return;
    Guarded([&] {
        // The dialog works on copies of the stored children, in sibling order.
        std::vector<std::unique_ptr<TAnyObject>> children;
        TTypeTAnyObjectSingleList list;
        for (int i : table->IndexesOfParent(GetNodeID(node))) {
            children.push_back(std::make_unique<TAnyObject>(table->RecordAt(i)));
            list.Add(children.back().get());
        }
        TFormArrangeItems form(nullptr, &list);
        platform::ExecModal(form);
        if (form.Cancelled) return;
        ArrangeChildren(node, list);
        Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
    });
}

void TObjectsTree::ArrangeChildren(QTreeWidgetItem* node, const TTypeTAnyObjectSingleList& order) {
    EnsureChildren(node);
    const int n = order.GetCount();
    bool agree = node->childCount() == n;
    for (int i = 0; agree && i < n; ++i) {
        const std::int32_t id = order.Get(i)->ID;
        if (GetNodeID(node->child(i)) == id) continue;
        // Only among the children not yet placed.
        int at = i + 1;
        while (at < n && GetNodeID(node->child(at)) != id) ++at;
        if (at < n) MoveNode(node->child(at), node, i);
        else agree = false;
    }
    if (agree) {
        RenumberChildren(node);
        return;
    }
    // The tree does not show what the store holds: the store takes the list's order and the
    // node shows the store's children anew.
    WriteOrders(*ChildrenTable(*Store(), GetNodeKind(node)), n, [&order](int i) { return order.Get(i)->ID; });
    ClearClipboard();
    {
        const QSignalBlocker blocker(this);
        qDeleteAll(node->takeChildren());
    }
    FillNode(node);
    node->setExpanded(true);
}
