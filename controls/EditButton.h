#pragma once
#include "controls/GlyphSpeedButton.h"

class TCustomComboEdit;

// The button inside a combo edit's frame. A press first moves the focus into the edit, and the
// painting adds the edit's inner edge at its left.
class TEditButton : public TGlyphSpeedButton {
    Q_OBJECT
public:
    TEditButton(TCustomComboEdit* owner, QWidget* parent);

    void Click() override;

    bool SkipClick = false;      // the next click is swallowed
    bool AcceptOnClose = true;   // a press that closes the edit's popup accepts its value

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TCustomComboEdit* owner_;
};
