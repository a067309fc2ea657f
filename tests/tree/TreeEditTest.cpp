// Create and change through the property dialogs, answered in place of a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <cmath>
#include <limits>
#include <functional>
#include <memory>

#include "lang/DlgLangConverter.h"
#include "platform/RealNumbers.h"
#include "platform/ShortDates.h"
#include "platform/qt/QtText.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"
#include "tests/tree/ObjectsTreeTestSupport.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

using Button = DialogButton;

class TreeEdit : public FixtureTreeTest {};

// Selects the field's whole text and types over it, key by key.
void TypeInto(QLineEdit& edit, const char* text) {
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, text);
}

}  // namespace

// ---- create

TEST_F(TreeEdit, ANewObjectTakesTheFirstFreeIdAndComesAfterItsSiblings) {
    // Group IDs 1, 2 and 4 are in use; the orders are 0 to 2.
    Select(nkTestsRoot, -1);
    AnswerDialogs<TTestGroupForm> answer;
    tree_.CreateObject();
    EXPECT_EQ(answer.Shown, 1);
    EXPECT_EQ(platform::FromQString(answer.Caption), T("OBJECTSTREE_TESTGROUP_TITLE"));
    EXPECT_EQ(platform::FromQString(answer.NameShown), T("OBJECTSTREE_TESTGROUP_TITLE") + " 3");
    const TTestGroup group = Stored(S().TestGroups, 3);
    EXPECT_EQ(group.Name, T("OBJECTSTREE_TESTGROUP_TITLE") + " 3");
    EXPECT_EQ(group.ParentID, -1);
    EXPECT_EQ(group.Order, 3);
    QTreeWidgetItem* root = tree_.TestsRootNode();
    EXPECT_EQ(GetNodeID(root->child(root->childCount() - 1)), 3) << "the new group is the last node";
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
    EXPECT_EQ(main_.Messages.back().LParam, static_cast<std::int32_t>(tree_.Handle()));
    ExpectMirrorsTheStore("new group");
}

TEST_F(TreeEdit, TheFirstGroupOfAnEmptyProjectGetsIdOneAndOrderZero) {
    ScopedGlobalStore empty(std::make_unique<TFileAccess>());
    tree_.Rebuild();
    Select(nkTestsRoot, -1);
    AnswerDialogs<TTestGroupForm> answer;
    tree_.CreateObject();
    const TTestGroup group = Stored(S().TestGroups, 1);
    EXPECT_EQ(group.Order, 0);
    EXPECT_EQ(group.Name, T("OBJECTSTREE_TESTGROUP_TITLE") + " 1");
}

TEST_F(TreeEdit, ACancelledDialogChangesNothing) {
    // Tables out of their sorted order show that a cancel does not sort either.
    S().TestGroups.Exchange(0, 2);
    S().SetModified(false);
    tree_.Rebuild();
    const std::string before = DumpTree(tree_);
    struct Case {
        TNodeKind Kind;
        std::int32_t Id;
        std::function<int()> Run;
    };
    const auto cancel = [&]<class Form>(Form*) {
        AnswerDialogs<Form> answer({}, Button::Cancel);
        tree_.CreateObject();
        return answer.Shown;
    };
    const Case cases[] = {
        {nkTestsRoot, -1, [&] { return cancel(static_cast<TTestGroupForm*>(nullptr)); }},
        {nkTestGroup, 1, [&] { return cancel(static_cast<TTestForm*>(nullptr)); }},
        {nkScalesFolder, 1, [&] { return cancel(static_cast<TScaleForm*>(nullptr)); }},
        {nkScale, 1, [&] { return cancel(static_cast<TInterpretationForm*>(nullptr)); }},
        {nkQuestionsFolder, 1, [&] { return cancel(static_cast<TStimulForm*>(nullptr)); }},
        {nkQuestion, 1, [&] { return cancel(static_cast<TReactionForm*>(nullptr)); }},
        {nkAnswer, 2, [&] { return cancel(static_cast<TWeightForm*>(nullptr)); }},
    };
    for (const Case& c : cases) {
        Select(c.Kind, c.Id);
        EXPECT_EQ(c.Run(), 1) << NodeKindName(c.Kind);
        EXPECT_FALSE(S().IsModified()) << NodeKindName(c.Kind);
        EXPECT_EQ(DumpTree(tree_), before) << NodeKindName(c.Kind);
        EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507}) << NodeKindName(c.Kind);
    }
    EXPECT_EQ(GetNodeID(tree_.TestsRootNode()->child(0)), 2) << "the groups are still in their old order";
}

