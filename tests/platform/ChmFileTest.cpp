// The help file that the build compiles and puts beside the program, read back through chmlib;
// and what the reader does with files that are not help files.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "platform/ChmFile.h"
#include "platform/HelpSitemap.h"
#include "platform/HtmlHelp.h"
#include "tests/support/TempDir.h"

namespace {

using platform::TChmFile;

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

TEST(HelpFile, FilesThatAreNotHelpFilesAreRefusedOrFindNothing) {
    TempDir dir;
    const std::string whole = ReadBytes(HelpFile());
    ASSERT_GT(whole.size(), 1000u);
    const std::pair<const char*, std::string> files[] = {
        {"empty", ""},
        {"text", "not a help file at all"},
        {"header only", whole.substr(0, 120)},
        {"cut in half", whole.substr(0, whole.size() / 2)},
        {"zeroed middle", whole.substr(0, 200) + std::string(whole.size() - 400, '\0') + whole.substr(whole.size() - 200)},
    };
    for (const auto& [name, bytes] : files) {
        WriteBytes(dir.File("x.chm"), bytes);
        const TChmFile file(dir.File("x.chm"));
        // Whatever could be read, nothing crashes and every query answers.
        for (const std::string& o : file.Objects()) file.Read(o);
        file.TopicOfContext(110);
        SUCCEED() << name;
    }
    const TChmFile missing(dir.File("none.chm"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.Read("/pages/start.html"));
    EXPECT_FALSE(missing.TopicOfContext(110));
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
