// The store's queries. They go through the tables' indexes by ID and by parent, never walking a
// table; where a query is meant to leave a cursor on what it found, it sets it so.
#include <string>

#include "store/FileAccess.h"

namespace {

constexpr double kNoWeight = -99999;

// The cursor after a walk that stopped at index (or ran to the end when index < 0).
void LeaveCursor(TObjectTable& table, int index) {
    if (index >= 0) table.SetCursor(index);
    else if (table.RecordCount() > 0) table.SetCursor(table.RecordCount() - 1);
}

void Append(const TAnyObject& r, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) {
    if (ids) ids->Add(r.ID);
    if (names) names->Add(r.Name);
}

void ListChildren(const TObjectTable& table, std::int32_t parentID, TTypeIntegerSingleList* ids,
                  TTypeShortStringSingleList* names) {
    for (int i : table.IndexesOfParent(parentID)) Append(table.RecordAt(i), ids, names);
}

template <typename R, typename Table>
void CopyOut(const Table& table, std::int32_t id, R& out) {
    out.ID = -1;
    const int i = table.IndexOfID(id);
    if (i < 0) return;
    out = table.At(i);
    out.Source = &table.At(i);
}

std::int32_t ParentOf(const TObjectTable& table, std::int32_t id) {
    const int i = table.IndexOfID(id);
    return i < 0 ? -1 : table.RecordAt(i).ParentID;
}

std::int32_t ParentOfMoved(TObjectTable& table, std::int32_t id) {
    const int i = table.IndexOfID(id);
    LeaveCursor(table, i);
    return i < 0 ? -1 : table.RecordAt(i).ParentID;
}

// The first weight of the reaction bound to the scale, or -1.
int FirstWeightOn(const TWeightTable& weights, std::int32_t reactionID, std::int32_t scaleID) {
    for (int i : weights.IndexesOfParent(reactionID))
        if (weights.At(i).ScaleID == scaleID) return i;
    return -1;
}

// Raises and catches the missing-test message, as every user of these queries expects to see it.
void ShowNoTest() {
    try {
        throw Exception(StoreServices().MessageText("NO_Test_MSG"));
    } catch (const std::exception& e) {
        StoreServices().ShowMessageText(platform::CutShortText(e.what()));
    }
}

}  // namespace

// ---- lists

