// The answer of the help file's reading process, as this side reads it: only a whole, well-formed
// answer within the bounds gives objects.
#include <gtest/gtest.h>

#include "platform/ChmReaderFrames.h"

namespace {

using platform::TChmObject;
using platform::TChmRefusal;

std::string Header(char tag, std::uint32_t length) {
    std::string s(1, tag);
    for (int i = 0; i < 4; ++i) s += static_cast<char>((length >> (8 * i)) & 0xFF);
    return s;
}

TEST(ChmReaderFrames, AWholeAnswerGivesItsObjectsInOrder) {
    const std::string answer = platform::ObjectFrame("/a.html", "<h1>A</h1>") + platform::ObjectFrame("/#SYSTEM", "") +
                               platform::ObjectFrame("/b.png", std::string("\0\x01\xFF", 3)) + platform::EndFrame(3);
    std::vector<TChmObject> objects;
    ASSERT_EQ(platform::ParseChmFrames(answer, objects), TChmRefusal::None);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0].Path, "/a.html");
    EXPECT_EQ(objects[0].Data, "<h1>A</h1>");
    EXPECT_EQ(objects[1].Path, "/#SYSTEM");
    EXPECT_EQ(objects[1].Data, "");
    EXPECT_EQ(objects[2].Data, std::string("\0\x01\xFF", 3));

    objects.push_back({"left over", ""});
    ASSERT_EQ(platform::ParseChmFrames(platform::EndFrame(0), objects), TChmRefusal::None);
    EXPECT_TRUE(objects.empty());
}

TEST(ChmReaderFrames, ARefusalOfTheReaderIsPassedOn) {
    for (const TChmRefusal reason : {TChmRefusal::NotHelpFile, TChmRefusal::Damaged, TChmRefusal::TooMuchContent}) {
        std::vector<TChmObject> objects;
        EXPECT_EQ(platform::ParseChmFrames(platform::ObjectFrame("/a.html", "x") + platform::RefusalFrame(reason), objects),
                  reason);
        EXPECT_TRUE(objects.empty());
    }
}

TEST(ChmReaderFrames, AMalformedOrOversizedAnswerIsRefused) {
    const std::string one = platform::ObjectFrame("/a.html", "x");
    const std::string end = platform::EndFrame(1);
    const std::string big(platform::kMaxChmObjectSize + 1, 'x');
    std::string many;
    for (std::size_t i = 0; i <= platform::kMaxChmObjects; ++i) many += platform::ObjectFrame("/p", "");
    std::string heavy;
    for (int i = 0; i < 5; ++i) heavy += platform::ObjectFrame("/p", std::string(platform::kMaxChmObjectSize, 'x'));
    const std::pair<const char*, std::string> cases[] = {
        {"nothing", ""},
        {"no end", one},
        {"cut inside a header", one + end.substr(0, 3)},
        {"cut inside a payload", one + end.substr(0, end.size() - 1)},
        {"a length past the answer", one + Header('E', 0xFFFFFFFF) + std::string(4, '\0')},
        {"a count that does not match", one + platform::EndFrame(2)},
        {"something after the end", one + end + one},
        {"an unknown frame", one + Header('X', 0) + end},
        {"an object without a path", Header('O', 2) + std::string(2, '\0') + platform::EndFrame(1)},
        {"a path longer than its object", Header('O', 3) + "\x05\x00" "a" + platform::EndFrame(1)},
        {"a path too long", platform::ObjectFrame(std::string(platform::kMaxChmPath + 1, 'a'), "") + end},
        {"a refusal without a reason", Header('R', 0)},
        {"a refusal the reader cannot give", platform::RefusalFrame(TChmRefusal::ReaderTimedOut)},
        {"a refusal followed by more", platform::RefusalFrame(TChmRefusal::Damaged) + end},
        {"an end of the wrong size", one + Header('E', 2) + std::string(2, '\0')},
    };
    for (const auto& [name, answer] : cases) {
        std::vector<TChmObject> objects;
        EXPECT_EQ(platform::ParseChmFrames(answer, objects), TChmRefusal::ReaderFailed) << name;
        EXPECT_TRUE(objects.empty()) << name;
    }
    const std::pair<const char*, std::string> tooMuch[] = {
        {"an object too large", platform::ObjectFrame("/big", big) + end},
        {"too many objects", many + platform::EndFrame(static_cast<std::uint32_t>(platform::kMaxChmObjects + 1))},
        {"too much in all", heavy + platform::EndFrame(5)},
    };
    for (const auto& [name, answer] : tooMuch) {
        std::vector<TChmObject> objects;
        EXPECT_EQ(platform::ParseChmFrames(answer, objects), TChmRefusal::TooMuchContent) << name;
        EXPECT_TRUE(objects.empty()) << name;
    }
}

}  // namespace
