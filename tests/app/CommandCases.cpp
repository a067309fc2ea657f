#include "tests/app/CommandCases.h"

#include <initializer_list>
#include <sstream>

#include "store/FileAccess.h"
#include "tests/support/StoreFixtures.h"

namespace {

// ---------------------------------------------------------------- the table by node kind

// States as the table writes them: "1" enable or show, "2" disable or hide, "CS" the paste state.
struct TKindRow {
    std::vector<int> Kinds;
    const char* Object;   // Cut Copy Paste Create Change Remove RunTest
    const char* Popup;    // Cut Copy Paste Create Change Remove
    const char* Shown;    // RunTest ExportTest ImportScales ImportStimuls
    bool FastStimuls;
    bool FastScales;
    std::vector<const char*> ShownExtra;      // shown after the row
    std::vector<const char*> DisabledExtra;   // disabled after the row
};

const std::vector<TKindRow>& KindRows() {
    static const std::vector<TKindRow> rows = {
        {{0}, "2 2 2 2 2 2 2", "2 2 2 2 2 2", "2 2 2 2", false, false, {}, {}},
        {{1}, "2 2 CS 2 2 2 2", "2 2 CS 2 2 2", "2 2 2 2", false, false, {}, {}},
        {{2}, "2 2 CS 1 2 2 2", "2 2 CS 1 2 2", "2 2 2 2", false, false, {}, {}},
        {{3}, "1 1 CS 1 1 1 2", "1 1 CS 1 1 1", "2 2 2 2", false, false,
         {"PopupItemExportTestSeparator", "PopupItemImportTest"}, {}},
        {{4}, "1 1 CS 2 1 1 1", "1 1 CS 2 1 1", "1 1 2 2", false, false,
         {"PopupItemExportTestSeparator", "PopupItemExportTest"},
         {"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems", "PopupItemArrangeItems"}},
        {{5}, "2 2 CS 1 2 2 1", "2 2 CS 1 2 2", "2 2 1 2", false, true, {}, {}},
        {{6}, "1 1 CS 1 1 1 1", "1 1 CS 1 1 1", "2 2 2 2", false, false, {}, {}},
        {{7}, "1 1 CS 2 1 1 1", "1 1 CS 2 1 1", "2 2 2 2", false, false, {}, {}},
        {{8, 9}, "1 1 CS 2 1 1 1", "1 1 CS 2 1 1", "2 2 2 2", false, false, {}, {}},
        {{10}, "2 2 CS 1 2 2 1", "2 2 CS 1 2 2", "2 2 2 1", true, false, {}, {}},
        {{11}, "1 1 CS 1 1 1 1", "1 1 CS 1 1 1", "2 2 2 2", false, false, {}, {}},
        {{12}, "1 1 CS 1 1 1 1", "1 1 CS 1 1 1", "2 2 2 2", false, false, {}, {}},
    };
    return rows;
}

// Caption keys: Create, Change, Remove, Arrange Items, Remove children.
struct TCaptionRow {
    std::vector<int> Kinds;
    std::vector<const char*> Keys;
};

const std::vector<TCaptionRow>& CaptionRows() {
    static const std::vector<TCaptionRow> rows = {
        {{0, 1},
         {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
          "OBJECTSTREE_ARRANGE_ITEMS", "OBJECTSTREE_REMOVE_CHILDREN"}},
        {{2},
         {"OBJECTSTREE_TSTGRP_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
          "OBJECTSTREE_ARRANGE_TEST_GROUPS", "OBJECTSTREE_REMOVE_CHILD_TESTGROUPS"}},
        {{3},
         {"OBJECTSTREE_TEST_CREATE", "OBJECTSTREE_TSTGRP_CHANGE", "OBJECTSTREE_TSTGRP_REMOVE",
          "OBJECTSTREE_ARRANGE_TESTS", "OBJECTSTREE_REMOVE_CHILD_TESTS"}},
        {{4},
         {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_TEST_CHANGE", "OBJECTSTREE_TEST_REMOVE",
          "OBJECTSTREE_ARRANGE_ITEMS", "OBJECTSTREE_REMOVE_CHILD_SCLSTM"}},
        {{5},
         {"OBJECTSTREE_SCALE_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
          "OBJECTSTREE_ARRANGE_SCALES", "OBJECTSTREE_REMOVE_CHILD_SCALES"}},
        {{6},
         {"OBJECTSTREE_INTERP_CREATE", "OBJECTSTREE_SCALE_CHANGE", "OBJECTSTREE_SCALE_REMOVE",
          "OBJECTSTREE_ARRANGE_INTERPS", "OBJECTSTREE_REMOVE_CHILD_INTERPS"}},
        {{7},
         {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_INTERP_CHANGE", "OBJECTSTREE_INTERP_REMOVE",
          "OBJECTSTREE_ARRANGE_ITEMS", "OBJECTSTREE_REMOVE_CHILDREN"}},
        {{8, 9},
         {"OBJECTSTREE_COMMON_CREATE", "OBJECTSTREE_WEIGHT_CHANGE", "OBJECTSTREE_WEIGHT_REMOVE",
          "OBJECTSTREE_ARRANGE_ITEMS", "OBJECTSTREE_REMOVE_CHILDREN"}},
        {{10},
         {"OBJECTSTREE_STIMUL_CREATE", "OBJECTSTREE_COMMON_CHANGE", "OBJECTSTREE_COMMON_REMOVE",
          "OBJECTSTREE_ARRANGE_STIMULS", "OBJECTSTREE_REMOVE_CHILD_STIMULS"}},
        {{11},
         {"OBJECTSTREE_REACTION_CREATE", "OBJECTSTREE_STIMUL_CHANGE", "OBJECTSTREE_STIMUL_REMOVE",
          "OBJECTSTREE_ARRANGE_REACTIONS", "OBJECTSTREE_REMOVE_CHILD_REACTIONS"}},
        {{12},
         {"OBJECTSTREE_WEIGHT_CREATE", "OBJECTSTREE_REACTION_CHANGE", "OBJECTSTREE_REACTION_REMOVE",
          "OBJECTSTREE_ARRANGE_WEIGHTS", "OBJECTSTREE_REMOVE_CHILD_WEIGHTS"}},
    };
    return rows;
}

template <typename Row>
const Row* RowOf(const std::vector<Row>& rows, int kind) {
    for (const Row& r : rows)
        for (int k : r.Kinds)
            if (k == kind) return &r;
    return nullptr;
}

// "1 1 CS 2" as Booleans, the paste state put in for CS.
std::vector<bool> Cells(const char* text, bool canPaste) {
    std::vector<bool> out;
    std::istringstream in(text);
    for (std::string cell; in >> cell;) out.push_back(cell == "CS" ? canPaste : cell == "1");
    return out;
}

bool Blank(const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; }

// The expectation, command by command.
class TExpected {
public:
    using Names = std::initializer_list<const char*>;

