#pragma once
#include <string>

#include "platform/CodePage.h"

// Makes the program's code page the given one for the length of one test, whatever the
// machine's locale says, and puts the old one back.
class ScopedCodePage {
public:
    explicit ScopedCodePage(const std::string& codeset) : saved_(platform::CodePage::Current()) {
        platform::CodePage::SetCurrent(platform::CodePage(codeset));
    }
    ~ScopedCodePage() { platform::CodePage::SetCurrent(saved_); }
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;

private:
    platform::CodePage saved_;
};
