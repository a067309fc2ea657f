#include "platform/IniFile.h"

#include "platform/CodePage.h"
#include "platform/SafeFile.h"

namespace platform {
std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

IniFile IniFile::Load(const std::string& path) {
    try {
        if (auto text = ReadFileCapped(path)) return Parse(*text);
    } catch (const EFileError&) {
        // Not a regular file or too large: read like a missing file.
    }
    return {};
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    Section* current = nullptr;   // null while outside a section or inside a repeated one
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            name = TrimBlanks(name.substr(0, name.find(']')));
            inSection = true;
            auto [it, added] = ini.index_.try_emplace(LowerAscii(name), ini.sections_.size());
            if (added) ini.sections_.emplace_back();
            current = added ? &ini.sections_.back() : nullptr;
            continue;
        }
        if (!inSection || !current) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, eq));
        if (key.empty()) continue;
        const std::string_view value = TrimBlanks(line.substr(eq + 1));
        auto [it, added] = current->Index.try_emplace(LowerAscii(key), current->Entries.size());
        if (added)
            current->Entries.push_back({std::string(key), CodePage::Current().Cut(value, kMaxValueLength)});
    }
    return ini;
}

const IniFile::Section* IniFile::Find(std::string_view section) const {
    const auto it = index_.find(LowerAscii(TrimBlanks(section)));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

bool IniFile::HasSection(std::string_view section) const { return Find(section) != nullptr; }

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = Find(section)) {
        keys.reserve(s->Entries.size());
        for (const Entry& e : s->Entries) keys.push_back(e.Key);
    }
    return keys;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    const Section* s = Find(section);
    if (!s) return std::nullopt;
    const auto it = s->Index.find(LowerAscii(TrimBlanks(key)));
    if (it == s->Index.end()) return std::nullopt;
    return s->Entries[it->second].Value;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    if (auto v = Value(section, key)) return std::move(*v);
    return std::string(def);
}

}  // namespace platform
