// The test window, its pages and the report setup dialog on the offscreen platform, hosted as
// the main window hosts them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTextLayout>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "lang/DlgLangConverter.h"
#include "lang/MessageDialog.h"
#include "platform/qt/MenuCaption.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtMessagePoster.h"
#include "platform/qt/QtUserInteraction.h"
#include "runner/FormReporter.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "tests/runner/RunnerTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

void Flush() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QColor TextColour(const QWidget& w) { return w.palette().color(QPalette::WindowText); }

// Whether an answer text shows the yellow mark of a chosen answer behind it.
bool Marked(const QWidget& w) {
    return w.autoFillBackground() && w.palette().color(w.backgroundRole()) == TRunnerScreens::kChosen;
}

// A key event as the window system delivers it, to the control that has the focus, at a moment
// in milliseconds (each event a moment of its own unless one is given).
void Send(TRunTestForm& form, QEvent::Type type, Qt::Key key, bool autoRepeat = false, quint64 at = 0) {
    static quint64 clock = 1000;
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QKeyEvent e(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
    e.setTimestamp(at != 0 ? at : (clock += 100));
    QApplication::sendEvent(target, &e);
}

// Presses a key where the keyboard focus of the window is, as a person would.
void Key(TRunTestForm& form, Qt::Key key) {
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QTest::keyClick(target, key);
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override { platform::InstallQtMessagePoster(); }
    void TearDown() override {
        host.reset();
        Flush();
        TMessageDialog::SetResponder(nullptr);
        platform::MessageHub().SetPoster(nullptr);
    }
    void Open(TSixQuestions spec) {
        FillSixQuestions(store, spec);
        host = std::make_unique<TRunnerHost>(store, &mdi);
        mdi.resize(800, 700);
        mdi.show();
        form = host->RunTest(kSixTestID);
        ASSERT_NE(form, nullptr);
        Flush();
    }
    TTestRunner& Runner() { return *host->FindRunner(form->Handle()); }
    TRunnerScreens& Page() { return form->View(); }

    TRunnerTestEnvironment env{lang::LanguageFileName()};
    TFileAccess store;
    QMdiArea mdi;
    std::unique_ptr<TRunnerHost> host;
    TRunTestForm* form = nullptr;
};

}  // namespace

TEST_F(Windows, ARunOpensWithItsInstructionAndMovesOnByLinkAndByKeys) {
    Open({2, true, {}});
    ASSERT_NE(Page().Heading(), nullptr);
    EXPECT_EQ(Page().Heading()->text(), "Read this first.");
    EXPECT_EQ(form->windowTitle().toStdString(), lang::GetMessageText("OBJECTSTREE_TEST_TITLE") + " (Six questions)");
    EXPECT_TRUE(form->MenuItemNext->isEnabled());
    EXPECT_FALSE(form->MenuItemBack->isEnabled());
    EXPECT_FALSE(form->MenuItemPauseTest->isEnabled());
    EXPECT_EQ(Page().NavLink(TNavLinkKind::Back), nullptr);

    // The Next link by the left button; the right button does nothing.
    QTest::mousePress(Page().NavLink(TNavLinkKind::Next), Qt::RightButton);
    EXPECT_EQ(Page().Heading()->text(), "Read this first.");
    QTest::mousePress(Page().NavLink(TNavLinkKind::Next), Qt::LeftButton);
    Flush();
    ASSERT_EQ(Page().AnswerTexts().size(), 3u);
    EXPECT_EQ(Page().Heading()->text(), "Q0");
    EXPECT_EQ(TextColour(*Page().NavLink(TNavLinkKind::Next)), QColor(0, 0, 255));

    // Then by the keyboard: Space on the focused Next link, and Enter.
    Page().NavLink(TNavLinkKind::Next)->setFocus();
    Key(*form, Qt::Key_Space);
    Flush();
    EXPECT_EQ(Page().Heading()->text(), "Q1");
    Page().NavLink(TNavLinkKind::Next)->setFocus();
    Key(*form, Qt::Key_Return);
    Flush();
    EXPECT_EQ(Page().Heading()->text(), "Q2");
    EXPECT_TRUE(form->MenuItemBack->isEnabled());
    EXPECT_EQ(Runner().Current(), 2);
    EXPECT_TRUE(env.Messages.empty());
}

