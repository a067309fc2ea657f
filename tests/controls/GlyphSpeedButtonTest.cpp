#include "controls/GlyphSpeedButton.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <vector>

#include <gtest/gtest.h>

#include "controls/ControlUtilities.h"

namespace {

const QColor kMagenta(255, 0, 255);

// count images of size x size side by side, image i filled with colours[i], a black pixel at
// (1, 1) and the magenta ground at the bottom-left corner.
QImage Strip(int count, int size, const std::vector<QColor>& colours) {
    QImage image(count * size, size, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        QPainter p(&image);
        p.fillRect(QRect(i * size, 0, size, size), colours[static_cast<std::size_t>(i)]);
        image.setPixel(i * size + 1, 1, qRgb(0, 0, 0));
        image.setPixel(i * size, size - 1, kMagenta.rgb());
    }
    return image;
}

void Press(QWidget& w, QPoint at) { QTest::mousePress(&w, Qt::LeftButton, {}, at); }
void Move(QWidget& w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
}
void Release(QWidget& w, QPoint at) { QTest::mouseRelease(&w, Qt::LeftButton, {}, at); }

QImage Render(QWidget& w) {
    QImage image(w.size(), QImage::Format_RGB32);
    w.render(&image);
    return image;
}

}  // namespace

TEST(GlyphSpeedButton, Defaults) {
    TGlyphSpeedButton button;
    EXPECT_EQ(button.size(), QSize(25, 25));
    EXPECT_EQ(button.GroupIndex(), 0);
    EXPECT_EQ(button.Style(), bsAutoDetect);
    EXPECT_EQ(button.Layout(), blGlyphTop);
    EXPECT_EQ(button.Spacing(), 1);
    EXPECT_EQ(button.Margin(), -1);
    EXPECT_EQ(button.ModalResult, 0);
    EXPECT_TRUE(button.GrayedInactive());
    EXPECT_TRUE(button.MarkDropDown());
    EXPECT_EQ(button.InitPause, 500);
    EXPECT_EQ(button.RepeatInterval, 100);
    EXPECT_EQ(button.NumGlyphs(), 1);
    EXPECT_EQ(button.Alignment(), taCenter);
    EXPECT_FALSE(button.WordWrap());
    EXPECT_EQ(button.ButtonState(), TButtonState::Up);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

TEST(GlyphSpeedButton, GlyphCountsFollowThePicture) {
    struct Case {
        QSize size;
        int before;   // NumGlyphs set before the glyph
        int after;
    };
    const Case cases[] = {
        {{56, 14}, 1, 4}, {{84, 14}, 3, 1}, {{14, 12}, 1, 1}, {{14, 12}, 2, 2},
        {{14, 14}, 3, 1}, {{70, 14}, 1, 5}, {{28, 14}, 1, 2}, {{0, 0}, 2, 2},
    };
    for (const Case& c : cases) {
        TGlyphSpeedButton button;
        button.SetNumGlyphs(c.before);
        QImage glyph(c.size, QImage::Format_RGB32);
        glyph.fill(Qt::red);
        button.SetGlyph(glyph);
        EXPECT_EQ(button.NumGlyphs(), c.after) << c.size.width() << "x" << c.size.height();
    }

    // Limits of the writers.
    TGlyphSpeedButton button;
    button.SetNumGlyphs(7);
    EXPECT_EQ(button.NumGlyphs(), 5);
    button.SetNumGlyphs(0);
    EXPECT_EQ(button.NumGlyphs(), 5);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), -1);
    button.SetMargin(3);
    button.SetMargin(-5);
    EXPECT_EQ(button.Margin(), 3);
    button.SetMargin(-1);
    EXPECT_EQ(button.Margin(), -1);
}

