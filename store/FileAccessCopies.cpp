// Deep copies: an item with everything below it, into another store or into this one. The work
// goes in a fixed order (a test, then each scale with its interpretations, then each stimulus
// with its reactions, each reaction with its weights), and each copy takes its table's smallest
// free ID when it is appended, so the IDs a copy receives follow from that order.
#include <atomic>
#include <optional>
#include <unordered_map>
#include <vector>

#include "store/FileAccess.h"
#include "store/StoreTestSeam.h"

namespace {

std::atomic<int> g_failAfter{-1};

constexpr std::int32_t kNone = -1;

// What a copy may change in the target, taken before it starts and put back when it fails.
class TargetSnapshot {
public:
    explicit TargetSnapshot(TFileAccess& target) : target_(target) {
        const auto tables = target.AllTables();
        for (std::size_t i = 0; i < tables.size(); ++i) {
            counts_[i] = tables[i]->RecordCount();
            cursors_[i] = tables[i]->Cursor();
            modified_[i] = tables[i]->Modified();
        }
    }
    void Restore() {
        const auto tables = target_.AllTables();
        for (std::size_t i = 0; i < tables.size(); ++i) {
            tables[i]->Truncate(counts_[i]);
            tables[i]->SetCursor(cursors_[i]);
            tables[i]->SetModified(modified_[i]);
        }
    }

private:
    TFileAccess& target_;
    std::array<int, 8> counts_{};
    std::array<int, 8> cursors_{};
    std::array<bool, 8> modified_{};
};

class DeepCopy {
public:
    DeepCopy(const TFileAccess& source, TFileAccess& target, bool newIDs)
        : src_(source), dst_(target), newIDs_(newIDs) {}

    std::int32_t Test(std::int32_t id, std::int32_t newParentID) {
        TTest rec = Fetch(src_.Tests, id);
        const std::int32_t copy = Place(rec, dst_.Tests, newParentID);
        // The copy's weights follow the copies of the test's own scales.
        inTest_ = true;
        scaleMap_.clear();
        for (std::int32_t scale : Children(src_.Scales, id)) scaleMap_[scale] = Scale(scale, copy);
        for (std::int32_t stimulus : Children(src_.Stimuli, id)) Stimulus(stimulus, copy, copy);
        return copy;
    }

    std::int32_t Scale(std::int32_t id, std::int32_t newParentID) {
        TScale rec = Fetch(src_.Scales, id);
        const std::int32_t copy = Place(rec, dst_.Scales, newParentID);
        for (std::int32_t in : Children(src_.Interpretations, id)) Interpretation(in, copy);
        return copy;
    }

    std::int32_t Interpretation(std::int32_t id, std::int32_t newParentID) {
        TInterpretation rec = Fetch(src_.Interpretations, id);
        return Place(rec, dst_.Interpretations, newParentID);
    }

    // destTest: the test of the target that the copy lands in, whose scales its weights may
    // keep; found from the copy's parent when not given.
    std::int32_t Stimulus(std::int32_t id, std::int32_t newParentID, std::optional<std::int32_t> destTest) {
        TStimul rec = Fetch(src_.Stimuli, id);
        const std::int32_t copy = Place(rec, dst_.Stimuli, newParentID);
        if (!destTest) destTest = rec.ParentID;
        for (std::int32_t r : Children(src_.Reactions, id)) Reaction(r, copy, destTest);
        return copy;
    }

    std::int32_t Reaction(std::int32_t id, std::int32_t newParentID, std::optional<std::int32_t> destTest) {
        TReaction rec = Fetch(src_.Reactions, id);
        const std::int32_t copy = Place(rec, dst_.Reactions, newParentID);
        if (!destTest) destTest = dst_.GetTestOfStimulus(rec.ParentID);
        for (std::int32_t w : Children(src_.Weights, id)) Weight(w, copy, destTest);
        return copy;
    }

    std::int32_t Weight(std::int32_t id, std::int32_t newParentID, std::optional<std::int32_t> destTest) {
        TWeight rec = Fetch(src_.Weights, id);
        if (newParentID != kNone) rec.ParentID = newParentID;
        if (!destTest) destTest = dst_.GetTestOfReaction(rec.ParentID);
        rec.ScaleID = Binding(rec.ScaleID, *destTest);
        return Place(rec, dst_.Weights, newParentID);
    }

private:
    template <typename Table>
    typename Table::Record Fetch(const Table& table, std::int32_t id) const {
        const int i = table.IndexOfID(id);
        if (i < 0) throw Exception("The item to copy does not exist.");
        return table.At(i);
    }

    // The IDs of the children, taken before any copy is appended: an in-store copy appends to the
    // very tables it lists.
    static std::vector<std::int32_t> Children(const TObjectTable& table, std::int32_t parentID) {
        std::vector<std::int32_t> ids;
        for (int i : table.IndexesOfParent(parentID)) ids.push_back(table.RecordAt(i).ID);
        return ids;
    }

