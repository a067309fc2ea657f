#include "runner/RunnerScreens.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>

#include <algorithm>

#include "platform/qt/QtText.h"

const QColor TRunnerScreens::kText(0, 0, 0);
const QColor TRunnerScreens::kChosen(255, 255, 0);
const QColor TRunnerScreens::kPointed(128, 128, 128);
const QColor TRunnerScreens::kLink(0, 0, 255);

namespace {

constexpr const char* kFace = "Verdana";

// A stored line break (CR LF, or a lone CR) as the label shows it.
QString ShownText(const std::string& text) {
    QString s = platform::ToQString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void SetColour(QWidget& w, const QColor& c) {
    QPalette p = w.palette();
    p.setColor(QPalette::WindowText, c);
    w.setPalette(p);
    // Inside an MDI window the text would otherwise be drawn in the role its parents suggest.
    w.setForegroundRole(QPalette::WindowText);
}

void SetHighlight(QWidget& w, bool on) {
    if (on) {
        QPalette p = w.palette();
        p.setColor(QPalette::Window, TRunnerScreens::kChosen);
        w.setPalette(p);
        w.setBackgroundRole(QPalette::Window);
    }
    w.setAutoFillBackground(on);
}

void SetFocusBorder(QLabel& w, bool on) { w.setFrameShape(on ? QFrame::Box : QFrame::NoFrame); }

// The scroll box of a page: the arrow keys move the focus through the page (the host window
// does that), so they do not scroll it.
class TPageScroller : public QScrollArea {
public:
    explicit TPageScroller(QWidget* parent) : QScrollArea(parent) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
        case Qt::Key_Down:
        case Qt::Key_Right: e->ignore(); return;
        default: QScrollArea::keyPressEvent(e);
        }
    }
};

// The panel of a page: the mouse over it refreshes the highlight.
class TPagePanel : public QWidget {
public:
    explicit TPagePanel(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }
    std::function<void()> OnMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* e) override {
        if (OnMouseMove) OnMouseMove();
        QWidget::mouseMoveEvent(e);
    }
};

}  // namespace

TStaticText::TStaticText(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(false);
}

void TStaticText::mousePressEvent(QMouseEvent* e) {
    if (OnMouseDown) OnMouseDown(*e);
    QLabel::mousePressEvent(e);
}

void TStaticText::mouseReleaseEvent(QMouseEvent* e) {
    const bool click = e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    QLabel::mouseReleaseEvent(e);
    if (click && OnClick) OnClick();
}

void TStaticText::mouseMoveEvent(QMouseEvent* e) {
    if (OnMouseMove) OnMouseMove();
    QLabel::mouseMoveEvent(e);
}

TRunnerScreens::TRunnerScreens(QWidget& host, platform::WindowHandle handle) : host_(host), handle_(handle) {}

TRunnerScreens::~TRunnerScreens() = default;

void TRunnerScreens::Reset() {
    panel_ = nullptr;
    heading_ = nullptr;
    answers_.clear();
    endLinks_.clear();
    backLink_ = nullptr;
    nextLink_ = nullptr;
}

void TRunnerScreens::ClearPage() {
    if (page_) {
        // A handler of the old page may be running (a link that moved on): release it later.
        page_->hide();
        page_->deleteLater();
        page_ = nullptr;
    }
    Reset();
}

QWidget* TRunnerScreens::CreatePage() {
    ClearPage();
    page_ = new TPageScroller(&host_);
    page_->setObjectName("RunnerPage");
    page_->setFrameShape(QFrame::NoFrame);
    page_->setFocusPolicy(Qt::NoFocus);
    page_->setWidgetResizable(false);
    page_->setGeometry(host_.rect());
    auto* panel = new TPagePanel(page_);
    panel->setObjectName("RunnerPanel");
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Button);
    panel->setCursor(Qt::ArrowCursor);
    panel->OnMouseMove = [this] { ApplyHighlight(-1); };
    panel->resize(800, 600);
    page_->setWidget(panel);
    panel_ = panel;
    panel_->resize(std::max(page_->width() - 20, 0), panel_->height());
    page_->show();
    return panel_;
}

void TRunnerScreens::Grow(const QWidget& w, int bottomMargin) {
    const int width = std::max(panel_->width(), w.geometry().right() + 1 + 20);
    const int height = std::max(panel_->height(), w.geometry().bottom() + 1 + bottomMargin);
    panel_->resize(width, height);
}

