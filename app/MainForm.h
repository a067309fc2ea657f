#pragma once
#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandEnabling.h"
#include "app/UpdateCheck.h"
#include "help/context.h"
#include "lang/LanguageController.h"
#include "platform/FormatSettings.h"
#include "platform/MessageHub.h"
#include "platform/qt/ModalDialogs.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class TFileAccess;
class TMessageDialog;
class TObjectsTree;
class TRunTestForm;
class TRunnerHost;
class TToolbarForm;
class TFormDatastoreDebug;

// The main window: the objects tree in the left pane, the test windows in the MDI area beside
// it, the menus, tool bars and status bar. It owns the open project (the global store), the
// tree and the runners, and answers the messages of the tree and the test windows.
class TMainForm : public TLanguageController<QMainWindow> {
    Q_OBJECT
public:
    // settings: how numbers and dates look in the projects this window creates and opens.
    explicit TMainForm(platform::FormatSettings settings, QWidget* parent = nullptr);
    ~TMainForm() override;

    platform::WindowHandle Handle() const { return handle_; }
    int HelpContext = IDH_MAIN_WINDOW;

    // ---- components
    QMenu* MenuItemFile;
    QAction* MenuItemProjectCreate;
    QAction* MenuItemProjectOpen;
    QAction* MenuItemProjectSave;
    QAction* MenuItemProjectSaveAs;
    QAction* MenuItemProjectClose;
    QAction* MenuItemFileImportTests;
    QAction* MenuItemFileExportTests;
    QAction* MenuItemFileExit;
    QMenu* MenuItemEdit;
    QAction* MenuItemEditFind;
    QAction* MenuItemEditFindNext;
    QAction* MenuItemEditCut;
    QAction* MenuItemEditCopy;
    QAction* MenuItemEditPaste;
    QMenu* MenuItemEditToolbars;
    QAction* MenuItemEditToolbarFile;
    QAction* MenuItemEditToolbarEdit;
    QAction* MenuItemEditToolbarView;
    QAction* MenuItemEditToolbarObject;
    QAction* MenuItemEditToolbarHelp;
    QAction* MenuItemEditToolbarsSetup;
    QMenu* MenuItemView;
    QAction* MenuItemViewShowChildNodes;
    QAction* MenuItemViewHideChildNodes;
    QMenu* MenuItemObject;
    QAction* MenuItemObjectCreate;
    QAction* MenuItemObjectChange;
    QAction* MenuItemObjectRemove;
    QAction* MenuItemObjectArrangeItems;
    QAction* MenuItemObjectRemoveChildren;
    QAction* MenuItemObjectRunTest;
    QMenu* WindowMenuItem;
    QAction* CascadeMenuItem;
    QAction* TileMenuItem;
    QMenu* MenuItemHelp;
    QAction* MenuItemHelpContext;
    QAction* MenuItemHelpHomepage;
    QAction* MenuItemHelpSupport;
    QAction* MenuItemHelpAbout;
    QMenu* MenuItemDebugging;
    QAction* MenuItemDebugShowDM;
    QAction* MenuItemDebugHideDM;

    QToolBar* ToolBarFile;
    QToolBar* ToolBarEdit;
    QToolBar* ToolBarView;
    QToolBar* ToolBarObject;
    QToolBar* ToolBarHelp;

    QMenu* PopupMenu;

    QSplitter* SocTreeSplitter;
    QWidget* TreePanel;
    QMdiArea* MdiArea;
    QLabel* StatusLabel = nullptr;
    TObjectsTree* Tree = nullptr;
    TMessageDialog* MessageDialog;

    // Every command by its component name: a menu item, popup item or menu ("MenuItemDebugging")
    // gives its action, a tool button ("SpeedButtonProjectOpen") the action it shares with its
    // menu item; nullptr for an unknown name.
    QAction* Command(const QString& name) const;
    QToolButton* SpeedButton(const QString& name) const;