    void Enabled(Names names, bool on) {
        for (const char* n : names) s.Commands[n].Enabled = on;
    }
    void Enabled(const std::vector<const char*>& names, bool on) {
        for (const char* n : names) s.Commands[n].Enabled = on;
    }
    void Visible(Names names, bool on) {
        for (const char* n : names) s.Commands[n].Visible = on;
    }
    void Visible(const std::vector<const char*>& names, bool on) {
        for (const char* n : names) s.Commands[n].Visible = on;
    }
    // The Object menu's Cut, Copy, Paste, Create, Change, Remove, RunTest; the first three have no
    // buttons. Arrange Items and Remove children always follow the stored children.
    void ObjectStates(const std::vector<bool>& st, bool children) {
        Enabled({"MenuItemEditCut"}, st[0]);
        Enabled({"MenuItemEditCopy"}, st[1]);
        Enabled({"MenuItemEditPaste"}, st[2]);
        Enabled({"MenuItemObjectCreate", "SpeedButtonObjectCreate"}, st[3]);
        Enabled({"MenuItemObjectChange", "SpeedButtonObjectChange"}, st[4]);
        Enabled({"MenuItemObjectRemove", "SpeedButtonObjectRemove"}, st[5]);
        if (st.size() > 6) Enabled({"MenuItemObjectRunTest", "SpeedButtonObjectRunTest"}, st[6]);
        Enabled({"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems", "MenuItemObjectRemoveChildren",
                 "SpeedButtonObjectRemoveChildren"},
                children);
    }
    void ObjectCaptions(const std::vector<const char*>& keys) {
        const char* items[] = {"ObjectCreate", "ObjectChange", "ObjectRemove", "ObjectArrangeItems",
                               "ObjectRemoveChildren"};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            s.Commands[std::string("MenuItem") + items[i]].CaptionKey = keys[i];
            s.Commands[std::string("SpeedButton") + items[i]].HintKey = keys[i];
        }
    }
    void ViewCommands(bool expandable) {
        Enabled({"MenuItemViewShowChildNodes", "SpeedButtonViewShowChildNodes", "MenuItemViewHideChildNodes",
                 "SpeedButtonViewHideChildNodes"},
                expandable);
    }
    void PopupStates(const std::vector<bool>& st, bool children) {
        Enabled({"PopupItemCut"}, st[0]);
        Enabled({"PopupItemCopy"}, st[1]);
        Enabled({"PopupItemPaste"}, st[2]);
        Enabled({"PopupItemCreate"}, st[3]);
        Enabled({"PopupItemChange"}, st[4]);
        Enabled({"PopupItemRemove"}, st[5]);
        Enabled({"PopupItemArrangeItems", "PopupItemRemoveChildren"}, children);
    }
    void PopupShown(const std::vector<bool>& shown) {
        Visible({"PopupItemRunTest", "PopupItemRunTestSeparator"}, shown[0]);
        Visible({"PopupItemExportTestSeparator", "PopupItemExportTest"}, shown[1]);
        Visible({"PopupItemFastImportScales"}, shown[2]);
        Visible({"PopupItemFastImportStimuls"}, shown[3]);
    }
    void PopupCaptions(const std::vector<const char*>& keys) {
        const char* items[] = {"PopupItemCreate", "PopupItemChange", "PopupItemRemove", "PopupItemArrangeItems",
                               "PopupItemRemoveChildren"};
        for (std::size_t i = 0; i < keys.size(); ++i) s.Commands[items[i]].CaptionKey = keys[i];
    }
    void FileStates(bool saveAs, bool close, bool importExport) {
        Enabled({"MenuItemProjectCreate", "SpeedButtonProjectCreate", "MenuItemProjectOpen", "SpeedButtonProjectOpen"},
                true);
        Enabled({"MenuItemProjectSaveAs", "SpeedButtonProjectSaveAs"}, saveAs);
        Enabled({"MenuItemProjectClose", "SpeedButtonProjectClose"}, close);
        Enabled({"MenuItemFileImportTests", "SpeedButtonFileImportTests", "MenuItemFileExportTests",
                 "SpeedButtonFileExportTests"},
                importExport);
    }

