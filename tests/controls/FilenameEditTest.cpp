#include "controls/FilenameEdit.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ControlUtilities.h"
#include "controls/EditButton.h"
#include "platform/FileQueries.h"
#include "platform/qt/ModalDialogs.h"
#include "platform/qt/QtText.h"
#include "tests/support/RecordingInteraction.h"
#include "tests/support/TempDir.h"

namespace {

using platform::TFileDialogChoice;
using platform::TFileDialogRequest;

std::string Text(const QLineEdit& edit) { return platform::FromQString(edit.text()); }

// Answers the file dialog in place of a person and keeps every request.
class DialogAnswer {
public:
    explicit DialogAnswer(std::optional<TFileDialogChoice> answer)
        : answer_(std::move(answer)), hook_([this](const TFileDialogRequest& r) {
              Requests.push_back(r);
              ErrorModeWhileShown = platform::GetErrorMode();
              return answer_;
          }) {}
    std::vector<TFileDialogRequest> Requests;
    unsigned ErrorModeWhileShown = 0;

private:
    std::optional<TFileDialogChoice> answer_;
    platform::ScopedFileChoiceHook hook_;
};

}  // namespace

TEST(FilenameEdit, ConstructionGivesTheDefaults) {
    TFilenameEdit edit;
    EXPECT_EQ(edit.DialogKind(), dkOpen);
    ASSERT_NE(edit.FileDialog(), nullptr);
    EXPECT_FALSE(edit.FileDialog()->IsSaveDialog());
    EXPECT_EQ(edit.DialogTitle(), "Browse");
    EXPECT_EQ(edit.Filter(), "All files (*.*)|*.*");
    EXPECT_EQ(edit.FilterIndex(), 1);
    EXPECT_EQ(edit.DialogOptions(), TOpenOptions{ofHideReadOnly});
    EXPECT_EQ(edit.FileDialog()->HelpContext, 0);
    EXPECT_TRUE(edit.FileDialog()->OptionsEx.empty());
    EXPECT_EQ(edit.GlyphKind(), gkDefault);
    EXPECT_EQ(edit.ButtonWidth(), 21);   // 14 + 6 is below 21
    EXPECT_EQ(edit.NumGlyphs(), 1);
    EXPECT_EQ(edit.height(), 21);
    EXPECT_FALSE(edit.AcceptFiles());
    EXPECT_FALSE(edit.MultiSelect());

    const QImage& glyph = TFileDirEdit::DefaultGlyph();
    EXPECT_EQ(glyph.size(), QSize(14, 12));
    EXPECT_EQ(glyph.pixel(0, 11), QColor(255, 0, 255).rgb());   // the transparent ground
    EXPECT_EQ(edit.Glyph(), glyph);
    EXPECT_EQ(edit.Button->GlyphImages().MaskColor, QColor(255, 0, 255));
}

