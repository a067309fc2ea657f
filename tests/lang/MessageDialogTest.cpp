#include "lang/MessageDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

#include "lang/DlgLangConverter.h"
#include "lang/HelpHook.h"
#include "platform/Exception.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kButtons =
    "[Dialogues]\n"
    "MESSDLG_YES_BUTTON=Yes\n"
    "MESSDLG_NO_BUTTON=No\n"
    "MESSDLG_CANCEL_BUTTON=Cancel\n"
    "MESSDLG_HELP_BUTTON=Help\n";

// Installs a message table made from text for the test's lifetime.
class MessageBox : public ::testing::Test {
protected:
    void SetUp() override { Install(kButtons); }
    void TearDown() override {
        lang::SetMessageTable(std::move(saved_));
        lang::SetHelpHook(nullptr);
    }
    void Install(const std::string& text) {
        WriteBytes(dir_.File("language.txt"), text);
        auto old = lang::SetMessageTable(std::make_unique<TDlgLangConverter>(dir_.File("language.txt")));
        if (!savedOnce_) saved_ = std::move(old), savedOnce_ = true;
    }

    TempDir dir_;
    std::unique_ptr<TDlgLangConverter> saved_;
    bool savedOnce_ = false;
};

// Runs act on the box's window as soon as it is shown, and closes it after a few seconds if
// act left it open, so that a failing test never hangs.
void WhenShown(TMessageDialog& box, std::function<void(QDialog&)> act) {
    auto* poll = new QTimer;
    auto started = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [&box, act, poll, started] {
        QDialog* w = box.Window();
        if (w && w->isVisible()) {
            poll->deleteLater();
            poll->stop();
            act(*w);
            return;
        }
        if (++*started > 500) {
            poll->deleteLater();
            poll->stop();
            ADD_FAILURE() << "the box was never shown";
        }
    });
    poll->start(10);
}

void Press(QDialog& w, const char* name) {
    auto* b = w.findChild<QPushButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

// Presses the buttons in order and closes the window afterwards if it is still open.
void PressThenClose(TMessageDialog& box, std::vector<const char*> names) {
    WhenShown(box, [names](QDialog& w) {
        for (const char* n : names) Press(w, n);
        QPointer<QDialog> still(&w);
        QTimer::singleShot(3000, [still] {
            if (still && still->isVisible()) {
                ADD_FAILURE() << "the box stayed open";
                still->reject();
            }
        });
    });
}

// Where the box puts its window, its first two buttons and its message, as it is shown.
struct TShownBox {
    QRect Frame, Client, First, Second, Label;
    bool Wraps = false;
};
TShownBox ShowAndMeasure(TMessageDialog& box) {
    TShownBox shown;
    WhenShown(box, [&shown](QDialog& w) {
        shown.Frame = w.frameGeometry();
        shown.Client = w.geometry();
        shown.First = w.findChild<QPushButton*>("Button0")->geometry();
        if (auto* second = w.findChild<QPushButton*>("Button1")) shown.Second = second->geometry();
        auto* l = w.findChild<QLabel*>("cap");
        shown.Wraps = l->wordWrap();
        shown.Label = l->geometry();
        w.reject();
    });
    box.Execute();
    return shown;
}

}  // namespace

TEST_F(MessageBox, EachButtonGivesItsAnswer) {
    struct Case {
        TMessageDlgType type;
        const char* button;
        std::uint8_t answer;
    };
    const Case cases[] = {
        {mdOk, "Button0", 1},          {mdOkCancel, "Button1", 2}, {mdOkCancelHelp, "Button1", 2},
        {mdYesNo, "Button0", 3},       {mdYesNo, "Button1", 4},    {mdYesNoHelp, "Button1", 4},
        {mdOkHelp, "Button0", 1},
    };
    for (const Case& c : cases) {
        TMessageDialog box;
        box.DialogType = c.type;
        box.Caption = "Question?";
        PressThenClose(box, {c.button});
        EXPECT_EQ(box.Execute(), c.answer) << int(c.type) << " " << c.button;
        EXPECT_EQ(box.Answer(), c.answer);
        EXPECT_EQ(box.Window(), nullptr);
    }
}

