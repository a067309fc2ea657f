#include "tree/PropertyDialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "lang/DlgLangConverter.h"
#include "lang/HelpHook.h"
#include "lang/LanguageController.h"
#include "platform/IniFile.h"
#include "platform/ShortDates.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "tests/support/LocaleCases.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"
#include "tests/tree/DialogTestSupport.h"

using platform::EncodeDate;
using platform::EncodeTime;

namespace {

// ---------------------------------------------------------------- a person at the dialog

// On the box or the circle: a check box or radio button takes clicks on its indicator and text
// only, not on the rest of its width.
void Click(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    QPoint at = button->rect().center();
    if (qobject_cast<QCheckBox*>(button))
        at = button->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button).center();
    else if (qobject_cast<QRadioButton*>(button))
        at = button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button).center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

void TypeOver(QLineEdit* edit, const char* text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void TypeAtEnd(QLineEdit* edit, const char* text) {
    edit->end(false);
    QTest::keyClicks(edit, text);
}

void AddLine(QPlainTextEdit* memo, const char* text) {
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, text);
}

void ClearMemo(QPlainTextEdit* memo) {
    memo->selectAll();
    QTest::keyClick(memo, Qt::Key_Delete);
}

// ---------------------------------------------------------------- records in messages

std::string Shown(const std::string& s) {
    std::string out = "'";
    for (unsigned char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c < 32 || c >= 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    return out + "'";
}

std::string Describe(const TAnyObject& r) {
    std::ostringstream s;
    s.precision(17);
    s << "ID " << r.ID << ", parent " << r.ParentID << ", order " << r.Order << ", name " << Shown(r.Name)
      << ", description " << Shown(r.Description);
    return s.str();
}

std::string Describe(const TTest& r) {
    std::ostringstream s;
    s.precision(17);
    s << Describe(static_cast<const TAnyObject&>(r)) << ", annotation " << Shown(r.Annotation) << ", instruction "
      << Shown(r.Instruction) << ", direction " << int(r.MoveDirection) << ", replay " << r.ReplayEnabled << ", stop "
      << r.StopEnabled << ", spare flag " << r.SpareFlag << ", time limit " << r.TimeLimit << ", author "
      << Shown(r.AuthorName) << ", email " << Shown(r.AuthorEmail) << ", copyright " << Shown(r.Copyright)
      << ", created " << r.Created << ", private " << r.Private << ", spare text " << Shown(r.SpareText);
    return s.str();
}

std::string Describe(const TStimul& r) {
    std::ostringstream s;
    s << Describe(static_cast<const TAnyObject&>(r)) << ", multiple " << r.MultipleAnswers << ", limit "
      << r.AnswersLimit << ", required " << r.AnswerRequired;
    return s.str();
}

std::string Describe(const TInterpretation& r) {
    std::ostringstream s;
    s.precision(17);
    s << Describe(static_cast<const TAnyObject&>(r)) << ", maximum " << r.Maximum << ", minimum " << r.Minimum;
    return s.str();
}

std::string Describe(const TWeight& r) {
    std::ostringstream s;
    s.precision(17);
    s << Describe(static_cast<const TAnyObject&>(r)) << ", scale " << r.ScaleID << ", value " << r.Value;
    return s.str();
}

// The dialogs without number fields read without a way to fail.
template <class Form, class Record>
bool ReadRecord(const Form& form, Record& record) {
    if constexpr (std::is_void_v<decltype(form.ReadInto(record))>) {
        form.ReadInto(record);
        return true;
    } else {
        return form.ReadInto(record);
    }
}

// ---------------------------------------------------------------- the seven dialogs as one table

using TComponents = std::vector<std::pair<const char*, QWidget*>>;

struct TDialogCase {
    std::string Section;
    int HelpContext = 0;
    std::function<std::unique_ptr<TPropertyForm>()> Make;
    std::function<void(TPropertyForm&)> Preset;   // from the stored record
    std::function<void(TPropertyForm&)> Edit;     // what a person changes
    // The record read back equals the stored one (unchanged) or the stored one with the edits.
    std::function<testing::AssertionResult(const TPropertyForm&, bool edited)> ReadsBack;
    // The components the tree presets and reads, by the names it uses.
    std::function<TComponents(TPropertyForm&)> Components;
    // What Tab reaches from the name edit.
    std::function<QWidget*(TPropertyForm&)> AfterName;
};

template <class Form, class Record>
struct TCaseOf {
    std::string Section;
    int HelpContext;
    std::function<std::unique_ptr<Form>()> Make;
    Record Stored;
    std::function<void(Form&)> Edit;
    Record Edited;
    std::function<TComponents(Form&)> Components;
    std::function<QWidget*(Form&)> AfterName;

    operator TDialogCase() const {
        TDialogCase c;
        c.Section = Section;
        c.HelpContext = HelpContext;
        c.Make = [make = Make] { return std::unique_ptr<TPropertyForm>(make()); };
        c.Preset = [stored = Stored](TPropertyForm& f) { static_cast<Form&>(f).Preset(stored); };
        c.Edit = [edit = Edit](TPropertyForm& f) { edit(static_cast<Form&>(f)); };
        c.ReadsBack = [stored = Stored, edited = Edited](const TPropertyForm& f, bool withEdits) {
            Record read = stored;
            if (!ReadRecord(static_cast<const Form&>(f), read))
                return testing::AssertionFailure() << "a number field did not convert";
            const Record& want = withEdits ? edited : stored;
            if (read == want) return testing::AssertionSuccess();
            return testing::AssertionFailure() << "read back:\n  " << Describe(read) << "\nexpected:\n  " << Describe(want);
        };
        c.Components = [components = Components](TPropertyForm& f) { return components(static_cast<Form&>(f)); };
        c.AfterName = [after = AfterName](TPropertyForm& f) { return after(static_cast<Form&>(f)); };
        return c;
    }
};

template <class Record>
Record Object(int id, int parent, int order, std::string name, std::string description) {
    Record r;
    r.ID = id;
    r.ParentID = parent;
    r.Order = order;
    r.Name = std::move(name);
    r.Description = std::move(description);
    return r;
}

TDialogCase TestGroupCase() {
    auto stored = Object<TTestGroup>(3, -1, 2, "Personality", "Tests of\r\npersonality");
    auto edited = stored;
    edited.Name = "Character";
    edited.Description = "Tests of\r\npersonality\r\nand temper";
    return TCaseOf<TTestGroupForm, TTestGroup>{
        "TestGroupForm", 530, [] { return std::make_unique<TTestGroupForm>(nullptr); }, stored,
        [](TTestGroupForm& f) {
            TypeOver(f.TestGroupNameEdit, "Character");
            AddLine(f.TestGroupDescriptionMemo, "and temper");
        },
        edited,
        [](TTestGroupForm& f) {
            return TComponents{{"TestGroupNameLabel", f.TestGroupNameLabel},
                               {"TestGroupNameEdit", f.TestGroupNameEdit},
                               {"TestGroupDescriptionLabel", f.TestGroupDescriptionLabel},
                               {"TestGroupDescriptionMemo", f.TestGroupDescriptionMemo}};
        },
        [](TTestGroupForm& f) -> QWidget* { return f.TestGroupDescriptionMemo; }};
}

TTest StoredTest() {
    auto t = Object<TTest>(4, 3, 1, "Anxiety inventory", "About\r\nanxiety");
    t.Annotation = "A short note";
    t.Instruction = "Read each question\r\ncarefully.";
    t.MoveDirection = mdForwardBack;
    t.ReplayEnabled = true;
    t.StopEnabled = false;
    t.SpareFlag = true;
    t.TimeLimit = 30;
    t.AuthorName = "A. Author";
    t.AuthorEmail = "author@example.org";
    t.Copyright = "(c) 2021";
    // A quarter of a second that the picker does not show.
    t.Created = EncodeDate(2021, 7, 14) + EncodeTime(9, 5, 7) + 0.25 / 86400;
    t.SpareText = "spare";
    return t;
}

TDialogCase TestCase() {
    const TTest stored = StoredTest();
    TTest edited = stored;
    edited.Name = "Mood test";
    edited.Instruction = "Begin";
    edited.MoveDirection = mdFree;
    edited.ReplayEnabled = false;
    edited.Copyright = "(c) 2021, Orvel";
    edited.Created = EncodeDate(2022, 1, 2) + EncodeTime(3, 4, 5);
    return TCaseOf<TTestForm, TTest>{
        "TestForm", 540, [] { return std::make_unique<TTestForm>(nullptr, DotSettings()); }, stored,
        [](TTestForm& f) {
            TypeOver(f.TestNameEdit, "Mood test");
            f.PageControlMain->setCurrentWidget(f.TabSheetInstruction);
            ClearMemo(f.TestInstructionMemo);
            QTest::keyClicks(f.TestInstructionMemo, "Begin");
            f.PageControlMain->setCurrentWidget(f.TabSheetOptions);
            Click(f.RadioButtonAnyQuestion);
            Click(f.QuestionReplayAllowedCheckBox);
            TypeAtEnd(f.EditCopyright, ", Orvel");
            f.DateTimePickerTestCreated->setDateTime(QDateTime(QDate(2022, 1, 2), QTime(3, 4, 5), Qt::UTC));
        },
        edited,
        [](TTestForm& f) {
            return TComponents{{"TestNameLabel", f.TestNameLabel},
                               {"TestNameEdit", f.TestNameEdit},
                               {"TestDescriptionLabel", f.TestDescriptionLabel},
                               {"TestDescriptionMemo", f.TestDescriptionMemo},
                               {"PageControlMain", f.PageControlMain},
                               {"TabSheetMain", f.TabSheetMain},
                               {"TabSheetAnnotation", f.TabSheetAnnotation},
                               {"TabSheetInstruction", f.TabSheetInstruction},
                               {"TabSheetOptions", f.TabSheetOptions},
                               {"TestAnnotationLabel", f.TestAnnotationLabel},
                               {"TestAnnotationMemo", f.TestAnnotationMemo},
                               {"TestInstructionLabel", f.TestInstructionLabel},
                               {"TestInstructionMemo", f.TestInstructionMemo},
                               {"GroupBoxTestMoveDirection", f.GroupBoxTestMoveDirection},
                               {"RadioButtonForwardOnly", f.RadioButtonForwardOnly},
                               {"RadioButtonForwardAndBack", f.RadioButtonForwardAndBack},
                               {"RadioButtonAnyQuestion", f.RadioButtonAnyQuestion},
                               {"QuestionReplayAllowedCheckBox", f.QuestionReplayAllowedCheckBox},
                               {"TestStopAllowedCheckBox", f.TestStopAllowedCheckBox},
                               {"TestTimeLimitGroupBox", f.TestTimeLimitGroupBox},
                               {"TimeLimitMaskEdit", f.TimeLimitMaskEdit},
                               {"TimeLimitUpDown", f.TimeLimitUpDown},
                               {"TimeUnitsTrackBar", f.TimeUnitsTrackBar},
                               {"TimeUnitsSecondsLabel", f.TimeUnitsSecondsLabel},
                               {"TimeUnitsMinutesLabel", f.TimeUnitsMinutesLabel},
                               {"TimeUnitsHoursLabel", f.TimeUnitsHoursLabel},
                               {"LabelAuthorName", f.LabelAuthorName},
                               {"EditAuthorName", f.EditAuthorName},
                               {"LabelAuthorEmail", f.LabelAuthorEmail},
                               {"EditAuthorEmail", f.EditAuthorEmail},
                               {"LabelCopyright", f.LabelCopyright},
                               {"EditCopyright", f.EditCopyright},
                               {"LabelTestCreated", f.LabelTestCreated},
                               {"DateTimePickerTestCreated", f.DateTimePickerTestCreated}};
        },
        [](TTestForm& f) -> QWidget* { return f.TestDescriptionMemo; }};
}

TDialogCase StimulCase() {
    auto stored = Object<TStimul>(11, 4, 0, "Do you sleep well?", "");
    stored.MultipleAnswers = true;
    stored.AnswersLimit = 5;
    stored.AnswerRequired = false;
    auto edited = stored;
    edited.MultipleAnswers = false;
    edited.AnswersLimit = 12;   // a limit typed while it applied is kept when it no longer does
    edited.AnswerRequired = true;
    return TCaseOf<TStimulForm, TStimul>{
        "StimulForm", 570, [] { return std::make_unique<TStimulForm>(nullptr); }, stored,
        [](TStimulForm& f) {
            TypeOver(f.MaskEditNumReactionsLimit, "12");
            Click(f.CheckBoxAnswerMustBe);
            Click(f.CheckBoxMultipleAnswers);
        },
        edited,
        [](TStimulForm& f) {
            return TComponents{{"StimulNameLabel", f.StimulNameLabel},
                               {"StimulNameEdit", f.StimulNameEdit},
                               {"StimulDescriptionLabel", f.StimulDescriptionLabel},
                               {"StimulDescriptionMemo", f.StimulDescriptionMemo},
                               {"GroupBoxMultiplicity", f.GroupBoxMultiplicity},
                               {"CheckBoxMultipleAnswers", f.CheckBoxMultipleAnswers},
                               {"LabelNumReactionsLimit", f.LabelNumReactionsLimit},
                               {"MaskEditNumReactionsLimit", f.MaskEditNumReactionsLimit},
                               {"CheckBoxAnswerMustBe", f.CheckBoxAnswerMustBe}};
        },
        [](TStimulForm& f) -> QWidget* { return f.CheckBoxMultipleAnswers; }};
}

TDialogCase ReactionCase() {
    // A description that ends in a line break keeps it.
    auto stored = Object<TReaction>(1, 11, 0, "Yes", "Often\r\n");
    auto edited = stored;
    edited.Name = "Rarely";
    edited.Description = "";
    return TCaseOf<TReactionForm, TReaction>{
        "ReactionForm", 580, [] { return std::make_unique<TReactionForm>(nullptr); }, stored,
        [](TReactionForm& f) {
            TypeOver(f.ReactionNameEdit, "Rarely");
            ClearMemo(f.ReactionDescriptionMemo);
        },
        edited,
        [](TReactionForm& f) {
            return TComponents{{"ReactionNameLabel", f.ReactionNameLabel},
                               {"ReactionNameEdit", f.ReactionNameEdit},
                               {"ReactionDescriptionLabel", f.ReactionDescriptionLabel},
                               {"ReactionDescriptionMemo", f.ReactionDescriptionMemo}};
        },
        [](TReactionForm& f) -> QWidget* { return f.ReactionDescriptionMemo; }};
}

TDialogCase ScaleCase() {
    // Bytes that are no UTF-8 come back unchanged when nobody changed them.
    auto stored = Object<TScale>(4, 4, 0, "Anxiety \xFF", "Trait\r\nanxiety \xFE");
    auto edited = stored;
    edited.Name = "Depression";
    return TCaseOf<TScaleForm, TScale>{
        "ScaleForm", 550, [] { return std::make_unique<TScaleForm>(nullptr); }, stored,
        [](TScaleForm& f) { TypeOver(f.ScaleNameEdit, "Depression"); }, edited,
        [](TScaleForm& f) {
            return TComponents{{"ScaleNameLabel", f.ScaleNameLabel},
                               {"ScaleNameEdit", f.ScaleNameEdit},
                               {"ScaleDescriptionLabel", f.ScaleDescriptionLabel},
                               {"ScaleDescriptionMemo", f.ScaleDescriptionMemo}};
        },
        [](TScaleForm& f) -> QWidget* { return f.ScaleDescriptionMemo; }};
}

TDialogCase InterpretationCase() {
    auto stored = Object<TInterpretation>(2, 4, 1, "High", "");
    stored.Maximum = 0.1 + 0.2;   // shown as "0,3", kept to the last bit
    stored.Minimum = -2.5;
    auto edited = stored;
    edited.Maximum = 7.25;
    return TCaseOf<TInterpretationForm, TInterpretation>{
        "InterpretationForm", 560, [] { return std::make_unique<TInterpretationForm>(nullptr, CommaSettings()); },
        stored, [](TInterpretationForm& f) { TypeOver(f.InterpretationMaxEdit, "7,25"); }, edited,
        [](TInterpretationForm& f) {
            return TComponents{{"InterpretationNameLabel", f.InterpretationNameLabel},
                               {"InterpretationNameEdit", f.InterpretationNameEdit},
                               {"InterpretationDescriptionLabel", f.InterpretationDescriptionLabel},
                               {"InterpretationDescriptionMemo", f.InterpretationDescriptionMemo},
                               {"InterpretationRangeGroupBox", f.InterpretationRangeGroupBox},
                               {"InterpretationMinLabel", f.InterpretationMinLabel},
                               {"InterpretationMinEdit", f.InterpretationMinEdit},
                               {"InterpretationMaxLabel", f.InterpretationMaxLabel},
                               {"InterpretationMaxEdit", f.InterpretationMaxEdit}};
        },
        [](TInterpretationForm& f) -> QWidget* { return f.InterpretationMinEdit; }};
}

std::unique_ptr<TWeightForm> WeightFormWithScales(const platform::FormatSettings& settings) {
    auto f = std::make_unique<TWeightForm>(nullptr, settings);
    f->AddScaleItem(4, "Anxiety");
    f->AddScaleItem(7, "Mood");
    return f;
}

TDialogCase WeightCase() {
    auto stored = Object<TWeight>(5, 1, 0, "Weight 5", "");
    stored.ScaleID = 7;
    stored.Value = 0.1;
    auto edited = stored;
    edited.ScaleID = 4;
    edited.Value = 2.5;
    return TCaseOf<TWeightForm, TWeight>{
        "WeightForm", 590, [] { return WeightFormWithScales(DotSettings()); }, stored,
        [](TWeightForm& f) {
            QTest::keyClick(f.ScaleComboBox, Qt::Key_Up);
            TypeOver(f.WeightValueEdit, "2.5");
        },
        edited,
        [](TWeightForm& f) {
            return TComponents{{"WeightNameLabel", f.WeightNameLabel},
                               {"WeightNameEdit", f.WeightNameEdit},
                               {"WeightDescriptionLabel", f.WeightDescriptionLabel},
                               {"WeightDescriptionMemo", f.WeightDescriptionMemo},
                               {"WeightValueGroupBox", f.WeightValueGroupBox},
                               {"ScaleLabel", f.ScaleLabel},
                               {"ScaleComboBox", f.ScaleComboBox},
                               {"WeightValueLabel", f.WeightValueLabel},
                               {"WeightValueEdit", f.WeightValueEdit}};
        },
        [](TWeightForm& f) -> QWidget* { return f.ScaleComboBox; }};
}

std::vector<TDialogCase> AllDialogs() {
    return {TestGroupCase(), TestCase(), StimulCase(), ReactionCase(), ScaleCase(), InterpretationCase(), WeightCase()};
}

void PrintTo(const TDialogCase& c, std::ostream* os) { *os << c.Section; }

class PropertyDialog : public ::testing::TestWithParam<TDialogCase> {
protected:
    Utf8CodePage utf8_;
};

// The named components of a window as the language texts see them: every named widget below
// it that is not a window of its own, nor a part of a tab bar.
void CollectNamed(QObject* parent, std::vector<QWidget*>& out) {
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_")) out.push_back(w);
        if (!qobject_cast<QTabBar*>(w)) CollectNamed(w, out);
    }
}

