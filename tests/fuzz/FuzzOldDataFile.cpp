// Reads any bytes as a data file of the old key-and-value layout, then copies what was read into
// the converter's 1.4.2 store, and moves it there as a conversion does, and builds the text: no
// input may crash the reader, the copy, the move or the writer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "converter/FileAccess.h"
#include "converter/FileAccessOld.h"
#include "converter/Vantrel.h"

namespace {

// Sorts the tables that a save sorts and builds the 1.4.2 text of every section.
void BuildText(vantrel::TFileAccess& store) {
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
}

}  // namespace

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
    BuildText(store);

    // And as a conversion does it: the records of the whole reading moved, not copied.
    vantrel::TFileAccess moved("unused");
    vantrel::MoveTables(whole, moved);
    BuildText(moved);
    return 0;
}
