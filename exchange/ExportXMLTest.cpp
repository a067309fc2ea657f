#include "exchange/ExportXMLTest.h"

#include <exception>

#include "exchange/TestWalk.h"
#include "platform/RealNumbers.h"
#include "platform/ShortDates.h"
#include "store/Records.h"

namespace {

// Appends the elements of the test to the text as the walk reaches its items.
class TXMLWriter : public TTestVisitor {
public:
    TXMLWriter(std::string& out, const TExportTest& exportTest, const platform::FormatSettings& settings)
        : out_(out), export_(exportTest), settings_(settings) {}

    void Test(const TTest& t) override {
        Element("id", export_.TestID);
        Element("name", t.Name);
        Element("description", t.Description);
        Element("annotation", t.Annotation);
        Element("instruction", t.Instruction);
        Element("direction", MoveDirectionToText(t.MoveDirection));
        Element("replyAllowed", t.ReplayEnabled);
        Element("interruptAllowed", t.StopEnabled);
        Element("anonymousAllowed", t.SpareFlag);
        Element("time", t.TimeLimit);
        Element("authorname", export_.AuthorName);
        Element("authoremail", export_.AuthorEmail);
        Element("copyright", export_.Copyright);
        Element("created", platform::FormatShortDate(t.Created, settings_));
        // The stored flag, not the one chosen for the export.
        Element("private", t.Private);
        Element("version", export_.MakeVersionStamp());
    }
    void BeginScales() override { Open("scales"); }
    void BeginScale(const TScale& s) override {
        Open("scale");
        Common(s);
        Open("interpretations");
    }
    void Interpretation(const TInterpretation& in) override {
        Open("interpretation");
        Common(in);
        Real("max", in.Maximum);
        Real("min", in.Minimum);
        Close("interpretation");
    }
    void EndScale(const TScale&) override {
        Close("interpretations");
        Close("scale");
    }
    void EndScales() override { Close("scales"); }
    void BeginStimuli() override { Open("stimuls"); }
    void BeginStimulus(const TStimul& s) override {
        Open("stimul");
        Common(s);
        Element("multiple", s.MultipleAnswers);
        Element("amount", s.AnswersLimit);
        Element("mandatory", s.AnswerRequired);
        Open("reactions");
    }
    void BeginReaction(const TReaction& r) override {
        Open("reaction");
        Common(r);
        Open("weights");
    }
    void Weight(const TWeight& w) override {
        Open("weight_entry");
        Common(w);
        Real("weight", w.Value);
        Element("scaleid", w.ScaleID);
        Close("weight_entry");
    }
    void EndReaction(const TReaction&) override {
        Close("weights");
        Close("reaction");
    }
    void EndStimulus(const TStimul&) override {
        Close("reactions");
        Close("stimul");
    }
    void EndStimuli() override { Close("stimuls"); }

private:
    void Open(std::string_view name) {
        out_ += '<';
        out_ += name;
        out_ += '>';
    }
    void Close(std::string_view name) {
        out_ += "</";
        out_ += name;
        out_ += '>';
    }
    // The value as XML reads it back: "&", "<" and ">" as entity references.
    void Element(std::string_view name, std::string_view value) {
        Open(name);
        for (char c : value) {
            switch (c) {
                case '&': out_ += "&amp;"; break;
                case '<': out_ += "&lt;"; break;
                case '>': out_ += "&gt;"; break;
                default: out_ += c;
            }
        }
        Close(name);
    }
    void Element(std::string_view name, std::int32_t value) { Element(name, std::to_string(value)); }
    void Element(std::string_view name, bool value) { Element(name, BoolToText(value)); }
    void Real(std::string_view name, double value) { Element(name, platform::FormatReal(value, settings_)); }
    void Common(const TAnyObject& r) {
        Element("id", r.ID);
        Element("name", r.Name);
        Element("description", r.Description);
    }

    std::string& out_;
    const TExportTest& export_;
    const platform::FormatSettings& settings_;
};

}  // namespace

bool TExportXMLTest::BuildXML() {
    try {
        XMLText = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><test>";
        TXMLWriter writer(XMLText, *this, Settings());
        WalkTest(OpenStore(), TestID, writer);
        XMLText += "</test>";
        return true;
    } catch (const std::exception&) {
        XMLText.clear();
        ShowExportError({});
        return false;
    }
}

bool TExportXMLTest::BuildAndWrite(bool encode) { return BuildXML() && WriteUtf8(XMLText, encode); }

bool TExportXMLTest::Export() { return BuildAndWrite(false); }

bool TExportKVWTest::Export() { return BuildAndWrite(true); }
