#pragma once
#include <QDialog>
#include <QSize>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "lang/LanguageController.h"
#include "platform/FormatSettings.h"
#include "store/Records.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QVBoxLayout;
class QWidget;

// The property dialogs of the seven item kinds. The objects tree creates one, sets its caption,
// presets its controls, shows it with platform::ExecModal, reads DialogResult and, on 1, reads the
// controls back and writes the store; the dialogs never touch the store themselves.
//
// Every dialog has a name edit, a description memo, OkBitBtn, CancelBitBtn and LabelDebug; OK is
// enabled exactly while the name is not empty. Preset and ReadInto move the fields the dialog
// edits between a record and the controls, with the controls' texts as the tree's own code would
// set and read them (tree/ControlValues.h).
class TPropertyForm : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    // 0 after creation and after a close by the title bar, 1 after OK, 2 after Cancel.
    std::uint8_t DialogResult = 0;

    QLabel* NameLabel;
    QLineEdit* NameEdit;
    QLabel* DescriptionLabel;
    QPlainTextEdit* DescriptionMemo;
    QPushButton* OkBitBtn;
    QPushButton* CancelBitBtn;
    QLabel* LabelDebug;

    int HelpContext() const { return helpContext_; }

    // Name and description.
    void Preset(const TAnyObject& item);
    // Name (no line break, at most 255 bytes) and description (lines joined by CR LF).
    void ReadInto(TAnyObject& item) const;

    void OkBitBtnClick();
    void CancelBitBtnClick();
    void UpdateOkButton();

    // The refusal of a number field's text: the message of key, then the text in quotes.
    static std::string NumberRefusal(const char* key, const QString& text);

protected:
    struct TDesign {
        const char* FormName;     // the window's name and its language section
        const char* Prefix;       // of the names of the name and description controls
        const char* Caption;
        QSize ClientSize;
        int HelpContext;
    };
    TPropertyForm(QWidget* owner, const TDesign& design);

    // A group of further controls goes between the name and the description.
    void AddGroup(QWidget* group);
    void SetTabOrder(std::initializer_list<QWidget*> chain);
    // Last in every dialog's constructor: the language texts, then the dialog's set-up.
    void FormCreate();
    // What a change of the name runs.
    virtual void RunEnabling() { UpdateOkButton(); }
    // Run by OK before the dialog closes: false keeps it open (the refused field shown).
    virtual bool CheckFields() { return true; }
    // Shows the message and selects the field, so that the person can type it again.
    static void Refuse(QLineEdit& field, const std::string& message);
    // A real number field: true when it converts, else refused.
    static bool CheckReal(QLineEdit& field, const platform::FormatSettings& settings);

    void keyPressEvent(QKeyEvent* event) override;

    QVBoxLayout* Body;          // the dialog's area above the buttons
    QWidget* FieldsPage;        // name, groups and description
    QVBoxLayout* FieldsLayout;

private:
    QSize clientSize_;
    int helpContext_;
};

class TTestGroupForm : public TPropertyForm {
    Q_OBJECT
public:
    explicit TTestGroupForm(QWidget* owner);

    QLabel* const TestGroupNameLabel;
    QLineEdit* const TestGroupNameEdit;
    QLabel* const TestGroupDescriptionLabel;
    QPlainTextEdit* const TestGroupDescriptionMemo;
};

class TTestForm : public TPropertyForm {
    Q_OBJECT
public:
    // Settings: the date picker's field order and separator.
    TTestForm(QWidget* owner, const platform::FormatSettings& settings);

    QLabel* const TestNameLabel;
    QLineEdit* const TestNameEdit;
    QLabel* const TestDescriptionLabel;
    QPlainTextEdit* const TestDescriptionMemo;

    QTabWidget* PageControlMain;
    QWidget* TabSheetMain;
    QWidget* TabSheetAnnotation;
    QWidget* TabSheetInstruction;
    QWidget* TabSheetOptions;
    QLabel* TestAnnotationLabel;
    QPlainTextEdit* TestAnnotationMemo;
    QLabel* TestInstructionLabel;
    QPlainTextEdit* TestInstructionMemo;
    QGroupBox* GroupBoxTestMoveDirection;
    QRadioButton* RadioButtonForwardOnly;
    QRadioButton* RadioButtonForwardAndBack;
    QRadioButton* RadioButtonAnyQuestion;
    QCheckBox* QuestionReplayAllowedCheckBox;
    QCheckBox* TestStopAllowedCheckBox;
    QGroupBox* TestTimeLimitGroupBox;
    QLineEdit* TimeLimitMaskEdit;
    QScrollBar* TimeLimitUpDown;
    QSlider* TimeUnitsTrackBar;
    QLabel* TimeUnitsSecondsLabel;
    QLabel* TimeUnitsMinutesLabel;
    QLabel* TimeUnitsHoursLabel;
    QLabel* LabelAuthorName;
    QLineEdit* EditAuthorName;
    QLabel* LabelAuthorEmail;
    QLineEdit* EditAuthorEmail;
    QLabel* LabelCopyright;
    QLineEdit* EditCopyright;
    QLabel* LabelTestCreated;
    QDateTimeEdit* DateTimePickerTestCreated;