TEST_F(MessageBox, ButtonSetsAndTheirCaptions) {
    struct Case {
        TMessageDlgType type;
        QStringList captions;
    };
    const Case cases[] = {
        {mdOk, {"OK"}},
        {mdOkHelp, {"OK", "Help"}},
        {mdOkCancel, {"OK", "Cancel"}},
        {mdOkCancelHelp, {"OK", "Cancel", "Help"}},
        {mdYesNo, {"Yes", "No"}},
        {mdYesNoHelp, {"Yes", "No", "Help"}},
    };
    for (const Case& c : cases) {
        TMessageDialog box;
        box.DialogType = c.type;
        box.Title = "Title";
        box.Caption = "Message";
        QStringList seen;
        QString name, title;
        WhenShown(box, [&](QDialog& w) {
            name = w.objectName();
            title = w.windowTitle();
            for (int i = 0; i < 4; ++i)
                if (auto* b = w.findChild<QPushButton*>(QString("Button%1").arg(i))) seen << b->text();
            w.reject();
        });
        EXPECT_EQ(box.Execute(), 0);
        EXPECT_EQ(seen, c.captions) << int(c.type);
        EXPECT_EQ(name, "DialogForm");
        EXPECT_EQ(title, "Title");
    }
}

TEST_F(MessageBox, TheWindowIsLaidOutAsComputed) {
    for (const int type : {int{mdOk}, int{mdOkCancel}, int{mdYesNoHelp}}) {
        for (const char* caption : {"Hi", "A message much wider than the row of buttons below it, to be centred"}) {
            TMessageDialog box;
            box.DialogType = static_cast<TMessageDlgType>(type);
            box.Caption = caption;
            TMessageDialogGeometry expected;
            QSize size;
            std::vector<QRect> buttons;
            QRect label;
            WhenShown(box, [&](QDialog& w) {
                const QFontMetrics fm(w.font());
                TMessageDialogMetrics m;
                m.CaptionWidth = fm.horizontalAdvance(QString::fromUtf8(caption));
                m.FontPointSize = QFontInfo(w.font()).pointSize();
                m.ButtonCount = type == mdOk ? 1 : type == mdOkCancel ? 2 : 3;
                expected = ComputeMessageDialogGeometry(m);
                size = w.size();
                for (int i = 0; i < m.ButtonCount; ++i)
                    buttons.push_back(w.findChild<QPushButton*>(QString("Button%1").arg(i))->geometry());
                label = w.findChild<QLabel*>("cap")->geometry();
                w.reject();
            });
            box.Execute();
            ASSERT_EQ(buttons.size(), expected.ButtonLefts.size());
            EXPECT_EQ(size, QSize(expected.Width, expected.ClientHeight)) << caption;
            for (std::size_t i = 0; i < buttons.size(); ++i)
                EXPECT_EQ(buttons[i], QRect(expected.ButtonLefts[i], expected.ButtonTop, 75, 25)) << caption << i;
            EXPECT_EQ(label.left(), expected.LabelLeft);
            EXPECT_EQ(label.top(), expected.LabelTop);
        }
    }
}

TEST_F(MessageBox, HelpLeavesTheBoxOpen) {
    std::vector<int> helpAsked;
    lang::SetHelpHook([&](int context) { helpAsked.push_back(context); });
    int helpEvents = 0;
    {
        TMessageDialog box;
        box.DialogType = mdOkHelp;
        box.HelpContext = 42;
        box.HelpClickNotifyEvent = [&](QObject*) { ++helpEvents; };
        bool openAfterHelp = false;
        WhenShown(box, [&](QDialog& w) {
            Press(w, "Button1");
            openAfterHelp = w.isVisible();
            Press(w, "Button0");
        });
        EXPECT_EQ(box.Execute(), 1);
        EXPECT_TRUE(openAfterHelp);
    }
    {
        // Help pressed last, then the window closed: the answer is 5.
        TMessageDialog box;
        box.DialogType = mdYesNoHelp;
        box.HelpContext = 7;
        WhenShown(box, [&](QDialog& w) {
            Press(w, "Button2");
            w.reject();
        });
        EXPECT_EQ(box.Execute(), 5);
    }
    EXPECT_EQ(helpAsked, (std::vector<int>{42, 7}));
    EXPECT_EQ(helpEvents, 1);
}

TEST_F(MessageBox, TheAnswerIsResetOnEachShowing) {
    TMessageDialog box;
    box.DialogType = mdYesNo;
    PressThenClose(box, {"Button0"});
    ASSERT_EQ(box.Execute(), 3);
    WhenShown(box, [](QDialog& w) { w.reject(); });   // closed by its title bar
    EXPECT_EQ(box.Execute(), 0);
    EXPECT_EQ(box.Answer(), 0);
}

