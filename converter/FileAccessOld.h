#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "converter/OldTables.h"
#include "platform/FormatSettings.h"

namespace vantrel {

// The reader of a data file in the old key-and-value layout (versions before 1.4.2): plain text,
// one entry a line, "[NAME]" section headers, key=value lines. Each table section is a count line
// "FIELD_NUMS=n", n column lines, then the cells row by row, n lines a row; the last column is the
// record's description. The reader only reads.
class TFileAccessOld {
public:
    // The grid of one table section: n columns, row 0 the column names. Its cells are views of
    // the file's text, which the reader keeps while it reads.
    class TGrid {
    public:
        // cols x rows empty cells; False (and an empty grid) when the size is too large.
        bool SetGridSize(int cols, int rows);
        // Cell (c, r); nullptr outside the grid.
        std::string_view* GetGridCell(int c, int r) {
            if (c < 0 || r < 0 || c >= cols_ || r >= rows_) return nullptr;
            return &cells_[static_cast<std::size_t>(c) + static_cast<std::size_t>(r) * static_cast<std::size_t>(cols_)];
        }
        int GetRowCount() const { return rows_; }
        int GetColCount() const { return cols_; }

    private:
        std::vector<std::string_view> cells_;
        int cols_ = 0;
        int rows_ = 0;
    };

    // Reals are read with the given settings (the user's locale in the library).
    explicit TFileAccessOld(std::string fileName, platform::FormatSettings settings = platform::FormatSettings::Posix());

    // Reads the whole file into the tables: the eight table sections in order, then the author
    // flag. False at the first section that is missing or malformed (the tables read before it
    // keep their records), or when the file cannot be read. Never raises.
    bool LoadAll();
    // The same on the text of a file.
    bool LoadFromText(std::string_view text);

    // Lines := the lines of the file (ended by CR LF, LF or CR); False when it cannot be read.
    bool LoadLines();
    void SetLines(std::string_view text);

    // The keys, or the values, of the lines holding "=" of the first section whose header equals
    // "[" + name + "]" regardless of letter case, in file order, each cut to 255 bytes.
    bool GetSectionKeys(std::string_view name, std::vector<std::string>& list) const;
    bool GetSectionValues(std::string_view name, std::vector<std::string>& list) const;
    // Fills Grid and the description list from one table section; False when the section is
    // missing or malformed.
    bool ReadGrid(std::string_view name, std::vector<std::string>& descriptions);

    bool ReadTestGroups();
    bool ReadTests();
    bool ReadStimuli();
    bool ReadReactions();
    bool ReadScales();
    bool ReadInterpretations();
    bool ReadWeights();
    bool ReadUsers();
    // "IS_AUTHOR" of section "ADDITIONAL" (both exact): "0" is False, anything else True.
    bool ReadIsAuthor() const;
    // The value of the first line of the section (name exact) whose key equals key exactly.
    std::string ReadValue(std::string_view section, std::string_view key) const;
    // First and last line index of the body of the first section named exactly name; (-1, -2)
    // when there is none or its body is empty.
    void FindSection(std::string_view name, int& first, int& last) const;

    static bool IsSectionHeader(std::string_view line);
    static std::string SectionName(std::string_view line);
    static std::string KeyOfLine(std::string_view line);
    static std::string ValueOfLine(std::string_view line);
    static bool ReplaceFirst(std::string_view pattern, std::string_view replacement, std::string& text);
    static void DecodeLineBreaksInList(std::vector<std::string>& list);
    static std::string DecodeLineBreaks(std::string_view text);

    void SetModified(bool value);

    std::unique_ptr<TGrid> Grid;   // only while a section is read
    // The lines of the file: views of the reader's own copy of its text.
    std::vector<std::string_view> Lines;
    std::string FileName;
    bool IsAuthor = true;
    platform::FormatSettings Settings;

    TTestGroupTableOld TestGroups;
    TClientGroupTableOld ClientGroups;
    TUserTableOld Users;
    TClientTableOld Clients;
    TTestTableOld Tests;
    TStimulTableOld Stimuli;
    TReactionTableOld Reactions;
    TScaleTableOld Scales;
    TInterpretationTableOld Interpretations;
    TWeightTableOld Weights;

private:
    struct CountedLine {
        std::string_view Key;
        std::string_view Value;
    };
    // Lines := the lines of text_.
    void SplitLines();
    // The lines holding "=" of a table section (found regardless of case), in file order.
    std::vector<CountedLine> SectionLines(std::string_view name) const;
    template <typename Table>
    bool ReadTable(std::string_view name, Table& table);
    bool ReadSections();

    // Lower-cased header line -> index of its first occurrence, built once per text.
    std::unordered_map<std::string, int> headers_;
    std::string text_;   // what Lines are views of
};

}  // namespace vantrel
