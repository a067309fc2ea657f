#include "lang/DlgLangConverter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/Exception.h"
#include "platform/ProgramFolder.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kNoSection = "Inner Error -> Please call to Talmer Group! - no such section: \"Dialogues\"";

std::string LongLine() { return "LONG_KEY=" + std::string(300, 'x'); }

// The text that building the table from content and asking for key gives, or the failure text.
std::string Lookup(const std::function<void(const std::string& path)>& write, const std::string& key) {
    TempDir dir;
    const std::string path = dir.File("language.txt");
    write(path);
    try {
        return "text:" + TDlgLangConverter(path).GetMessageText(key);
    } catch (const Exception& e) {
        return "raised:" + e.Message();
    }
}

std::function<void(const std::string&)> Content(const std::string& text) {
    return [text](const std::string& path) { WriteBytes(path, text); };
}

}  // namespace

TEST(DlgLangConverter, LooksUpMessages) {
    const std::string dialogues = "[MainForm]\r\nMainForm_cap=Main\r\n[Dialogues]\r\n"
                                  "OBJECTSTREE_TEST_TITLE=Test = item\r\n"
                                  "  PADDED_KEY  =  padded text  \r\n"
                                  "EMPTY_MSG=\r\n" +
                                  LongLine() + "\r\n";
    struct Case {
        const char* name;
        std::function<void(const std::string&)> write;
        std::string key;
        std::string expected;
    };
    const Case cases[] = {
        {"value holding =", Content(dialogues), "OBJECTSTREE_TEST_TITLE", "text:Test = item"},
        {"blanks around key and value", Content(dialogues), "PADDED_KEY", "text:padded text"},
        {"empty value", Content(dialogues), "EMPTY_MSG", "text:"},
        {"long line cut to 255 with its key", Content(dialogues), "LONG_KEY", "text:" + std::string(255 - 9, 'x')},
        {"key in other case", Content(dialogues), "objectstree_test_title",
         "raised:Inner Error -> No such message; Bad file! - objectstree_test_title absent"},
        {"key of another section", Content(dialogues), "MainForm_cap",
         "raised:Inner Error -> No such message; Bad file! - MainForm_cap absent"},
        {"section name in other case", Content("[DIALOGUES]\nKEY=found\n"), "KEY", "text:found"},
        {"no Dialogues section", Content("[MainForm]\nKEY=x\n"), "KEY", "raised:" + kNoSection},
        {"Dialogues without keys", Content("[Dialogues]\r\n\r\n[Other]\r\nKEY=x\r\n"), "KEY", "raised:" + kNoSection},
        {"empty file", Content(""), "KEY", "raised:" + kNoSection},
        {"missing file", [](const std::string&) {}, "KEY", "raised:" + kNoSection},
        {"folder in place of the file", [](const std::string& p) { std::filesystem::create_directory(p); }, "KEY",
         "raised:" + kNoSection},
    };
    for (const Case& c : cases) EXPECT_EQ(Lookup(c.write, c.key), c.expected) << c.name;
}

TEST(DlgLangConverter, KeepsKeysAndLinesInFileOrder) {
    TempDir dir;
    WriteBytes(dir.File("l.txt"), "[Dialogues]\nB_KEY = b\nA_KEY=a=1\nC_KEY=\n");
    const TDlgLangConverter table(dir.File("l.txt"));
    EXPECT_EQ(table.Keys(), (std::vector<std::string>{"B_KEY", "A_KEY", "C_KEY"}));
    EXPECT_EQ(table.Lines(), (std::vector<std::string>{"B_KEY=b", "A_KEY=a=1", "C_KEY="}));
}

TEST(DlgLangConverter, SeesKeysFarDownALargeSection) {
    // Far more than 16384 bytes of key names before the last one.
    std::string text = "[Dialogues]\n";
    for (int i = 0; i < 2000; ++i) text += "FILLER_MESSAGE_KEY_" + std::to_string(i) + "=filler\n";
    text += "LAST_KEY=last\n";
    TempDir dir;
    WriteBytes(dir.File("l.txt"), text);
    EXPECT_EQ(TDlgLangConverter(dir.File("l.txt")).GetMessageText("LAST_KEY"), "last");
}

TEST(DlgLangConverter, ShowsMessagesInThePlainMessageBox) {
    TempDir dir;
    WriteBytes(dir.File("l.txt"), "[Dialogues]\nHELLO_MSG=Hello there\n");
    const TDlgLangConverter table(dir.File("l.txt"));
    RecordingInteraction ui;
    table.ShowMessageByKey("HELLO_MSG");
    TDlgLangConverter::ShowMessageText(std::string(300, 'y'));
    EXPECT_EQ(ui.Messages, (std::vector<std::string>{"Hello there", std::string(255, 'y')}));
    EXPECT_THROW(table.ShowMessageByKey("NOT_THERE"), Exception);
    EXPECT_EQ(ui.Messages.size(), 2u);
}

TEST(MessageTable, ServesTheInstalledTableAndReadsTheLanguageFileWithoutOne) {
    TempDir dir;
    WriteBytes(dir.File("first.txt"), "[Dialogues]\nWHICH_MSG=first\n");
    WriteBytes(dir.File("second.txt"), "[Dialogues]\nWHICH_MSG=second\n");
    auto saved = lang::SetMessageTable(nullptr);
    lang::SetLanguageFileName(dir.File("first.txt"));
    EXPECT_EQ(lang::GetMessageText("WHICH_MSG"), "first");

    lang::SetMessageTable(std::make_unique<TDlgLangConverter>(dir.File("second.txt")));
    EXPECT_EQ(lang::GetMessageText("WHICH_MSG"), "second");
    RecordingInteraction ui;
    lang::ShowMessageByKey("WHICH_MSG");
    lang::ShowMessageText("plain");
    EXPECT_EQ(ui.Messages, (std::vector<std::string>{"second", "plain"}));

    // Without a language file the failure names the missing section.
    lang::SetMessageTable(nullptr);
    lang::SetLanguageFileName(dir.File("absent.txt"));
    try {
        lang::GetMessageText("WHICH_MSG");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), kNoSection);
    }

    lang::SetLanguageFileName({});
    lang::SetMessageTable(std::move(saved));
}

TEST(MessageTable, TheLanguageFileStandsBesideTheProgram) {
    lang::SetLanguageFileName({});
    EXPECT_EQ(lang::LanguageFileName(), platform::ProgramFolder() + "/language.txt");
}
