// A save made in parts on several threads writes what the plain section writers write, one
// section after the other on one thread, and fails as they fail.
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <limits>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "platform/SafeFile.h"
#include "store/FileAccess.h"
#include "store/RecordFields.h"
#include "store/StoreTestSeam.h"
#include "store/XorCoding.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/ScopedStoreServices.h"
#include "tests/support/TempDir.h"

using platform::FormatSettings;

namespace {

const std::string kViolated = ScopedStoreServices::TextOf("FILEACC_FILE_VIOLATED_MSG");

// Saves in parts of this many records on this many threads while it lives.
class ScopedSplit {
public:
    ScopedSplit(std::size_t threads, int records) { storetesthooks::SplitSaves(threads, records); }
    ~ScopedSplit() { storetesthooks::SplitSaves(0, 0); }
    ScopedSplit(const ScopedSplit&) = delete;
    ScopedSplit& operator=(const ScopedSplit&) = delete;
};

// Makes writing one record fail while it lives.
class ScopedFailingRecord {
public:
    ScopedFailingRecord(const std::string& section, int record) { storetesthooks::FailWritingRecord(section, record); }
    ~ScopedFailingRecord() { storetesthooks::FailWritingRecord("", -1); }
    ScopedFailingRecord(const ScopedFailingRecord&) = delete;
    ScopedFailingRecord& operator=(const ScopedFailingRecord&) = delete;
};

// Texts of every shape the writer treats apart: empty, long, with line breaks, looking like a
// section header (escaped or not), and bytes of every value.
std::string RandomText(std::mt19937& rng) {
    const auto bytes = [&](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(rng() % 256);
        return s;
    };
    switch (rng() % 9) {
        case 0: return "";
        case 1: return "[" + bytes(rng() % 6) + "]";
        case 2: return std::string(1 + rng() % 3, '\x1B') + "[WEIGHTS]";
        case 3: return bytes(300 + rng() % 2000);
        case 4: return "one\r\ntwo\r\n\r\n[TESTS]\r\n" + bytes(rng() % 5);
        case 5: return "&&&&&" + bytes(rng() % 4) + "\r\n";
        default: return bytes(1 + rng() % 30);
    }
}

// Reals of every form the writer takes: any bits (17 digits, huge, tiny, subnormal, negative),
// short fractions, whole numbers and the edges of the plain form.
double RandomReal(std::mt19937& rng) {
    constexpr double kEdges[] = {0.0,     -0.0,   1e15,   1e15 - 1, 1e-5, 9.99999999999999e-6, 0.1 + 0.2,
                                 1.0 / 3, -1e308, 5e-324, std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::min(), 123456789012345678.0};
    switch (rng() % 5) {
        case 0: {
            double v;
            do v = std::bit_cast<double>((std::uint64_t{rng()} << 32) | rng());
            while (!std::isfinite(v));
            return v;
        }
        case 1: return static_cast<double>(static_cast<int>(rng() % 4001) - 2000) / 8;
        case 2: return static_cast<double>(static_cast<std::int32_t>(rng()));
        case 3: return static_cast<double>(rng() % 100000) / 1000 - 50;
        default: return kEdges[rng() % std::size(kEdges)];
    }
}

// Fills every field of a record of any kind with a random value of its sort.
struct RandomFields {
    std::mt19937& rng;
    std::int32_t id;
    void Key(std::int32_t& v) { v = static_cast<std::int32_t>(rng() % 12) - 2; }   // ties and missing parents
    void Id(std::int32_t& v) { v = id; }
    void Int(std::int32_t& v) { v = static_cast<std::int32_t>(rng()); }
    void Real(double& v) { v = RandomReal(rng); }
    void Date(double& v) { v = static_cast<double>(rng() % 4000000) - 700000 + static_cast<double>(rng() % 100) / 100; }
    void Bool(bool& v) { v = rng() % 2 == 0; }
    void Direction(std::uint8_t& v) { v = static_cast<std::uint8_t>(rng() % 5); }
    void Short(std::string& v) { v = RandomText(rng); }
    void Long(std::string& v) { v = RandomText(rng); }
    void Constant(std::int32_t& v, std::int32_t value) { v = value; }
};

template <typename Table>
void FillRandom(Table& table, int count, std::mt19937& rng) {
    for (int i = 0; i < count; ++i) {
        typename Table::Record r;
        RandomFields fields{rng, i + 1};
        recordfields::Layout<typename Table::Record>::Fields(fields, r);
        table.AddRecord(r);
    }
}

void FillRandomStore(TFileAccess& s, std::mt19937& rng) {
    const auto count = [&] { return rng() % 6 == 0 ? 0 : static_cast<int>(rng() % 70); };
    FillRandom(s.TestGroups, count(), rng);
    FillRandom(s.Tests, count(), rng);
    FillRandom(s.Stimuli, count(), rng);
    FillRandom(s.Reactions, count(), rng);
    FillRandom(s.Scales, count(), rng);
    FillRandom(s.Interpretations, count(), rng);
    FillRandom(s.Weights, count(), rng);
}

// The text of a save of these sections as the plain section writers make it, of the store as
// the save left it (sorted); the sections from `failed` on are left out.
std::string PlainText(TFileAccess& s, const TSectionChoice& c, std::size_t failed = 7) {
    s.FileText.clear();
    const TProductInfo product = StoreServices().ProgramProductInfo();
    s.WriteProductInfo(CleanShortText(product.ProductName), CleanShortText(product.ProductVersion));
    const bool chosen[7] = {c.TestGroups, c.Tests, c.Stimuli, c.Reactions, c.Scales, c.Interpretations, c.Weights};
    const auto write = [&](std::size_t i) {
        switch (i) {
            case 0: return s.WriteTestGroups();
            case 1: return s.WriteTests();
            case 2: return s.WriteStimuli();
            case 3: return s.WriteReactions();
            case 4: return s.WriteScales();
            case 5: return s.WriteInterpretations();
            default: return s.WriteWeights();
        }
    };
    for (std::size_t i = 0; i < failed; ++i) {
        if (chosen[i]) {
            EXPECT_TRUE(write(i)) << i;
        }
    }
    return std::move(s.FileText);
}

// Records which threads step the progress of a save.
struct ThreadsOfSteps {
    std::vector<std::thread::id> Steps;
    ThreadsOfSteps() {
        StoreServices().MakeProgress = [this](int) -> std::unique_ptr<IStoreProgress> {
            struct Bar : IStoreProgress {
                std::vector<std::thread::id>& steps;
                explicit Bar(std::vector<std::thread::id>& s) : steps(s) {}
                void Step() override { steps.push_back(std::this_thread::get_id()); }
            };
            return std::make_unique<Bar>(Steps);
        };
    }
};

struct Split {
    std::size_t Threads;
    int Records;
};
// Parts of one record up to more than a table holds, so that part boundaries fall everywhere.
constexpr Split kSplits[] = {{1, 1}, {2, 1}, {3, 2}, {4, 3}, {8, 5}, {5, 7}, {6, 64}};

}  // namespace

