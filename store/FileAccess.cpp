#include "store/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "platform/CodePage.h"
#include "platform/ParallelParts.h"
#include "platform/RealNumbers.h"
#include "platform/SafeFile.h"
#include "platform/ShortDates.h"
#include "platform/TextReplace.h"
#include "store/RecordFields.h"
#include "store/SectionParts.h"
#include "store/SavePipeline.h"
#include "store/XorCoding.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLineBreakMark = "&&&&&";
constexpr std::int32_t kTooLarge = 999999999;   // the sort's sentinel: keys stay below it
constexpr std::int32_t kTooSmall = -99999;      // the "none" value: keys stay above it

// A value line that would read back as a section header is written behind one escape byte.
// Files without such values are written exactly as before.
constexpr char kValueEscape = '\x1B';

std::string_view StripEscapes(std::string_view s) {
    while (!s.empty() && s.front() == kValueEscape) s.remove_prefix(1);
    return s;
}

std::string_view UnescapeValue(std::string_view line) {
    if (!line.empty() && line.front() == kValueEscape && TFileAccess::IsSectionHeader(StripEscapes(line)))
        line.remove_prefix(1);
    return line;
}

// Read for every number of a load: kept inline, and one test of the digits' count bounds it.
[[gnu::always_inline]] inline std::optional<std::int32_t> ParseInteger(std::string_view s) {
    const char* p = s.data();
    const char* const end = p + s.size();
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '+' || *p == '-')) ++p;
    if (p == end || end - p > 10) return std::nullopt;
    std::uint64_t v = 0;
    for (; p != end; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - '0';
        if (d > 9) return std::nullopt;
        v = v * 10 + d;
    }
    if (v > (negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1)) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v));
}

// A real of the usual form, "-12.375": digits worth at most 2^53 with at most 22 of them after
// the separator, so that one division of two exact doubles gives the value correctly rounded,
// which is what ParseReal gives. Any other form is left to ParseReal.
bool ReadShortDecimal(std::string_view s, char separator, double& out) {
    static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = s.data();
    const char* const end = p + s.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t m = 0;
    int digits = 0;
    int fraction = 0;
    const auto digit = [&] { return p != end && static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0' <= 9u; };
    for (; digit(); ++p, ++digits) m = m * 10 + static_cast<unsigned>(*p - '0');
    if (digits == 0) return false;
    if (p != end && *p == separator)
        for (++p; digit(); ++p, ++digits, ++fraction) m = m * 10 + static_cast<unsigned>(*p - '0');
    if (p != end || digits > 19 || fraction > 22 || m > std::uint64_t{1} << 53) return false;
    const double v = static_cast<double>(m) / kTens[fraction];
    out = negative ? -v : v;
    return true;
}

// True when s holds a CR or an LF: eight bytes at a time, each word tested for a byte of either.
bool HoldsCrOrLf(std::string_view s) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    const auto holds = [](std::uint64_t w) {
        const std::uint64_t cr = w ^ (kOnes * '\r');
        const std::uint64_t lf = w ^ (kOnes * '\n');
        return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
    };
    if (s.size() < 8) {
        bool found = false;
        for (char c : s) found |= (c == '\r') | (c == '\n');
        return found;
    }
    std::uint64_t w;
    for (std::size_t i = 0; i + 8 <= s.size(); i += 8) {
        std::memcpy(&w, s.data() + i, 8);
        if (holds(w)) return true;
    }
    std::memcpy(&w, s.data() + s.size() - 8, 8);   // the last bytes, overlapping the word before
    return holds(w) != 0;
}

// A value that does not read: what broke it, and its line within the record (from 1).
struct Failed {
    TLoadFailureKind Kind;
    int Field;
};
// A real or a date that the settings' forms do not read; another form may.
struct FormFailed : Failed {};