// The image of each state for each image count: taken from its own image, from the first, or
// made (the embossed form, the grey form).
TEST(GlyphSpeedButton, StateImages) {
    const std::vector<QColor> colours = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
    enum Source { Image0, Image1, Image2, Image3, Image4, Embossed, GreyOfImage0 };
    struct Case {
        int count;
        TButtonState state;
        Source source;
    };
    using S = TButtonState;
    const Case cases[] = {
        {1, S::Up, Image0},       {1, S::Disabled, Embossed},  {1, S::Down, Image0},
        {1, S::Exclusive, Image0}, {1, S::Inactive, GreyOfImage0},
        {2, S::Up, Image0},       {2, S::Disabled, Image1},    {2, S::Down, Image0},
        {2, S::Exclusive, Image0}, {2, S::Inactive, GreyOfImage0},
        {3, S::Down, Image2},     {3, S::Exclusive, Image0},
        {4, S::Down, Image2},     {4, S::Exclusive, Image3},   {4, S::Inactive, GreyOfImage0},
        {5, S::Disabled, Image1}, {5, S::Exclusive, Image3},   {5, S::Inactive, Image4},
    };
    const controls::TFaceColors face = controls::TFaceColors::Current();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " images, state " << static_cast<int>(c.state));
        TButtonGlyph glyph;
        glyph.SetGlyph(Strip(c.count, 8, colours));
        ASSERT_EQ(glyph.NumGlyphs(), c.count);
        const QImage image = glyph.StateImagePixmap(c.state).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(8, 8));
        // The magenta ground is transparent in every image.
        EXPECT_EQ(qAlpha(image.pixel(0, 7)), 0);
        switch (c.source) {
        case Embossed:
            EXPECT_EQ(image.pixel(1, 1), face.BtnShadow.rgb());
            EXPECT_EQ(image.pixel(2, 2), face.BtnHighlight.rgb());
            EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);   // the face colour is transparent
            break;
        case GreyOfImage0:
            EXPECT_EQ(image.pixel(5, 5), qRgb(76, 76, 76));   // (77 x 255) >> 8 of pure red
            EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
            break;
        default:
            EXPECT_EQ(image.pixel(5, 5), colours[static_cast<std::size_t>(c.source)].rgb());
            EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
            break;
        }
    }
}

TEST(GlyphSpeedButton, ImagesOfOneSizeShareOneListAndFreedSlotsAreReused) {
    const std::vector<QColor> colours = {Qt::red};
    auto first = std::make_unique<TButtonGlyph>();
    auto second = std::make_unique<TButtonGlyph>();
    first->SetGlyph(Strip(1, 8, colours));
    second->SetGlyph(Strip(1, 8, colours));
    first->BuildStateImage(TButtonState::Up);
    second->BuildStateImage(TButtonState::Up);
    second->BuildStateImage(TButtonState::Disabled);
    ASSERT_NE(first->ImageList, nullptr);
    EXPECT_EQ(first->ImageList, second->ImageList);
    EXPECT_EQ(first->ImageList->Count(), 3);
    EXPECT_EQ(first->BuildStateImage(TButtonState::Up), first->StateImage[0]);   // built once

    TGlyphList* list = first->ImageList;
    const int freed = second->StateImage[0];
    second->ReleaseImages();
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Capacity(), 3);
    first->BuildStateImage(TButtonState::Inactive);
    EXPECT_TRUE(first->StateImage[4] == freed || first->StateImage[4] == 2);
    EXPECT_EQ(list->Capacity(), 3);

    // Another size takes a list of its own; the last image gone frees the list and the cache.
    second->SetGlyph(Strip(1, 6, colours));
    second->BuildStateImage(TButtonState::Up);
    EXPECT_NE(second->ImageList, list);
    EXPECT_EQ(TGlyphCache::Shared()->ListCount(), 2);
    second.reset();
    EXPECT_EQ(TGlyphCache::Shared()->ListCount(), 1);
    first.reset();
    EXPECT_EQ(TGlyphCache::Shared(), nullptr);
}