TEST_F(TreeEdit, ANewTestShowsItsTwoEmptyFolders) {
    Select(nkTestGroup, 2);
    const double before = platform::NowDateTime();
    double presetCreated = -1;
    AnswerDialogs<TTestForm> answer([&](TTestForm& f) {
        EXPECT_TRUE(f.RadioButtonForwardOnly->isChecked());
        presetCreated = f.Created();
        f.TestNameEdit->setText("Memory");
    });
    tree_.CreateObject();
    const double after = platform::NowDateTime();
    ASSERT_EQ(answer.Shown, 1);
    const TTest test = Stored(S().Tests, 3);
    EXPECT_EQ(test.Name, "Memory");
    EXPECT_EQ(test.ParentID, 2);
    EXPECT_EQ(test.Order, 0);
    EXPECT_EQ(test.MoveDirection, mdForwardOnly);
    EXPECT_FALSE(test.Private);
    // Created is preset to the day of creation, as the data file keeps it: no time of day that
    // would read 00:00:00 after a save.
    EXPECT_EQ(presetCreated, test.Created);
    EXPECT_EQ(test.Created, std::floor(test.Created));
    EXPECT_GE(test.Created, std::floor(before));
    EXPECT_LE(test.Created, std::floor(after));
    QTreeWidgetItem* node = FindNode(tree_, nkTest, 3);
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->childCount(), 2);
    EXPECT_EQ(GetNodeKind(node->child(0)), nkScalesFolder);
    EXPECT_EQ(GetNodeKind(node->child(1)), nkQuestionsFolder);
    EXPECT_EQ(GetNodeID(node->child(0)), 3);
    EXPECT_TRUE(node->isExpanded());
    EXPECT_TRUE(node->parent()->isExpanded());
    ExpectMirrorsTheStore("new test");
}

TEST_F(TreeEdit, AWeightIsOfferedOnlyTheScalesItsAnswerHasNoWeightOn) {
    // Answer 1 has a weight on Extraversion (and one without a scale): only Neuroticism is free.
    Select(nkAnswer, 1);
    {
        AnswerDialogs<TWeightForm> answer([](TWeightForm& f) { f.WeightValueEdit->setText("2.5"); });
        tree_.CreateObject();
        EXPECT_EQ(answer.ScalesListed, std::vector<QString>{"Neuroticism"});
    }
    const TWeight weight = Stored(S().Weights, 5);
    EXPECT_EQ(weight.ScaleID, 3);
    EXPECT_EQ(weight.Value, 2.5);
    EXPECT_EQ(weight.ParentID, 1);
    EXPECT_EQ(weight.Order, 2);
    EXPECT_NE(FindNode(tree_, nkWeight, 5), nullptr);
    ExpectMirrorsTheStore("new weight");
    // Now every scale of the test has a weight of this answer: no dialog, the message instead.
    Select(nkAnswer, 1);
    shown_.Messages.clear();
    NoDialogs none;
    tree_.CreateObject();
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_NO_SCALES_FOR_WEIGHTS")});
    EXPECT_EQ(S().Weights.RecordCount(), 5);
    EXPECT_EQ(main_.Codes(), std::vector<std::uint32_t>{507});
}

TEST_F(TreeEdit, ANumberThatDoesNotConvertStoresNothing) {
    Select(nkScale, 3);
    AnswerDialogs<TInterpretationForm> answer([](TInterpretationForm& f) {
        f.InterpretationMinEdit->setText("abc");
        f.InterpretationMaxEdit->setText("nan");
    });
    tree_.CreateObject();
    ASSERT_EQ(shown_.Messages.size(), 1u);
    EXPECT_NE(shown_.Messages[0].find("\"abc\""), std::string::npos) << shown_.Messages[0];
    EXPECT_EQ(S().Interpretations.RecordCount(), 2);
    EXPECT_FALSE(S().IsModified());
    EXPECT_EQ(DumpTree(tree_), FixtureDump());
}

