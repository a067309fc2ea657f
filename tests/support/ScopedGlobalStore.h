#pragma once
#include <memory>

#include "store/FileAccess.h"

// Makes store the global store for the length of one test and puts the old one back.
class ScopedGlobalStore {
public:
    explicit ScopedGlobalStore(std::unique_ptr<TFileAccess> store);
    ~ScopedGlobalStore();
    ScopedGlobalStore(const ScopedGlobalStore&) = delete;
    ScopedGlobalStore& operator=(const ScopedGlobalStore&) = delete;

    TFileAccess& Store() const { return *GlobalStore(); }

private:
    std::unique_ptr<TFileAccess> saved_;
};
