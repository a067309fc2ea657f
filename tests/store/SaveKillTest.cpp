// A save killed at any moment leaves the project file as it was before or as it is after, byte
// for byte, never torn.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/ScopedStoreServices.h"
#include "tests/support/StoreFixtures.h"
#include "tests/support/TempDir.h"

TEST(SaveKill, AKillAtAnyMomentOfASaveLeavesTheOldFileOrTheNewOne) {
    ScopedStoreServices services;
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    ProjectSize size = ProjectSize::Small();
    size.Tests = 60;
    TFileAccess store(name);
    GenerateProject(store, size);
    ASSERT_TRUE(store.SaveAll());
    const std::string before = ReadBytes(name);
    // What the killed save writes: the same project with one name changed.
    ASSERT_TRUE(store.Tests.First());
    store.Tests.EditObject(store.Tests.GetID(), store.Tests.GetParentID(), "Renamed before the kill",
                           store.Tests.GetDescription(), store.Tests.GetOrder());
    std::chrono::steady_clock::duration took{};
    {
        TFileAccess copy(dir.File("after.kvd"));
        GenerateProject(copy, size);
        ASSERT_TRUE(copy.Tests.First());
        copy.Tests.EditObject(copy.Tests.GetID(), copy.Tests.GetParentID(), "Renamed before the kill",
                              copy.Tests.GetDescription(), copy.Tests.GetOrder());
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(copy.SaveAll());
        took = std::chrono::steady_clock::now() - started;
    }
    const std::string after = ReadBytes(dir.File("after.kvd"));
    ASSERT_NE(before, after);
    std::filesystem::remove(dir.File("after.kvd"));

    std::mt19937 random(11);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 3 / 2);
    int replaced = 0;
    for (int run = 0; run < 50; ++run) {
        WriteBytes(name, before);
        store.Tests.SetModified(true);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(store.SaveAll() ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string now = ReadBytes(name);
        EXPECT_TRUE(now == before || now == after) << "a torn project file in run " << run << ": " << now.size()
                                                   << " bytes";
        if (now == after) ++replaced;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
            const std::string n = e.path().filename().string();
            EXPECT_TRUE(n == "p.kvd" || n.starts_with(".orvel-")) << n;
        }
    }
    RecordProperty("Replaced", replaced);
}
