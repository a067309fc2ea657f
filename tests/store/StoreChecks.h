#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/FileAccess.h"
#include "tests/support/TempDir.h"

// Comparisons of tables and stores shared by the store's tests.

template <typename Table>
void ExpectSameTable(const Table& a, const Table& b) {
    ASSERT_EQ(a.RecordCount(), b.RecordCount()) << a.ClassName();
    for (int i = 0; i < a.RecordCount(); ++i) EXPECT_EQ(a.At(i), b.At(i)) << a.ClassName() << " record " << i;
}

// Calls f(a's table, b's table) for each of the seven tables of the file (users are never
// written).
template <typename A, typename B, typename F>
void ForEachFileTable(A& a, B& b, F&& f) {
    f(a.TestGroups, b.TestGroups);
    f(a.Tests, b.Tests);
    f(a.Stimuli, b.Stimuli);
    f(a.Reactions, b.Reactions);
    f(a.Scales, b.Scales);
    f(a.Interpretations, b.Interpretations);
    f(a.Weights, b.Weights);
}

inline void ExpectSameStore(const TFileAccess& a, const TFileAccess& b) {
    ForEachFileTable(a, b, [](const auto& ta, const auto& tb) { ExpectSameTable(ta, tb); });
}

// Everything a caller can see of two stores: every record in its place, and per table the cursor,
// the saved positions, the Modified flag and the ID the next add would take.
inline void ExpectSameState(const TFileAccess& a, const TFileAccess& b, const std::string& context) {
    SCOPED_TRACE(context);
    ExpectSameStore(a, b);
    ExpectSameTable(a.Users, b.Users);
    const auto ta = a.AllTables();
    const auto tb = b.AllTables();
    for (std::size_t i = 0; i < ta.size(); ++i) {
        EXPECT_EQ(ta[i]->Cursor(), tb[i]->Cursor()) << ta[i]->ClassName();
        EXPECT_EQ(ta[i]->SavedPositionCount(), tb[i]->SavedPositionCount()) << ta[i]->ClassName();
        EXPECT_EQ(ta[i]->Modified(), tb[i]->Modified()) << ta[i]->ClassName();
        EXPECT_EQ(ta[i]->NewID(), tb[i]->NewID()) << ta[i]->ClassName();
    }
}

// The record of that ID; the table's first record, and a failed check, when there is none.
template <typename Table>
const typename Table::Record& ByID(const Table& t, std::int32_t id) {
    const int i = t.IndexOfID(id);
    EXPECT_GE(i, 0) << t.ClassName() << " has no " << id;
    return t.At(i < 0 ? 0 : i);
}

// The IDs of a table in table order.
inline std::vector<int> IdsOf(const TObjectTable& t) {
    std::vector<int> ids;
    for (int i = 0; i < t.RecordCount(); ++i) ids.push_back(t.RecordAt(i).ID);
    return ids;
}

inline std::vector<int> ParentsOf(const TObjectTable& t) {
    std::vector<int> out;
    for (int i = 0; i < t.RecordCount(); ++i) out.push_back(t.RecordAt(i).ParentID);
    return out;
}

inline std::vector<int> ScaleIDs(const TWeightTable& t) {
    std::vector<int> out;
    for (int i = 0; i < t.RecordCount(); ++i) out.push_back(t.At(i).ScaleID);
    return out;
}

inline std::vector<int> IdsOf(const TTypeIntegerSingleList& l) {
    std::vector<int> ids;
    for (int i = 0; i < l.GetCount(); ++i) ids.push_back(l.Get(i));
    return ids;
}

// The bytes of a hand-written file in tests/data.
inline std::string TestDataFile(const std::string& name) { return ReadBytes(std::string(ORVEL_TEST_DATA) + "/" + name); }