    template <typename R, typename Table>
    std::int32_t Place(R& rec, Table& table, std::int32_t newParentID) {
        if (newIDs_) rec.ID = table.NewID();
        if (newParentID != kNone) rec.ParentID = newParentID;
        if (g_failAfter.load() == 0) {
            g_failAfter = -1;
            throw Exception("Copy failed on purpose.");
        }
        if (g_failAfter.load() > 0) --g_failAfter;
        table.AddRecord(rec);
        return rec.ID;
    }

    // The scale a copied weight is bound to in the target: the copy of its scale in a test copy,
    // else its own scale when that belongs to the test the weight lands in.
    std::int32_t Binding(std::int32_t scaleID, std::int32_t destTest) const {
        if (scaleID == kNone) return kNone;
        if (inTest_) {
            const auto it = scaleMap_.find(scaleID);
            return it == scaleMap_.end() ? kNone : it->second;
        }
        const int i = dst_.Scales.IndexOfID(scaleID);
        return i >= 0 && dst_.Scales.At(i).ParentID == destTest ? scaleID : kNone;
    }

    const TFileAccess& src_;
    TFileAccess& dst_;
    bool newIDs_;
    bool inTest_ = false;
    std::unordered_map<std::int32_t, std::int32_t> scaleMap_;
};

// Runs one copy; a source that does not exist adds nothing, a failure on the way is undone.
template <typename F>
std::int32_t Transaction(const TObjectTable& sourceTable, std::int32_t id, TFileAccess& target, F&& copy) {
    if (!sourceTable.ContainsID(id)) return kNone;
    TargetSnapshot before(target);
    try {
        return copy();
    } catch (...) {
        before.Restore();
        return kNone;
    }
}

}  // namespace

std::int32_t TFileAccess::CopyTestTo(std::int32_t testID, std::int32_t newParentID, TFileAccess& target, bool newIDs) {
    return Transaction(Tests, testID, target,
                       [&] { return DeepCopy(*this, target, newIDs).Test(testID, newParentID); });
}

std::int32_t TFileAccess::CopyScaleTo(std::int32_t scaleID, std::int32_t newParentID, TFileAccess& target,
                                      bool newIDs) {
    return Transaction(Scales, scaleID, target,
                       [&] { return DeepCopy(*this, target, newIDs).Scale(scaleID, newParentID); });
}

std::int32_t TFileAccess::CopyInterpretationTo(std::int32_t interpretationID, std::int32_t newParentID,
                                               TFileAccess& target, bool newIDs) {
    return Transaction(Interpretations, interpretationID, target, [&] {
        return DeepCopy(*this, target, newIDs).Interpretation(interpretationID, newParentID);
    });
}

std::int32_t TFileAccess::CopyStimulusTo(std::int32_t stimulusID, std::int32_t newParentID, TFileAccess& target,
                                         bool newIDs) {
    return Transaction(Stimuli, stimulusID, target,
                       [&] { return DeepCopy(*this, target, newIDs).Stimulus(stimulusID, newParentID, std::nullopt); });
}

std::int32_t TFileAccess::CopyReactionTo(std::int32_t reactionID, std::int32_t newParentID, TFileAccess& target,
                                         bool newIDs) {
    return Transaction(Reactions, reactionID, target,
                       [&] { return DeepCopy(*this, target, newIDs).Reaction(reactionID, newParentID, std::nullopt); });
}

std::int32_t TFileAccess::CopyWeightTo(std::int32_t weightID, std::int32_t newParentID, TFileAccess& target,
                                       bool newIDs) {
    return Transaction(Weights, weightID, target,
                       [&] { return DeepCopy(*this, target, newIDs).Weight(weightID, newParentID, std::nullopt); });
}

std::int32_t TFileAccess::CopyTest(std::int32_t testID, std::int32_t newParentID) {
    return CopyTestTo(testID, newParentID, *this, true);
}
std::int32_t TFileAccess::CopyScale(std::int32_t scaleID, std::int32_t newParentID) {
    return CopyScaleTo(scaleID, newParentID, *this, true);
}
std::int32_t TFileAccess::CopyInterpretation(std::int32_t interpretationID, std::int32_t newParentID) {
    return CopyInterpretationTo(interpretationID, newParentID, *this, true);
}
std::int32_t TFileAccess::CopyStimulus(std::int32_t stimulusID, std::int32_t newParentID) {
    return CopyStimulusTo(stimulusID, newParentID, *this, true);
}
std::int32_t TFileAccess::CopyReaction(std::int32_t reactionID, std::int32_t newParentID) {
    return CopyReactionTo(reactionID, newParentID, *this, true);
}
std::int32_t TFileAccess::CopyWeight(std::int32_t weightID, std::int32_t newParentID) {
    return CopyWeightTo(weightID, newParentID, *this, true);
}

namespace storetesthooks {
void FailCopyAfterRecords(int count) { g_failAfter = count; }
}  // namespace storetesthooks
