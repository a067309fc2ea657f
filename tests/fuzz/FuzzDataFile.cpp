// Reads any bytes as a coded data file into the tables: no input may crash the reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/FileAccess.h"
#include "store/XorCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFileAccess store;
    store.FileText = DecodeText(std::string_view(reinterpret_cast<const char*>(data), size));
    store.ReadTestGroups();
    store.ReadTests();
    store.ReadStimuli();
    store.ReadReactions();
    store.ReadScales();
    store.ReadInterpretations();
    store.ReadWeights();
    for (TObjectTable* t : {static_cast<TObjectTable*>(&store.Tests), static_cast<TObjectTable*>(&store.Weights)}) {
        t->Sort();
        t->NewID();
    }
    return 0;
}
