#pragma once
#include <QPointer>
#include <QSize>

#include <memory>
#include <string>
#include <vector>

#include "help/context.h"
#include "runner/RunnerScreens.h"
#include "runner/VisualChildForm.h"
#include "store/FileAccess.h"

class QAction;
class QActionGroup;
class QMenu;
class TMessageDialog;

// The window a test runs in: the host of the runner's pages, with the popup menu of the run.
// It holds no rule of the run: menu commands, resizes and navigation keys go to the main window
// (WM_RUNTESTCOMMAND, and WM_RUNTESTGOTO for a question of the Go-To submenu), and the runner's
// WM_RUNTEST notices switch the menu items.
class TRunTestForm : public TVisualChildForm {
    Q_OBJECT
public:
    TRunTestForm(QWidget* owner, TFileAccess& store, platform::WindowHandle mainHandle, std::int32_t testID,
                 const std::string& testName);
    ~TRunTestForm() override;

    // The size of the window's page as designed: what cascading never shrinks it below.
    static QSize DesignSize() { return {559, 490}; }

    // What the runner draws into.
    TRunnerScreens& View() { return *screens_; }
    int HelpContext = IDH_TEST_WINDOW;

    QMenu* TestPopupMenu;
    QAction* MenuItemNext;
    QAction* MenuItemBack;
    QMenu* MenuItemGoto;
    QAction* MenuItemPauseTest;
    QAction* MenuItemContinueTest;
    QAction* MenuItemStopTest;
    QAction* MenuItemMaximizeToScreen;
    QAction* MenuItemMinimizeToMDI;
    QAction* MenuItemDisplayProtocol;
    QAction* MenuItemDisplayReport;
    QAction* MenuItemExit;
    TMessageDialog* MessageDialog;

    // The Go-To submenu: one item per question of the run, in its order, then the final screen.
    // No captions, no items (a test that is not free).
    void SetGotoItems(const std::vector<std::string>& captions);

    void MenuItemNextClick();
    void MenuItemBackClick();
    void MenuItemExitClick();

protected:
    void HandleMessage(const platform::TWindowMessage& message) override;
    bool CanClose() override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void InitMenu();
    // The Go-To item of a question at index (taken as unsigned), or nullptr.
    QAction* GotoItem(std::int32_t index) const;
    QAction* AddItem(const char* name, const char* caption, const QKeySequence& shortcut);
    void AddSeparator(const char* name);

    TFileAccess& store_;
    std::unique_ptr<TRunnerScreens> screens_;
    QActionGroup* gotoGroup_ = nullptr;
    // The last key pressed on the page and the control that had the focus then.
    int pressedKey_ = 0;
    QPointer<QWidget> pressedOn_;
    // The last key released and when: a press of the same moment is a repeat.
    int releasedKey_ = 0;
    quint64 releasedAt_ = 0;
};
