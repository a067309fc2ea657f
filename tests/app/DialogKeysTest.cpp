// The keys of the program's dialogs as the person at the keyboard uses them: Return on the button
// that has the focus presses that button and Return elsewhere the window's default, and every
// label and button carries an Alt letter of its own that reaches its field or presses it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/FormAbout.h"
#include "app/FormAcknowledgments.h"
#include "app/ToolbarForm.h"
#include "exchange/FormExportTest.h"
#include "exchange/FormImportTest.h"
#include "platform/FormatSettings.h"
#include "platform/qt/ModalDialogs.h"
#include "runner/FormReporter.h"
#include "store/Records.h"
#include "store/TypeList.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/CommandCases.h"
#include "tests/support/ScopedGlobalStore.h"
#include "tree/FindForm.h"
#include "tree/FormArrangeItems.h"
#include "tree/PropertyDialogs.h"

namespace {

// Three objects to arrange.
class Siblings {
public:
    Siblings() {
        for (const char* name : {"First", "Second", "Third"}) {
            auto object = std::make_unique<TAnyObject>();
            object->ID = static_cast<std::int32_t>(objects_.size()) + 1;
            object->Name = name;
            List.Add(object.get());
            objects_.push_back(std::move(object));
        }
    }
    TTypeTAnyObjectSingleList List;

private:
    std::vector<std::unique_ptr<TAnyObject>> objects_;
};

struct TWindowCase {
    const char* Name;
    std::function<std::unique_ptr<QDialog>(TTypeTAnyObjectSingleList& siblings)> Make;
    // What the person does first so that the window's commands can be given, as typing a name.
    std::function<void(QDialog&)> Prepare;
    // The field in which Return presses the default button, with that button; none when the
    // window has no field.
    const char* Field;
    const char* DefaultButton;
    // Whether each of its labels and buttons has an Alt letter.
    bool Accelerators;
};

template <class T>
T* Child(QDialog& d, const char* name) {
    T* w = d.findChild<T*>(QString::fromLatin1(name));
    if (!w) ADD_FAILURE() << "no " << name << " in " << d.objectName().toStdString();
    return w;
}

// Typed into the field, as the person does.
std::function<void(QDialog&)> Types(const char* field, const char* text) {
    return [=](QDialog& d) {
        if (auto* edit = Child<QWidget>(d, field)) QTest::keyClicks(edit, QString::fromLatin1(text));
    };
}

std::vector<TWindowCase> Windows() {
    const auto posix = platform::FormatSettings::Posix();
    const auto named = [](const char* edit) { return Types(edit, "New name"); };
    return {
        {"find", [](auto&) { return std::make_unique<TFindForm>(nullptr); }, Types("ObjectEdit", "Scale"), "ObjectEdit",
         "FindButton", true},
        {"test group", [](auto&) { return std::make_unique<TTestGroupForm>(nullptr); }, named("TestGroupNameEdit"),
         "TestGroupNameEdit", "OkBitBtn", true},
        {"test", [=](auto&) { return std::make_unique<TTestForm>(nullptr, posix); }, named("TestNameEdit"), "TestNameEdit",
         "OkBitBtn", true},
        {"question",
         [](auto&) { return std::make_unique<TStimulForm>(nullptr); },
         [](QDialog& d) {
             QTest::keyClicks(Child<QWidget>(d, "StimulNameEdit"), "New name");
             // Multiple answers, so that the limit can be reached.
             auto* multiple = Child<QCheckBox>(d, "CheckBoxMultipleAnswers");
             QTest::mouseClick(multiple, Qt::LeftButton, {}, QPoint(8, multiple->height() / 2));
         },
         "StimulNameEdit", "OkBitBtn", true},
        {"answer", [](auto&) { return std::make_unique<TReactionForm>(nullptr); }, named("ReactionNameEdit"),
         "ReactionNameEdit", "OkBitBtn", true},
        {"scale", [](auto&) { return std::make_unique<TScaleForm>(nullptr); }, named("ScaleNameEdit"), "ScaleNameEdit",
         "OkBitBtn", true},
        {"interpretation", [=](auto&) { return std::make_unique<TInterpretationForm>(nullptr, posix); },
         named("InterpretationNameEdit"), "InterpretationNameEdit", "OkBitBtn", true},
        {"weight", [=](auto&) { return std::make_unique<TWeightForm>(nullptr, posix); }, named("WeightNameEdit"),
         "WeightNameEdit", "OkBitBtn", true},
        {"arrange", [](TTypeTAnyObjectSingleList& siblings) { return std::make_unique<TFormArrangeItems>(nullptr, &siblings); },
         // A move first, so that OK can be pressed.
         [](QDialog& d) { QTest::mouseClick(Child<QWidget>(d, "BitBtnDownOneStep"), Qt::LeftButton); },
         "CheckListBoxArrangeItems", "BitBtnOK", true},
        {"export", [](auto&) { return std::make_unique<TFormExportTest>(nullptr); }, nullptr, nullptr, nullptr, true},
        {"import", [](auto&) { return std::make_unique<TFormImportTest>(nullptr); }, nullptr, nullptr, nullptr, true},
        {"report setup", [](auto&) { return std::make_unique<TFormReporter>(nullptr); }, Types("EditFileName", "report.txt"),
         "EditFileName", "ButtonCreate", true},
        {"about", [](auto&) { return std::make_unique<TFormAbout>(nullptr); }, nullptr, nullptr, nullptr, false},
        {"acknowledgments", [](auto&) { return std::make_unique<TFormAcknowledgments>(nullptr); }, nullptr, nullptr, nullptr,
         false},
        {"toolbar setup",
         [](auto&) {
             return std::make_unique<TToolbarForm>(nullptr, platform::kNoWindow, true, true, true, true, true, "File",
                                                   "Edit", "View", "Object", "Help");
         },
         nullptr, nullptr, nullptr, false},
    };
}

// The windows open over the example of the command tests, as the tree opens them.
class DialogKeys : public ::testing::TestWithParam<TWindowCase> {
public:
    DialogKeys() : store_(MakeStore()) {}

