// vantrel_host <library> <export> <path> [<largest file size>]: loads the library, calls the export
// with the length-prefixed path and exits with 0 for True, 1 for False, 2 when the library or its
// export cannot be loaded. A size limit makes every larger write fail.
#include <dlfcn.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    using Converter = bool(const unsigned char*);
    auto* convert = reinterpret_cast<Converter*>(dlsym(library, argv[2]));
    if (!convert) return 2;
    if (argc > 4) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{std::strtoul(argv[4], nullptr, 10), RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    const std::string path = argv[3];
    std::string arg(1, static_cast<char>(path.size()));
    arg += path;
    return convert(reinterpret_cast<const unsigned char*>(arg.data())) ? 0 : 1;
}
