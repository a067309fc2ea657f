// The about box and the acknowledgments window, with version blocks written by the test.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <fstream>

#include "app/FormAbout.h"
#include "app/FormAcknowledgments.h"
#include "platform/qt/ModalDialogs.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ElfBuilder.h"
#include "tests/support/TempDir.h"

namespace {

// A program file whose version block holds the lines given, after its language line.
std::string ProgramWithBlock(TempDir& dir, const std::string& block) {
    ElfBuilder elf(true, false);
    elf.Add(".text", std::string(16, '\x90'));
    elf.Add(".orvel_version", "Translation=0409FDE9\n" + block);
    const std::string path = dir.File("program");
    std::ofstream(path, std::ios::binary) << elf.Build();
    return path;
}

const std::string kFullBlock =
    "FileVersion=2.7.1\n"
    "LegalCopyright=Copyright (C) Example Makers\n"
    "LegalTradeMarks=Example - the long name of the program\n"
    "ProductName=Example\n"
    "ProductVersion=2.7\n";

}  // namespace

TEST(AboutBox, ShowsTheLongNameVersionAndCopyrightOfTheVersionBlock) {
    TAppTestEnvironment env;
    TempDir dir;
    TFormAbout about(nullptr, ProgramWithBlock(dir, kFullBlock));
    about.show();
    Flush();
    EXPECT_EQ(about.size(), QSize(592, 364));
    EXPECT_EQ(about.HelpContext, 340);
    EXPECT_EQ(about.property("HelpContext").toInt(), 340);
    // The trademark line, not the product name.
    EXPECT_EQ(about.LabelProgramName->text(), "Example - the long name of the program");
    EXPECT_EQ(about.LabelVersion->text(), "Version:");
    EXPECT_EQ(about.LabelVersionNumber->text(), "2.7.1");
    EXPECT_EQ(about.LabelCopyright->text(), "Copyright (C) Example Makers");
    EXPECT_EQ(about.GrlinkHomePage->text(), "Home Page");
    EXPECT_EQ(about.GrlinkSupport->text(), "Support");
    EXPECT_EQ(about.ButtonClose->text(), "OK");
    EXPECT_EQ(about.BitBtnAcknowledgments->toolTip(), "Acknowledgments to 3-party stakeholders");
    EXPECT_TRUE(about.MemoAdditionalInfo->isReadOnly());
    EXPECT_EQ(about.MemoAdditionalInfo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(about.MemoAdditionalInfo->toPlainText().toStdString(), about.LegalNotice);
    EXPECT_NE(about.LegalNotice.find("reproduction or distribution"), std::string::npos);
}

TEST(AboutBox, AValueTheVersionBlockLacksShowsAsADash) {
    TAppTestEnvironment env;
    TempDir dir;
    struct Case {
        const char* Block;
        const char* Name;
        const char* Version;
        const char* Copyright;
    };
    const Case cases[] = {
        {"FileVersion=1.0\nLegalCopyright=(C) Someone\nProductName=Example\n", "-", "1.0", "(C) Someone"},
        {"LegalTradeMarks=Long name\n", "Long name", "-", "-"},
        {"", "-", "-", "-"},
    };
    for (const Case& c : cases) {
        TFormAbout about(nullptr, ProgramWithBlock(dir, c.Block));
        EXPECT_EQ(about.LabelProgramName->text(), c.Name) << c.Block;
        EXPECT_EQ(about.LabelVersionNumber->text(), c.Version) << c.Block;
        EXPECT_EQ(about.LabelCopyright->text(), c.Copyright) << c.Block;
    }
    // No program file at all.
    TFormAbout about(nullptr, dir.File("missing"));
    EXPECT_EQ(about.LabelProgramName->text(), "-");
}

TEST(AboutBox, OkClosesItAndTheGlyphButtonShowsTheAcknowledgments) {
    TAppTestEnvironment env;
    TempDir dir;
    TFormAbout about(nullptr, ProgramWithBlock(dir, kFullBlock));
    about.show();
    Flush();
    int shown = 0;
    {
        platform::ScopedModalHook hook([&](QDialog& d) {
            auto* thanks = qobject_cast<TFormAcknowledgments*>(&d);
            EXPECT_NE(thanks, nullptr);
            if (!thanks) return int(QDialog::Rejected);
            ++shown;
            EXPECT_EQ(thanks->parentWidget(), &about);
            EXPECT_EQ(thanks->size(), QSize(433, 288));
            EXPECT_EQ(thanks->HelpContext, 340);
            EXPECT_EQ(thanks->windowTitle(), "Acknowledgments");
            EXPECT_EQ(thanks->ButtonClose->text(), "Close");
            EXPECT_TRUE(thanks->MemoThanks->isReadOnly());
            EXPECT_TRUE(thanks->MemoThanks->toPlainText().contains("Qt"));
            thanks->show();
            QTest::mouseClick(thanks->ButtonClose, Qt::LeftButton);
            EXPECT_FALSE(thanks->isVisible());
            return thanks->result();
        });
        QTest::mouseClick(about.BitBtnAcknowledgments, Qt::LeftButton);
    }
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.ButtonClose, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}
