#include "controls/GlyphSpeedButton.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <exception>

#include "controls/ControlUtilities.h"
#include "platform/UserInteraction.h"

namespace {

// Current desktops draw controls in the new look.
constexpr bool kNewStyleControls = true;

void Frame(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    rect.adjust(1, 1, -1, -1);
}

}  // namespace

void DrawButtonFrame(QPainter& painter, QRect& rect, bool pressed, TButtonStyle style, bool flat) {
    const controls::TFaceColors c = controls::TFaceColors::Current();
    const bool newLook = style == bsNew || (style == bsAutoDetect && kNewStyleControls);
    if (newLook && !flat) {
        if (pressed) {
            Frame(painter, rect, c.WindowFrame, c.BtnHighlight);
            Frame(painter, rect, c.BtnShadow, c.BtnFace);
        } else {
            Frame(painter, rect, c.BtnHighlight, c.WindowFrame);
            Frame(painter, rect, c.BtnFace, c.BtnShadow);
        }
    } else if (newLook) {
        Frame(painter, rect, pressed ? c.BtnShadow : c.BtnHighlight, pressed ? c.BtnHighlight : c.BtnShadow);
    } else if (!flat) {
        Frame(painter, rect, c.WindowFrame, c.WindowFrame);
        if (pressed) {
            painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), c.BtnShadow);
            painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), c.BtnShadow);
        } else {
            Frame(painter, rect, c.BtnHighlight, c.BtnShadow);
        }
    } else {
        Frame(painter, rect, pressed ? c.WindowFrame : c.BtnHighlight, pressed ? c.BtnHighlight : c.WindowFrame);
    }
    rect.adjust(1, 1, -1, -1);
}

TGlyphSpeedButton::TGlyphSpeedButton(QWidget* parent)
    : QAbstractButton(parent), glyphImages_(std::make_unique<TButtonGlyph>()) {
    glyphImages_->OnChanged = [this] { update(); };
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(25, 25);
}

TGlyphSpeedButton::~TGlyphSpeedButton() = default;

void TGlyphSpeedButton::Repaint() { update(); }

void TGlyphSpeedButton::SetGlyph(const QImage& glyph) {
    glyphImages_->SetGlyph(glyph);
    Repaint();
}

void TGlyphSpeedButton::SetNumGlyphs(int value) {
    if (value > 5) value = 5;
    glyphImages_->SetNumGlyphs(value);
    Repaint();
}

void TGlyphSpeedButton::SetMargin(int value) {
    if (value < -1) return;
    StoreAndRepaint(margin_, value);
}

void TGlyphSpeedButton::SetTransparent(bool value) {
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    StoreAndRepaint(transparent_, value);
}

void TGlyphSpeedButton::SetLayout(TButtonLayout value) { StoreAndRepaint(layout_, value); }
void TGlyphSpeedButton::SetSpacing(int value) { StoreAndRepaint(spacing_, value); }
void TGlyphSpeedButton::SetFlat(bool value) { StoreAndRepaint(flat_, value); }
void TGlyphSpeedButton::SetFlatStandard(bool value) { StoreAndRepaint(flatStandard_, value); }
void TGlyphSpeedButton::SetStyle(TButtonStyle value) { StoreAndRepaint(style_, value); }
void TGlyphSpeedButton::SetGrayedInactive(bool value) { StoreAndRepaint(grayedInactive_, value); }
void TGlyphSpeedButton::SetMarkDropDown(bool value) { StoreAndRepaint(markDropDown_, value); }
void TGlyphSpeedButton::SetAlignment(TTextAlignment value) { StoreAndRepaint(glyphImages_->Alignment, value); }
void TGlyphSpeedButton::SetWordWrap(bool value) { StoreAndRepaint(glyphImages_->WordWrap, value); }

void TGlyphSpeedButton::SetGroupIndex(int value) {
    groupIndex_ = value;
    TellGroup();
}

void TGlyphSpeedButton::SetAllowAllUp(bool value) {
    allowAllUp_ = value;
    TellGroup();
}

void TGlyphSpeedButton::SetDown(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == down_ || (down_ && !allowAllUp_)) return;
    down_ = value;
    buttonState_ = value ? TButtonState::Exclusive : TButtonState::Up;
    Repaint();
    if (value) TellGroup();
}

void TGlyphSpeedButton::TellGroup() {
    if (!parentWidget()) return;
    for (QObject* child : parentWidget()->children())
        if (auto* member = qobject_cast<TGlyphSpeedButton*>(child)) member->GroupChanged(*this);
}

void TGlyphSpeedButton::GroupChanged(TGlyphSpeedButton& sender) {
    if (&sender == this || groupIndex_ == 0 || sender.groupIndex_ != groupIndex_) return;
    if (sender.down_ && down_) {
        down_ = false;
        buttonState_ = TButtonState::Up;
        Repaint();
    }
    allowAllUp_ = sender.allowAllUp_;
}

