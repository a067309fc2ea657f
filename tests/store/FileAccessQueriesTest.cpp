#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "platform/RealNumbers.h"
#include "store/FileAccess.h"
#include "tests/store/ReferenceWalks.h"
#include "tests/store/StoreChecks.h"
#include "tests/support/ScopedStoreServices.h"
#include "tests/support/StoreFixtures.h"

namespace {

// Indexes into TFileAccess::AllTables.
enum Table { kGroups, kUsers, kTests, kStimuli, kReactions, kScales, kInterpretations, kWeights };

std::string Text(double v) { return platform::FormatReal(v, platform::FormatSettings::Posix()); }

std::string Join(const TTypeIntegerSingleList& ids, const TTypeShortStringSingleList& names) {
    std::string out;
    for (int i = 0; i < ids.GetCount(); ++i) out += (i ? " " : "") + std::to_string(ids.Get(i));
    out += " |";
    for (int i = 0; i < names.GetCount(); ++i) out += " " + names.Get(i);
    return out;
}

// Runs a list query into fresh lists.
std::string Listed(const std::function<void(TTypeIntegerSingleList*, TTypeShortStringSingleList*)>& list) {
    TTypeIntegerSingleList ids;
    TTypeShortStringSingleList names;
    list(&ids, &names);
    return Join(ids, names);
}

constexpr int kMark = -5;   // no valid index: a query that leaves a cursor alone leaves this

}  // namespace

