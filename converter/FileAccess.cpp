#include "converter/FileAccess.h"

#include <exception>
#include <initializer_list>

#include "lang/DlgLangConverter.h"
#include "lang/Progress.h"
#include "lang/VersionInformation.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/ProgramFolder.h"
#include "platform/RealNumbers.h"
#include "platform/SafeFile.h"
#include "platform/TextReplace.h"
#include "platform/UserInteraction.h"

namespace vantrel {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// Writes one record's values, each on a line of its own.
class Line {
public:
    Line(std::string& out, const platform::FormatSettings& fs) : out_(out), fs_(fs) {}
    Line& Int(std::int32_t v) { return Put(std::to_string(v)); }
    Line& Real(double v) { return Put(platform::FormatReal(v, fs_)); }
    Line& Flag(bool v) { return Put(v ? "1" : "0"); }
    // 1, 2 and 3 as their digit; none (0) as an empty line.
    Line& Direction(std::uint8_t v) { return Put(v >= 1 && v <= 3 ? std::string(1, static_cast<char>('0' + v)) : ""); }
    Line& Text(std::string_view v) { return Put(v); }
    Line& Long(std::string_view v) {
        return v.find(kCrLf) == std::string_view::npos ? Put(v) : Put(TFileAccess::EncodeLineBreaks(v));
    }

private:
    Line& Put(std::string_view v) {
        out_ += v;
        out_ += kCrLf;
        return *this;
    }
    std::string& out_;
    const platform::FormatSettings& fs_;
};

// Appends the section of a table: its header line, then each record's lines.
template <typename Table, typename WriteRecord>
bool WriteSection(std::string& fileText, std::string_view name, Table& table, const platform::FormatSettings& fs,
                  WriteRecord write) {
    const std::size_t before = fileText.size();
    try {
        fileText += TFileAccess::SectionHeader(name);
        fileText += kCrLf;
        Line line(fileText, fs);
        table.SavePosition();
        if (table.First()) {
            do write(line, table.GetRecordOf());
            while (table.Next());
        }
        table.RestorePosition();
        return true;
    } catch (const std::exception&) {
        fileText.resize(before);
        return false;
    }
}

}  // namespace

TFileAccess::TFileAccess(std::string fileName, platform::FormatSettings settings)
    : FileName(std::move(fileName)), Settings(settings) {
    SetModified(false);
}

void TFileAccess::SetModified(bool value) {
    for (TObjectTable* t : std::initializer_list<TObjectTable*>{&TestGroups, &Users, &Tests, &Stimuli, &Reactions,
                                                                &Scales, &Interpretations, &Weights})
        t->SetModified(value);
}

std::string TFileAccess::SectionHeader(std::string_view name) { return "[" + std::string(name) + "]"; }

std::string TFileAccess::EncodeLineBreaks(std::string_view text) { return platform::ReplaceAll(text, kCrLf, "&&&&&"); }

void TFileAccess::WriteProductInfo() {
    // The host program's version block: the library names the program that loaded it.
    const TVersionInformation version(platform::ProgramFile());
    FileText += SectionHeader("PRODUCT_INFO");
    FileText += kCrLf;
    FileText += version.ProductName;
    FileText += kCrLf;
    FileText += version.ProductVersion;
    FileText += kCrLf;
}

bool TFileAccess::WriteTestGroups() {
    return WriteSection(FileText, "TEST_GROUPS", TestGroups, Settings, [](Line& l, const TATestGroup& r) {
        l.Int(r.Order).Int(r.ID).Text(r.Name).Long(r.Description);
    });
}

bool TFileAccess::WriteTests() {
    return WriteSection(FileText, "TESTS", Tests, Settings, [](Line& l, const TATest& r) {
        l.Int(r.Order).Int(r.ID).Int(r.ParentID).Text(r.Name).Long(r.Annotation).Long(r.Instruction);
        l.Direction(r.MoveDirection).Flag(r.ReplayEnabled).Flag(r.StopEnabled).Flag(r.SpareFlag).Int(r.TimeLimit);
        l.Long(r.Description);
    });
}