// The text as the writer makes it. A save's coder codes each finished record on the way.
class TextOut {
public:
    TextOut(std::string& text, TEncoder* coder) : text_(text), coder_(coder) {}
    void Append(std::string_view v) { text_ += v; }
    void Append(char c) { text_ += c; }
    void RecordDone() {
        if (coder_) coder_->Feed();
    }

private:
    std::string& text_;
    TEncoder* coder_;
};

// The writer and the reader share one list of the fields of each kind (Layout<R>::Fields), so the
// order of the lines is written down once. The writer puts each value on a line of its own.
class ValueWriter {
public:
    ValueWriter(TextOut& out, const platform::FormatSettings& fs) : out_(out), fs_(fs) {}
    void Int(const std::int32_t& v) {
        char line[2 + 11];
        out_.Append(std::string_view(line, std::to_chars(LineStart(line), std::end(line), v).ptr));
    }
    void Id(const std::int32_t& v) { Int(v); }
    void Key(const std::int32_t& v) { Int(v); }
    void Real(const double& v) {
        char line[2 + platform::kMaxRealChars];
        out_.Append(std::string_view(line, platform::WriteReal(LineStart(line), v, fs_)));
    }
    void Date(const double& v) { Plain(platform::FormatShortDate(v, fs_)); }
    void Bool(const bool& v) { Plain(v ? "true" : "false"); }
    void Direction(const std::uint8_t& v) { Plain(MoveDirectionToText(v)); }
    void Short(const std::string& v) { Text(v); }
    void Long(const std::string& v) {
        if (v.find(kCrLf) == std::string::npos) Text(v);
        else Text(TFileAccess::EncodeLineBreaks(v));
    }
    void Constant(const std::int32_t&, std::int32_t) {}   // a field the file does not hold

private:
    // A line of a value starts with its line break.
    static char* LineStart(char* line) {
        line[0] = kCrLf[0];
        line[1] = kCrLf[1];
        return line + 2;
    }
    void Plain(std::string_view v) {
        out_.Append(kCrLf);
        out_.Append(v);
    }
    void Text(std::string_view v) {
        out_.Append(kCrLf);
        if (TFileAccess::IsSectionHeader(StripEscapes(v))) out_.Append(kValueEscape);
        out_.Append(v);
    }
    TextOut& out_;
    const platform::FormatSettings& fs_;
};

// Reads the values of one record in the order they were written; a value that does not convert
// throws Failed.
class ValueReader {
public:
    // plainWords: Booleans as "1"/"0" and move directions as digits (the converter's 1.4.2 layout).
    ValueReader(const std::string_view* slots, const platform::FormatSettings& fs, bool plainWords = false)
        : slots_(slots), fs_(fs), plainWords_(plainWords) {}
    void Int(std::int32_t& out) {
        auto v = ParseInteger(Next());
        if (!v) throw Failed{TLoadFailureKind::BadInteger, k_};
        out = *v;
    }
    // IDs are positive; parents, orders and scale IDs lie between the sort's sentinels.
    void Id(std::int32_t& out) {
        Int(out);
        idField_ = k_;
        if (out < 1 || out >= kTooLarge) throw Failed{TLoadFailureKind::OutOfRange, k_};
    }
    void Key(std::int32_t& out) {
        Int(out);
        if (out <= kTooSmall || out >= kTooLarge) throw Failed{TLoadFailureKind::OutOfRange, k_};
    }
    void Real(double& out) {
        const std::string_view s = Next();
        if (ReadShortDecimal(s, fs_.DecimalSeparator, out)) return;
        auto v = platform::ParseReal(s, fs_);
        if (!v) throw FormFailed{{TLoadFailureKind::BadReal, k_}};
        out = *v;
    }
    void Date(double& out) {
        auto v = platform::ParseShortDate(Next(), fs_);
        if (!v) throw FormFailed{{TLoadFailureKind::BadDate, k_}};
        out = *v;
    }
    void Bool(bool& out) { out = plainWords_ ? Next() == "1" : TextToBool(Next()); }
    void Direction(std::uint8_t& out) {
        const std::string_view v = Next();
        if (!plainWords_) out = TextToMoveDirection(v);
        else out = v == "1" ? mdForwardOnly : v == "2" ? mdForwardBack : v == "3" ? mdFree : mdNone;
    }
    // Cut and cleaned as a table cleans a short text it takes.
    void Short(std::string& out) {
        // Only a longer text needs the code page's cut; the shorter ones are all of their bytes.
        const std::string_view v = UnescapeValue(Next());
        if (v.size() <= platform::kShortTextMax) out.assign(v);
        else out = platform::CutShortText(v);
        if (HoldsCrOrLf(out)) CleanShortTextInPlace(out);
    }
    void Long(std::string& out) {
        const std::string_view v = UnescapeValue(Next());
        if (v.find(kLineBreakMark) == std::string_view::npos) out.assign(v);
        else out = TFileAccess::DecodeLineBreaks(v);
    }
    void Constant(std::int32_t& out, std::int32_t value) { out = value; }

private:
    std::string_view Next() { return slots_[k_++]; }
    const std::string_view* slots_;
    const platform::FormatSettings& fs_;
    bool plainWords_;
    int k_ = 0;
    int idField_ = 0;

public:
    // The line of the record's own ID, once read.
    int IdField() const { return idField_; }
};

