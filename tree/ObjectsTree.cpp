#include "tree/ObjectsTree.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

#include <exception>
#include <vector>

#include "lang/DlgLangConverter.h"
#include "lang/MessageDialog.h"
#include "platform/WindowMessages.h"
#include "platform/qt/BusyCursor.h"
#include "platform/qt/QtText.h"
#include "store/FileAccess.h"

namespace {

// The ancestor levels up; nullptr when the tree is not that deep.
const QTreeWidgetItem* Up(const QTreeWidgetItem* node, int levels) {
    while (node && levels-- > 0) node = node->parent();
    return node;
}

// The test node above a node; nullptr above any test.
const QTreeWidgetItem* TestNodeOf(const QTreeWidgetItem* node) {
    const int depth = NodeKindInfo(GetNodeKind(node)).TestDepth;
    return depth < 0 ? nullptr : Up(node, depth);
}

// The in-place editor of a caption: what was typed goes to the tree, never into the item.
class TRenameDelegate : public QStyledItemDelegate {
public:
    explicit TRenameDelegate(TObjectsTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor_ = editor;
        editing_ = index;
        return editor;
    }
    // The editor open now, and the node it renames.
    QWidget* OpenEditor() const { return editor_; }
    QModelIndex EditedIndex() const { return editing_; }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* node = tree_->NodeAt(index);
        if (!edit || !node) return;
        try {
            std::string text = platform::FromQString(edit->text());
            // While a refusal is shown, the editor over the node shows the name it keeps.
            if (text.empty()) {
                const QSignalBlocker quiet(edit);
                edit->setText(node->text(0));
            }
            tree_->TreeEdited(node, text);
        } catch (const std::exception& e) {
            lang::ShowMessageText(e.what());
        }
    }

private:
    TObjectsTree* tree_;
    mutable QPointer<QWidget> editor_;
    mutable QPersistentModelIndex editing_;
};

}  // namespace

TObjectsTree::TObjectsTree(QWidget* owner, platform::WindowHandle mainHandle)
    : QTreeWidget(owner), mainHandle_(mainHandle), images_(std::make_unique<TTreeImages>()) {
    setObjectName("ObjectsTree");
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);   // a double click opens the object's dialog
    setIconSize(QSize(TTreeImages::kSize, TTreeImages::kSize));
    // Rename in place by F2 or a click on the selected node; the caption goes to TreeEdited.
    setEditTriggers(EditKeyPressed | SelectedClicked);
    setItemDelegate(new TRenameDelegate(this));
    // Nodes are dragged among their siblings by the tree's own rule (startDrag, dropEvent), never
    // by Qt's moves.
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(false);
    ClearClipboard();
    messageDialog_ = new TMessageDialog(this);
    messageDialog_->Title = lang::GetMessageText("APPLICATION_NAME");
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { Guarded([&] { TreeChange(current); }); });
    // However a node opens (a click, a key, a command), it shows its children.
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { Guarded([&] { EnsureChildren(node); }); });
    handle_ = platform::MessageHub().Register({});
}

void TObjectsTree::CommitRename() {
    auto* delegate = dynamic_cast<TRenameDelegate*>(itemDelegate());
    QWidget* editor = delegate ? delegate->OpenEditor() : nullptr;
    if (!editor || !editor->isVisible() || indexWidget(delegate->EditedIndex()) != editor) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

TObjectsTree::~TObjectsTree() {
    // The main window is going away with us: no more notices.
    platform::MessageHub().Unregister(handle_);
    blockSignals(true);
    ClearClipboard();
    clear();
}

TFileAccess* TObjectsTree::Store() { return GlobalStore().get(); }

void TObjectsTree::Notify(std::uint32_t code, std::int32_t lParam) {
    platform::MessageHub().Send(mainHandle_, wm::WM_CHILDNOTIFY, code, lParam);
}

void TObjectsTree::SetStatusLabel(QLabel* label) { statusLabel_ = label; }

// ---- plumbing

void TObjectsTree::Clear() {
    const platform::TBusyCursor busy;
    ClearClipboard();
    const bool hadSelection = currentItem() != nullptr;
    {
        const QSignalBlocker blocker(this);
        clear();
    }
    if (hadSelection) TreeChange(nullptr);
}

void TObjectsTree::SetNodeName(QTreeWidgetItem* node, const std::string& name) {
    if (auto* n = TTreeNode::Of(node)) {
        n->Data.Name = name;
        n->Changed();
        // The status line names the selected object: a new name shows there at once.
        if (node == currentItem()) ShowStatus(node);
    }
}

void TObjectsTree::RunTest() { Notify(wm::cnRunSelectedTest, static_cast<std::int32_t>(handle_)); }

namespace {

// Every node below node that has children, in display order.
void CollectParents(QTreeWidgetItem* node, std::vector<QTreeWidgetItem*>& out) {
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        if (child->childCount() == 0) continue;
        out.push_back(child);
        CollectParents(child, out);
    }
}

}  // namespace

