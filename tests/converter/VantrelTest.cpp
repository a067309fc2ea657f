// The built libraries, loaded with dlopen and called as the program calls them: one
// length-prefixed path in, one Boolean byte back.
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

const std::string kData = ORVEL_TEST_DATA;

std::string Fixture(const std::string& name) { return ReadBytes(kData + "/" + name); }

class Library {
public:
    Library(const char* path, const char* exportName) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_) function_ = reinterpret_cast<Converter*>(dlsym(handle_, exportName));
    }
    // The library stays loaded, as in the program: unloading it would unload the Qt it brings along
    // and leave Qt's own start-up allocations behind.
    ~Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool Loaded() const { return function_ != nullptr; }

    // The call: a length byte and the path; the answer is one byte, 1 or 0.
    unsigned char Call(const std::string& path) const {
        std::string arg(1, static_cast<char>(path.size()));
        arg += path;
        const bool result = function_(reinterpret_cast<const unsigned char*>(arg.data()));
        unsigned char byte = 0;
        static_assert(sizeof(result) == 1);
        std::memcpy(&byte, &result, 1);
        return byte;
    }

private:
    using Converter = bool(const unsigned char*);
    void* handle_;
    Converter* function_ = nullptr;
};

const Library& Vantrel() {
    static const Library library(VANTREL_LIBRARY, "Vantrel");
    return library;
}

const Library& Corvish() {
    static const Library library(CORVISH_LIBRARY, "Corvish");
    return library;
}

// Runs the command-line host; its exit status and what it wrote to the error stream.
int RunHost(const std::string& library, const std::string& exportName, const std::string& path,
            const std::string& limit, std::string& errors, const TempDir& dir) {
    const std::string err = dir.File("host.err");
    const std::string command = std::string("'") + VANTREL_HOST + "' '" + library + "' " + exportName + " '" + path +
                                "' " + limit + " 2>'" + err + "'";
    const int status = std::system(command.c_str());
    errors = ReadBytes(err);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The symbols a library defines and offers to others.
std::vector<std::string> DefinedDynamicSymbols(const std::string& library) {
    std::vector<std::string> names;
    std::unique_ptr<FILE, int (*)(FILE*)> nm(popen(("nm -D --defined-only '" + library + "'").c_str(), "r"), pclose);
    if (!nm) return names;
    char line[1024];
    while (std::fgets(line, sizeof line, nm.get())) {
        std::string l(line);
        while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
        names.push_back(l.substr(l.rfind(' ') + 1));
    }
    return names;
}

}  // namespace

TEST(Vantrel, ConvertsTheOldFixtureToTheExpectedFileByteForByte) {
    ASSERT_TRUE(Vantrel().Loaded()) << dlerror();
    TempDir dir;
    const std::string name = dir.File("old project.kvd");
    WriteBytes(name, Fixture("old_project.kvd"));
    EXPECT_EQ(Vantrel().Call(name), 1);
    EXPECT_EQ(ReadBytes(name), Fixture("old_project_142.kvd"));
    // Nothing but the file was written.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Vantrel, APathOfExactly255BytesIsUsedWhole) {
    TempDir dir;
    const std::string prefix = dir.Path() + "/";
    ASSERT_LT(prefix.size(), 200u);
    const std::string name = prefix + std::string(255 - prefix.size() - 4, 'p') + ".kvd";
    ASSERT_EQ(name.size(), 255u);
    WriteBytes(name, Fixture("old_project.kvd"));
    EXPECT_EQ(Vantrel().Call(name), 1);
    EXPECT_EQ(ReadBytes(name), Fixture("old_project_142.kvd"));
}

struct NotOld {
    const char* Name;
    std::string Bytes;
};

class FilesThatAreNotOld : public ::testing::TestWithParam<NotOld> {};