// Text before, the dialog's answer (none: Cancel), what the dialog was given, and the text and
// initial folder after; the folder "My Files" holds test.kvt.
TEST(FilenameEdit, BrowseRoad) {
    TempDir dir;
    const std::string d = dir.Path() + "/";
    std::filesystem::create_directory(d + "My Files");
    std::filesystem::create_directory(d + "sub");
    const std::string file = d + "My Files/test.kvt";
    WriteBytes(file, "x");

    struct Case {
        std::string before;
        std::optional<std::string> answer;
        std::string presetName;
        std::string presetFolder;
        std::string after;
        std::string folderAfter;
        int changes;
    };
    const Case cases[] = {
        // An existing file whose folder holds a blank: the folder and the whole text are preset.
        {file, file, file, d + "My Files/", "\"" + file + "\"", d + "My Files/", 1},
        // The same folder, no such file: the first token and its existing folder.
        {d + "My Files/none.kvt", d + "other.kvt", d + "My", d, d + "other.kvt", d, 1},
        // Quoted and missing: the quotes go; Cancel keeps the text and fires nothing.
        {"\"" + d + "My Files/none.kvt\"", std::nullopt, d + "My Files/none.kvt", d + "My Files/",
         "\"" + d + "My Files/none.kvt\"", d + "My Files/", 0},
        // Not a valid name: nothing is preset.
        {"a|b", d + "x y.kvt", "", "", "\"" + d + "x y.kvt\"", d, 1},
        // An existing folder: its name is the folder, the file name is empty.
        {d + "sub/", std::nullopt, "", d + "sub/", d + "sub/", d + "sub/", 0},
        {"", std::nullopt, "", "", "", "", 0},
        // The chosen name, quoted, equals the text: no change.
        {"\"" + file + "\"", file, file, d + "My Files/", "\"" + file + "\"", d + "My Files/", 0},
        // A folder that does not exist is not preset; the name still is.
        {d + "gone/a.kvt", d + "sub/b.kvt", d + "gone/a.kvt", "", d + "sub/b.kvt", d + "sub/", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        TFilenameEdit edit;
        edit.setText(platform::ToQString(c.before));
        QSignalSpy changed(&edit, &QLineEdit::textChanged);
        std::optional<TFileDialogChoice> answer;
        if (c.answer) answer = TFileDialogChoice{*c.answer, 1};
        DialogAnswer dialog(answer);

        QTest::mouseClick(edit.Button, Qt::LeftButton, {}, edit.Button->rect().center());

        ASSERT_EQ(dialog.Requests.size(), 1u);
        EXPECT_EQ(dialog.Requests[0].FileName, c.presetName);
        EXPECT_EQ(dialog.Requests[0].InitialDir, c.presetFolder);
        EXPECT_EQ(dialog.Requests[0].Title, "Browse");
        EXPECT_EQ(Text(edit), c.after);
        EXPECT_EQ(edit.InitialDir(), c.folderAfter);
        EXPECT_EQ(changed.count(), c.changes);
        EXPECT_EQ(edit.FileDialog()->FileName, c.answer ? *c.answer : c.presetName);
    }
}

TEST(FilenameEdit, TheNextDialogOpensInTheFolderOfTheChosenFile) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("a b"));
    TFilenameEdit edit;
    {
        DialogAnswer dialog(TFileDialogChoice{dir.File("a b/one.kvt"), 1});
        QTest::mouseClick(edit.Button, Qt::LeftButton);
    }
    EXPECT_EQ(Text(edit), "\"" + dir.File("a b/one.kvt") + "\"");
    EXPECT_EQ(edit.FileName(), dir.File("a b/one.kvt"));
    DialogAnswer second(std::nullopt);
    QTest::mouseClick(edit.Button, Qt::LeftButton);
    ASSERT_EQ(second.Requests.size(), 1u);
    EXPECT_EQ(second.Requests[0].InitialDir, dir.File("a b/"));
    EXPECT_EQ(second.Requests[0].FileName, dir.File("a b/one.kvt"));
}

