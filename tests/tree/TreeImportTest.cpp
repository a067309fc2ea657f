// The quick text import through the tree: the file dialog, the folders it works on, the refilled
// folder, and the tree equal to one built from the store before and after a save and load.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/SafeFile.h"
#include "platform/qt/ModalDialogs.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

// Answers the file dialog with a file, or cancels it (an empty name), and keeps what was asked.
class ChooseFile {
public:
    explicit ChooseFile(std::string file)
        : file_(std::move(file)), hook_([this](const platform::TFileDialogRequest& r) -> std::optional<std::string> {
              Asked.push_back(r);
              if (file_.empty()) return std::nullopt;
              return file_;
          }) {}
    std::vector<platform::TFileDialogRequest> Asked;

private:
    std::string file_;
    platform::ScopedFileDialogHook hook_;
};

class TreeImport : public FixtureTreeTest {
protected:
    // A file holding text.
    std::string File(const std::string& text) {
        const std::string path = dir_.File("import.txt");
        platform::WriteFileAtomic(path, text);
        return path;
    }
};

}  // namespace

// Into a scales folder that holds scales: the new ones follow them, each interpretation named by
// the interpretation title and its number, and the folder shows what the store holds, as it does
// after a save and load.
TEST_F(TreeImport, ScalesFollowTheScalesOfTheFolder) {
    QTreeWidgetItem* folder = Select(nkScalesFolder, 1);
    const std::string before = DumpSubtree(folder);
    ChooseFile choose(File("Anxiety\r\nLow\r\nHigh\r\n\r\nStress\r\n"));
    tree_.FastImportScales();
    ASSERT_EQ(choose.Asked.size(), 1u);
    EXPECT_EQ(choose.Asked[0].Kind, platform::TFileDialogRequest::TKind::Open);
    EXPECT_EQ(choose.Asked[0].Title, "Import scales and interpretations");
    EXPECT_EQ(choose.Asked[0].Filter, "Text Files (*.txt)|*.txt|Any File (*.*)|*.*");
    const std::string title = T("OBJECTSTREE_INTERPRETATION_TITLE");
    EXPECT_EQ(DumpSubtree(folder), before +
                                       "  nkScale 2 Anxiety\n"
                                       "    nkInterpretation 3 " + title + " 1\n"
                                       "    nkInterpretation 4 " + title + " 2\n"
                                       "  nkScale 5 Stress\n");
    EXPECT_EQ(Stored(S().Scales, 2).Order, 2);
    EXPECT_EQ(Stored(S().Scales, 5).Order, 3);
    EXPECT_TRUE(folder->isExpanded());
    EXPECT_EQ(tree_.SelectedNode(), folder);
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
    EXPECT_TRUE(shown_.Messages.empty());
    ExpectMirrorsTheStore("scales imported");
}

TEST_F(TreeImport, QuestionsFollowTheQuestionsOfTheFolder) {
    QTreeWidgetItem* folder = Select(nkQuestionsFolder, 1);
    const std::string before = DumpSubtree(folder);
    ChooseFile choose(File("\n\nDo you plan?\n  Always\t\nNever\n \t\nDo you rest?\n"));
    tree_.FastImportStimuls();
    ASSERT_EQ(choose.Asked.size(), 1u);
    EXPECT_EQ(choose.Asked[0].Title, "Import questions and answers");
    EXPECT_EQ(choose.Asked[0].Filter, "Text Files (*.txt)|*.txt|Any File (*.*)|*.*");
    EXPECT_EQ(DumpSubtree(folder), before +
                                       "  nkQuestion 4 Do you plan?\n"
                                       "    nkAnswer 4 Always\n"
                                       "    nkAnswer 5 Never\n"
                                       "  nkQuestion 5 Do you rest?\n");
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
    ExpectMirrorsTheStore("questions imported");
    // The same file again adds everything again, after the first import.
    tree_.FastImportStimuls();
    EXPECT_EQ(folder->childCount(), 6);
    EXPECT_EQ(Stored(S().Stimuli, 7).Order, 5);
    ExpectMirrorsTheStore("questions imported twice");
}

// The mark is dropped before the folder's nodes are made anew; a file without a line adds
// nothing, yet the folder is filled again and the main window told.
TEST_F(TreeImport, AnEmptyFileRefillsTheFolder) {
    const std::string before = DumpSubtree(FindNode(tree_, nkQuestionsFolder, 1));
    // An open question: its new node is closed.
    FindNode(tree_, nkQuestion, 1)->setExpanded(true);
    Select(nkQuestion, 1);
    tree_.Copy();
    QTreeWidgetItem* folder = Select(nkQuestionsFolder, 1);
    ChooseFile choose(File(" \r\n\t\r\n"));
    tree_.FastImportStimuls();
    EXPECT_EQ(tree_.MarkedNode(), nullptr);
    EXPECT_EQ(DumpTree(tree_), FixtureDump());
    EXPECT_EQ(DumpSubtree(folder), before);
    EXPECT_FALSE(FindNode(tree_, nkQuestion, 1)->isExpanded());
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{504});
}

// A cancelled dialog or a file that cannot be read changes nothing; the reason is shown.
TEST_F(TreeImport, NothingIsStoredWithoutAReadableFile) {
    for (const std::string& file : {std::string(), dir_.File("missing.txt"), dir_.Path()}) {
        SCOPED_TRACE("file " + file);
        Select(nkScalesFolder, 1);
        shown_.Messages.clear();
        ChooseFile choose(file);
        tree_.FastImportScales();
        EXPECT_EQ(choose.Asked.size(), 1u);
        EXPECT_EQ(DumpTree(tree_), FixtureDump());
        EXPECT_FALSE(S().IsModified());
        EXPECT_TRUE(main_.Codes().empty());
        EXPECT_EQ(shown_.Messages.size(), file.empty() ? 0u : 1u);
    }
}

// Only a scales folder takes scales and only a questions folder questions, and not in a private
// test: elsewhere no dialog comes up and nothing changes.
TEST_F(TreeImport, OnlyTheFolderOfItsKindInATestThatIsNotPrivate) {
    struct Place {
        TNodeKind Kind;
        std::int32_t Id;
    };
    const Place kPlaces[] = {{nkNone, 0},        {nkRoot, -1},        {nkTestsRoot, -1},     {nkTestGroup, 1},
                             {nkTest, 1},        {nkScale, 1},        {nkInterpretation, 1}, {nkWeight, 1},
                             {nkWeightNoScale, 2}, {nkQuestion, 1},   {nkAnswer, 1},         {nkScalesFolder, 5},
                             {nkQuestionsFolder, 5}, {nkQuestionsFolder, 1}, {nkScalesFolder, 1}};
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(std::string(NodeKindName(p.Kind)) + " " + std::to_string(p.Id));
        if (p.Kind == nkNone) tree_.setCurrentItem(nullptr);
        else Select(p.Kind, p.Id);
        main_.Messages.clear();
        ChooseFile choose(File("Anxiety\nLow\n"));
        // Scales into anything but an open scales folder, questions into anything but an open
        // questions folder.
        if (p.Kind != nkScalesFolder || p.Id == 5) tree_.FastImportScales();
        if (p.Kind != nkQuestionsFolder || p.Id == 5) tree_.FastImportStimuls();
        EXPECT_TRUE(choose.Asked.empty());
        EXPECT_EQ(DumpTree(tree_), FixtureDump());
        EXPECT_FALSE(S().IsModified());
        EXPECT_TRUE(main_.Codes().empty());
    }
}