TEST_P(FilesThatAreNotOld, AreRefusedAndStayByteIdentical) {
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, GetParam().Bytes);
    EXPECT_EQ(Vantrel().Call(name), 0);
    EXPECT_EQ(ReadBytes(name), GetParam().Bytes);
    EXPECT_EQ(Corvish().Call(name), 0);
    EXPECT_EQ(ReadBytes(name), GetParam().Bytes);
}

std::vector<NotOld> NotOldCases() {
    const std::string old = Fixture("old_project.kvd");
    const std::size_t users = old.find("[Users]");
    std::string badReal = old;
    badReal.replace(badReal.find("INTERP_MAX=2.5"), 14, "INTERP_MAX=2.5x");
    std::string emptyId = old;
    emptyId.replace(emptyId.find("TEST_ID=2"), 9, "TEST_ID=");
    return {
        {"Coded", Fixture("fixture_dot.kvd")},
        {"Plain142", Fixture("old_project_142.kvd")},
        {"MissingUsersSection", old.substr(0, users)},
        {"BadReal", badReal},
        {"EmptyIntegerCell", emptyId},
        {"Empty", ""},
    };
}

INSTANTIATE_TEST_SUITE_P(Cases, FilesThatAreNotOld, ::testing::ValuesIn(NotOldCases()),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(Vantrel, AMissingPathCreatesNoFile) {
    TempDir dir;
    EXPECT_EQ(Vantrel().Call(dir.File("none.kvd")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.kvd")));
    EXPECT_EQ(Vantrel().Call(""), 0);
}

TEST(Vantrel, AFailedWriteReturnsFalseAndLeavesTheOriginal) {
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    const std::string old = Fixture("old_project.kvd");
    WriteBytes(name, old);
    // Every write that would make a file larger than 100 bytes fails.
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limit{100, previous.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const unsigned char result = Vantrel().Call(name);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousSignal);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(name), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file is left";
}

TEST(Vantrel, AHostWithoutVersionBlockOrWindowsGetsDashesAndTheFailureOnItsErrorStream) {
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, Fixture("old_project.kvd"));
    std::string errors;
    ASSERT_EQ(RunHost(VANTREL_LIBRARY, "Vantrel", name, "", errors, dir), 0) << errors;
    std::string expected = Fixture("old_project_142.kvd");
    expected.replace(expected.find("Orvel\r\n2.0.1"), 12, "-\r\n-");
    EXPECT_EQ(ReadBytes(name), expected);
    EXPECT_EQ(errors, "");

    WriteBytes(name, Fixture("old_project.kvd"));
    ASSERT_EQ(RunHost(VANTREL_LIBRARY, "Vantrel", name, "100", errors, dir), 1);
    EXPECT_EQ(ReadBytes(name), Fixture("old_project.kvd"));
    EXPECT_NE(errors.find(name), std::string::npos) << "the failure names the file: " << errors;
}

TEST(Corvish, TakesAnOldLayoutFileAsItIsAndChangesNothing) {
    ASSERT_TRUE(Corvish().Loaded()) << dlerror();
    TempDir dir;
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, Fixture("old_project.kvd"));
    EXPECT_EQ(Corvish().Call(name), 1);
    EXPECT_EQ(ReadBytes(name), Fixture("old_project.kvd"));
    EXPECT_EQ(Corvish().Call(dir.File("none.kvd")), 0);
}

TEST(ConverterLibraries, EachOffersItsOneExportAlone) {
    EXPECT_EQ(DefinedDynamicSymbols(VANTREL_LIBRARY), std::vector<std::string>{"Vantrel"});
    EXPECT_EQ(DefinedDynamicSymbols(CORVISH_LIBRARY), std::vector<std::string>{"Corvish"});
    std::string errors;
    TempDir dir;
    EXPECT_EQ(RunHost(VANTREL_LIBRARY, "Corvish", dir.File("x"), "", errors, dir), 2);
    EXPECT_EQ(RunHost(CORVISH_LIBRARY, "Vantrel", dir.File("x"), "", errors, dir), 2);
}