    TCommandStates s;
};

}  // namespace

TCommandStates ExpectedCommandStates(const TCommandFacts& f) {
    TExpected e;
    const bool selected = f.Kind != 0;
    const bool children = selected && f.HasStoredChildren;
    const bool expandable = selected && !f.IsLeaf;
    const std::vector<const char*>& common = CaptionRows().front().Keys;

    e.Visible({"MenuItemDebugging", "PopupItemImportTest"}, false);
    e.Enabled({"PopupItemExportTest"}, true);
    if (const TKindRow* row = RowOf(KindRows(), f.Kind)) {
        const std::vector<const char*>& captions = RowOf(CaptionRows(), f.Kind)->Keys;
        const std::vector<bool> shown = Cells(row->Shown, f.CanPaste);
        e.ObjectStates(Cells(row->Object, f.CanPaste), children);
        e.ObjectCaptions(captions);
        e.ViewCommands(expandable);
        e.PopupStates(Cells(row->Popup, f.CanPaste), children);
        e.PopupShown(shown);
        e.Visible({"PopupItemFastImportTestSeparator"}, shown[2] || shown[3]);
        e.PopupCaptions(captions);
        e.Enabled({"PopupItemFastImportStimuls"}, row->FastStimuls);
        e.Enabled({"PopupItemFastImportScales"}, row->FastScales);
        e.Visible(row->ShownExtra, true);
        e.Enabled(row->DisabledExtra, false);
    }
    if (f.FileOpen) {
        e.FileStates(true, true, true);
        e.Enabled({"MenuItemProjectSave", "SpeedButtonProjectSave"}, f.Modified);
        e.Enabled({"MenuItemEditFind", "SpeedButtonEditFind"}, true);
        e.Enabled({"MenuItemEditFindNext", "SpeedButtonEditFindNext"}, !Blank(f.FindText));
        if (!Blank(f.FileName)) e.s.CaptionFileName = f.FileName;
        if (f.Private) {
            // Run Test is left as the row set it; only the test node itself may be removed.
            e.ObjectStates({false, false, false, false, false, f.Kind == 4}, children);
            e.Enabled({"PopupItemExportTest", "PopupItemFastImportScales", "PopupItemFastImportStimuls"}, false);
            e.PopupStates({false, false, false, false, false, false}, children);
            e.Visible({"PopupItemFastImportTestSeparator"}, false);
        }
    } else {
        e.FileStates(false, false, false);
        e.Enabled({"MenuItemProjectSave", "SpeedButtonProjectSave"}, false);
        e.Enabled({"MenuItemEditFind", "SpeedButtonEditFind", "MenuItemEditFindNext", "SpeedButtonEditFindNext"},
                  false);
        e.ObjectStates({false, false, false, false, false, false, false}, children);
        e.ObjectCaptions(common);
        e.ViewCommands(expandable);
    }
    return std::move(e.s);
}

