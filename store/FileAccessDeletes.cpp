// Cascading deletes and moves. A delete gathers everything below the item through the parent
// indexes first, then removes it from each table in one pass, so that a large subtree costs one
// pass per table. The records that remain, their order, the Modified flags and the cursors are
// those of deleting the records one by one, children first, walking each child table backwards.
#include <vector>

#include "store/FileAccess.h"

namespace {

// One table's share of a cascade: the records to remove, and whether a delete-children walk ran
// over it. Such a walk goes from the last record back to the first, so it leaves the cursor on
// index 0 unless the table was empty to begin with.
class Sweep {
public:
    explicit Sweep(TObjectTable& table) : table_(table) {}

    // A walk over the table for the children of parentID; calls below(index) for each one.
    template <typename F>
    void Walk(std::int32_t parentID, F&& below) {
        if (!walked_) {
            walked_ = true;
            marks_.assign(static_cast<std::size_t>(table_.RecordCount()), 0);
        }
        for (int i : table_.IndexesOfParent(parentID)) {
            char& m = marks_[static_cast<std::size_t>(i)];
            if (m) continue;
            m = 1;
            any_ = true;
            below(table_.RecordAt(i).ID);
        }
    }
    template <typename F>
    void WalkAll(F&& below) {
        walked_ = true;
        marks_.assign(static_cast<std::size_t>(table_.RecordCount()), 1);
        any_ = !marks_.empty();
        for (int i = 0; i < table_.RecordCount(); ++i) below(table_.RecordAt(i).ID);
    }

    bool RemovesAny() const { return any_; }

    void Apply() {
        if (!walked_) return;
        if (any_) table_.DeleteMarked(marks_);
        if (!marks_.empty()) table_.SetCursor(0);
    }

private:
    TObjectTable& table_;
    std::vector<char> marks_;
    bool walked_ = false;
    bool any_ = false;
};

// Everything below one or more items, gathered first and removed together.
class Cascade {
public:
    explicit Cascade(TFileAccess& s)
        : store_(s), groups_(s.TestGroups), tests_(s.Tests), stimuli_(s.Stimuli), reactions_(s.Reactions),
          scales_(s.Scales), interpretations_(s.Interpretations), weights_(s.Weights) {}

    void AllGroups() {
        groups_.WalkAll([&](std::int32_t id) { TestsOf(id); });
    }
    void TestsOf(std::int32_t groupID) {
        tests_.Walk(groupID, [&](std::int32_t id) { BelowTest(id); });
    }
    void BelowTest(std::int32_t testID) {
        StimuliOf(testID);
        ScalesOf(testID);
    }
    void StimuliOf(std::int32_t testID) {
        stimuli_.Walk(testID, [&](std::int32_t id) { ReactionsOf(id); });
    }
    void ReactionsOf(std::int32_t stimulusID) {
        reactions_.Walk(stimulusID, [&](std::int32_t id) { WeightsOf(id); });
    }
    void WeightsOf(std::int32_t reactionID) {
        weights_.Walk(reactionID, [](std::int32_t) {});
    }
    void ScalesOf(std::int32_t testID) {
        scales_.Walk(testID, [&](std::int32_t id) { InterpretationsOf(id); });
    }
    void InterpretationsOf(std::int32_t scaleID) {
        interpretations_.Walk(scaleID, [](std::int32_t) {});
    }

