#include "tests/tree/ObjectsTreeTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QTreeWidget>

#include "lang/DlgLangConverter.h"
#include "platform/WindowMessages.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeDump.h"

namespace {

template <class R>
R Item(std::int32_t id, std::int32_t parent, std::int32_t order, const std::string& name) {
    R r;
    r.ID = id;
    r.ParentID = parent;
    r.Order = order;
    r.Name = name;
    r.Description = "About " + name + "\r\nsecond line";
    return r;
}

QTreeWidgetItem* Find(QTreeWidgetItem* node, TNodeKind kind, std::int32_t id) {
    if (GetNodeKind(node) == kind && GetNodeID(node) == id) return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QTreeWidgetItem* found = Find(node->child(i), kind, id)) return found;
    return nullptr;
}

void Replace(std::string& text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

void FillTreeFixture(TFileAccess& s) {
    // Orders differ from IDs: the tree follows the sorted tables.
    s.TestGroups.AddTestGroup(Item<TTestGroup>(1, -1, 1, "Personality"));
    s.TestGroups.AddTestGroup(Item<TTestGroup>(2, -1, 2, "Empty group"));
    s.TestGroups.AddTestGroup(Item<TTestGroup>(4, -1, 0, "Skills"));

    TTest bigFive = Item<TTest>(1, 1, 0, "Big Five");
    bigFive.MoveDirection = mdForwardBack;
    bigFive.Annotation = "Five factors";
    bigFive.Instruction = "Answer quickly\r\nand honestly";
    bigFive.ReplayEnabled = true;
    bigFive.TimeLimit = 30;
    bigFive.AuthorName = "A. Author";
    bigFive.AuthorEmail = "author@example.org";
    bigFive.Copyright = "(c) 2024";
    bigFive.Created = 45000.75;
    s.Tests.AddTest(bigFive);
    TTest privateTest = Item<TTest>(5, 1, 1, "Private test");
    privateTest.MoveDirection = mdFree;
    privateTest.Private = true;
    s.Tests.AddTest(privateTest);
    TTest typing = Item<TTest>(2, 4, 0, "Typing");
    typing.MoveDirection = mdForwardOnly;
    s.Tests.AddTest(typing);

    s.Scales.AddScale(Item<TScale>(1, 1, 0, "Extraversion"));
    s.Scales.AddScale(Item<TScale>(3, 1, 1, "Neuroticism"));
    s.Scales.AddScale(Item<TScale>(4, 5, 0, "Secret"));

    TInterpretation low = Item<TInterpretation>(1, 1, 0, "Low");
    low.Minimum = 0;
    low.Maximum = 4.5;
    s.Interpretations.AddInterpretation(low);
    TInterpretation high = Item<TInterpretation>(2, 1, 1, "High");
    high.Minimum = 5;
    high.Maximum = 10;
    s.Interpretations.AddInterpretation(high);

    TStimul parties = Item<TStimul>(1, 1, 0, "Parties");
    parties.MultipleAnswers = true;
    parties.AnswersLimit = 2;
    parties.AnswerRequired = true;
    s.Stimuli.AddStimulus(parties);
    TStimul calm = Item<TStimul>(2, 1, 1, "Calm");
    calm.AnswersLimit = 1;
    s.Stimuli.AddStimulus(calm);
    s.Stimuli.AddStimulus(Item<TStimul>(3, 5, 0, "Hidden"));

    s.Reactions.AddReaction(Item<TReaction>(1, 1, 0, "Yes"));
    s.Reactions.AddReaction(Item<TReaction>(2, 1, 1, "No"));
    s.Reactions.AddReaction(Item<TReaction>(3, 3, 0, "Maybe"));

    const auto weight = [&](std::int32_t id, std::int32_t answer, std::int32_t order, const std::string& name,
                            std::int32_t scale, double value) {
        TWeight w = Item<TWeight>(id, answer, order, name);
        w.ScaleID = scale;
        w.Value = value;
        s.Weights.AddWeight(w);
    };
    weight(1, 1, 0, "Yes on Extraversion", 1, 2);
    weight(2, 1, 1, "Unbound", -1, 0.5);
    weight(3, 2, 0, "No on Neuroticism", 3, -1.25);
    weight(4, 3, 0, "Maybe on Secret", 4, 1);

    for (TObjectTable* t : s.AllTables()) t->Sort();
    s.SetModified(false);
}

std::unique_ptr<TFileAccess> MakeFixtureStore() {
    auto s = std::make_unique<TFileAccess>();
    FillTreeFixture(*s);
    return s;
}

std::string FixtureDump() {
    std::string dump =
        "nkRoot -1 $ROOT\n"
        "  nkTestsRoot -1 $TESTS\n"
        "    nkTestGroup 4 Skills\n"
        "      nkTest 2 Typing\n"
        "        nkScalesFolder 2 $SCALES\n"
        "        nkQuestionsFolder 2 $QUESTIONS\n"
        "    nkTestGroup 1 Personality\n"
        "      nkTest 1 Big Five\n"
        "        nkScalesFolder 1 $SCALES\n"
        "          nkScale 1 Extraversion\n"
        "            nkInterpretation 1 Low\n"
        "            nkInterpretation 2 High\n"
        "          nkScale 3 Neuroticism\n"
        "        nkQuestionsFolder 1 $QUESTIONS\n"
        "          nkQuestion 1 Parties\n"
        "            nkAnswer 1 Yes\n"
        "              nkWeight 1 Yes on Extraversion\n"
        "              nkWeightNoScale 2 Unbound\n"
        "            nkAnswer 2 No\n"
        "              nkWeight 3 No on Neuroticism\n"
        "          nkQuestion 2 Calm\n"
        "      nkTest 5 Private test\n"
        "        nkScalesFolder 5 $SCALES\n"
        "          nkScale 4 Secret\n"
        "        nkQuestionsFolder 5 $QUESTIONS\n"
        "          nkQuestion 3 Hidden\n"
        "            nkAnswer 3 Maybe\n"
        "              nkWeight 4 Maybe on Secret\n"
        "    nkTestGroup 2 Empty group\n";
    Replace(dump, "$ROOT", lang::GetMessageText("OBJECTSTREE_MAIN_NODE_TITLE"));
    Replace(dump, "$TESTS", lang::GetMessageText("OBJECTSTREE_TESTS_MAIN_NODE_TITLE"));
    Replace(dump, "$SCALES", lang::GetMessageText("OBJECTSTREE_SCALES_MAIN_NODE_TITLE"));
    Replace(dump, "$QUESTIONS", lang::GetMessageText("OBJECTSTREE_STIMULS_MAIN_NODE_TITLE"));
    return dump;
}

MainWindowProbe::MainWindowProbe()
    : handle_(platform::MessageHub().Register([this](const platform::TWindowMessage& m) { Messages.push_back(m); })) {}

MainWindowProbe::~MainWindowProbe() { platform::MessageHub().Unregister(handle_); }

std::vector<std::uint32_t> MainWindowProbe::Codes() const {
    std::vector<std::uint32_t> codes;
    for (const auto& m : Messages)
        if (m.Msg == wm::WM_CHILDNOTIFY) codes.push_back(m.WParam & 0xFFFFu);
    return codes;
}

namespace {

// The first node not built yet whose records hold the one sought.
QTreeWidgetItem* PendingHolder(QTreeWidgetItem* node, TNodeKind kind, std::int32_t id) {
    if (TObjectsTree::WalkPending(node, [&](const TObjectsTree::TPendingRecord& r) { return r.Kind == kind && r.Id == id; }))
        return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QTreeWidgetItem* found = PendingHolder(node->child(i), kind, id)) return found;
    return nullptr;
}

}  // namespace

