#include "app/CommandEnabling.h"

#include <array>
#include <initializer_list>

#include "lang/Helpers.h"
#include "platform/IniFile.h"
#include "tree/NodeKind.h"

namespace {

// The pass: the setters of the main window, each touching only what it names.
class TPass {
public:
    explicit TPass(const TCommandFacts& facts) : f_(facts) {}

    TCommandStates Run();

private:
    using Names = std::initializer_list<const char*>;

    void State(Names names, std::uint8_t state) {
        if (state == csLeave) return;
        for (const char* n : names) s_.Commands[n].Enabled = CommandStateEnabled(state);
    }
    void Enable(Names names, bool on) {
        for (const char* n : names) s_.Commands[n].Enabled = on;
    }
    void Show(Names names, std::uint8_t state) {
        if (state == csLeave) return;
        for (const char* n : names) s_.Commands[n].Visible = CommandStateEnabled(state);
    }
    // A cell of the kind's row as the setters take it.
    std::uint8_t Cell(TCell cell) const {
        return cell == TCell::IfPaste ? CommandState(f_.CanPaste) : CommandState(cell == TCell::On);
    }
    bool Selected() const { return f_.Kind != 0; }

    void SetFileCommandStates(std::array<std::uint8_t, 8> st);
    void SetEditViewCommandStates(std::uint8_t find, std::uint8_t findNext, std::uint8_t toolbarSetup);
    void UpdateViewCommands();
    void SetObjectCommandStates(const std::array<std::uint8_t, 7>& st);
    void SetObjectCommandCaptions(const std::array<const char*, 5>& keys);
    void SetPopupCommandStates(const std::array<std::uint8_t, 6>& st, const std::array<std::uint8_t, 4>& shown);
    void SetPopupCommandCaptions(const std::array<const char*, 5>& keys);
    void SetFastImportStates(bool stimuls, bool scales);

