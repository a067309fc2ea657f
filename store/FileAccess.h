#pragma once
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"
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
};

// Writes text to the file atomically, coded when encode is set. An empty text removes the file.
// Raises platform::EFileError; the old file is then untouched.
void SaveStringToFile(const std::string& fileName, std::string_view text, bool encode);
