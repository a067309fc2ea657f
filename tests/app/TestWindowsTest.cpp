// Running test windows in the main window as the person at the screen meets them: arranged
// through the Window menu, and the Edit commands used while a test window has the keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <functional>
#include <memory>

#include "app/MainForm.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/CommandCases.h"
#include "tests/support/TempDir.h"
#include "tree/NodeKind.h"
#include "tree/ObjectsTree.h"

namespace {

class TestWindows : public ::testing::Test {
public:
    void Open(const QSize& size) {
        window = std::make_unique<TMainForm>(platform::FormatSettings::Posix());
        window->resize(size);
        window->show();
        Flush();
        const std::string path = dir.File("project.kvd");
        WriteProject(path, FillCommandCaseProject);
        env.Files.push_back(path);
        window->MenuItemProjectOpen->trigger();
        Flush();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        Flush();
    }
    TRunTestForm* Run(std::int32_t testID) {
        Select(*window, FindNode(*window, nkTest, testID));
        window->MenuItemObjectRunTest->trigger();
        Flush();
        for (QMdiSubWindow* sub : window->MdiArea->subWindowList())
            if (auto* form = qobject_cast<TRunTestForm*>(sub->widget()); form && form->GetTestID() == testID)
                return form;
        return nullptr;
    }
    // The person opens a menu of the menu bar with its Alt key and clicks one of its items.
    void ChooseFromMenu(Qt::Key menuKey, QAction* item) {
        QTest::keyClick(QApplication::focusWidget(), menuKey, Qt::AltModifier);
        Flush();
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu came up";
        ASSERT_TRUE(menu->actions().contains(item)) << menu->objectName().toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        Flush();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    // A click on the page of the test window, where the person answers.
    void ClickInto(TRunTestForm& form) {
        QTest::mouseClick(form.View().Panel(), Qt::LeftButton, {}, QPoint(5, 5));
        Flush();
        ASSERT_TRUE(InWindow(form));
    }
    static bool InWindow(TRunTestForm& form) {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == &form || form.isAncestorOf(focus));
    }

    TAppTestEnvironment env;
    TempDir dir;
    std::unique_ptr<TMainForm> window;
};

// The smallest page that a cascaded window may show: the design size, or what the area leaves
// after one step for the window behind.
QSize LeastPage(const QSize& area, const QMdiSubWindow& sub) {
    const QSize frame = sub.size() - sub.widget()->size();
    const int step = sub.widget()->geometry().top();
    return TRunTestForm::DesignSize().boundedTo(area - frame - QSize(step, step));
}

// Every window lies inside the area with its page at least that large; the windows stand in a
// staircase, each further down and right than the one behind it, so that no title bar is hidden.
void ExpectCascaded(TMainForm& window) {
    const QRect area(QPoint(0, 0), window.MdiArea->viewport()->size());
    const QList<QMdiSubWindow*> stack = window.MdiArea->subWindowList(QMdiArea::StackingOrder);
    ASSERT_GE(stack.size(), 2);
    for (int i = 0; i < stack.size(); ++i) {
        const QMdiSubWindow& sub = *stack[i];
        SCOPED_TRACE(i);
        EXPECT_FALSE(sub.isMaximized());
        EXPECT_TRUE(area.contains(sub.geometry())) << sub.geometry().x() << "," << sub.geometry().y() << " "
                                                   << sub.width() << "x" << sub.height();
        const QSize least = LeastPage(area.size(), sub);
        EXPECT_GE(sub.widget()->width(), least.width());
        EXPECT_GE(sub.widget()->height(), least.height());
        if (i > 0) {
            const QRect behind = stack[i - 1]->geometry();
            const int title = stack[i - 1]->widget()->geometry().top();
            EXPECT_GE(sub.y() - behind.y(), title) << "the title bar behind is covered";
            EXPECT_GT(sub.x(), behind.x());
        }
    }
    // The front window is the active one, its page showing.
    EXPECT_EQ(window.MdiArea->activeSubWindow(), stack.back());
    auto* front = qobject_cast<TRunTestForm*>(stack.back()->widget());
    ASSERT_NE(front, nullptr);
    EXPECT_TRUE(front->View().Heading()->isVisible());
    EXPECT_EQ(front->View().Page()->geometry(), front->rect());
}

}  // namespace