TEST_F(Windows, SpaceOnAFocusedAnswerTogglesItOnceAndColoursIt) {
    Open({2, true, {}});
    form->MenuItemNext->trigger();
    Flush();
    ASSERT_EQ(Page().AnswerTexts().size(), 3u);
    Page().FocusAnswer(1);
    Key(*form, Qt::Key_Space);
    EXPECT_EQ(Runner().Chosen(), std::vector<std::int32_t>{AnswerID(0, 1)});
    EXPECT_TRUE(Marked(*Page().AnswerTexts()[1]));
    EXPECT_FALSE(Marked(*Page().AnswerTexts()[0]));
    EXPECT_EQ(TextColour(*Page().AnswerTexts()[0]), QColor(0, 0, 0));
    Key(*form, Qt::Key_Space);
    EXPECT_TRUE(Runner().Chosen().empty());
    EXPECT_FALSE(Marked(*Page().AnswerTexts()[1]));
    EXPECT_EQ(TextColour(*Page().AnswerTexts()[1]), QColor(0, 0, 0));
    // A click chooses as well.
    QTest::mouseClick(Page().AnswerTexts()[2], Qt::LeftButton);
    EXPECT_EQ(Runner().Chosen(), std::vector<std::int32_t>{AnswerID(0, 2)});
}

TEST_F(Windows, ArrowsMoveTheFocusThroughTheAnswersAndWrap) {
    Open({2, true, {}});
    form->MenuItemNext->trigger();
    Flush();
    Page().FocusAnswer(0);
    Key(*form, Qt::Key_Down);
    EXPECT_EQ(Page().FocusedAnswer(), 1);
    Key(*form, Qt::Key_Right);
    EXPECT_EQ(Page().FocusedAnswer(), 2);
    Key(*form, Qt::Key_Down);   // past the last answer: the Next link, as by Tab
    EXPECT_EQ(Page().FocusedNavLink(), TNavLinkKind::Next);
    EXPECT_EQ(Page().NavLink(TNavLinkKind::Next)->frameShape(), QFrame::Box);
    Key(*form, Qt::Key_Down);   // past the last control: back to the first answer
    EXPECT_EQ(Page().FocusedAnswer(), 0);
    Key(*form, Qt::Key_Up);     // before the first: the link
    EXPECT_EQ(Page().FocusedNavLink(), TNavLinkKind::Next);
    Key(*form, Qt::Key_Up);
    EXPECT_EQ(Page().FocusedAnswer(), 2);
    Key(*form, Qt::Key_Left);
    EXPECT_EQ(Page().FocusedAnswer(), 1);
    EXPECT_EQ(Page().AnswerTexts()[1]->frameShape(), QFrame::Box);
    EXPECT_EQ(Page().AnswerTexts()[2]->frameShape(), QFrame::NoFrame);
}

TEST_F(Windows, AFreeTestOfFiveQuestionsHasSevenGoToItems) {
    FillSixQuestions(store, {3, false, {}});
    ASSERT_TRUE(store.Stimuli.Locate(15));
    store.Stimuli.Delete();
    host = std::make_unique<TRunnerHost>(store);
    form = host->RunTest(kSixTestID);
    ASSERT_NE(form, nullptr);
    const QList<QAction*> items = form->MenuItemGoto->actions();
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[2]->objectName(), "MenuItemGoto_2");
    EXPECT_EQ(items[2]->property("Tag").toInt(), 2);
    EXPECT_EQ(items[2]->text(), "Q2");
    EXPECT_TRUE(items[5]->isSeparator());
    EXPECT_EQ(items[6]->objectName(), "MenuItemGoto_FinalScreen");
    EXPECT_EQ(items[6]->text().toStdString(), lang::GetMessageText("RUNTEST_FINAL_SCREEN_MENUITEM"));

    form->MenuItemNext->trigger();
    items[3]->trigger();   // Go To question 3 travels as its own message
    EXPECT_EQ(Runner().Current(), 3);
    EXPECT_TRUE(items[3]->isChecked());
    EXPECT_FALSE(items[2]->isChecked());
    EXPECT_FALSE(items[0]->isEnabled());   // visited, and the test allows no replay
    EXPECT_FALSE(items[3]->isEnabled());
    EXPECT_TRUE(items[1]->isEnabled());
    items[6]->trigger();
    EXPECT_EQ(Runner().Screen(), rsEndScreen);
    EXPECT_TRUE(form->MenuItemDisplayReport->isEnabled());
}

TEST_F(Windows, ForwardOnlyHasNoGoToAndNoBack) {
    Open({1, false, {}});
    EXPECT_TRUE(form->MenuItemGoto->actions().isEmpty());
    EXPECT_FALSE(form->MenuItemGoto->menuAction()->isEnabled());
    form->MenuItemNext->trigger();
    form->MenuItemNext->trigger();
    EXPECT_FALSE(form->MenuItemBack->isEnabled());
    EXPECT_FALSE(form->MenuItemGoto->menuAction()->isEnabled());
}