TEST_F(TreeEdit, ARefusedRangeKeepsTheDialogOpenWithEverythingTyped) {
    struct Case {
        const char* Name;
        TNodeKind Kind;
        std::int32_t ID;
        bool Create;
    };
    for (const Case& c : {Case{"create", nkScale, 1, true}, Case{"change", nkInterpretation, 2, false}}) {
        SCOPED_TRACE(c.Name);
        Select(c.Kind, c.ID);
        shown_.Messages.clear();
        std::vector<std::string> steps;
        platform::ScopedModalHook hook([&](QDialog& d) {
            auto& f = dynamic_cast<TInterpretationForm&>(d);
            f.show();
            TypeInto(*f.NameEdit, "Typed name");
            TypeInto(*f.InterpretationMinEdit, "1x");
            TypeInto(*f.InterpretationMaxEdit, "0.5");
            f.DescriptionMemo->setPlainText("Typed text");
            // Each refusal: the message, the dialog still open, the refused field selected.
            const auto press = [&](const char* what) {
                f.OkBitBtn->click();
                const auto* field = qobject_cast<QLineEdit*>(f.focusWidget());
                steps.push_back(std::string(what) + (f.isVisible() ? " open" : " closed") + " " +
                                (field && field->hasSelectedText() && field->selectedText() == field->text()
                                     ? field->objectName().toStdString()
                                     : "-"));
            };
            press("letters");
            TypeInto(*f.InterpretationMinEdit, "1");
            press("min above max");
            TypeInto(*f.InterpretationMaxEdit, "2");
            press("fixed");
            EXPECT_EQ(f.NameEdit->text(), "Typed name");
            EXPECT_EQ(f.DescriptionMemo->toPlainText(), "Typed text");
            f.hide();
            return f.DialogResult;
        });
        c.Create ? tree_.CreateObject() : tree_.ChangeObject();
        EXPECT_EQ(steps, (std::vector<std::string>{"letters open InterpretationMinEdit",
                                                   "min above max open InterpretationMinEdit", "fixed closed -"}));
        ASSERT_EQ(shown_.Messages.size(), 2u);
        EXPECT_NE(shown_.Messages[0].find("\"1x\""), std::string::npos) << shown_.Messages[0];
        EXPECT_EQ(shown_.Messages[1], T("OBJECTSTREE_RANGE_EMPTY"));
        const std::int32_t id = c.Create ? 3 : c.ID;
        const TInterpretation stored = Stored(S().Interpretations, id);
        EXPECT_EQ(stored.Name, "Typed name");
        EXPECT_EQ(stored.Minimum, 1);
        EXPECT_EQ(stored.Maximum, 2);
        EXPECT_EQ(stored.Description, "Typed text");
    }
}

// ---- change: each dialog preset from its record, confirmed with edits

