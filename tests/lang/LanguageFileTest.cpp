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
#include "store/LoadFailure.h"
#include "tests/support/TempDir.h"

namespace {

std::string ShippedFile() { return platform::ProgramFolder() + "/language.txt"; }

// Calls fn(file relative to the source tree, its text) for every source file of the program.
template <class Fn>
void ForEachSource(Fn fn) {
    const std::filesystem::path root = ORVEL_SOURCE_DIR;
    for (const char* folder : {"platform", "lang", "store", "tree", "app", "runner", "controls", "exchange", "converter"}) {
        if (!std::filesystem::is_directory(root / folder)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            fn(entry.path().lexically_relative(root).string(), ReadBytes(entry.path().string()));
        }
    }
}

const std::regex& KeyShape() {
    static const std::regex key(R"re(^[A-Z][A-Za-z0-9]*(_[A-Za-z0-9]+)+$)re");
    return key;
}

// The string literal that opens at text[i] (a double quote); i ends on its closing quote.
std::string Literal(const std::string& text, std::size_t& i) {
    std::string literal;
    for (++i; i < text.size() && text[i] != '"' && text[i] != '\n'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        literal += text[i];
    }
    return literal;
}

// The key literals that the sources hand to the message table, with the file each comes from:
// every key-like literal among the arguments of a call, so "a ? KEY1 : KEY2" counts both.
std::map<std::string, std::string> KeysUsedBySources() {
    static const std::regex call(R"re(\b(GetMessageText|ShowMessageByKey|MessageKey|MessageText|Text)\s*\()re");
    std::map<std::string, std::string> keys;
    ForEachSource([&](const std::string& file, const std::string& text) {
        for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
            // Walk the arguments up to the closing parenthesis, collecting string literals.
            int depth = 1;
            std::size_t i = static_cast<std::size_t>(it->position() + it->length());
            while (i < text.size() && depth > 0) {
                const char c = text[i];
                if (c == '(') ++depth;
                else if (c == ')') --depth;
                else if (c == '"') {
                    const std::string literal = Literal(text, i);
                    if (std::regex_match(literal, KeyShape())) keys.emplace(literal, file);
                }
                ++i;
            }
        }
    });
    return keys;
}

// Every key-like literal anywhere in the sources (in a table, a constant or a call alike) whose
// first word is the first word of a message key: such a literal names a message.
std::map<std::string, std::string> KeyLiteralsOfTheSources(const std::set<std::string>& shipped) {
    std::set<std::string> families;
    for (const std::string& key : shipped) families.insert(key.substr(0, key.find('_')));
    std::map<std::string, std::string> keys;
    ForEachSource([&](const std::string& file, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\'' && i + 2 < text.size()) {
                // A character literal, '"' among them, opens no string.
                i += text[i + 1] == '\\' ? 3 : 2;
                continue;
            }
            if (text[i] != '"') continue;
            const std::string literal = Literal(text, i);
            if (std::regex_match(literal, KeyShape()) && families.count(literal.substr(0, literal.find('_'))))
                keys.emplace(literal, file);
        }
    });
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

TEST(LanguageFile, HoldsEveryKeyLiteralOfTheSourcesWhereverItStands) {
    const TDlgLangConverter table(ShippedFile());
    const std::set<std::string> shipped(table.Keys().begin(), table.Keys().end());
    const auto literals = KeyLiteralsOfTheSources(shipped);
    // Keys kept in tables and constants are seen, not only those in calls.
    ASSERT_TRUE(literals.count("FILEACC_DAMAGE_BAD_DATE") && literals.count("FILEACC_FILE_VIOLATED_MSG"));
    for (const auto& [key, file] : literals) EXPECT_TRUE(shipped.count(key)) << key << " (in " << file << ")";
}

// Keys the program puts together at run time come from tables of the program; each is shipped.
TEST(LanguageFile, HoldsEveryKeyThatTheProgramTakesFromItsTables) {
    const TDlgLangConverter table(ShippedFile());
    const std::set<std::string> shipped(table.Keys().begin(), table.Keys().end());
    const std::vector<std::string> loadFailure = LoadFailureMessageKeys();
    // What broke the load (nine kinds) and where (section, record, line).
    EXPECT_EQ(loadFailure.size(), 12u);
    for (const std::string& key : loadFailure) {
        ASSERT_TRUE(shipped.count(key)) << key;
        EXPECT_FALSE(table.GetMessageText(key).empty()) << key;
    }
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
