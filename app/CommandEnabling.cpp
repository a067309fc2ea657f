#include "app/CommandEnabling.h"

#include <array>
#include <initializer_list>

#include "lang/DlgLangConverter.h"
#include "lang/Helpers.h"
#include "platform/IniFile.h"

namespace {

// A cell of the kind table that takes the paste state.
constexpr std::uint8_t CS = 9;

struct TKindRow {
    std::array<std::uint8_t, 7> Object;   // Cut, Copy, Paste, Create, Change, Remove, RunTest
    std::array<std::uint8_t, 6> Popup;    // Cut, Copy, Paste, Create, Change, Remove
    std::array<std::uint8_t, 4> Shown;    // RunTest, ExportTest, ImportScales, ImportStimuls
    bool FastStimuls;
    bool FastScales;
    // Create, Change, Remove, Arrange Items, Remove children.
    std::array<const char*, 5> Captions;
};

using lang::MessageKey;

constexpr std::array<const char*, 5> kCommonCaptions = {
    MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
    MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
    MessageKey("OBJECTSTREE_REMOVE_CHILDREN")};

constexpr TKindRow kWeightRow = {{1, 1, CS, 2, 1, 1, 1}, {1, 1, CS, 2, 1, 1}, {2, 2, 2, 2}, false, false,
                                 {MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_WEIGHT_CHANGE"),
                                  MessageKey("OBJECTSTREE_WEIGHT_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
                                  MessageKey("OBJECTSTREE_REMOVE_CHILDREN")}};

// One row per node kind, 0 (nothing selected) to 12 (answer).
constexpr std::array<TKindRow, 13> kKindRows = {{
    // 0 none
    {{2, 2, 2, 2, 2, 2, 2}, {2, 2, 2, 2, 2, 2}, {2, 2, 2, 2}, false, false, kCommonCaptions},
    // 1 root
    {{2, 2, CS, 2, 2, 2, 2}, {2, 2, CS, 2, 2, 2}, {2, 2, 2, 2}, false, false, kCommonCaptions},
    // 2 tests root
    {{2, 2, CS, 1, 2, 2, 2}, {2, 2, CS, 1, 2, 2}, {2, 2, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_TSTGRP_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
      MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_TEST_GROUPS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_TESTGROUPS")}},
    // 3 test group
    {{1, 1, CS, 1, 1, 1, 2}, {1, 1, CS, 1, 1, 1}, {2, 2, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_TEST_CREATE"), MessageKey("OBJECTSTREE_TSTGRP_CHANGE"),
      MessageKey("OBJECTSTREE_TSTGRP_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_TESTS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_TESTS")}},
    // 4 test
    {{1, 1, CS, 2, 1, 1, 1}, {1, 1, CS, 2, 1, 1}, {1, 1, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_TEST_CHANGE"),
      MessageKey("OBJECTSTREE_TEST_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_SCLSTM")}},
    // 5 scales folder
    {{2, 2, CS, 1, 2, 2, 1}, {2, 2, CS, 1, 2, 2}, {2, 2, 1, 2}, false, true,
     {MessageKey("OBJECTSTREE_SCALE_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
      MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_SCALES"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_SCALES")}},
    // 6 scale
    {{1, 1, CS, 1, 1, 1, 1}, {1, 1, CS, 1, 1, 1}, {2, 2, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_INTERP_CREATE"), MessageKey("OBJECTSTREE_SCALE_CHANGE"),
      MessageKey("OBJECTSTREE_SCALE_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_INTERPS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_INTERPS")}},
    // 7 interpretation
    {{1, 1, CS, 2, 1, 1, 1}, {1, 1, CS, 2, 1, 1}, {2, 2, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_INTERP_CHANGE"),
      MessageKey("OBJECTSTREE_INTERP_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILDREN")}},
    // 8 weight, 9 weight without scale
    kWeightRow,
    kWeightRow,
    // 10 questions folder
    {{2, 2, CS, 1, 2, 2, 1}, {2, 2, CS, 1, 2, 2}, {2, 2, 2, 1}, true, false,
     {MessageKey("OBJECTSTREE_STIMUL_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
      MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_STIMULS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_STIMULS")}},
    // 11 question
    {{1, 1, CS, 1, 1, 1, 1}, {1, 1, CS, 1, 1, 1}, {2, 2, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_REACTION_CREATE"), MessageKey("OBJECTSTREE_STIMUL_CHANGE"),
      MessageKey("OBJECTSTREE_STIMUL_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_REACTIONS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_REACTIONS")}},
    // 12 answer
    {{1, 1, CS, 1, 1, 1, 1}, {1, 1, CS, 1, 1, 1}, {2, 2, 2, 2}, false, false,
     {MessageKey("OBJECTSTREE_WEIGHT_CREATE"), MessageKey("OBJECTSTREE_REACTION_CHANGE"),
      MessageKey("OBJECTSTREE_REACTION_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_WEIGHTS"),
      MessageKey("OBJECTSTREE_REMOVE_CHILD_WEIGHTS")}},
}};

constexpr int kTestGroupKind = 3;
constexpr int kTestKind = 4;

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
    std::uint8_t Paste(std::uint8_t cell) const { return cell == CS ? CommandState(f_.CanPaste) : cell; }
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

    if (kind >= 0 && kind < static_cast<int>(kKindRows.size())) {
        const TKindRow& row = kKindRows[static_cast<std::size_t>(kind)];
        std::array<std::uint8_t, 7> object = row.Object;
        for (auto& cell : object) cell = Paste(cell);
        std::array<std::uint8_t, 6> popup = row.Popup;
        for (auto& cell : popup) cell = Paste(cell);
        SetObjectCommandStates(object);
        SetObjectCommandCaptions(row.Captions);
        UpdateViewCommands();
        SetPopupCommandStates(popup, row.Shown);
        SetPopupCommandCaptions(row.Captions);
        SetFastImportStates(row.FastStimuls, row.FastScales);
        if (kind == kTestGroupKind) Show({"PopupItemExportTestSeparator", "PopupItemImportTest"}, csEnable);
        if (kind == kTestKind) {
            Show({"PopupItemExportTestSeparator", "PopupItemExportTest"}, csEnable);
            Enable({"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems", "PopupItemArrangeItems"}, false);
        }
    }

    if (f_.FileOpen) {
        SetFileCommandStates({1, 1, 0, 1, 1, 1, 1, 0});
        State({"MenuItemProjectSave", "SpeedButtonProjectSave"}, CommandState(f_.Modified));
        SetEditViewCommandStates(csEnable, CommandState(!platform::TrimBlanks(f_.FindText).empty()), csLeave);
        if (!platform::TrimBlanks(f_.FileName).empty()) s_.CaptionFileName = f_.FileName;
        if (f_.Private) {
            SetObjectCommandStates({2, 2, 2, 2, 2, CommandState(kind == kTestKind), 0});
            Enable({"PopupItemExportTest", "PopupItemFastImportScales", "PopupItemFastImportStimuls"}, false);
            SetPopupCommandStates({2, 2, 2, 2, 2, 2}, {0, 0, 0, 0});
        }
    } else {
        SetFileCommandStates({1, 1, 2, 2, 2, 2, 2, 0});
        SetEditViewCommandStates(csDisable, csDisable, csLeave);
        SetObjectCommandStates({2, 2, 2, 2, 2, 2, 2});
        SetObjectCommandCaptions(kCommonCaptions);
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

const std::vector<std::string>& UnavailableCommands() {
    static const std::vector<std::string> names = {
    };
    return names;
}
