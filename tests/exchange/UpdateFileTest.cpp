// The update check of a data file that is being opened: which converters a product record calls
// for, the question, the calls and their order, the messages, and the file afterwards.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <deque>
#include <functional>
#include <random>
#include <thread>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exchange/UpdateFile.h"
#include "lang/DlgLangConverter.h"
#include "lang/Progress.h"
#include "platform/SafeFile.h"
#include "store/XorCoding.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kLanguage =
    "[Dialogues]\n"
    "UPDATEFILE_MUST_NEW_FILE=Convert?\n"
    "UPDATEFILE_NOT_CHANGED_FILE=Not converted\n"
    "UPDATEFILE_PROBLEM_VER120=Problem 120\n"
    "UPDATEFILE_PROBLEM_VER142=Problem 142\n"
    "UPDATEFILE_PATH_TOO_LONG=Too long\n"
    "UPDATEFILE_BACKUP_KEPT=Kept in:\n"
    "UPDATEFILE_NOT_RESTORED=Not put back; the original is in:\n";

// Records each call; a converter may rewrite the file before it answers.
class RecordingConverters : public IConverters {
public:
    struct Behaviour {
        bool Result = true;
        std::optional<std::string> Writes;
        bool LeavesReadOnly = false;   // the file it wrote, so that it cannot be put back
    };
    bool Corvish(const std::string& path) override { return Call("Corvish", path, CorvishDoes); }
    bool Vantrel(const std::string& path) override { return Call("Vantrel", path, VantrelDoes); }

    Behaviour CorvishDoes;
    Behaviour VantrelDoes;
    std::vector<std::string> Calls;   // "Corvish" or "Vantrel"
    std::vector<std::string> Paths;
    std::function<void()> OnCall;

private:
    bool Call(const char* name, const std::string& path, const Behaviour& b) {
        Calls.push_back(name);
        Paths.push_back(path);
        if (b.Writes) WriteBytes(path, *b.Writes);
        if (b.LeavesReadOnly) ::chmod(path.c_str(), 0444);
        if (OnCall) OnCall();
        return b.Result;
    }
};

// The message table of kLanguage, a recorded progress, and the recorded message boxes.
class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir.File("language.txt"), kLanguage);
        saved_ = lang::SetMessageTable(std::make_unique<TDlgLangConverter>(dir.File("language.txt")));
        lang::SetProgressFactory([this](int steps) -> std::unique_ptr<lang::IProgress> {
            Bars.push_back({steps, 0, -1});
            return std::make_unique<Bar>(Bars.back(), shown);
        });
    }
    void TearDown() override {
        lang::SetProgressFactory(nullptr);
        lang::SetMessageTable(std::move(saved_));
    }

    struct BarState {
        int Steps;
        int Done;
        int MessagesWhenGone;   // how many messages had been shown when the window went; -1 while it stands
    };
    class Bar : public lang::IProgress {
    public:
        Bar(BarState& state, const RecordingInteraction& shown) : state_(state), shown_(shown) {}
        ~Bar() override { state_.MessagesWhenGone = static_cast<int>(shown_.Messages.size()); }
        void Step() override { ++state_.Done; }

    private:
        BarState& state_;
        const RecordingInteraction& shown_;
    };

    TempDir dir;
    RecordingInteraction shown;
    RecordingConverters converters;
    std::deque<BarState> Bars;

private:
    std::unique_ptr<TDlgLangConverter> saved_;
};

struct Case {
    const char* Name;
    std::string Product;                 // the file's whole PRODUCT_INFO section, or none when empty
    bool Coded;                          // the file in the program's coded layout, else plain
    std::optional<bool> Answer;          // the answer to the question; none: no question is asked
    bool CorvishConverts = true;
    bool VantrelConverts = true;
    std::vector<std::string> Calls;      // in order
    bool Result = true;
    std::string Message;                 // "" for none; "+backup" appends where the backup is
    int StepsDone = 0;                   // of the progress window of 2 steps, when it was shown
};