TEST_F(Windows, FullScreenAndBackKeepTheAnswers) {
    Open({3, false, {}});
    form->MenuItemNext->trigger();
    form->MenuItemNext->trigger();
    QTest::mouseClick(Page().AnswerTexts()[1], Qt::LeftButton);
    form->MenuItemMaximizeToScreen->trigger();
    TRunTestForm* full = host->FullScreenForm();
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(full->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_EQ(full->View().AnswerTexts().size(), 3u);
    EXPECT_EQ(full->View().Heading()->text(), "Q1");
    EXPECT_TRUE(Marked(*full->View().AnswerTexts()[1]));   // at once
    EXPECT_FALSE(full->MenuItemMaximizeToScreen->isEnabled());
    EXPECT_TRUE(full->MenuItemMinimizeToMDI->isEnabled());
    EXPECT_FALSE(full->MenuItemExit->isEnabled());
    // The new window's Go-To menu knows the questions already seen.
    EXPECT_FALSE(full->MenuItemGoto->actions()[0]->isEnabled());
    EXPECT_TRUE(full->MenuItemGoto->actions()[1]->isChecked());
    EXPECT_TRUE(full->MenuItemGoto->actions()[2]->isEnabled());

    // Commands of the full-screen window reach the runner.
    full->MenuItemNext->trigger();
    EXPECT_EQ(full->View().Heading()->text(), "Q2");
    // A second full-screen request is refused.
    form->MenuItemMaximizeToScreen->trigger();
    EXPECT_EQ(env.Messages, std::vector<std::string>{lang::GetMessageText("MAIN_F_IS_MAXIMIZED_TEST_SCREEN")});

    QPointer<TRunTestForm> gone = full;
    full->MenuItemMinimizeToMDI->trigger();
    EXPECT_EQ(host->FullScreenForm(), nullptr);
    Flush();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(Page().Heading()->text(), "Q2");
    EXPECT_FALSE(form->MenuItemBack->isEnabled());   // 0 and 1 were seen
    form->MenuItemGoto->actions()[4]->trigger();
    form->MenuItemBack->trigger();
    EXPECT_EQ(Page().Heading()->text(), "Q3");
    EXPECT_EQ(Runner().Chosen(), std::vector<std::int32_t>{AnswerID(1, 1)});
    EXPECT_TRUE(form->MenuItemMaximizeToScreen->isEnabled());
    EXPECT_FALSE(form->MenuItemGoto->actions()[2]->isEnabled());
}

TEST_F(Windows, ClosingAsksAndNoKeepsTheRun) {
    Open({2, true, {}});
    std::vector<std::string> asked;
    std::uint8_t answer = TMessageDialog::mrNo;
    TMessageDialog::SetResponder([&](const TMessageDialog& d) {
        asked.push_back(d.Caption);
        EXPECT_EQ(d.DialogType, mdYesNo);
        EXPECT_EQ(d.Title, form->windowTitle().toStdString());
        return answer;
    });
    form->MenuItemNext->trigger();
    QPointer<TRunTestForm> window = form;
    form->MenuItemExit->trigger();
    Flush();
    ASSERT_EQ(asked, std::vector<std::string>{lang::GetMessageText("RUNTEST_CLOSE_TEST")});
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(host->RunnerCount(), 1);
    EXPECT_EQ(Runner().Current(), 0);

    answer = TMessageDialog::mrYes;
    form->MenuItemExit->trigger();
    EXPECT_FALSE(window.isNull());   // freed from the posted notice, after the close has returned
    Flush();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(host->RunnerCount(), 0);
    EXPECT_FALSE(host->IsTestWindowOpen(kSixTestID));
}

TEST_F(Windows, TheEndScreenLinksToUnansweredMandatoryQuestions) {
    Open({3, true, {2, 4}});
    form->MenuItemNext->trigger();
    form->MenuItemGoto->actions().back()->trigger();
    ASSERT_EQ(Page().EndLinks().size(), 2u);
    EXPECT_EQ(Page().Heading()->text().toStdString(), lang::GetMessageText("RUNTEST_STIMULS_UNANSWERED"));
    EXPECT_EQ(Page().EndLinks()[1]->text(), "Q4");
    EXPECT_EQ(Page().EndLinks()[1]->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(form->MenuItemDisplayReport->isEnabled());
    QTest::mousePress(Page().EndLinks()[1], Qt::LeftButton);
    Flush();
    EXPECT_EQ(Runner().Current(), 4);
    EXPECT_EQ(Page().Heading()->text(), "Q4");
}

// The end screen from the keyboard alone: Tab goes from link to link with the focus framed,
// Return or Space opens the question.
TEST_F(Windows, TheEndScreenLinksAreReachedByTabAndOpenedByReturnOrSpace) {
    Open({3, true, {2, 4}});
    QApplication::setActiveWindow(&mdi);
    const auto toEndScreen = [&] {
        form->MenuItemGoto->actions().back()->trigger();
        Flush();
        ASSERT_EQ(Page().EndLinks().size(), 2u);
        form->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), form);
    };
    const auto framed = [&](int k) {
        for (int i = 0; i < 2; ++i)
            if ((Page().EndLinks()[i]->frameShape() == QFrame::Box) != (i == k)) return false;
        return true;
    };
    const std::pair<Qt::Key, int> openers[] = {{Qt::Key_Return, 4}, {Qt::Key_Space, 2}, {Qt::Key_Enter, 4}};
    for (const auto& [key, question] : openers) {
        SCOPED_TRACE(question);
        toEndScreen();
        EXPECT_TRUE(framed(-1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Page().EndLinks()[0]);
        EXPECT_TRUE(framed(0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Page().EndLinks()[1]);
        EXPECT_TRUE(framed(1));
        if (question == 2) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_TRUE(framed(0));
        }
        QTest::keyClick(QApplication::focusWidget(), key);
        Flush();
        EXPECT_EQ(Runner().Current(), question);
        EXPECT_EQ(Page().Heading()->text().toStdString(), "Q" + std::to_string(question));
    }
    // The frame fits the link: its text is not cut.
    toEndScreen();
    for (TStaticText* link : Page().EndLinks()) {
        link->setFrameShape(QFrame::Box);
        EXPECT_GE(link->height(), link->heightForWidth(link->width()));
    }
}

// Where no program opens a report, the message names its path: the path starts a line of its own
// and breaks only at its separators, only where a line is full; no "/" stands alone.
TEST_F(Windows, TheReportPathOfTheMessageBreaksOnlyWhereALineIsFull) {
    Open({3, true, {}});
    form->MenuItemNext->trigger();
    form->MenuItemGoto->actions().back()->trigger();
    ASSERT_TRUE(form->MenuItemDisplayReport->isEnabled());
    ASSERT_EQ(Runner().Screen(), rsEndScreen);
    TempDir dir;
    const std::string folder = dir.File("a/very/long/folder/name/for/the/reports/of/the/study/habits/test");
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/results-of-today.txt";
    env.SetupValues = {path, true};
    env.OpenSucceeds = false;
    platform::QtUserInteraction boxes;
    platform::IUserInteraction* recording = platform::SetUserInteraction(&boxes);
    QStringList lines;
    int width = 0;
    platform::ScopedModalHook hook([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        if (!box) return 0;
        box->show();
        Flush();
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->text().contains(QString::fromStdString(path))) continue;
            // The lines as the label lays them out at its width.
            width = label->contentsRect().width();
            for (const QString& paragraph : label->text().split(QLatin1Char('\n'))) {
                QTextLayout layout(paragraph, label->font());
                QTextOption option;
                option.setWrapMode(QTextOption::WordWrap);
                layout.setTextOption(option);
                layout.beginLayout();
                for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                    line.setLineWidth(width);
                    lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
                }
                layout.endLayout();
            }
        }
        QTest::keyClick(box, Qt::Key_Return);
        return box->result();
    });
    form->MenuItemDisplayReport->trigger();
    Flush();
    platform::SetUserInteraction(recording);
    ASSERT_GT(width, 0) << "no message named the path";
    ASSERT_GE(lines.size(), 3) << "the path should need more than one line at " << width << " pixels";
    const QString shown = lines.join(QLatin1Char('|'));
    EXPECT_FALSE(lines.contains(QStringLiteral("/"))) << shown.toStdString();
    // The path begins a line, and every line of it but the last ends at a separator.
    qsizetype first = 0;
    while (first < lines.size() && !lines[first].startsWith(QLatin1Char('/'))) ++first;
    ASSERT_LT(first, lines.size()) << shown.toStdString();
    EXPECT_EQ(lines.mid(first).join(QString()).toStdString(), path);
    for (qsizetype i = first; i + 1 < lines.size(); ++i) EXPECT_TRUE(lines[i].endsWith(QLatin1Char('/'))) << shown.toStdString();
}