TEST(FilenameEdit, EventsComeInOrderAndMaySteerTheRoad) {
    std::vector<std::string> seen;
    TFilenameEdit edit;
    edit.setText("first.kvt");
    QObject::connect(&edit, &QLineEdit::textChanged, [&](const QString& t) { seen.push_back("change " + t.toStdString()); });
    edit.OnButtonClick = [&](TCustomComboEdit&) { seen.push_back("button"); };
    edit.OnBeforeDialog = [&](TFileDirEdit&, std::string& name, bool& action) {
        seen.push_back("before " + name + (action ? " go" : " stop"));
        name = "/tmp/renamed.kvt";
    };
    edit.OnAfterDialog = [&](TFileDirEdit&, std::string& name, bool& action) {
        seen.push_back("after " + name + (action ? " ok" : " cancel"));
        name = "/tmp/final.kvt";
    };
    {
        DialogAnswer dialog(TFileDialogChoice{"/tmp/picked.kvt", 1});
        QTest::mouseClick(edit.Button, Qt::LeftButton);
        ASSERT_EQ(dialog.Requests.size(), 1u);
        EXPECT_EQ(dialog.Requests[0].FileName, "/tmp/renamed.kvt");
    }
    const std::vector<std::string> order = {"button", "before first.kvt go", "after /tmp/picked.kvt ok",
                                            "change /tmp/final.kvt"};
    EXPECT_EQ(seen, order);
    EXPECT_EQ(edit.FileDialog()->FileName, "/tmp/picked.kvt");

    // Cancel: the after event still comes, with Action false, and the text stays.
    seen.clear();
    edit.OnBeforeDialog = nullptr;
    {
        DialogAnswer dialog(std::nullopt);
        QTest::mouseClick(edit.Button, Qt::LeftButton);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"button", "after /tmp/final.kvt cancel"}));
    EXPECT_EQ(Text(edit), "/tmp/final.kvt");

    // A handler that stops the road: no dialog at all.
    seen.clear();
    edit.OnBeforeDialog = [&](TFileDirEdit&, std::string&, bool& action) { action = false; };
    DialogAnswer dialog(TFileDialogChoice{"/tmp/never.kvt", 1});
    QTest::mouseClick(edit.Button, Qt::LeftButton);
    EXPECT_TRUE(dialog.Requests.empty());
    EXPECT_EQ(seen, (std::vector<std::string>{"button"}));
    EXPECT_EQ(Text(edit), "/tmp/final.kvt");
}

TEST(FilenameEdit, ErrorBoxesAreOffOnlyWhileTheDialogRuns) {
    const unsigned before = platform::SetErrorMode(0);
    TFilenameEdit edit;
    DialogAnswer dialog(std::nullopt);
    QTest::mouseClick(edit.Button, Qt::LeftButton);
    EXPECT_EQ(dialog.ErrorModeWhileShown, 0x8001u);
    EXPECT_EQ(platform::GetErrorMode(), 0u);
    EXPECT_EQ(edit.SavedErrorMode(), 0u);

    // A dialog that fails still restores the mode, and the failure is shown, not thrown out of
    // the click.
    RecordingInteraction shown;
    platform::ScopedFileChoiceHook failing([](const TFileDialogRequest&) -> std::optional<TFileDialogChoice> {
        throw std::runtime_error("no dialog");
    });
    edit.setText("/tmp/kept.kvt");
    QTest::mouseClick(edit.Button, Qt::LeftButton);
    EXPECT_EQ(platform::GetErrorMode(), 0u);
    EXPECT_EQ(shown.Errors, std::vector<std::string>{"no dialog"});
    EXPECT_EQ(Text(edit), "/tmp/kept.kvt");
    platform::SetErrorMode(before);
}