    // The window as the person meets it: shown, active, with what they did first done.
    std::unique_ptr<QDialog> Open(const TWindowCase& c) {
        std::unique_ptr<QDialog> d = c.Make(siblings.List);
        d->show();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get())) << c.Name;
        if (c.Prepare) c.Prepare(*d);
        Flush();
        return d;
    }
    // Tab from wherever the focus is until it reaches the widget; false when it never does.
    static bool TabTo(QDialog& d, QWidget* target) {
        for (int i = 0; i < 80 && QApplication::focusWidget() != target; ++i) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus->window() != &d) return false;
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return QApplication::focusWidget() == target;
    }
    static void PressReturn() {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyPress(focus, Qt::Key_Return);
        if (QApplication::focusWidget()) QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
        Flush();
    }

    TAppTestEnvironment env;
    Siblings siblings;
    // Windows that the pressed buttons open answer at once.
    platform::ScopedModalHook modal{[](QDialog&) { return 0; }};

private:
    static std::unique_ptr<TFileAccess> MakeStore() {
        auto store = std::make_unique<TFileAccess>("", platform::FormatSettings::Posix());
        FillCommandCaseProject(*store);
        return store;
    }
    ScopedGlobalStore store_;
};

// The buttons the person reaches with Tab: push and tool buttons that take the focus.
std::vector<QAbstractButton*> TabButtons(QDialog& d) {
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* b : d.findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QToolButton*>(b)) continue;
        if (b->objectName().startsWith(QLatin1String("qt_")) || !b->isVisible() || !b->isEnabled()) continue;
        if (!(b->focusPolicy() & Qt::TabFocus)) continue;
        buttons.push_back(b);
    }
    return buttons;
}

// How often each button of the window was pressed.
class Presses {
public:
    explicit Presses(QDialog& d) {
        for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
            spies_.emplace(b->objectName().toStdString(), std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked));
    }
    // The names of the buttons pressed, each as often as it was.
    std::vector<std::string> Pressed() const {
        std::vector<std::string> names;
        for (const auto& [name, spy] : spies_)
            for (int i = 0; i < spy->count(); ++i) names.push_back(name);
        return names;
    }
    bool WaitFor(const std::string& name) {
        auto it = spies_.find(name);
        return it != spies_.end() && (it->second->count() > 0 || it->second->wait(1000));
    }

private:
    std::map<std::string, std::unique_ptr<QSignalSpy>> spies_;
};

