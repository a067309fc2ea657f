// The program's fixed dialogs as the window manager sees them: a title and a close box, nothing
// to minimise or maximise, a size the person cannot drag, and the middle of the desktop.
#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <functional>
#include <memory>

#include "app/FormAbout.h"
#include "app/FormAcknowledgments.h"
#include "app/ToolbarForm.h"
#include "runner/FormReporter.h"
#include "store/TypeList.h"
#include "tree/FindForm.h"
#include "tree/FormArrangeItems.h"
#include "platform/FormatSettings.h"
#include "tree/PropertyDialogs.h"
#include "tests/app/AppTestSupport.h"

namespace {

struct TDialogCase {
    const char* Name;
    std::function<std::unique_ptr<QWidget>()> Make;
};

}  // namespace

TEST(DialogBorder, FixedDialogsHaveATitleAndACloseBoxOnlyAndOpenInTheMiddleOfTheDesktop) {
    TTypeTAnyObjectSingleList nothingToArrange;
    const TDialogCase cases[] = {
        {"scale", [] { return std::make_unique<TScaleForm>(nullptr); }},
        {"test", [] { return std::make_unique<TTestForm>(nullptr, platform::FormatSettings::Posix()); }},
        {"find", [] { return std::make_unique<TFindForm>(nullptr); }},
        {"arrange", [&] { return std::make_unique<TFormArrangeItems>(nullptr, &nothingToArrange); }},
        {"report setup", [] { return std::make_unique<TFormReporter>(nullptr); }},
        {"about", [] { return std::make_unique<TFormAbout>(nullptr); }},
        {"acknowledgments", [] { return std::make_unique<TFormAcknowledgments>(nullptr); }},
        {"toolbar setup",
         [] {
             return std::make_unique<TToolbarForm>(nullptr, platform::kNoWindow, true, true, true, true, true, "F", "E",
                                                   "V", "O", "H");
         }},
    };
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    for (const TDialogCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<QWidget> w = c.Make();
        const Qt::WindowFlags flags = w->windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
        // Without the customize hint the window manager adds its own boxes.
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_TRUE(flags & Qt::WindowTitleHint);
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
        w->show();
        EXPECT_EQ(w->minimumSize(), w->maximumSize());
        EXPECT_LE((w->geometry().center() - desk.center()).manhattanLength(), 8)
            << "at " << w->geometry().center().x() << "," << w->geometry().center().y();
        w->hide();
    }
}
