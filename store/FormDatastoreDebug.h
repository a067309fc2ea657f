#pragma once
#include <QWidget>

class QMenuBar;
class QMenu;
class QAction;
class QPlainTextEdit;
class QSplitter;
class TObjectTable;

// A window for developers: the common fields of every record of the seven item tables of the
// open project, one column per table. It shows a snapshot; Refresh reads the store again. Its
// texts are fixed; it takes nothing from the language file.
class TFormDatastoreDebug : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kNoStore = "Datastore is absent! Build a project space first.";

    // A window of its own (owner: the main window), filled at once.
    explicit TFormDatastoreDebug(QWidget* owner);

    // Refills the seven columns from the open project; without one, says so in the message box
    // and leaves the columns as they are.
    void ShowDatastore();
    // Appends the records of one table: "ID = ", "PARENT_ID = ", "NAME = ", "ORDER = " and an
    // empty line per record. The table's cursor is where it was afterwards.
    static void ShowTable(QPlainTextEdit& memo, TObjectTable& table);
    void MenuItemRefreshClick() { ShowDatastore(); }

    QMenuBar* MainMenuDebug;
    QMenu* MenuItemCommon;
    QAction* MenuItemRefresh;
    QSplitter* PanelUp;
    QPlainTextEdit* MemoTestGroups;
    QPlainTextEdit* MemoTests;
    QPlainTextEdit* MemoScales;
    QPlainTextEdit* MemoInterprs;
    QPlainTextEdit* MemoStimuls;
    QPlainTextEdit* MemoReactions;
    QPlainTextEdit* MemoWeights;
};