TEST(FilenameEdit, TheDialogKindRebuildsTheDialogAndKeepsItsSettings) {
    TFilenameEdit edit;
    TOpenDialog* first = edit.FileDialog();
    edit.SetDialogKind(dkOpen);
    EXPECT_EQ(edit.FileDialog(), first);

    edit.SetDialogTitle("Export");
    edit.SetFilter("Text (*.kvt)|*.kvt|XML (*.xml)|*.xml");
    edit.SetFilterIndex(2);
    edit.SetInitialDir("/tmp/");
    edit.SetDefaultExt("kvt");
    edit.SetDialogOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
    edit.FileDialog()->FileName = "/tmp/x.kvt";
    edit.FileDialog()->HelpContext = 7;
    edit.FileDialog()->OptionsEx = {ofExNoPlacesBar};

    edit.SetDialogKind(dkSave);
    TOpenDialog* save = edit.FileDialog();
    EXPECT_TRUE(save->IsSaveDialog());
    EXPECT_EQ(save->Title, "Export");
    EXPECT_EQ(save->Filter, "Text (*.kvt)|*.kvt|XML (*.xml)|*.xml");
    EXPECT_EQ(save->FilterIndex, 2);
    EXPECT_EQ(save->InitialDir, "/tmp/");
    EXPECT_EQ(save->DefaultExt, "kvt");
    EXPECT_EQ(save->FileName, "/tmp/x.kvt");
    EXPECT_EQ(save->Options, (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing}));
    EXPECT_EQ(save->HelpContext, 0);
    EXPECT_TRUE(save->OptionsEx.empty());

    // The save dialog asks before overwriting and reports the file type the user left selected.
    edit.setText("");
    DialogAnswer dialog(TFileDialogChoice{"/tmp/y.xml", 2});
    QTest::mouseClick(edit.Button, Qt::LeftButton);
    ASSERT_EQ(dialog.Requests.size(), 1u);
    EXPECT_EQ(dialog.Requests[0].Kind, TFileDialogRequest::TKind::Save);
    EXPECT_TRUE(dialog.Requests[0].OverwritePrompt);
    EXPECT_EQ(dialog.Requests[0].Filter, "Text (*.kvt)|*.kvt|XML (*.xml)|*.xml");
    EXPECT_EQ(dialog.Requests[0].FilterIndex, 2);
    EXPECT_EQ(dialog.Requests[0].Title, "Export");
    EXPECT_EQ(edit.FileDialog()->FilterIndex, 2);
    EXPECT_EQ(edit.FileDialog()->FileName, "/tmp/y.xml");

    edit.SetDialogKind(dkOpenPicture);
    EXPECT_FALSE(edit.FileDialog()->IsSaveDialog());
    EXPECT_TRUE(edit.FileDialog()->ShowsPicturePreview());
    EXPECT_EQ(edit.FileDialog()->Files, std::vector<std::string>{"/tmp/y.xml"});
}

