#include "bench/OldLayout.h"

#include <initializer_list>

#include "platform/FormatSettings.h"
#include "platform/RealNumbers.h"

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

}  // namespace

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