QTreeWidgetItem* FindNode(const QTreeWidget& tree, TNodeKind kind, std::int32_t id) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (QTreeWidgetItem* found = Find(tree.topLevelItem(i), kind, id)) return found;
    // A node not built yet is built, and with it only the part of the tree that holds it.
    auto* objects = const_cast<TObjectsTree*>(qobject_cast<const TObjectsTree*>(&tree));
    for (int i = 0; objects && i < tree.topLevelItemCount(); ++i)
        if (QTreeWidgetItem* holder = PendingHolder(tree.topLevelItem(i), kind, id))
            return objects->BuildPathTo(holder, kind, id);
    return nullptr;
}

std::string RebuiltDump() {
    TObjectsTree fresh(nullptr, platform::kNoWindow);
    fresh.Rebuild();
    return DumpTree(fresh);
}

std::string UnmarkedDump(const QTreeWidget& tree) {
    std::string dump = DumpTree(tree);
    Replace(dump, " [cut]\n", "\n");
    Replace(dump, " [copy]\n", "\n");
    return dump;
}

int ViewRowCount(const QTreeWidget& tree) {
    int rows = 0;
    for (QModelIndex i = tree.model()->index(0, 0); i.isValid(); i = tree.indexBelow(i)) ++rows;
    return rows;
}

