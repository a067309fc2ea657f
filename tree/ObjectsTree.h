#pragma once
#include <QLabel>
#include <QPointer>
#include <QTreeWidget>

#include <cstdint>
#include <exception>
#include <memory>
#include <functional>
#include <string>
#include <string_view>

#include "lang/DlgLangConverter.h"
#include "platform/MessageHub.h"
#include "store/TypeList.h"
#include "tree/NodeKind.h"
#include "tree/TreeImages.h"
#include "tree/TreeNode.h"

class QMimeData;
class TFileAccess;
class TMessageDialog;

// The tree view of the open project in the main window's left pane: one node per stored object
// (those below a question made when it is first opened or needed), grouped under folders, and the
// place where objects are created, changed, removed, renamed, reordered, moved, copied and found.
// It works on the global store (GlobalStore()) and tells the main window of its changes through
// the message hub (WM_CHILDNOTIFY: cnSelectionChanged after a change of selection, cnTreeChanged
// after a change of structure, cnRunSelectedTest to run the selected test).
class TObjectsTree : public QTreeWidget {
    Q_OBJECT
public:
    // The test name given when the selected node lies above any test.
    static constexpr const char* kUndefinedName = "*****UNDEFINED_STRING*****";

    // owner: the widget that holds the tree; mainHandle: the main window's handle in the hub.
    TObjectsTree(QWidget* owner, platform::WindowHandle mainHandle);
    ~TObjectsTree() override;

    // The tree's own handle in the hub (the second parameter of cnTreeChanged and cnRunSelectedTest).
    platform::WindowHandle Handle() const { return handle_; }
    platform::WindowHandle MainHandle() const { return mainHandle_; }

    // The label that shows the status line; the main window adds it to its status bar as a
    // permanent widget, so that the hints of menu items do not wipe it. May be null.
    void SetStatusLabel(QLabel* label);
    QLabel* StatusLabel() const { return statusLabel_; }

    // The yes/no box of the remove operations.
    TMessageDialog& MessageDialog() const { return *messageDialog_; }

    const TTreeImages& Images() const { return *images_; }
    const QIcon& NodeIcon(int kind, int overlay) const { return images_->KindIcon(kind, overlay); }

    // ---- plumbing
    // Drops the cut/copy mark and deletes every node.
    void Clear();
    // Sets the node's Name and with it its caption (and the status line when it is selected);
    // nothing for nil.
    void SetNodeName(QTreeWidgetItem* node, const std::string& name);
    // Asks the main window to run the selected test (cnRunSelectedTest).
    void RunTest();
    // Expand or collapse the node and everything below it; nothing for nil.
    void ExpandAll(QTreeWidgetItem* node);
    void CollapseAll(QTreeWidgetItem* node);

    // ---- queries of the main window; none changes anything
    bool HasSelection() const { return SelectedNode() != nullptr; }
    QTreeWidgetItem* SelectedNode() const;
    TNodeKind SelectedKind() const { return GetNodeKind(SelectedNode()); }
    std::int32_t NodeID(const QTreeWidgetItem* node) const { return GetNodeID(node); }
    std::int32_t SelectedID() const { return GetNodeID(SelectedNode()); }
    std::int32_t SelectedParentID() const;
    // The test that holds the selected node, found in the tree; -1 above any test.
    std::int32_t SelectedTestID() const { return TestIDOf(SelectedNode()); }
    std::string SelectedTestName() const { return TestNameOf(SelectedNode()); }
    // The test of the selected object, asked of the store; -1 when none.
    std::int32_t SelectedObjectTestID() const;
    bool IsSelectedTestPrivate() const;
    // Whether the marked node may be pasted under the selected node.
    bool CanPaste() const;
    bool IsLeaf(const QTreeWidgetItem* node) const;                // False for nil
    bool HasNoStoredChildren(const QTreeWidgetItem* node) const;   // False for nil
    QTreeWidgetItem* RootNode() const { return rootNode_; }
    QTreeWidgetItem* TestsRootNode() const { return testsRootNode_; }
    QTreeWidgetItem* FindTestGroupNode(std::int32_t id) const;
    QTreeWidgetItem* FindChildByID(std::int32_t id, const QTreeWidgetItem* node) const;
    // The node of a model index of the view; nullptr for none.
    QTreeWidgetItem* NodeAt(const QModelIndex& index) const { return itemFromIndex(index); }

    // The test above a node, by the shape of the tree; -1 and kUndefinedName above any test.
    static std::int32_t TestIDOf(const QTreeWidgetItem* node);
    static std::string TestNameOf(const QTreeWidgetItem* node);
    // The status line of a node.
    static std::string StatusText(const QTreeWidgetItem* node);

