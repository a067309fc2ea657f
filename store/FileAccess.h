#pragma once
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"
#include "store/StoreServices.h"
#include "store/Tables.h"

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

    bool IsModified() const;
    void SetModified(bool value);

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

    // Section writers append their section to FileText; False when building it failed.
    void WriteProductInfo(std::string_view productName, std::string_view productVersion);
    bool WriteTestGroups();
    bool WriteTests();
    bool WriteStimuli();
    bool WriteReactions();
    bool WriteScales();
    bool WriteInterpretations();
    bool WriteWeights();

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
};

// Writes text to the file atomically, coded when encode is set. An empty text removes the file.
// Raises platform::EFileError; the old file is then untouched.
void SaveStringToFile(const std::string& fileName, std::string_view text, bool encode);
