// Opening addresses with the desktop's programs: the default application found in a desktop of
// the test's own, started with the address as its only argument and no shell.
#include <gtest/gtest.h>

#include "platform/Browser.h"
#include "tests/support/StandInDesktop.h"

namespace {

using Args = std::vector<std::string>;

TEST(Browser, TheDefaultBrowserGetsTheAddressAsItsOnlyArgument) {
    // Switches and placeholders of the Exec line are not passed; characters that a shell would
    // act on reach the browser untouched.
    const char* const urls[] = {"https://example.org/a?b=1&c=2#top", "http://x.example/$(touch pwned);rm",
                                "https://example.org/with space"};
    for (const char* url : urls) {
        StandInDesktop desktop;
        desktop.AddDesktopEntry("standin-browser.desktop",
                                desktop.AddRecordingProgram("standin-browser") + " --new-window %u \"--profile x\"");
        desktop.SetDefault("x-scheme-handler/http", "standin-browser.desktop");
        EXPECT_TRUE(platform::OpenInBrowser(url)) << url;
        EXPECT_EQ(desktop.Arguments("standin-browser"), Args{url});
    }
}

TEST(Browser, AProgramOfTheDesktopIsFoundWhereverTheDesktopKeepsIt) {
    struct Case {
        const char* Name;
        const char* ContentType;   // what the default is set for
        std::string Exec;          // PROGRAM stands for the program
        bool Found;
    };
    const Case cases[] = {
        {"http handler", "x-scheme-handler/http", "PROGRAM %u", true},
        {"html files when no http handler is set", "text/html", "PROGRAM %f", true},
        {"quoted program path", "x-scheme-handler/http", "\"PROGRAM\" %U", true},
        {"only a mail program", "x-scheme-handler/mailto", "PROGRAM %u", false},
        {"an Exec line of only a field code", "x-scheme-handler/http", "%u", false},
    };
    for (const Case& c : cases) {
        StandInDesktop desktop;
        const std::string program = desktop.AddRecordingProgram("standin");
        std::string exec = c.Exec;
        if (const std::size_t at = exec.find("PROGRAM"); at != std::string::npos) exec.replace(at, 7, program);
        desktop.AddDesktopEntry("standin.desktop", exec);
        desktop.SetDefault(c.ContentType, "standin.desktop");
        EXPECT_EQ(platform::OpenInBrowser("https://example.org/"), c.Found) << c.Name;
        if (c.Found) {
            EXPECT_EQ(desktop.Arguments("standin"), Args{"https://example.org/"}) << c.Name;
        }
    }
}

TEST(Browser, NoKnownBrowserOrOneThatCannotStartGivesFalse) {
    {
        StandInDesktop desktop;
        EXPECT_TRUE(platform::DefaultApplicationProgram("x-scheme-handler/http").empty());
        EXPECT_FALSE(platform::OpenInBrowser("https://example.org/"));
    }
    {
        // The default names a desktop entry that is not installed.
        StandInDesktop desktop;
        desktop.SetDefault("x-scheme-handler/http", "gone.desktop");
        EXPECT_FALSE(platform::OpenInBrowser("https://example.org/"));
    }
    {
        // The entry names a program that does not exist.
        StandInDesktop desktop;
        desktop.AddDesktopEntry("ghost.desktop", "orvel-no-such-browser %u");
        desktop.SetDefault("x-scheme-handler/http", "ghost.desktop");
        EXPECT_EQ(platform::DefaultApplicationProgram("x-scheme-handler/http"), "orvel-no-such-browser");
        EXPECT_FALSE(platform::OpenInBrowser("https://example.org/"));
    }
}

TEST(Browser, AddressesGoToTheProgramOfTheirScheme) {
    StandInDesktop desktop;
    desktop.AddDesktopEntry("web.desktop", desktop.AddRecordingProgram("web") + " %u");
    desktop.AddDesktopEntry("mail.desktop", desktop.AddRecordingProgram("mail") + " %u");
    desktop.SetDefault("x-scheme-handler/http", "web.desktop");
    desktop.SetDefault("x-scheme-handler/mailto", "mail.desktop");
    EXPECT_TRUE(platform::OpenUrl("HTTPS://example.org/"));
    EXPECT_EQ(desktop.Arguments("web"), Args{"HTTPS://example.org/"});
    EXPECT_TRUE(platform::OpenUrl("mailto:someone@example.org?subject=Hi"));
    EXPECT_EQ(desktop.Arguments("mail"), Args{"mailto:someone@example.org?subject=Hi"});
    // No scheme, or one without a program: nothing starts.
    EXPECT_FALSE(platform::OpenUrl("Home Page"));
    EXPECT_FALSE(platform::OpenUrl("ftp://example.org/"));
}

TEST(Browser, ExecLinesAndSchemes) {
    const std::pair<const char*, const char*> programs[] = {
        {"firefox %u", "firefox"},
        {"  /usr/bin/web --new %U", "/usr/bin/web"},
        {"\"/opt/My Browser/run\" --flag \"%u\"", "/opt/My Browser/run"},
        {"\"/opt/quote\\\"d/b\" %u", "/opt/quote\"d/b"},
        {"%u", ""},
        {"", ""},
    };
    for (const auto& [line, program] : programs) EXPECT_EQ(platform::ExecProgram(line), program) << line;
    const std::pair<const char*, const char*> schemes[] = {
        {"HTTPS://x", "https"}, {"mailto:a@b", "mailto"}, {"Home Page", ""}, {":x", ""}, {"1http://x", ""},
        {"svn+ssh://x", "svn+ssh"},
    };
    for (const auto& [url, scheme] : schemes) EXPECT_EQ(platform::UrlScheme(url), scheme) << url;
}

}  // namespace
