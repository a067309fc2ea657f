#include "app/HelpViewerForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWindow>

#include <functional>

#include "app/Links.h"
#include "lang/DlgLangConverter.h"
#include "platform/Browser.h"
#include "platform/HelpSitemap.h"
#include "platform/qt/QtText.h"

namespace {

constexpr const char* kScheme = "chm";

// Help texts are UTF-8, whatever the user's code page.
QString Utf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Why a help file that is there was refused.
std::string RefusalText(platform::TChmRefusal refusal) {
    using platform::TChmRefusal;
    switch (refusal) {
        case TChmRefusal::NotRegular: return lang::GetMessageText("HELP_REFUSED_NOT_REGULAR");
        case TChmRefusal::TooLarge: return lang::GetMessageText("HELP_REFUSED_TOO_LARGE");
        case TChmRefusal::NotHelpFile: return lang::GetMessageText("HELP_REFUSED_NOT_HELP_FILE");
        case TChmRefusal::TooMuchContent: return lang::GetMessageText("HELP_REFUSED_TOO_MUCH");
        case TChmRefusal::ReaderStopped: return lang::GetMessageText("HELP_REFUSED_READER_STOPPED");
        case TChmRefusal::ReaderTimedOut: return lang::GetMessageText("HELP_REFUSED_TIMED_OUT");
        case TChmRefusal::ReaderFailed: return lang::GetMessageText("HELP_REFUSED_NO_READER");
        default: return lang::GetMessageText("HELP_REFUSED_DAMAGED");
    }
}

}  // namespace

// ---- the text pane

THelpBrowser::THelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links are followed here, never handed to the desktop by Qt itself.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &THelpBrowser::OnAnchorClicked);
}

QUrl THelpBrowser::TopicUrl(const std::string& topic) {
    const std::size_t hash = topic.find('#');
    QUrl url;
    url.setScheme(kScheme);
    const std::string path = topic.substr(0, hash);
    url.setPath(Utf8(path.empty() || path[0] != '/' ? "/" + path : path));
    if (hash != std::string::npos) url.setFragment(Utf8(topic.substr(hash + 1)));
    return url;
}

std::string THelpBrowser::ObjectPathOf(const QUrl& url) { return url.path().toStdString(); }

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
    if (!file_) return {};
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != kScheme) return {};
    const std::optional<std::string> content = file_->Read(ObjectPathOf(url));
    if (!content) return {};
    const QByteArray bytes(content->data(), static_cast<qsizetype>(content->size()));
    if (type == QTextDocument::ImageResource) return QImage::fromData(bytes);
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource) return QString::fromUtf8(bytes);
    return bytes;
}

void THelpBrowser::OnAnchorClicked(const QUrl& link) {
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    if (url.scheme() == kScheme) {
        if (file_ && file_->Exists(ObjectPathOf(url))) setSource(url);
        return;
    }
    // Web pages and mail in the desktop's programs; any other scheme is not followed.
    const std::string scheme = url.scheme().toLower().toStdString();
    if (scheme == "http" || scheme == "https" || scheme == "mailto") OpenLink(url.toString().toStdString());
}

// ---- the window

