// Import and export of one test from the tree, the dialogs answered in place of a person.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "controls/FilenameEdit.h"
#include "exchange/FormExportTest.h"
#include "exchange/FormImportTest.h"
#include "platform/SafeFile.h"
#include "platform/qt/QtText.h"
#include "tests/tree/DialogTestSupport.h"
#include "tests/tree/ObjectsTreeTestSupport.h"

namespace {

class TreeExchange : public FixtureTreeTest {};

// Answers the next dialog of type Form: types the file name and presses its OK button.
template <class Form>
class AnswerWithFile {
public:
    explicit AnswerWithFile(const std::string& fileName)
        : hook_([this, fileName](QDialog& shown) {
              auto* form = dynamic_cast<Form*>(&shown);
              if (!form) return static_cast<int>(QDialog::Rejected);
              ++Shown;
              form->show();
              form->FilenameEdit->setText(platform::ToQString(fileName));
              QTest::mouseClick(form->ButtonOK, Qt::LeftButton);
              const int result = ResultOnceClosed(shown);
              EXPECT_EQ(result, QDialog::Accepted) << "OK left the window open";
              return result;
          }) {}
    int Shown = 0;

private:
    platform::ScopedModalHook hook_;
};

std::string ExchangeFile() { return std::string(ORVEL_TEST_DATA) + "/exchange_dot.kvt"; }

}  // namespace

TEST_F(TreeExchange, AnImportedTestIsTheLastNodeOfItsGroupWithEverythingBelowIt) {
    QTreeWidgetItem* group = Select(nkTestGroup, 1);
    ASSERT_NE(group, nullptr);
    const int before = group->childCount();
    AnswerWithFile<TFormImportTest> answer(ExchangeFile());
    tree_.ImportTest(1);
    EXPECT_EQ(answer.Shown, 1);
    ASSERT_EQ(group->childCount(), before + 1);
    QTreeWidgetItem* node = group->child(before);
    EXPECT_EQ(GetNodeKind(node), nkTest);
    std::string name;
    GetNodeName(node, name);
    EXPECT_EQ(name, "Attention test");
    EXPECT_EQ(node->childCount(), 2) << "the scales and the questions folder";
    EXPECT_TRUE(group->isExpanded());
    EXPECT_TRUE(main_.Codes().empty());
    ExpectMirrorsTheStore("after the import");
}

TEST_F(TreeExchange, AFailedImportChangesNoNode) {
    const std::string bad = dir_.File("bad.kvt");
    WriteBytes(bad, "0000");
    const std::string before = UnmarkedDump(tree_);
    AnswerWithFile<TFormImportTest> answer(bad);
    tree_.ImportTest(1);
    EXPECT_EQ(answer.Shown, 1);
    EXPECT_EQ(UnmarkedDump(tree_), before);
    EXPECT_FALSE(S().IsModified());
}

TEST_F(TreeExchange, ExportPreselectsTheGroupAndTheTest) {
    Select(nkTest, 1);
    const std::string path = dir_.File("big five.xml");
    int listed = -1;
    platform::ScopedModalHook hook([&](QDialog& shown) {
        auto& form = dynamic_cast<TFormExportTest&>(shown);
        form.show();
        listed = form.ListBoxTests->currentItem() ? form.ListBoxTests->currentItem()->data(Qt::UserRole).toInt() : -1;
        form.FilenameEdit->setText(platform::ToQString(path));
        QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
        const int result = ResultOnceClosed(shown);
        EXPECT_EQ(result, QDialog::Accepted) << "OK left the window open";
        return result;
    });
    tree_.ExportTest(1, 1);
    EXPECT_EQ(listed, 1);
    // A typed name with the extension of a format is written in it, as it stands.
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_FALSE(platform::FileExists(path + ".kvt"));
    EXPECT_FALSE(S().IsModified());
}
