#include "runner/RunnerCommands.h"

#include <gtest/gtest.h>

#include <set>

TEST(RunnerCommands, TestWindowCodesRouteToRunnerCommands) {
    using T = TRunTestCommandTarget;
    struct Row {
        std::uint32_t Code;
        T Target;
        std::uint8_t Command;
        bool ErrorWithoutRunner;
    };
    const Row rows[] = {
        {520, T::Runner, 3, true},      {521, T::Runner, 4, true},       {523, T::Runner, 0, true},
        {524, T::Runner, 0, true},      {525, T::Runner, 0, true},       {529, T::Runner, 8, true},
        {530, T::Runner, 9, true},      {531, T::Runner, 7, true},       {532, T::Runner, 10, false},
        {535, T::Runner, 11, false},    {536, T::Runner, 12, false},     {537, T::Runner, 13, false},
        {538, T::Runner, 14, false},
        // Full screen is the main window's own; unlisted codes and small numbers are no commands
        // (Go To has its own message, so an index never arrives here).
        {526, T::FullScreen, 0, false}, {527, T::OwnWindow, 0, false},   {522, T::None, 0, false},
        {528, T::None, 0, false},       {533, T::None, 0, false},        {534, T::None, 0, false},
        {7, T::None, 0, false},         {519, T::None, 0, false},        {539, T::None, 0, false},
    };
    for (const Row& r : rows) {
        const TRunTestCommand c = RunTestCommandOf(r.Code);
        EXPECT_EQ(c.Code, r.Code);
        EXPECT_EQ(c.Target, r.Target) << r.Code;
        EXPECT_EQ(c.Command, r.Command) << r.Code;
        EXPECT_EQ(c.ErrorWithoutRunner, r.ErrorWithoutRunner) << r.Code;
    }
}

// A code stands in the table once, so that no later row is shadowed by an earlier one.
TEST(RunnerCommands, EachCodeHasOneRow) {
    std::set<std::uint32_t> codes;
    for (const TRunTestCommand& c : kRunTestCommands) EXPECT_TRUE(codes.insert(c.Code).second) << c.Code;
}
