#include "store/FileAccess.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <type_traits>

#include "platform/CodePage.h"
#include "platform/RealNumbers.h"
#include "platform/SafeFile.h"
#include "platform/ShortDates.h"
#include "platform/TextReplace.h"
#include "store/RecordFields.h"
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

std::optional<std::int32_t> ParseInteger(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size() || s.size() - i > 10) return std::nullopt;
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        const unsigned d = static_cast<unsigned char>(s[i]) - '0';
        if (d > 9) return std::nullopt;
        v = v * 10 + d;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(v);
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
        auto v = platform::ParseReal(Next(), fs_);
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
    void Short(std::string& out) { out = platform::CutShortText(UnescapeValue(Next())); }
    void Long(std::string& out) { out = TFileAccess::DecodeLineBreaks(UnescapeValue(Next())); }
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
// Lines are short, so a plain scan beats a library search per line.
std::size_t LineEnd(std::string_view text, std::size_t pos) {
    const char* p = text.data() + pos;
    const char* end = text.data() + text.size();
    for (; p + 1 < end; ++p)
        if (p[0] == '\r' && p[1] == '\n') return static_cast<std::size_t>(p - text.data());
    return text.size();
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
