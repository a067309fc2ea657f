#include "converter/FileAccessOld.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <exception>

#include "lang/DlgLangConverter.h"
#include "lang/Progress.h"
#include "lang/Rounding.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/RealNumbers.h"
#include "platform/SafeFile.h"
#include "platform/TextReplace.h"

namespace vantrel {
namespace {

constexpr std::string_view kLineBreakMark = "&&&&&";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNull = "NULL";

// A cell that does not convert fails its section.
struct BadCell {};

// One cell of a record row, with the conversions of the old layout. "NULL" (exact) stands for no
// value and gives the column's own value for it.
class Cell {
public:
    Cell(std::string_view text, const platform::FormatSettings& fs) : text_(text), fs_(fs) {}

    std::int32_t Int(std::int32_t ifNull) const { return IsNull() ? ifNull : Integer(); }
    bool Flag(bool ifNull) const { return IsNull() ? ifNull : Integer() != 0; }
    double Real(double ifNull) const {
        if (IsNull()) return ifNull;
        const auto v = platform::ParseReal(text_, fs_);
        if (!v) throw BadCell{};
        return *v;
    }
    std::string Text() const { return IsNull() ? std::string() : std::string(text_); }
    std::string LongText() const { return IsNull() ? std::string() : TFileAccessOld::DecodeLineBreaks(text_); }
    // "1", "2" and "3" are themselves; anything else is forward only.
    std::uint8_t Direction() const {
        if (text_ == "1" || text_ == "2" || text_ == "3") return static_cast<std::uint8_t>(text_[0] - '0');
        return 1;
    }

private:
    bool IsNull() const { return text_ == kNull; }
    // A whole number: leading blanks, an optional sign, decimal digits, nothing after them.
    std::int32_t Integer() const {
        std::string_view s = text_;
        while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        if (s.empty() || s.front() == '+') throw BadCell{};
        std::int32_t v = 0;
        const auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (err != std::errc() || end != s.data() + s.size()) throw BadCell{};
        return v;
    }

