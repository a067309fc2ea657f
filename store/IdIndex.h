#pragma once
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

// A map from record IDs to small integers. IDs are mostly dense from 1 upward, so those live in a
// vector; the rare large or negative ones in a hash map. A missing ID reads as 0.
class TIdIndex {
public:
    int Get(std::int32_t id) const {
        if (IsDense(id)) return dense_[static_cast<std::size_t>(id)];
        auto it = sparse_.find(id);
        return it == sparse_.end() ? 0 : it->second;
    }
    void Set(std::int32_t id, int value) {
        if (Fits(id)) {
            Grow(id);
            int& slot = dense_[static_cast<std::size_t>(id)];
            if (slot == 0 && value != 0) ++entries_;
            else if (slot != 0 && value == 0) --entries_;
            slot = value;
        } else if (value == 0) {
            entries_ -= sparse_.erase(id);
        } else {
            const auto [it, added] = sparse_.try_emplace(id, value);
            if (added) ++entries_;
            else it->second = value;
        }
    }
    // Sets the value of id to 1 when it has none; False, and nothing changed, when it has one.
    bool SetFirst(std::int32_t id) {
        if (IsDense(id)) {
            int& slot = dense_[static_cast<std::size_t>(id)];
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
    }
    void Reserve(std::size_t n) { dense_.reserve(n + 1); }
    // Makes the vector hold the IDs 0 .. maxId at once. Filling an index from high IDs down would
    // otherwise put them all in the hash map and move them over again at every growth.
    void ReserveIds(std::int32_t maxId) {
        if (maxId >= 0) Grow(maxId);
    }

private:
    bool IsDense(std::int32_t id) const { return id >= 0 && static_cast<std::size_t>(id) < dense_.size(); }
    // The vector reaches a little beyond twice its size or twice the number of IDs held, so one
    // huge ID stays in the hash map, while IDs that come from the top down soon move to the vector.
    bool Fits(std::int32_t id) const {
        return id >= 0 && static_cast<std::size_t>(id) < 2 * std::max(dense_.size(), entries_) + 4096;
    }
    void Grow(std::int32_t id) {
        const auto need = static_cast<std::size_t>(id) + 1;
        if (need > dense_.size()) {
            // Move any sparse entries that now fall in the dense range.
            const std::size_t newSize = std::max(need, dense_.size() * 2);
            const std::size_t old = dense_.size();
            dense_.resize(newSize, 0);
            for (auto it = sparse_.begin(); it != sparse_.end();) {
                if (it->first >= 0 && static_cast<std::size_t>(it->first) >= old &&
                    static_cast<std::size_t>(it->first) < newSize) {
                    dense_[static_cast<std::size_t>(it->first)] = it->second;
                    it = sparse_.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }

    std::vector<int> dense_;
    std::unordered_map<std::int32_t, int> sparse_;
    std::size_t entries_ = 0;   // IDs with a value other than 0
};
