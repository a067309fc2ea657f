#pragma once
#include <memory>
#include <string>

#include "exchange/UpdateFile.h"

// Looks at a data file before it is opened: a file that an older version wrote is converted
// in place once the user agrees. Open loads the file only when this says yes.
class IUpdateCheck {
public:
    virtual ~IUpdateCheck() = default;
    // True when the file may be loaded as it now is; False when the user refused or the
    // conversion failed (the reasons have been shown, each followed by refusalNote: what the
    // caller does instead of opening the file).
    virtual bool CheckAndUpdate(const std::string& fileName, const std::string& refusalNote) = 0;
};

// The check of the running program: the product record of the file, the question, and the
// converters bound from their libraries.
class TConverterUpdateCheck : public IUpdateCheck {
public:
    explicit TConverterUpdateCheck(IConverters& converters) : converters_(converters) {}
    bool CheckAndUpdate(const std::string& fileName, const std::string& refusalNote) override {
        TUpdateFile file(fileName, converters_);
        file.RefusalNote = refusalNote;
        return file.CheckAndUpdate(true);
    }

private:
    IConverters& converters_;
};

// The check while the program converts nothing: every file may be loaded, and a file of another
// format fails in the load itself.
class TAcceptEveryFile : public IUpdateCheck {
public:
    bool CheckAndUpdate(const std::string&, const std::string&) override { return true; }
};
