#include "tests/support/ProjectGenerator.h"

#include <random>
#include <string>

namespace {

std::string Text(std::mt19937& rng, const std::string& stem, int n) {
    switch (rng() % 4) {
        case 0: return {};
        case 1: return stem + " " + std::to_string(n) + "\r\nsecond line\r\nthird line";
        default: return stem + " " + std::to_string(n);
    }
}

}  // namespace

void GenerateProject(TFileAccess& s, const ProjectSize& size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    // Orders with ties: a small range so that siblings share values.
    const auto order = [&](int i) { return static_cast<std::int32_t>(rng() % 3 == 0 ? i / 2 : i); };
    const auto real = [&]() { return (static_cast<int>(rng() % 4001) - 2000) / 8.0; };

    int testId = 1, stimId = 1, reactId = 1, scaleId = 1, interpId = 1, weightId = 1;
    for (int g = 0; g < size.Groups; ++g) {
        TTestGroup group;
        group.ID = g + 1;
        group.ParentID = -1;
        group.Order = order(g);
        group.Name = "Group " + std::to_string(g + 1);
        group.Description = Text(rng, "About group", g);
        s.TestGroups.AddTestGroup(group);
    }
    for (int t = 0; t < size.Tests; ++t) {
        TTest test;
        test.ID = testId++;
        test.ParentID = 1 + t % size.Groups;
        test.Order = order(t / size.Groups);
        test.Name = "Test " + std::to_string(test.ID);
        test.Description = Text(rng, "Description", t);
        test.Annotation = Text(rng, "Annotation", t);
        test.Instruction = Text(rng, "Please answer every question", t);
        test.MoveDirection = static_cast<std::uint8_t>(t % 4);
        test.ReplayEnabled = t % 2 == 0;
        test.StopEnabled = t % 3 == 0;
        test.SpareFlag = t % 5 == 0;
        test.TimeLimit = t % 7 * 10;
        test.AuthorName = "Author " + std::to_string(t % 11);
        test.AuthorEmail = t % 2 ? "author@example.org" : "";
        test.Copyright = "(c) 2024";
        test.Created = 45000 + t % 900;   // whole days: the file keeps the date only
        test.Private = t % 13 == 0;
        test.SpareText = "";
        s.Tests.AddTest(test);

        std::vector<int> scales;
        for (int k = 0; k < size.ScalesPerTest; ++k) {
            TScale scale;
            scale.ID = scaleId++;
            scale.ParentID = test.ID;
            scale.Order = order(k);
            scale.Name = "Scale " + std::to_string(k + 1);
            scale.Description = Text(rng, "Scale text", k);
            s.Scales.AddScale(scale);
            scales.push_back(scale.ID);
            for (int i = 0; i < size.InterpretationsPerScale; ++i) {
                TInterpretation in;
                in.ID = interpId++;
                in.ParentID = scale.ID;
                in.Order = order(i);
                in.Name = "Range " + std::to_string(i + 1);
                in.Description = Text(rng, "You scored", i);
                in.Minimum = i * 10 - 5.5;
                in.Maximum = i * 10 + 4.25;
                s.Interpretations.AddInterpretation(in);
            }
        }
        for (int q = 0; q < size.QuestionsPerTest; ++q) {
            TStimul st;
            st.ID = stimId++;
            st.ParentID = test.ID;
            st.Order = order(q);
            st.Name = "Question " + std::to_string(q + 1);
            st.Description = Text(rng, "How often", q);
            st.MultipleAnswers = q % 3 == 0;
            st.AnswersLimit = q % 3 == 0 ? 2 : 1;
            st.AnswerRequired = q % 2 == 0;
            s.Stimuli.AddStimulus(st);
            for (int a = 0; a < size.AnswersPerQuestion; ++a) {
                TReaction r;
                r.ID = reactId++;
                r.ParentID = st.ID;
                r.Order = order(a);
                r.Name = "Answer " + std::to_string(a + 1);
                r.Description = Text(rng, "Answer text", a);
                s.Reactions.AddReaction(r);
                for (int w = 0; w < size.WeightsPerAnswer; ++w) {
                    TWeight wt;
                    wt.ID = weightId++;
                    wt.ParentID = r.ID;
                    wt.Order = order(w);
                    wt.ScaleID = scales.empty() || rng() % 10 == 0 ? -1 : scales[w % scales.size()];
                    wt.Name = "Weight " + std::to_string(w + 1);
                    wt.Value = real();
                    wt.Description = "";
                    s.Weights.AddWeight(wt);
                }
            }
        }
    }
}