std::string CaseName(const ::testing::TestParamInfo<TWindowCase>& info) {
    std::string name;
    for (const char* c = info.param.Name; *c; ++c)
        if (*c != ' ') name += *c;
    return name;
}

// The windows that have a field, and those whose labels and buttons have Alt letters.
std::vector<TWindowCase> WithField() {
    std::vector<TWindowCase> cases;
    for (const TWindowCase& c : Windows())
        if (c.Field) cases.push_back(c);
    return cases;
}
std::vector<TWindowCase> WithAccelerators() {
    std::vector<TWindowCase> cases;
    for (const TWindowCase& c : Windows())
        if (c.Accelerators) cases.push_back(c);
    return cases;
}

class FocusedButton : public DialogKeys {};
class DefaultButton : public DialogKeys {};
class AltLetters : public DialogKeys {};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Windows, FocusedButton, ::testing::ValuesIn(Windows()), CaseName);
INSTANTIATE_TEST_SUITE_P(Windows, DefaultButton, ::testing::ValuesIn(WithField()), CaseName);
INSTANTIATE_TEST_SUITE_P(Windows, AltLetters, ::testing::ValuesIn(WithAccelerators()), CaseName);

// Each button reached with Tab, in a window of its own, and Return pressed on it.
TEST_P(FocusedButton, ReturnOnItPressesThatButton) {
    const TWindowCase& c = GetParam();
    std::vector<std::string> names;
    {
        std::unique_ptr<QDialog> d = Open(c);
        for (QAbstractButton* b : TabButtons(*d)) names.push_back(b->objectName().toStdString());
    }
    EXPECT_FALSE(names.empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::unique_ptr<QDialog> d = Open(c);
        auto* button = d->findChild<QAbstractButton*>(QString::fromStdString(name));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(TabTo(*d, button)) << "Tab never reaches it";
        Presses presses(*d);
        // A browse button asks for a file; the person cancels.
        env.Files.push_back(std::nullopt);
        PressReturn();
        env.Files.clear();
        EXPECT_EQ(presses.Pressed(), std::vector<std::string>{name});
    }
}

TEST_P(DefaultButton, ReturnInAFieldPressesIt) {
    const TWindowCase& c = GetParam();
    std::unique_ptr<QDialog> d = Open(c);
    QWidget* field = Child<QWidget>(*d, c.Field);
    ASSERT_NE(field, nullptr);
    // Through a button and on to the field, as the person tabs round.
    const std::vector<QAbstractButton*> buttons = TabButtons(*d);
    ASSERT_FALSE(buttons.empty());
    ASSERT_TRUE(TabTo(*d, buttons.front()));
    ASSERT_TRUE(TabTo(*d, field)) << "Tab never reaches " << c.Field;
    Presses presses(*d);
    PressReturn();
    EXPECT_EQ(presses.Pressed(), std::vector<std::string>{c.DefaultButton});
}

namespace {

// The letter behind the first single "&" of a caption; a null character without one.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toUpper();
    }
    return {};
}

// One Alt letter of a window: the control that carries it, and what it reaches.
struct TAccelerator {
    QChar Letter;
    QString Owner;      // object name of the label, button, group box or tab widget
    QString Caption;
    int Tab = -1;       // the tab of a tab widget
};

bool IsOwnWidget(const QWidget* w) {
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) && !w->isHidden();
}

// Every caption of the window that can carry an Alt letter; what lacks one, or a label without
// its field, is a failure.
std::vector<TAccelerator> Accelerators(QDialog& d) {
    std::vector<TAccelerator> found;
    const auto need = [&](const QWidget* w, const QString& caption, int tab = -1) {
        const QChar letter = Mnemonic(caption);
        EXPECT_FALSE(letter.isNull()) << w->objectName().toStdString() << " \"" << caption.toStdString()
                                      << "\" has no Alt letter";
        if (!letter.isNull()) found.push_back({letter, w->objectName(), caption, tab});
    };
    for (QLabel* l : d.findChildren<QLabel*>()) {
        if (!IsOwnWidget(l) || l->text().isEmpty() || !l->pixmap().isNull()) continue;
        EXPECT_NE(l->buddy(), nullptr) << l->objectName().toStdString() << " is bound to no field";
        // The unit names under a slider mark its positions; they reach nothing of their own.
        if (qobject_cast<QAbstractSlider*>(l->buddy())) continue;
        need(l, l->text());
    }
    for (QAbstractButton* b : d.findChildren<QAbstractButton*>()) {
        if (!IsOwnWidget(b) || !(b->focusPolicy() & Qt::TabFocus)) continue;
        need(b, b->text());
    }
    for (QTabWidget* t : d.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) need(t, t->tabText(i), i);
    for (QGroupBox* g : d.findChildren<QGroupBox*>())
        if (!Mnemonic(g->title()).isNull()) found.push_back({Mnemonic(g->title()), g->objectName(), g->title()});
    return found;
}

