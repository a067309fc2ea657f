#include "tests/store/ReferenceWalks.h"

#include <functional>
#include <map>
#include <vector>

namespace reference {

namespace {

// First, then Next until pred holds: True with the cursor there, or False with the cursor on the
// last record (unchanged on an empty table).
bool Find(TObjectTable& t, const std::function<bool()>& pred) {
    if (!t.First()) return false;
    do {
        if (pred()) return true;
    } while (t.Next());
    return false;
}

// SavePosition, First, Next ..., RestorePosition.
void Each(TObjectTable& t, const std::function<void()>& visit) {
    t.SavePosition();
    if (t.First()) {
        do visit();
        while (t.Next());
    }
    t.RestorePosition();
}

// From the last record back to the first, the single delete for every child.
bool Children(TObjectTable& t, std::int32_t parentID, bool all, const std::function<bool(std::int32_t)>& single) {
    if (t.RecordCount() == 0) return true;
    bool ok = true;
    t.Last();
    do {
        if ((all || t.GetParentID() == parentID) && !single(t.GetID())) ok = false;
    } while (t.Prior());
    return ok;
}

bool One(TObjectTable& t, std::int32_t id, const std::function<void()>& children) {
    if (!Locate(t, id)) return false;
    children();
    return t.Delete();
}

}  // namespace

bool Locate(TObjectTable& t, std::int32_t id) {
    return Find(t, [&] { return t.GetID() == id; });
}

std::int32_t NewID(TObjectTable& t) {
    std::int32_t candidate = 1;
    for (int i = 0; i < t.RecordCount();) {
        if (t.RecordAt(i).ID == candidate) {
            ++candidate;
            i = 0;
        } else {
            ++i;
        }
    }
    return candidate;
}

// ---- queries

void ListChildren(TObjectTable& t, std::int32_t parentID, TTypeIntegerSingleList* ids,
                  TTypeShortStringSingleList* names, TTypeShortStringSingleList* descriptions) {
    Each(t, [&] {
        if (t.GetParentID() != parentID) return;
        if (ids) ids->Add(t.GetID());
        if (names) names->Add(t.GetName());
        if (descriptions) descriptions->Add(t.GetDescription());
    });
}

void ListTestGroups(TFileAccess& s, TTypeIntegerSingleList* ids, TTypeShortStringSingleList* names) {
    Each(s.TestGroups, [&] {
        if (ids) ids->Add(s.TestGroups.GetID());
        if (names) names->Add(s.TestGroups.GetName());
    });
}

void ListFreeScales(TFileAccess& s, std::int32_t testID, std::int32_t reactionID, TTypeIntegerSingleList* ids,
                    TTypeShortStringSingleList* names) {
    Each(s.Scales, [&] {
        if (s.Scales.GetParentID() != testID) return;
        if (FindWeightValue(s, reactionID, s.Scales.GetID()) != -99999) return;
        if (ids) ids->Add(s.Scales.GetID());
        if (names) names->Add(s.Scales.GetName());
    });
}

int CountStimuli(TFileAccess& s, std::int32_t testID) {
    int n = 0;
    Find(s.Stimuli, [&] {
        if (s.Stimuli.GetParentID() == testID) ++n;
        return false;
    });
    return n;
}

std::int32_t ParentKept(TObjectTable& t, std::int32_t id) {
    t.SavePosition();
    const std::int32_t parent = ParentMoved(t, id);
    t.RestorePosition();
    return parent;
}

std::int32_t ParentMoved(TObjectTable& t, std::int32_t id) { return Locate(t, id) ? t.GetParentID() : -1; }

std::int32_t GetStimulusID(TFileAccess& s, std::int32_t testID, int n) {
    int k = 0;
    const bool found = Find(s.Stimuli, [&] { return s.Stimuli.GetParentID() == testID && k++ == n; });
    return found ? s.Stimuli.GetID() : -99999;
}

std::string GetInterpretationText(TFileAccess& s, std::int32_t scaleID, bool useDescription, double score) {
    TInterpretationTable& t = s.Interpretations;
    const bool found = Find(t, [&] {
        return t.GetScaleID() == scaleID && !(t.GetMinimum() > score) && !(t.GetMaximum() < score);
    });
    if (!found) return {};
    return useDescription ? t.GetDescription() : t.GetName();
}

double GetWeightValue(TFileAccess& s, std::int32_t reactionID, std::int32_t scaleID) {
    TWeightTable& t = s.Weights;
    return Find(t, [&] { return t.GetReactionID() == reactionID && t.GetScaleID() == scaleID; }) ? t.GetValue() : 0;
}

double FindWeightValue(TFileAccess& s, std::int32_t reactionID, std::int32_t scaleID) {
    TWeightTable& t = s.Weights;
    t.SavePosition();
    const bool found = Find(t, [&] { return t.GetReactionID() == reactionID && t.GetScaleID() == scaleID; });
    const double v = found ? t.GetValue() : -99999;
    t.RestorePosition();
    return v;
}

bool IsTestPrivate(TFileAccess& s, std::int32_t testID) {
    bool result = false;
    Find(s.Tests, [&] {
        if (s.Tests.GetID() == testID) result = s.Tests.GetPrivate();
        return false;
    });
    return result;
}

// ---- deletes

bool DeleteTestGroup(TFileAccess& s, std::int32_t id) {
    return One(s.TestGroups, id, [&] { DeleteTestsOfGroup(s, id); });
}

bool DeleteTest(TFileAccess& s, std::int32_t id) {
    return One(s.Tests, id, [&] {
        DeleteStimuliOfTest(s, id);
        DeleteScalesOfTest(s, id);
    });
}

bool DeleteStimulus(TFileAccess& s, std::int32_t id) {
    return One(s.Stimuli, id, [&] { DeleteReactionsOfStimulus(s, id); });
}

bool DeleteReaction(TFileAccess& s, std::int32_t id) {
    return One(s.Reactions, id, [&] { DeleteWeightsOfReaction(s, id); });
}

bool DeleteWeight(TFileAccess& s, std::int32_t id) { return One(s.Weights, id, [] {}); }

bool DeleteScale(TFileAccess& s, std::int32_t id) {
    if (!Locate(s.Scales, id)) return false;
    DeleteInterpretationsOfScale(s, id);
    const bool done = s.Scales.Delete();
    UnbindOrphanWeights(s);
    return done;
}

bool DeleteInterpretation(TFileAccess& s, std::int32_t id) { return One(s.Interpretations, id, [] {}); }

bool DeleteTestsOfGroup(TFileAccess& s, std::int32_t id) {
    return Children(s.Tests, id, false, [&](std::int32_t c) { return DeleteTest(s, c); });
}
bool DeleteStimuliOfTest(TFileAccess& s, std::int32_t id) {
    return Children(s.Stimuli, id, false, [&](std::int32_t c) { return DeleteStimulus(s, c); });
}
bool DeleteScalesOfTest(TFileAccess& s, std::int32_t id) {
    return Children(s.Scales, id, false, [&](std::int32_t c) { return DeleteScale(s, c); });
}
bool DeleteReactionsOfStimulus(TFileAccess& s, std::int32_t id) {
    return Children(s.Reactions, id, false, [&](std::int32_t c) { return DeleteReaction(s, c); });
}
bool DeleteWeightsOfReaction(TFileAccess& s, std::int32_t id) {
    return Children(s.Weights, id, false, [&](std::int32_t c) { return DeleteWeight(s, c); });
}
bool DeleteInterpretationsOfScale(TFileAccess& s, std::int32_t id) {
    return Children(s.Interpretations, id, false, [&](std::int32_t c) { return DeleteInterpretation(s, c); });
}
bool DeleteAllTestGroups(TFileAccess& s) {
    return Children(s.TestGroups, 0, true, [&](std::int32_t c) { return DeleteTestGroup(s, c); });
}

void UnbindOrphanWeights(TFileAccess& s) {
    TWeightTable& w = s.Weights;
    Each(w, [&] {
        TScale scratch;
        Get(s.Scales, w.GetScaleID(), scratch);
        if (scratch.ID != -1) return;
        TWeight unbound = w.GetRecordOf();
        unbound.ScaleID = -1;
        w.EditWeight(unbound);
    });
}

// ---- copies

namespace {

struct Copier {
    Copier(TFileAccess& source, TFileAccess& target, bool giveNewIDs) : src(source), dst(target), newIDs(giveNewIDs) {}
    TFileAccess& src;
    TFileAccess& dst;
    bool newIDs;
    bool inTest = false;
    std::map<std::int32_t, std::int32_t> scaleCopies;

