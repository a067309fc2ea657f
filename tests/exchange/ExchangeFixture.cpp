#include "tests/exchange/ExchangeFixture.h"

#include "platform/ShortDates.h"
#include "tests/support/StoreFixtures.h"

void FillExchangeFixture(TFileAccess& s) {
    s.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, "Other group", 0));
    s.TestGroups.AddTestGroup(Item<TTestGroup>(3, -1, "Group three", 1));

    s.Tests.AddTest(Item<TTest>(2, 1, "Other test", 0));
    TTest hidden = Item<TTest>(kPrivateTest, 1, "Hidden test", 1);
    hidden.Private = true;
    s.Tests.AddTest(hidden);
    TTest t = Item<TTest>(kFixtureTest, kFixtureGroup, "Attention test", 2);
    t.Description = "First line\r\nSecond line";
    t.Annotation = "Short form";
    t.Instruction = "Choose one answer.";
    t.MoveDirection = mdForwardOnly;
    t.StopEnabled = true;
    t.SpareFlag = true;
    t.TimeLimit = 15;
    t.AuthorName = "Stored Author";
    t.AuthorEmail = "stored@example.org";
    t.Copyright = "(c) 2020";
    t.Created = platform::EncodeDate(2024, 3, 15) + platform::EncodeTime(14, 30, 0);
    t.SpareText = "spare";
    s.Tests.AddTest(t);

    s.Scales.AddScale(Item<TScale>(1, 2, "Other scale"));
    TScale speed = Item<TScale>(4, kFixtureTest, "Speed", 0);
    speed.Description = "Fast answers";
    s.Scales.AddScale(speed);
    s.Scales.AddScale(Item<TScale>(5, kFixtureTest, "Care", 1));

    const auto range = [&](int id, int scale, const char* name, int order, double min, double max,
                           const char* description) {
        TInterpretation in = Item<TInterpretation>(id, scale, name, order);
        in.Minimum = min;
        in.Maximum = max;
        in.Description = description;
        s.Interpretations.AddInterpretation(in);
    };
    range(6, 4, "Slow", 0, 0, 4.5, "Below average");
    range(7, 4, "Quick", 1, 4.5, 10, "");
    range(8, 5, "Careful", 0, -2.5, 1.25, "Two\r\nlines");

    s.Stimuli.AddStimulus(Item<TStimul>(1, 2, "Other question"));
    TStimul first = Item<TStimul>(10, kFixtureTest, "First question", 0);
    first.AnswersLimit = 1;
    first.AnswerRequired = true;
    s.Stimuli.AddStimulus(first);
    TStimul second = Item<TStimul>(11, kFixtureTest, "Second question", 1);
    second.Description = "Pick up to two.";
    second.MultipleAnswers = true;
    second.AnswersLimit = 2;
    s.Stimuli.AddStimulus(second);
    TStimul third = Item<TStimul>(12, kFixtureTest, "Third question", 2);
    third.AnswersLimit = 1;
    s.Stimuli.AddStimulus(third);

    s.Reactions.AddReaction(Item<TReaction>(1, 1, "Other answer"));
    s.Reactions.AddReaction(Item<TReaction>(20, 10, "Yes", 0));
    s.Reactions.AddReaction(Item<TReaction>(21, 10, "No", 1));
    s.Reactions.AddReaction(Item<TReaction>(22, 11, "Often", 0));
    s.Reactions.AddReaction(Item<TReaction>(23, 12, "Never", 0));

    const auto weight = [&](int id, int reaction, int scale, int order, double value) {
        TWeight w = Item<TWeight>(id, reaction, "w" + std::to_string(id), order);
        w.ScaleID = scale;
        w.Value = value;
        s.Weights.AddWeight(w);
    };
    weight(1, 1, 1, 0, 7);
    weight(30, 20, 4, 0, 1.5);
    weight(31, 20, 5, 1, -0.25);
    weight(32, 21, -1, 0, 2);
    weight(33, 22, 4, 0, 3);
    weight(34, 23, 5, 0, 0.1);
    s.SetModified(false);
}

std::unique_ptr<TFileAccess> MakeExchangeProject(const platform::FormatSettings& settings) {
    auto store = std::make_unique<TFileAccess>("project.kvd", settings);
    FillExchangeFixture(*store);
    return store;
}

ScopedVersionStamp::ScopedVersionStamp() : saved_(VersionStampSource()) {
    VersionStampSource().Now = [] { return platform::EncodeDate(2026, 12, 10) + platform::EncodeTime(9, 5, 3); };
    VersionStampSource().Random = [] { return 4242u; };
}

ScopedVersionStamp::~ScopedVersionStamp() { VersionStampSource() = saved_; }
