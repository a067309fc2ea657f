#pragma once
#include <QTreeWidgetItem>

#include <cstdint>
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

    TNodeData Data;
    // The mark of a cut or copied node: kCutOverlayImage, kCopyOverlayImage or kNoOverlay.
    int Overlay = kNoOverlay;

    QVariant data(int column, int role) const override;
    // The view repaints the node after its record changed.
    void Changed() { emitDataChanged(); }

    // The node's own record; nullptr for nil and for items that are not tree nodes.
    static TTreeNode* Of(QTreeWidgetItem* item);
    static const TTreeNode* Of(const QTreeWidgetItem* item);
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
// The cut or copy mark; kNoOverlay for nil.
int GetNodeOverlay(const QTreeWidgetItem* node);
void SetNodeOverlay(QTreeWidgetItem* node, int overlay);      // nothing for nil
