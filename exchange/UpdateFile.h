#pragma once
#include <string>

#include "exchange/ConverterBinding.h"
#include "store/FileAccess.h"

// Reads the product record of a data file that is being opened and decides whether an older
// program wrote it; if so it asks the user and has the converters rewrite the file in place.
// Before any converter runs the file is copied to a backup beside it; when a converter fails the
// backup is put back, so the user's file is as it was.
class TUpdateFile : public TFileAccess {
public:
    // FileText := the text of the file, coded or plain (empty when it cannot be read), or as
    // much of its head as holds the product record.
    TUpdateFile(const std::string& fileName, IConverters& converters);
    // How much of a file is read first for the product record.
    static constexpr std::size_t kHeadBytes = 64 * 1024;

    struct TConverters {
        bool Corvish = false;
        bool Vantrel = false;
        bool Any() const { return Corvish || Vantrel; }
    };
    // The converters that a product record calls for. Raises EConvertError when a version part of
    // the two old products is not a number.
    static TConverters ConvertersFor(const TProductInfo& info);

    // True when the file may be loaded as it now is. False when the user refused, the path is
    // too long for the call, or a converter failed; the reason has been shown then. The argument
    // is not read.
    bool CheckAndUpdate(bool unused = true);

    // Shown on a line of its own after every message of a False answer: what the caller does
    // instead of opening the file (empty: nothing).
    std::string RefusalNote;

    // The backup made before the converters ran; empty when none was made.
    const std::string& BackupFileName() const { return backup_; }

private:
    bool RunConverters(const TConverters& converters);
    // Shows why the file is not opened (text cut already where it must be), with the refusal note.
    void ShowRefusal(const std::string& text) const;

    IConverters& converters_;
    std::string backup_;
};