    std::string_view text_;
    const platform::FormatSettings& fs_;
};

template <typename R>
struct Column {
    const char* Name;
    void (*Apply)(R&, const Cell&);
};

// ---- the table sections: name, row defaults and the columns that fill fields.

template <typename R>
struct OldSection;

template <>
struct OldSection<TAOldTestGroup> {
    using R = TAOldTestGroup;
    static constexpr const char* Name = "TEST_GROUPS";
    static void Defaults(R& r) { r.ID = -1; r.ParentID = -1; }
    static constexpr Column<R> Columns[] = {
        {"TEST_GROUP_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"TEST_GROUP_NAME", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"TEST_GROUP_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldTest> {
    using R = TAOldTest;
    static constexpr const char* Name = "TESTS";
    static void Defaults(R& r) {
        r.ID = -1;
        r.ParentID = -1;
        r.MoveDirection = 1;
        r.ReplayEnabled = true;
        r.StopEnabled = true;
    }
    static constexpr Column<R> Columns[] = {
        {"TEST_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"TEST_TESTGROUP_ID", [](R& r, const Cell& c) { r.ParentID = c.Int(-1); }},
        {"TEST_NAM", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"TEST_ANNOT", [](R& r, const Cell& c) { r.Annotation = c.LongText(); }},
        {"TEST_INSTR", [](R& r, const Cell& c) { r.Instruction = c.LongText(); }},
        {"TEST_MOVEDIR", [](R& r, const Cell& c) { r.MoveDirection = c.Direction(); }},
        {"TEST_REPLYALLOW", [](R& r, const Cell& c) { r.ReplayEnabled = c.Flag(true); }},
        {"TEST_INTERALLOW", [](R& r, const Cell& c) { r.StopEnabled = c.Flag(true); }},
        {"TEST_ANONYM", [](R& r, const Cell& c) { r.SpareFlag = c.Flag(true); }},
        {"TEST_TIMLIMIT", [](R& r, const Cell& c) { r.TimeLimit = c.Int(0); }},
        {"TEST_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldStimul> {
    using R = TAOldStimul;
    static constexpr const char* Name = "STIMULS";
    static void Defaults(R& r) { r.ID = -1; r.ParentID = -1; }
    static constexpr Column<R> Columns[] = {
        {"STIMUL_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"STIMUL_TEST_ID", [](R& r, const Cell& c) { r.ParentID = c.Int(-1); }},
        {"STIMUL_NAM", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"STIMUL_ISMULTIPLE", [](R& r, const Cell& c) { r.MultipleAnswers = c.Flag(true); }},
        {"STIMUL_NUMANSLIMIT", [](R& r, const Cell& c) { r.AnswersLimit = c.Int(-1); }},
        {"STIMUL_ANSMUSTBE", [](R& r, const Cell& c) { r.AnswerRequired = c.Flag(true); }},
        {"STIMUL_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldReaction> {
    using R = TAOldReaction;
    static constexpr const char* Name = "REACTIONS";
    static void Defaults(R& r) { r.ID = -1; r.ParentID = -1; }
    static constexpr Column<R> Columns[] = {
        {"REACTION_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"REACTION_STIMUL_ID", [](R& r, const Cell& c) { r.ParentID = c.Int(-1); }},
        {"REACTION_NAM", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"REACTION_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldScale> {
    using R = TAOldScale;
    static constexpr const char* Name = "SCALES";
    static void Defaults(R& r) { r.ID = -1; r.ParentID = -1; }
    static constexpr Column<R> Columns[] = {
        {"SCALE_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"SCALE_TEST_ID", [](R& r, const Cell& c) { r.ParentID = c.Int(-1); }},
        {"SCALE_NAM", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"SCALE_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldInterpretation> {
    using R = TAOldInterpretation;
    static constexpr const char* Name = "INTERPRETATIONS";
    static void Defaults(R& r) {
        r.ID = -1;
        r.ParentID = -1;
        r.Maximum = -1.0;
        r.Minimum = -1.0;
    }
    static constexpr Column<R> Columns[] = {
        {"INTERP_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"INTERP_SCALE_ID", [](R& r, const Cell& c) { r.ParentID = c.Int(-1); }},
        {"INTERP_NAM", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"INTERP_MAX", [](R& r, const Cell& c) { r.Maximum = c.Real(-1); }},
        {"INTERP_MIN", [](R& r, const Cell& c) { r.Minimum = c.Real(-1); }},
        {"INTERP_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldWeight> {
    using R = TAOldWeight;
    static constexpr const char* Name = "WEIGHTS";
    static void Defaults(R& r) {
        r.ID = -1;
        r.ScaleID = -1;
        r.ParentID = -1;
        r.Value = -1.0;
    }
    static constexpr Column<R> Columns[] = {
        {"WEIGHT_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"WEIGHT_SCALE_ID", [](R& r, const Cell& c) { r.ScaleID = c.Int(-1); }},
        {"WEIGHT_REACTION_ID", [](R& r, const Cell& c) { r.ParentID = c.Int(-1); }},
        {"WEIGHT_NAM", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"WEIGHT_VALUE", [](R& r, const Cell& c) { r.Value = c.Real(-1); }},
        {"WEIGHT_ORDER", [](R& r, const Cell& c) { r.Order = c.Int(-1); }},
    };
};

template <>
struct OldSection<TAOldUser> {
    using R = TAOldUser;
    static constexpr const char* Name = "USERS";
    static void Defaults(R& r) { r.ID = -1; }
    static constexpr Column<R> Columns[] = {
        {"USER_ID", [](R& r, const Cell& c) { r.ID = c.Int(-1); }},
        {"USER_NAME", [](R& r, const Cell& c) { r.Name = c.Text(); }},
        {"USER_PASSWORD", [](R& r, const Cell& c) { r.Password = c.Text(); }},
    };
};

std::string Cut(std::string_view s) { return platform::CutShortText(s); }

// The same cut as a view: the cut text is always the start of the text.
std::string_view CutView(std::string_view s) {
    return s.size() <= platform::kShortTextMax ? s : s.substr(0, platform::CutShortText(s).size());
}

std::string LowerHeader(std::string_view line) { return platform::LowerAscii(line); }

// Cuts the lines off the front of a text, one at a time: each ends at CR LF, LF or CR.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        const std::size_t size = text_.size();
        if (pos_ >= size) return false;
        const char* p = text_.data();
        std::size_t end = pos_;
        while (end < size && p[end] != '\r' && p[end] != '\n') ++end;
        line = text_.substr(pos_, end - pos_);
        if (end + 1 < size && p[end] == '\r' && p[end + 1] == '\n') ++end;
        pos_ = std::min(end + 1, size);
        return true;
    }
    // Where the next line starts.
    std::size_t Position() const { return pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

TFileAccessOld::TFileAccessOld(std::string fileName, platform::FormatSettings settings)
    : FileName(std::move(fileName)), Settings(settings) {
    SetModified(false);
}

void TFileAccessOld::SetModified(bool value) {
    for (TRecordTableOld* t : std::initializer_list<TRecordTableOld*>{
             &TestGroups, &ClientGroups, &Users, &Clients, &Tests, &Stimuli, &Reactions, &Scales, &Interpretations,
             &Weights})
        t->SetModified(value);
}

// ---- the grid

bool TFileAccessOld::TGrid::SetGridSize(int cols, int rows) {
    cells_.clear();
    cols_ = rows_ = 0;
    if (cols < 0 || rows < 0 || static_cast<long long>(cols) * rows > 0x7FFFFFFF) return false;
    try {
        cells_.assign(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), std::string_view());
    } catch (const std::bad_alloc&) {
        return false;
    }
    cols_ = cols;
    rows_ = rows;
    return true;
}

// ---- lines

void TFileAccessOld::SetLines(std::string_view text) {
    text_.assign(text);
    IndexLines();
}

std::string TFileAccessOld::TakeText() {
    std::string text = std::move(text_);
    text_.clear();
    IndexLines();
    return text;
}

void TFileAccessOld::IndexLines() {
    brackets_.clear();
    lineCount_ = 0;
    LineCursor lines(text_);
    std::string_view l;
    while (lines.Next(l)) {
        if (!l.empty() && l.front() == '[') brackets_.push_back({lineCount_, lines.Position(), l});
        ++lineCount_;
    }
}

bool TFileAccessOld::LoadLines() {
    try {
        auto bytes = platform::ReadFileCapped(FileName);
        text_ = bytes ? std::move(*bytes) : std::string();
        IndexLines();
        return bytes.has_value();
    } catch (const std::exception&) {
        SetLines({});
        return false;
    }
}

std::size_t TFileAccessOld::FindHeader(std::string_view name) const {
    for (std::size_t b = 0; b < brackets_.size(); ++b)
        if (IsSectionHeader(brackets_[b].Text) && SectionName(brackets_[b].Text) == name) return b;
    return brackets_.size();
}

std::size_t TFileAccessOld::NextHeader(std::size_t from) const {
    std::size_t b = from + 1;
    while (b < brackets_.size() && !IsSectionHeader(brackets_[b].Text)) ++b;
    return b;
}

std::string_view TFileAccessOld::BodyAfter(std::size_t b) const {
    const std::size_t next = NextHeader(b);
    const std::size_t end =
        next < brackets_.size() ? static_cast<std::size_t>(brackets_[next].Text.data() - text_.data()) : text_.size();
    const std::size_t start = brackets_[b].BodyStart;
    return std::string_view(text_).substr(start, end - start);
}

bool TFileAccessOld::TableSectionBody(std::string_view name, std::string_view& body) const {
    const std::string wanted = LowerHeader("[" + std::string(name) + "]");
    for (std::size_t b = 0; b < brackets_.size(); ++b) {
        const std::string_view l = brackets_[b].Text;
        if (l.size() == wanted.size() && l.back() == ']' && LowerHeader(l) == wanted) {
            body = BodyAfter(b);
            return true;
        }
    }
    return false;
}

bool TFileAccessOld::IsSectionHeader(std::string_view line) {
    if (line.empty() || line.front() != '[') return false;
    return line[std::min<std::size_t>(line.size(), 255) - 1] == ']';
}

std::string TFileAccessOld::SectionName(std::string_view line) {
    if (!IsSectionHeader(line)) return {};
    const std::size_t n = std::min<std::size_t>(line.size(), 255);
    return n < 2 ? std::string() : std::string(line.substr(1, n - 2));
}

std::string TFileAccessOld::KeyOfLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (IsSectionHeader(line) || eq == std::string_view::npos) return {};
    return std::string(line.substr(0, eq));
}

std::string TFileAccessOld::ValueOfLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (IsSectionHeader(line) || eq == std::string_view::npos) return {};
    return std::string(line.substr(eq + 1));
}

bool TFileAccessOld::ReplaceFirst(std::string_view pattern, std::string_view replacement, std::string& text) {
    const std::size_t p = text.find(pattern);
    if (pattern.empty() || p == std::string::npos) return false;
    text.replace(p, pattern.size(), replacement);
    return true;
}

std::string TFileAccessOld::DecodeLineBreaks(std::string_view text) {
    return platform::ReplaceAll(text, kLineBreakMark, kCrLf);
}

void TFileAccessOld::DecodeLineBreaksInList(std::vector<std::string>& list) {
    // One pass from the left replaces exactly what repeated ReplaceFirst calls would.
    for (std::string& s : list)
        if (s.find(kLineBreakMark) != std::string::npos) s = DecodeLineBreaks(s);
}

// ---- sections

template <typename Visit>
void TFileAccessOld::ForEachCountedLine(std::string_view body, Visit visit) {
    LineCursor lines(body);
    std::string_view l;
    while (lines.Next(l)) {
        const std::size_t eq = l.find('=');
        if (eq == std::string_view::npos) continue;
        if (!visit(CutView(l.substr(0, eq)), CutView(l.substr(eq + 1)))) return;
    }
}

bool TFileAccessOld::GetSectionKeys(std::string_view name, std::vector<std::string>& list) const {
    list.clear();
    std::string_view body;
    if (TableSectionBody(name, body))
        ForEachCountedLine(body, [&](std::string_view key, std::string_view) { return list.emplace_back(key), true; });
    return true;
}

bool TFileAccessOld::GetSectionValues(std::string_view name, std::vector<std::string>& list) const {
    list.clear();
    std::string_view body;
    if (TableSectionBody(name, body))
        ForEachCountedLine(body, [&](std::string_view, std::string_view value) { return list.emplace_back(value), true; });
    return true;
}

template <typename Begin, typename Column, typename CellOf>
bool TFileAccessOld::WalkGrid(std::string_view name, Begin begin, Column column, CellOf cell) const {
    std::string_view body;
    if (!TableSectionBody(name, body)) return false;
    // The count of lines decides the number of rows, so the lines are counted first.
    std::int64_t m = 0;
    std::string_view countKey;
    std::string_view countValue;
    ForEachCountedLine(body, [&](std::string_view key, std::string_view value) {
        if (m++ == 0) {
            countKey = key;
            countValue = value;
        }
        return true;
    });
    if (m == 0) return false;
    std::int32_t n = 0;
    try {
        n = Cell(countValue, Settings).Int(0);
        if (countValue == kNull) return false;
    } catch (const BadCell&) {
        return false;
    }
    if (countKey != "FIELD_NUMS" || n < 1) return false;

    const std::int64_t rows = lang::RoundHalfEven(m - n - 1, n) + 1;
    // Every line that the rows count must be there: the last one is line rows * n.
    if (rows < 1 || rows * n > m - 1 || rows * n > 0x7FFFFFFF) return false;
    if (!begin(static_cast<int>(n), static_cast<int>(rows))) return false;

    const std::int64_t lastLine = rows * n;
    std::int64_t k = 0;   // among the counted lines
    int r = 0;
    int i = 0;
    ForEachCountedLine(body, [&](std::string_view key, std::string_view value) {
        if (k != 0) {
            if (r == 0) column(i, key);
            else cell(r, i, value);
            if (++i == n) {
                i = 0;
                ++r;
            }
        }
        return ++k <= lastLine;
    });
    return true;
}

bool TFileAccessOld::ReadGrid(std::string_view name, std::vector<std::string>& descriptions) {
    try {
        int cols = 0;
        return WalkGrid(
            name,
            [&](int n, int rows) {
                if (!Grid) Grid = std::make_unique<TGrid>();
                if (!Grid->SetGridSize(n, rows)) return false;
                cols = n;
                descriptions.reserve(descriptions.size() + static_cast<std::size_t>(rows - 1));
                return true;
            },
            [&](int i, std::string_view key) { *Grid->GetGridCell(i, 0) = key; },
            [&](int r, int i, std::string_view v) {
                if (i == cols - 1) descriptions.emplace_back(v == kNull ? std::string_view() : v);
                else *Grid->GetGridCell(i, r) = v;
            });
    } catch (const std::exception&) {
        return false;
    }
}

template <typename Table>
bool TFileAccessOld::ReadTable(std::string_view name, Table& table) {
    using R = typename Table::Record;
    using S = OldSection<R>;
    // The rows go straight from the text into the table; no grid is kept.
    Grid.reset();
    try {
        int cols = 0;
        std::vector<void (*)(R&, const Cell&)> apply;
        R rec;
        bool rising = table.RecordCount() == 0;   // every row so far had a higher ID than those before
        std::int32_t highest = 0;
        return WalkGrid(
            name,
            [&](int n, int rows) {
                cols = n;
                table.Reserve(table.RecordCount() + rows - 1);
                apply.assign(static_cast<std::size_t>(n), nullptr);
                return true;
            },
            // Which field each column fills; the last column is the description, and of two
            // columns with one name the later wins (it is applied later).
            [&](int i, std::string_view key) {
                if (i + 1 < cols)
                    for (const Column<R>& c : S::Columns)
                        if (key == c.Name) apply[static_cast<std::size_t>(i)] = c.Apply;
            },
            [&](int, int i, std::string_view v) {
                if (i == 0) {
                    rec = R();
                    S::Defaults(rec);
                }
                if (i + 1 < cols) {
                    if (apply[static_cast<std::size_t>(i)]) apply[static_cast<std::size_t>(i)](rec, Cell(v, Settings));
                    return;
                }
                const std::int32_t id = rec.ID;
                table.Add(std::move(rec));
                // Rows that share an ID put their descriptions on the first of them. An ID above
                // every earlier one is new, and its row is current already: no index is needed
                // while the IDs rise, as they mostly do.
                const bool first = rising && (table.RecordCount() == 1 || id > highest);
                if (first) highest = id;
                else rising = false;
                if (first || table.Locate(id)) table.SetDescription(v == kNull ? std::string() : DecodeLineBreaks(v));
            });
    } catch (const BadCell&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

bool TFileAccessOld::ReadTestGroups() { return ReadTable(OldSection<TAOldTestGroup>::Name, TestGroups); }
bool TFileAccessOld::ReadTests() { return ReadTable(OldSection<TAOldTest>::Name, Tests); }
bool TFileAccessOld::ReadStimuli() { return ReadTable(OldSection<TAOldStimul>::Name, Stimuli); }
bool TFileAccessOld::ReadReactions() { return ReadTable(OldSection<TAOldReaction>::Name, Reactions); }
bool TFileAccessOld::ReadScales() { return ReadTable(OldSection<TAOldScale>::Name, Scales); }
bool TFileAccessOld::ReadInterpretations() { return ReadTable(OldSection<TAOldInterpretation>::Name, Interpretations); }
bool TFileAccessOld::ReadWeights() { return ReadTable(OldSection<TAOldWeight>::Name, Weights); }
bool TFileAccessOld::ReadUsers() { return ReadTable(OldSection<TAOldUser>::Name, Users); }

void TFileAccessOld::FindSection(std::string_view name, int& first, int& last) const {
    first = -1;
    last = -2;
    const std::size_t b = FindHeader(name);
    if (b == brackets_.size()) return;
    const std::size_t next = NextHeader(b);
    first = brackets_[b].Line + 1;
    last = next < brackets_.size() ? brackets_[next].Line - 1 : lineCount_ - 1;
    if (last < first) {
        first = -1;
        last = -2;
    }
}

std::string TFileAccessOld::ReadValue(std::string_view section, std::string_view key) const {
    const std::size_t b = FindHeader(section);
    if (b == brackets_.size()) return {};
    LineCursor lines(BodyAfter(b));
    std::string_view l;
    while (lines.Next(l)) {
        const std::size_t eq = l.find('=');
        if (eq != std::string_view::npos && l.substr(0, eq) == key) return Cut(l.substr(eq + 1));
    }
    return {};
}

bool TFileAccessOld::ReadIsAuthor() const { return ReadValue("ADDITIONAL", "IS_AUTHOR") != "0"; }

// ---- the whole file

bool TFileAccessOld::ReadSections() {
    try {
        const auto progress = lang::MakeProgress(8);
        using Reader = bool (TFileAccessOld::*)();
        for (Reader read : {&TFileAccessOld::ReadTestGroups, &TFileAccessOld::ReadTests, &TFileAccessOld::ReadStimuli,
                            &TFileAccessOld::ReadReactions, &TFileAccessOld::ReadScales,
                            &TFileAccessOld::ReadInterpretations, &TFileAccessOld::ReadWeights,
                            &TFileAccessOld::ReadUsers}) {
            if (!(this->*read)()) throw Exception(lang::GetMessageText("FILEACC_FILE_VIOLATED_MSG"));
            progress->Step();
        }
        IsAuthor = ReadIsAuthor();
        SetModified(false);
        return true;
    } catch (const std::exception&) {
        // The reader shows nothing: the caller reports the failure.
        return false;
    }
}

bool TFileAccessOld::LoadAll() {
    LoadLines();
    return ReadSections();
}

bool TFileAccessOld::LoadFromText(std::string_view text) {
    SetLines(text);
    return ReadSections();
}

}  // namespace vantrel
