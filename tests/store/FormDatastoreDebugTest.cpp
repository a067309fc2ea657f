// The store's debug window: the seven tables of the open project, one column each.
#include <gtest/gtest.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStringList>

#include "platform/qt/QtText.h"
#include "store/FileAccess.h"
#include "store/FormDatastoreDebug.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/StoreFixtures.h"

namespace {

QStringList Lines(const QPlainTextEdit* memo) { return memo->toPlainText().split('\n'); }

// The open project for the test's lifetime.
class DebugWindow : public ::testing::Test {
public:
    void SetUp() override {
        GlobalStore() = std::make_unique<TFileAccess>(std::string(), platform::FormatSettings::Posix());
        TFileAccess& s = *GlobalStore();
        s.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, "Group"));
        s.Tests.AddTest(Item<TTest>(4, 1, "First test", 0));
        s.Tests.AddTest(Item<TTest>(2, 1, "Second test", 1));
        s.Scales.AddScale(Item<TScale>(1, 4, "Scale"));
        s.Stimuli.AddStimulus(Item<TStimul>(1, 4, "Question"));
        s.Reactions.AddReaction(Item<TReaction>(7, 1, "Answer", 3));
        s.Users.AddUser(1, "admin", "");
        s.Tests.First();
        s.Tests.Next();
    }
    void TearDown() override { GlobalStore().reset(); }
    RecordingInteraction ui;
};

TEST_F(DebugWindow, EachColumnListsItsTableRecordByRecord) {
    TFormDatastoreDebug form(nullptr);
    EXPECT_EQ(form.windowTitle(), "Datastore Debug");
    EXPECT_EQ(Lines(form.MemoTests), QStringList({"TESTS", "", "ID = 4", "PARENT_ID = 1", "NAME = First test",
                                                  "ORDER = 0", "", "ID = 2", "PARENT_ID = 1",
                                                  "NAME = Second test", "ORDER = 1", ""}));
    EXPECT_EQ(Lines(form.MemoTestGroups),
              QStringList({"TEST GROUPS", "", "ID = 1", "PARENT_ID = -1", "NAME = Group", "ORDER = 0", ""}));
    EXPECT_EQ(Lines(form.MemoReactions),
              QStringList({"REACTIONS", "", "ID = 7", "PARENT_ID = 1", "NAME = Answer", "ORDER = 3", ""}));
    EXPECT_EQ(Lines(form.MemoInterprs), QStringList({"INTERPRETATIONS", ""}));
    EXPECT_EQ(Lines(form.MemoWeights), QStringList({"WEIGHTS", ""}));
    EXPECT_EQ(Lines(form.MemoScales).size(), 7);
    EXPECT_EQ(Lines(form.MemoStimuls).size(), 7);
    // Users are not shown anywhere; the tables' cursors are where they were.
    for (const QPlainTextEdit* memo : form.findChildren<QPlainTextEdit*>())
        EXPECT_FALSE(memo->toPlainText().contains("admin"));
    EXPECT_EQ(GlobalStore()->Tests.Cursor(), 1);
    EXPECT_EQ(GlobalStore()->Tests.SavedPositionCount(), 0);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(DebugWindow, RefreshShowsWhatChangedSince) {
    TFormDatastoreDebug form(nullptr);
    GlobalStore()->Tests.AddTest(Item<TTest>(3, 1, "Third test", 2));
    EXPECT_FALSE(form.MemoTests->toPlainText().contains("Third test"));
    form.MenuItemRefresh->trigger();
    const QStringList lines = Lines(form.MemoTests);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines.mid(12), QStringList({"ID = 3", "PARENT_ID = 1", "NAME = Third test", "ORDER = 2", ""}));
    EXPECT_EQ(form.MenuItemRefresh->text(), "Refresh");
}

TEST_F(DebugWindow, WithoutAProjectItSaysSoOnceAndKeepsItsLines) {
    GlobalStore().reset();
    TFormDatastoreDebug form(nullptr);
    EXPECT_EQ(ui.Messages, std::vector<std::string>{"Datastore is absent! Build a project space first."});
    const std::pair<QPlainTextEdit*, QStringList> columns[] = {
        {form.MemoTestGroups, {"TEST GROUPS", ""}}, {form.MemoTests, {"TESTS", ""}},
        {form.MemoScales, {"SCALES", ""}},          {form.MemoInterprs, {"INTERPRETATIONS", ""}},
        {form.MemoStimuls, {"STIMULS", ""}},        {form.MemoReactions, {"REACTIONS"}},
        {form.MemoWeights, {"WEIGHTS", ""}},
    };
    for (const auto& [memo, lines] : columns) {
        EXPECT_EQ(Lines(memo), lines) << memo->objectName().toStdString();
        EXPECT_TRUE(memo->isReadOnly());
    }
    // The columns stand in their order, left to right.
    QStringList order;
    for (const auto& [memo, lines] : columns) order << memo->objectName();
    QStringList shown;
    for (int i = 0; i < form.PanelUp->count(); ++i) shown << form.PanelUp->widget(i)->objectName();
    EXPECT_EQ(shown, order);
    // Refresh with no project says it again and still changes nothing.
    form.MenuItemRefresh->trigger();
    EXPECT_EQ(ui.Messages.size(), 2u);
    EXPECT_EQ(Lines(form.MemoReactions), QStringList({"REACTIONS"}));
}

}  // namespace
