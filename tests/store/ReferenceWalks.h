#pragma once
// The store's operations written out the plain way: walks over the tables' cursors, one record at
// a time, deletes record by record walking backwards. The store itself answers through indexes
// and removes in bulk; the tests run both on random stores and expect the same results and state.
#include <cstdint>
#include <string>

#include "store/FileAccess.h"

namespace reference {

// Cursor walks.
bool Locate(TObjectTable& t, std::int32_t id);
std::int32_t NewID(TObjectTable& t);

// Queries.
void ListChildren(TObjectTable& t, std::int32_t parentID, TTypeIntegerSingleList* ids,
                  TTypeShortStringSingleList* names, TTypeShortStringSingleList* descriptions = nullptr);
void ListTestGroups(TFileAccess& s, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names);
void ListFreeScales(TFileAccess& s, std::int32_t testID, std::int32_t reactionID, TTypeIntegerSingleList* ids,
                    TTypeShortStringSingleList* names);
int CountStimuli(TFileAccess& s, std::int32_t testID);
// A copy-out getter: ID -1 when not found, cursor kept.
template <typename Table>
void Get(Table& t, std::int32_t id, typename Table::Record& out) {
    out.ID = -1;
    t.SavePosition();
    if (t.First()) {
        do {
            if (t.GetID() == id) {
                out = t.GetRecordOf();
                out.Source = &t.GetRecordOf();
                break;
            }
        } while (t.Next());
    }
    t.RestorePosition();
}
std::int32_t ParentKept(TObjectTable& t, std::int32_t id);
std::int32_t ParentMoved(TObjectTable& t, std::int32_t id);
std::int32_t GetStimulusID(TFileAccess& s, std::int32_t testID, int n);
std::string GetInterpretationText(TFileAccess& s, std::int32_t scaleID, bool useDescription, double score);
double GetWeightValue(TFileAccess& s, std::int32_t reactionID, std::int32_t scaleID);
double FindWeightValue(TFileAccess& s, std::int32_t reactionID, std::int32_t scaleID);
bool IsTestPrivate(TFileAccess& s, std::int32_t testID);

// Deletes.
bool DeleteTestGroup(TFileAccess& s, std::int32_t id);
bool DeleteTest(TFileAccess& s, std::int32_t id);
bool DeleteStimulus(TFileAccess& s, std::int32_t id);
bool DeleteReaction(TFileAccess& s, std::int32_t id);
bool DeleteWeight(TFileAccess& s, std::int32_t id);
bool DeleteScale(TFileAccess& s, std::int32_t id);
bool DeleteInterpretation(TFileAccess& s, std::int32_t id);
bool DeleteTestsOfGroup(TFileAccess& s, std::int32_t id);
bool DeleteStimuliOfTest(TFileAccess& s, std::int32_t id);
bool DeleteScalesOfTest(TFileAccess& s, std::int32_t id);
bool DeleteReactionsOfStimulus(TFileAccess& s, std::int32_t id);
bool DeleteWeightsOfReaction(TFileAccess& s, std::int32_t id);
bool DeleteInterpretationsOfScale(TFileAccess& s, std::int32_t id);
bool DeleteAllTestGroups(TFileAccess& s);
void UnbindOrphanWeights(TFileAccess& s);

// Deep copies, with the weights bound as the store binds them.
std::int32_t CopyTestTo(TFileAccess& s, std::int32_t id, std::int32_t newParentID, TFileAccess& target, bool newIDs);
std::int32_t CopyStimulusTo(TFileAccess& s, std::int32_t id, std::int32_t newParentID, TFileAccess& target,
                            bool newIDs);

}  // namespace reference
