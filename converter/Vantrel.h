#pragma once
#include "converter/FileAccess.h"
#include "converter/FileAccessOld.h"

// The library's one export. Path points at a length-prefixed string: one length byte (0 to 255)
// and that many bytes, the data file's full path. Returns 1 when the file was read in the old
// layout and written again in the 1.4.2 layout, 0 when nothing was converted. No exception
// leaves it.
extern "C" bool Vantrel(const unsigned char* path);

namespace vantrel {

// The copy of each old table into its 1.4.2 table: records keep their IDs, parents and orders;
// the old table's cursor is where it was afterwards.
void CopyTestGroups(TTestGroupTableOld& from, TTestGroupTable& to);
void CopyTests(TTestTableOld& from, TTestTable& to);
void CopyScales(TScaleTableOld& from, TScaleTable& to);
void CopyInterpretations(TInterpretationTableOld& from, TInterpretationTable& to);
void CopyStimuli(TStimulTableOld& from, TStimulTable& to);
void CopyReactions(TReactionTableOld& from, TReactionTable& to);
void CopyWeights(TWeightTableOld& from, TWeightTable& to);

// The whole conversion of one file in place; the export without the string of the call.
bool ConvertFile(const std::string& path, const platform::FormatSettings& settings);
// What the conversion does with the tables it read: each old table's records are moved into its
// 1.4.2 table, which is emptied first; the old tables are left empty.
void MoveTables(TFileAccessOld& old, TFileAccess& store);

}  // namespace vantrel