std::string Record(const std::string& name, const std::string& version) {
    return "[PRODUCT_INFO]\r\n" + name + "\r\n" + version + "\r\n";
}

std::vector<Case> Cases() {
    const std::vector<std::string> none;
    const std::vector<std::string> vantrel = {"Vantrel"};
    const std::vector<std::string> both = {"Corvish", "Vantrel"};
    return {
        {"OwnProduct", Record("Orvel", "2.0.1"), true, std::nullopt, true, true, none, true, "", 0},
        {"NoProductRecord", "", true, std::nullopt, true, true, none, true, "", 0},
        {"EmptyRecord", Record("", ""), false, std::nullopt, true, true, none, true, "", 0},
        {"Lessonwright120", Record("Lessonwright", "1.2.0"), false, true, true, true, both, true, "", 2},
        {"Lessonwright121", Record("Lessonwright", "1.2.1"), false, true, true, true, vantrel, true, "", 1},
        {"Orvan137Coded", Record("ORVAN", "1.3.7"), true, true, true, true, vantrel, true, "", 1},
        {"Orvan137Plain", Record("ORVAN", "1.3.7"), false, true, true, true, vantrel, true, "", 1},
        {"Orvan140", Record("ORVAN", "1.4.0"), false, true, true, true, vantrel, true, "", 1},
        {"Orvan141", Record("ORVAN", "1.4.1"), false, true, true, true, vantrel, true, "", 1},
        {"Orvan120", Record("ORVAN", "1.2.0"), false, std::nullopt, true, true, none, true, "", 0},
        {"Orvan142", Record("ORVAN", "1.4.2"), false, std::nullopt, true, true, none, true, "", 0},
        {"Orvan119", Record("ORVAN", "1.1.9"), false, std::nullopt, true, true, none, true, "", 0},
        {"Orvan201", Record("ORVAN", "2.0.1"), false, std::nullopt, true, true, none, true, "", 0},
        {"NameInOtherCase", Record("orvan", "1.3.7"), false, std::nullopt, true, true, none, true, "", 0},
        {"VersionPartNotANumber", Record("ORVAN", "1.x.1"), false, std::nullopt, true, true, none, false,
         "'x' is not a valid integer value", 0},
        {"VersionWithOneDot", Record("Lessonwright", "1.2"), false, std::nullopt, true, true, none, false,
         "'1.2' is not a valid integer value", 0},
        {"OtherProductsVersionIsNotRead", Record("Other", "1.x.1"), false, std::nullopt, true, true, none, true, "", 0},
        {"AnsweredNo", Record("ORVAN", "1.3.7"), false, false, true, true, none, false, "Not converted", 0},
        {"CorvishFails", Record("Lessonwright", "1.2.0"), false, true, false, true, {"Corvish"}, false,
         "Problem 120+backup", 0},
        {"VantrelFailsAfterCorvish", Record("Lessonwright", "1.2.0"), false, true, true, false, both, false,
         "Problem 142+backup", 1},
        {"VantrelFails", Record("ORVAN", "1.3.0"), true, true, true, false, vantrel, false, "Problem 142+backup", 0},
    };
}

class Decisions : public UpdateCheck, public ::testing::WithParamInterface<Case> {};

}  // namespace

