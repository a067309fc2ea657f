#pragma once
#include <cstdint>

// The kinds of node in the objects tree. The main window enables its commands by them.
// Kinds 8 and 9 are one kind of stored object (a weight); only the picture and the status line
// tell a weight bound to a scale from one without a scale.
enum TNodeKind : std::uint8_t {
    nkNone = 0,             // no node
    nkRoot = 1,
    nkTestsRoot = 2,
    nkTestGroup = 3,
    nkTest = 4,
    nkScalesFolder = 5,     // carries its test's ID
    nkScale = 6,
    nkInterpretation = 7,
    nkWeight = 8,           // bound to a scale
    nkWeightNoScale = 9,    // ScaleID -1
    nkQuestionsFolder = 10, // carries its test's ID
    nkQuestion = 11,
    nkAnswer = 12,
};

constexpr int kLastNodeKind = nkAnswer;

// The picture of a kind in the tree's image list. Pictures 0 and 1 are the overlays that mark a
// node as cut or copied; any kind above the last maps to the folder picture.
constexpr int kCutOverlayImage = 0;
constexpr int kCopyOverlayImage = 1;
constexpr int kNoOverlay = -1;
constexpr int kImageCount = 16;
int KindImageIndex(int kind);

// The kind's name as the tree dumps show it ("nkTest").
const char* NodeKindName(int kind);