TEST(FilenameEdit, TheFileNameProperty) {
    TFilenameEdit edit;
    QSignalSpy changed(&edit, &QLineEdit::textChanged);
    edit.SetFileName("/tmp/my file.kvt");
    EXPECT_EQ(Text(edit), "\"/tmp/my file.kvt\"");
    EXPECT_EQ(edit.FileName(), "/tmp/my file.kvt");
    edit.SetFileName("/tmp/plain.kvt");
    EXPECT_EQ(Text(edit), "/tmp/plain.kvt");
    EXPECT_EQ(changed.count(), 2);

    for (const std::string bad : {"a<b.kvt", "x|y", "[z]"}) {
        try {
            edit.SetFileName(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const EComboEditError& e) {
            EXPECT_EQ(e.Message(), "Invalid file name - " + bad);
        }
        EXPECT_EQ(Text(edit), "/tmp/plain.kvt");
    }
    edit.SetFileName("");
    EXPECT_EQ(Text(edit), "");

    // Several names read back as the first; the long name is the one on the disk.
    edit.setText("\"/tmp/a b.kvt\" /tmp/c.kvt");
    EXPECT_EQ(edit.FileName(), "/tmp/a b.kvt");
    TempDir dir;
    WriteBytes(dir.File("real one.kvt"), "x");
    edit.SetFileName(dir.File("real one.kvt"));
    EXPECT_EQ(edit.GetLongFileName(), "real one.kvt");
    EXPECT_EQ(edit.GetShortFileName(), "real one.kvt");
    edit.SetFileName(dir.File("missing.kvt"));
    EXPECT_EQ(edit.GetLongFileName(), "");
}

TEST(FilenameEdit, TypedTextLeavesTheDialogAlone) {
    QWidget window;
    TFilenameEdit edit(&window);
    window.show();
    edit.setFocus();
    QTest::keyClicks(&edit, "/tmp/typed.kvt");
    EXPECT_EQ(Text(edit), "/tmp/typed.kvt");
    EXPECT_EQ(edit.FileDialog()->FileName, "");

    // Alt+Down browses as the button does.
    DialogAnswer dialog(TFileDialogChoice{"/tmp/chosen.kvt", 1});
    QTest::keyPress(&edit, Qt::Key_Down, Qt::AltModifier);
    QTest::keyRelease(&edit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_EQ(dialog.Requests.size(), 1u);
    EXPECT_EQ(dialog.Requests[0].FileName, "/tmp/typed.kvt");
    EXPECT_EQ(Text(edit), "/tmp/chosen.kvt");
}

TEST(FilenameEdit, TheButtonShowsTheFolderGlyphAndItsEmbossedFormWhenDisabled) {
    QWidget window;
    TFilenameEdit edit(&window);
    edit.resize(200, 21);
    window.show();
    const auto countIn = [](const QImage& image, const QRect& area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
        return n;
    };
    const QRect host = edit.ButtonHost->geometry();
    const QImage enabled = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int yellow = countIn(enabled, host, qRgb(255, 255, 0));
    EXPECT_GT(yellow, 10);
    EXPECT_EQ(countIn(enabled, host, qRgb(255, 0, 255)), 0);   // the ground is transparent
    EXPECT_EQ(countIn(enabled, QRect(0, 0, host.left(), edit.height()), qRgb(255, 255, 0)), 0);

    edit.setEnabled(false);
    const QImage disabled = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(countIn(disabled, host, qRgb(255, 255, 0)), 0);
    EXPECT_GT(countIn(disabled, host, controls::TFaceColors::Current().BtnShadow.rgb()), 10);
}

// Takes a drop as the desktop would hand it over at the end of a drag.
class DropTarget : public TFilenameEdit {
public:
    using TFilenameEdit::TFilenameEdit;
    void Drop(QDropEvent& event) { dropEvent(&event); }
};

TEST(FilenameEdit, DroppedFilesWhenAccepted) {
    TempDir dir;
    QWidget window;
    DropTarget edit(&window);
    window.show();
    int drops = 0;
    edit.OnDropFiles = [&](TFileDirEdit&) { ++drops; };
    const auto drop = [&](const QList<QUrl>& urls) {
        auto* data = new QMimeData;
        data->setUrls(urls);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        edit.Drop(event);
        delete data;
    };
    const QList<QUrl> two = {QUrl::fromLocalFile(platform::ToQString(dir.File("first one.kvt"))),
                             QUrl::fromLocalFile(platform::ToQString(dir.File("second.kvt")))};
    edit.SetAcceptFiles(true);
    EXPECT_TRUE(edit.acceptDrops());
    drop(two);
    EXPECT_EQ(Text(edit), "\"" + dir.File("first one.kvt") + "\"");
    EXPECT_EQ(drops, 1);

    // With several names allowed, the first goes into the text and all into the dialog's files.
    edit.SetDialogOptions({ofHideReadOnly, ofAllowMultiSelect});
    EXPECT_TRUE(edit.MultiSelect());
    edit.clear();
    drop(two);
    EXPECT_EQ(Text(edit), "\"" + dir.File("first one.kvt") + "\"");
    EXPECT_EQ(edit.FileDialog()->Files, (std::vector<std::string>{dir.File("first one.kvt"), dir.File("second.kvt")}));
    edit.SetDialogOptions({ofHideReadOnly});
    EXPECT_TRUE(edit.FileDialog()->Files.empty());

    // An invalid name is refused with its message; the text stays.
    RecordingInteraction shown;
    drop({QUrl::fromLocalFile(platform::ToQString(dir.File("a|b.kvt")))});
    EXPECT_EQ(shown.Errors, std::vector<std::string>{"Invalid file name - " + dir.File("a|b.kvt")});
    EXPECT_EQ(Text(edit), "\"" + dir.File("first one.kvt") + "\"");
}
