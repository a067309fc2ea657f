#include "lang/Progress.h"

#include <gtest/gtest.h>

#include <vector>

#include "lang/Rounding.h"

namespace {

std::vector<int> Percentages(int steps, int calls) {
    lang::TProgressCounter counter(steps);
    std::vector<int> out;
    for (int i = 0; i < calls; ++i) out.push_back(counter.Step());
    return out;
}

}  // namespace

TEST(Progress, PercentagesOfEachStep) {
    EXPECT_EQ(Percentages(15, 16), (std::vector<int>{7, 13, 20, 27, 33, 40, 47, 53, 60, 67, 73, 80, 87, 93, 100, 100}));
    EXPECT_EQ(Percentages(7, 7), (std::vector<int>{14, 29, 43, 57, 71, 86, 100}));
    EXPECT_EQ(Percentages(8, 8), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(Percentages(2, 3), (std::vector<int>{50, 100, 100}));
}

TEST(Progress, NoStepsDoNotDivideByZero) {
    for (int steps : {0, -1, -1000}) {
        lang::TProgressCounter counter(steps);
        EXPECT_EQ(counter.Percent(), 0);
        EXPECT_EQ(counter.Step(), 100);
        EXPECT_EQ(counter.Step(), 100);
        EXPECT_EQ(counter.Position(), 1);
    }
}

TEST(Progress, PositionStopsAtSteps) {
    lang::TProgressCounter counter(3);
    for (int i = 0; i < 10; ++i) counter.Step();
    EXPECT_EQ(counter.Position(), 3);
    EXPECT_EQ(counter.Percent(), 100);
}

TEST(Progress, RoundsHalvesToEven) {
    struct Case {
        long long num, den, expected;
    };
    const Case cases[] = {{25, 2, 12}, {75, 2, 38}, {5, 2, 2}, {7, 2, 4}, {1, 3, 0}, {2, 3, 1},
                          {-5, 2, -2}, {-7, 2, -4}, {-1, 3, 0}, {5, -2, -2}, {0, 7, 0}};
    for (const Case& c : cases) EXPECT_EQ(lang::RoundHalfEven(c.num, c.den), c.expected) << c.num << "/" << c.den;
}

namespace {

class FakeProgress : public lang::IProgress {
public:
    explicit FakeProgress(std::vector<int>& log) : log_(log) {}
    void Step() override { log_.push_back(1); }

private:
    std::vector<int>& log_;
};

}  // namespace

TEST(Progress, MakeProgressUsesTheInstalledFactory) {
    std::vector<int> asked;
    std::vector<int> steps;
    lang::SetProgressFactory([&](int n) -> std::unique_ptr<lang::IProgress> {
        asked.push_back(n);
        return std::make_unique<FakeProgress>(steps);
    });
    auto p = lang::MakeProgress(15);
    p->Step();
    p->Step();
    EXPECT_EQ(asked, std::vector<int>{15});
    EXPECT_EQ(steps.size(), 2u);

    lang::SetProgressFactory(nullptr);
    auto silent = lang::MakeProgress(7);
    ASSERT_NE(silent, nullptr);
    silent->Step();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(steps.size(), 2u);
}
