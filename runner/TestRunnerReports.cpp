// The scores of a run and its two reports.
#include <unordered_set>

#include "lang/DlgLangConverter.h"
#include "platform/IniFile.h"
#include "platform/RealNumbers.h"
#include "platform/ShortDates.h"
#include "runner/ReportServices.h"
#include "runner/Reporter.h"
#include "runner/ScoreSum.h"
#include "runner/TestRunner.h"

namespace {

constexpr const char* kBreak = "&&&&&";

bool IsBlank(const std::string& s) { return platform::TrimBlanks(s).empty(); }

}  // namespace

std::vector<TTestRunner::TScaleScore> TTestRunner::ComputeScores() const {
    TTypeIntegerSingleList ids;
    TTypeShortStringSingleList names, descriptions;
    store_.ListScales(test_.ID, &ids, &names, &descriptions);
    std::vector<TScaleScore> scores(static_cast<std::size_t>(ids.GetCount()));
    for (int j = 0; j < ids.GetCount(); ++j) {
        TScaleScore& s = scores[static_cast<std::size_t>(j)];
        s.ScaleID = ids.Get(j);
        s.Name = names.Get(j);
        s.Description = descriptions.Get(j);
    }
    // Each sum is exact in the decimals of its weights, so it is the same in every choosing order.
    std::vector<TScoreSum> sums(scores.size());
    for (std::int32_t r : chosen_)
        for (std::size_t j = 0; j < scores.size(); ++j) sums[j].Add(store_.GetWeightValue(r, scores[j].ScaleID));
    for (std::size_t j = 0; j < scores.size(); ++j) scores[j].Score = sums[j].Value();
    return scores;
}

std::string TTestRunner::InterpretationOf(std::int32_t scaleID, double score) const {
    // Compared as shown, so a sum such as 0.1 + 0.2 meets a range that ends at 0.3.
    const double shown = platform::RoundToShown(score);
    std::string text = store_.GetInterpretationText(scaleID, true, shown);
    if (IsBlank(text)) text = store_.GetInterpretationText(scaleID, false, shown);
    return text;
}

std::string TTestRunner::ReportHead(double today, const char* sectionKey) const {
    std::string t;
    t += "[HEADER1]" + lang::GetMessageText("RUNTEST_REPORT_HEADER") + kBreak;
    t += std::string("[HEADER2]") + kBreak + lang::GetMessageText("RUNTEST_REPORT_DATE") + ": " +
         platform::FormatShortDate(today, store_.Settings) + kBreak;
    t += std::string("[HEADER2]") + kBreak + lang::GetMessageText("RUNTEST_REPORT_TEST") + ": \"" +
         TReporter::Literal(test_.Name) + "\"" + kBreak;
    t += std::string("[HEADER2]") + kBreak + lang::GetMessageText(sectionKey) + kBreak;
    t += std::string("[TEXT]") + kBreak;
    return t;
}

std::string TTestRunner::ResultsTemplate(double today) const {
    std::string t = ReportHead(today, lang::MessageKey("RUNTEST_REPORT_TEST_RESULTS"));
    const std::vector<TScaleScore> scores = ComputeScores();
    const std::string scaleWord = lang::GetMessageText("RUNTEST_REPORT_SCALE");
    const std::string interpretationWord = lang::GetMessageText("RUNTEST_REPORT_INTERPRETATION");
    for (std::size_t j = 0; j < scores.size(); ++j) {
        const TScaleScore& s = scores[j];
        const std::string& title = IsBlank(s.Description) ? s.Name : s.Description;
        const double shown = platform::RoundToShown(s.Score);
        t += scaleWord + " " + std::to_string(j + 1) + ". " + kBreak + kBreak;
        t += TReporter::Literal(title) + " - " + platform::FormatReal(shown, store_.Settings) + kBreak + kBreak;
        t += interpretationWord + ":" + kBreak + kBreak;
        t += TReporter::Literal(InterpretationOf(s.ScaleID, s.Score)) + kBreak + kBreak;
    }
    return t;
}

std::string TTestRunner::ProtocolTemplate(double today) {
    std::string t = ReportHead(today, lang::MessageKey("RUNTEST_REPORT_REACTIONS"));
    const std::string questionWord = lang::GetMessageText("RUNTEST_REPORT_STIMUL");
    const std::string chosenMark = "(" + lang::GetMessageText("RUNTEST_REPORT_ANSWER_CHOSEN") + ") ";
    const std::unordered_set<std::int32_t> chosen(chosen_.begin(), chosen_.end());
    for (std::size_t n = 0; n < stimuli_.size(); ++n) {
        const TStimul& q = stimuli_[n];
        t += questionWord + " " + std::to_string(n + 1) + ". " + TReporter::Literal(TextOf(q)) + kBreak;
        t += kBreak;
        LoadReactions(q.ID);
        for (std::size_t m = 0; m < reactions_.size(); ++m) {
            const TReaction& a = reactions_[m];
            t += std::to_string(m + 1) + ". ";
            if (chosen.count(a.ID)) t += chosenMark;
            t += TReporter::Literal(TextOf(a)) + kBreak;
        }
        t += kBreak;
    }
    return t;
}

void TTestRunner::MakeReport(bool results) {
    TTextReporter reporter;
    if (!reporter.Setup()) return;
    const double today = ReportServices().Today();
    reporter.Data = results ? ResultsTemplate(today) : ProtocolTemplate(today);
    reporter.Produce();
}

void TTestRunner::DisplayResults() { MakeReport(true); }
void TTestRunner::DisplayProtocol() { MakeReport(false); }