void TFileAccess::ListTestGroups(TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const {
    for (int i = 0; i < TestGroups.RecordCount(); ++i) Append(TestGroups.RecordAt(i), ids, names);
}

void TFileAccess::ListTests(std::int32_t groupID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const {
    ListChildren(Tests, groupID, ids, names);
}

void TFileAccess::ListScales(std::int32_t testID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names,
                             TTypeShortStringSingleList* descriptions) const {
    for (int i : Scales.IndexesOfParent(testID)) {
        Append(Scales.RecordAt(i), ids, names);
        if (descriptions) descriptions->Add(Scales.RecordAt(i).Description);
    }
}

void TFileAccess::ListInterpretations(std::int32_t scaleID, TTypeIntegerSingleList* ids,
                                      TTypeShortStringSingleList* names) const {
    ListChildren(Interpretations, scaleID, ids, names);
}

void TFileAccess::ListStimuli(std::int32_t testID, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) const {
    ListChildren(Stimuli, testID, ids, names);
}

void TFileAccess::ListReactions(std::int32_t stimulusID, TTypeIntegerSingleList* ids,
                                TTypeShortStringSingleList* names) const {
    ListChildren(Reactions, stimulusID, ids, names);
}

void TFileAccess::ListWeights(std::int32_t reactionID, TTypeIntegerSingleList* ids,
                              TTypeShortStringSingleList* names) const {
    ListChildren(Weights, reactionID, ids, names);
}

void TFileAccess::ListFreeScales(std::int32_t testID, std::int32_t reactionID, TTypeIntegerSingleList* ids,
                                 TTypeShortStringSingleList* names) const {
    for (int i : Scales.IndexesOfParent(testID)) {
        const TScale& s = Scales.At(i);
        if (FindWeightValue(reactionID, s.ID) == kNoWeight) Append(s, ids, names);
    }
}

// ---- counts

int TFileAccess::TestGroupCount() const { return TestGroups.RecordCount(); }
int TFileAccess::TestCount(std::int32_t groupID) const { return int(Tests.IndexesOfParent(groupID).size()); }
int TFileAccess::ScaleCount(std::int32_t testID) const { return int(Scales.IndexesOfParent(testID).size()); }
int TFileAccess::InterpretationCount(std::int32_t scaleID) const {
    return int(Interpretations.IndexesOfParent(scaleID).size());
}
int TFileAccess::StimulusCount(std::int32_t testID) const { return int(Stimuli.IndexesOfParent(testID).size()); }
int TFileAccess::ReactionCount(std::int32_t stimulusID) const {
    return int(Reactions.IndexesOfParent(stimulusID).size());
}
int TFileAccess::WeightCount(std::int32_t reactionID) const { return int(Weights.IndexesOfParent(reactionID).size()); }

int TFileAccess::CountStimuli(std::int32_t testID) {
    LeaveCursor(Stimuli, -1);
    return StimulusCount(testID);
}

// ---- copy-out getters

void TFileAccess::GetTest(std::int32_t id, TTest& test) const { CopyOut(Tests, id, test); }
void TFileAccess::GetStimulus(std::int32_t id, TStimul& stimulus) const { CopyOut(Stimuli, id, stimulus); }
void TFileAccess::GetReaction(std::int32_t id, TReaction& reaction) const { CopyOut(Reactions, id, reaction); }
void TFileAccess::GetScale(std::int32_t id, TScale& scale) const { CopyOut(Scales, id, scale); }
void TFileAccess::GetWeight(std::int32_t id, TWeight& weight) const { CopyOut(Weights, id, weight); }
void TFileAccess::GetInterpretation(std::int32_t id, TInterpretation& interpretation) const {
    CopyOut(Interpretations, id, interpretation);
}

// ---- owners

std::int32_t TFileAccess::GetStimulusOfReaction(std::int32_t reactionID) const { return ParentOf(Reactions, reactionID); }
std::int32_t TFileAccess::GetTestOfStimulus(std::int32_t stimulusID) const { return ParentOf(Stimuli, stimulusID); }
std::int32_t TFileAccess::GetReactionOfWeight(std::int32_t weightID) const { return ParentOf(Weights, weightID); }
std::int32_t TFileAccess::GetTestOfReaction(std::int32_t reactionID) const {
    return GetTestOfStimulus(GetStimulusOfReaction(reactionID));
}
std::int32_t TFileAccess::GetTestOfWeight(std::int32_t weightID) const {
    return GetTestOfReaction(GetReactionOfWeight(weightID));
}
std::int32_t TFileAccess::GetScaleOfInterpretation(std::int32_t interpretationID) {
    return ParentOfMoved(Interpretations, interpretationID);
}
std::int32_t TFileAccess::GetTestOfScale(std::int32_t scaleID) { return ParentOfMoved(Scales, scaleID); }
std::int32_t TFileAccess::GetTestOfInterpretation(std::int32_t interpretationID) {
    return GetTestOfScale(GetScaleOfInterpretation(interpretationID));
}

// ---- other queries

std::int32_t TFileAccess::GetStimulusID(std::int32_t testID, int n) {
    const auto& list = Stimuli.IndexesOfParent(testID);
    const int i = n >= 0 && n < int(list.size()) ? list[static_cast<std::size_t>(n)] : -1;
    LeaveCursor(Stimuli, i);
    return i < 0 ? -99999 : Stimuli.At(i).ID;
}

std::string TFileAccess::GetInterpretationText(std::int32_t scaleID, bool useDescription, double score) {
    for (int i : Interpretations.IndexesOfParent(scaleID)) {
        const TInterpretation& in = Interpretations.At(i);
        if (in.Minimum > score || in.Maximum < score) continue;
        LeaveCursor(Interpretations, i);
        return useDescription ? in.Description : in.Name;
    }
    LeaveCursor(Interpretations, -1);
    return {};
}

double TFileAccess::GetWeightValue(std::int32_t reactionID, std::int32_t scaleID) {
    const int i = FirstWeightOn(Weights, reactionID, scaleID);
    LeaveCursor(Weights, i);
    return i < 0 ? 0 : Weights.At(i).Value;
}

double TFileAccess::FindWeightValue(std::int32_t reactionID, std::int32_t scaleID) const {
    const int i = FirstWeightOn(Weights, reactionID, scaleID);
    return i < 0 ? kNoWeight : Weights.At(i).Value;
}

bool TFileAccess::IsTestPrivate(std::int32_t testID) {
    LeaveCursor(Tests, -1);
    const int i = Tests.IndexOfID(testID);
    return i >= 0 && Tests.At(i).Private;
}

bool TFileAccess::CheckTestPrivate(std::int32_t testID) {
    if (!Tests.Locate(testID)) {
        ShowNoTest();
        return false;
    }
    return Tests.GetPrivate();
}

void TFileAccess::GetTestName(std::int32_t testID, std::string& name) {
    if (!Tests.Locate(testID)) {
        name.clear();
        ShowNoTest();
        return;
    }
    name = Tests.GetName();
}

void TFileAccess::UpdateTest(std::int32_t testID, const TTest& test) {
    if (!Tests.Locate(testID)) throw Exception(StoreServices().MessageText("NO_Test_MSG"));
    TTest updated = test;
    updated.ID = testID;
    updated.ParentID = Tests.GetParentID();
    updated.Order = Tests.GetOrder();
    updated.SpareText.clear();
    Tests.EditTest(updated);
}