    template <typename Table, typename R>
    std::int32_t Append(Table& table, R& rec, std::int32_t newParentID) {
        if (newIDs) rec.ID = NewID(table);
        if (newParentID != -1) rec.ParentID = newParentID;
        table.AddRecord(rec);
        return rec.ID;
    }

    std::vector<std::int32_t> ChildrenOf(TObjectTable& t, std::int32_t id) {
        TTypeIntegerSingleList ids;
        ListChildren(t, id, &ids, nullptr);
        std::vector<std::int32_t> out;
        for (int i = 0; i < ids.GetCount(); ++i) out.push_back(ids.Get(i));
        return out;
    }

    std::int32_t Test(std::int32_t id, std::int32_t newParentID) {
        TTest rec;
        Get(src.Tests, id, rec);
        if (rec.ID == -1) return -1;
        const std::int32_t copy = Append(dst.Tests, rec, newParentID);
        inTest = true;
        const auto scales = ChildrenOf(src.Scales, id);
        for (std::int32_t sc : scales) scaleCopies[sc] = Scale(sc, copy);
        const auto stimuli = ChildrenOf(src.Stimuli, id);
        for (std::int32_t st : stimuli) Stimulus(st, copy, copy);
        return copy;
    }

    std::int32_t Scale(std::int32_t id, std::int32_t newParentID) {
        TScale rec;
        Get(src.Scales, id, rec);
        const std::int32_t copy = Append(dst.Scales, rec, newParentID);
        const auto ins = ChildrenOf(src.Interpretations, id);
        for (std::int32_t inID : ins) {
            TInterpretation in;
            Get(src.Interpretations, inID, in);
            Append(dst.Interpretations, in, copy);
        }
        return copy;
    }

