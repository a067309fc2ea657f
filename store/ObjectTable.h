#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Exception.h"
#include "store/IdIndex.h"
#include "store/RecordPool.h"
#include "store/Records.h"
#include "store/TypeList.h"

// An ordered list of records with a cursor, a stack of saved cursor positions and a Modified
// flag. The table owns its records.
class TRecordTable {
public:
    // Records of at most slotSize bytes with that alignment.
    TRecordTable(std::size_t slotSize, std::size_t alignment) : pool_(slotSize, alignment) {}
    virtual ~TRecordTable() { ReleaseRecords(0); }
    TRecordTable(const TRecordTable&) = delete;
    TRecordTable& operator=(const TRecordTable&) = delete;

    virtual const char* ClassName() const = 0;

    int RecordCount() const { return static_cast<int>(records_.size()); }
    int Cursor() const { return cursor_; }
    void SetCursor(int c) { cursor_ = c; }
    bool HasCurrent() const { return cursor_ >= 0 && cursor_ < RecordCount(); }

    bool First();
    bool Next();
    bool Last();
    bool Prior();
    void SavePosition() { positions_.Add(cursor_); }
    void RestorePosition();
    int SavedPositionCount() const { return positions_.GetCount(); }

    bool Modified() const { return modified_; }
    void SetModified(bool m) { modified_ = m; }

    // Frees and removes the current record; the cursor keeps its index.
    virtual bool Delete() = 0;
    // Makes target a copy of this table; target must be of this table's own class.
    virtual void Copy(TRecordTable& target) const = 0;

protected:
    template <typename R>
    TRecordPtr MakeRecord(R&& record) {
        return MakePooledRecord(pool_, std::forward<R>(record));
    }

    // Gives the records from index from on back to the pool; the caller removes their places.
    void ReleaseRecords(std::size_t from) {
        for (std::size_t i = from; i < records_.size(); ++i) pool_.Release(records_[i]);
    }

    // The pool is made before the records and goes after them. The table owns every record its
    // list points to: one pointer a record, rather than one with its pool beside it.
    TRecordPool pool_;
    std::vector<TAnyObject*> records_;
    int cursor_ = 0;
    TTypeIntegerSingleList positions_;
    bool modified_ = false;
};

// What every table of items shares: new IDs, lookup by ID, the largest order among siblings,
// editing of the common fields, exchange of two records and the sort by parent and order.
// Lookups by ID and by parent use indexes that follow every change, so none of them walks the
// table; the results are those of the plain walks.
class TObjectTable : public TRecordTable {
public:
    using TRecordTable::TRecordTable;

    // The smallest positive ID that no record has.
    std::int32_t NewID() const;

    std::int32_t GetID() const { return Current().ID; }
    std::int32_t GetParentID() const { return Current().ParentID; }
    std::int32_t GetOrder() const { return Current().Order; }
    std::string GetName() const { return Current().Name; }
    const std::string& GetDescription() const { return Current().Description; }
    const TAnyObject& GetRecord() const { return Current(); }

    // Cursor on the first record with this ID: True. None: False, cursor on the last record
    // (unchanged on an empty table).
    bool Locate(std::int32_t id);
    // As Locate, and pushes the found index on the position stack.
    bool LocateAndSave(std::int32_t id);
    void GoLast() { cursor_ = RecordCount() - 1; }

    // The largest Order among the records of this parent (all records for a negative parent),
    // starting from -1. The cursor does not move.
    std::int32_t MaxOrder(std::int32_t parentID) const;

    // Overwrites the five common fields of the current record and sets Modified.
    void EditObject(std::int32_t id, std::int32_t parentID, const std::string& name,
                    const std::string& description, std::int32_t order);
    // Swaps the records at i and j and sets Modified when i != j and both exist.
    void Exchange(int i, int j);
    // Orders the table by ParentID, then Order, with the ties of the selection sorts described
    // for the data file; sets Modified only when a record moves.
    void Sort();
    // True when the records stand by ParentID, then Order (ties in any order).
    bool IsInOrder() const;
    // Moves the records from index from on, appended to a table whose records before them stand
    // in order, to where the order by ParentID, then Order puts them, after records with equal
    // keys; every other record keeps its place among the others. Sets Modified when one moves.
    void PlaceAppended(int from);

    // Reads that neither move the cursor nor walk the table.
    const TAnyObject& RecordAt(int i) const { return *records_.at(static_cast<std::size_t>(i)); }
    int IndexOfID(std::int32_t id) const;          // first record with the ID, or -1
    bool ContainsID(std::int32_t id) const { return idCount_.Get(id) != 0; }
    // Indexes of the records of one parent, in table order.
    const std::vector<int>& IndexesOfParent(std::int32_t parentID) const;

