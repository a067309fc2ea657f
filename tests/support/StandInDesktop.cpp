#include "tests/support/StandInDesktop.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

constexpr const char* kVariables[] = {"PATH", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                      "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP"};

}  // namespace

StandInDesktop::StandInDesktop() {
    for (const char* v : kVariables) {
        const char* value = std::getenv(v);
        saved_[v] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    configHome_ = dir_.File("config");
    dataHome_ = dir_.File("data");
    bin_ = dir_.File("bin");
    for (const std::string& d : {configHome_, dataHome_ + "/applications", bin_, dir_.File("sysconfig"),
                                 dir_.File("sysdata")})
        std::filesystem::create_directories(d);
    setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", dir_.File("sysconfig").c_str(), 1);
    setenv("XDG_DATA_HOME", dataHome_.c_str(), 1);
    setenv("XDG_DATA_DIRS", dir_.File("sysdata").c_str(), 1);
    unsetenv("XDG_CURRENT_DESKTOP");
    const std::string path = bin_ + ":" + saved_["PATH"].value_or("/usr/bin:/bin");
    setenv("PATH", path.c_str(), 1);
}

StandInDesktop::~StandInDesktop() {
    for (const auto& [name, value] : saved_) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
}

std::string StandInDesktop::AddRecordingProgram(const std::string& name) {
    const std::string out = dir_.File(name + ".args");
    const std::string script = bin_ + "/" + name;
    // The count first, then every argument ended by a NUL; written whole, then moved in place.
    WriteBytes(script, "#!/bin/sh\n"
                       "out='" + out + "'\n"
                       "printf '%s\\n' \"$#\" > \"$out.part\"\n"
                       "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$out.part\"; done\n"
                       "mv \"$out.part\" \"$out\"\n");
    ::chmod(script.c_str(), 0755);
    return name;
}

void StandInDesktop::AddDesktopEntry(const std::string& id, const std::string& exec) {
    WriteBytes(dataHome_ + "/applications/" + id,
               "[Desktop Entry]\nType=Application\nName=" + id + "\nExec=" + exec + "\n");
}

void StandInDesktop::SetDefault(const std::string& contentType, const std::string& id) {
    defaults_[contentType] = id;
    std::string text = "[Default Applications]\n";
    for (const auto& [type, entry] : defaults_) text += type + "=" + entry + ";\n";
    WriteBytes(configHome_ + "/mimeapps.list", text);
}

std::optional<std::vector<std::string>> StandInDesktop::Arguments(const std::string& name) const {
    const std::string out = dir_.File(name + ".args");
    for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!std::filesystem::exists(out)) return std::nullopt;
    const std::string text = ReadBytes(out);
    const std::size_t newline = text.find('\n');
    std::vector<std::string> args;
    std::size_t at = newline + 1;
    while (at < text.size()) {
        const std::size_t nul = text.find('\0', at);
        args.push_back(text.substr(at, nul - at));
        at = nul == std::string::npos ? text.size() : nul + 1;
    }
    // The count the program saw must agree with what was read back.
    if (std::to_string(args.size()) != text.substr(0, newline)) return std::vector<std::string>{"<garbled>"};
    return args;
}

void StandInDesktop::Forget(const std::string& name) { std::filesystem::remove(dir_.File(name + ".args")); }
