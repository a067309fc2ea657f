#pragma once
#include <cstdint>
#include <random>

#include "store/FileAccess.h"

// The records of the hand-written data files in tests/data (fixture_dot, fixture_comma).
void FillFixture(TFileAccess& store);

// Makes to hold copies of every table of from, with the same cursors and Modified flags.
void CloneStore(const TFileAccess& from, TFileAccess& to);

// A small store of random shape: IDs with gaps, records in no particular order, ties in Order,
// some records whose parent is missing, weights bound to scales of any test, to none and to
// scales that do not exist, and some empty tables.
void GenerateRandomStore(TFileAccess& store, std::mt19937& rng);
