#pragma once
#include <string>

#include "store/FileAccess.h"

// The project of a store in the old key-and-value layout that the converter library reads.
std::string OldLayoutOf(const TFileAccess& s);
