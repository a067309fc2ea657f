// The states, visibility and captions of the main window's commands, worked out from the project
// state and the selected node.
#include <gtest/gtest.h>

#include <set>
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
    const TCommandStates expected = ExpectedCommandStates(c.Facts);
    // Every command either side names, with all that is set on it; the rest is left as it was.
    std::set<std::string> names;
    for (const auto& [name, state] : states.Commands) names.insert(name);
    for (const auto& [name, state] : expected.Commands) names.insert(name);
    for (const std::string& name : names) {
        const TCommandState want = expected.Of(name);
        const TCommandState got = states.Of(name);
        // The description names every part of a state, and reads well when it differs.
        EXPECT_EQ(Describe(got), Describe(want)) << name;
    }
    EXPECT_EQ(states.CaptionFileName, expected.CaptionFileName);
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
                         [](const auto& testCase) { return testCase.param.Name; });
