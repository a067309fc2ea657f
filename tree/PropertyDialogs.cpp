#include "tree/PropertyDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>
#include <initializer_list>
#include <utility>

#include "help/context.h"
#include "lang/HelpKey.h"
#include "platform/ShortDates.h"
#include "platform/qt/QtText.h"
#include "tree/ControlValues.h"
#include "platform/qt/ModalDialogs.h"

namespace {

// Components carry their design caption; the language file's text replaces it.
template <class T>
T* Named(QWidget* parent, const QString& name) {
    auto* w = new T(parent);
    w->setObjectName(name);
    return w;
}

template <class T>
T* Captioned(QWidget* parent, const QString& name, const char* caption) {
    auto* w = Named<T>(parent, name);
    w->setText(QString::fromUtf8(caption));
    return w;
}

QGroupBox* Group(QWidget* parent, const QString& name, const char* caption) {
    auto* g = Named<QGroupBox>(parent, name);
    g->setTitle(QString::fromUtf8(caption));
    return g;
}

QLabel* Label(QWidget* parent, const QString& name, const char* caption, QWidget* buddy) {
    auto* l = Captioned<QLabel>(parent, name, caption);
    l->setBuddy(buddy);
    return l;
}

// A field with a label that points at it.
template <class T>
T* Field(QWidget* parent, const QString& name, const QString& labelName, const char* caption, QLabel*& label) {
    auto* field = Named<T>(parent, name);
    label = Label(parent, labelName, caption, field);
    return field;
}

// Labels on the left, their fields on the right.
void LayOutFields(QWidget* box, std::initializer_list<std::pair<QLabel*, QWidget*>> rows) {
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const auto& [label, field] : rows) form->addRow(label, field);
}

QPlainTextEdit* Memo(QWidget* parent, const QString& name) {
    auto* m = Named<QPlainTextEdit>(parent, name);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setTabChangesFocus(true);
    return m;
}

QWidget* Page(QTabWidget* tabs, const QString& name, const char* caption) {
    auto* page = Named<QWidget>(tabs, name);
    tabs->addTab(page, QString::fromUtf8(caption));
    return page;
}

// A page that holds one labelled memo.
QWidget* MemoPage(QTabWidget* tabs, const QString& name, const char* caption, const QString& labelName,
                  const char* labelCaption, const QString& memoName, QLabel*& label, QPlainTextEdit*& memo) {
    QWidget* page = Page(tabs, name, caption);
    memo = Memo(page, memoName);
    label = Label(page, labelName, labelCaption, memo);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addWidget(memo, 1);
    return page;
}

}  // namespace

// ---------------------------------------------------------------- TPropertyForm

TPropertyForm::TPropertyForm(QWidget* owner, const TDesign& design)
    : TLanguageController<QDialog>(owner), clientSize_(design.ClientSize), helpContext_(design.HelpContext) {
    setObjectName(design.FormName);
    setWindowTitle(QString::fromUtf8(design.Caption));
    // Windows opened from this one that have no topic of their own show its topic.
    setProperty("HelpContext", helpContext_);
    const QString prefix = QString::fromUtf8(design.Prefix);

    auto* root = new QVBoxLayout(this);
    Body = new QVBoxLayout;
    root->addLayout(Body, 1);

    FieldsPage = new QWidget(this);
    FieldsLayout = new QVBoxLayout(FieldsPage);
    FieldsLayout->setContentsMargins(0, 0, 0, 0);
    NameEdit = Named<QLineEdit>(FieldsPage, prefix + "NameEdit");
    tree::KeepShortText(*NameEdit);
    NameLabel = Label(FieldsPage, prefix + "NameLabel", "Name:", NameEdit);
    DescriptionMemo = Memo(FieldsPage, prefix + "DescriptionMemo");
    DescriptionLabel = Label(FieldsPage, prefix + "DescriptionLabel", "Description:", DescriptionMemo);
    FieldsLayout->addWidget(NameLabel);
    FieldsLayout->addWidget(NameEdit);
    FieldsLayout->addWidget(DescriptionLabel);
    FieldsLayout->addWidget(DescriptionMemo, 1);
    Body->addWidget(FieldsPage);

    auto* buttons = new QHBoxLayout;
    root->addLayout(buttons);
    LabelDebug = Captioned<QLabel>(this, "LabelDebug", "Debugging");
    LabelDebug->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OkBitBtn = Captioned<QPushButton>(this, "OkBitBtn", "OK");
    OkBitBtn->setDefault(true);
    CancelBitBtn = Captioned<QPushButton>(this, "CancelBitBtn", "Cancel");
    buttons->addWidget(LabelDebug, 1);
    buttons->addWidget(OkBitBtn);
    buttons->addWidget(CancelBitBtn);

    SetTabOrder({NameEdit, DescriptionMemo, OkBitBtn, CancelBitBtn});
    connect(NameEdit, &QLineEdit::textChanged, this, [this] { RunEnabling(); });
    connect(OkBitBtn, &QPushButton::clicked, this, [this] { OkBitBtnClick(); });
    connect(CancelBitBtn, &QPushButton::clicked, this, [this] { CancelBitBtnClick(); });
}

