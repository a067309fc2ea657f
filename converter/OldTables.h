#pragma once
#include <cstdint>

#include "converter/CursorTable.h"

namespace vantrel {

// The tables of the old data model, filled by the reader of old files and copied by the export.
using TRecordTableOld = TRecordTableOf<OldKind>;

class TObjectTableOld : public TObjectTableOf<OldKind> {
public:
    // Cursor on the first record with this ID: True. None: False, the cursor on the last record
    // (unchanged on an empty table).
    bool Locate(std::int32_t id);
};

class TTestGroupTableOld : public TKindTable<TObjectTableOld, TAOldTestGroup> {};
class TTestTableOld : public TKindTable<TObjectTableOld, TAOldTest> {};
class TStimulTableOld : public TKindTable<TScreenElement<TObjectTableOld>, TAOldStimul> {};
class TReactionTableOld : public TKindTable<TScreenElement<TObjectTableOld>, TAOldReaction> {};
class TScaleTableOld : public TKindTable<TObjectTableOld, TAOldScale> {};
class TInterpretationTableOld : public TKindTable<TObjectTableOld, TAOldInterpretation> {};
class TWeightTableOld : public TKindTable<TObjectTableOld, TAOldWeight> {};
class TUserTableOld : public TKindTable<TObjectTableOld, TAOldUser> {};
// Old files had clients and client groups; the library never fills these tables.
class TClientTableOld : public TObjectTableOld {};
class TClientGroupTableOld : public TObjectTableOld {};

}  // namespace vantrel
