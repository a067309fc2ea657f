#include "tests/support/ScopedGlobalStore.h"

ScopedGlobalStore::ScopedGlobalStore(std::unique_ptr<TFileAccess> store) : saved_(std::move(GlobalStore())) {
    GlobalStore() = std::move(store);
}

ScopedGlobalStore::~ScopedGlobalStore() { GlobalStore() = std::move(saved_); }
