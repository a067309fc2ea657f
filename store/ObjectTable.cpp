#include "store/ObjectTable.h"

#include <algorithm>

#include "store/ParentOrderSort.h"

// ---- TRecordTable

bool TRecordTable::First() {
    if (records_.empty()) return false;
    cursor_ = 0;
    return true;
}

bool TRecordTable::Next() {
    if (cursor_ + 1 >= RecordCount()) return false;
    ++cursor_;
    return true;
}

bool TRecordTable::Last() {
    if (records_.empty()) return false;
    cursor_ = RecordCount() - 1;
    return true;
}

bool TRecordTable::Prior() {
    if (cursor_ < 1) return false;
    --cursor_;
    return true;
}

void TRecordTable::RestorePosition() {
    const int n = positions_.GetCount();
    if (n == 0) {
        cursor_ = -99999;
        return;
    }
    cursor_ = positions_.Get(n - 1);
    positions_.DeleteCell(n - 1);
}

// ---- TObjectTable: current record

const TAnyObject& TObjectTable::Current() const {
    if (!HasCurrent()) throw Exception("List index out of bounds (" + std::to_string(cursor_) + ")");
    return *records_[static_cast<std::size_t>(cursor_)];
}

TAnyObject& TObjectTable::CurrentMutable() { return const_cast<TAnyObject&>(Current()); }

// ---- indexes

void TObjectTable::CountID(std::int32_t id) { idCount_.Add(id, 1); }

void TObjectTable::UncountID(std::int32_t id) {
    if (idCount_.Get(id) == 0) return;
    if (idCount_.Add(id, -1) == 0 && id >= 1 && id < freeHint_) freeHint_ = id;
}

void TObjectTable::BuildFirstIndex() const {
    firstIndex_.Clear();
    // Room for every ID the vector may hold, so that the walk from the last record down does not
    // send the high ones to the hash map: the run of all IDs when it is dense enough (a store of
    // one copied test holds high IDs only), else the IDs from 1 up; a stray huge ID stays there.
    const auto span = static_cast<std::int64_t>(2 * records_.size() + 4096);
    std::int32_t lo = INT32_MAX, hi = 0, top = 0;
    for (const auto& r : records_) {
        if (r->ID < 1) continue;
        lo = std::min(lo, r->ID);
        hi = std::max(hi, r->ID);
        if (r->ID > top && r->ID <= span) top = r->ID;
    }
    if (hi >= lo && hi - static_cast<std::int64_t>(lo) < span) firstIndex_.ReserveIds(lo, hi);
    else firstIndex_.ReserveIds(0, top);
    for (int i = RecordCount() - 1; i >= 0; --i) firstIndex_.Set(records_[i]->ID, i + 1);
    firstIndexValid_ = true;
}

void TObjectTable::BuildParentIndex() const {
    parentIndex_.clear();
    lastParentList_ = nullptr;
    for (int i = 0; i < RecordCount(); ++i) parentIndex_[records_[i]->ParentID].push_back(i);
    parentIndexValid_ = true;
}

std::int32_t TObjectTable::NewID() const {
    while (idCount_.Get(freeHint_) != 0) ++freeHint_;
    return freeHint_;
}

int TObjectTable::IndexOfID(std::int32_t id) const {
    if (!ContainsID(id)) return -1;
    if (!firstIndexValid_) BuildFirstIndex();
    return firstIndex_.Get(id) - 1;
}

const std::vector<int>& TObjectTable::IndexesOfParent(std::int32_t parentID) const {
    static const std::vector<int> none;
    if (!parentIndexValid_) BuildParentIndex();
    auto it = parentIndex_.find(parentID);
    return it == parentIndex_.end() ? none : it->second;
}

// ---- walks

bool TObjectTable::Locate(std::int32_t id) {
    const int i = IndexOfID(id);
    if (i < 0) {
        if (!records_.empty()) cursor_ = RecordCount() - 1;
        return false;
    }
    cursor_ = i;
    return true;
}

bool TObjectTable::LocateAndSave(std::int32_t id) {
    if (!Locate(id)) return false;
    SavePosition();
    return true;
}

std::int32_t TObjectTable::MaxOrder(std::int32_t parentID) const {
    std::int32_t result = -1;
    if (parentID < 0) {
        for (const auto& r : records_) result = std::max(result, r->Order);
    } else {
        for (int i : IndexesOfParent(parentID)) result = std::max(result, records_[i]->Order);
    }
    return result;
}

// ---- changes

void TObjectTable::Append(TRecordPtr rec) {
    NoteAppend(*rec);
    records_.push_back(rec.get());
    rec.release();
    modified_ = true;
    GoLast();
}

