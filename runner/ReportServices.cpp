#include "runner/ReportServices.h"

#include <spawn.h>
#include <sys/wait.h>

#include "platform/ShortDates.h"

extern char** environ;

namespace {

class TCancelledSetup : public IReportSetupDialog {
public:
    std::uint8_t Execute(TReportSetupValues&) override { return 0; }
};

}  // namespace

TReportServices TReportServices::Defaults() {
    TReportServices s;
    s.MakeSetupDialog = [] { return std::make_unique<TCancelledSetup>(); };
    s.Today = [] { return platform::NowDateTime(); };
    s.OpenFile = OpenWithDefaultProgram;
    return s;
}

TReportServices& ReportServices() {
    static TReportServices services = TReportServices::Defaults();
    return services;
}

bool OpenWithDefaultProgram(const std::string& fileName) {
    // A shell starts xdg-open in the background and watches it for a second at most: when it
    // ends in that time its status tells whether a program was found; when it still runs, it
    // runs the program. The shell is reaped here, so the opened program belongs to nobody. The
    // name travels as an argument, never as code.
    const char* script =
        "xdg-open \"$1\" >/dev/null 2>&1 & p=$!; n=0;"
        " while [ $n -lt 10 ]; do kill -0 $p 2>/dev/null || { wait $p; exit $?; }; sleep 0.1; n=$((n+1)); done;"
        " exit 0";
    const char* argv[] = {"sh", "-c", script, "sh", fileName.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
