#include "platform/UserInteraction.h"

#include <gtest/gtest.h>

#include "tests/support/RecordingInteraction.h"

TEST(UserInteraction, GoesToTheInstalledObjectUntilItIsRemoved) {
    platform::IUserInteraction* const before = &platform::UserInteraction();
    {
        RecordingInteraction outer;
        {
            RecordingInteraction inner;
            platform::ShowMessage("to inner");
            platform::ShowError("failure");
            EXPECT_EQ(inner.Messages, std::vector<std::string>{"to inner"});
            EXPECT_EQ(inner.Errors, std::vector<std::string>{"failure"});
        }
        platform::ShowMessage("to outer");
        EXPECT_EQ(outer.Messages, std::vector<std::string>{"to outer"});
        EXPECT_TRUE(outer.Errors.empty());
    }
    EXPECT_EQ(&platform::UserInteraction(), before);
}

TEST(UserInteraction, KeepsTheApplicationTitle) {
    const std::string saved = platform::ApplicationTitle();
    EXPECT_EQ(saved, "ORVEL");
    platform::SetApplicationTitle("Other");
    EXPECT_EQ(platform::ApplicationTitle(), "Other");
    platform::SetApplicationTitle(saved);
}
