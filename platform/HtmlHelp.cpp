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

struct TRequestState {
    std::uint64_t Last = 0;
    std::uint64_t Current = 0;
    int Depth = 0;
};

TRequestState& Requests() {
    static TRequestState state;
    return state;
}

}  // namespace

THelpRequest::THelpRequest() {
    TRequestState& r = Requests();
    if (r.Depth++ == 0) r.Current = ++r.Last;
}

THelpRequest::~THelpRequest() {
    TRequestState& r = Requests();
    if (--r.Depth == 0) r.Current = 0;
}

std::uint64_t CurrentHelpRequest() { return Requests().Current; }

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