TEST_F(TestWindows, CascadeLeavesEveryWindowItsPageAndEveryTitleBarInSight) {
    // A roomy main window and one whose area is smaller than a test window's design size.
    for (const QSize size : {QSize(1100, 820), QSize(760, 520)}) {
        SCOPED_TRACE(size.width());
        Open(size);
        TRunTestForm* first = Run(1);
        TRunTestForm* second = Run(2);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        ChooseFromMenu(Qt::Key_W, window->CascadeMenuItem);
        ExpectCascaded(*window);
        EXPECT_EQ(window->MdiArea->activeSubWindow()->widget(), second);

        // The window behind, activated through its Window-menu item, comes to the front; a new
        // cascade keeps it there.
        window->WindowMenuItems()[0]->trigger();
        Flush();
        ChooseFromMenu(Qt::Key_W, window->CascadeMenuItem);
        ExpectCascaded(*window);
        EXPECT_EQ(window->MdiArea->activeSubWindow()->widget(), first);

        // A maximized window is cascaded with the others.
        qobject_cast<QMdiSubWindow*>(first->parentWidget())->showMaximized();
        Flush();
        ChooseFromMenu(Qt::Key_W, window->CascadeMenuItem);
        ExpectCascaded(*window);
        window.reset();
        Flush();
    }
}

TEST_F(TestWindows, TileSharesTheAreaAfterACascade) {
    Open(QSize(1100, 820));
    ASSERT_NE(Run(1), nullptr);
    ASSERT_NE(Run(2), nullptr);
    ChooseFromMenu(Qt::Key_W, window->CascadeMenuItem);
    ChooseFromMenu(Qt::Key_W, window->TileMenuItem);
    const QRect area(QPoint(0, 0), window->MdiArea->viewport()->size());
    const QList<QMdiSubWindow*> subs = window->MdiArea->subWindowList();
    ASSERT_EQ(subs.size(), 2);
    EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry()));
    int covered = 0;
    for (QMdiSubWindow* sub : subs) {
        EXPECT_TRUE(area.contains(sub->geometry()));
        covered += sub->width() * sub->height();
    }
    // Side by side or one above the other, the two fill the area between them.
    EXPECT_GE(covered, area.width() * area.height() * 9 / 10);
}

// Cut, Copy and Paste by their keys and from the Edit menu reach the tree while the keyboard
// stays in the running test, where the person is answering.
TEST_F(TestWindows, EditCommandsLeaveTheFocusInTheTestWindow) {
    Open(QSize(1100, 820));
    TRunTestForm* form = Run(1);
    ASSERT_NE(form, nullptr);
    TObjectsTree& tree = *window->Tree;
    // The person picks a node in the tree, clicks back into the test and gives the command.
    const auto onNode = [&](int kind, std::int32_t under, const std::function<void()>& command) {
        Select(*window, FindNode(*window, kind, under));
        ClickInto(*form);
        command();
        EXPECT_TRUE(InWindow(*form)) << "kind " << kind;
    };
    const auto byKey = [](Qt::Key key) {
        return [key] {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            Flush();
        };
    };
    const auto byMenu = [this](QAction* item) { return [this, item] { ChooseFromMenu(Qt::Key_E, item); }; };

    onNode(nkScale, 1, byKey(Qt::Key_C));
    EXPECT_EQ(tree.MarkedNode(), FindNode(*window, nkScale, 1));
    onNode(nkScalesFolder, 3, byKey(Qt::Key_V));
    EXPECT_EQ(GlobalStore()->ScaleCount(3), 1);
    onNode(nkScale, 3, byKey(Qt::Key_X));
    EXPECT_EQ(tree.MarkedNode(), FindNode(*window, nkScale, 3));

    // The same from the menu: Copy of the scale, Paste into the empty test's scales, Cut.
    onNode(nkScale, 1, byMenu(window->MenuItemEditCopy));
    EXPECT_EQ(tree.MarkedNode(), FindNode(*window, nkScale, 1));
    onNode(nkScalesFolder, 3, byMenu(window->MenuItemEditPaste));
    EXPECT_EQ(GlobalStore()->ScaleCount(3), 2);
    onNode(nkQuestion, 1, byMenu(window->MenuItemEditCut));
    EXPECT_EQ(tree.MarkedNode(), FindNode(*window, nkQuestion, 1));
}

// With the keyboard in the tree the commands keep it there.
TEST_F(TestWindows, EditCommandsFromTheTreeKeepTheFocusInTheTree) {
    Open(QSize(1100, 820));
    Select(*window, FindNode(*window, nkScale, 1));
    window->Tree->setFocus(Qt::MouseFocusReason);
    PressKey(*window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(window->Tree->MarkedNode(), FindNode(*window, nkScale, 1));
    EXPECT_EQ(QApplication::focusWidget(), window->Tree);
}
