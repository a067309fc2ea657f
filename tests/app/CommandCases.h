#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandEnabling.h"

// A case of the command table. The window test makes the same facts in the real window: it
// opens the project of FillCommandCaseProject() (or none, or a new one), marks a node, selects
// the node and checks every command of the expectation by name.
struct TCommandCase {
    std::string Name;
    TCommandFacts Facts;
    // How the window test gets there.
    enum TProject { NoProject, Opened, OpenedAndChanged, Created, OpenedAndClosed } Project = Opened;
    // The node to select: the first of Facts.Kind below the test or group with this ID (kinds 3
    // and below: the group), -1 for the first anywhere.
    std::int32_t Under = -1;
    // A node marked by Edit > Cut or Copy before the selection; Kind 0: no mark.
    struct TMark {
        int Kind = 0;
        std::int32_t Under = -1;
        bool Cut = false;
    } Mark;
    // Why the window cannot make these facts; empty when it can.
    std::string NotInWindow;
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

// Every command a pass sets for the facts, with all that it sets, worked out command by command
// from the selected kind's named command row and the file, edit and private-test rules.
TCommandStates ExpectedCommandStates(const TCommandFacts& facts);

// Cases print as their names.
inline void PrintTo(const TCommandCase& c, std::ostream* os) { *os << c.Name; }
