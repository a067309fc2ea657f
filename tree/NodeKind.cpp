#include "tree/NodeKind.h"

#include "lang/DlgLangConverter.h"
#include "store/FileAccess.h"

namespace {

using lang::MessageKey;
constexpr TCell On = TCell::On;
constexpr TCell Off = TCell::Off;
constexpr TCell CS = TCell::IfPaste;

// A delete of the store, with the key of its failure.
template <bool (TFileAccess::*Op)(std::int32_t)>
const char* Delete(TFileAccess& s, std::int32_t id, const char* errorKey) {
    return (s.*Op)(id) ? nullptr : errorKey;
}

#define ORVEL_DELETE(op, key) [](TFileAccess& s, std::int32_t id) { return Delete<&TFileAccess::op>(s, id, MessageKey(key)); }

constexpr TRemovalRule kNoRemoval{};

constexpr std::array<const char*, 5> kCommonCaptions = {
    MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
    MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
    MessageKey("OBJECTSTREE_REMOVE_CHILDREN")};

// A row of commands; Paste follows the paste state everywhere but where nothing is selected.
constexpr TKindCommands Commands(TCell cutCopy, TCell create, TCell changeRemove, TCell runTest, TCell showRun,
                                 std::array<const char*, 5> captions) {
    TKindCommands c{};
    c.Cut = c.Copy = c.PopupCut = c.PopupCopy = cutCopy;
    c.Paste = c.PopupPaste = CS;
    c.Create = c.PopupCreate = create;
    c.Change = c.Remove = c.PopupChange = c.PopupRemove = changeRemove;
    c.RunTest = runTest;
    c.ShowRunTest = c.ShowExportTest = showRun;
    c.ShowImportScales = c.ShowImportStimuls = Off;
    c.CaptionKeys = captions;
    return c;
}

// A stored object inside a test (or a group): cut, copy, change and remove; Create where it has
// children to create.
constexpr TKindCommands ObjectCommands(TCell create, TCell runTest, std::array<const char*, 5> captions) {
    return Commands(On, create, On, runTest, Off, captions);
}

// A folder of a test: Create, Run Test and one quick import.
constexpr TKindCommands FolderCommands(bool scales, std::array<const char*, 5> captions) {
    TKindCommands c = Commands(Off, On, Off, On, Off, captions);
    c.ShowImportScales = scales ? On : Off;
    c.ShowImportStimuls = scales ? Off : On;
    c.FastImportScales = scales;
    c.FastImportStimuls = !scales;
    return c;
}

constexpr TKindCommands NothingSelectedCommands() {
    TKindCommands c = Commands(Off, Off, Off, Off, Off, kCommonCaptions);
    c.Paste = c.PopupPaste = Off;
    return c;
}

constexpr TKindCommands TestGroupCommands() {
    TKindCommands c = ObjectCommands(
        On, Off,
        {MessageKey("OBJECTSTREE_TEST_CREATE"), MessageKey("OBJECTSTREE_TSTGRP_CHANGE"),
         MessageKey("OBJECTSTREE_TSTGRP_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_TESTS"),
         MessageKey("OBJECTSTREE_REMOVE_CHILD_TESTS")});
    c.ShowImportTest = true;
    return c;
}

// A test runs and is exported; its children are two folders, which are never rearranged.
constexpr TKindCommands TestCommands() {
    TKindCommands c = ObjectCommands(
        Off, On,
        {MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_TEST_CHANGE"),
         MessageKey("OBJECTSTREE_TEST_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
         MessageKey("OBJECTSTREE_REMOVE_CHILD_SCLSTM")});
    c.ShowRunTest = c.ShowExportTest = On;
    c.NeverArrange = true;
    c.RemovableWhenPrivate = true;
    return c;
}

constexpr std::array<const char*, 5> kWeightCaptions = {
    MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_WEIGHT_CHANGE"),
    MessageKey("OBJECTSTREE_WEIGHT_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
    MessageKey("OBJECTSTREE_REMOVE_CHILDREN")};

constexpr TRemovalRule kRemoveWeight{MessageKey("OBJECTSTREE_CAN_REMOVE_WEIGHT"),
                                     ORVEL_DELETE(DeleteWeight, "OBJECTSTREE_ERROR_REMOVING_WEIGHT")};

// The scales and the questions of a test go together; the two folders stay.
const char* DeleteTestChildren(TFileAccess& s, std::int32_t id) {
    if (!s.DeleteScalesOfTest(id)) return MessageKey("OBJECTSTREE_ERROR_REMOVING_ALLSCALES_CHILDREN");
    if (!s.DeleteStimuliOfTest(id)) return MessageKey("OBJECTSTREE_ERROR_REMOVING_ALLSTIMULS_CHILDREN");
    return nullptr;
}

const TNodeKindInfo kKinds[] = {
    {nkNone, "nkNone", 2, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NO_SELECTED_NODES"), TStoredType::None, false,
     {nkNone, nkNone}, nkNone, {}, -1, kNoRemoval, kNoRemoval, NothingSelectedCommands()},
    {nkRoot, "nkRoot", 3, MessageKey("OBJECTSTREE_MAIN_NODE_TITLE"), MessageKey("OBJECTSTREE_STATUSBAR_GLOBAL_NODE"),
     TStoredType::None, false, {nkTestsRoot, nkNone}, nkNone, {}, -1, kNoRemoval, kNoRemoval,
     Commands(Off, Off, Off, Off, Off, kCommonCaptions)},
    {nkTestsRoot, "nkTestsRoot", 7, MessageKey("OBJECTSTREE_TESTS_MAIN_NODE_TITLE"),
     MessageKey("OBJECTSTREE_STATUSBAR_NODE_TESTS"), TStoredType::None, false, {nkTestGroup, nkNone}, nkTestGroup, {},
     -1, kNoRemoval,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_ALLTESTS_CHILDREN"),
      [](TFileAccess& s, std::int32_t) {
          return s.DeleteAllTestGroups() ? nullptr : MessageKey("OBJECTSTREE_ERROR_REMOVING_ALLTESTS_CHILDREN");
      }},
     Commands(Off, On, Off, Off, Off,
              {MessageKey("OBJECTSTREE_TSTGRP_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
               MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_TEST_GROUPS"),
               MessageKey("OBJECTSTREE_REMOVE_CHILD_TESTGROUPS")})},
    // A group can be neither moved nor copied by the store as a whole.
    {nkTestGroup, "nkTestGroup", 8, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_TESTS_GROUP"),
     TStoredType::TestGroup, false, {nkTest, nkNone}, nkTest, {nkTest}, -1,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_TEST_GROUP"),
      ORVEL_DELETE(DeleteTestGroup, "OBJECTSTREE_ERROR_REMOVING_TEST_GROUP")},
     {MessageKey("OBJECTSTREE_CAN_REMOVE_TESTGROUP_CHILDREN"),
      ORVEL_DELETE(DeleteTestsOfGroup, "OBJECTSTREE_ERROR_REMOVING_TESTGROUP_CHILDREN")},
     TestGroupCommands()},
    {nkTest, "nkTest", 9, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_TEST"), TStoredType::Test, false,
     {nkScalesFolder, nkQuestionsFolder}, nkNone, {}, 0,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_TEST"), ORVEL_DELETE(DeleteTest, "OBJECTSTREE_ERROR_REMOVING_TEST")},
     {MessageKey("OBJECTSTREE_CAN_REMOVE_TEST_CHILDREN"), DeleteTestChildren, true, true}, TestCommands()},
    {nkScalesFolder, "nkScalesFolder", 2, MessageKey("OBJECTSTREE_SCALES_MAIN_NODE_TITLE"),
     MessageKey("OBJECTSTREE_STATUSBAR_NODE_SCALES"), TStoredType::None, true, {nkScale, nkNone}, nkScale, {nkScale},
     1, kNoRemoval,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_ALLSCALES_CHILDREN"),
      ORVEL_DELETE(DeleteScalesOfTest, "OBJECTSTREE_ERROR_REMOVING_ALLSCALES_CHILDREN"), true},
     FolderCommands(true, {MessageKey("OBJECTSTREE_SCALE_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
                           MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_SCALES"),
                           MessageKey("OBJECTSTREE_REMOVE_CHILD_SCALES")})},
    {nkScale, "nkScale", 13, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_SCALE"), TStoredType::Scale, false,
     {nkInterpretation, nkNone}, nkInterpretation, {nkInterpretation}, 2,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_SCALE"), ORVEL_DELETE(DeleteScale, "OBJECTSTREE_ERROR_REMOVING_SCALE"), true},
     {MessageKey("OBJECTSTREE_CAN_REMOVE_SCALE_CHILDREN"),
      ORVEL_DELETE(DeleteInterpretationsOfScale, "OBJECTSTREE_ERROR_REMOVING_SCALE_CHILDREN")},
     ObjectCommands(On, On,
                    {MessageKey("OBJECTSTREE_INTERP_CREATE"), MessageKey("OBJECTSTREE_SCALE_CHANGE"),
                     MessageKey("OBJECTSTREE_SCALE_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_INTERPS"),
                     MessageKey("OBJECTSTREE_REMOVE_CHILD_INTERPS")})},
    {nkInterpretation, "nkInterpretation", 14, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_INTERPRETATION"),
     TStoredType::Interpretation, false, {nkNone, nkNone}, nkNone, {}, 3,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_INTERPRETATION"),
      ORVEL_DELETE(DeleteInterpretation, "OBJECTSTREE_ERROR_REMOVING_INTERPRETATION")},
     kNoRemoval,
     ObjectCommands(Off, On,
                    {MessageKey("OBJECTSTREE_COMMON_CREATE"), MessageKey("OBJECTSTREE_INTERP_CHANGE"),
                     MessageKey("OBJECTSTREE_INTERP_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_ITEMS"),
                     MessageKey("OBJECTSTREE_REMOVE_CHILDREN")})},
    {nkWeight, "nkWeight", 12, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_WEIGHT"), TStoredType::Weight, false,
     {nkNone, nkNone}, nkNone, {}, 4, kRemoveWeight, kNoRemoval, ObjectCommands(Off, On, kWeightCaptions)},
    {nkWeightNoScale, "nkWeightNoScale", 15, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_WEIGHT_NO_SCALE"),
     TStoredType::Weight, false, {nkNone, nkNone}, nkNone, {}, 4, kRemoveWeight, kNoRemoval,
     ObjectCommands(Off, On, kWeightCaptions)},
    {nkQuestionsFolder, "nkQuestionsFolder", 2, MessageKey("OBJECTSTREE_STIMULS_MAIN_NODE_TITLE"),
     MessageKey("OBJECTSTREE_STATUSBAR_NODE_QUESTIONS"), TStoredType::None, true, {nkQuestion, nkNone}, nkQuestion,
     {nkQuestion}, 1, kNoRemoval,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_ALLSTIMULS_CHILDREN"),
      ORVEL_DELETE(DeleteStimuliOfTest, "OBJECTSTREE_ERROR_REMOVING_ALLSTIMULS_CHILDREN")},
     FolderCommands(false, {MessageKey("OBJECTSTREE_STIMUL_CREATE"), MessageKey("OBJECTSTREE_COMMON_CHANGE"),
                            MessageKey("OBJECTSTREE_COMMON_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_STIMULS"),
                            MessageKey("OBJECTSTREE_REMOVE_CHILD_STIMULS")})},
    {nkQuestion, "nkQuestion", 10, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_QUESTION"), TStoredType::Stimulus,
     false, {nkAnswer, nkNone}, nkAnswer, {nkAnswer}, 2,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_STIMUL"), ORVEL_DELETE(DeleteStimulus, "OBJECTSTREE_ERROR_REMOVING_STIMUL")},
     {MessageKey("OBJECTSTREE_CAN_REMOVE_STIMUL_CHILDREN"),
      ORVEL_DELETE(DeleteReactionsOfStimulus, "OBJECTSTREE_ERROR_REMOVING_STIMUL_CHILDREN")},
     ObjectCommands(On, On,
                    {MessageKey("OBJECTSTREE_REACTION_CREATE"), MessageKey("OBJECTSTREE_STIMUL_CHANGE"),
                     MessageKey("OBJECTSTREE_STIMUL_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_REACTIONS"),
                     MessageKey("OBJECTSTREE_REMOVE_CHILD_REACTIONS")})},
    // Its children are weights of either kind; Create makes a weight, bound or not by the dialog.
    {nkAnswer, "nkAnswer", 11, nullptr, MessageKey("OBJECTSTREE_STATUSBAR_NODE_ANSWER"), TStoredType::Reaction, false,
     {nkWeight, nkWeightNoScale}, nkWeight, {nkWeight, nkWeightNoScale}, 3,
     {MessageKey("OBJECTSTREE_CAN_REMOVE_REACTION"),
      ORVEL_DELETE(DeleteReaction, "OBJECTSTREE_ERROR_REMOVING_REACTION")},
     {MessageKey("OBJECTSTREE_CAN_REMOVE_REACTION_CHILDREN"),
      ORVEL_DELETE(DeleteWeightsOfReaction, "OBJECTSTREE_ERROR_REMOVING_REACTION_CHILDREN")},
     ObjectCommands(On, On,
                    {MessageKey("OBJECTSTREE_WEIGHT_CREATE"), MessageKey("OBJECTSTREE_REACTION_CHANGE"),
                     MessageKey("OBJECTSTREE_REACTION_REMOVE"), MessageKey("OBJECTSTREE_ARRANGE_WEIGHTS"),
                     MessageKey("OBJECTSTREE_REMOVE_CHILD_WEIGHTS")})},
};
static_assert(sizeof(kKinds) / sizeof(kKinds[0]) == kLastNodeKind + 1);