using recordfields::Layout;
using recordfields::Layout142;

// The end of the line that starts at pos: the index of its CR LF, or the end of the text.
// The same scan as the parts reader's, so both readers cut lines alike.
std::size_t LineEnd(std::string_view text, std::size_t pos) {
    const char* const end = text.data() + text.size();
    return static_cast<std::size_t>(TSectionParts::FindLineBreak(text.data() + std::min(pos, text.size()), end) - text.data());
}

// Where the header line of this section starts, or npos.
std::size_t FindSectionHeader(std::string_view name, std::string_view text) {
    const std::string header = TFileAccess::SectionHeader(name);
    for (std::size_t p = text.find(header); p != std::string_view::npos; p = text.find(header, p + 1)) {
        const bool lineStart = p == 0 || (p >= 2 && text.substr(p - 2, 2) == kCrLf);
        const std::size_t after = p + header.size();
        const bool lineEnd = after == text.size() || text.substr(after, 2) == kCrLf;
        if (lineStart && lineEnd) return p;
    }
    return std::string_view::npos;
}

// Calls line(view) for each line of the section after its header, up to the next header line.
template <typename F>
void ForEachSectionLine(std::string_view text, std::size_t headerPos, F&& line) {
    std::size_t end = LineEnd(text, headerPos);
    while (end < text.size()) {
        const std::size_t start = end + 2;
        end = LineEnd(text, start);
        const std::string_view l = text.substr(start, end - start);
        if (TFileAccess::IsSectionHeader(l)) return;
        line(l);
    }
}

// The section of this name: its header line, then each following line up to, not including,
// the next header line. Empty when absent.
std::string_view SectionView(std::string_view name, std::string_view text) {
    const std::size_t start = FindSectionHeader(name, text);
    if (start == std::string_view::npos) return {};
    std::size_t last = LineEnd(text, start);
    ForEachSectionLine(text, start, [&](std::string_view l) { last = static_cast<std::size_t>(l.data() - text.data()) + l.size(); });
    return text.substr(start, last - start);
}

// Records from .. to - 1 of a table, each value on a line of its own.
template <typename Table>
void WriteRecords(TextOut& out, const Table& table, int from, int to, const platform::FormatSettings& fs) {
    using R = typename Table::Record;
    const int failAt = savehooks::FailingRecord(Layout<R>::Name);   // -1 but in a test
    ValueWriter w(out, fs);
    for (int i = from; i < to; ++i) {
        if (i == failAt) throw std::runtime_error("a record made to fail");
        Layout<R>::Fields(w, table.At(i));
        out.RecordDone();
    }
}

