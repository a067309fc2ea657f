#include "lang/LanguageController.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include "lang/DlgLangConverter.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"

namespace {

using platform::FromQString;
using platform::ToQString;

class Reader {
public:
    Reader(const std::string& file, const QString& section)
        : ini_(platform::IniFile::Load(file)), section_(FromQString(section)) {}
    QString Text(const QString& key) const {
        return ToQString(ini_.ReadString(section_, FromQString(key), TLanguageTexts::kAbsent));
    }

private:
    platform::IniFile ini_;
    std::string section_;
};

bool IsComponent(const QObject* o) {
    const QString name = o->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

// Whose text is its content: only the hint comes from the file. A widget of our own that holds
// content says so with the property "languageTextIsContent".
bool IsEdit(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           w->property("languageTextIsContent").toBool();
}

// The tab widget that shows w as one of its pages, if any.
QTabWidget* TabOf(QWidget* w) {
    auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(w) >= 0 ? tabs : nullptr;
}

void SetHint(QWidget* w, const QString& hint) {
    // A tool button that shows an action shows the action's tip.
    if (auto* tb = qobject_cast<QToolButton*>(w); tb && tb->defaultAction()) {
        tb->defaultAction()->setToolTip(hint);
        tb->defaultAction()->setStatusTip(hint);
        return;
    }
    w->setToolTip(hint);
}

void SetCaption(QWidget* w, const QString& caption) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(caption);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(caption);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(caption);
    else if (auto* c = qobject_cast<QComboBox*>(w)) c->setCurrentText(caption);
    else if (qobject_cast<QToolBar*>(w) || qobject_cast<QDockWidget*>(w)) w->setWindowTitle(caption);
    else if (QTabWidget* tabs = TabOf(w)) tabs->setTabText(tabs->indexOf(w), caption);
    // Other widgets (panels, trees, lists, bars) show no caption of their own.
}

class Walker {
public:
    explicit Walker(const Reader& texts) : texts_(texts) {}

    void Children(QObject* parent) {
        for (QObject* o : parent->children()) {
            if (left_ <= 0) return;
            auto* w = qobject_cast<QWidget*>(o);
            auto* menu = qobject_cast<QMenu*>(o);
            // Another window (a dialog this one owns) takes its own section.
            if (w && w->isWindow() && !menu) continue;
            if (IsComponent(o)) One(o, w, menu);
            // A tab bar's scroll buttons are Qt's own, though they carry names.
            if (!qobject_cast<QTabBar*>(o)) Children(o);
        }
    }

private:
    void One(QObject* o, QWidget* w, QMenu* menu) {
        const QString name = o->objectName();
        if (auto* a = qobject_cast<QAction*>(o)) {
            if (a->isSeparator()) return;
            --left_;
            a->setText(texts_.Text(name + "_cap"));
        } else if (menu) {
            --left_;
            menu->setTitle(texts_.Text(name + "_cap"));
        } else if (w && !qobject_cast<QMenuBar*>(w)) {
            --left_;
            SetHint(w, texts_.Text(name + "_hint"));
            if (!IsEdit(w)) SetCaption(w, texts_.Text(name + "_cap"));
        }
    }

    const Reader& texts_;
    int left_ = TLanguageTexts::kMaxComponents;
};

}  // namespace

QString TLanguageTexts::GetSectionName(const QString& name) {
    const qsizetype underscore = name.indexOf(QLatin1Char('_'));
    return underscore < 0 ? name : name.left(underscore);
}

void TLanguageTexts::Apply(QWidget& window, const std::string& languageFile) {
    const QString section = GetSectionName(window.objectName());
    const Reader texts(languageFile, section);
    window.setToolTip(texts.Text(section + "_hint"));
    window.setWindowTitle(texts.Text(section + "_cap"));
    Walker(texts).Children(&window);
}
