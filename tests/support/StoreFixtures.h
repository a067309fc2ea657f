#pragma once
#include <cstdint>
#include <random>
#include <string>

#include "store/FileAccess.h"

// The records of the hand-written data files in tests/data (fixture_dot, fixture_comma).
void FillFixture(TFileAccess& store);

// Two tests of one group. Test 1: scales 1 (ranges [0, 10] and [10, 20], in this order) and 2
// (a description of 300 bytes), questions 1 and 2; test 2 (private): scale 3 (range [-5, 5]) and
// question 3. Answers 1 and 2 belong to question 1, 3 to question 2, 4 to question 3. Weight 1
// puts 2.5 of answer 1 on scale 1, weight 2 exactly -99999 of it on scale 2; weight 3 of answer 2
// is unbound; weight 4 puts -0.5 of answer 4 on scale 3; weight 5 belongs to an answer that does
// not exist. Test 1 has Order 4 and SpareText "spare".
void FillTwoTests(TFileAccess& store);

// A record with its ID, parent, name and order.
template <typename R>
R Item(int id, int parent, const std::string& name, int order = 0) {
    R r;
    r.ID = id;
    r.ParentID = parent;
    r.Name = name;
    r.Order = order;
    return r;
}

// Makes to hold copies of every table of from, with the same cursors and Modified flags.
void CloneStore(const TFileAccess& from, TFileAccess& to);

// Why the first table of the store whose indexes differ from its records is wrong (see
// TObjectTablePeer::CachesAreTrue); empty when every table is true.
std::string UntrueCaches(const TFileAccess& store);

// A small store of random shape: IDs with gaps, records in no particular order, ties in Order,
// some records whose parent is missing, weights bound to scales of any test, to none and to
// scales that do not exist, and some empty tables.
void GenerateRandomStore(TFileAccess& store, std::mt19937& rng);
