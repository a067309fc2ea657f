#include "platform/HtmlHelp.h"

#include <utility>

#include "platform/ProgramFolder.h"

namespace platform {
namespace {

IHtmlHelp*& ViewerSlot() {
    static IHtmlHelp* viewer = nullptr;
    return viewer;
}

std::string& HelpFileSlot() {
    static std::string name = "orvel_helper.chm";
    return name;
}

}  // namespace

IHtmlHelp* SetHtmlHelp(IHtmlHelp* viewer) { return std::exchange(ViewerSlot(), viewer); }

void HtmlHelp(const std::string& helpFile, std::uint32_t command, const THelpData& data) {
    if (IHtmlHelp* viewer = ViewerSlot()) viewer->HtmlHelp(helpFile, command, data);
}

const std::string& HelpFileName() { return HelpFileSlot(); }

void SetHelpFileName(std::string name) { HelpFileSlot() = std::move(name); }

std::string ResolveHelpFile(const std::string& helpFile) {
    if (helpFile.find('/') != std::string::npos) return helpFile;
    return ProgramFolder() + "/" + helpFile;
}

}  // namespace platform
