#include "exchange/ExportFormats.h"

#include "exchange/ExportCSVTest.h"
#include "exchange/ExportXMLTest.h"
#include "lang/DlgLangConverter.h"

namespace {

template <typename T>
std::unique_ptr<TExportTest> Make(std::string fileName, std::int32_t testID, std::string_view authorName,
                                  std::string_view authorEmail, std::string_view copyright, bool isPrivate) {
    return std::make_unique<T>(std::move(fileName), testID, authorName, authorEmail, copyright, isPrivate);
}

}  // namespace

const std::array<TExportFormat, 4>& ExportFormats() {
    static const std::array<TExportFormat, 4> formats = {{
        {lang::MessageKey("IMPEXP_FILTER_KVT"), "kvt", &Make<TExportKVTTest>},
        {lang::MessageKey("IMPEXP_FILTER_XML"), "xml", &Make<TExportXMLTest>},
        {lang::MessageKey("IMPEXP_FILTER_CSV"), "csv", &Make<TExportCSVTest>},
        {lang::MessageKey("IMPEXP_FILTER_KVW"), "kvw", &Make<TExportKVWTest>},
    }};
    return formats;
}