TEST(GlyphSpeedButton, GlyphIsCentredInsideTheFrame) {
    TGlyphSpeedButton button;
    QImage glyph(14, 12, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    glyph.setPixel(0, 11, kMagenta.rgb());
    button.SetGlyph(glyph);
    for (const QSize size : {QSize(25, 25), QSize(21, 21), QSize(30, 22)}) {
        button.resize(size);
        const QImage face = Render(button);
        QRect red;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (face.pixel(x, y) == qRgb(255, 0, 0)) red |= QRect(x, y, 1, 1);
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        EXPECT_EQ(red.size(), QSize(14, 12));
        EXPECT_LE(std::abs(red.left() - (size.width() - 1 - red.right())), 1);
        EXPECT_LE(std::abs(red.top() - (size.height() - 1 - red.bottom())), 1);
    }
}

TEST(GlyphSpeedButton, LayoutPlacesGlyphAndCaption) {
    TButtonGlyph glyph;
    QImage picture(10, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    glyph.SetGlyph(picture);
    glyph.SetNumGlyphs(1);
    const QFontMetrics metrics(QApplication::font());
    const QRect client(2, 3, 100, 40);
    const QString caption = "Go";
    const int textW = metrics.boundingRect(QRect(0, 0, 100, 40), Qt::AlignCenter, caption).width();

    // Margin 4, spacing 2: glyph at the margin, caption after the spacing.
    auto at = glyph.ComputeLayout(client, caption, metrics, blGlyphLeft, 4, 2, false);
    EXPECT_EQ(at.GlyphPos, QPoint(2 + 4, 3 + 20 - 4));
    EXPECT_EQ(at.TextBounds.left(), 2 + 4 + 10 + 2);
    at = glyph.ComputeLayout(client, caption, metrics, blGlyphRight, 4, 2, false);
    EXPECT_EQ(at.GlyphPos.x(), 2 + 100 - 4 - 10);
    EXPECT_EQ(at.TextBounds.left() + at.TextBounds.width(), 2 + 100 - 4 - 10 - 2);
    at = glyph.ComputeLayout(client, caption, metrics, blGlyphTop, 4, 2, false);
    EXPECT_EQ(at.GlyphPos, QPoint(2 + 50 - 5, 3 + 4));
    EXPECT_EQ(at.TextBounds.top(), 3 + 4 + 8 + 2);
    at = glyph.ComputeLayout(client, caption, metrics, blGlyphBottom, 4, 2, false);
    EXPECT_EQ(at.GlyphPos.y(), 3 + 40 - 4 - 8);

    // Margin and spacing -1: the room left is cut in three equal parts.
    at = glyph.ComputeLayout(client, caption, metrics, blGlyphLeft, -1, -1, false);
    const int third = (100 - 10 - textW) / 3;
    EXPECT_EQ(at.GlyphPos.x(), 2 + third);
    EXPECT_EQ(at.TextBounds.left(), 2 + third + 10 + third);
    // Margin -1 only: glyph, spacing and caption centred as one block.
    at = glyph.ComputeLayout(client, caption, metrics, blGlyphLeft, -1, 2, false);
    EXPECT_EQ(at.GlyphPos.x(), 2 + (100 - (10 + 2 + textW)) / 2);
    // Spacing -1 only: the caption centred in what margin and glyph leave.
    at = glyph.ComputeLayout(client, caption, metrics, blGlyphLeft, 4, -1, false);
    EXPECT_EQ(at.TextBounds.left(), 2 + 4 + 10 + (100 - 14 - textW) / 2);

    // A caption too wide for its room is shortened with "...".
    at = glyph.ComputeLayout(QRect(0, 0, 40, 20), "A caption far too long", metrics, blGlyphLeft, 0, 0, false);
    EXPECT_TRUE(at.Caption.endsWith("..."));
    EXPECT_LE(at.TextBounds.right(), 40);
}

TEST(GlyphSpeedButton, MouseClicksOnlyWhenReleasedInside) {
    struct Case {
        QPoint release;
        bool enabled;
        int clicks;
    };
    const Case cases[] = {
        {{12, 12}, true, 1}, {{0, 0}, true, 1}, {{24, 24}, true, 1}, {{25, 12}, true, 0},
        {{12, -1}, true, 0}, {{40, 40}, true, 0}, {{12, 12}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.release.x() << "," << c.release.y() << " enabled " << c.enabled);
        QWidget parent;
        parent.resize(100, 100);
        TGlyphSpeedButton button(&parent);
        button.setEnabled(c.enabled);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        Press(button, {12, 12});
        if (c.enabled) {
            EXPECT_EQ(button.ButtonState(), TButtonState::Down);
            EXPECT_TRUE(button.Pressing());
        }
        Move(button, c.release);
        Release(button, c.release);
        EXPECT_EQ(clicked.count(), c.clicks);
        EXPECT_FALSE(button.Pressing());
        EXPECT_EQ(button.ButtonState(), c.enabled ? TButtonState::Up : TButtonState::Disabled);
    }
}

TEST(GlyphSpeedButton, MovingWhilePressedShowsWhetherItWouldClick) {
    TGlyphSpeedButton button;
    Press(button, {5, 5});
    Move(button, {30, 5});
    EXPECT_EQ(button.ButtonState(), TButtonState::Up);
    Move(button, {20, 20});
    EXPECT_EQ(button.ButtonState(), TButtonState::Down);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    Release(button, {20, 20});
    EXPECT_EQ(clicked.count(), 1);
    // Other buttons neither press nor click.
    QTest::mouseClick(&button, Qt::RightButton, {}, {5, 5});
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(button.ButtonState(), TButtonState::Up);
}

TEST(GlyphSpeedButton, ModalResultClosesItsDialog) {
    for (const int result : {0, 1, 2, 7}) {
        QDialog dialog;
        TGlyphSpeedButton button(&dialog);
        button.ModalResult = result;
        dialog.show();
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        QSignalSpy finished(&dialog, &QDialog::finished);
        QTest::mouseClick(&button, Qt::LeftButton, {}, {10, 10});
        EXPECT_EQ(clicked.count(), 1);
        EXPECT_EQ(dialog.isVisible(), result == 0) << result;
        EXPECT_EQ(finished.count(), result == 0 ? 0 : 1);
        if (result != 0) {
            EXPECT_EQ(dialog.result(), result);
        }
    }
}

TEST(GlyphSpeedButton, GroupedButtonsAreExclusive) {
    QWidget parent;
    TGlyphSpeedButton a(&parent), b(&parent), other(&parent);
    a.SetGroupIndex(1);
    b.SetGroupIndex(1);
    other.SetGroupIndex(2);
    other.SetDown(true);

    QTest::mouseClick(&a, Qt::LeftButton, {}, {5, 5});
    EXPECT_TRUE(a.Down());
    EXPECT_EQ(a.ButtonState(), TButtonState::Exclusive);
    QTest::mouseClick(&b, Qt::LeftButton, {}, {5, 5});
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(a.ButtonState(), TButtonState::Up);
    EXPECT_TRUE(b.Down());
    EXPECT_TRUE(other.Down());
    // Without AllowAllUp the last button down stays down.
    QTest::mouseClick(&b, Qt::LeftButton, {}, {5, 5});
    EXPECT_TRUE(b.Down());
    a.SetAllowAllUp(true);
    EXPECT_TRUE(b.AllowAllUp());
    QTest::mouseClick(&b, Qt::LeftButton, {}, {5, 5});
    EXPECT_FALSE(b.Down());
    // Down needs a group.
    TGlyphSpeedButton alone;
    alone.SetDown(true);
    EXPECT_FALSE(alone.Down());
}

TEST(GlyphSpeedButton, DrawingStates) {
    TGlyphSpeedButton button;
    button.SetFlat(true);
    EXPECT_EQ(button.DrawingState(), TButtonState::Inactive);
    button.SetGrayedInactive(false);
    EXPECT_EQ(button.DrawingState(), TButtonState::Up);
    button.SetGrayedInactive(true);
    button.SetFlatStandard(true);
    EXPECT_EQ(button.DrawingState(), TButtonState::Exclusive);
    button.SetFlat(false);
    EXPECT_EQ(button.DrawingState(), TButtonState::Up);
    button.setEnabled(false);
    Render(button);
    EXPECT_EQ(button.ButtonState(), TButtonState::Disabled);
    EXPECT_EQ(button.DrawingState(), TButtonState::Disabled);
    button.setEnabled(true);
    Render(button);
    EXPECT_EQ(button.ButtonState(), TButtonState::Up);
}

TEST(GlyphSpeedButton, TheCaptionsAcceleratorClicks) {
    QWidget window;
    TGlyphSpeedButton button(&window);
    button.setText("&Go");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(GlyphSpeedButton, ClicksRepeatWhileHeld) {
    TGlyphSpeedButton button;
    button.SetAllowTimer(true);
    button.InitPause = 20;
    button.RepeatInterval = 5;
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    Press(button, {5, 5});
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicked.count() >= 3; }, 5000));
    // Dragged off the button, it stops repeating; released outside, it does not click.
    Move(button, {40, 5});
    QTest::qWait(30);
    const auto held = clicked.count();
    QTest::qWait(30);
    EXPECT_EQ(clicked.count(), held);
    Release(button, {40, 5});
    QTest::qWait(30);
    EXPECT_EQ(clicked.count(), held);
    button.SetAllowTimer(false);
    Press(button, {5, 5});
    QTest::qWait(40);
    Release(button, {5, 5});
    EXPECT_EQ(clicked.count(), held + 1);
}

