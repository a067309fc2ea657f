#pragma once
#include <cstdint>
#include <string>

#include "store/Records.h"

// The one description of the stored fields of each kind of record: which fields a record has,
// of which sort, and in which order its lines stand in the data file. What can follow from it
// does: the reader and the writer of the data file (store/FileAccess.cpp), the number of lines
// of a record, and the cleaning of short texts when a table takes a record. A new field is one
// line here (and its member in Records.h).
//
// Fields(v, r) calls one member of the visitor v per field, in file order:
//   Key(int)        an Order, a parent or a scale ID     Id(int)       the record's own ID
//   Int(int)        any whole number                     Real(double)  a real number
//   Date(double)    a short date                         Bool(bool)    "true" or "false"
//   Direction(u8)   a test's move direction              Short(text)   at most 255 bytes, one line
//   Long(text)      any text, its line breaks coded      Constant(field, value): not in the file
namespace recordfields {

template <typename R>
struct Layout;

template <>
struct Layout<TTestGroup> {
    static constexpr const char* Name = "TEST_GROUPS";
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Key(r.Order); v.Id(r.ID); v.Short(r.Name); v.Long(r.Description);
        v.Constant(r.ParentID, -1);   // groups have no parent line
    }
};

// The first 12 lines of a test are those of the converter's 1.4.2 layout, which ends there.
struct TestHeadLayout {
    static constexpr const char* Name = "TESTS";
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Key(r.Order); v.Id(r.ID); v.Key(r.ParentID); v.Short(r.Name); v.Long(r.Annotation);
        v.Long(r.Instruction); v.Direction(r.MoveDirection); v.Bool(r.ReplayEnabled); v.Bool(r.StopEnabled);
        v.Bool(r.SpareFlag); v.Int(r.TimeLimit); v.Long(r.Description);
    }
};

template <>
struct Layout<TTest> {
    static constexpr const char* Name = "TESTS";
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        TestHeadLayout::Fields(v, r);
        v.Short(r.AuthorName); v.Short(r.AuthorEmail); v.Short(r.Copyright); v.Date(r.Created); v.Bool(r.Private);
        v.Short(r.SpareText);
    }
};

template <>
struct Layout<TStimul> {
    static constexpr const char* Name = "STIMULS";
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Key(r.Order); v.Id(r.ID); v.Key(r.ParentID); v.Short(r.Name); v.Bool(r.MultipleAnswers);
        v.Int(r.AnswersLimit); v.Bool(r.AnswerRequired); v.Long(r.Description);
    }
};

// Answers and scales share one layout: Order, ID, parent, Name, Description.
struct PlainLayout {
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Key(r.Order); v.Id(r.ID); v.Key(r.ParentID); v.Short(r.Name); v.Long(r.Description);
    }
};

template <>
struct Layout<TReaction> : PlainLayout {
    static constexpr const char* Name = "REACTIONS";
};

template <>
struct Layout<TScale> : PlainLayout {
    static constexpr const char* Name = "SCALES";
};

template <>
struct Layout<TInterpretation> {
    static constexpr const char* Name = "INTERPRETATIONS";
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Key(r.Order); v.Id(r.ID); v.Key(r.ParentID); v.Short(r.Name); v.Real(r.Maximum); v.Real(r.Minimum);
        v.Long(r.Description);
    }
};

template <>
struct Layout<TWeight> {
    static constexpr const char* Name = "WEIGHTS";
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Key(r.Order); v.Id(r.ID); v.Key(r.ParentID); v.Key(r.ScaleID); v.Short(r.Name); v.Real(r.Value);
        v.Long(r.Description);
    }
};

// Users stand in no section of the data file; their fields still say what a table cleans.
template <>
struct Layout<TUser> {
    template <typename V, typename Rec>
    static void Fields(V& v, Rec& r) {
        v.Id(r.ID); v.Short(r.Name); v.Short(r.Password);
    }
};

// The plain 1.4.2 layout that the converter library writes: the same sections and lines, except
// that a test has 12 lines and none of the author fields, the date or the private flag.
template <typename R>
struct Layout142 : Layout<R> {};

template <>
struct Layout142<TTest> : TestHeadLayout {};

// A visitor that treats every field that has a line alike: each member hands the field to
// Line(field) of D. Constant fields have no line.
template <typename D>
struct EachLine {
    template <typename T> void Key(T& f) { Self().Line(f); }
    template <typename T> void Id(T& f) { Self().Line(f); }
    template <typename T> void Int(T& f) { Self().Line(f); }
    template <typename T> void Real(T& f) { Self().Line(f); }
    template <typename T> void Date(T& f) { Self().Line(f); }
    template <typename T> void Bool(T& f) { Self().Line(f); }
    template <typename T> void Direction(T& f) { Self().Line(f); }
    template <typename T> void Short(T& f) { Self().Line(f); }
    template <typename T> void Long(T& f) { Self().Line(f); }
    template <typename T> void Constant(T&, std::int32_t) {}

private:
    D& Self() { return static_cast<D&>(*this); }
};

// Counts the lines a description puts in the file.
struct LineCounter : EachLine<LineCounter> {
    int Lines = 0;
    template <typename T> void Line(T&) { ++Lines; }
};

// The lines of one record of kind R in layout L.
template <template <typename> class L, typename R>
int LinesOf() {
    static const int lines = [] {
        LineCounter c;
        R r;
        L<R>::Fields(c, r);
        return c.Lines;
    }();
    return lines;
}
// No record has more.
constexpr int kMaxLines = 32;

// Replaces CR and LF by blanks in each short text, and cuts it to 255 bytes.
struct ShortTextCleaner : EachLine<ShortTextCleaner> {
    template <typename T> void Line(T&) {}
    void Short(std::string& s) { CleanShortTextInPlace(s); }
};

}  // namespace recordfields

// Short texts of a record: no CR or LF (each becomes a blank), at most 255 bytes.
template <typename R>
void CleanShortTexts(R& r) {
    recordfields::ShortTextCleaner c;
    recordfields::Layout<R>::Fields(c, r);
}
