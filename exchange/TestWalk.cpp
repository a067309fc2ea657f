#include "exchange/TestWalk.h"

#include "platform/Exception.h"

namespace {

// Calls visit for every record of the parent, in table order.
template <typename Table, typename Visit>
void EachChild(const Table& table, std::int32_t parentID, Visit visit) {
    for (int i : table.IndexesOfParent(parentID)) visit(table.At(i));
}

}  // namespace

void WalkTest(const TFileAccess& store, std::int32_t testID, TTestVisitor& visitor) {
    const int index = store.Tests.IndexOfID(testID);
    if (index < 0) throw Exception("The test " + std::to_string(testID) + " does not exist.");
    visitor.Test(store.Tests.At(index));

    visitor.BeginScales();
    EachChild(store.Scales, testID, [&](const TScale& scale) {
        visitor.BeginScale(scale);
        EachChild(store.Interpretations, scale.ID,
                  [&](const TInterpretation& interpretation) { visitor.Interpretation(interpretation); });
        visitor.EndScale(scale);
    });
    visitor.EndScales();

    visitor.BeginStimuli();
    EachChild(store.Stimuli, testID, [&](const TStimul& stimulus) {
        visitor.BeginStimulus(stimulus);
        EachChild(store.Reactions, stimulus.ID, [&](const TReaction& reaction) {
            visitor.BeginReaction(reaction);
            EachChild(store.Weights, reaction.ID, [&](const TWeight& weight) { visitor.Weight(weight); });
            visitor.EndReaction(reaction);
        });
        visitor.EndStimulus(stimulus);
    });
    visitor.EndStimuli();
}