    std::int32_t Stimulus(std::int32_t id, std::int32_t newParentID, std::int32_t destTest) {
        TStimul rec;
        Get(src.Stimuli, id, rec);
        if (rec.ID == -1) return -1;
        const std::int32_t copy = Append(dst.Stimuli, rec, newParentID);
        const auto reactions = ChildrenOf(src.Reactions, id);
        for (std::int32_t rID : reactions) {
            TReaction r;
            Get(src.Reactions, rID, r);
            const std::int32_t rc = Append(dst.Reactions, r, copy);
            for (std::int32_t wID : ChildrenOf(src.Weights, rID)) {
                TWeight w;
                Get(src.Weights, wID, w);
                w.ScaleID = Bind(w.ScaleID, destTest);
                Append(dst.Weights, w, rc);
            }
        }
        return copy;
    }

    std::int32_t Bind(std::int32_t scaleID, std::int32_t destTest) {
        if (scaleID == -1) return -1;
        if (inTest) return scaleCopies.count(scaleID) ? scaleCopies[scaleID] : -1;
        TScale sc;
        Get(dst.Scales, scaleID, sc);
        return sc.ID != -1 && sc.ParentID == destTest ? scaleID : -1;
    }
};

}  // namespace

std::int32_t CopyTestTo(TFileAccess& s, std::int32_t id, std::int32_t newParentID, TFileAccess& target, bool newIDs) {
    return Copier(s, target, newIDs).Test(id, newParentID);
}

std::int32_t CopyStimulusTo(TFileAccess& s, std::int32_t id, std::int32_t newParentID, TFileAccess& target,
                            bool newIDs) {
    TStimul rec;
    Get(s.Stimuli, id, rec);
    if (rec.ID == -1) return -1;
    return Copier(s, target, newIDs).Stimulus(id, newParentID, newParentID != -1 ? newParentID : rec.ParentID);
}

}  // namespace reference
