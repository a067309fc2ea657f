#include "store/SavePipeline.h"

#include <algorithm>
#include <exception>
#include <chrono>
#include <thread>

#include "platform/ParallelParts.h"
#include "store/FileAccess.h"
#include "store/HugePages.h"
#include "store/StoreTestSeam.h"
#include "store/XorCoding.h"

namespace {

// Parts of some tens of kilobytes: enough of them for the threads to share the largest section
// evenly, the first one is ready for the file soon, and the parts in the making stay small
// beside the caches (twice as large cost markedly more time, on every thread).
constexpr int kRecordsPerPart = 1024;
// Parts made ahead of the file, per thread: what is held in memory stays a few megabytes.
constexpr std::size_t kSlotsPerThread = 8;
constexpr std::size_t kSections = 7;
// Three threads make the text faster than the file takes it; more would only take the cores
// from the thread that writes it.
constexpr std::size_t kThreads = 4;
// Below this the threads cost more than they gain.
constexpr std::size_t kWorthRecords = 4 * kRecordsPerPart;

// What a test asked for in place of the program's own choice (0: none).
std::size_t g_threads = 0;
int g_recordsPerPart = 0;
std::string g_failingSection;
int g_failingRecord = -1;

}  // namespace

TSavePipeline::TSavePipeline(TFileAccess& store, const std::array<bool, 7>& chosen) : store_(store) {
    const int perPart = g_recordsPerPart > 0 ? g_recordsPerPart : kRecordsPerPart;
    for (std::size_t s = 0; s < kSections; ++s) {
        if (!chosen[s]) continue;
        const int count = store.SectionRecordCount(s);
        int from = 0;
        do {
            const int to = count - from > perPart ? from + perPart : count;
            parts_.push_back({s, from, to});
            from = to;
        } while (from < count);
    }
    recordsAfter_.resize(parts_.size());
    std::size_t after = 0;
    for (std::size_t i = parts_.size(); i-- > 0;) {
        recordsAfter_[i] = after;
        after += static_cast<std::size_t>(parts_[i].To - parts_[i].From);
    }
    const std::size_t threads = g_threads > 0 ? g_threads : std::min(platform::UsefulParts(), kThreads);
    threads_ = std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(parts_.size(), 1));
    const std::size_t slots = std::clamp<std::size_t>(threads_ * kSlotsPerThread, 1, std::max<std::size_t>(parts_.size(), 1));
    slotMemory_ = std::make_unique<Slot[]>(slots);
    slots_ = std::span<Slot>(slotMemory_.get(), slots);
}

TSavePipeline::~TSavePipeline() = default;

bool TSavePipeline::Worthwhile() const {
    const std::size_t records = parts_.empty() ? 0 : recordsAfter_[0] + static_cast<std::size_t>(parts_[0].To - parts_[0].From);
    return g_threads > 0 || (threads_ > 1 && records >= kWorthRecords);
}

bool TSavePipeline::Write(const platform::ByteSink& put, const std::function<void()>& sectionDone) {
    EncodeInPieces(store_.FileText, put);
    bool whole = true;
    platform::RunParts(threads_, [&](std::size_t thread) {
        if (thread == 0) whole = HandAll(put, sectionDone);
        else Work();
    });
    return whole;
}

bool TSavePipeline::HandAll(const platform::ByteSink& put, const std::function<void()>& sectionDone) {
    // However this ends, the other threads take no more parts.
    struct StopAtEnd {
        std::atomic<bool>& stopped;
        ~StopAtEnd() { stopped = true; }
    } stop{stopped_};
    std::size_t stepped = 0;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        while (SlotOf(i).State.load(std::memory_order_acquire) == kFree) {
            const std::size_t other = Claim();
            if (other < kFull) Make(other);
            else AwaitPart(i);
        }
        if (!Hand(i, put)) return false;
        const Part& p = parts_[i];
        if (p.To == store_.SectionRecordCount(p.Section))
            for (; stepped <= p.Section; ++stepped) sectionDone();
    }
    for (; stepped < kSections; ++stepped) sectionDone();
    return true;
}

