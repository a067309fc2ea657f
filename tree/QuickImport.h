#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TFileAccess;

// The quick import of scales with their interpretations, or of questions with their answers,
// from a plain text file: one item a line, blocks separated by empty lines. The first line of a
// block is the top object (a scale, a question), every further line a child of it (an
// interpretation, an answer). No Qt here: the tree asks for the file and refills its folder.

// One block of a quick-import text: its lines, trimmed, none empty.
struct TQuickImportBlock {
    std::string Top;
    std::vector<std::string> Children;

    bool operator==(const TQuickImportBlock&) const = default;
};

// The blocks of a quick-import text. A UTF-8 byte-order mark at the start is dropped; a NUL ends
// the text; a line ends at CR LF, LF or CR; each line is trimmed of bytes 0 to 32 and made valid in
// the program's code page (what does not decode becomes U+FFFD). An empty line ends a block;
// several in a row, and those before the first block, count as one.
std::vector<TQuickImportBlock> ParseQuickImport(std::string_view text);

// The bytes of a quick-import file, read whole up to the program's cap on what it reads. Raises
// platform::EFileError (naming the file) for a file that is missing, no regular file, too large
// or unreadable.
std::string ReadQuickImportFile(const std::string& path);

// What an import added to the store.
struct TQuickImportCount {
    int Top = 0;        // scales or questions
    int Children = 0;   // interpretations or answers
};

// Adds the blocks to the store as scales of test, each with its interpretations. A scale is
// named by its line cut to 255 bytes and described by the whole line; its Order continues after
// the scales the test has. Interpretation N (from 1) of a scale is named interpretationTitle + " "
// + N, described by its line, with Order N - 1 and the range 0 to 0. The tables are not sorted:
// every record that was there keeps its place; in a table that stood in order the new records
// are put where the order puts them, so it stays in order. What was added before an exception
// stays, and count says how much that was.
void StoreQuickImportScales(TFileAccess& store, std::int32_t test, const std::vector<TQuickImportBlock>& blocks,
                            const std::string& interpretationTitle, TQuickImportCount& count);

// The same for questions of test, each with its answers. A question is mandatory, takes one
// answer, with a limit of 1; an answer is named by its line cut to 255 bytes and described by the
// whole line, with its Order counted within its question from 0.
void StoreQuickImportStimuli(TFileAccess& store, std::int32_t test, const std::vector<TQuickImportBlock>& blocks,
                             TQuickImportCount& count);
