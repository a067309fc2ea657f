#include "platform/ParallelParts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(ParallelParts, EveryPartRunsOnceAndTheFirstRunsOnTheCallingThread) {
    for (std::size_t count : {0u, 1u, 2u, 7u, 33u}) {
        std::vector<std::atomic<int>> runs(count);
        std::thread::id first;
        platform::RunParts(count, [&](std::size_t i) {
            runs[i]++;
            if (i == 0) first = std::this_thread::get_id();
        });
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i].load(), 1) << "part " << i << " of " << count;
        if (count > 0) {
            EXPECT_EQ(first, std::this_thread::get_id());
        }
    }
}

TEST(ParallelParts, AllPartsEndBeforeTheFirstFailureByIndexIsThrown) {
    std::atomic<int> ended{0};
    try {
        platform::RunParts(6, [&](std::size_t i) {
            if (i == 4) throw std::runtime_error("part 4");
            if (i == 2) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));   // ends after part 4
                throw std::runtime_error("part 2");
            }
            ended++;
        });
        FAIL() << "no exception came back";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "part 2");
    }
    EXPECT_EQ(ended.load(), 4);
}

TEST(ParallelParts, UsefulPartsIsBetweenOneAndEight) {
    const std::size_t n = platform::UsefulParts();
    EXPECT_GE(n, 1u);
    EXPECT_LE(n, 8u);
}

}  // namespace
