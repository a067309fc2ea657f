// Building the tree from the store: the whole tree, one node's children, the weight kinds.
#include <QList>

#include <exception>
#include <memory>

#include "lang/DlgLangConverter.h"
#include "platform/qt/BusyCursor.h"
#include "store/FileAccess.h"
#include "tree/ObjectsTree.h"

namespace {

// The caption of a root or a folder.
std::string FixedCaption(TNodeKind kind) { return lang::GetMessageText(NodeKindInfo(kind).CaptionKey); }

TTreeNode* NewNode(std::int32_t id, const std::string& name, TNodeKind kind) {
    TNodeData d;
    d.Id = id;
    d.Name = name;
    d.Kind = kind;
    return new TTreeNode(d);
}

// The new children of one node, hung under it in one step: the view hears of one insertion, and
// the grandchildren are added while their parent is still outside the view.
class TChildBatch {
public:
    explicit TChildBatch(QTreeWidgetItem* parent) : parent_(parent) {}
    ~TChildBatch() { qDeleteAll(items_); }   // only what was never handed over
    TChildBatch(const TChildBatch&) = delete;
    TChildBatch& operator=(const TChildBatch&) = delete;

    QTreeWidgetItem* Add(const TAnyObject& record, TNodeKind kind) { return Add(NewNode(record.ID, record.Name, kind)); }
    QTreeWidgetItem* Add(QTreeWidgetItem* node) {
        items_.append(node);
        return node;
    }
    void HandOver() {
        if (!items_.isEmpty()) parent_->addChildren(items_);
        items_.clear();
    }

private:
    QTreeWidgetItem* parent_;
    QList<QTreeWidgetItem*> items_;
};

// Runs one fill loop: what it raises is shown and ends that loop only; the nodes made before stay.
template <typename F>
void FillLoop(QTreeWidgetItem* parent, F&& loop) {
    if (!parent || !GlobalStore()) return;
    // What is built now is what was pending.
    SetPendingNode(parent, false);
    TChildBatch batch(parent);
    try {
        loop(*GlobalStore(), batch);
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
    batch.HandOver();
}

// The children of one parent in a table, in table order.
template <typename Table, typename F>
void ForEachChild(const Table& table, std::int32_t parentID, F&& f) {
    for (int i : table.IndexesOfParent(parentID)) f(table.At(i));
}

// The scales or the questions of a test: under a new folder of the test node (withFolder), or
// under the folder node itself. Both carry the test's ID.
template <typename F>
void FillTestPart(QTreeWidgetItem* node, bool withFolder, TNodeKind folderKind, F&& items) {
    if (!node) return;
    const std::int32_t test = GetNodeID(node);
    if (!withFolder) {
        FillLoop(node, [&](TFileAccess& s, TChildBatch& batch) { items(s, batch, test); });
        return;
    }
    FillLoop(node, [&](TFileAccess&, TChildBatch& batch) {
        QTreeWidgetItem* folder = batch.Add(NewNode(test, FixedCaption(folderKind), folderKind));
        FillTestPart(folder, false, folderKind, items);
    });
}

}  // namespace

void TObjectsTree::Rebuild() {
    Clear();
    if (!Store()) return;
    const platform::TBusyCursor busy;
    std::unique_ptr<QTreeWidgetItem> root;
    try {
        root.reset(NewNode(-1, FixedCaption(nkRoot), nkRoot));
        rootNode_ = root.get();
        testsRootNode_ = NewNode(-1, FixedCaption(nkTestsRoot), nkTestsRoot);
        root->addChild(testsRootNode_);
        FillTestGroups(testsRootNode_);
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
    if (!root) return;
    // The whole tree is built outside the view and shown in one step.
    const QSignalBlocker blocker(this);
    addTopLevelItem(root.release());
    rootNode_->setExpanded(true);
}

void TObjectsTree::FillNode(QTreeWidgetItem* node) {
    const TNodeKind kind = GetNodeKind(node);
    if (kind == nkRoot || (kind == nkNone && node)) {
        Rebuild();
        return;
    }
    // Children that are stored objects of one type; else the folders, each with its contents.
    if (const TStoredType type = ChildObjectType(kind); type != TStoredType::None) {
        FillObjects(type, node, false);
        return;
    }
    for (const TNodeKind child : NodeKindInfo(kind).Children)
        if (NodeKindInfo(child).CarriesTestID) FillObjects(ChildObjectType(child), node, true);
}

void TObjectsTree::FillObjects(TStoredType type, QTreeWidgetItem* node, bool withFolder) {
    switch (type) {
        case TStoredType::TestGroup: FillTestGroups(node); break;
        case TStoredType::Test: FillTests(node); break;
        case TStoredType::Scale: FillScales(node, withFolder); break;
        case TStoredType::Interpretation: FillInterpretations(node); break;
        case TStoredType::Weight: FillWeights(node); break;
        case TStoredType::Stimulus: FillStimuli(node, withFolder); break;
        case TStoredType::Reaction: FillReactions(node); break;
        case TStoredType::None: break;
    }
}

void TObjectsTree::FillTestGroups(QTreeWidgetItem* node) {
    FillLoop(node, [this](TFileAccess& s, TChildBatch& batch) {
        for (int i = 0; i < s.TestGroups.RecordCount(); ++i) FillTests(batch.Add(s.TestGroups.At(i), nkTestGroup));
    });
}

void TObjectsTree::FillTests(QTreeWidgetItem* node) {
    FillLoop(node, [this, node](TFileAccess& s, TChildBatch& batch) {
        ForEachChild(s.Tests, GetNodeID(node), [&](const TTest& t) {
            FillNode(batch.Add(t, nkTest));
        });
    });
}

void TObjectsTree::FillScales(QTreeWidgetItem* node, bool withFolder) {
    FillTestPart(node, withFolder, nkScalesFolder,
                 [this](TFileAccess& s, TChildBatch& batch, std::int32_t test) {
                     ForEachChild(s.Scales, test, [&](const TScale& sc) { FillInterpretations(batch.Add(sc, nkScale)); });
                 });
}

void TObjectsTree::FillStimuli(QTreeWidgetItem* node, bool withFolder) {
    FillTestPart(node, withFolder, nkQuestionsFolder,
                 [this](TFileAccess& s, TChildBatch& batch, std::int32_t test) {
                     // Most of the nodes are answers and weights: they wait until the question opens.
                     ForEachChild(s.Stimuli, test, [&](const TStimul& st) {
                         SetPendingNode(batch.Add(st, nkQuestion), !s.Reactions.IndexesOfParent(st.ID).empty());
                     });
                 });
}

void TObjectsTree::FillInterpretations(QTreeWidgetItem* node) {
    FillLoop(node, [node](TFileAccess& s, TChildBatch& batch) {
        ForEachChild(s.Interpretations, GetNodeID(node),
                     [&](const TInterpretation& in) { batch.Add(in, nkInterpretation); });
    });
}

void TObjectsTree::FillReactions(QTreeWidgetItem* node) {
    FillLoop(node, [this, node](TFileAccess& s, TChildBatch& batch) {
        ForEachChild(s.Reactions, GetNodeID(node),
                     [&](const TReaction& r) { FillWeights(batch.Add(r, nkAnswer)); });
    });
}

void TObjectsTree::FillWeights(QTreeWidgetItem* node) {
    FillLoop(node, [node](TFileAccess& s, TChildBatch& batch) {
        ForEachChild(s.Weights, GetNodeID(node), [&](const TWeight& w) {
            batch.Add(w, WeightKind(w.ScaleID));
        });
    });
}

// ---- children built when first needed

void TObjectsTree::EnsureChildren(QTreeWidgetItem* node) {
    if (IsPendingNode(node)) FillNode(node);
}

namespace {

void BuildBelow(TObjectsTree& tree, QTreeWidgetItem* node) {
    tree.EnsureChildren(node);
    const int n = node->childCount();
    for (int i = 0; i < n; ++i) BuildBelow(tree, node->child(i));
}

using TPendingRecord = TObjectsTree::TPendingRecord;

bool WalkStored(const TFileAccess& s, TNodeKind kind, std::int32_t id, int depth,
                const TObjectsTree::TPendingVisit& visit);

// The children of parent in one table, each followed by what stands below it, as the fill
// builds them.
template <typename Table, typename KindOf>
bool WalkTable(const TFileAccess& s, const Table& table, std::int32_t parent, int depth, KindOf&& kindOf,
               const TObjectsTree::TPendingVisit& visit) {
    for (int i : table.IndexesOfParent(parent)) {
        const auto& r = table.At(i);
        const TNodeKind kind = kindOf(r);
        if (visit(TPendingRecord{kind, r.ID, r.Name, depth})) return true;
        // Most records are weights, which stand for leaves: no walk below them.
        if (NodeKindInfo(kind).Children[0] != nkNone && WalkStored(s, kind, r.ID, depth + 1, visit)) return true;
    }
    return false;
}

bool WalkStored(const TFileAccess& s, TNodeKind kind, std::int32_t id, int depth,
                const TObjectsTree::TPendingVisit& visit) {
    switch (ChildObjectType(kind)) {
        case TStoredType::Reaction:
            return WalkTable(s, s.Reactions, id, depth, [](const TReaction&) { return nkAnswer; }, visit);
        case TStoredType::Weight:
            return WalkTable(s, s.Weights, id, depth, [](const TWeight& w) { return WeightKind(w.ScaleID); }, visit);
        case TStoredType::Interpretation:
            return WalkTable(s, s.Interpretations, id, depth, [](const TInterpretation&) { return nkInterpretation; },
                             visit);
        default: return false;
    }
}

QTreeWidgetItem* FindBuilt(QTreeWidgetItem* node, TStoredType type, std::int32_t id) {
    const int n = node->childCount();
    for (int i = 0; i < n; ++i) {
        QTreeWidgetItem* child = node->child(i);
        if (GetNodeID(child) == id && NodeKindInfo(GetNodeKind(child)).Object == type) return child;
        if (QTreeWidgetItem* found = FindBuilt(child, type, id)) return found;
    }
    return nullptr;
}

}  // namespace

void TObjectsTree::BuildAll(QTreeWidgetItem* node) {
    if (node) {
        BuildBelow(*this, node);
        return;
    }
    for (int i = 0; i < topLevelItemCount(); ++i) BuildBelow(*this, topLevelItem(i));
}

bool TObjectsTree::WalkPending(const QTreeWidgetItem* node, const TPendingVisit& visit) {
    const TFileAccess* s = Store();
    return s && IsPendingNode(node) && WalkStored(*s, GetNodeKind(node), GetNodeID(node), 0, visit);
}

QTreeWidgetItem* TObjectsTree::BuildPathTo(QTreeWidgetItem* pending, TNodeKind kind, std::int32_t id) {
    if (!pending) return nullptr;
    BuildAll(pending);
    return FindBuilt(pending, NodeKindInfo(kind).Object, id);
}

namespace {

// Weight nodes stand only below answers, but every node is looked at, collapsed ones included; those
// not built yet take their kinds from the store when they are.
void RefreshWeights(QTreeWidgetItem* node, const TWeightTable& weights) {
    if (NodeKindInfo(GetNodeKind(node)).Object == TStoredType::Weight) {
        const int at = weights.IndexOfID(GetNodeID(node));
        if (at >= 0) SetNodeKind(node, WeightKind(weights.At(at).ScaleID));
    }
    const int n = node->childCount();
    for (int i = 0; i < n; ++i) RefreshWeights(node->child(i), weights);
}

}  // namespace

void TObjectsTree::RefreshWeightKinds() {
    for (int i = 0; i < topLevelItemCount(); ++i) RefreshWeightKinds(topLevelItem(i));
}

void TObjectsTree::RefreshWeightKinds(QTreeWidgetItem* node) {
    if (const TFileAccess* s = Store(); s && node) RefreshWeights(node, s->Weights);
}
