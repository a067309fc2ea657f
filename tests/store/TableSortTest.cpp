#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "store/Tables.h"

namespace {

using Key = std::pair<int, int>;   // (ParentID, Order)

// The sort as the data file's order is defined: two selection sorts through Exchange, written out
// step by step without any index. Returns the resulting order of original positions and whether
// anything was exchanged.
std::pair<std::vector<int>, bool> ReferenceSort(const std::vector<Key>& keys) {
    struct Rec {
        int parent, order, origin;
    };
    std::vector<Rec> r;
    for (std::size_t i = 0; i < keys.size(); ++i) r.push_back({keys[i].first, keys[i].second, int(i)});
    const int n = int(r.size());
    bool modified = false;
    const auto exchange = [&](int i, int j) {
        if (i != j && i < n && j < n) {
            std::swap(r[i], r[j]);
            modified = true;
        }
    };
    std::vector<int> parents, starts;
    int lastParent = -99999;
    for (int i = 0; i < n; ++i) {
        int min = 999999999, c = i;
        for (int j = i; j < n; ++j)
            if (r[j].parent <= min) {
                min = r[j].parent;
                c = j;
            }
        if (c != i) exchange(i, c);
        if (min != lastParent) {
            parents.push_back(min);
            starts.push_back(i);
            lastParent = min;
        }
    }
    for (std::size_t g = 0; g < starts.size(); ++g) {
        const int from = starts[g];
        const int to = g + 1 < starts.size() ? starts[g + 1] - 1 : n - 1;
        for (int j = from; j <= to; ++j) {
            int min = 999999999, c = j;
            for (int k = j; k <= to; ++k)
                if (r[k].order < min) {
                    min = r[k].order;
                    c = k;
                }
            if (c != j) exchange(j, c);
        }
    }
    std::vector<int> origins;
    for (const auto& x : r) origins.push_back(x.origin);
    return {origins, modified};
}

// Sorts a table of these keys; IDs are the original positions + 1.
std::pair<std::vector<int>, bool> TableSort(const std::vector<Key>& keys) {
    TScaleTable t;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        TScale s;
        s.ID = int(i) + 1;
        s.ParentID = keys[i].first;
        s.Order = keys[i].second;
        t.AddScale(s);
    }
    t.SetModified(false);
    t.Sort();
    std::vector<int> origins;
    for (int i = 0; i < t.RecordCount(); ++i) origins.push_back(t.At(i).ID - 1);
    return {origins, t.Modified()};
}

bool InOrder(const std::vector<Key>& keys) {
    TScaleTable t;
    for (const auto& [parent, order] : keys) {
        TScale s;
        s.ID = t.NewID();
        s.ParentID = parent;
        s.Order = order;
        t.AddScale(s);
    }
    return t.IsInOrder();
}

std::vector<Key> Apply(const std::vector<Key>& keys, const std::vector<int>& origins) {
    std::vector<Key> out;
    for (int o : origins) out.push_back(keys[o]);
    return out;
}

}  // namespace

TEST(TableSort, DescribedCases) {
    struct Case {
        std::vector<Key> in;
        std::vector<int> origins;   // expected order of the original records
        bool modified;
    };
    const Case cases[] = {
        // A, B, C all of parent 5 and order 0 come out as C, A, B.
        {{{5, 0}, {5, 0}, {5, 0}}, {2, 0, 1}, true},
        {{{7, 1}, {3, 0}, {7, 0}, {3, 2}, {3, 1}}, {1, 4, 3, 2, 0}, true},
        // The lone record of parent 4 starts a group of its own.
        {{{3, 1}, {3, 0}, {4, 0}, {5, 2}, {5, 1}}, {1, 0, 2, 4, 3}, true},
        // In order, one record per parent: nothing moves.
        {{{1, 0}, {2, 5}, {3, 1}}, {0, 1, 2}, false},
        // In order, but a parent with two records: exchanged on the way, so Modified.
        {{{1, 0}, {1, 1}, {2, 0}}, {0, 1, 2}, true},
        {{}, {}, false},
    };
    for (const auto& c : cases) {
        const auto [origins, modified] = TableSort(c.in);
        const auto sorted = Apply(c.in, origins);
        EXPECT_EQ(InOrder(c.in), std::is_sorted(c.in.begin(), c.in.end()));
        EXPECT_TRUE(InOrder(sorted));
        EXPECT_EQ(origins, c.origins);
        EXPECT_EQ(modified, c.modified);
        EXPECT_EQ(ReferenceSort(c.in), std::make_pair(c.origins, c.modified));
    }
}

TEST(TableSort, EqualsTheSelectionSortsOnRandomTablesWithTies) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 1500; ++round) {
        const int n = int(rng() % 60);
        const int parentRange = 1 + int(rng() % 6);
        const int orderRange = 1 + int(rng() % 5);
        std::vector<Key> keys;
        for (int i = 0; i < n; ++i)
            keys.push_back({int(rng() % parentRange) - 1, int(rng() % orderRange) - int(rng() % 2)});
        const auto expected = ReferenceSort(keys);
        const auto actual = TableSort(keys);
        ASSERT_EQ(actual.first, expected.first) << "round " << round;
        ASSERT_EQ(actual.second, expected.second) << "round " << round;
        const auto sorted = Apply(keys, actual.first);
        ASSERT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
        ASSERT_EQ(InOrder(keys), std::is_sorted(keys.begin(), keys.end())) << "round " << round;
    }
}

// Records appended parent by parent (a copied test, an import): parents already in rising order,
// orders of each parent mixed, groups small and large.
TEST(TableSort, EqualsTheSelectionSortsWhenParentsAreAlreadyGrouped) {
    std::mt19937 rng(77);
    for (int round = 0; round < 1500; ++round) {
        const int n = int(rng() % 80);
        const int orderRange = 1 + int(rng() % 8);
        std::vector<Key> keys;
        int parent = int(rng() % 3) - 1;
        for (int i = 0; i < n; ++i) {
            if (rng() % (1 + rng() % 40) == 0) parent += 1 + int(rng() % 2);
            keys.push_back({parent, round % 5 == 0 ? i : int(rng() % orderRange) - int(rng() % 2)});
        }
        const auto expected = ReferenceSort(keys);
        const auto actual = TableSort(keys);
        ASSERT_EQ(actual.first, expected.first) << "round " << round;
        ASSERT_EQ(actual.second, expected.second) << "round " << round;
    }
}

TEST(TableSort, SortedTableStillLocatesById) {
    TScaleTable t;
    for (int i = 0; i < 50; ++i) {
        TScale s;
        s.ID = i + 1;
        s.ParentID = 50 - i;
        t.AddScale(s);
    }
    t.Sort();
    ASSERT_TRUE(t.Locate(1));
    EXPECT_EQ(t.Cursor(), 49);
    EXPECT_EQ(t.IndexesOfParent(50), std::vector<int>{49});
}
