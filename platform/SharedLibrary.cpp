#include "platform/SharedLibrary.h"

#include <dlfcn.h>

namespace platform {
namespace {

std::string LastReason() {
    const char* why = ::dlerror();
    return why ? why : "unknown reason";
}

}  // namespace

std::unique_ptr<TSharedLibrary> TSharedLibrary::Load(const std::string& path) {
    ::dlerror();
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw ELibraryError("Cannot load the library \"" + path + "\": " + LastReason());
    return std::unique_ptr<TSharedLibrary>(new TSharedLibrary(path, handle));
}

TSharedLibrary::~TSharedLibrary() { ::dlclose(handle_); }

void* TSharedLibrary::Symbol(const std::string& name) const {
    ::dlerror();
    void* address = ::dlsym(handle_, name.c_str());
    if (!address) throw ELibraryError("The library \"" + path_ + "\" has no export \"" + name + "\": " + LastReason());
    return address;
}

}  // namespace platform
