#include "lang/DlgLangConverter.h"

#include <mutex>

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/UserInteraction.h"

namespace {

constexpr std::string_view kSection = "Dialogues";

}  // namespace

TDlgLangConverter::TDlgLangConverter(const std::string& fileName) {
    const platform::IniFile ini = platform::IniFile::Load(fileName);
    keys_ = ini.Keys(kSection);
    if (keys_.empty())
        throw Exception("Inner Error -> Please call to Talmer Group! - no such section: \"Dialogues\"");
    lines_.reserve(keys_.size());
    for (const std::string& key : keys_) lines_.push_back(key + "=" + ini.ReadString(kSection, key, ""));
    if (lines_.size() != keys_.size() || lines_.empty()) throw Exception("Inner Error -> Please call to Talmer Group!");
}

std::string TDlgLangConverter::GetMessageText(std::string_view key) const {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] != key) continue;
        const std::string line = platform::CutShortText(lines_[i]);
        const std::size_t eq = line.find('=');
        return eq == std::string::npos ? std::string() : line.substr(eq + 1);
    }
    throw Exception("Inner Error -> No such message; Bad file! - " + std::string(key) + " absent");
}

void TDlgLangConverter::ShowMessageByKey(std::string_view key) const { ShowMessageText(GetMessageText(key)); }

void TDlgLangConverter::ShowMessageText(std::string_view text) { platform::ShowMessage(platform::CutShortText(text)); }

namespace lang {
namespace {

std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}
std::unique_ptr<TDlgLangConverter>& TableSlot() {
    static std::unique_ptr<TDlgLangConverter> table;
    return table;
}
std::string& FileNameSlot() {
    static std::string name;
    return name;
}

}  // namespace

std::string LanguageFileName() {
    {
        std::lock_guard lock(TableMutex());
        if (!FileNameSlot().empty()) return FileNameSlot();
    }
    return platform::ProgramFolder() + "/language.txt";
}

void SetLanguageFileName(std::string fileName) {
    std::lock_guard lock(TableMutex());
    FileNameSlot() = std::move(fileName);
}

const TDlgLangConverter& MessageTable() {
    const std::string fileName = LanguageFileName();
    std::lock_guard lock(TableMutex());
    auto& table = TableSlot();
    if (!table) table = std::make_unique<TDlgLangConverter>(fileName);
    return *table;
}

std::unique_ptr<TDlgLangConverter> SetMessageTable(std::unique_ptr<TDlgLangConverter> table) {
    std::lock_guard lock(TableMutex());
    TableSlot().swap(table);
    return table;
}

std::string GetMessageText(std::string_view key) { return MessageTable().GetMessageText(key); }

void ShowMessageByKey(std::string_view key) { MessageTable().ShowMessageByKey(key); }

void ShowMessageText(std::string_view text) { TDlgLangConverter::ShowMessageText(text); }

}  // namespace lang
