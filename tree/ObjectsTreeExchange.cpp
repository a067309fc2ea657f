// Import and export of one test through the exchange dialogs.
#include <QTreeWidgetItem>

#include "exchange/FormExportTest.h"
#include "exchange/FormImportTest.h"
#include "platform/qt/ModalDialogs.h"
#include "store/FileAccess.h"
#include "tree/ObjectsTree.h"

void TObjectsTree::ImportTest(std::int32_t groupID) {
    TFileAccess* s = Store();
    if (!s) return;
    Guarded([&] {
        TFormImportTest form;
        form.SelectTestGroup(groupID);
        platform::ExecModal(form);
        const std::int32_t group = form.GetTestGroupID();
        if (group == -1) return;
        QTreeWidgetItem* groupNode = FindTestGroupNode(group);
        if (!groupNode) return;
        const std::int32_t test = form.GetImportedTestID();
        std::string name;
        s->GetTestName(test, name);
        QTreeWidgetItem* node = AddObjectNode(nullptr, groupNode, TNodeData{test, group, name, nkTest});
        FillNode(node);
        // The new test stands last in its group, in the tree and in the order saved.
        RenumberChildren(groupNode);
        groupNode->setExpanded(true);
        node->setExpanded(true);
    });
}

void TObjectsTree::ExportTest(std::int32_t groupID, std::int32_t testID) {
    if (!Store()) return;
    Guarded([&] {
        TFormExportTest form;
        form.SelectTest(groupID, testID);
        platform::ExecModal(form);
    });
}
