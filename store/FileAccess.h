#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"
#include "store/SectionChoice.h"
#include "store/LoadFailure.h"
#include "store/StoreServices.h"
#include "store/Tables.h"

// A version text that is not a number where a number must stand.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class TEncoder;

// The store of one data file: the eight tables, and the text layout that moves them between
// memory and the file.
class TFileAccess {
public:
    explicit TFileAccess(std::string fileName = {},
                         platform::FormatSettings settings = platform::FormatSettings::Posix());
    virtual ~TFileAccess() = default;
    TFileAccess(const TFileAccess&) = delete;
    TFileAccess& operator=(const TFileAccess&) = delete;

    std::string FileName;
    bool LoginRequired = false;
    std::string FileText;   // the whole plain text while it is built or parsed
    platform::FormatSettings Settings;

    TTestGroupTable TestGroups;
    TUserTable Users;
    TTestTable Tests;
    TStimulTable Stimuli;
    TReactionTable Reactions;
    TScaleTable Scales;
    TInterpretationTable Interpretations;
    TWeightTable Weights;

    // The message key of a save onto a read-only file; the file's name follows its text. A store
    // that writes something other than the project (an export) names its own.
    const char* ReadOnlyMessageKey = "FILEACC_FILE_READONLY_MSG";
    // Why the last Save or Load failed (the text the user is shown); empty after a success.
    std::string LastError;
    // Why and where the last Load failed; Kind None after a success. A section reader that
    // fails sets it too.
    TLoadFailure LoadFailure;
    // Set by a section reader that met a real or a date its settings do not read: the file may
    // read under another form. Load clears it.
    bool FormMismatch = false;

    // The eight tables in the order of creation.
    std::array<TObjectTable*, 8> AllTables();
    std::array<const TObjectTable*, 8> AllTables() const;

    bool IsModified() const;
    void SetModified(bool value);

    // ---- load and save. The file is always coded; encode is kept for the callers' sake.
    // Save sorts every table, writes the product record and the chosen sections atomically, and
    // clears Modified; FileText holds the text written. On failure it shows the message, keeps it
    // in LastError, leaves the file and the Modified flags as they were, and returns False.
    bool Save(bool encode, const TSectionChoice& sections);
    bool SaveAll();
    // Load appends the records of the chosen sections of the file to the tables and clears
    // Modified. A file that does not read under Settings is read under the first of
    // Settings.ReadingForms() that reads it whole; Settings stay as they are for the next save.
    // On failure it returns False with the message in LastError and shows nothing; the tables
    // and their Modified flags are left as they were.
    bool Load(bool encode, const TSectionChoice& sections);
    bool LoadAll();
    // The same as Load, on the coded bytes of a file.
    bool LoadFromBytes(std::string_view coded, const TSectionChoice& sections);
    // The same on the plain text of a file; damage other than None says how the coded bytes were
    // found damaged before they were decoded (cut inside a byte, a character not a hex digit).
    // Every load leaves FileText empty.
    bool LoadFromText(std::string text, TLoadFailureKind damage, const TSectionChoice& sections);
    // FileText := the decoded file, for ReadProductInfo; raises as ReadFileText does.
    void LoadFileText();

    // ---- the plain 1.4.2 layout that the converter library writes beside the coded one
    // True when the bytes are in the program's coded layout: nothing but hexadecimal digits.
    // Anything else is plain text (the converter's 1.4.2 layout, or the old key-and-value one).
    static bool IsCodedLayout(std::string_view bytes);
    // The text of a file of either kind: decoded, or plain with every line ended by CR LF.
    static std::string PlainTextOf(std::string_view bytes);
    // Opens a project file of either layout: the coded one as LoadAll does, the plain 1.4.2 one
    // with the fields it lacks at their defaults and the store left modified, so that the next
    // save writes the program's own layout. False as LoadAll.
    bool LoadEitherLayout();
    // While set, the section readers read the 1.4.2 layout.
    bool ReadingPlainLayout = false;
    // The product record of FileText; two empty strings when it has none.
    void ReadProductInfo(TProductInfo& info) const;
    // True when the product record read from this head of a text is that of every text that
    // starts with it.
    static bool HoldsProductInfo(std::string_view head);
    // Number 1, 2 or 3 of a version "a.b.c" (a, b or c); -99999 for any other number. Raises
    // EConvertError when that part is not a number or the version lacks one of its two dots.
    static int GetVersionPart(const TProductInfo& info, int part);

    // ---- text layout
    static std::string EncodeLineBreaks(std::string_view text);   // CR LF -> "&&&&&"
    static std::string DecodeLineBreaks(std::string_view text);   // "&&&&&" -> CR LF
    static int LineCount(std::string_view text);
    static std::string GetLine(std::string_view text, int i);     // "" beyond the last line
    static std::string SectionHeader(std::string_view name);
    static bool IsSectionHeader(std::string_view line);
    static std::string GetSection(std::string_view name, std::string_view text);