void TGlyphSpeedButton::SetDropDownMenu(QMenu* menu) {
    dropDownMenu_ = menu;
    Repaint();
}

void TGlyphSpeedButton::SetAllowTimer(bool value) {
    allowTimer_ = value;
    if (!value) {
        delete autoRepeatTimer_;
        autoRepeatTimer_ = nullptr;
    }
}

TButtonState TGlyphSpeedButton::DrawingState() const {
    TButtonState state = buttonState_;
    if (flat_ && !mouseInside_) state = TButtonState::Inactive;
    if (buttonState_ == TButtonState::Disabled || !grayedInactive_) state = buttonState_;
    if (flatStandard_ && state == TButtonState::Inactive) state = TButtonState::Exclusive;
    return state;
}

void TGlyphSpeedButton::Click() {
    if (ModalResult != 0)
        if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->done(ModalResult);
    emit clicked(false);
    if (action_) action_->trigger();
}

void TGlyphSpeedButton::SetAction(QAction* action) {
    if (action_) disconnect(action_, nullptr, this, nullptr);
    action_ = action;
    if (!action) return;
    connect(action, &QAction::changed, this, &TGlyphSpeedButton::ActionChanged);
    ActionChanged();
}

void TGlyphSpeedButton::ActionChanged() {
    if (!action_) return;
    setEnabled(action_->isEnabled());
    setText(action_->text());
    setToolTip(action_->toolTip());
    if (groupIndex_ != 0 && action_->isChecked() != down_) {
        // A button that is down and may not come up alone is taken up as the action asks.
        const bool allowAllUp = allowAllUp_;
        allowAllUp_ = true;
        SetDown(action_->isChecked());
        allowAllUp_ = allowAllUp;
    }
    if (Glyph().isNull() && !action_->icon().isNull()) {
        // The icon on a magenta ground, which the glyph then draws transparent.
        QImage glyph(16, 16, QImage::Format_RGB32);
        glyph.fill(QColor(255, 0, 255));
        QPainter painter(&glyph);
        action_->icon().paint(&painter, glyph.rect());
        painter.end();
        SetGlyph(glyph);
    }
}

void TGlyphSpeedButton::PaintFace(QPainter& painter, const QRect& face, TButtonState state) {
    glyphImages_->DrawButton(painter, face, text(), layout_, margin_, spacing_,
                             markDropDown_ && dropDownMenu_ != nullptr, state);
}

void TGlyphSpeedButton::paintEvent(QPaintEvent*) {
    if (isEnabled()) {
        if (buttonState_ == TButtonState::Disabled)
            buttonState_ = down_ && groupIndex_ != 0 ? TButtonState::Exclusive : TButtonState::Up;
    } else {
        buttonState_ = TButtonState::Disabled;
        pressing_ = false;
    }
    const bool inactive = flat_ && !mouseInside_;
    const controls::TFaceColors colors = controls::TFaceColors::Current();

    if (offscreenImage_.size() != size()) offscreenImage_ = QPixmap(size());
    offscreenImage_.fill(colors.BtnFace);
    QPainter painter(&offscreenImage_);
    painter.setFont(font());
    if (transparent_) controls::PaintParentBackground(*this, painter);

    QRect face = rect();
    const bool exclusive = buttonState_ == TButtonState::Exclusive;
    if (!inactive || exclusive) {
        DrawButtonFrame(painter, face, buttonState_ == TButtonState::Down || exclusive, style_, flat_);
    } else {
        face.adjust(2, 2, -2, -2);
    }
    if (exclusive && !transparent_ && (!flat_ || inactive)) {
        QBrush checker(colors.BtnHighlight, Qt::Dense4Pattern);
        painter.fillRect(face.adjusted(-1, -1, 1, 1), colors.BtnFace);
        painter.fillRect(face.adjusted(-1, -1, 1, 1), checker);
    }
    if (buttonState_ == TButtonState::Down || exclusive) face.translate(1, 1);
    PaintFace(painter, face, DrawingState());
    painter.end();

    QPainter screen(this);
    screen.drawPixmap(0, 0, offscreenImage_);
}

bool TGlyphSpeedButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

QSize TGlyphSpeedButton::sizeHint() const { return {25, 25}; }

void TGlyphSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (menuOpen_) return;
    if (!mouseInside_ && isEnabled()) {
        mouseInside_ = true;
        Repaint();
    }
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        if (event->button() == Qt::RightButton) UpdateTracking();
        return;
    }
    if (!down_) {
        buttonState_ = TButtonState::Down;
        Repaint();
    }
    pressing_ = true;
    if (dropDownMenu_ && OpenDropDownMenu()) {
        QMouseEvent release(QEvent::MouseButtonRelease, event->position(), event->globalPosition(), Qt::LeftButton,
                            Qt::NoButton, event->modifiers());
        mouseReleaseEvent(&release);
    }
    if (allowTimer_) {
        if (!autoRepeatTimer_) {
            autoRepeatTimer_ = new QTimer(this);
            connect(autoRepeatTimer_, &QTimer::timeout, this, &TGlyphSpeedButton::RepeatTick);
        }
        autoRepeatTimer_->setInterval(InitPause);
        autoRepeatTimer_->start();
    }
}

void TGlyphSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressing_) return;
    TButtonState state = rect().contains(event->position().toPoint()) ? TButtonState::Down : TButtonState::Up;
    if (down_) state = TButtonState::Exclusive;
    if (state != buttonState_) {
        buttonState_ = state;
        Repaint();
    }
}

void TGlyphSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (autoRepeatTimer_) autoRepeatTimer_->stop();
    if (event->button() == Qt::RightButton) UpdateTracking();
    if (event->button() != Qt::LeftButton || !pressing_) return;
    pressing_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    if (groupIndex_ == 0) {
        buttonState_ = TButtonState::Up;
        mouseInside_ = false;
    } else {
        if (inside) SetDown(!down_);
        if (down_) buttonState_ = TButtonState::Exclusive;
        else if (!inside) buttonState_ = TButtonState::Up;
    }
    Repaint();
    if (inside && !menuOpen_) Click();
    UpdateTracking();
}

void TGlyphSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (menuOpen_) return;
    mousePressEvent(event);
    if (down_) emit DoubleClicked();
}

void TGlyphSpeedButton::enterEvent(QEnterEvent*) {
    if (!mouseInside_ && isEnabled() && controls::AppWindowIsActive()) SetMouseInside(true);
}

void TGlyphSpeedButton::leaveEvent(QEvent*) {
    if (mouseInside_ && isEnabled() && !pressing_) SetMouseInside(false);
}

void TGlyphSpeedButton::SetMouseInside(bool inside) {
    mouseInside_ = inside;
    if (flat_) Repaint();
    if (inside) emit MouseEnter();
    else emit MouseLeave();
}

void TGlyphSpeedButton::UpdateTracking() {
    const bool inside = isEnabled() && QApplication::widgetAt(QCursor::pos()) == this && controls::AppWindowIsActive();
    if (inside != mouseInside_) SetMouseInside(inside);
}

void TGlyphSpeedButton::SyncEnabledState() {
    if (!isEnabled()) {
        buttonState_ = TButtonState::Disabled;
        pressing_ = false;
    } else if (buttonState_ == TButtonState::Disabled) {
        buttonState_ = down_ && groupIndex_ != 0 ? TButtonState::Exclusive : TButtonState::Up;
    }
    const TButtonState expected =
        !isEnabled() ? TButtonState::Disabled : flat_ ? TButtonState::Inactive : TButtonState::Up;
    glyphImages_->BuildStateImage(expected);
    UpdateTracking();
    Repaint();
}

void TGlyphSpeedButton::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::EnabledChange: SyncEnabledState(); break;
    case QEvent::PaletteChange: glyphImages_->ReleaseImages(); Repaint(); break;
    case QEvent::FontChange: Repaint(); break;
    default: break;
    }
    QAbstractButton::changeEvent(event);
}

void TGlyphSpeedButton::showEvent(QShowEvent* event) {
    UpdateTracking();
    QAbstractButton::showEvent(event);
}

bool TGlyphSpeedButton::event(QEvent* event) {
    // The accelerator of the caption clicks at once, as a mouse click would.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled()) Click();
        return true;
    }
    return QAbstractButton::event(event);
}

bool TGlyphSpeedButton::OpenDropDownMenu() {
    QMenu* menu = dropDownMenu_;
    if (!menu) return false;
    // The menu is aligned at its left edge.
    const QPoint at = MenuPosition == dmpBottom ? QPoint(-1, height()) : QPoint(width(), -1);
    menuOpen_ = true;
    connect(menu, &QMenu::aboutToHide, this, [this] {
        menuOpen_ = false;
        buttonState_ = down_ ? TButtonState::Exclusive : TButtonState::Up;
        Repaint();
    }, Qt::SingleShotConnection);
    menu->popup(mapToGlobal(at));
    return true;
}

void TGlyphSpeedButton::RepeatTick() {
    if (autoRepeatTimer_->interval() != RepeatInterval) autoRepeatTimer_->setInterval(RepeatInterval);
    if (buttonState_ != TButtonState::Down || !pressing_) return;
    try {
        Click();
    } catch (const std::exception& e) {
        autoRepeatTimer_->stop();
        platform::ShowError(e.what());
    }
}
