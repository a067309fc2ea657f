#pragma once
#include <QDialog>

#include <array>
#include <string>

#include "help/context.h"
#include "lang/LanguageController.h"
#include "platform/MessageHub.h"

class QKeyEvent;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// Chooses which of the main window's five tool bars are shown. Each tick acts at once: the
// dialog keeps the five states and sends WM_TOOLBARSCHANGED to the main window, which reads
// them and shows or hides its tool bars.
class TToolbarForm : public TLanguageController<QDialog> {
    Q_OBJECT
public:
    static constexpr int kHelpContext = IDH_TOOLBAR_SETUP;
    enum TBar { tbFile, tbEdit, tbView, tbObject, tbHelp, tbCount };

    // The states and captions are given in the order File, Edit, View, Object, Help; captions
    // are code-page texts of up to 255 bytes.
    TToolbarForm(QWidget* owner, platform::WindowHandle mainHandle, bool visibleFile, bool visibleEdit,
                 bool visibleView, bool visibleObject, bool visibleHelp, const std::string& captionFile,
                 const std::string& captionEdit, const std::string& captionView, const std::string& captionObject,
                 const std::string& captionHelp);
    // The same with the states and captions in the order of TBar.
    TToolbarForm(QWidget* owner, platform::WindowHandle mainHandle, const std::array<bool, tbCount>& visible,
                 const std::array<std::string, tbCount>& captions);

    int HelpContext = kHelpContext;
    const platform::WindowHandle MainHandle;
    // Whether each tool bar is to be shown, by TBar.
    std::array<bool, tbCount> Visible{};

    QListWidget* ToolbarCheckListBox;
    QPushButton* CloseBitBtn;

    // A check box was clicked: the states follow the check marks and the main window is told.
    void ToolbarCheckListBoxClickCheck();
    void CloseBitBtnClick();

protected:
    // Ticks the items after the states, each time the dialog is shown.
    void showEvent(QShowEvent* event) override;
    // F1 asks for the window's help topic.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    // Set while the dialog itself ticks its items, so that only the user's clicks are sent on.
    bool showing_ = false;
};