#undef ORVEL_DELETE

// What the store does for each stored type.
struct TStoredTypeInfo {
    TObjectTable* (*Table)(TFileAccess& s);
    int (*ChildCountOf)(const TFileAccess& s, std::int32_t parentID);   // of the type, under a parent
    std::int32_t (*TestOf)(TFileAccess& s, std::int32_t id);
    bool (TFileAccess::*Move)(std::int32_t id, std::int32_t newParentID);
    std::int32_t (TFileAccess::*Copy)(std::int32_t id, std::int32_t newParentID);
};

template <auto Member>
TObjectTable* TableMember(TFileAccess& s) {
    return &(s.*Member);
}

const TStoredTypeInfo& TypeInfo(TStoredType type) {
    static const TStoredTypeInfo kNone{};
    static const TStoredTypeInfo kTypes[] = {
        // None
        kNone,
        // A group stands above every test, and the store moves and copies no whole group.
        {TableMember<&TFileAccess::TestGroups>, [](const TFileAccess& s, std::int32_t) { return s.TestGroupCount(); },
         nullptr, nullptr, nullptr},
        {TableMember<&TFileAccess::Tests>, [](const TFileAccess& s, std::int32_t p) { return s.TestCount(p); },
         [](TFileAccess&, std::int32_t id) { return id; }, &TFileAccess::MoveTest, &TFileAccess::CopyTest},
        {TableMember<&TFileAccess::Scales>, [](const TFileAccess& s, std::int32_t p) { return s.ScaleCount(p); },
         [](TFileAccess& s, std::int32_t id) { return s.GetTestOfScale(id); }, &TFileAccess::MoveScale,
         &TFileAccess::CopyScale},
        {TableMember<&TFileAccess::Interpretations>,
         [](const TFileAccess& s, std::int32_t p) { return s.InterpretationCount(p); },
         [](TFileAccess& s, std::int32_t id) { return s.GetTestOfInterpretation(id); }, &TFileAccess::MoveInterpretation,
         &TFileAccess::CopyInterpretation},
        {TableMember<&TFileAccess::Weights>, [](const TFileAccess& s, std::int32_t p) { return s.WeightCount(p); },
         [](TFileAccess& s, std::int32_t id) { return s.GetTestOfWeight(id); }, &TFileAccess::MoveWeight,
         &TFileAccess::CopyWeight},
        {TableMember<&TFileAccess::Stimuli>, [](const TFileAccess& s, std::int32_t p) { return s.StimulusCount(p); },
         [](TFileAccess& s, std::int32_t id) { return s.GetTestOfStimulus(id); }, &TFileAccess::MoveStimulus,
         &TFileAccess::CopyStimulus},
        {TableMember<&TFileAccess::Reactions>, [](const TFileAccess& s, std::int32_t p) { return s.ReactionCount(p); },
         [](TFileAccess& s, std::int32_t id) { return s.GetTestOfReaction(id); }, &TFileAccess::MoveReaction,
         &TFileAccess::CopyReaction},
    };
    const auto i = static_cast<std::size_t>(type);
    return i < sizeof(kTypes) / sizeof(kTypes[0]) ? kTypes[i] : kNone;
}

}  // namespace