TEST_P(Decisions, FollowTheTable) {
    const Case& c = GetParam();
    const std::string name = dir.File("project.kvd");
    const std::string plain = c.Product + "[TEST_GROUPS]\r\n";
    const std::string original = c.Coded ? EncodeText(plain) : plain;
    WriteBytes(name, original);
    if (c.Answer) shown.YesNoAnswers.push_back(*c.Answer);
    // Each converter rewrites the file, also when it then fails.
    converters.CorvishDoes = {c.CorvishConverts, std::string("by Corvish")};
    converters.VantrelDoes = {c.VantrelConverts, std::string("by Vantrel")};

    TUpdateFile file(name, converters);
    EXPECT_EQ(file.CheckAndUpdate(true), c.Result);

    EXPECT_EQ(converters.Calls, c.Calls);
    for (const std::string& path : converters.Paths) EXPECT_EQ(path, name);
    EXPECT_EQ(shown.Questions, c.Answer ? std::vector<std::string>{"Convert?"} : std::vector<std::string>{});
    std::string message = c.Message;
    const std::string marker = "+backup";
    if (message.size() > marker.size() && message.compare(message.size() - marker.size(), marker.size(), marker) == 0)
        message = message.substr(0, message.size() - marker.size()) + "\nKept in: " + name + ".bak";
    EXPECT_EQ(shown.Messages, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});

    // The file: converted on success, as it was otherwise.
    const bool converted = c.Result && !c.Calls.empty();
    EXPECT_EQ(ReadBytes(name), converted ? "by Vantrel" : original);
    // A backup exists exactly when a converter ran, and holds the file as it was.
    EXPECT_EQ(file.BackupFileName(), c.Calls.empty() ? "" : name + ".bak");
    if (!c.Calls.empty()) {
        EXPECT_EQ(ReadBytes(name + ".bak"), original);
    }
    EXPECT_EQ(std::filesystem::exists(name + ".bak"), !c.Calls.empty());

    if (c.Calls.empty()) {
        EXPECT_TRUE(Bars.empty());
    } else {
        ASSERT_EQ(Bars.size(), 1u);
        EXPECT_EQ(Bars[0].Steps, 2);
        EXPECT_EQ(Bars[0].Done, c.StepsDone);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Decisions, ::testing::ValuesIn(Cases()),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST_F(UpdateCheck, AnExistingBackupIsNeverOverwritten) {
    const std::string name = dir.File("p.kvd");
    const std::string original = Record("ORVAN", "1.3.7");
    WriteBytes(name, original);
    WriteBytes(name + ".bak", "an older backup");
    WriteBytes(name + ".bak.1", "another one");
    shown.YesNoAnswers = {true};
    converters.VantrelDoes = {false, std::string("half written")};
    TUpdateFile file(name, converters);
    EXPECT_FALSE(file.CheckAndUpdate(true));
    EXPECT_EQ(ReadBytes(name + ".bak"), "an older backup");
    EXPECT_EQ(ReadBytes(name + ".bak.1"), "another one");
    EXPECT_EQ(ReadBytes(name + ".bak.2"), original);
    EXPECT_EQ(ReadBytes(name), original);
    EXPECT_EQ(shown.Messages, std::vector<std::string>{"Problem 142\nKept in: " + name + ".bak.2"});
}

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st{};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// The names in the folder, for files left behind.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Puts a umask in place for its lifetime.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : saved_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(saved_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t saved_;
};

}  // namespace

TEST_F(UpdateCheck, TheBackupKeepsTheModeOfTheFileItCopies) {
    const ScopedUmask usual(022);
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0400}, mode_t{0664}}) {
        const std::string name = dir.File("p" + std::to_string(mode) + ".kvd");
        WriteBytes(name, Record("ORVAN", "1.3.7"));
        ASSERT_EQ(::chmod(name.c_str(), mode), 0);
        shown.YesNoAnswers = {true};
        TUpdateFile file(name, converters);
        EXPECT_TRUE(file.CheckAndUpdate(true));
        ASSERT_EQ(file.BackupFileName(), name + ".bak");
        EXPECT_EQ(ModeOf(name + ".bak"), mode) << std::oct << mode;
        EXPECT_EQ(ReadBytes(name + ".bak"), Record("ORVAN", "1.3.7"));
    }
}

