#pragma once
#include <string>
#include <vector>

#include "store/StoreServices.h"

// Replaces the store services for the length of one test and puts the old ones back. Messages
// have the text "Text of " + key, the program is "Orvel" "2.0.1", and what the store shows and
// steps is recorded.
class ScopedStoreServices {
public:
    ScopedStoreServices();
    ~ScopedStoreServices();
    ScopedStoreServices(const ScopedStoreServices&) = delete;
    ScopedStoreServices& operator=(const ScopedStoreServices&) = delete;

    static std::string TextOf(const std::string& key) { return "Text of " + key; }

    struct Bar {
        int Steps = 0;   // asked for
        int Done = 0;    // stepped
    };
    std::vector<std::string> Shown;
    std::vector<Bar> Bars;

private:
    TStoreServices saved_;
};