TEST_F(TreeEdit, EachDialogStoresTheRecordWithTheEdits) {
    // The name is pasted with a line break in it, which never reaches the store.
    std::string typedName;
    const auto edits = [&](TPropertyForm& f) {
        f.NameEdit->selectAll();
        f.NameEdit->insert(QString::fromUtf8("Neu\r\ner Name \u00FC"));
        typedName = platform::FromQString(f.NameEdit->text());
        f.DescriptionMemo->setPlainText("First\nSecond");
    };
    const auto named = [&](auto rec) {
        rec.Name = typedName;
        rec.Description = "First\r\nSecond";
        return rec;
    };
    const auto nameIsClean = [&] {
        EXPECT_EQ(typedName.find_first_of("\r\n"), std::string::npos) << typedName;
        EXPECT_NE(typedName.find("Name \xC3\xBC"), std::string::npos) << typedName;
    };
    {
        Select(nkTestGroup, 1);
        const TTestGroup before = Stored(S().TestGroups, 1);
        AnswerDialogs<TTestGroupForm> answer([&](TTestGroupForm& f) {
            EXPECT_EQ(platform::FromQString(f.TestGroupNameEdit->text()), before.Name);
            EXPECT_EQ(platform::FromQString(f.TestGroupDescriptionMemo->toPlainText()), "About Personality\nsecond line");
            edits(f);
        });
        tree_.ChangeObject();
        nameIsClean();
        EXPECT_EQ(platform::FromQString(answer.Caption), T("OBJECTSTREE_TESTGROUP_TITLE"));
        EXPECT_EQ(Stored(S().TestGroups, 1), named(before));
        ExpectMirrorsTheStore("group");
    }
    {
        Select(nkTest, 1);
        const TTest before = Stored(S().Tests, 1);
        const QDateTime created(QDate(2021, 6, 7), QTime(8, 9, 10));
        AnswerDialogs<TTestForm> answer([&](TTestForm& f) {
            EXPECT_TRUE(f.RadioButtonForwardAndBack->isChecked());
            EXPECT_EQ(f.TimeLimitMaskEdit->text(), QString("30"));
            EXPECT_EQ(f.EditAuthorEmail->text(), QString("author@example.org"));
            edits(f);
            f.RadioButtonAnyQuestion->setChecked(true);
            f.QuestionReplayAllowedCheckBox->setChecked(false);
            f.TestAnnotationMemo->setPlainText("New annotation");
            f.EditAuthorName->setText("B. Writer");
            f.DateTimePickerTestCreated->setDateTime(created);
        });
        tree_.ChangeObject();
        TTest expected = named(before);
        expected.MoveDirection = mdFree;
        expected.ReplayEnabled = false;
        expected.Annotation = "New annotation";
        expected.AuthorName = "B. Writer";
        expected.Created = platform::EncodeDate(2021, 6, 7) + platform::EncodeTime(8, 9, 10);
        const TTest got = Stored(S().Tests, 1);
        EXPECT_NEAR(got.Created, expected.Created, 1e-9);
        expected.Created = got.Created;
        EXPECT_EQ(got, expected);
        ExpectMirrorsTheStore("test");
    }
    {
        Select(nkScale, 3);
        const TScale before = Stored(S().Scales, 3);
        AnswerDialogs<TScaleForm> answer(edits);
        tree_.ChangeObject();
        EXPECT_EQ(Stored(S().Scales, 3), named(before));
        ExpectMirrorsTheStore("scale");
    }
    {
        Select(nkInterpretation, 2);
        const TInterpretation before = Stored(S().Interpretations, 2);
        AnswerDialogs<TInterpretationForm> answer([&](TInterpretationForm& f) {
            EXPECT_EQ(f.InterpretationMinEdit->text(), QString("5"));
            EXPECT_EQ(f.InterpretationMaxEdit->text(), QString("10"));
            edits(f);
            f.InterpretationMinEdit->setText("-1E-7");
            f.InterpretationMaxEdit->setText("5.25");
        });
        tree_.ChangeObject();
        TInterpretation expected = named(before);
        expected.Minimum = -1e-7;
        expected.Maximum = 5.25;
        EXPECT_EQ(Stored(S().Interpretations, 2), expected);
        ExpectMirrorsTheStore("interpretation");
    }
    {
        Select(nkQuestion, 1);
        const TStimul before = Stored(S().Stimuli, 1);
        AnswerDialogs<TStimulForm> answer([&](TStimulForm& f) {
            EXPECT_TRUE(f.CheckBoxMultipleAnswers->isChecked());
            EXPECT_EQ(f.MaskEditNumReactionsLimit->text(), QString("2"));
            edits(f);
            f.MaskEditNumReactionsLimit->setText("7");
            f.CheckBoxAnswerMustBe->setChecked(false);
        });
        tree_.ChangeObject();
        TStimul expected = named(before);
        expected.AnswersLimit = 7;
        expected.AnswerRequired = false;
        EXPECT_EQ(Stored(S().Stimuli, 1), expected);
        ExpectMirrorsTheStore("question");
    }
    {
        Select(nkAnswer, 2);
        const TReaction before = Stored(S().Reactions, 2);
        AnswerDialogs<TReactionForm> answer(edits);
        tree_.ChangeObject();
        EXPECT_EQ(Stored(S().Reactions, 2), named(before));
        ExpectMirrorsTheStore("answer");
    }
    {
        // The weight without a scale is offered the free scale of its answer, and takes it.
        Select(nkWeightNoScale, 2);
        const TWeight before = Stored(S().Weights, 2);
        AnswerDialogs<TWeightForm> answer([&](TWeightForm& f) {
            EXPECT_EQ(f.ScaleComboBox->currentIndex(), -1);
            EXPECT_EQ(f.WeightValueEdit->text(), QString("0.5"));
            edits(f);
            f.ScaleComboBox->setCurrentIndex(0);
            f.WeightValueEdit->setText("-3.5");
        });
        tree_.ChangeObject();
        // Scale 3 was renamed above.
        EXPECT_EQ(answer.ScalesListed, std::vector<QString>{platform::ToQString(typedName)});
        TWeight expected = named(before);
        expected.ScaleID = 3;
        expected.Value = -3.5;
        EXPECT_EQ(Stored(S().Weights, 2), expected);
        EXPECT_EQ(GetNodeKind(FindNode(tree_, nkWeight, 2)), nkWeight) << "bound now";
        ExpectMirrorsTheStore("weight");
    }
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(TreeEdit, ADialogConfirmedUnchangedStoresTheRecordUnchanged) {
    // Values that the screen shows rounded, or cannot show at all.
    ASSERT_TRUE(S().Weights.Locate(1));
    TWeight w = S().Weights.GetRecordOf();
    w.Value = 0.1 + 0.2;
    w.Name = "Na\xEFve";
    S().Weights.EditRecord(w);
    ASSERT_TRUE(S().Interpretations.Locate(1));
    TInterpretation in = S().Interpretations.GetRecordOf();
    in.Maximum = 1.0 / 3;
    in.Description = "lone\nline feed";
    S().Interpretations.EditRecord(in);
    ASSERT_TRUE(S().Tests.Locate(1));
    TTest t = S().Tests.GetRecordOf();
    t.Created = 45000.123456789;
    t.SpareFlag = true;
    S().Tests.EditRecord(t);
    tree_.Rebuild();

    const auto unchanged = [&]<class Form>(TNodeKind kind, std::int32_t id, Form*) {
        Select(kind, id);
        const std::string before = DumpTree(tree_);
        AnswerDialogs<Form> answer;
        tree_.ChangeObject();
        EXPECT_EQ(answer.Shown, 1) << NodeKindName(kind);
        EXPECT_EQ(DumpTree(tree_), before) << NodeKindName(kind);
    };
    const TTestGroup group = Stored(S().TestGroups, 1);
    const TTest test = Stored(S().Tests, 1);
    const TScale scale = Stored(S().Scales, 1);
    const TInterpretation interpretation = Stored(S().Interpretations, 1);
    const TStimul question = Stored(S().Stimuli, 1);
    const TReaction reaction = Stored(S().Reactions, 1);
    const TWeight bound = Stored(S().Weights, 1);
    const TWeight unbound = Stored(S().Weights, 2);
    unchanged(nkTestGroup, 1, static_cast<TTestGroupForm*>(nullptr));
    unchanged(nkTest, 1, static_cast<TTestForm*>(nullptr));
    unchanged(nkScale, 1, static_cast<TScaleForm*>(nullptr));
    unchanged(nkInterpretation, 1, static_cast<TInterpretationForm*>(nullptr));
    unchanged(nkQuestion, 1, static_cast<TStimulForm*>(nullptr));
    unchanged(nkAnswer, 1, static_cast<TReactionForm*>(nullptr));
    unchanged(nkWeight, 1, static_cast<TWeightForm*>(nullptr));
    // A weight without a scale confirmed without choosing one stays without a scale.
    unchanged(nkWeightNoScale, 2, static_cast<TWeightForm*>(nullptr));
    EXPECT_EQ(Stored(S().TestGroups, 1), group);
    EXPECT_EQ(Stored(S().Tests, 1), test);
    EXPECT_EQ(Stored(S().Scales, 1), scale);
    EXPECT_EQ(Stored(S().Interpretations, 1), interpretation);
    EXPECT_EQ(Stored(S().Stimuli, 1), question);
    EXPECT_EQ(Stored(S().Reactions, 1), reaction);
    EXPECT_EQ(Stored(S().Weights, 1), bound);
    EXPECT_EQ(Stored(S().Weights, 2), unbound);
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(TreeEdit, TheAnswerLimitAndTheWeightValueStayInRange) {
    struct LimitCase {
        const char* Typed;
        std::int32_t Stored;
    };
    // The edit starts at the stored 2; a text that is no number puts the last good one back.
    for (const LimitCase& c : {LimitCase{"1500", 999}, LimitCase{"0", 1}, LimitCase{"-4", 1}, LimitCase{"12", 12},
                               LimitCase{"abc", 2}, LimitCase{"", 2}}) {
        Select(nkQuestion, 1);
        AnswerDialogs<TStimulForm> answer([&](TStimulForm& f) { f.MaskEditNumReactionsLimit->setText(c.Typed); });
        tree_.ChangeObject();
        EXPECT_EQ(Stored(S().Stimuli, 1).AnswersLimit, c.Stored) << c.Typed;
        // Back to 2 for the next case.
        TStimul s = Stored(S().Stimuli, 1);
        s.AnswersLimit = 2;
        S().Stimuli.Locate(1);
        S().Stimuli.EditRecord(s);
    }
    struct ValueCase {
        const char* Typed;
        double Stored;
    };
    // The edit starts at the stored 2; no lower bound. A text that is no number stays in the edit
    // and OK refuses it: the stored 2 stays.
    EXPECT_TRUE(shown_.Messages.empty());
    for (const ValueCase& c : {ValueCase{"10000", 9999}, ValueCase{"-50", -50}, ValueCase{"nan", 2},
                               ValueCase{"inf", 2}, ValueCase{"-inf", 2}, ValueCase{"1e400", 2}, ValueCase{"3,5", 2}}) {
        shown_.Messages.clear();
        Select(nkWeight, 1);
        AnswerDialogs<TWeightForm> answer([&](TWeightForm& f) { f.WeightValueEdit->setText(c.Typed); });
        tree_.ChangeObject();
        EXPECT_EQ(Stored(S().Weights, 1).Value, c.Stored) << c.Typed;
        const bool refused = c.Stored == 2;
        EXPECT_EQ(shown_.Messages.size(), refused ? 1u : 0u) << c.Typed;
        if (refused && !shown_.Messages.empty()) {
            EXPECT_NE(shown_.Messages[0].find(std::string("\"") + c.Typed + "\""), std::string::npos) << shown_.Messages[0];
        }
        TWeight w = Stored(S().Weights, 1);
        w.Value = 2;
        S().Weights.Locate(1);
        S().Weights.EditRecord(w);
    }
}

TEST_F(TreeEdit, NoDialogOpensBelowAPrivateTest) {
    for (const auto& [kind, id] : std::vector<std::pair<TNodeKind, std::int32_t>>{
             {nkTest, 5}, {nkScalesFolder, 5}, {nkScale, 4}, {nkQuestionsFolder, 5}, {nkQuestion, 3},
             {nkAnswer, 3}, {nkWeight, 4}}) {
        Select(kind, id);
        shown_.Messages.clear();
        NoDialogs none;
        tree_.ChangeObject();
        EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_IS_PRIVATE_TEST")}) << NodeKindName(kind);
        EXPECT_TRUE(main_.Messages.empty()) << NodeKindName(kind);
    }
    EXPECT_FALSE(S().IsModified());
}

TEST_F(TreeEdit, ADoubleClickOpensTheDialogOfTheNode) {
    tree_.resize(400, 600);
    tree_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree_));
    QTreeWidgetItem* group = FindNode(tree_, nkTestGroup, 4);
    tree_.TestsRootNode()->setExpanded(true);
    AnswerDialogs<TTestGroupForm> answer([](TTestGroupForm& f) { f.TestGroupNameEdit->setText("Abilities"); });
    QTest::mouseDClick(tree_.viewport(), Qt::LeftButton, {}, tree_.visualItemRect(group).center());
    EXPECT_EQ(answer.Shown, 1);
    EXPECT_EQ(Stored(S().TestGroups, 4).Name, "Abilities");
    EXPECT_EQ(group->text(0), QString("Abilities"));
    EXPECT_TRUE(group->isExpanded());
}

