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

// Shows the dialog the way the tree does, through platform::ExecModal; in place of a person,
// `user` works its controls while it is shown.
inline int RunModal(QDialog& form, const std::function<void()>& user) {
    platform::ScopedModalHook hook([&](QDialog& shown) {
        shown.show();
        user();
        const int result = shown.result();
        shown.hide();
        return result;
    });
    return platform::ExecModal(form);
}
