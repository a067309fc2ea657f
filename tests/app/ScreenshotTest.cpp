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
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include <cstdlib>

#include "app/FormAbout.h"
#include "app/Grlink.h"
#include "app/MainForm.h"
#include "app/MenuImages.h"
#include "lang/DlgLangConverter.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtUserInteraction.h"
#include "runner/RunTestForm.h"
#include "runner/RunnerHost.h"
#include "runner/TestRunner.h"
#include "store/FileAccess.h"
#include "tests/app/AppTestSupport.h"
#include "tree/NodeKind.h"
#include "tree/ObjectsTree.h"
#include "tree/PropertyDialogs.h"
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
    void SavePixmap(const QPixmap& picture, const char* name) {
        const QString file = folder_ + "/" + name + ".png";
        ASSERT_TRUE(picture.save(file, "PNG")) << file.toStdString();
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

// The about box with the popup menu of its link, the end screen with the focus on a link, and
// what a person sees of a refused rename, a report path and a test without a creation date.
TEST(Screenshots, LinksMessagesAndDialogsAsTheyOpen) {
    const char* folder = std::getenv("SCREENSHOT_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "SCREENSHOT_DIR is not set";
    TAppTestEnvironment env;
    Pictures pictures(QString::fromLocal8Bit(folder));
    {
        TFormAbout about(nullptr);
        about.show();
        QApplication::setActiveWindow(&about);
        Flush();
        const QPoint at = about.GrlinkHomePage->mapTo(&about, QPoint(5, 5));
        QTest::mousePress(about.windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseRelease(about.windowHandle(), Qt::RightButton, {}, at);
        Flush();
        ASSERT_TRUE(about.GrlinkHomePage->PopupMenu->isVisible());
        // The popup is a window of its own: drawn into the picture where it stands.
        QPixmap picture = about.grab();
        QPainter painter(&picture);
        painter.drawPixmap(about.mapFromGlobal(about.GrlinkHomePage->PopupMenu->pos()),
                           about.GrlinkHomePage->PopupMenu->grab());
        painter.end();
        pictures.SavePixmap(picture, "about_link_popup");
        about.GrlinkHomePage->PopupMenu->hide();
    }
    TMainForm window(platform::FormatSettings::Posix());
    OpenTheExample(window, env);
    // Every question of the free test needs an answer: its end screen lists them as links.
    QTreeWidgetItem* free = nullptr;
    for (QTreeWidgetItemIterator it(window.Tree); *it; ++it)
        if (GetNodeKind(*it) == nkTest) free = *it;
    ASSERT_NE(free, nullptr);
    const std::int32_t freeID = GetNodeID(free);
    for (int i = 0; i < GlobalStore()->Stimuli.RecordCount(); ++i) {
        if (GlobalStore()->Stimuli.At(i).ParentID != freeID) continue;
        TStimul s = GlobalStore()->Stimuli.At(i);
        s.AnswerRequired = true;
        GlobalStore()->Stimuli.Locate(s.ID);
        GlobalStore()->Stimuli.EditStimulus(s);
    }
    Select(window, free);
    window.MenuItemObjectRunTest->trigger();
    Flush();
    auto* form = qobject_cast<TRunTestForm*>(window.MdiArea->subWindowList().back()->widget());
    ASSERT_NE(form, nullptr);
    form->MenuItemGoto->actions().back()->trigger();
    Flush();
    ASSERT_GE(form->View().EndLinks().size(), 2u);
    QApplication::setActiveWindow(&window);
    form->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(form, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    pictures.Save(window, "end_screen_link_focused");
    env.Answers.push_back(TMessageDialog::mrYes);
    form->MenuItemExit->trigger();
    Flush();

    platform::QtUserInteraction boxes;
    platform::IUserInteraction* recording = platform::SetUserInteraction(&boxes);
    platform::ScopedModalHook hook([&](QDialog& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        Flush();
        if (auto* box = qobject_cast<QMessageBox*>(&d)) {
            const bool rename = box->text().toStdString() == lang::GetMessageText("OBJECTSTREE_NAME_NOT_EMPTY");
            if (rename) pictures.Save(window, "rename_refused_tree");
            pictures.Save(d, rename ? "rename_refused_message" : "report_path_message");
        } else if (auto* f = qobject_cast<TTestForm*>(&d)) {
            f->PageControlMain->setCurrentWidget(f->TabSheetOptions);
            pictures.Save(d, "test_without_creation_date");
        }
        QTest::keyClick(&d, Qt::Key_Escape);
        return d.result();
    });
    // A rename to nothing.
    Select(window, free);
    window.Tree->setFocus();
    QTest::keyClick(window.Tree, Qt::Key_F2);
    Flush();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Flush();
    // A test without a creation date.
    TTest undated;
    GlobalStore()->GetTest(freeID, undated);
    undated.Created = 0;
    GlobalStore()->UpdateTest(freeID, undated);
    window.MenuItemObjectChange->trigger();
    Flush();
    // A long report path where no program opens the report.
    lang::ShowMessageText(lang::GetMessageText("REPORTER_NO_PROGRAM_TO_OPEN") + "\n" +
                          "/home/someone/Documents/a/long/folder/of/reports/for/the/study/habits/test/results.txt");
    platform::SetUserInteraction(recording);
    EXPECT_EQ(pictures.Saved.size(), 6);
}
