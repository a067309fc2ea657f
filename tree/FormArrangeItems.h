#pragma once
#include <QDialog>

#include "help/context.h"
#include "lang/LanguageController.h"
#include "store/TypeList.h"

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

// Puts the children of one tree node into a new order. The names of the caller's objects stand
// in a check list; the moves carry the checked lines up or down and move the objects of the
// caller's list in step, so that line I always shows object I. The caller shows the dialog with
// platform::ExecModal and, when Cancelled is False, takes the new order from its list.
class TFormArrangeItems : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    static constexpr int kHelpContext = IDH_ARRANGE_ITEMS;

    // objectList: the caller's, reordered in place and never freed here.
    TFormArrangeItems(QWidget* owner, TTypeTAnyObjectSingleList* objectList);

    // True at creation, after Cancel and after any other close; False after OK.
    bool Cancelled = true;
    TTypeTAnyObjectSingleList* const ObjectList;

    QListWidget* CheckListBoxArrangeItems;
    QPushButton* BitBtnUpToStart;
    QPushButton* BitBtnUpOneStep;
    QPushButton* BitBtnDownOneStep;
    QPushButton* BitBtnDownToEnd;
    QPushButton* BitBtnSelectAllItems;
    QPushButton* BitBtnDeSelectAllItems;
    QPushButton* BitBtnOK;
    QPushButton* BitBtnCancel;
    QPushButton* ButtonDebug;

    QMenu* PopupMenuArrangeItems;
    QAction* PopupItemUpToStart;
    QAction* PopupItemUpOneStep;
    QAction* PopupItemDownOneStep;
    QAction* PopupItemDownToEnd;
    QAction* PopupItemSelectAllItems;
    QAction* PopupItemDeSelectAllItems;

    // The check list anew from ObjectList, every line unchecked.
    void FillList();
    void CheckAll(bool value);

    // The checked lines to the top, in their order, unchecked (a checked first line stays so).
    void BitBtnUpToStartClick();
    // Each checked line above an unchecked neighbour, so a run moves as a block; then all unchecked.
    void BitBtnUpOneStepClick();
    void BitBtnDownOneStepClick();
    // The checked lines to the bottom, in their order, unchecked (a checked last line stays so).
    void BitBtnDownToEndClick();
    void BitBtnSelectAllItemsClick() { CheckAll(true); }
    void BitBtnDeSelectAllItemsClick() { CheckAll(false); }
    void BitBtnOKClick();
    void BitBtnCancelClick();
    void ButtonDebugClick() { FillList(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool IsChecked(int i) const;
    void SetChecked(int i, bool value);
    // Line and object from one index to another, the others shifting to make room.
    void MoveItem(int from, int to);
    // A move command: nothing with fewer than two lines, else the move, then OK is enabled.
    template <typename F>
    void RunMove(F&& move);
};
