#include "tree/TreeNode.h"

#include <QTreeWidget>

#include "platform/qt/QtText.h"
#include "tree/ObjectsTree.h"

// Every node can be edited as far as Qt is concerned; the tree decides which may be renamed.
TTreeNode::TTreeNode(const TNodeData& data) : QTreeWidgetItem(NodeType), Data(data) {
    setFlags(flags() | Qt::ItemIsEditable);
}

QVariant TTreeNode::data(int column, int role) const {
    if (column == 0) {
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole: return platform::ToQString(Data.Name);
            case Qt::DecorationRole:
                if (const auto* tree = qobject_cast<const TObjectsTree*>(treeWidget()))
                    return tree->NodeIcon(Data.Kind, Overlay);
                return {};
            default: break;
        }
    }
    return QTreeWidgetItem::data(column, role);
}

TTreeNode* TTreeNode::Of(QTreeWidgetItem* item) {
    return item && item->type() == NodeType ? static_cast<TTreeNode*>(item) : nullptr;
}

const TTreeNode* TTreeNode::Of(const QTreeWidgetItem* item) {
    return item && item->type() == NodeType ? static_cast<const TTreeNode*>(item) : nullptr;
}

std::weak_ptr<const void> TTreeNode::Lifetime() {
    if (!lifetime_) lifetime_ = std::make_shared<const char>('\0');
    return lifetime_;
}

TNodeRef& TNodeRef::operator=(QTreeWidgetItem* node) {
    TTreeNode* n = TTreeNode::Of(node);
    node_ = n;
    lifetime_ = n ? n->Lifetime() : std::weak_ptr<const void>();
    return *this;
}

QTreeWidgetItem* AddObjectNode(QTreeWidget* tree, QTreeWidgetItem* parent, const TNodeData& value) {
    TNodeData own;
    own.Id = value.Id;
    own.Name = value.Name;
    own.Kind = value.Kind;
    auto* node = new TTreeNode(own);
    if (parent) parent->addChild(node);
    else if (tree) tree->addTopLevelItem(node);
    return node;
}

void ReadNodeData(const QTreeWidgetItem* node, TNodeData& record) {
    if (const auto* n = TTreeNode::Of(node)) record = n->Data;
}

void GetNodeData(const QTreeWidgetItem* node, TNodeData& record) {
    if (const auto* n = TTreeNode::Of(node)) {
        record.Id = n->Data.Id;
        record.ParentId = n->Data.ParentId;
        record.Name = n->Data.Name;
        record.Kind = n->Data.Kind;
    }
}

std::int32_t GetNodeID(const QTreeWidgetItem* node) {
    const auto* n = TTreeNode::Of(node);
    return n ? n->Data.Id : -1;
}

void SetNodeID(QTreeWidgetItem* node, std::int32_t id) {
    if (auto* n = TTreeNode::Of(node)) n->Data.Id = id;
}

void GetNodeName(const QTreeWidgetItem* node, std::string& name) {
    const auto* n = TTreeNode::Of(node);
    name = n ? n->Data.Name : std::string();
}

TNodeKind GetNodeKind(const QTreeWidgetItem* node) {
    const auto* n = TTreeNode::Of(node);
    return n ? n->Data.Kind : nkNone;
}

void SetNodeKind(QTreeWidgetItem* node, TNodeKind kind) {
    auto* n = TTreeNode::Of(node);
    if (!n || n->Data.Kind == kind) return;
    n->Data.Kind = kind;
    n->Changed();
}

std::int32_t GetParentNodeID(const QTreeWidgetItem* node) {
    return node && node->parent() ? GetNodeID(node->parent()) : -1;
}

// The indicator shown without children is the mark itself: nothing else sets it.
bool IsPendingNode(const QTreeWidgetItem* node) {
    return node && node->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

void SetPendingNode(QTreeWidgetItem* node, bool pending) {
    if (!node) return;
    const auto policy = pending ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicatorWhenChildless;
    if (node->childIndicatorPolicy() != policy) node->setChildIndicatorPolicy(policy);
}

int GetNodeOverlay(const QTreeWidgetItem* node) {
    const auto* n = TTreeNode::Of(node);
    return n ? n->Overlay : kNoOverlay;
}

void SetNodeOverlay(QTreeWidgetItem* node, int overlay) {
    auto* n = TTreeNode::Of(node);
    if (!n || n->Overlay == overlay) return;
    n->Overlay = overlay;
    n->Changed();
}
