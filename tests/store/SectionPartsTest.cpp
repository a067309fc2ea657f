// The reading of large sections in parts on several threads against the plain reader, on random
// tables, random texts and numbers and random damage, with parts so small that their bounds fall
// everywhere: inside records, inside lines and between the CR and the LF of a line break.
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "platform/RealNumbers.h"
#include "store/FileAccess.h"
#include "store/StoreTestSeam.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/ScopedStoreServices.h"

using platform::FormatSettings;

namespace {

// Puts the program's own choice back whatever a test did.
struct ScopedParts {
    ScopedParts(std::size_t minBytes, std::size_t parts) { storetesthooks::ReadSectionsInParts(minBytes, parts); }
    ~ScopedParts() { storetesthooks::ReadSectionsAsTheMachineDoes(); }
};

class Random {
public:
    explicit Random(std::uint32_t seed) : rng_(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }

    // Texts of every kind a value can hold, line breaks and header-looking lines among them.
    std::string Text() {
        static const char* const pieces[] = {"", "Name", "a b", "\r\n", "\n", "\r", "&&&&&", "&&", "[SCALES]", "[",
                                             "]", "\x1B", "\x1B[X]", "\xC3\xA4", "\xFF\xFE", "\x80", " ", "0", "-1",
                                             "1,5", "2.25", "true", "Free"};
        std::string s;
        const int kind = Int(0, 9);
        if (kind == 0) return s;
        if (kind == 1) return std::string(static_cast<std::size_t>(Int(250, 400)), static_cast<char>(Int('a', 'z')));
        if (kind == 2) return "[" + std::string(static_cast<std::size_t>(Int(0, 300)), 'x') + "]";
        for (int n = Int(1, 6); n > 0; --n) s += pieces[Int(0, static_cast<int>(std::size(pieces)) - 1)];
        return s;
    }
    std::int32_t Key() {
        const int kind = Int(0, 9);
        if (kind == 0) return Int(-99998, -1);
        if (kind == 1) return Int(100000, 999999998);
        return Int(0, 60);
    }
    double Real() {
        switch (Int(0, 6)) {
            case 0: return 0;
            case 1: return -0.0;
            case 2: return Int(-100000, 100000) / 8.0;
            case 3: return Int(-1000000, 1000000) * 1e-9;
            case 4: return std::ldexp(static_cast<double>(Int(1, 1 << 30)), Int(-80, 80));
            case 5: return 1.0 / Int(1, 1000);
            default: return Int(-999, 999) * 1e15;
        }
    }
    template <typename R>
    void Common(R& r, std::int32_t id) {
        r.Order = Key();
        r.ID = id;
        r.ParentID = Key();
        r.Name = Text();
        r.Description = Text();
    }

private:
    std::mt19937 rng_;
};

// Random records in every table of the file; IDs mostly rising, some from far away.
void FillRandomly(TFileAccess& s, Random& r, int size) {
    const auto id = [&](int i) { return r.Chance(5) ? r.Int(1000, 999999998) : i + 1; };
    // Up to size records of the table, each with its common fields and then its own.
    const auto fill = [&](auto& table, auto own) {
        for (int i = 0, n = r.Int(0, size); i < n; ++i) {
            typename std::remove_reference_t<decltype(table)>::Record rec;
            r.Common(rec, id(i));
            own(rec);
            table.AddRecord(rec);
        }
    };
    const auto none = [](auto&) {};
    fill(s.TestGroups, none);
    fill(s.Tests, [&](TTest& t) {
        t.Annotation = r.Text();
        t.Instruction = r.Text();
        t.MoveDirection = static_cast<std::uint8_t>(r.Int(0, 3));
        t.ReplayEnabled = r.Chance(50);
        t.StopEnabled = r.Chance(50);
        t.SpareFlag = r.Chance(50);
        t.TimeLimit = r.Int(-5, 100000);
        t.AuthorName = r.Text();
        t.AuthorEmail = r.Text();
        t.Copyright = r.Text();
        t.Created = r.Int(1, 80000);
        t.Private = r.Chance(50);
        t.SpareText = r.Text();
    });
    fill(s.Stimuli, [&](TStimul& q) {
        q.MultipleAnswers = r.Chance(50);
        q.AnswersLimit = r.Int(-3, 30);
        q.AnswerRequired = r.Chance(50);
    });
    fill(s.Reactions, none);
    fill(s.Scales, none);
    fill(s.Interpretations, [&](TInterpretation& p) {
        p.Maximum = r.Real();
        p.Minimum = r.Real();
    });
    fill(s.Weights, [&](TWeight& w) {
        w.ScaleID = r.Key();
        w.Value = r.Real();
    });
}

// The text the writers make of the store (the product record first).
std::string TextOf(TFileAccess& s) {
    s.FileText.clear();
    s.WriteProductInfo("Orvel", "2.0.1");
    EXPECT_TRUE(s.WriteTestGroups() && s.WriteTests() && s.WriteStimuli() && s.WriteReactions() && s.WriteScales() &&
                s.WriteInterpretations() && s.WriteWeights());
    std::string text;
    text.swap(s.FileText);
    return text;
}

// Where each line of the text starts.
std::vector<std::size_t> LineStarts(const std::string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) starts.push_back(p + 2);
    return starts;
}

