#pragma once
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

// A map from record IDs to small integers. IDs mostly lie in one dense run (from 1 upward in a
// project, higher up in a store that holds one copied test), so those live in a vector that
// starts at the run; the rare stray or negative ones in a hash map. A missing ID reads as 0.
class TIdIndex {
public:
    int Get(std::int32_t id) const {
        if (IsDense(id)) return dense_[Slot(id)];
        auto it = sparse_.find(id);
        return it == sparse_.end() ? 0 : it->second;
    }
    void Set(std::int32_t id, int value) {
        if (Fits(id)) {
            Cover(id);
            int& slot = dense_[Slot(id)];
            if (slot == 0 && value != 0) ++entries_;
            else if (slot != 0 && value == 0) --entries_;
            slot = value;
        } else if (value == 0) {
            entries_ -= sparse_.erase(id);
        } else {
            const auto [it, added] = sparse_.try_emplace(id, value);
            if (added) ++entries_;
            else it->second = value;
            if (sparse_.size() >= recenterAt_) Recenter();
        }
    }
    // Sets the value of id to 1 when it has none; False, and nothing changed, when it has one.
    bool SetFirst(std::int32_t id) {
        if (IsDense(id)) {
            int& slot = dense_[Slot(id)];
            if (slot != 0) return false;
            slot = 1;
            ++entries_;
            return true;
        }
        if (Get(id) != 0) return false;
        Set(id, 1);
        return true;
    }
    int Add(std::int32_t id, int delta) {
        const int v = Get(id) + delta;
        Set(id, v);
        return v;
    }
    // How many IDs have a value other than 0.
    std::size_t Size() const { return entries_; }
    void Clear() {
        dense_.clear();
        sparse_.clear();
        entries_ = 0;
        base_ = 0;
        recenterAt_ = kStray;
    }
    void Reserve(std::size_t n) { dense_.reserve(n + 1); }
    // Makes the vector hold the IDs lo .. hi at once (0 .. hi when lo is small). Filling an index
    // from high IDs down would otherwise put them all in the hash map and move them over again at
    // every growth.
    void ReserveIds(std::int32_t lo, std::int32_t hi) {
        if (lo < 0 || hi < lo) return;
        Cover(lo);
        Cover(hi);
    }

private:
    static constexpr std::size_t kStray = 4096;   // how far beyond the run an ID still joins it

    std::size_t Slot(std::int32_t id) const { return static_cast<std::size_t>(id - base_); }
    bool IsDense(std::int32_t id) const { return id >= base_ && Slot(id) < dense_.size(); }
    // The vector reaches a little beyond twice its size or twice the number of IDs held on
    // either side, so one huge ID stays in the hash map, while IDs that come from the top down
    // soon move to the vector. The first ID of an empty index starts the run.
    bool Fits(std::int32_t id) const {
        if (id < 0) return false;
        if (dense_.empty()) return sparse_.empty() || id < static_cast<std::int32_t>(kStray);
        const std::int64_t reach = 2 * static_cast<std::int64_t>(std::max(dense_.size(), entries_)) + kStray;
        return id >= base_ - reach && id < base_ + static_cast<std::int64_t>(dense_.size()) + reach;
    }
    // Makes the vector's run hold id, growing it to at least twice its size.
    void Cover(std::int32_t id) {
        if (dense_.empty()) {
            base_ = id < static_cast<std::int32_t>(kStray) ? 0 : id;
            dense_.assign(static_cast<std::size_t>(id - base_) + 1, 0);
        } else if (id < base_) {
            const std::int64_t grow = std::max<std::int64_t>(base_ - id, static_cast<std::int64_t>(dense_.size()));
            const auto newBase = static_cast<std::int32_t>(std::max<std::int64_t>(0, base_ - grow));
            dense_.insert(dense_.begin(), static_cast<std::size_t>(base_ - newBase), 0);
            base_ = newBase;
        } else if (Slot(id) >= dense_.size()) {
            dense_.resize(std::max(Slot(id) + 1, dense_.size() * 2), 0);
        } else {
            return;
        }
        MoveIntoRun();
    }
    // The hash map's entries that fall in the vector's run move over.
    void MoveIntoRun() {
        for (auto it = sparse_.begin(); it != sparse_.end();) {
            if (IsDense(it->first)) {
                dense_[Slot(it->first)] = it->second;
                it = sparse_.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Many IDs ended in the hash map: when more of them lie in one run than in the vector's, the
    // vector takes that run instead, and whatever falls outside it goes to the hash map.
    void Recenter() {
        recenterAt_ = 2 * sparse_.size();
        std::vector<std::int32_t> ids;
        std::size_t inVector = 0;
        for (const auto& entry : sparse_)
            if (entry.first >= 0) ids.push_back(entry.first);
        for (std::size_t i = 0; i < dense_.size(); ++i)
            if (dense_[i] != 0) {
                ids.push_back(static_cast<std::int32_t>(base_ + static_cast<std::int64_t>(i)));
                ++inVector;
            }
        std::sort(ids.begin(), ids.end());
        // The run of that width holding the most IDs.
        const auto width = static_cast<std::int64_t>(2 * ids.size() + kStray);
        std::size_t best = 0, from = 0;
        for (std::size_t i = 0, j = 0; j < ids.size(); ++j) {
            while (static_cast<std::int64_t>(ids[j]) - ids[i] >= width) ++i;
            if (j - i + 1 > best) {
                best = j - i + 1;
                from = i;
            }
        }
        if (best <= inVector) return;
        for (std::size_t i = 0; i < dense_.size(); ++i)
            if (dense_[i] != 0) sparse_.emplace(static_cast<std::int32_t>(base_ + static_cast<std::int64_t>(i)), dense_[i]);
        base_ = ids[from];
        dense_.assign(static_cast<std::size_t>(ids[from + best - 1] - base_) + 1, 0);
        MoveIntoRun();
    }

    std::vector<int> dense_;   // the values of the IDs base_ .. base_ + size - 1
    std::int32_t base_ = 0;
    std::unordered_map<std::int32_t, int> sparse_;
    std::size_t entries_ = 0;   // IDs with a value other than 0
    std::size_t recenterAt_ = kStray;
};
