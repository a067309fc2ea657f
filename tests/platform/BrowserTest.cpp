// Opening addresses with the desktop's programs: the default application found in a desktop of
// the test's own, started by the whole command line of its desktop entry, without a shell.
#include <gtest/gtest.h>

#include "platform/Browser.h"
#include "tests/support/StandInDesktop.h"

namespace {

using Args = std::vector<std::string>;

TEST(Browser, TheDefaultBrowserIsStartedByItsWholeCommandLine) {
    // Switches of the Exec line are passed, the field code becomes the address; characters that a
    // shell would act on reach the browser untouched.
    const char* const urls[] = {"https://example.org/a?b=1&c=2#top", "http://x.example/$(touch pwned);rm",
                                "https://example.org/with space"};
    for (const char* url : urls) {
        StandInDesktop desktop;
        desktop.AddDesktopEntry("standin-browser.desktop",
                                desktop.AddRecordingProgram("standin-browser") + " --new-window %u \"--profile x\"");
        desktop.SetDefault("x-scheme-handler/http", "standin-browser.desktop");
        EXPECT_TRUE(platform::OpenInBrowser(url)) << url;
        EXPECT_EQ(desktop.Arguments("standin-browser"), (Args{"--new-window", url, "--profile x"}));
    }
}

// Entries that start their program through another one, as desktops install them.
TEST(Browser, ALauncherInTheExecLineStartsTheProgramItNames) {
    StandInDesktop desktop;
    desktop.AddRecordingProgram("standin-web");
    desktop.AddDesktopEntry("env.desktop", "env ORVEL_STANDIN=1 LANG=C standin-web --private %u");
    desktop.SetDefault("x-scheme-handler/http", "env.desktop");
    EXPECT_TRUE(platform::OpenInBrowser("https://example.org/"));
    EXPECT_EQ(desktop.Arguments("standin-web"), (Args{"--private", "https://example.org/"}));

    // A stand-in for a sandbox launcher: "flatpak run org.x.Browser %u".
    StandInDesktop sandbox;
    sandbox.AddRecordingProgram("standin-flatpak");
    sandbox.AddDesktopEntry("org.x.Browser.desktop", "standin-flatpak run --branch=stable org.x.Browser @@u %u @@");
    sandbox.SetDefault("x-scheme-handler/http", "org.x.Browser.desktop");
    EXPECT_TRUE(platform::OpenInBrowser("https://example.org/x"));
    EXPECT_EQ(sandbox.Arguments("standin-flatpak"),
              (Args{"run", "--branch=stable", "org.x.Browser", "@@u", "https://example.org/x", "@@"}));
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
    {
        // The program that "env" is to start is not there: env itself would start and fail.
        StandInDesktop desktop;
        desktop.AddDesktopEntry("env.desktop", "env GDK_BACKEND=x11 orvel-no-such-browser %u");
        desktop.SetDefault("x-scheme-handler/http", "env.desktop");
        EXPECT_EQ(platform::DefaultApplicationProgram("x-scheme-handler/http"), "env");
        EXPECT_FALSE(platform::OpenInBrowser("https://example.org/"));
    }
    {
        // The default cannot start, another installed browser can.
        StandInDesktop desktop;
        desktop.AddDesktopEntry("ghost.desktop", "orvel-no-such-browser %u");
        desktop.AddDesktopEntry("web.desktop", desktop.AddRecordingProgram("web") + " %u");
        desktop.SetDefault("x-scheme-handler/http", "ghost.desktop");
        desktop.SetDefault("text/html", "web.desktop");
        EXPECT_TRUE(platform::OpenInBrowser("https://example.org/"));
        EXPECT_EQ(desktop.Arguments("web"), Args{"https://example.org/"});
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
    struct Case {
        const char* Line;
        Args Command;   // for the address "A"
    };
    const platform::TDesktopEntryFields entry{"web-icon", "Web Browser", "/usr/share/applications/web.desktop"};
    const Case cases[] = {
        {"firefox %u", {"firefox", "A"}},
        {"  /usr/bin/web --new %U", {"/usr/bin/web", "--new", "A"}},
        {"\"/opt/My Browser/run\" --flag \"%u\"", {"/opt/My Browser/run", "--flag", "A"}},
        {"\"/opt/quote\\\"d/b\" %u", {"/opt/quote\"d/b", "A"}},
        {"\"/opt/b\" \"a \\\\\\\\ b\" \"\\$x\" \"\\`y\"", {"/opt/b", "a \\ b", "$x", "`y", "A"}},
        {"web\\s--kiosk %u", {"web", "--kiosk", "A"}},
        {"web --url=%u --name %c %i --from %k", {"web", "--url=A", "--name", "Web Browser", "--icon", "web-icon",
                                                  "--from", "/usr/share/applications/web.desktop"}},
        {"web %d %D %n %N %v %m %f", {"web", "A"}},
        {"web 100%% %F", {"web", "100%", "A"}},
        {"web --new-window", {"web", "--new-window", "A"}},
        {"web \"\" %u", {"web", "", "A"}},
        {"%u", {}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::ExecCommand(c.Line, "A", entry), c.Command) << c.Line;
    EXPECT_EQ(platform::ExecCommand("web %i %u", "A"), (Args{"web", "A"}));
    // An address with a "%" of its own stays as it is.
    EXPECT_EQ(platform::ExecCommand("mail %u", "mailto:a@b?subject=%25u%20x"), (Args{"mail", "mailto:a@b?subject=%25u%20x"}));
    const std::pair<const char*, const char*> schemes[] = {
        {"HTTPS://x", "https"}, {"mailto:a@b", "mailto"}, {"Home Page", ""}, {":x", ""}, {"1http://x", ""},
        {"svn+ssh://x", "svn+ssh"},
    };
    for (const auto& [url, scheme] : schemes) EXPECT_EQ(platform::UrlScheme(url), scheme) << url;
}

}  // namespace
