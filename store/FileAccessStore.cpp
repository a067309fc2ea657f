// The store's life: creation, the Modified state, and moving the tables to and from the file.
#include <exception>

#include "platform/CodePage.h"
#include "platform/SafeFile.h"
#include "store/FileAccess.h"
#include "store/HugePages.h"
#include "store/SavePipeline.h"
#include "store/XorCoding.h"

namespace {

const char* const kFileViolated = "FILEACC_FILE_VIOLATED_MSG";

// Every byte is two digits: an odd count is a file cut short; a character that is not a digit
// would be read as another byte.
TLoadFailureKind CodingDamage(const TDecoder& decoder) {
    if (decoder.DigitLeftOver()) return TLoadFailureKind::CutShort;
    return decoder.AllDigits() ? TLoadFailureKind::None : TLoadFailureKind::BadCoding;
}

// Steps a progress from the store services, if they gave one.
class Progress {
public:
    explicit Progress(int steps) : bar_(StoreServices().MakeProgress(steps)) {}
    void Step() {
        if (bar_) bar_->Step();
    }

private:
    std::unique_ptr<IStoreProgress> bar_;
};

// The chosen sections in the order of the file, with their writers and readers.
std::array<bool, 7> InFileOrder(const TSectionChoice& c) {
    return {c.TestGroups, c.Tests, c.Stimuli, c.Reactions, c.Scales, c.Interpretations, c.Weights};
}
using SectionWriter = bool (*)(TFileAccess&, TEncoder&);
constexpr SectionWriter kWriters[7] = {
    [](TFileAccess& s, TEncoder& c) { return s.WriteTestGroups(&c); },
    [](TFileAccess& s, TEncoder& c) { return s.WriteTests(&c); },
    [](TFileAccess& s, TEncoder& c) { return s.WriteStimuli(&c); },
    [](TFileAccess& s, TEncoder& c) { return s.WriteReactions(&c); },
    [](TFileAccess& s, TEncoder& c) { return s.WriteScales(&c); },
    [](TFileAccess& s, TEncoder& c) { return s.WriteInterpretations(&c); },
    [](TFileAccess& s, TEncoder& c) { return s.WriteWeights(&c); },
};
using SectionStep = bool (*)(TFileAccess&);
constexpr SectionStep kReaders[7] = {
    [](TFileAccess& s) { return s.ReadTestGroups(); },      [](TFileAccess& s) { return s.ReadTests(); },
    [](TFileAccess& s) { return s.ReadStimuli(); },         [](TFileAccess& s) { return s.ReadReactions(); },
    [](TFileAccess& s) { return s.ReadScales(); },          [](TFileAccess& s) { return s.ReadInterpretations(); },
    [](TFileAccess& s) { return s.ReadWeights(); },
};

// A writer or reader that failed: the file does not have, or cannot get, the layout.
[[noreturn]] void RaiseFileViolated() { throw Exception(StoreServices().MessageText(kFileViolated)); }

}  // namespace

TFileAccess::TFileAccess(std::string fileName, platform::FormatSettings settings)
    : FileName(std::move(fileName)), Settings(settings) {
    SetModified(false);
}

std::array<TObjectTable*, 8> TFileAccess::AllTables() {
    return {&TestGroups, &Users, &Tests, &Stimuli, &Reactions, &Scales, &Interpretations, &Weights};
}

std::array<const TObjectTable*, 8> TFileAccess::AllTables() const {
    return {&TestGroups, &Users, &Tests, &Stimuli, &Reactions, &Scales, &Interpretations, &Weights};
}

bool TFileAccess::IsModified() const {
    for (const TObjectTable* t : AllTables())
        if (t->Modified()) return true;
    return false;
}

void TFileAccess::SetModified(bool value) {
    for (TObjectTable* t : AllTables()) t->SetModified(value);
}

// ---- save

bool TFileAccess::Save(bool /*encode*/, const TSectionChoice& sections) {
    std::array<bool, 8> modified{};
    for (std::size_t i = 0; i < modified.size(); ++i) modified[i] = AllTables()[i]->Modified();
    LastError.clear();
    try {
        Progress progress(15);
        FileText.clear();
        const TProductInfo product = StoreServices().ProgramProductInfo();
        WriteProductInfo(CleanShortText(product.ProductName), CleanShortText(product.ProductVersion));
        progress.Step();

        // The sort fixes the order of the records in the file. It moves records with equal keys
        // on every pass, so a table that is in order already is left as it is: saving unchanged
        // data again writes the same file.
        for (TObjectTable* t : {static_cast<TObjectTable*>(&TestGroups), static_cast<TObjectTable*>(&Tests),
                                static_cast<TObjectTable*>(&Stimuli), static_cast<TObjectTable*>(&Reactions),
                                static_cast<TObjectTable*>(&Scales), static_cast<TObjectTable*>(&Interpretations),
                                static_cast<TObjectTable*>(&Weights), static_cast<TObjectTable*>(&Users)}) {
            if (!t->IsInOrder()) t->Sort();
            progress.Step();
        }

        const auto chosen = InFileOrder(sections);
        try {
            // Each finished part of the text is coded and written while the rest is made.
            platform::WriteFileAtomic(FileName, [&](const platform::ByteSink& put) {
                // A large store is made on several threads while the file is written.
                TSavePipeline pipeline(*this, chosen);
                if (pipeline.Worthwhile()) {
                    if (!pipeline.Write(put, [&] { progress.Step(); })) RaiseFileViolated();
                    return;
                }
                TEncoder coder(FileText, put);
                for (std::size_t i = 0; i < chosen.size(); ++i) {
                    if (chosen[i] && !kWriters[i](*this, coder)) RaiseFileViolated();
                    progress.Step();
                }
                coder.Finish();
            });
        } catch (const platform::EFileReadOnly&) {
            throw Exception(StoreServices().MessageText(ReadOnlyMessageKey) + "\n" + FileName);
        }
        SetModified(false);
        return true;
    } catch (const std::exception& e) {
        // The file on disk is untouched, and so is what the user has to save yet.
        for (std::size_t i = 0; i < modified.size(); ++i) AllTables()[i]->SetModified(modified[i]);
        LastError = platform::CutShortText(e.what());
        try {
            StoreServices().ShowMessageText(LastError);
        } catch (const std::exception&) {
            // The message could not be shown; the caller still has it in LastError.
        }
        return false;
    }
}

