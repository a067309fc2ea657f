#include "runner/Reporter.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/SafeFile.h"
#include "tests/runner/RunnerTestSupport.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/TempDir.h"

namespace {

// Builds a template as the text reporter does and returns the file's text.
std::string Built(const std::string& data) {
    TTextReporter r;
    r.Data = data;
    r.Build();
    return TReporter::RestoreLiterals(r.Data);
}

}  // namespace

TEST(Reporter, TemplatesBecomeText) {
    struct Row {
        const char* Template;
        const char* Text;
    };
    const Row rows[] = {
        {"[HEADER1]Report&&&&&[TEXT]a&&&&&b", "REPORT\r\na\r\nb"},
        {"before the first tag[TEXT]kept", "kept"},
        {"[HEADER2]Test: \"moody\"&&&&&[TEXT]Body Keeps Case", "TEST: \"MOODY\"\r\nBody Keeps Case"},
        // An unknown tag drops its text up to the next tag; tags are compared exactly.
        {"[TEXT]one [7] gone[TEXT]two", "one two"},
        {"[text]lower[TEXT]upper", "upper"},
        // A "[" with no "]" after it belongs to the text of the tag before it.
        {"[TEXT]a [b c", "a [b c"},
        {"[TEXT]", ""},
        {"no tags at all", ""},
        {"[HEADER1]&&&&&&&&&&x", "\r\n\r\nX"},
    };
    for (const Row& r : rows) EXPECT_EQ(Built(r.Template), r.Text) << r.Template;
}

TEST(Reporter, TagsAndTheirTextRanges) {
    TTextReporter r;
    r.Data = "x[A]ab[BC]c";
    EXPECT_EQ(r.FindTag(0), std::make_pair(2, 4));
    EXPECT_EQ(r.FindTag(1), std::make_pair(7, 10));
    EXPECT_EQ(r.FindTag(2), std::make_pair(-1, -1));
    EXPECT_EQ(r.TagTextRange(0), std::make_pair(5, 6));
    EXPECT_EQ(r.TagTextRange(1), std::make_pair(11, 11));
    EXPECT_EQ(r.TagTextRange(2), std::make_pair(-1, -1));
    TLexeme l;
    r.GetLexeme(l, 1);
    EXPECT_EQ(l.Tag, "[BC]");
    EXPECT_EQ(l.Text, "c");
    r.Data = "[A][B]";
    EXPECT_EQ(r.TagTextRange(0), std::make_pair(4, 3));   // an empty text
    r.GetLexeme(l, 0);
    EXPECT_EQ(l.Tag, "[A]");
    EXPECT_EQ(l.Text, "");
    // A "[" inside a tag's brackets belongs to the tag.
    r.Data = "[a[b]z";
    EXPECT_EQ(r.FindTag(0), std::make_pair(1, 5));
}

TEST(Reporter, TextsOfTheUserComeOutLiterally) {
    const std::string user = "a [1] & b &&&&& [TEXT] c \x01( d";
    EXPECT_EQ(Built("[TEXT]" + TReporter::Literal(user) + "&&&&&"), user + "\r\n");
    EXPECT_EQ(Built("[HEADER1]" + TReporter::Literal("x [y] & z")), "X [Y] & Z");
}

TEST(Reporter, ProduceWritesTheFileAndOpensItWhenAsked) {
    TRunnerTestEnvironment env;
    TempDir dir;
    TTextReporter r;
    r.FileName = dir.File("report.txt");
    r.Data = "[HEADER1]Head&&&&&[TEXT]" + TReporter::Literal("body [x]");
    r.Produce();
    EXPECT_EQ(ReadBytes(r.FileName), "HEAD\r\nbody [x]");
    EXPECT_EQ(env.Opened, std::vector<std::string>{r.FileName});

    TTextReporter quiet;
    quiet.FileName = dir.File("quiet.txt");
    quiet.OpenAfter = false;
    quiet.Data = "[TEXT]q";
    quiet.Produce();
    EXPECT_EQ(ReadBytes(quiet.FileName), "q");
    EXPECT_EQ(env.Opened.size(), 1u);
    EXPECT_TRUE(env.Messages.empty());
}

TEST(Reporter, AReportNoProgramOpensSaysWhereItIs) {
    TRunnerTestEnvironment env;
    env.OpenSucceeds = false;
    TempDir dir;
    TTextReporter r;
    r.FileName = dir.File("report.txt");
    r.Data = "[TEXT]body";
    r.Produce();
    EXPECT_EQ(ReadBytes(r.FileName), "body");
    EXPECT_EQ(env.Opened, std::vector<std::string>{r.FileName});
    EXPECT_EQ(env.Messages, std::vector<std::string>{"No program opens the report:\n" + r.FileName});
}

