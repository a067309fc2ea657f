#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/FilenameEdit.h"
#include "exchange/FormExportTest.h"
#include "platform/SafeFile.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/StoreFixtures.h"
#include "tests/tree/DialogTestSupport.h"

namespace {

std::vector<std::string> ListedTests(const TFormExportTest& f) {
    std::vector<std::string> names;
    for (int i = 0; i < f.ListBoxTests->count(); ++i) names.push_back(platform::FromQString(f.ListBoxTests->item(i)->text()));
    return names;
}

void Type(QLineEdit& edit, const std::string& text) {
    edit.clear();
    QTest::keyClicks(&edit, platform::ToQString(text));
}

class ExportDialog : public ExchangeTest {
protected:
    ExportDialog() {
        // A group whose only test is private.
        Open().TestGroups.AddTestGroup(Item<TTestGroup>(5, -1, "Private group", 2));
        TTest secret = Item<TTest>(11, 5, "Secret test", 0);
        secret.Private = true;
        Open().Tests.AddTest(secret);
    }
};

}  // namespace

TEST_F(ExportDialog, PrivateTestsAreNotOffered) {
    TFormExportTest f;
    EXPECT_EQ(f.ComboBoxTestGroup->count(), 3);
    EXPECT_EQ(f.ComboBoxTestGroup->currentText(), "Other group");
    EXPECT_EQ(ListedTests(f), std::vector<std::string>{"Other test"});

    // The private test is not found; the group's first listed test stays selected.
    f.SelectTest(kOtherGroup, kPrivateTest);
    EXPECT_EQ(f.ListBoxTests->currentRow(), 0);

    f.SelectTest(kFixtureGroup, kFixtureTest);
    EXPECT_EQ(f.ComboBoxTestGroup->currentText(), "Group three");
    EXPECT_EQ(ListedTests(f), std::vector<std::string>{"Attention test"});
    EXPECT_EQ(f.EditAuthorName->text(), "Stored Author");
    EXPECT_EQ(f.EditAuthorEmail->text(), "stored@example.org");
    EXPECT_EQ(f.EditCopyright->text(), "(c) 2020");
    EXPECT_FALSE(f.CheckBoxPrivate->isChecked());
}

TEST_F(ExportDialog, ConfirmFollowsTheFileNameTheGroupAndTheTest) {
    TFormExportTest f;
    EXPECT_FALSE(f.ButtonOK->isEnabled());
    Type(*f.FilenameEdit, "   ");
    EXPECT_FALSE(f.ButtonOK->isEnabled()) << "blanks are no name";
    Type(*f.FilenameEdit, dir_.File("out"));
    EXPECT_TRUE(f.ButtonOK->isEnabled());

    // A group whose tests are all private offers nothing to export.
    f.ComboBoxTestGroup->setCurrentIndex(2);
    emit f.ComboBoxTestGroup->activated(2);
    EXPECT_TRUE(ListedTests(f).empty());
    EXPECT_TRUE(f.EditAuthorName->text().isEmpty());
    EXPECT_FALSE(f.ButtonOK->isEnabled());

    f.SelectTest(kFixtureGroup, kFixtureTest);
    EXPECT_TRUE(f.ButtonOK->isEnabled());
    f.ListBoxTests->clearSelection();
    EXPECT_FALSE(f.ButtonOK->isEnabled());
}

TEST_F(ExportDialog, ATypedNameIsWrittenWithTheExtensionOfTheFileType) {
    TFormExportTest f;
    f.SelectTest(kFixtureGroup, kFixtureTest);
    const int result = RunModal(f, [&] {
        Type(*f.EditAuthorName, kAuthor);
        Type(*f.EditAuthorEmail, kEmail);
        Type(*f.EditCopyright, kCopyright);
        f.CheckBoxPrivate->setChecked(true);
        // As the browse road shows a name with a blank: in double quotes.
        Type(*f.FilenameEdit, "  \"" + dir_.File("my attention") + "\"  ");
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(f.Exported);
    EXPECT_EQ(ReadBytes(dir_.File("my attention.kvt")), TestDataFile("exchange_dot.kvt"));
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(ExportDialog, TheBrowsedFileTypeChoosesTheExport) {
    TFormExportTest f;
    f.SelectTest(kFixtureGroup, kFixtureTest);
    std::vector<platform::TFileDialogRequest> asked;
    platform::ScopedFileChoiceHook answer([&](const platform::TFileDialogRequest& r) {
        asked.push_back(r);
        return std::optional<platform::TFileDialogChoice>({dir_.File("report.xml"), 3});
    });
    const int result = RunModal(f, [&] {
        f.FilenameEdit->ButtonClicked();
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Kind, platform::TFileDialogRequest::TKind::Save);
    EXPECT_TRUE(asked[0].OverwritePrompt);
    EXPECT_EQ(asked[0].Title, Text("IMPEXP_TESTEXPORT_DIALOG_TITLE"));
    EXPECT_EQ(asked[0].Filter, Text("IMPEXP_FILTER_KVT") + " (*.kvt)|*.kvt|" + Text("IMPEXP_FILTER_XML") +
                                   " (*.xml)|*.xml|" + Text("IMPEXP_FILTER_CSV") + " (*.csv)|*.csv|" +
                                   Text("IMPEXP_FILTER_KVW") + " (*.kvw)|*.kvw");
    // CSV, with its extension behind the one the name had.
    EXPECT_FALSE(platform::FileExists(dir_.File("report.xml")));
    const std::string csv = ReadBytes(dir_.File("report.xml.csv"));
    EXPECT_EQ(csv.rfind("// " + Text("IMPEXP_CVS_SECTION_TESTS") + " (id;", 0), 0u) << csv.substr(0, 80);
}

TEST_F(ExportDialog, AFailedExportIsShownAndTheWindowClosesAllTheSame) {
    TFormExportTest f;
    f.SelectTest(kFixtureGroup, kFixtureTest);
    const int result = RunModal(f, [&] {
        Type(*f.FilenameEdit, dir_.File("no folder/out.xml"));
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(f.Exported);
    EXPECT_EQ(shown_.Messages.size() + services_.Shown.size(), 1u);
}

TEST_F(ExportDialog, CancelWritesNothing) {
    TFormExportTest f;
    f.SelectTest(kFixtureGroup, kFixtureTest);
    const int result = RunModal(f, [&] {
        Type(*f.FilenameEdit, dir_.File("out"));
        QTest::mouseClick(f.ButtonCancel, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(platform::FileExists(dir_.File("out.kvt")));
}

TEST_F(ExportDialog, TextsComeFromItsSectionOfTheLanguageFile) {
    TFormExportTest f;
    EXPECT_EQ(f.windowTitle(), "Export Test");
    EXPECT_EQ(f.ButtonOK->text(), "C&onfirm");
    EXPECT_EQ(f.LabelFileNameEdit->text(), "&File Name:");
    EXPECT_EQ(f.FilenameEdit->toolTip(), "The file to write; browse to choose its type");
}
