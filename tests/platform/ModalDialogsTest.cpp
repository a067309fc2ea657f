#include "platform/qt/ModalDialogs.h"

#include <QDialog>
#include <QFileDialog>

#include <gtest/gtest.h>

using namespace platform;

TEST(ModalDialogs, FiltersTakeQtsForm) {
    struct Case {
        const char* filter;
        const char* qt;
    };
    const Case cases[] = {
        {"Text files (*.txt)|*.txt", "Text files (*.txt)"},
        {"Data files (*.kvd)|*.kvd|All files (*.*)|*.*", "Data files (*.kvd);;All files (*)"},
        {"Pictures|*.jpg;*.jpeg", "Pictures (*.jpg *.jpeg)"},
        {"", ""},
        {"Odd|", "Odd ()"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToQtFilter(c.filter).toStdString(), c.qt) << c.filter;
    EXPECT_EQ(QtFilterAt("A|*.a|B|*.b", 2).toStdString(), "B (*.b)");
    EXPECT_TRUE(QtFilterAt("A|*.a", 3).isEmpty());
}

TEST(ModalDialogs, HooksAnswerInPlaceOfAPerson) {
    QDialog dialog;
    {
        ScopedModalHook hook([](QDialog& d) {
            d.setObjectName("seen");
            return 7;
        });
        EXPECT_EQ(ExecModal(dialog), 7);
        EXPECT_EQ(dialog.objectName(), "seen");
    }
    TFileDialogRequest asked;
    {
        ScopedFileDialogHook hook([&](const TFileDialogRequest& r) -> std::optional<std::string> {
            asked = r;
            return std::string("/tmp/chosen.kvd");
        });
        TFileDialogRequest r;
        r.Kind = TFileDialogRequest::TKind::Save;
        r.Filter = "Data files (*.kvd)|*.kvd";
        EXPECT_EQ(RunFileDialog(r), "/tmp/chosen.kvd");
    }
    EXPECT_EQ(asked.Kind, TFileDialogRequest::TKind::Save);
    EXPECT_EQ(asked.Filter, "Data files (*.kvd)|*.kvd");
}

TEST(ModalDialogs, EitherHookAnswersBothKindsOfCall) {
    TFileDialogRequest r;
    r.FilterIndex = 3;
    {
        // Only the plain hook: the choice keeps the request's filter entry.
        ScopedFileDialogHook hook([](const TFileDialogRequest&) -> std::optional<std::string> { return "/tmp/a.kvt"; });
        const auto choice = RunFileChoiceDialog(r);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->FileName, "/tmp/a.kvt");
        EXPECT_EQ(choice->FilterIndex, 3);
    }
    {
        // Only the choice hook: the plain call takes its file name; Cancel stays Cancel.
        std::optional<TFileDialogChoice> answer = TFileDialogChoice{"/tmp/b.xml", 2};
        ScopedFileChoiceHook hook([&](const TFileDialogRequest&) { return answer; });
        EXPECT_EQ(RunFileDialog(r), "/tmp/b.xml");
        EXPECT_EQ(RunFileChoiceDialog(r)->FilterIndex, 2);
        answer.reset();
        EXPECT_EQ(RunFileDialog(r), std::nullopt);
        EXPECT_EQ(RunFileChoiceDialog(r), std::nullopt);
    }
}

TEST(ModalDialogs, TheRealDialogReportsTheChosenFileType) {
    TFileDialogRequest r;
    r.Kind = TFileDialogRequest::TKind::Save;
    r.Title = "Export";
    r.Filter = "Exchange (*.kvt)|*.kvt|XML (*.xml)|*.xml";
    r.FilterIndex = 1;
    r.InitialDir = "/tmp";
    QString offered;
    ScopedModalHook person([&](QDialog& d) {
        auto& dialog = dynamic_cast<QFileDialog&>(d);
        offered = dialog.selectedNameFilter();
        dialog.selectNameFilter(QtFilterAt(r.Filter, 2));
        dialog.selectFile("/tmp/chosen.xml");
        return static_cast<int>(QDialog::Accepted);
    });
    const auto choice = RunFileChoiceDialog(r);
    EXPECT_EQ(offered.toStdString(), "Exchange (*.kvt)");
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->FileName, "/tmp/chosen.xml");
    EXPECT_EQ(choice->FilterIndex, 2);

    ScopedModalHook cancel([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    EXPECT_EQ(RunFileChoiceDialog(r), std::nullopt);
}
