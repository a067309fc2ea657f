#pragma once
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SafeFile.h"

class TFileAccess;

// The chosen sections of a store written in parts of records: each part is made into text and
// coded on one of several threads, while the calling thread appends the finished parts to the
// store's FileText and hands their coded bytes on, in the order of the file. The text is that of
// the section writers one after the other.
class TSavePipeline {
public:
    // chosen: the sections by their place in the file.
    TSavePipeline(TFileAccess& store, const std::array<bool, 7>& chosen);
    ~TSavePipeline();
    TSavePipeline(const TSavePipeline&) = delete;
    TSavePipeline& operator=(const TSavePipeline&) = delete;

    // Whether the sections are large enough to be worth more than one thread.
    bool Worthwhile() const;
    // Codes what FileText holds already, then appends the chosen sections and hands every coded
    // byte to put, in order. sectionDone is called on this thread once for each of the seven
    // sections of the file, chosen or not, in order, once it is handed on. False when building a
    // section failed: FileText then ends before that section. What put raises is passed on.
    bool Write(const platform::ByteSink& put, const std::function<void()>& sectionDone);

private:
    struct Part {
        std::size_t Section;
        int From, To;
    };
    enum : int { kFree, kMade, kFailed };
    // A part being made or waiting to be handed on; a slot is used again by a later part. Each
    // on cache lines of its own: the thread that makes a part writes its text's size at every
    // append, which would otherwise pass a line shared with the next slot between threads.
    struct alignas(64) Slot {
        std::string Text;
        std::unique_ptr<char[]> Coded;
        std::size_t CodedSize = 0, CodedCapacity = 0;
        std::atomic<int> State{kFree};
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);   // no part is left to take
    static constexpr std::size_t kFull = kNone - 1;   // every slot is taken: wait for one

    // The calling thread: hands the parts on in order, making parts itself while it waits.
    bool HandAll(const platform::ByteSink& put, const std::function<void()>& sectionDone);
    // Another thread: makes parts until none is left.
    void Work();
    // The next part free to be made, taken; kFull or kNone when there is none.
    std::size_t Claim();
    // Makes the part into text and codes it; a failure is kept in its slot.
    void Make(std::size_t index);
    void MakeText(const Part& part, Slot& slot) const;
    // Waits until another thread has made the part.
    void AwaitPart(std::size_t index);
    // Appends the part to FileText and hands its coded bytes on; false when its section failed.
    bool Hand(std::size_t index, const platform::ByteSink& put);
    // Room in FileText for the part and, by its size, for the parts after it.
    void Reserve(std::size_t index, std::size_t bytes);
    Slot& SlotOf(std::size_t index) { return slots_[index % slots_.size()]; }

    TFileAccess& store_;
    std::size_t threads_ = 1;
    std::vector<Part> parts_;
    std::vector<std::size_t> recordsAfter_;   // of each part: the records of the parts after it
    std::unique_ptr<Slot[]> slotMemory_;
    std::span<Slot> slots_;
    std::size_t sectionStart_ = 0;   // where the section being handed on starts in FileText

    // Waking a sleeping thread is dear: no thread wakes the threads that make parts (they take
    // short sleeps while every slot is taken), and they wake the calling thread only when it
    // sleeps for the part it hands on next.
    std::atomic<std::size_t> claimed_{0};   // parts 0 .. claimed_ - 1 are taken by a thread
    std::atomic<std::size_t> handed_{0};    // parts 0 .. handed_ - 1 are handed on, their slots free
    std::atomic<bool> stopped_{false};
    std::atomic<std::size_t> awaited_{kNone};   // the part the calling thread sleeps for
    std::mutex mutex_;
    std::condition_variable made_;
};

namespace savehooks {
// The record of the named section that a test has made fail to be written; -1 for none.
int FailingRecord(std::string_view section);
}  // namespace savehooks