    // 1, or 2 when Forward And Back is checked, or 3 when Any Question is checked.
    std::uint8_t MoveDirection() const;
    // Checks the radio button of direction 1, 2 or 3; any other leaves the buttons as they are.
    void SetMoveDirection(std::uint8_t direction);
    // Created as days since 30 December 1899, date and time.
    double Created() const;
    void SetCreated(double value);

    // Name, description, annotation, instruction, move direction, replay, stop, time limit,
    // author fields and Created; Private, the spare flag and the spare text are the caller's.
    void Preset(const TTest& test);
    // False, and the record unchanged, when the time limit is not an integer.
    bool ReadInto(TTest& test) const;

    void RadioButtonForwardOnlyClick();
    void RadioButtonForwardAndBackClick();
    void RadioButtonAnyQuestionClick();
};

class TStimulForm : public TPropertyForm {
    Q_OBJECT
public:
    explicit TStimulForm(QWidget* owner);

    QLabel* const StimulNameLabel;
    QLineEdit* const StimulNameEdit;
    QLabel* const StimulDescriptionLabel;
    QPlainTextEdit* const StimulDescriptionMemo;

    QGroupBox* GroupBoxMultiplicity;
    QCheckBox* CheckBoxMultipleAnswers;
    QLabel* LabelNumReactionsLimit;
    QLineEdit* MaskEditNumReactionsLimit;
    QCheckBox* CheckBoxAnswerMustBe;

    // The last text of the limit edit that was an integer, before its clamp to 1..999.
    QString LastValidText;

    void Preset(const TStimul& question);
    // False, and the record unchanged, when the limit is not an integer.
    bool ReadInto(TStimul& question) const;

    void UpdateControls();
    void CheckBoxMultipleAnswersClick();
    void MaskEditNumReactionsLimitChange();

protected:
    void RunEnabling() override { UpdateControls(); }
};

class TReactionForm : public TPropertyForm {
    Q_OBJECT
public:
    explicit TReactionForm(QWidget* owner);

    QLabel* const ReactionNameLabel;
    QLineEdit* const ReactionNameEdit;
    QLabel* const ReactionDescriptionLabel;
    QPlainTextEdit* const ReactionDescriptionMemo;
};

class TScaleForm : public TPropertyForm {
    Q_OBJECT
public:
    explicit TScaleForm(QWidget* owner);

    QLabel* const ScaleNameLabel;
    QLineEdit* const ScaleNameEdit;
    QLabel* const ScaleDescriptionLabel;
    QPlainTextEdit* const ScaleDescriptionMemo;
};

class TInterpretationForm : public TPropertyForm {
    Q_OBJECT
public:
    // Settings: how the range's numbers are shown and read.
    TInterpretationForm(QWidget* owner, const platform::FormatSettings& settings);

    QLabel* const InterpretationNameLabel;
    QLineEdit* const InterpretationNameEdit;
    QLabel* const InterpretationDescriptionLabel;
    QPlainTextEdit* const InterpretationDescriptionMemo;

    QGroupBox* InterpretationRangeGroupBox;
    QLabel* InterpretationMinLabel;
    QLineEdit* InterpretationMinEdit;
    QLabel* InterpretationMaxLabel;
    QLineEdit* InterpretationMaxEdit;

    const platform::FormatSettings& Settings() const { return settings_; }

    void Preset(const TInterpretation& interpretation);
    // False, and the record unchanged, when either edit is not a number.
    bool ReadInto(TInterpretation& interpretation) const;

protected:
    // Both numbers convert and Minimum is not above Maximum.
    bool CheckFields() override;

private:
    platform::FormatSettings settings_;
};

class TWeightForm : public TPropertyForm {
    Q_OBJECT
public:
    // Settings: how the value is shown and read.
    TWeightForm(QWidget* owner, const platform::FormatSettings& settings);

    QLabel* const WeightNameLabel;
    QLineEdit* const WeightNameEdit;
    QLabel* const WeightDescriptionLabel;
    QPlainTextEdit* const WeightDescriptionMemo;

    QGroupBox* WeightValueGroupBox;
    QLabel* ScaleLabel;
    QComboBox* ScaleComboBox;
    QLabel* WeightValueLabel;
    QLineEdit* WeightValueEdit;

    // The last text of the value edit that was a number, before its clamp to 9999.
    QString LastValidText;

    const platform::FormatSettings& Settings() const { return settings_; }

    // Adds a scale to the end of the list; the first one added is chosen.
    void AddScaleItem(std::int32_t scaleID, std::string_view name);
    // The ID of the chosen scale; -1 when none is chosen.
    std::int32_t ChosenScaleID() const;
    // Chooses the scale with this ID; none when it is not in the list.
    void ChooseScale(std::int32_t scaleID);

    // Name, value, description, and the weight's scale chosen (fill the list first).
    void Preset(const TWeight& weight);
    // False, and the record unchanged, when the value is not a number. The scale is the chosen
    // one, -1 when none is chosen.
    bool ReadInto(TWeight& weight) const;

    void WeightValueEditChange();

protected:
    bool CheckFields() override;

private:
    platform::FormatSettings settings_;
};
