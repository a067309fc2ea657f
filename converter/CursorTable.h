#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "converter/RecordKinds.h"

namespace vantrel {

// What the old tables and the 1.4.2 tables share: an ordered list of owned records with a
// cursor, a stack of saved cursor positions and a Modified flag, the reads of the current
// record and the few changes the library makes.
template <typename K>
class TRecordTableOf {
public:
    using Object = TObjectOf<K>;

    TRecordTableOf() = default;
    virtual ~TRecordTableOf() = default;
    TRecordTableOf(const TRecordTableOf&) = delete;
    TRecordTableOf& operator=(const TRecordTableOf&) = delete;

    int RecordCount() const { return static_cast<int>(records_.size()); }
    int Cursor() const { return cursor_; }
    bool First() {
        if (records_.empty()) return false;
        cursor_ = 0;
        return true;
    }
    bool Next() {
        if (cursor_ + 1 >= RecordCount()) return false;
        ++cursor_;
        return true;
    }
    void SavePosition() { positions_.push_back(cursor_); }
    // An empty stack restores -99999, which is no record.
    void RestorePosition() {
        if (positions_.empty()) {
            cursor_ = -99999;
            return;
        }
        cursor_ = positions_.back();
        positions_.pop_back();
    }
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }

    // Frees the current record and removes it; the cursor keeps its index.
    virtual bool Delete() {
        Current();
        records_.erase(records_.begin() + cursor_);
        firstIndex_.clear();
        modified_ = true;
        return true;
    }

    const Object& RecordAt(int i) const { return *records_.at(static_cast<std::size_t>(i)); }
    // Frees every record; Modified and the cursor are left as they are.
    void Clear() {
        records_.clear();
        ForgetIndex();
    }
    // Room for n records in all, so that appending them does not move the list.
    void Reserve(int n) { records_.reserve(static_cast<std::size_t>(std::max(n, 0))); }
    // Hands over every record and leaves the table empty, as Clear does.
    std::vector<std::unique_ptr<Object>> TakeRecords() {
        std::vector<std::unique_ptr<Object>> out = std::move(records_);
        Clear();
        return out;
    }

protected:
    const Object& Current() const {
        if (cursor_ < 0 || cursor_ >= RecordCount())
            throw std::out_of_range("List index out of bounds (" + std::to_string(cursor_) + ")");
        return *records_[static_cast<std::size_t>(cursor_)];
    }
    Object& Current() { return const_cast<Object&>(static_cast<const TRecordTableOf&>(*this).Current()); }

    // Appends a record, sets Modified, and makes it current.
    void Append(std::unique_ptr<Object> rec) {
        if (!firstIndex_.empty()) firstIndex_.try_emplace(rec->ID, RecordCount());
        records_.push_back(std::move(rec));
        modified_ = true;
        cursor_ = RecordCount() - 1;
    }

    // Index of the first record with this ID, or -1; a map built once and kept up by Append, so
    // that looking up every record of a large table stays linear.
    int IndexOfID(std::int32_t id) const {
        if (firstIndex_.empty() && !records_.empty()) {
            firstIndex_.reserve(records_.size());
            for (int i = 0; i < RecordCount(); ++i) firstIndex_.try_emplace(records_[static_cast<std::size_t>(i)]->ID, i);
        }
        const auto it = firstIndex_.find(id);
        return it == firstIndex_.end() ? -1 : it->second;
    }
    void ForgetIndex() { firstIndex_.clear(); }

    std::vector<std::unique_ptr<Object>> records_;
    int cursor_ = 0;
    std::vector<int> positions_;
    bool modified_ = false;

private:
    mutable std::unordered_map<std::int32_t, int> firstIndex_;
};

template <typename K>
class TObjectTableOf : public TRecordTableOf<K> {
public:
    std::int32_t GetID() const { return this->Current().ID; }
    std::int32_t GetParentID() const { return this->Current().ParentID; }
    std::int32_t GetOrder() const { return this->Current().Order; }
    const std::string& GetName() const { return this->Current().Name; }
    const std::string& GetDescription() const { return this->Current().Description; }
    void SetDescription(std::string description) {
        this->Current().Description = std::move(description);
        this->modified_ = true;
    }
    void GoLast() { this->cursor_ = this->RecordCount() - 1; }

    // Overwrites the four common fields of the current record.
    virtual void EditObject(std::int32_t id, std::int32_t parentID, std::int32_t order, const std::string& name) {
        auto& cur = this->Current();
        cur.ID = id;
        cur.ParentID = parentID;
        cur.Order = order;
        cur.Name = name;
        this->ForgetIndex();
        this->modified_ = true;
    }
    // Swaps the records at i and j when they differ and both exist.
    virtual void Exchange(int i, int j) {
        if (i == j || i < 0 || j < 0 || i >= this->RecordCount() || j >= this->RecordCount()) return;
        std::swap(this->records_[static_cast<std::size_t>(i)], this->records_[static_cast<std::size_t>(j)]);
        this->ForgetIndex();
        this->modified_ = true;
    }
};

// The parent of the tables of questions and answers; it adds nothing the library uses.
template <typename Base>
class TScreenElement : public Base {};

// A table of one kind of record: Add with every field, and the typed read of the current record.
template <typename Base, typename R>
class TKindTable : public Base {
public:
    using Record = R;
    // Description is set afterwards, with SetDescription.
    void Add(R rec) { this->Append(std::make_unique<R>(std::move(rec))); }
    const R& GetRecordOf() const { return static_cast<const R&>(this->Current()); }
    const R& At(int i) const { return static_cast<const R&>(this->RecordAt(i)); }
};

}  // namespace vantrel
