#include "platform/ChmFile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::uint32_t ReadU32(const std::string& data, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t ReadU16(const std::string& data, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) |
                                      (static_cast<unsigned char>(data[at + 1]) << 8));
}

// A text field of the file: up to its first NUL.
std::string CText(const std::string& data, std::size_t at, std::size_t size) {
    const std::string field = data.substr(at, size);
    return field.substr(0, field.find('\0'));
}

std::string Rooted(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    return "/" + path;
}

int CollectObject(::chmFile*, ::chmUnitInfo* unit, void* context) {
    auto* names = static_cast<std::vector<std::string>*>(context);
    const std::string path = unit->path;
    if (path.size() > 1 && path[0] == '/' && path.back() != '/' && path[1] != '#' && path[1] != '$')
        names->push_back(path);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

TChmFile::TChmFile(const std::string& path) : path_(path) {
    file_ = chm_open(path.c_str());
    if (!file_) return;
    chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, &CollectObject, &objects_);
    std::sort(objects_.begin(), objects_.end());
    for (const std::string& o : objects_) byLowerPath_.emplace(Lower(o), o);
    ReadSystem();
    ReadContextMap();
}

TChmFile::~TChmFile() {
    if (file_) chm_close(file_);
}

std::optional<std::string> TChmFile::ReadRaw(const std::string& objectPath) const {
    if (!file_) return std::nullopt;
    ::chmUnitInfo unit{};
    if (objectPath.size() > CHM_MAX_PATHLEN) return std::nullopt;
    if (chm_resolve_object(file_, objectPath.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (unit.length > kMaxObjectSize) return std::nullopt;
    std::string data(static_cast<std::size_t>(unit.length), '\0');
    if (data.empty()) return data;
    const LONGINT64 got = chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(data.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got < 0) return std::nullopt;
    data.resize(static_cast<std::size_t>(got));
    return data;
}

std::optional<std::string> TChmFile::Read(const std::string& objectPath) const {
    const auto it = byLowerPath_.find(Lower(Rooted(objectPath)));
    if (it == byLowerPath_.end()) return std::nullopt;
    return ReadRaw(it->second);
}

bool TChmFile::Exists(const std::string& objectPath) const { return byLowerPath_.count(Lower(Rooted(objectPath))) > 0; }

std::string TChmFile::FindObject(const std::string& path) const {
    if (path.empty()) return {};
    const std::string lower = Lower(Rooted(path));
    if (const auto it = byLowerPath_.find(lower); it != byLowerPath_.end()) return it->second;
    std::string best;
    for (const auto& [lowerObject, object] : byLowerPath_) {
        if (lowerObject.size() > best.size() && lower.size() > lowerObject.size() &&
            lower.compare(lower.size() - lowerObject.size(), lowerObject.size(), lowerObject) == 0)
            best = object;
    }
    return best;
}

// "#SYSTEM": a version, then records of a 16-bit code, a 16-bit length and that many bytes.
void TChmFile::ReadSystem() {
    const std::optional<std::string> system = ReadRaw("/#SYSTEM");
    if (!system || system->size() < 4) return;
    const std::string& data = *system;
    std::size_t at = 4;
    while (at + 4 <= data.size()) {
        const std::uint16_t code = ReadU16(data, at);
        const std::size_t size = ReadU16(data, at + 2);
        at += 4;
        if (size > data.size() - at) break;
        const std::string text = CText(data, at, size);
        switch (code) {
            case 0: contentsFile_ = FindObject(text); break;
            case 1: indexFile_ = FindObject(text); break;
            case 2: defaultTopic_ = FindObject(text); break;
            case 3: title_ = text; break;
            default: break;
        }
        at += size;
    }
}

// "#IVB": the byte length of the pairs that follow, then pairs of a context number and the
// offset of its topic's path in "#STRINGS".
void TChmFile::ReadContextMap() {
    const std::optional<std::string> ivb = ReadRaw("/#IVB");
    const std::optional<std::string> strings = ReadRaw("/#STRINGS");
    if (!ivb || !strings || ivb->size() < 4) return;
    const std::size_t size = std::min<std::size_t>(ReadU32(*ivb, 0), ivb->size() - 4);
    for (std::size_t at = 4; at + 8 <= 4 + size; at += 8) {
        const std::uint32_t context = ReadU32(*ivb, at);
        const std::size_t offset = ReadU32(*ivb, at + 4);
        if (offset >= strings->size()) continue;
        const std::string topic = FindObject(CText(*strings, offset, strings->size() - offset));
        if (!topic.empty()) contextMap_.emplace(context, topic);
    }
}

std::optional<std::string> TChmFile::TopicOfContext(std::uint32_t context) const {
    const auto it = contextMap_.find(context);
    if (it == contextMap_.end()) return std::nullopt;
    return it->second;
}

}  // namespace platform
