#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    const std::string file = platform::ProgramFile();
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_EQ(std::filesystem::path(file).filename(), "orvel_platform_tests");
    EXPECT_EQ(platform::ProgramFolder(), std::filesystem::path(file).parent_path().string());
}

TEST(ProgramFolder, DoesNotDependOnTheWorkingFolder) {
    const auto saved = std::filesystem::current_path();
    const std::string before = platform::ProgramFolder();
    std::filesystem::current_path("/");
    const std::string after = platform::ProgramFolder();
    std::filesystem::current_path(saved);
    EXPECT_EQ(before, after);
}