    const TCommandFacts& f_;
    TCommandStates s_;
};

void TPass::SetFileCommandStates(std::array<std::uint8_t, 8> st) {
    State({"MenuItemProjectCreate", "SpeedButtonProjectCreate"}, st[0]);
    State({"MenuItemProjectOpen", "SpeedButtonProjectOpen"}, st[1]);
    State({"MenuItemProjectSave", "SpeedButtonProjectSave"}, st[2]);
    State({"MenuItemProjectSaveAs", "SpeedButtonProjectSaveAs"}, st[3]);
    State({"MenuItemProjectClose", "SpeedButtonProjectClose"}, st[4]);
    State({"MenuItemFileImportTests", "SpeedButtonFileImportTests"}, st[5]);
    State({"MenuItemFileExportTests", "SpeedButtonFileExportTests"}, st[6]);
    State({"MenuItemFileExit", "SpeedButtonFileExit"}, st[7]);
}

void TPass::SetEditViewCommandStates(std::uint8_t find, std::uint8_t findNext, std::uint8_t toolbarSetup) {
    State({"MenuItemEditFind", "SpeedButtonEditFind"}, find);
    State({"MenuItemEditFindNext", "SpeedButtonEditFindNext"}, findNext);
    State({"MenuItemEditToolbarsSetup", "SpeedButtonEditToolbarsSetup"}, toolbarSetup);
}

void TPass::UpdateViewCommands() {
    Enable({"MenuItemViewShowChildNodes", "SpeedButtonViewShowChildNodes", "MenuItemViewHideChildNodes",
            "SpeedButtonViewHideChildNodes"},
           Selected() && !f_.IsLeaf);
}

void TPass::SetObjectCommandStates(const std::array<std::uint8_t, 7>& st) {
    State({"MenuItemEditCut"}, st[0]);
    State({"MenuItemEditCopy"}, st[1]);
    State({"MenuItemEditPaste"}, st[2]);
    State({"MenuItemObjectCreate", "SpeedButtonObjectCreate"}, st[3]);
    State({"MenuItemObjectChange", "SpeedButtonObjectChange"}, st[4]);
    State({"MenuItemObjectRemove", "SpeedButtonObjectRemove"}, st[5]);
    State({"MenuItemObjectRunTest", "SpeedButtonObjectRunTest"}, st[6]);
    Enable({"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems", "MenuItemObjectRemoveChildren",
            "SpeedButtonObjectRemoveChildren"},
           Selected() && f_.HasStoredChildren);
}

void TPass::SetObjectCommandCaptions(const std::array<const char*, 5>& keys) {
    static constexpr std::array<std::pair<const char*, const char*>, 5> items = {{
        {"MenuItemObjectCreate", "SpeedButtonObjectCreate"},
        {"MenuItemObjectChange", "SpeedButtonObjectChange"},
        {"MenuItemObjectRemove", "SpeedButtonObjectRemove"},
        {"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems"},
        {"MenuItemObjectRemoveChildren", "SpeedButtonObjectRemoveChildren"},
    }};
    for (std::size_t i = 0; i < items.size(); ++i) {
        s_.Commands[items[i].first].CaptionKey = keys[i];
        s_.Commands[items[i].second].HintKey = keys[i];
    }
}

void TPass::SetPopupCommandStates(const std::array<std::uint8_t, 6>& st, const std::array<std::uint8_t, 4>& shown) {
    State({"PopupItemCut"}, st[0]);
    State({"PopupItemCopy"}, st[1]);
    State({"PopupItemPaste"}, st[2]);
    State({"PopupItemCreate"}, st[3]);
    State({"PopupItemChange"}, st[4]);
    State({"PopupItemRemove"}, st[5]);
    Show({"PopupItemRunTest", "PopupItemRunTestSeparator"}, shown[0]);
    Show({"PopupItemExportTestSeparator", "PopupItemExportTest"}, shown[1]);
    Show({"PopupItemFastImportScales"}, shown[2]);
    Show({"PopupItemFastImportStimuls"}, shown[3]);
    s_.Commands["PopupItemFastImportTestSeparator"].Visible = shown[2] == csEnable || shown[3] == csEnable;
    Enable({"PopupItemArrangeItems", "PopupItemRemoveChildren"}, Selected() && f_.HasStoredChildren);
}

void TPass::SetPopupCommandCaptions(const std::array<const char*, 5>& keys) {
    static constexpr std::array<const char*, 5> items = {"PopupItemCreate", "PopupItemChange", "PopupItemRemove",
                                                         "PopupItemArrangeItems", "PopupItemRemoveChildren"};
    for (std::size_t i = 0; i < items.size(); ++i) s_.Commands[items[i]].CaptionKey = keys[i];
}

void TPass::SetFastImportStates(bool stimuls, bool scales) {
    Enable({"PopupItemFastImportStimuls"}, stimuls);
    Enable({"PopupItemFastImportScales"}, scales);
}

TCommandStates TPass::Run() {
    Show({"MenuItemDebugging"}, csDisable);
    const int kind = f_.Kind;
    Show({"PopupItemImportTest"}, csDisable);
    Enable({"PopupItemExportTest"}, true);

    // A kind outside the tree's kinds leaves the object commands as they were.
    const TKindCommands& row = NodeKindInfo(kind).Commands;
    if (IsNodeKind(kind)) {
        SetObjectCommandStates({Cell(row.Cut), Cell(row.Copy), Cell(row.Paste), Cell(row.Create),
                                Cell(row.Change), Cell(row.Remove), Cell(row.RunTest)});
        SetObjectCommandCaptions(row.CaptionKeys);
        UpdateViewCommands();
        SetPopupCommandStates({Cell(row.PopupCut), Cell(row.PopupCopy), Cell(row.PopupPaste),
                               Cell(row.PopupCreate), Cell(row.PopupChange), Cell(row.PopupRemove)},
                              {Cell(row.ShowRunTest), Cell(row.ShowExportTest), Cell(row.ShowImportScales),
                               Cell(row.ShowImportStimuls)});
        SetPopupCommandCaptions(row.CaptionKeys);
        SetFastImportStates(row.FastImportStimuls, row.FastImportScales);
        if (row.ShowImportTest) Show({"PopupItemExportTestSeparator", "PopupItemImportTest"}, csEnable);
        if (row.NeverArrange)
            Enable({"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems", "PopupItemArrangeItems"}, false);
    }

    if (f_.FileOpen) {
        SetFileCommandStates({csEnable, csEnable, csLeave, csEnable, csEnable, csEnable, csEnable, csLeave});
        State({"MenuItemProjectSave", "SpeedButtonProjectSave"}, CommandState(f_.Modified));
        SetEditViewCommandStates(csEnable, CommandState(!platform::TrimBlanks(f_.FindText).empty()), csLeave);
        if (!platform::TrimBlanks(f_.FileName).empty()) s_.CaptionFileName = f_.FileName;
        if (f_.Private) {
            SetObjectCommandStates({csDisable, csDisable, csDisable, csDisable, csDisable,
                                    CommandState(row.RemovableWhenPrivate), csLeave});
            Enable({"PopupItemExportTest", "PopupItemFastImportScales", "PopupItemFastImportStimuls"}, false);
            SetPopupCommandStates({csDisable, csDisable, csDisable, csDisable, csDisable, csDisable},
                                  {csLeave, csLeave, csLeave, csLeave});
        }
    } else {
        SetFileCommandStates({csEnable, csEnable, csDisable, csDisable, csDisable, csDisable, csDisable, csLeave});
        SetEditViewCommandStates(csDisable, csDisable, csLeave);
        SetObjectCommandStates({csDisable, csDisable, csDisable, csDisable, csDisable, csDisable, csDisable});
        // Nothing to act on: the captions of no selection.
        SetObjectCommandCaptions(NodeKindInfo(nkNone).Commands.CaptionKeys);
        UpdateViewCommands();
    }
    return std::move(s_);
}

}  // namespace

TCommandState TCommandStates::Of(const std::string& name) const {
    const auto it = Commands.find(name);
    return it == Commands.end() ? TCommandState{} : it->second;
}

TCommandStates ComputeCommandStates(const TCommandFacts& facts) { return TPass(facts).Run(); }
