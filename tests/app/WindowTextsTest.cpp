// Every text a window shows comes from the language file: no caption, hint, title or menu item of
// any window, its popup menus included, is the marker of a missing key.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/FormAbout.h"
#include "app/FormAcknowledgments.h"
#include "app/Grlink.h"
#include "app/HelpViewerForm.h"
#include "app/MainForm.h"
#include "app/SplashForm.h"
#include "app/ToolbarForm.h"
#include "exchange/FormExportTest.h"
#include "exchange/FormImportTest.h"
#include "lang/LanguageController.h"
#include "platform/FormatSettings.h"
#include "runner/FormReporter.h"
#include "runner/RunTestForm.h"
#include "store/FileAccess.h"
#include "store/TypeList.h"
#include "tests/app/AppTestSupport.h"
#include "tree/FindForm.h"
#include "tree/FormArrangeItems.h"
#include "tree/PropertyDialogs.h"

namespace {

// "object: what" for every text of the object and everything it owns that holds the marker.
std::vector<std::string> MissingTexts(QObject& top) {
    std::vector<std::string> missing;
    const QString absent = QString::fromLatin1(TLanguageTexts::kAbsent);
    std::vector<QObject*> objects{&top};
    for (QObject* o : top.findChildren<QObject*>()) objects.push_back(o);
    for (QObject* o : objects) {
        const auto check = [&](const QString& text, const char* what) {
            if (text.contains(absent)) missing.push_back(o->objectName().toStdString() + ": " + what);
        };
        if (auto* a = qobject_cast<QAction*>(o)) {
            check(a->text(), "text");
            check(a->toolTip(), "tip");
            check(a->statusTip(), "status tip");
            continue;
        }
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) continue;
        check(w->windowTitle(), "title");
        check(w->toolTip(), "tip");
        check(w->statusTip(), "status tip");
        if (auto* m = qobject_cast<QMenu*>(w)) check(m->title(), "menu title");
        if (auto* b = qobject_cast<QAbstractButton*>(w)) check(b->text(), "caption");
        if (auto* l = qobject_cast<QLabel*>(w)) check(l->text(), "caption");
        if (auto* g = qobject_cast<QGroupBox*>(w)) check(g->title(), "caption");
        if (auto* e = qobject_cast<QLineEdit*>(w)) check(e->placeholderText(), "placeholder");
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) check(c->itemText(i), "item");
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) {
                check(t->tabText(i), "tab");
                check(t->tabToolTip(i), "tab tip");
            }
    }
    return missing;
}

// A window of the program as a person meets it, by name.
using TWindowMaker = std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>;

}  // namespace

TEST(WindowTexts, NoWindowShowsTheMarkOfAMissingKey) {
    TAppTestEnvironment env;
    TTypeTAnyObjectSingleList nothingToArrange;
    const platform::FormatSettings posix = platform::FormatSettings::Posix();
    TFileAccess noProject;
    const TWindowMaker cases[] = {
        {"main window", [&] { return std::make_unique<TMainForm>(posix); }},
        {"splash", [] { return std::make_unique<TSplashForm>(); }},
        {"about", [] { return std::make_unique<TFormAbout>(nullptr); }},
        {"acknowledgments", [] { return std::make_unique<TFormAcknowledgments>(nullptr); }},
        {"toolbar setup",
         [] {
             return std::make_unique<TToolbarForm>(nullptr, platform::kNoWindow, true, true, true, true, true, "F", "E",
                                                   "V", "O", "H");
         }},
        {"help viewer", [] { return std::make_unique<THelpViewerForm>(); }},
        {"report setup", [] { return std::make_unique<TFormReporter>(nullptr); }},
        {"export", [] { return std::make_unique<TFormExportTest>(nullptr); }},
        {"import", [] { return std::make_unique<TFormImportTest>(nullptr); }},
        {"find", [] { return std::make_unique<TFindForm>(nullptr); }},
        {"arrange", [&] { return std::make_unique<TFormArrangeItems>(nullptr, &nothingToArrange); }},
        {"test group", [] { return std::make_unique<TTestGroupForm>(nullptr); }},
        {"test", [&] { return std::make_unique<TTestForm>(nullptr, posix); }},
        {"question", [] { return std::make_unique<TStimulForm>(nullptr); }},
        {"answer", [] { return std::make_unique<TReactionForm>(nullptr); }},
        {"scale", [] { return std::make_unique<TScaleForm>(nullptr); }},
        {"interpretation", [&] { return std::make_unique<TInterpretationForm>(nullptr, posix); }},
        {"weight", [&] { return std::make_unique<TWeightForm>(nullptr, posix); }},
        {"test window", [&] { return std::make_unique<TRunTestForm>(nullptr, noProject, platform::kNoWindow, 1, "T"); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> w = make();
        w->show();
        Flush();
        const std::vector<std::string> missing = MissingTexts(*w);
        EXPECT_TRUE(missing.empty()) << missing.size() << " texts, the first " << missing.front();
        w->hide();
    }
}

// The popup menu of the about box's links, opened with the right button as a person does.
TEST(WindowTexts, TheAboutBoxLinksPopupShowsItsCopyItemAndCopiesTheCaption) {
    TAppTestEnvironment env;
    TFormAbout about(nullptr);
    about.show();
    QApplication::setActiveWindow(&about);
    Flush();
    for (TGrlink* link : {about.GrlinkHomePage, about.GrlinkSupport}) {
        SCOPED_TRACE(link->objectName().toStdString());
        // Through the window, as the window system delivers it, so that the press asks for the menu.
        const QPoint at = link->mapTo(&about, QPoint(5, 5));
        QTest::mousePress(about.windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseRelease(about.windowHandle(), Qt::RightButton, {}, at);
        Flush();
        ASSERT_TRUE(link->PopupMenu->isVisible());
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_EQ(popup, link->PopupMenu);
        const std::vector<std::string> missing = MissingTexts(*popup);
        EXPECT_TRUE(missing.empty()) << missing.size() << " texts, the first " << missing.front();
        ASSERT_EQ(popup->actions().size(), 1);
        EXPECT_EQ(popup->actions().front()->text(), "&Copy");
        EXPECT_EQ(popup->actions().front()->toolTip(), "Copy");
        // The item chosen from the keyboard: the caption goes to the clipboard.
        QApplication::clipboard()->setText("before");
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        Flush();
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(QApplication::clipboard()->text(), link->text());
    }
}
