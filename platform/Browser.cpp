#include "platform/Browser.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <set>
#include <sstream>

#include "platform/IniFile.h"

namespace platform {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string HomeOr(const char* variable, const char* underHome) {
    std::string dir = Env(variable);
    if (!dir.empty() && dir[0] == '/') return dir;
    const std::string home = Env("HOME");
    return home.empty() ? std::string() : home + underHome;
}

std::vector<std::string> ConfigDirs() {
    std::vector<std::string> dirs;
    if (std::string home = HomeOr("XDG_CONFIG_HOME", "/.config"); !home.empty()) dirs.push_back(home);
    std::string system = Env("XDG_CONFIG_DIRS");
    for (const std::string& d : SplitList(system.empty() ? "/etc/xdg" : system, ':')) dirs.push_back(d);
    return dirs;
}

std::vector<std::string> DataDirs() {
    std::vector<std::string> dirs;
    if (std::string home = HomeOr("XDG_DATA_HOME", "/.local/share"); !home.empty()) dirs.push_back(home);
    std::string system = Env("XDG_DATA_DIRS");
    for (const std::string& d : SplitList(system.empty() ? "/usr/local/share:/usr/share" : system, ':'))
        dirs.push_back(d);
    return dirs;
}

// The mimeapps.list files in the order of precedence: per folder the desktop's own list first.
std::vector<std::string> MimeAppsLists() {
    std::vector<std::string> desktops;
    for (std::string d : SplitList(Env("XDG_CURRENT_DESKTOP"), ':')) {
        for (char& c : d) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        desktops.push_back(d);
    }
    std::vector<std::string> folders = ConfigDirs();
    for (const std::string& d : DataDirs()) folders.push_back(d + "/applications");
    std::vector<std::string> lists;
    for (const std::string& folder : folders) {
        for (const std::string& desktop : desktops) lists.push_back(folder + "/" + desktop + "-mimeapps.list");
        lists.push_back(folder + "/mimeapps.list");
    }
    return lists;
}

// The installed desktop entry of a desktop file ID, empty when there is none.
std::string FindDesktopEntry(const std::string& id) {
    if (id.empty() || id.find('/') != std::string::npos) return {};
    for (const std::string& dir : DataDirs()) {
        const std::string path = dir + "/applications/" + id;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
    }
    return {};
}

// An installed desktop entry that can be started: its Exec value and the fields its codes name.
struct TEntry {
    std::string Exec;
    TDesktopEntryFields Fields;
};

std::optional<TEntry> LoadEntry(const std::string& id) {
    const std::string path = FindDesktopEntry(id);
    if (path.empty()) return std::nullopt;
    const IniFile file = IniFile::Load(path);
    if (file.ReadString("Desktop Entry", "Hidden", "") == "true") return std::nullopt;
    TEntry entry{file.ReadString("Desktop Entry", "Exec", ""),
                 {file.ReadString("Desktop Entry", "Icon", ""), file.ReadString("Desktop Entry", "Name", ""), path}};
    if (ExecCommand(entry.Exec, "-").empty()) return std::nullopt;
    return entry;
}

// The usable entries for a content type, each once, in the order of precedence: the defaults of
// the mimeapps.list files, then the installed programs that declare the type.
std::vector<TEntry> EntriesFor(const std::string& contentType) {
    std::vector<TEntry> entries;
    std::set<std::string> seen;
    const auto add = [&](const std::string& ids) {
        for (const std::string& id : SplitList(ids, ';'))
            if (seen.insert(id).second)
                if (auto entry = LoadEntry(id)) entries.push_back(std::move(*entry));
    };
    for (const std::string& list : MimeAppsLists())
        if (auto ids = IniFile::Load(list).Value("Default Applications", contentType)) add(*ids);
    for (const std::string& dir : DataDirs())
        if (auto ids = IniFile::Load(dir + "/applications/mimeinfo.cache").Value("MIME Cache", contentType)) add(*ids);
    return entries;
}

// Starts the first entry of the content types, in their order, that starts with the address.
bool OpenWith(std::initializer_list<std::string> contentTypes, const std::string& url) {
    for (const std::string& type : contentTypes)
        for (const TEntry& entry : EntriesFor(type))
            if (StartCommand(ExecCommand(entry.Exec, url, entry.Fields))) return true;
    return false;
}

// A desktop entry's string value with its escapes undone.
std::string UnescapeValue(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's': out += ' '; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '\\': out += '\\'; break;
            // Left for the quoting rules of the command line (\" inside quotes).
            default: out += '\\'; out += value[i]; break;
        }
    }
    return out;
}

