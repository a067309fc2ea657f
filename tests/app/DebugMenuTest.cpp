// The hidden Debugging menu: Show DM and Hide DM create and free the store's debug window.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPlainTextEdit>

#include "app/MainForm.h"
#include "store/FormDatastoreDebug.h"
#include "tests/app/AppTestSupport.h"

namespace {

TEST(DebugMenu, ShowAndHideTheStoresDebugWindowOnceEach) {
    TAppTestEnvironment env;
    TMainForm window(platform::FormatSettings::Posix());
    window.MenuItemProjectCreate->trigger();
    // The menu itself stays hidden; its items start as Show on, Hide off.
    EXPECT_FALSE(window.MenuItemDebugging->menuAction()->isVisible());
    EXPECT_TRUE(window.MenuItemDebugShowDM->isEnabled());
    EXPECT_FALSE(window.MenuItemDebugHideDM->isEnabled());

    window.MenuItemDebugShowDM->trigger();
    ASSERT_TRUE(window.DebugForm);
    QPointer<TFormDatastoreDebug> shown = window.DebugForm.data();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->MemoTests->toPlainText(), "TESTS\n");
    EXPECT_FALSE(window.MenuItemDebugShowDM->isEnabled());
    EXPECT_TRUE(window.MenuItemDebugHideDM->isEnabled());
    // A second Show keeps the window there is.
    window.MenuItemDebugShowDMClick();
    EXPECT_EQ(window.DebugForm, shown);

    window.MenuItemDebugHideDM->trigger();
    EXPECT_FALSE(shown);
    EXPECT_FALSE(window.DebugForm);
    EXPECT_TRUE(window.MenuItemDebugShowDM->isEnabled());
    EXPECT_FALSE(window.MenuItemDebugHideDM->isEnabled());
    window.MenuItemDebugHideDMClick();
    EXPECT_TRUE(env.Interaction.Messages.empty());
}

}  // namespace
