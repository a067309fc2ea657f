// The states, visibility and captions of the main window's commands, worked out from the project
// state and the selected node.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/CommandEnabling.h"
#include "tests/app/CommandCases.h"

namespace {

class CommandEnabling : public ::testing::TestWithParam<TCommandCase> {};

std::string Describe(const TCommandState& s) {
    std::string out;
    if (s.Enabled) out += *s.Enabled ? " on" : " off";
    if (s.Visible) out += *s.Visible ? " shown" : " hidden";
    if (!s.CaptionKey.empty()) out += " cap=" + s.CaptionKey;
    if (!s.HintKey.empty()) out += " hint=" + s.HintKey;
    return out.empty() ? " untouched" : out;
}

}  // namespace

TEST_P(CommandEnabling, GivesTheStatesOfTheCase) {
    const TCommandCase& c = GetParam();
    const TCommandStates states = ComputeCommandStates(c.Facts);
    for (const TExpectedCommand& e : c.Expected) {
        const TCommandState s = states.Of(e.Name);
        const std::string seen = Describe(s);
        switch (e.What) {
            case TExpectedCommand::On: EXPECT_EQ(s.Enabled, true) << e.Name << seen; break;
            case TExpectedCommand::Off: EXPECT_EQ(s.Enabled, false) << e.Name << seen; break;
            case TExpectedCommand::Shown: EXPECT_EQ(s.Visible, true) << e.Name << seen; break;
            case TExpectedCommand::Hidden: EXPECT_EQ(s.Visible, false) << e.Name << seen; break;
            case TExpectedCommand::Caption: EXPECT_EQ(s.CaptionKey, e.Key) << e.Name << seen; break;
            case TExpectedCommand::Untouched: EXPECT_EQ(s, TCommandState{}) << e.Name << seen; break;
        }
    }
    EXPECT_EQ(states.CaptionFileName, c.CaptionFileName);
}

// A menu item and its tool button share one action, so the pass must never tell them apart.
TEST_P(CommandEnabling, MenuItemAndToolButtonAgree) {
    const TCommandStates states = ComputeCommandStates(GetParam().Facts);
    for (const auto& [name, state] : states.Commands) {
        if (name.rfind("SpeedButton", 0) != 0) continue;
        const std::string item = "MenuItem" + name.substr(std::string("SpeedButton").size());
        const TCommandState menu = states.Of(item);
        EXPECT_EQ(state.Enabled, menu.Enabled) << name;
        EXPECT_EQ(state.Visible, menu.Visible) << name;
        if (!state.HintKey.empty()) {
            EXPECT_EQ(state.HintKey, menu.CaptionKey) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandEnabling, ::testing::ValuesIn(CommandCases()),
                         [](const auto& info) { return info.param.Name; });