TEST(StoreQueries, OneFixtureOfTwoTests) {
    struct Moved {
        Table table;
        int cursor;
    };
    struct Case {
        const char* what;
        std::function<std::string(TFileAccess&)> run;
        std::string expected;   // the result, then " ! " and each message shown
        std::vector<Moved> moved;   // every other cursor stays where it was
    };
    using S = TFileAccess;
    const Case cases[] = {
        // Interpretation for a score: both ends count, the first in table order wins.
        {"score 10", [](S& s) { return s.GetInterpretationText(1, false, 10); }, "Low", {{kInterpretations, 0}}},
        {"score 20", [](S& s) { return s.GetInterpretationText(1, false, 20); }, "High", {{kInterpretations, 1}}},
        {"score 20.5", [](S& s) { return s.GetInterpretationText(1, false, 20.5); }, "", {{kInterpretations, 2}}},
        {"score -1", [](S& s) { return s.GetInterpretationText(1, false, -1); }, "", {{kInterpretations, 2}}},
        {"score 0, description", [](S& s) { return s.GetInterpretationText(1, true, 0); }, "Low text",
         {{kInterpretations, 0}}},
        {"score on another scale", [](S& s) { return s.GetInterpretationText(3, false, -5); }, "Mid",
         {{kInterpretations, 2}}},

        // Weight values: 0 from Get, -99999 from Find when there is none.
        {"weight value", [](S& s) { return Text(s.GetWeightValue(1, 1)); }, "2.5", {{kWeights, 0}}},
        {"no weight, get", [](S& s) { return Text(s.GetWeightValue(2, 1)); }, "0", {{kWeights, 4}}},
        {"no weight, find", [](S& s) { return Text(s.FindWeightValue(2, 1)); }, "-99999", {}},
        {"weight value, find", [](S& s) { return Text(s.FindWeightValue(4, 3)); }, "-0.5", {}},
        {"free scales: -99999 counts as none", [](S& s) { return Listed([&](auto i, auto n) { s.ListFreeScales(1, 1, i, n); }); },
         "2 | Energy", {}},
        {"free scales: an unbound weight", [](S& s) { return Listed([&](auto i, auto n) { s.ListFreeScales(1, 2, i, n); }); },
         "1 2 | Mood Energy", {}},
        {"free scales: none", [](S& s) { return Listed([&](auto i, auto n) { s.ListFreeScales(2, 4, i, n); }); }, " |", {}},

        // Lists and counts.
        {"groups", [](S& s) { return Listed([&](auto i, auto n) { s.ListTestGroups(i, n); }); }, "1 | Group", {}},
        {"tests", [](S& s) { return Listed([&](auto i, auto n) { s.ListTests(1, i, n); }); }, "1 2 | First Second", {}},
        {"tests of no group", [](S& s) { return Listed([&](auto i, auto n) { s.ListTests(9, i, n); }); }, " |", {}},
        {"scales", [](S& s) { return Listed([&](auto i, auto n) { s.ListScales(1, i, n, nullptr); }); }, "1 2 | Mood Energy", {}},
        {"interpretations", [](S& s) { return Listed([&](auto i, auto n) { s.ListInterpretations(1, i, n); }); },
         "1 2 | Low High", {}},
        {"stimuli", [](S& s) { return Listed([&](auto i, auto n) { s.ListStimuli(2, i, n); }); }, "3 | Q3", {}},
        {"reactions", [](S& s) { return Listed([&](auto i, auto n) { s.ListReactions(1, i, n); }); }, "1 2 | A1 A2", {}},
        {"weights", [](S& s) { return Listed([&](auto i, auto n) { s.ListWeights(1, i, n); }); }, "1 2 | W1 W2", {}},
        {"test groups count", [](S& s) { return std::to_string(s.TestGroupCount()); }, "1", {}},
        {"tests count", [](S& s) { return std::to_string(s.TestCount(1)); }, "2", {}},
        {"tests count, no group", [](S& s) { return std::to_string(s.TestCount(9)); }, "0", {}},
        {"scales count", [](S& s) { return std::to_string(s.ScaleCount(1)); }, "2", {}},
        {"interpretations count", [](S& s) { return std::to_string(s.InterpretationCount(3)); }, "1", {}},
        {"stimuli count", [](S& s) { return std::to_string(s.StimulusCount(1)); }, "2", {}},
        {"reactions count", [](S& s) { return std::to_string(s.ReactionCount(3)); }, "1", {}},
        {"weights count", [](S& s) { return std::to_string(s.WeightCount(99)); }, "1", {}},
        {"count stimuli", [](S& s) { return std::to_string(s.CountStimuli(1)); }, "2", {{kStimuli, 2}}},

        // Owners.
        {"stimulus of a reaction", [](S& s) { return std::to_string(s.GetStimulusOfReaction(4)); }, "3", {}},
        {"test of a stimulus", [](S& s) { return std::to_string(s.GetTestOfStimulus(3)); }, "2", {}},
        {"reaction of a weight", [](S& s) { return std::to_string(s.GetReactionOfWeight(3)); }, "2", {}},
        {"test of an answer", [](S& s) { return std::to_string(s.GetTestOfReaction(3)); }, "1", {}},
        {"test of a weight", [](S& s) { return std::to_string(s.GetTestOfWeight(4)); }, "2", {}},
        {"test of a weight of a missing answer", [](S& s) { return std::to_string(s.GetTestOfWeight(5)); }, "-1", {}},
        {"test of a missing answer", [](S& s) { return std::to_string(s.GetTestOfReaction(77)); }, "-1", {}},
        {"scale of an interpretation", [](S& s) { return std::to_string(s.GetScaleOfInterpretation(2)); }, "1",
         {{kInterpretations, 1}}},
        {"test of a scale", [](S& s) { return std::to_string(s.GetTestOfScale(3)); }, "2", {{kScales, 2}}},
        {"test of an interpretation", [](S& s) { return std::to_string(s.GetTestOfInterpretation(3)); }, "2",
         {{kInterpretations, 2}, {kScales, 2}}},
        {"test of an interpretation of scale 1", [](S& s) { return std::to_string(s.GetTestOfInterpretation(1)); }, "1",
         {{kInterpretations, 0}, {kScales, 0}}},
        {"test of a missing interpretation", [](S& s) { return std::to_string(s.GetTestOfInterpretation(9)); }, "-1",
         {{kInterpretations, 2}, {kScales, 2}}},

        // Positions, private flags, names.
        {"first stimulus", [](S& s) { return std::to_string(s.GetStimulusID(1, 0)); }, "1", {{kStimuli, 0}}},
        {"second stimulus", [](S& s) { return std::to_string(s.GetStimulusID(1, 1)); }, "2", {{kStimuli, 1}}},
        {"past the stimuli", [](S& s) { return std::to_string(s.GetStimulusID(1, 2)); }, "-99999", {{kStimuli, 2}}},
        {"negative position", [](S& s) { return std::to_string(s.GetStimulusID(1, -1)); }, "-99999", {{kStimuli, 2}}},
        {"first stimulus of test 2", [](S& s) { return std::to_string(s.GetStimulusID(2, 0)); }, "3", {{kStimuli, 2}}},
        {"private", [](S& s) { return std::to_string(s.IsTestPrivate(2)); }, "1", {{kTests, 1}}},
        {"not private", [](S& s) { return std::to_string(s.IsTestPrivate(1)); }, "0", {{kTests, 1}}},
        {"private of no test", [](S& s) { return std::to_string(s.IsTestPrivate(9)); }, "0", {{kTests, 1}}},
        {"check private", [](S& s) { return std::to_string(s.CheckTestPrivate(2)); }, "1", {{kTests, 1}}},
        {"check private of no test", [](S& s) { return std::to_string(s.CheckTestPrivate(9)); },
         "0 ! Text of NO_Test_MSG", {{kTests, 1}}},
        {"test name", [](S& s) { std::string n = "x"; s.GetTestName(1, n); return n; }, "First", {{kTests, 0}}},
        {"name of no test", [](S& s) { std::string n = "x"; s.GetTestName(9, n); return n; }, " ! Text of NO_Test_MSG",
         {{kTests, 1}}},
    };

    ScopedStoreServices services;
    TFileAccess s;
    FillTwoTests(s);
    s.SetModified(false);
    for (const auto& c : cases) {
        for (TObjectTable* t : s.AllTables()) t->SetCursor(kMark);
        services.Shown.clear();
        std::string result = c.run(s);
        for (const auto& m : services.Shown) result += " ! " + m;
        EXPECT_EQ(result, c.expected) << c.what;
        for (std::size_t i = 0; i < s.AllTables().size(); ++i) {
            int expected = kMark;
            for (const auto& m : c.moved)
                if (m.table == static_cast<Table>(i)) expected = m.cursor;
            EXPECT_EQ(s.AllTables()[i]->Cursor(), expected) << c.what << ", " << s.AllTables()[i]->ClassName();
            EXPECT_EQ(s.AllTables()[i]->SavedPositionCount(), 0) << c.what;
        }
    }
    EXPECT_FALSE(s.IsModified());   // asking changes nothing
}

