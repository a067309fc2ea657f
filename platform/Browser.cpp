#include "platform/Browser.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
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

// The program of an installed, usable desktop entry; empty otherwise.
std::string EntryProgram(const std::string& id) {
    const std::string path = FindDesktopEntry(id);
    if (path.empty()) return {};
    const IniFile entry = IniFile::Load(path);
    if (entry.ReadString("Desktop Entry", "Hidden", "") == "true") return {};
    return ExecProgram(entry.ReadString("Desktop Entry", "Exec", ""));
}

// The first usable application of a ";"-separated list of desktop file IDs.
std::string FirstProgram(const std::string& ids) {
    for (const std::string& id : SplitList(ids, ';'))
        if (std::string program = EntryProgram(id); !program.empty()) return program;
    return {};
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

std::string ExecProgram(const std::string& execLine) {
    std::size_t i = 0;
    while (i < execLine.size() && std::isspace(static_cast<unsigned char>(execLine[i]))) ++i;
    std::string program;
    if (i < execLine.size() && execLine[i] == '"') {
        for (++i; i < execLine.size() && execLine[i] != '"'; ++i) {
            if (execLine[i] == '\\' && i + 1 < execLine.size()) ++i;
            program += execLine[i];
        }
    } else {
        while (i < execLine.size() && !std::isspace(static_cast<unsigned char>(execLine[i]))) program += execLine[i++];
    }
    // A field code is never a program.
    if (!program.empty() && program[0] == '%') return {};
    return program;
}

std::string DefaultApplicationProgram(const std::string& contentType) {
    for (const std::string& list : MimeAppsLists()) {
        const IniFile file = IniFile::Load(list);
        if (auto ids = file.Value("Default Applications", contentType))
            if (std::string program = FirstProgram(*ids); !program.empty()) return program;
    }
    // No default set: the first installed program that declares the type.
    for (const std::string& dir : DataDirs()) {
        const IniFile cache = IniFile::Load(dir + "/applications/mimeinfo.cache");
        if (auto ids = cache.Value("MIME Cache", contentType))
            if (std::string program = FirstProgram(*ids); !program.empty()) return program;
    }
    return {};
}

bool StartProgram(const std::string& program, const std::string& argument) {
    const std::string path = ResolveProgram(program);
    if (path.empty()) return false;
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
            char* const argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(argument.c_str()), nullptr};
            ::execv(path.c_str(), argv);
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

bool OpenInBrowser(const std::string& url) {
    std::string browser = DefaultApplicationProgram("x-scheme-handler/http");
    if (browser.empty()) browser = DefaultApplicationProgram("text/html");
    if (browser.empty()) return false;
    return StartProgram(browser, url);
}

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
    const std::string program = DefaultApplicationProgram("x-scheme-handler/" + scheme);
    return !program.empty() && StartProgram(program, url);
}

}  // namespace platform
