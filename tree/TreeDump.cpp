#include "tree/TreeDump.h"

#include <QTreeWidget>

#include "platform/qt/QtText.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeNode.h"

namespace {

void DumpLine(int depth, int kind, std::int32_t id, const std::string& caption, int overlay, std::string& out) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += NodeKindName(kind);
    out += ' ';
    out += std::to_string(id);
    out += ' ';
    out += caption;
    switch (overlay) {
        case kCutOverlayImage: out += " [cut]"; break;
        case kCopyOverlayImage: out += " [copy]"; break;
        default: break;
    }
    out += '\n';
}

void Dump(const QTreeWidgetItem* node, int depth, std::string& out) {
    DumpLine(depth, GetNodeKind(node), GetNodeID(node), platform::FromQString(node->text(0)), GetNodeOverlay(node), out);
    for (int i = 0; i < node->childCount(); ++i) Dump(node->child(i), depth + 1, out);
    // What is not built yet, as it will be: a dump shows the whole tree.
    TObjectsTree::WalkPending(node, [&](const TObjectsTree::TPendingRecord& r) {
        DumpLine(depth + 1 + r.Depth, r.Kind, r.Id, platform::FromQString(platform::ToQString(std::string(r.Name))),
                 kNoOverlay, out);
        return false;
    });
}

}  // namespace

std::string DumpTree(const QTreeWidget& tree) {
    std::string out;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) Dump(tree.topLevelItem(i), 0, out);
    return out;
}

std::string DumpSubtree(const QTreeWidgetItem* node) {
    std::string out;
    if (node) Dump(node, 0, out);
    return out;
}
