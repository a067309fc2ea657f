// Installing the built program into a folder of the test's own: everything the program needs
// stands together in one folder, and the installed program starts from there.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const std::string kBuild = ORVEL_BUILD_DIR;

// Runs a program with its arguments, no shell; its exit status, -1 when it could not run.
int RunProgram(const std::vector<std::string>& argv) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Install, PutsEverythingInOneFolderAndTheProgramStartsFromThere) {
    TempDir prefix;
    ASSERT_EQ(RunProgram({ORVEL_CMAKE_COMMAND, "--install", kBuild, "--prefix", prefix.Path()}), 0);
    const fs::path folder = fs::path(prefix.Path()) / "orvel";

    std::vector<std::string> files = {"orvel", "orvel_chm_reader", "language.txt", "orvel_helper.chm"};
    if (ORVEL_HAS_VANTREL) files.push_back("libvantrel.so");
    if (ORVEL_HAS_CORVISH) files.push_back("libcorvish.so");
    for (const std::string& f : files) {
        ASSERT_TRUE(fs::is_regular_file(folder / f)) << f;
        // What was built, not something older.
        if (f != "orvel" && f != "orvel_chm_reader" && f.rfind("lib", 0) != 0) {
            EXPECT_EQ(ReadBytes((folder / f).string()), ReadBytes(kBuild + "/bin/" + f)) << f;
        }
    }
    const std::string entry = ReadBytes(prefix.File("share/applications/orvel.desktop"));
    EXPECT_NE(entry.find("\nExec=\"" + (folder / "orvel").string() + "\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=orvel\n"), std::string::npos) << entry;
    EXPECT_TRUE(fs::is_regular_file(prefix.File("share/icons/hicolor/scalable/apps/orvel.svg")));

    // Started from elsewhere, on no screen, it keeps running: it found what it needs beside
    // itself, and its libraries are the installed ones.
    const std::string program = (folder / "orvel").string();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (::chdir("/") != 0) ::_exit(126);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 30 && ended == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ended = ::waitpid(pid, &status, WNOHANG);
    }
    const std::string maps = ReadBytes("/proc/" + std::to_string(pid) + "/maps");
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    ASSERT_EQ(ended, 0) << "the installed program ended at once with status " << status;
    for (const std::string& f : files) {
        if (f.rfind("lib", 0) == 0) {
            EXPECT_NE(maps.find((folder / f).string()), std::string::npos) << f;
        }
    }
    EXPECT_EQ(maps.find(kBuild + "/bin/"), std::string::npos) << "a library of the build was loaded";
}

}  // namespace
