#pragma once
#include <cstdint>

// The private window messages between the objects tree, the test windows, the runners, the
// toolbar setup dialog and the main window, with their codes. For the first three messages the
// code travels in the low word of the first parameter; the second parameter is, as a rule, the
// sender's window handle.
namespace wm {

constexpr std::uint32_t WM_USER = 1024;

// From the tree and from child windows to the main window: a TChildNotifyCode.
constexpr std::uint32_t WM_CHILDNOTIFY = WM_USER + 1;      // 1025
// From a test window to the main window: a code of the runner's commands (runner/RunnerCommands.h),
// handed to that window's runner.
constexpr std::uint32_t WM_RUNTESTCOMMAND = WM_USER + 2;   // 1026
// From a runner to the window that hosts it: a TRunTestStateCode.
constexpr std::uint32_t WM_RUNTEST = WM_USER + 3;          // 1027
// From a test window to the main window: go to the question whose index is the whole first
// parameter. It has a message of its own so that no index can be mistaken for a command code.
constexpr std::uint32_t WM_RUNTESTGOTO = WM_USER + 4;      // 1028
// From the toolbar setup dialog to the main window, both parameters 0. A plain number.
constexpr std::uint32_t WM_TOOLBARSCHANGED = 508;

// The "none" value of indexes and of the second parameter of state notices.
constexpr std::int32_t kNoIndex = -99999;

// The code of a message: the low word of its first parameter.
constexpr std::uint32_t MessageCode(std::uint32_t wParam) { return wParam & 0xFFFFu; }

// Codes of WM_CHILDNOTIFY.
enum TChildNotifyCode : std::uint32_t {
    cnChildActivated = 501,   // send, the child's handle
    cnUnused502 = 502,        // not sent
    cnChildCreated = 503,     // post, the new window's handle
    cnSelectionChanged = 504, // send, 0: the tree's selection or a node's caption changed
    cnChildClosed = 505,      // post, the closing window's handle
    cnCloseChild = 506,       // send, the window's handle: close this child
    cnTreeChanged = 507,      // send, the tree's handle: the tree's structure changed
    cnUnused508 = 508,        // not sent
    cnUnused509 = 509,        // not sent
    cnRunSelectedTest = 510,  // send, the tree's handle
};

// Codes of WM_RUNTEST, always sent; the second parameter is a Go-To item index for 550 and 569,
// kNoIndex for the others.
enum TRunTestStateCode : std::uint32_t {
    rsCheckGotoItem = 550,
    rsNextOn = 551,
    rsNextOff = 552,
    rsBackOn = 553,
    rsBackOff = 554,
    rsGotoOn = 555,
    rsGotoOff = 556,
    rsProtocolOn = 557,
    rsProtocolOff = 558,
    rsResultsOn = 559,
    rsResultsOff = 560,
    rsMaximizeOn = 561,
    rsMaximizeOff = 562,
    rsMinimizeOn = 563,
    rsMinimizeOff = 564,
    rsCloseOn = 565,
    rsCloseOff = 566,
    rsNextLinkPressed = 567,
    rsBackLinkPressed = 568,
    rsDisableGotoItem = 569,
};

}  // namespace wm
