#include "app/MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QApplication>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>

#include "app/FormAbout.h"
#include "app/HtmlHelpBridge.h"
#include "app/LinkAddresses.h"
#include "app/Links.h"
#include "app/MenuImages.h"
#include "app/ToolbarForm.h"
#include "lang/DlgLangConverter.h"
#include "lang/HelpHook.h"
#include "lang/HelpKey.h"
#include "lang/Helpers.h"
#include "lang/MessageDialog.h"
#include "lang/VersionInformation.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SafeFile.h"
#include "platform/UserInteraction.h"
#include "platform/WindowMessages.h"
#include "platform/qt/MenuCaption.h"
#include "platform/qt/BusyCursor.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "store/FileAccess.h"
#include "store/FormDatastoreDebug.h"
#include "tree/FindForm.h"
#include "tree/ObjectsTree.h"

namespace {

constexpr const char* kProjectExt = "kvd";

QString Text(const char* key) { return platform::ToQString(lang::GetMessageText(key)); }

// "MenuItemProjectOpen" -> "SpeedButtonProjectOpen": a tool button is named after its menu item.
QString SpeedButtonName(const QString& menuItem) {
    return QStringLiteral("SpeedButton") + menuItem.mid(QStringLiteral("MenuItem").size());
}

// The tool bars, in the order of the Toolbars submenu and of the setup dialog: each bar with its
// name and caption, its item in the submenu with that item's name and caption, and the commands
// on the bar.
struct TToolbarEntry {
    QToolBar* TMainForm::*Bar;
    const char* Name;
    const char* Caption;
    QAction* TMainForm::*MenuItem;
    const char* MenuItemName;
    const char* MenuItemCaption;
    std::vector<QAction* TMainForm::*> Buttons;
};

const std::vector<TToolbarEntry>& ToolbarEntries() {
    using M = TMainForm;
    static const std::vector<TToolbarEntry> entries = {
        {&M::ToolBarFile, "ToolBarFile", "File", &M::MenuItemEditToolbarFile, "MenuItemEditToolbarFile", "&File",
         {&M::MenuItemProjectCreate, &M::MenuItemProjectOpen, &M::MenuItemProjectSave, &M::MenuItemProjectSaveAs,
          &M::MenuItemProjectClose, &M::MenuItemFileImportTests, &M::MenuItemFileExportTests, &M::MenuItemFileExit}},
        {&M::ToolBarEdit, "ToolBarEdit", "Edit", &M::MenuItemEditToolbarEdit, "MenuItemEditToolbarEdit", "&Edit",
         {&M::MenuItemEditFind, &M::MenuItemEditFindNext, &M::MenuItemEditToolbarsSetup}},
        {&M::ToolBarView, "ToolBarView", "View", &M::MenuItemEditToolbarView, "MenuItemEditToolbarView", "&View",
         {&M::MenuItemViewShowChildNodes, &M::MenuItemViewHideChildNodes}},
        {&M::ToolBarObject, "ToolBarObject", "Object", &M::MenuItemEditToolbarObject, "MenuItemEditToolbarObject",
         "&Object",
         {&M::MenuItemObjectCreate, &M::MenuItemObjectChange, &M::MenuItemObjectRemove,
          &M::MenuItemObjectArrangeItems, &M::MenuItemObjectRemoveChildren, &M::MenuItemObjectRunTest}},
        {&M::ToolBarHelp, "ToolBarHelp", "Help", &M::MenuItemEditToolbarHelp, "MenuItemEditToolbarHelp", "&Help",
         {&M::MenuItemHelpContext, &M::MenuItemHelpHomepage, &M::MenuItemHelpSupport}},
    };
    return entries;
}

}  // namespace

TMainForm::TMainForm(platform::FormatSettings settings, QWidget* parent)
    : TLanguageController(parent), settings_(settings), updateCheck_(std::make_unique<TAcceptEveryFile>()) {
    setObjectName("MainForm");
    resize(995, 734);
    // The toolbar menu of the platform would bypass the Toolbars submenu and its checks.
    setContextMenuPolicy(Qt::NoContextMenu);
    handle_ = platform::MessageHub().Register([this](const platform::TWindowMessage& m) {
        Guarded([&] { HandleMessage(m); });
    });

    BuildMenus();
    BuildToolBars();
    BuildPopup();
    BuildPanels();
    MessageDialog = new TMessageDialog(this);
    MessageDialog->setObjectName("MessageDialog");
    ApplyLanguage();

    ResetFind();
    TRunnerHost::TEvents events;
    events.WindowOpened = [this](TRunTestForm& form) {
        // F1 in a test window asks for the test window's topic.
        form.setProperty("HelpContext", form.HelpContext);
        AddWindowMenuItem(lang::GetMessageText("RUN_TEST_MENU_ADDING") + " (" + form.Title() + ")", form.Handle());
    };
    events.WindowFreed = [this](platform::WindowHandle handle) { RemoveWindowMenuItem(handle); };
    runners_ = std::make_unique<TRunnerHost>([] { return GlobalStore().get(); }, MdiArea, handle_, std::move(events));

    StatusLabel = new QLabel(statusBar());
    StatusLabel->setObjectName("StatusLabel");
    statusBar()->addPermanentWidget(StatusLabel, 1);
    Tree = new TObjectsTree(TreePanel, handle_);
    TreePanel->layout()->addWidget(Tree);
    Tree->SetStatusLabel(StatusLabel);
    Tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu->popup(Tree->viewport()->mapToGlobal(pos)); });

    WindowMenuCount = 0;
    MenuItemDebugShowDM->setEnabled(true);
    MenuItemDebugHideDM->setEnabled(false);
    MessageDialog->Title = lang::GetMessageText("APPLICATION_NAME");
    MessageDialog->HelpContext = HelpContext;
    // A window opened from this one that has no topic of its own shows this window's.
    setProperty("HelpContext", HelpContext);
    ConnectCommands();
    // No project is open at start, whatever a window before this one left behind; the commands
    // and the caption follow.
    ReplaceProject(nullptr);
}

