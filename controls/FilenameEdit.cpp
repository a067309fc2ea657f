#include "controls/FilenameEdit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <exception>

#include "controls/ControlUtilities.h"
#include "platform/FileQueries.h"
#include "platform/UserInteraction.h"
#include "platform/qt/QtText.h"

namespace {

// An open folder with a small bent arrow, 14 x 12, on a magenta ground drawn transparent.
const char* const kFeditBmp[] = {
    "14 12 6 1",
    ". c #FF00FF",
    "k c #000000",
    "y c #FFFF00",
    "o c #808000",
    "w c #FFFFFF",
    "g c #808080",
    "..............",
    "........kkk...",
    ".......k...k..",
    ".kkk.......k..",
    "kwyok....kkkkk",
    "kywyokkkk.kkk.",
    "kwywyooook.k..",
    "kywkkkkkkkkkkg",
    "kwkyyyyyyyykg.",
    "kkyyyyyyyykg..",
    "kkkkkkkkkkk...",
    "..............",
};

// No critical-error box and no file-open error box while the dialog runs.
constexpr unsigned kDialogErrorMode = 0x8001;

std::unique_ptr<TOpenDialog> NewDialog(TFileDialogKind kind) {
    switch (kind) {
    case dkSave: return std::make_unique<TSaveDialog>();
    case dkOpenPicture: return std::make_unique<TOpenPictureDialog>();
    case dkSavePicture: return std::make_unique<TSavePictureDialog>();
    case dkOpen: break;
    }
    return std::make_unique<TOpenDialog>();
}

}  // namespace

// ---- TFileDirEdit

TFileDirEdit::TFileDirEdit(QWidget* parent) : TCustomComboEdit(parent) {
    SetCreating(true);
    SetGlyphKind(gkDefault);
    SetCreating(false);
}

const QImage& TFileDirEdit::DefaultGlyph() {
    static const QImage glyph = QImage(kFeditBmp).convertToFormat(QImage::Format_RGB32);
    return glyph;
}

void TFileDirEdit::SetAcceptFiles(bool value) {
    acceptFiles_ = value;
    setAcceptDrops(value);
}

void TFileDirEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!acceptFiles_) return TCustomComboEdit::dragEnterEvent(event);
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFileDirEdit::dropEvent(QDropEvent* event) {
    if (!acceptFiles_) return TCustomComboEdit::dropEvent(event);
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (urls.isEmpty()) return;
    try {
        ClearDialogFiles();
        for (const QUrl& url : urls) {
            if (!url.isLocalFile()) continue;
            AddDroppedName(platform::FromQString(url.toLocalFile()));
            if (!multiSelect_) break;
        }
        if (OnDropFiles) OnDropFiles(*this);
    } catch (const std::exception& e) {
        platform::ShowError(e.what());
    }
}

// ---- TFilenameEdit

TFilenameEdit::TFilenameEdit(QWidget* parent) : TFileDirEdit(parent) { RecreateDialog(); }

TFilenameEdit::~TFilenameEdit() = default;

void TFilenameEdit::RecreateDialog() {
    std::unique_ptr<TOpenDialog> fresh = NewDialog(dialogKind_);
    if (!fileDialog_) {
        fresh->Title = kDefaultTitle;
        fresh->Filter = kDefaultFilter;
        fresh->Options = {ofHideReadOnly};
        fileDialog_ = std::move(fresh);
        return;
    }
    try {
        fresh->DefaultExt = fileDialog_->DefaultExt;
        fresh->FileEditStyle = fileDialog_->FileEditStyle;
        fresh->FileName = fileDialog_->FileName;
        fresh->Filter = fileDialog_->Filter;
        fresh->FilterIndex = fileDialog_->FilterIndex;
        fresh->InitialDir = fileDialog_->InitialDir;
        fresh->HistoryList = fileDialog_->HistoryList;
        fresh->Files = fileDialog_->Files;
        fresh->Options = fileDialog_->Options;
        fresh->Title = fileDialog_->Title;
    } catch (...) {
        fileDialog_ = std::move(fresh);
        throw;
    }
    fileDialog_ = std::move(fresh);
}

void TFilenameEdit::SetDialogKind(TFileDialogKind kind) {
    if (kind == dialogKind_) return;
    dialogKind_ = kind;
    RecreateDialog();
}

std::string TFilenameEdit::FileName() const { return controls::TextToFileName(platform::FromQString(text())); }

void TFilenameEdit::SetFileName(const std::string& value) {
    if (!value.empty() && !controls::IsValidFileName(controls::TextToFileName(value)))
        throw EComboEditError("Invalid file name - " + value);
    setText(platform::ToQString(controls::QuoteFileName(value)));
    ClearDialogFiles();
}

void TFilenameEdit::SetDialogOptions(const TOpenOptions& value) {
    if (value == fileDialog_->Options) return;
    fileDialog_->Options = value;
    multiSelect_ = value.count(ofAllowMultiSelect) > 0;
    if (!multiSelect_) ClearDialogFiles();
}

std::string TFilenameEdit::GetLongFileName() const { return controls::LongFileNameOf(FileName()); }
std::string TFilenameEdit::GetShortFileName() const { return controls::ShortFileNameOf(FileName()); }

void TFilenameEdit::ClearDialogFiles() { fileDialog_->Files.clear(); }

void TFilenameEdit::AddDroppedName(const std::string& name) {
    if (!multiSelect_) {
        SetFileName(name);
        return;
    }
    if (fileDialog_->Files.empty()) SetFileName(name);
    fileDialog_->Files.push_back(name);
}

void TFilenameEdit::DoButtonClick() {
    TFileDirEdit::DoButtonClick();
    std::string name = controls::TextToFileName(platform::FromQString(text()));
    bool action = true;
    if (OnBeforeDialog) OnBeforeDialog(*this, name, action);
    if (!action) return;

    if (controls::IsValidFileName(name)) {
        // A preset that fails leaves the dialog as it was; the browse goes on.
        try {
            const std::string folder = controls::ExtractFilePath(name);
            if (controls::IsDirectory(folder)) fileDialog_->InitialDir = folder;
            const std::string file = controls::ExtractFileName(name);
            if (file.empty() || !controls::IsValidFileName(file)) name.clear();
            fileDialog_->FileName = name;
        } catch (const std::exception&) {
        }
    }
    fileDialog_->HelpContext = HelpContext;

    savedErrorMode_ = platform::SetErrorMode(kDialogErrorMode);
    try {
        action = fileDialog_->Execute(window());
    } catch (...) {
        platform::SetErrorMode(savedErrorMode_);
        savedErrorMode_ = 0;
        throw;
    }
    platform::SetErrorMode(savedErrorMode_);
    savedErrorMode_ = 0;

    if (action) name = fileDialog_->FileName;
    if (focusPolicy() != Qt::NoFocus && isEnabled() && isVisible()) setFocus(Qt::OtherFocusReason);
    if (OnAfterDialog) OnAfterDialog(*this, name, action);
    if (action) {
        setText(platform::ToQString(controls::QuoteFileName(name)));
        fileDialog_->InitialDir = controls::ExtractFilePath(fileDialog_->FileName);
    }
}
