// F1 in a window asks for the window's help topic; a failing help system is shown, not thrown.
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "lang/HelpHook.h"
#include "lang/HelpKey.h"
#include "tests/support/RecordingInteraction.h"

namespace {

// A dialog whose key handler answers F1 with topic 77 and passes every other key on.
class HelpfulDialog : public QDialog {
public:
    HelpfulDialog() : Edit(new QLineEdit(this)) {}
    QLineEdit* Edit;
    std::vector<int> PassedOn;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (lang::AnswerHelpKey(*event, 77)) return;
        PassedOn.push_back(event->key());
        QDialog::keyPressEvent(event);
    }
};

class ScopedHelpHook {
public:
    explicit ScopedHelpHook(lang::HelpHook hook) { lang::SetHelpHook(std::move(hook)); }
    ~ScopedHelpHook() { lang::SetHelpHook({}); }
};

}  // namespace

TEST(HelpKey, OnlyAPlainF1AsksForTheTopic) {
    struct Case {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        bool Asked;
    };
    const Case cases[] = {
        {Qt::Key_F1, Qt::NoModifier, true},       {Qt::Key_F1, Qt::ShiftModifier, false},
        {Qt::Key_F1, Qt::ControlModifier, false}, {Qt::Key_F1, Qt::AltModifier, false},
        {Qt::Key_F2, Qt::NoModifier, false},      {Qt::Key_Escape, Qt::NoModifier, false},
    };
    for (const Case& c : cases) {
        std::vector<int> asked;
        ScopedHelpHook hook([&](int context) { asked.push_back(context); });
        HelpfulDialog dialog;
        dialog.show();
        // Pressed in the edit: the edit leaves the key to its window.
        QTest::keyClick(dialog.Edit, c.Key, c.Modifiers);
        EXPECT_EQ(asked, c.Asked ? std::vector<int>{77} : std::vector<int>{}) << c.Key << " " << c.Modifiers.toInt();
        // The modifier keys' own presses come first, and are passed on too.
        EXPECT_EQ(std::count(dialog.PassedOn.begin(), dialog.PassedOn.end(), c.Key), c.Asked ? 0 : 1) << c.Key;
    }
}

TEST(HelpKey, AFailingHelpSystemIsShownAndTheWindowStays) {
    RecordingInteraction shown;
    ScopedHelpHook hook([](int) -> void { throw std::runtime_error("The help file is missing."); });
    HelpfulDialog dialog;
    dialog.show();
    EXPECT_NO_THROW(QTest::keyClick(dialog.Edit, Qt::Key_F1));
    EXPECT_EQ(shown.Errors, std::vector<std::string>{"The help file is missing."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.PassedOn.empty());
}
