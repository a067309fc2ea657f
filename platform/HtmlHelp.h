#pragma once
#include <cstdint>
#include <string>

namespace platform {

// The help commands of the program. Windows and dialogs name a help context number; the help
// bridge turns the older WinHelp requests into the five HTML Help commands below and hands them
// to the installed help viewer, which shows the compiled help file.

// WinHelp commands, as the help requests of the windows carry them.
inline constexpr std::uint32_t HELP_CONTEXT = 1;
inline constexpr std::uint32_t HELP_QUIT = 2;
inline constexpr std::uint32_t HELP_CONTENTS = 3;
inline constexpr std::uint32_t HELP_CONTEXTPOPUP = 8;
inline constexpr std::uint32_t HELP_FINDER = 11;
inline constexpr std::uint32_t HELP_SETPOPUP_POS = 13;
inline constexpr std::uint32_t HELP_KEY = 257;

// HTML Help commands.
inline constexpr std::uint32_t HH_DISPLAY_TOPIC = 0;
inline constexpr std::uint32_t HH_DISPLAY_TOC = 1;
inline constexpr std::uint32_t HH_DISPLAY_INDEX = 2;
inline constexpr std::uint32_t HH_HELP_CONTEXT = 15;
inline constexpr std::uint32_t HH_CLOSE_ALL = 18;

// The data of a help command: a number (context number, packed position) or a text (keyword,
// topic path in the help file), depending on the command.
struct THelpData {
    std::uintptr_t Number = 0;
    std::string Text;   // code page
};

// The viewer of the help file; the windowed program installs one, tests install their own.
class IHtmlHelp {
public:
    virtual ~IHtmlHelp() = default;
    // helpFile: a bare file name is looked for in the program's folder.
    // HH_DISPLAY_TOPIC: data.Text is a topic path in the file, empty for the default topic.
    // HH_DISPLAY_TOC: the contents. HH_DISPLAY_INDEX: the keyword index at data.Text.
    // HH_HELP_CONTEXT: the topic that the file maps to the context number data.Number.
    // HH_CLOSE_ALL: closes the viewer.
    virtual void HtmlHelp(const std::string& helpFile, std::uint32_t command, const THelpData& data) = 0;
};

// Installs viewer (not owned; nullptr: none) and returns the one it replaces.
IHtmlHelp* SetHtmlHelp(IHtmlHelp* viewer);
// Hands the command to the installed viewer; without one nothing happens.
void HtmlHelp(const std::string& helpFile, std::uint32_t command, const THelpData& data);

// One request of the person (F1, a Help button) can reach the viewer as more than one command:
// the popup position, then the topic. While a THelpRequest lives, the commands given belong to
// one request, and a viewer reports a failure (a help file that cannot be read) once for it.
// Requests nest; the outermost one counts.
class THelpRequest {
public:
    THelpRequest();
    ~THelpRequest();
    THelpRequest(const THelpRequest&) = delete;
    THelpRequest& operator=(const THelpRequest&) = delete;
};
// The number of the request in progress, new for each outermost THelpRequest; 0 outside one.
std::uint64_t CurrentHelpRequest();

// The application's help file name, "orvel_helper.chm" unless set otherwise.
const std::string& HelpFileName();
void SetHelpFileName(std::string name);

// Where a help file name leads: a name with a "/" as it stands, a bare name in the program's folder.
std::string ResolveHelpFile(const std::string& helpFile);

}  // namespace platform
