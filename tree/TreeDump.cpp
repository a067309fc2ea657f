#include "tree/TreeDump.h"

#include <QTreeWidget>

#include "platform/qt/QtText.h"
#include "tree/TreeNode.h"

namespace {

void Dump(const QTreeWidgetItem* node, int depth, std::string& out) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += NodeKindName(GetNodeKind(node));
    out += ' ';
    out += std::to_string(GetNodeID(node));
    out += ' ';
    out += platform::FromQString(node->text(0));
    switch (GetNodeOverlay(node)) {
        case kCutOverlayImage: out += " [cut]"; break;
        case kCopyOverlayImage: out += " [copy]"; break;
        default: break;
    }
    out += '\n';
    for (int i = 0; i < node->childCount(); ++i) Dump(node->child(i), depth + 1, out);
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