Qt::Key KeyOf(QChar letter) {
    const char c = letter.toLatin1();
    return c >= '0' && c <= '9' ? Qt::Key(Qt::Key_0 + (c - '0')) : Qt::Key(Qt::Key_A + (c - 'A'));
}

void PressAlt(QChar letter) {
    QTest::keyClick(QApplication::focusWidget(), KeyOf(letter), Qt::AltModifier);
    Flush();
}

bool HasFocusIn(const QWidget* field) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == field || field->isAncestorOf(focus));
}

}  // namespace

// Within one window every Alt letter is another, across all its tab pages; each label is bound
// to its field, and pressing the letter reaches the field, presses the button or shows the page.
TEST_P(AltLetters, EachLabelAndButtonHasOneOfItsOwnThatReachesIt) {
    const TWindowCase& c = GetParam();
    std::vector<TAccelerator> accelerators;
    {
        std::unique_ptr<QDialog> d = Open(c);
        accelerators = Accelerators(*d);
    }
    std::map<QChar, QString> taken;
    for (const TAccelerator& a : accelerators) {
        const auto [at, fresh] = taken.emplace(a.Letter, a.Caption);
        EXPECT_TRUE(fresh) << "Alt+" << QString(a.Letter).toStdString() << " is \"" << at->second.toStdString()
                           << "\" and \"" << a.Caption.toStdString() << "\"";
    }

    for (const TAccelerator& a : accelerators) {
        SCOPED_TRACE(a.Caption.toStdString());
        std::unique_ptr<QDialog> d = Open(c);
        auto* owner = d->findChild<QWidget*>(a.Owner);
        ASSERT_NE(owner, nullptr);
        // A control on a page that is not shown: its page first, by the page's own letter.
        for (QTabWidget* tabs : d->findChildren<QTabWidget*>()) {
            const int page = [&] {
                for (int i = 0; i < tabs->count(); ++i)
                    if (tabs->widget(i)->isAncestorOf(owner)) return i;
                return -1;
            }();
            if (page < 0 || page == tabs->currentIndex()) continue;
            PressAlt(Mnemonic(tabs->tabText(page)));
            ASSERT_EQ(tabs->currentIndex(), page) << "its page did not come up";
        }
        Presses presses(*d);
        env.Files.clear();
        env.Files.push_back(std::nullopt);
        if (auto* tabs = qobject_cast<QTabWidget*>(owner)) {
            // From another page.
            if (tabs->currentIndex() == a.Tab) tabs->setCurrentIndex((a.Tab + 1) % tabs->count());
            PressAlt(a.Letter);
            EXPECT_EQ(tabs->currentIndex(), a.Tab);
        } else if (auto* label = qobject_cast<QLabel*>(owner)) {
            QWidget* field = label->buddy();
            ASSERT_NE(field, nullptr);
            if (!field->isEnabled()) continue;
            // From somewhere else, so that the letter has to bring the focus.
            if (HasFocusIn(field)) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_FALSE(HasFocusIn(field));
            PressAlt(a.Letter);
            EXPECT_TRUE(HasFocusIn(field)) << "the focus is not in " << field->objectName().toStdString();
        } else if (auto* button = qobject_cast<QAbstractButton*>(owner)) {
            if (!button->isEnabled()) continue;
            PressAlt(a.Letter);
            EXPECT_TRUE(presses.WaitFor(a.Owner.toStdString())) << "not pressed";
            EXPECT_EQ(presses.Pressed(), std::vector<std::string>{a.Owner.toStdString()});
        } else if (auto* group = qobject_cast<QGroupBox*>(owner)) {
            PressAlt(a.Letter);
            EXPECT_TRUE(HasFocusIn(group));
        }
    }
    env.Files.clear();
}
