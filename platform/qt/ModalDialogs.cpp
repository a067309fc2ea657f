#include "platform/qt/ModalDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QStringList>

#include <utility>

#include "platform/qt/QtText.h"

namespace platform {
namespace {

ModalHook& Hook() {
    static ModalHook hook;
    return hook;
}

FileDialogHook& FileHook() {
    static FileDialogHook hook;
    return hook;
}

FileChoiceHook& ChoiceHook() {
    static FileChoiceHook hook;
    return hook;
}

// The entries of a filter in Qt's form.
QStringList QtEntries(const std::string& filter) {
    const QStringList parts = ToQString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << (t == "*.*" ? QStringLiteral("*") : t);
        }
        const QString joined = patterns.join(' ');
        // Qt reads the patterns from the last parentheses of the entry.
        const int open = description.lastIndexOf('(');
        if (open >= 0 && description.endsWith(')')) description = description.left(open).trimmed();
        entries << description + " (" + joined + ")";
    }
    return entries;
}

// The file dialog's name edit takes every key it is given. F1 is let past it and the dialog's
// other parts to the window, where the program's help answers it.
class TPassHelpKey : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        key->ignore();
        return true;
    }
};

std::optional<TFileDialogChoice> RealFileDialog(const TFileDialogRequest& r) {
    QFileDialog dialog(r.Parent, ToQString(r.Title), ToQString(r.InitialDir));
    // The program's own dialog, not the desktop's: F1 in it reaches the program's help.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (r.HelpContext != 0) dialog.setProperty("HelpContext", r.HelpContext);
    const QStringList entries = QtEntries(r.Filter);
    dialog.setNameFilters(entries);
    if (r.FilterIndex >= 1 && r.FilterIndex <= entries.size()) dialog.selectNameFilter(entries[r.FilterIndex - 1]);
    if (!r.FileName.empty()) dialog.selectFile(ToQString(r.FileName));
    if (!r.DefaultExt.empty()) dialog.setDefaultSuffix(ToQString(r.DefaultExt));
    if (r.Kind == TFileDialogRequest::TKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(r.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!r.OverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    TPassHelpKey passHelpKey;
    for (QWidget* part : dialog.findChildren<QWidget*>()) part->installEventFilter(&passHelpKey);
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    TFileDialogChoice choice;
    choice.FileName = FromQString(dialog.selectedFiles().first());
    const qsizetype selected = entries.indexOf(dialog.selectedNameFilter());
    choice.FilterIndex = selected >= 0 ? static_cast<int>(selected) + 1 : r.FilterIndex;
    return choice;
}

}  // namespace

void SetDialogBorder(QWidget& window, const QSize& size) {
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window.setFixedSize(size);
}

void CentreOnDesktop(QWidget& window) {
    if (const QScreen* s = window.screen()) window.move(s->availableGeometry().center() - window.rect().center());
}

int ExecModal(QDialog& dialog) {
    if (Hook()) return Hook()(dialog);
    return dialog.exec();
}

ModalHook SetModalHook(ModalHook hook) {
    ModalHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

std::optional<std::string> RunFileDialog(const TFileDialogRequest& request) {
    if (FileHook()) return FileHook()(request);
    const std::optional<TFileDialogChoice> choice = RunFileChoiceDialog(request);
    if (!choice) return std::nullopt;
    return choice->FileName;
}

std::optional<TFileDialogChoice> RunFileChoiceDialog(const TFileDialogRequest& request) {
    if (ChoiceHook()) return ChoiceHook()(request);
    if (FileHook()) {
        std::optional<std::string> name = FileHook()(request);
        if (!name) return std::nullopt;
        return TFileDialogChoice{std::move(*name), request.FilterIndex};
    }
    return RealFileDialog(request);
}

FileChoiceHook SetFileChoiceHook(FileChoiceHook hook) {
    FileChoiceHook previous = std::move(ChoiceHook());
    ChoiceHook() = std::move(hook);
    return previous;
}

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    FileDialogHook previous = std::move(FileHook());
    FileHook() = std::move(hook);
    return previous;
}

QString ToQtFilter(const std::string& filter) { return QtEntries(filter).join(";;"); }

QString QtFilterAt(const std::string& filter, int index) {
    const QStringList entries = QtEntries(filter);
    return index >= 1 && index <= entries.size() ? entries[index - 1] : QString();
}

}  // namespace platform