bool IsNodeKind(int kind) { return kind >= 0 && kind <= kLastNodeKind; }

const TNodeKindInfo& NodeKindInfo(int kind) { return kKinds[IsNodeKind(kind) ? kind : nkNone]; }

int KindImageIndex(int kind) { return NodeKindInfo(kind).Image; }

const char* NodeKindName(int kind) { return IsNodeKind(kind) ? kKinds[kind].Name : "nk?"; }

TStoredType ChildObjectType(TNodeKind kind) {
    TStoredType type = TStoredType::None;
    for (TNodeKind child : NodeKindInfo(kind).Children) {
        if (child == nkNone) continue;
        const TStoredType own = NodeKindInfo(child).Object;
        if (own == TStoredType::None || (type != TStoredType::None && type != own)) return TStoredType::None;
        type = own;
    }
    return type;
}

TNodeKind WeightKind(std::int32_t scaleID) { return scaleID == -1 ? nkWeightNoScale : nkWeight; }

TObjectTable* TableOf(TFileAccess& store, TStoredType type) {
    const TStoredTypeInfo& t = TypeInfo(type);
    return t.Table ? t.Table(store) : nullptr;
}

// Children of one stored type are counted in its table; a folder's children count as its own.
int StoredChildCount(const TFileAccess& store, TNodeKind kind, std::int32_t id) {
    if (const TStoredType type = ChildObjectType(kind); type != TStoredType::None)
        return TypeInfo(type).ChildCountOf(store, id);
    int count = 0;
    for (TNodeKind child : NodeKindInfo(kind).Children)
        if (NodeKindInfo(child).CarriesTestID) count += StoredChildCount(store, child, id);
    return count;
}

std::int32_t StoredTestOf(TFileAccess& store, TNodeKind kind, std::int32_t id) {
    const TNodeKindInfo& k = NodeKindInfo(kind);
    if (k.CarriesTestID) return id;
    const auto testOf = TypeInfo(k.Object).TestOf;
    return testOf ? testOf(store, id) : -1;
}

bool MoveStored(TFileAccess& store, TStoredType type, std::int32_t id, std::int32_t newParentID) {
    const auto move = TypeInfo(type).Move;
    return move && (store.*move)(id, newParentID);
}

std::int32_t CopyStored(TFileAccess& store, TStoredType type, std::int32_t id, std::int32_t newParentID) {
    const auto copy = TypeInfo(type).Copy;
    return copy ? (store.*copy)(id, newParentID) : -1;
}

bool CanPasteKind(int marked, int target) { return NodeKindInfo(target).AcceptsOnPaste.Has(marked); }