    // Removes every record for which drop is true, in one pass; the others keep their order.
    // The cursor keeps its index. Returns how many were removed.
    int DeleteWhere(const std::function<bool(const TAnyObject&)>& drop);
    // The same for the records whose index is marked (marks may be shorter than the table).
    int DeleteMarked(const std::vector<char>& marks);
    // Removes the records from index count on; Modified and the cursor are left as they are.
    void Truncate(int count);
    // Empties the table; Modified is left as it is.
    void Clear();
    // Many appends to come (a load): the index of each ID and the records of each parent are
    // found again in one pass when first asked for, rather than kept up record by record.
    void DropIndexes() {
        firstIndex_ = TIdIndex();
        std::unordered_map<std::int32_t, std::vector<int>>().swap(parentIndex_);
        ForgetIndexes();
    }

    // ---- records built many at once, on several threads (a load)
    // Room for count records side by side, record i to be built at RunSlot(run, i); safe on any
    // thread. Until the table takes the run with AppendRun it is the caller's, to give back with
    // DeleteRun once no record is left in it.
    void* NewRun(std::size_t count) const { return pool_.NewRun(count); }
    void DeleteRun(void* run) const { pool_.DeleteRun(run); }
    void* RunSlot(void* run, std::size_t i) const { return static_cast<char*>(run) + pool_.SlotSize() * i; }
    // Room for n runs to come: AppendRun then cannot fail.
    void ReserveRuns(std::size_t n) { pool_.ReserveRuns(n); }
    // Takes the run into the table's storage and appends the records of kind R built in it, in
    // order, each as Append would, up to the first whose ID the table holds already; returns how
    // many it appended. Room for the run and the records must have been reserved.
    template <typename R>
    std::size_t AppendRun(void* run, std::size_t count) {
        pool_.AdoptRun(run);
        std::size_t i = 0;
        const auto at = [&](std::size_t k) -> TAnyObject* { return std::launder(static_cast<R*>(RunSlot(run, k))); };
        if (!firstIndexValid_ && !parentIndexValid_) {
            // After DropIndexes only the count of each ID follows the appends.
            for (; i < count && idCount_.SetFirst(at(i)->ID); ++i) records_.push_back(at(i));
        } else {
            for (; i < count && !ContainsID(at(i)->ID); ++i) {
                NoteAppend(*at(i));
                records_.push_back(at(i));
            }
        }
        if (i > 0) {
            modified_ = true;
            GoLast();
        }
        return i;
    }
    void ReserveRecords(std::size_t n) { records_.reserve(records_.size() + n); }
    // Gives back the slots from index from on of a run the table took, in which no record is
    // built (any more); with from 0 the whole run, which holds none then.
    void ReturnRun(void* run, std::size_t from, std::size_t count) { pool_.ReturnRun(run, from, count); }

protected:
    const TAnyObject& Current() const;
    TAnyObject& CurrentMutable();
    void Append(TRecordPtr rec);   // sets Modified, cursor on the new record
    // Replaces the current record by rec (its ID and parent may change); sets Modified.
    void ReplaceCurrent(TRecordPtr rec);
    bool DeleteCurrent();
    [[noreturn]] void RaiseCopyClass() const;

private:
    // The tests' seam (store/StoreTestSeam.h): it checks and breaks the indexes below.
    friend class TObjectTablePeer;

    // The indexes' part of an append: rec is to stand at index RecordCount().
    void NoteAppend(const TAnyObject& rec) {
        const int index = RecordCount();
        if (firstIndexValid_ && idCount_.Get(rec.ID) == 0) firstIndex_.Set(rec.ID, index + 1);
        CountID(rec.ID);
        if (parentIndexValid_) {
            if (!lastParentList_ || lastParent_ != rec.ParentID) {
                lastParent_ = rec.ParentID;
                lastParentList_ = &parentIndex_[rec.ParentID];
            }
            lastParentList_->push_back(index);
        }
    }
    void CountID(std::int32_t id);
    void UncountID(std::int32_t id);
    void ForgetIndexes() const {
        firstIndexValid_ = false;
        parentIndexValid_ = false;
        lastParentList_ = nullptr;
    }
    void BuildFirstIndex() const;
    void BuildParentIndex() const;

    TIdIndex idCount_;                       // how many records have each ID
    mutable std::int32_t freeHint_ = 1;      // every ID in [1, freeHint_) is in use
    mutable TIdIndex firstIndex_;            // index + 1 of the first record with each ID
    mutable bool firstIndexValid_ = true;
    mutable std::unordered_map<std::int32_t, std::vector<int>> parentIndex_;
    mutable bool parentIndexValid_ = true;
    // The parent of the last append, whose list most appends extend.
    mutable std::int32_t lastParent_ = 0;
    mutable std::vector<int>* lastParentList_ = nullptr;
};
