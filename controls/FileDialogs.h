#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

class QWidget;

enum TOpenOption : std::uint8_t {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = std::set<TOpenOption>;
enum TOpenOptionEx : std::uint8_t { ofExNoPlacesBar };
using TOpenOptionsEx = std::set<TOpenOptionEx>;
enum TFileEditStyle : std::uint8_t { fsEdit, fsComboBox };

// The settings and the answer of an open file dialog; Execute shows it through the program's
// replaceable file dialog. Names are in the program's code page.
class TOpenDialog {
public:
    virtual ~TOpenDialog() = default;
    TOpenDialog() = default;
    TOpenDialog(const TOpenDialog&) = delete;
    TOpenDialog& operator=(const TOpenDialog&) = delete;

    // Shows the dialog over parent; on confirmation FileName, Files and FilterIndex hold the
    // choice and the result is true.
    bool Execute(QWidget* parent = nullptr);
    virtual bool IsSaveDialog() const { return false; }
    virtual bool ShowsPicturePreview() const { return false; }

    std::string DefaultExt;
    TFileEditStyle FileEditStyle = fsEdit;
    std::string FileName;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::vector<std::string> HistoryList;
    std::vector<std::string> Files;
    TOpenOptions Options{ofHideReadOnly};
    TOpenOptionsEx OptionsEx;
    std::string Title;
    int HelpContext = 0;
};

// The save dialog: asks before an existing file is chosen when the options say so.
class TSaveDialog : public TOpenDialog {
public:
    bool IsSaveDialog() const override { return true; }
};

// The picture dialogs; the program's file dialog has no preview, so they show as the others.
class TOpenPictureDialog : public TOpenDialog {
public:
    bool ShowsPicturePreview() const override { return true; }
};

class TSavePictureDialog : public TSaveDialog {
public:
    bool ShowsPicturePreview() const override { return true; }
};
