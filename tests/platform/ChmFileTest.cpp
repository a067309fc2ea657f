// The help file that the build compiles and puts beside the program, read back through chmlib;
// and what the reader does with files that are not help files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <set>

#include "platform/ChmFile.h"
#include "platform/HelpSitemap.h"
#include "platform/HtmlHelp.h"
#include "tests/support/DamagedHelpFiles.h"
#include "tests/support/TempDir.h"

namespace {

using platform::TChmFile;
using platform::TChmRefusal;

std::string HelpFile() { return platform::ResolveHelpFile(platform::HelpFileName()); }

// The context numbers of the help sources' map, by name.
std::map<std::string, std::uint32_t> SourceContextMap() {
    std::map<std::string, std::uint32_t> map;
    std::ifstream in(std::string(ORVEL_SOURCE_DIR) + "/help/context.h");
    static const std::regex define(R"(#define\s+(\w+)\s+(\d+))");
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, m, define)) map[m[1]] = static_cast<std::uint32_t>(std::stoul(m[2]));
    return map;
}

void Collect(const std::vector<platform::THelpSitemapEntry>& entries, std::set<std::string>& locals) {
    for (const auto& e : entries) {
        if (!e.Local.empty()) locals.insert(e.Local.substr(0, e.Local.find('#')));
        Collect(e.Children, locals);
    }
}

TEST(HelpFile, EveryContextNumberOfTheSourcesLeadsToAPageOfTheFile) {
    const TChmFile file(HelpFile());
    ASSERT_TRUE(file.IsOpen()) << HelpFile();
    const auto numbers = SourceContextMap();
    ASSERT_TRUE(numbers.count("IDH_MAIN_WINDOW")) << "the map of the sources was not read";
    for (const auto& [name, number] : numbers) {
        const auto topic = file.TopicOfContext(number);
        ASSERT_TRUE(topic) << name << " " << number;
        EXPECT_TRUE(file.Exists(*topic)) << *topic;
        EXPECT_TRUE(file.Read(*topic).value_or("").find("<h1>") != std::string::npos) << *topic;
    }
    EXPECT_EQ(file.ContextMap().size(), numbers.size());
    EXPECT_EQ(file.TopicOfContext(110), "/pages/main_window.html");
    EXPECT_FALSE(file.TopicOfContext(0));
}

TEST(HelpFile, ContentsAndIndexListEveryPage) {
    const TChmFile file(HelpFile());
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.DefaultTopic(), "/pages/start.html");
    EXPECT_EQ(file.Title(), "Orvel Help");
    std::set<std::string> pages;
    for (const std::string& o : file.Objects())
        if (o.size() > 5 && o.compare(o.size() - 5, 5, ".html") == 0) pages.insert(o);
    EXPECT_GT(pages.size(), 20u);
    for (const std::string& sitemap : {file.ContentsFile(), file.IndexFile()}) {
        const auto text = file.Read(sitemap);
        ASSERT_TRUE(text) << sitemap;
        std::set<std::string> locals;
        Collect(platform::ParseHelpSitemap(*text), locals);
        std::set<std::string> listed;
        for (const std::string& l : locals) {
            EXPECT_NE(file.FindObject(l), "") << sitemap << " names a page the file lacks: " << l;
            listed.insert(file.FindObject(l));
        }
        EXPECT_EQ(listed, pages) << sitemap;
    }
}

