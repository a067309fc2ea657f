#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The message table: the texts of section "Dialogues" of the language file, by key. Keys and
// texts are byte strings in the program's code page.
class TDlgLangConverter {
public:
    // Reads section "Dialogues" of the file. Raises Exception when the file or the section is
    // missing or the section holds no key.
    explicit TDlgLangConverter(const std::string& fileName);

    // The text of key (matched exactly, letter case included): the part behind the first "=" of
    // the line key=value cut to 255 bytes. Raises Exception when the key is absent.
    std::string GetMessageText(std::string_view key) const;
    // Shows GetMessageText(key) in the plain message box; raises like GetMessageText.
    void ShowMessageByKey(std::string_view key) const;
    // Shows text, cut to 255 bytes, in the plain message box.
    static void ShowMessageText(std::string_view text);

    const std::vector<std::string>& Keys() const { return keys_; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> keys_;
    std::vector<std::string> lines_;   // key=value, in the order of keys_
};

namespace lang {

// The language file beside the running program: its folder + "/language.txt".
std::string LanguageFileName();
// Points LanguageFileName() elsewhere (tests); an empty name restores the file beside the program.
void SetLanguageFileName(std::string fileName);

// The one message table of the program. Start-up installs it; asked for before that, it is read
// from LanguageFileName() (raising as the constructor does).
const TDlgLangConverter& MessageTable();
// Installs a table (nullptr: none, so the next use reads the language file) and returns the old one.
std::unique_ptr<TDlgLangConverter> SetMessageTable(std::unique_ptr<TDlgLangConverter> table);

std::string GetMessageText(std::string_view key);
void ShowMessageByKey(std::string_view key);
void ShowMessageText(std::string_view text);

// Marks a message key that is kept in a table before it is looked up, so that the check of the
// shipped language file finds it among the keys the sources use.
constexpr const char* MessageKey(const char* key) { return key; }

}  // namespace lang