void TPropertyForm::AddGroup(QWidget* group) { FieldsLayout->insertWidget(FieldsLayout->indexOf(DescriptionLabel), group); }

void TPropertyForm::SetTabOrder(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* w : chain) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    }
}

void TPropertyForm::FormCreate() {
    ApplyLanguage();
    DialogResult = 0;
    RunEnabling();
    LabelDebug->clear();
    NameEdit->setFocus();
    // A fixed dialog of the design's client size, larger only when the texts need it, in the
    // middle of the desktop.
    platform::SetDialogBorder(*this, clientSize_.expandedTo(minimumSizeHint()));
    platform::CentreOnDesktop(*this);
}

void TPropertyForm::keyPressEvent(QKeyEvent* event) {
    if (lang::AnswerHelpKey(*event, helpContext_)) return;
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Escape is the Cancel button; only the title bar's close leaves the result at 0.
        CancelBitBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPropertyForm::OkBitBtnClick() {
    // A field that is refused keeps the dialog open with everything typed.
    if (!CheckFields()) return;
    DialogResult = 1;
    done(1);
}

std::string TPropertyForm::NumberRefusal(const char* key, const QString& text) {
    return lang::GetMessageText(key) + " \"" + platform::FromQString(text) + "\"";
}

void TPropertyForm::Refuse(QLineEdit& field, const std::string& message) {
    lang::ShowMessageText(message);
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
}

bool TPropertyForm::CheckReal(QLineEdit& field, const platform::FormatSettings& settings) {
    if (tree::ParseRealText(field.text(), settings)) return true;
    Refuse(field, NumberRefusal(lang::MessageKey("OBJECTSTREE_NOT_A_NUMBER"), field.text()));
    return false;
}

void TPropertyForm::CancelBitBtnClick() {
    DialogResult = 2;
    done(2);
}

void TPropertyForm::UpdateOkButton() { OkBitBtn->setEnabled(!NameEdit->text().isEmpty()); }

void TPropertyForm::Preset(const TAnyObject& item) {
    tree::SetShortText(*NameEdit, item.Name);
    tree::SetLongText(*DescriptionMemo, item.Description);
}

void TPropertyForm::ReadInto(TAnyObject& item) const {
    item.Name = tree::ShortText(*NameEdit);
    item.Description = tree::LongText(*DescriptionMemo);
}

// ---------------------------------------------------------------- the dialogs without further controls

TTestGroupForm::TTestGroupForm(QWidget* owner)
    : TPropertyForm(owner, {"TestGroupForm", "TestGroup", "Test Group", {683, 487}, IDH_TEST_GROUP}),
      TestGroupNameLabel(NameLabel), TestGroupNameEdit(NameEdit), TestGroupDescriptionLabel(DescriptionLabel),
      TestGroupDescriptionMemo(DescriptionMemo) {
    FormCreate();
}

TReactionForm::TReactionForm(QWidget* owner)
    : TPropertyForm(owner, {"ReactionForm", "Reaction", "Answer", {706, 441}, IDH_ANSWER}),
      ReactionNameLabel(NameLabel), ReactionNameEdit(NameEdit), ReactionDescriptionLabel(DescriptionLabel),
      ReactionDescriptionMemo(DescriptionMemo) {
    FormCreate();
}

TScaleForm::TScaleForm(QWidget* owner)
    : TPropertyForm(owner, {"ScaleForm", "Scale", "Scale", {667, 479}, IDH_SCALE}),
      ScaleNameLabel(NameLabel), ScaleNameEdit(NameEdit), ScaleDescriptionLabel(DescriptionLabel),
      ScaleDescriptionMemo(DescriptionMemo) {
    FormCreate();
}

// ---------------------------------------------------------------- TTestForm

TTestForm::TTestForm(QWidget* owner, const platform::FormatSettings& settings)
    : TPropertyForm(owner, {"TestForm", "Test", "Test", {734, 505}, IDH_TEST}),
      TestNameLabel(NameLabel), TestNameEdit(NameEdit), TestDescriptionLabel(DescriptionLabel),
      TestDescriptionMemo(DescriptionMemo) {
    // Name and description go on the first page.
    PageControlMain = Named<QTabWidget>(this, "PageControlMain");
    Body->removeWidget(FieldsPage);
    TabSheetMain = Page(PageControlMain, "TabSheetMain", "Main");
    (new QVBoxLayout(TabSheetMain))->addWidget(FieldsPage);
    Body->addWidget(PageControlMain);

    TabSheetAnnotation = MemoPage(PageControlMain, "TabSheetAnnotation", "Annotation", "TestAnnotationLabel",
                                  "Annotation:", "TestAnnotationMemo", TestAnnotationLabel, TestAnnotationMemo);
    TabSheetInstruction = MemoPage(PageControlMain, "TabSheetInstruction", "Instruction", "TestInstructionLabel",
                                   "Instruction:", "TestInstructionMemo", TestInstructionLabel, TestInstructionMemo);

    TabSheetOptions = Page(PageControlMain, "TabSheetOptions", "Options");
    QWidget* options = TabSheetOptions;

    GroupBoxTestMoveDirection = Group(options, "GroupBoxTestMoveDirection", "Test Move Direction");
    RadioButtonForwardOnly = Captioned<QRadioButton>(GroupBoxTestMoveDirection, "RadioButtonForwardOnly", "Forward Only");
    RadioButtonForwardAndBack =
        Captioned<QRadioButton>(GroupBoxTestMoveDirection, "RadioButtonForwardAndBack", "Forward And Back");
    RadioButtonAnyQuestion = Captioned<QRadioButton>(GroupBoxTestMoveDirection, "RadioButtonAnyQuestion", "Any Question");
    auto* directions = new QVBoxLayout(GroupBoxTestMoveDirection);
    directions->addWidget(RadioButtonForwardOnly);
    directions->addWidget(RadioButtonForwardAndBack);
    directions->addWidget(RadioButtonAnyQuestion);

    QuestionReplayAllowedCheckBox = Captioned<QCheckBox>(options, "QuestionReplayAllowedCheckBox", "Replay Enabled");
    TestStopAllowedCheckBox = Captioned<QCheckBox>(options, "TestStopAllowedCheckBox", "Stop Test Enabled");

    TestTimeLimitGroupBox = Group(options, "TestTimeLimitGroupBox", "Time Limit");
    TimeLimitMaskEdit = Named<QLineEdit>(TestTimeLimitGroupBox, "TimeLimitMaskEdit");
    TimeLimitMaskEdit->setText("0");
    TimeLimitUpDown = Named<QScrollBar>(TestTimeLimitGroupBox, "TimeLimitUpDown");
    TimeLimitUpDown->setOrientation(Qt::Vertical);
    TimeLimitUpDown->setRange(0, 100);
    TimeLimitUpDown->setInvertedAppearance(true);   // the upper arrow counts up
    TimeLimitUpDown->setFixedHeight(TimeLimitMaskEdit->sizeHint().height());
    TimeUnitsTrackBar = Named<QSlider>(TestTimeLimitGroupBox, "TimeUnitsTrackBar");
    TimeUnitsTrackBar->setOrientation(Qt::Horizontal);
    TimeUnitsTrackBar->setRange(0, 2);
    TimeUnitsTrackBar->setPageStep(1);
    TimeUnitsTrackBar->setTickPosition(QSlider::TicksBelow);
    TimeUnitsSecondsLabel = Captioned<QLabel>(TestTimeLimitGroupBox, "TimeUnitsSecondsLabel", "Seconds");
    TimeUnitsMinutesLabel = Captioned<QLabel>(TestTimeLimitGroupBox, "TimeUnitsMinutesLabel", "Minutes");
    TimeUnitsMinutesLabel->setAlignment(Qt::AlignHCenter);
    TimeUnitsHoursLabel = Captioned<QLabel>(TestTimeLimitGroupBox, "TimeUnitsHoursLabel", "Hours");
    TimeUnitsHoursLabel->setAlignment(Qt::AlignRight);
    // The unit names mark the slider's positions: bound to it, with no Alt letter of their own.
    for (QLabel* unit : {TimeUnitsSecondsLabel, TimeUnitsMinutesLabel, TimeUnitsHoursLabel})
        unit->setBuddy(TimeUnitsTrackBar);
    auto* timeLimit = new QGridLayout(TestTimeLimitGroupBox);
    timeLimit->addWidget(TimeLimitMaskEdit, 0, 0, 1, 2);
    timeLimit->addWidget(TimeLimitUpDown, 0, 2);
    timeLimit->addWidget(TimeUnitsTrackBar, 1, 0, 1, 3);
    timeLimit->addWidget(TimeUnitsSecondsLabel, 2, 0);
    timeLimit->addWidget(TimeUnitsMinutesLabel, 2, 1);
    timeLimit->addWidget(TimeUnitsHoursLabel, 2, 2);
    timeLimit->setRowStretch(3, 1);
    // The up-down steps the number in its edit.
    connect(TimeLimitUpDown, &QScrollBar::valueChanged, this,
            [this](int value) { TimeLimitMaskEdit->setText(QString::number(value)); });

    auto* authorBox = new QWidget(options);
    EditAuthorName = Field<QLineEdit>(authorBox, "EditAuthorName", "LabelAuthorName", "Author Name:", LabelAuthorName);
    EditAuthorEmail =
        Field<QLineEdit>(authorBox, "EditAuthorEmail", "LabelAuthorEmail", "Author Email:", LabelAuthorEmail);
    EditCopyright = Field<QLineEdit>(authorBox, "EditCopyright", "LabelCopyright", "Copyright:", LabelCopyright);
    for (QLineEdit* e : {EditAuthorName, EditAuthorEmail, EditCopyright}) tree::KeepShortText(*e);
    DateTimePickerTestCreated = Field<QDateTimeEdit>(authorBox, "DateTimePickerTestCreated", "LabelTestCreated",
                                                     "Test Created:", LabelTestCreated);
    DateTimePickerTestCreated->setCalendarPopup(true);
    DateTimePickerTestCreated->setDisplayFormat(tree::DateTimeDisplayFormat(settings));
    SetCreated(platform::EncodeDate(2016, 3, 1) + platform::EncodeTime(17, 41, 39));
    LayOutFields(authorBox, {{LabelAuthorName, EditAuthorName},
                             {LabelAuthorEmail, EditAuthorEmail},
                             {LabelCopyright, EditCopyright},
                             {LabelTestCreated, DateTimePickerTestCreated}});
    authorBox->layout()->setContentsMargins(0, 0, 0, 0);

    auto* grid = new QGridLayout(options);
    grid->addWidget(GroupBoxTestMoveDirection, 0, 0);
    grid->addWidget(TestTimeLimitGroupBox, 0, 1, 3, 1);
    grid->addWidget(QuestionReplayAllowedCheckBox, 1, 0);
    grid->addWidget(TestStopAllowedCheckBox, 2, 0);
    grid->addWidget(authorBox, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    // Stopping a test and its time limit are not offered.
    TestStopAllowedCheckBox->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{TestTimeLimitGroupBox, TimeLimitMaskEdit, TimeLimitUpDown,
                                                      TimeUnitsTrackBar, TimeUnitsSecondsLabel,
                                                      TimeUnitsMinutesLabel, TimeUnitsHoursLabel})
        w->setEnabled(false);

    // Checking a button from the caller's preset runs its handler too.
    connect(RadioButtonForwardOnly, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButtonForwardOnlyClick(); });
    connect(RadioButtonForwardAndBack, &QRadioButton::toggled, this,
            [this](bool on) { if (on) RadioButtonForwardAndBackClick(); });
    connect(RadioButtonAnyQuestion, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButtonAnyQuestionClick(); });

    SetTabOrder({NameEdit, DescriptionMemo, TestAnnotationMemo, TestInstructionMemo, RadioButtonForwardOnly,
                 RadioButtonForwardAndBack, RadioButtonAnyQuestion, QuestionReplayAllowedCheckBox,
                 TestStopAllowedCheckBox, TimeLimitMaskEdit, TimeUnitsTrackBar, EditAuthorName, EditAuthorEmail,
                 EditCopyright, DateTimePickerTestCreated, OkBitBtn, CancelBitBtn});
    FormCreate();
}

