#include "exchange/ExchangeTest.h"

#include "platform/Exception.h"

namespace {

platform::FormatSettings OpenProjectSettings() {
    const auto& open = GlobalStore();
    return open ? open->Settings : platform::FormatSettings::Posix();
}

}  // namespace

TExchangeTest::TExchangeTest(std::string fileName)
    : FileName(std::move(fileName)), ExchangeStore(std::make_unique<TFileAccess>(FileName, OpenProjectSettings())) {}

TExchangeTest::~TExchangeTest() = default;

TSectionChoice TExchangeTest::ExchangeSections() {
    TSectionChoice sections = TSectionChoice::All();
    sections.TestGroups = false;
    return sections;
}

TFileAccess& TExchangeTest::OpenStore() {
    if (!GlobalStore()) throw Exception("No project is open.");
    return *GlobalStore();
}
