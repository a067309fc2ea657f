// The converter library on an old file of the ordinary large project's size, called through
// dlopen as the program calls it. "convert_ms" is one whole conversion in place (read, copy,
// write); "plain_read_ms" reads the same bytes plainly; "x_plain_read" is the ratio.
#include <chrono>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/FormatSettings.h"
#include "platform/RealNumbers.h"
#include "platform/SafeFile.h"
#include "platform/SharedLibrary.h"
#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"
#include "tests/support/TempDir.h"

namespace {

// One table section of the old layout: the count line, the column lines, then the cells.
class OldSection {
public:
    OldSection(std::string& out, const char* name, std::initializer_list<const char*> columns) : out_(out) {
        out_ += std::string("[") + name + "]\n";
        out_ += "FIELD_NUMS=" + std::to_string(columns.size()) + "\n";
        for (const char* c : columns) out_ += std::string(c) + "=\n";
    }
    OldSection& Cell(const std::string& v) {
        out_ += "V=" + (v.empty() ? std::string("NULL") : v) + "\n";
        return *this;
    }
    OldSection& Int(std::int32_t v) { return Cell(std::to_string(v)); }
    OldSection& Real(double v) { return Cell(platform::FormatReal(v, platform::FormatSettings::Posix())); }
    // The old layout holds each line break as "&&&&&".
    OldSection& Long(const std::string& v) { return Cell(TFileAccess::EncodeLineBreaks(v)); }

private:
    std::string& out_;
};

std::string OldLayoutOf(const TFileAccess& s) {
    std::string out = "[PRODUCT_INFO]\nORVAN\n1.3.7\n";
    OldSection g(out, "TEST_GROUPS", {"TEST_GROUP_ID", "TEST_GROUP_NAME", "TEST_GROUP_ORDER", "TEST_GROUP_DESCR"});
    for (int i = 0; i < s.TestGroups.RecordCount(); ++i) {
        const auto& r = s.TestGroups.At(i);
        g.Int(r.ID).Cell(r.Name).Int(r.Order).Long(r.Description);
    }
    OldSection t(out, "TESTS", {"TEST_ID", "TEST_TESTGROUP_ID", "TEST_NAM", "TEST_ANNOT", "TEST_INSTR", "TEST_MOVEDIR",
                                "TEST_REPLYALLOW", "TEST_INTERALLOW", "TEST_ANONYM", "TEST_TIMLIMIT", "TEST_ORDER",
                                "TEST_DESCR"});
    for (int i = 0; i < s.Tests.RecordCount(); ++i) {
        const auto& r = s.Tests.At(i);
        t.Int(r.ID).Int(r.ParentID).Cell(r.Name).Long(r.Annotation).Long(r.Instruction).Int(r.MoveDirection);
        t.Int(r.ReplayEnabled).Int(r.StopEnabled).Int(r.SpareFlag).Int(r.TimeLimit).Int(r.Order).Long(r.Description);
    }
    OldSection q(out, "STIMULS", {"STIMUL_ID", "STIMUL_TEST_ID", "STIMUL_NAM", "STIMUL_ISMULTIPLE",
                                  "STIMUL_NUMANSLIMIT", "STIMUL_ANSMUSTBE", "STIMUL_ORDER", "STIMUL_DESCR"});
    for (int i = 0; i < s.Stimuli.RecordCount(); ++i) {
        const auto& r = s.Stimuli.At(i);
        q.Int(r.ID).Int(r.ParentID).Cell(r.Name).Int(r.MultipleAnswers).Int(r.AnswersLimit).Int(r.AnswerRequired);
        q.Int(r.Order).Long(r.Description);
    }
    OldSection a(out, "REACTIONS", {"REACTION_ID", "REACTION_STIMUL_ID", "REACTION_NAM", "REACTION_ORDER", "DESCR"});
    for (int i = 0; i < s.Reactions.RecordCount(); ++i) {
        const auto& r = s.Reactions.At(i);
        a.Int(r.ID).Int(r.ParentID).Cell(r.Name).Int(r.Order).Long(r.Description);
    }
    OldSection c(out, "SCALES", {"SCALE_ID", "SCALE_TEST_ID", "SCALE_NAM", "SCALE_ORDER", "SCALE_DESCR"});
    for (int i = 0; i < s.Scales.RecordCount(); ++i) {
        const auto& r = s.Scales.At(i);
        c.Int(r.ID).Int(r.ParentID).Cell(r.Name).Int(r.Order).Long(r.Description);
    }
    OldSection n(out, "INTERPRETATIONS", {"INTERP_ID", "INTERP_SCALE_ID", "INTERP_NAM", "INTERP_MAX", "INTERP_MIN",
                                          "INTERP_ORDER", "INTERP_DESCR"});
    for (int i = 0; i < s.Interpretations.RecordCount(); ++i) {
        const auto& r = s.Interpretations.At(i);
        n.Int(r.ID).Int(r.ParentID).Cell(r.Name).Real(r.Maximum).Real(r.Minimum).Int(r.Order).Long(r.Description);
    }
    OldSection w(out, "WEIGHTS", {"WEIGHT_ID", "WEIGHT_SCALE_ID", "WEIGHT_REACTION_ID", "WEIGHT_NAM", "WEIGHT_VALUE",
                                  "WEIGHT_ORDER", "WEIGHT_DESCR"});
    for (int i = 0; i < s.Weights.RecordCount(); ++i) {
        const auto& r = s.Weights.At(i);
        w.Int(r.ID).Int(r.ScaleID).Int(r.ParentID).Cell(r.Name).Real(r.Value).Int(r.Order).Long(r.Description);
    }
    OldSection(out, "USERS", {"USER_ID", "USER_NAME", "USER_PASSWORD", "USER_DESCR"}).Int(1).Cell("admin").Cell("").Cell("");
    return out;
}

const std::string& LargeOldFile() {
    static const std::string text = [] {
        TFileAccess store;
        GenerateProject(store, ProjectSize::Large());
        return OldLayoutOf(store);
    }();
    return text;
}

double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void BM_ConvertLargeOldFile(benchmark::State& state) {
    const auto library = platform::TSharedLibrary::Load(VANTREL_LIBRARY);
    auto* vantrel = library->Function<bool(const unsigned char*)>("Vantrel");
    TempDir dir;
    const std::string name = dir.File("old.kvd");
    std::string arg(1, static_cast<char>(name.size()));
    arg += name;
    const std::string& old = LargeOldFile();
    double convert = 0;
    double read = 0;
    for (auto _ : state) {
        state.PauseTiming();
        platform::WriteFileAtomic(name, old);
        auto t0 = std::chrono::steady_clock::now();
        const auto bytes = platform::ReadFileCapped(name);
        read += Ms(t0);
        benchmark::DoNotOptimize(bytes->data());
        state.ResumeTiming();
        t0 = std::chrono::steady_clock::now();
        if (!vantrel(reinterpret_cast<const unsigned char*>(arg.data()))) state.SkipWithError("not converted");
        convert += Ms(t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["MB"] = static_cast<double>(old.size()) / 1e6;
    state.counters["convert_ms"] = convert / n;
    state.counters["plain_read_ms"] = read / n;
    state.counters["x_plain_read"] = read > 0 ? convert / read : 0;
}

}  // namespace

BENCHMARK(BM_ConvertLargeOldFile)->Unit(benchmark::kMillisecond)->Iterations(3);
