#pragma once

// The sections a Save or Load works on. The members stand in this order, which is not the order
// of the sections in the file. The converter library's store takes the same choice.
struct TSectionChoice {
    bool TestGroups = false;
    bool Tests = false;
    bool Scales = false;
    bool Interpretations = false;
    bool Stimuli = false;
    bool Reactions = false;
    bool Weights = false;

    static TSectionChoice All() { return {true, true, true, true, true, true, true}; }
};
