#include "converter/FileAccessOld.h"

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
    SplitLines();
}

void TFileAccessOld::SplitLines() {
    Lines.clear();
    headers_.clear();
    const std::string_view text = text_;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        Lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const std::string_view l = Lines[i];
        if (l.size() >= 2 && l.front() == '[' && l.back() == ']') headers_.try_emplace(LowerHeader(l), static_cast<int>(i));
    }
}

bool TFileAccessOld::LoadLines() {
    try {
        auto bytes = platform::ReadFileCapped(FileName);
        text_ = bytes ? std::move(*bytes) : std::string();
        SplitLines();
        return bytes.has_value();
    } catch (const std::exception&) {
        SetLines({});
        return false;
    }
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

std::vector<TFileAccessOld::CountedLine> TFileAccessOld::SectionLines(std::string_view name) const {
    std::vector<CountedLine> out;
    const auto it = headers_.find(LowerHeader("[" + std::string(name) + "]"));
    if (it == headers_.end()) return out;
    for (std::size_t i = static_cast<std::size_t>(it->second) + 1; i < Lines.size(); ++i) {
        const std::string_view l = Lines[i];
        if (IsSectionHeader(l)) break;
        const std::size_t eq = l.find('=');
        if (eq == std::string_view::npos) continue;
        out.push_back({CutView(l.substr(0, eq)), CutView(l.substr(eq + 1))});
    }
    return out;
}

bool TFileAccessOld::GetSectionKeys(std::string_view name, std::vector<std::string>& list) const {
    list.clear();
    for (const CountedLine& l : SectionLines(name)) list.emplace_back(l.Key);
    return true;
}

bool TFileAccessOld::GetSectionValues(std::string_view name, std::vector<std::string>& list) const {
    list.clear();
    for (const CountedLine& l : SectionLines(name)) list.emplace_back(l.Value);
    return true;
}

bool TFileAccessOld::ReadGrid(std::string_view name, std::vector<std::string>& descriptions) {
    try {
        const std::vector<CountedLine> lines = SectionLines(name);
        if (lines.empty()) return false;
        std::int32_t n = 0;
        try {
            n = Cell(lines[0].Value, Settings).Int(0);
            if (lines[0].Value == kNull) return false;
        } catch (const BadCell&) {
            return false;
        }
        if (lines[0].Key != "FIELD_NUMS" || n < 1) return false;

        const std::int64_t m = static_cast<std::int64_t>(lines.size());
        const std::int64_t rows = lang::RoundHalfEven(m - n - 1, n) + 1;
        // Every line that the rows count must be there: the last one is line rows * n.
        if (rows < 1 || rows * n > m - 1) return false;

        if (!Grid) Grid = std::make_unique<TGrid>();
        if (!Grid->SetGridSize(n, static_cast<int>(rows))) return false;
        for (int i = 0; i < n; ++i) *Grid->GetGridCell(i, 0) = lines[static_cast<std::size_t>(i) + 1].Key;
        descriptions.reserve(descriptions.size() + static_cast<std::size_t>(rows - 1));
        for (int r = 1; r < rows; ++r) {
            for (int i = 0; i < n; ++i) {
                const std::string_view v = lines[static_cast<std::size_t>(r) * n + i + 1].Value;
                if (i == n - 1) descriptions.emplace_back(v == kNull ? std::string_view() : v);
                else *Grid->GetGridCell(i, r) = v;
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

template <typename Table>
bool TFileAccessOld::ReadTable(std::string_view name, Table& table) {
    using R = typename Table::Record;
    using S = OldSection<R>;
    std::vector<std::string> descriptions;
    Grid = std::make_unique<TGrid>();
    struct FreeGrid {
        std::unique_ptr<TGrid>& grid;
        ~FreeGrid() { grid.reset(); }
    } freeGrid{Grid};
    try {
        if (!ReadGrid(name, descriptions)) return false;
        DecodeLineBreaksInList(descriptions);

        // Which field each column fills; the last column is the description, and of two columns
        // with one name the later wins (it is applied later).
        const int cols = Grid->GetColCount();
        std::vector<void (*)(R&, const Cell&)> apply(static_cast<std::size_t>(cols), nullptr);
        for (int i = 0; i + 1 < cols; ++i)
            for (const Column<R>& c : S::Columns)
                if (*Grid->GetGridCell(i, 0) == c.Name) apply[static_cast<std::size_t>(i)] = c.Apply;

        for (int r = 1; r < Grid->GetRowCount(); ++r) {
            R rec;
            S::Defaults(rec);
            for (int i = 0; i < cols; ++i)
                if (apply[static_cast<std::size_t>(i)])
                    apply[static_cast<std::size_t>(i)](rec, Cell(*Grid->GetGridCell(i, r), Settings));
            const std::int32_t id = rec.ID;
            table.Add(std::move(rec));
            // Rows that share an ID put their descriptions on the first of them.
            if (table.Locate(id)) table.SetDescription(descriptions[static_cast<std::size_t>(r) - 1]);
        }
        return true;
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
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (!IsSectionHeader(Lines[i])) continue;
        if (first >= 0) {
            last = static_cast<int>(i) - 1;
            break;
        }
        if (SectionName(Lines[i]) == name) first = static_cast<int>(i) + 1;
    }
    if (first >= 0 && last == -2) last = static_cast<int>(Lines.size()) - 1;
    if (last < first) {
        first = -1;
        last = -2;
    }
}

std::string TFileAccessOld::ReadValue(std::string_view section, std::string_view key) const {
    int first = 0;
    int last = 0;
    FindSection(section, first, last);
    for (int i = first; i >= 0 && i <= last; ++i) {
        const std::string_view l = Lines[static_cast<std::size_t>(i)];
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
