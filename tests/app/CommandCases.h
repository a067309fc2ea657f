#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandEnabling.h"

// One expectation of a case: what the pass does to one command.
struct TExpectedCommand {
    enum TWhat { On, Off, Shown, Hidden, Caption, Untouched };
    std::string Name;
    TWhat What = On;
    std::string Key;   // the caption's message key
};

// A case of the command table. The window test makes the same facts in the real window: it
// opens the project of CommandCaseProject() (or none, or a new one), selects the node and
// checks the actions by name.
struct TCommandCase {
    std::string Name;
    TCommandFacts Facts;
    std::optional<std::string> CaptionFileName;
    std::vector<TExpectedCommand> Expected;
    // How the window test gets there.
    enum TProject { NoProject, Opened, OpenedAndChanged, Created } Project = Opened;
    // The node to select: the first of Facts.Kind below the test or group with this ID (kinds 3
    // and below: the group), -1 for none.
    std::int32_t Under = -1;
    // Some facts the window cannot make yet (a paste state, a kept search text).
    bool InWindow = true;
};

// The file name the cases give an opened project.
constexpr const char* kCaseFileName = "project.kvd";

// The project of the cases, by ID:
//   group 1 "Group one": test 1 "Open test" (scale 1 "Scale one" with interpretation 1 "Low";
//     question 1 "Question one" with answer 1 "Yes" (weight 1 on scale 1) and answer 2 "No"
//     (weight 2 without a scale); question 2 "Question two" without answers),
//     test 2 "Private test", private (scale 2 without interpretations; question 3 with answer 3),
//     test 3 "Empty test" without scales and questions;
//   group 2 "Group empty" without tests.
class TFileAccess;
void FillCommandCaseProject(TFileAccess& store);

const std::vector<TCommandCase>& CommandCases();

// Cases print as their names.
inline void PrintTo(const TCommandCase& c, std::ostream* os) { *os << c.Name; }
