#pragma once
#include <QTreeWidgetItem>

#include <cstdint>
#include <memory>
#include <string>

#include "tree/NodeKind.h"

class QTreeWidget;

// What every node of the objects tree carries.
struct TNodeData {
    std::int32_t Id = -1;         // the stored object's ID; -1 for the root and the tests root
    std::int32_t ParentId = -1;   // not filled by AddObjectNode, read by nothing
    std::string Name;             // the caption, code page, at most 255 bytes
    TNodeKind Kind = nkNone;

    bool operator==(const TNodeData&) const = default;
};

// A node of the objects tree: the item holds its record, so the record lives exactly as long as
// the node. Caption and picture are read from the record, never stored twice.
class TTreeNode : public QTreeWidgetItem {
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 17;

    explicit TTreeNode(const TNodeData& data);
    // A copy would share what TNodeRef watches, and outlive the original unnoticed.
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TNodeData Data;
    // The mark of a cut or copied node: kCutOverlayImage, kCopyOverlayImage or kNoOverlay.
    int Overlay = kNoOverlay;

    QVariant data(int column, int role) const override;
    // The view repaints the node after its record changed.
    void Changed() { emitDataChanged(); }

    // The node's own record; nullptr for nil and for items that are not tree nodes.
    static TTreeNode* Of(QTreeWidgetItem* item);
    static const TTreeNode* Of(const QTreeWidgetItem* item);

    // Expires when the node is deleted. Made on the first request, so that the nodes that nobody
    // holds cost nothing.
    std::weak_ptr<const void> Lifetime();

private:
    std::shared_ptr<const char> lifetime_;
};

// A node held by something other than its parent (the tree's mark, its root): it reads as nullptr
// once the node is deleted, whichever way that happened (a remove, a refill, the view's own clear),
// and follows the node wherever it is moved in the tree. An item that is no tree node is not held.
class TNodeRef {
public:
    TNodeRef() = default;
    TNodeRef& operator=(QTreeWidgetItem* node);

    QTreeWidgetItem* Get() const { return lifetime_.expired() ? nullptr : node_; }
    operator QTreeWidgetItem*() const { return Get(); }
    QTreeWidgetItem* operator->() const { return Get(); }

private:
    QTreeWidgetItem* node_ = nullptr;
    std::weak_ptr<const void> lifetime_;
};

// Adds a node as the last child of parent (a top-level node when parent is null; tree may be null
// when parent is given) with the Id, Name and Kind of value; ParentId is not copied.
QTreeWidgetItem* AddObjectNode(QTreeWidget* tree, QTreeWidgetItem* parent, const TNodeData& value);

// The node's whole record; record is left alone for nil.
void ReadNodeData(const QTreeWidgetItem* node, TNodeData& record);
// Id, ParentId, Name and Kind of the node's record; record is left alone for nil.
void GetNodeData(const QTreeWidgetItem* node, TNodeData& record);
std::int32_t GetNodeID(const QTreeWidgetItem* node);          // -1 for nil
void SetNodeID(QTreeWidgetItem* node, std::int32_t id);       // nothing for nil
void GetNodeName(const QTreeWidgetItem* node, std::string& name);   // empty for nil
TNodeKind GetNodeKind(const QTreeWidgetItem* node);           // nkNone for nil
// Sets the kind, and with it the picture; nothing for nil.
void SetNodeKind(QTreeWidgetItem* node, TNodeKind kind);
std::int32_t GetParentNodeID(const QTreeWidgetItem* node);    // -1 without a parent
// A node whose children stand in the store but are not built yet: it shows the expand indicator,
// and the tree builds them before anything reads or changes them. False for nil.
bool IsPendingNode(const QTreeWidgetItem* node);
void SetPendingNode(QTreeWidgetItem* node, bool pending);   // nothing for nil
// The cut or copy mark; kNoOverlay for nil.
int GetNodeOverlay(const QTreeWidgetItem* node);
void SetNodeOverlay(QTreeWidgetItem* node, int overlay);      // nothing for nil
