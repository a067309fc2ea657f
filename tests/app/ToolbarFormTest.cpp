// The toolbar setup dialog on its own: its items, its ticks and the message they send.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <vector>

#include "app/ToolbarForm.h"
#include "platform/MessageHub.h"
#include "platform/WindowMessages.h"
#include "tests/app/AppTestSupport.h"

namespace {

// A window of the hub that records what it receives, and what the dialog held at the time.
class TRecordingMain {
public:
    TRecordingMain() {
        Handle = platform::MessageHub().Register([this](const platform::TWindowMessage& m) {
            Received.push_back(m);
            if (Form) States.push_back(Form->Visible);
        });
    }
    ~TRecordingMain() { platform::MessageHub().Unregister(Handle); }

    platform::WindowHandle Handle;
    TToolbarForm* Form = nullptr;
    std::vector<platform::TWindowMessage> Received;
    std::vector<std::array<bool, TToolbarForm::tbCount>> States;
};

class ToolbarSetupDialog : public ::testing::Test {
public:
    void SetUp() override {
        form = std::make_unique<TToolbarForm>(nullptr, main.Handle, true, false, true, true, false, "Files", "Editing",
                                              "Looking", "Objects", "Assistance");
        main.Form = form.get();
        form->show();
        Flush();
    }
    QStringList Items() const {
        QStringList texts;
        for (int i = 0; i < form->ToolbarCheckListBox->count(); ++i) texts << form->ToolbarCheckListBox->item(i)->text();
        return texts;
    }
    std::vector<bool> Ticks() const {
        std::vector<bool> ticks;
        for (int i = 0; i < form->ToolbarCheckListBox->count(); ++i)
            ticks.push_back(form->ToolbarCheckListBox->item(i)->checkState() == Qt::Checked);
        return ticks;
    }
    // A click on the check box of an item, where the style draws it.
    void ClickCheckBox(int row) {
        QListWidget* list = form->ToolbarCheckListBox;
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualItemRect(list->item(row));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = list->item(row)->text();
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    }

    TAppTestEnvironment env;
    TRecordingMain main;
    std::unique_ptr<TToolbarForm> form;
};

}  // namespace

TEST_F(ToolbarSetupDialog, ShowsTheGivenCaptionsTickedAfterTheGivenStates) {
    EXPECT_EQ(form->windowTitle(), "Setup Toolbar");
    EXPECT_EQ(form->size(), QSize(353, 211));
    EXPECT_EQ(form->ToolbarCheckListBox->geometry(), QRect(0, 0, 353, 185));
    EXPECT_EQ(form->HelpContext, 330);
    EXPECT_EQ(form->MainHandle, main.Handle);
    EXPECT_EQ(form->CloseBitBtn->text(), "&Close");
    EXPECT_EQ(Items(), QStringList({"Files", "Editing", "Looking", "Objects", "Assistance"}));
    EXPECT_EQ(Ticks(), std::vector<bool>({true, false, true, true, false}));
    // Showing it ticks the items; that tells the main window nothing.
    EXPECT_TRUE(main.Received.empty());
}

TEST_F(ToolbarSetupDialog, EachClickOnACheckBoxSendsTheStatesAtOnce) {
    ClickCheckBox(0);
    ASSERT_EQ(main.Received.size(), 1u);
    EXPECT_EQ(main.Received[0].Msg, wm::WM_TOOLBARSCHANGED);
    EXPECT_EQ(main.Received[0].WParam, 0u);
    EXPECT_EQ(main.Received[0].LParam, 0);
    EXPECT_EQ(main.States[0], (std::array<bool, 5>{false, false, true, true, false}));
    ClickCheckBox(4);
    ClickCheckBox(4);
    ASSERT_EQ(main.States.size(), 3u);
    EXPECT_EQ(main.States[1], (std::array<bool, 5>{false, false, true, true, true}));
    EXPECT_EQ(main.States[2], (std::array<bool, 5>{false, false, true, true, false}));
    // The space bar ticks the current item as well.
    form->ToolbarCheckListBox->setCurrentRow(1);
    QTest::keyClick(form->ToolbarCheckListBox, Qt::Key_Space);
    ASSERT_EQ(main.States.size(), 4u);
    EXPECT_EQ(main.States[3], (std::array<bool, 5>{false, true, true, true, false}));
}

TEST_F(ToolbarSetupDialog, ShowingItAgainTicksAfterTheStates) {
    form->hide();
    form->Visible = {false, true, false, false, true};
    form->show();
    Flush();
    EXPECT_EQ(Ticks(), std::vector<bool>({false, true, false, false, true}));
    EXPECT_TRUE(main.Received.empty());
}

TEST_F(ToolbarSetupDialog, CloseClosesIt) {
    QTest::mouseClick(form->CloseBitBtn, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(ToolbarSetupDialog, ALongCaptionIsCutToTheShortTextLimit) {
    TToolbarForm longer(nullptr, main.Handle, true, true, true, true, true, std::string(300, 'x'), "", "", "", "");
    EXPECT_EQ(longer.ToolbarCheckListBox->item(0)->text().size(), 255);
}