TEST_F(TreeEdit, AnObjectMissingFromTheStoreOpensNoDialog) {
    ASSERT_TRUE(S().Scales.Locate(3));
    S().Scales.Delete();
    Select(nkScale, 3);
    NoDialogs none;
    tree_.ChangeObject();
    EXPECT_EQ(shown_.Messages, std::vector<std::string>{T("OBJECTSTREE_NO_RECORD_MSG")});
}

TEST_F(TreeEdit, AScriptOfCreatesAndChangesKeepsTreeAndStoreAlike) {
    const auto create = [&]<class Form>(TNodeKind kind, std::int32_t id, std::function<void(Form&)> edit) {
        Select(kind, id);
        AnswerDialogs<Form> answer(std::move(edit));
        tree_.CreateObject();
        EXPECT_EQ(answer.Shown, 1) << NodeKindName(kind);
        ExpectMirrorsTheStore(std::string("create under ") + NodeKindName(kind));
    };
    create.operator()<TTestGroupForm>(nkTestsRoot, -1, {});
    create.operator()<TTestForm>(nkTestGroup, 3, [](TTestForm& f) { f.RadioButtonAnyQuestion->setChecked(true); });
    // New IDs fill the gaps: scales 2 and 5, question 4, answer 4, weights 5 and 6.
    create.operator()<TScaleForm>(nkScalesFolder, 3, {});
    create.operator()<TScaleForm>(nkScalesFolder, 3, {});
    create.operator()<TInterpretationForm>(nkScale, 2, [](TInterpretationForm& f) {
        f.InterpretationMinEdit->setText("1.5");
        f.InterpretationMaxEdit->setText("7");
    });
    create.operator()<TStimulForm>(nkQuestionsFolder, 3, [](TStimulForm& f) {
        f.CheckBoxMultipleAnswers->setChecked(true);
        f.MaskEditNumReactionsLimit->setText("3");
    });
    create.operator()<TReactionForm>(nkQuestion, 4, {});
    create.operator()<TWeightForm>(nkAnswer, 4, {});
    EXPECT_EQ(Stored(S().Weights, 5).ScaleID, 2);

    const auto change = [&]<class Form>(TNodeKind kind, std::int32_t id, std::function<void(Form&)> edit) {
        Select(kind, id);
        AnswerDialogs<Form> answer(std::move(edit));
        tree_.ChangeObject();
        EXPECT_EQ(answer.Shown, 1) << NodeKindName(kind);
        ExpectMirrorsTheStore(std::string("change ") + NodeKindName(kind));
    };
    change.operator()<TTestForm>(nkTest, 3, [](TTestForm& f) { f.TestNameEdit->setText("Renamed test"); });
    change.operator()<TScaleForm>(nkScale, 5, [](TScaleForm& f) { f.ScaleNameEdit->setText("Second scale"); });
    // Its own scale first, then the free one.
    change.operator()<TWeightForm>(nkWeight, 5, [](TWeightForm& f) {
        EXPECT_EQ(f.ScaleComboBox->count(), 2);
        f.WeightNameEdit->setText("Moved to the second scale");
        f.ScaleComboBox->setCurrentIndex(1);
    });
    EXPECT_EQ(Stored(S().Weights, 5).ScaleID, 5);
    create.operator()<TWeightForm>(nkAnswer, 4, [](TWeightForm& f) { f.WeightValueEdit->setText("-12.75"); });
    EXPECT_EQ(Stored(S().Weights, 6).ScaleID, 2) << "the new weight takes the scale the first one left";
    EXPECT_EQ(Stored(S().Weights, 6).Value, -12.75);
    EXPECT_TRUE(shown_.Messages.empty());
}

