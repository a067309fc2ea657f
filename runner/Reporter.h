#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// One piece of a report template: a tag with its brackets ("[TEXT]") and what follows it up to
// the next tag.
struct TLexeme {
    std::string Tag;
    std::string Text;
};

enum : std::uint8_t { fsBold = 1, fsItalic = 2 };

struct TReportStyle {
    std::string FontName;
    int FontSize = 0;
    std::uint8_t FontStyle = 0;
};

// Turns a tagged template into a report file. A template is a string of tags ("[HEADER1]",
// "[HEADER2]", "[TEXT]"), each followed by its text up to the next "["; "&&&&&" stands for a
// line break. Texts of the user go in through Literal, so their "[" and "&" come out as typed.
class TReporter {
public:
    TReporter();
    virtual ~TReporter() = default;
    TReporter(const TReporter&) = delete;
    TReporter& operator=(const TReporter&) = delete;

    std::string FileName;   // at most 255 bytes
    bool OpenAfter = true;
    std::string Output;     // what Build produced before the line breaks were applied
    TReportStyle Styles[5];
    std::string Data;       // the template while it is built; the file's text after Build

    // Shows the report setup dialog; true when the person chose Create. FileName then ends in
    // ".txt" and OpenAfter is the dialog's choice.
    bool Setup();
    // Builds the file's text, writes the file, and opens it when OpenAfter is set and the file
    // was written.
    void Produce();

    void GetLexeme(TLexeme& lexeme, int n) const;
    // 1-based positions of the n-th tag's "[" and "]" in Data (from 0); (-1, -1) when none.
    std::pair<int, int> FindTag(int n) const;
    // 1-based range of the n-th tag's text; (-1, -1) when the tag does not exist. An end below
    // the start is an empty text.
    std::pair<int, int> TagTextRange(int n) const;
    // Writes Data to FileName atomically; an empty Data writes nothing. On failure the old file
    // stays as it was and the "REPORTER_ERROR_SAVING_FILE" text is shown. True when written.
    bool SaveToFile();

    virtual void Show() = 0;
    virtual void Build() = 0;

    // A text of the user as a template holds it: its "[" and "&" escaped.
    static std::string Literal(std::string_view text);
    // The escapes of Literal turned back into the characters.
    static std::string RestoreLiterals(std::string_view built);
};

// The plain-text report: headings upper-cased, body as it is.
class TTextReporter : public TReporter {
public:
    void Build() override;
    // Opens FileName with the desktop's default program; says so, and where the file is, when
    // there is none.
    void Show() override;
};
