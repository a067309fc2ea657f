#include "runner/RunTestForm.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "lang/DlgLangConverter.h"
#include "lang/MessageDialog.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/WindowMessages.h"
#include "platform/qt/MenuCaption.h"
#include "platform/qt/QtText.h"
#include "runner/RunnerCommands.h"

TRunTestForm::TRunTestForm(QWidget* owner, TFileAccess& store, platform::WindowHandle mainHandle,
                           std::int32_t testID, const std::string& testName)
    : TVisualChildForm(owner, mainHandle, testID, testName, "RunTestForm"), store_(store) {
    resize(DesignSize());
    setFont(QFont("MS Sans Serif"));
    // A click on the page gives the window the keyboard, so that the arrows, Space and Return
    // reach it rather than the window frame.
    setFocusPolicy(Qt::StrongFocus);
    screens_ = std::make_unique<TRunnerScreens>(*this, Handle());

    TestPopupMenu = new QMenu(this);
    TestPopupMenu->setObjectName("TestPopupMenu");
    MenuItemNext = AddItem("MenuItemNext", "Next", QKeySequence(Qt::SHIFT | Qt::Key_N));
    MenuItemBack = AddItem("MenuItemBack", "Back", QKeySequence(Qt::SHIFT | Qt::Key_B));
    MenuItemGoto = new QMenu("Go To", TestPopupMenu);
    MenuItemGoto->setObjectName("MenuItemGoto");
    TestPopupMenu->addMenu(MenuItemGoto);
    AddSeparator("MenuItemSeparator01");
    MenuItemPauseTest = AddItem("MenuItemPauseTest", "Pause", QKeySequence(Qt::SHIFT | Qt::Key_P));
    MenuItemContinueTest = AddItem("MenuItemContinueTest", "Continue", QKeySequence(Qt::SHIFT | Qt::Key_C));
    MenuItemStopTest = AddItem("MenuItemStopTest", "Stop", QKeySequence(Qt::SHIFT | Qt::Key_S));
    AddSeparator("MenuItemSeparator02");
    MenuItemMaximizeToScreen = AddItem("MenuItemMaximizeToScreen", "Maximize To Screen", {});
    MenuItemMinimizeToMDI = AddItem("MenuItemMinimizeToMDI", "Minimize To Application", {});
    AddSeparator("MenuItemSeparator03");
    MenuItemDisplayProtocol = AddItem("MenuItemDisplayProtocol", "Show Testing Protocol", {});
    MenuItemDisplayReport = AddItem("MenuItemDisplayReport", "Show Testing Results", {});
    AddSeparator("MenuItemSeparator04");
    MenuItemExit = AddItem("MenuItemExit", "Close", {});
    MessageDialog = new TMessageDialog(this);
    MessageDialog->setObjectName("MessageDialog");
    MessageDialog->DialogType = mdYesNo;
    MessageDialog->HelpContext = 0;
    ApplyLanguage();

    setProperty("Tag", testID);
    setWindowTitle(platform::ToQString(lang::GetMessageText("OBJECTSTREE_TEST_TITLE") + " (" +
                                       std::string(platform::TrimBlanks(testName)) + ")"));

    auto command = [this](std::uint32_t code) { return [this, code] { SendToMain(wm::WM_RUNTESTCOMMAND, code); }; };
    connect(MenuItemNext, &QAction::triggered, this, [this] { MenuItemNextClick(); });
    connect(MenuItemBack, &QAction::triggered, this, [this] { MenuItemBackClick(); });
    connect(MenuItemPauseTest, &QAction::triggered, this, command(rcPause));
    connect(MenuItemContinueTest, &QAction::triggered, this, command(rcContinue));
    connect(MenuItemStopTest, &QAction::triggered, this, command(rcStop));
    connect(MenuItemMaximizeToScreen, &QAction::triggered, this, command(rcMaximizeToScreen));
    connect(MenuItemMinimizeToMDI, &QAction::triggered, this, command(rcMinimizeToApplication));
    connect(MenuItemDisplayProtocol, &QAction::triggered, this, command(rcShowProtocol));
    connect(MenuItemDisplayReport, &QAction::triggered, this, command(rcShowResults));
    connect(MenuItemExit, &QAction::triggered, this, [this] { MenuItemExitClick(); });

    InitMenu();
}

TRunTestForm::~TRunTestForm() = default;

