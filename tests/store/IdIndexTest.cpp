#include <map>
#include <random>

#include <gtest/gtest.h>

#include "store/IdIndex.h"

// The index reads back what was set, and counts the IDs it holds, in whatever order the IDs
// come: rising, falling, huge, negative, and after values drop back to 0.
TEST(IdIndex, ReadsBackWhatWasSetInAnyOrder) {
    std::mt19937 rng(9);
    for (int round = 0; round < 200; ++round) {
        TIdIndex index;
        std::map<std::int32_t, int> expected;
        const int n = static_cast<int>(rng() % 20000);
        const bool falling = rng() % 2 == 0;
        // The run of IDs may start high up, as in a store that holds one copied test.
        const std::int32_t start = rng() % 3 == 0 ? static_cast<std::int32_t>(rng() % 500000) : 0;
        if (rng() % 3 == 0) {
            const auto lo = static_cast<std::int32_t>(rng() % 2 ? start : rng() % 30000);
            index.ReserveIds(lo, lo + static_cast<std::int32_t>(rng() % 30000));
        }
        // Now and then one ID apart from the run comes first.
        if (rng() % 4 == 0) {
            const auto lead = static_cast<std::int32_t>(start + n + 4200 + rng() % 8000);
            index.Set(lead, 7);
            expected[lead] = 7;
        }
        for (int k = 0; k < n; ++k) {
            std::int32_t id = start + (falling ? n - k : k);
            switch (rng() % 20) {
                case 0: id = static_cast<std::int32_t>(rng() % 2000000000); break;
                case 1: id = -static_cast<std::int32_t>(rng() % 1000); break;
                default: break;
            }
            if (rng() % 8 == 0) {
                // The first count of an ID, refused for one that has a value already.
                const bool fresh = expected.count(id) == 0;
                ASSERT_EQ(index.SetFirst(id), fresh) << "round " << round << " id " << id;
                if (fresh) expected[id] = 1;
                continue;
            }
            const int value = rng() % 10 == 0 ? 0 : static_cast<int>(rng() % 5) + 1;
            index.Set(id, value);
            if (value == 0) expected.erase(id);
            else expected[id] = value;
            if (rng() % 50 == 0) {
                const int v = index.Add(id, -1);
                if (v == 0) expected.erase(id);
                else expected[id] = v;
            }
        }
        for (const auto& [id, value] : expected) ASSERT_EQ(index.Get(id), value) << "round " << round << " id " << id;
        ASSERT_EQ(index.Get(start + n + 1), 0);
        ASSERT_EQ(index.Size(), expected.size()) << "round " << round;
        index.Clear();
        EXPECT_EQ(index.Size(), 0u);
        for (const auto& [id, value] : expected) ASSERT_EQ(index.Get(id), 0);
    }
}