bool TFileAccess::WriteStimuli() {
    return WriteSection(FileText, "STIMULS", Stimuli, Settings, [](Line& l, const TAStimul& r) {
        l.Int(r.Order).Int(r.ID).Int(r.ParentID).Text(r.Name).Flag(r.MultipleAnswers).Int(r.AnswersLimit);
        l.Flag(r.AnswerRequired).Long(r.Description);
    });
}

bool TFileAccess::WriteReactions() {
    return WriteSection(FileText, "REACTIONS", Reactions, Settings, [](Line& l, const TAReaction& r) {
        l.Int(r.Order).Int(r.ID).Int(r.ParentID).Text(r.Name).Long(r.Description);
    });
}

bool TFileAccess::WriteScales() {
    return WriteSection(FileText, "SCALES", Scales, Settings, [](Line& l, const TAScale& r) {
        l.Int(r.Order).Int(r.ID).Int(r.ParentID).Text(r.Name).Long(r.Description);
    });
}

bool TFileAccess::WriteInterpretations() {
    return WriteSection(FileText, "INTERPRETATIONS", Interpretations, Settings, [](Line& l, const TAInterpretation& r) {
        l.Int(r.Order).Int(r.ID).Int(r.ParentID).Text(r.Name).Real(r.Maximum).Real(r.Minimum).Long(r.Description);
    });
}

bool TFileAccess::WriteWeights() {
    return WriteSection(FileText, "WEIGHTS", Weights, Settings, [](Line& l, const TAWeight& r) {
        l.Int(r.Order).Int(r.ID).Int(r.ParentID).Int(r.ScaleID).Text(r.Name).Real(r.Value).Long(r.Description);
    });
}

void TFileAccess::WriteDataFile(const std::string& fileName, std::string_view text) {
    // Written beside the old file and renamed over it: a failed write leaves the old file whole.
    platform::WriteFileAtomic(fileName, text);
}

bool TFileAccess::Save(const ::TSectionChoice& sections) {
    try {
        const auto progress = lang::MakeProgress(15);
        FileText.clear();
        WriteProductInfo();
        progress->Step();
        for (TObjectTable* t : std::initializer_list<TObjectTable*>{&TestGroups, &Tests, &Stimuli, &Reactions, &Scales,
                                                                    &Interpretations, &Weights, &Users}) {
            // A table in order stays as it is, so a second save writes the same file.
            if (!t->IsInOrder()) t->Sort();
            progress->Step();
        }
        using Writer = bool (TFileAccess::*)();
        const std::pair<bool, Writer> inFileOrder[] = {
            {sections.TestGroups, &TFileAccess::WriteTestGroups},
            {sections.Tests, &TFileAccess::WriteTests},
            {sections.Stimuli, &TFileAccess::WriteStimuli},
            {sections.Reactions, &TFileAccess::WriteReactions},
            {sections.Scales, &TFileAccess::WriteScales},
            {sections.Interpretations, &TFileAccess::WriteInterpretations},
            {sections.Weights, &TFileAccess::WriteWeights},
        };
        for (const auto& [chosen, write] : inFileOrder) {
            if (chosen && !(this->*write)()) throw Exception(lang::GetMessageText("FILEACC_FILE_VIOLATED_MSG"));
            progress->Step();
        }
        WriteDataFile(FileName, FileText);
        SetModified(false);
        return true;
    } catch (const std::exception& e) {
        try {
            lang::ShowMessageText(e.what());
        } catch (const std::exception&) {
            // Nothing more can be told; the result says it failed.
        }
        return false;
    }
}

bool TFileAccess::SaveAll() { return Save(::TSectionChoice::All()); }

}  // namespace vantrel
