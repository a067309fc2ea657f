#pragma once
#include <utility>

namespace platform {

// Installs a hook (a function put in place of the system's or the person's answer) for its
// lifetime through Set, which returns the hook it replaces, and puts that one back at the end.
template <typename Hook, Hook (*Set)(Hook)>
class ScopedHook {
public:
    explicit ScopedHook(Hook hook) : previous_(Set(std::move(hook))) {}
    ~ScopedHook() { Set(std::move(previous_)); }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

private:
    Hook previous_;
};

}  // namespace platform
