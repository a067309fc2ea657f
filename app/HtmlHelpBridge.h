#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/HtmlHelp.h"

// The help bridge: every help request of the program (F1 in a window, the Help button of the
// message box, the viewer's keyword and contents requests) ends in one hook,
// TconHTMLHelp::ApplicationHelp, which turns the WinHelp command into one of the five HTML Help
// commands and hands it with the application's help file name to the help viewer
// (platform::HtmlHelp).

// The hook. While one lives it is the application's help event.
class TconHTMLHelp {
public:
    TconHTMLHelp();
    ~TconHTMLHelp();
    TconHTMLHelp(const TconHTMLHelp&) = delete;
    TconHTMLHelp& operator=(const TconHTMLHelp&) = delete;

    // Maps the command (table below), asks the help viewer and answers True; callHelp is set
    // to False, so no other help system is asked.
    //   HELP_CONTEXT, HELP_CONTEXTPOPUP -> HH_HELP_CONTEXT with the context number
    //   HELP_QUIT -> HH_CLOSE_ALL; HELP_CONTENTS -> HH_DISPLAY_TOC
    //   HELP_FINDER -> HH_DISPLAY_TOPIC with the data; HELP_KEY -> HH_DISPLAY_INDEX with the keyword
    //   any other -> HH_DISPLAY_TOPIC of the default topic
    bool ApplicationHelp(std::uint32_t command, const platform::THelpData& data, bool& callHelp);
};

// The application's help command: the help event when one is set; False without one.
bool ApplicationHelpCommand(std::uint32_t command, const platform::THelpData& data);

// The test for the old WinHelp system: it can show nothing.
class TWinHelpTester {
public:
    explicit TWinHelpTester(std::string helpFile = {}) : helpFile_(std::move(helpFile)) {}
    bool CanShowALink(const std::string&, const std::string&) const { return false; }
    bool CanShowTopic(const std::string&, const std::string&) const { return false; }
    bool CanShowContext(int, const std::string&) const { return false; }
    std::vector<std::string> GetHelpStrings(const std::string&) const { return {}; }
    std::string GetHelpPath() const { return {}; }
    // The given name, or for an empty one the viewer's help file (empty while no viewer exists).
    std::string GetDefaultHelpFile(const std::string& name) const;

private:
    std::string helpFile_;
};

// The help viewer of the program's help requests; it sends every request back to the
// application's help command, so that it reaches the hook.
class THTMLHelpViewer {
public:
    static constexpr const char* kViewerName = "D6OnHelpFix";

    std::string GetViewerName() const { return kViewerName; }
    int UnderstandsKeyword(const std::string&) const { return 1; }
    std::vector<std::string> GetHelpStrings(const std::string& text) const;
    bool CanShowTableOfContents() const { return true; }
    void ShowTableOfContents();
    // The keyword index at the keyword (cut to 255 bytes).
    void ShowHelp(const std::string& keyword);
    void NotifyID(int viewerID) { viewerID_ = viewerID; }
    int ViewerID() const { return viewerID_; }
    void SoftShutDown() {}
    void ShutDown() { registered_ = false; }
    bool Registered() const { return registered_; }
    bool UnderstandsTopic(const std::string&) const { return true; }
    // The keyword index at the topic followed by "zzz" (cut to 255 bytes).
    void DisplayTopic(const std::string& topic);
    bool UnderstandsContext(int, const std::string&) const { return true; }
    // The topic of the context number, asked with the WinHelp tester removed for the call.
    void DisplayHelpByContext(int context, const std::string& helpFile = {});

    // Before keyword, topic and context help: from the focused control up through its parents,
    // the first that has help (a "HelpContext" property other than 0, or a "HelpKeyword" that is
    // not empty) gives its client origin on the screen, x in the low and y in the high 16 bits,
    // as HELP_SETPOPUP_POS.
    void SetPopupPosition();

private:
    int viewerID_ = 0;
    bool registered_ = true;
};

// Picks among keywords and viewers.
class THelpSelector {
public:
    int SelectKeyword(const std::vector<std::string>&) const { return 0; }
    // The last viewer named "D6OnHelpFix"; 0 when there is none.
    int TableOfContents(const std::vector<std::string>& viewerNames) const;
};

// The installed WinHelp tester, null while none is installed.
TWinHelpTester* WinHelpTester();
TWinHelpTester* SetWinHelpTester(TWinHelpTester* tester);

// The help of the running program, installed for its lifetime: the WinHelp tester (unless one
// is installed), the selector, the viewer and the hook; every help request of a window
// (lang::RequestHelp) goes to the viewer's context help, or to the contents for context 0. The help viewer window itself is
// installed apart (platform::SetHtmlHelp). At the end the help is closed and everything is
// taken back in reverse.
class THelpBridge {
public:
    THelpBridge();
    ~THelpBridge();
    THelpBridge(const THelpBridge&) = delete;
    THelpBridge& operator=(const THelpBridge&) = delete;

    THTMLHelpViewer& Viewer() { return viewer_; }
    const THelpSelector& Selector() const { return selector_; }
    TconHTMLHelp& Hook() { return hook_; }

private:
    TWinHelpTester tester_;
    bool ownTester_ = false;
    THelpSelector selector_;
    THTMLHelpViewer viewer_;
    TconHTMLHelp hook_;
};
