#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/CustomComboEdit.h"
#include "controls/FileDialogs.h"
#include "platform/Exception.h"

// A value that the file-name edit refuses.
class EComboEditError : public Exception {
public:
    using Exception::Exception;
};

enum TFileDialogKind : std::uint8_t { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

// A combo edit whose button browses for a file: the dialog events, the error mode while the
// dialog runs, files dropped onto the edit, and the folder glyph of its button.
class TFileDirEdit : public TCustomComboEdit {
    Q_OBJECT
public:
    explicit TFileDirEdit(QWidget* parent = nullptr);

    // Sender, the name (in and out) and whether to go on (in and out).
    using TExecOpenDialogEvent = std::function<void(TFileDirEdit& sender, std::string& name, bool& action)>;
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    std::function<void(TFileDirEdit&)> OnDropFiles;
    int HelpContext = 0;

    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);
    bool MultiSelect() const { return multiSelect_; }
    unsigned SavedErrorMode() const { return savedErrorMode_; }

    virtual std::string GetLongFileName() const = 0;
    virtual std::string GetShortFileName() const = 0;

    // The browse button's folder glyph, one for every edit of the program.
    static const QImage& DefaultGlyph();

protected:
    virtual void AddDroppedName(const std::string& name) = 0;
    virtual void ClearDialogFiles() {}
    QImage GetDefaultGlyph() const override { return DefaultGlyph(); }

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    unsigned savedErrorMode_ = 0;
    bool multiSelect_ = false;

private:
    bool acceptFiles_ = false;
};

// The edit in which the user types or picks the name of one file: its button presets an open or
// save dialog from the text, and a confirmed choice comes back into the text, in double quotes
// when it holds a blank.
class TFilenameEdit : public TFileDirEdit {
    Q_OBJECT
public:
    explicit TFilenameEdit(QWidget* parent = nullptr);
    ~TFilenameEdit() override;

    // The dialog object; replaced when DialogKind changes, so its settings follow that change.
    TOpenDialog* FileDialog() const { return fileDialog_.get(); }
    TFileDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TFileDialogKind kind);

    // The text as a file name: without quotes, the first of several names.
    std::string FileName() const;
    // Puts value into the text, quoted when it holds a blank; an invalid name raises
    // EComboEditError "Invalid file name - <value>" and changes nothing.
    void SetFileName(const std::string& value);

    const std::string& DefaultExt() const { return fileDialog_->DefaultExt; }
    void SetDefaultExt(const std::string& value) { fileDialog_->DefaultExt = value; }
    TFileEditStyle FileEditStyle() const { return fileDialog_->FileEditStyle; }
    void SetFileEditStyle(TFileEditStyle value) { fileDialog_->FileEditStyle = value; }
    const std::string& Filter() const { return fileDialog_->Filter; }
    void SetFilter(const std::string& value) { fileDialog_->Filter = value; }
    int FilterIndex() const { return fileDialog_->FilterIndex; }
    void SetFilterIndex(int value) { fileDialog_->FilterIndex = value; }
    const std::string& InitialDir() const { return fileDialog_->InitialDir; }
    void SetInitialDir(const std::string& value) { fileDialog_->InitialDir = value; }
    const std::vector<std::string>& HistoryList() const { return fileDialog_->HistoryList; }
    void SetHistoryList(const std::vector<std::string>& value) { fileDialog_->HistoryList = value; }
    const TOpenOptions& DialogOptions() const { return fileDialog_->Options; }
    void SetDialogOptions(const TOpenOptions& value);
    const std::string& DialogTitle() const { return fileDialog_->Title; }
    void SetDialogTitle(const std::string& value) { fileDialog_->Title = value; }

    std::string GetLongFileName() const override;
    std::string GetShortFileName() const override;

    static constexpr const char* kDefaultTitle = "Browse";
    static constexpr const char* kDefaultFilter = "All files (*.*)|*.*";

protected:
    void DoButtonClick() override;
    void AddDroppedName(const std::string& name) override;
    void ClearDialogFiles() override;

private:
    void RecreateDialog();

    std::unique_ptr<TOpenDialog> fileDialog_;
    TFileDialogKind dialogKind_ = dkOpen;
};