QAction* TRunTestForm::AddItem(const char* name, const char* caption, const QKeySequence& shortcut) {
    auto* a = new QAction(caption, TestPopupMenu);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    TestPopupMenu->addAction(a);
    addAction(a);   // so that its shortcut works in the window
    return a;
}

void TRunTestForm::AddSeparator(const char* name) { TestPopupMenu->addSeparator()->setObjectName(name); }

void TRunTestForm::InitMenu() {
    for (QAction* a : {MenuItemNext, MenuItemBack, MenuItemPauseTest, MenuItemStopTest, MenuItemContinueTest,
                       MenuItemMaximizeToScreen, MenuItemMinimizeToMDI, MenuItemDisplayProtocol, MenuItemDisplayReport})
        a->setEnabled(false);
    MenuItemGoto->menuAction()->setEnabled(false);
    MenuItemExit->setEnabled(true);
    TTest test;
    store_.GetTest(GetTestID(), test);
    MenuItemNext->setEnabled(true);
    if (test.MoveDirection == mdForwardBack) MenuItemBack->setEnabled(true);
    if (test.MoveDirection == mdFree) {
        MenuItemBack->setEnabled(true);
        MenuItemGoto->menuAction()->setEnabled(true);
    }
}

void TRunTestForm::SetGotoItems(const std::vector<std::string>& captions) {
    MenuItemGoto->clear();
    delete gotoGroup_;
    gotoGroup_ = nullptr;
    if (captions.empty()) return;
    gotoGroup_ = new QActionGroup(this);
    gotoGroup_->setExclusive(true);
    for (std::size_t k = 0; k < captions.size(); ++k) {
        const int i = static_cast<int>(k);
        auto* item = new QAction(platform::MenuCaption(captions[k], MenuItemGoto->font()), MenuItemGoto);
        item->setObjectName("MenuItemGoto_" + QString::number(i));
        item->setProperty("Tag", i);
        item->setCheckable(true);
        item->setChecked(false);
        gotoGroup_->addAction(item);
        MenuItemGoto->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, i] { SendToMain(wm::WM_RUNTESTGOTO, static_cast<std::uint32_t>(i)); });
    }
    QAction* separator = MenuItemGoto->addSeparator();
    separator->setObjectName("MenuItemGoto_Separator01");
    separator->setProperty("Tag", -1);
    const std::string finalText = lang::GetMessageText("RUNTEST_FINAL_SCREEN_MENUITEM");
    auto* final = new QAction(platform::MenuCaption(finalText, MenuItemGoto->font()), MenuItemGoto);
    final->setObjectName("MenuItemGoto_FinalScreen");
    final->setProperty("Tag", -1);
    MenuItemGoto->addAction(final);
    connect(final, &QAction::triggered, this, [this] { SendToMain(wm::WM_RUNTESTCOMMAND, rcFinalScreen); });
}

void TRunTestForm::MenuItemNextClick() { SendToMain(wm::WM_RUNTESTCOMMAND, rcNext); }
void TRunTestForm::MenuItemBackClick() { SendToMain(wm::WM_RUNTESTCOMMAND, rcBack); }
void TRunTestForm::MenuItemExitClick() { SendToMain(wm::WM_CHILDNOTIFY, wm::cnCloseChild); }

QAction* TRunTestForm::GotoItem(std::int32_t index) const {
    const QList<QAction*> items = MenuItemGoto->actions();
    const auto i = static_cast<std::uint32_t>(index);
    return i < static_cast<std::uint32_t>(items.size()) ? items[static_cast<qsizetype>(i)] : nullptr;
}

