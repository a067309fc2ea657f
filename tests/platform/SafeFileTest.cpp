#include "platform/SafeFile.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using namespace platform;

TEST(SafeFile, WriteReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("data.kvd");
    WriteFileAtomic(path, "old");
    WriteFileAtomic(path, "new content");
    EXPECT_EQ(ReadBytes(path), "new content");
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(SafeFile, FailedWritesLeaveTheOldFileByteForByte) {
    TempDir dir;
    const std::string path = dir.File("data.kvd");
    WriteBytes(path, "precious");

    testhooks::FailNextWrites(1);
    EXPECT_THROW(WriteFileAtomic(path, "replacement that fails"), EFileError);
    EXPECT_EQ(ReadBytes(path), "precious");

    EXPECT_THROW(WriteFileAtomic(dir.File("no/such/folder/x.kvd"), "x"), EFileError);
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_THROW(WriteFileAtomic(dir.File("folder"), "x"), EFileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));

    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 2);   // the old file and the folder: no temporary left behind
}

TEST(SafeFile, ALinkStaysALinkAndLongNamesFit) {
    TempDir dir;
    const std::string target = dir.File("real.kvd");
    const std::string link = dir.File("link.kvd");
    WriteBytes(target, "old");
    std::filesystem::create_symlink(target, link);
    WriteFileAtomic(link, "through the link");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "through the link");

    // A name near the folder's limit: the temporary file must not need a longer one.
    const std::string longName = dir.File(std::string(250, 'n') + ".kvd");
    WriteFileAtomic(longName, "long");
    EXPECT_EQ(ReadBytes(longName), "long");
}

TEST(SafeFile, ReadRefusesWhatIsNotARegularFileOrTooLarge) {
    TempDir dir;
    EXPECT_FALSE(ReadFileCapped(dir.File("missing")).has_value());
    EXPECT_THROW(ReadFileCapped(dir.Path()), EFileError);
    WriteBytes(dir.File("big"), std::string(1000, 'x'));
    EXPECT_EQ(ReadFileCapped(dir.File("big"), 1000)->size(), 1000u);
    try {
        ReadFileCapped(dir.File("big"), 999);
        FAIL() << "a file over the cap was read";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("larger"), std::string::npos);
    }
}
