#pragma once
#include <memory>
#include <typeinfo>

#include "store/ObjectTable.h"
#include "store/RecordFields.h"

// The table of one kind of record: typed reads, Add and Edit of the whole record, Delete, Copy.
template <typename R>
class TTableOf : public TObjectTable {
public:
    using Record = R;

    TTableOf() : TObjectTable(sizeof(R), alignof(R)) {}

    const R& GetRecordOf() const { return static_cast<const R&>(Current()); }
    const R& At(int i) const { return static_cast<const R&>(RecordAt(i)); }

    bool Delete() override { return DeleteCurrent(); }

    // Appends a record with every field given (short texts cleaned); cursor on the new record.
    void AddRecord(R rec) {
        CleanShortTexts(rec);
        rec.Source = nullptr;
        Append(MakeRecord(std::move(rec)));
    }
    // Overwrites the current record with every field given.
    void EditRecord(R rec) {
        CleanShortTexts(rec);
        rec.Source = nullptr;
        ReplaceCurrent(MakeRecord(std::move(rec)));
    }

    void Copy(TRecordTable& target) const override {
        if (typeid(target) != typeid(*this)) RaiseCopyClass();
        if (&target == this) return;
        auto& t = static_cast<TTableOf<R>&>(target);
        const int saved = cursor_;
        t.Clear();
        for (int i = 0; i < RecordCount(); ++i) t.AddRecord(At(i));
        // Walking this table moves no cursor of ours: restore exactly what was there.
        const_cast<TTableOf<R>*>(this)->cursor_ = saved;
    }
};

class TTestGroupTable : public TTableOf<TTestGroup> {
public:
    const char* ClassName() const override { return "TTestGroupTable"; }
    void AddTestGroup(TTestGroup r) { AddRecord(std::move(r)); }
    void EditTestGroup(TTestGroup r) { EditRecord(std::move(r)); }
};

class TTestTable : public TTableOf<TTest> {
public:
    const char* ClassName() const override { return "TTestTable"; }
    void AddTest(TTest r) { AddRecord(std::move(r)); }
    void EditTest(TTest r) { EditRecord(std::move(r)); }

    std::int32_t GetGroupID() const { return GetParentID(); }
    const std::string& GetAnnotation() const { return GetRecordOf().Annotation; }
    const std::string& GetInstruction() const { return GetRecordOf().Instruction; }
    std::uint8_t GetMoveDirection() const { return GetRecordOf().MoveDirection; }
    bool GetReplayEnabled() const { return GetRecordOf().ReplayEnabled; }
    bool GetStopEnabled() const { return GetRecordOf().StopEnabled; }
    bool GetSpareFlag() const { return GetRecordOf().SpareFlag; }
    std::int32_t GetTimeLimit() const { return GetRecordOf().TimeLimit; }
    const std::string& GetAuthorName() const { return GetRecordOf().AuthorName; }
    const std::string& GetAuthorEmail() const { return GetRecordOf().AuthorEmail; }
    const std::string& GetCopyright() const { return GetRecordOf().Copyright; }
    double GetCreated() const { return GetRecordOf().Created; }
    bool GetPrivate() const { return GetRecordOf().Private; }
    const std::string& GetSpareText() const { return GetRecordOf().SpareText; }
};

// The tables of what a test shows on screen: questions and answers.
template <typename R>
class TScreenElement : public TTableOf<R> {};

class TStimulTable : public TScreenElement<TStimul> {
public:
    const char* ClassName() const override { return "TStimulTable"; }
    void AddStimulus(TStimul r) { AddRecord(std::move(r)); }
    void EditStimulus(TStimul r) { EditRecord(std::move(r)); }

    std::int32_t GetTestID() const { return GetParentID(); }
    bool GetMultipleAnswers() const { return GetRecordOf().MultipleAnswers; }
    std::int32_t GetAnswersLimit() const { return GetRecordOf().AnswersLimit; }
    bool GetAnswerRequired() const { return GetRecordOf().AnswerRequired; }
};

class TReactionTable : public TScreenElement<TReaction> {
public:
    const char* ClassName() const override { return "TReactionTable"; }
    void AddReaction(TReaction r) { AddRecord(std::move(r)); }
    void EditReaction(TReaction r) { EditRecord(std::move(r)); }

    std::int32_t GetStimulusID() const { return GetParentID(); }
};

class TScaleTable : public TTableOf<TScale> {
public:
    const char* ClassName() const override { return "TScaleTable"; }
    void AddScale(TScale r) { AddRecord(std::move(r)); }
    void EditScale(TScale r) { EditRecord(std::move(r)); }

    std::int32_t GetTestID() const { return GetParentID(); }
};

class TInterpretationTable : public TTableOf<TInterpretation> {
public:
    const char* ClassName() const override { return "TInterpretationTable"; }
    void AddInterpretation(TInterpretation r) { AddRecord(std::move(r)); }
    void EditInterpretation(TInterpretation r) { EditRecord(std::move(r)); }

    std::int32_t GetScaleID() const { return GetParentID(); }
    double GetMaximum() const { return GetRecordOf().Maximum; }
    double GetMinimum() const { return GetRecordOf().Minimum; }
};

class TUserTable : public TTableOf<TUser> {
public:
    const char* ClassName() const override { return "TUserTable"; }
    // A user has an ID, a name and a password; parent, order and description stay empty.
    void AddUser(std::int32_t id, const std::string& name, const std::string& password) {
        TUser u;
        u.ID = id;
        u.Name = name;
        u.Password = password;
        AddRecord(std::move(u));
    }
    void AddUser(const TUser& r) { AddUser(r.ID, r.Name, r.Password); }

    const std::string& GetPassword() const { return GetRecordOf().Password; }
};

class TWeightTable : public TTableOf<TWeight> {
public:
    const char* ClassName() const override { return "TWeightTable"; }
    void AddWeight(TWeight r) { AddRecord(std::move(r)); }
    void EditWeight(TWeight r) { EditRecord(std::move(r)); }

    std::int32_t GetScaleID() const { return GetRecordOf().ScaleID; }
    double GetValue() const { return GetRecordOf().Value; }
    std::int32_t GetReactionID() const { return GetParentID(); }
};