void TRunTestForm::HandleMessage(const platform::TWindowMessage& m) {
    if (m.Msg != wm::WM_RUNTEST) return;
    auto enable = [](QAction* a, bool on) { a->setEnabled(on); };
    switch (wm::MessageCode(m.WParam)) {
    case wm::rsCheckGotoItem:
        if (QAction* a = GotoItem(m.LParam)) a->setChecked(true);
        break;
    case wm::rsNextOn: enable(MenuItemNext, true); break;
    case wm::rsNextOff: enable(MenuItemNext, false); break;
    case wm::rsBackOn: enable(MenuItemBack, true); break;
    case wm::rsBackOff: enable(MenuItemBack, false); break;
    case wm::rsGotoOn: enable(MenuItemGoto->menuAction(), true); break;
    case wm::rsGotoOff: enable(MenuItemGoto->menuAction(), false); break;
    case wm::rsProtocolOn: enable(MenuItemDisplayProtocol, true); break;
    case wm::rsProtocolOff: enable(MenuItemDisplayProtocol, false); break;
    case wm::rsResultsOn: enable(MenuItemDisplayReport, true); break;
    case wm::rsResultsOff: enable(MenuItemDisplayReport, false); break;
    case wm::rsMaximizeOn: enable(MenuItemMaximizeToScreen, true); break;
    case wm::rsMaximizeOff: enable(MenuItemMaximizeToScreen, false); break;
    case wm::rsMinimizeOn: enable(MenuItemMinimizeToMDI, true); break;
    case wm::rsMinimizeOff: enable(MenuItemMinimizeToMDI, false); break;
    case wm::rsCloseOn: enable(MenuItemExit, true); break;
    case wm::rsCloseOff: enable(MenuItemExit, false); break;
    case wm::rsNextLinkPressed: MenuItemNextClick(); break;
    case wm::rsBackLinkPressed: MenuItemBackClick(); break;
    case wm::rsDisableGotoItem:
        if (QAction* a = GotoItem(m.LParam)) a->setEnabled(false);
        break;
    default: break;
    }
}

bool TRunTestForm::CanClose() {
    MessageDialog->Title = platform::CutShortText(platform::FromQString(windowTitle()));
    MessageDialog->Caption = lang::GetMessageText("RUNTEST_CLOSE_TEST");
    return MessageDialog->Execute() == TMessageDialog::mrYes;
}

void TRunTestForm::resizeEvent(QResizeEvent* e) {
    TVisualChildForm::resizeEvent(e);
    SendToMain(wm::WM_RUNTESTCOMMAND, rcResized);
}

namespace {

bool IsActionKey(int key) {
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Right: return true;
    default: return false;
    }
}

}  // namespace

void TRunTestForm::keyPressEvent(QKeyEvent* e) {
    if (!IsActionKey(e->key())) {
        TVisualChildForm::keyPressEvent(e);
        return;
    }
    e->accept();
    // A held key chooses or moves once, not on every repeat. The window system repeats a held
    // key as a release and a press of one moment, and does not always mark them as repeats.
    const bool repeat = e->isAutoRepeat() || (e->timestamp() != 0 && e->key() == releasedKey_ &&
                                              e->timestamp() == releasedAt_);
    if (repeat) return;
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: screens_->MoveFocus(false); break;
    case Qt::Key_Down:
    case Qt::Key_Right: screens_->MoveFocus(true); break;
    default: break;
    }
    // The release acts only where this press went: a Return that chose a menu item or closed a
    // message box leaves its release to a control that never saw the press.
    pressedKey_ = e->key();
    pressedOn_ = focusWidget();
}

void TRunTestForm::keyReleaseEvent(QKeyEvent* e) {
    const int key = e->key();
    releasedKey_ = key;
    releasedAt_ = e->timestamp();
    if (e->isAutoRepeat()) {
        e->accept();
        return;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        // Tab moves the focus before its release arrives; the release only redraws the marks.
        SendToMain(wm::WM_RUNTESTCOMMAND, rcKeyTab);
        TVisualChildForm::keyReleaseEvent(e);
        return;
    }
    if (!IsActionKey(key)) {
        TVisualChildForm::keyReleaseEvent(e);
        return;
    }
    e->accept();
    const bool paired = pressedKey_ == key && pressedOn_ == focusWidget();
    pressedKey_ = 0;
    pressedOn_ = nullptr;
    if (!paired) return;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: SendToMain(wm::WM_RUNTESTCOMMAND, rcKeySpaceEnter); break;
    case Qt::Key_Up:
    case Qt::Key_Left: SendToMain(wm::WM_RUNTESTCOMMAND, rcKeyUpLeft); break;
    case Qt::Key_Down:
    case Qt::Key_Right: SendToMain(wm::WM_RUNTESTCOMMAND, rcKeyDownRight); break;
    default: break;
    }
}

void TRunTestForm::contextMenuEvent(QContextMenuEvent* e) {
    QPoint at = e->globalPos();
    if (e->reason() == QContextMenuEvent::Keyboard) {
        // From the keyboard (the menu key) the menu opens under the focused control.
        const QWidget* focus = focusWidget();
        at = focus && focus != this ? focus->mapToGlobal(focus->rect().bottomLeft()) : mapToGlobal(QPoint(20, 20));
    }
    TestPopupMenu->popup(at);
    e->accept();
}
