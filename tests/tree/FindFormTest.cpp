#include "tree/FindForm.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>

#include "lang/DlgLangConverter.h"
#include "platform/qt/QtText.h"
#include "tests/tree/DialogTestSupport.h"
#include "tree/NodeSearch.h"

namespace {

// A click on a check box's own square.
void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

QString Text(const char* key) { return platform::ToQString(lang::GetMessageText(key)); }

// The combo's items in order: the text of each and the object type code it stands for, and the
// node kinds that the code finds.
struct TypeItem {
    const char* Key;
    std::uint8_t Code;
    TNodeKind Finds;
};
const TypeItem kTypeItems[] = {
    {"OBJECTSTREE_FIND_ANY_NAME", 0, nkQuestion},
    {"OBJECTSTREE_TESTGROUP_TITLE", 3, nkTestGroup},
    {"OBJECTSTREE_TEST_TITLE", 4, nkTest},
    {"OBJECTSTREE_SCALE_TITLE", 5, nkScale},
    {"OBJECTSTREE_INTERPRETATION_TITLE", 6, nkInterpretation},
    {"OBJECTSTREE_STIMUL_TITLE", 8, nkQuestion},
    {"OBJECTSTREE_REACTION_TITLE", 9, nkAnswer},
    {"OBJECTSTREE_WEIGHT_TITLE", 7, nkWeightNoScale},
};

}  // namespace

TEST(FindForm, StartsEmptyWithFindDisabled) {
    TFindForm f(nullptr);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Find first"));
    EXPECT_FALSE(f.Confirmed);
    EXPECT_EQ(f.SearchFlags, 0);
    EXPECT_EQ(f.SearchType, 0);
    EXPECT_TRUE(f.ObjectEdit->text().isEmpty());
    EXPECT_FALSE(f.CaseSensCheckBox->isChecked());
    EXPECT_FALSE(f.FullStringCheckBox->isChecked());
    EXPECT_FALSE(f.FindButton->isEnabled());
    EXPECT_EQ(f.ObjectTypeComboBox->currentIndex(), 0);
    EXPECT_EQ(f.CaseSensCheckBox->text(), QStringLiteral("&Case sensitive"));
    EXPECT_EQ(f.FullStringCheckBox->text(), QStringLiteral("&Exactly node title"));
}