TMainForm::~TMainForm() {
    // Nothing reaches this window any more; then the project goes as on Close, and after it the
    // runner host and the tree.
    platform::MessageHub().Unregister(handle_);
    try {
        ReplaceProject(nullptr);
    } catch (const std::exception&) {
        // Only the refreshed commands can fail (a text missing), after everything was freed.
    }
    runners_.reset();
    delete Tree;
    Tree = nullptr;
}

// ---- building

QMenu* TMainForm::AddMenu(const char* name, const char* caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    commands_.insert(name, menu->menuAction());
    return menu;
}

QAction* TMainForm::AddCommand(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut) {
    auto* a = new QAction(CommandIcon(name), caption, menu);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    menu->addAction(a);
    commands_.insert(name, a);
    return a;
}

void TMainForm::AddSeparator(QMenu* menu, const char* name) {
    QAction* s = menu->addSeparator();
    s->setObjectName(name);
    commands_.insert(name, s);
}

void TMainForm::BuildMenus() {
    menuBar()->setObjectName("MainMenu");
    MenuItemFile = AddMenu("MenuItemFile", "&File");
    MenuItemProjectCreate = AddCommand(MenuItemFile, "MenuItemProjectCreate", "Create", QKeySequence(Qt::CTRL | Qt::Key_N));
    MenuItemProjectOpen = AddCommand(MenuItemFile, "MenuItemProjectOpen", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuItemProjectSave = AddCommand(MenuItemFile, "MenuItemProjectSave", "Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    MenuItemProjectSaveAs = AddCommand(MenuItemFile, "MenuItemProjectSaveAs", "Save as...");
    MenuItemProjectClose = AddCommand(MenuItemFile, "MenuItemProjectClose", "Close");
    AddSeparator(MenuItemFile, "MenuItemFileSeparator01");
    MenuItemFileImportTests = AddCommand(MenuItemFile, "MenuItemFileImportTests", "&Import Test...");
    MenuItemFileExportTests = AddCommand(MenuItemFile, "MenuItemFileExportTests", "&Export Test...");
    AddSeparator(MenuItemFile, "MenuItemFileSeparator02");
    MenuItemFileExit = AddCommand(MenuItemFile, "MenuItemFileExit", "&Exit", QKeySequence(Qt::CTRL | Qt::Key_E));

    MenuItemEdit = AddMenu("MenuItemEdit", "&Edit");
    MenuItemEditFind = AddCommand(MenuItemEdit, "MenuItemEditFind", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F));
    MenuItemEditFindNext = AddCommand(MenuItemEdit, "MenuItemEditFindNext", "Find &next", QKeySequence(Qt::Key_F3));
    AddSeparator(MenuItemEdit, "MenuItemEditSeparator01");
    MenuItemEditCut = AddCommand(MenuItemEdit, "MenuItemEditCut", "Cut", QKeySequence(Qt::CTRL | Qt::Key_X));
    MenuItemEditCopy = AddCommand(MenuItemEdit, "MenuItemEditCopy", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    MenuItemEditPaste = AddCommand(MenuItemEdit, "MenuItemEditPaste", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    AddSeparator(MenuItemEdit, "MenuItemEditSeparator02");
    MenuItemEditToolbars = MenuItemEdit->addMenu("&Toolbars");
    MenuItemEditToolbars->setObjectName("MenuItemEditToolbars");
    commands_.insert("MenuItemEditToolbars", MenuItemEditToolbars->menuAction());
    for (const TToolbarEntry& t : ToolbarEntries()) {
        QAction* a = this->*t.MenuItem = AddCommand(MenuItemEditToolbars, t.MenuItemName, t.MenuItemCaption);
        a->setCheckable(true);
        a->setChecked(true);
    }
    AddSeparator(MenuItemEditToolbars, "MenuItemEditToolbarsSeparator");
    MenuItemEditToolbarsSetup = AddCommand(MenuItemEditToolbars, "MenuItemEditToolbarsSetup", "&Toolbar Setup...");

    MenuItemView = AddMenu("MenuItemView", "&View");
    MenuItemViewShowChildNodes = AddCommand(MenuItemView, "MenuItemViewShowChildNodes", "&Show All Children",
                                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    MenuItemViewHideChildNodes = AddCommand(MenuItemView, "MenuItemViewHideChildNodes", "&Hide All Children",
                                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_H));

    MenuItemObject = AddMenu("MenuItemObject", "&Object");
    MenuItemObjectCreate =
        AddCommand(MenuItemObject, "MenuItemObjectCreate", "&Create...", QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    MenuItemObjectChange =
        AddCommand(MenuItemObject, "MenuItemObjectChange", "&Change...", QKeySequence(Qt::SHIFT | Qt::Key_Return));
    MenuItemObjectRemove =
        AddCommand(MenuItemObject, "MenuItemObjectRemove", "&Remove...", QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    AddSeparator(MenuItemObject, "MenuItemObjectSeparator01");
    MenuItemObjectArrangeItems = AddCommand(MenuItemObject, "MenuItemObjectArrangeItems", "Arrange Items...");
    MenuItemObjectRemoveChildren = AddCommand(MenuItemObject, "MenuItemObjectRemoveChildren",
                                              "Remove All Child Objects", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D));
    AddSeparator(MenuItemObject, "MenuItemObjectSeparator02");
    MenuItemObjectRunTest =
        AddCommand(MenuItemObject, "MenuItemObjectRunTest", "Run Test", QKeySequence(Qt::CTRL | Qt::Key_R));

    WindowMenuItem = AddMenu("WindowMenuItem", "&Window");
    CascadeMenuItem = AddCommand(WindowMenuItem, "CascadeMenuItem", "&Cascade");
    TileMenuItem = AddCommand(WindowMenuItem, "TileMenuItem", "&Tile");
    windowItems_ = new QActionGroup(WindowMenuItem);
    windowItems_->setExclusive(true);

    MenuItemHelp = AddMenu("MenuItemHelp", "&Help");
    MenuItemHelpContext = AddCommand(MenuItemHelp, "MenuItemHelpContext", "&Context");
    MenuItemHelpHomepage = AddCommand(MenuItemHelp, "MenuItemHelpHomepage", "Home &page");
    MenuItemHelpSupport = AddCommand(MenuItemHelp, "MenuItemHelpSupport", "&Email To Support");
    AddSeparator(MenuItemHelp, "MenuItemHelpSeparator01");
    MenuItemHelpAbout = AddCommand(MenuItemHelp, "MenuItemHelpAbout", "&About...");

    MenuItemDebugging = AddMenu("MenuItemDebugging", "Debugging");
    MenuItemDebugShowDM = AddCommand(MenuItemDebugging, "MenuItemDebugShowDM", "Show DM");
    MenuItemDebugHideDM = AddCommand(MenuItemDebugging, "MenuItemDebugHideDM", "Hide DM");
}

QToolBar* TMainForm::AddToolBar(const char* name, const char* caption, const std::vector<QAction*>& actions) {
    QToolBar* bar = QMainWindow::addToolBar(caption);
    bar->setObjectName(name);
    bar->setIconSize(QSize(16, 16));
    for (QAction* a : actions) {
        bar->addAction(a);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        const QString buttonName = SpeedButtonName(a->objectName());
        button->setObjectName(buttonName);
        commands_.insert(buttonName, a);
    }
    // A tool bar hidden other than through the Toolbars submenu (the close box of a floating
    // one) takes its check with it; while the setup dialog is open the menu waits for its end.
    connect(bar, &QToolBar::visibilityChanged, this, [this] {
        if (!ToolbarSetupForm) SyncToolbarMenu();
    });
    bar->installEventFilter(this);
    return bar;
}

void TMainForm::BuildToolBars() {
    for (const TToolbarEntry& t : ToolbarEntries()) {
        std::vector<QAction*> buttons;
        for (QAction* TMainForm::*button : t.Buttons) buttons.push_back(this->*button);
        this->*t.Bar = AddToolBar(t.Name, t.Caption, buttons);
    }
}

QAction* TMainForm::AddPopupItem(const char* name, const char* caption) { return AddCommand(PopupMenu, name, caption); }

void TMainForm::BuildPopup() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    AddPopupItem("PopupItemCut", "Cut");
    AddPopupItem("PopupItemCopy", "Copy");
    AddPopupItem("PopupItemPaste", "Paste");
    AddSeparator(PopupMenu, "PopupItemPasteChildrenSeparator");
    AddPopupItem("PopupItemCreate", "Create");
    AddPopupItem("PopupItemChange", "Change");
    AddPopupItem("PopupItemRemove", "Remove");
    AddSeparator(PopupMenu, "PopupItemRemoveChildrenSeparator");
    AddPopupItem("PopupItemArrangeItems", "Arrange Items...");
    AddPopupItem("PopupItemRemoveChildren", "Remove Children");
    AddSeparator(PopupMenu, "PopupItemExportTestSeparator");
    AddPopupItem("PopupItemImportTest", "Import Test...");
    AddPopupItem("PopupItemExportTest", "Export Test...");
    AddSeparator(PopupMenu, "PopupItemRunTestSeparator");
    AddPopupItem("PopupItemRunTest", "Run Test...");
    AddSeparator(PopupMenu, "PopupItemFastImportTestSeparator");
    AddPopupItem("PopupItemFastImportScales", "Import Scales...");
    AddPopupItem("PopupItemFastImportStimuls", "Import Stimuls...");
}

void TMainForm::BuildPanels() {
    SocTreeSplitter = new QSplitter(Qt::Horizontal, this);
    SocTreeSplitter->setObjectName("SocTreeSplitter");
    TreePanel = new QWidget(SocTreeSplitter);
    TreePanel->setObjectName("TreePanel");
    auto* layout = new QVBoxLayout(TreePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    MdiArea = new QMdiArea(SocTreeSplitter);
    MdiArea->setObjectName("MdiArea");
    SocTreeSplitter->addWidget(TreePanel);
    SocTreeSplitter->addWidget(MdiArea);
    SocTreeSplitter->setStretchFactor(1, 1);
    SocTreeSplitter->setSizes({321, 995 - 321});
    setCentralWidget(SocTreeSplitter);
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(true);
}

void TMainForm::OnTriggered(QAction* action, void (TMainForm::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
}

void TMainForm::OnTree(QAction* action, void (TObjectsTree::*operation)(), bool focus) {
    connect(action, &QAction::triggered, this, [this, operation, focus] {
        Guarded([this, operation, focus] {
            TObjectsTree& tree = *Tree;
            (tree.*operation)();
            if (focus) tree.setFocus();
        });
    });
}

void TMainForm::ConnectCommands() {
    OnTriggered(MenuItemProjectCreate, &TMainForm::ProjectCreateClick);
    OnTriggered(MenuItemProjectOpen, &TMainForm::ProjectOpenClick);
    OnTriggered(MenuItemProjectSave, &TMainForm::ProjectSaveClick);
    OnTriggered(MenuItemProjectSaveAs, &TMainForm::ProjectSaveAsClick);
    OnTriggered(MenuItemProjectClose, &TMainForm::ProjectCloseClick);
    connect(MenuItemFileExit, &QAction::triggered, this, [this] { close(); });

    // The Object commands give the tree the keyboard focus afterwards; the popup items do not.
    OnTree(MenuItemObjectCreate, &TObjectsTree::CreateObject, true);
    OnTree(MenuItemObjectChange, &TObjectsTree::ChangeObject, true);
    OnTree(MenuItemObjectRemove, &TObjectsTree::RemoveObject, true);
    OnTree(MenuItemObjectRemoveChildren, &TObjectsTree::RemoveChildren, true);
    OnTree(Command("PopupItemCreate"), &TObjectsTree::CreateObject, false);
    OnTree(Command("PopupItemChange"), &TObjectsTree::ChangeObject, false);
    OnTree(Command("PopupItemRemove"), &TObjectsTree::RemoveObject, false);
    OnTree(Command("PopupItemRemoveChildren"), &TObjectsTree::RemoveChildren, false);
    OnTree(Command("PopupItemRunTest"), &TObjectsTree::RunTest, false);
    // Cut, Copy and Paste leave the focus where it was, in a running test window too.
    OnTree(MenuItemEditCut, &TObjectsTree::Cut, false);
    OnTree(MenuItemEditCopy, &TObjectsTree::Copy, false);
    OnTree(MenuItemEditPaste, &TObjectsTree::Paste, false);
    OnTree(MenuItemObjectArrangeItems, &TObjectsTree::ArrangeItems, true);
    OnTree(Command("PopupItemCut"), &TObjectsTree::Cut, false);
    OnTree(Command("PopupItemCopy"), &TObjectsTree::Copy, false);
    OnTree(Command("PopupItemPaste"), &TObjectsTree::Paste, false);
    OnTree(Command("PopupItemArrangeItems"), &TObjectsTree::ArrangeItems, false);
    OnTriggered(MenuItemObjectRunTest, &TMainForm::RunTest);
    OnTriggered(MenuItemEditFind, &TMainForm::Find);
    OnTriggered(MenuItemEditFindNext, &TMainForm::FindNext);
    OnTree(Command("PopupItemFastImportScales"), &TObjectsTree::FastImportScales, false);
    OnTree(Command("PopupItemFastImportStimuls"), &TObjectsTree::FastImportStimuls, false);

    // Import and export of one test: the File commands preselect nothing, the popup items the
    // selected group or test. An import modifies the project: the commands follow.
    const auto onExchange = [this](QAction* action, auto&& run) {
        connect(action, &QAction::triggered, this, [this, run] {
            Guarded([&] {
                run(*Tree);
                UpdateCommands();
            });
        });
    };
    onExchange(MenuItemFileImportTests, [](TObjectsTree& tree) { tree.ImportTest(-1); });
    onExchange(MenuItemFileExportTests, [](TObjectsTree& tree) { tree.ExportTest(-1, -1); });
    onExchange(Command("PopupItemImportTest"), [](TObjectsTree& tree) {
        if (tree.SelectedKind() != nkTestGroup) return lang::ShowMessageByKey("MAIN_F_IMPORT_NEED_SEL_TESTGROUP");
        tree.ImportTest(tree.SelectedID());
    });
    onExchange(Command("PopupItemExportTest"), [](TObjectsTree& tree) {
        if (tree.SelectedKind() != nkTest) return lang::ShowMessageByKey("MAIN_F_IMPORT_NEED_SEL_TEST");
        tree.ExportTest(tree.SelectedParentID(), tree.SelectedID());
    });

    connect(MenuItemViewShowChildNodes, &QAction::triggered, this,
            [this] { Guarded([&] { Tree->ExpandAll(Tree->SelectedNode()); }); });
    connect(MenuItemViewHideChildNodes, &QAction::triggered, this,
            [this] { Guarded([&] { Tree->CollapseAll(Tree->SelectedNode()); }); });

    for (const TToolbarEntry& t : ToolbarEntries()) {
        QAction* a = this->*t.MenuItem;
        connect(a, &QAction::triggered, this, [this, a] { Guarded([&] { ToolbarVisibilityChange(a); }); });
    }
    OnTriggered(MenuItemEditToolbarsSetup, &TMainForm::ToolbarSetup);
    OnTriggered(MenuItemHelpAbout, &TMainForm::AboutProgram);

    OnTriggered(MenuItemHelpContext, &TMainForm::Helper);
    OnTriggered(MenuItemHelpHomepage, &TMainForm::HomepageClick);
    OnTriggered(MenuItemHelpSupport, &TMainForm::SupportPageClick);
    OnTriggered(MenuItemDebugShowDM, &TMainForm::MenuItemDebugShowDMClick);
    OnTriggered(MenuItemDebugHideDM, &TMainForm::MenuItemDebugHideDMClick);
    // The window reads its keys first, so F1 reaches it from any of its parts.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WindowShortcut);
    help->setObjectName("HelpShortcut");
    connect(help, &QShortcut::activated, this, [this] { Guarded([&] { ShowContextHelp(); }); });

    OnTriggered(CascadeMenuItem, &TMainForm::CascadeWindows);
    OnTriggered(TileMenuItem, &TMainForm::TileWindows);
    connect(windowItems_, &QActionGroup::triggered, this,
            [this](QAction* item) { Guarded([&] { WindowMenuItemClick(item); }); });
    // A test window made active by the area itself (closing another, cascading) reports as if it
    // had been activated by hand.
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        Guarded([&] {
            auto* form = sub ? qobject_cast<TRunTestForm*>(sub->widget()) : nullptr;
            if (form) ChildNotify(wm::cnChildActivated, static_cast<std::int32_t>(form->Handle()));
        });
    });
}

void TMainForm::Guarded(const std::function<void()>& command) {
    try {
        if (Tree) Tree->CommitRename();
        command();
    } catch (const std::exception& e) {
        platform::ShowError(e.what());
    }
}

QAction* TMainForm::Command(const QString& name) const { return commands_.value(name, nullptr); }

QToolButton* TMainForm::SpeedButton(const QString& name) const { return findChild<QToolButton*>(name); }

// ---- the project

bool TMainForm::IsProjectOpen() const { return GlobalStore() != nullptr; }

std::string TMainForm::OpenFilter() {
    return lang::GetMessageText("MAIN_F_PROJECT_FILTER_HEAD") + " (*." + kProjectExt + ")|*." + kProjectExt + "|" +
           lang::GetMessageText("MAIN_F_DIALOG_FILTER_HEAD") + " (*.*)|*.*";
}

std::string TMainForm::SaveFilter() {
    return lang::GetMessageText("MAIN_F_PROJECT_FILTER_HEAD") + " (*." + kProjectExt + ")|*." + kProjectExt;
}

void TMainForm::SetUpdateCheck(std::unique_ptr<IUpdateCheck> check) {
    updateCheck_ = check ? std::move(check) : std::make_unique<TAcceptEveryFile>();
}

void TMainForm::ProjectCreateClick() {
    if (IsProjectOpen() && !MayLetGoOfProject()) return;
    auto store = std::make_unique<TFileAccess>(std::string(), settings_);
    store->Users.AddUser(1, "admin", "");
    // The user has changed nothing yet.
    store->SetModified(false);
    ResetFind();
    ReplaceProject(std::move(store));
}

platform::TFileDialogRequest TMainForm::ProjectDialog(bool save) {
    platform::TFileDialogRequest dialog;
    dialog.Kind = save ? platform::TFileDialogRequest::TKind::Save : platform::TFileDialogRequest::TKind::Open;
    dialog.Title = lang::GetMessageText(save ? "MAIN_F_PROJECT_SAVEDIALOG_TITLE" : "MAIN_F_PROJECT_OPENDIALOG_TITLE");
    dialog.Filter = save ? SaveFilter() : OpenFilter();
    dialog.FileMustExist = !save;
    dialog.OverwritePrompt = save;
    if (save) dialog.DefaultExt = kProjectExt;
    dialog.Parent = this;
    return dialog;
}

void TMainForm::ProjectOpenClick() {
    const platform::TFileDialogRequest dialog = ProjectDialog(false);
    const std::optional<std::string> chosen = platform::RunFileDialog(dialog);
    if (!chosen) {
        UpdateCommands();
        return;
    }
    OpenProject(*chosen);
    ResetFind();
    UpdateCommands();
}

std::unique_ptr<TFileAccess> TMainForm::LoadProject(const std::string& fileName) {
    auto store = std::make_unique<TFileAccess>(fileName, settings_);
    if (const platform::TBusyCursor busy; store->LoadEitherLayout()) return store;
    MessageDialog->DialogType = mdOk;
    MessageDialog->Title = "Orvyl";
    const std::string reason = store->LastError.empty() ? lang::GetMessageText("FILEACC_FILE_VIOLATED_MSG") : store->LastError;
    // Where the file is damaged, on a line of its own before the file's name.
    const std::string where = DescribeLoadFailure(store->LoadFailure);
    MessageDialog->Caption = reason + "\n" + (where.empty() ? std::string() : where + "\n") + fileName;
    MessageDialog->Execute();
    return nullptr;
}

void TMainForm::OpenProject(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) throw Exception(lang::GetMessageText("MAIN_F_PROJECT_NO_FILE"));
    // The open project stays as it is until the chosen file has loaded: a file that is refused
    // or does not load costs the user nothing.
    if (!updateCheck_->CheckAndUpdate(fileName, RefusedOpenNote())) {
        UpdateCommands();
        return;
    }
    const std::optional<platform::FileIdentity> loaded = platform::IdentifyFile(fileName);
    std::unique_ptr<TFileAccess> store = LoadProject(fileName);
    if (!store) {
        UpdateCommands();
        return;
    }
    // Only now is the user asked about the old project.
    if (IsProjectOpen()) {
        if (!MayLetGoOfProject()) return;
        // Saving the old project may have written the chosen file itself: load what is there now.
        if (platform::IdentifyFile(fileName) != loaded) store = LoadProject(fileName);
    }
    ReplaceProject(std::move(store));
}

std::string TMainForm::RefusedOpenNote() const {
    std::string note = lang::GetMessageText(lang::MessageKey("MAIN_F_PROJECT_NOT_OPENED")) + " ";
    const TFileAccess* open = GlobalStore().get();
    if (!open) return note + lang::GetMessageText(lang::MessageKey("MAIN_F_PROJECT_NONE_OPEN"));
    note += lang::GetMessageText(lang::MessageKey("MAIN_F_PROJECT_STILL_OPEN"));
    if (!platform::TrimBlanks(open->FileName).empty()) note += "\n" + open->FileName;
    return note;
}

void TMainForm::ProjectSaveClick() { SaveProject(); }

bool TMainForm::SaveProject() {
    TFileAccess* store = GlobalStore().get();
    bool saved = false;
    if (store) saved = platform::TrimBlanks(store->FileName).empty() ? SaveProjectAs() : store->SaveAll();
    UpdateCommands();
    return saved;
}

void TMainForm::ProjectSaveAsClick() { SaveProjectAs(); }

bool TMainForm::SaveProjectAs() {
    TFileAccess* store = GlobalStore().get();
    bool saved = false;
    if (store) {
        platform::TFileDialogRequest dialog = ProjectDialog(true);
        dialog.FileName = store->FileName;
        if (const std::optional<std::string> chosen = platform::RunFileDialog(dialog)) {
            const std::string previous = store->FileName;
            store->FileName = EnsureFileExt(*chosen, kProjectExt);
            saved = store->SaveAll();
            // A failed save leaves the project where it was.
            if (!saved) store->FileName = previous;
        }
    }
    UpdateCommands();
    return saved;
}

void TMainForm::ProjectCloseClick() { CloseProject(); }

bool TMainForm::CloseProject() {
    if (!MayLetGoOfProject()) return false;
    ReplaceProject(nullptr);
    return true;
}

bool TMainForm::MayLetGoOfProject() {
    // Asked first: a command that is abandoned keeps the running tests as well as the project.
    if (ConfirmSaveProject()) return true;
    UpdateCommands();
    return false;
}

void TMainForm::ReplaceProject(std::unique_ptr<TFileAccess> store) {
    // Whatever reads the old project goes before it: the runners with every test window (the
    // full-screen one too), then the tree's nodes with the cut/copy mark.
    CloseAllChildren();
    Tree->Clear();
    GlobalStore() = std::move(store);
    Tree->Rebuild();
    UpdateCommands();
}

bool TMainForm::ConfirmSaveProject() {
    // A name still being typed in the tree belongs to the project that is asked about.
    if (Tree) Tree->CommitRename();
    TFileAccess* store = GlobalStore().get();
    if (!store || !store->IsModified()) return true;
    MessageDialog->DialogType = mdYesNo;
    MessageDialog->Title = lang::GetMessageText("MAIN_F_PROJECT_CONFIRM_SAVE_DLGNAM");
    MessageDialog->Caption = lang::GetMessageText("MAIN_F_PROJECT_CONFIRM_SAVE_DLGCAP");
    switch (MessageDialog->Execute()) {
        case TMessageDialog::mrYes: return SaveProject();
        case TMessageDialog::mrNo: return true;
        // Dismissed without an answer: nothing is thrown away.
        default: return false;
    }
}

void TMainForm::CloseAllChildren() {
    runners_->FreeAll();
    // Any other child window goes as well, the last first.
    const QList<QMdiSubWindow*> subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) delete *it;
}

void TMainForm::ResetFind() {
    FindText.clear();
    FindFlags = 0;
    FindKind = 0;
}

void TMainForm::Find() {
    TFindForm form(this);
    form.SetSearch(FindText, FindFlags, FindKind);
    platform::ExecModal(form);
    // A text of blanks alone searches nothing and keeps the previous search.
    if (const std::string text = form.SearchText(); form.Confirmed && !text.empty()) {
        FindText = text;
        FindFlags = form.SearchFlags;
        FindKind = form.SearchType;
        Tree->FindObject(nullptr, FindText, FindFlags, FindKind);
    }
    UpdateCommands();
}

void TMainForm::FindNext() {
    if (!platform::TrimBlanks(FindText).empty()) Tree->FindObject(Tree->SelectedNode(), FindText, FindFlags, FindKind);
    UpdateCommands();
}

// ---- command enabling

TCommandFacts TMainForm::CurrentFacts() const {
    TCommandFacts f;
    if (const TFileAccess* store = GlobalStore().get()) {
        f.FileOpen = true;
        f.Modified = store->IsModified();
        f.FileName = store->FileName;
    }
    f.FindText = FindText;
    if (Tree) {
        QTreeWidgetItem* node = Tree->SelectedNode();
        f.Kind = Tree->SelectedKind();
        f.Private = Tree->IsSelectedTestPrivate();
        f.CanPaste = Tree->CanPaste();
        f.IsLeaf = Tree->IsLeaf(node);
        f.HasStoredChildren = node && !Tree->HasNoStoredChildren(node);
    }
    return f;
}

void TMainForm::UpdateCommands() { ApplyCommandStates(ComputeCommandStates(CurrentFacts())); }

void TMainForm::ApplyCommandStates(const TCommandStates& states) {
    for (const auto& [name, state] : states.Commands) {
        QAction* a = Command(QString::fromStdString(name));
        if (!a) continue;
        if (state.Enabled) a->setEnabled(*state.Enabled);
        if (state.Visible) a->setVisible(*state.Visible);
        if (!state.CaptionKey.empty()) a->setText(Text(state.CaptionKey.c_str()));
        if (!state.HintKey.empty()) {
            a->setToolTip(Text(state.HintKey.c_str()));
            a->setStatusTip(a->toolTip());
        }
    }
    QString caption = Text("MAIN_F_WINDOW_CAPTION");
    if (states.CaptionFileName) caption += " (" + platform::ToQString(*states.CaptionFileName) + ")";
    setWindowTitle(caption);
}

// ---- messages

void TMainForm::HandleMessage(const platform::TWindowMessage& m) {
    switch (m.Msg) {
        case wm::WM_CHILDNOTIFY: ChildNotify(wm::MessageCode(m.WParam), m.LParam); break;
        case wm::WM_RUNTESTCOMMAND:
        case wm::WM_RUNTESTGOTO: runners_->HandleMessage(m); break;
        case wm::WM_TOOLBARSCHANGED: WMToolbarsChanged(); break;
        default: break;
    }
}

void TMainForm::ChildNotify(std::uint32_t code, std::int32_t lParam) {
    const auto handle = static_cast<platform::WindowHandle>(lParam);
    switch (code) {
        case wm::cnChildActivated:
            if (QAction* item = FindWindowMenuItem(handle)) CheckWindowMenuItem(item);
            UpdateCommands();
            break;
        case wm::cnSelectionChanged:
        case wm::cnTreeChanged: UpdateCommands(); break;
        case wm::cnChildClosed:
        case wm::cnCloseChild:
            runners_->HandleMessage({wm::WM_CHILDNOTIFY, code, lParam});
            UpdateCommands();
            break;
        case wm::cnRunSelectedTest: RunTest(); break;
        default: break;
    }
}

// ---- tests in their windows

void TMainForm::RunTest() {
    if (!Tree) return;
    if (!Tree->HasSelection()) {
        lang::ShowMessageText(lang::GetMessageText("OBJECTSTREE_NO_SELECTED_NODE"));
        return;
    }
    runners_->RunTest(Tree->SelectedTestID());
}

// The area's own cascade gives a window without a layout its minimum size, a bare title bar.
// Here the windows step down and right by a title bar's height, the active one in front, each
// as large as the steps leave room for and never smaller than a test window's design size (or
// the area less one step, when the area is smaller than that); the steps start again at the top
// left when the next window would leave the area.
void TMainForm::CascadeWindows() {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized()) windows << sub;
    if (windows.isEmpty()) return;
    QMdiSubWindow* active = MdiArea->activeSubWindow();
    if (windows.removeOne(active)) windows << active;
    for (QMdiSubWindow* sub : windows)
        if (sub->isMaximized()) sub->showNormal();

    const QSize area = MdiArea->viewport()->size();
    QMdiSubWindow* front = windows.back();
    const int step = std::max(front->contentsMargins().top(), 1);
    const QSize frame = front->size() - (front->widget() ? front->widget()->size() : QSize(0, 0));
    const int stairs = static_cast<int>(windows.size()) - 1;
    const QSize room = area - QSize(step, step) * (stairs > 0 ? 1 : 0);
    const QSize least = (TRunTestForm::DesignSize() + frame).boundedTo(room);
    const QSize size = (area - QSize(step, step) * stairs).expandedTo(least).boundedTo(area);
    const int fit = 1 + std::max(0, std::min((area.width() - size.width()) / step, (area.height() - size.height()) / step));
    for (int i = 0; i < windows.size(); ++i) {
        const int at = (i % fit) * step;
        windows[i]->setGeometry(QRect(QPoint(at, at), size));
        windows[i]->raise();
    }
    if (active) MdiArea->setActiveSubWindow(active);
}

