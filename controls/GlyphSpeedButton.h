#pragma once
#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

#include <cstdint>
#include <memory>

#include "controls/ButtonGlyph.h"

class QTimer;

enum TDropDownMenuPos : std::uint8_t { dmpBottom, dmpRight };

// A push button without focus that draws a framed face with a glyph and an optional caption for
// each of its states. It may act as one of a group of exclusive buttons, be flat or transparent,
// drop down a menu and repeat its click while held. A click first hands ModalResult to the
// dialog that holds the button.
class TGlyphSpeedButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TGlyphSpeedButton(QWidget* parent = nullptr);
    ~TGlyphSpeedButton() override;

    TButtonGlyph& GlyphImages() { return *glyphImages_; }
    const QImage& Glyph() const { return glyphImages_->Glyph(); }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return glyphImages_->NumGlyphs(); }
    // Values above 5 become 5; 0 and below are ignored.
    void SetNumGlyphs(int value);

    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    // -1 centres the glyph; values below -1 are ignored.
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool FlatStandard() const { return flatStandard_; }
    void SetFlatStandard(bool value);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool value);
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool value);
    TTextAlignment Alignment() const { return glyphImages_->Alignment; }
    void SetAlignment(TTextAlignment value);
    bool WordWrap() const { return glyphImages_->WordWrap; }
    void SetWordWrap(bool value);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool Down() const { return down_; }
    void SetDown(bool value);

    QMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(QMenu* menu);
    TDropDownMenuPos MenuPosition = dmpBottom;

    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value);
    std::uint16_t InitPause = 500;
    std::uint16_t RepeatInterval = 100;

    // Handed to the dialog holding the button on a click; 0 leaves the dialog open.
    int ModalResult = 0;

    // A linked action: its enabled state, caption and check follow into the button (the check
    // only into a grouped button), its icon becomes an empty glyph, and a click triggers it.
    QAction* Action() const { return action_; }
    void SetAction(QAction* action);

    TButtonState ButtonState() const { return buttonState_; }
    bool Pressing() const { return pressing_; }
    bool MouseInside() const { return mouseInside_; }
    bool MenuOpen() const { return menuOpen_; }
    // The state the face is drawn in, after the rules of the paint step.
    TButtonState DrawingState() const;

    // Hands ModalResult to the dialog, then fires clicked().
    virtual void Click();

signals:
    void MouseEnter();
    void MouseLeave();
    void DoubleClicked();

protected:
    // Draws glyph, caption and drop-down mark into face for state.
    virtual void PaintFace(QPainter& painter, const QRect& face, TButtonState state);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    QSize sizeHint() const override;

private:
    void SyncEnabledState();
    void UpdateTracking();
    void SetMouseInside(bool inside);
    void TellGroup();
    void GroupChanged(TGlyphSpeedButton& sender);
    bool OpenDropDownMenu();
    void RepeatTick();
    void Repaint();
    void ActionChanged();
    template <class T>
    void StoreAndRepaint(T& field, T value) {
        field = value;
        Repaint();
    }

    std::unique_ptr<TButtonGlyph> glyphImages_;
    QPixmap offscreenImage_;
    int groupIndex_ = 0;
    TButtonStyle style_ = bsAutoDetect;
    bool down_ = false;
    bool pressing_ = false;
    bool flat_ = false;
    bool mouseInside_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphTop;
    int spacing_ = 1;
    int margin_ = -1;
    bool transparent_ = false;
    bool markDropDown_ = true;
    QPointer<QMenu> dropDownMenu_;
    QPointer<QAction> action_;
    bool grayedInactive_ = true;
    bool menuOpen_ = false;
    QTimer* autoRepeatTimer_ = nullptr;
    bool allowTimer_ = false;
    TButtonState buttonState_ = TButtonState::Up;
    bool flatStandard_ = false;
};

// Draws the one-pixel frames of a button face and shrinks rect to the inside of the frame.
void DrawButtonFrame(QPainter& painter, QRect& rect, bool pressed, TButtonStyle style, bool flat);
