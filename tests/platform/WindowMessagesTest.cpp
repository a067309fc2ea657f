#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

using namespace wm;

TEST(WindowMessages, TheCodeIsTheLowWordOfTheFirstParameter) {
    EXPECT_EQ(MessageCode(0x00010000u + 520u), 520u);
    EXPECT_EQ(MessageCode(0xFFFF0000u), 0u);
    EXPECT_NE(WM_RUNTESTGOTO, WM_RUNTESTCOMMAND);
    EXPECT_NE(WM_RUNTESTGOTO, WM_RUNTEST);
}
