#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMessageBox>
#include <QTest>

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "controls/EditButton.h"
#include "controls/FilenameEdit.h"
#include "exchange/FormExportTest.h"
#include "platform/SafeFile.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtUserInteraction.h"
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

// ---- a person at the window: the window shown and active, clicks and keys where they go

QWidget* Focus() { return QApplication::focusWidget(); }

// Clicks into the edit, selects what it holds with Ctrl+A and types over it.
void TypeInto(QLineEdit& edit, const std::string& text) {
    QTest::mouseClick(&edit, Qt::LeftButton);
    ASSERT_EQ(Focus(), &edit) << edit.objectName().toStdString();
    QTest::keyClick(Focus(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Focus(), platform::ToQString(text));
}

// The export window open on the fixture's test, with the author values and the private flag
// entered by the person.
class ExportWindow : public ExportDialog {
protected:
    void SetUp() override {
        form_.SelectTest(kFixtureGroup, kFixtureTest);
        form_.show();
        form_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
        TypeInto(*form_.EditAuthorName, kAuthor);
        TypeInto(*form_.EditAuthorEmail, kEmail);
        TypeInto(*form_.EditCopyright, kCopyright);
        QTest::mouseClick(form_.CheckBoxPrivate, Qt::LeftButton, {}, QPoint(6, form_.CheckBoxPrivate->height() / 2));
        ASSERT_TRUE(form_.CheckBoxPrivate->isChecked());
    }

    // Chooses the file by browsing: the browse dialog answers with this name and file type.
    void Browse(const std::string& name, int filterIndex) {
        platform::ScopedFileChoiceHook answer([&](const platform::TFileDialogRequest&) {
            return std::optional<platform::TFileDialogChoice>({name, filterIndex});
        });
        QTest::mouseClick(form_.FilenameEdit->Button, Qt::LeftButton);
    }
    void Confirm() { QTest::mouseClick(form_.ButtonOK, Qt::LeftButton); }

    // Everything the person entered is still there, in the window still open.
    void ExpectOpenWithEverythingEntered(const QString& fileName) const {
        EXPECT_TRUE(form_.isVisible());
        EXPECT_FALSE(form_.Exported);
        EXPECT_EQ(form_.ComboBoxTestGroup->currentText(), "Group three");
        EXPECT_EQ(form_.ListBoxTests->currentItem()->text(), "Attention test");
        EXPECT_EQ(form_.EditAuthorName->text(), kAuthor);
        EXPECT_EQ(form_.EditAuthorEmail->text(), kEmail);
        EXPECT_EQ(form_.EditCopyright->text(), kCopyright);
        EXPECT_TRUE(form_.CheckBoxPrivate->isChecked());
        EXPECT_EQ(form_.FilenameEdit->text(), fileName);
        EXPECT_TRUE(form_.ButtonOK->isEnabled());
    }

    // The files of the temporary folder, by name.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.File("")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TFormExportTest form_;
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
    EXPECT_TRUE(shown_.Questions.empty()) << "nothing was there to replace";
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
    const std::string path = dir_.File("locked.kvt");
    WriteBytes(path, "the old file");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    shown_.YesNoAnswers = {true};
    const int result = RunModal(f, [&] {
        Type(*f.FilenameEdit, path);
        QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(f.Exported);
    // The exchange text file is saved through the store, which shows the export's text.
    EXPECT_EQ(services_.Shown,
              std::vector<std::string>{ScopedStoreServices::TextOf("IMPEXP_TESTEXPORT_READONLY") + "\n" + path});
    EXPECT_TRUE(shown_.Messages.empty());
    EXPECT_EQ(ReadBytes(path), "the old file");
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

// ---- the file that Confirm writes

namespace {

struct TReplaceCase {
    const char* What;
    const char* Existing;   // the file that is there already
    const char* Browsed;    // the name the browse dialog answers with, or null: the name is typed
    int FilterIndex;
    const char* Typed;
};

void PrintTo(const TReplaceCase& c, std::ostream* os) { *os << c.What; }

const TReplaceCase kReplaceCases[] = {
    {"browsed CSV without extension", "report.csv", "report", 3, nullptr},
    {"browsed XML with its extension", "report.xml", "report.xml", 2, nullptr},
    {"typed with an extension", "old.xml", nullptr, 1, "old.xml"},
    {"typed without extension", "out.kvt", nullptr, 1, "out"},
};

class ReplaceQuestion : public ExportWindow, public ::testing::WithParamInterface<TReplaceCase> {};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Targets, ReplaceQuestion, ::testing::ValuesIn(kReplaceCases));

// The question is about the path the export writes, extension added; No leaves the file and the
// window with everything entered, and a second Confirm answered Yes replaces the file.
TEST_P(ReplaceQuestion, AnExistingFileIsReplacedOnlyAfterYes) {
    const TReplaceCase& c = GetParam();
    const std::string existing = dir_.File(c.Existing);
    WriteBytes(existing, "the old file");
    if (c.Browsed) Browse(dir_.File(c.Browsed), c.FilterIndex);
    else TypeInto(*form_.FilenameEdit, dir_.File(c.Typed));
    const QString shownName = form_.FilenameEdit->text();

    shown_.YesNoAnswers = {false};
    Confirm();
    EXPECT_EQ(shown_.Questions, std::vector<std::string>{Text("IMPEXP_TESTEXPORT_REPLACE_FILE") + "\n" + existing});
    EXPECT_EQ(ReadBytes(existing), "the old file");
    ExpectOpenWithEverythingEntered(shownName);
    EXPECT_EQ(Files(), std::vector<std::string>{c.Existing}) << "nothing else written";

    shown_.YesNoAnswers = {true};
    Confirm();
    EXPECT_EQ(shown_.Questions.size(), 2u);
    EXPECT_FALSE(form_.isVisible());
    EXPECT_TRUE(form_.Exported);
    EXPECT_NE(ReadBytes(existing), "the old file");
    EXPECT_EQ(Files(), std::vector<std::string>{c.Existing});
    EXPECT_TRUE(shown_.Messages.empty());
}

// The question as the program asks it: No is the default, so Enter keeps the file.
TEST_F(ExportWindow, EnterOnTheReplaceQuestionKeepsTheFile) {
    const std::string existing = dir_.File("kept.kvt");
    WriteBytes(existing, "the old file");
    TypeInto(*form_.FilenameEdit, dir_.File("kept"));
    platform::QtUserInteraction boxes;
    platform::IUserInteraction* const previous = platform::SetUserInteraction(&boxes);
    std::vector<std::string> asked;
    {
        platform::ScopedModalHook answer([&](QDialog& d) {
            auto& box = dynamic_cast<QMessageBox&>(d);
            box.show();
            asked.push_back(platform::FromQString(box.text()));
            EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
            QTest::keyClick(&box, Qt::Key_Return);
            return static_cast<int>(box.standardButton(box.clickedButton()));
        });
        Confirm();
    }
    platform::SetUserInteraction(previous);
    EXPECT_EQ(asked, std::vector<std::string>{Text("IMPEXP_TESTEXPORT_REPLACE_FILE") + "\n" + existing});
    EXPECT_EQ(ReadBytes(existing), "the old file");
    ExpectOpenWithEverythingEntered(platform::ToQString(dir_.File("kept")));
}

namespace {

struct TUnwritableCase {
    const char* What;
    const char* Folder;     // made before Confirm, or null
    const char* Typed;      // the name typed, or null: browsed
    const char* Browsed;
    const char* Key;        // the message
    const char* Named;      // what the message names
};

void PrintTo(const TUnwritableCase& c, std::ostream* os) { *os << c.What; }

const TUnwritableCase kUnwritableCases[] = {
    {"a typed name in a missing folder", nullptr, "none/out.xml", nullptr, "IMPEXP_TESTEXPORT_NO_FOLDER", "none"},
    {"a missing folder within a missing folder", nullptr, "none/deeper/out", nullptr, "IMPEXP_TESTEXPORT_NO_FOLDER",
     "none/deeper"},
    {"a browsed name in a missing folder", nullptr, nullptr, "gone/report", "IMPEXP_TESTEXPORT_NO_FOLDER", "gone"},
    {"a typed name of a folder", "sub.kvt", "sub.kvt", nullptr, "IMPEXP_TESTEXPORT_IS_FOLDER", "sub.kvt"},
    {"a name that becomes a folder's", "data.kvt", "data", nullptr, "IMPEXP_TESTEXPORT_IS_FOLDER", "data.kvt"},
};

class UnwritableTarget : public ExportWindow, public ::testing::WithParamInterface<TUnwritableCase> {};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Targets, UnwritableTarget, ::testing::ValuesIn(kUnwritableCases));

TEST_P(UnwritableTarget, ConfirmNamesTheProblemAndKeepsTheWindowOpen) {
    const TUnwritableCase& c = GetParam();
    if (c.Folder) std::filesystem::create_directory(dir_.File(c.Folder));
    if (c.Typed) TypeInto(*form_.FilenameEdit, dir_.File(c.Typed));
    else Browse(dir_.File(c.Browsed), 3);
    const QString shownName = form_.FilenameEdit->text();
    const std::vector<std::string> before = Files();
    Confirm();
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{Text(c.Key) + "\n" + dir_.File(c.Named)});
    EXPECT_TRUE(shown_.Questions.empty());
    EXPECT_TRUE(services_.Shown.empty());
    ExpectOpenWithEverythingEntered(shownName);
    EXPECT_EQ(Files(), before);
}

namespace {

struct TTypedCase {
    const char* Typed;
    const char* Written;   // the file that holds the export
    const char* Format;    // the extension of the hand-written file it equals
};

void PrintTo(const TTypedCase& c, std::ostream* os) { *os << c.Typed; }

const TTypedCase kTypedCases[] = {
    {"x.xml", "x.xml", "xml"},   {"x.CSV", "x.CSV", "csv"}, {"x.Kvw", "x.Kvw", "kvw"},
    {"x.KVT", "x.KVT", "kvt"},   {"x.kvt", "x.kvt", "kvt"}, {"x.txt", "x.txt.kvt", "kvt"},
    {"x", "x.kvt", "kvt"},       {"x.xml.bak", "x.xml.bak.kvt", "kvt"},
};

class TypedName : public ExportWindow, public ::testing::WithParamInterface<TTypedCase> {};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Extensions, TypedName, ::testing::ValuesIn(kTypedCases));

// A typed extension of one of the four formats chooses it, in any case, whatever file type the
// last browse left; any other typed name is an exchange text file.
TEST_P(TypedName, TheTypedExtensionChoosesTheFormat) {
    const TTypedCase& c = GetParam();
    // A browse to the CSV type first, then the name typed over the browsed one.
    Browse(dir_.File("browsed"), 3);
    TypeInto(*form_.FilenameEdit, dir_.File(c.Typed));
    Confirm();
    EXPECT_FALSE(form_.isVisible());
    EXPECT_TRUE(form_.Exported);
    EXPECT_EQ(Files(), std::vector<std::string>{c.Written});
    EXPECT_EQ(ReadBytes(dir_.File(c.Written)), TestDataFile(std::string("exchange_dot.") + c.Format));
    EXPECT_TRUE(shown_.Questions.empty());
    EXPECT_TRUE(shown_.Messages.empty());
}

// Over a read-only file the export says so with its own text and the file's name; the file stays.
TEST_F(ExportWindow, AReadOnlyFileIsNamedInTheExportsMessage) {
    const std::string path = dir_.File("locked.csv");
    WriteBytes(path, "the old file");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    Browse(dir_.File("locked"), 3);
    shown_.YesNoAnswers = {true};
    Confirm();
    EXPECT_EQ(shown_.Questions.size(), 1u);
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{Text("IMPEXP_TESTEXPORT_READONLY") + "\n" + path});
    EXPECT_EQ(ReadBytes(path), "the old file");
    EXPECT_FALSE(form_.Exported);
    EXPECT_FALSE(form_.isVisible()) << "an export that ran and failed closes the window";
}