bool TFileAccess::SaveAll() { return Save(true, TSectionChoice::All()); }

// ---- load

bool TFileAccess::Load(bool /*encode*/, const TSectionChoice& sections) {
    // Decoded as it is read: the coded bytes are never whole in memory.
    std::string text;
    TLoadFailureKind damage = TLoadFailureKind::None;
    try {
        TDecoder decoder(text);
        platform::ReadFileInPieces(
            FileName,
            [&](std::size_t size) {
                text.reserve(size / 2);
                AdviseHugePages(text.data(), text.capacity());
            },
            [&](std::string_view piece) { decoder.Feed(piece); });
        damage = CodingDamage(decoder);
    } catch (const std::exception& e) {
        FileText.clear();
        LastError = e.what();
        LoadFailure = {TLoadFailureKind::Unreadable, {}, 0, 0};
        return false;
    }
    return LoadFromText(std::move(text), damage, sections);
}

bool TFileAccess::LoadFromBytes(std::string_view coded, const TSectionChoice& sections) {
    std::string text;
    text.reserve(coded.size() / 2);
    TDecoder decoder(text);
    decoder.Feed(coded);
    return LoadFromText(std::move(text), CodingDamage(decoder), sections);
}

bool TFileAccess::LoadFromText(std::string text, TLoadFailureKind damage, const TSectionChoice& sections) {
    const bool loaded = ReadText(std::move(text), damage, sections);
    // The records hold what was read: the text is no longer needed.
    std::string().swap(FileText);
    return loaded;
}

bool TFileAccess::ReadText(std::string text, TLoadFailureKind damage, const TSectionChoice& sections) {
    LastError.clear();
    LoadFailure = {};
    const platform::FormatSettings own = Settings;
    std::array<int, 8> counts{};
    std::array<bool, 8> modified{};
    for (std::size_t i = 0; i < counts.size(); ++i) {
        counts[i] = AllTables()[i]->RecordCount();
        modified[i] = AllTables()[i]->Modified();
    }
    // A form that did not read the whole file leaves nothing behind, for the next form to read
    // and for the caller of a failed load.
    const auto undo = [&] {
        for (std::size_t i = 0; i < counts.size(); ++i) {
            AllTables()[i]->Truncate(counts[i]);
            AllTables()[i]->SetModified(modified[i]);
        }
    };
    try {
        FileText = std::move(text);
        if (damage != TLoadFailureKind::None) {
            LoadFailure.Kind = damage;
            RaiseFileViolated();
        }
        Progress progress(7);
        const auto chosen = InFileOrder(sections);
        // Files are written with the user's number and date forms; one written under other
        // settings is read under the first common form that reads it whole, the user's first.
        bool first = true;
        // Where the user's own form broke off is what the user is told.
        TLoadFailure ownFailure;
        for (const platform::FormatSettings& form : own.ReadingForms()) {
            Settings = form;
            FormMismatch = false;
            bool whole = true;
            for (std::size_t i = 0; i < chosen.size() && whole; ++i) {
                whole = !chosen[i] || kReaders[i](*this);
                if (first) progress.Step();
            }
            if (whole) {
                Settings = own;
                LoadFailure = {};
                SetModified(false);
                return true;
            }
            if (first) ownFailure = LoadFailure;
            first = false;
            undo();
            // A file that is cut or out of shape reads under no form.
            if (!FormMismatch) break;
        }
        Settings = own;
        LoadFailure = ownFailure;
        RaiseFileViolated();
    } catch (const std::exception& e) {
        Settings = own;
        undo();
        LastError = e.what();
        return false;
    }
}

bool TFileAccess::LoadAll() { return Load(true, TSectionChoice::All()); }

bool TFileAccess::LoadEitherLayout() {
    std::string bytes;
    try {
        if (auto read = platform::ReadFileCapped(FileName)) bytes = std::move(*read);
    } catch (const std::exception& e) {
        FileText.clear();
        LastError = e.what();
        LoadFailure = {TLoadFailureKind::Unreadable, {}, 0, 0};
        return false;
    }
    // Checked and decoded in one pass; a coded head with a byte that is not a digit later is a
    // file in the plain layout.
    if (auto text = DecodeIfHex(bytes)) {
        const TLoadFailureKind damage = bytes.size() % 2 != 0 ? TLoadFailureKind::CutShort : TLoadFailureKind::None;
        std::string().swap(bytes);   // the coded copy is not needed while the text is read
        return LoadFromText(std::move(*text), damage, TSectionChoice::All());
    }
    ReadingPlainLayout = true;
    const bool loaded = LoadFromText(std::move(bytes), TLoadFailureKind::None, TSectionChoice::All());
    ReadingPlainLayout = false;
    // Nothing of the file is in the program's layout yet: the next save must write it.
    if (loaded) SetModified(true);
    return loaded;
}

void TFileAccess::LoadFileText() { FileText = ReadFileText(FileName); }

// ---- the global store

std::unique_ptr<TFileAccess>& GlobalStore() {
    static std::unique_ptr<TFileAccess> store;
    return store;
}