void TObjectTable::ReplaceCurrent(TRecordPtr rec) {
    TAnyObject& cur = CurrentMutable();
    if (cur.ID != rec->ID) {
        UncountID(cur.ID);
        CountID(rec->ID);
        firstIndexValid_ = false;
    }
    if (cur.ParentID != rec->ParentID) parentIndexValid_ = false;
    pool_.Release(&cur);
    records_[static_cast<std::size_t>(cursor_)] = rec.release();
    modified_ = true;
}

void TObjectTable::EditObject(std::int32_t id, std::int32_t parentID, const std::string& name,
                              const std::string& description, std::int32_t order) {
    TAnyObject& cur = CurrentMutable();
    if (cur.ID != id) {
        UncountID(cur.ID);
        CountID(id);
        firstIndexValid_ = false;
    }
    if (cur.ParentID != parentID) parentIndexValid_ = false;
    cur.ID = id;
    cur.ParentID = parentID;
    cur.Name = CleanShortText(name);
    cur.Description = description;
    cur.Order = order;
    modified_ = true;
}

bool TObjectTable::DeleteCurrent() {
    if (!HasCurrent()) return false;
    TAnyObject* gone = records_[static_cast<std::size_t>(cursor_)];
    UncountID(gone->ID);
    records_.erase(records_.begin() + cursor_);
    pool_.Release(gone);
    ForgetIndexes();
    modified_ = true;
    return true;
}

int TObjectTable::DeleteWhere(const std::function<bool(const TAnyObject&)>& drop) {
    std::vector<char> marks(records_.size(), 0);
    for (std::size_t i = 0; i < records_.size(); ++i) marks[i] = drop(*records_[i]) ? 1 : 0;
    return DeleteMarked(marks);
}

int TObjectTable::DeleteMarked(const std::vector<char>& marks) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (i < marks.size() && marks[i]) {
            UncountID(records_[i]->ID);
            pool_.Release(records_[i]);
        } else {
            if (kept != i) records_[kept] = records_[i];
            ++kept;
        }
    }
    const int removed = static_cast<int>(records_.size() - kept);
    records_.resize(kept);
    if (removed > 0) {
        ForgetIndexes();
        modified_ = true;
    }
    return removed;
}

void TObjectTable::Truncate(int count) {
    if (count < 0) count = 0;
    if (count >= RecordCount()) return;
    for (int i = count; i < RecordCount(); ++i) UncountID(records_[static_cast<std::size_t>(i)]->ID);
    ReleaseRecords(static_cast<std::size_t>(count));
    records_.resize(static_cast<std::size_t>(count));
    ForgetIndexes();
}

void TObjectTable::Clear() {
    ReleaseRecords(0);
    records_.clear();
    idCount_.Clear();
    freeHint_ = 1;
    firstIndex_.Clear();
    parentIndex_.clear();
    lastParentList_ = nullptr;
    firstIndexValid_ = parentIndexValid_ = true;
}

void TObjectTable::Exchange(int i, int j) {
    if (i == j || i < 0 || j < 0 || i >= RecordCount() || j >= RecordCount()) return;
    auto& a = records_[static_cast<std::size_t>(i)];
    auto& b = records_[static_cast<std::size_t>(j)];
    if (firstIndexValid_) {
        if (a->ID != b->ID && idCount_.Get(a->ID) == 1 && idCount_.Get(b->ID) == 1) {
            firstIndex_.Set(a->ID, j + 1);
            firstIndex_.Set(b->ID, i + 1);
        } else if (a->ID != b->ID) {
            firstIndexValid_ = false;
        }
    }
    if (a->ParentID != b->ParentID) parentIndexValid_ = false;
    std::swap(a, b);
    modified_ = true;
}

void TObjectTable::RaiseCopyClass() const {
    const std::string name = ClassName();
    throw Exception(name + ".Copy - not " + name + " class! Call to Support.");
}

// ---- sort (the selection sorts of the data file, in store/ParentOrderSort.h)

bool TObjectTable::IsInOrder() const {
    return parentordersort::RecordsInOrder(records_);
}

void TObjectTable::Sort() {
    const bool moved = parentordersort::SortRecords(records_);
    if (moved) {
        ForgetIndexes();
        modified_ = true;
    }
}

void TObjectTable::PlaceAppended(int from) {
    if (from < 0 || from >= RecordCount()) return;
    const auto before = [](const auto& a, const auto& b) {
        return a->ParentID != b->ParentID ? a->ParentID < b->ParentID : a->Order < b->Order;
    };
    const auto middle = records_.begin() + from;
    // Already where they belong: nothing moves.
    if ((from == 0 || !before(*middle, *(middle - 1))) && std::is_sorted(middle, records_.end(), before)) return;
    std::stable_sort(middle, records_.end(), before);
    std::inplace_merge(records_.begin(), middle, records_.end(), before);
    ForgetIndexes();
    modified_ = true;
}
