#include "platform/HelpSitemap.h"

#include <cctype>
#include <map>

#include "platform/CodePage.h"

namespace platform {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The character references that a sitemap writer uses.
std::string DecodeEntities(const std::string& s) {
    static const std::map<std::string, std::string> named = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        // A reference is short: its ";" is looked for only a few characters on.
        const std::size_t semi = s[i] == '&' ? s.substr(i, 12).find(';') : std::string::npos;
        if (semi == std::string::npos) {
            out += s[i];
            continue;
        }
        const std::string name = s.substr(i + 1, semi - 1);
        if (const auto it = named.find(Lower(name)); it != named.end()) {
            out += it->second;
        } else if (name.size() > 1 && name[0] == '#' && name.find_first_not_of("0123456789", 1) == std::string::npos &&
                   name.size() < 8) {
            const unsigned long code = std::stoul(name.substr(1));
            // Beyond Unicode, or a surrogate: the replacement character.
            platform::AppendUtf8(code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) ? 0xFFFD : static_cast<char32_t>(code),
                                 out);
        } else {
            out += s[i];
            continue;
        }
        i += semi;
    }
    return out;
}

struct TTag {
    std::string Name;   // lower case, "/ul" for a closing tag
    std::map<std::string, std::string> Attributes;   // names in lower case
};

// The tag whose "<" is at text[at]; at is moved past its ">".
TTag ReadTag(const std::string& text, std::size_t& at) {
    TTag tag;
    std::size_t i = at + 1;
    const auto skipSpace = [&] {
        while (i < text.size() && IsSpace(text[i])) ++i;
    };
    const auto readName = [&] {
        const std::size_t start = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' && text[i] != '=' && text[i] != '/') ++i;
        return Lower(text.substr(start, i - start));
    };
    skipSpace();
    if (i < text.size() && text[i] == '/') {
        ++i;
        tag.Name = "/" + readName();
    } else {
        tag.Name = readName();
    }
    for (;;) {
        skipSpace();
        if (i >= text.size() || text[i] == '>') break;
        if (text[i] == '/') {
            ++i;
            continue;
        }
        const std::string name = readName();
        if (name.empty()) {
            ++i;
            continue;
        }
        skipSpace();
        std::string value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            skipSpace();
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i++];
                const std::size_t end = text.find(quote, i);
                const std::size_t stop = end == std::string::npos ? text.size() : end;
                value = text.substr(i, stop - i);
                i = end == std::string::npos ? text.size() : end + 1;
            } else {
                const std::size_t start = i;
                while (i < text.size() && !IsSpace(text[i]) && text[i] != '>') ++i;
                value = text.substr(start, i - start);
            }
        }
        tag.Attributes.emplace(name, DecodeEntities(value));
    }
    at = i < text.size() ? i + 1 : text.size();
    return tag;
}

}  // namespace

std::vector<THelpSitemapEntry> ParseHelpSitemap(const std::string& html) {
    std::vector<THelpSitemapEntry> root;
    std::vector<std::vector<THelpSitemapEntry>*> lists{&root};
    int depth = 0;   // of the <UL> lists
    bool inObject = false;
    THelpSitemapEntry entry;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string::npos) {
        if (html.compare(at, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", at + 4);
            if (end == std::string::npos) break;
            at = end + 3;
            continue;
        }
        const TTag tag = ReadTag(html, at);
        if (tag.Name == "ul") {
            // The outer list holds the top entries; a list right after an entry holds its children.
            std::vector<THelpSitemapEntry>* top = lists.back();
            lists.push_back(depth == 0 || top->empty() ? top : &top->back().Children);
            ++depth;
        } else if (tag.Name == "/ul") {
            if (depth > 0) {
                lists.pop_back();
                --depth;
            }
        } else if (tag.Name == "object") {
            const auto type = tag.Attributes.find("type");
            inObject = type != tag.Attributes.end() && Lower(type->second) == "text/sitemap";
            entry = {};
        } else if (tag.Name == "param" && inObject) {
            const auto name = tag.Attributes.find("name");
            const auto value = tag.Attributes.find("value");
            if (name == tag.Attributes.end() || value == tag.Attributes.end()) continue;
            const std::string key = Lower(name->second);
            if (key == "name" && entry.Name.empty()) entry.Name = value->second;
            if (key == "local" && entry.Local.empty()) entry.Local = value->second;
        } else if (tag.Name == "/object" && inObject) {
            inObject = false;
            // The properties block of a contents file has no name.
            if (!entry.Name.empty()) lists.back()->push_back(std::move(entry));
            entry = {};
        }
    }
    return root;
}

}  // namespace platform
