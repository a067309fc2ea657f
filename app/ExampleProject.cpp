#include "app/ExampleProject.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/FileAccess.h"

namespace {

// 1 January 2024, counted from 30 December 1899.
constexpr double kCreated = 45292;

class TBuilder {
public:
    explicit TBuilder(TFileAccess& store) : s_(store) {}

    std::int32_t Group(const std::string& name, const std::string& description) {
        TTestGroup g;
        Fill(g, s_.TestGroups.NewID(), -1, name, description);
        s_.TestGroups.AddTestGroup(g);
        return g.ID;
    }

    std::int32_t Test(std::int32_t group, TTest t) {
        Fill(t, s_.Tests.NewID(), group, t.Name, t.Description);
        s_.Tests.AddTest(t);
        return t.ID;
    }

    struct TRange {
        const char* Name;
        double Minimum;
        double Maximum;
        const char* Description;
    };
    // A scale with its interpretations, one for each range of scores.
    std::int32_t Scale(std::int32_t test, const std::string& name, const std::string& description,
                       const std::vector<TRange>& ranges) {
        TScale sc;
        Fill(sc, s_.Scales.NewID(), test, name, description);
        s_.Scales.AddScale(sc);
        scaleNames_[sc.ID] = name;
        for (const TRange& range : ranges) {
            TInterpretation in;
            Fill(in, s_.Interpretations.NewID(), sc.ID, range.Name, range.Description);
            in.Minimum = range.Minimum;
            in.Maximum = range.Maximum;
            s_.Interpretations.AddInterpretation(in);
        }
        return sc.ID;
    }

    std::int32_t Question(std::int32_t test, const std::string& name, const std::string& text, bool required,
                          bool multiple = false, std::int32_t limit = 0) {
        TStimul q;
        Fill(q, s_.Stimuli.NewID(), test, name, text);
        q.AnswerRequired = required;
        q.MultipleAnswers = multiple;
        q.AnswersLimit = limit;
        s_.Stimuli.AddStimulus(q);
        return q.ID;
    }

    // An answer with its weight on the scale (none for a weight of 0), named after the scale.
    void Answer(std::int32_t question, const std::string& name, std::int32_t scale, double value) {
        TReaction r;
        Fill(r, s_.Reactions.NewID(), question, name, "");
        s_.Reactions.AddReaction(r);
        if (value == 0) return;
        TWeight w;
        Fill(w, s_.Weights.NewID(), r.ID, scaleNames_[scale], "");
        w.ScaleID = scale;
        w.Value = value;
        s_.Weights.AddWeight(w);
    }

private:
    template <typename R>
    void Fill(R& r, std::int32_t id, std::int32_t parent, const std::string& name, const std::string& description) {
        r.ID = id;
        r.ParentID = parent;
        r.Order = static_cast<std::int32_t>(++order_);
        r.Name = name;
        r.Description = description;
    }

    TFileAccess& s_;
    int order_ = 0;
    std::map<std::int32_t, std::string> scaleNames_;
};

TTest MakeTest(const std::string& name, const std::string& annotation, const std::string& instruction,
               std::uint8_t moveDirection, bool replay) {
    TTest t;
    t.Name = name;
    t.Description = annotation;
    t.Annotation = annotation;
    t.Instruction = instruction;
    t.MoveDirection = moveDirection;
    t.ReplayEnabled = replay;
    t.AuthorName = "Orvel example";
    t.Copyright = "Free to use";
    t.Created = kCreated;
    return t;
}

}  // namespace

void FillExampleProject(TFileAccess& store) {
    TBuilder b(store);
    store.Users.AddUser(1, "admin", "");
    const std::int32_t group = b.Group("Example tests", "Two small tests that show how Orvel runs a test.");

    const std::int32_t habits = b.Test(
        group, MakeTest("Study habits", "How a student plans and keeps up the work.",
                        "Read each statement and choose the answer that fits you best.\r\n"
                        "Every statement needs an answer, and you cannot go back to an earlier one.",
                        mdForwardOnly, false));
    const std::int32_t organisation =
        b.Scale(habits, "Organisation", "Planning the work and starting it in time.",
                {{"Little organisation", 0, 2, "The work is seldom planned ahead."},
                 {"Some organisation", 3, 4, "The work is planned now and then."},
                 {"Good organisation", 5, 6, "The work is planned and started in time."}});
    const std::int32_t motivation = b.Scale(habits, "Motivation", "Enjoying learning and keeping at it.",
                                            {{"Little motivation", 0, 2, "Learning is mostly a duty."},
                                             {"Some motivation", 3, 4, "Learning is enjoyed at times."},
                                             {"Strong motivation", 5, 6, "Learning is enjoyed and kept up."}});
    struct TStatement {
        const char* Name;
        const char* Text;
        std::int32_t Scale;
    };
    for (const TStatement& s : std::vector<TStatement>{
             {"Planning", "I plan my study time for the week.", organisation},
             {"Starting early", "I start an assignment long before it is due.", organisation},
             {"Curiosity", "I enjoy learning new things.", motivation},
             {"Persistence", "I keep going when a topic gets difficult.", motivation}}) {
        const std::int32_t q = b.Question(habits, s.Name, s.Text, true);
        b.Answer(q, "Always", s.Scale, 3);
        b.Answer(q, "Sometimes", s.Scale, 2);
        b.Answer(q, "Never", s.Scale, 0);
    }

    const std::int32_t science = b.Test(
        group, MakeTest("Science interest", "How much a student cares for science.",
                        "Answer the questions in any order: the Go To menu of the window lists them all.\r\n"
                        "You may go back and change an answer. The first question takes up to two answers.",
                        mdFree, true));
    const std::int32_t interest = b.Scale(science, "Interest in science", "Liking science and wanting more of it.",
                                          {{"Little interest", 0, 3, "Science is not a favourite."},
                                           {"Some interest", 4, 6, "Science is liked now and then."},
                                           {"Strong interest", 7, 10, "Science is a real interest."}});
    const std::int32_t subjects =
        b.Question(science, "Subjects", "Which subjects do you like best? Choose up to two.", false, true, 2);
    b.Answer(subjects, "Mathematics", interest, 2);
    b.Answer(subjects, "Biology", interest, 3);
    b.Answer(subjects, "History", interest, 0);
    b.Answer(subjects, "Languages", interest, 0);
    const std::int32_t reading = b.Question(science, "Reading", "How often do you read about science?", true);
    b.Answer(reading, "Every week", interest, 3);
    b.Answer(reading, "Every month", interest, 2);
    b.Answer(reading, "Rarely", interest, 0);
    const std::int32_t laboratory = b.Question(science, "Laboratory", "Would you like to work in a laboratory?", false);
    b.Answer(laboratory, "Yes", interest, 2);
    b.Answer(laboratory, "Maybe", interest, 1);
    b.Answer(laboratory, "No", interest, 0);
}