// Where Tab goes from w.
QWidget* NextTabStop(QWidget* w) {
    for (QWidget* next = w->nextInFocusChain(); next && next != w; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled()) return next;
    return nullptr;
}

// The caption a component shows, when it shows one.
std::optional<QString> CaptionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) return tabs->tabText(tabs->indexOf(w));
    return std::nullopt;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Dialogs, PropertyDialog, ::testing::ValuesIn(AllDialogs()),
                         [](const auto& testCase) { return testCase.param.Section; });

TEST_P(PropertyDialog, CarriesItsComponentsByTheirNames) {
    const auto form = GetParam().Make();
    EXPECT_EQ(form->objectName(), QString::fromStdString(GetParam().Section));
    EXPECT_EQ(form->HelpContext(), GetParam().HelpContext);
    EXPECT_EQ(form->DialogResult, 0);
    for (const auto& [name, widget] : GetParam().Components(*form)) {
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->objectName(), name);
        EXPECT_EQ(form->findChildren<QWidget*>(name).size(), 1) << name;
    }
    for (const auto& [name, widget] :
         TComponents{{"OkBitBtn", form->OkBitBtn}, {"CancelBitBtn", form->CancelBitBtn}, {"LabelDebug", form->LabelDebug}})
        EXPECT_EQ(widget->objectName(), name);

    EXPECT_EQ(form->NameEdit->maxLength(), 255);
    EXPECT_TRUE(form->OkBitBtn->isDefault());
    EXPECT_FALSE(form->CancelBitBtn->isDefault());
    EXPECT_EQ(form->LabelDebug->text(), "");
    EXPECT_TRUE(form->LabelDebug->alignment() & Qt::AlignRight);
    EXPECT_EQ(form->focusWidget(), form->NameEdit) << "the name edit is first";
    EXPECT_EQ(NextTabStop(form->NameEdit), GetParam().AfterName(*form));
    EXPECT_GE(form->width(), 600);
    EXPECT_GE(form->height(), 400);
}