void TMainForm::TileWindows() { MdiArea->tileSubWindows(); }

QList<QAction*> TMainForm::WindowMenuItems() const { return windowItems_->actions(); }

void TMainForm::AddWindowMenuItem(const std::string& caption, platform::WindowHandle handle) {
    ++WindowMenuCount;
    auto* item =
        new QAction(platform::MenuCaption(platform::CutShortText(caption), WindowMenuItem->font()), WindowMenuItem);
    item->setObjectName("ChildWindowMenu" + QString::number(WindowMenuCount));
    item->setProperty("Tag", static_cast<qlonglong>(handle));
    item->setCheckable(true);
    windowItems_->addAction(item);
    WindowMenuItem->addAction(item);
    CheckWindowMenuItem(item);
}

QAction* TMainForm::FindWindowMenuItem(platform::WindowHandle handle) const {
    for (QAction* item : WindowMenuItems()) {
        const qlonglong tag = item->property("Tag").toLongLong();
        if (tag >= 0 && tag == static_cast<qlonglong>(handle)) return item;
    }
    return nullptr;
}

void TMainForm::RemoveWindowMenuItem(platform::WindowHandle handle) { delete FindWindowMenuItem(handle); }

void TMainForm::CheckWindowMenuItem(QAction* item) {
    for (QAction* other : WindowMenuItems()) other->setChecked(false);
    item->setChecked(true);
}

