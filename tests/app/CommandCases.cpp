#include "tests/app/CommandCases.h"

#include "store/FileAccess.h"
#include "tests/support/StoreFixtures.h"

namespace {

TExpectedCommand On(const char* n) { return {n, TExpectedCommand::On, {}}; }
TExpectedCommand Off(const char* n) { return {n, TExpectedCommand::Off, {}}; }
TExpectedCommand Shown(const char* n) { return {n, TExpectedCommand::Shown, {}}; }
TExpectedCommand Hidden(const char* n) { return {n, TExpectedCommand::Hidden, {}}; }
TExpectedCommand Cap(const char* n, const char* key) { return {n, TExpectedCommand::Caption, key}; }
TExpectedCommand Untouched(const char* n) { return {n, TExpectedCommand::Untouched, {}}; }

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

using V = std::vector<TExpectedCommand>;

// What holds for every selected node of an open, unchanged project that is not private.
V OpenFile(V more) {
    V v = {On("MenuItemProjectCreate"), On("MenuItemProjectOpen"), Off("MenuItemProjectSave"),
           On("MenuItemProjectSaveAs"), On("MenuItemProjectClose"), On("MenuItemFileImportTests"),
           On("MenuItemFileExportTests"), On("MenuItemEditFind"), Off("MenuItemEditFindNext"),
           Untouched("MenuItemFileExit"), Untouched("MenuItemEditToolbarsSetup"), Hidden("MenuItemDebugging")};
    v.insert(v.end(), more.begin(), more.end());
    return v;
}

std::vector<TCommandCase> MakeCases() {
    std::vector<TCommandCase> cases;
    auto add = [&](TCommandCase c) { cases.push_back(std::move(c)); };

    add({"NoFile", TCommandFacts{}, std::nullopt,
         {On("MenuItemProjectCreate"), On("MenuItemProjectOpen"), Off("MenuItemProjectSave"),
          Off("MenuItemProjectSaveAs"), Off("MenuItemProjectClose"), Off("MenuItemFileImportTests"),
          Off("MenuItemFileExportTests"), Off("MenuItemEditFind"), Off("MenuItemEditFindNext"),
          Untouched("MenuItemFileExit"), Untouched("MenuItemEditToolbarsSetup"), Off("MenuItemEditCut"),
          Off("MenuItemEditCopy"), Off("MenuItemEditPaste"), Off("MenuItemObjectCreate"),
          Off("MenuItemObjectChange"), Off("MenuItemObjectRemove"), Off("MenuItemObjectRunTest"),
          Off("MenuItemObjectArrangeItems"), Off("MenuItemObjectRemoveChildren"), Off("MenuItemViewShowChildNodes"),
          Off("MenuItemViewHideChildNodes"), Cap("MenuItemObjectCreate", "OBJECTSTREE_COMMON_CREATE"),
          Cap("MenuItemObjectChange", "OBJECTSTREE_COMMON_CHANGE"),
          Cap("MenuItemObjectRemove", "OBJECTSTREE_COMMON_REMOVE"),
          Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_ITEMS"),
          Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILDREN"), Hidden("MenuItemDebugging"),
          Hidden("PopupItemRunTest"), Hidden("PopupItemExportTest"), Hidden("PopupItemImportTest"),
          Hidden("PopupItemFastImportTestSeparator"), Off("PopupItemCreate"), Off("PopupItemRemove")},
         TCommandCase::NoProject});

    add({"OpenNothingSelected", Opened(0, false, false), kCaseFileName,
         OpenFile({Off("MenuItemObjectCreate"), Off("MenuItemObjectChange"), Off("MenuItemObjectRemove"),
                   Off("MenuItemObjectRunTest"), Off("MenuItemEditCut"), Off("MenuItemEditPaste"),
                   Off("MenuItemViewShowChildNodes"), Cap("MenuItemObjectCreate", "OBJECTSTREE_COMMON_CREATE"),
                   Hidden("PopupItemRunTest"), Off("PopupItemCreate")})});

    {
        TCommandFacts f = Opened(0, false, false);
        f.Modified = true;
        add({"ModifiedFile", f, kCaseFileName,
             {On("MenuItemProjectSave"), On("MenuItemProjectSaveAs"), On("MenuItemProjectClose")},
             TCommandCase::OpenedAndChanged});
    }
    {
        TCommandFacts f = Opened(0, false, false);
        f.FileName = "";
        add({"NewProjectWithoutName", f, std::nullopt,
             {Off("MenuItemProjectSave"), On("MenuItemProjectSaveAs"), On("MenuItemProjectClose")},
             TCommandCase::Created});
    }
    {
        TCommandFacts f = Opened(0, false, false);
        f.FileName = " \t ";
        add({"BlankFileNameShowsNoName", f, std::nullopt, {}, TCommandCase::Opened, -1, false});
    }
    {
        TCommandFacts f = Opened(0, false, false);
        f.FindText = "horse";
        add({"KeptSearchText", f, kCaseFileName, {On("MenuItemEditFindNext"), On("MenuItemEditFind")},
             TCommandCase::Opened, -1, false});
        f.FindText = " \t";
        add({"BlankSearchText", f, kCaseFileName, {Off("MenuItemEditFindNext")}, TCommandCase::Opened, -1, false});
    }

    add({"Root", Opened(1, false, false), kCaseFileName,
         OpenFile({Off("MenuItemEditCut"), Off("MenuItemEditPaste"), Off("MenuItemObjectCreate"),
                   Off("MenuItemObjectChange"), Off("MenuItemObjectRemove"), Off("MenuItemObjectRunTest"),
                   Off("MenuItemObjectArrangeItems"), Off("MenuItemObjectRemoveChildren"),
                   On("MenuItemViewShowChildNodes"), On("MenuItemViewHideChildNodes"),
                   Cap("MenuItemObjectCreate", "OBJECTSTREE_COMMON_CREATE"), Hidden("PopupItemRunTest"),
                   Hidden("PopupItemExportTestSeparator"), Hidden("PopupItemImportTest"), Off("PopupItemPaste"), Off("PopupItemCreate")})});

    add({"TestsRoot", Opened(2, false, true), kCaseFileName,
         OpenFile({On("MenuItemObjectCreate"), Off("MenuItemObjectChange"), Off("MenuItemObjectRemove"),
                   Off("MenuItemObjectRunTest"), On("MenuItemObjectArrangeItems"), On("MenuItemObjectRemoveChildren"),
                   Cap("MenuItemObjectCreate", "OBJECTSTREE_TSTGRP_CREATE"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_COMMON_CHANGE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_TEST_GROUPS"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_TESTGROUPS"),
                   Cap("PopupItemCreate", "OBJECTSTREE_TSTGRP_CREATE"), On("PopupItemCreate"),
                   Off("PopupItemChange"), On("PopupItemRemoveChildren"), Hidden("PopupItemRunTest")})});

    add({"TestGroup", Opened(3, false, true), kCaseFileName,
         OpenFile({On("MenuItemEditCut"), On("MenuItemEditCopy"), Off("MenuItemEditPaste"),
                   On("MenuItemObjectCreate"), On("MenuItemObjectChange"), On("MenuItemObjectRemove"),
                   Off("MenuItemObjectRunTest"), On("MenuItemObjectArrangeItems"), On("MenuItemObjectRemoveChildren"),
                   On("MenuItemViewShowChildNodes"), Cap("MenuItemObjectCreate", "OBJECTSTREE_TEST_CREATE"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_TSTGRP_CHANGE"),
                   Cap("MenuItemObjectRemove", "OBJECTSTREE_TSTGRP_REMOVE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_TESTS"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_TESTS"),
                   Cap("PopupItemRemove", "OBJECTSTREE_TSTGRP_REMOVE"), Shown("PopupItemExportTestSeparator"),
                   Shown("PopupItemImportTest"), Hidden("PopupItemExportTest"), Hidden("PopupItemRunTest"),
                   Hidden("PopupItemRunTestSeparator"), Hidden("PopupItemFastImportTestSeparator"),
                   On("PopupItemCut"), On("PopupItemChange")}),
         TCommandCase::Opened, 1});

    add({"EmptyTestGroup", Opened(3, true, false), kCaseFileName,
         OpenFile({On("MenuItemObjectCreate"), Off("MenuItemObjectArrangeItems"), Off("MenuItemObjectRemoveChildren"),
                   Off("MenuItemViewShowChildNodes"), Off("MenuItemViewHideChildNodes"),
                   Off("PopupItemArrangeItems"), Off("PopupItemRemoveChildren")}),
         TCommandCase::Opened, 2});

    add({"Test", Opened(4, false, true), kCaseFileName,
         OpenFile({On("MenuItemEditCut"), On("MenuItemEditCopy"), Off("MenuItemObjectCreate"),
                   On("MenuItemObjectChange"), On("MenuItemObjectRemove"), On("MenuItemObjectRunTest"),
                   Off("MenuItemObjectArrangeItems"), On("MenuItemObjectRemoveChildren"),
                   On("MenuItemViewShowChildNodes"), Cap("MenuItemObjectCreate", "OBJECTSTREE_COMMON_CREATE"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_TEST_CHANGE"),
                   Cap("MenuItemObjectRemove", "OBJECTSTREE_TEST_REMOVE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_ITEMS"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_SCLSTM"),
                   Shown("PopupItemRunTest"), Shown("PopupItemRunTestSeparator"), Shown("PopupItemExportTest"),
                   Shown("PopupItemExportTestSeparator"), On("PopupItemExportTest"), Hidden("PopupItemImportTest"),
                   Hidden("PopupItemFastImportScales"), Hidden("PopupItemFastImportStimuls"),
                   Hidden("PopupItemFastImportTestSeparator"), Off("PopupItemCreate"),
                   Off("PopupItemArrangeItems"), On("PopupItemRemoveChildren")}),
         TCommandCase::Opened, 1});

    add({"TestWithoutContents", Opened(4, false, false), kCaseFileName,
         OpenFile({On("MenuItemObjectRunTest"), Off("MenuItemObjectArrangeItems"),
                   Off("MenuItemObjectRemoveChildren"), On("MenuItemViewShowChildNodes"),
                   Off("PopupItemRemoveChildren")}),
         TCommandCase::Opened, 3});

    add({"ScalesFolder", Opened(5, false, true), kCaseFileName,
         OpenFile({Off("MenuItemEditCut"), On("MenuItemObjectCreate"), Off("MenuItemObjectChange"),
                   Off("MenuItemObjectRemove"), On("MenuItemObjectRunTest"), On("MenuItemObjectArrangeItems"),
                   Cap("MenuItemObjectCreate", "OBJECTSTREE_SCALE_CREATE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_SCALES"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_SCALES"),
                   Hidden("PopupItemRunTest"), Shown("PopupItemFastImportScales"), On("PopupItemFastImportScales"),
                   Hidden("PopupItemFastImportStimuls"), Shown("PopupItemFastImportTestSeparator")}),
         TCommandCase::Opened, 1});

    add({"Scale", Opened(6, false, true), kCaseFileName,
         OpenFile({On("MenuItemEditCut"), On("MenuItemObjectCreate"), On("MenuItemObjectChange"),
                   On("MenuItemObjectRemove"), On("MenuItemObjectRunTest"), On("MenuItemObjectArrangeItems"),
                   Cap("MenuItemObjectCreate", "OBJECTSTREE_INTERP_CREATE"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_SCALE_CHANGE"),
                   Cap("MenuItemObjectRemove", "OBJECTSTREE_SCALE_REMOVE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_INTERPS"),
                   Cap("PopupItemArrangeItems", "OBJECTSTREE_ARRANGE_INTERPS"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_INTERPS"),
                   Hidden("PopupItemRunTest"), Hidden("PopupItemFastImportScales"), Off("MenuItemEditPaste"),
                   Off("PopupItemPaste")}),
         TCommandCase::Opened, 1});

    add({"Interpretation", Opened(7, true, false), kCaseFileName,
         OpenFile({Off("MenuItemObjectCreate"), On("MenuItemObjectChange"), On("MenuItemObjectRunTest"),
                   Off("MenuItemObjectArrangeItems"), Off("MenuItemViewShowChildNodes"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_INTERP_CHANGE"),
                   Cap("MenuItemObjectRemove", "OBJECTSTREE_INTERP_REMOVE"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILDREN")}),
         TCommandCase::Opened, 1});

    for (int kind : {8, 9}) {
        add({kind == 8 ? "Weight" : "WeightWithoutScale", Opened(kind, true, false), kCaseFileName,
             OpenFile({Off("MenuItemObjectCreate"), On("MenuItemObjectChange"), On("MenuItemObjectRemove"),
                       On("MenuItemObjectRunTest"), Off("MenuItemObjectRemoveChildren"),
                       Cap("MenuItemObjectCreate", "OBJECTSTREE_COMMON_CREATE"),
                       Cap("MenuItemObjectChange", "OBJECTSTREE_WEIGHT_CHANGE"),
                       Cap("MenuItemObjectRemove", "OBJECTSTREE_WEIGHT_REMOVE"), Off("PopupItemCreate"),
                       On("PopupItemCopy")}),
             TCommandCase::Opened, 1});
    }

    add({"QuestionsFolder", Opened(10, false, true), kCaseFileName,
         OpenFile({On("MenuItemObjectCreate"), Off("MenuItemObjectRemove"), On("MenuItemObjectRunTest"),
                   Cap("MenuItemObjectCreate", "OBJECTSTREE_STIMUL_CREATE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_STIMULS"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_STIMULS"),
                   Hidden("PopupItemRunTest"), Hidden("PopupItemFastImportScales"),
                   Shown("PopupItemFastImportStimuls"), On("PopupItemFastImportStimuls"),
                   Shown("PopupItemFastImportTestSeparator")}),
         TCommandCase::Opened, 1});

    add({"Question", Opened(11, false, true), kCaseFileName,
         OpenFile({On("MenuItemObjectCreate"), On("MenuItemObjectChange"), On("MenuItemObjectRunTest"),
                   On("MenuItemObjectArrangeItems"), On("MenuItemViewHideChildNodes"),
                   Cap("MenuItemObjectCreate", "OBJECTSTREE_REACTION_CREATE"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_STIMUL_CHANGE"),
                   Cap("MenuItemObjectRemove", "OBJECTSTREE_STIMUL_REMOVE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_REACTIONS"),
                   Cap("MenuItemObjectRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_REACTIONS")}),
         TCommandCase::Opened, 1});

    add({"Answer", Opened(12, false, true), kCaseFileName,
         OpenFile({On("MenuItemObjectCreate"), On("MenuItemObjectChange"), On("MenuItemObjectRunTest"),
                   On("MenuItemObjectRemoveChildren"), Cap("MenuItemObjectCreate", "OBJECTSTREE_WEIGHT_CREATE"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_REACTION_CHANGE"),
                   Cap("MenuItemObjectRemove", "OBJECTSTREE_REACTION_REMOVE"),
                   Cap("MenuItemObjectArrangeItems", "OBJECTSTREE_ARRANGE_WEIGHTS"),
                   Cap("PopupItemRemoveChildren", "OBJECTSTREE_REMOVE_CHILD_WEIGHTS")}),
         TCommandCase::Opened, 1});

    add({"PrivateTest", Opened(4, false, true, true), kCaseFileName,
         OpenFile({Off("MenuItemEditCut"), Off("MenuItemEditCopy"), Off("MenuItemEditPaste"),
                   Off("MenuItemObjectCreate"), Off("MenuItemObjectChange"), On("MenuItemObjectRemove"),
                   On("MenuItemObjectRunTest"), On("MenuItemObjectArrangeItems"), On("MenuItemObjectRemoveChildren"),
                   Off("PopupItemCut"), Off("PopupItemChange"), Off("PopupItemRemove"), Off("PopupItemExportTest"),
                   Shown("PopupItemExportTest"), Shown("PopupItemRunTest"), Hidden("PopupItemFastImportTestSeparator"),
                   On("PopupItemArrangeItems"), On("PopupItemRemoveChildren"),
                   Cap("MenuItemObjectChange", "OBJECTSTREE_TEST_CHANGE")}),
         TCommandCase::Opened, 2});

    add({"PrivateScale", Opened(6, true, false, true), kCaseFileName,
         OpenFile({Off("MenuItemObjectCreate"), Off("MenuItemObjectChange"), Off("MenuItemObjectRemove"),
                   On("MenuItemObjectRunTest"), Off("MenuItemObjectArrangeItems"), Off("PopupItemCreate"),
                   Off("PopupItemRemove"), Hidden("PopupItemRunTest")}),
         TCommandCase::Opened, 2});

    add({"PrivateQuestionsFolder", Opened(10, false, true, true), kCaseFileName,
         OpenFile({Off("MenuItemObjectCreate"), Off("MenuItemObjectRemove"), On("MenuItemObjectRunTest"),
                   Shown("PopupItemFastImportStimuls"), Off("PopupItemFastImportStimuls"),
                   Off("PopupItemFastImportScales"), Hidden("PopupItemFastImportTestSeparator"),
                   On("MenuItemObjectArrangeItems")}),
         TCommandCase::Opened, 2});

    {
        TCommandFacts f = Opened(6, false, true);
        f.CanPaste = true;
        add({"PasteAllowed", f, kCaseFileName,
             {On("MenuItemEditPaste"), On("PopupItemPaste"), On("MenuItemEditCut")}, TCommandCase::Opened, 1,
             false});
        f.Kind = 2;
        add({"PasteAllowedOnTestsRoot", f, kCaseFileName, {On("MenuItemEditPaste"), Off("MenuItemEditCut")},
             TCommandCase::Opened, -1, false});
        f.Kind = 11;
        f.Private = true;
        add({"PasteRefusedInAPrivateTest", f, kCaseFileName, {Off("MenuItemEditPaste"), Off("PopupItemPaste")},
             TCommandCase::Opened, 2, false});
        f = TCommandFacts{};
        f.CanPaste = true;
        add({"PasteWithoutFile", f, std::nullopt, {Off("MenuItemEditPaste"), Off("PopupItemPaste")},
             TCommandCase::NoProject, -1, false});
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
