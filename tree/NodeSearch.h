#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "tree/NodeKind.h"

// What Find looks for in the captions of the objects tree. No Qt here.

// The object type codes of Find: each names the node kinds it accepts. Any other value (the Find
// dialog uses 0) accepts every object; the root, the tests root and the two folders are never
// found.
enum TFindObjectType : std::uint8_t {
    fotAnyObject = 0,
    fotTestGroup = 3,
    fotTest = 4,
    fotScale = 5,
    fotInterpretation = 6,
    fotWeight = 7,   // with and without a scale
    fotQuestion = 8,
    fotAnswer = 9,
};

// The search flags: bit 0 case-sensitive (clear: both texts compared in upper case), bit 1 the
// whole caption must equal the text (clear: the text may stand anywhere in it). Other bits are
// ignored.
enum TSearchFlag : std::uint8_t {
    sfCaseSensitive = 1,
    sfWholeTitle = 2,
};

// Whether a node of kind may be found with the object type code.
bool FindTypeAccepts(std::uint8_t code, TNodeKind kind);

// One search: text, flags and object type code, set once and asked of every node.
class TNodeSearch {
public:
    TNodeSearch(std::string_view text, std::uint8_t flags, std::uint8_t code);

    // Whether a node of kind with this caption is a match. An empty text matches nothing.
    bool Matches(TNodeKind kind, std::string_view caption) const;

private:
    std::string text_;   // in upper case unless the search is case-sensitive
    bool caseSensitive_;
    bool wholeTitle_;
    std::uint8_t code_;
};
