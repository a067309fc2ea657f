#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The records of the eight kinds of item. A record starts with every field 0, empty or False;
// the table that adds it, or the store operation that copies it out, fills it.

struct TAnyRecord {
    TAnyRecord() = default;
    TAnyRecord(const TAnyRecord&) = default;
    TAnyRecord& operator=(const TAnyRecord&) = default;
    virtual ~TAnyRecord() = default;

    // The table record a copy was made from; nullptr in every record a table holds.
    const TAnyRecord* Source = nullptr;
    std::int32_t Order = 0;

    bool operator==(const TAnyRecord& o) const { return Order == o.Order; }
};

struct TAnyObject : TAnyRecord {
    std::int32_t ID = 0;
    std::string Description;     // multi-line, any length
    std::string Name;            // at most 255 bytes
    // Last, so that a record's own first number fills the room after it.
    std::int32_t ParentID = 0;   // -1 for a test group, 0 for a user

    bool operator==(const TAnyObject& o) const {
        return TAnyRecord::operator==(o) && ID == o.ID && ParentID == o.ParentID &&
               Description == o.Description && Name == o.Name;
    }
};

struct TTestGroup : TAnyObject {
    bool operator==(const TTestGroup& o) const = default;
};

enum TMoveDirection : std::uint8_t { mdNone = 0, mdForwardOnly = 1, mdForwardBack = 2, mdFree = 3 };

struct TTest : TAnyObject {
    std::string Annotation;
    std::string Instruction;
    std::uint8_t MoveDirection = mdNone;
    bool ReplayEnabled = false;
    bool StopEnabled = false;
    bool SpareFlag = false;      // anonymous testing allowed
    std::int32_t TimeLimit = 0;
    std::string AuthorName;
    std::string AuthorEmail;
    std::string Copyright;
    double Created = 0;          // days since 30 December 1899
    bool Private = false;
    std::string SpareText;

    std::int32_t GroupID() const { return ParentID; }
    bool operator==(const TTest& o) const = default;
};

struct TStimul : TAnyObject {
    bool MultipleAnswers = false;
    std::int32_t AnswersLimit = 0;
    bool AnswerRequired = false;

    std::int32_t TestID() const { return ParentID; }
    bool operator==(const TStimul& o) const = default;
};

struct TReaction : TAnyObject {
    std::int32_t StimulusID() const { return ParentID; }
    bool operator==(const TReaction& o) const = default;
};

struct TScale : TAnyObject {
    std::int32_t TestID() const { return ParentID; }
    bool operator==(const TScale& o) const = default;
};

struct TInterpretation : TAnyObject {
    double Maximum = 0;
    double Minimum = 0;

    std::int32_t ScaleID() const { return ParentID; }
    bool operator==(const TInterpretation& o) const = default;
};

struct TUser : TAnyObject {
    std::string Password;
    bool operator==(const TUser& o) const = default;
};

struct TWeight : TAnyObject {
    std::int32_t ScaleID = -1;   // -1: bound to no scale
    double Value = 0;

    std::int32_t ReactionID() const { return ParentID; }
    bool operator==(const TWeight& o) const = default;
};

// The words of the data and exchange files.
std::string BoolToText(bool b);
bool TextToBool(std::string_view s);
std::string MoveDirectionToText(int d);
std::uint8_t TextToMoveDirection(std::string_view s);

// Short texts never hold CR or LF (each becomes a blank) and are cut to 255 bytes. The short
// texts of each kind of record are named in store/RecordFields.h.
std::string CleanShortText(std::string_view s);
void CleanShortTextInPlace(std::string& s);
