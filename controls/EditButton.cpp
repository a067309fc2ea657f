#include "controls/EditButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlUtilities.h"
#include "controls/CustomComboEdit.h"

TEditButton::TEditButton(TCustomComboEdit* owner, QWidget* parent) : TGlyphSpeedButton(parent), owner_(owner) {}

void TEditButton::Click() {
    if (SkipClick) {
        SkipClick = false;
        return;
    }
    TGlyphSpeedButton::Click();
}

void TEditButton::paintEvent(QPaintEvent* event) {
    TGlyphSpeedButton::paintEvent(event);
    if (ButtonState() == TButtonState::Down) return;
    const controls::TFaceColors c = controls::TFaceColors::Current();
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, 1, height() - 1), c.BtnFace);
    painter.fillRect(QRect(1, 1, 1, height() - 3), c.BtnHighlight);
}

void TEditButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // No edit of the program has a popup, so a press never closes one.
        SkipClick = false;
        if (owner_ && (owner_->focusPolicy() & Qt::TabFocus) && owner_->isEnabled() && owner_->isVisible() &&
            !owner_->hasFocus())
            owner_->setFocus(Qt::MouseFocusReason);
    }
    TGlyphSpeedButton::mousePressEvent(event);
}
