// A help file may be anything: whatever its bytes, the help reader gives either the file's
// objects within its bounds or a refusal with nothing, and the program reading it goes on. The
// file is read as the program reads it, its decoding in a process of its own, with shorter time
// limits than the program's so that a file that keeps the decoder busy ends well before the
// fuzzer's own timeout.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ChmFile.h"

namespace {

void Expect(bool condition) {
    if (!condition) std::abort();
}

void Check(const platform::TChmFile& file) {
    if (!file.IsOpen()) {
        Expect(file.Refusal() != platform::TChmRefusal::None);
        Expect(file.Objects().empty() && file.ContextMap().empty() && file.DefaultTopic().empty());
        Expect(!file.Read("/start.html") && !file.TopicOfContext(10));
        return;
    }
    Expect(file.Objects().size() <= platform::kMaxChmObjects);
    std::uint64_t total = 0;
    for (const std::string& o : file.Objects()) {
        Expect(!o.empty() && o[0] == '/' && o.size() <= platform::kMaxChmPath);
        const std::optional<std::string> data = file.Read(o);
        Expect(data.has_value() && file.Exists(o) && file.FindObject(o) == o);
        total += data->size();
    }
    Expect(total <= platform::kMaxChmDecodedSize);
    for (const auto& [context, topic] : file.ContextMap()) Expect(file.Exists(topic) && file.TopicOfContext(context) == topic);
    for (const std::string* named : {&file.ContentsFile(), &file.IndexFile(), &file.DefaultTopic()})
        Expect(named->empty() || file.Exists(*named));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create("fuzz-help", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    platform::TChmLimits limits;
    limits.CpuSeconds = 1;
    limits.WallMilliseconds = 3000;
    Check(platform::TChmFile("/proc/self/fd/" + std::to_string(fd), limits));
    ::close(fd);
    return 0;
}
