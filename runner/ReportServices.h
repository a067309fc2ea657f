#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What the reports need of the desktop: the report setup dialog, today's date, and the
// program that opens a written file. The windows install the real dialog at start-up; tests
// replace all three, so no test blocks on a modal loop or starts an outside program.

// The fields of the report setup dialog that the reporter fills and reads back.
struct TReportSetupValues {
    std::string FileName;
    bool OpenAfter = true;
};

class IReportSetupDialog {
public:
    virtual ~IReportSetupDialog() = default;
    // Shows the dialog modally with values preset; leaves the edit's text and the check box in
    // values and returns how it was closed: 1 Create, 2 Cancel, 0 closed otherwise.
    virtual std::uint8_t Execute(TReportSetupValues& values) = 0;
};

struct TReportServices {
    std::function<std::unique_ptr<IReportSetupDialog>()> MakeSetupDialog;
    std::function<double()> Today;   // days since 30 December 1899
    // False when the desktop has no program that opens the file.
    std::function<bool(const std::string& fileName)> OpenFile;

    // No dialog (every setup is cancelled), the clock, and the desktop's default program.
    static TReportServices Defaults();
};

TReportServices& ReportServices();

// Opens a file with the desktop's default program for it (xdg-open), without waiting for that
// program. False when xdg-open is missing or reports at once that it found no program.
bool OpenWithDefaultProgram(const std::string& fileName);