// The records from .. to - 1 of a section, behind its header when they are its first and ended
// by its closing line break when they are its last: the parts of a section one after the other
// are the section.
template <typename Table>
void WritePart(TextOut& out, const Table& table, int from, int to, const platform::FormatSettings& fs) {
    using R = typename Table::Record;
    if (from == 0) out.Append(TFileAccess::SectionHeader(Layout<R>::Name));
    WriteRecords(out, table, from, to, fs);
    if (to == table.RecordCount()) out.Append(kCrLf);
}

template <typename Table>
bool WriteSection(std::string& fileText, const Table& table, const platform::FormatSettings& fs, TEncoder* coder) {
    const std::size_t before = fileText.size();
    try {
        TextOut out(fileText, coder);
        WritePart(out, table, 0, table.RecordCount(), fs);
        return true;
    } catch (const platform::EFileError&) {
        throw;   // the file failed, not the section
    } catch (const std::exception&) {
        fileText.resize(before);   // no half section is left behind
        return false;
    }
}

// Reads a large section on several threads: each part of its lines builds its records in storage
// of the table, and the table takes them in file order. Anything but clean records (a value that
// does not read, an ID twice, a section cut short, a failure of any kind) leaves the table as it
// was and returns False, for the plain reader to read the section again and say what broke.
template <template <typename> class L, typename Table>
bool ReadSectionInParts(std::string_view fileText, std::size_t header, Table& table,
                        const platform::FormatSettings& fs) {
    using R = typename Table::Record;
    const int n = recordfields::LinesOf<L, R>();
    constexpr bool plainWords = !std::is_same_v<L<R>, Layout<R>>;
    const std::string_view lines = TSectionParts::LinesAfter(fileText, header);
    if (!TSectionParts::WorthParts(lines.size())) return false;

    // The records of each part in a run of the table's storage, record i of the part in slot i;
    // each part builds its own from its first on, until one fails.
    struct Run {
        void* Slots = nullptr;
        std::size_t Records = 0;
        std::size_t Built = 0;
        bool Taken = false;   // by the table, whose storage it is then
    };
    std::vector<Run> runs;
    const auto destroy = [&](Run& run, std::size_t from) {
        for (std::size_t i = from; i < run.Built; ++i) std::launder(static_cast<R*>(table.RunSlot(run.Slots, i)))->~R();
    };
    try {
        TSectionParts parts(lines, n);
        runs.resize(parts.Count());
        table.ReserveRuns(parts.Count());
        std::atomic<bool> failed{false};
        const char* const end = lines.data() + lines.size();
        // Allocated on the calling thread, in runs of the size of a part, as a table's blocks are.
        const auto prepare = [&]() noexcept {
            try {
                for (std::size_t k = 0; k < runs.size(); ++k) {
                    if (parts.At(k).Records == 0) continue;
                    runs[k].Slots = table.NewRun(parts.At(k).Records);
                    runs[k].Records = parts.At(k).Records;
                }
                return true;
            } catch (...) {
                return false;
            }
        };
        const auto read = [&](std::size_t k, const TSectionParts::Part& part) noexcept {
            Run& run = runs[k];
            // Counted here and stored once at the end: the runs of neighbouring parts share cache
            // lines, and a count written at every record would pass them between the threads.
            std::size_t built = 0;
            void* const storage = run.Slots;
            const std::size_t records = run.Records;
            try {
                const char* p = part.Start;
                for (int skip = 0; skip < part.Skip; ++skip) TSectionParts::TakeLine(p, end);
                std::string_view slots[recordfields::kMaxLines];
                while (built < records && !failed.load(std::memory_order_relaxed)) {
                    for (int j = 0; j < n; ++j) slots[j] = TSectionParts::TakeLine(p, end);
                    R* rec = new (table.RunSlot(storage, built)) R;
                    ++built;
                    ValueReader v(slots, fs, plainWords);
                    L<R>::Fields(v, *rec);   // short texts come cleaned, as AddRecord leaves them
                }
                run.Built = built;
                if (built != records) failed = true;
            } catch (...) {
                run.Built = built;
                failed = true;
            }
        };
        if (parts.Read(prepare, read) && !failed) {
            table.ReserveRecords(parts.Records());
            const int cursor = table.Cursor();
            const bool modified = table.Modified();
            const int before = table.RecordCount();
            std::size_t k = 0;
            std::size_t appended = 0;
            for (; k < runs.size(); ++k) {
                if (!runs[k].Slots) continue;
                appended = table.template AppendRun<R>(runs[k].Slots, runs[k].Records);
                runs[k].Taken = true;
                if (appended != runs[k].Records) break;
            }
            if (k == runs.size()) {
                TSectionParts::NoteRead();
                return true;
            }
            // An ID twice: the records taken so far go back, and the plain reader says where.
            table.Truncate(before);
            table.SetCursor(cursor);
            table.SetModified(modified);
            destroy(runs[k], appended);
            table.ReturnRun(runs[k].Slots, appended, runs[k].Records);
            for (std::size_t j = 0; j <= k; ++j) runs[j].Slots = nullptr;   // given back by the truncation
        }
    } catch (...) {
        // Whatever failed, the plain reader meets it again where the file shows it.
    }
    for (Run& run : runs) {
        if (!run.Slots) continue;
        destroy(run, 0);
        if (run.Taken) table.ReturnRun(run.Slots, 0, run.Records);
        else table.DeleteRun(run.Slots);
    }
    return false;
}

