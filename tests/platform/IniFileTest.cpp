#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

using platform::IniFile;

namespace {

const char* const kText =
    "; a comment line\r\n"
    "Stray=before any section\r\n"
    "[Dialogues]\r\n"
    "  FIRST_KEY  =  first value  \r\n"
    "SECOND_KEY=a=b=c\r\n"
    "EMPTY_KEY=\r\n"
    "line without equals sign\r\n"
    "third_key=3\n"
    "FIRST_KEY=a second spelling is not read\r\n"
    "\r\n"
    "[ MainForm ]\r\n"
    "MainForm_cap=Main window\r\n"
    "[dialogues]\r\n"
    "LATE_KEY=a repeated section is not read\r\n";

}  // namespace

TEST(IniFile, ReadsLikeTheProfileFunctions) {
    const IniFile ini = IniFile::Parse(kText);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Dialogues", "FIRST_KEY", "first value"},      // blanks around key and value do not count
        {"DIALOGUES", "first_key", "first value"},      // names match regardless of case
        {" Dialogues ", " FIRST_KEY ", "first value"},
        {"Dialogues", "SECOND_KEY", "a=b=c"},           // the value is all behind the first "="
        {"Dialogues", "EMPTY_KEY", ""},                 // present and empty is not the default
        {"Dialogues", "THIRD_KEY", "3"},                // a lone LF ends a line too
        {"Dialogues", "LATE_KEY", "<default>"},
        {"Dialogues", "Stray", "<default>"},
        {"Dialogues", "line without equals sign", "<default>"},
        {"MainForm", "MainForm_cap", "Main window"},    // blanks inside the brackets do not count
        {"Nowhere", "FIRST_KEY", "<default>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected) << c.section << " / " << c.key;
}

TEST(IniFile, ListsTheKeysOfASectionInFileOrder) {
    const IniFile ini = IniFile::Parse(kText);
    EXPECT_EQ(ini.Keys("dialogues"), (std::vector<std::string>{"FIRST_KEY", "SECOND_KEY", "EMPTY_KEY", "third_key"}));
    EXPECT_TRUE(ini.HasSection("MAINFORM"));
    EXPECT_FALSE(ini.HasSection("Nowhere"));
    EXPECT_TRUE(ini.Keys("Nowhere").empty());
}

TEST(IniFile, CutsValuesAt2047Bytes) {
    const std::string longValue(3000, 'v');
    const IniFile ini = IniFile::Parse("[S]\nK=" + longValue + "\nN=next\n");
    EXPECT_EQ(ini.ReadString("S", "K", ""), std::string(IniFile::kMaxValueLength, 'v'));
    EXPECT_EQ(ini.ReadString("S", "N", ""), "next");
}

TEST(IniFile, AMissingFileOrAFolderGivesTheDefaults) {
    TempDir dir;
    for (const std::string& path : {dir.File("absent.txt"), dir.Path()}) {
        const IniFile ini = IniFile::Load(path);
        EXPECT_FALSE(ini.HasSection("Dialogues")) << path;
        EXPECT_EQ(ini.ReadString("Dialogues", "KEY", "!!!---absent---!!!"), "!!!---absent---!!!");
    }
}

TEST(IniFile, LoadsAFile) {
    TempDir dir;
    WriteBytes(dir.File("language.txt"), kText);
    const IniFile ini = IniFile::Load(dir.File("language.txt"));
    EXPECT_EQ(ini.ReadString("Dialogues", "SECOND_KEY", ""), "a=b=c");
}

TEST(IniFile, TrimsExactlyTheBytesUpTo32) {
    EXPECT_EQ(platform::TrimBlanks(std::string("\x01\t x \x1f\x20", 7)), "x");
    EXPECT_EQ(platform::TrimBlanks("\x7f" "x"), "\x7f" "x");
    EXPECT_EQ(platform::TrimBlanks("   "), "");
}