TEST_F(Windows, AWindowWithoutRunnerReportsItsCommands) {
    Open({2, true, {}});
    TRunTestForm stray(nullptr, store, host->Handle(), kEmptyTestID, "stray");
    stray.MenuItemNext->trigger();
    platform::MessageHub().Send(host->Handle(), wm::WM_RUNTESTCOMMAND, rcResized,
                                static_cast<std::int32_t>(stray.Handle()));
    EXPECT_EQ(env.Messages, std::vector<std::string>{lang::GetMessageText("MAIN_F_NO_RUNTEST_WINDOW")});
    // A second run of an open test is refused.
    EXPECT_EQ(host->RunTest(kSixTestID), nullptr);
    ASSERT_EQ(env.Messages.size(), 2u);
    EXPECT_NE(env.Messages[1].find(lang::GetMessageText("RUNTEST_TEST_IS_ACTIVE")), std::string::npos);
}

TEST_F(Windows, TheTestWindowOpensFillingTheMdiAreaWithItsPageShowing) {
    Open({2, true, {}});
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), mdi.viewport()->size()));
    ASSERT_NE(Page().Page(), nullptr);
    EXPECT_EQ(Page().Page()->size(), form->size());
    // The instruction and the Next link under it are inside the window.
    const QRect link = Page().NavLink(TNavLinkKind::Next)->geometry();
    EXPECT_TRUE(form->rect().contains(QRect(Page().Panel()->mapTo(form, link.topLeft()), link.size())));
}