namespace {

// ---------------------------------------------------------------- the cases

TCommandFacts Opened(int kind, bool leaf, bool children, bool isPrivate = false) {
    TCommandFacts f;
    f.FileOpen = true;
    f.FileName = kCaseFileName;
    f.Kind = kind;
    f.IsLeaf = leaf;
    f.HasStoredChildren = children;
    f.Private = isPrivate;
    return f;
}

TCommandCase Case(std::string name, TCommandFacts facts, TCommandCase::TProject project = TCommandCase::Opened,
                  std::int32_t under = -1, TCommandCase::TMark mark = {}, std::string notInWindow = {}) {
    return {std::move(name), std::move(facts), project, under, mark, std::move(notInWindow)};
}

std::vector<TCommandCase> MakeCases() {
    using P = TCommandCase;
    std::vector<TCommandCase> cases;
    auto add = [&](TCommandCase c) { cases.push_back(std::move(c)); };

    add(Case("NoFile", TCommandFacts{}, P::NoProject));
    add(Case("OpenNothingSelected", Opened(0, false, false)));
    {
        TCommandFacts f = Opened(0, false, false);
        f.Modified = true;
        add(Case("ModifiedFile", f, P::OpenedAndChanged));
        f = Opened(4, false, true);
        f.Modified = true;
        add(Case("ModifiedFileWithATest", f, P::OpenedAndChanged, 1));
    }
    {
        TCommandFacts f = Opened(0, false, false);
        f.FileName = "";
        add(Case("NewProjectWithoutName", f, P::Created));
        f.FileName = " \t ";
        add(Case("BlankFileNameShowsNoName", f, P::Opened, -1, {}, "an opened file always has its name"));
    }
    {
        TCommandFacts f = Opened(0, false, false);
        f.FindText = "horse";
        add(Case("KeptSearchText", f, P::Opened, -1, {}, "the window has no search yet"));
        f.FindText = " \t";
        add(Case("BlankSearchText", f, P::Opened, -1, {}, "the window has no search yet"));
    }

    // Every node kind of the open test.
    add(Case("Root", Opened(1, false, false)));
    add(Case("TestsRoot", Opened(2, false, true)));
    add(Case("TestGroup", Opened(3, false, true), P::Opened, 1));
    add(Case("EmptyTestGroup", Opened(3, true, false), P::Opened, 2));
    add(Case("Test", Opened(4, false, true), P::Opened, 1));
    add(Case("TestWithoutContents", Opened(4, false, false), P::Opened, 3));
    add(Case("ScalesFolder", Opened(5, false, true), P::Opened, 1));
    add(Case("Scale", Opened(6, false, true), P::Opened, 1));
    add(Case("Interpretation", Opened(7, true, false), P::Opened, 1));
    add(Case("Weight", Opened(8, true, false), P::Opened, 1));
    add(Case("WeightWithoutScale", Opened(9, true, false), P::Opened, 1));
    add(Case("QuestionsFolder", Opened(10, false, true), P::Opened, 1));
    add(Case("Question", Opened(11, false, true), P::Opened, 1));
    add(Case("Answer", Opened(12, false, true), P::Opened, 1));
    add(Case("KindAboveTheTable", Opened(13, true, false), P::Opened, -1, {}, "no node has that kind"));

    // Every node kind of the private test.
    add(Case("PrivateTest", Opened(4, false, true, true), P::Opened, 2));
    add(Case("PrivateScalesFolder", Opened(5, false, true, true), P::Opened, 2));
    add(Case("PrivateScale", Opened(6, true, false, true), P::Opened, 2));
    add(Case("PrivateQuestionsFolder", Opened(10, false, true, true), P::Opened, 2));
    add(Case("PrivateQuestion", Opened(11, false, true, true), P::Opened, 2));
    add(Case("PrivateAnswer", Opened(12, true, false, true), P::Opened, 2));

    // A node marked by Cut or Copy, and where it may go.
    {
        TCommandFacts f = Opened(6, false, true);
        f.CanPaste = true;
        add(Case("PasteAllowed", f, P::Opened, 1, {7, 1, false}));
        f = Opened(10, false, true);
        f.CanPaste = true;
        add(Case("PasteOfACutQuestion", f, P::Opened, 1, {11, 1, true}));
        f = Opened(11, false, true, true);
        f.CanPaste = true;
        add(Case("PasteRefusedInAPrivateTest", f, P::Opened, 2, {12, 1, true}));
        add(Case("MarkedTestOnTheTestsRoot", Opened(2, false, true), P::Opened, -1, {4, 1, false}));
        add(Case("MarkedScaleOnAQuestion", Opened(11, false, true), P::Opened, 1, {6, 1, false}));
        f = Opened(2, false, true);
        f.CanPaste = true;
        add(Case("PasteAllowedOnTestsRoot", f, P::Opened, -1, {}, "nothing may be pasted on the tests root"));
        add(Case("MarkGoesWithTheProject", TCommandFacts{}, P::OpenedAndClosed, -1, {6, 1, false}));
        f = TCommandFacts{};
        f.CanPaste = true;
        add(Case("PasteWithoutFile", f, P::NoProject, -1, {}, "a mark goes with its project"));
    }
    return cases;
}

}  // namespace