    // The decoded content of the file; empty when it does not exist. Raises platform::EFileError
    // for what is not a regular file or is too large.
    std::string ReadFileText(const std::string& fileName) const;

    // Section writers append their section to FileText; False when building it failed. A save's
    // coder codes each finished record on its way to the file; a failure of the file is raised
    // as platform::EFileError.
    void WriteProductInfo(std::string_view productName, std::string_view productVersion);
    bool WriteTestGroups(TEncoder* coder = nullptr);
    bool WriteTests(TEncoder* coder = nullptr);
    bool WriteStimuli(TEncoder* coder = nullptr);
    bool WriteReactions(TEncoder* coder = nullptr);
    bool WriteScales(TEncoder* coder = nullptr);
    bool WriteInterpretations(TEncoder* coder = nullptr);
    bool WriteWeights(TEncoder* coder = nullptr);
    // The sections of the file by their place in it, from 0 (test groups) to 6 (weights): the
    // records of one, and the text of its records from .. to - 1 appended to text, behind the
    // section's header when from is 0 and ended by its closing line break when to is the count.
    // What building it raises is passed on. Safe to call on several threads at once.
    int SectionRecordCount(std::size_t section) const;
    void WriteSectionPart(std::size_t section, int from, int to, std::string& text) const;

    // Section readers append the records of their section of FileText to their table; False
    // when the section is missing or a value does not convert or is out of range.
    bool ReadTestGroups();
    bool ReadTests();
    bool ReadStimuli();
    bool ReadReactions();
    bool ReadScales();
    bool ReadInterpretations();
    bool ReadWeights();

