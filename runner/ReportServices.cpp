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

void OpenWithDefaultProgram(const std::string& fileName) {
    // A shell that starts xdg-open in the background and ends at once, so it can be reaped here
    // and the opened program belongs to nobody. The name travels as an argument, never as code.
    const char* argv[] = {"sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 &", "sh", fileName.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
    }
}
