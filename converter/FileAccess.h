#pragma once
#include <string>
#include <string_view>

#include "converter/Tables.h"
#include "platform/FormatSettings.h"
#include "store/SectionChoice.h"

namespace vantrel {

// The converter's store for the 1.4.2 layout: eight tables, written as one plain text file
// (every line ended by CR LF; the product record, then the sections TEST_GROUPS, TESTS, STIMULS,
// REACTIONS, SCALES, INTERPRETATIONS and WEIGHTS, one value a line). It only writes.
class TFileAccess {
public:
    // Reals are written with the given settings (the user's locale in the library).
    explicit TFileAccess(std::string fileName, platform::FormatSettings settings = platform::FormatSettings::Posix());

    // The whole store to FileName, atomically. On failure the message is shown, the file is left
    // as it was, and the result is False; nothing raises.
    bool SaveAll();
    bool Save(const ::TSectionChoice& sections);

    void WriteProductInfo();
    bool WriteTestGroups();
    bool WriteTests();
    bool WriteStimuli();
    bool WriteReactions();
    bool WriteScales();
    bool WriteInterpretations();
    bool WriteWeights();

    static std::string SectionHeader(std::string_view name);
    static std::string EncodeLineBreaks(std::string_view text);   // CR LF -> "&&&&&"
    // Replaces the file by text; raises platform::EFileError and leaves the old file then.
    static void WriteDataFile(const std::string& fileName, std::string_view text);

    void SetModified(bool value);

    std::string FileName;
    std::string FileText;
    platform::FormatSettings Settings;

    TTestGroupTable TestGroups;
    TUserTable Users;
    TTestTable Tests;
    TStimulTable Stimuli;
    TReactionTable Reactions;
    TScaleTable Scales;
    TInterpretationTable Interpretations;
    TWeightTable Weights;
};

}  // namespace vantrel