// One kind of damage, at a random place.
std::string Damaged(std::string text, Random& r, int kind) {
    const std::vector<std::size_t> starts = LineStarts(text);
    const std::size_t line = static_cast<std::size_t>(r.Int(1, static_cast<int>(starts.size()) - 1));
    const std::size_t at = starts[line];
    const std::size_t next = line + 1 < starts.size() ? starts[line + 1] : text.size();
    switch (kind) {
        case 1: return text.substr(0, static_cast<std::size_t>(r.Int(0, static_cast<int>(text.size()))));
        case 2: return text.erase(at, next - at);
        case 3: return text.insert(at, text.substr(at, next - at));
        case 4: return text.insert(at, "x1\r\n");
        case 5: return text.insert(at, "[JUNK]\r\n");
        case 6: return text.insert(at, "\r\n");
        case 7: {
            // A whole record twice: the same ID twice in one section.
            const std::size_t len = static_cast<std::size_t>(r.Int(1, 30));
            const std::size_t end = line + len < starts.size() ? starts[line + len] : text.size();
            return text.insert(at, text.substr(at, end - at));
        }
        case 8: {
            // A number of another form: the separator the other way round.
            for (std::size_t p = at; p < text.size(); ++p)
                if (text[p] == '.' || text[p] == ',') {
                    text[p] = text[p] == '.' ? ',' : '.';
                    break;
                }
            return text;
        }
        case 9: {
            // Lone CRs and LFs inside values, short texts among them: the lines stay as they are.
            // Between two letters, so that no number breaks.
            const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
            for (int n = 0; n < 200; ++n) {
                const std::size_t p = static_cast<std::size_t>(r.Int(1, static_cast<int>(text.size()) - 1));
                if (letter(text[p - 1]) && letter(text[p])) text.insert(p, 1, r.Chance(50) ? '\r' : '\n');
            }
            return text;
        }
        default: return text;
    }
}

struct Outcome {
    bool Loaded;
    TLoadFailure Failure;
    std::string Error;
    bool FormMismatch;
};

// A load of text into a store that already holds some records, read in parts or plainly.
Outcome LoadInto(TFileAccess& s, const std::string& text, std::size_t minBytes, std::size_t parts) {
    ScopedParts scoped(minBytes, parts);
    const bool loaded = s.LoadFromText(text, TLoadFailureKind::None, TSectionChoice::All());
    return {loaded, s.LoadFailure, s.LastError, s.FormMismatch};
}

void ExpectSameOutcome(const Outcome& a, const Outcome& b) {
    EXPECT_EQ(a.Loaded, b.Loaded);
    EXPECT_EQ(a.Failure, b.Failure) << "kind " << static_cast<int>(a.Failure.Kind) << " / "
                                    << static_cast<int>(b.Failure.Kind) << ", section " << a.Failure.Section
                                    << " / " << b.Failure.Section << ", record " << a.Failure.Record << " / "
                                    << b.Failure.Record << ", field " << a.Failure.Field << " / " << b.Failure.Field;
    EXPECT_EQ(a.Error, b.Error);
    EXPECT_EQ(a.FormMismatch, b.FormMismatch);
}

const FormatSettings kForms[] = {FormatSettings::Posix(), FormatSettings::FromLocaleStrings(",", "%d.%m.%Y")};

}  // namespace