void TTestForm::RadioButtonForwardOnlyClick() { QuestionReplayAllowedCheckBox->setEnabled(false); }
void TTestForm::RadioButtonForwardAndBackClick() { QuestionReplayAllowedCheckBox->setEnabled(false); }
void TTestForm::RadioButtonAnyQuestionClick() { QuestionReplayAllowedCheckBox->setEnabled(true); }

std::uint8_t TTestForm::MoveDirection() const {
    std::uint8_t direction = mdForwardOnly;
    if (RadioButtonForwardAndBack->isChecked()) direction = mdForwardBack;
    if (RadioButtonAnyQuestion->isChecked()) direction = mdFree;
    return direction;
}

void TTestForm::SetMoveDirection(std::uint8_t direction) {
    switch (direction) {
        case mdForwardOnly: RadioButtonForwardOnly->setChecked(true); break;
        case mdForwardBack: RadioButtonForwardAndBack->setChecked(true); break;
        case mdFree: RadioButtonAnyQuestion->setChecked(true); break;
        default: break;
    }
}

double TTestForm::Created() const { return tree::DateTime(*DateTimePickerTestCreated); }
void TTestForm::SetCreated(double value) { tree::SetDateTime(*DateTimePickerTestCreated, value); }

void TTestForm::Preset(const TTest& test) {
    TPropertyForm::Preset(test);
    tree::SetLongText(*TestAnnotationMemo, test.Annotation);
    tree::SetLongText(*TestInstructionMemo, test.Instruction);
    SetMoveDirection(test.MoveDirection);
    QuestionReplayAllowedCheckBox->setChecked(test.ReplayEnabled);
    TestStopAllowedCheckBox->setChecked(test.StopEnabled);
    tree::SetInteger(*TimeLimitMaskEdit, test.TimeLimit);
    tree::SetShortText(*EditAuthorName, test.AuthorName);
    tree::SetShortText(*EditAuthorEmail, test.AuthorEmail);
    tree::SetShortText(*EditCopyright, test.Copyright);
    SetCreated(test.Created);
}