void TMainForm::WindowMenuItemClick(QAction* item) {
    const auto handle = static_cast<platform::WindowHandle>(item->property("Tag").toLongLong());
    if (handle == platform::kNoWindow) return;
    if (TRunTestForm* form = runners_->FindChildForm(handle))
        if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) MdiArea->setActiveSubWindow(sub);
}

// ---- help, web and mail links

void TMainForm::ShowContextHelp() { lang::RequestHelp(lang::HelpContextOf(QApplication::focusWidget(), HelpContext)); }

void TMainForm::Helper() { OpenLink(links::kProductPage); }

void TMainForm::HomepageClick() { OpenLink(links::kHomePage); }

void TMainForm::SupportPageClick() {
    const TVersionInformation version(platform::ProgramFile());
    SendMailTo(handle_, links::kSupportAddress, lang::GetMessageText("IEXPLORER_EMAIL_TITLE_TO_SUPPORT"),
               lang::GetMessageText("IEXPLORER_EMAIL_BODY_TO_SUPPORT"), version.ProductName,
               version.ProductVersion);
}

// ---- the store's debug window

void TMainForm::MenuItemDebugShowDMClick() {
    if (DebugForm) return;
    DebugForm = new TFormDatastoreDebug(this);
    DebugForm->show();
    MenuItemDebugShowDM->setEnabled(false);
    MenuItemDebugHideDM->setEnabled(true);
}

