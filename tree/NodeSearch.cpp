#include "tree/NodeSearch.h"

#include "platform/TextCase.h"

bool FindTypeAccepts(std::uint8_t code, TNodeKind kind) {
    switch (code) {
        case fotTestGroup: return kind == nkTestGroup;
        case fotTest: return kind == nkTest;
        case fotScale: return kind == nkScale;
        case fotInterpretation: return kind == nkInterpretation;
        case fotWeight: return kind == nkWeight || kind == nkWeightNoScale;
        case fotQuestion: return kind == nkQuestion;
        case fotAnswer: return kind == nkAnswer;
        default:
            switch (kind) {
                case nkTestGroup:
                case nkTest:
                case nkScale:
                case nkInterpretation:
                case nkWeight:
                case nkWeightNoScale:
                case nkQuestion:
                case nkAnswer: return true;
                default: return false;
            }
    }
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