TEST(SavePipeline, WritesWhatThePlainWritersWrite) {
    ScopedStoreServices services;
    TempDir dir;
    const FormatSettings settings[] = {FormatSettings::Posix(), FormatSettings::FromLocaleStrings(",", "%d.%m.%Y")};
    std::mt19937 rng(29);
    for (int round = 0; round < 12; ++round) {
        for (const FormatSettings& fs : settings) {
            TFileAccess s(dir.File("p.kvd"), fs);
            FillRandomStore(s, rng);
            TSectionChoice choice = TSectionChoice::All();
            if (round % 3 == 2) {   // some sections left out
                for (bool* c : {&choice.TestGroups, &choice.Tests, &choice.Stimuli, &choice.Reactions, &choice.Scales,
                                &choice.Interpretations, &choice.Weights})
                    *c = rng() % 2 == 0;
            }
            for (const Split& split : kSplits) {
                SCOPED_TRACE(::testing::Message() << "round " << round << ", decimal " << fs.DecimalSeparator << ", "
                                                  << split.Threads << " threads, parts of " << split.Records);
                ThreadsOfSteps steps;
                {
                    const ScopedSplit parts(split.Threads, split.Records);
                    s.SetModified(true);
                    ASSERT_TRUE(s.Save(true, choice)) << s.LastError;
                }
                EXPECT_FALSE(s.IsModified());
                const std::string saved = s.FileText;
                const std::string plain = PlainText(s, choice);
                EXPECT_TRUE(saved == plain);
                EXPECT_TRUE(ReadBytes(s.FileName) == EncodeText(plain));
                // The product record, eight sorts, seven sections: all on the thread of the save.
                EXPECT_EQ(steps.Steps.size(), 16u);
                for (const std::thread::id& t : steps.Steps) EXPECT_EQ(t, std::this_thread::get_id());
            }
        }
    }
}

TEST(SavePipeline, ALargeProjectIsWrittenAsThePlainWritersWriteIt) {
    // Large enough for the program's own choice of parts and threads.
    ScopedStoreServices services;
    TempDir dir;
    TFileAccess s(dir.File("large.kvd"), FormatSettings::FromLocaleStrings(",", "%d.%m.%Y"));
    GenerateProject(s, ProjectSize{2, 20, 20, 5, 5, 3, 5}, 5);
    ASSERT_GT(s.Weights.RecordCount(), 8192);
    ASSERT_TRUE(s.SaveAll()) << s.LastError;
    const std::string saved = s.FileText;
    const std::string plain = PlainText(s, TSectionChoice::All());
    EXPECT_TRUE(saved == plain);
    EXPECT_TRUE(ReadBytes(s.FileName) == EncodeText(plain));
}