void TMainForm::MenuItemDebugHideDMClick() {
    if (!DebugForm) return;
    delete DebugForm.data();
    DebugForm = nullptr;
    MenuItemDebugShowDM->setEnabled(true);
    MenuItemDebugHideDM->setEnabled(false);
}

// ---- Help > About

void TMainForm::AboutProgram() {
    TFormAbout about(this);
    platform::ExecModal(about);
}

// ---- tool bars

void TMainForm::ToolbarVisibilityChange(QAction* item) {
    for (const TToolbarEntry& t : ToolbarEntries())
        if (this->*t.MenuItem == item) {
            QToolBar* bar = this->*t.Bar;
            bar->setVisible(bar->isHidden());
        }
    SyncToolbarMenu();
}

void TMainForm::SyncToolbarMenu() {
    for (const TToolbarEntry& t : ToolbarEntries()) (this->*t.MenuItem)->setChecked(!(this->*t.Bar)->isHidden());
}

void TMainForm::ToolbarSetup() {
    std::array<bool, TToolbarForm::tbCount> visible{};
    std::array<std::string, TToolbarForm::tbCount> captions;
    for (std::size_t i = 0; i < ToolbarEntries().size(); ++i) {
        const QToolBar* bar = this->*ToolbarEntries()[i].Bar;
        visible[i] = !bar->isHidden();
        captions[i] = platform::FromQString(bar->windowTitle());
    }
    TToolbarForm form(this, handle_, visible, captions);
    ToolbarSetupForm = &form;
    platform::ExecModal(form);
    ToolbarSetupForm = nullptr;
    SyncToolbarMenu();
}

