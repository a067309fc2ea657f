// Reads any bytes as a data file of the old key-and-value layout, then copies what was read into
// the converter's 1.4.2 store and builds its text: no input may crash the reader or the writer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "converter/FileAccess.h"
#include "converter/FileAccessOld.h"
#include "converter/Vantrel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    vantrel::TFileAccessOld whole("unused");
    whole.LoadFromText(text);

    // Each section on its own, so that every reader sees the input whatever the others make of it.
    vantrel::TFileAccessOld old("unused");
    old.SetLines(text);
    old.ReadTestGroups();
    old.ReadTests();
    old.ReadStimuli();
    old.ReadReactions();
    old.ReadScales();
    old.ReadInterpretations();
    old.ReadWeights();
    old.ReadUsers();
    old.ReadIsAuthor();

    vantrel::TFileAccess store("unused");
    vantrel::CopyTestGroups(old.TestGroups, store.TestGroups);
    vantrel::CopyTests(old.Tests, store.Tests);
    vantrel::CopyScales(old.Scales, store.Scales);
    vantrel::CopyInterpretations(old.Interpretations, store.Interpretations);
    vantrel::CopyStimuli(old.Stimuli, store.Stimuli);
    vantrel::CopyReactions(old.Reactions, store.Reactions);
    vantrel::CopyWeights(old.Weights, store.Weights);
    for (vantrel::TObjectTable* t : {static_cast<vantrel::TObjectTable*>(&store.TestGroups),
                                     static_cast<vantrel::TObjectTable*>(&store.Tests),
                                     static_cast<vantrel::TObjectTable*>(&store.Weights)})
        t->Sort();
    store.WriteTestGroups();
    store.WriteTests();
    store.WriteStimuli();
    store.WriteReactions();
    store.WriteScales();
    store.WriteInterpretations();
    store.WriteWeights();
    return 0;
}
