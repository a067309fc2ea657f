#pragma once
#include <cstdint>

// The commands of a test run, in one place: the codes a test window sends with
// WM_RUNTESTCOMMAND (the low word of the first parameter, the window's handle in the second),
// the runner commands they become, and how the main window's side routes each code.

// The codes a test window sends.
enum TRunTestCommandCode : std::uint32_t {
    rcNext = 520,
    rcBack = 521,
    rcUnused522 = 522,
    rcPause = 523,
    rcContinue = 524,
    rcStop = 525,
    rcMaximizeToScreen = 526,
    rcMinimizeToApplication = 527,
    rcUnused528 = 528,
    rcShowProtocol = 529,
    rcShowResults = 530,
    rcFinalScreen = 531,
    rcResized = 532,
    rcUnused533 = 533,
    rcUnused534 = 534,
    rcKeyTab = 535,
    rcKeySpaceEnter = 536,
    rcKeyUpLeft = 537,
    rcKeyDownRight = 538,
};

// The commands of TTestRunner::ExecuteCommand.
enum TRunnerCommand : std::uint8_t {
    rnNone = 0,   // no command: nothing is executed
    rnStart = 2,
    rnNext = 3,
    rnBack = 4,
    rnGoTo = 5,   // from WM_RUNTESTGOTO and the end screen's links, never from a code
    rnEndScreen = 7,
    rnProtocol = 8,
    rnResults = 9,
    rnRedisplay = 10,
    rnTab = 11,
    rnSpaceEnter = 12,
    rnUpLeft = 13,
    rnDownRight = 14,
};

// Where the main window's side sends a code.
enum class TRunTestCommandTarget : std::uint8_t {
    None,         // not a command: nothing happens
    Runner,       // the sending window's runner executes the command
    FullScreen,   // the sending window's run goes full screen
    OwnWindow,    // the full-screen run goes back to its own window
};

struct TRunTestCommand {
    std::uint32_t Code;
    TRunTestCommandTarget Target;
    TRunnerCommand Command;    // for the runner; rnNone: it does nothing
    bool ErrorWithoutRunner;   // a window without runner: show "MAIN_F_NO_RUNTEST_WINDOW"
};

// Every code with what it does. Pause, Continue and Stop are never enabled and do nothing with a
// runner.
inline constexpr TRunTestCommand kRunTestCommands[] = {
    {rcNext, TRunTestCommandTarget::Runner, rnNext, true},
    {rcBack, TRunTestCommandTarget::Runner, rnBack, true},
    {rcPause, TRunTestCommandTarget::Runner, rnNone, true},
    {rcContinue, TRunTestCommandTarget::Runner, rnNone, true},
    {rcStop, TRunTestCommandTarget::Runner, rnNone, true},
    {rcMaximizeToScreen, TRunTestCommandTarget::FullScreen, rnNone, false},
    {rcMinimizeToApplication, TRunTestCommandTarget::OwnWindow, rnNone, false},
    {rcShowProtocol, TRunTestCommandTarget::Runner, rnProtocol, true},
    {rcShowResults, TRunTestCommandTarget::Runner, rnResults, true},
    {rcFinalScreen, TRunTestCommandTarget::Runner, rnEndScreen, true},
    {rcResized, TRunTestCommandTarget::Runner, rnRedisplay, false},
    {rcKeyTab, TRunTestCommandTarget::Runner, rnTab, false},
    {rcKeySpaceEnter, TRunTestCommandTarget::Runner, rnSpaceEnter, false},
    {rcKeyUpLeft, TRunTestCommandTarget::Runner, rnUpLeft, false},
    {rcKeyDownRight, TRunTestCommandTarget::Runner, rnDownRight, false},
};

// The row of a code; a code without a row is no command.
constexpr TRunTestCommand RunTestCommandOf(std::uint32_t code) {
    for (const TRunTestCommand& c : kRunTestCommands)
        if (c.Code == code) return c;
    return {code, TRunTestCommandTarget::None, rnNone, false};
}
