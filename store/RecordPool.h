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
        return static_cast<char*>(blocks_.back()) + slotSize_ * used_++;
    }
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
        blockSlots_ = blocks_.empty() ? 8 : std::min<std::size_t>(blockSlots_ * 2, 2048);
        blocks_.push_back(::operator new(slotSize_ * blockSlots_, std::align_val_t(alignment_)));
        used_ = 0;
    }

    std::size_t slotSize_;
    std::size_t alignment_;
    std::vector<void*> blocks_;
    std::size_t blockSlots_ = 0;   // slots of the last block
    std::size_t used_ = 0;         // slots of the last block handed out so far
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
