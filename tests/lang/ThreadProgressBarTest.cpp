#include "lang/ThreadProgressBar.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QProgressBar>

#include <vector>

namespace {

std::vector<int> GaugeValues(int steps, int calls) {
    TThreadProgressBar progress(steps);
    std::vector<int> out;
    for (int i = 0; i < calls; ++i) {
        progress.Step();
        out.push_back(progress.Window()->GaugeProcessBar->value());
    }
    return out;
}

}  // namespace

TEST(ThreadProgressBar, TheGaugeShowsTheExactPercentages) {
    EXPECT_EQ(GaugeValues(15, 16), (std::vector<int>{7, 13, 20, 27, 33, 40, 47, 53, 60, 67, 73, 80, 87, 93, 100, 100}));
    EXPECT_EQ(GaugeValues(7, 7), (std::vector<int>{14, 29, 43, 57, 71, 86, 100}));
    EXPECT_EQ(GaugeValues(8, 8), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(GaugeValues(2, 2), (std::vector<int>{50, 100}));
}

TEST(ThreadProgressBar, ZeroOrNegativeStepsDoNotDivideByZero) {
    EXPECT_EQ(GaugeValues(0, 2), (std::vector<int>{100, 100}));
    EXPECT_EQ(GaugeValues(-4, 1), (std::vector<int>{100}));
}

TEST(ThreadProgressBar, ShowsItsWindowAtOnceAndRemovesItWhenFreed) {
    QPointer<TFormProcessBar> window;
    {
        TThreadProgressBar progress(15);
        window = progress.Window();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->objectName(), "FormProcessBar");
        EXPECT_EQ(window->size(), QSize(267, 34));
        EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QProgressBar* gauge = window->GaugeProcessBar;
        EXPECT_EQ(gauge->objectName(), "GaugeProcessBar");
        EXPECT_EQ(gauge->geometry(), QRect(10, 10, 248, 14));
        EXPECT_EQ(gauge->value(), 0);
        EXPECT_EQ(gauge->text(), "0%");
        progress.Step();
        EXPECT_EQ(gauge->text(), "7%");
        EXPECT_EQ(progress.Position(), 1);
        EXPECT_EQ(progress.Steps(), 15);
    }
    EXPECT_FALSE(window);
}

TEST(ThreadProgressBar, CreatingAndFreeingRightAwayEndsTheThread) {
    // Each object starts a thread that must end as soon as the object is freed; were the wait
    // a polling one, this loop would take many of its periods.
    for (int i = 0; i < 200; ++i) {
        QPointer<TFormProcessBar> window;
        {
            TThreadProgressBar progress(1);
            window = progress.Window();
        }
        ASSERT_FALSE(window);
    }
}

TEST(ThreadProgressBar, TheProgramsFactoryMakesProgressWindows) {
    lang::InstallWindowProgress();
    {
        auto progress = lang::MakeProgress(7);
        auto* bar = dynamic_cast<TThreadProgressBar*>(progress.get());
        ASSERT_NE(bar, nullptr);
        progress->Step();
        EXPECT_EQ(bar->Window()->GaugeProcessBar->value(), 14);
    }
    lang::SetProgressFactory(nullptr);
    EXPECT_EQ(dynamic_cast<TThreadProgressBar*>(lang::MakeProgress(7).get()), nullptr);
}