template <template <typename> class L, typename Table>
bool ReadSection(std::string_view fileText, Table& table, const platform::FormatSettings& fs, bool& formFailed,
                 TLoadFailure& failure) {
    using R = typename Table::Record;
    const int n = recordfields::LinesOf<L, R>();
    constexpr bool plainWords = !std::is_same_v<L<R>, Layout<R>>;
    int record = 1;   // the record being read, from 1
    const auto fail = [&](TLoadFailureKind kind, int at, int field) {
        failure = {kind, L<R>::Name, at, field};
        return false;
    };
    try {
        if (n > recordfields::kMaxLines) throw std::length_error("a record of more lines than a reader holds");
        const std::size_t header = FindSectionHeader(L<R>::Name, fileText);
        if (header == std::string_view::npos) return fail(TLoadFailureKind::MissingSection, 0, 0);

        table.DropIndexes();
        if (ReadSectionInParts<L>(fileText, header, table, fs)) return true;
        std::string_view slots[recordfields::kMaxLines];
        int filled = 0;
        bool ok = true;
        int duplicateField = 0;
        // The writer ends the text with a line break; a section that runs to the end of the text
        // without one was cut inside a line.
        std::size_t lastLineEnd = LineEnd(fileText, header);
        bool endsWithBreak = false;
        ForEachSectionLine(fileText, header, [&](std::string_view line) {
            lastLineEnd = static_cast<std::size_t>(line.data() - fileText.data()) + line.size();
            if (line.data() == fileText.data() + fileText.size()) {
                endsWithBreak = true;   // the empty line after the last break holds no value
                return;
            }
            if (!ok) return;
            slots[filled++] = line;
            if (filled < n) return;
            filled = 0;
            ValueReader v(slots, fs, plainWords);
            R rec;
            L<R>::Fields(v, rec);
            if (table.ContainsID(rec.ID)) {   // an ID twice in one table
                ok = false;
                duplicateField = v.IdField();
                return;
            }
            table.AddRecord(std::move(rec));
            ++record;
        });
        // A section that ends inside a record, or inside a line, was cut short. A blank line
        // before the next header starts no record (every record starts with its Order).
        const bool blankLine = filled == 1 && slots[0].empty();
        const bool cut = (filled != 0 && !blankLine) || (lastLineEnd == fileText.size() && !endsWithBreak);
        if (!ok) return fail(TLoadFailureKind::DuplicateID, record, duplicateField);
        if (cut) return fail(TLoadFailureKind::IncompleteRecord, record, filled);
        return true;
    } catch (const FormFailed& e) {
        formFailed = true;
        return fail(e.Kind, record, e.Field);
    } catch (const Failed& e) {
        return fail(e.Kind, record, e.Field);
    } catch (const std::exception&) {
        return fail(TLoadFailureKind::Unreadable, record, 0);
    }
}

