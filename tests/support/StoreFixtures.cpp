#include "tests/support/StoreFixtures.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "platform/ShortDates.h"
#include "store/StoreTestSeam.h"

void FillFixture(TFileAccess& s) {
    s.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, "Group one"));

    TTest t = Item<TTest>(1, 1, "Test one");
    t.Annotation = "An annotation";
    t.Instruction = "Read each question.";
    t.MoveDirection = mdForwardBack;
    t.ReplayEnabled = true;
    t.TimeLimit = 30;
    t.Description = "First line\r\nSecond line";
    t.AuthorName = "Ann Author";
    t.AuthorEmail = "ann@example.org";
    t.Copyright = "(c) 2024";
    t.Created = platform::EncodeDate(2024, 3, 15);
    s.Tests.AddTest(t);

    TStimul q = Item<TStimul>(1, 1, "How do you feel?");
    q.AnswersLimit = 1;
    q.AnswerRequired = true;
    s.Stimuli.AddStimulus(q);

    s.Reactions.AddReaction(Item<TReaction>(1, 1, "Well", 0));
    s.Reactions.AddReaction(Item<TReaction>(2, 1, "Badly", 1));

    TScale sc = Item<TScale>(1, 1, "Mood");
    sc.Description = "Mood scale";
    s.Scales.AddScale(sc);

    TInterpretation in = Item<TInterpretation>(1, 1, "Good mood");
    in.Maximum = 10.5;
    in.Minimum = -2.25;
    in.Description = "You feel fine.";
    s.Interpretations.AddInterpretation(in);

    TWeight bound = Item<TWeight>(1, 1, "w1");
    bound.ScaleID = 1;
    bound.Value = 2.5;
    s.Weights.AddWeight(bound);
    TWeight unbound = Item<TWeight>(2, 2, "w2", 1);
    unbound.ScaleID = -1;
    unbound.Value = -0.75;
    s.Weights.AddWeight(unbound);
}

void FillTwoTests(TFileAccess& s) {
    s.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, "Group"));
    TTest first = Item<TTest>(1, 1, "First", 4);
    first.SpareText = "spare";
    first.Instruction = "Answer each question.";
    s.Tests.AddTest(first);
    TTest second = Item<TTest>(2, 1, "Second", 2);
    second.Private = true;
    s.Tests.AddTest(second);

    s.Scales.AddScale(Item<TScale>(1, 1, "Mood"));
    TScale energy = Item<TScale>(2, 1, "Energy");
    energy.Description = std::string(300, 'd');
    s.Scales.AddScale(energy);
    s.Scales.AddScale(Item<TScale>(3, 2, "Focus"));

    const auto range = [&](int id, int scale, const char* name, double min, double max) {
        TInterpretation in = Item<TInterpretation>(id, scale, name);
        in.Minimum = min;
        in.Maximum = max;
        in.Description = std::string(name) + " text";
        s.Interpretations.AddInterpretation(in);
    };
    range(1, 1, "Low", 0, 10);
    range(2, 1, "High", 10, 20);
    range(3, 3, "Mid", -5, 5);

    s.Stimuli.AddStimulus(Item<TStimul>(1, 1, "Q1"));
    s.Stimuli.AddStimulus(Item<TStimul>(2, 1, "Q2"));
    s.Stimuli.AddStimulus(Item<TStimul>(3, 2, "Q3"));
    s.Reactions.AddReaction(Item<TReaction>(1, 1, "A1"));
    s.Reactions.AddReaction(Item<TReaction>(2, 1, "A2"));
    s.Reactions.AddReaction(Item<TReaction>(3, 2, "A3"));
    s.Reactions.AddReaction(Item<TReaction>(4, 3, "A4"));

    const auto weight = [&](int id, int reaction, int scale, double value) {
        TWeight w = Item<TWeight>(id, reaction, "W" + std::to_string(id));
        w.ScaleID = scale;
        w.Value = value;
        s.Weights.AddWeight(w);
    };
    weight(1, 1, 1, 2.5);
    weight(2, 1, 2, -99999);
    weight(3, 2, -1, 1);
    weight(4, 4, 3, -0.5);
    weight(5, 99, 1, 3);
}

