#include "exchange/ExportCSVTest.h"

#include <array>
#include <exception>

#include "exchange/TestWalk.h"
#include "lang/DlgLangConverter.h"
#include "platform/RealNumbers.h"
#include "platform/ShortDates.h"
#include "store/Records.h"

namespace {

constexpr const char* kCrLf = "\r\n";

enum TSection { csTests, csScales, csInterpretations, csStimuli, csReactions, csWeights, csCount };

struct TSectionHead {
    const char* Key;
    const char* Columns;
};

constexpr std::array<TSectionHead, csCount> kHeads = {{
    {lang::MessageKey("IMPEXP_CVS_SECTION_TESTS"),
     "id;name;description;annotation;instruction;direction;replyAllowed;interruptAllowed;anonymousAllowed;time;"
     "authorname;authoremail;copyright;created;private;version"},
    {lang::MessageKey("IMPEXP_CVS_SECTION_SCALES"), "id;testid;name;description"},
    {lang::MessageKey("IMPEXP_CVS_SECTION_INTERPRETATIONS"), "id;scaleid;name;description;max;min"},
    {lang::MessageKey("IMPEXP_CVS_SECTION_STIMULS"), "id;testid;name;description;multiple;amount;mandatory"},
    {lang::MessageKey("IMPEXP_CVS_SECTION_REACTIONS"), "id;stimulid;name;description"},
    {lang::MessageKey("IMPEXP_CVS_SECTION_WEIGHTS"), "id;name;description;weight;scaleid"},
}};

// Fills the rows of the six sections in one walk over the test.
class TCSVWriter : public TTestVisitor {
public:
    TCSVWriter(std::array<std::string, csCount>& rows, const TExportTest& exportTest,
               const platform::FormatSettings& settings)
        : rows_(rows), export_(exportTest), settings_(settings) {}

    void Test(const TTest& t) override {
        // Every field of the test row is followed by ";", the last one too.
        std::string& row = rows_[csTests];
        for (const std::string& field :
             {std::to_string(export_.TestID), TExportCSVTest::QuoteText(t.Name),
              TExportCSVTest::QuoteText(t.Description), TExportCSVTest::QuoteText(t.Annotation),
              TExportCSVTest::QuoteText(t.Instruction), MoveDirectionToText(t.MoveDirection),
              BoolToText(t.ReplayEnabled), BoolToText(t.StopEnabled), BoolToText(t.SpareFlag),
              std::to_string(t.TimeLimit), export_.AuthorName, export_.AuthorEmail, export_.Copyright,
              platform::FormatShortDate(t.Created, settings_), BoolToText(export_.Private),
              export_.MakeVersionStamp()}) {
            row += field;
            row += ';';
        }
        row += kCrLf;
    }
    void BeginScale(const TScale& s) override { Row(csScales, {Owned(s)}); }
    void Interpretation(const TInterpretation& in) override {
        Row(csInterpretations, {Owned(in), Real(in.Maximum), Real(in.Minimum)});
    }
    void BeginStimulus(const TStimul& s) override {
        Row(csStimuli, {Owned(s), BoolToText(s.MultipleAnswers), std::to_string(s.AnswersLimit),
                        BoolToText(s.AnswerRequired)});
    }
    void BeginReaction(const TReaction& r) override { Row(csReactions, {Owned(r)}); }
    void Weight(const TWeight& w) override {
        Row(csWeights, {std::to_string(w.ID), TExportCSVTest::QuoteText(w.Name),
                        TExportCSVTest::QuoteText(w.Description), Real(w.Value), std::to_string(w.ScaleID)});
    }

private:
    // ID, owner, name and description.
    static std::string Owned(const TAnyObject& r) {
        return std::to_string(r.ID) + ";" + std::to_string(r.ParentID) + ";" + TExportCSVTest::QuoteText(r.Name) +
               ";" + TExportCSVTest::QuoteText(r.Description);
    }
    std::string Real(double value) const { return platform::FormatReal(value, settings_); }
    void Row(TSection section, std::initializer_list<std::string> fields) {
        std::string& row = rows_[section];
        bool first = true;
        for (const std::string& field : fields) {
            if (!first) row += ';';
            row += field;
            first = false;
        }
        row += kCrLf;
    }

    std::array<std::string, csCount>& rows_;
    const TExportTest& export_;
    const platform::FormatSettings& settings_;
};

}  // namespace

std::string TExportCSVTest::QuoteText(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

bool TExportCSVTest::BuildCSV() {
    try {
        std::array<std::string, csCount> rows;
        TCSVWriter writer(rows, *this, Settings());
        WalkTest(OpenStore(), TestID, writer);
        CSVText.clear();
        for (int s = 0; s < csCount; ++s) {
            const TSectionHead& head = kHeads[static_cast<std::size_t>(s)];
            CSVText += "// " + lang::GetMessageText(head.Key) + " (" + head.Columns + ")" + kCrLf + kCrLf;
            CSVText += rows[static_cast<std::size_t>(s)];
            CSVText += kCrLf;
            CSVText += kCrLf;
        }
        return true;
    } catch (const std::exception&) {
        CSVText.clear();
        ShowExportError({});
        return false;
    }
}

bool TExportCSVTest::Export() { return BuildCSV() && WriteUtf8(CSVText, false); }