TEST(Reporter, TheDesktopsOpenerTellsWhetherAProgramWasFound) {
    // A stand-in for xdg-open first on the path: it ends at once with the status it is given.
    TempDir dir;
    const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (dir.Path() + ":" + saved).c_str(), 1);
    for (const auto& [status, found] : {std::pair{0, true}, std::pair{3, false}, std::pair{4, false}}) {
        const std::string opener = dir.File("xdg-open");
        WriteBytes(opener, "#!/bin/sh\necho \"$1\" > \"" + dir.File("asked") + "\"\nexit " + std::to_string(status) + "\n");
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        EXPECT_EQ(OpenWithDefaultProgram("/tmp/a report; $(x).txt"), found) << status;
        EXPECT_EQ(ReadBytes(dir.File("asked")), "/tmp/a report; $(x).txt\n");
    }
    ::setenv("PATH", saved.c_str(), 1);
}

TEST(Reporter, AnEmptyReportWritesAndOpensNothing) {
    TRunnerTestEnvironment env;
    TempDir dir;
    WriteBytes(dir.File("old.txt"), "old report");
    TTextReporter r;
    r.FileName = dir.File("old.txt");
    r.Data = "[TEXT]";
    r.Produce();
    EXPECT_EQ(ReadBytes(r.FileName), "old report");
    EXPECT_TRUE(env.Opened.empty());
    EXPECT_TRUE(env.Messages.empty());
}

TEST(Reporter, AFailedWriteKeepsTheOldFileAndOpensNothing) {
    TRunnerTestEnvironment env;
    TempDir dir;
    WriteBytes(dir.File("r.txt"), "precious");
    TTextReporter r;
    r.FileName = dir.File("r.txt");
    r.Data = "[TEXT]new";
    const ScopedFailingWrites failing;   // the next file written
    r.Produce();
    EXPECT_EQ(ReadBytes(r.FileName), "precious");
    EXPECT_EQ(env.Messages, std::vector<std::string>{"The report file could not be saved."});
    EXPECT_TRUE(env.Opened.empty());

    r.FileName = dir.File("no/such/folder/r.txt");
    r.Data = "[TEXT]new";
    r.Produce();
    EXPECT_EQ(env.Messages.size(), 2u);
    EXPECT_TRUE(env.Opened.empty());
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1);   // no temporary file left behind
}

TEST(Reporter, SetupReadsTheDialog) {
    struct Row {
        std::uint8_t Result;
        const char* Typed;
        bool OpenAfter;
        bool Returns;
        const char* FileName;
        bool OpenAfterAfter;
    };
    const Row rows[] = {
        {1, "  /tmp/report  ", false, true, "/tmp/report.txt", false},
        {1, "/tmp/report.txt", true, true, "/tmp/report.txt", true},
        {1, "/tmp/REPORT.TXT", true, true, "/tmp/REPORT.TXT.txt", true},
        {1, "/tmp/a.doc", true, true, "/tmp/a.doc.txt", true},
        {2, " /tmp/cancelled ", false, false, "/tmp/cancelled", true},
        {0, "/tmp/closed", false, false, "/tmp/closed", true},
    };
    for (const Row& row : rows) {
        TRunnerTestEnvironment env;
        env.SetupResult = row.Result;
        env.SetupValues = {row.Typed, row.OpenAfter};
        TTextReporter r;
        EXPECT_EQ(r.Setup(), row.Returns) << row.Typed;
        EXPECT_EQ(r.FileName, row.FileName);
        EXPECT_EQ(r.OpenAfter, row.OpenAfterAfter) << row.Typed;
    }
}

TEST(Reporter, SetupPresetsTheDialogAndSurvivesItsFailure) {
    TRunnerTestEnvironment env;
    TReportSetupValues seen;
    class TPeek : public IReportSetupDialog {
    public:
        explicit TPeek(TReportSetupValues& seen) : seen_(seen) {}
        std::uint8_t Execute(TReportSetupValues& v) override {
            seen_ = v;
            return 2;
        }

    private:
        TReportSetupValues& seen_;
    };
    ReportServices().MakeSetupDialog = [&] { return std::make_unique<TPeek>(seen); };
    TTextReporter r;
    r.FileName = "last.txt";
    r.OpenAfter = false;
    EXPECT_FALSE(r.Setup());
    EXPECT_EQ(seen.FileName, "last.txt");
    EXPECT_FALSE(seen.OpenAfter);

    ReportServices().MakeSetupDialog = []() -> std::unique_ptr<IReportSetupDialog> {
        throw Exception("no dialog today");
    };
    EXPECT_FALSE(r.Setup());
    EXPECT_EQ(env.Messages, std::vector<std::string>{"no dialog today"});
}
