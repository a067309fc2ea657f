#pragma once
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "store/Records.h"

// The storage of one table's records: blocks of slots of one size, so that a table of 250,000
// records makes a few hundred allocations instead of one each, keeps its records close together,
// and frees them block by block. A freed slot is kept for the next record. Records keep their
// address while the table holds them.
class TRecordPool {
public:
    TRecordPool(std::size_t slotSize, std::size_t alignment)
        : slotSize_(RoundUp(std::max(slotSize, sizeof(void*)), alignment)), alignment_(alignment) {}
    ~TRecordPool() {
        for (void* b : blocks_) ::operator delete(b, std::align_val_t(alignment_));
    }
    TRecordPool(const TRecordPool&) = delete;
    TRecordPool& operator=(const TRecordPool&) = delete;

    // Room for one record, to be built there with placement new.
    void* Allocate() {
        if (free_) {
            void* slot = free_;
            free_ = *static_cast<void**>(slot);
            return slot;
        }
        if (used_ == blockSlots_) NewBlock();
        return current_ + slotSize_ * used_++;
    }
    // Room for count records side by side, slot i at SlotSize() * i from the start: for records
    // that several threads build at once, each in runs of its own. Safe on any thread. The run is
    // the caller's (DeleteRun) until the pool adopts it; records built in an adopted run belong to
    // the pool as any other, and ReturnRun gives back a run, or the rest of one, that holds none.
    void* NewRun(std::size_t count) const {
        return ::operator new(slotSize_ * std::max<std::size_t>(count, 1), std::align_val_t(alignment_));
    }
    void DeleteRun(void* run) const { ::operator delete(run, std::align_val_t(alignment_)); }
    // Room for n runs to come, so that adopting them cannot fail.
    void ReserveRuns(std::size_t n) { blocks_.reserve(blocks_.size() + n); }
    void AdoptRun(void* run) { blocks_.push_back(run); }
    void ReturnRun(void* run, std::size_t from, std::size_t count) {
        if (from > 0) {
            for (std::size_t i = from; i < count; ++i) Return(static_cast<char*>(run) + slotSize_ * i);
            return;
        }
        const auto it = std::find(blocks_.begin(), blocks_.end(), run);
        if (it != blocks_.end()) blocks_.erase(it);
        DeleteRun(run);
    }
    std::size_t SlotSize() const { return slotSize_; }
    // Takes back a slot in which no record was built.
    void Return(void* slot) {
        *static_cast<void**>(slot) = free_;
        free_ = slot;
    }
    // Destroys the record and keeps its slot.
    void Release(TAnyObject* record) {
        record->~TAnyObject();
        *reinterpret_cast<void**>(record) = free_;
        free_ = record;
    }

private:
    static std::size_t RoundUp(std::size_t n, std::size_t a) { return (n + a - 1) / a * a; }
    void NewBlock() {
        // Small tables stay small; large ones take blocks of a few hundred kB.
        // Nothing changes until the block is had: a failed allocation leaves the pool as it was.
        const std::size_t size = blockSlots_ == 0 ? 8 : std::min<std::size_t>(blockSlots_ * 2, 2048);
        blocks_.reserve(blocks_.size() + 1);
        current_ = static_cast<char*>(::operator new(slotSize_ * size, std::align_val_t(alignment_)));
        blocks_.push_back(current_);
        blockSlots_ = size;
        used_ = 0;
    }

    std::size_t slotSize_;
    std::size_t alignment_;
    std::vector<void*> blocks_;    // every block and run, to be freed with the pool
    char* current_ = nullptr;      // the block that single slots are handed out from
    std::size_t blockSlots_ = 0;   // slots of that block
    std::size_t used_ = 0;         // slots of that block handed out so far
    void* free_ = nullptr;         // released slots, each holding the next
};

// Gives a record back to the pool it came from.
struct TRecordRelease {
    TRecordPool* Pool = nullptr;
    void operator()(TAnyObject* record) const { Pool->Release(record); }
};

using TRecordPtr = std::unique_ptr<TAnyObject, TRecordRelease>;

// A record of kind R built in the pool from the given one.
template <typename R>
TRecordPtr MakePooledRecord(TRecordPool& pool, R&& record) {
    using T = std::remove_cvref_t<R>;
    void* slot = pool.Allocate();
    try {
        return TRecordPtr(new (slot) T(std::forward<R>(record)), TRecordRelease{&pool});
    } catch (...) {
        pool.Return(slot);
        throw;
    }
}