// The person starts a test from a control of the main window and goes on with the keyboard: the
// keys reach the test, on the instruction page the arrows frame the Next link, and Return on it
// goes on to the first question, whose answers the arrows reach next. The same holds for the
// full-screen window and for the window the run comes back to.
TEST_F(Windows, TheKeysGoToTheTestThatHasJustComeUp) {
    QWidget main;
    auto* starter = new QLineEdit(&main);
    auto* area = new QMdiArea(&main);
    starter->setGeometry(0, 0, 200, 30);
    area->setGeometry(0, 40, 800, 600);
    main.resize(800, 640);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    starter->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), starter);

    FillSixQuestions(store, {2, true, {}});
    host = std::make_unique<TRunnerHost>(store, area);
    form = host->RunTest(kSixTestID);
    ASSERT_NE(form, nullptr);
    Flush();
    const auto inForm = [](const QWidget* window) {
        const QWidget* focus = QApplication::focusWidget();
        return focus && (focus == window || window->isAncestorOf(focus));
    };
    ASSERT_TRUE(inForm(form));

    TStaticText* next = Page().NavLink(TNavLinkKind::Next);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->frameShape(), QFrame::NoFrame);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Page().FocusedNavLink(), TNavLinkKind::Next);
    EXPECT_EQ(next->frameShape(), QFrame::Box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Flush();
    ASSERT_EQ(Page().Heading()->text(), "Q0");
    ASSERT_TRUE(inForm(form));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Page().FocusedAnswer(), 0);
    EXPECT_EQ(Page().AnswerTexts()[0]->frameShape(), QFrame::Box);

    form->MenuItemMaximizeToScreen->trigger();
    TRunTestForm* full = host->FullScreenForm();
    ASSERT_NE(full, nullptr);
    Flush();
    EXPECT_TRUE(QTest::qWaitForWindowActive(full));
    EXPECT_TRUE(inForm(full));
    full->MenuItemMinimizeToMDI->trigger();
    Flush();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
    EXPECT_TRUE(inForm(form));
    host.reset();
    Flush();
}

