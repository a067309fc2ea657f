#include "tree/NodeKind.h"

namespace {

struct KindInfo {
    const char* Name;
    int Image;
};

constexpr KindInfo kKinds[] = {
    {"nkNone", 2},          {"nkRoot", 3},          {"nkTestsRoot", 7},       {"nkTestGroup", 8},
    {"nkTest", 9},          {"nkScalesFolder", 2},  {"nkScale", 13},          {"nkInterpretation", 14},
    {"nkWeight", 12},       {"nkWeightNoScale", 15}, {"nkQuestionsFolder", 2}, {"nkQuestion", 10},
    {"nkAnswer", 11},
};
static_assert(sizeof(kKinds) / sizeof(kKinds[0]) == kLastNodeKind + 1);

}  // namespace

int KindImageIndex(int kind) { return kind >= 0 && kind <= kLastNodeKind ? kKinds[kind].Image : 2; }

const char* NodeKindName(int kind) { return kind >= 0 && kind <= kLastNodeKind ? kKinds[kind].Name : "nk?"; }