    // ---- building
    // Empties the tree and, when a project is open, builds it whole.
    void Rebuild();
    // Adds the children of one node by its kind; nothing for nil.
    void FillNode(QTreeWidgetItem* node);
    // The fill chain; none removes existing children.
    void FillTestGroups(QTreeWidgetItem* node);
    void FillTests(QTreeWidgetItem* node);
    void FillScales(QTreeWidgetItem* node, bool withFolder);
    void FillStimuli(QTreeWidgetItem* node, bool withFolder);
    void FillInterpretations(QTreeWidgetItem* node);
    void FillReactions(QTreeWidgetItem* node);
    void FillWeights(QTreeWidgetItem* node);
    // The children of a node that are stored objects of type, under a new folder (withFolder) where
    // the type is kept in a folder of a test.
    void FillObjects(TStoredType type, QTreeWidgetItem* node, bool withFolder);
    // The answers of a question are built when they are first needed: when the question is
    // expanded, or before anything reads or changes its children. EnsureChildren builds the
    // pending children of one node; BuildAll those of node and of everything below it (nullptr:
    // the whole tree).
    void EnsureChildren(QTreeWidgetItem* node);
    void BuildAll(QTreeWidgetItem* node);
    // One record below a pending node, as its node would stand there once built: Depth 0 is a
    // child of the pending node. Name is valid during the walk only.
    struct TPendingRecord {
        TNodeKind Kind = nkNone;
        std::int32_t Id = -1;
        std::string_view Name;
        int Depth = 0;
    };
    using TPendingVisit = std::function<bool(const TPendingRecord&)>;
    // Walks the records below a pending node in display order, read from the store, until visit
    // gives true; gives whether it did. False for a node that is not pending.
    static bool WalkPending(const QTreeWidgetItem* node, const TPendingVisit& visit);
    // Builds what lies below a pending node and gives the node of one of its records (of that
    // kind's stored type, with that ID); nullptr when it is not there.
    QTreeWidgetItem* BuildPathTo(QTreeWidgetItem* pending, TNodeKind kind, std::int32_t id);
    // Brings the kind of every weight node in line with the store (bound or not).
    void RefreshWeightKinds();
    // The selection became node: writes the status line (not for nil) and sends cnSelectionChanged.
    void TreeChange(QTreeWidgetItem* node);
    // Writes the status line of node.
    void ShowStatus(const QTreeWidgetItem* node);

    // ---- operations on the selected node
    void CreateObject();
    void ChangeObject();
    void RemoveObject();
    void RemoveChildren();
    // The import dialog with the group preselected (-1: none); an imported test is added under
    // its group's node, last. Sends nothing.
    void ImportTest(std::int32_t groupID);
    // The export dialog with the group and the test preselected (-1: none). Sends nothing.
    void ExportTest(std::int32_t groupID, std::int32_t testID);

    // ---- cut, copy and paste: the tree's own clipboard, one marked node
    // 0 nothing marked, 1 cut, 2 copy.
    enum : std::uint8_t { cmNone = 0, cmCut = 1, cmCopy = 2 };
    // Mark the selected node for a move or for a copy; nothing without a selection.
    void Cut();
    void Copy();
    // Moves the marked object (cut) or puts a deep copy of it (copy) under the selected node,
    // store first: when the store refuses, the tree stays as it was and the error is shown. A
    // moved object comes first among its new siblings, a copy last; either way their Orders
    // follow the tree. Weights keep only bindings to scales of the test they land in. Nothing
    // unless CanPaste. Sends cnTreeChanged.
    void Paste();
    void ClearClipboard();
    QTreeWidgetItem* MarkedNode() const { return markedNode_; }
    QTreeWidgetItem* PastedNode() const { return pastedNode_; }
    std::uint8_t ClipboardMode() const { return clipboardMode_; }

    // ---- rename in place (F2, or a click on the selected node)
    // Whether the selected node may be renamed: not the root, the tests root or a folder.
    // Without a selection allowEdit is left as it is.
    void TreeEditing(bool& allowEdit) const;
    // Stores text as the name of node's object (cut to 255 bytes, line breaks as blanks) and
    // leaves the stored name in text. An empty text is refused with a message and text becomes
    // the caption again. Sends cnSelectionChanged in every case.
    void TreeEdited(QTreeWidgetItem* node, std::string& text);
    // An open rename editor ends as Return ends it: its name is stored (or refused). Every
    // command of the tree and of the main window runs this first, so that a typed name is
    // neither lost nor overwritten.
    void CommitRename();

