// Web and mail links: the Help menu's commands, the support mail and the hyperlink label, with
// stand-in programs in a desktop of the test's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

#include "app/FormAbout.h"
#include "app/Grlink.h"
#include "app/LinkAddresses.h"
#include "app/Links.h"
#include "app/MainForm.h"
#include "lang/DlgLangConverter.h"
#include "lang/VersionInformation.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtUserInteraction.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/StandInDesktop.h"

namespace {

using Args = std::vector<std::string>;

// The value of a "%XX" coded address part.
std::string PercentDecode(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The query parameters of a mailto link, split at "?" and "&" as a mail program does.
std::map<std::string, std::string> MailFields(const std::string& link) {
    std::map<std::string, std::string> fields;
    const std::size_t q = link.find('?');
    fields["to"] = PercentDecode(link.substr(7, q - 7));
    std::string rest = q == std::string::npos ? "" : link.substr(q + 1);
    std::size_t at = 0;
    while (at <= rest.size() && !rest.empty()) {
        const std::size_t amp = rest.find('&', at);
        const std::string pair = rest.substr(at, amp - at);
        const std::size_t eq = pair.find('=');
        fields[pair.substr(0, eq)] = eq == std::string::npos ? "" : PercentDecode(pair.substr(eq + 1));
        if (amp == std::string::npos) break;
        at = amp + 1;
    }
    return fields;
}

class Links : public ::testing::Test {
public:
    void SetUp() override {
        desktop.AddDesktopEntry("web.desktop", desktop.AddRecordingProgram("standin-web") + " %u");
        desktop.AddDesktopEntry("mail.desktop", desktop.AddRecordingProgram("standin-mail") + " %u");
        desktop.SetDefault("x-scheme-handler/http", "web.desktop");
        desktop.SetDefault("x-scheme-handler/https", "web.desktop");
        desktop.SetDefault("x-scheme-handler/mailto", "mail.desktop");
    }
    TAppTestEnvironment env;
    StandInDesktop desktop;
};

TEST_F(Links, TheMailLinkCarriesSubjectAndBodyWhateverTheyHold) {
    struct Case {
        std::string Subject, Body, Product, Version;
    };
    const Case cases[] = {
        {"Question", "Hello", "P", "2.0"},
        {"A & B? #1", "line one\r\nline two\nthird & last?x=1#frag", "Orvel", "2.0.1"},
        {"100% sure + more", "a=b&c=d", "Orvel Pro", "1"},
        {"", "", "", ""},
        {"Umlaut \xC3\xBC", "\xE2\x82\xAC 5", "P", "v"},
    };
    for (const Case& c : cases) {
        const std::string link = MailToLink("support@example.org", c.Subject, c.Body, c.Product, c.Version);
        EXPECT_EQ(link.rfind("mailto:support@example.org?subject=", 0), 0u) << link;
        EXPECT_EQ(link.find_first_of("\r\n #"), std::string::npos) << link;
        const auto fields = MailFields(link);
        EXPECT_EQ(fields.size(), 3u) << link;
        EXPECT_EQ(fields.at("to"), "support@example.org");
        EXPECT_EQ(fields.at("subject"), c.Subject + " (" + c.Product + " v" + c.Version + ")");
        EXPECT_EQ(fields.at("body"), c.Body);
    }
    EXPECT_EQ(MailToLink("a@b", "Question", "", "P", "2.0"), "mailto:a@b?subject=Question%20%28P%20v2.0%29&body=");
}

TEST_F(Links, EmailToSupportOpensTheMailProgramWithTheProgramsNameAndVersion) {
    TMainForm window(platform::FormatSettings::Posix());
    ASSERT_TRUE(window.MenuItemHelpSupport->isEnabled());
    window.MenuItemHelpSupport->trigger();
    const auto args = desktop.Arguments("standin-mail");
    ASSERT_TRUE(args);
    ASSERT_EQ(args->size(), 1u);
    const auto fields = MailFields(args->front());
    const TVersionInformation version(platform::ProgramFile());
    EXPECT_EQ(fields.at("to"), links::kSupportAddress);
    EXPECT_EQ(fields.at("subject"), lang::GetMessageText("IEXPLORER_EMAIL_TITLE_TO_SUPPORT") + " (" +
                                        version.ProductName + " v" + version.ProductVersion + ")");
    EXPECT_NE(version.ProductName, "-");
    EXPECT_EQ(fields.at("body"), lang::GetMessageText("IEXPLORER_EMAIL_BODY_TO_SUPPORT"));
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

TEST_F(Links, TheHelpMenusPagesOpenInTheBrowserWithOneArgument) {
    TMainForm window(platform::FormatSettings::Posix());
    window.MenuItemHelpContext->trigger();
    EXPECT_EQ(desktop.Arguments("standin-web"), Args{links::kProductPage});
    desktop.Forget("standin-web");
    window.SpeedButton("SpeedButtonHelpHomepage")->click();
    EXPECT_EQ(desktop.Arguments("standin-web"), Args{links::kHomePage});
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

TEST_F(Links, WithoutAProgramTheUserIsToldTheAddress) {
    StandInDesktop empty;
    TMainForm window(platform::FormatSettings::Posix());
    window.MenuItemHelpHomepage->trigger();
    window.MenuItemHelpSupport->trigger();
    ASSERT_EQ(env.Interaction.Messages.size(), 2u);
    EXPECT_EQ(env.Interaction.Messages[0], lang::GetMessageText("LINK_NO_PROGRAM") + "\n" + links::kHomePage);
    EXPECT_EQ(env.Interaction.Messages[1].rfind(lang::GetMessageText("LINK_NO_PROGRAM") + "\nmailto:" +
                                                    links::kSupportAddress + "?subject=",
                                                0),
              0u);
    EXPECT_FALSE(OpenLink("https://example.org/"));
}

// Desktops install programs behind launchers; the link starts the whole command, and says so
// with the address when the program behind the launcher is not there.
TEST_F(Links, AnAboutBoxLinkStartsTheWholeCommandOfTheDesktopEntry) {
    TFormAbout about(nullptr);
    about.show();
    {
        StandInDesktop launcher;
        launcher.AddRecordingProgram("standin-sandboxed");
        launcher.AddDesktopEntry("web.desktop", "env ORVEL_STANDIN=1 standin-sandboxed --new-tab %u");
        launcher.SetDefault("x-scheme-handler/http", "web.desktop");
        QTest::mouseClick(about.GrlinkHomePage, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(launcher.Arguments("standin-sandboxed"), (Args{"--new-tab", links::kHomePage}));
        EXPECT_TRUE(env.Interaction.Messages.empty());
    }
    {
        StandInDesktop broken;
        broken.AddDesktopEntry("web.desktop", "env ORVEL_STANDIN=1 orvel-no-such-browser %u");
        broken.SetDefault("x-scheme-handler/http", "web.desktop");
        QTest::mouseClick(about.GrlinkHomePage, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(env.Interaction.Messages,
                  std::vector<std::string>{lang::GetMessageText("LINK_NO_PROGRAM") + "\n" + links::kHomePage});
    }
}

// The message that no program opens the link: the person selects the address in it with the
// keyboard and copies it.
TEST_F(Links, TheAddressInTheMessageOfALinkWithoutAProgramCanBeSelectedAndCopied) {
    StandInDesktop empty;
    platform::QtUserInteraction boxes;
    platform::IUserInteraction* recording = platform::SetUserInteraction(&boxes);
    std::string selected, copied;
    bool closed = false;
    const platform::ModalHook previous = platform::SetModalHook([&](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (!box) return 0;
        box->show();
        QApplication::setActiveWindow(box);
        Flush();
        QLabel* text = nullptr;
        for (QLabel* l : box->findChildren<QLabel*>())
            if (l->text().contains(QString::fromStdString(links::kHomePage))) text = l;
        if (!text) return 0;
        // Tab from the OK button to the text, to its end, and the last line selected and copied.
        for (int i = 0; i < 4 && QApplication::focusWidget() != text; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Tab);
        if (QApplication::focusWidget() != text) return 0;
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Home, Qt::ShiftModifier);
        selected = text->selectedText().toStdString();
        QApplication::clipboard()->setText("before");
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        copied = QApplication::clipboard()->text().toStdString();
        // Return still answers the box.
        QTest::keyClick(text, Qt::Key_Return);
        closed = !box->isVisible();
        return box->result();
    });
    TFormAbout about(nullptr);
    about.show();
    QTest::mouseClick(about.GrlinkHomePage, Qt::LeftButton, {}, QPoint(5, 5));
    platform::SetModalHook(previous);
    platform::SetUserInteraction(recording);
    EXPECT_EQ(selected, links::kHomePage);
    EXPECT_EQ(copied, links::kHomePage);
    EXPECT_TRUE(closed);
}

TEST_F(Links, TheHyperlinkLabelOpensItsAddressOrAnAddressCaption) {
    struct Case {
        const char* Caption;
        const char* URL;
        const char* Target;   // "" when nothing opens
    };
    const Case cases[] = {
        {"Home Page", "https://example.org/home", "https://example.org/home"},
        {"Home Page", "  ", ""},
        {"Home Page", "", ""},
        {" https://example.org/x ", "", "https://example.org/x"},
        {"mailto:someone@example.org", "", "mailto:someone@example.org"},
        {"ftp://example.org/", "", ""},
        {"www.example.org", "", ""},
    };
    for (const Case& c : cases) {
        TGrlink link;
        link.setText(c.Caption);
        link.URL = c.URL;
        EXPECT_EQ(link.Target(), c.Target) << c.Caption << " / " << c.URL;
    }
    TGrlink link;
    link.setText("Home Page");
    link.URL = "https://example.org/home";
    link.resize(100, 20);
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(desktop.Arguments("standin-web"), Args{"https://example.org/home"});
}

TEST_F(Links, TheAboutBoxLinksOpenTheHomePageAndAMailToTheSupport) {
    TFormAbout about(nullptr);
    about.resize(600, 400);
    about.show();
    QTest::mouseClick(about.GrlinkHomePage, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(desktop.Arguments("standin-web"), Args{links::kHomePage});
    QTest::mouseClick(about.GrlinkSupport, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(desktop.Arguments("standin-mail"), Args{std::string("mailto:") + links::kSupportAddress});
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

TEST_F(Links, TheHyperlinkLabelLooksLikeALinkAndCopiesItsCaption) {
    TGrlink link;
    link.setText("Support");
    link.resize(100, 20);
    link.show();
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link.ActiveColor, QColor(0x80, 0x00, 0x80));
    // Purple while the left button is held, blue again afterwards; the right button changes nothing.
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(link.palette().color(QPalette::WindowText), link.ActiveColor);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(500, 5));   // released outside: no click
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mousePress(&link, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mouseRelease(&link, Qt::RightButton, {}, QPoint(5, 5));

    ASSERT_EQ(link.PopupMenu->actions().size(), 1);
    EXPECT_EQ(link.CopyItem->text(), "Copy");
    QGuiApplication::clipboard()->setText("before");
    link.CopyItem->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Support");
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

}  // namespace
