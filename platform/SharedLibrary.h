#pragma once
#include <memory>
#include <string>

#include "platform/Exception.h"

namespace platform {

// A library or one of its exports that could not be loaded; the text names it and the reason.
class ELibraryError : public Exception {
public:
    using Exception::Exception;
};

// A shared library loaded by path (dlopen), its exports found by name (dlsym). It stays loaded
// while the object lives.
class TSharedLibrary {
public:
    // All of the library's references are bound at once, and none of its symbols is made
    // available to other libraries. Raises ELibraryError.
    static std::unique_ptr<TSharedLibrary> Load(const std::string& path);
    ~TSharedLibrary();
    TSharedLibrary(const TSharedLibrary&) = delete;
    TSharedLibrary& operator=(const TSharedLibrary&) = delete;

    const std::string& Path() const { return path_; }
    // The address of the export name; raises ELibraryError when the library has none.
    void* Symbol(const std::string& name) const;
    template <typename F>
    F* Function(const std::string& name) const {
        return reinterpret_cast<F*>(Symbol(name));
    }

private:
    TSharedLibrary(std::string path, void* handle) : path_(std::move(path)), handle_(handle) {}
    std::string path_;
    void* handle_;
};

}  // namespace platform
