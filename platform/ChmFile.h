#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace platform {

// A compiled HTML Help file, read through chmlib: its pages and pictures by path, the names of
// its contents and index files and its default topic (from "#SYSTEM"), and its context map
// (context number to topic, from "#IVB" and "#STRINGS"). The file may come from anywhere, so
// every length in it is checked before it is used.
class TChmFile {
public:
    // No object of the file is read past this size.
    static constexpr std::uint64_t kMaxObjectSize = 64u << 20;

    explicit TChmFile(const std::string& path);
    ~TChmFile();
    TChmFile(const TChmFile&) = delete;
    TChmFile& operator=(const TChmFile&) = delete;

    // False when the file is missing or chmlib cannot read it; then every query finds nothing.
    bool IsOpen() const { return file_ != nullptr; }
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

private:
    void ReadSystem();
    void ReadContextMap();
    std::optional<std::string> ReadRaw(const std::string& objectPath) const;

    std::string path_;
    ::chmFile* file_ = nullptr;
    std::vector<std::string> objects_;
    std::map<std::string, std::string> byLowerPath_;
    std::string contentsFile_, indexFile_, defaultTopic_, title_;
    std::map<std::uint32_t, std::string> contextMap_;
};

}  // namespace platform
