#pragma once
#include <cstddef>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The lines of a large section cut into parts at line starts, so that the records starting in each
// part can be read on a thread of their own. A line ends only at CR LF: a lone CR or LF is part
// of a value.
class TSectionParts {
public:
    // What a reader of one part needs.
    struct Part {
        const char* Start;          // the part's first line; its first record may start later
        int Skip;                   // lines before that record (the end of one begun before)
        std::size_t FirstRecord;    // that record's index in the section, from 0
        std::size_t Records;        // how many records start in the part
    };

    // The lines of the section whose header line starts at headerPos, up to, not including, the
    // next header line, when each of them is ended by CR LF; empty otherwise (also for a section
    // without lines, or one cut inside its last line).
    static std::string_view LinesAfter(std::string_view text, std::size_t headerPos);
    // True when lines of this size are worth reading in parts.
    static bool WorthParts(std::size_t bytes);

    // Cuts lines (each ended by CR LF, as LinesAfter gives them) into parts of about equal size.
    TSectionParts(std::string_view lines, int linesPerRecord);
    std::size_t Count() const { return starts_.size() - 1; }

    // Counts the lines of every part on threads; when they make whole records, calls prepare()
    // once on the calling thread with Records() known, and then, when it returns True,
    // read(k, part) on the threads for each part k in which a record starts. Returns what prepare
    // returned, and False when the lines do not make whole records. Neither may throw.
    bool Read(const std::function<bool()>& prepare, const std::function<void(std::size_t, const Part&)>& read);
    // The section's records, once Read has counted them.
    std::size_t Records() const { return records_; }

    // The line at p, up to its CR LF, which comes before end; p moves on to the next line.
    static std::string_view TakeLine(const char*& p, const char* end) {
        const char* br = FindLineBreak(p, end);
        const std::string_view line(p, static_cast<std::size_t>(br - p));
        p = br + 2;
        return line;
    }
    // The first CR LF at or after p that ends before end; end when there is none.
    static const char* FindLineBreak(const char* p, const char* end) {
#ifdef __SSE2__
        // Most lines are short: sixteen places at a time, each a CR with an LF after it.
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        for (; end - p >= 17; p += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(b, lf)));
            if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
#endif
        for (; end - p >= 2; ++p)
            if (p[0] == '\r' && p[1] == '\n') return p;
        return end;
    }

    // A section's records were read from its parts (the tests' seam counts them).
    static void NoteRead();

private:
    std::size_t linesPerRecord_;
    std::vector<const char*> starts_;   // where each part starts, then the end of the lines
    std::size_t records_ = 0;
};
