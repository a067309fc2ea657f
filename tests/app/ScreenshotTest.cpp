// Pictures of the program for the eye: with SCREENSHOT_DIR set, the main window with the example
// project open, a test with a chosen answer in its window as Run Test opens it, and a test running
// maximized (instruction, a question with its chosen answer, the end screen), and two tests
// cascaded and tiled, are saved there as PNG files. Without it nothing is drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include <cstdlib>

#include "app/MainForm.h"
#include "app/MenuImages.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "runner/TestRunner.h"
#include "store/FileAccess.h"
#include "tests/app/AppTestSupport.h"
#include "tree/NodeKind.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeNode.h"

namespace {

class Pictures {
public:
    explicit Pictures(QString folder) : folder_(std::move(folder)) { QDir().mkpath(folder_); }
    void Save(QWidget& window, const char* name) {
        Flush();
        const QString file = folder_ + "/" + name + ".png";
        ASSERT_TRUE(window.grab().save(file, "PNG")) << file.toStdString();
        const QImage image(file);
        EXPECT_EQ(image.size(), window.size()) << name;
        Saved << file;
    }
    QStringList Saved;

private:
    QString folder_;
};

// The main window as the pictures show it, with the example project open.
void OpenTheExample(TMainForm& window, TAppTestEnvironment& env) {
    window.resize(1100, 720);
    window.show();
    env.Files.push_back(std::string(ORVEL_SOURCE_DIR) + "/samples/example.kvd");
    window.MenuItemProjectOpen->trigger();
    ASSERT_NE(GlobalStore(), nullptr);
}

}  // namespace

TEST(Screenshots, TheMainWindowWithTheExampleAndATestRunning) {
    const char* folder = std::getenv("SCREENSHOT_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "SCREENSHOT_DIR is not set";
    TAppTestEnvironment env;
    Pictures pictures(QString::fromLocal8Bit(folder));
    // As start-up sets it for every window.
    const QIcon icon = QApplication::windowIcon();
    QApplication::setWindowIcon(ProgramIcon());
    {
        TMainForm window(platform::FormatSettings::Posix());
        OpenTheExample(window, env);
        QTreeWidgetItem* test = FindNode(window, nkTest, -1);
        ASSERT_NE(test, nullptr);
        // The first test open down to its answers, so both tests fit in the picture.
        for (QTreeWidgetItem* up = test; up; up = up->parent()) up->setExpanded(true);
        window.Tree->ExpandAll(test);
        for (QTreeWidgetItemIterator it(window.Tree); *it; ++it)
            if (GetNodeKind(*it) == nkScale || GetNodeKind(*it) == nkAnswer) (*it)->setExpanded(false);
        Select(window, test);
        pictures.Save(window, "main_window");

        // The second test as Run Test opens it, nothing resized, with an answer chosen.
        QTreeWidgetItem* second = nullptr;
        for (QTreeWidgetItemIterator it(window.Tree); *it; ++it)
            if (GetNodeKind(*it) == nkTest && *it != test) second = *it;
        ASSERT_NE(second, nullptr);
        Select(window, second);
        window.MenuItemObjectRunTest->trigger();
        Flush();
        ASSERT_EQ(window.Runners().RunnerCount(), 1);
        auto* opened = qobject_cast<TRunTestForm*>(window.MdiArea->subWindowList().back()->widget());
        ASSERT_NE(opened, nullptr);
        opened->MenuItemNext->trigger();
        Flush();
        QTest::mouseClick(opened->View().AnswerTexts().at(0), Qt::LeftButton);
        ASSERT_EQ(window.Runners().FindRunner(opened->Handle())->Chosen().size(), 1u);
        pictures.Save(window, "test_as_opened");

        Select(window, test);
        window.MenuItemObjectRunTest->trigger();
        Flush();
        ASSERT_EQ(window.Runners().RunnerCount(), 2);
        auto* sub = window.MdiArea->subWindowList().back();
        sub->showMaximized();
        auto* form = qobject_cast<TRunTestForm*>(sub->widget());
        ASSERT_NE(form, nullptr);
        pictures.Save(window, "test_instruction");

        TTestRunner* runner = window.Runners().FindRunner(form->Handle());
        form->MenuItemNext->trigger();
        ASSERT_EQ(runner->Screen(), rsStimulus);
        Flush();
        QTest::mouseClick(form->View().AnswerTexts().at(1), Qt::LeftButton);
        EXPECT_EQ(runner->Chosen().size(), 1u);
        pictures.Save(window, "test_question");

        while (runner->Screen() == rsStimulus) {
            Flush();
            QTest::mouseClick(form->View().AnswerTexts().at(0), Qt::LeftButton);
            form->MenuItemNext->trigger();
        }
        ASSERT_EQ(runner->Screen(), rsEndScreen);
        pictures.Save(window, "test_end_screen");
    }
    QApplication::setWindowIcon(icon);
    EXPECT_EQ(pictures.Saved.size(), 5);
}

// Both tests of the example running, cascaded and then tiled through the Window menu.
TEST(Screenshots, TwoTestsCascadedAndTiled) {
    const char* folder = std::getenv("SCREENSHOT_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "SCREENSHOT_DIR is not set";
    TAppTestEnvironment env;
    Pictures pictures(QString::fromLocal8Bit(folder));
    TMainForm window(platform::FormatSettings::Posix());
    OpenTheExample(window, env);
    for (QTreeWidgetItemIterator it(window.Tree); *it; ++it) {
        if (GetNodeKind(*it) != nkTest) continue;
        Select(window, *it);
        window.MenuItemObjectRunTest->trigger();
        Flush();
    }
    ASSERT_EQ(window.Runners().RunnerCount(), 2);
    window.CascadeMenuItem->trigger();
    pictures.Save(window, "tests_cascaded");
    window.TileMenuItem->trigger();
    pictures.Save(window, "tests_tiled");
    EXPECT_EQ(pictures.Saved.size(), 2);
}
