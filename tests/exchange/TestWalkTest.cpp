#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "exchange/TestWalk.h"
#include "platform/Exception.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/StoreFixtures.h"

namespace {

// The walk as a line per item: kind and ID.
class Recorder : public TTestVisitor {
public:
    std::vector<std::string> Lines;
    void Test(const TTest& t) override { Add("test", t.ID); }
    void BeginScale(const TScale& s) override { Add("scale", s.ID); }
    void Interpretation(const TInterpretation& in) override { Add("interpretation", in.ID); }
    void BeginStimulus(const TStimul& s) override { Add("stimulus", s.ID); }
    void BeginReaction(const TReaction& r) override { Add("reaction", r.ID); }
    void Weight(const TWeight& w) override { Add("weight", w.ID); }

private:
    void Add(const char* kind, std::int32_t id) { Lines.push_back(std::string(kind) + " " + std::to_string(id)); }
};

// The same, as the store's lists give the children, one query at a time.
std::vector<std::string> ByStoreLists(const TFileAccess& s, std::int32_t testID) {
    std::vector<std::string> lines{"test " + std::to_string(testID)};
    const auto each = [](auto list, auto then) {
        TTypeIntegerSingleList ids;
        list(ids);
        for (int id : IdsOf(ids)) then(id);
    };
    each([&](auto& ids) { s.ListScales(testID, &ids, nullptr, nullptr); }, [&](int scale) {
        lines.push_back("scale " + std::to_string(scale));
        each([&](auto& ids) { s.ListInterpretations(scale, &ids, nullptr); },
             [&](int in) { lines.push_back("interpretation " + std::to_string(in)); });
    });
    each([&](auto& ids) { s.ListStimuli(testID, &ids, nullptr); }, [&](int stimulus) {
        lines.push_back("stimulus " + std::to_string(stimulus));
        each([&](auto& ids) { s.ListReactions(stimulus, &ids, nullptr); }, [&](int reaction) {
            lines.push_back("reaction " + std::to_string(reaction));
            each([&](auto& ids) { s.ListWeights(reaction, &ids, nullptr); },
                 [&](int weight) { lines.push_back("weight " + std::to_string(weight)); });
        });
    });
    return lines;
}

}  // namespace

TEST(TestWalk, VisitsWhatTheStoresListsGiveInTheirOrderOnRandomStores) {
    std::mt19937 rng(16);
    int walked = 0;
    for (int round = 0; round < 200; ++round) {
        TFileAccess s;
        GenerateRandomStore(s, rng);
        for (int i = 0; i < s.Tests.RecordCount(); ++i) {
            const std::int32_t id = s.Tests.At(i).ID;
            Recorder r;
            WalkTest(s, id, r);
            ASSERT_EQ(r.Lines, ByStoreLists(s, id)) << "round " << round << ", test " << id;
            ASSERT_EQ(UntrueCaches(s), "") << "round " << round << ", test " << id;
            ++walked;
        }
    }
    EXPECT_GT(walked, 100);
}

TEST(TestWalk, ATestThatDoesNotExistIsAFailure) {
    TFileAccess s;
    FillTwoTests(s);
    Recorder r;
    EXPECT_THROW(WalkTest(s, 404, r), Exception);
    EXPECT_TRUE(r.Lines.empty());
}