int TRunnerScreens::MeasureTextHeight(const QLabel& text) { return text.heightForWidth(text.width()); }

QLabel* TRunnerScreens::MakeLabel(int left, int top, int width, const std::string& text, int size, bool bold) {
    auto* label = new QLabel(panel_);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(QFont(kFace, size, bold ? QFont::Bold : QFont::Normal));
    SetColour(*label, kText);
    label->setText(ShownText(text));
    label->setGeometry(left, top, std::max(width, 1), 1);
    label->resize(label->width(), MeasureTextHeight(*label));
    label->show();
    return label;
}

void TRunnerScreens::ShowInstruction(const std::string& text, const TNavLinks& links) {
    CreatePage();
    heading_ = MakeLabel(40, 40, panel_->width() - 40, text, 14, false);
    Grow(*heading_, 0);
    DisplayNavLinks(heading_->geometry().bottom() + 1 + 40, links);
}

void TRunnerScreens::ShowStimulus(const std::string& title, const std::vector<TScreenAnswer>& answers,
                                  const TNavLinks& links) {
    CreatePage();
    const int panelWidth = panel_->width();
    heading_ = MakeLabel(40, 40, panelWidth - 40, title, 20, true);
    const int titleBottom = heading_->geometry().bottom() + 1;
    panel_->resize(panelWidth, titleBottom + 40);   // the panel may shrink here
    int y = titleBottom + 40;
    int linksTop = titleBottom + 40;
    for (const TScreenAnswer& a : answers) {
        auto* t = new TStaticText(panel_);
        t->setFocusPolicy(Qt::StrongFocus);
        t->setWordWrap(true);
        t->setFont(QFont(kFace, 14, QFont::Bold));
        SetColour(*t, kText);
        t->setText(ShownText(a.Text));
        t->setGeometry(40, y, std::max(panelWidth - 80, 1), 1);
        t->resize(t->width(), MeasureTextHeight(*t));
        t->Tag = a.ReactionID;
        t->setMouseTracking(true);
        const std::int32_t id = a.ReactionID;
        t->OnClick = [this, id] {
            if (events_) events_->AnswerClicked(id);
        };
        t->OnMouseMove = [this, id] { ApplyHighlight(id); };
        t->show();
        answers_.push_back(t);
        y = t->geometry().bottom() + 1 + 10;
        Grow(*t, 40);
        linksTop = t->geometry().bottom() + 1 + 40;
    }
    DisplayNavLinks(linksTop, links);
}

int TRunnerScreens::DisplayNavLinks(int top, const TNavLinks& links) {
    int x = 40;
    int bottom = 0;
    auto make = [&](const std::string& text, TNavLinkKind kind) {
        auto* link = new TStaticText(panel_);
        link->setFocusPolicy(Qt::StrongFocus);
        QFont f(host_.font().family(), 16, QFont::Bold);
        f.setUnderline(true);
        link->setFont(f);
        SetColour(*link, kLink);
        link->setText(ShownText(text));
        // Sized with room for the focus frame, so that the frame never cuts the text.
        SetFocusBorder(*link, true);
        link->adjustSize();
        SetFocusBorder(*link, false);
        link->move(x, top);
        link->setCursor(Qt::PointingHandCursor);
        link->OnMouseDown = [this, kind](QMouseEvent& e) {
            if ((e.buttons() & Qt::LeftButton) && events_) events_->NavLinkPressed(kind);
        };
        link->show();
        x = link->width() + 80;
        bottom = link->geometry().bottom() + 1 + 40;
        return link;
    };
    if (links.Back) backLink_ = make(links.BackText, TNavLinkKind::Back);
    if (links.Next) nextLink_ = make(links.NextText, TNavLinkKind::Next);
    if (bottom > panel_->height()) panel_->resize(panel_->width(), bottom);
    return bottom;
}