    // ---- reordering among siblings: drag-and-drop and the Arrange Items dialog
    // A node may be dropped on another child of its own parent of its own kind (weights with and
    // without a scale count as one).
    static bool CanDropOn(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target);
    // The selected node dragged over the node at pos (viewport coordinates).
    void TreeDragOver(const QPoint& pos, bool& accept) const;
    // The selected node dropped on the node at pos.
    void TreeDragDrop(const QPoint& pos);
    // Moves dragged to stand directly before target and writes the new Orders (cnTreeChanged). A
    // pair that CanDropOn refuses does nothing.
    void DropBefore(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    // What a drag of the selected node carries; the tree takes drops only of its own drags.
    QMimeData* CreateDragData() const;
    bool IsOwnDrag(const QMimeData* mime) const;
    // Each child's index becomes its stored Order, and the table is sorted.
    void RenumberChildren(QTreeWidgetItem* node);
    // The Arrange Items dialog on the children of the selected node; on OK the nodes and the
    // stored Orders take the dialog's order (cnTreeChanged).
    void ArrangeItems();

    // ---- find
    // The first object after startNode in display order (collapsed nodes included; nullptr: from
    // the first node) whose caption matches text with the flags (TSearchFlag) and the object type
    // code (TFindObjectType). The match gets the focus and the selection, and is opened to and
    // scrolled into view. The search never wraps around; without a match it shows the not-found
    // message and gives nullptr.
    QTreeWidgetItem* FindObject(QTreeWidgetItem* startNode, const std::string& text, std::uint8_t flags,
                                std::uint8_t code);

    // ---- quick text import into the selected folder of a test that is not private
    // Scales with their interpretations into a scales folder, questions with their answers into a
    // questions folder, from a text file the user picks; on any other node nothing happens. The
    // folder is filled anew from the store, even when the import stopped part-way, and opened;
    // then cnSelectionChanged.
    void FastImportScales();
    void FastImportStimuls();
    // The titles and the filter of the two file dialogs.
    static constexpr const char* kImportScalesTitle = "Import scales and interpretations";
    static constexpr const char* kImportStimulsTitle = "Import questions and answers";
    static constexpr const char* kImportFilter = "Text Files (*.txt)|*.txt|Any File (*.*)|*.*";

protected:
    // A right-button press focuses the tree and selects the node under the cursor, if any.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Rename in place begins only where TreeEditing allows it.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Drags run through the tree's own rule; Qt's own moves (which re-parent and delete
    // items) never run.
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static TFileAccess* Store();
    void Notify(std::uint32_t code, std::int32_t lParam);
    // Runs an event handler's work; what it raises is shown, never passed to the event loop.
    template <typename F>
    void Guarded(F&& work);

    // Create, change and remove members; each takes the selected node (and its ID).
    void AddTestGroup(QTreeWidgetItem* parent);
    void AddTest(QTreeWidgetItem* parent);
    void AddScale(QTreeWidgetItem* parent);
    void AddInterpretation(QTreeWidgetItem* parent);
    void AddStimulus(QTreeWidgetItem* parent);
    void AddReaction(QTreeWidgetItem* parent);
    void AddWeight(QTreeWidgetItem* parent);
    void ChangeTestGroup(std::int32_t id, QTreeWidgetItem* node);
    void ChangeTest(std::int32_t id, QTreeWidgetItem* node);
    void ChangeScale(std::int32_t id, QTreeWidgetItem* node);
    void ChangeInterpretation(std::int32_t id, QTreeWidgetItem* node);
    void ChangeWeight(std::int32_t id, QTreeWidgetItem* node);
    void ChangeStimulus(std::int32_t id, QTreeWidgetItem* node);
    void ChangeReaction(std::int32_t id, QTreeWidgetItem* node);

    // The quick import into a folder of kind folderKind.
    void FastImport(TNodeKind folderKind);
    bool Confirm(const char* titleKey, const char* questionKey);

    void Mark(std::uint8_t mode, int overlay);
    void PasteMoved(QTreeWidgetItem* target);
    void PasteCopied(QTreeWidgetItem* target);
    // The weight kinds of one node and everything below it.
    void RefreshWeightKinds(QTreeWidgetItem* node);
    // Moves node to index under parent; the selection and the expanded nodes of its subtree stay.
    void MoveNode(QTreeWidgetItem* node, QTreeWidgetItem* parent, int index);
    // Puts node's children in the order of the list, or fills them anew from the store when the
    // two do not hold the same objects.
    void ArrangeChildren(QTreeWidgetItem* node, const TTypeTAnyObjectSingleList& order);

    platform::WindowHandle handle_ = platform::kNoWindow;
    platform::WindowHandle mainHandle_ = platform::kNoWindow;
    std::unique_ptr<TTreeImages> images_;
    TMessageDialog* messageDialog_ = nullptr;   // a child of the tree
    QPointer<QLabel> statusLabel_;
    // Held so that they read as nullptr once their node is gone, however it went.
    TNodeRef markedNode_;
    TNodeRef pastedNode_;
    std::uint8_t clipboardMode_ = cmNone;
    TNodeRef rootNode_;
    TNodeRef testsRootNode_;
};

template <typename F>
void TObjectsTree::Guarded(F&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}
