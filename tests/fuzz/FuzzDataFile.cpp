// Loads any bytes as a coded data file through the store, then works on what loaded: no input may
// crash the reader or the operations the program runs on a loaded project.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/FileAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The whole file, as the program opens it.
    TFileAccess all;
    all.LoadFromBytes(bytes, TSectionChoice::All());

    // The head of a file as the update check reads it, before anything is loaded.
    TFileAccess head;
    head.FileText = TFileAccess::PlainTextOf(bytes);
    TFileAccess::HoldsProductInfo(head.FileText);
    TProductInfo headInfo;
    head.ReadProductInfo(headInfo);

    // The same bytes as Open takes a file that is not in the coded layout: the plain one.
    TFileAccess plain;
    plain.ReadingPlainLayout = true;
    plain.LoadFromText(std::string(bytes), TLoadFailureKind::None, TSectionChoice::All());

    // Each section on its own, so that every reader sees the input whatever the others make of it.
    TFileAccess store;
    for (bool TSectionChoice::*member :
         {&TSectionChoice::TestGroups, &TSectionChoice::Tests, &TSectionChoice::Scales,
          &TSectionChoice::Interpretations, &TSectionChoice::Stimuli, &TSectionChoice::Reactions,
          &TSectionChoice::Weights}) {
        TSectionChoice one;
        one.*member = true;
        store.LoadFromBytes(bytes, one);
    }
    TProductInfo info;
    store.ReadProductInfo(info);

    if (store.Tests.RecordCount() > 0) {
        const std::int32_t test = store.Tests.At(0).ID;
        TFileAccess exchange;
        store.CopyTestTo(test, -1, exchange, false);
        store.CopyTest(test, -1);
        store.DeleteTest(test);
    }
    if (store.Stimuli.RecordCount() > 0) store.CopyStimulus(store.Stimuli.At(0).ID, -1);
    if (store.Scales.RecordCount() > 0) store.DeleteScale(store.Scales.At(0).ID);
    for (TObjectTable* t : store.AllTables()) {
        t->Sort();
        t->NewID();
    }
    store.DeleteAllTestGroups();
    store.UnbindOrphanWeights();
    return 0;
}
