#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/FilenameEdit.h"
#include "exchange/FormImportTest.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "tests/exchange/ExchangeTestSupport.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/StoreFixtures.h"
#include "tests/tree/DialogTestSupport.h"

namespace {

void Type(QLineEdit& edit, const std::string& text) {
    edit.clear();
    QTest::keyClicks(&edit, platform::ToQString(text));
}

std::string FixtureKvt() { return std::string(ORVEL_TEST_DATA) + "/exchange_dot.kvt"; }

using ImportDialog = ExchangeTest;

}  // namespace

TEST_F(ImportDialog, YesFollowsTheFileNameAndTheGroup) {
    TFormImportTest f;
    EXPECT_EQ(f.ComboBoxTestGroups->count(), 2);
    EXPECT_FALSE(f.ButtonOK->isEnabled());
    Type(*f.FilenameEdit, " \t ");
    EXPECT_FALSE(f.ButtonOK->isEnabled());
    Type(*f.FilenameEdit, "some.kvt");
    EXPECT_TRUE(f.ButtonOK->isEnabled());

    // A project without groups has nowhere to put the test.
    ScopedGlobalStore empty(std::make_unique<TFileAccess>());
    TFormImportTest none;
    Type(*none.FilenameEdit, "some.kvt");
    EXPECT_FALSE(none.ButtonOK->isEnabled());
}

TEST_F(ImportDialog, ImportsIntoThePreselectedGroupFromAQuotedName) {
    const std::string path = dir_.File("with blank.kvt");
    WriteBytes(path, ReadBytes(FixtureKvt()));
    const int tests = Open().Tests.RecordCount();
    TFormImportTest f;
    f.SelectTestGroup(kFixtureGroup);
    EXPECT_EQ(f.ComboBoxTestGroups->currentText(), "Group three");
    const int result = RunModal(f, [&] {
        Type(*f.FilenameEdit, "\"" + path + "\"");
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(f.GetTestGroupID(), kFixtureGroup);
    ASSERT_NE(f.GetImportedTestID(), -1);
    EXPECT_EQ(Open().Tests.RecordCount(), tests + 1);
    EXPECT_EQ(ByID(Open().Tests, f.GetImportedTestID()).ParentID, kFixtureGroup);
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(ImportDialog, ReadsAFileWhoseNameBeginsAndEndsWithABlankAsNamed) {
    // Beside each a file of the name without the blanks, which must not be read instead.
    WriteBytes(dir_.File("edge.kvt"), "not an exchange file");
    WriteBytes(dir_.File(" edge.kvt "), ReadBytes(FixtureKvt()));
    const int tests = Open().Tests.RecordCount();
    for (const std::string& typed : {dir_.File(" edge.kvt "), "\"" + dir_.File(" edge.kvt ") + "\""}) {
        TFormImportTest f;
        f.SelectTestGroup(kFixtureGroup);
        RunModal(f, [&] {
            Type(*f.FilenameEdit, typed);
            QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
        });
        EXPECT_NE(f.GetImportedTestID(), -1) << typed;
        EXPECT_TRUE(shown_.Messages.empty()) << typed << ": " << (shown_.Messages.empty() ? "" : shown_.Messages[0]);
        shown_.Messages.clear();
    }
    EXPECT_EQ(Open().Tests.RecordCount(), tests + 2);
}

TEST_F(ImportDialog, AMissingFileIsNamedAndSaidToBeMissing) {
    const std::string path = dir_.File("gone.kvt");
    TFileAccess before;
    CloneStore(Open(), before);
    TFormImportTest f;
    RunModal(f, [&] {
        Type(*f.FilenameEdit, path);
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(f.GetImportedTestID(), -1);
    ExpectSameState(before, Open(), "after the import of a missing file");
    EXPECT_EQ(shown_.Messages,
              (std::vector<std::string>{Text("IMPEXP_TESTIMPORT_FILE_CORRUPTED") + "\n" + path + "\n" +
                                            Text("IMPEXP_TESTIMPORT_FILE_MISSING"),
                                        Text("IMPEXP_TESTIMPORT_ERROR")}));
}

TEST_F(ImportDialog, ABrowsedFileIsAskedForWithTheExchangeFilter) {
    std::vector<platform::TFileDialogRequest> asked;
    platform::ScopedFileChoiceHook answer([&](const platform::TFileDialogRequest& r) {
        asked.push_back(r);
        return std::optional<platform::TFileDialogChoice>({FixtureKvt(), 1});
    });
    TFormImportTest f;
    const int result = RunModal(f, [&] {
        f.FilenameEdit->ButtonClicked();
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Kind, platform::TFileDialogRequest::TKind::Open);
    EXPECT_EQ(asked[0].Title, Text("IMPEXP_TESTIMPORT_DIALOG_TITLE"));
    EXPECT_EQ(asked[0].Filter, Text("IMPEXP_FILTER_KVT") + " (*.kvt)|*.kvt");
    EXPECT_EQ(f.GetTestGroupID(), kOtherGroup);
    EXPECT_NE(f.GetImportedTestID(), -1);
}

TEST_F(ImportDialog, AFailedImportIsShownLeavesTheProjectAndGivesNoGroup) {
    const std::string path = dir_.File("bad.kvt");
    WriteBytes(path, "not an exchange file");
    TFileAccess before;
    CloneStore(Open(), before);
    TFormImportTest f;
    const int result = RunModal(f, [&] {
        Type(*f.FilenameEdit, path);
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(f.GetTestGroupID(), -1);
    EXPECT_EQ(f.GetImportedTestID(), -1);
    ExpectSameState(before, Open(), "after the failed import");
    EXPECT_EQ(shown_.Messages,
              (std::vector<std::string>{Text("IMPEXP_TESTIMPORT_FILE_CORRUPTED") + "\n" + path + "\n" +
                                            Text("IMPEXP_TESTIMPORT_FILE_DAMAGED") + "\n" +
                                            ScopedStoreServices::TextOf("FILEACC_DAMAGE_BAD_CODING"),
                                        Text("IMPEXP_TESTIMPORT_ERROR")}));
}

TEST_F(ImportDialog, CancelGivesNoGroup) {
    TFormImportTest f;
    f.SelectTestGroup(kFixtureGroup);
    const int result = RunModal(f, [&] {
        Type(*f.FilenameEdit, FixtureKvt());
        QTest::mouseClick(f.ButtonCancel, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(f.GetTestGroupID(), -1);
    EXPECT_EQ(f.GetImportedTestID(), -1);
    EXPECT_FALSE(Open().IsModified());
}