void FillCommandCaseProject(TFileAccess& store) {
    store.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, "Group one", 1));
    store.TestGroups.AddTestGroup(Item<TTestGroup>(2, -1, "Group empty", 2));
    TTest open = Item<TTest>(1, 1, "Open test", 1);
    open.MoveDirection = mdForwardOnly;
    open.Instruction = "Answer every question.";
    store.Tests.AddTest(open);
    TTest closed = Item<TTest>(2, 1, "Private test", 2);
    closed.Private = true;
    closed.MoveDirection = mdForwardOnly;
    store.Tests.AddTest(closed);
    store.Tests.AddTest(Item<TTest>(3, 1, "Empty test", 3));
    store.Scales.AddScale(Item<TScale>(1, 1, "Scale one", 1));
    store.Scales.AddScale(Item<TScale>(2, 2, "Private scale", 2));
    TInterpretation low = Item<TInterpretation>(1, 1, "Low", 1);
    low.Maximum = 10;
    store.Interpretations.AddInterpretation(low);
    store.Stimuli.AddStimulus(Item<TStimul>(1, 1, "Question one", 1));
    store.Stimuli.AddStimulus(Item<TStimul>(2, 1, "Question two", 2));
    store.Stimuli.AddStimulus(Item<TStimul>(3, 2, "Private question", 3));
    store.Reactions.AddReaction(Item<TReaction>(1, 1, "Yes", 1));
    store.Reactions.AddReaction(Item<TReaction>(2, 1, "No", 2));
    store.Reactions.AddReaction(Item<TReaction>(3, 3, "P answer", 3));
    TWeight bound = Item<TWeight>(1, 1, "Weight on scale one", 1);
    bound.ScaleID = 1;
    bound.Value = 1;
    store.Weights.AddWeight(bound);
    TWeight loose = Item<TWeight>(2, 2, "Loose weight", 2);
    loose.ScaleID = -1;
    store.Weights.AddWeight(loose);
    store.Users.AddUser(1, "admin", "");
}

const std::vector<TCommandCase>& CommandCases() {
    static const std::vector<TCommandCase> cases = MakeCases();
    return cases;
}
