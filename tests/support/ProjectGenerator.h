#pragma once
#include <cstdint>

#include "store/FileAccess.h"

// Fills a store with a generated project: groups, tests, questions, answers, scales,
// interpretations and weights, with ties in Order, negative reals, empty and multi-line texts.
struct ProjectSize {
    int Groups = 5;
    int Tests = 500;
    int QuestionsPerTest = 20;
    int AnswersPerQuestion = 5;
    int ScalesPerTest = 5;
    int InterpretationsPerScale = 3;
    int WeightsPerAnswer = 5;

    // The ordinary large load: 500 tests, 10,000 questions, 50,000 answers, 250,000 weights.
    static ProjectSize Large() { return {}; }
    static ProjectSize Small() { return {2, 3, 4, 3, 2, 2, 2}; }
};

void GenerateProject(TFileAccess& store, const ProjectSize& size, std::uint32_t seed = 1);