    // Removes what was gathered; a removed scale leaves its weights unbound.
    void Apply() {
        for (Sweep* s : {&groups_, &tests_, &stimuli_, &reactions_, &scales_, &interpretations_, &weights_})
            s->Apply();
        if (scales_.RemovesAny()) store_.UnbindOrphanWeights();
    }

private:
    TFileAccess& store_;
    Sweep groups_, tests_, stimuli_, reactions_, scales_, interpretations_, weights_;
};

// Deletes one item after what lies below it: the cursor of its table stays on its index.
template <typename Below>
bool DeleteOne(TFileAccess& s, TObjectTable& table, std::int32_t id, Below&& below) {
    if (!table.Locate(id)) return false;
    Cascade c(s);
    below(c);
    c.Apply();
    return table.Delete();
}

// Deletes every child of one item; the children's own deletes cannot fail while IDs are unique.
template <typename Walk>
bool DeleteChildren(TFileAccess& s, Walk&& walk) {
    Cascade c(s);
    walk(c);
    c.Apply();
    return true;
}

// Gives an item a new parent; everything else of it stays.
template <typename Table>
bool MoveTo(Table& table, std::int32_t id, const TObjectTable& parents, std::int32_t newParentID) {
    try {
        if (!table.ContainsID(id) || !parents.ContainsID(newParentID)) return false;
        table.Locate(id);
        typename Table::Record moved = table.GetRecordOf();
        moved.ParentID = newParentID;
        table.EditRecord(std::move(moved));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

// ---- single deletes

bool TFileAccess::DeleteTestGroup(std::int32_t groupID) {
    return DeleteOne(*this, TestGroups, groupID, [&](Cascade& c) { c.TestsOf(groupID); });
}

bool TFileAccess::DeleteTest(std::int32_t testID) {
    return DeleteOne(*this, Tests, testID, [&](Cascade& c) { c.BelowTest(testID); });
}

bool TFileAccess::DeleteStimulus(std::int32_t stimulusID) {
    return DeleteOne(*this, Stimuli, stimulusID, [&](Cascade& c) { c.ReactionsOf(stimulusID); });
}

bool TFileAccess::DeleteReaction(std::int32_t reactionID) {
    return DeleteOne(*this, Reactions, reactionID, [&](Cascade& c) { c.WeightsOf(reactionID); });
}

bool TFileAccess::DeleteWeight(std::int32_t weightID) {
    return DeleteOne(*this, Weights, weightID, [](Cascade&) {});
}

bool TFileAccess::DeleteScale(std::int32_t scaleID) {
    const bool done = DeleteOne(*this, Scales, scaleID, [&](Cascade& c) { c.InterpretationsOf(scaleID); });
    if (done) UnbindOrphanWeights();
    return done;
}

bool TFileAccess::DeleteInterpretation(std::int32_t interpretationID) {
    return DeleteOne(*this, Interpretations, interpretationID, [](Cascade&) {});
}

// ---- children

bool TFileAccess::DeleteTestsOfGroup(std::int32_t groupID) {
    return DeleteChildren(*this, [&](Cascade& c) { c.TestsOf(groupID); });
}

bool TFileAccess::DeleteStimuliOfTest(std::int32_t testID) {
    return DeleteChildren(*this, [&](Cascade& c) { c.StimuliOf(testID); });
}

bool TFileAccess::DeleteScalesOfTest(std::int32_t testID) {
    return DeleteChildren(*this, [&](Cascade& c) { c.ScalesOf(testID); });
}

bool TFileAccess::DeleteReactionsOfStimulus(std::int32_t stimulusID) {
    return DeleteChildren(*this, [&](Cascade& c) { c.ReactionsOf(stimulusID); });
}

bool TFileAccess::DeleteWeightsOfReaction(std::int32_t reactionID) {
    return DeleteChildren(*this, [&](Cascade& c) { c.WeightsOf(reactionID); });
}

bool TFileAccess::DeleteInterpretationsOfScale(std::int32_t scaleID) {
    return DeleteChildren(*this, [&](Cascade& c) { c.InterpretationsOf(scaleID); });
}

bool TFileAccess::DeleteAllTestGroups() {
    return DeleteChildren(*this, [](Cascade& c) { c.AllGroups(); });
}

// Every weight without an existing scale is rewritten, those already unbound included, so the
// table counts as changed whenever there is one.
void TFileAccess::UnbindOrphanWeights() {
    const int saved = Weights.Cursor();
    bool any = false;
    for (int i = 0; i < Weights.RecordCount(); ++i) {
        const TWeight& w = Weights.At(i);
        if (Scales.ContainsID(w.ScaleID)) continue;
        any = true;
        if (w.ScaleID == -1) continue;
        TWeight unbound = w;
        unbound.ScaleID = -1;
        Weights.SetCursor(i);
        Weights.EditWeight(std::move(unbound));
    }
    if (any) Weights.SetModified(true);
    Weights.SetCursor(saved);
}

// ---- moves

bool TFileAccess::MoveTest(std::int32_t testID, std::int32_t newGroupID) {
    return MoveTo(Tests, testID, TestGroups, newGroupID);
}

bool TFileAccess::MoveScale(std::int32_t scaleID, std::int32_t newTestID) {
    return MoveTo(Scales, scaleID, Tests, newTestID);
}

bool TFileAccess::MoveInterpretation(std::int32_t interpretationID, std::int32_t newScaleID) {
    return MoveTo(Interpretations, interpretationID, Scales, newScaleID);
}

bool TFileAccess::MoveStimulus(std::int32_t stimulusID, std::int32_t newTestID) {
    return MoveTo(Stimuli, stimulusID, Tests, newTestID);
}

bool TFileAccess::MoveReaction(std::int32_t reactionID, std::int32_t newStimulusID) {
    return MoveTo(Reactions, reactionID, Stimuli, newStimulusID);
}

bool TFileAccess::MoveWeight(std::int32_t weightID, std::int32_t newReactionID) {
    return MoveTo(Weights, weightID, Reactions, newReactionID);
}
