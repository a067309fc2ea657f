#pragma once
// What the tests reach beyond the store's interface. Only tests include it (and the store's own
// sources, to define it); the program never calls what it declares.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/IdIndex.h"
#include "store/ObjectTable.h"

// Checks and breaks the indexes that a table keeps beside its records.
class TObjectTablePeer {
public:
    // True when every index kept beside the records (the count of each ID, the lowest free ID,
    // the first record of each ID, the records of each parent and the list the appends extend)
    // says what the records say. Otherwise False, and why names the table, the index and the
    // first difference. Tests call it after every change.
    static bool CachesAreTrue(const TObjectTable& t, std::string* why = nullptr);

    // The indexes themselves, for a test to break one the way a faulty change would.
    static TIdIndex& IdCount(TObjectTable& t) { return t.idCount_; }
    static std::int32_t& FreeHint(TObjectTable& t) { return t.freeHint_; }
    static TIdIndex& FirstIndex(TObjectTable& t) { return t.firstIndex_; }
    static std::vector<int>& ParentList(TObjectTable& t, std::int32_t parent) { return t.parentIndex_[parent]; }
    static void AppendToListOf(TObjectTable& t, std::int32_t parent) { t.lastParentList_ = &t.parentIndex_[parent]; }
};

namespace storetesthooks {
// Makes a deep copy fail after it has appended this many records (once; negative: never).
void FailCopyAfterRecords(int count);
// Reads every section of at least minBytes of lines in parts, cut into that many parts (0: one
// a thread the machine has), and back to the program's own choice.
void ReadSectionsInParts(std::size_t minBytes, std::size_t parts);
void ReadSectionsAsTheMachineDoes();
// How many sections were read in parts since the program started.
std::size_t SectionsReadInParts();
// Makes every save of a store write its sections in parts of this many records on this many
// threads, however small the store (0, 0: as the program chooses).
void SplitSaves(std::size_t threads, int recordsPerPart);
// Makes the writing of this record (by its index in its table) of the named section fail, in
// every save (-1: none).
void FailWritingRecord(const std::string& section, int record);
}  // namespace storetesthooks
