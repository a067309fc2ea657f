// Find: the first matching object after a node, in display order, without wrapping around.
#include <QTreeWidgetItemIterator>

#include "lang/DlgLangConverter.h"
#include "tree/NodeSearch.h"
#include "tree/ObjectsTree.h"

QTreeWidgetItem* TObjectsTree::FindObject(QTreeWidgetItem* startNode, const std::string& text, std::uint8_t flags,
                                          std::uint8_t code) {
    const TNodeSearch search(text, flags, code);
    // What is not built yet is searched in the store, in the order it would stand in; only the
    // part that holds the match is built.
    const auto inPending = [&](QTreeWidgetItem* item) -> QTreeWidgetItem* {
        TPendingRecord hit;
        const bool found = WalkPending(item, [&](const TPendingRecord& r) {
            if (!search.Matches(r.Kind, r.Name)) return false;
            hit = r;
            return true;
        });
        return found ? BuildPathTo(item, hit.Kind, hit.Id) : nullptr;
    };
    QTreeWidgetItem* result = nullptr;
    // A start node of another tree, or none in a tree of its own, starts nowhere.
    const bool starts = !startNode || startNode->treeWidget() == this;
    if (starts && startNode) result = inPending(startNode);
    if (starts && !result) {
        QTreeWidgetItemIterator it = startNode ? ++QTreeWidgetItemIterator(startNode) : QTreeWidgetItemIterator(this);
        for (; *it; ++it) {
            const TTreeNode* node = TTreeNode::Of(*it);
            if (node && search.Matches(node->Data.Kind, node->Data.Name)) {
                result = *it;
                break;
            }
            if ((result = inPending(*it))) break;
        }
    }
    if (!result) {
        lang::ShowMessageByKey("OBJECTSTREE_FIND_NO_OBJECT");
        return nullptr;
    }
    setFocus(Qt::OtherFocusReason);
    for (QTreeWidgetItem* up = result->parent(); up; up = up->parent()) up->setExpanded(true);
    setCurrentItem(result);
    scrollToItem(result);
    return result;
}
