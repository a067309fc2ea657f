#pragma once
#include <cstdint>
#include <string>

// The records of the converter library. The old records (as the reader of old files finds them)
// and the 1.4.2 records (as the writer puts them out) have the same fields in the same order, so
// both are made from one set of templates; the kind tag keeps them apart as types.
namespace vantrel {

struct OldKind {};
struct NewKind {};

template <typename K>
struct TRecordOf {
    TRecordOf() = default;
    TRecordOf(const TRecordOf&) = default;
    TRecordOf& operator=(const TRecordOf&) = default;
    virtual ~TRecordOf() = default;
    std::int32_t Order = 0;
};

template <typename K>
struct TObjectOf : TRecordOf<K> {
    std::int32_t ID = 0;
    std::int32_t ParentID = 0;
    std::string Description;
    std::string Name;   // at most 255 bytes
};

template <typename K>
struct TTestGroupOf : TObjectOf<K> {};

template <typename K>
struct TTestOf : TObjectOf<K> {
    std::string Annotation;
    std::string Instruction;
    std::uint8_t MoveDirection = 0;   // 0 none, 1 forward only, 2 forward and back, 3 free
    bool ReplayEnabled = false;
    bool StopEnabled = false;
    bool SpareFlag = false;
    std::int32_t TimeLimit = 0;
};

template <typename K>
struct TStimulOf : TObjectOf<K> {
    bool MultipleAnswers = false;
    std::int32_t AnswersLimit = 0;
    bool AnswerRequired = false;
};

template <typename K>
struct TReactionOf : TObjectOf<K> {};

template <typename K>
struct TScaleOf : TObjectOf<K> {};

template <typename K>
struct TInterpretationOf : TObjectOf<K> {
    double Maximum = 0;
    double Minimum = 0;
};

template <typename K>
struct TUserOf : TObjectOf<K> {
    std::string Password;
};

template <typename K>
struct TWeightOf : TObjectOf<K> {
    std::int32_t ScaleID = 0;
    double Value = 0;
};

using TAOldRecord = TRecordOf<OldKind>;
using TAOldObject = TObjectOf<OldKind>;
using TAOldTestGroup = TTestGroupOf<OldKind>;
using TAOldTest = TTestOf<OldKind>;
using TAOldStimul = TStimulOf<OldKind>;
using TAOldReaction = TReactionOf<OldKind>;
using TAOldScale = TScaleOf<OldKind>;
using TAOldInterpretation = TInterpretationOf<OldKind>;
using TAOldUser = TUserOf<OldKind>;
using TAOldWeight = TWeightOf<OldKind>;

using TARecord = TRecordOf<NewKind>;
using TAObject = TObjectOf<NewKind>;
using TATestGroup = TTestGroupOf<NewKind>;
using TATest = TTestOf<NewKind>;
using TAStimul = TStimulOf<NewKind>;
using TAReaction = TReactionOf<NewKind>;
using TAScale = TScaleOf<NewKind>;
using TAInterpretation = TInterpretationOf<NewKind>;
using TAUser = TUserOf<NewKind>;
using TAWeight = TWeightOf<NewKind>;

}  // namespace vantrel