namespace {

int RowsOf(const QTreeWidgetItem* node) {
    int rows = 1;
    if (node->isExpanded())
        for (int i = 0; i < node->childCount(); ++i) rows += RowsOf(node->child(i));
    return rows;
}

}  // namespace

int ExpectedRowCount(const QTreeWidget& tree) {
    int rows = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) rows += RowsOf(tree.topLevelItem(i));
    return rows;
}

bool WithinViewport(const QTreeWidget& tree, const QTreeWidgetItem* node) {
    if (!node) return false;
    // Rows are as wide as the column; what counts is whether the row is scrolled into view.
    const QRect row = tree.visualItemRect(node);
    return row.isValid() && row.top() >= 0 && row.bottom() < tree.viewport()->height();
}

void LastToStart(TFormArrangeItems& f) {
    f.CheckListBoxArrangeItems->item(f.CheckListBoxArrangeItems->count() - 1)->setCheckState(Qt::Checked);
    f.BitBtnUpToStart->click();
}

AnswerQuestions::AnswerQuestions(std::uint8_t answer)
    : saved_(TMessageDialog::SetResponder([this, answer](const TMessageDialog& box) {
          Asked.push_back({box.Title, box.Caption, box.DialogType});
          return answer;
      })) {}

AnswerQuestions::~AnswerQuestions() { TMessageDialog::SetResponder(std::move(saved_)); }

std::string DumpAfterSaveAndLoad(const std::string& fileName) {
    TFileAccess& open = *GlobalStore();
    const std::string keptName = open.FileName;
    open.FileName = fileName;
    const bool saved = open.SaveAll();
    open.FileName = keptName;
    if (!saved) return "save failed: " + open.LastError;
    auto loaded = std::make_unique<TFileAccess>(fileName, open.Settings);
    if (!loaded->LoadAll()) return "load failed: " + loaded->LastError;
    ScopedGlobalStore reopened(std::move(loaded));
    return RebuiltDump();
}

FixtureTreeTest::FixtureTreeTest() : store_(MakeFixtureStore()), tree_(nullptr, main_.Handle()) {
    tree_.SetStatusLabel(&status_);
    tree_.Rebuild();
}

QTreeWidgetItem* FixtureTreeTest::Select(TNodeKind kind, std::int32_t id) {
    QTreeWidgetItem* node = FindNode(tree_, kind, id);
    if (!node) ADD_FAILURE() << "no node " << NodeKindName(kind) << " " << id;
    tree_.setCurrentItem(node);
    main_.Messages.clear();
    return node;
}

void FixtureTreeTest::ExpectMirrorsTheStore(const std::string& step) {
    EXPECT_EQ(UnmarkedDump(tree_), RebuiltDump()) << step;
    EXPECT_EQ(UnmarkedDump(tree_), DumpAfterSaveAndLoad(dir_.File("project.kvd"))) << step;
}

std::string FixtureTreeTest::T(const char* key) { return lang::GetMessageText(key); }

bool FixtureTreeTest::ShowTree() {
    tree_.show();
    return QTest::qWaitForWindowExposed(&tree_);
}

void FixtureTreeTest::ExpandAllInRows(int rows) {
    tree_.ExpandAll(tree_.RootNode());
    const int rowHeight = tree_.visualItemRect(tree_.RootNode()).height();
    tree_.resize(300, rows * rowHeight + 2 * tree_.frameWidth());
    QApplication::processEvents();
}
