#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/RealNumbers.h"
#include "runner/ScoreSum.h"
#include "tests/runner/RunnerTestSupport.h"
#include "tests/support/StoreFixtures.h"

namespace {

struct SumRow {
    std::vector<double> Weights;
    double Expected;
};

// Sums whose plain binary total leaves a remainder, or differs by order.
const SumRow kSums[] = {
    {{}, 0},
    {{0.1, 0.2, -0.3}, 0},
    {{0.1, 0.1, 0.1, -0.3}, 0},
    {{1.1, 2.2, -3.3}, 0},
    {{0.7, 0.1, -0.8}, 0},
    {{-0.1, -0.2}, -0.3},
    {{0.1, 0.2}, 0.3},
    {{1e16, 1, -1e16}, 1},
    {{0.3, -0.1, -0.2, 1e-15}, 1e-15},
    {{123456.789, -123456.788}, 0.001},
    {{1e-20, -1e-20, 5}, 5},
    {{2.5, 7.5}, 10},
    {{0.1, 0.2, -0.3, 0.4, -0.4, 1.7}, 1.7},
    {{1e300, -1e300, 1e-300}, 1e-300},
    {{0.000001, 0.000002, -0.000003}, 0},
};

}  // namespace

TEST(ScoreSum, EveryOrderGivesTheHandSum) {
    for (const SumRow& row : kSums) {
        std::vector<std::size_t> order(row.Weights.size());
        std::iota(order.begin(), order.end(), 0u);
        do {
            TScoreSum sum;
            std::string terms;
            for (std::size_t k : order) {
                sum.Add(row.Weights[k]);
                terms += platform::FormatReal(row.Weights[k], {}) + " ";
            }
            EXPECT_EQ(sum.Value(), row.Expected) << terms;
            EXPECT_EQ(platform::FormatReal(sum.Value(), {}), platform::FormatReal(row.Expected, {})) << terms;
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

TEST(ScoreSum, TheTotalIsRoundedOnceToFifteenDigits) {
    TScoreSum sum;
    sum.Add(0.123456789012345);
    sum.Add(0.00000000000000049);   // below the 15th digit: rounds away
    EXPECT_EQ(sum.Value(), 0.123456789012345);
    TScoreSum up;
    up.Add(0.999999999999999);
    up.Add(0.0000000000000005);     // carries through every digit
    EXPECT_EQ(up.Value(), 1);
}

// A run of one multiple-choice question whose three answers weigh 0.1, 0.2 and -0.3 on one
// scale; its interpretation "None" holds exactly 0.
TEST(Scores, CancellingWeightsScoreZeroInEveryChoosingOrder) {
    for (const char* script : {"click:0 click:1 click:2", "click:2 click:1 click:0", "click:1 click:2 click:0",
                               "click:0 click:2 click:1"}) {
        TRunnerTestEnvironment env;
        TFileAccess store;
        FillSixQuestions(store, {3, true, {}, true, 3});
        store.Scales.AddScale(Item<TScale>(1, kSixTestID, "Scale"));
        TInterpretation none = Item<TInterpretation>(1, 1, "None");
        none.Minimum = 0;
        none.Maximum = 0;
        store.Interpretations.AddInterpretation(none);
        const double values[] = {0.1, 0.2, -0.3};
        for (int a = 0; a < 3; ++a) {
            TWeight w = Item<TWeight>(a + 1, AnswerID(0, a), "");
            w.ScaleID = 1;
            w.Value = values[a];
            store.Weights.AddWeight(w);
        }
        TRunnerRig rig(store, kSixTestID);
        rig.Run("start next");
        rig.Run(script);
        ASSERT_EQ(rig.Runner->Chosen().size(), 3u) << script;
        const auto scores = rig.Runner->ComputeScores();
        ASSERT_EQ(scores.size(), 1u);
        EXPECT_EQ(scores[0].Score, 0) << script;
        EXPECT_EQ(rig.Runner->InterpretationOf(1, scores[0].Score), "None") << script;
        const std::string results = rig.Runner->ResultsTemplate(0);
        EXPECT_NE(results.find("Scale - 0&&&&&"), std::string::npos) << results;
        EXPECT_NE(results.find("None&&&&&"), std::string::npos) << results;
    }
}