TEST_F(TreeEdit, TheLargestValuesTypedInTheDialogsSaveAndLoadBack) {
    const char* const largest = "1.7976931348623157e308";
    const std::string negative = std::string("-") + largest;
    Select(nkInterpretation, 2);
    {
        AnswerDialogs<TInterpretationForm> answer([&](TInterpretationForm& f) {
            TypeInto(*f.InterpretationMinEdit, negative.c_str());
            TypeInto(*f.InterpretationMaxEdit, largest);
        });
        tree_.ChangeObject();
    }
    Select(nkWeight, 1);
    {
        AnswerDialogs<TWeightForm> answer([&](TWeightForm& f) { TypeInto(*f.WeightValueEdit, negative.c_str()); });
        tree_.ChangeObject();
    }
    const double max = std::numeric_limits<double>::max();
    EXPECT_EQ(Stored(S().Interpretations, 2).Minimum, -max);
    EXPECT_EQ(Stored(S().Interpretations, 2).Maximum, max);
    EXPECT_EQ(Stored(S().Weights, 1).Value, -max);

    S().FileName = dir_.File("largest.kvd");
    ASSERT_TRUE(S().SaveAll()) << S().LastError;
    TFileAccess back(S().FileName, S().Settings);
    ASSERT_TRUE(back.LoadAll()) << back.LastError;
    EXPECT_EQ(Stored(back.Interpretations, 2).Minimum, platform::RoundToShown(-max));
    EXPECT_EQ(Stored(back.Interpretations, 2).Maximum, platform::RoundToShown(max));
    EXPECT_EQ(Stored(back.Weights, 1).Value, platform::RoundToShown(-max));
    EXPECT_TRUE(shown_.Messages.empty());
}
