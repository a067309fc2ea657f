// Contents and index files of a help file: their entries, nested as the lists nest them.
#include <gtest/gtest.h>

#include "platform/HelpSitemap.h"

namespace {

using platform::ParseHelpSitemap;
using platform::THelpSitemapEntry;

// "Name>Local" per entry, children in brackets.
std::string Shape(const std::vector<THelpSitemapEntry>& entries) {
    std::string out;
    for (const THelpSitemapEntry& e : entries) {
        if (!out.empty()) out += ",";
        out += e.Name + ">" + e.Local;
        if (!e.Children.empty()) out += "[" + Shape(e.Children) + "]";
    }
    return out;
}

std::string Object(const std::string& name, const std::string& local) {
    return "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\n";
}

TEST(HelpSitemap, ReadsEntriesNestedByTheirLists) {
    struct Case {
        const char* Name;
        std::string Html;
        std::string Shape;
    };
    const Case cases[] = {
        {"flat", "<UL>" + Object("A", "a.html") + Object("B", "b.html") + "</UL>", "A>a.html,B>b.html"},
        {"nested", "<UL>" + Object("A", "a.html") + "<UL>" + Object("A1", "a1.html") + "<UL>" + Object("A11", "x.html") +
                       "</UL></UL>" + Object("B", "b.html") + "</UL>",
         "A>a.html[A1>a1.html[A11>x.html]],B>b.html"},
        {"properties block and comments skipped",
         "<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"1\"></OBJECT><!-- <UL> -->"
         "<UL>" + Object("A", "a.html") + "</UL>",
         "A>a.html"},
        {"lower case, single quotes, unquoted",
         "<ul><li><object type='text/sitemap'><param name='name' value='Q &amp; A'><param name=local value=q.html>"
         "</object></ul>",
         "Q & A>q.html"},
        {"heading without a page", "<UL>" + Object("Head", "") + "<UL>" + Object("Sub", "s.html#part") + "</UL></UL>",
         "Head>[Sub>s.html#part]"},
        {"character references", "<UL>" + Object("&lt;&#65;&gt; &quot;x&quot; &#233;", "a.html") + "</UL>",
         "<A> \"x\" \xC3\xA9>a.html"},
        {"unbalanced lists", "</UL></UL><UL>" + Object("A", "a.html") + "<UL><UL>" + Object("B", "b.html"),
         "A>a.html[B>b.html]"},
    };
    for (const Case& c : cases) EXPECT_EQ(Shape(ParseHelpSitemap(c.Html)), c.Shape) << c.Name;
}

TEST(HelpSitemap, DamagedFilesGiveWhatCouldBeRead) {
    const std::string damaged[] = {"", "<", "<UL", "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A",
                                   "<!-- never closed", std::string("\0<UL>\0", 6), "&#99999999999999999999;",
                                   "<UL>" + Object("&#99999999999999999999;", "a.html") + "</UL>"};
    for (const std::string& html : damaged) {
        const auto entries = ParseHelpSitemap(html);
        for (const auto& e : entries) EXPECT_FALSE(e.Name.empty());
    }
}

}  // namespace