// Each item of the combo, chosen with the keyboard, gives its code; Enter in the edit finds with
// it, and the code finds the item's kind of node.
TEST(FindForm, EachTypeItemGivesItsCode) {
    ASSERT_EQ(std::size(kTypeItems), static_cast<std::size_t>(TFindForm::kTypeCount));
    for (int i = 0; i < TFindForm::kTypeCount; ++i) {
        const TypeItem& item = kTypeItems[i];
        SCOPED_TRACE(item.Key);
        EXPECT_EQ(TFindForm::TypeCodeAt(i), item.Code);
        EXPECT_EQ(TFindForm::TypeIndexOf(item.Code), i);
        EXPECT_TRUE(FindTypeAccepts(item.Code, item.Finds));

        TFindForm f(nullptr);
        EXPECT_EQ(f.ObjectTypeComboBox->itemText(i), Text(item.Key));
        const int result = RunModal(f, [&] {
            f.ObjectTypeComboBox->setFocus();
            for (int step = 0; step < i; ++step) QTest::keyClick(f.ObjectTypeComboBox, Qt::Key_Down);
            QTest::keyClicks(f.ObjectEdit, "Organisation");
            QTest::keyClick(f.ObjectEdit, Qt::Key_Return);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_TRUE(f.Confirmed);
        EXPECT_EQ(f.ObjectTypeComboBox->currentIndex(), i);
        EXPECT_EQ(f.SearchType, item.Code);
        EXPECT_EQ(f.SearchText(), "Organisation");
    }
    EXPECT_EQ(TFindForm::TypeIndexOf(1), -1);
    EXPECT_EQ(TFindForm::TypeIndexOf(10), -1);
}

// A text of blanks keeps Find disabled, and Enter then does nothing; Find is enabled once a
// character stands in the edit.
TEST(FindForm, BlanksAloneCannotBeFound) {
    TFindForm f(nullptr);
    const int result = RunModal(f, [&] {
        QTest::keyClicks(f.ObjectEdit, "   \t");
        EXPECT_FALSE(f.FindButton->isEnabled());
        QTest::keyClick(f.ObjectEdit, Qt::Key_Return);
        QTest::keyClick(f.ObjectEdit, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(f.isVisible()) << "Enter closed the window";
        QTest::keyClicks(f.ObjectEdit, "x");
        EXPECT_TRUE(f.FindButton->isEnabled());
        QTest::keyClick(f.ObjectEdit, Qt::Key_Backspace);
        EXPECT_FALSE(f.FindButton->isEnabled());
        QTest::keyClick(f.ObjectEdit, Qt::Key_Escape);
    });
    EXPECT_FALSE(f.Confirmed);
    EXPECT_EQ(result, QDialog::Rejected);
}

// Opened after a case-sensitive search among weights: the edit holds the last text (trimmed),
// Case sensitive is checked, the combo shows the weight item.
TEST(FindForm, ShowsThePreviousSearch) {
    TFindForm f(nullptr);
    f.SetSearch("  Low mood\t", sfCaseSensitive, 7);
    EXPECT_EQ(f.ObjectEdit->text(), QStringLiteral("Low mood"));
    EXPECT_TRUE(f.CaseSensCheckBox->isChecked());
    EXPECT_FALSE(f.FullStringCheckBox->isChecked());
    EXPECT_EQ(f.ObjectTypeComboBox->currentIndex(), 7);
    EXPECT_EQ(f.SearchType, 7);
    EXPECT_EQ(f.SearchFlags, sfCaseSensitive);
    EXPECT_TRUE(f.FindButton->isEnabled());
    // A clear bit leaves its box as it is; a code without an item leaves the combo.
    f.SetSearch("x", sfWholeTitle, 1);
    EXPECT_TRUE(f.CaseSensCheckBox->isChecked());
    EXPECT_TRUE(f.FullStringCheckBox->isChecked());
    EXPECT_EQ(f.ObjectTypeComboBox->currentIndex(), 7);
    EXPECT_EQ(f.SearchType, 1);
}

// Boxes changed, then Close or Escape: nothing that the caller keeps changes.
TEST(FindForm, CloseAndEscapeKeepTheSearch) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Close");
        TFindForm f(nullptr);
        f.SetSearch("Mood", 0, 5);
        const int result = RunModal(f, [&] {
            ClickBox(f.CaseSensCheckBox);
            QTest::keyClick(f.FullStringCheckBox, Qt::Key_Space);
            EXPECT_TRUE(f.CaseSensCheckBox->isChecked());
            EXPECT_TRUE(f.FullStringCheckBox->isChecked());
            if (escape) QTest::keyClick(f.CaseSensCheckBox, Qt::Key_Escape);
            else QTest::mouseClick(f.CloseButton, Qt::LeftButton);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_FALSE(f.Confirmed);
        EXPECT_EQ(f.SearchFlags, 0);
        EXPECT_EQ(f.SearchType, 5);
    }
}

// Find takes the two boxes into bits 0 and 1 and keeps the other bits; Enter in a check box
// presses it too.
TEST(FindForm, FindTakesTheBoxesIntoTheFlags) {
    TFindForm f(nullptr);
    f.SetSearch("Mood", 0x81, 0);
    const int result = RunModal(f, [&] {
        ClickBox(f.CaseSensCheckBox);
        QTest::keyClick(f.FullStringCheckBox, Qt::Key_Space);
        QTest::keyClick(f.FullStringCheckBox, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(f.Confirmed);
    EXPECT_EQ(f.SearchFlags, 0x80 | sfWholeTitle);
}
