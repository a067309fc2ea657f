#include "tests/app/CommandCases.h"

#include <initializer_list>

#include "store/FileAccess.h"
#include "tree/NodeKind.h"
#include "tests/support/StoreFixtures.h"

namespace {

// ---------------------------------------------------------------- a kind's row, by name

// A cell of the row as the window shows it: the paste state put in for IfPaste.
bool On(TCell cell, bool canPaste) { return cell == TCell::IfPaste ? canPaste : cell == TCell::On; }

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
    const auto& common = NodeKindInfo(nkNone).Commands.CaptionKeys;
    const std::vector<const char*> commonKeys(common.begin(), common.end());

    e.Visible({"MenuItemDebugging", "PopupItemImportTest"}, false);
    e.Enabled({"PopupItemExportTest"}, true);
    if (IsNodeKind(f.Kind)) {
        const TKindCommands& row = NodeKindInfo(f.Kind).Commands;
        const auto on = [&](TCell cell) { return On(cell, f.CanPaste); };
        const std::vector<const char*> captions(row.CaptionKeys.begin(), row.CaptionKeys.end());
        e.ObjectStates({on(row.Cut), on(row.Copy), on(row.Paste), on(row.Create), on(row.Change), on(row.Remove),
                        on(row.RunTest)},
                       children);
        e.ObjectCaptions(captions);
        e.ViewCommands(expandable);
        e.PopupStates({on(row.PopupCut), on(row.PopupCopy), on(row.PopupPaste), on(row.PopupCreate),
                       on(row.PopupChange), on(row.PopupRemove)},
                      children);
        const std::vector<bool> shown = {on(row.ShowRunTest), on(row.ShowExportTest), on(row.ShowImportScales),
                                         on(row.ShowImportStimuls)};
        e.PopupShown(shown);
        e.Visible({"PopupItemFastImportTestSeparator"}, shown[2] || shown[3]);
        e.PopupCaptions(captions);
        e.Enabled({"PopupItemFastImportStimuls"}, row.FastImportStimuls);
        e.Enabled({"PopupItemFastImportScales"}, row.FastImportScales);
        if (row.ShowImportTest) e.Visible({"PopupItemExportTestSeparator", "PopupItemImportTest"}, true);
        if (row.NeverArrange)
            e.Enabled({"MenuItemObjectArrangeItems", "SpeedButtonObjectArrangeItems", "PopupItemArrangeItems"}, false);
    }
    if (f.FileOpen) {
        e.FileStates(true, true, true);
        e.Enabled({"MenuItemProjectSave", "SpeedButtonProjectSave"}, f.Modified);
        e.Enabled({"MenuItemEditFind", "SpeedButtonEditFind"}, true);
        e.Enabled({"MenuItemEditFindNext", "SpeedButtonEditFindNext"}, !Blank(f.FindText));
        if (!Blank(f.FileName)) e.s.CaptionFileName = f.FileName;
        if (f.Private) {
            // Run Test is left as the row set it; only the test node itself may be removed.
            e.ObjectStates({false, false, false, false, false,
                            NodeKindInfo(f.Kind).Commands.RemovableWhenPrivate},
                           children);
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
        e.ObjectCaptions(commonKeys);
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