// The words of a command line: split at blanks outside double quotes, the quotes removed.
std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < line.size() && std::strchr("\"`$\\", line[i + 1])) {
                word += line[++i];
            } else {
                word += c;
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (c == '"') {
            quoted = inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

// program as a path: itself when it holds a "/", else the first executable file of that name on PATH.
std::string ResolveProgram(const std::string& program) {
    if (program.empty()) return {};
    const auto executable = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
    };
    if (program.find('/') != std::string::npos) return executable(program) ? program : std::string();
    for (const std::string& dir : SplitList(Env("PATH"), ':')) {
        const std::string path = dir + "/" + program;
        if (executable(path)) return path;
    }
    return {};
}

}  // namespace

std::vector<std::string> ExecCommand(const std::string& execLine, const std::string& url,
                                     const TDesktopEntryFields& entry) {
    const std::vector<std::string> words = SplitCommandLine(UnescapeValue(execLine));
    // A field code is never a program.
    if (words.empty() || words.front().empty() || words.front().find('%') != std::string::npos) return {};
    std::vector<std::string> command;
    bool takesAddress = false;
    for (const std::string& word : words) {
        if (word == "%i") {
            if (!entry.Icon.empty()) command.insert(command.end(), {"--icon", entry.Icon});
            continue;
        }
        std::string expanded;
        bool onlyCodes = !word.empty();
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word[i] != '%' || i + 1 == word.size()) {
                expanded += word[i];
                onlyCodes = false;
                continue;
            }
            switch (word[++i]) {
                case 'u': case 'U': case 'f': case 'F':
                    expanded += url;
                    takesAddress = true;
                    onlyCodes = false;
                    break;
                case 'c': expanded += entry.Name; break;
                case 'k': expanded += entry.Path; break;
                case '%': expanded += '%'; onlyCodes = false; break;
                default: break;   // deprecated or unknown codes stand for nothing
            }
        }
        // A word of codes that stand for nothing is no argument.
        if (!(onlyCodes && expanded.empty())) command.push_back(expanded);
    }
    if (!takesAddress) command.push_back(url);
    return command;
}

std::string DefaultApplicationProgram(const std::string& contentType) {
    const std::vector<TEntry> entries = EntriesFor(contentType);
    return entries.empty() ? std::string() : ExecCommand(entries.front().Exec, "-").front();
}

bool StartCommand(const std::vector<std::string>& command) {
    if (command.empty()) return false;
    const std::string path = ResolveProgram(command.front());
    if (path.empty()) return false;
    if (std::filesystem::path(path).filename() == "env") {
        // "env NAME=value ... program": the program after the settings must be there as well.
        std::size_t i = 1;
        while (i < command.size() && command[i].find('=') != std::string::npos && command[i][0] != '-') ++i;
        if (i == command.size()) return false;
        if (command[i][0] != '-' && ResolveProgram(command[i]).empty()) return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (std::size_t i = 1; i < command.size(); ++i) argv.push_back(const_cast<char*>(command[i].c_str()));
    argv.push_back(nullptr);
    // The grandchild reports a failed exec through the pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on. The grandchild is adopted by init, so the
        // program leaves no zombie and outlives nothing of ours.
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execv(path.c_str(), argv.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t n = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    const bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return forked && got == 0;
}

bool OpenInBrowser(const std::string& url) { return OpenWith({"x-scheme-handler/http", "text/html"}, url); }

std::string UrlScheme(const std::string& url) {
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    std::string scheme = url.substr(0, colon);
    if (!std::isalpha(static_cast<unsigned char>(scheme[0]))) return {};
    for (char& c : scheme) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != '+' && c != '-' && c != '.') return {};
        c = static_cast<char>(std::tolower(u));
    }
    return scheme;
}

bool OpenUrl(const std::string& url) {
    const std::string scheme = UrlScheme(url);
    if (scheme.empty()) return false;
    if (scheme == "http" || scheme == "https") return OpenInBrowser(url);
    return OpenWith({"x-scheme-handler/" + scheme}, url);
}

}  // namespace platform