// A section in the layout the store is reading: its own coded one, or the converter's 1.4.2 one.
template <typename Table>
bool ReadInLayout(TFileAccess& s, Table& table) {
    if (s.ReadingPlainLayout)
        return ReadSection<Layout142>(s.FileText, table, s.Settings, s.FormMismatch, s.LoadFailure);
    return ReadSection<Layout>(s.FileText, table, s.Settings, s.FormMismatch, s.LoadFailure);
}


}  // namespace

// ---- text layout

std::string TFileAccess::EncodeLineBreaks(std::string_view text) {
    if (text.find(kCrLf) == std::string_view::npos) return std::string(text);
    return platform::ReplaceAll(text, kCrLf, kLineBreakMark);
}

std::string TFileAccess::DecodeLineBreaks(std::string_view text) {
    if (text.find(kLineBreakMark) == std::string_view::npos) return std::string(text);
    return platform::ReplaceAll(text, kLineBreakMark, kCrLf);
}

int TFileAccess::LineCount(std::string_view text) {
    int n = 1;
    for (std::size_t p = text.find(kCrLf); p != std::string_view::npos; p = text.find(kCrLf, p + 2)) ++n;
    return n;
}

std::string TFileAccess::GetLine(std::string_view text, int i) {
    if (i < 0) return {};
    std::size_t start = 0;
    for (int k = 0; k < i; ++k) {
        const std::size_t p = text.find(kCrLf, start);
        if (p == std::string_view::npos) return {};
        start = p + 2;
    }
    const std::size_t end = text.find(kCrLf, start);
    return std::string(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
}

std::string TFileAccess::SectionHeader(std::string_view name) { return "[" + std::string(name) + "]"; }

bool TFileAccess::IsSectionHeader(std::string_view line) {
    if (line.empty() || line.front() != '[') return false;
    return line[std::min<std::size_t>(line.size(), 255) - 1] == ']';
}

std::string TFileAccess::GetSection(std::string_view name, std::string_view text) {
    return std::string(SectionView(name, text));
}

std::string TFileAccess::ReadFileText(const std::string& fileName) const {
    const auto bytes = platform::ReadFileCapped(fileName);
    if (!bytes) return {};
    return DecodeText(*bytes);
}

// ---- the product record

void TFileAccess::ReadProductInfo(TProductInfo& info) const {
    const std::string_view section = SectionView("PRODUCT_INFO", FileText);
    info.ProductName = platform::CutShortText(GetLine(section, 1));
    info.ProductVersion = platform::CutShortText(GetLine(section, 2));
}

bool TFileAccess::HoldsProductInfo(std::string_view head) {
    // The header and the two lines after it, each ended in the head: no later byte changes
    // where the section starts or what its two lines are.
    std::size_t end = FindSectionHeader("PRODUCT_INFO", head);
    for (int line = 0; line < 3 && end != std::string_view::npos; ++line) {
        end = LineEnd(head, end);
        end = end + 2 <= head.size() ? end + 2 : std::string_view::npos;
    }
    return end != std::string_view::npos;
}

int TFileAccess::GetVersionPart(const TProductInfo& info, int part) {
    if (part < 1 || part > 3) return -99999;
    // A version without both dots has no parts at all.
    const std::string_view v = info.ProductVersion;
    const std::size_t dot1 = v.find('.');
    const std::size_t dot2 = dot1 == std::string_view::npos ? dot1 : v.find('.', dot1 + 1);
    std::string_view text;
    if (dot2 != std::string_view::npos) {
        if (part == 1) text = v.substr(0, dot1);
        else if (part == 2) text = v.substr(dot1 + 1, dot2 - dot1 - 1);
        else text = v.substr(dot2 + 1);
    }
    const auto value = dot2 != std::string_view::npos ? ParseInteger(text) : std::nullopt;
    if (!value) throw EConvertError("'" + std::string(dot2 == std::string_view::npos ? v : text) +
                                    "' is not a valid integer value");
    return *value;
}

// ---- writers

void TFileAccess::WriteProductInfo(std::string_view productName, std::string_view productVersion) {
    FileText += SectionHeader("PRODUCT_INFO");
    FileText += kCrLf;
    FileText += productName;
    FileText += kCrLf;
    FileText += productVersion;
    FileText += kCrLf;
}

bool TFileAccess::WriteTestGroups(TEncoder* coder) { return WriteSection(FileText, TestGroups, Settings, coder); }
bool TFileAccess::WriteTests(TEncoder* coder) { return WriteSection(FileText, Tests, Settings, coder); }
bool TFileAccess::WriteStimuli(TEncoder* coder) { return WriteSection(FileText, Stimuli, Settings, coder); }
bool TFileAccess::WriteReactions(TEncoder* coder) { return WriteSection(FileText, Reactions, Settings, coder); }
bool TFileAccess::WriteScales(TEncoder* coder) { return WriteSection(FileText, Scales, Settings, coder); }
bool TFileAccess::WriteInterpretations(TEncoder* coder) {
    return WriteSection(FileText, Interpretations, Settings, coder);
}
bool TFileAccess::WriteWeights(TEncoder* coder) { return WriteSection(FileText, Weights, Settings, coder); }

namespace {

// Calls f with the table of the section at this place in the file.
template <typename Store, typename F>
void WithFileSection(Store& s, std::size_t section, F&& f) {
    switch (section) {
        case 0: return f(s.TestGroups);
        case 1: return f(s.Tests);
        case 2: return f(s.Stimuli);
        case 3: return f(s.Reactions);
        case 4: return f(s.Scales);
        case 5: return f(s.Interpretations);
        case 6: return f(s.Weights);
        default: throw std::out_of_range("no section at this place");
    }
}

}  // namespace

int TFileAccess::SectionRecordCount(std::size_t section) const {
    int count = 0;
    WithFileSection(*this, section, [&](const auto& table) { count = table.RecordCount(); });
    return count;
}

void TFileAccess::WriteSectionPart(std::size_t section, int from, int to, std::string& text) const {
    TextOut out(text, nullptr);
    WithFileSection(*this, section, [&](const auto& table) { WritePart(out, table, from, to, Settings); });
}

// ---- readers

bool TFileAccess::ReadTestGroups() { return ReadInLayout(*this, TestGroups); }
bool TFileAccess::ReadTests() { return ReadInLayout(*this, Tests); }
bool TFileAccess::ReadStimuli() { return ReadInLayout(*this, Stimuli); }
bool TFileAccess::ReadReactions() { return ReadInLayout(*this, Reactions); }
bool TFileAccess::ReadScales() { return ReadInLayout(*this, Scales); }
bool TFileAccess::ReadInterpretations() { return ReadInLayout(*this, Interpretations); }
bool TFileAccess::ReadWeights() { return ReadInLayout(*this, Weights); }

// ---- the converter's plain 1.4.2 layout

bool TFileAccess::IsCodedLayout(std::string_view bytes) {
    for (char c : bytes)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string TFileAccess::PlainTextOf(std::string_view bytes) {
    if (auto text = DecodeIfHex(bytes)) return std::move(*text);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            out += kCrLf;
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            out += bytes[i];
        }
    }
    return out;
}

// ---- files

void SaveStringToFile(const std::string& fileName, std::string_view text, bool encode) {
    if (text.empty()) {
        platform::RemoveFile(fileName);
        return;
    }
    // Coded piece by piece on the way to the file: the coded copy is never whole in memory.
    if (encode) platform::WriteFileAtomic(fileName, [text](const platform::ByteSink& put) { EncodeInPieces(text, put); });
    else platform::WriteFileAtomic(fileName, text);
}
