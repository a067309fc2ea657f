#pragma once
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>

#include <cstdint>
#include <functional>

#include "controls/ButtonGlyph.h"

class TEditButton;

enum TGlyphKind : std::uint8_t { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// A single-line edit with a push button inside its frame at the right. The button, or the click
// key (Alt+Down), runs DoButtonClick, which descendants give their own meaning. The text never
// runs under the button, and line breaks never enter the text.
class TCustomComboEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCustomComboEdit(QWidget* parent = nullptr);
    ~TCustomComboEdit() override;

    QWidget* ButtonHost;
    TEditButton* Button;

    QKeySequence ClickKey{QKeyCombination(Qt::AltModifier, Qt::Key_Down)};
    bool ClickWhenReadOnly = false;
    bool AutoSelect = true;
    std::uint8_t PopupSide = 0;
    std::function<void(TCustomComboEdit&)> OnButtonClick;

    // True: the text cannot be changed and the button does nothing.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // False: the text cannot be typed, but the button still works.
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    TTextAlignment Alignment() const { return alignment_; }
    void SetAlignment(TTextAlignment value);
    // Without a border the button takes the edit's whole height at its right edge.
    TBorderStyle BorderStyle() const { return hasFrame() ? bsSingle : bsNone; }
    void SetBorderStyle(TBorderStyle value);

    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind value);
    const QImage& Glyph() const;
    // Gives the button this glyph; the kind becomes gkCustom.
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const;
    void SetNumGlyphs(int value);
    int ButtonWidth() const;
    void SetButtonWidth(int value);
    QString ButtonHint() const;
    void SetButtonHint(const QString& hint);

    bool EditFocused() const { return editFocused_; }
    bool PopupShown() const { return false; }
    // The smallest height that shows a line of the font.
    int MinimumHeight() const;

    // The button's click: DoButtonClick unless the edit is read-only.
    void ButtonClicked();

protected:
    virtual void DoButtonClick();
    // The glyph of gkDefault; this class has none.
    virtual QImage GetDefaultGlyph() const { return {}; }

    // Marks the control as being constructed: ButtonWidth then sizes the button directly.
    void SetCreating(bool value) { creating_ = value; }
    std::uint8_t DefaultGlyphCount = 1;

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RebuildGlyph();
    void UpdateButtonBounds();
    void UpdateEditRect();
    int FrameWidth() const;

    bool readOnly_ = false;
    bool directInput_ = true;
    bool editFocused_ = false;
    bool creating_ = false;
    TTextAlignment alignment_ = taLeftJustify;
    TGlyphKind glyphKind_ = gkCustom;
};
