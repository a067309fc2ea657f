// The example project of the README: what it shows, and that samples/example.kvd is exactly
// what the program writes of it.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "app/ExampleProject.h"
#include "lang/VersionInformation.h"
#include "platform/ProgramFolder.h"
#include "store/FileAccess.h"
#include "tests/support/TempDir.h"

namespace {

// Every score a person can reach on the scale: each question answered by any allowed choice,
// or left without an answer when it may be.
std::set<double> PossibleScores(TFileAccess& store, std::int32_t testID, std::int32_t scaleID) {
    std::vector<std::vector<double>> perQuestion;
    for (int i = 0; i < store.CountStimuli(testID); ++i) {
        TStimul q;
        store.GetStimulus(store.GetStimulusID(testID, i), q);
        std::vector<double> values;
        for (int r = 0; r < store.Reactions.RecordCount(); ++r) {
            const TReaction& a = store.Reactions.At(r);
            if (a.ParentID != q.ID) continue;
            const double v = store.FindWeightValue(a.ID, scaleID);
            values.push_back(v == -99999 ? 0 : v);
        }
        std::set<double> sums;
        const int most = q.MultipleAnswers ? q.AnswersLimit : 1;
        const int n = static_cast<int>(values.size());
        for (int mask = 0; mask < (1 << n); ++mask) {
            if (__builtin_popcount(static_cast<unsigned>(mask)) > most) continue;
            if (mask == 0 && q.AnswerRequired) continue;
            double s = 0;
            for (int b = 0; b < n; ++b)
                if (mask & (1 << b)) s += values[static_cast<std::size_t>(b)];
            sums.insert(s);
        }
        perQuestion.emplace_back(sums.begin(), sums.end());
    }
    std::set<double> totals = {0};
    for (const auto& sums : perQuestion) {
        std::set<double> next;
        for (double t : totals)
            for (double s : sums) next.insert(t + s);
        totals = next;
    }
    return totals;
}

}  // namespace

TEST(ExampleProject, HasTwoTestsWithTheirNavigationRules) {
    TFileAccess store;
    FillExampleProject(store);
    ASSERT_EQ(store.TestGroups.RecordCount(), 1);
    ASSERT_EQ(store.Tests.RecordCount(), 2);
    const TTest& habits = store.Tests.At(0);
    const TTest& science = store.Tests.At(1);
    EXPECT_EQ(habits.MoveDirection, mdForwardOnly);
    EXPECT_EQ(science.MoveDirection, mdFree);
    EXPECT_TRUE(science.ReplayEnabled);
    bool multiple = false;
    for (int i = 0; i < store.Stimuli.RecordCount(); ++i) {
        const TStimul& q = store.Stimuli.At(i);
        if (q.ParentID == habits.ID) {
            EXPECT_TRUE(q.AnswerRequired) << q.Name;
        }
        if (q.ParentID == science.ID && q.MultipleAnswers) multiple = q.AnswersLimit == 2;
    }
    EXPECT_TRUE(multiple);
    ASSERT_EQ(store.Users.RecordCount(), 1);
    EXPECT_EQ(store.Users.At(0).Name, "admin");
}

TEST(ExampleProject, EveryPossibleScoreHasAnInterpretation) {
    TFileAccess store;
    FillExampleProject(store);
    ASSERT_GE(store.Scales.RecordCount(), 3);
    for (int i = 0; i < store.Scales.RecordCount(); ++i) {
        const TScale scale = store.Scales.At(i);
        const std::set<double> scores = PossibleScores(store, scale.ParentID, scale.ID);
        EXPECT_GT(scores.size(), 3u) << scale.Name;
        for (double score : scores)
            EXPECT_FALSE(store.GetInterpretationText(scale.ID, false, score).empty())
                << scale.Name << " score " << score;
    }
}

TEST(ExampleProject, TheSampleFileIsWhatTheProgramWrites) {
    const TVersionInformation version(platform::ProgramFile());
    const auto saved = StoreServices().ProgramProductInfo;
    StoreServices().ProgramProductInfo = [&] { return TProductInfo{version.ProductName, version.ProductVersion}; };
    TempDir dir;
    TFileAccess store(dir.File("example.kvd"), platform::FormatSettings::Posix());
    FillExampleProject(store);
    ASSERT_TRUE(store.SaveAll()) << store.LastError;
    StoreServices().ProgramProductInfo = saved;
    const std::string sample = ReadBytes(std::string(ORVEL_SOURCE_DIR) + "/samples/example.kvd");
    ASSERT_FALSE(sample.empty()) << "samples/example.kvd is missing";
    EXPECT_EQ(sample, ReadBytes(dir.File("example.kvd")))
        << "rewrite it: build/bin/orvel_make_example samples/example.kvd";

    TFileAccess loaded(std::string(ORVEL_SOURCE_DIR) + "/samples/example.kvd", platform::FormatSettings::Posix());
    ASSERT_TRUE(loaded.LoadAll()) << loaded.LastError;
    EXPECT_EQ(loaded.Tests.RecordCount(), 2);
}
