#pragma once
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>

#include <functional>

#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "platform/qt/ModalDialogs.h"

// The code page of the tests is UTF-8, whatever the machine's locale says.
class Utf8CodePage {
public:
    Utf8CodePage() : saved_(platform::CodePage::Current()) { platform::CodePage::SetCurrent(platform::CodePage("UTF-8")); }
    ~Utf8CodePage() { platform::CodePage::SetCurrent(saved_); }
    Utf8CodePage(const Utf8CodePage&) = delete;
    Utf8CodePage& operator=(const Utf8CodePage&) = delete;

private:
    platform::CodePage saved_;
};

inline platform::FormatSettings DotSettings() { return platform::FormatSettings::Posix(); }
inline platform::FormatSettings CommaSettings() { return {',', platform::DateOrder::DMY, '.'}; }

// What a person does with the clipboard: paste over the whole text.
inline void PasteOver(QLineEdit& edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    edit.selectAll();
    edit.paste();
}

// What RunModal gives for a window that is still open when the person is done: a real modal
// loop would never have returned.
constexpr int kStillOpen = -1;

// The end of a modal loop, after the person is done with a shown dialog: its result when it
// closed, else kStillOpen (and it is hidden).
inline int ResultOnceClosed(QDialog& shown) {
    if (!shown.isVisible()) return shown.result();
    shown.hide();
    return kStillOpen;
}

// Shows the dialog the way the tree does, through platform::ExecModal; in place of a person,
// `user` works its controls while it is shown. Gives the window's result when `user` closed it,
// else kStillOpen.
inline int RunModal(QDialog& form, const std::function<void()>& user) {
    platform::ScopedModalHook hook([&](QDialog& shown) {
        shown.show();
        user();
        return ResultOnceClosed(shown);
    });
    return platform::ExecModal(form);
}
