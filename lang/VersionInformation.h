#pragma once
#include <optional>
#include <string>

// The version block of a program file, read by name: key=value lines that the build puts into
// the ELF section ".orvel_version" of the program and its libraries. Every value the block
// lacks is "-".
class TVersionInformation {
public:
    static constexpr const char* kSectionName = ".orvel_version";

    // Reads the block of fileName; never fails: a missing file, a file that is not ELF, a
    // truncated or damaged one, or one without the section gives Size 0 and "-" everywhere.
    explicit TVersionInformation(std::string fileName);

    void Clear();
    void ReadVersionInfo();

    std::string FileName;
    int Size = 0;   // bytes of the block; 0 when the file has none
    std::string FileVersion, FileDescription, InternalName, OriginalFilename, CompanyName, ProductVersion,
        ProductName, LegalCopyright, LegalTradeMarks;
    std::string Translation;   // eight upper-case hex digits: language and code page, or "-"
    std::string Comments, WebSite, SupportEmail;
};

// The raw bytes of the section named section in the ELF file at path; nullopt when the file is
// missing, not a regular file, not ELF, damaged or without that section. Every offset and size
// is checked against the file before it is read.
std::optional<std::string> ReadElfSection(const std::string& path, const std::string& section);
