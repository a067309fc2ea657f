#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

// A desktop of the test's own for its lifetime: empty XDG configuration and data folders in a
// temporary folder and a folder of stand-in programs first on PATH. Nothing of the machine's own
// desktop (its browser, its mail program) can be reached while it lives.
class StandInDesktop {
public:
    StandInDesktop();
    ~StandInDesktop();
    StandInDesktop(const StandInDesktop&) = delete;
    StandInDesktop& operator=(const StandInDesktop&) = delete;

    // A program on PATH that writes the arguments it was started with to a file and ends.
    // Returns the program's name.
    std::string AddRecordingProgram(const std::string& name);
    // A desktop entry with the Exec line, installed in the data folder.
    void AddDesktopEntry(const std::string& id, const std::string& exec);
    // Makes the entry the default application of the content type in mimeapps.list.
    void SetDefault(const std::string& contentType, const std::string& id);
    // The arguments the recording program was started with, once it has written them (waits up
    // to a few seconds, for it runs detached); nullopt when it never ran.
    std::optional<std::vector<std::string>> Arguments(const std::string& name) const;

    // Forgets what the recording program wrote, for its next start.
    void Forget(const std::string& name);

    const std::string& ConfigHome() const { return configHome_; }

private:
    TempDir dir_;
    std::string configHome_, dataHome_, bin_;
    std::map<std::string, std::string> defaults_;
    std::map<std::string, std::optional<std::string>> saved_;
};