TEST_P(PropertyDialog, ConfirmedUnchangedItReadsBackTheStoredRecord) {
    const auto form = GetParam().Make();
    GetParam().Preset(*form);
    const int result = RunModal(*form, [&] { Click(form->OkBitBtn); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(form->DialogResult, 1);
    EXPECT_TRUE(GetParam().ReadsBack(*form, false));
}

TEST_P(PropertyDialog, ConfirmedEditsReadBackAsTheStoredRecordWithTheEdits) {
    const auto form = GetParam().Make();
    GetParam().Preset(*form);
    const int result = RunModal(*form, [&] {
        GetParam().Edit(*form);
        Click(form->OkBitBtn);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(form->DialogResult, 1);
    EXPECT_TRUE(GetParam().ReadsBack(*form, true));
}

TEST_P(PropertyDialog, OkIsEnabledExactlyWhileTheNameIsNotEmpty) {
    const auto form = GetParam().Make();
    QLineEdit* name = form->NameEdit;
    EXPECT_FALSE(form->OkBitBtn->isEnabled()) << "a new dialog has no name yet";
    // The other fields as the tree presets them (a range or a weight needs its numbers).
    GetParam().Preset(*form);
    name->clear();
    EXPECT_FALSE(form->OkBitBtn->isEnabled());
    const int result = RunModal(*form, [&] {
        QTest::keyClicks(name, "x");
        EXPECT_TRUE(form->OkBitBtn->isEnabled());
        QTest::keyClick(name, Qt::Key_Backspace);
        EXPECT_FALSE(form->OkBitBtn->isEnabled());
        // Neither Enter nor a click confirms a dialog without a name.
        QTest::keyClick(name, Qt::Key_Return);
        Click(form->OkBitBtn);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->DialogResult, 0);
        // A blank is a name: nothing is trimmed.
        QTest::keyClicks(name, " ");
        EXPECT_TRUE(form->OkBitBtn->isEnabled());
        // Enter in the name edit presses the default button.
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(form->DialogResult, 1);
}

TEST_P(PropertyDialog, ThePresetNameEnablesOk) {
    const auto form = GetParam().Make();
    GetParam().Preset(*form);
    EXPECT_TRUE(form->OkBitBtn->isEnabled());
    form->NameEdit->clear();
    EXPECT_FALSE(form->OkBitBtn->isEnabled());
}

TEST_P(PropertyDialog, ReportsHowItWasClosed) {
    struct Close {
        const char* How;
        std::function<void(TPropertyForm&)> Do;
        int Result;
    };
    for (const Close& c : {Close{"Cancel", [](TPropertyForm& f) { Click(f.CancelBitBtn); }, 2},
                           Close{"Escape", [](TPropertyForm& f) { QTest::keyClick(f.NameEdit, Qt::Key_Escape); }, 2},
                           Close{"the title bar", [](TPropertyForm& f) { f.close(); }, 0},
                           Close{"OK", [](TPropertyForm& f) { Click(f.OkBitBtn); }, 1}}) {
        const auto form = GetParam().Make();
        GetParam().Preset(*form);
        const int result = RunModal(*form, [&] { c.Do(*form); });
        EXPECT_EQ(result, c.Result) << c.How;
        EXPECT_EQ(form->DialogResult, c.Result) << c.How;
        EXPECT_FALSE(form->isVisible()) << c.How;
    }
}

TEST_P(PropertyDialog, F1AsksForTheDialogsHelp) {
    std::vector<int> asked;
    lang::SetHelpHook([&](int context) { asked.push_back(context); });
    const auto form = GetParam().Make();
    RunModal(*form, [&] {
        QTest::keyClick(form->NameEdit, Qt::Key_F1);
        QTest::keyClick(form->DescriptionMemo, Qt::Key_F1);
    });
    lang::SetHelpHook({});
    EXPECT_EQ(asked, (std::vector<int>{GetParam().HelpContext, GetParam().HelpContext}));
}

TEST_P(PropertyDialog, TheNameNeverHoldsALineBreak) {
    const auto form = GetParam().Make();
    PasteOver(*form->NameEdit, "two\nlines\r\npasted");
    EXPECT_EQ(form->NameEdit->text(), "two lines  pasted");
    form->NameEdit->setText("set\rwith a break");
    EXPECT_EQ(form->NameEdit->text(), "set with a break");
    TAnyObject read;
    form->ReadInto(read);
    EXPECT_EQ(read.Name, "set with a break");
}

TEST_P(PropertyDialog, WindowTextsComeFromItsSectionOfTheLanguageFile) {
    const std::string section = GetParam().Section;
    const auto ini = platform::IniFile::Load(lang::LanguageFileName());
    ASSERT_TRUE(ini.HasSection(section)) << lang::LanguageFileName();
    const std::string absent = TLanguageTexts::kAbsent;
    const auto text = [&](const QString& key) {
        return platform::ToQString(ini.ReadString(section, platform::FromQString(key), absent));
    };

    const auto form = GetParam().Make();
    const QString s = QString::fromStdString(section);
    EXPECT_EQ(form->windowTitle(), text(s + "_cap"));
    EXPECT_EQ(form->toolTip(), text(s + "_hint"));
    EXPECT_NE(form->windowTitle(), absent.c_str());

    std::vector<QWidget*> components;
    CollectNamed(form.get(), components);
    std::set<QString> known{s};
    for (QWidget* w : components) {
        const QString name = w->objectName();
        known.insert(name);
        EXPECT_NE(text(name + "_hint"), absent.c_str()) << name.toStdString();
        EXPECT_NE(text(name + "_cap"), absent.c_str()) << name.toStdString();
        EXPECT_EQ(w->toolTip(), text(name + "_hint")) << name.toStdString();
        // LabelDebug is emptied after the texts are read.
        if (const auto caption = CaptionOf(w); caption && name != "LabelDebug") {
            EXPECT_EQ(*caption, text(name + "_cap")) << name.toStdString();
        }
    }
    // The scroll buttons of a tab bar keep Qt's own texts.
    for (QTabBar* bar : form->findChildren<QTabBar*>())
        for (QWidget* part : bar->findChildren<QWidget*>()) EXPECT_NE(part->toolTip(), absent.c_str());
    // The section holds nothing but the texts of this window and its components.
    for (const std::string& key : ini.Keys(section)) {
        const QString k = platform::ToQString(key);
        const QString component = k.left(k.lastIndexOf('_'));
        EXPECT_TRUE(k.endsWith("_cap") || k.endsWith("_hint")) << key;
        EXPECT_TRUE(known.count(component)) << key << " names no component";
    }
}

// ---------------------------------------------------------------- the answer limit

namespace {

struct TLimitCase {
    const char* What;
    const char* Start;                         // set by the caller, before the change; null: the form's own
    std::function<void(QLineEdit*)> Change;    // what a person does; null: nothing
    const char* Ends;
};

void PrintTo(const TLimitCase& c, std::ostream* os) { *os << c.What; }

class AnswerLimit : public ::testing::TestWithParam<TLimitCase> {};

const TLimitCase kLimitCases[] = {
    {"a preset within the bounds stays", "5", nullptr, "5"},
    {"the lower bound stays", "1", nullptr, "1"},
    {"the upper bound stays", "999", nullptr, "999"},
    {"typing 0 leaves 1", "3", [](QLineEdit* e) { TypeOver(e, "0"); }, "1"},
    {"a negative preset leaves 1", "-7", nullptr, "1"},
    {"deleting the last digit of 5 puts 5 back", "5", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Backspace); }, "5"},
    {"typing 1500 leaves 999", "3", [](QLineEdit* e) { TypeOver(e, "1500"); }, "999"},
    {"a preset of 1500 leaves 999", "1500", nullptr, "999"},
    {"1000 leaves 999", "3", [](QLineEdit* e) { PasteOver(*e, "1000"); }, "999"},
    {"a letter typed after 12 puts 12 back", "12", [](QLineEdit* e) { TypeAtEnd(e, "a"); }, "12"},
    {"nan puts the last number back", "3", [](QLineEdit* e) { PasteOver(*e, "nan"); }, "3"},
    {"inf puts the last number back", "3", [](QLineEdit* e) { PasteOver(*e, "inf"); }, "3"},
    {"a fraction puts the last number back", "3", [](QLineEdit* e) { PasteOver(*e, "1.5"); }, "3"},
    {"an exponent puts the last number back", "3", [](QLineEdit* e) { PasteOver(*e, "1e2"); }, "3"},
    {"a number beyond the integers puts the last number back", "3", [](QLineEdit* e) { PasteOver(*e, "2147483648"); }, "3"},
    {"an emptied edit gets the last number back", "42", [](QLineEdit* e) { e->clear(); }, "42"},
    // Its first text "0" was accepted before the clamp, and is clamped again when it comes back.
    {"a new dialog's emptied edit ends at 1", nullptr, [](QLineEdit* e) { e->clear(); }, "1"},
    {"rubbish after a clamped preset ends at the clamp", "1500", [](QLineEdit* e) { TypeAtEnd(e, "x"); }, "999"},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Clamps, AnswerLimit, ::testing::ValuesIn(kLimitCases));

TEST_P(AnswerLimit, TheEditEndsHoldingANumberFrom1To999) {
    const TLimitCase& c = GetParam();
    TStimulForm form(nullptr);
    EXPECT_EQ(form.MaskEditNumReactionsLimit->text(), "0");
    EXPECT_EQ(form.LastValidText, "0");
    form.CheckBoxMultipleAnswers->setChecked(true);
    if (c.Start) form.MaskEditNumReactionsLimit->setText(c.Start);
    if (c.Change) RunModal(form, [&] { c.Change(form.MaskEditNumReactionsLimit); });
    EXPECT_EQ(form.MaskEditNumReactionsLimit->text(), c.Ends) << c.What;
    TStimul read;
    ASSERT_TRUE(form.ReadInto(read)) << c.What;
    EXPECT_EQ(QString::number(read.AnswersLimit), c.Ends) << c.What;
}

TEST(AnswerLimitEdit, TheLastValidTextIsTheNumberBeforeItsClamp) {
    struct Case {
        const char* Text;
        const char* Shown;
        const char* LastValid;
    };
    TStimulForm form(nullptr);
    for (const Case& c : {Case{"1500", "999", "1500"}, Case{"0", "1", "0"}, Case{"-7", "1", "-7"},
                          Case{"+5", "+5", "5"}, Case{"007", "007", "7"}}) {
        form.MaskEditNumReactionsLimit->setText(c.Text);
        EXPECT_EQ(form.MaskEditNumReactionsLimit->text(), c.Shown) << c.Text;
        EXPECT_EQ(form.LastValidText, c.LastValid) << c.Text;
    }
}

TEST(AnswerLimitEdit, TakesAnyLengthOfText) {
    TStimulForm form(nullptr);
    EXPECT_GT(form.MaskEditNumReactionsLimit->maxLength(), 1000);
    EXPECT_TRUE(form.MaskEditNumReactionsLimit->inputMask().isEmpty());
}

TEST(AnswerLimitEdit, FollowsMultipleAnswersAndIsReadEitherWay) {
    Utf8CodePage utf8;
    TStimulForm form(nullptr);
    EXPECT_FALSE(form.MaskEditNumReactionsLimit->isEnabled());
    EXPECT_FALSE(form.LabelNumReactionsLimit->isEnabled());
    RunModal(form, [&] {
        Click(form.CheckBoxMultipleAnswers);
        EXPECT_TRUE(form.MaskEditNumReactionsLimit->isEnabled());
        EXPECT_TRUE(form.LabelNumReactionsLimit->isEnabled());
        Click(form.CheckBoxMultipleAnswers);
        EXPECT_FALSE(form.MaskEditNumReactionsLimit->isEnabled());
        EXPECT_FALSE(form.LabelNumReactionsLimit->isEnabled());
    });

    // A preset runs the same coupling, and the disabled limit is still read.
    auto question = Object<TStimul>(1, 1, 0, "Q", "");
    question.MultipleAnswers = true;
    question.AnswersLimit = 7;
    form.Preset(question);
    EXPECT_TRUE(form.MaskEditNumReactionsLimit->isEnabled());
    question.MultipleAnswers = false;
    form.Preset(question);
    EXPECT_FALSE(form.MaskEditNumReactionsLimit->isEnabled());
    TStimul read;
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_EQ(read.AnswersLimit, 7);
    EXPECT_FALSE(read.MultipleAnswers);
}

// ---------------------------------------------------------------- the weight value

namespace {

struct TValueCase {
    const char* What;
    const char* Start;                         // null: the form's own (empty)
    std::function<void(QLineEdit*)> Change;
    const char* Ends;
};

void PrintTo(const TValueCase& c, std::ostream* os) { *os << c.What; }

class WeightValue : public ::testing::TestWithParam<TValueCase> {};

const TValueCase kValueCases[] = {
    {"10000 becomes 9999", "3", [](QLineEdit* e) { PasteOver(*e, "10000"); }, "9999"},
    {"10000 typed becomes 9999", "3", [](QLineEdit* e) { TypeOver(e, "10000"); }, "9999"},
    {"a preset above the bound becomes 9999", "12345.5", nullptr, "9999"},
    {"the bound stays", "9999", nullptr, "9999"},
    {"just above the bound becomes 9999", "9999.0001", nullptr, "9999"},
    {"an exponent above the bound becomes 9999", "1E5", nullptr, "9999"},
    {"-50 stays", "3", [](QLineEdit* e) { PasteOver(*e, "-50"); }, "-50"},
    {"there is no lower bound", "3", [](QLineEdit* e) { PasteOver(*e, "-1E9"); }, "-1E9"},
    // Not a number: what is typed stays, for OK to refuse.
    {"abc typed over 3 stays", "3", [](QLineEdit* e) { TypeOver(e, "abc"); }, "abc"},
    {"nan stays", "3", [](QLineEdit* e) { PasteOver(*e, "nan"); }, "nan"},
    {"NAN stays", "3", [](QLineEdit* e) { PasteOver(*e, "NAN"); }, "NAN"},
    {"inf stays", "3", [](QLineEdit* e) { PasteOver(*e, "inf"); }, "inf"},
    {"-inf stays", "3", [](QLineEdit* e) { PasteOver(*e, "-inf"); }, "-inf"},
    {"an overflow stays", "3", [](QLineEdit* e) { PasteOver(*e, "1e400"); }, "1e400"},
    {"a group separator stays", "3", [](QLineEdit* e) { PasteOver(*e, "1,000"); }, "1,000"},
    {"trailing rubbish stays", "3", [](QLineEdit* e) { PasteOver(*e, "2 kg"); }, "2 kg"},
    // On the way to a number: what is typed stays, and OK checks it.
    {"an emptied edit stays empty", "3.5", [](QLineEdit* e) { e->clear(); }, ""},
    {"a sign typed over a selected number stays", "3.5", [](QLineEdit* e) { TypeOver(e, "-"); }, "-"},
    {"a number typed after the sign", "3.5", [](QLineEdit* e) { TypeOver(e, "-2.5"); }, "-2.5"},
    {"a decimal point typed last stays", "3", [](QLineEdit* e) { TypeAtEnd(e, "."); }, "3."},
    {"an exponent being typed stays", "3", [](QLineEdit* e) { TypeAtEnd(e, "E-"); }, "3E-"},
    {"rubbish after a sign stays", "3", [](QLineEdit* e) { TypeOver(e, "-x"); }, "-x"},
    {"rubbish after a clamped preset follows the clamp", "12345", [](QLineEdit* e) { TypeAtEnd(e, "x"); }, "9999x"},
    {"a new dialog's first rubbish stays", nullptr, [](QLineEdit* e) { PasteOver(*e, "abc"); }, "abc"},
    {"the other decimal separator typed stays", "3", [](QLineEdit* e) { TypeOver(e, "1,5"); }, "1,5"},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Clamps, WeightValue, ::testing::ValuesIn(kValueCases));

TEST_P(WeightValue, TheEditClampsAt9999AndKeepsWhatIsNoNumber) {
    const TValueCase& c = GetParam();
    TWeightForm form(nullptr, DotSettings());
    EXPECT_EQ(form.WeightValueEdit->text(), "");
    EXPECT_EQ(form.LastValidText, "");
    if (c.Start) form.WeightValueEdit->setText(c.Start);
    if (c.Change) RunModal(form, [&] { c.Change(form.WeightValueEdit); });
    EXPECT_EQ(form.WeightValueEdit->text(), c.Ends) << c.What;
}

TEST(WeightValueEdit, TheLastValidTextIsTheNumberBeforeItsClamp) {
    struct Case {
        const char* Text;
        const char* Shown;
        const char* LastValid;
    };
    TWeightForm form(nullptr, DotSettings());
    for (const Case& c : {Case{"12345.50", "9999", "12345.5"}, Case{"1E5", "9999", "100000"},
                          Case{"-50.0", "-50.0", "-50"}, Case{"+0.25", "+0.25", "0.25"}}) {
        form.WeightValueEdit->setText(c.Text);
        EXPECT_EQ(form.WeightValueEdit->text(), c.Shown) << c.Text;
        EXPECT_EQ(form.LastValidText, c.LastValid) << c.Text;
    }
}

TEST(WeightValueEdit, FollowsTheSettingsDecimalSeparator) {
    TWeightForm form(nullptr, CommaSettings());
    auto weight = Object<TWeight>(1, 1, 0, "W", "");
    weight.Value = 0.1;
    form.Preset(weight);
    EXPECT_EQ(form.WeightValueEdit->text(), "0,1");
    PasteOver(*form.WeightValueEdit, "0.5");
    TWeight read;
    EXPECT_FALSE(form.ReadInto(read)) << "a dot is no decimal separator here";
    PasteOver(*form.WeightValueEdit, "10000,5");
    EXPECT_EQ(form.WeightValueEdit->text(), "9999");
    PasteOver(*form.WeightValueEdit, "-0,5");
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_EQ(read.Value, -0.5);
}

namespace {

// The keys go where the person's focus is.
QWidget* Focus() { return QApplication::focusWidget(); }

class WeightTyping : public ::testing::TestWithParam<LocaleCase> {};

std::vector<LocaleCase> DotAndCommaLocales() {
    std::vector<LocaleCase> cases;
    for (const LocaleCase& c : CommonLocales())
        if (c.Name == "C_UTF_8" || c.Name == "de_DE_UTF_8") cases.push_back(c);
    return cases;
}

std::string LocaleName(const ::testing::TestParamInfo<LocaleCase>& c) { return c.param.Name; }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Locales, WeightTyping, ::testing::ValuesIn(DotAndCommaLocales()), LocaleName);

// Typed with the other locale's decimal separator, the value keeps every keystroke; Enter then
// refuses it with the dialog open and the field selected, and the value typed over it is read.
TEST_P(WeightTyping, TheOtherDecimalSeparatorIsRefusedOnOkAndNeverChangesTheNumber) {
    const platform::FormatSettings settings = GetParam().Settings;
    const bool comma = settings.DecimalSeparator == ',';
    const QString own = comma ? "1,5" : "1.5";
    const QString other = comma ? "1.5" : "1,5";
    RecordingInteraction shown;
    TWeightForm form(nullptr, settings);
    form.AddScaleItem(4, "Anxiety");
    std::vector<std::string> steps;
    const int result = RunModal(form, [&] {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_EQ(Focus(), form.NameEdit);
        QTest::keyClicks(Focus(), "Often");
        QTest::keyClick(Focus(), Qt::Key_Tab);
        QTest::keyClick(Focus(), Qt::Key_Tab);
        ASSERT_EQ(Focus(), form.WeightValueEdit);
        QTest::keyClicks(Focus(), other);
        EXPECT_EQ(form.WeightValueEdit->text(), other) << "every keystroke stays";
        QTest::keyClick(Focus(), Qt::Key_Return);
        const auto* field = qobject_cast<QLineEdit*>(Focus());
        steps.push_back(std::string(form.isVisible() ? "open " : "closed ") +
                        (field && field->selectedText() == other ? field->objectName().toStdString() : "-"));
        if (!form.isVisible()) return;
        // Typed over the selection, the locale's own form is taken.
        QTest::keyClicks(Focus(), own);
        QTest::keyClick(Focus(), Qt::Key_Return);
        steps.push_back(form.isVisible() ? "open" : "closed");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(form.DialogResult, 1);
    EXPECT_EQ(steps, (std::vector<std::string>{"open WeightValueEdit", "closed"}));
    ASSERT_EQ(shown.Messages.size(), 1u);
    EXPECT_EQ(shown.Messages[0], lang::GetMessageText("OBJECTSTREE_NOT_A_NUMBER") + " \"" +
                                     platform::FromQString(other) + "\"");
    TWeight read;
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_EQ(read.Value, 1.5);
    EXPECT_EQ(read.Name, "Often");
    EXPECT_EQ(read.ScaleID, 4);
}

TEST(WeightValueEdit, AClampedPresetIsReadAsTheClamp) {
    TWeightForm form(nullptr, DotSettings());
    auto weight = Object<TWeight>(1, 1, 0, "W", "");
    weight.Value = 12345;
    form.Preset(weight);
    TWeight read;
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_EQ(read.Value, 9999);
}

TEST(WeightScales, TheFirstScaleIsChosenAndTheWeightsOwnWhenPreset) {
    Utf8CodePage utf8;
    auto form = WeightFormWithScales(DotSettings());
    EXPECT_EQ(form->ScaleComboBox->count(), 2);
    EXPECT_EQ(form->ScaleComboBox->currentText(), "Anxiety");
    EXPECT_EQ(form->ChosenScaleID(), 4);
    EXPECT_FALSE(form->ScaleComboBox->isEditable()) << "a list to choose from";

    auto weight = Object<TWeight>(1, 1, 0, "W", "");
    weight.ScaleID = 7;
    form->Preset(weight);
    EXPECT_EQ(form->ScaleComboBox->currentText(), "Mood");

    // A weight without a scale chooses none, and stays without one unless a scale is chosen.
    weight.ScaleID = -1;
    form->Preset(weight);
    EXPECT_EQ(form->ScaleComboBox->currentIndex(), -1);
    TWeight read;
    ASSERT_TRUE(form->ReadInto(read));
    EXPECT_EQ(read.ScaleID, -1);
    form->ScaleComboBox->setCurrentIndex(1);
    ASSERT_TRUE(form->ReadInto(read));
    EXPECT_EQ(read.ScaleID, 7);

    TWeightForm empty(nullptr, DotSettings());
    EXPECT_EQ(empty.ChosenScaleID(), -1);
}

// ---------------------------------------------------------------- the test's options

namespace {

struct TDirectionCase {
    const char* What;
    QRadioButton* TTestForm::*Button;
    bool ReplayEnabled;
    std::uint8_t Direction;
};

void PrintTo(const TDirectionCase& c, std::ostream* os) { *os << c.What; }

class MoveDirection : public ::testing::TestWithParam<TDirectionCase> {};

const TDirectionCase kDirectionCases[] = {
    {"ForwardOnly", &TTestForm::RadioButtonForwardOnly, false, mdForwardOnly},
    {"ForwardAndBack", &TTestForm::RadioButtonForwardAndBack, false, mdForwardBack},
    {"AnyQuestion", &TTestForm::RadioButtonAnyQuestion, true, mdFree},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Coupling, MoveDirection, ::testing::ValuesIn(kDirectionCases),
                         [](const auto& testCase) { return std::string(testCase.param.What); });

TEST_P(MoveDirection, AClickedDirectionSetsWhetherReplayCanBeChanged) {
    const TDirectionCase& c = GetParam();
    for (bool mark : {true, false}) {
        TTestForm form(nullptr, DotSettings());
        form.QuestionReplayAllowedCheckBox->setChecked(mark);
        RunModal(form, [&] {
            form.PageControlMain->setCurrentWidget(form.TabSheetOptions);
            // From the opposite state, so that the click has something to change.
            Click(c.ReplayEnabled ? form.RadioButtonForwardOnly : form.RadioButtonAnyQuestion);
            Click(form.*c.Button);
        });
        EXPECT_EQ(form.QuestionReplayAllowedCheckBox->isEnabled(), c.ReplayEnabled);
        EXPECT_EQ(form.QuestionReplayAllowedCheckBox->isChecked(), mark) << "the mark is left as it is";
        EXPECT_EQ(form.MoveDirection(), c.Direction);
        TTest read;
        ASSERT_TRUE(form.ReadInto(read));
        EXPECT_EQ(read.ReplayEnabled, mark) << "read in every case";
    }
}

TEST_P(MoveDirection, APresetDirectionRunsTheSameCoupling) {
    const TDirectionCase& c = GetParam();
    TTestForm form(nullptr, DotSettings());
    (form.*c.Button)->setChecked(true);
    EXPECT_EQ(form.QuestionReplayAllowedCheckBox->isEnabled(), c.ReplayEnabled);
    EXPECT_EQ(form.MoveDirection(), c.Direction);

    TTestForm preset(nullptr, DotSettings());
    TTest test = StoredTest();
    test.MoveDirection = c.Direction;
    preset.Preset(test);
    EXPECT_TRUE((preset.*c.Button)->isChecked());
    EXPECT_EQ(preset.QuestionReplayAllowedCheckBox->isEnabled(), c.ReplayEnabled);
}

TEST(TestOptions, WithoutADirectionNoneIsCheckedAndForwardOnlyIsRead) {
    TTestForm form(nullptr, DotSettings());
    TTest test = StoredTest();
    test.MoveDirection = mdNone;
    form.Preset(test);
    EXPECT_FALSE(form.RadioButtonForwardOnly->isChecked());
    EXPECT_FALSE(form.RadioButtonForwardAndBack->isChecked());
    EXPECT_FALSE(form.RadioButtonAnyQuestion->isChecked());
    EXPECT_TRUE(form.QuestionReplayAllowedCheckBox->isEnabled());
    EXPECT_EQ(form.MoveDirection(), mdForwardOnly);
}

TEST(TestOptions, StopAndTimeLimitAreShownButNeverOffered) {
    TTestForm form(nullptr, DotSettings());
    EXPECT_TRUE(form.QuestionReplayAllowedCheckBox->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{form.TestStopAllowedCheckBox, form.TestTimeLimitGroupBox,
                                                      form.TimeLimitMaskEdit, form.TimeLimitUpDown,
                                                      form.TimeUnitsTrackBar, form.TimeUnitsSecondsLabel,
                                                      form.TimeUnitsMinutesLabel, form.TimeUnitsHoursLabel})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(form.TimeLimitMaskEdit->text(), "0");
    EXPECT_EQ(form.TimeUnitsTrackBar->minimum(), 0);
    EXPECT_EQ(form.TimeUnitsTrackBar->maximum(), 2);

    // What the store holds is shown and read back all the same.
    TTest test = StoredTest();
    test.StopEnabled = true;
    test.TimeLimit = 500;
    form.Preset(test);
    EXPECT_TRUE(form.TestStopAllowedCheckBox->isChecked());
    EXPECT_EQ(form.TimeLimitMaskEdit->text(), "500");
    TTest read;
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_TRUE(read.StopEnabled);
    EXPECT_EQ(read.TimeLimit, 500);

    // A time limit that is no integer fails the reading and leaves the record alone.
    form.TimeLimitMaskEdit->setText("ten");
    TTest untouched = StoredTest();
    EXPECT_FALSE(form.ReadInto(untouched));
    EXPECT_TRUE(untouched == StoredTest());
}

TEST(TestOptions, CreatedIsADateAndTime) {
    TTestForm form(nullptr, CommaSettings());
    const double designed = EncodeDate(2016, 3, 1) + EncodeTime(17, 41, 39);
    EXPECT_EQ(form.Created(), designed) << "what a new test gets unless the tree sets it";
    EXPECT_EQ(form.DateTimePickerTestCreated->text(), "01.03.2016 17:41:39");

    // The tree sets a new test's Created to the current date and time.
    const double now = platform::NowDateTime();
    form.SetCreated(now);
    EXPECT_EQ(form.Created(), now);
    TTest read;
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_EQ(read.Created, now);
}

TEST(TestOptions, AuthorFieldsNeverHoldALineBreak) {
    Utf8CodePage utf8;
    TTestForm form(nullptr, DotSettings());
    for (QLineEdit* e : {form.EditAuthorName, form.EditAuthorEmail, form.EditCopyright}) {
        PasteOver(*e, "x\r\ny");
        EXPECT_EQ(e->text(), "x  y") << e->objectName().toStdString();
    }
    TTest read;
    ASSERT_TRUE(form.ReadInto(read));
    EXPECT_EQ(read.AuthorName, "x  y");
    EXPECT_EQ(read.Copyright, "x  y");
}

// ---------------------------------------------------------------- the interpretation's range

TEST(InterpretationRange, IsReadThroughTheOneParserWithoutAComparison) {
    TInterpretationForm form(nullptr, DotSettings());
    auto interpretation = Object<TInterpretation>(1, 4, 0, "Low", "");
    interpretation.Minimum = 0.1;
    interpretation.Maximum = -5;
    form.Preset(interpretation);
    EXPECT_EQ(form.InterpretationMinEdit->text(), "0.1");
    TInterpretation read;
    ASSERT_TRUE(form.ReadInto(read)) << "the dialog does not compare the two";
    EXPECT_EQ(read.Minimum, 0.1);
    EXPECT_EQ(read.Maximum, -5);

    for (const char* rubbish : {"nan", "inf", "-inf", "1,5", "", "1e400"}) {
        form.InterpretationMaxEdit->setText(rubbish);
        EXPECT_EQ(form.InterpretationMaxEdit->text(), rubbish) << "no check in the dialog";
        TInterpretation untouched = interpretation;
        EXPECT_FALSE(form.ReadInto(untouched)) << rubbish;
        EXPECT_TRUE(untouched == interpretation) << rubbish;
    }
}

// ---------------------------------------------------------------- texts of another language file

TEST(PropertyDialogTexts, ADialogReadsTheSectionNamedAfterIt) {
    TempDir dir;
    WriteBytes(dir.File("language.txt"),
               "[Dialogues]\nX=y\n"
               "[WeightForm]\nWeightForm_cap=Gewicht\nScaleLabel_cap=Skala\nScaleLabel_hint=\n"
               "LabelDebug_cap=Debugging\n"
               "[ScaleForm]\nScaleLabel_cap=not this one\n");
    lang::SetLanguageFileName(dir.File("language.txt"));
    TWeightForm form(nullptr, DotSettings());
    lang::SetLanguageFileName({});
    const QString absent = TLanguageTexts::kAbsent;
    EXPECT_EQ(form.windowTitle(), "Gewicht");
    EXPECT_EQ(form.toolTip(), absent);
    EXPECT_EQ(form.ScaleLabel->text(), "Skala");
    EXPECT_EQ(form.ScaleLabel->toolTip(), "");
    EXPECT_EQ(form.OkBitBtn->text(), absent);
    EXPECT_EQ(form.WeightNameEdit->text(), "") << "an edit's content is no caption";
    EXPECT_EQ(form.LabelDebug->text(), "") << "emptied at creation";
}