TEST(StoreQueries, ListsAppendSkipNullListsAndCutDescriptions) {
    TFileAccess s;
    FillTwoTests(s);
    TTypeShortStringSingleList names;
    names.Add("before");
    s.ListTests(1, nullptr, &names);
    ASSERT_EQ(names.GetCount(), 3);
    EXPECT_EQ(names.Get(0), "before");
    EXPECT_EQ(names.Get(2), "Second");

    TTypeIntegerSingleList ids;
    s.ListTests(9, &ids, &names);   // nothing there: both lists stay as they are
    EXPECT_EQ(ids.GetCount(), 0);
    EXPECT_EQ(names.GetCount(), 3);

    TTypeShortStringSingleList descriptions;
    s.ListScales(1, nullptr, nullptr, &descriptions);
    ASSERT_EQ(descriptions.GetCount(), 2);
    EXPECT_EQ(descriptions.Get(0), "");
    EXPECT_EQ(descriptions.Get(1), std::string(255, 'd'));
}

TEST(StoreQueries, GettersCopyEveryFieldOrOnlyTheID) {
    TFileAccess s;
    FillTwoTests(s);
    s.SetModified(false);

    TTest t;
    s.GetTest(1, t);
    EXPECT_EQ(t.Source, &s.Tests.At(0));
    TTest expected = s.Tests.At(0);
    expected.Source = t.Source;
    EXPECT_EQ(t, expected);
    EXPECT_EQ(t.SpareText, "spare");
    EXPECT_EQ(t.Order, 4);

    TTest untouched;
    untouched.Name = "kept";
    untouched.Order = 7;
    s.GetTest(9, untouched);
    EXPECT_EQ(untouched.ID, -1);
    EXPECT_EQ(untouched.Name, "kept");
    EXPECT_EQ(untouched.Order, 7);
    EXPECT_EQ(untouched.Source, nullptr);

    TWeight w;
    s.GetWeight(4, w);
    EXPECT_EQ(w.ScaleID, 3);
    EXPECT_EQ(w.Value, -0.5);
    EXPECT_EQ(w.ParentID, 4);
    TInterpretation in;
    s.GetInterpretation(2, in);
    EXPECT_EQ(in.Minimum, 10);
    EXPECT_EQ(in.Maximum, 20);
    TScale sc;
    s.GetScale(2, sc);
    EXPECT_EQ(sc.Description, std::string(300, 'd'));   // a copy-out is not cut
    TStimul st;
    s.GetStimulus(3, st);
    EXPECT_EQ(st.Name, "Q3");
    TReaction r;
    s.GetReaction(4, r);
    EXPECT_EQ(r.ParentID, 3);
    EXPECT_FALSE(s.IsModified());
}