TEST(SectionParts, ReadsWhatThePlainReaderReadsOnRandomFiles) {
    ScopedStoreServices services;
    const std::size_t partCounts[] = {1, 2, 3, 5, 16, 61, 400};
    const std::size_t readBefore = storetesthooks::SectionsReadInParts();
    int undamagedWithRecords = 0;
    for (std::uint32_t seed = 1; seed <= 120; ++seed) {
        Random r(seed);
        const FormatSettings& fs = kForms[seed % 2];
        TFileAccess source("random.kvd", fs);
        FillRandomly(source, r, r.Chance(20) ? 150 : 25);
        const int damage = r.Chance(30) ? 0 : r.Chance(20) ? 9 : r.Int(1, 8);
        const std::string text = Damaged(TextOf(source), r, damage);
        const std::size_t parts = partCounts[seed % std::size(partCounts)];
        SCOPED_TRACE("seed " + std::to_string(seed) + ", damage " + std::to_string(damage) + ", parts " +
                     std::to_string(parts));

        // Both stores hold the same records before, some of them with IDs the file has.
        TFileAccess inParts("random.kvd", fs);
        TFileAccess plain("random.kvd", fs);
        const int held = r.Chance(70) ? 0 : 3;
        Random before(seed + 1000);
        FillRandomly(inParts, before, held);
        Random sameBefore(seed + 1000);
        FillRandomly(plain, sameBefore, held);
        for (TObjectTable* t : inParts.AllTables()) t->SetCursor(1);
        for (TObjectTable* t : plain.AllTables()) t->SetCursor(1);

        const Outcome a = LoadInto(inParts, text, 1, parts);
        const Outcome b = LoadInto(plain, text, std::numeric_limits<std::size_t>::max(), 0);
        ExpectSameOutcome(a, b);
        ExpectSameState(inParts, plain, "the store read in parts against the plain one");
        for (const TObjectTable* t : inParts.AllTables()) {
            std::string why;
            EXPECT_TRUE(TObjectTablePeer::CachesAreTrue(*t, &why)) << why;
        }
        if ((damage == 0 || damage == 9) && b.Loaded && source.Weights.RecordCount() > 0) ++undamagedWithRecords;
    }
    // The files read whole went through the parts, not around them.
    EXPECT_GT(undamagedWithRecords, 10);
    EXPECT_GE(storetesthooks::SectionsReadInParts() - readBefore, static_cast<std::size_t>(undamagedWithRecords));
}

TEST(SectionParts, ALargeProjectReadsTheSameInPartsOfEveryCount) {
    ScopedStoreServices services;
    Random r(7);
    TFileAccess source("large.kvd");
    FillRandomly(source, r, 3000);
    const std::string text = TextOf(source);
    TFileAccess plain("large.kvd");
    const Outcome b = LoadInto(plain, text, std::numeric_limits<std::size_t>::max(), 0);
    ASSERT_TRUE(b.Loaded);
    std::size_t withRecords = 0;
    for (const TObjectTable* t : source.AllTables()) withRecords += t->RecordCount() > 0 ? 1 : 0;
    for (std::size_t parts : {0u, 1u, 2u, 7u, 64u, 997u}) {
        SCOPED_TRACE("parts " + std::to_string(parts));
        TFileAccess inParts("large.kvd");
        const std::size_t readBefore = storetesthooks::SectionsReadInParts();
        ExpectSameOutcome(LoadInto(inParts, text, 1, parts), b);
        ExpectSameState(inParts, plain, "a large project");
        EXPECT_EQ(storetesthooks::SectionsReadInParts() - readBefore, withRecords);
    }
}

// Reals are read as ParseReal reads them, under the first form that reads them, to the last bit.
TEST(SectionParts, RealsReadAsTheOneReaderReadsThem) {
    ScopedStoreServices services;
    std::mt19937 rng(11);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    static const char* const alphabet[] = {"0", "1", "5", "9", "0", "7", ".", ",", "-", "+", "e", "E", " ", "x"};
    std::vector<std::string> reals = {"0", "-0", "-0.0", "109.25", "-185,625", "1.", ",5", ".5", "-.5", "1e5",
                                      "9007199254740993", "9007199254740992", "0.1", "123456789012345678901",
                                      "0.00000000000000000000001", "1.5E-7", " 1.5", "1.5 ", "+2", "--1", "1,,5",
                                      "1.5.5", "1e400", "1e-400", "17976931348623157" + std::string(292, '0')};
    for (int i = 0; i < 400; ++i) {
        std::string s;
        for (int n = pick(12) + 1; n > 0; --n) s += alphabet[pick(static_cast<int>(std::size(alphabet)))];
        reals.push_back(s);
    }
    for (const FormatSettings& fs : kForms) {
        for (const std::string& real : reals) {
            SCOPED_TRACE("'" + real + "' with '" + std::string(1, fs.DecimalSeparator) + "'");
            TFileAccess s("reals.kvd", fs);
            std::string text;
            for (const char* name : {"TEST_GROUPS", "TESTS", "STIMULS", "REACTIONS", "SCALES", "INTERPRETATIONS"})
                text += TFileAccess::SectionHeader(name) + "\r\n";
            text += "[WEIGHTS]\r\n0\r\n1\r\n1\r\n1\r\nW\r\n" + real + "\r\n\r\n";
            std::optional<double> expected;
            for (const FormatSettings& form : fs.ReadingForms())
                if ((expected = platform::ParseReal(real, form))) break;
            ASSERT_EQ(s.LoadFromText(text, TLoadFailureKind::None, TSectionChoice::All()), expected.has_value());
            if (!expected) continue;
            const double got = s.Weights.At(0).Value;
            EXPECT_EQ(std::memcmp(&got, &*expected, sizeof got), 0) << got << " against " << *expected;
        }
    }
}
