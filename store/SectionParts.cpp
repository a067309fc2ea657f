#include "store/SectionParts.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/ParallelParts.h"
#include "store/FileAccess.h"
#include "store/StoreTestSeam.h"

namespace {

// Below this a section is read as fast by the plain reader; each thread more takes as much again.
constexpr std::size_t kMinPartsBytes = 256 * 1024;

// What the tests' seam sets: a smaller threshold and more, smaller parts than the machine's.
std::size_t g_minBytes = kMinPartsBytes;
std::size_t g_parts = 0;   // 0: the program's own choice
std::atomic<std::size_t> g_readInParts{0};

// The CR LF pairs inside [p, end). A part ends where a line starts, so the pair that ends its
// last line is inside it.
std::size_t CountLineBreaks(const char* p, const char* end) {
    std::size_t n = 0;
    if (end - p < 2) return 0;
    const char* last = end - 1;   // the last byte that may hold a CR with its LF after it
#ifdef __SSE2__
    // Each byte of sums counts the pairs at its place, up to 255 blocks; then they are added up.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (last - p >= 16) {
        __m128i sums = _mm_setzero_si128();
        for (int block = 0; block < 255 && last - p >= 16; ++block, p += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            sums = _mm_sub_epi8(sums, _mm_and_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(b, lf)));
        }
        const __m128i halves = _mm_sad_epu8(sums, _mm_setzero_si128());
        n += static_cast<std::size_t>(_mm_cvtsi128_si32(halves)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(halves, 8)));
    }
#endif
    for (; p < last; ++p) n += (p[0] == '\r') & (p[1] == '\n');
    return n;
}

}  // namespace

std::string_view TSectionParts::LinesAfter(std::string_view text, std::size_t headerPos) {
    const char* const textEnd = text.data() + text.size();
    const char* const headerEnd = TSectionParts::FindLineBreak(text.data() + headerPos, textEnd);
    if (headerEnd == textEnd) return {};
    const char* const begin = headerEnd + 2;
    // Section ends where a line starts with a header; values that would read as one are written
    // behind an escape byte, so a '[' at the start of a line is rare.
    const char* end = textEnd;
    for (const char* p = begin; p < textEnd;) {
        const void* found = std::memchr(p, '[', static_cast<std::size_t>(textEnd - p));
        if (!found) break;
        const char* b = static_cast<const char*>(found);
        if (b == begin || (b[-1] == '\n' && b[-2] == '\r')) {
            const char* lineEnd = TSectionParts::FindLineBreak(b, textEnd);
            if (TFileAccess::IsSectionHeader(std::string_view(b, static_cast<std::size_t>(lineEnd - b)))) {
                end = b;
                break;
            }
        }
        p = b + 1;
    }
    // Lines that run to the end of the text must end with a line break there; a header line
    // only ever follows one.
    if (end == begin) return {};
    if (end == textEnd && (end - begin < 2 || end[-2] != '\r' || end[-1] != '\n')) return {};
    return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

bool TSectionParts::WorthParts(std::size_t bytes) { return bytes >= g_minBytes && bytes > 0; }

namespace {

// A thread for each kMinPartsBytes of lines, up to the machine's: a thread costs more to start
// than it saves on less.
std::size_t ThreadsFor(std::size_t bytes) {
    const std::size_t share = g_minBytes > 0 ? g_minBytes : 1;
    return std::clamp<std::size_t>(bytes / share, 1, platform::UsefulParts());
}

}  // namespace

TSectionParts::TSectionParts(std::string_view lines, int linesPerRecord)
    : linesPerRecord_(static_cast<std::size_t>(std::max(linesPerRecord, 1))) {
    // More parts than threads: a thread that starts late finds its share taken by the others.
    const std::size_t threads = ThreadsFor(lines.size());
    const std::size_t count = g_parts != 0 ? g_parts : threads == 1 ? 1 : 4 * threads;
    const char* const begin = lines.data();
    const char* const end = begin + lines.size();
    // Each part starts at the start of a line: after the first line break from its even share on.
    starts_.assign(count + 1, end);
    starts_[0] = begin;
    for (std::size_t k = 1; k < count; ++k) {
        const char* at = begin + lines.size() / count * k + lines.size() % count * k / count;
        at = std::max(at, starts_[k - 1]);
        const char* br = FindLineBreak(at, end);
        starts_[k] = br == end ? end : br + 2;
    }
}

bool TSectionParts::Read(const std::function<bool()>& prepare,
                         const std::function<void(std::size_t, const Part&)>& read) {
    const std::size_t count = Count();
    const std::size_t n = linesPerRecord_;
    std::vector<std::size_t> counted(count, 0);
    std::atomic<std::size_t> nextCount{0};
    std::atomic<std::size_t> nextRead{0};
    std::atomic<int> countedParts{0};
    std::atomic<int> ready{0};   // 1: prepared, 2: nothing to read
    const auto waitFor = [](std::atomic<int>& a, int value) {
        for (int c = a.load(std::memory_order_acquire); c < value; c = a.load(std::memory_order_acquire))
            a.wait(c, std::memory_order_acquire);
    };
    // Each thread takes the next part to count until all are counted; the calling thread then
    // prepares for the records while the others wait, and each thread takes the next part to read.
    // No thread waits for one that may not have started.
    const auto work = [&](std::size_t thread) {
        for (std::size_t k; (k = nextCount.fetch_add(1)) < count;) {
            counted[k] = CountLineBreaks(starts_[k], starts_[k + 1]);
            if (countedParts.fetch_add(1, std::memory_order_acq_rel) + 1 == static_cast<int>(count))
                countedParts.notify_all();
        }
        if (thread == 0) {
            waitFor(countedParts, static_cast<int>(count));
            std::size_t lines = 0;
            for (std::size_t c : counted) lines += c;
            records_ = lines / n;
            ready.store(lines % n == 0 && prepare() ? 1 : 2, std::memory_order_release);
            ready.notify_all();
        }
        waitFor(ready, 1);
        if (ready.load(std::memory_order_acquire) != 1) return;
        for (std::size_t k; (k = nextRead.fetch_add(1)) < count;) {
            std::size_t before = 0;
            for (std::size_t j = 0; j < k; ++j) before += counted[j];
            const std::size_t first = (before + n - 1) / n;
            const std::size_t records = (before + counted[k] + n - 1) / n - first;
            if (records > 0) read(k, {starts_[k], static_cast<int>(first * n - before), first, records});
        }
    };
    platform::RunParts(std::min(count, ThreadsFor(static_cast<std::size_t>(starts_.back() - starts_.front()))), work);
    return ready.load() == 1;
}

// ---- the tests' seam

namespace storetesthooks {

void ReadSectionsInParts(std::size_t minBytes, std::size_t parts) {
    g_minBytes = minBytes;
    g_parts = parts;
}

void ReadSectionsAsTheMachineDoes() { ReadSectionsInParts(kMinPartsBytes, 0); }

std::size_t SectionsReadInParts() { return g_readInParts.load(); }

}  // namespace storetesthooks

void TSectionParts::NoteRead() { ++g_readInParts; }
