#include "tree/FormArrangeItems.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "lang/HelpKey.h"
#include "platform/qt/QtText.h"
#include "store/Records.h"
#include "platform/qt/ModalDialogs.h"

namespace {

constexpr int kButtonSize = 41;
constexpr int kGlyphSize = 24;

enum class TGlyph { ToStart, Up, Down, ToEnd, CheckAll, UncheckAll };

// The pictures of the picture buttons: arrows, with a bar for "to the start" and "to the end",
// and a check box with and without its mark.
QIcon Glyph(TGlyph glyph) {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x20, 0x40, 0x90);
    const auto arrow = [&](bool up, bool bar) {
        QPainterPath path;
        const qreal tip = up ? 4 : 20, base = up ? 13 : 11, tail = up ? 20 : 4;
        path.moveTo(12, tip);
        path.lineTo(20, base);
        path.lineTo(15, base);
        path.lineTo(15, tail);
        path.lineTo(9, tail);
        path.lineTo(9, base);
        path.lineTo(4, base);
        path.closeSubpath();
        p.fillPath(path, ink);
        if (bar) p.fillRect(QRectF(4, up ? 1 : 21, 16, 2), ink);
    };
    switch (glyph) {
        case TGlyph::ToStart: arrow(true, true); break;
        case TGlyph::Up: arrow(true, false); break;
        case TGlyph::Down: arrow(false, false); break;
        case TGlyph::ToEnd: arrow(false, true); break;
        case TGlyph::CheckAll:
        case TGlyph::UncheckAll:
            p.setPen(QPen(ink, 1.5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 4.5, 15, 15));
            if (glyph == TGlyph::CheckAll) {
                p.setPen(QPen(ink, 2.5));
                p.drawPolyline(QPolygonF({QPointF(7.5, 12), QPointF(11, 16), QPointF(17, 8)}));
            }
            break;
    }
    return QIcon(pixmap);
}

// A picture with a short caption beside it, which carries the button's Alt letter; the column of
// these buttons is as wide as its widest caption needs.
QPushButton* PictureButton(QWidget* parent, const char* name, const char* caption, const char* hint, TGlyph glyph) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setToolTip(QString::fromUtf8(hint));
    b->setIcon(Glyph(glyph));
    b->setIconSize(QSize(kGlyphSize, kGlyphSize));
    b->setMinimumWidth(kButtonSize);
    b->setFixedHeight(kButtonSize);
    b->setAutoDefault(false);
    return b;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setToolTip(QString::fromUtf8(hint));
    return b;
}

QAction* PopupItem(QMenu* menu, const char* name, const char* caption) {
    auto* a = new QAction(QString::fromUtf8(caption), menu);
    a->setObjectName(name);
    menu->addAction(a);
    return a;
}

}  // namespace

