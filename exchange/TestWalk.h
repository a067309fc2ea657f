#pragma once
#include <cstdint>

#include "store/FileAccess.h"

// What an export does with each item of one test, in the order of the walk: the test; the scales,
// each with its interpretations; then the questions, each with its answers, each answer with its
// weights. Children come in table order.
class TTestVisitor {
public:
    virtual ~TTestVisitor() = default;
    virtual void Test(const TTest&) {}
    virtual void BeginScales() {}
    virtual void BeginScale(const TScale&) {}
    virtual void Interpretation(const TInterpretation&) {}
    virtual void EndScale(const TScale&) {}
    virtual void EndScales() {}
    virtual void BeginStimuli() {}
    virtual void BeginStimulus(const TStimul&) {}
    virtual void BeginReaction(const TReaction&) {}
    virtual void Weight(const TWeight&) {}
    virtual void EndReaction(const TReaction&) {}
    virtual void EndStimulus(const TStimul&) {}
    virtual void EndStimuli() {}
};

// Walks the test once, through the store's indexes by parent: linear in the test's size. Raises
// Exception when the store holds no such test.
void WalkTest(const TFileAccess& store, std::int32_t testID, TTestVisitor& visitor);