TEST(GlyphSpeedButton, DropDownMenuOpensBelowAndClearsWithTheMenu) {
    QWidget window;
    window.resize(200, 200);
    TGlyphSpeedButton button(&window);
    button.move(10, 10);
    auto* menu = new QMenu(&window);
    menu->addAction("One");
    button.SetDropDownMenu(menu);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    Press(button, {5, 5});
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(button.MenuOpen());
    EXPECT_EQ(menu->pos(), button.mapToGlobal(QPoint(-1, button.height())));
    EXPECT_EQ(clicked.count(), 0);
    menu->hide();
    EXPECT_FALSE(button.MenuOpen());
    EXPECT_EQ(button.ButtonState(), TButtonState::Up);
    delete menu;
    EXPECT_EQ(button.DropDownMenu(), nullptr);
    QTest::mouseClick(&button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(clicked.count(), 1);
}

TEST(GlyphSpeedButton, ATransparentButtonShowsWhatLiesUnderIt) {
    QWidget window;
    window.resize(60, 60);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    window.setPalette(palette);
    TGlyphSpeedButton button(&window);
    button.SetFlat(true);
    const QImage opaque = Render(button);
    EXPECT_EQ(opaque.pixel(12, 12), controls::TFaceColors::Current().BtnFace.rgb());
    button.SetTransparent(true);
    const QImage seeThrough = Render(button);
    EXPECT_EQ(seeThrough.pixel(12, 12), qRgb(10, 200, 30));
}

TEST(GlyphSpeedButton, AFlatButtonRaisesItsFrameOnlyUnderTheMouse) {
    QWidget window;
    TGlyphSpeedButton button(&window);
    button.SetFlat(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Wherever the cursor stood when the window came up, it leaves first.
    QEvent leaveFirst(QEvent::Leave);
    QApplication::sendEvent(&button, &leaveFirst);
    QSignalSpy entered(&button, &TGlyphSpeedButton::MouseEnter);
    QSignalSpy left(&button, &TGlyphSpeedButton::MouseLeave);
    const QImage away = Render(button);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(button.mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.MouseInside());
    EXPECT_EQ(button.DrawingState(), TButtonState::Up);
    const QImage under = Render(button);
    // The frame's top-left pixel is drawn only while the mouse is over the button.
    EXPECT_EQ(away.pixel(0, 0), controls::TFaceColors::Current().BtnFace.rgb());
    EXPECT_EQ(under.pixel(0, 0), controls::TFaceColors::Current().BtnHighlight.rgb());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.MouseInside());
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);
}

TEST(GlyphSpeedButton, ALinkedActionDrivesTheButton) {
    QWidget parent;
    TGlyphSpeedButton button(&parent);
    button.SetGroupIndex(3);
    QAction action("&Bold");
    action.setCheckable(true);
    QPixmap icon(16, 16);
    icon.fill(Qt::blue);
    action.setIcon(QIcon(icon));
    button.SetAction(&action);
    EXPECT_EQ(button.text(), "&Bold");
    EXPECT_EQ(button.Glyph().size(), QSize(16, 16));
    EXPECT_EQ(button.Glyph().pixel(8, 8), qRgb(0, 0, 255));

    action.setChecked(true);
    EXPECT_TRUE(button.Down());
    action.setChecked(false);
    EXPECT_FALSE(button.Down());
    action.setEnabled(false);
    EXPECT_FALSE(button.isEnabled());
    action.setEnabled(true);

    QSignalSpy triggered(&action, &QAction::triggered);
    QTest::mouseClick(&button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(triggered.count(), 1);
}
