#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/CodePage.h"

// A list of separately allocated cells of one type with its own count. Cell addresses stay
// valid while the list holds them; SwapCells exchanges two cells without touching their content.
template <typename T>
class TTypeList {
public:
    TTypeList() = default;
    virtual ~TTypeList() { ClearCells(); }
    TTypeList(const TTypeList&) = delete;
    TTypeList& operator=(const TTypeList&) = delete;

    int GetCount() const { return static_cast<int>(cells_.size()); }
    int Count() const { return GetCount(); }
    int RowCount() const { return rowCount_; }

    // Address of cell i; nullptr at or beyond Count. A negative index is a list error.
    T* GetItem(int i) const {
        CheckIndex(i);
        return i < GetCount() ? cells_[static_cast<std::size_t>(i)].get() : nullptr;
    }

    // Makes the list hold n cells: cells past n are freed from the last down, new cells are
    // value-initialised. False (and an empty list) when memory runs out.
    bool SetCellCount(int n) {
        try {
            if (n < 0) n = 0;
            const auto want = static_cast<std::size_t>(n);
            if (cells_.size() == want) return true;
            while (cells_.size() > want) cells_.pop_back();
            cells_.reserve(want);
            while (cells_.size() < want) cells_.push_back(std::make_unique<T>());
            rowCount_ = 0;
            colCount_ = 0;
            return true;
        } catch (const std::bad_alloc&) {
            ClearCells();
            return false;
        }
    }

    // Frees cell i; the cells behind it move down by one.
    void DeleteCell(int i) {
        CheckIndex(i);
        if (i < GetCount()) cells_.erase(cells_.begin() + i);
    }

    void ClearCells() {
        while (!cells_.empty()) cells_.pop_back();
        rowCount_ = 0;
        colCount_ = 0;
    }

    // The grid use of the list (the converter's reader of old files): cols x rows cells, cell
    // (c, r) at c + r * cols. False (and an empty list) when the size is too large or memory
    // runs out.
    bool SetGridSize(int cols, int rows) {
        if (cols < 0 || rows < 0 || static_cast<long long>(cols) * rows > 0x7FFFFFFF) {
            ClearCells();
            return false;
        }
        if (!SetCellCount(cols * rows)) return false;
        colCount_ = cols;
        rowCount_ = rows;
        return true;
    }
    // Cell (c, r); nullptr outside the grid.
    T* GetGridCell(int c, int r) const {
        if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount_) return nullptr;
        return cells_[static_cast<std::size_t>(c) + static_cast<std::size_t>(r) * static_cast<std::size_t>(colCount_)].get();
    }
    int GetRowCount() const { return rowCount_; }
    int GetColCount() const { return colCount_; }

    void SwapCells(int i, int j) {
        if (i >= 0 && j >= 0 && i < GetCount() && j < GetCount()) std::swap(cells_[i], cells_[j]);
    }

protected:
    void CheckIndex(int i) const {
        if (i < 0) throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
    }
    T& Cell(int i) const {
        CheckIndex(i);
        if (i >= GetCount()) throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
        return *cells_[static_cast<std::size_t>(i)];
    }

private:
    std::vector<std::unique_ptr<T>> cells_;
    int rowCount_ = 0;
    int colCount_ = 0;   // the grid's columns; 0 for a plain list
};

// A typed single list: Add appends one cell, Get reads one.
template <typename T>
class TTypeSingleList : public TTypeList<T> {
public:
    void Add(T value) {
        this->SetCellCount(this->GetCount() + 1);
        this->Cell(this->GetCount() - 1) = std::move(value);
    }
    T Get(int i) const { return this->Cell(i); }
};

using TTypeIntegerSingleList = TTypeSingleList<std::int32_t>;

class TTypeRealSingleList : public TTypeSingleList<double> {
public:
    void Put(int i, double value) { Cell(i) = value; }
};

// Strings of at most 255 bytes: a longer text is cut on Add.
class TTypeShortStringSingleList : public TTypeSingleList<std::string> {
public:
    void Add(const std::string& s) { TTypeSingleList<std::string>::Add(platform::CutShortText(s)); }
};

// Lists of references: they never free what they point at.
struct TAnyObject;
struct TStimul;
struct TReaction;
using TTypeTAnyObjectSingleList = TTypeSingleList<TAnyObject*>;
using TTypeTStimulSingleList = TTypeSingleList<TStimul*>;
using TTypeTReactionSingleList = TTypeSingleList<TReaction*>;