TEST(HelpFile, LinksAndPicturesOfEveryPageAreInTheFile) {
    const TChmFile file(HelpFile());
    ASSERT_TRUE(file.IsOpen());
    static const std::regex reference(R"re((?:href|src)="([^"#:]+)(#[^"]*)?")re");
    int checked = 0;
    for (const std::string& o : file.Objects()) {
        if (o.size() < 5 || o.compare(o.size() - 5, 5, ".html") != 0) continue;
        const std::string page = file.Read(o).value_or("");
        const std::string folder = o.substr(0, o.rfind('/') + 1);
        for (std::sregex_iterator it(page.begin(), page.end(), reference), end; it != end; ++it) {
            EXPECT_TRUE(file.Exists(folder + (*it)[1].str())) << o << " -> " << (*it)[1];
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

TEST(HelpFile, DamagedFilesAreRefusedWithTheirReasonAndLeftAsTheyAre) {
    TempDir dir;
    const std::string good = ReadBytes(HelpFile());
    ASSERT_GT(good.size(), 1000u);
    for (const TDamagedHelpFile& damaged : DamagedHelpFiles(good)) {
        WriteBytes(dir.File("x.chm"), damaged.Bytes);
        const TChmFile file(dir.File("x.chm"));
        EXPECT_EQ(file.Refusal(), damaged.Reason) << damaged.Name;
        EXPECT_FALSE(file.IsOpen()) << damaged.Name;
        // Nothing of a refused file is offered.
        EXPECT_TRUE(file.Objects().empty()) << damaged.Name;
        EXPECT_FALSE(file.Read("/pages/start.html")) << damaged.Name;
        EXPECT_FALSE(file.TopicOfContext(110)) << damaged.Name;
        EXPECT_EQ(file.DefaultTopic(), "") << damaged.Name;
        EXPECT_EQ(ReadBytes(dir.File("x.chm")), damaged.Bytes) << damaged.Name;
    }
}

TEST(HelpFile, OverwrittenCompressedDataIsRefusedOrReadUnderTheGoodDirectory) {
    TempDir dir;
    const TChmFile good(HelpFile());
    ASSERT_TRUE(good.IsOpen());
    const std::string bytes = WithCompressedDataOverwritten(ReadBytes(HelpFile()));
    WriteBytes(dir.File("x.chm"), bytes);
    const TChmFile file(dir.File("x.chm"));
    if (file.IsOpen()) {
        // The directory is untouched, so the same objects are offered, whatever their texts.
        EXPECT_EQ(file.Refusal(), TChmRefusal::None);
        EXPECT_EQ(file.Objects(), good.Objects());
    } else {
        EXPECT_TRUE(file.Refusal() == TChmRefusal::Damaged || file.Refusal() == TChmRefusal::ReaderStopped)
            << static_cast<int>(file.Refusal());
        EXPECT_TRUE(file.Objects().empty());
    }
    EXPECT_EQ(ReadBytes(dir.File("x.chm")), bytes);
}

TEST(HelpFile, AnIndexLeadingToTheListingReadsAsTheFileWithoutOne) {
    TempDir dir;
    const TChmFile good(HelpFile());
    ASSERT_TRUE(good.IsOpen());
    WriteBytes(dir.File("x.chm"), WithIndexChunk(ReadBytes(HelpFile()), false));
    const TChmFile indexed(dir.File("x.chm"));
    ASSERT_TRUE(indexed.IsOpen()) << static_cast<int>(indexed.Refusal());
    EXPECT_EQ(indexed.Objects(), good.Objects());
    for (const std::string& o : good.Objects()) EXPECT_EQ(indexed.Read(o), good.Read(o)) << o;
    EXPECT_EQ(indexed.ContextMap(), good.ContextMap());
    EXPECT_EQ(indexed.DefaultTopic(), good.DefaultTopic());
}

TEST(HelpFile, OnlyARegularFileBelowTheCapIsRead) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo.chm").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.File("folder.chm").c_str(), 0700), 0);
    {
        // A file of holes: its size alone refuses it.
        const int fd = ::open(dir.File("large.chm").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(platform::kMaxChmFileSize + 1)), 0);
        ::close(fd);
    }
    const std::pair<std::string, TChmRefusal> cases[] = {
        {dir.File("fifo.chm"), TChmRefusal::NotRegular},
        {dir.File("folder.chm"), TChmRefusal::NotRegular},
        {"/dev/zero", TChmRefusal::NotRegular},
        {dir.File("large.chm"), TChmRefusal::TooLarge},
        {dir.File("none.chm"), TChmRefusal::Missing},
        {dir.File("none/x.chm"), TChmRefusal::Missing},
    };
    for (const auto& [path, reason] : cases) {
        const TChmFile file(path);
        EXPECT_EQ(file.Refusal(), reason) << path;
        EXPECT_FALSE(file.Read("/pages/start.html")) << path;
        EXPECT_FALSE(file.TopicOfContext(110)) << path;
    }
}

TEST(HelpFile, TheReadingProcessIsStoppedAtItsLimits) {
    platform::TChmLimits noTime;
    noTime.WallMilliseconds = 0;
    EXPECT_EQ(TChmFile(HelpFile(), noTime).Refusal(), TChmRefusal::ReaderTimedOut);
    platform::TChmLimits noMemory;
    noMemory.MemoryBytes = 1u << 20;
    EXPECT_FALSE(TChmFile(HelpFile(), noMemory).IsOpen());
    // With its limits as they are, the same file reads.
    EXPECT_TRUE(TChmFile(HelpFile()).IsOpen());
}

TEST(HelpFile, AReadingProcessThatDoesNotAnswerAsTheReaderDoesIsNotBelieved) {
    const std::pair<const char*, TChmRefusal> programs[] = {
        {"/nonexistent/orvel_chm_reader", TChmRefusal::ReaderFailed},
        {"/bin/true", TChmRefusal::ReaderFailed},    // ends well, says nothing
        {"/bin/echo", TChmRefusal::ReaderFailed},    // ends well, says something else
        {"/bin/false", TChmRefusal::ReaderStopped},  // ends badly
    };
    for (const auto& [program, reason] : programs) {
        platform::TChmLimits limits;
        limits.Program = program;
        const TChmFile file(HelpFile(), limits);
        EXPECT_EQ(file.Refusal(), reason) << program;
        EXPECT_TRUE(file.Objects().empty()) << program;
    }
}

TEST(HelpFile, PathsAreFoundAsHelpFilesNameThem) {
    const TChmFile file(HelpFile());
    ASSERT_TRUE(file.IsOpen());
    const std::pair<const char*, const char*> cases[] = {
        {"/pages/start.html", "/pages/start.html"},
        {"pages/start.html", "/pages/start.html"},
        {"/PAGES/Start.HTML", "/pages/start.html"},
        {"/home/builder/stage/pages/start.html", "/pages/start.html"},
        {"/pages/nothing.html", ""},
        {"start.html", ""},
        {"", ""},
    };
    for (const auto& [path, object] : cases) EXPECT_EQ(file.FindObject(path), object) << path;
}

}  // namespace
