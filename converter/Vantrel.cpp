#include "converter/Vantrel.h"

#include <exception>


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

// ID, parent, order and name: what every record carries.
template <typename To, typename From>
To Common(const From& o) {
    To r;
    r.ID = o.ID;
    r.ParentID = o.ParentID;
    r.Order = o.Order;
    r.Name = o.Name;
    return r;
}

}  // namespace

void CopyTestGroups(TTestGroupTableOld& from, TTestGroupTable& to) {
    CopyTable(from, to, [](const TAOldTestGroup& o) { return Common<TATestGroup>(o); });
}

void CopyTests(TTestTableOld& from, TTestTable& to) {
    CopyTable(from, to, [](const TAOldTest& o) {
        auto r = Common<TATest>(o);
        r.Annotation = o.Annotation;
        r.Instruction = o.Instruction;
        r.MoveDirection = o.MoveDirection;
        r.ReplayEnabled = o.ReplayEnabled;
        r.StopEnabled = o.StopEnabled;
        r.SpareFlag = o.SpareFlag;
        r.TimeLimit = o.TimeLimit;
        return r;
    });
}

void CopyScales(TScaleTableOld& from, TScaleTable& to) {
    CopyTable(from, to, [](const TAOldScale& o) { return Common<TAScale>(o); });
}

void CopyInterpretations(TInterpretationTableOld& from, TInterpretationTable& to) {
    CopyTable(from, to, [](const TAOldInterpretation& o) {
        auto r = Common<TAInterpretation>(o);
        r.Maximum = o.Maximum;
        r.Minimum = o.Minimum;
        return r;
    });
}

void CopyStimuli(TStimulTableOld& from, TStimulTable& to) {
    CopyTable(from, to, [](const TAOldStimul& o) {
        auto r = Common<TAStimul>(o);
        r.MultipleAnswers = o.MultipleAnswers;
        r.AnswersLimit = o.AnswersLimit;
        r.AnswerRequired = o.AnswerRequired;
        return r;
    });
}

void CopyReactions(TReactionTableOld& from, TReactionTable& to) {
    CopyTable(from, to, [](const TAOldReaction& o) { return Common<TAReaction>(o); });
}

void CopyWeights(TWeightTableOld& from, TWeightTable& to) {
    CopyTable(from, to, [](const TAOldWeight& o) {
        auto r = Common<TAWeight>(o);
        r.ScaleID = o.ScaleID;
        r.Value = o.Value;
        return r;
    });
}

bool ConvertFile(const std::string& path, const platform::FormatSettings& settings) {
    TFileAccessOld old(path, settings);
    TFileAccess store(path, settings);
    if (!old.LoadAll()) return false;
    // Users, clients, client groups and the author flag are not carried.
    CopyTestGroups(old.TestGroups, store.TestGroups);
    CopyTests(old.Tests, store.Tests);
    CopyScales(old.Scales, store.Scales);
    CopyInterpretations(old.Interpretations, store.Interpretations);
    CopyStimuli(old.Stimuli, store.Stimuli);
    CopyReactions(old.Reactions, store.Reactions);
    CopyWeights(old.Weights, store.Weights);
    return store.SaveAll();
}

}  // namespace vantrel