TFormArrangeItems::TFormArrangeItems(QWidget* owner, TTypeTAnyObjectSingleList* objectList)
    : TLanguageController<QDialog>(owner), ObjectList(objectList) {
    setObjectName("FormArrangeItems");
    setWindowTitle(QStringLiteral("Arrange Items"));
    // Windows opened from this one that have no topic of their own show its topic.
    setProperty("HelpContext", kHelpContext);

    CheckListBoxArrangeItems = new QListWidget(this);
    CheckListBoxArrangeItems->setObjectName("CheckListBoxArrangeItems");
    CheckListBoxArrangeItems->setSelectionMode(QAbstractItemView::SingleSelection);
    const struct {
        QPushButton** Button;
        const char* Name;
        const char* Caption;
        const char* Hint;
        TGlyph Picture;
    } pictures[] = {
        {&BitBtnUpToStart, "BitBtnUpToStart", "Top", "Move all selected elements up to start", TGlyph::ToStart},
        {&BitBtnUpOneStep, "BitBtnUpOneStep", "Up", "Move all selected elements up for one step", TGlyph::Up},
        {&BitBtnDownOneStep, "BitBtnDownOneStep", "Down", "Move all selected elements down for one step", TGlyph::Down},
        {&BitBtnDownToEnd, "BitBtnDownToEnd", "Bottom", "Move all selected elements down to end", TGlyph::ToEnd},
        {&BitBtnSelectAllItems, "BitBtnSelectAllItems", "Check all", "Select All Items", TGlyph::CheckAll},
        {&BitBtnDeSelectAllItems, "BitBtnDeSelectAllItems", "Check none", "Deselect All Items", TGlyph::UncheckAll},
    };
    for (const auto& p : pictures) *p.Button = PictureButton(this, p.Name, p.Caption, p.Hint, p.Picture);
    ButtonDebug = Button(this, "ButtonDebug", "Display Object List", "");
    BitBtnOK = Button(this, "BitBtnOK", "OK", "Confirm current arrangement");
    BitBtnOK->setDefault(true);
    BitBtnCancel = Button(this, "BitBtnCancel", "Cancel", "Cancel changes");

    PopupMenuArrangeItems = new QMenu(this);
    PopupMenuArrangeItems->setObjectName("PopupMenuArrangeItems");
    PopupItemUpToStart = PopupItem(PopupMenuArrangeItems, "PopupItemUpToStart", "Move All Selected To Start");
    PopupItemUpOneStep = PopupItem(PopupMenuArrangeItems, "PopupItemUpOneStep", "Move All Selected Up For One Step");
    PopupItemDownOneStep =
        PopupItem(PopupMenuArrangeItems, "PopupItemDownOneStep", "Move All Selected Down For One Step");
    PopupItemDownToEnd = PopupItem(PopupMenuArrangeItems, "PopupItemDownToEnd", "Move All Selected To End");
    PopupMenuArrangeItems->addSeparator();
    PopupItemSelectAllItems = PopupItem(PopupMenuArrangeItems, "PopupItemSelectAllItems", "Select All Items");
    PopupItemDeSelectAllItems = PopupItem(PopupMenuArrangeItems, "PopupItemDeSelectAllItems", "Deselect All Items");

    auto* root = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    root->addLayout(body, 1);
    body->addWidget(CheckListBoxArrangeItems, 1);
    auto* moves = new QVBoxLayout;
    body->addLayout(moves);
    for (QPushButton* b : {BitBtnUpToStart, BitBtnUpOneStep, BitBtnDownOneStep, BitBtnDownToEnd}) moves->addWidget(b);
    moves->addStretch(1);
    moves->addWidget(BitBtnSelectAllItems);
    moves->addWidget(BitBtnDeSelectAllItems);
    auto* buttons = new QHBoxLayout;
    root->addLayout(buttons);
    buttons->addWidget(ButtonDebug);
    buttons->addStretch(1);
    buttons->addWidget(BitBtnOK);
    buttons->addWidget(BitBtnCancel);

    const auto on = [this](auto* sender, auto signal, void (TFormArrangeItems::*handler)()) {
        connect(sender, signal, this, [this, handler] { (this->*handler)(); });
    };
    on(BitBtnUpToStart, &QPushButton::clicked, &TFormArrangeItems::BitBtnUpToStartClick);
    on(BitBtnUpOneStep, &QPushButton::clicked, &TFormArrangeItems::BitBtnUpOneStepClick);
    on(BitBtnDownOneStep, &QPushButton::clicked, &TFormArrangeItems::BitBtnDownOneStepClick);
    on(BitBtnDownToEnd, &QPushButton::clicked, &TFormArrangeItems::BitBtnDownToEndClick);
    on(BitBtnSelectAllItems, &QPushButton::clicked, &TFormArrangeItems::BitBtnSelectAllItemsClick);
    on(BitBtnDeSelectAllItems, &QPushButton::clicked, &TFormArrangeItems::BitBtnDeSelectAllItemsClick);
    on(BitBtnOK, &QPushButton::clicked, &TFormArrangeItems::BitBtnOKClick);
    on(BitBtnCancel, &QPushButton::clicked, &TFormArrangeItems::BitBtnCancelClick);
    on(ButtonDebug, &QPushButton::clicked, &TFormArrangeItems::ButtonDebugClick);
    on(PopupItemUpToStart, &QAction::triggered, &TFormArrangeItems::BitBtnUpToStartClick);
    on(PopupItemUpOneStep, &QAction::triggered, &TFormArrangeItems::BitBtnUpOneStepClick);
    on(PopupItemDownOneStep, &QAction::triggered, &TFormArrangeItems::BitBtnDownOneStepClick);
    on(PopupItemDownToEnd, &QAction::triggered, &TFormArrangeItems::BitBtnDownToEndClick);
    on(PopupItemSelectAllItems, &QAction::triggered, &TFormArrangeItems::BitBtnSelectAllItemsClick);
    on(PopupItemDeSelectAllItems, &QAction::triggered, &TFormArrangeItems::BitBtnDeSelectAllItemsClick);

    // The form's and the list's popup menu.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(CheckListBoxArrangeItems)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { PopupMenuArrangeItems->popup(w->mapToGlobal(at)); });
    }

    ApplyLanguage();
    ButtonDebug->hide();
    Cancelled = true;
    BitBtnOK->setEnabled(false);
    FillList();
    // A fixed dialog of the design's client size, larger only when the texts need it.
    platform::SetDialogBorder(*this, QSize(482, 418).expandedTo(minimumSizeHint()));
    platform::CentreOnDesktop(*this);
}

