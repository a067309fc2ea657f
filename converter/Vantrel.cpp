#include "converter/Vantrel.h"

#include <exception>
#include <utility>


namespace vantrel {
namespace {

// Walks the old table from its first record to its last, appending to the emptied 1.4.2 table
// what make gives for each record, then its description.
template <typename From, typename To, typename Make>
void CopyTable(From& from, To& to, Make make) {
    from.SavePosition();
    to.Clear();
    if (from.First()) {
        do {
            to.Add(make(from.GetRecordOf()));
            to.SetDescription(from.GetDescription());
        } while (from.Next());
    }
    from.RestorePosition();
}

// The same result, but the old table gives up its records: their texts are moved, and each old
// record is freed before its successor is made, which then takes its memory.
template <typename From, typename To, typename Make>
void MoveTable(From& from, To& to, Make make) {
    to.Clear();
    auto records = from.TakeRecords();
    to.Reserve(static_cast<int>(records.size()));
    for (auto& p : records) {
        auto& o = static_cast<typename From::Record&>(*p);
        auto r = make(std::move(o));
        r.Description = std::move(o.Description);
        p.reset();
        to.Add(std::move(r));
    }
}

// ID, parent, order and name: what every record carries.
template <typename To, typename From>
To Common(From&& o) {
    To r;
    r.ID = o.ID;
    r.ParentID = o.ParentID;
    r.Order = o.Order;
    r.Name = std::forward<From>(o).Name;
    return r;
}

// What each 1.4.2 record takes from its old record, copied from a kept one or moved from a
// spent one.
template <typename To>
struct MakeCommon {
    template <typename From>
    To operator()(From&& o) const {
        return Common<To>(std::forward<From>(o));
    }
};

struct MakeTest {
    template <typename From>
    TATest operator()(From&& o) const {
        auto r = Common<TATest>(std::forward<From>(o));
        r.Annotation = std::forward<From>(o).Annotation;
        r.Instruction = std::forward<From>(o).Instruction;
        r.MoveDirection = o.MoveDirection;
        r.ReplayEnabled = o.ReplayEnabled;
        r.StopEnabled = o.StopEnabled;
        r.SpareFlag = o.SpareFlag;
        r.TimeLimit = o.TimeLimit;
        return r;
    }
};

struct MakeInterpretation {
    template <typename From>
    TAInterpretation operator()(From&& o) const {
        auto r = Common<TAInterpretation>(std::forward<From>(o));
        r.Maximum = o.Maximum;
        r.Minimum = o.Minimum;
        return r;
    }
};

struct MakeStimul {
    template <typename From>
    TAStimul operator()(From&& o) const {
        auto r = Common<TAStimul>(std::forward<From>(o));
        r.MultipleAnswers = o.MultipleAnswers;
        r.AnswersLimit = o.AnswersLimit;
        r.AnswerRequired = o.AnswerRequired;
        return r;
    }
};

struct MakeWeight {
    template <typename From>
    TAWeight operator()(From&& o) const {
        auto r = Common<TAWeight>(std::forward<From>(o));
        r.ScaleID = o.ScaleID;
        r.Value = o.Value;
        return r;
    }
};

}  // namespace

void CopyTestGroups(TTestGroupTableOld& from, TTestGroupTable& to) { CopyTable(from, to, MakeCommon<TATestGroup>{}); }
void CopyTests(TTestTableOld& from, TTestTable& to) { CopyTable(from, to, MakeTest{}); }
void CopyScales(TScaleTableOld& from, TScaleTable& to) { CopyTable(from, to, MakeCommon<TAScale>{}); }
void CopyInterpretations(TInterpretationTableOld& from, TInterpretationTable& to) {
    CopyTable(from, to, MakeInterpretation{});
}
void CopyStimuli(TStimulTableOld& from, TStimulTable& to) { CopyTable(from, to, MakeStimul{}); }
void CopyReactions(TReactionTableOld& from, TReactionTable& to) { CopyTable(from, to, MakeCommon<TAReaction>{}); }
void CopyWeights(TWeightTableOld& from, TWeightTable& to) { CopyTable(from, to, MakeWeight{}); }

bool ConvertFile(const std::string& path, const platform::FormatSettings& settings) {
    TFileAccessOld old(path, settings);
    TFileAccess store(path, settings);
    if (!old.LoadAll()) return false;
    // The old tables are not needed afterwards, so their records are moved, not copied; and
    // the new file is written into the memory of the old file's text.
    store.FileText = old.TakeText();
    MoveTables(old, store);
    return store.SaveAll();
}

void MoveTables(TFileAccessOld& old, TFileAccess& store) {
    // Users, clients, client groups and the author flag are not carried.
    MoveTable(old.TestGroups, store.TestGroups, MakeCommon<TATestGroup>{});
    MoveTable(old.Tests, store.Tests, MakeTest{});
    MoveTable(old.Scales, store.Scales, MakeCommon<TAScale>{});
    MoveTable(old.Interpretations, store.Interpretations, MakeInterpretation{});
    MoveTable(old.Stimuli, store.Stimuli, MakeStimul{});
    MoveTable(old.Reactions, store.Reactions, MakeCommon<TAReaction>{});
    MoveTable(old.Weights, store.Weights, MakeWeight{});
}

}  // namespace vantrel