TEST_F(Windows, AHeldSpaceTogglesOnceAndAReleaseActsOnlyAfterItsOwnPress) {
    Open({2, true, {}, true, 1});
    form->MenuItemNext->trigger();
    Flush();
    // Held down: one press, the window system's repeats, one release. The repeats come as a
    // release and a press of one moment, marked as repeats or (as the X server sends them) not.
    for (bool marked : {true, false}) {
        Page().FocusAnswer(0);
        Send(*form, QEvent::KeyPress, Qt::Key_Space);
        for (quint64 at = 50000; at < 50400; at += 40) {
            Send(*form, QEvent::KeyRelease, Qt::Key_Space, marked, at);
            Send(*form, QEvent::KeyPress, Qt::Key_Space, marked, at);
        }
        Send(*form, QEvent::KeyRelease, Qt::Key_Space);
        EXPECT_EQ(Runner().Chosen(), std::vector<std::int32_t>{AnswerID(0, 0)}) << marked;
        if (!marked) break;
        // Chosen once; a tap takes it back for the second round.
        Send(*form, QEvent::KeyPress, Qt::Key_Space);
        Send(*form, QEvent::KeyRelease, Qt::Key_Space);
        ASSERT_TRUE(Runner().Chosen().empty());
    }

    // Over the limit: Return shows the message once; the Return that closes the message box is
    // pressed in the box, and its release alone does not choose again.
    Page().FocusAnswer(1);
    Send(*form, QEvent::KeyPress, Qt::Key_Return);
    Send(*form, QEvent::KeyRelease, Qt::Key_Return);
    ASSERT_EQ(env.Messages.size(), 1u);
    for (int i = 0; i < 3; ++i) Send(*form, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(env.Messages.size(), 1u);

    // A press on one answer and its release on another does nothing.
    Page().FocusAnswer(0);
    Send(*form, QEvent::KeyPress, Qt::Key_Space);
    Page().FocusAnswer(2);
    Send(*form, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(Runner().Chosen(), std::vector<std::int32_t>{AnswerID(0, 0)});
    EXPECT_EQ(env.Messages.size(), 1u);
}

TEST_F(Windows, ReturnThatChoosesAMenuItemDoesNotChooseAnAnswer) {
    Open({3, true, {}});
    form->MenuItemNext->trigger();
    Flush();
    Page().FocusAnswer(0);
    // The popup menu takes the press and chooses Go To question 2 by it; the release then
    // arrives where the focus is.
    form->TestPopupMenu->popup(form->mapToGlobal(QPoint(10, 10)));
    Flush();
    ASSERT_TRUE(form->TestPopupMenu->isVisible());
    form->TestPopupMenu->setActiveAction(form->MenuItemGoto->menuAction());
    QTest::keyClick(form->TestPopupMenu, Qt::Key_Right);
    Flush();
    ASSERT_TRUE(form->MenuItemGoto->isVisible());
    form->MenuItemGoto->setActiveAction(form->MenuItemGoto->actions()[2]);
    QTest::keyPress(form->MenuItemGoto, Qt::Key_Return);
    Flush();
    EXPECT_EQ(Runner().Current(), 2);
    Page().FocusAnswer(0);   // wherever the focus went, an answer of the new page may hold it
    Send(*form, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_TRUE(Runner().Chosen().empty());
    EXPECT_TRUE(env.Messages.empty());
}

TEST_F(Windows, ArrowKeysReachAnswersAndLinksFromTheWindowAndRepeatNothing) {
    Open({2, true, {}});
    form->MenuItemNext->trigger();
    form->MenuItemNext->trigger();
    Flush();
    ASSERT_NE(Page().NavLink(TNavLinkKind::Back), nullptr);
    form->setFocus();
    // From the window itself into the page, through the answers and both links, press and release.
    std::vector<std::string> path;
    auto where = [&] {
        if (Page().FocusedAnswer() >= 0) return "answer " + std::to_string(Page().FocusedAnswer());
        if (Page().FocusedNavLink() == TNavLinkKind::Back) return std::string("back");
        if (Page().FocusedNavLink() == TNavLinkKind::Next) return std::string("next");
        return std::string("elsewhere");
    };
    for (int i = 0; i < 6; ++i) {
        Send(*form, QEvent::KeyPress, Qt::Key_Down);
        Send(*form, QEvent::KeyRelease, Qt::Key_Down);
        path.push_back(where());
    }
    EXPECT_EQ(path, (std::vector<std::string>{"answer 0", "answer 1", "answer 2", "back", "next", "answer 0"}));
    // A held arrow moves once.
    Send(*form, QEvent::KeyPress, Qt::Key_Right);
    for (quint64 at = 90000; at < 90120; at += 40) {
        Send(*form, QEvent::KeyRelease, Qt::Key_Right, false, at);
        Send(*form, QEvent::KeyPress, Qt::Key_Right, false, at);
    }
    Send(*form, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(where(), "answer 1");
    // Space on the Back link reached by the arrows goes back.
    Send(*form, QEvent::KeyPress, Qt::Key_Up);
    Send(*form, QEvent::KeyRelease, Qt::Key_Up);
    Send(*form, QEvent::KeyPress, Qt::Key_Up);
    Send(*form, QEvent::KeyRelease, Qt::Key_Up);
    ASSERT_EQ(where(), "next");
    Send(*form, QEvent::KeyPress, Qt::Key_Left);
    Send(*form, QEvent::KeyRelease, Qt::Key_Left);
    ASSERT_EQ(where(), "back");
    Send(*form, QEvent::KeyPress, Qt::Key_Space);
    Send(*form, QEvent::KeyRelease, Qt::Key_Space);
    Flush();
    EXPECT_EQ(Runner().Current(), 0);
}

namespace {

double Luminance(QRgb c) {
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

}  // namespace

TEST_F(Windows, AChosenAnswerIsMarkedYellowAndStaysLegible) {
    Open({2, true, {}});
    form->MenuItemNext->trigger();
    Flush();
    QTest::mouseClick(Page().AnswerTexts()[1], Qt::LeftButton);
    // The focus border elsewhere, so that only the mark and the text are drawn.
    Page().FocusAnswer(0);
    Runner().ExecuteCommand(rnTab);
    ASSERT_EQ(Page().AnswerTexts()[1]->frameShape(), QFrame::NoFrame);
    TStaticText* chosen = Page().AnswerTexts()[1];
    // The picture of the answer as the page shows it: the most common colour is its
    // background, the darkest its text.
    const QImage image = Page().Panel()->grab(chosen->geometry()).toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y) | 0xff000000u];
    QRgb background = 0;
    int most = 0;
    double darkest = 1;
    for (const auto& [colour, n] : counts) {
        if (n > most) {
            most = n;
            background = colour;
        }
        darkest = std::min(darkest, Luminance(colour));
    }
    EXPECT_EQ(QColor(background), TRunnerScreens::kChosen);
    const double contrast = (Luminance(background) + 0.05) / (darkest + 0.05);
    EXPECT_GE(contrast, 4.5);
}

TEST_F(Windows, TheGoToMenuIsTheRunsOwnAndCutsLongCaptions) {
    FillSixQuestions(store, {3, false, {}});
    ASSERT_TRUE(store.Stimuli.Locate(14));
    TStimul long4;
    store.GetStimulus(14, long4);
    long4.Name = std::string(3000, 'W');
    store.Stimuli.Delete();
    store.Stimuli.AddStimulus(long4);
    store.Stimuli.Sort();
    host = std::make_unique<TRunnerHost>(store, &mdi);
    mdi.resize(800, 700);
    mdi.show();
    form = host->RunTest(kSixTestID);
    ASSERT_NE(form, nullptr);
    form->MenuItemNext->trigger();
    form->MenuItemNext->trigger();
    // Two questions leave the project during the run; the full-screen window's menu is the run's.
    for (std::int32_t id : {10, 12}) {
        ASSERT_TRUE(store.Stimuli.Locate(id));
        store.Stimuli.Delete();
    }
    form->MenuItemMaximizeToScreen->trigger();
    TRunTestForm* full = host->FullScreenForm();
    ASSERT_NE(full, nullptr);
    const QList<QAction*> items = full->MenuItemGoto->actions();
    ASSERT_EQ(items.size(), 8);
    const char* names[] = {"Q0", "Q1", "Q2", "Q3"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(items[i]->text().toStdString(), names[i]) << i;
    EXPECT_FALSE(items[0]->isEnabled());   // visited
    EXPECT_FALSE(items[1]->isEnabled());
    EXPECT_TRUE(items[1]->isChecked());    // shown now
    EXPECT_TRUE(items[2]->isEnabled());
    EXPECT_TRUE(items[3]->isEnabled());
    items[3]->trigger();
    EXPECT_EQ(full->View().Heading()->text(), "Q3");
    // The long question's item ends in an ellipsis and keeps the menu narrow.
    const QString cut = items[4]->text();
    EXPECT_TRUE(cut.endsWith(QChar(0x2026))) << cut.size();
    EXPECT_LE(QFontMetrics(full->MenuItemGoto->font()).horizontalAdvance(cut), platform::kMaxMenuCaptionWidth);
    EXPECT_LT(full->MenuItemGoto->sizeHint().width(), 700);
    EXPECT_LT(form->MenuItemGoto->sizeHint().width(), 700);
}

TEST_F(Windows, ARunThatFailsAtItsFirstStepIsNotKept) {
    // The language file lacks the Next link's text: the instruction cannot be shown.
    TempDir dir;
    std::string text = ReadBytes(lang::LanguageFileName());
    const std::size_t at = text.find("RUNTEST_NAVBTN_NEXT=");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, text.find('\n', at) + 1 - at);
    WriteBytes(dir.File("language.txt"), text);
    TRunnerTestEnvironment broken(dir.File("language.txt"));
    FillSixQuestions(store, {2, true, {}});
    host = std::make_unique<TRunnerHost>(store, &mdi);
    mdi.show();
    EXPECT_EQ(host->RunTest(kSixTestID), nullptr);
    ASSERT_EQ(broken.Messages.size(), 1u);
    EXPECT_NE(broken.Messages[0].find("RUNTEST_NAVBTN_NEXT"), std::string::npos);
    EXPECT_EQ(host->RunnerCount(), 0);
    Flush();
    EXPECT_TRUE(mdi.subWindowList().isEmpty());
    EXPECT_FALSE(host->IsTestWindowOpen(kSixTestID));
}

TEST(FormReporter, CreateIsAvailableOnlyWithAFileName) {
    TFormReporter dialog;
    EXPECT_FALSE(dialog.ButtonCreate->isEnabled());
    EXPECT_TRUE(dialog.RadioButtonIsText->isChecked());
    EXPECT_FALSE(dialog.RadioButtonIsPDF->isEnabled());
    QTest::keyClicks(dialog.EditFileName, "report");
    EXPECT_TRUE(dialog.ButtonCreate->isEnabled());
    dialog.EditFileName->setText("   ");
    EXPECT_FALSE(dialog.ButtonCreate->isEnabled());
    EXPECT_EQ(dialog.DialogResult, 0);
}

TEST(FormReporter, TheSetupReadsWhatThePersonLeft) {
    struct Row {
        const char* Button;
        std::uint8_t Result;
    };
    for (const Row& row : {Row{"ButtonCreate", 1}, Row{"ButtonCancel", 2}, Row{"", 0}}) {
        platform::ScopedModalHook hook([&](QDialog& d) {
            auto& dialog = static_cast<TFormReporter&>(d);
            EXPECT_EQ(dialog.EditFileName->text(), "/tmp/old.txt");
            EXPECT_FALSE(dialog.CheckBoxShow->isChecked());
            dialog.EditFileName->setText("/tmp/new");
            dialog.CheckBoxShow->setChecked(true);
            if (auto* b = dialog.findChild<QPushButton*>(row.Button)) b->click();
            return d.result();
        });
        TFormReporterSetup setup;
        TReportSetupValues values{"/tmp/old.txt", false};
        EXPECT_EQ(setup.Execute(values), row.Result) << row.Button;
        EXPECT_EQ(values.FileName, "/tmp/new");
        EXPECT_TRUE(values.OpenAfter);
    }
}

TEST(FormReporter, BrowsingAndTheTextTypeSetTheName) {
    TFormReporter dialog;
    dialog.EditFileName->setText("  /tmp/a.b/old.rep  ");
    platform::TFileDialogRequest seen;
    platform::ScopedFileDialogHook hook([&](const platform::TFileDialogRequest& r) -> std::optional<std::string> {
        seen = r;
        return std::string("/tmp/chosen.rep");
    });
    dialog.BitBtnFileName->click();
    EXPECT_EQ(seen.FileName, "/tmp/a.b/old.rep");
    EXPECT_EQ(seen.Kind, platform::TFileDialogRequest::TKind::Save);
    EXPECT_TRUE(seen.OverwritePrompt);
    EXPECT_FALSE(seen.FileMustExist);   // a new report file may be named
    EXPECT_EQ(seen.Filter, TFormReporter::kFilter);
    EXPECT_EQ(dialog.EditFileName->text(), "/tmp/chosen.rep");
    dialog.RadioButtonIsText->click();
    EXPECT_EQ(dialog.EditFileName->text(), "/tmp/chosen.txt");
}

TEST(FormReporter, TheNameHasTheFocusAndReturnCreates) {
    std::vector<std::string> steps;
    platform::ScopedModalHook hook([&](QDialog& d) {
        auto& dialog = static_cast<TFormReporter&>(d);
        d.show();
        QWidget* focus = d.focusWidget();
        EXPECT_EQ(focus, dialog.EditFileName);
        if (!focus) return d.result();
        // Nothing to create yet: Return does nothing.
        QTest::keyClick(focus, Qt::Key_Return);
        steps.push_back(d.isVisible() ? "open" : "closed");
        QTest::keyClicks(focus, "/tmp/typed");
        QTest::keyClick(focus, Qt::Key_Return);
        steps.push_back(d.isVisible() ? "open" : "closed");
        return d.result();
    });
    TFormReporterSetup setup;
    TReportSetupValues values{"", true};
    EXPECT_EQ(setup.Execute(values), 1);
    EXPECT_EQ(values.FileName, "/tmp/typed");
    EXPECT_EQ(steps, (std::vector<std::string>{"open", "closed"}));
}