void TFormArrangeItems::FillList() {
    CheckListBoxArrangeItems->clear();
    if (!ObjectList) return;
    for (int i = 0; i < ObjectList->GetCount(); ++i) {
        const TAnyObject* object = ObjectList->Get(i);
        auto* line = new QListWidgetItem(platform::ToQString(object ? object->Name : std::string()));
        line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Unchecked);
        CheckListBoxArrangeItems->addItem(line);
    }
}

void TFormArrangeItems::CheckAll(bool value) {
    for (int i = 0; i < CheckListBoxArrangeItems->count(); ++i) SetChecked(i, value);
}

bool TFormArrangeItems::IsChecked(int i) const { return CheckListBoxArrangeItems->item(i)->checkState() == Qt::Checked; }

void TFormArrangeItems::SetChecked(int i, bool value) {
    CheckListBoxArrangeItems->item(i)->setCheckState(value ? Qt::Checked : Qt::Unchecked);
}

void TFormArrangeItems::MoveItem(int from, int to) {
    if (from == to) return;
    QListWidgetItem* line = CheckListBoxArrangeItems->takeItem(from);
    CheckListBoxArrangeItems->insertItem(to, line);
    // The list of objects moves its cells by neighbouring swaps.
    const int step = from < to ? 1 : -1;
    if (ObjectList)
        for (int i = from; i != to; i += step) ObjectList->SwapCells(i, i + step);
}

template <typename F>
void TFormArrangeItems::RunMove(F&& move) {
    const int count = CheckListBoxArrangeItems->count();
    if (count < 2) return;
    move(count - 1);
    BitBtnOK->setEnabled(true);
}

void TFormArrangeItems::BitBtnUpToStartClick() {
    RunMove([this](int last) {
        for (int i = last; i >= 1;) {
            if (IsChecked(i)) {
                SetChecked(i, false);
                MoveItem(i, 0);   // index i now holds the line that was above it
            } else {
                --i;
            }
        }
    });
}

void TFormArrangeItems::BitBtnUpOneStepClick() {
    RunMove([this](int last) {
        for (int i = 1; i <= last; ++i)
            if (IsChecked(i) && !IsChecked(i - 1)) MoveItem(i, i - 1);
        CheckAll(false);
    });
}

void TFormArrangeItems::BitBtnDownOneStepClick() {
    RunMove([this](int last) {
        for (int i = last - 1; i >= 0; --i)
            if (IsChecked(i) && !IsChecked(i + 1)) MoveItem(i, i + 1);
        CheckAll(false);
    });
}

void TFormArrangeItems::BitBtnDownToEndClick() {
    RunMove([this](int last) {
        for (int i = 0; i < last;) {
            if (IsChecked(i)) {
                SetChecked(i, false);
                MoveItem(i, last);   // index i now holds the line that was below it
            } else {
                ++i;
            }
        }
    });
}

void TFormArrangeItems::BitBtnOKClick() {
    Cancelled = false;
    done(QDialog::Accepted);
}

void TFormArrangeItems::BitBtnCancelClick() {
    Cancelled = true;
    done(QDialog::Rejected);
}

void TFormArrangeItems::keyPressEvent(QKeyEvent* event) {
    if (!lang::AnswerHelpKey(*event, kHelpContext)) QDialog::keyPressEvent(event);
}
