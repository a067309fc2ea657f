#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Why the last load of a data file failed, and where. The user is shown the language file's text
// for a damaged file; this says which section, record and value broke it.
enum class TLoadFailureKind : std::uint8_t {
    None,               // the load succeeded, or has not run
    Unreadable,         // the file could not be read at all (LastError says why)
    CutShort,           // the coded bytes end inside a byte
    BadCoding,          // a character of the coded bytes is not a hexadecimal digit
    MissingSection,     // a section the load asks for is not in the file
    BadInteger,         // a whole number does not read
    BadReal,            // a real number does not read under the settings
    BadDate,            // a date does not read under the settings
    DuplicateID,        // an ID stands twice in one section
    OutOfRange,         // an ID, parent, order or scale ID lies outside what the tables hold
    IncompleteRecord,   // the section ends inside a record or inside a line
};

struct TLoadFailure {
    TLoadFailureKind Kind = TLoadFailureKind::None;
    std::string Section;   // the section's name as it stands in the file; empty when none
    int Record = 0;        // the record in its section, from 1; 0 when not within a record
    int Field = 0;         // the value's line within that record, from 1; 0 when not one value

    bool operator==(const TLoadFailure&) const = default;
};

// The one line that says where the file is damaged, in the language file's words; empty for
// None and Unreadable, whose message says all there is.
std::string DescribeLoadFailure(const TLoadFailure& failure);

// Every message key DescribeLoadFailure may ask for, from the one table it reads.
std::vector<std::string> LoadFailureMessageKeys();
