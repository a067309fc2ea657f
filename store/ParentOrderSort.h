#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

// The order of the records in a data file: by parent, then by order among the records of one
// parent. Both passes are selection sorts that swap the chosen record into place, so the order of
// records with equal keys depends on those swaps. A tournament tree over the positions finds each
// step's choice in O(log n); the swaps, and so the result, are exactly those of the plain
// selection sort. The program's store and the converter's store both sort this way.
namespace parentordersort {

class SelectionTree {
public:
    // Positions from..to of keys; among equal keys the last (lastOfEqual) or the first wins.
    SelectionTree(const std::vector<std::int32_t>& keys, int from, int to, bool lastOfEqual)
        : keys_(keys), from_(from), lastOfEqual_(lastOfEqual) {
        const int n = to - from + 1;
        while (size_ < n) size_ <<= 1;
        node_.assign(2 * static_cast<std::size_t>(size_), -1);
        for (int i = 0; i < n; ++i) node_[static_cast<std::size_t>(size_ + i)] = from + i;
        for (int k = size_ - 1; k >= 1; --k) node_[k] = Pick(node_[2 * k], node_[2 * k + 1]);
    }
    int Best() const { return node_[1]; }
    void Remove(int pos) { Set(pos, -1); }
    void Refresh(int pos) { Set(pos, pos); }

private:
    int Pick(int a, int b) const {
        if (a < 0) return b;
        if (b < 0) return a;
        if (keys_[a] != keys_[b]) return keys_[a] < keys_[b] ? a : b;
        return lastOfEqual_ ? std::max(a, b) : std::min(a, b);
    }
    void Set(int pos, int value) {
        std::size_t k = static_cast<std::size_t>(size_ + pos - from_);
        node_[k] = value;
        for (k >>= 1; k >= 1; k >>= 1) node_[k] = Pick(node_[2 * k], node_[2 * k + 1]);
    }

    const std::vector<std::int32_t>& keys_;
    int from_;
    bool lastOfEqual_;
    int size_ = 1;
    std::vector<int> node_;
};

constexpr std::int32_t kSortSentinel = 999999999;
constexpr int kSmallGroup = 16;   // records of one parent sorted without a tree

// True when the n records stand by parent, then order (ties in any order). The sort moves records
// with equal keys on every pass, so a table in order is best left as it is: saving unchanged data
// again then writes the same file.
template <typename ParentAt, typename OrderAt>
bool IsInOrder(int n, ParentAt parentAt, OrderAt orderAt) {
    for (int i = 1; i < n; ++i) {
        const std::int32_t a = parentAt(i - 1);
        const std::int32_t b = parentAt(i);
        if (a > b || (a == b && orderAt(i - 1) > orderAt(i))) return false;
    }
    return true;
}

// Sorts n records: parentAt(i) and orderAt(i) read the keys of the record at i, exchange(i, j)
// swaps two records. Returns true when a record moved.
template <typename ParentAt, typename OrderAt, typename Exchange>
bool Sort(int n, ParentAt parentAt, OrderAt orderAt, Exchange exchange) {
    if (n <= 0) return false;
    bool moved = false;
    const auto swapRecords = [&](std::vector<std::int32_t>& keys, int i, int c) {
        exchange(i, c);
        std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(c)]);
        moved = true;
    };

    // First pass: by ParentID; among equal smallest parents the last one is taken.
    std::vector<std::int32_t> parents(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) parents[static_cast<std::size_t>(i)] = parentAt(i);
    std::vector<int> starts;
    std::int32_t lastParent = -99999;
    const auto placed = [&](int i) {
        if (parents[static_cast<std::size_t>(i)] != lastParent) {
            starts.push_back(i);
            lastParent = parents[static_cast<std::size_t>(i)];
        }
    };
    if (std::is_sorted(parents.begin(), parents.end())) {
        // Parents already grouped in rising order (records appended parent by parent): the choice
        // at each step is the last record of the run of equal parents that the step is in, and
        // the run keeps its parent while it is rotated, so no tree is needed to find it.
        int runEnd = -1;
        for (int i = 0; i < n; ++i) {
            if (i > runEnd)
                for (runEnd = i; runEnd + 1 < n && parents[static_cast<std::size_t>(runEnd + 1)] == parents[static_cast<std::size_t>(i)];)
                    ++runEnd;
            if (parents[static_cast<std::size_t>(runEnd)] > kSortSentinel) break;
            if (runEnd != i) swapRecords(parents, i, runEnd);
            placed(i);
        }
    } else {
        SelectionTree tree(parents, 0, n - 1, true);
        for (int i = 0; i < n; ++i) {
            const int c = tree.Best();
            if (c < 0 || parents[static_cast<std::size_t>(c)] > kSortSentinel) break;
            if (c != i) {
                swapRecords(parents, i, c);
                tree.Refresh(c);
            }
            tree.Remove(i);
            placed(i);
        }
    }

    // Second pass, within each group of one parent: by Order; among equal smallest the first.
    std::vector<std::int32_t> orders(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) orders[static_cast<std::size_t>(i)] = orderAt(i);
    for (std::size_t g = 0; g < starts.size(); ++g) {
        const int from = starts[g];
        const int to = g + 1 < starts.size() ? starts[g + 1] - 1 : n - 1;
        const auto first = orders.begin() + from, last = orders.begin() + to + 1;
        // In order already: each step's choice, the first of the smallest, is where it stands.
        if (std::is_sorted(first, last)) continue;
        if (to - from < kSmallGroup) {
            // A few records: the plain selection costs less than building a tree.
            for (int j = from; j <= to; ++j) {
                const int c = static_cast<int>(std::min_element(orders.begin() + j, last) - orders.begin());
                if (orders[static_cast<std::size_t>(c)] >= kSortSentinel) break;
                if (c != j) swapRecords(orders, j, c);
            }
            continue;
        }
        SelectionTree tree(orders, from, to, false);
        for (int j = from; j <= to; ++j) {
            const int c = tree.Best();
            if (c < 0 || orders[static_cast<std::size_t>(c)] >= kSortSentinel) break;
            if (c != j) {
                swapRecords(orders, j, c);
                tree.Refresh(c);
            }
            tree.Remove(j);
        }
    }
    return moved;
}

// The same on a vector of owned records that have ParentID and Order.
template <typename Records>
bool SortRecords(Records& records) {
    return Sort(
        static_cast<int>(records.size()), [&](int i) { return records[static_cast<std::size_t>(i)]->ParentID; },
        [&](int i) { return records[static_cast<std::size_t>(i)]->Order; },
        [&](int i, int j) { std::swap(records[static_cast<std::size_t>(i)], records[static_cast<std::size_t>(j)]); });
}

template <typename Records>
bool RecordsInOrder(const Records& records) {
    return IsInOrder(
        static_cast<int>(records.size()), [&](int i) { return records[static_cast<std::size_t>(i)]->ParentID; },
        [&](int i) { return records[static_cast<std::size_t>(i)]->Order; });
}

}  // namespace parentordersort
