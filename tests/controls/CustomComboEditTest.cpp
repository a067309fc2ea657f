#include "controls/CustomComboEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "controls/EditButton.h"

namespace {

// A combo edit that counts its button clicks.
class CountingEdit : public TCustomComboEdit {
public:
    using TCustomComboEdit::TCustomComboEdit;
    int Clicks = 0;
    bool FocusedAtClick = false;

protected:
    void DoButtonClick() override {
        ++Clicks;
        FocusedAtClick = hasFocus();
        TCustomComboEdit::DoButtonClick();
    }
};

// A dialog holding the edit and a default OK button, shown and active.
struct EditDialog {
    EditDialog() {
        auto* layout = new QVBoxLayout(&dialog);
        edit = new CountingEdit(&dialog);
        ok = new QPushButton("OK", &dialog);
        cancel = new QPushButton("Cancel", &dialog);
        layout->addWidget(edit);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        edit->setFocus();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyPress(edit, key, mods);
        QTest::keyRelease(edit, key, mods);
    }
    QDialog dialog;
    CountingEdit* edit;
    QPushButton* ok;
    QPushButton* cancel;
};

int FrameWidth(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    return option.lineWidth;
}

}  // namespace

TEST(CustomComboEdit, Defaults) {
    TCustomComboEdit edit;
    EXPECT_TRUE(edit.DirectInput());
    EXPECT_FALSE(edit.ReadOnly());
    EXPECT_FALSE(edit.ClickWhenReadOnly);
    EXPECT_EQ(edit.ClickKey, QKeySequence(Qt::ALT | Qt::Key_Down));
    EXPECT_EQ(edit.Alignment(), taLeftJustify);
    EXPECT_EQ(edit.GlyphKind(), gkCustom);
    EXPECT_EQ(edit.ButtonWidth(), 21);
    EXPECT_EQ(edit.height(), 21);
    EXPECT_TRUE(edit.AutoSelect);
    EXPECT_EQ(edit.Button->parentWidget(), edit.ButtonHost);
    EXPECT_TRUE(edit.Button->AcceptOnClose);
}

TEST(CustomComboEdit, TheButtonSitsInsideTheFrameAndTheTextStopsBeforeIt) {
    for (const QSize size : {QSize(200, 21), QSize(120, 30), QSize(300, 24)}) {
        for (const TTextAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " alignment " << alignment);
            QWidget window;
            TCustomComboEdit edit(&window);
            edit.resize(size);
            edit.SetAlignment(alignment);
            window.show();
            const int f = FrameWidth(edit);
            const QRect inner = edit.rect().adjusted(f, f, -f, -f);
            const QRect host = edit.ButtonHost->geometry();
            EXPECT_TRUE(inner.contains(host)) << host.x() << "," << host.y() << " " << host.width() << "x" << host.height();
            EXPECT_EQ(host.right(), inner.right());
            EXPECT_EQ(host.height(), inner.height());
            EXPECT_EQ(host.width(), 21);
            EXPECT_EQ(edit.Button->geometry(), QRect(QPoint(0, 0), host.size()));

            edit.setText(QString(200, 'W'));
            edit.end(false);
            edit.grab();   // the edit scrolls its text when it paints
            EXPECT_LE(edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), host.left());
            edit.home(false);
            edit.grab();
            EXPECT_LE(edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), host.left());

            // Without a border the button fills the right edge from top to bottom.
            edit.SetBorderStyle(bsNone);
            EXPECT_EQ(edit.ButtonHost->geometry(), QRect(size.width() - 21, 0, 21, size.height()));
            EXPECT_EQ(edit.Button->height(), size.height());
            edit.SetBorderStyle(bsSingle);
            EXPECT_EQ(edit.ButtonHost->geometry(), host);
        }
    }
}

