#include "tests/support/DamagedHelpFiles.h"

#include <cstdint>
#include <random>
#include <stdexcept>

namespace {

using platform::TChmRefusal;

std::uint64_t Get(const std::string& s, std::size_t at, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s.at(at + static_cast<std::size_t>(i)));
    return v;
}

void Put(std::string& s, std::size_t at, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s.at(at + static_cast<std::size_t>(i)) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The layout of the file's header and directory.
struct TLayout {
    std::size_t Directory, DirectoryHeader, ChunkSize, Chunks, Content;
    explicit TLayout(const std::string& f)
        : Directory(Get(f, 0x48, 8)), DirectoryHeader(Get(f, Directory + 8, 4)), ChunkSize(Get(f, Directory + 0x10, 4)),
          Chunks(Get(f, Directory + 0x2C, 4)), Content(Get(f, 0x58, 8)) {}
    std::size_t Chunk(std::size_t n) const { return Directory + DirectoryHeader + n * ChunkSize; }
};

std::uint64_t Number(const std::string& s, std::size_t& at) {
    std::uint64_t v = 0;
    for (;;) {
        const auto b = static_cast<unsigned char>(s.at(at++));
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80)) return v;
    }
}

std::string Changed(std::string s, std::size_t at, std::uint64_t v, int bytes) {
    Put(s, at, v, bytes);
    return s;
}

std::string Filled(std::string s, std::size_t at, std::size_t length, char c) {
    s.replace(at, length, length, c);
    return s;
}

}  // namespace

std::size_t ObjectOffset(const std::string& file, const std::string& path) {
    const TLayout layout(file);
    for (std::size_t n = 0; n < layout.Chunks; ++n) {
        const std::size_t chunk = layout.Chunk(n);
        if (file.compare(chunk, 4, "PMGL") != 0) continue;
        const std::size_t end = chunk + layout.ChunkSize - Get(file, chunk + 4, 4);
        for (std::size_t at = chunk + 20; at < end;) {
            const std::size_t length = Number(file, at);
            const std::string name = file.substr(at, length);
            at += length;
            const std::uint64_t section = Number(file, at), offset = Number(file, at);
            Number(file, at);
            if (name == path && section == 0) return layout.Content + offset;
        }
    }
    return std::string::npos;
}

std::string WithIndexChunk(const std::string& good, bool namingItself) {
    const TLayout layout(good);
    const std::size_t own = layout.Chunks;
    std::string chunk = "PMGI";
    std::string entries;
    entries += '\x01';
    entries += '/';
    entries += static_cast<char>(namingItself ? own : 0);
    Put(chunk.append(4, '\0'), 4, layout.ChunkSize - 8 - entries.size(), 4);
    chunk += entries;
    chunk.resize(layout.ChunkSize, '\0');
    std::string f = good;
    f.insert(layout.Chunk(own), chunk);
    Put(f, 0x50, Get(f, 0x50, 8) + layout.ChunkSize, 8);
    Put(f, 0x58, layout.Content + layout.ChunkSize, 8);
    Put(f, layout.Directory + 0x18, 2, 4);
    Put(f, layout.Directory + 0x1C, own, 4);
    Put(f, layout.Directory + 0x2C, own + 1, 4);
    return f;
}

std::vector<TDamagedHelpFile> DamagedHelpFiles(const std::string& good) {
    const TLayout layout(good);
    const std::size_t control = ObjectOffset(good, "::DataSpace/Storage/MSCompressed/ControlData");
    const std::size_t reset = ObjectOffset(
        good, "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable");
    const std::size_t compressed = ObjectOffset(good, "::DataSpace/Storage/MSCompressed/Content");
    if (control == std::string::npos || reset == std::string::npos || compressed == std::string::npos)
        throw std::runtime_error("the good help file has no compressed section");
    std::mt19937 random(25);
    std::string noise(6000, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    const std::size_t listing = layout.Chunk(0);
    return {
        {"empty", "", TChmRefusal::NotHelpFile},
        {"a text", "This is not a help file.\n", TChmRefusal::NotHelpFile},
        {"random bytes", noise, TChmRefusal::NotHelpFile},
        {"random bytes after the signature", "ITSF" + noise, TChmRefusal::Damaged},
        {"cut inside the header", good.substr(0, 60), TChmRefusal::NotHelpFile},
        {"cut inside the directory", good.substr(0, listing + 100), TChmRefusal::Damaged},
        {"cut inside the compressed data", good.substr(0, compressed + 100), TChmRefusal::Damaged},
        {"cut in half", good.substr(0, good.size() / 2), TChmRefusal::Damaged},
        {"directory outside the file", Changed(good, 0x48, good.size(), 8), TChmRefusal::Damaged},
        {"a listing chunk naming itself as the next", Changed(good, listing + 16, 0, 4), TChmRefusal::Damaged},
        {"a listing chunk naming one past the last as the next", Changed(good, listing + 16, layout.Chunks, 4),
         TChmRefusal::Damaged},
        {"a huge count of directory chunks", Changed(good, layout.Directory + 0x2C, 0xFFFFFFFF, 4), TChmRefusal::Damaged},
        {"huge directory chunks", Changed(good, layout.Directory + 0x10, 0x7FFFFFFF, 4), TChmRefusal::Damaged},
        {"an entry running past its chunk", Changed(good, listing + 4, 0, 4), TChmRefusal::Damaged},
        {"an index chunk naming itself", WithIndexChunk(good, true), TChmRefusal::Damaged},
        // The decoder itself dies on these: the process that runs it goes, the program stays.
        {"control data of an unknown version", Changed(good, control + 8, 0xFFFFFFFF, 4), TChmRefusal::ReaderStopped},
        {"control data with no window", Changed(good, control + 16, 0, 4), TChmRefusal::ReaderStopped},
        {"control data with no cache", Changed(good, control + 20, 0, 4), TChmRefusal::ReaderStopped},
        {"a reset table with blocks of no size", Changed(good, reset + 32, 0, 8), TChmRefusal::ReaderStopped},
        {"a reset table past the compressed data", Changed(good, reset + 40 + 8, 0xFFFFFF, 8), TChmRefusal::ReaderStopped},
        {"a reset table of an unknown version", Changed(good, reset, 0xFF, 1), TChmRefusal::Damaged},
        {"compressed data zeroed from its start", Filled(good, compressed, 64, '\0'), TChmRefusal::Damaged},
    };
}

std::string WithCompressedDataOverwritten(const std::string& good) {
    const std::size_t compressed = ObjectOffset(good, "::DataSpace/Storage/MSCompressed/Content");
    if (compressed == std::string::npos || compressed + 2600 > good.size())
        throw std::runtime_error("the good help file has too little compressed data");
    return Filled(good, compressed + 2000, 600, '\xFF');
}