bool TTestForm::ReadInto(TTest& test) const {
    const auto timeLimit = tree::Integer(*TimeLimitMaskEdit);
    if (!timeLimit) return false;
    TPropertyForm::ReadInto(test);
    test.Annotation = tree::LongText(*TestAnnotationMemo);
    test.Instruction = tree::LongText(*TestInstructionMemo);
    test.MoveDirection = MoveDirection();
    test.ReplayEnabled = QuestionReplayAllowedCheckBox->isChecked();
    test.StopEnabled = TestStopAllowedCheckBox->isChecked();
    test.TimeLimit = *timeLimit;
    test.AuthorName = tree::ShortText(*EditAuthorName);
    test.AuthorEmail = tree::ShortText(*EditAuthorEmail);
    test.Copyright = tree::ShortText(*EditCopyright);
    test.Created = Created();
    return true;
}

// ---------------------------------------------------------------- TStimulForm

TStimulForm::TStimulForm(QWidget* owner)
    : TPropertyForm(owner, {"StimulForm", "Stimul", "Question", {632, 447}, IDH_QUESTION}),
      StimulNameLabel(NameLabel), StimulNameEdit(NameEdit), StimulDescriptionLabel(DescriptionLabel),
      StimulDescriptionMemo(DescriptionMemo) {
    GroupBoxMultiplicity = Group(FieldsPage, "GroupBoxMultiplicity", "Multiplicity");
    CheckBoxMultipleAnswers = Captioned<QCheckBox>(GroupBoxMultiplicity, "CheckBoxMultipleAnswers", "Multiple Answers");
    // Any text can be typed; the change handler keeps it a number from 1 to 999.
    MaskEditNumReactionsLimit = Named<QLineEdit>(GroupBoxMultiplicity, "MaskEditNumReactionsLimit");
    MaskEditNumReactionsLimit->setText("0");
    LabelNumReactionsLimit =
        Label(GroupBoxMultiplicity, "LabelNumReactionsLimit", "Top Number of Answers", MaskEditNumReactionsLimit);
    LabelNumReactionsLimit->setWordWrap(true);
    CheckBoxAnswerMustBe = Captioned<QCheckBox>(GroupBoxMultiplicity, "CheckBoxAnswerMustBe", "Mandatory Answers");
    auto* grid = new QGridLayout(GroupBoxMultiplicity);
    grid->addWidget(CheckBoxMultipleAnswers, 0, 0, 1, 2);
    grid->addWidget(LabelNumReactionsLimit, 1, 0);
    grid->addWidget(MaskEditNumReactionsLimit, 1, 1);
    grid->addWidget(CheckBoxAnswerMustBe, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    AddGroup(GroupBoxMultiplicity);

    connect(CheckBoxMultipleAnswers, &QCheckBox::toggled, this, [this] { CheckBoxMultipleAnswersClick(); });
    connect(MaskEditNumReactionsLimit, &QLineEdit::textChanged, this, [this] { MaskEditNumReactionsLimitChange(); });

    SetTabOrder({NameEdit, CheckBoxMultipleAnswers, MaskEditNumReactionsLimit, CheckBoxAnswerMustBe, DescriptionMemo,
                 OkBitBtn, CancelBitBtn});
    LastValidText = MaskEditNumReactionsLimit->text();
    FormCreate();
}

void TStimulForm::UpdateControls() {
    UpdateOkButton();
    const bool multiple = CheckBoxMultipleAnswers->isChecked();
    LabelNumReactionsLimit->setEnabled(multiple);
    MaskEditNumReactionsLimit->setEnabled(multiple);
}

void TStimulForm::CheckBoxMultipleAnswersClick() { UpdateControls(); }

// Setting the text runs this again on the new text, so the edit ends holding 1 to 999 or the
// last accepted text run through these steps once more.
void TStimulForm::MaskEditNumReactionsLimitChange() {
    const auto value = tree::Integer(*MaskEditNumReactionsLimit);
    if (!value) {
        MaskEditNumReactionsLimit->setText(LastValidText);
        return;
    }
    if (*value < 1) MaskEditNumReactionsLimit->setText("1");
    if (*value > 999) MaskEditNumReactionsLimit->setText("999");
    LastValidText = QString::number(*value);
}

void TStimulForm::Preset(const TStimul& question) {
    TPropertyForm::Preset(question);
    CheckBoxMultipleAnswers->setChecked(question.MultipleAnswers);
    tree::SetInteger(*MaskEditNumReactionsLimit, question.AnswersLimit);
    CheckBoxAnswerMustBe->setChecked(question.AnswerRequired);
}

bool TStimulForm::ReadInto(TStimul& question) const {
    const auto limit = tree::Integer(*MaskEditNumReactionsLimit);
    if (!limit) return false;
    TPropertyForm::ReadInto(question);
    question.MultipleAnswers = CheckBoxMultipleAnswers->isChecked();
    question.AnswersLimit = *limit;
    question.AnswerRequired = CheckBoxAnswerMustBe->isChecked();
    return true;
}

// ---------------------------------------------------------------- TInterpretationForm

TInterpretationForm::TInterpretationForm(QWidget* owner, const platform::FormatSettings& settings)
    : TPropertyForm(owner, {"InterpretationForm", "Interpretation", "Interpretation", {678, 498}, IDH_INTERPRETATION}),
      InterpretationNameLabel(NameLabel), InterpretationNameEdit(NameEdit),
      InterpretationDescriptionLabel(DescriptionLabel), InterpretationDescriptionMemo(DescriptionMemo),
      settings_(settings) {
    InterpretationRangeGroupBox = Group(FieldsPage, "InterpretationRangeGroupBox", "Range");
    InterpretationMinEdit = Field<QLineEdit>(InterpretationRangeGroupBox, "InterpretationMinEdit",
                                             "InterpretationMinLabel", "Mininum", InterpretationMinLabel);
    InterpretationMaxEdit = Field<QLineEdit>(InterpretationRangeGroupBox, "InterpretationMaxEdit",
                                             "InterpretationMaxLabel", "Maximum", InterpretationMaxLabel);
    LayOutFields(InterpretationRangeGroupBox, {{InterpretationMinLabel, InterpretationMinEdit},
                                               {InterpretationMaxLabel, InterpretationMaxEdit}});
    AddGroup(InterpretationRangeGroupBox);

    SetTabOrder({NameEdit, InterpretationMinEdit, InterpretationMaxEdit, DescriptionMemo, OkBitBtn, CancelBitBtn});
    FormCreate();
}

void TInterpretationForm::Preset(const TInterpretation& interpretation) {
    TPropertyForm::Preset(interpretation);
    tree::SetReal(*InterpretationMaxEdit, interpretation.Maximum, settings_);
    tree::SetReal(*InterpretationMinEdit, interpretation.Minimum, settings_);
}

bool TInterpretationForm::CheckFields() {
    if (!CheckReal(*InterpretationMinEdit, settings_) || !CheckReal(*InterpretationMaxEdit, settings_)) return false;
    // A range whose Minimum is above its Maximum could never match a score.
    if (*tree::Real(*InterpretationMinEdit, settings_) > *tree::Real(*InterpretationMaxEdit, settings_)) {
        Refuse(*InterpretationMinEdit, lang::GetMessageText("OBJECTSTREE_RANGE_EMPTY"));
        return false;
    }
    return true;
}

bool TInterpretationForm::ReadInto(TInterpretation& interpretation) const {
    const auto maximum = tree::Real(*InterpretationMaxEdit, settings_);
    const auto minimum = tree::Real(*InterpretationMinEdit, settings_);
    if (!maximum || !minimum) return false;
    TPropertyForm::ReadInto(interpretation);
    interpretation.Maximum = *maximum;
    interpretation.Minimum = *minimum;
    return true;
}

// ---------------------------------------------------------------- TWeightForm

TWeightForm::TWeightForm(QWidget* owner, const platform::FormatSettings& settings)
    : TPropertyForm(owner, {"WeightForm", "Weight", "Weight", {654, 403}, IDH_WEIGHT}),
      WeightNameLabel(NameLabel), WeightNameEdit(NameEdit), WeightDescriptionLabel(DescriptionLabel),
      WeightDescriptionMemo(DescriptionMemo), settings_(settings) {
    WeightValueGroupBox = Group(FieldsPage, "WeightValueGroupBox", "Weight");
    // Not editable: a list to choose from.
    ScaleComboBox = Field<QComboBox>(WeightValueGroupBox, "ScaleComboBox", "ScaleLabel", "Scale", ScaleLabel);
    WeightValueEdit =
        Field<QLineEdit>(WeightValueGroupBox, "WeightValueEdit", "WeightValueLabel", "Value", WeightValueLabel);
    LayOutFields(WeightValueGroupBox, {{ScaleLabel, ScaleComboBox}, {WeightValueLabel, WeightValueEdit}});
    AddGroup(WeightValueGroupBox);

    connect(WeightValueEdit, &QLineEdit::textChanged, this, [this] { WeightValueEditChange(); });

    SetTabOrder({NameEdit, ScaleComboBox, WeightValueEdit, DescriptionMemo, OkBitBtn, CancelBitBtn});
    FormCreate();
}

void TWeightForm::AddScaleItem(std::int32_t scaleID, std::string_view name) {
    ScaleComboBox->addItem(platform::ToQString(name), scaleID);
}

std::int32_t TWeightForm::ChosenScaleID() const {
    const QVariant id = ScaleComboBox->currentData();
    return id.isValid() ? id.toInt() : -1;
}

void TWeightForm::ChooseScale(std::int32_t scaleID) { ScaleComboBox->setCurrentIndex(ScaleComboBox->findData(scaleID)); }

// Setting the text runs this again on the new text. There is no lower bound. A text that is
// not a number stays as typed: taking a keystroke back would turn "1,5" typed with the other
// decimal separator into 15. OK refuses it.
void TWeightForm::WeightValueEditChange() {
    const auto value = tree::ParseRealText(WeightValueEdit->text(), settings_);
    if (!value) return;
    if (*value > 9999) WeightValueEdit->setText(tree::RealText(9999, settings_));
    LastValidText = tree::RealText(*value, settings_);
}

bool TWeightForm::CheckFields() { return CheckReal(*WeightValueEdit, settings_); }

void TWeightForm::Preset(const TWeight& weight) {
    TPropertyForm::Preset(weight);
    tree::SetReal(*WeightValueEdit, weight.Value, settings_);
    ChooseScale(weight.ScaleID);
}

bool TWeightForm::ReadInto(TWeight& weight) const {
    const auto value = tree::Real(*WeightValueEdit, settings_);
    if (!value) return false;
    TPropertyForm::ReadInto(weight);
    weight.Value = *value;
    weight.ScaleID = ChosenScaleID();
    return true;
}
