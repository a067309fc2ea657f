#pragma once
#include <memory>
#include <string>

#include "store/FileAccess.h"

// One test on its way between the open project and an exchange file. The exchange object keeps a
// store of its own, bound to the exchange file, beside the global store of the open project.
class TExchangeTest {
public:
    // The exchange store takes the number and date forms of the open project.
    explicit TExchangeTest(std::string fileName);
    virtual ~TExchangeTest();
    TExchangeTest(const TExchangeTest&) = delete;
    TExchangeTest& operator=(const TExchangeTest&) = delete;

    std::string FileName;
    std::unique_ptr<TFileAccess> ExchangeStore;

    // An exchange text file holds every section but the test groups.
    static TSectionChoice ExchangeSections();

protected:
    // The open project's store; raises when no project is open.
    static TFileAccess& OpenStore();
};
