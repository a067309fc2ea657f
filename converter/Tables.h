#pragma once
#include <cstdint>
#include <string>
#include <typeinfo>

#include "converter/CursorTable.h"

namespace vantrel {

// The tables of the converter's 1.4.2 store. They bear the names of the program's tables but are
// the library's own: the writer sorts them and walks them.
using TRecordTable = TRecordTableOf<NewKind>;

class TObjectTable : public TObjectTableOf<NewKind> {
public:
    virtual const char* ClassName() const = 0;
    // Makes target a copy of this table; a target of another class raises this table's message.
    virtual void Copy(TObjectTable& target) const = 0;
    // By ParentID, then by Order inside each parent, with the ties of the data file's sort.
    void Sort();
    bool IsInOrder() const;

protected:
    [[noreturn]] void RaiseCopyClass() const;
};

template <typename Base, typename R>
class TCopyableTable : public TKindTable<Base, R> {
public:
    void Copy(TObjectTable& target) const override {
        auto* t = dynamic_cast<TCopyableTable*>(&target);
        if (!t || typeid(*t) != typeid(*this)) this->RaiseCopyClass();
        if (t == this) return;
        t->Clear();
        for (int i = 0; i < this->RecordCount(); ++i) t->Add(this->At(i));
    }
};

class TTestGroupTable : public TCopyableTable<TObjectTable, TATestGroup> {
public:
    const char* ClassName() const override { return "TTestGroupTable"; }
};
class TTestTable : public TCopyableTable<TObjectTable, TATest> {
public:
    const char* ClassName() const override { return "TTestTable"; }
};
class TStimulTable : public TCopyableTable<TScreenElement<TObjectTable>, TAStimul> {
public:
    const char* ClassName() const override { return "TStimulTable"; }
};
class TReactionTable : public TCopyableTable<TScreenElement<TObjectTable>, TAReaction> {
public:
    const char* ClassName() const override { return "TReactionTable"; }
};
class TScaleTable : public TCopyableTable<TObjectTable, TAScale> {
public:
    const char* ClassName() const override { return "TScaleTable"; }
};
class TInterpretationTable : public TCopyableTable<TObjectTable, TAInterpretation> {
public:
    const char* ClassName() const override { return "TInterpretationTable"; }
};
class TUserTable : public TCopyableTable<TObjectTable, TAUser> {
public:
    const char* ClassName() const override { return "TUserTable"; }
};
class TWeightTable : public TCopyableTable<TObjectTable, TAWeight> {
public:
    const char* ClassName() const override { return "TWeightTable"; }
};

}  // namespace vantrel
