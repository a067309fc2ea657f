#include "store/FormDatastoreDebug.h"

#include <QFont>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include <string>

#include "platform/UserInteraction.h"
#include "platform/qt/QtText.h"
#include "store/FileAccess.h"

namespace {

void AddLine(QPlainTextEdit& memo, const std::string& line) { memo.appendPlainText(platform::ToQString(line)); }

}  // namespace

TFormDatastoreDebug::TFormDatastoreDebug(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("FormDatastoreDebug");
    setWindowTitle("Datastore Debug");
    setGeometry(402, 67, 1315, 878);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MainMenuDebug = new QMenuBar(this);
    MainMenuDebug->setObjectName("MainMenuDebug");
    MenuItemCommon = MainMenuDebug->addMenu("Common");
    MenuItemCommon->setObjectName("MenuItemCommon");
    MenuItemRefresh = MenuItemCommon->addAction("Refresh");
    MenuItemRefresh->setObjectName("MenuItemRefresh");
    layout->setMenuBar(MainMenuDebug);

    PanelUp = new QSplitter(Qt::Horizontal, this);
    PanelUp->setObjectName("PanelUp");
    PanelUp->setFrameShape(QFrame::Panel);
    PanelUp->setFrameShadow(QFrame::Sunken);
    layout->addWidget(PanelUp);
    // Column by column, the lines each shows before the first fill.
    const struct {
        QPlainTextEdit** Memo;
        const char* Name;
        const char* Initial;
    } columns[] = {
        {&MemoTestGroups, "MemoTestGroups", "TEST GROUPS\n"}, {&MemoTests, "MemoTests", "TESTS\n"},
        {&MemoScales, "MemoScales", "SCALES\n"},             {&MemoInterprs, "MemoInterprs", "INTERPRETATIONS\n"},
        {&MemoStimuls, "MemoStimuls", "STIMULS\n"},          {&MemoReactions, "MemoReactions", "REACTIONS"},
        {&MemoWeights, "MemoWeights", "WEIGHTS\n"},
    };
    QList<int> widths;
    for (const auto& c : columns) {
        auto* memo = new QPlainTextEdit(PanelUp);
        memo->setObjectName(c.Name);
        memo->setReadOnly(true);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        memo->setPlainText(c.Initial);
        *c.Memo = memo;
        widths << 180;
    }
    PanelUp->setSizes(widths);
    PanelUp->setStretchFactor(6, 1);

    connect(MenuItemRefresh, &QAction::triggered, this, [this] {
        // Nothing may escape into the event loop.
        try {
            MenuItemRefreshClick();
        } catch (const std::exception& e) {
            platform::ShowError(e.what());
        }
    });
    ShowDatastore();
}

void TFormDatastoreDebug::ShowDatastore() {
    TFileAccess* store = GlobalStore().get();
    if (!store) {
        platform::ShowMessage(kNoStore);
        return;
    }
    const struct {
        QPlainTextEdit* Memo;
        TObjectTable* Table;
        const char* Title;
    } columns[] = {
        {MemoTestGroups, &store->TestGroups, "TEST GROUPS"},
        {MemoTests, &store->Tests, "TESTS"},
        {MemoScales, &store->Scales, "SCALES"},
        {MemoInterprs, &store->Interpretations, "INTERPRETATIONS"},
        {MemoStimuls, &store->Stimuli, "STIMULS"},
        {MemoReactions, &store->Reactions, "REACTIONS"},
        {MemoWeights, &store->Weights, "WEIGHTS"},
    };
    for (const auto& c : columns) {
        c.Memo->clear();
        AddLine(*c.Memo, c.Title);
        AddLine(*c.Memo, "");
        ShowTable(*c.Memo, *c.Table);
    }
}

void TFormDatastoreDebug::ShowTable(QPlainTextEdit& memo, TObjectTable& table) {
    table.SavePosition();
    for (bool more = table.First(); more; more = table.Next()) {
        AddLine(memo, "ID = " + std::to_string(table.GetID()));
        AddLine(memo, "PARENT_ID = " + std::to_string(table.GetParentID()));
        AddLine(memo, "NAME = " + table.GetName());
        AddLine(memo, "ORDER = " + std::to_string(table.GetOrder()));
        AddLine(memo, "");
    }
    table.RestorePosition();
}
