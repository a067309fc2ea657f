#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "exchange/ExportTest.h"

// One format of the export dialog: its file type and the export that writes it.
struct TExportFormat {
    const char* FilterKey;   // message key of the file type's description
    const char* Ext;         // without the dot
    std::unique_ptr<TExportTest> (*Make)(std::string fileName, std::int32_t testID, std::string_view authorName,
                                         std::string_view authorEmail, std::string_view copyright, bool isPrivate);
};

// In the order of the export dialog's file types: exchange text, XML, CSV, coded XML.
const std::array<TExportFormat, 4>& ExportFormats();
