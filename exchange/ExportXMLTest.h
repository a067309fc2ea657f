#pragma once
#include <string>

#include "exchange/ExportTest.h"

// The test as a tree of XML elements in one line, read from the open project and written in
// UTF-8 (xml). Element texts escape "&", "<" and ">"; there are no attributes.
class TExportXMLTest : public TExportTest {
public:
    using TExportTest::TExportTest;

    // BuildXML, then the write; False, with the export error shown, when either fails.
    bool Export() override;
    // Builds XMLText; False, with the export error shown, when the test cannot be read.
    bool BuildXML();

    std::string XMLText;   // in the program's code page

protected:
    bool BuildAndWrite(bool encode);
};

// The same bytes as the XML export, in the data file's coding (kvw).
class TExportKVWTest : public TExportXMLTest {
public:
    using TExportXMLTest::TExportXMLTest;
    bool Export() override;
};