void TSavePipeline::Work() {
    for (;;) {
        const std::size_t i = Claim();
        if (i == kNone) return;
        // The calling thread frees a slot soon; a sleep costs it nothing, unlike a wake-up call.
        if (i == kFull) std::this_thread::sleep_for(std::chrono::microseconds(100));
        else Make(i);
    }
}

std::size_t TSavePipeline::Claim() {
    std::size_t next = claimed_.load();
    for (;;) {
        if (stopped_ || next >= parts_.size()) return kNone;
        if (next >= handed_.load(std::memory_order_acquire) + slots_.size()) return kFull;
        if (claimed_.compare_exchange_weak(next, next + 1)) return next;
    }
}

void TSavePipeline::Make(std::size_t index) {
    Slot& slot = SlotOf(index);
    int state = kMade;
    try {
        MakeText(parts_[index], slot);
    } catch (...) {
        state = kFailed;   // made again by the calling thread, which knows what to do with it
    }
    slot.State.store(state);
    if (awaited_.load() == index) {
        std::lock_guard lock(mutex_);
        made_.notify_one();
    }
}

void TSavePipeline::AwaitPart(std::size_t index) {
    std::unique_lock lock(mutex_);
    awaited_ = index;
    made_.wait(lock, [&] { return SlotOf(index).State.load() != kFree; });
    awaited_ = kNone;
}

void TSavePipeline::MakeText(const Part& part, Slot& slot) const {
    slot.Text.clear();
    store_.WriteSectionPart(part.Section, part.From, part.To, slot.Text);
    const std::size_t coded = 2 * slot.Text.size();
    if (coded > slot.CodedCapacity) {
        slot.Coded = std::make_unique_for_overwrite<char[]>(coded);
        slot.CodedCapacity = coded;
    }
    EncodeInto(slot.Text, slot.Coded.get());
    slot.CodedSize = coded;
}

bool TSavePipeline::Hand(std::size_t index, const platform::ByteSink& put) {
    const Part& part = parts_[index];
    Slot& slot = SlotOf(index);
    std::string& fileText = store_.FileText;
    if (part.From == 0) sectionStart_ = fileText.size();
    if (slot.State.load(std::memory_order_relaxed) == kFailed) {
        // Made again here, as the plain section writer makes it: a part that fails again fails
        // its section, of which nothing is left behind.
        try {
            MakeText(part, slot);
        } catch (const platform::EFileError&) {
            throw;
        } catch (const std::exception&) {
            fileText.resize(sectionStart_);
            return false;
        }
    }
    Reserve(index, slot.Text.size());
    fileText += slot.Text;
    put(std::string_view(slot.Coded.get(), slot.CodedSize));
    slot.State.store(kFree, std::memory_order_relaxed);
    handed_.store(index + 1, std::memory_order_release);
    return true;
}

void TSavePipeline::Reserve(std::size_t index, std::size_t bytes) {
    std::string& fileText = store_.FileText;
    if (fileText.size() + bytes <= fileText.capacity()) return;
    const Part& part = parts_[index];
    const std::size_t records = static_cast<std::size_t>(std::max(part.To - part.From, 1));
    const std::size_t rest = recordsAfter_[index] * (bytes / records + 1);
    // A little more than the rest looks like: a second guess short of it doubles at least.
    fileText.reserve(std::max(fileText.size() + bytes + rest + rest / 4, 2 * fileText.capacity()));
    AdviseHugePages(fileText.data(), fileText.capacity());
}

namespace savehooks {
int FailingRecord(std::string_view section) {
    return g_failingRecord >= 0 && section == g_failingSection ? g_failingRecord : -1;
}
}  // namespace savehooks

namespace storetesthooks {
void SplitSaves(std::size_t threads, int recordsPerPart) {
    g_threads = threads;
    g_recordsPerPart = recordsPerPart;
}
void FailWritingRecord(const std::string& section, int record) {
    g_failingSection = section;
    g_failingRecord = record;
}
}  // namespace storetesthooks