THelpViewerForm::THelpViewerForm(QWidget* parent) : TLanguageController(parent) {
    setObjectName("HelpViewerForm");
    setWindowFlag(Qt::Window);
    resize(900, 640);

    auto* layout = new QVBoxLayout(this);
    SplitterHelp = new QSplitter(Qt::Horizontal, this);
    SplitterHelp->setObjectName("SplitterHelp");
    layout->addWidget(SplitterHelp);

    TabsNavigation = new QTabWidget(SplitterHelp);
    TabsNavigation->setObjectName("TabsNavigation");
    TabContents = new QWidget;
    TabContents->setObjectName("TabContents");
    TreeContents = new QTreeWidget(TabContents);
    TreeContents->setObjectName("TreeContents");
    TreeContents->setHeaderHidden(true);
    (new QVBoxLayout(TabContents))->addWidget(TreeContents);
    TabsNavigation->addTab(TabContents, "Contents");

    TabIndex = new QWidget;
    TabIndex->setObjectName("TabIndex");
    EditKeyword = new QLineEdit(TabIndex);
    EditKeyword->setObjectName("EditKeyword");
    ListIndex = new QListWidget(TabIndex);
    ListIndex->setObjectName("ListIndex");
    auto* indexLayout = new QVBoxLayout(TabIndex);
    indexLayout->addWidget(EditKeyword);
    indexLayout->addWidget(ListIndex);
    TabsNavigation->addTab(TabIndex, "Index");

    PanelTopic = new QWidget(SplitterHelp);
    PanelTopic->setObjectName("PanelTopic");
    auto* topicLayout = new QVBoxLayout(PanelTopic);
    topicLayout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    ButtonBack = new QPushButton(PanelTopic);
    ButtonBack->setObjectName("ButtonBack");
    ButtonForward = new QPushButton(PanelTopic);
    ButtonForward->setObjectName("ButtonForward");
    ButtonHome = new QPushButton(PanelTopic);
    ButtonHome->setObjectName("ButtonHome");
    buttons->addWidget(ButtonBack);
    buttons->addWidget(ButtonForward);
    buttons->addWidget(ButtonHome);
    buttons->addStretch(1);
    topicLayout->addLayout(buttons);
    BrowserTopic = new THelpBrowser(PanelTopic);
    BrowserTopic->setObjectName("BrowserTopic");
    topicLayout->addWidget(BrowserTopic);
    SplitterHelp->setStretchFactor(1, 1);
    SplitterHelp->setSizes({260, 640});

    ApplyLanguage();

    ButtonBack->setEnabled(false);
    ButtonForward->setEnabled(false);
    connect(BrowserTopic, &QTextBrowser::backwardAvailable, ButtonBack, &QWidget::setEnabled);
    connect(BrowserTopic, &QTextBrowser::forwardAvailable, ButtonForward, &QWidget::setEnabled);
    connect(ButtonBack, &QPushButton::clicked, BrowserTopic, &QTextBrowser::backward);
    connect(ButtonForward, &QPushButton::clicked, BrowserTopic, &QTextBrowser::forward);
    connect(ButtonHome, &QPushButton::clicked, this, [this] {
        if (file_) ShowTopic(file_->DefaultTopic());
    });
    // The contents follow the topic shown, however it was reached.
    connect(BrowserTopic, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { MarkContentsItem(THelpBrowser::ObjectPathOf(url)); });
    connect(TreeContents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
    connect(TreeContents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
    connect(EditKeyword, &QLineEdit::textEdited, this, [this](const QString& text) { SelectKeyword(text); });
    connect(EditKeyword, &QLineEdit::returnPressed, this, [this] { ShowIndexItem(ListIndex->currentItem()); });
    connect(ListIndex, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { ShowIndexItem(item); });
    connect(ListIndex, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { ShowIndexItem(item); });
}

THelpViewerForm::~THelpViewerForm() = default;

bool THelpViewerForm::OpenFile(const std::string& helpFile) {
    const std::string path = platform::ResolveHelpFile(helpFile);
    if (file_ && openedAs_ == path) return true;
    // The later commands of one request do not read a refused file again.
    const std::uint64_t request = platform::CurrentHelpRequest();
    if (request != 0 && request == refusedRequest_ && path == refusedPath_) return false;
    auto file = std::make_unique<platform::TChmFile>(path);
    if (!file->IsOpen()) {
        refusedRequest_ = request;
        refusedPath_ = path;
    }
    if (file->Refusal() == platform::TChmRefusal::Missing) {
        Report(lang::GetMessageText("HELP_FILE_NOT_OPENED") + "\n" + path);
        return false;
    }
    if (!file->IsOpen()) {
        Report(lang::GetMessageText("HELP_NOT_AVAILABLE") + "\n" + RefusalText(file->Refusal()) + "\n" + path);
        return false;
    }
    BrowserTopic->clear();
    BrowserTopic->clearHistory();
    file_ = std::move(file);
    openedAs_ = path;
    BrowserTopic->SetFile(file_.get());
    if (!file_->Title().empty()) setWindowTitle(Utf8(file_->Title()));
    FillContents();
    FillIndex();
    return true;
}

void THelpViewerForm::FillContents() {
    TreeContents->clear();
    const std::optional<std::string> hhc = file_->Read(file_->ContentsFile());
    if (!hhc) return;
    const std::function<void(QTreeWidgetItem*, const std::vector<platform::THelpSitemapEntry>&)> add =
        [&](QTreeWidgetItem* parent, const std::vector<platform::THelpSitemapEntry>& entries) {
            for (const platform::THelpSitemapEntry& e : entries) {
                auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeContents);
                item->setText(0, Utf8(e.Name));
                item->setData(0, Qt::UserRole, Utf8(e.Local));
                add(item, e.Children);
            }
        };
    add(nullptr, platform::ParseHelpSitemap(*hhc));
    TreeContents->expandAll();
}

void THelpViewerForm::FillIndex() {
    ListIndex->clear();
    const std::optional<std::string> hhk = file_->Read(file_->IndexFile());
    if (!hhk) return;
    // Sub-entries are shown indented below their keyword.
    const std::function<void(const std::vector<platform::THelpSitemapEntry>&, int)> add =
        [&](const std::vector<platform::THelpSitemapEntry>& entries, int level) {
            for (const platform::THelpSitemapEntry& e : entries) {
                auto* item = new QListWidgetItem(QString(level * 4, QLatin1Char(' ')) + Utf8(e.Name), ListIndex);
                item->setData(Qt::UserRole, Utf8(e.Local));
                add(e.Children, level + 1);
            }
        };
    add(platform::ParseHelpSitemap(*hhk), 0);
}

bool THelpViewerForm::ShowTopic(const std::string& topic) {
    if (!file_) return false;
    const QUrl url = THelpBrowser::TopicUrl(topic);
    if (!file_->Exists(THelpBrowser::ObjectPathOf(url))) return false;
    BrowserTopic->setSource(url);
    return true;
}

std::string THelpViewerForm::CurrentTopic() const {
    return BrowserTopic->source().isEmpty() ? std::string() : THelpBrowser::ObjectPathOf(BrowserTopic->source());
}

void THelpViewerForm::MarkContentsItem(const std::string& topic) {
    if (!file_) return;
    for (QTreeWidgetItemIterator it(TreeContents); *it; ++it) {
        const std::string local = (*it)->data(0, Qt::UserRole).toString().toStdString();
        if (!local.empty() && file_->FindObject(local.substr(0, local.find('#'))) == topic) {
            const QSignalBlocker quiet(TreeContents);
            TreeContents->setCurrentItem(*it);
            return;
        }
    }
}

void THelpViewerForm::ShowContentsItem(QTreeWidgetItem* item) {
    if (!item) return;
    const QString local = item->data(0, Qt::UserRole).toString();
    if (!local.isEmpty()) ShowTopic(local.toStdString());
}

void THelpViewerForm::ShowIndexItem(QListWidgetItem* item) {
    if (!item) return;
    const QString local = item->data(Qt::UserRole).toString();
    if (!local.isEmpty()) ShowTopic(local.toStdString());
}

// The first keyword at or after the text, as an index is looked up by hand.
void THelpViewerForm::SelectKeyword(const QString& keyword) {
    const QString wanted = keyword.trimmed();
    for (int i = 0; i < ListIndex->count(); ++i) {
        QListWidgetItem* item = ListIndex->item(i);
        const QString text = item->text().trimmed();
        if (item->text().startsWith(QLatin1Char(' '))) continue;
        if (QString::compare(text, wanted, Qt::CaseInsensitive) >= 0) {
            ListIndex->setCurrentItem(item);
            ListIndex->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
    if (ListIndex->count() > 0) ListIndex->setCurrentRow(ListIndex->count() - 1);
}

void THelpViewerForm::Report(const std::string& text) {
    // The commands of one request fail alike; the person hears of it once.
    const std::uint64_t request = platform::CurrentHelpRequest();
    if (request != 0 && request == reportedRequest_) return;
    reportedRequest_ = request;
    lang::ShowMessageText(text);
}

void THelpViewerForm::Present() {
    // A modal dialog blocks every other window of the program: while one is open, the help
    // stands above it as a window of its own, so that it can be read and used.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        create();
        windowHandle()->setTransientParent(modal->windowHandle());
    } else if (windowHandle()) {
        windowHandle()->setTransientParent(nullptr);
    }
    // A minimised viewer comes back as it was before; one behind another window comes to the front.
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void THelpViewerForm::HtmlHelp(const std::string& helpFile, std::uint32_t command, const platform::THelpData& request) {
    if (command == platform::HH_CLOSE_ALL) {
        hide();
        return;
    }
    if (!OpenFile(helpFile)) return;
    switch (command) {
        case platform::HH_DISPLAY_TOC:
            TabsNavigation->setCurrentWidget(TabContents);
            if (CurrentTopic().empty()) ShowTopic(file_->DefaultTopic());
            break;
        case platform::HH_DISPLAY_INDEX:
            TabsNavigation->setCurrentWidget(TabIndex);
            EditKeyword->setText(Utf8(request.Text));
            SelectKeyword(EditKeyword->text());
            if (CurrentTopic().empty()) ShowTopic(file_->DefaultTopic());
            break;
        case platform::HH_HELP_CONTEXT:
            if (const std::optional<std::string> topic =
                    request.Number <= 0xFFFFFFFFu ? file_->TopicOfContext(static_cast<std::uint32_t>(request.Number))
                                               : std::nullopt) {
                ShowTopic(*topic);
            } else {
                Report(lang::GetMessageText("HELP_NO_CONTEXT_TOPIC") + " " + std::to_string(request.Number));
                return;
            }
            break;
        default:
            if (request.Text.empty() || !ShowTopic(request.Text)) ShowTopic(file_->DefaultTopic());
            break;
    }
    Present();
}
