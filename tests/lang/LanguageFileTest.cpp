// The language file that the build puts beside the program: every message key that the program
// asks for is there, and every line fits the 255-byte cut of the message table.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "lang/DlgLangConverter.h"
#include "platform/CodePage.h"
#include "platform/ProgramFolder.h"
#include "tests/support/TempDir.h"

namespace {

std::string ShippedFile() { return platform::ProgramFolder() + "/language.txt"; }

// The key literals that the sources hand to the message table, with the file each comes from:
// every key-like literal among the arguments of a call, so "a ? KEY1 : KEY2" counts both.
std::map<std::string, std::string> KeysUsedBySources() {
    static const std::regex call(R"re(\b(GetMessageText|ShowMessageByKey|MessageKey|Text)\s*\()re");
    static const std::regex key(R"re(^[A-Z][A-Za-z0-9]*(_[A-Za-z0-9]+)+$)re");
    std::map<std::string, std::string> keys;
    const std::filesystem::path root = ORVEL_SOURCE_DIR;
    for (const char* folder : {"platform", "lang", "store", "tree", "app", "runner", "controls", "exchange", "converter"}) {
        if (!std::filesystem::is_directory(root / folder)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            const std::string text = ReadBytes(entry.path().string());
            for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
                // Walk the arguments up to the closing parenthesis, collecting string literals.
                int depth = 1;
                std::size_t i = static_cast<std::size_t>(it->position() + it->length());
                while (i < text.size() && depth > 0) {
                    const char c = text[i];
                    if (c == '(') ++depth;
                    else if (c == ')') --depth;
                    else if (c == '"') {
                        std::string literal;
                        for (++i; i < text.size() && text[i] != '"'; ++i) {
                            if (text[i] == '\\' && i + 1 < text.size()) ++i;
                            literal += text[i];
                        }
                        if (std::regex_match(literal, key))
                            keys.emplace(literal, entry.path().lexically_relative(root).string());
                    }
                    ++i;
                }
            }
        }
    }
    return keys;
}

}  // namespace

TEST(LanguageFile, HoldsEveryKeyTheSourcesUse) {
    const TDlgLangConverter table(ShippedFile());
    const std::set<std::string> shipped(table.Keys().begin(), table.Keys().end());
    const auto used = KeysUsedBySources();
    // The message box's own keys are among them, so the scan does see the calls.
    ASSERT_TRUE(used.count("MESSDLG_YES_BUTTON")) << "the scan found no call of the message table";
    // Both keys of a choice between two are seen.
    ASSERT_TRUE(used.count("MAIN_F_PROJECT_OPENDIALOG_TITLE") && used.count("MAIN_F_PROJECT_SAVEDIALOG_TITLE"));
    for (const auto& [key, file] : used) EXPECT_TRUE(shipped.count(key)) << key << " (used in " << file << ")";
}

TEST(LanguageFile, HoldsEveryMessageKeyOfTheProgram) {
    const TDlgLangConverter table(ShippedFile());
    const std::set<std::string> shipped(table.Keys().begin(), table.Keys().end());
    std::ifstream list(std::string(ORVEL_TEST_DATA) + "/lang/message_keys.txt");
    ASSERT_TRUE(list) << "the list of message keys is missing";
    int count = 0;
    for (std::string key; std::getline(list, key);) {
        if (key.empty()) continue;
        ++count;
        EXPECT_TRUE(shipped.count(key)) << key;
        EXPECT_FALSE(table.GetMessageText(key).empty()) << key;
    }
    EXPECT_GT(count, 0);
}

TEST(LanguageFile, EveryLineFitsTheCut) {
    const std::string text = ReadBytes(ShippedFile());
    ASSERT_FALSE(text.empty()) << ShippedFile();
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        EXPECT_LE(line.size(), platform::kShortTextMax) << "line " << number;
        EXPECT_EQ(platform::SanitizeUtf8(line), line) << "line " << number << " is not valid UTF-8";
    }
    const TDlgLangConverter table(ShippedFile());
    for (const std::string& line : table.Lines()) EXPECT_EQ(platform::CutShortText(line), line);
}

TEST(LanguageFile, IsTheOneInTheSourceTree) {
    EXPECT_EQ(ReadBytes(ShippedFile()), ReadBytes(std::string(ORVEL_SOURCE_DIR) + "/lang/language.txt"));
}

// A message is shown in every situation its key serves; what it says must hold in each of them.
TEST(LanguageFile, NoMessageClaimsWhatOneOfItsSituationsBelies) {
    struct Claim {
        const char* Key;
        const char* Words;      // what the text must not say (lower case)
        const char* Situation;  // where that would be untrue
    };
    const Claim claims[] = {
        {"RUNTEST_TEST_COMPLETED", "every question", "questions that need no answer were skipped"},
        {"RUNTEST_STIMULS_UNANSWERED", "no answer yet", "only questions that need an answer are listed"},
        {"OBJECTSTREE_NO_SCALES_FOR_WEIGHTS", "already has", "the test has no scale at all"},
        {"RUNTEST_NUMOFCHOICES_ISBIG", "already chosen", "a limit of 0, nothing chosen"},
        {"RUNTEST_NO_CHOSEN_REACTIONS", "go on", "Back and Go To are held as well"},
        {"RUNTEST_OBJECT_NOT_DELETED", "could not be closed", "a page is replaced, no window closes"},
        {"OBJECTSTREE_IS_PRIVATE_TEST", "this test is private", "a question or scale of the test is selected"},
    };
    const TDlgLangConverter table(ShippedFile());
    for (const Claim& c : claims) {
        std::string text = table.GetMessageText(c.Key);
        for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(text.find(c.Words), std::string::npos) << c.Key << ": untrue when " << c.Situation;
    }
}
