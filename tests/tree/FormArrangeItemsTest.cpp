#include "tree/FormArrangeItems.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "lang/HelpHook.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"
#include "store/Records.h"
#include "tests/tree/DialogTestSupport.h"

namespace {

// Objects named by one letter each, in the order given, and the caller's list of them.
class Siblings {
public:
    explicit Siblings(const std::string& names) {
        for (char c : names) {
            auto object = std::make_unique<TAnyObject>();
            object->ID = static_cast<std::int32_t>(objects_.size()) + 1;
            object->Name = std::string(1, c);
            List.Add(object.get());
            objects_.push_back(std::move(object));
        }
    }
    TTypeTAnyObjectSingleList List;
    // The names in the list's order.
    std::string Order() const {
        std::string s;
        for (int i = 0; i < List.GetCount(); ++i) s += List.Get(i)->Name;
        return s;
    }

private:
    std::vector<std::unique_ptr<TAnyObject>> objects_;
};

// The lines, each checked one followed by "*".
std::string Lines(const TFormArrangeItems& f) {
    std::string s;
    for (int i = 0; i < f.CheckListBoxArrangeItems->count(); ++i) {
        const QListWidgetItem* line = f.CheckListBoxArrangeItems->item(i);
        s += platform::FromQString(line->text());
        if (line->checkState() == Qt::Checked) s += '*';
    }
    return s;
}

void Check(TFormArrangeItems& f, const std::string& letters) {
    for (int i = 0; i < f.CheckListBoxArrangeItems->count(); ++i) {
        QListWidgetItem* line = f.CheckListBoxArrangeItems->item(i);
        const bool on = letters.find(platform::FromQString(line->text()).at(0)) != std::string::npos;
        line->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

enum class Command { ToStart, UpOne, DownOne, ToEnd, SelectAll, DeselectAll };

const char* Name(Command c) {
    switch (c) {
        case Command::ToStart: return "to start";
        case Command::UpOne: return "up one step";
        case Command::DownOne: return "down one step";
        case Command::ToEnd: return "to end";
        case Command::SelectAll: return "select all";
        case Command::DeselectAll: return "deselect all";
    }
    return "";
}

QPushButton* ButtonOf(const TFormArrangeItems& f, Command c) {
    switch (c) {
        case Command::ToStart: return f.BitBtnUpToStart;
        case Command::UpOne: return f.BitBtnUpOneStep;
        case Command::DownOne: return f.BitBtnDownOneStep;
        case Command::ToEnd: return f.BitBtnDownToEnd;
        case Command::SelectAll: return f.BitBtnSelectAllItems;
        case Command::DeselectAll: return f.BitBtnDeSelectAllItems;
    }
    return nullptr;
}

QAction* PopupItemOf(const TFormArrangeItems& f, Command c) {
    switch (c) {
        case Command::ToStart: return f.PopupItemUpToStart;
        case Command::UpOne: return f.PopupItemUpOneStep;
        case Command::DownOne: return f.PopupItemDownOneStep;
        case Command::ToEnd: return f.PopupItemDownToEnd;
        case Command::SelectAll: return f.PopupItemSelectAllItems;
        case Command::DeselectAll: return f.PopupItemDeSelectAllItems;
    }
    return nullptr;
}

struct CommandCase {
    const char* Items;
    const char* Checked;
    Command Run;
    const char* Lines;   // afterwards; "*" behind a checked line
    bool EnablesOk;
};

// Each move is made on the lines and on the caller's list alike.
const CommandCase kCommandCases[] = {
    {"ABCD", "BD", Command::ToStart, "BDAC", true},
    {"ABCD", "BD", Command::ToEnd, "ACBD", true},
    {"ABCD", "BD", Command::UpOne, "BADC", true},
    {"ABCD", "BD", Command::DownOne, "ACBD", true},
    {"ABC", "AB", Command::UpOne, "ABC", true},
    {"ABC", "BC", Command::DownOne, "ABC", true},
    {"ABCD", "BC", Command::UpOne, "BCAD", true},
    {"ABCD", "BC", Command::DownOne, "ADBC", true},
    // The checked lines keep their order; one that never had to move stays checked.
    {"ABC", "A", Command::ToStart, "A*BC", true},
    {"ABC", "AC", Command::ToStart, "ACB", true},
    {"ABC", "C", Command::ToEnd, "ABC*", true},
    {"ABC", "AC", Command::ToEnd, "BAC", true},
    {"ABCD", "ABCD", Command::ToStart, "ABCD", true},
    {"ABCD", "ABCD", Command::ToEnd, "ABCD", true},
    {"ABCD", "AD", Command::ToStart, "ADBC", true},
    // Nothing checked: nothing moves, and OK is enabled all the same.
    {"ABC", "", Command::UpOne, "ABC", true},
    {"ABC", "", Command::ToEnd, "ABC", true},
    // A single line: no command does anything.
    {"A", "A", Command::ToStart, "A*", false},
    {"A", "A", Command::UpOne, "A*", false},
    {"A", "A", Command::DownOne, "A*", false},
    {"A", "A", Command::ToEnd, "A*", false},
    {"", "", Command::UpOne, "", false},
    // Checking all or none moves nothing and enables nothing.
    {"ABC", "B", Command::SelectAll, "A*B*C*", false},
    {"ABC", "AC", Command::DeselectAll, "ABC", false},
};

std::string Unmarked(const std::string& lines) {
    std::string s;
    for (char c : lines)
        if (c != '*') s += c;
    return s;
}

}  // namespace

TEST(FormArrangeItems, ComesUpWithTheNamesUncheckedAndOkDisabled) {
    Siblings s("CAB");
    TFormArrangeItems f(nullptr, &s.List);
    EXPECT_EQ(f.objectName(), "FormArrangeItems");
    EXPECT_TRUE(f.Cancelled);
    EXPECT_EQ(f.ObjectList, &s.List);
    EXPECT_FALSE(f.BitBtnOK->isEnabled());
    EXPECT_TRUE(f.BitBtnCancel->isEnabled());
    EXPECT_TRUE(f.ButtonDebug->isHidden());
    EXPECT_EQ(Lines(f), "CAB");
    for (int i = 0; i < f.CheckListBoxArrangeItems->count(); ++i)
        EXPECT_TRUE(f.CheckListBoxArrangeItems->item(i)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(f.PopupMenuArrangeItems->actions().size(), 7);
    EXPECT_TRUE(f.PopupMenuArrangeItems->actions().at(4)->isSeparator());
    EXPECT_GE(f.width(), 482);
    EXPECT_GE(f.height(), 418);
}

TEST(FormArrangeItems, ShowsTheNamesInTheCodePage) {
    Utf8CodePage utf8;
    TAnyObject object;
    object.Name = "\xC3\x89tude";
    TTypeTAnyObjectSingleList list;
    list.Add(&object);
    TFormArrangeItems f(nullptr, &list);
    EXPECT_EQ(f.CheckListBoxArrangeItems->item(0)->text(), QString::fromUtf8("\xC3\x89tude"));
}

TEST(FormArrangeItems, EachCommandByButtonAndByPopupItem) {
    for (const CommandCase& c : kCommandCases) {
        for (const bool byPopup : {false, true}) {
            SCOPED_TRACE(std::string(Name(c.Run)) + " on " + c.Items + " with " + c.Checked +
                         (byPopup ? " (popup)" : " (button)"));
            Siblings s(c.Items);
            TFormArrangeItems f(nullptr, &s.List);
            Check(f, c.Checked);
            if (byPopup) PopupItemOf(f, c.Run)->trigger();
            else ButtonOf(f, c.Run)->click();
            EXPECT_EQ(Lines(f), c.Lines);
            EXPECT_EQ(s.Order(), Unmarked(c.Lines)) << "line I shows object I";
            EXPECT_EQ(f.BitBtnOK->isEnabled(), c.EnablesOk);
            EXPECT_TRUE(f.Cancelled);
        }
    }
}

TEST(FormArrangeItems, MovesAddUp) {
    Siblings s("ABCDE");
    TFormArrangeItems f(nullptr, &s.List);
    Check(f, "E");
    f.BitBtnUpToStartClick();
    Check(f, "C");
    f.BitBtnDownOneStepClick();
    Check(f, "BE");
    f.BitBtnUpOneStepClick();
    EXPECT_EQ(Lines(f), "EBADC");
    EXPECT_EQ(s.Order(), "EBADC");
    // The debug button shows the caller's list again.
    f.CheckListBoxArrangeItems->clear();
    f.ButtonDebug->click();
    EXPECT_EQ(Lines(f), "EBADC");
}

TEST(FormArrangeItems, OkClearsCancelledAndEveryOtherEndKeepsIt) {
    struct Case {
        const char* What;
        std::function<void(TFormArrangeItems&)> Close;
        bool Cancelled;
        int Result;
    };
    const Case cases[] = {
        {"OK", [](TFormArrangeItems& f) { f.BitBtnOK->click(); }, false, QDialog::Accepted},
        {"Cancel", [](TFormArrangeItems& f) { f.BitBtnCancel->click(); }, true, QDialog::Rejected},
        {"Escape", [](TFormArrangeItems& f) { QTest::keyClick(f.CheckListBoxArrangeItems, Qt::Key_Escape); }, true,
         QDialog::Rejected},
        {"the title bar", [](TFormArrangeItems& f) { f.close(); }, true, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Siblings s("AB");
        TFormArrangeItems f(nullptr, &s.List);
        const int result = RunModal(f, [&] {
            Check(f, "B");
            f.BitBtnUpOneStep->click();
            c.Close(f);
        });
        EXPECT_EQ(f.Cancelled, c.Cancelled);
        EXPECT_EQ(result, c.Result);
        // A move made before a cancel stays in the list; the caller ignores it then.
        EXPECT_EQ(s.Order(), "BA");
    }
}

TEST(FormArrangeItems, F1AsksForItsHelp) {
    std::vector<int> asked;
    lang::SetHelpHook([&](int context) { asked.push_back(context); });
    Siblings s("AB");
    TFormArrangeItems f(nullptr, &s.List);
    RunModal(f, [&] { QTest::keyClick(f.CheckListBoxArrangeItems, Qt::Key_F1); });
    lang::SetHelpHook({});
    EXPECT_EQ(asked, std::vector<int>{600});
}

TEST(FormArrangeItems, TextsComeFromItsSectionOfTheLanguageFile) {
    const auto ini = platform::IniFile::Load(lang::LanguageFileName());
    const std::string section = "FormArrangeItems";
    ASSERT_TRUE(ini.HasSection(section));
    const std::string absent = TLanguageTexts::kAbsent;
    const auto text = [&](const QString& key) {
        return platform::ToQString(ini.ReadString(section, platform::FromQString(key), absent));
    };
    Siblings s("AB");
    TFormArrangeItems f(nullptr, &s.List);
    EXPECT_EQ(f.windowTitle(), text("FormArrangeItems_cap"));
    EXPECT_EQ(f.toolTip(), text("FormArrangeItems_hint"));
    std::set<QString> known{"FormArrangeItems", "PopupMenuArrangeItems"};
    for (QPushButton* b : f.findChildren<QPushButton*>()) {
        const QString name = b->objectName();
        known.insert(name);
        EXPECT_EQ(b->text(), text(name + "_cap")) << name.toStdString();
        EXPECT_EQ(b->toolTip(), text(name + "_hint")) << name.toStdString();
        EXPECT_NE(b->toolTip(), absent.c_str()) << name.toStdString();
    }
    known.insert("CheckListBoxArrangeItems");
    EXPECT_EQ(f.CheckListBoxArrangeItems->toolTip(), text("CheckListBoxArrangeItems_hint"));
    for (QAction* a : f.PopupMenuArrangeItems->actions()) {
        if (a->isSeparator()) continue;
        known.insert(a->objectName());
        EXPECT_EQ(a->text(), text(a->objectName() + "_cap")) << a->objectName().toStdString();
        EXPECT_NE(a->text(), absent.c_str()) << a->objectName().toStdString();
    }
    EXPECT_EQ(f.BitBtnOK->text(), "&OK");
    // A picture button shows its picture and a short caption with its Alt letter.
    EXPECT_EQ(f.BitBtnUpToStart->text(), "&Top");
    EXPECT_FALSE(f.BitBtnUpToStart->icon().isNull());
    // The section holds the texts of this window and its components only.
    for (const std::string& key : ini.Keys(section)) {
        const QString k = platform::ToQString(key);
        EXPECT_TRUE(k.endsWith("_cap") || k.endsWith("_hint")) << key;
        EXPECT_TRUE(known.count(k.left(k.lastIndexOf('_')))) << key << " names no component";
    }
}
