// Create and change: the property dialog of the selected kind, the store, the mirrored node.
#include <QLineEdit>

#include <cmath>
#include <exception>
#include <memory>
#include <type_traits>

#include "lang/DlgLangConverter.h"
#include "platform/Exception.h"
#include "platform/ShortDates.h"
#include "platform/UserInteraction.h"
#include "platform/WindowMessages.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "store/FileAccess.h"
#include "tree/ControlValues.h"
#include "tree/ObjectsTree.h"
#include "tree/PropertyDialogs.h"

namespace {

// The caption of each dialog, which is also the start of a new object's name.
template <class Form>
constexpr const char* kTitleKey = nullptr;
template <>
constexpr const char* kTitleKey<TTestGroupForm> = lang::MessageKey("OBJECTSTREE_TESTGROUP_TITLE");
template <>
constexpr const char* kTitleKey<TTestForm> = lang::MessageKey("OBJECTSTREE_TEST_TITLE");
template <>
constexpr const char* kTitleKey<TScaleForm> = lang::MessageKey("OBJECTSTREE_SCALE_TITLE");
template <>
constexpr const char* kTitleKey<TInterpretationForm> = lang::MessageKey("OBJECTSTREE_INTERPRETATION_TITLE");
template <>
constexpr const char* kTitleKey<TStimulForm> = lang::MessageKey("OBJECTSTREE_STIMUL_TITLE");
template <>
constexpr const char* kTitleKey<TReactionForm> = lang::MessageKey("OBJECTSTREE_REACTION_TITLE");
template <>
constexpr const char* kTitleKey<TWeightForm> = lang::MessageKey("OBJECTSTREE_WEIGHT_TITLE");

TNodeKind KindOf(const TTestGroup&) { return nkTestGroup; }
TNodeKind KindOf(const TTest&) { return nkTest; }
TNodeKind KindOf(const TScale&) { return nkScale; }
TNodeKind KindOf(const TInterpretation&) { return nkInterpretation; }
TNodeKind KindOf(const TStimul&) { return nkQuestion; }
TNodeKind KindOf(const TReaction&) { return nkAnswer; }
TNodeKind KindOf(const TWeight& w) { return WeightKind(w.ScaleID); }

template <class Form>
std::unique_ptr<Form> MakeForm(QWidget* owner, const platform::FormatSettings& fs, const std::string& title) {
    std::unique_ptr<Form> form;
    if constexpr (std::is_constructible_v<Form, QWidget*, const platform::FormatSettings&>)
        form = std::make_unique<Form>(owner, fs);
    else
        form = std::make_unique<Form>(owner);
    form->setWindowTitle(platform::ToQString(title));
    return form;
}

// Shows the dialog; true only when it was closed with OK.
template <class Form>
bool Confirmed(Form& form) {
    platform::ExecModal(form);
    return form.DialogResult == 1;
}

// ---- a number field that does not convert: its text in the message

std::string Refusal(const char* key, const QString& text) { return TPropertyForm::NumberRefusal(key, text); }
constexpr const char* kNotAnInteger = lang::MessageKey("OBJECTSTREE_NOT_AN_INTEGER");
constexpr const char* kNotANumber = lang::MessageKey("OBJECTSTREE_NOT_A_NUMBER");

std::string NumberError(const TTestForm& f) { return Refusal(kNotAnInteger, f.TimeLimitMaskEdit->text()); }
std::string NumberError(const TStimulForm& f) { return Refusal(kNotAnInteger, f.MaskEditNumReactionsLimit->text()); }
std::string NumberError(const TInterpretationForm& f) {
    const bool minimumConverts = tree::ParseRealText(f.InterpretationMinEdit->text(), f.Settings()).has_value();
    return Refusal(kNotANumber, minimumConverts ? f.InterpretationMaxEdit->text() : f.InterpretationMinEdit->text());
}
std::string NumberError(const TWeightForm& f) { return Refusal(kNotANumber, f.WeightValueEdit->text()); }

// Reads the dialog into the record; a number that does not convert raises, the record unchanged.
template <class Form, class Record>
void Read(const Form& form, Record& rec) {
    if constexpr (std::is_same_v<decltype(form.ReadInto(rec)), bool>) {
        if (!form.ReadInto(rec)) throw Exception(NumberError(form));
    } else {
        form.ReadInto(rec);
    }
}

TNodeData NodeOf(const TAnyObject& rec, TNodeKind kind) {
    TNodeData d;
    d.Id = rec.ID;
    d.Name = CleanShortText(rec.Name);
    d.Kind = kind;
    return d;
}

const auto kNoPreparation = [](auto&&...) {};

// A new child of parent: its ID and preset name, the dialog preset from defaults, and on OK the
// record (after its siblings) and its node. prepare(form) runs before the preset (a list to fill).
// A dialog that is cancelled, or whose numbers do not convert, stores nothing. Returns the new
// node, or nullptr.
template <class Form, class Table, class Prepare>
QTreeWidgetItem* AddWith(QWidget* owner, QTreeWidgetItem* parent, const TFileAccess& store, Table& table,
                         std::int32_t parentID, typename Table::Record defaults, Prepare&& prepare) {
    if (!parent) {
        lang::ShowMessageByKey("OBJECTSTREE_NO_SELECTED_NODE");
        return nullptr;
    }
    try {
        const std::string title = lang::GetMessageText(kTitleKey<Form>);
        defaults.ID = table.NewID();
        defaults.ParentID = parentID;
        defaults.Name = title + " " + std::to_string(defaults.ID);
        auto form = MakeForm<Form>(owner, store.Settings, title);
        prepare(*form);
        form->Preset(defaults);
        if (!Confirmed(*form)) return nullptr;

        typename Table::Record rec = defaults;
        Read(*form, rec);
        rec.Order = table.MaxOrder(parentID) + 1;
        table.AddRecord(rec);
        table.Sort();
        QTreeWidgetItem* node = AddObjectNode(nullptr, parent, NodeOf(rec, KindOf(rec)));
        parent->setExpanded(true);
        return node;
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
        return nullptr;
    }
}

// The dialog of the stored object id, and on OK the edited record (ID, parent and Order kept),
// written by write(record) and mirrored in the node's caption. prepare(form, stored) runs before
// the preset.
template <class Form, class Table, class Prepare, class Write>
void ChangeWith(TObjectsTree& tree, QTreeWidgetItem* node, const TFileAccess& store, Table& table, std::int32_t id,
                Prepare&& prepare, Write&& write) {
    if (!node) {
        lang::ShowMessageByKey("OBJECTSTREE_NO_SELECTED_NODE");
        return;
    }
    try {
        if (!table.Locate(id)) throw Exception(lang::GetMessageText("OBJECTSTREE_NO_RECORD_MSG"));
        const typename Table::Record stored = table.GetRecordOf();
        auto form = MakeForm<Form>(&tree, store.Settings, lang::GetMessageText(kTitleKey<Form>));
        prepare(*form, stored);
        form->Preset(stored);
        if (!Confirmed(*form)) return;

        typename Table::Record rec = stored;
        Read(*form, rec);
        write(rec);
        tree.SetNodeName(node, CleanShortText(rec.Name));
        node->setExpanded(true);
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

// Writes the record over the stored one with its ID.
template <class Table>
auto EditIn(Table& table) {
    return [&table](const typename Table::Record& rec) {
        if (!table.Locate(rec.ID)) throw Exception(lang::GetMessageText("OBJECTSTREE_NO_RECORD_MSG"));
        table.EditRecord(rec);
    };
}

// The scales of the answer's test on which the answer has no weight yet, in table order.
struct TFreeScales {
    TTypeIntegerSingleList Ids;
    TTypeShortStringSingleList Names;

    TFreeScales(TFileAccess& s, std::int32_t answer) {
        s.ListFreeScales(s.GetTestOfReaction(answer), answer, &Ids, &Names);
    }
    void AddTo(TWeightForm& form) const {
        for (int i = 0; i < Ids.GetCount(); ++i) form.AddScaleItem(Ids.Get(i), Names.Get(i));
    }
};

}  // namespace

// ---- dispatchers

void TObjectsTree::CreateObject() {
    QTreeWidgetItem* node = SelectedNode();
    if (Store()) {
        // The new node stands after the children already stored, which are built first.
        EnsureChildren(node);
        // What a kind creates below it, by the stored object of the created kind.
        switch (NodeKindInfo(NodeKindInfo(GetNodeKind(node)).Creates).Object) {
            case TStoredType::TestGroup: AddTestGroup(node); break;
            case TStoredType::Test: AddTest(node); break;
            case TStoredType::Scale: AddScale(node); break;
            case TStoredType::Interpretation: AddInterpretation(node); break;
            case TStoredType::Stimulus: AddStimulus(node); break;
            case TStoredType::Reaction: AddReaction(node); break;
            case TStoredType::Weight: AddWeight(node); break;
            case TStoredType::None: break;
        }
    }
    ClearClipboard();
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
    RefreshWeightKinds();
}

void TObjectsTree::ChangeObject() {
    QTreeWidgetItem* node = SelectedNode();
    TFileAccess* s = Store();
    if (!node || !s) return;
    const std::int32_t test = SelectedTestID();
    if (test > 0 && s->CheckTestPrivate(test)) {
        platform::ShowMessage(lang::GetMessageText("OBJECTSTREE_IS_PRIVATE_TEST"));
        return;
    }
    const std::int32_t id = GetNodeID(node);
    switch (NodeKindInfo(GetNodeKind(node)).Object) {
        case TStoredType::TestGroup: ChangeTestGroup(id, node); break;
        case TStoredType::Test: ChangeTest(id, node); break;
        case TStoredType::Scale: ChangeScale(id, node); break;
        case TStoredType::Interpretation: ChangeInterpretation(id, node); break;
        case TStoredType::Weight: ChangeWeight(id, node); break;
        case TStoredType::Stimulus: ChangeStimulus(id, node); break;
        case TStoredType::Reaction: ChangeReaction(id, node); break;
        case TStoredType::None: break;
    }
    ClearClipboard();
    node->setExpanded(true);
    Notify(wm::cnTreeChanged, static_cast<std::int32_t>(handle_));
    RefreshWeightKinds();
}

// ---- add members

void TObjectsTree::AddTestGroup(QTreeWidgetItem* parent) {
    TFileAccess& s = *Store();
    AddWith<TTestGroupForm>(this, parent, s, s.TestGroups, -1, TTestGroup{}, kNoPreparation);
}

void TObjectsTree::AddTest(QTreeWidgetItem* parent) {
    TFileAccess& s = *Store();
    TTest defaults;
    defaults.MoveDirection = mdForwardOnly;
    // The data file keeps the day only: a time of day preset here would be gone after a save.
    defaults.Created = std::floor(platform::NowDateTime());
    QTreeWidgetItem* node = AddWith<TTestForm>(this, parent, s, s.Tests, GetNodeID(parent), defaults, kNoPreparation);
    if (!node) return;
    // A new test shows its two empty folders.
    FillScales(node, true);
    FillStimuli(node, true);
    ExpandAll(node);
}

void TObjectsTree::AddScale(QTreeWidgetItem* parent) {
    TFileAccess& s = *Store();
    AddWith<TScaleForm>(this, parent, s, s.Scales, GetNodeID(parent), TScale{}, kNoPreparation);
}

void TObjectsTree::AddInterpretation(QTreeWidgetItem* parent) {
    TFileAccess& s = *Store();
    AddWith<TInterpretationForm>(this, parent, s, s.Interpretations, GetNodeID(parent), TInterpretation{},
                                 kNoPreparation);
}

void TObjectsTree::AddStimulus(QTreeWidgetItem* parent) {
    TFileAccess& s = *Store();
    TStimul defaults;
    defaults.MultipleAnswers = false;
    defaults.AnswersLimit = 1;
    defaults.AnswerRequired = true;
    AddWith<TStimulForm>(this, parent, s, s.Stimuli, GetNodeID(parent), defaults, kNoPreparation);
}

void TObjectsTree::AddReaction(QTreeWidgetItem* parent) {
    TFileAccess& s = *Store();
    AddWith<TReactionForm>(this, parent, s, s.Reactions, GetNodeID(parent), TReaction{}, kNoPreparation);
}

void TObjectsTree::AddWeight(QTreeWidgetItem* parent) {
    if (!parent) {
        lang::ShowMessageByKey("OBJECTSTREE_NO_SELECTED_NODE");
        return;
    }
    TFileAccess& s = *Store();
    const std::int32_t answer = GetNodeID(parent);
    std::unique_ptr<TFreeScales> free;
    try {
        free = std::make_unique<TFreeScales>(s, answer);
        if (free->Ids.GetCount() == 0) throw Exception(lang::GetMessageText("OBJECTSTREE_NO_SCALES_FOR_WEIGHTS"));
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
        return;
    }
    TWeight defaults;
    defaults.ScaleID = free->Ids.Get(0);   // the first free scale is chosen
    AddWith<TWeightForm>(this, parent, s, s.Weights, answer, defaults, [&](TWeightForm& f) { free->AddTo(f); });
}

// ---- change members

void TObjectsTree::ChangeTestGroup(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TTestGroupForm>(*this, node, s, s.TestGroups, id, kNoPreparation, EditIn(s.TestGroups));
}

void TObjectsTree::ChangeTest(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TTestForm>(*this, node, s, s.Tests, id, kNoPreparation, [&s](TTest t) {
        // A private test never gets here; its group, Order and spare flag stay as stored.
        t.Private = false;
        s.UpdateTest(t.ID, t);
    });
}

void TObjectsTree::ChangeScale(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TScaleForm>(*this, node, s, s.Scales, id, kNoPreparation, EditIn(s.Scales));
}

void TObjectsTree::ChangeInterpretation(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TInterpretationForm>(*this, node, s, s.Interpretations, id, kNoPreparation, EditIn(s.Interpretations));
}

void TObjectsTree::ChangeWeight(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TWeightForm>(
        *this, node, s, s.Weights, id,
        [&s](TWeightForm& f, const TWeight& w) {
            // Its own scale first, then those of its test that its answer has no weight on. An
            // unbound weight gets no choice made, and stays unbound unless the user picks one.
            if (w.ScaleID != -1) {
                TScale own;
                s.GetScale(w.ScaleID, own);
                if (own.ID != -1) f.AddScaleItem(own.ID, own.Name);
            }
            TFreeScales(s, w.ReactionID()).AddTo(f);
        },
        EditIn(s.Weights));
}

void TObjectsTree::ChangeStimulus(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TStimulForm>(*this, node, s, s.Stimuli, id, kNoPreparation, EditIn(s.Stimuli));
}

void TObjectsTree::ChangeReaction(std::int32_t id, QTreeWidgetItem* node) {
    TFileAccess& s = *Store();
    ChangeWith<TReactionForm>(*this, node, s, s.Reactions, id, kNoPreparation, EditIn(s.Reactions));
}
