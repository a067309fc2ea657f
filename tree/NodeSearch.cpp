#include "tree/NodeSearch.h"

#include "platform/TextCase.h"

namespace {

// The stored object a type code looks for; None for every object.
TStoredType SoughtType(std::uint8_t code) {
    switch (code) {
        case fotTestGroup: return TStoredType::TestGroup;
        case fotTest: return TStoredType::Test;
        case fotScale: return TStoredType::Scale;
        case fotInterpretation: return TStoredType::Interpretation;
        case fotWeight: return TStoredType::Weight;
        case fotQuestion: return TStoredType::Stimulus;
        case fotAnswer: return TStoredType::Reaction;
        default: return TStoredType::None;
    }
}

}  // namespace

// Only nodes of stored objects are found: never a root or a folder.
bool FindTypeAccepts(std::uint8_t code, TNodeKind kind) {
    const TStoredType object = NodeKindInfo(kind).Object;
    const TStoredType sought = SoughtType(code);
    return object != TStoredType::None && (sought == TStoredType::None || object == sought);
}

TNodeSearch::TNodeSearch(std::string_view text, std::uint8_t flags, std::uint8_t code)
    : caseSensitive_((flags & sfCaseSensitive) != 0), wholeTitle_((flags & sfWholeTitle) != 0), code_(code) {
    text_ = caseSensitive_ ? std::string(text) : platform::UpperCase(text);
}

bool TNodeSearch::Matches(TNodeKind kind, std::string_view caption) const {
    // An empty text would be found in every caption: it finds nothing.
    if (text_.empty() || !FindTypeAccepts(code_, kind)) return false;
    if (caseSensitive_) return wholeTitle_ ? caption == text_ : caption.find(text_) != std::string_view::npos;
    const std::string upper = platform::UpperCase(caption);
    return wholeTitle_ ? upper == text_ : upper.find(text_) != std::string::npos;
}