int TRunnerScreens::EndScreenLabel(int top, bool isLink, int tag, const std::string& text) {
    auto* t = new TStaticText(panel_);
    t->setWordWrap(true);
    QFont f(kFace, isLink ? 10 : 20, QFont::Bold);
    f.setUnderline(isLink);
    t->setFont(f);
    t->Tag = tag;
    t->setText(ShownText(text));
    // As wide as the host window, not the panel.
    t->setGeometry(40, top, std::max(host_.width() - 80, 1), 1);
    // A link is measured with room for the frame that shows the focus.
    if (isLink) SetFocusBorder(*t, true);
    t->resize(t->width(), MeasureTextHeight(*t));
    SetFocusBorder(*t, false);
    if (isLink) {
        t->setFocusPolicy(Qt::StrongFocus);
        SetColour(*t, kLink);
        t->setCursor(Qt::PointingHandCursor);
        t->OnMouseDown = [this, tag](QMouseEvent& e) {
            if ((e.buttons() & Qt::LeftButton) && events_) events_->EndScreenLinkPressed(tag);
        };
        endLinks_.push_back(t);
    } else {
        SetColour(*t, kText);
        heading_ = t;
    }
    t->show();
    Grow(*t, 40);
    return t->geometry().bottom() + 1;
}

void TRunnerScreens::ShowEndScreen(const std::string& heading, const std::vector<TScreenLink>& links) {
    CreatePage();
    int y = EndScreenLabel(40, false, -1, heading);
    if (links.empty()) return;
    y += 40;
    for (const TScreenLink& l : links) y = EndScreenLabel(y + 20, true, l.StimulusIndex, l.Text);
}

void TRunnerScreens::Highlight(const std::vector<std::int32_t>& chosen) {
    chosen_ = chosen;
    ApplyHighlight(-1);
}

void TRunnerScreens::ApplyHighlight(std::int32_t pointed) {
    const QWidget* focus = host_.focusWidget();
    for (TStaticText* t : answers_) {
        const bool chosen = std::find(chosen_.begin(), chosen_.end(), t->Tag) != chosen_.end();
        // Yellow marks a chosen answer as a highlight behind its black text: yellow text on the
        // light page could not be read.
        SetColour(*t, chosen ? kText : (t->Tag == pointed ? kPointed : kText));
        SetHighlight(*t, chosen);
        SetFocusBorder(*t, t == focus);
    }
    for (TStaticText* l : {backLink_, nextLink_})
        if (l) SetFocusBorder(*l, l == focus);
    for (TStaticText* l : endLinks_) SetFocusBorder(*l, l == focus);
}

int TRunnerScreens::FocusedAnswer() const {
    const QWidget* focus = host_.focusWidget();
    for (std::size_t i = 0; i < answers_.size(); ++i)
        if (answers_[i] == focus) return static_cast<int>(i);
    return -99999;
}

void TRunnerScreens::FocusAnswer(int index) {
    if (index >= 0 && index < static_cast<int>(answers_.size()))
        answers_[static_cast<std::size_t>(index)]->setFocus(Qt::OtherFocusReason);
}

std::vector<TStaticText*> TRunnerScreens::FocusChain() const {
    std::vector<TStaticText*> chain(answers_);
    for (TStaticText* l : {backLink_, nextLink_})
        if (l) chain.push_back(l);
    chain.insert(chain.end(), endLinks_.begin(), endLinks_.end());
    return chain;
}

void TRunnerScreens::MoveFocus(bool forward) {
    const std::vector<TStaticText*> chain = FocusChain();
    if (chain.empty()) return;
    const auto n = static_cast<std::ptrdiff_t>(chain.size());
    const auto at = std::find(chain.begin(), chain.end(), host_.focusWidget()) - chain.begin();
    std::ptrdiff_t next = 0;
    if (at == n) {
        next = forward ? 0 : n - 1;   // from outside the page: its first or last control
    } else {
        next = (at + (forward ? 1 : n - 1)) % n;
    }
    TStaticText* target = chain[static_cast<std::size_t>(next)];
    target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    if (page_) page_->ensureWidgetVisible(target);
    // The frame follows the focus on every page, the instruction's Next link included.
    ApplyHighlight(-1);
}

TNavLinkKind TRunnerScreens::FocusedNavLink() const {
    const QWidget* focus = host_.focusWidget();
    if (focus && focus == backLink_) return TNavLinkKind::Back;
    if (focus && focus == nextLink_) return TNavLinkKind::Next;
    return TNavLinkKind::None;
}

int TRunnerScreens::FocusedEndLink() const {
    const QWidget* focus = host_.focusWidget();
    for (const TStaticText* l : endLinks_)
        if (l == focus) return l->Tag;
    return -99999;
}

TStaticText* TRunnerScreens::NavLink(TNavLinkKind kind) const {
    return kind == TNavLinkKind::Back ? backLink_ : kind == TNavLinkKind::Next ? nextLink_ : nullptr;
}
