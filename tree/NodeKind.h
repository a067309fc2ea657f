#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>

class TFileAccess;
class TObjectTable;

// The kinds of node in the objects tree. The main window enables its commands by them.
// Kinds 8 and 9 are one kind of stored object (a weight); only the picture and the status line
// tell a weight bound to a scale from one without a scale.
enum TNodeKind : std::uint8_t {
    nkNone = 0,             // no node
    nkRoot = 1,
    nkTestsRoot = 2,
    nkTestGroup = 3,
    nkTest = 4,
    nkScalesFolder = 5,     // carries its test's ID
    nkScale = 6,
    nkInterpretation = 7,
    nkWeight = 8,           // bound to a scale
    nkWeightNoScale = 9,    // ScaleID -1
    nkQuestionsFolder = 10, // carries its test's ID
    nkQuestion = 11,
    nkAnswer = 12,
};

constexpr int kLastNodeKind = nkAnswer;

// The picture of a kind in the tree's image list. Pictures 0 and 1 are the overlays that mark a
// node as cut or copied; any kind above the last maps to the folder picture.
constexpr int kCutOverlayImage = 0;
constexpr int kCopyOverlayImage = 1;
constexpr int kNoOverlay = -1;
constexpr int kImageCount = 16;

// The tables of the store that nodes stand for.
enum class TStoredType : std::uint8_t { None, TestGroup, Test, Scale, Interpretation, Weight, Stimulus, Reaction };

// A set of node kinds.
class TKindSet {
public:
    constexpr TKindSet() = default;
    constexpr TKindSet(std::initializer_list<TNodeKind> kinds) {
        for (TNodeKind k : kinds) bits_ = static_cast<std::uint16_t>(bits_ | Bit(k));
    }
    constexpr bool Has(int kind) const { return kind >= 0 && kind <= kLastNodeKind && (bits_ & Bit(kind)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }

private:
    static constexpr std::uint16_t Bit(int kind) { return static_cast<std::uint16_t>(1u << kind); }
    std::uint16_t bits_ = 0;
};

// What removing asks, does and says. Delete gives nullptr when the store did it, else the message
// key of the failure.
struct TRemovalRule {
    const char* QuestionKey = nullptr;   // nullptr: the kind cannot be removed this way
    const char* (*Delete)(TFileAccess& store, std::int32_t id) = nullptr;
    bool RefreshWeights = false;         // the delete can unbind weights elsewhere in the tree
    bool KeepsChildFolders = false;      // the children are folders that stay, emptied
};

// One cell of a kind's command row: enable (or show), disable (or hide), or the paste state (the
// marked node may be pasted under the selected one).
enum class TCell : std::uint8_t { On, Off, IfPaste };

// How the main window's commands stand while a node of the kind is selected.
struct TKindCommands {
    // The Edit menu's Cut, Copy and Paste; the Object menu's Create, Change, Remove and Run Test.
    TCell Cut, Copy, Paste, Create, Change, Remove, RunTest;
    // The tree's popup items.
    TCell PopupCut, PopupCopy, PopupPaste, PopupCreate, PopupChange, PopupRemove;
    // Whether the popup shows Run Test, Export Test, Import Scales and Import Questions.
    TCell ShowRunTest, ShowExportTest, ShowImportScales, ShowImportStimuls;
    bool FastImportStimuls, FastImportScales;   // the popup's quick imports are enabled
    bool ShowImportTest;       // the popup offers Import Test (into the group)
    bool NeverArrange;         // Arrange Items stays disabled whatever the stored children
    bool RemovableWhenPrivate; // in a private test, Remove stays enabled on this kind
    // Message keys of the captions of Create, Change, Remove, Arrange Items and Remove children.
    std::array<const char*, 5> CaptionKeys;
};

// Everything a node kind means, in one place: the tree, the main window's commands and the tests
// read it here.
struct TNodeKindInfo {
    TNodeKind Kind;
    const char* Name;          // as the tree dumps show it ("nkTest")
    int Image;                 // picture in the tree's image list
    const char* CaptionKey;    // the fixed caption of a root or folder; nullptr: the object's Name
    const char* StatusKey;     // the status line starts with its text
    TStoredType Object;        // the stored object the node stands for; None for roots and folders
    bool CarriesTestID;        // a folder carries its test's ID
    std::array<TNodeKind, 2> Children;   // the kinds of child nodes, in the order they are built
    TNodeKind Creates;         // what Create adds below it; nkNone: nothing
    TKindSet AcceptsOnPaste;   // the marked kinds that may be pasted below it
    int TestDepth;             // levels up to the test node; -1 above any test
    TRemovalRule Remove;       // removing the node's object
    TRemovalRule RemoveChildren;
    TKindCommands Commands;
};

// The descriptor of a kind. Any kind outside the table (and nkNone) gives the descriptor of nkNone.
const TNodeKindInfo& NodeKindInfo(int kind);
// Whether kind is one of the table's kinds.
bool IsNodeKind(int kind);

int KindImageIndex(int kind);
// The kind's name as the tree dumps show it ("nkTest"); "nk?" outside the table.
const char* NodeKindName(int kind);

// The one stored type of a kind's child nodes; None when its children are folders or it has none.
TStoredType ChildObjectType(TNodeKind kind);
// The node kind of a stored weight by its ScaleID.
TNodeKind WeightKind(std::int32_t scaleID);

// ---- what the kinds do to the store

// The store's table of a stored type; nullptr for None.
TObjectTable* TableOf(TFileAccess& store, TStoredType type);
// How many children the store holds of a node of kind with the node's ID.
int StoredChildCount(const TFileAccess& store, TNodeKind kind, std::int32_t id);
// The test of a node's object, asked of the store; -1 when none.
std::int32_t StoredTestOf(TFileAccess& store, TNodeKind kind, std::int32_t id);
// Moves or copies a stored object under a new parent, as paste does; false, -1 when the store refuses
// or the type cannot be moved.
bool MoveStored(TFileAccess& store, TStoredType type, std::int32_t id, std::int32_t newParentID);
std::int32_t CopyStored(TFileAccess& store, TStoredType type, std::int32_t id, std::int32_t newParentID);
// Whether a node of kind marked may be pasted under a node of kind target.
bool CanPasteKind(int marked, int target);