TEST_F(UpdateCheck, ABackupThatCannotBeWrittenLeavesNothingAndConvertsNothing) {
    const std::string name = dir.File("p.kvd");
    const std::string original = Record("ORVAN", "1.3.7") + std::string(100000, 'x');
    WriteBytes(name, original);
    const std::vector<std::string> before = NamesIn(dir.Path());
    shown.YesNoAnswers = {true};
    TUpdateFile file(name, converters);
    bool result = true;
    {
        // The disk fills up half-way through the copy.
        std::size_t written = 0;
        const platform::ScopedWriteCall full([&](int fd, const void* data, std::size_t count) -> ssize_t {
            if (written >= 4096) {
                errno = ENOSPC;
                return -1;
            }
            const std::size_t n = std::min<std::size_t>(count, 4096 - written);
            written += n;
            return ::write(fd, data, n);
        });
        result = file.CheckAndUpdate(true);
    }
    EXPECT_FALSE(result);
    EXPECT_TRUE(converters.Calls.empty());
    EXPECT_EQ(ReadBytes(name), original);
    EXPECT_EQ(NamesIn(dir.Path()), before);
    ASSERT_EQ(shown.Messages.size(), 1u);
    EXPECT_NE(shown.Messages[0].find(name + ".bak"), std::string::npos) << shown.Messages[0];
}

TEST_F(UpdateCheck, AKillAtAnyMomentOfTheBackupLeavesItWholeOrAbsent) {
    // A project large enough that the copy takes a while; the kill falls anywhere in the check.
    std::string original = Record("ORVAN", "1.3.7");
    std::mt19937 random(7);
    while (original.size() < (4u << 20)) original += std::to_string(random());
    const std::string name = dir.File("p.kvd");
    const auto runCheck = [&] {
        shown.YesNoAnswers = {true};
        TUpdateFile file(name, converters);
        return file.CheckAndUpdate(true);
    };
    const auto started = std::chrono::steady_clock::now();
    WriteBytes(name, original);
    ASSERT_EQ(::chmod(name.c_str(), 0600), 0);
    ASSERT_TRUE(runCheck());
    const auto took = std::chrono::steady_clock::now() - started;
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 3 / 2);
    int whole = 0;
    for (int run = 0; run < 50; ++run) {
        std::filesystem::remove_all(dir.Path());
        std::filesystem::create_directories(dir.Path());
        WriteBytes(name, original);
        ASSERT_EQ(::chmod(name.c_str(), 0600), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(runCheck() ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(ReadBytes(name), original) << run;
        if (std::filesystem::exists(name + ".bak")) {
            ++whole;
            EXPECT_EQ(ReadBytes(name + ".bak"), original) << "a torn backup in run " << run;
            EXPECT_EQ(ModeOf(name + ".bak"), 0600u) << run;
        }
        // Only the temporary file of a copy cut off by the kill may be left, never under the name.
        for (const std::string& n : NamesIn(dir.Path()))
            EXPECT_TRUE(n == "p.kvd" || n == "p.kvd.bak" || n.starts_with(".orvel-")) << n;
    }
    RecordProperty("WholeBackups", whole);
}

TEST_F(UpdateCheck, AFileThatCannotBePutBackIsNotSaidToBeAsItWas) {
    const std::string name = dir.File("p.kvd");
    const std::string original = Record("ORVAN", "1.3.7");
    WriteBytes(name, original);
    shown.YesNoAnswers = {true};
    converters.VantrelDoes = {false, std::string("half written"), true};
    TUpdateFile file(name, converters);
    EXPECT_FALSE(file.CheckAndUpdate(true));
    EXPECT_EQ(ReadBytes(name), "half written");
    EXPECT_EQ(ReadBytes(name + ".bak"), original);
    ASSERT_EQ(shown.Messages.size(), 1u);
    const std::string head = "Problem 142\nNot put back; the original is in: " + name + ".bak\n";
    EXPECT_EQ(shown.Messages[0].substr(0, head.size()), head) << shown.Messages[0];
    EXPECT_EQ(shown.Messages[0].find("Kept in:"), std::string::npos) << shown.Messages[0];
}

TEST_F(UpdateCheck, TheProgressWindowOfAFailedConversionIsGoneBeforeTheMessage) {
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, Record("Lessonwright", "1.2.0"));
    shown.YesNoAnswers = {true};
    converters.VantrelDoes = {false, std::string("half written")};
    std::vector<std::size_t> barsAtCall;
    converters.OnCall = [&] { barsAtCall.push_back(Bars.size()); };
    TUpdateFile file(name, converters);
    EXPECT_FALSE(file.CheckAndUpdate(true));
    // The window stood while the converters ran, and was gone when the message came.
    EXPECT_EQ(barsAtCall, (std::vector<std::size_t>{1, 1}));
    ASSERT_EQ(Bars.size(), 1u);
    EXPECT_EQ(Bars[0].MessagesWhenGone, 0);
    EXPECT_EQ(shown.Messages.size(), 1u);
}

