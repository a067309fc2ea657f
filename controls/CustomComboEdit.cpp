#include "controls/CustomComboEdit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>
#include <exception>

#include "controls/EditButton.h"
#include "platform/UserInteraction.h"

namespace {

// Keeps the text to one line: line breaks that a paste or a program brings are dropped.
class TLineBreakFilter : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        qsizetype before = 0;
        for (qsizetype i = 0; i < input.size() && i < pos; ++i)
            if (input[i] == '\r' || input[i] == '\n') ++before;
        if (before > 0 || input.contains('\r') || input.contains('\n')) {
            input.remove('\r');
            input.remove('\n');
            pos -= static_cast<int>(before);
        }
        return Acceptable;
    }
};

// Three black 2 x 2 dots on a white ground that is drawn transparent.
QImage EllipsisGlyph(int buttonWidth) {
    const int width = std::max(1, buttonWidth - 6);
    QImage image(width, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int gap = std::clamp((width - 6) / 2, 1, 3);
    int x = (width - 6 - 2 * gap) / 2;
    QPainter p(&image);
    for (int dot = 0; dot < 3; ++dot, x += 2 + gap) p.fillRect(QRect(x, 1, 2, 2), Qt::black);
    return image;
}

// The combo-box arrow: a downward triangle on a magenta ground that is drawn transparent.
QImage DropDownGlyph() {
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    for (int row = 0; row < 4; ++row) p.fillRect(QRect(row, row, 7 - 2 * row, 1), Qt::black);
    return image;
}

}  // namespace

TCustomComboEdit::TCustomComboEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new TLineBreakFilter(this));
    ButtonHost = new QWidget(this);
    ButtonHost->setObjectName("qt_ButtonHost");
    ButtonHost->setCursor(Qt::ArrowCursor);
    ButtonHost->resize(21, 17);
    Button = new TEditButton(this, ButtonHost);
    Button->setObjectName("qt_EditButton");
    Button->setGeometry(0, 0, ButtonHost->width(), ButtonHost->height());
    connect(Button, &QAbstractButton::clicked, this, &TCustomComboEdit::ButtonClicked);
    resize(width(), 21);
    UpdateButtonBounds();
}

TCustomComboEdit::~TCustomComboEdit() { disconnect(Button, nullptr, this, nullptr); }

void TCustomComboEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    setReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetDirectInput(bool value) {
    directInput_ = value;
    setReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetAlignment(TTextAlignment value) {
    alignment_ = value;
    setAlignment(value == taRightJustify ? Qt::AlignRight : value == taCenter ? Qt::AlignHCenter : Qt::AlignLeft);
}

void TCustomComboEdit::SetBorderStyle(TBorderStyle value) {
    setFrame(value == bsSingle);
    UpdateButtonBounds();
}

const QImage& TCustomComboEdit::Glyph() const { return Button->Glyph(); }

void TCustomComboEdit::SetGlyph(const QImage& glyph) {
    Button->SetGlyph(glyph);
    glyphKind_ = gkCustom;
}

int TCustomComboEdit::NumGlyphs() const { return Button->NumGlyphs(); }

void TCustomComboEdit::SetNumGlyphs(int value) {
    if (glyphKind_ == gkDropDown || glyphKind_ == gkEllipsis) value = 1;
    else if (glyphKind_ == gkDefault) value = DefaultGlyphCount;
    Button->SetNumGlyphs(value);
}

int TCustomComboEdit::ButtonWidth() const { return Button->width(); }

void TCustomComboEdit::SetButtonWidth(int value) {
    if (value == ButtonWidth()) return;
    ButtonHost->setVisible(value > 1);
    if (creating_) {
        ButtonHost->resize(value, ButtonHost->height());
        Button->resize(value, Button->height());
        RebuildGlyph();
    } else if (value < width()) {
        Button->resize(value, Button->height());
        UpdateButtonBounds();
        RebuildGlyph();
    }
}

QString TCustomComboEdit::ButtonHint() const { return Button->toolTip(); }
void TCustomComboEdit::SetButtonHint(const QString& hint) { Button->setToolTip(hint); }

void TCustomComboEdit::SetGlyphKind(TGlyphKind value) {
    if (value == glyphKind_) return;
    glyphKind_ = value;
    RebuildGlyph();
    if (value == gkDefault && !Glyph().isNull()) {
        SetButtonWidth(std::max(Glyph().width() / NumGlyphs() + 6, ButtonWidth()));
    } else if (value == gkDropDown) {
        SetButtonWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    }
}

void TCustomComboEdit::RebuildGlyph() {
    switch (glyphKind_) {
    case gkDefault:
        Button->SetGlyph(GetDefaultGlyph());
        Button->SetNumGlyphs(DefaultGlyphCount);
        break;
    case gkDropDown:
        Button->SetGlyph(DropDownGlyph());
        Button->SetNumGlyphs(1);
        break;
    case gkEllipsis:
        Button->SetGlyph(EllipsisGlyph(ButtonWidth()));
        Button->SetNumGlyphs(1);
        break;
    case gkCustom: break;
    }
}

int TCustomComboEdit::FrameWidth() const {
    if (!hasFrame()) return 0;
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
}

void TCustomComboEdit::UpdateButtonBounds() {
    const int b = Button->width();
    const int f = FrameWidth();
    ButtonHost->setGeometry(width() - b - f, f, b, std::max(0, height() - 2 * f));
    Button->resize(b, ButtonHost->height());
    UpdateEditRect();
}

void TCustomComboEdit::UpdateEditRect() {
    setTextMargins(0, 0, ButtonHost->isVisibleTo(this) ? ButtonHost->width() : 0, 0);
}

int TCustomComboEdit::MinimumHeight() const { return fontMetrics().height() + 4 * 1 + 1; }

void TCustomComboEdit::resizeEvent(QResizeEvent* event) {
    if (height() < MinimumHeight()) {
        resize(width(), MinimumHeight());
        return;
    }
    QLineEdit::resizeEvent(event);
    UpdateButtonBounds();
}

void TCustomComboEdit::ButtonClicked() {
    if (readOnly_ && !ClickWhenReadOnly) return;
    // A failure of the click ends here: nothing may cross the event loop.
    try {
        DoButtonClick();
    } catch (const std::exception& e) {
        platform::ShowError(e.what());
    }
}

void TCustomComboEdit::DoButtonClick() {
    if (OnButtonClick) OnButtonClick(*this);
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((mods & Qt::ControlModifier) && (key == Qt::Key_Tab || enter)) {
        event->ignore();   // the dialog's own key handling takes it
        return;
    }
    if (ClickKey.count() == 1 && ClickKey[0] == QKeyCombination(mods, Qt::Key(key)) && ButtonWidth() > 0) {
        ButtonClicked();
        event->accept();
        return;
    }
    // Enter and Escape reach the dialog, so its default and cancel buttons answer them.
    QLineEdit::keyPressEvent(event);
    if (enter || key == Qt::Key_Escape) event->ignore();
}

void TCustomComboEdit::focusInEvent(QFocusEvent* event) {
    editFocused_ = true;
    QLineEdit::focusInEvent(event);
    const bool byKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
                            event->reason() == Qt::ShortcutFocusReason;
    if (byKeyboard && !(AutoSelect && directInput_)) deselect();
}

void TCustomComboEdit::focusOutEvent(QFocusEvent* event) {
    editFocused_ = false;
    QLineEdit::focusOutEvent(event);
}

void TCustomComboEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) UpdateButtonBounds();
}
