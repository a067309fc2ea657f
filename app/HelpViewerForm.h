#pragma once
#include <QTextBrowser>
#include <QWidget>

#include <memory>
#include <string>

#include "lang/LanguageController.h"
#include "platform/ChmFile.h"
#include "platform/HtmlHelp.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The text pane of the help viewer: pages and pictures come from the help file; links to
// another page of the file stay in the viewer, web and mail links go to the desktop's programs.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent);
    void SetFile(const platform::TChmFile* file) { file_ = file; }
    QVariant loadResource(int type, const QUrl& name) override;

    // The address of a topic path of the help file ("/main.html#fields").
    static QUrl TopicUrl(const std::string& topic);
    // The object path of the file that the address names, without its anchor.
    static std::string ObjectPathOf(const QUrl& url);

private:
    void OnAnchorClicked(const QUrl& url);
    const platform::TChmFile* file_ = nullptr;
};

// The help viewer: a window of its own that shows the compiled help file, with its contents
// tree, its keyword index and the topic pane. It takes the five HTML Help commands.
class THelpViewerForm : public TLanguageController<QWidget>, public platform::IHtmlHelp {
    Q_OBJECT
public:
    explicit THelpViewerForm(QWidget* parent = nullptr);
    ~THelpViewerForm() override;

    void HtmlHelp(const std::string& helpFile, std::uint32_t command, const platform::THelpData& request) override;

    // Shows a topic of the open file (a path in it, possibly with an anchor); False when the
    // file has no such page.
    bool ShowTopic(const std::string& topic);
    // The object path of the page shown, empty before the first.
    std::string CurrentTopic() const;
    const platform::TChmFile* File() const { return file_.get(); }

    QSplitter* SplitterHelp;
    QTabWidget* TabsNavigation;
    QWidget* TabContents;
    QTreeWidget* TreeContents;
    QWidget* TabIndex;
    QLineEdit* EditKeyword;
    QListWidget* ListIndex;
    QWidget* PanelTopic;
    QPushButton* ButtonBack;
    QPushButton* ButtonForward;
    QPushButton* ButtonHome;
    THelpBrowser* BrowserTopic;

private:
    // Opens the help file unless it is the one open; a file that cannot be read is reported
    // to the user and False is returned.
    bool OpenFile(const std::string& helpFile);
    void FillContents();
    void FillIndex();
    void SelectKeyword(const QString& keyword);
    void ShowIndexItem(QListWidgetItem* item);
    void ShowContentsItem(QTreeWidgetItem* item);
    // Selects the contents entry of the topic shown, if it has one.
    void MarkContentsItem(const std::string& topic);
    // Shows the person a failure, once for the commands of one help request.
    void Report(const std::string& text);
    // Shows the viewer, raised and active, also when it was minimised or behind another window.
    void Present();

    std::unique_ptr<platform::TChmFile> file_;
    std::string openedAs_;
    std::uint64_t reportedRequest_ = 0;
    std::uint64_t refusedRequest_ = 0;
    std::string refusedPath_;
};
