#include "app/HtmlHelpBridge.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

#include <utility>

#include "lang/HelpHook.h"

namespace {

TconHTMLHelp*& HookSlot() {
    static TconHTMLHelp* hook = nullptr;
    return hook;
}

TWinHelpTester*& TesterSlot() {
    static TWinHelpTester* tester = nullptr;
    return tester;
}

constexpr std::size_t kMaxKeyword = 255;

std::string Cut(const std::string& text) { return text.substr(0, kMaxKeyword); }

bool HasHelp(const QWidget* w) {
    return w->property("HelpContext").toInt() != 0 || !w->property("HelpKeyword").toString().isEmpty();
}

}  // namespace

// ---- the hook

TconHTMLHelp::TconHTMLHelp() { HookSlot() = this; }

TconHTMLHelp::~TconHTMLHelp() {
    if (HookSlot() == this) HookSlot() = nullptr;
}

bool TconHTMLHelp::ApplicationHelp(std::uint32_t command, const platform::THelpData& data, bool& callHelp) {
    callHelp = false;
    std::uint32_t hh = platform::HH_DISPLAY_TOPIC;
    platform::THelpData passed;
    switch (command) {
        case platform::HELP_CONTEXT:
        case platform::HELP_CONTEXTPOPUP:
            hh = platform::HH_HELP_CONTEXT;
            passed.Number = data.Number;
            break;
        case platform::HELP_QUIT: hh = platform::HH_CLOSE_ALL; break;
        case platform::HELP_CONTENTS: hh = platform::HH_DISPLAY_TOC; break;
        case platform::HELP_FINDER: passed = data; break;
        case platform::HELP_KEY:
            hh = platform::HH_DISPLAY_INDEX;
            passed = data;
            break;
        default: break;
    }
    platform::HtmlHelp(platform::HelpFileName(), hh, passed);
    return true;
}

bool ApplicationHelpCommand(std::uint32_t command, const platform::THelpData& data) {
    bool callHelp = true;
    if (TconHTMLHelp* hook = HookSlot()) return hook->ApplicationHelp(command, data, callHelp);
    return false;
}

// ---- the WinHelp tester

std::string TWinHelpTester::GetDefaultHelpFile(const std::string& name) const {
    return name.empty() ? helpFile_ : name;
}

TWinHelpTester* WinHelpTester() { return TesterSlot(); }

TWinHelpTester* SetWinHelpTester(TWinHelpTester* tester) { return std::exchange(TesterSlot(), tester); }

// ---- the viewer

std::vector<std::string> THTMLHelpViewer::GetHelpStrings(const std::string& text) const {
    return {std::string(kViewerName) + ": " + text};
}

void THTMLHelpViewer::ShowTableOfContents() { ApplicationHelpCommand(platform::HELP_CONTENTS, {}); }

void THTMLHelpViewer::ShowHelp(const std::string& keyword) {
    const platform::THelpRequest request;
    SetPopupPosition();
    ApplicationHelpCommand(platform::HELP_KEY, {0, Cut(keyword)});
}

void THTMLHelpViewer::DisplayTopic(const std::string& topic) {
    const platform::THelpRequest request;
    SetPopupPosition();
    ApplicationHelpCommand(platform::HELP_KEY, {0, Cut(topic + "zzz")});
}

void THTMLHelpViewer::DisplayHelpByContext(int context, const std::string&) {
    const platform::THelpRequest request;
    SetPopupPosition();
    TWinHelpTester* tester = SetWinHelpTester(nullptr);
    try {
        ApplicationHelpCommand(platform::HELP_CONTEXT, {static_cast<std::uintptr_t>(context), {}});
    } catch (...) {
        SetWinHelpTester(tester);
        throw;
    }
    SetWinHelpTester(tester);
}

void THTMLHelpViewer::SetPopupPosition() {
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (!HasHelp(w)) continue;
        const QPoint origin = w->mapToGlobal(QPoint(0, 0));
        const auto packed = (static_cast<std::uintptr_t>(origin.y() & 0xFFFF) << 16) |
                            static_cast<std::uintptr_t>(origin.x() & 0xFFFF);
        ApplicationHelpCommand(platform::HELP_SETPOPUP_POS, {packed, {}});
        return;
    }
}

// ---- the selector

int THelpSelector::TableOfContents(const std::vector<std::string>& viewerNames) const {
    for (std::size_t i = viewerNames.size(); i-- > 0;)
        if (viewerNames[i] == THTMLHelpViewer::kViewerName) return static_cast<int>(i);
    return 0;
}

// ---- the program's help

THelpBridge::THelpBridge() : tester_(platform::HelpFileName()) {
    if (!WinHelpTester()) {
        SetWinHelpTester(&tester_);
        ownTester_ = true;
    }
    viewer_.NotifyID(1);
    // A request that names no topic opens the contents.
    lang::SetHelpHook([this](int context) {
        if (context == 0) {
            viewer_.ShowTableOfContents();
        } else {
            viewer_.DisplayHelpByContext(context);
        }
    });
}

THelpBridge::~THelpBridge() {
    lang::SetHelpHook({});
    // The viewer window goes with the program.
    ApplicationHelpCommand(platform::HELP_QUIT, {});
    viewer_.ShutDown();
    if (ownTester_ && WinHelpTester() == &tester_) SetWinHelpTester(nullptr);
}
