#include "tests/app/AppTestSupport.h"

#include <QCoreApplication>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include "app/MainForm.h"
#include "lang/DlgLangConverter.h"
#include "lang/VersionInformation.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtMessagePoster.h"
#include "store/StoreServices.h"
#include "tree/ObjectsTree.h"
#include "tree/TreeNode.h"

void Flush() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

struct TAppTestEnvironment::Saved {
    std::unique_ptr<TDlgLangConverter> Table;
    TStoreServices Store;
    TMessageDialog::Responder Responder;
    platform::FileDialogHook Files;
};

TAppTestEnvironment::TAppTestEnvironment() : saved_(std::make_unique<Saved>()) {
    saved_->Table = lang::SetMessageTable(std::make_unique<TDlgLangConverter>(lang::LanguageFileName()));
    saved_->Store = StoreServices();
    StoreServices().MessageText = [](const std::string& key) { return lang::GetMessageText(key); };
    StoreServices().ShowMessageText = [](const std::string& text) { lang::ShowMessageText(text); };
    const TVersionInformation version(platform::ProgramFile());
    StoreServices().ProgramProductInfo = [info = TProductInfo{version.ProductName, version.ProductVersion}] {
        return info;
    };
    saved_->Responder = TMessageDialog::SetResponder([this](const TMessageDialog& d) -> std::uint8_t {
        Asked.push_back({d.Title, d.Caption, d.DialogType});
        Log.push_back("question:" + d.Caption);
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << d.Caption;
            return TMessageDialog::mrNo;
        }
        const std::uint8_t answer = Answers.front();
        Answers.pop_front();
        return answer;
    });
    saved_->Files =
        platform::SetFileDialogHook([this](const platform::TFileDialogRequest& r) -> std::optional<std::string> {
            Dialogs.push_back(r);
            Log.push_back("file:" + r.Title);
            if (Files.empty()) {
                ADD_FAILURE() << "unexpected file dialog: " << r.Title;
                return std::nullopt;
            }
            std::optional<std::string> chosen = Files.front();
            Files.pop_front();
            return chosen;
        });
    platform::InstallQtMessagePoster();
}

TAppTestEnvironment::~TAppTestEnvironment() {
    Flush();
    platform::MessageHub().SetPoster(nullptr);
    platform::SetFileDialogHook(std::move(saved_->Files));
    TMessageDialog::SetResponder(std::move(saved_->Responder));
    StoreServices() = saved_->Store;
    lang::SetMessageTable(std::move(saved_->Table));
}

namespace {

QTreeWidgetItem* FindBuiltNode(TMainForm& window, int kind, std::int32_t under) {
    for (QTreeWidgetItemIterator it(window.Tree); *it; ++it) {
        QTreeWidgetItem* node = *it;
        if (GetNodeKind(node) != kind) continue;
        if (under < 0) return node;
        const std::int32_t owner = kind <= nkTestGroup ? GetNodeID(node) : TObjectsTree::TestIDOf(node);
        if (owner == under) return node;
    }
    return nullptr;
}

}  // namespace

QTreeWidgetItem* FindNode(TMainForm& window, int kind, std::int32_t under) {
    if (QTreeWidgetItem* node = FindBuiltNode(window, kind, under)) return node;
    // Answers and weights are built when first needed; one not built yet is sought in the whole tree.
    window.Tree->BuildAll(nullptr);
    return FindBuiltNode(window, kind, under);
}

void Select(TMainForm& window, QTreeWidgetItem* node) { window.Tree->setCurrentItem(node); }

void PressKey(TMainForm& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) ADD_FAILURE() << "the main window did not become active";
    QTest::keyClick(window.Tree, key, modifiers);
    Flush();
}

void WriteProject(const std::string& fileName, void (*fill)(TFileAccess&)) {
    TFileAccess store(fileName, platform::FormatSettings::Posix());
    fill(store);
    ASSERT_TRUE(store.SaveAll()) << store.LastError;
}

namespace {

template <typename T>
bool SameTable(const T& a, const T& b) {
    if (a.RecordCount() != b.RecordCount()) return false;
    for (int i = 0; i < a.RecordCount(); ++i)
        if (!(a.At(i) == b.At(i))) return false;
    return true;
}

}  // namespace

::testing::AssertionResult SameTables(const TFileAccess& a, const TFileAccess& b) {
    if (!SameTable(a.TestGroups, b.TestGroups)) return ::testing::AssertionFailure() << "test groups differ";
    if (!SameTable(a.Tests, b.Tests)) return ::testing::AssertionFailure() << "tests differ";
    if (!SameTable(a.Stimuli, b.Stimuli)) return ::testing::AssertionFailure() << "questions differ";
    if (!SameTable(a.Reactions, b.Reactions)) return ::testing::AssertionFailure() << "answers differ";
    if (!SameTable(a.Scales, b.Scales)) return ::testing::AssertionFailure() << "scales differ";
    if (!SameTable(a.Interpretations, b.Interpretations))
        return ::testing::AssertionFailure() << "interpretations differ";
    if (!SameTable(a.Weights, b.Weights)) return ::testing::AssertionFailure() << "weights differ";
    return ::testing::AssertionSuccess();
}