void CloneStore(const TFileAccess& from, TFileAccess& to) {
    const auto src = from.AllTables();
    const auto dst = to.AllTables();
    for (std::size_t i = 0; i < src.size(); ++i) {
        src[i]->Copy(*dst[i]);
        dst[i]->SetCursor(src[i]->Cursor());
        dst[i]->SetModified(src[i]->Modified());
    }
    to.FileName = from.FileName;
    to.Settings = from.Settings;
}

std::string UntrueCaches(const TFileAccess& store) {
    std::string why;
    for (const TObjectTable* t : store.AllTables())
        if (!TObjectTablePeer::CachesAreTrue(*t, &why)) return why;
    return {};
}

namespace {

// n distinct IDs out of 1 .. n + gaps, in random order.
std::vector<std::int32_t> Ids(std::mt19937& rng, int n, int gaps) {
    std::vector<std::int32_t> all(static_cast<std::size_t>(n + gaps));
    std::iota(all.begin(), all.end(), 1);
    std::shuffle(all.begin(), all.end(), rng);
    all.resize(static_cast<std::size_t>(n));
    return all;
}

// A parent out of ids, now and then one that does not exist.
std::int32_t Parent(std::mt19937& rng, const std::vector<std::int32_t>& ids) {
    if (ids.empty() || rng() % 10 == 0) return 500 + static_cast<std::int32_t>(rng() % 3);
    return ids[rng() % ids.size()];
}

int Count(std::mt19937& rng, int most) {
    return rng() % 8 == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(most + 1));
}

template <typename R>
R Record(std::mt19937& rng, std::int32_t id, std::int32_t parent, const char* stem) {
    R r;
    r.ID = id;
    r.ParentID = parent;
    r.Order = static_cast<std::int32_t>(rng() % 4);
    r.Name = std::string(stem) + " " + std::to_string(id);
    r.Description = rng() % 3 == 0 ? "two\r\nlines" : "";
    return r;
}

}  // namespace

void GenerateRandomStore(TFileAccess& s, std::mt19937& rng) {
    const auto groups = Ids(rng, Count(rng, 4), 3);
    for (auto id : groups) s.TestGroups.AddTestGroup(Record<TTestGroup>(rng, id, -1, "Group"));

    const auto tests = Ids(rng, Count(rng, 8), 6);
    for (auto id : tests) {
        TTest t = Record<TTest>(rng, id, Parent(rng, groups), "Test");
        t.Private = rng() % 2 == 0;
        t.SpareText = rng() % 2 ? "spare" : "";
        t.Created = 45000 + static_cast<double>(rng() % 100);
        s.Tests.AddTest(t);
    }

    const auto scales = Ids(rng, Count(rng, 15), 8);
    for (auto id : scales) s.Scales.AddScale(Record<TScale>(rng, id, Parent(rng, tests), "Scale"));

    const auto interps = Ids(rng, Count(rng, 25), 8);
    for (auto id : interps) {
        TInterpretation in = Record<TInterpretation>(rng, id, Parent(rng, scales), "Range");
        in.Minimum = static_cast<double>(rng() % 21) - 10;
        in.Maximum = in.Minimum + static_cast<double>(rng() % 15);
        s.Interpretations.AddInterpretation(in);
    }

    const auto stimuli = Ids(rng, Count(rng, 20), 8);
    for (auto id : stimuli) s.Stimuli.AddStimulus(Record<TStimul>(rng, id, Parent(rng, tests), "Question"));

    const auto reactions = Ids(rng, Count(rng, 40), 10);
    for (auto id : reactions) s.Reactions.AddReaction(Record<TReaction>(rng, id, Parent(rng, stimuli), "Answer"));

    const auto weights = Ids(rng, Count(rng, 60), 12);
    for (auto id : weights) {
        TWeight w = Record<TWeight>(rng, id, Parent(rng, reactions), "Weight");
        const unsigned k = rng() % 5;
        w.ScaleID = k < 3 && !scales.empty() ? scales[rng() % scales.size()] : k == 3 ? -1 : 700;
        w.Value = static_cast<double>(rng() % 9) - 4;
        s.Weights.AddWeight(w);
    }
    s.SetModified(rng() % 2 == 0);
    for (TObjectTable* t : s.AllTables()) t->SetCursor(t->RecordCount() > 0 ? static_cast<int>(rng() % t->RecordCount()) : 0);
}