TEST(SavePipeline, ASectionThatFailsFailsTheSaveAsThePlainWriterDoes) {
    struct Case {
        std::size_t Section;   // by its place in the file
        const char* Name;
        int Record;   // -1: the last one
    };
    const Case cases[] = {
        {0, "TEST_GROUPS", 0}, {1, "TESTS", 5},  {2, "STIMULS", -1},         {3, "REACTIONS", 17},
        {4, "SCALES", -1},     {5, "INTERPRETATIONS", 0}, {6, "WEIGHTS", 30}, {6, "WEIGHTS", -1},
    };
    ScopedStoreServices services;
    TempDir dir;
    std::mt19937 rng(3);
    for (const Case& c : cases) {
        TFileAccess s(dir.File("p.kvd"), FormatSettings::Posix());
        FillRandomStore(s, rng);
        while (s.SectionRecordCount(c.Section) < 40) FillRandomStore(s, rng);
        for (TObjectTable* t : s.AllTables()) t->Sort();   // the records by the places they are saved in
        const int record = c.Record < 0 ? s.SectionRecordCount(c.Section) - 1 : c.Record;
        const std::string expected = PlainText(s, TSectionChoice::All(), c.Section);

        // The plain writer first (the store is too small for parts), then parts in every split.
        std::vector<Split> splits = {{0, 0}};
        splits.insert(splits.end(), std::begin(kSplits), std::end(kSplits));
        for (const Split& split : splits) {
            SCOPED_TRACE(::testing::Message() << c.Name << " record " << record << ", " << split.Threads
                                              << " threads, parts of " << split.Records);
            WriteBytes(s.FileName, "old bytes");
            s.SetModified(true);
            s.Weights.SetModified(false);
            services.Shown.clear();
            {
                const ScopedSplit parts(split.Threads, split.Records);
                const ScopedFailingRecord failing(c.Name, record);
                EXPECT_FALSE(s.SaveAll());
            }
            EXPECT_EQ(s.LastError, kViolated);
            EXPECT_EQ(services.Shown, std::vector<std::string>{kViolated});
            EXPECT_EQ(ReadBytes(s.FileName), "old bytes");
            EXPECT_TRUE(s.TestGroups.Modified());
            EXPECT_FALSE(s.Weights.Modified());
            // No half section: the text ends before the one that failed.
            EXPECT_TRUE(s.FileText == expected);
        }
        // The record no longer made to fail, the same store saves.
        const ScopedSplit parts(3, 4);
        ASSERT_TRUE(s.SaveAll()) << s.LastError;
        EXPECT_TRUE(ReadBytes(s.FileName) == EncodeText(PlainText(s, TSectionChoice::All())));
    }
}

TEST(SavePipeline, AFileThatFailsKeepsItsMessageAndTheOldFile) {
    ScopedStoreServices services;
    TempDir dir;
    std::mt19937 rng(8);
    TFileAccess s(dir.File("p.kvd"), FormatSettings::Posix());
    FillRandomStore(s, rng);
    const std::size_t size = EncodeText(PlainText(s, TSectionChoice::All())).size();
    // The disk is full after this many bytes of the file: in the product record, in the first
    // section, half-way, just before the end.
    for (const std::size_t room : {std::size_t{0}, std::size_t{30}, std::size_t{300}, size / 2, size - 1}) {
        for (const Split& split : kSplits) {
            SCOPED_TRACE(::testing::Message() << room << " bytes, " << split.Threads << " threads, parts of "
                                              << split.Records);
            WriteBytes(s.FileName, "old bytes");
            s.SetModified(true);
            services.Shown.clear();
            {
                std::size_t left = room;
                const platform::ScopedWriteCall full([&](int fd, const void* data, std::size_t count) -> ssize_t {
                    if (left == 0) {
                        errno = ENOSPC;
                        return -1;
                    }
                    const ssize_t n = ::write(fd, data, std::min(count, left));
                    if (n > 0) left -= static_cast<std::size_t>(n);
                    return n;
                });
                const ScopedSplit parts(split.Threads, split.Records);
                EXPECT_FALSE(s.SaveAll());
            }
            EXPECT_NE(s.LastError.find("Cannot create file"), std::string::npos) << s.LastError;
            EXPECT_EQ(services.Shown, std::vector<std::string>{s.LastError});
            EXPECT_EQ(ReadBytes(s.FileName), "old bytes");
            EXPECT_TRUE(s.IsModified());
        }
    }
    // A folder that does not exist: nothing is created there.
    TFileAccess nowhere(dir.File("no/such/folder/p.kvd"));
    FillRandomStore(nowhere, rng);
    const ScopedSplit parts(4, 3);
    EXPECT_FALSE(nowhere.SaveAll());
    EXPECT_NE(nowhere.LastError.find("Cannot create file"), std::string::npos) << nowhere.LastError;
    EXPECT_FALSE(platform::FileExists(nowhere.FileName));
    EXPECT_TRUE(nowhere.IsModified());
}