TEST_F(UpdateCheck, APathLongerThanTheCallCarriesIsNotConverted) {
    // 300 bytes: a path cut to 255 could name another file.
    std::string folder = dir.Path();
    while (folder.size() < 240) folder += "/" + std::string(30, 'd');
    std::filesystem::create_directories(folder);
    const std::string name = folder + "/" + std::string(299 - folder.size(), 'p');
    ASSERT_EQ(name.size(), 300u);
    const std::string original = Record("Lessonwright", "1.2.0");
    WriteBytes(name, original);
    shown.YesNoAnswers = {true};
    TUpdateFile file(name, converters);
    EXPECT_FALSE(file.CheckAndUpdate(true));
    EXPECT_TRUE(converters.Calls.empty());
    EXPECT_TRUE(shown.Questions.empty());
    EXPECT_EQ(shown.Messages, std::vector<std::string>{"Too long"});
    EXPECT_EQ(ReadBytes(name), original);
    EXPECT_FALSE(std::filesystem::exists(name + ".bak"));
}

TEST_F(UpdateCheck, AMissingQuestionTextFailsEvenForTheProgramsOwnFile) {
    WriteBytes(dir.File("short.txt"), "[Dialogues]\nOTHER=x\n");
    const auto saved = lang::SetMessageTable(std::make_unique<TDlgLangConverter>(dir.File("short.txt")));
    const std::string name = dir.File("p.kvd");
    WriteBytes(name, Record("Orvel", "2.0.1"));
    TUpdateFile file(name, converters);
    const bool result = file.CheckAndUpdate(true);
    lang::SetMessageTable(std::make_unique<TDlgLangConverter>(dir.File("language.txt")));
    EXPECT_FALSE(result);
    EXPECT_EQ(shown.Messages,
              std::vector<std::string>{"Inner Error -> No such message; Bad file! - UPDATEFILE_MUST_NEW_FILE absent"});
}

TEST_F(UpdateCheck, AFileThatCannotBeReadHasNoProductRecord) {
    TUpdateFile missing(dir.File("none.kvd"), converters);
    EXPECT_TRUE(missing.CheckAndUpdate(true));
    TUpdateFile folder(dir.Path(), converters);
    EXPECT_TRUE(folder.CheckAndUpdate(true));
    EXPECT_TRUE(converters.Calls.empty());
    EXPECT_TRUE(shown.Messages.empty());
}

