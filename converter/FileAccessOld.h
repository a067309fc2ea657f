#pragma once
#include <memory>
#include <string>
#include <string_view>
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

    // The lines of the file (ended by CR LF, LF or CR) become the reader's; False when it cannot
    // be read. The reader keeps the text and finds its lines as it reads them.
    bool LoadLines();
    void SetLines(std::string_view text);
    // Hands over the text, which the tables no longer need once read, and leaves no lines.
    std::string TakeText();

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
    // A line of the text that starts with "[": every header is one, and few other lines are.
    struct Bracketed {
        int Line;               // its index among the lines
        std::size_t BodyStart;  // where the line after it starts
        std::string_view Text;
    };
    // Indexes the lines of text_: their count and the bracketed ones.
    void IndexLines();
    // The index in brackets_ of the first section header named exactly name, or of the next
    // section header after brackets_[from]; brackets_.size() when there is none.
    std::size_t FindHeader(std::string_view name) const;
    std::size_t NextHeader(std::size_t from) const;
    // The text from the line after brackets_[b] to the next section header (or the end).
    std::string_view BodyAfter(std::size_t b) const;
    // The body of the first table section named name regardless of case; False when none.
    bool TableSectionBody(std::string_view name, std::string_view& body) const;
    // Calls visit(key, value) for each line holding "=" of body, in file order, both cut to 255
    // bytes; stops early when visit returns False.
    template <typename Visit>
    static void ForEachCountedLine(std::string_view body, Visit visit);
    // Checks the layout of a table section, then calls begin, column(i, name) for each of its n columns
    // and cell(r, i, value) for each cell of rows 1 and on, row by row. False, before any call,
    // when the section is missing or malformed.
    // begin(n, rows) comes first and may refuse the grid (False).
    template <typename Begin, typename Column, typename CellOf>
    bool WalkGrid(std::string_view name, Begin begin, Column column, CellOf cell) const;
    template <typename Table>
    bool ReadTable(std::string_view name, Table& table);
    bool ReadSections();

    std::string text_;
    std::vector<Bracketed> brackets_;
    int lineCount_ = 0;
};

}  // namespace vantrel
