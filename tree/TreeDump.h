#pragma once
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

// The tree as text, one line a node in display order, indented two blanks a level:
//   nkTest 3 Personality
// with " [cut]" or " [copy]" behind a marked node. Tests compare trees by these dumps. Children not
// built yet are dumped as they will be built, so a dump always shows the whole tree.
std::string DumpTree(const QTreeWidget& tree);
// One node and everything below it, the node at depth 0.
std::string DumpSubtree(const QTreeWidgetItem* node);