namespace {

// Files whose head and tail say different things: the product record and the layout are those
// of the whole file, wherever the head that is read first ends.
struct HeadCase {
    const char* Name;
    std::string Bytes;
    std::string ProductName, ProductVersion;
};

std::vector<HeadCase> HeadCases() {
    const std::size_t head = TUpdateFile::kHeadBytes;
    const std::string groups = "[TEST_GROUPS]\r\n";
    const std::string own = Record("Orvel", "2.0.1");
    // A plain line of n characters with its line end.
    const auto line = [](std::size_t n) { return std::string(n, 'x') + "\r\n"; };
    // Coded text of which the head ends inside the version line, after "1.4".
    const std::string beforeVersion = "[PRODUCT_INFO]\r\nORVAN\r\n1.4";
    const std::string straddling = groups + line(head / 2 - groups.size() - beforeVersion.size() - 2) +
                                   Record("ORVAN", "1.4.1");
    // Coded text of which the head ends just after a header that the next byte spoils.
    const std::string spoiled = groups + line(head / 2 - groups.size() - 14 - 2) + "[PRODUCT_INFO]x\r\nA\r\nB\r\n" +
                                Record("Lessonwright", "1.2.1");
    return {
        {"CodedRecordAtTheStart", EncodeText(own + groups + line(head)), "Orvel", "2.0.1"},
        {"CodedRecordBeyondTheHead", EncodeText(groups + line(head) + Record("Lessonwright", "1.2.0")), "Lessonwright",
         "1.2.0"},
        {"CodedRecordCutByTheHead", EncodeText(straddling), "ORVAN", "1.4.1"},
        {"CodedHeaderSpoiledAfterTheHead", EncodeText(spoiled), "Lessonwright", "1.2.1"},
        {"FirstRecordWins", EncodeText(own + groups + line(head) + Record("ORVAN", "1.3.7")), "Orvel", "2.0.1"},
        // Plain text whose tail is all digits is plain throughout.
        {"PlainHeadDigitTail", Record("ORVAN", "1.3.7") + std::string(2 * head, 'A'), "ORVAN", "1.3.7"},
        {"PlainRecordBeyondTheHead", groups + line(head) + Record("ORVAN", "1.3.7"), "ORVAN", "1.3.7"},
        // Coded bytes followed by plain text: not coded throughout, so the plain record counts.
        {"CodedHeadPlainTail", EncodeText(Record("Lessonwright", "1.2.0")) + "\r\n" + Record("ORVAN", "1.5.0"), "ORVAN",
         "1.5.0"},
        {"CodedHeadPlainTailBeyondTheHead",
         EncodeText(groups + line(head)) + "\r\n" + Record("ORVAN", "1.5.0"), "ORVAN", "1.5.0"},
    };
}

void PrintTo(const HeadCase& c, std::ostream* os) { *os << c.Name; }

class HeadAndTail : public UpdateCheck, public ::testing::WithParamInterface<HeadCase> {};

}  // namespace

TEST_P(HeadAndTail, TheProductRecordIsThatOfTheWholeFile) {
    const HeadCase& c = GetParam();
    const std::string name = dir.File("project.kvd");
    WriteBytes(name, c.Bytes);
    const TUpdateFile file(name, converters);
    TProductInfo info;
    file.ReadProductInfo(info);
    EXPECT_EQ(info.ProductName, c.ProductName);
    EXPECT_EQ(info.ProductVersion, c.ProductVersion);
    EXPECT_EQ(ReadBytes(name), c.Bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, HeadAndTail, ::testing::ValuesIn(HeadCases()),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(ConverterBinding, ThePathTravelsAsOneLengthByteAndAtMost255Bytes) {
    EXPECT_EQ(TConverterBinding::PathArgument(""), std::string(1, '\0'));
    EXPECT_EQ(TConverterBinding::PathArgument("/a/b"), std::string("\x04/a/b"));
    const std::string exact(255, 'x');
    EXPECT_EQ(TConverterBinding::PathArgument(exact), std::string(1, '\xFF') + exact);
}

TEST(ConverterBinding, MissingLibrariesOrExportsAreNamed) {
    TempDir dir;
    try {
        TConverterBinding binding(dir.Path());
        FAIL() << "bound without libraries";
    } catch (const platform::ELibraryError& e) {
        EXPECT_NE(std::string(e.what()).find("libcorvish.so"), std::string::npos) << e.what();
    }
}
