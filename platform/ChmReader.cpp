// The reading process of help files: decodes every object of the help file open on descriptor 3
// through chmlib and writes them to its output as frames. It runs apart from the program, under
// limits on memory and time that it sets before it reads anything, so that whatever the decoder
// does with a damaged file ends only this process.
#include <chm_lib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/ChmReaderFrames.h"

namespace {

using platform::TChmRefusal;

constexpr int kFile = 3;

bool WriteAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int Refuse(TChmRefusal reason) { return WriteAll(platform::RefusalFrame(reason)) ? 0 : 1; }

void Limit(int resource, rlim_t value) {
    const rlimit limit{value, value};
    if (::setrlimit(resource, &limit) != 0) std::_Exit(2);
}

struct TWalk {
    std::vector<chmUnitInfo> Units;
    std::set<std::string> Paths;
    TChmRefusal Refusal = TChmRefusal::None;
};

int Collect(chmFile*, chmUnitInfo* unit, void* context) {
    auto* walk = static_cast<TWalk*>(context);
    const std::string path(unit->path);
    // A directory that leads back to an entry already passed would be walked for ever.
    if (!walk->Paths.insert(path).second) {
        walk->Refusal = TChmRefusal::Damaged;
        return CHM_ENUMERATOR_FAILURE;
    }
    if (path.size() < 2 || path[0] != '/' || path.back() == '/') return CHM_ENUMERATOR_CONTINUE;
    if (walk->Units.size() >= platform::kMaxChmObjects || unit->length > platform::kMaxChmObjectSize) {
        walk->Refusal = TChmRefusal::TooMuchContent;
        return CHM_ENUMERATOR_FAILURE;
    }
    walk->Units.push_back(*unit);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

// Arguments: the memory limit in bytes and the processor time limit in seconds.
int main(int argc, char** argv) {
    if (argc != 3) return 2;
    Limit(RLIMIT_AS, std::strtoull(argv[1], nullptr, 10));
    Limit(RLIMIT_CPU, std::strtoull(argv[2], nullptr, 10));
    Limit(RLIMIT_CORE, 0);
    Limit(RLIMIT_FSIZE, 0);

    chmFile* file = chm_open(("/proc/self/fd/" + std::to_string(kFile)).c_str());
    if (!file) return Refuse(TChmRefusal::NotHelpFile);
    TWalk walk;
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES, &Collect, &walk);
    if (walk.Refusal != TChmRefusal::None) return Refuse(walk.Refusal);
    std::uint64_t decoded = 0;
    for (chmUnitInfo& unit : walk.Units) {
        if (unit.length > platform::kMaxChmDecodedSize - decoded) return Refuse(TChmRefusal::TooMuchContent);
        decoded += unit.length;
        std::string data(static_cast<std::size_t>(unit.length), '\0');
        if (!data.empty()) {
            const LONGINT64 got = chm_retrieve_object(file, &unit, reinterpret_cast<unsigned char*>(data.data()), 0,
                                                      static_cast<LONGINT64>(unit.length));
            if (got != static_cast<LONGINT64>(unit.length)) return Refuse(TChmRefusal::Damaged);
        }
        if (!WriteAll(platform::ObjectFrame(unit.path, data))) return 1;
    }
    chm_close(file);
    return WriteAll(platform::EndFrame(static_cast<std::uint32_t>(walk.Units.size()))) ? 0 : 1;
}
