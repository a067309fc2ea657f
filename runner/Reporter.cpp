#include "runner/Reporter.h"

#include <exception>

#include "lang/DlgLangConverter.h"
#include "lang/Helpers.h"
#include "lang/Progress.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"
#include "platform/TextCase.h"
#include "runner/ReportServices.h"
#include "store/FileAccess.h"

namespace {

// Escapes that no template text holds: they are made of a control byte and a sign that neither
// upper case nor the line-break marker changes.
constexpr char kEscape = '\x01';

}  // namespace

TReporter::TReporter() {
    Styles[0] = {"Arial", 18, fsBold};
    Styles[1] = {"Arial", 16, fsItalic};
    Styles[2] = {"Arial", 12, 0};
    Styles[3] = {"Arial", 12, fsBold};
    Styles[4] = {"Arial", 12, 0};
}

bool TReporter::Setup() {
    try {
        std::unique_ptr<IReportSetupDialog> dialog = ReportServices().MakeSetupDialog();
        TReportSetupValues values{FileName, OpenAfter};
        const std::uint8_t result = dialog->Execute(values);
        FileName = platform::CutShortText(platform::TrimBlanks(values.FileName));
        if (result != 1) return false;
        FileName = EnsureFileExt(FileName, "txt");
        OpenAfter = values.OpenAfter;
        return true;
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
        return false;
    }
}

void TReporter::Produce() {
    Build();
    Data = RestoreLiterals(Data);
    if (SaveToFile() && OpenAfter) Show();
}

std::pair<int, int> TReporter::FindTag(int n) const {
    int count = 0;
    int start = -1;
    for (std::size_t i = 0; i < Data.size(); ++i) {
        if (start < 0) {
            if (Data[i] == '[') {
                if (count == n) start = static_cast<int>(i) + 1;
                ++count;
            }
        } else if (Data[i] == ']') {
            return {start, static_cast<int>(i) + 1};
        }
    }
    return {-1, -1};
}

std::pair<int, int> TReporter::TagTextRange(int n) const {
    const auto [a, b] = FindTag(n);
    if (a == -1 && b == -1) return {-1, -1};
    const int start = b + 1;
    const auto [c, d] = FindTag(n + 1);
    const int end = (c == -1 && d == -1) ? static_cast<int>(Data.size()) : c - 1;
    return {start, end};
}

void TReporter::GetLexeme(TLexeme& lexeme, int n) const {
    lexeme.Tag.clear();
    lexeme.Text.clear();
    const auto [tagStart, tagEnd] = FindTag(n);
    if (tagStart >= 0 && tagEnd >= 0 && tagEnd >= tagStart) lexeme.Tag = CopyRange(Data, tagStart, tagEnd);
    const auto [textStart, textEnd] = TagTextRange(n);
    if (textStart >= 0 && textEnd >= 0 && textEnd >= textStart) lexeme.Text = CopyRange(Data, textStart, textEnd);
}

bool TReporter::SaveToFile() {
    if (Data.empty()) return false;
    std::unique_ptr<lang::IProgress> progress = lang::MakeProgress(1);
    try {
        platform::WriteFileAtomic(FileName, Data);
        if (progress) progress->Step();
        return true;
    } catch (const std::exception&) {
        progress.reset();
        lang::ShowMessageText(lang::GetMessageText("REPORTER_ERROR_SAVING_FILE"));
        return false;
    }
}

std::string TReporter::Literal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == kEscape) {
            out += kEscape;
            out += kEscape;
        } else if (c == '[') {
            out += kEscape;
            out += '(';
        } else if (c == '&') {
            out += kEscape;
            out += '+';
        } else {
            out += c;
        }
    }
    return out;
}

std::string TReporter::RestoreLiterals(std::string_view built) {
    std::string out;
    out.reserve(built.size());
    for (std::size_t i = 0; i < built.size(); ++i) {
        if (built[i] == kEscape && i + 1 < built.size()) {
            const char next = built[++i];
            out += next == '(' ? '[' : next == '+' ? '&' : next;
        } else {
            out += built[i];
        }
    }
    return out;
}

void TTextReporter::Build() {
    Output.clear();
    TLexeme lexeme;
    for (int n = 0;; ++n) {
        GetLexeme(lexeme, n);
        if (lexeme.Tag.empty()) break;
        if (lexeme.Tag == "[HEADER1]" || lexeme.Tag == "[HEADER2]") {
            Output += platform::UpperCase(lexeme.Text);
        } else if (lexeme.Tag == "[TEXT]") {
            Output += lexeme.Text;
        }
    }
    Data = TFileAccess::DecodeLineBreaks(Output);
}

void TTextReporter::Show() {
    // The file is written: where no program opens it, the person learns where it is. The path
    // stands on a line of its own, so that a long one breaks only at its separators.
    if (!ReportServices().OpenFile(FileName))
        lang::ShowMessageText(lang::GetMessageText("REPORTER_NO_PROGRAM_TO_OPEN") + "\n" + FileName);
}