    // ---- queries. Lists are appended to (a null list is skipped); "kept" queries leave every
    // cursor where it was, "moved" ones leave it on the record found, or on the last record.
    void ListTestGroups(TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const;
    void ListTests(std::int32_t groupID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const;
    void ListScales(std::int32_t testID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names,
                    TTypeShortStringSingleList* descriptions) const;
    void ListInterpretations(std::int32_t scaleID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const;
    void ListStimuli(std::int32_t testID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const;
    void ListReactions(std::int32_t stimulusID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const;
    void ListWeights(std::int32_t reactionID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const;
    // Scales of the test on which the reaction has no weight.
    void ListFreeScales(std::int32_t testID, std::int32_t reactionID, TTypeIntegerSingleList* ids,
                        TTypeShortStringSingleList* names) const;

    int TestGroupCount() const;
    int TestCount(std::int32_t groupID) const;
    int ScaleCount(std::int32_t testID) const;
    int InterpretationCount(std::int32_t scaleID) const;
    int StimulusCount(std::int32_t testID) const;
    int ReactionCount(std::int32_t stimulusID) const;
    int WeightCount(std::int32_t reactionID) const;
    int CountStimuli(std::int32_t testID);   // cursor on the last record

    // Copy-out getters: the record's ID becomes -1; when found, every field is copied and Source
    // points at the stored record.
    void GetTest(std::int32_t id, TTest& test) const;
    void GetStimulus(std::int32_t id, TStimul& stimulus) const;
    void GetReaction(std::int32_t id, TReaction& reaction) const;
    void GetScale(std::int32_t id, TScale& scale) const;
    void GetWeight(std::int32_t id, TWeight& weight) const;
    void GetInterpretation(std::int32_t id, TInterpretation& interpretation) const;

    // Owners; -1 when the item or a link on the way is missing.
    std::int32_t GetStimulusOfReaction(std::int32_t reactionID) const;
    std::int32_t GetTestOfStimulus(std::int32_t stimulusID) const;
    std::int32_t GetReactionOfWeight(std::int32_t weightID) const;
    std::int32_t GetTestOfReaction(std::int32_t reactionID) const;
    std::int32_t GetTestOfWeight(std::int32_t weightID) const;
    std::int32_t GetScaleOfInterpretation(std::int32_t interpretationID);   // moved
    std::int32_t GetTestOfScale(std::int32_t scaleID);                      // moved
    std::int32_t GetTestOfInterpretation(std::int32_t interpretationID);    // moved

    // The stimulus of the test at position n in table order; -99999 when none. Moved.
    std::int32_t GetStimulusID(std::int32_t testID, int n);
    // Description or Name of the first interpretation of the scale whose range holds the score
    // (both ends included); empty when none. Moved.
    std::string GetInterpretationText(std::int32_t scaleID, bool useDescription, double score);
    // Value of the first weight of the reaction on the scale: 0 (Get, moved) or -99999 (Find,
    // kept) when none.
    double GetWeightValue(std::int32_t reactionID, std::int32_t scaleID);
    double FindWeightValue(std::int32_t reactionID, std::int32_t scaleID) const;
    bool IsTestPrivate(std::int32_t testID);      // cursor on the last test
    // These two show the "NO_Test_MSG" text when the test is missing; cursor on the test.
    bool CheckTestPrivate(std::int32_t testID);
    void GetTestName(std::int32_t testID, std::string& name);
    // Overwrites the stored test, keeping its group and Order and emptying SpareText; raises the
    // "NO_Test_MSG" text when the test is missing.
    void UpdateTest(std::int32_t testID, const TTest& test);

    // ---- deletes. An item goes with everything below it; False when the item does not exist.
    bool DeleteTestGroup(std::int32_t groupID);
    bool DeleteTest(std::int32_t testID);
    bool DeleteStimulus(std::int32_t stimulusID);
    bool DeleteReaction(std::int32_t reactionID);
    bool DeleteWeight(std::int32_t weightID);
    // Also unbinds the weights that were bound to the scale.
    bool DeleteScale(std::int32_t scaleID);
    bool DeleteInterpretation(std::int32_t interpretationID);
    // Every child of one item, each with everything below it.
    bool DeleteTestsOfGroup(std::int32_t groupID);
    bool DeleteStimuliOfTest(std::int32_t testID);
    bool DeleteScalesOfTest(std::int32_t testID);
    bool DeleteReactionsOfStimulus(std::int32_t stimulusID);
    bool DeleteWeightsOfReaction(std::int32_t reactionID);
    bool DeleteInterpretationsOfScale(std::int32_t scaleID);
    bool DeleteAllTestGroups();
    // ScaleID := -1 on every weight whose scale does not exist.
    void UnbindOrphanWeights();

    // ---- moves to a new parent; the children go along. False, and nothing changed, when the
    // item or the new parent does not exist.
    bool MoveTest(std::int32_t testID, std::int32_t newGroupID);
    bool MoveScale(std::int32_t scaleID, std::int32_t newTestID);
    bool MoveInterpretation(std::int32_t interpretationID, std::int32_t newScaleID);
    bool MoveStimulus(std::int32_t stimulusID, std::int32_t newTestID);
    bool MoveReaction(std::int32_t reactionID, std::int32_t newStimulusID);
    bool MoveWeight(std::int32_t weightID, std::int32_t newReactionID);

    // ---- deep copies of an item with everything below it into target. The copy goes under
    // newParentID (its own parent when -1); with newIDs every copy takes its table's smallest
    // free ID. A copied weight stays bound only to a scale of the test it lands in (in a test
    // copy: to the copy of its scale). Result: the ID of the copy, or -1 when the source does not
    // exist or the copy failed; a failed copy leaves the target as it was.
    std::int32_t CopyTestTo(std::int32_t testID, std::int32_t newParentID, TFileAccess& target, bool newIDs);
    std::int32_t CopyScaleTo(std::int32_t scaleID, std::int32_t newParentID, TFileAccess& target, bool newIDs);
    std::int32_t CopyInterpretationTo(std::int32_t interpretationID, std::int32_t newParentID, TFileAccess& target,
                                      bool newIDs);
    std::int32_t CopyStimulusTo(std::int32_t stimulusID, std::int32_t newParentID, TFileAccess& target, bool newIDs);
    std::int32_t CopyReactionTo(std::int32_t reactionID, std::int32_t newParentID, TFileAccess& target, bool newIDs);
    std::int32_t CopyWeightTo(std::int32_t weightID, std::int32_t newParentID, TFileAccess& target, bool newIDs);
    // The same into this store, with new IDs.
    std::int32_t CopyTest(std::int32_t testID, std::int32_t newParentID);
    std::int32_t CopyScale(std::int32_t scaleID, std::int32_t newParentID);
    std::int32_t CopyInterpretation(std::int32_t interpretationID, std::int32_t newParentID);
    std::int32_t CopyStimulus(std::int32_t stimulusID, std::int32_t newParentID);
    std::int32_t CopyReaction(std::int32_t reactionID, std::int32_t newParentID);
    std::int32_t CopyWeight(std::int32_t weightID, std::int32_t newParentID);

private:
    bool ReadText(std::string text, TLoadFailureKind damage, const TSectionChoice& sections);
};

// The store of the open project; empty while none is open. Only the main window creates,
// replaces and frees it.
std::unique_ptr<TFileAccess>& GlobalStore();

// Writes text to the file atomically, coded when encode is set. An empty text removes the file.
// Raises platform::EFileError; the old file is then untouched.
void SaveStringToFile(const std::string& fileName, std::string_view text, bool encode);
