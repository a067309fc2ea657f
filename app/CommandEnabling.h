#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

// What the main window's commands depend on: the open project, the kept search text and the
// selected tree node.
struct TCommandFacts {
    bool FileOpen = false;
    bool Modified = false;
    std::string FileName;
    std::string FindText;
    int Kind = 0;                     // the TNodeKind of the selected node; 0 when none is selected
    bool Private = false;             // the selected object belongs to a private test
    bool CanPaste = false;            // the marked node may be pasted under the selected one
    bool IsLeaf = false;              // the selected node has no child nodes in the tree
    bool HasStoredChildren = false;   // the store holds children of the selected object
};

// What one pass does to one command (a menu item, a tool button or a popup item, by its
// component name): each part that is empty is left as it was.
struct TCommandState {
    std::optional<bool> Enabled;
    std::optional<bool> Visible;
    std::string CaptionKey;   // message key of the new caption; empty: leave
    std::string HintKey;      // message key of the new hint; empty: leave

    bool operator==(const TCommandState&) const = default;
};

struct TCommandStates {
    std::map<std::string, TCommandState> Commands;
    // The window caption is the text of MAIN_F_WINDOW_CAPTION, followed by " (" + this + ")"
    // when it is set.
    std::optional<std::string> CaptionFileName;

    // The state of a component; an empty state when the pass does not touch it.
    TCommandState Of(const std::string& name) const;
};

// Every command's enabled state, visibility and caption for the facts, in one pass. A command
// that the pass leaves keeps what it had: Exit and Toolbar Setup are never touched.
TCommandStates ComputeCommandStates(const TCommandFacts& facts);
