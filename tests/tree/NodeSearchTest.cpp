// What Find takes for a match: the object type codes and the node kinds each accepts, and the
// comparison of the text with a caption.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/CodePage.h"
#include "tree/NodeSearch.h"

namespace {

// The kinds each code accepts, by a row of 13 marks over the kinds 0 to 12 ('x' accepted).
struct TypeRow {
    std::uint8_t Code;
    const char* Accepted;
};

//                           kinds: 0123456789012
const TypeRow kTypeRows[] = {
    {fotAnyObject, /*         */ "...xx.xxxx.xx"},
    {1, /* no such code: any   */ "...xx.xxxx.xx"},
    {2, /*                     */ "...xx.xxxx.xx"},
    {fotTestGroup, /*         */ "...x........."},
    {fotTest, /*              */ "....x........"},
    {fotScale, /*             */ "......x......"},
    {fotInterpretation, /*    */ ".......x....."},
    {fotWeight, /*            */ "........xx..."},
    {fotQuestion, /*          */ "...........x."},
    {fotAnswer, /*            */ "............x"},
    {10, /*                    */ "...xx.xxxx.xx"},
    {255, /*                   */ "...xx.xxxx.xx"},
};

}  // namespace

TEST(NodeSearch, EachTypeCodeAcceptsItsKinds) {
    for (const TypeRow& row : kTypeRows) {
        for (int kind = 0; kind <= kLastNodeKind; ++kind) {
            SCOPED_TRACE("code " + std::to_string(row.Code) + " kind " + NodeKindName(kind));
            EXPECT_EQ(FindTypeAccepts(row.Code, static_cast<TNodeKind>(kind)), row.Accepted[kind] == 'x');
        }
    }
}

namespace {

struct MatchCase {
    const char* Text;
    std::uint8_t Flags;
    const char* Caption;
    bool Match;
};

const MatchCase kMatchCases[] = {
    // anywhere in the caption, in any letter case
    {"scale", 0, "Scale 3", true},
    {"scale", 0, "SCALES", true},
    {"scale", 0, "My scale", true},
    {"scale", 0, "Scal", false},
    // case-sensitive: only as typed
    {"scale", sfCaseSensitive, "Scale 3", false},
    {"scale", sfCaseSensitive, "my scales", true},
    // the whole caption
    {"Scale 3", sfWholeTitle, "Scale 3", true},
    {"Scale 3", sfWholeTitle, "scale 3", true},
    {"Scale 3", sfWholeTitle, "Scale 31", false},
    {"Scale 3", sfWholeTitle | sfCaseSensitive, "scale 3", false},
    {"Scale 3", sfWholeTitle | sfCaseSensitive, "Scale 3", true},
    // other bits are ignored
    {"scale", 0xFC, "Scale", true},
    // letters beyond ASCII, UTF-8
    {"ängst", 0, "ÄNGSTLICH", true},
    {"ängst", sfCaseSensitive, "ÄNGSTLICH", false},
    // an empty text finds nothing, not even an empty caption
    {"", 0, "Scale", false},
    {"", sfWholeTitle, "", false},
    {"", sfCaseSensitive, "Scale", false},
    {"", sfCaseSensitive | sfWholeTitle, "", false},
};

}  // namespace

TEST(NodeSearch, MatchesTheCaptionByTheFlags) {
    // A UTF-8 code page whose letters beyond ASCII have an upper case.
    const platform::CodePage saved = platform::CodePage::Current();
    platform::CodePage::SetCurrent(platform::CodePage("UTF-8"));
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    for (const MatchCase& c : kMatchCases) {
        SCOPED_TRACE(std::string(c.Text) + " / " + c.Caption + " flags " + std::to_string(c.Flags));
        EXPECT_EQ(TNodeSearch(c.Text, c.Flags, fotAnyObject).Matches(nkScale, c.Caption), c.Match);
    }
    std::setlocale(LC_CTYPE, locale.c_str());
    platform::CodePage::SetCurrent(saved);
}

TEST(NodeSearch, AKindTheCodeRefusesNeverMatches) {
    const TNodeSearch scales("Organisation", 0, fotScale);
    EXPECT_TRUE(scales.Matches(nkScale, "Organisation"));
    EXPECT_FALSE(scales.Matches(nkQuestion, "Organisation"));
    // Folders and roots are never found, whatever their caption.
    for (TNodeKind kind : {nkRoot, nkTestsRoot, nkScalesFolder, nkQuestionsFolder})
        EXPECT_FALSE(TNodeSearch("Scales", 0, fotAnyObject).Matches(kind, "Scales")) << NodeKindName(kind);
}