TEST(StoreQueries, UpdateTestKeepsGroupAndOrder) {
    ScopedStoreServices services;
    TFileAccess s;
    FillTwoTests(s);
    s.SetModified(false);

    TTest edited;
    edited.ID = 55;
    edited.ParentID = 9;
    edited.Order = 99;
    edited.Name = "Renamed";
    edited.Instruction = "New instruction";
    edited.MoveDirection = mdFree;
    edited.Private = true;
    edited.AuthorName = "Someone";
    edited.SpareText = "dropped";
    s.UpdateTest(1, edited);

    const TTest& stored = s.Tests.At(0);
    EXPECT_EQ(stored.ID, 1);
    EXPECT_EQ(stored.ParentID, 1);
    EXPECT_EQ(stored.Order, 4);
    EXPECT_EQ(stored.Name, "Renamed");
    EXPECT_EQ(stored.Instruction, "New instruction");
    EXPECT_EQ(stored.MoveDirection, mdFree);
    EXPECT_TRUE(stored.Private);
    EXPECT_EQ(stored.AuthorName, "Someone");
    EXPECT_EQ(stored.SpareText, "");
    EXPECT_TRUE(s.Tests.Modified());
    EXPECT_EQ(s.Tests.Cursor(), 0);

    s.SetModified(false);
    try {
        s.UpdateTest(9, edited);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Text of NO_Test_MSG");
    }
    EXPECT_FALSE(s.IsModified());
    EXPECT_TRUE(services.Shown.empty());   // raised to the caller, not shown
}

