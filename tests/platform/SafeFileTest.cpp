#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/FailingWrites.h"
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

    {
        ScopedFailingWrites failing;
        EXPECT_THROW(WriteFileAtomic(path, "replacement that fails"), EFileError);
        EXPECT_EQ(ReadBytes(path), "precious");
    }

    EXPECT_THROW(WriteFileAtomic(dir.File("no/such/folder/x.kvd"), "x"), EFileError);
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_THROW(WriteFileAtomic(dir.File("folder"), "x"), EFileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));

    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 2);   // the old file and the folder: no temporary left behind
}

// The write loop answers whatever the system's write call does: short writes and interrupted
// calls still give the whole file; a failure, or a call that makes no progress, leaves the old
// file and no temporary behind.
TEST(SafeFile, TheWriteLoopCopesWithEveryAnswerOfTheWriteCall) {
    struct Case {
        const char* what;
        // Answers one call, given how many calls came before.
        std::function<ssize_t(int fd, const void* data, std::size_t count, int calls)> answer;
        bool written;
    };
    const Case cases[] = {
        {"one byte at a time", [](int fd, const void* d, std::size_t, int) { return ::write(fd, d, 1); }, true},
        {"interrupted now and then",
         [](int fd, const void* d, std::size_t n, int calls) -> ssize_t {
             if (calls % 2 == 0) {
                 errno = EINTR;
                 return -1;
             }
             return ::write(fd, d, n < 3 ? n : 3);
         },
         true},
        {"no space after a few bytes",
         [](int fd, const void* d, std::size_t n, int calls) -> ssize_t {
             if (calls == 0) return ::write(fd, d, n < 4 ? n : 4);
             errno = ENOSPC;
             return -1;
         },
         false},
        {"no progress", [](int, const void*, std::size_t, int) -> ssize_t { return 0; }, false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.File("data.kvd");
        WriteBytes(path, "precious");
        int calls = 0;
        {
            ScopedWriteCall call([&](int fd, const void* data, std::size_t count) {
                return c.answer(fd, data, count, calls++);
            });
            if (c.written) {
                EXPECT_NO_THROW(WriteFileAtomic(path, "the whole new content")) << c.what;
            } else {
                EXPECT_THROW(WriteFileAtomic(path, "the whole new content"), EFileError) << c.what;
            }
        }
        EXPECT_GT(calls, 0) << c.what << ": the write call in place was not used";
        EXPECT_EQ(ReadBytes(path), c.written ? "the whole new content" : "precious") << c.what;
        int files = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
        EXPECT_EQ(files, 1) << c.what;
        // With the stand-in gone, the system's call writes again.
        WriteFileAtomic(path, "after");
        EXPECT_EQ(ReadBytes(path), "after") << c.what;
    }
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

// Another program swaps a pipe and a file at the path while the program reads it: every read
// ends, with the file's bytes or with a refusal, and none waits for a writer that never comes.
TEST(SafeFile, APipeSwappedInForTheFileNeverBlocksTheRead) {
    TempDir dir;
    const std::string path = dir.File("data.kvd");
    const std::string file = dir.File("file.kvd");
    const std::string pipe = dir.File("pipe.kvd");
    WriteBytes(path, "content");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    // Swaps the pipe and the file under the path, over and over.
    std::thread swapper([&] {
        bool pipeIn = false;
        while (!done) {
            if (pipeIn) {
                ::rename(path.c_str(), pipe.c_str());
                ::rename(file.c_str(), path.c_str());
            } else {
                ::rename(path.c_str(), file.c_str());
                ::rename(pipe.c_str(), path.c_str());
            }
            pipeIn = !pipeIn;
        }
    });
    // A read that still waits after the others are long done is released by opening the pipe
    // for writing, and counted.
    std::atomic<int> released{0};
    std::thread watchdog([&] {
        int seen = -1;
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            if (done) break;
            if (reads == seen) {
                for (const std::string& p : {path, pipe, file}) {
                    const int fd = ::open(p.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0) ::close(fd);
                }
                ++released;
            }
            seen = reads;
        }
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
    while (std::chrono::steady_clock::now() < until) {
        try {
            const auto bytes = ReadFileCapped(path);
            if (bytes) {
                EXPECT_EQ(*bytes, "content");
            }
        } catch (const EFileError&) {
            // a pipe, refused
        }
        ++reads;
    }
    done = true;
    swapper.join();
    watchdog.join();
    EXPECT_EQ(released, 0) << "a read waited on the pipe";
    EXPECT_GT(reads, 100);
}

// A read costs the file's size, not twice that.
TEST(SafeFile, AReadTakesTheFilesSizeAndNoMore) {
    TempDir dir;
    const std::size_t size = 4u << 20;
    WriteBytes(dir.File("big"), std::string(size, 'x'));
    const auto bytes = ReadFileCapped(dir.File("big"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), size);
    EXPECT_LT(bytes->capacity(), size + size / 8);
}

TEST(SafeFile, ADanglingLinkGetsItsTargetAndStaysALink) {
    TempDir dir;
    const std::string link = dir.File("link.kvd");
    const std::string target = dir.File("sub/target.kvd");
    std::filesystem::create_directory(dir.File("sub"));
    std::filesystem::create_symlink("sub/target.kvd", link);   // relative, to a file not there yet
    const std::string chain = dir.File("chain.kvd");
    std::filesystem::create_symlink(link, chain);              // a link to that link

    WriteFileAtomic(chain, "first");
    EXPECT_TRUE(std::filesystem::is_symlink(chain));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "first");
    WriteFileAtomic(link, "second");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "second");

    // A loop of links is refused, and stays as it was.
    const std::string a = dir.File("a.kvd"), b = dir.File("b.kvd");
    std::filesystem::create_symlink(b, a);
    std::filesystem::create_symlink(a, b);
    EXPECT_THROW(WriteFileAtomic(a, "x"), EFileError);
    EXPECT_TRUE(std::filesystem::is_symlink(a));
    EXPECT_TRUE(std::filesystem::is_symlink(b));
}

TEST(SafeFile, AReadOnlyFileIsNotReplaced) {
    TempDir dir;
    const std::string path = dir.File("data.kvd");
    WriteBytes(path, "precious");
    for (const auto perms : {std::filesystem::perms::owner_read,
                             std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                 std::filesystem::perms::others_read}) {
        std::filesystem::permissions(path, perms);
        EXPECT_THROW(WriteFileAtomic(path, "replacement"), EFileReadOnly);
        EXPECT_EQ(ReadBytes(path), "precious");
        EXPECT_EQ(std::filesystem::status(path).permissions(), perms);
    }
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1);
}