// As CollapseAll: with a layout pending, the view only notes each node as expanded and lays the
// rows out once at the end.
void TObjectsTree::ExpandAll(QTreeWidgetItem* node) {
    if (!node) return;
    const platform::TBusyCursor busy;
    BuildAll(node);
    std::vector<QTreeWidgetItem*> parents;
    CollectParents(node, parents);
    scheduleDelayedItemsLayout();
    node->setExpanded(true);
    for (QTreeWidgetItem* n : parents) n->setExpanded(true);
    executeDelayedItemsLayout();
}

namespace {

// Every expanded node below node, in display order.
void CollectExpanded(QTreeWidgetItem* node, std::vector<QTreeWidgetItem*>& out) {
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        if (child->childCount() == 0 || !child->isExpanded()) {
            // A collapsed node may still hold expanded nodes, which stay hidden until it opens.
            if (child->childCount() > 0) CollectExpanded(child, out);
            continue;
        }
        out.push_back(child);
        CollectExpanded(child, out);
    }
}

}  // namespace

// Collapsing one visible node makes the view drop the rows below it, which costs as much as the
// rows it shows; node by node that grows with the square of the rows. With a layout pending, the
// view only forgets each node's expanded state, and lays the rows out once at the end.
void TObjectsTree::CollapseAll(QTreeWidgetItem* node) {
    if (!node) return;
    const platform::TBusyCursor busy;
    std::vector<QTreeWidgetItem*> expanded;
    CollectExpanded(node, expanded);
    scheduleDelayedItemsLayout();
    node->setExpanded(false);
    for (QTreeWidgetItem* n : expanded) n->setExpanded(false);
    executeDelayedItemsLayout();
}

void TObjectsTree::ClearClipboard() {
    if (markedNode_) SetNodeOverlay(markedNode_, kNoOverlay);
    markedNode_ = nullptr;
    pastedNode_ = nullptr;
    clipboardMode_ = cmNone;
}

// ---- queries

QTreeWidgetItem* TObjectsTree::SelectedNode() const { return currentItem(); }

std::int32_t TObjectsTree::SelectedParentID() const { return GetParentNodeID(SelectedNode()); }

std::int32_t TObjectsTree::TestIDOf(const QTreeWidgetItem* node) {
    const QTreeWidgetItem* test = TestNodeOf(node);
    return test ? GetNodeID(test) : -1;
}

std::string TObjectsTree::TestNameOf(const QTreeWidgetItem* node) {
    const QTreeWidgetItem* test = TestNodeOf(node);
    if (!test) return kUndefinedName;
    std::string name;
    GetNodeName(test, name);
    return name;
}

std::int32_t TObjectsTree::SelectedObjectTestID() const {
    TFileAccess* s = Store();
    const QTreeWidgetItem* node = SelectedNode();
    if (!s || !node) return -1;
    return StoredTestOf(*s, GetNodeKind(node), GetNodeID(node));
}

bool TObjectsTree::IsSelectedTestPrivate() const {
    if (!HasSelection()) return false;
    const std::int32_t test = SelectedObjectTestID();
    return test != -1 && Store()->IsTestPrivate(test);
}

bool TObjectsTree::IsLeaf(const QTreeWidgetItem* node) const {
    return node && node->childCount() == 0 && !IsPendingNode(node);
}

bool TObjectsTree::HasNoStoredChildren(const QTreeWidgetItem* node) const {
    if (!node) return false;
    const TFileAccess* s = Store();
    if (!s) return true;
    return StoredChildCount(*s, GetNodeKind(node), GetNodeID(node)) <= 0;
}

QTreeWidgetItem* TObjectsTree::FindTestGroupNode(std::int32_t id) const {
    if (!testsRootNode_ || id == -1) return nullptr;
    return FindChildByID(id, testsRootNode_);
}

QTreeWidgetItem* TObjectsTree::FindChildByID(std::int32_t id, const QTreeWidgetItem* node) const {
    if (!node) return nullptr;
    for (int i = 0; i < node->childCount(); ++i)
        if (GetNodeID(node->child(i)) == id) return node->child(i);
    return nullptr;
}

// ---- the status line

std::string TObjectsTree::StatusText(const QTreeWidgetItem* node) {
    const TNodeKindInfo& info = NodeKindInfo(GetNodeKind(node));
    // Roots and folders say what they are; groups and tests add their own name and ID; objects
    // inside a test name their test as well.
    std::string text = lang::GetMessageText(info.StatusKey);
    if (info.Object == TStoredType::None) return text;
    std::string caption;
    GetNodeName(node, caption);
    text += ": " + caption + " (Id = " + std::to_string(GetNodeID(node)) + ")";
    if (info.TestDepth > 0)
        text += ", " + lang::GetMessageText(NodeKindInfo(nkTest).StatusKey) + " \"" + TestNameOf(node) + "\"";
    return text;
}

void TObjectsTree::TreeChange(QTreeWidgetItem* node) {
    // Sent in every case, even when the text cannot be made.
    if (node) ShowStatus(node);
    Notify(wm::cnSelectionChanged, 0);
}

void TObjectsTree::ShowStatus(const QTreeWidgetItem* node) {
    try {
        const std::string text = StatusText(node);
        if (statusLabel_) statusLabel_->setText(platform::ToQString(text));
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

// ---- mouse

void TObjectsTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) setCurrentItem(item);
    event->accept();
}

void TObjectsTree::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) Guarded([this] { ChangeObject(); });
}