TEST(CustomComboEdit, TheClickKeyClicksUnlessReadOnly) {
    struct Case {
        bool readOnly;
        bool directInput;
        bool clickWhenReadOnly;
        int buttonWidth;
        int clicks;
    };
    const Case cases[] = {
        {false, true, false, 21, 1}, {false, false, false, 21, 1}, {true, true, false, 21, 0},
        {true, false, false, 21, 0}, {true, true, true, 21, 1},    {false, true, false, 0, 0},
        {false, true, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "readOnly " << c.readOnly << " direct " << c.directInput << " width "
                                        << c.buttonWidth);
        EditDialog d;
        d.edit->SetReadOnly(c.readOnly);
        d.edit->SetDirectInput(c.directInput);
        d.edit->ClickWhenReadOnly = c.clickWhenReadOnly;
        d.edit->SetButtonWidth(c.buttonWidth);
        d.Key(Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(d.edit->Clicks, c.clicks);
        d.Key(Qt::Key_Down);
        d.Key(Qt::Key_Up, Qt::AltModifier);
        EXPECT_EQ(d.edit->Clicks, c.clicks);
        EXPECT_EQ(d.edit->isReadOnly(), c.readOnly || !c.directInput);
        EXPECT_EQ(d.edit->text(), "");
        EXPECT_TRUE(d.dialog.isVisible());
    }
}

TEST(CustomComboEdit, ReturnAndEscapeStillReachTheDialog) {
    {
        EditDialog d;
        d.edit->setText("/tmp/a.kvt");
        d.Key(Qt::Key_Return);
        EXPECT_FALSE(d.dialog.isVisible());
        EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
        EXPECT_EQ(d.edit->text(), "/tmp/a.kvt");
    }
    {
        EditDialog d;
        d.Key(Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    }
    {
        EditDialog d;
        d.Key(Qt::Key_Escape);
        EXPECT_FALSE(d.dialog.isVisible());
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
    }
    {
        EditDialog d;
        d.edit->SetReadOnly(true);
        d.Key(Qt::Key_Return);
        EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    }
}

TEST(CustomComboEdit, LineBreaksNeverEnterTheText) {
    EditDialog d;
    QApplication::clipboard()->setText("/tmp/My\r\n Files/a.kvt\n");
    d.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(d.edit->text(), "/tmp/My Files/a.kvt");
    EXPECT_EQ(d.edit->cursorPosition(), d.edit->text().size());
    d.edit->setText("one\ntwo");
    EXPECT_EQ(d.edit->text(), "onetwo");
    d.Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d.edit->text(), "onetwo");

    // Without direct input nothing is pasted, but the button still works.
    d.edit->SetDirectInput(false);
    d.edit->clear();
    d.Key(Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(d.edit, "typed");
    EXPECT_EQ(d.edit->text(), "");
    QTest::mouseClick(d.edit->Button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(d.edit->Clicks, 1);
}

TEST(CustomComboEdit, APressOnTheButtonFocusesTheEditFirst) {
    EditDialog d;
    d.ok->setFocus();
    ASSERT_FALSE(d.edit->hasFocus());
    QTest::mouseClick(d.edit->Button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(d.edit->Clicks, 1);
    EXPECT_TRUE(d.edit->FocusedAtClick);
    EXPECT_TRUE(d.edit->EditFocused());

    // A release away from the button gives no click.
    QTest::mousePress(d.edit->Button, Qt::LeftButton, {}, {5, 5});
    QTest::mouseRelease(d.edit->Button, Qt::LeftButton, {}, {-20, 5});
    EXPECT_EQ(d.edit->Clicks, 1);

    d.edit->SetReadOnly(true);
    QTest::mouseClick(d.edit->Button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(d.edit->Clicks, 1);
}

TEST(CustomComboEdit, SizesAndTheButtonWidth) {
    QWidget window;
    TCustomComboEdit edit(&window);
    window.show();
    edit.resize(150, 3);
    EXPECT_EQ(edit.height(), edit.MinimumHeight());
    edit.resize(150, 40);
    EXPECT_EQ(edit.height(), 40);

    edit.SetButtonWidth(30);
    EXPECT_EQ(edit.ButtonWidth(), 30);
    EXPECT_EQ(edit.ButtonHost->width(), 30);
    EXPECT_TRUE(edit.ButtonHost->isVisible());
    edit.SetButtonWidth(1);
    EXPECT_FALSE(edit.ButtonHost->isVisible());
    edit.SetButtonWidth(0);
    EXPECT_FALSE(edit.ButtonHost->isVisible());
    edit.SetButtonWidth(500);   // not below the width: refused
    EXPECT_EQ(edit.ButtonWidth(), 0);

    edit.setEnabled(false);
    EXPECT_FALSE(edit.Button->isEnabled());
    edit.setEnabled(true);
    EXPECT_TRUE(edit.Button->isEnabled());
}

TEST(CustomComboEdit, GlyphKinds) {
    TCustomComboEdit edit;
    edit.SetGlyphKind(gkEllipsis);
    EXPECT_EQ(edit.Glyph().size(), QSize(15, 4));
    // Three 2 x 2 dots, gap 3, starting at (15 - 6 - 6) / 2 = 1.
    int dots = 0;
    for (int x = 0; x < 15; ++x) dots += edit.Glyph().pixel(x, 1) == qRgb(0, 0, 0);
    EXPECT_EQ(dots, 6);
    for (const int x : {1, 2, 6, 7, 11, 12}) EXPECT_EQ(edit.Glyph().pixel(x, 2), qRgb(0, 0, 0)) << x;
    edit.SetNumGlyphs(3);
    EXPECT_EQ(edit.NumGlyphs(), 1);

    edit.SetGlyphKind(gkDropDown);
    EXPECT_FALSE(edit.Glyph().isNull());
    EXPECT_EQ(edit.ButtonWidth(), edit.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &edit));

    QImage own(20, 10, QImage::Format_RGB32);
    own.fill(Qt::blue);
    edit.SetGlyph(own);
    EXPECT_EQ(edit.GlyphKind(), gkCustom);
    EXPECT_EQ(edit.NumGlyphs(), 2);
    edit.SetNumGlyphs(1);
    EXPECT_EQ(edit.NumGlyphs(), 1);
}

// A descendant whose default glyph is wider than the button.
class WideDefaultEdit : public TCustomComboEdit {
public:
    using TCustomComboEdit::TCustomComboEdit;

protected:
    QImage GetDefaultGlyph() const override {
        QImage glyph(60, 10, QImage::Format_RGB32);   // two images of 30 x 10
        glyph.fill(Qt::darkGreen);
        return glyph;
    }
};

TEST(CustomComboEdit, TheDefaultGlyphWidensTheButtonToFitIt) {
    QWidget window;
    WideDefaultEdit edit(&window);
    edit.resize(200, 24);
    window.show();
    edit.SetGlyphKind(gkDefault);
    // The default glyph counts as one image whatever its shape.
    EXPECT_EQ(edit.NumGlyphs(), 1);
    EXPECT_EQ(edit.ButtonWidth(), 60 + 6);
    edit.SetNumGlyphs(2);
    EXPECT_EQ(edit.NumGlyphs(), 1);
    edit.SetGlyphKind(gkCustom);
    EXPECT_EQ(edit.ButtonWidth(), 66);   // a custom glyph keeps the width
    EXPECT_EQ(edit.ButtonHost->width(), 66);
    EXPECT_TRUE(edit.rect().contains(edit.ButtonHost->geometry()));
}

TEST(CustomComboEdit, EnteringByKeyboardSelectsAllOnlyWithDirectInput) {
    struct Case {
        bool autoSelect;
        bool directInput;
        bool selected;
    };
    const Case cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "autoSelect " << c.autoSelect << " direct " << c.directInput);
        EditDialog d;
        d.edit->setText("/tmp/a.kvt");
        d.edit->AutoSelect = c.autoSelect;
        d.edit->SetDirectInput(c.directInput);
        d.cancel->setFocus();
        ASSERT_FALSE(d.edit->hasFocus());
        QTest::keyClick(d.cancel, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(d.ok, Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_TRUE(d.edit->hasFocus());
        EXPECT_EQ(d.edit->selectedText(), c.selected ? "/tmp/a.kvt" : "");
    }
}