    // ---- the project (File menu)
    bool IsProjectOpen() const;
    void ProjectCreateClick();
    void ProjectOpenClick();
    void ProjectSaveClick();
    void ProjectSaveAsClick();
    void ProjectCloseClick();
    // Loads the file as the open project (after the update check); raises the text of
    // MAIN_F_PROJECT_NO_FILE when there is no such file. The file is loaded into a new store
    // first; only when it has loaded is the user asked about the old project, which it then
    // replaces. A file that does not load leaves the open project open and unchanged.
    void OpenProject(const std::string& fileName);
    // A new store of the file; nullptr after showing why it did not load, with the file's name.
    std::unique_ptr<TFileAccess> LoadProject(const std::string& fileName);
    // What the update check says after it refused a file: that the file was not opened, and
    // whether the project open before still is (with its file's name).
    std::string RefusedOpenNote() const;
    // Closes the open project: asks whether to save a modified project, then frees the test
    // windows. False when the user wanted it saved and it was not: the project stays open.
    bool CloseProject();
    // The one way the open project changes (Create, Open, Close, leaving): frees the runners
    // and every test window, clears the tree and its cut/copy mark, makes store (nullptr: none)
    // the open project, rebuilds the tree and refreshes the commands, in this order.
    void ReplaceProject(std::unique_ptr<TFileAccess> store);
    // Asks whether to save a modified project and saves it on Yes. False when the command that
    // asked must not go on (the save was cancelled or failed, or the question was dismissed).
    bool ConfirmSaveProject();
    // Save and Save as; True when the project was written.
    bool SaveProject();
    bool SaveProjectAs();
    void CloseAllChildren();
    void ResetFind();
    // The check that runs before a file is loaded; the window keeps it.
    void SetUpdateCheck(std::unique_ptr<IUpdateCheck> check);

    // The File dialogs' filters.
    static std::string OpenFilter();
    static std::string SaveFilter();

    // ---- command enabling
    TCommandFacts CurrentFacts() const;
    void UpdateCommands();

    // ---- tests in their windows
    void RunTest();
    void CascadeWindows();
    void TileWindows();
    TRunnerHost& Runners() const { return *runners_; }
    // The Window-menu items of the test windows, in order.
    QList<QAction*> WindowMenuItems() const;
    QAction* FindWindowMenuItem(platform::WindowHandle handle) const;
    void WindowMenuItemClick(QAction* item);
    int WindowMenuCount = 0;

    // ---- help, web and mail links
    // F1 anywhere in the window: the help topic of the focused part (a test window's own),
    // else the main window's.
    void ShowContextHelp();
    void Helper();
    void HomepageClick();
    void SupportPageClick();

    // ---- the store's debug window (Debugging menu)
    void MenuItemDebugShowDMClick();
    void MenuItemDebugHideDMClick();
    QPointer<TFormDatastoreDebug> DebugForm;
    // ---- tool bars
    // The setup dialog while it is shown; its ticks reach the tool bars at once.
    void ToolbarSetup();
    QPointer<TToolbarForm> ToolbarSetupForm;
    // Sets the check mark of each Toolbars item to its tool bar's visibility.
    void SyncToolbarMenu();

    // ---- Help > About
    void AboutProgram();

    // ---- search (kept for Find next)
    // The Find dialog, preset with the kept search; on Find the search is kept and runs from the
    // top of the tree.
    void Find();
    // The kept search again, from the node after the selected one.
    void FindNext();
    std::string FindText;
    std::uint8_t FindFlags = 0;
    std::uint8_t FindKind = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks about a modified open project before it is replaced; false, with the commands
    // refreshed, when the user keeps it.
    bool MayLetGoOfProject();
    void BuildMenus();
    void BuildToolBars();
    void BuildPopup();
    void BuildPanels();
    void ConnectCommands();
    // The open or save dialog of a project file.
    platform::TFileDialogRequest ProjectDialog(bool save);
    QAction* AddCommand(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut = {});
    QAction* AddPopupItem(const char* name, const char* caption);
    void AddSeparator(QMenu* menu, const char* name);
    QMenu* AddMenu(const char* name, const char* caption);
    QToolBar* AddToolBar(const char* name, const char* caption, const std::vector<QAction*>& actions);
    // Runs a command; what it raises goes to the default error box and the program goes on.
    void Guarded(const std::function<void()>& command);
    void OnTriggered(QAction* action, void (TMainForm::*handler)());
    // Runs the tree's operation on the selected node, then gives the tree the focus when asked.
    void OnTree(QAction* action, void (TObjectsTree::*operation)(), bool focus);

    void HandleMessage(const platform::TWindowMessage& message);
    void ChildNotify(std::uint32_t code, std::int32_t lParam);
    void ApplyCommandStates(const TCommandStates& states);
    void AddWindowMenuItem(const std::string& caption, platform::WindowHandle handle);
    void RemoveWindowMenuItem(platform::WindowHandle handle);
    void CheckWindowMenuItem(QAction* item);
    void ToolbarVisibilityChange(QAction* item);
    // The setup dialog's states become the tool bars' visibility.
    void WMToolbarsChanged();
    // A floating tool bar gets a title with a close box, as a window of its own.
    void GiveCloseBox(QToolBar* bar);

    platform::FormatSettings settings_;
    platform::WindowHandle handle_ = platform::kNoWindow;
    std::unique_ptr<IUpdateCheck> updateCheck_;
    std::unique_ptr<TRunnerHost> runners_;
    QActionGroup* windowItems_ = nullptr;
    QHash<QString, QAction*> commands_;
};