void TMainForm::WMToolbarsChanged() {
    if (!ToolbarSetupForm) return;
    const auto& visible = ToolbarSetupForm->Visible;
    for (std::size_t i = 0; i < visible.size(); ++i) (this->*ToolbarEntries()[i].Bar)->setVisible(visible[i]);
}

void TMainForm::GiveCloseBox(QToolBar* bar) {
    // The tool bar makes itself a frameless window whenever it is dragged off; once it has come
    // to rest it gets a title bar with a close box, which hides it like the Toolbars submenu.
    if (!bar->isFloating() || bar->isHidden()) return;
    const Qt::WindowFlags flags = bar->windowFlags();
    if (flags & (Qt::WindowCloseButtonHint | Qt::X11BypassWindowManagerHint)) return;
    const QPoint at = bar->pos();
    bar->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    bar->move(at);
    bar->show();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* bar = qobject_cast<QToolBar*>(watched); bar && bar->isFloating()) {
            QPointer<QToolBar> later(bar);
            QTimer::singleShot(0, this, [this, later] {
                if (later) GiveCloseBox(later);
            });
        }
    }
    return TLanguageController::eventFilter(watched, event);
}

// ---- leaving

void TMainForm::closeEvent(QCloseEvent* event) {
    bool close = true;
    try {
        if (IsProjectOpen()) close = CloseProject();
    } catch (const std::exception& e) {
        platform::ShowMessage(e.what());
    }
    if (close) {
        // The help viewer is a window of its own: left open, it would keep the program running.
        ApplicationHelpCommand(platform::HELP_QUIT, {});
        event->accept();
    } else {
        event->ignore();
    }
}