TEST(StoreQueries, AQueryBetweenTwoCursorMovesLeavesTheCallersWalk) {
    TFileAccess s;
    FillTwoTests(s);
    // The caller walks the stimuli, the reactions and the weights while asking in between.
    std::vector<int> stimuli, weights;
    s.Stimuli.SavePosition();
    s.Weights.SavePosition();
    ASSERT_TRUE(s.Stimuli.First());
    ASSERT_TRUE(s.Weights.First());
    TStimul scratch;
    TWeight w;
    TTypeIntegerSingleList ids;
    do {
        stimuli.push_back(s.Stimuli.GetID());
        weights.push_back(s.Weights.GetID());
        s.ListStimuli(s.Stimuli.GetParentID(), &ids, nullptr);
        s.GetStimulus(2, scratch);
        s.GetWeight(3, w);
        s.ListFreeScales(1, 1, &ids, nullptr);
        s.FindWeightValue(1, 2);
        s.GetTestOfWeight(s.Weights.GetID());
        s.ListWeights(1, &ids, nullptr);
        s.StimulusCount(1);
        s.Weights.Next();
    } while (s.Stimuli.Next());
    s.Weights.RestorePosition();
    s.Stimuli.RestorePosition();
    EXPECT_EQ(stimuli, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(weights, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(s.Stimuli.Cursor(), 2);   // the cursor each table had before the walk
    EXPECT_EQ(s.Weights.Cursor(), 4);
}

// The queries answer through indexes; on random stores they give what the plain walks give, and
// leave every cursor as the walks leave it.
TEST(StoreQueries, EqualThePlainWalksOnRandomStores) {
    ScopedStoreServices services;
    std::mt19937 rng(77);
    for (int round = 0; round < 300; ++round) {
        TFileAccess a;
        GenerateRandomStore(a, rng);
        TFileAccess b;
        CloneStore(a, b);
        const std::string where = "round " + std::to_string(round);
        for (int q = 0; q < 40; ++q) {
            const std::int32_t id = static_cast<std::int32_t>(rng() % 30) - 1;
            const std::int32_t other = static_cast<std::int32_t>(rng() % 30) - 1;
            const double score = static_cast<double>(static_cast<int>(rng() % 41) - 20) / 2;
            TTypeIntegerSingleList ia, ib;
            TTypeShortStringSingleList na, nb, da, db;
            const unsigned kind = rng() % 16;
            switch (kind) {
                case 0:
                    a.ListTests(id, &ia, &na);
                    reference::ListChildren(b.Tests, id, &ib, &nb);
                    break;
                case 1:
                    a.ListScales(id, &ia, &na, &da);
                    reference::ListChildren(b.Scales, id, &ib, &nb, &db);
                    break;
                case 2:
                    a.ListStimuli(id, &ia, &na);
                    reference::ListChildren(b.Stimuli, id, &ib, &nb);
                    a.ListReactions(other, &ia, &na);
                    reference::ListChildren(b.Reactions, other, &ib, &nb);
                    break;
                case 3:
                    a.ListWeights(id, &ia, &na);
                    reference::ListChildren(b.Weights, id, &ib, &nb);
                    a.ListInterpretations(other, &ia, &na);
                    reference::ListChildren(b.Interpretations, other, &ib, &nb);
                    break;
                case 4:
                    a.ListFreeScales(id, other, &ia, &na);
                    reference::ListFreeScales(b, id, other, &ib, &nb);
                    a.ListTestGroups(&ia, &na);
                    reference::ListTestGroups(b, &ib, &nb);
                    break;
                case 5:
                    ia.Add(a.CountStimuli(id));
                    ib.Add(reference::CountStimuli(b, id));
                    break;
                case 6: {
                    TWeight wa, wb;
                    a.GetWeight(id, wa);
                    reference::Get(b.Weights, id, wb);
                    EXPECT_EQ(wa.ID, wb.ID) << where;
                    if (wa.ID != -1) {
                        EXPECT_EQ(wa, wb) << where;
                    }
                    TTest ta, tb;
                    a.GetTest(id, ta);
                    reference::Get(b.Tests, id, tb);
                    EXPECT_EQ(ta.ID, tb.ID) << where;
                    if (ta.ID != -1) {
                        EXPECT_EQ(ta, tb) << where;
                    }
                    break;
                }
                case 7:
                    ia.Add(a.GetStimulusOfReaction(id));
                    ib.Add(reference::ParentKept(b.Reactions, id));
                    ia.Add(a.GetTestOfWeight(other));
                    ib.Add(reference::ParentKept(
                        b.Stimuli, reference::ParentKept(b.Reactions, reference::ParentKept(b.Weights, other))));
                    break;
                case 8:
                    ia.Add(a.GetTestOfInterpretation(id));
                    ib.Add(reference::ParentMoved(b.Scales, reference::ParentMoved(b.Interpretations, id)));
                    break;
                case 9:
                    ia.Add(a.GetTestOfScale(id));
                    ib.Add(reference::ParentMoved(b.Scales, id));
                    break;
                case 10: {
                    const int n = static_cast<int>(rng() % 5) - 1;
                    ia.Add(a.GetStimulusID(id, n));
                    ib.Add(reference::GetStimulusID(b, id, n));
                    break;
                }
                case 11: {
                    const bool useDescription = rng() % 2 == 0;
                    na.Add(a.GetInterpretationText(id, useDescription, score));
                    nb.Add(reference::GetInterpretationText(b, id, useDescription, score));
                    break;
                }
                case 12:
                    na.Add(platform::FormatReal(a.GetWeightValue(id, other), platform::FormatSettings::Posix()));
                    nb.Add(platform::FormatReal(reference::GetWeightValue(b, id, other), platform::FormatSettings::Posix()));
                    break;
                case 13:
                    na.Add(platform::FormatReal(a.FindWeightValue(id, other), platform::FormatSettings::Posix()));
                    nb.Add(platform::FormatReal(reference::FindWeightValue(b, id, other), platform::FormatSettings::Posix()));
                    break;
                case 14:
                    ia.Add(a.IsTestPrivate(id));
                    ib.Add(reference::IsTestPrivate(b, id));
                    break;
                default: {
                    std::string name = "x";
                    a.GetTestName(id, name);
                    na.Add(name);
                    nb.Add(reference::Locate(b.Tests, id) ? b.Tests.GetName() : "");
                    break;
                }
            }
            EXPECT_EQ(IdsOf(ia), IdsOf(ib)) << where << " query " << kind;
            EXPECT_EQ(Join(ia, na), Join(ib, nb)) << where << " query " << kind;
            EXPECT_EQ(Join(ia, da), Join(ib, db)) << where << " query " << kind;
            ExpectSameState(a, b, where + " query " + std::to_string(kind));
            // The queries build the indexes they need on the way.
            EXPECT_EQ(UntrueCaches(a), "") << where << " query " << kind;
            EXPECT_EQ(UntrueCaches(b), "") << where << " query " << kind;
        }
    }
}
