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
            dense_[static_cast<std::size_t>(id)] = value;
        } else if (value == 0) {
            sparse_.erase(id);
        } else {
            sparse_[id] = value;
        }
    }
    int Add(std::int32_t id, int delta) {
        const int v = Get(id) + delta;
        Set(id, v);
        return v;
    }
    void Clear() {
        dense_.clear();
        sparse_.clear();
    }
    void Reserve(std::size_t n) { dense_.reserve(n + 1); }

private:
    bool IsDense(std::int32_t id) const { return id >= 0 && static_cast<std::size_t>(id) < dense_.size(); }
    // The vector at most doubles (plus a little) at a time, so one huge ID stays in the hash map.
    bool Fits(std::int32_t id) const {
        return id >= 0 && static_cast<std::size_t>(id) < 2 * dense_.size() + 4096;
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
};
