#pragma once
#include <string>
#include <vector>

#include "platform/ChmReaderFrames.h"

// Help files made from a good one: damaged in its directory, its compressed data and the
// tables that describe that data, cut short, or not help files at all; each with the reason
// the help reader gives for it.
struct TDamagedHelpFile {
    std::string Name;
    std::string Bytes;
    platform::TChmRefusal Reason;
};

std::vector<TDamagedHelpFile> DamagedHelpFiles(const std::string& good);

// The good file with an index chunk added, whose one entry leads to the listing chunk or, naming
// itself, back to the index chunk. A file whose index leads to its listing reads as the good one.
std::string WithIndexChunk(const std::string& good, bool namingItself);

// Where in the file the uncompressed object at an internal path begins; npos when there is none.
std::size_t ObjectOffset(const std::string& file, const std::string& path);

// The good file with a stretch inside its compressed data overwritten. The compressed data has
// no check sum: whether the decoder notices depends on which bits the stretch hits, so such a
// file may be refused or read with wrong page texts, but never more than that.
std::string WithCompressedDataOverwritten(const std::string& good);
