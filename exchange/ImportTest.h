#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "exchange/ExchangeTest.h"

// The import of one test from an exchange file into a test group of the open project.
class TImportTest : public TExchangeTest {
public:
    TImportTest(std::int32_t targetGroupID, std::string fileName);

    // True when the test now stands in the open project; False, with the open project exactly as
    // it was, otherwise.
    virtual bool Import() = 0;
    std::int32_t GetNewTestID() const { return NewTestID; }

    std::int32_t TargetGroupID;
    std::int32_t NewTestID = -1;   // the test's ID in the open project; -1 until it is there
};

// The import of an exchange text file (kvt): the data-file layout holding one test.
class TImportKVTTest : public TImportTest {
public:
    using TImportTest::TImportTest;

    // Loads the file, checks it and copies its one test, with new IDs, into the target group.
    // A file that is missing, not a file or unreadable is refused with a message that says so; a
    // file that does not load whole (cut short, badly coded, out of shape) as damaged.
    bool Import() override;
    // The bytes of the exchange file; nothing, with the message shown, when it cannot be read.
    std::optional<std::string> ReadExchangeFile() const;

    // False when a loaded record carries a value that marks it undefined: a test without an ID,
    // an undefined name, or the "none" value in a range or a weight.
    bool Validate() const;
    // Copies the one test of the exchange store into the target group of the open project. Shows
    // the message of a file that does not hold exactly one test; False when the
    // target group does not exist or the copy fails (the open project is then unchanged).
    bool CopyIntoCurrent();
};
