// The node routines, the pictures of the kinds and the cut/copy overlays.
#include <gtest/gtest.h>

#include <QImage>
#include <QTreeWidget>

#include <memory>
#include <set>

#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeImages.h"
#include "tree/TreeNode.h"

namespace {

TNodeData Data(std::int32_t id, std::int32_t parentId, const std::string& name, TNodeKind kind) {
    TNodeData d;
    d.Id = id;
    d.ParentId = parentId;
    d.Name = name;
    d.Kind = kind;
    return d;
}

QImage ImageOf(const QIcon& icon) { return icon.pixmap(TTreeImages::kSize).toImage().convertToFormat(QImage::Format_ARGB32); }

}  // namespace

TEST(NodeRoutines, NilNodesGiveTheEmptyAnswers) {
    const QTreeWidgetItem* none = nullptr;
    EXPECT_EQ(GetNodeID(none), -1);
    EXPECT_EQ(GetNodeKind(none), nkNone);
    std::string name = "left over";
    GetNodeName(none, name);
    EXPECT_EQ(name, "");
    EXPECT_EQ(GetParentNodeID(none), -1);
    EXPECT_EQ(GetNodeOverlay(none), kNoOverlay);
    TNodeData record = Data(7, 8, "kept", nkTest);
    ReadNodeData(none, record);
    GetNodeData(none, record);
    EXPECT_EQ(record, Data(7, 8, "kept", nkTest));
    // The setters ignore nil.
    SetNodeID(nullptr, 3);
    SetNodeKind(nullptr, nkScale);
    SetNodeOverlay(nullptr, kCutOverlayImage);

    ScopedGlobalStore store(std::make_unique<TFileAccess>());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    EXPECT_FALSE(tree.IsLeaf(nullptr));
    EXPECT_FALSE(tree.HasNoStoredChildren(nullptr));
    EXPECT_EQ(tree.NodeID(nullptr), -1);
    EXPECT_EQ(tree.FindChildByID(1, nullptr), nullptr);
    tree.SetNodeName(nullptr, "x");
    tree.ExpandAll(nullptr);
    tree.CollapseAll(nullptr);
    tree.FillNode(nullptr);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST(NodeRoutines, ImageIndexOfEveryKind) {
    const int expected[] = {2, 3, 7, 8, 9, 2, 13, 14, 12, 15, 2, 10, 11};
    for (int kind = 0; kind <= kLastNodeKind; ++kind) EXPECT_EQ(KindImageIndex(kind), expected[kind]) << kind;
    EXPECT_EQ(KindImageIndex(13), 2);
    EXPECT_EQ(KindImageIndex(255), 2);
}

TEST(NodeRoutines, AddObjectNodeCopiesIdNameAndKindButNotParentId) {
    QTreeWidget tree;
    QTreeWidgetItem* top = AddObjectNode(&tree, nullptr, Data(-1, 55, "Project", nkRoot));
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0), top);
    AddObjectNode(nullptr, top, Data(1, 9, "first", nkTestGroup));
    QTreeWidgetItem* second = AddObjectNode(&tree, top, Data(2, 9, "second", nkTestGroup));
    ASSERT_EQ(top->childCount(), 2);
    EXPECT_EQ(top->child(1), second);

    TNodeData got;
    ReadNodeData(second, got);
    EXPECT_EQ(got, Data(2, -1, "second", nkTestGroup));
    EXPECT_EQ(second->text(0), QString("second"));
    EXPECT_EQ(GetParentNodeID(second), -1);
    EXPECT_EQ(GetParentNodeID(top), -1);

    SetNodeID(top, 40);
    EXPECT_EQ(GetParentNodeID(second), 40);
    SetNodeKind(second, nkTest);
    EXPECT_EQ(GetNodeKind(second), nkTest);
    // A plain tree widget has no pictures for the kinds.
    EXPECT_TRUE(second->icon(0).isNull());
}

TEST(NodeRoutines, SetNodeNameChangesRecordAndCaption) {
    ScopedGlobalStore store(std::make_unique<TFileAccess>());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    QTreeWidgetItem* node = AddObjectNode(&tree, nullptr, Data(3, -1, "old", nkScale));
    tree.SetNodeName(node, "new name");
    std::string name;
    GetNodeName(node, name);
    EXPECT_EQ(name, "new name");
    EXPECT_EQ(node->text(0), QString("new name"));
}

TEST(NodeRoutines, TheIconFollowsKindAndOverlay) {
    ScopedGlobalStore store(std::make_unique<TFileAccess>());
    TObjectsTree tree(nullptr, platform::kNoWindow);
    QTreeWidgetItem* node = AddObjectNode(&tree, nullptr, Data(3, -1, "weight", nkWeightNoScale));
    const auto shows = [&](int kind, int overlay) {
        return node->icon(0).cacheKey() == tree.NodeIcon(kind, overlay).cacheKey();
    };
    EXPECT_TRUE(shows(nkWeightNoScale, kNoOverlay));
    SetNodeKind(node, nkWeight);
    EXPECT_TRUE(shows(nkWeight, kNoOverlay));
    SetNodeOverlay(node, kCutOverlayImage);
    EXPECT_EQ(GetNodeOverlay(node), kCutOverlayImage);
    EXPECT_TRUE(shows(nkWeight, kCutOverlayImage));
    SetNodeOverlay(node, kCopyOverlayImage);
    EXPECT_TRUE(shows(nkWeight, kCopyOverlayImage));
    SetNodeOverlay(node, kNoOverlay);
    EXPECT_TRUE(shows(nkWeight, kNoOverlay));
}

TEST(TreeImages, KindsThatDifferInPictureLookDifferent) {
    const TTreeImages images;
    std::set<QByteArray> seen;
    for (int index : {2, 3, 7, 8, 9, 10, 11, 12, 13, 14, 15}) {
        const QImage img = images.Image(index).toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        EXPECT_TRUE(seen.insert(bytes).second) << "picture " << index << " repeats another";
    }
}

TEST(TreeImages, AMarkedIconIsThePictureWithTheOverlayOverIt) {
    const TTreeImages images;
    for (int overlay : {kCutOverlayImage, kCopyOverlayImage}) {
        const QImage mark = images.Image(overlay).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int kind = 0; kind <= kLastNodeKind; ++kind) {
            const QImage base = ImageOf(images.KindIcon(kind, kNoOverlay));
            const QImage marked = ImageOf(images.KindIcon(kind, overlay));
            ASSERT_EQ(marked.size(), base.size());
            int covered = 0;
            for (int y = 0; y < base.height(); ++y)
                for (int x = 0; x < base.width(); ++x) {
                    const QRgb m = mark.pixel(x, y);
                    if (qAlpha(m) == 255) {
                        EXPECT_EQ(marked.pixel(x, y), m);
                        ++covered;
                    } else if (qAlpha(m) == 0) {
                        EXPECT_EQ(marked.pixel(x, y), base.pixel(x, y));
                    }
                }
            EXPECT_GT(covered, 0) << "the overlay draws nothing";
        }
    }
}
