#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

using namespace wm;

TEST(WindowMessages, TestWindowCommandsRouteToRunnerCommands) {
    struct Row {
        std::uint32_t Code;
        std::uint8_t Command;
        bool ErrorWithoutRunner;
    };
    const Row rows[] = {
        {520, 3, true},  {521, 4, true},  {523, 0, true},   {524, 0, true},   {525, 0, true},
        {529, 8, true},  {530, 9, true},  {531, 7, true},   {532, 10, false}, {535, 11, false},
        {536, 12, false}, {537, 13, false}, {538, 14, false},
        // Full screen is the main window's own; unlisted codes and small numbers are no commands
        // (Go To has its own message, so an index never arrives here).
        {526, 0, false}, {527, 0, false}, {522, 0, false}, {528, 0, false}, {533, 0, false},
        {534, 0, false}, {7, 0, false},   {519, 0, false}, {539, 0, false},
    };
    for (const Row& r : rows) {
        const TRunTestCommandRoute route = RouteOfRunTestCommand(r.Code);
        EXPECT_EQ(route.Command, r.Command) << r.Code;
        EXPECT_EQ(route.ErrorWithoutRunner, r.ErrorWithoutRunner) << r.Code;
    }
}

TEST(WindowMessages, TheCodeIsTheLowWordOfTheFirstParameter) {
    EXPECT_EQ(MessageCode(0x00010000u + 520u), 520u);
    EXPECT_EQ(MessageCode(0xFFFF0000u), 0u);
    EXPECT_NE(WM_RUNTESTGOTO, WM_RUNTESTCOMMAND);
    EXPECT_NE(WM_RUNTESTGOTO, WM_RUNTEST);
}
