#include "exchange/UpdateFile.h"

#include <exception>

#include "lang/DlgLangConverter.h"
#include "lang/Progress.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/FileBackup.h"
#include "platform/SafeFile.h"
#include "platform/UserInteraction.h"

namespace {

const std::string kLessonwright = "Lessonwright";
const std::string kOrvan = "ORVAN";

// A converter that failed: the text to show and whether the file could be put back.
struct ConverterFailed {
    std::string Text;
};

}  // namespace

TUpdateFile::TUpdateFile(const std::string& fileName, IConverters& converters)
    : TFileAccess(fileName), converters_(converters) {
    try {
        // The product record is the file's first section: its head is enough, and the whole
        // file is read only when the record is not settled there.
        if (const auto head = platform::ReadFileHead(FileName, kHeadBytes)) {
            FileText = PlainTextOf(head->Bytes);
            if (!head->Whole && !HoldsProductInfo(FileText)) {
                FileText.clear();
                if (const auto bytes = platform::ReadFileCapped(FileName)) FileText = PlainTextOf(*bytes);
            }
        }
    } catch (const std::exception&) {
        // Not a readable file: it has no product record, and the load that follows reports it.
        FileText.clear();
    }
}

TUpdateFile::TConverters TUpdateFile::ConvertersFor(const TProductInfo& info) {
    TConverters result;
    if (info.ProductName == kLessonwright && info.ProductVersion == "1.2.0") result.Corvish = result.Vantrel = true;
    if (info.ProductName == kLessonwright || info.ProductName == kOrvan) {
        const int major = GetVersionPart(info, 1);
        const int minor = GetVersionPart(info, 2);
        const int patch = GetVersionPart(info, 3);
        if (major == 1 && ((minor == 2 && patch >= 1) || minor == 3 || (minor == 4 && patch < 2))) result.Vantrel = true;
    }
    return result;
}

bool TUpdateFile::CheckAndUpdate(bool /*unused*/) {
    try {
        TProductInfo info;
        ReadProductInfo(info);
        const TConverters converters = ConvertersFor(info);
        const std::string question = lang::GetMessageText("UPDATEFILE_MUST_NEW_FILE");
        if (!converters.Any()) return true;
        // The call carries at most 255 bytes; a cut path could name another file.
        if (FileName.size() > TConverterBinding::kMaxPath)
            throw Exception(lang::GetMessageText("UPDATEFILE_PATH_TOO_LONG"));
        if (!platform::AskWarningYesNo(question)) throw Exception(lang::GetMessageText("UPDATEFILE_NOT_CHANGED_FILE"));
        return RunConverters(converters);
    } catch (const std::exception& e) {
        ShowRefusal(platform::CutShortText(e.what()));
        return false;
    }
}

void TUpdateFile::ShowRefusal(const std::string& text) const {
    // Not cut as a whole: the note may name a file, and the user needs all of it.
    platform::ShowMessage(RefusalNote.empty() ? text : text + "\n" + RefusalNote);
}

bool TUpdateFile::RunConverters(const TConverters& converters) {
    backup_ = platform::MakeBackup(FileName);
    try {
        const auto progress = lang::MakeProgress(2);
        if (converters.Corvish) {
            if (!converters_.Corvish(FileName)) throw ConverterFailed{lang::GetMessageText("UPDATEFILE_PROBLEM_VER120")};
            progress->Step();
        }
        if (converters.Vantrel) {
            if (!converters_.Vantrel(FileName)) throw ConverterFailed{lang::GetMessageText("UPDATEFILE_PROBLEM_VER142")};
            progress->Step();
        }
        return true;
    } catch (const ConverterFailed& failed) {
        // Whatever the converter left, the user gets the file back as it was; when that fails too,
        // the message says where the original is and that the file at its name may not be it.
        std::string where;
        try {
            platform::RestoreBackup(backup_, FileName);
            where = lang::GetMessageText("UPDATEFILE_BACKUP_KEPT") + " " + backup_;
        } catch (const std::exception& e) {
            where = lang::GetMessageText("UPDATEFILE_NOT_RESTORED") + " " + backup_ + "\n" + e.what();
        }
        // The path is not cut off: the user needs all of it.
        ShowRefusal(platform::CutShortText(failed.Text) + "\n" + where);
        return false;
    }
}
