#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ChmReaderFrames.h"

namespace platform {

// The limits of the process that decodes a help file.
// The program's own help file decodes in a few hundredths of a second.
struct TChmLimits {
    std::uint64_t MemoryBytes = 256u << 20;
    unsigned CpuSeconds = 2;
    int WallMilliseconds = 5000;
    // The reading program; empty for the one beside the running program.
    std::string Program;
};

// A compiled HTML Help file: its pages and pictures by path, the names of its contents and index
// files and its default topic (from "#SYSTEM"), and its context map (context number to topic,
// from "#IVB" and "#STRINGS").
//
// The file may come from anywhere and its decoder (chmlib) is not ours, so the file is taken
// only when it is a regular file below kMaxChmFileSize, its header and directory are checked
// here, and it is decoded whole by a process of its own (the program "orvel_chm_reader" beside
// the running program) under limits on memory and time. Whatever that process does with the
// file, this side only sees its objects or a refusal with the reason.
class TChmFile {
public:
    explicit TChmFile(const std::string& path, const TChmLimits& limits = {});

    // False when the file was refused; then every query finds nothing.
    bool IsOpen() const { return refusal_ == TChmRefusal::None; }
    TChmRefusal Refusal() const { return refusal_; }
    const std::string& Path() const { return path_; }

    // The object at an absolute path in the file ("/main.html"), compared without regard to
    // case as HTML Help does; nullopt when the file has none.
    std::optional<std::string> Read(const std::string& objectPath) const;
    bool Exists(const std::string& objectPath) const;
    // The paths of the file's own objects (pages, pictures, contents and index), without the
    // internal ones whose names begin with "#", "$" or "::".
    const std::vector<std::string>& Objects() const { return objects_; }

    // Object paths with a leading "/", empty when the file names none.
    const std::string& ContentsFile() const { return contentsFile_; }
    const std::string& IndexFile() const { return indexFile_; }
    const std::string& DefaultTopic() const { return defaultTopic_; }
    const std::string& Title() const { return title_; }

    // The topic that the file maps to a context number, as an object path of the file.
    std::optional<std::string> TopicOfContext(std::uint32_t context) const;
    const std::map<std::uint32_t, std::string>& ContextMap() const { return contextMap_; }

    // The object of the file that a path names: a path relative to the file's root, one with a
    // leading "/", or one that a help compiler wrote as a full path on the disk it ran on (the
    // longest object path that it ends with). Empty when none matches.
    std::string FindObject(const std::string& path) const;

    // The reading process, beside the running program.
    static std::string ReaderProgram();

private:
    void Load(const TChmLimits& limits);
    void ReadSystem();
    void ReadContextMap();
    const std::string* Internal(const std::string& objectPath) const;

    std::string path_;
    TChmRefusal refusal_ = TChmRefusal::Missing;
    std::map<std::string, std::string> content_;          // every object, by its exact path
    std::vector<std::string> objects_;
    std::map<std::string, std::string> byLowerPath_;
    std::string contentsFile_, indexFile_, defaultTopic_, title_;
    std::map<std::uint32_t, std::string> contextMap_;
};

}  // namespace platform