TEST_F(MessageBox, AButtonsEventRunsBeforeTheWindowCloses) {
    TMessageDialog box;
    box.DialogType = mdYesNo;
    QString sender;
    bool openDuringEvent = false;
    box.NoClickNotifyEvent = [&](QObject* s) {
        sender = s->objectName();
        openDuringEvent = box.Window() && box.Window()->isVisible();
    };
    box.YesClickNotifyEvent = [&](QObject*) { ADD_FAILURE() << "Yes was not pressed"; };
    PressThenClose(box, {"Button1"});
    EXPECT_EQ(box.Execute(), 4);
    EXPECT_EQ(sender, "Button1");
    EXPECT_TRUE(openDuringEvent);
}

TEST_F(MessageBox, AFailingEventIsShownAndTheBoxStaysOpen) {
    RecordingInteraction ui;
    TMessageDialog box;
    box.DialogType = mdOkCancel;
    box.OKClickNotifyEvent = [](QObject*) { throw Exception("handler failed"); };
    bool openAfterFailure = false;
    WhenShown(box, [&](QDialog& w) {
        Press(w, "Button0");
        openAfterFailure = w.isVisible();
        Press(w, "Button1");
    });
    EXPECT_EQ(box.Execute(), 2);
    EXPECT_TRUE(openAfterFailure);
    EXPECT_EQ(ui.Errors, std::vector<std::string>{"handler failed"});
}

TEST_F(MessageBox, AMissingButtonKeyRaisesBeforeAnyWindowShows) {
    Install("[Dialogues]\nMESSDLG_YES_BUTTON=Yes\n");
    const auto dialogsOpen = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "DialogForm") ++n;
        return n;
    };
    TMessageDialog box;
    box.DialogType = mdYesNo;
    try {
        box.Execute();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Inner Error -> No such message; Bad file! - MESSDLG_NO_BUTTON absent");
    }
    EXPECT_EQ(box.Window(), nullptr);
    EXPECT_EQ(dialogsOpen(), 0);
    // A set that needs no language text still works.
    box.DialogType = mdOk;
    PressThenClose(box, {"Button0"});
    EXPECT_EQ(box.Execute(), 1);
}

TEST_F(MessageBox, ACaptionTooWideForTheScreenWraps) {
    TMessageDialog box;
    box.DialogType = mdYesNo;
    std::string caption;
    for (int i = 0; i < 40; ++i) caption += "a long message word ";
    box.Caption = caption;   // cut to 255 bytes, still far wider than the screen
    // The cut text must not fit the screen, else there is nothing to wrap.
    const QFontMetrics fm(QApplication::font());
    ASSERT_GT(fm.horizontalAdvance(QString::fromStdString(caption.substr(0, 255))) + 40,
              QGuiApplication::primaryScreen()->availableGeometry().width());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const TShownBox shown = ShowAndMeasure(box);
    EXPECT_TRUE(shown.Wraps);
    EXPECT_LE(shown.Frame.width(), screen.width());
    EXPECT_LE(shown.Second.right(), shown.Frame.width());
    EXPECT_GT(shown.Label.height(), fm.height());
    EXPECT_LT(shown.Label.bottom(), shown.First.top());
}

TEST_F(MessageBox, AResponderAnswersWithoutAWindow) {
    int asked = 0;
    auto old = TMessageDialog::SetResponder([&](const TMessageDialog& box) -> std::uint8_t {
        ++asked;
        EXPECT_EQ(box.Caption, "Remove?");
        return TMessageDialog::mrYes;
    });
    TMessageDialog box;
    box.DialogType = mdYesNo;
    box.Caption = "Remove?";
    EXPECT_EQ(box.Execute(), 3);
    EXPECT_EQ(asked, 1);
    // The captions are still looked up first.
    Install("[Dialogues]\nOTHER=x\n");
    EXPECT_THROW(box.Execute(), Exception);
    EXPECT_EQ(asked, 1);
    TMessageDialog::SetResponder(std::move(old));
}

TEST_F(MessageBox, EveryLineOfAMessageWithLineBreaksIsShown) {
    TMessageDialog box;
    box.DialogType = mdOk;
    const QString first = "The project file is damaged or is not an Orvel project.";
    const QString second = "/a/rather/long/folder/name/of/the/projects/that/the/user/keeps/project.kvd";
    box.Caption = (first + "\n" + second).toStdString();
    const QFontMetrics fm(QApplication::font());
    const TShownBox shown = ShowAndMeasure(box);
    EXPECT_FALSE(shown.Wraps);
    EXPECT_GE(shown.Label.width(), fm.horizontalAdvance(second));
    EXPECT_GE(shown.Label.height(), fm.height() + fm.lineSpacing());
    EXPECT_LE(shown.Label.right(), shown.Client.width());
    EXPECT_LT(shown.Label.bottom(), shown.First.top());
    EXPECT_GE(shown.Label.top(), 0);
}
