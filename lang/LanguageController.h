#pragma once
#include <QString>
#include <QWidget>

#include <string>

#include "lang/DlgLangConverter.h"
#include "lang/ReturnPressesFocusedButton.h"

// Puts the language texts of a window's section into the window and its components.
class TLanguageTexts {
public:
    // The text of a key that the section lacks.
    static constexpr const char* kAbsent = "!!!---absent---!!!";
    // Only this many components of one window take texts.
    static constexpr int kMaxComponents = 100000;

    // name up to, not including, its first "_"; the whole name when it has none.
    static QString GetSectionName(const QString& name);

    // Reads section GetSectionName(window.objectName()) of the language file: the window's hint
    // and caption from <section>_hint and <section>_cap, and each named component's from
    // <name>_hint and <name>_cap, as Apply's comments in the source say. A missing key puts
    // kAbsent in its place. Components are the window's named widgets, actions and menus, in
    // creation order; objects without a name or named "qt_*", separators and other windows
    // (dialogs owned by this one) are left alone.
    static void Apply(QWidget& window, const std::string& languageFile);
};

// The base of every window: Base is QWidget, QDialog or QMainWindow. A window sets its
// objectName, builds its components with their names, calls ApplyLanguage(), and then runs its
// own set-up, whose texts therefore win over the language file's. ApplyLanguage also lets Return
// press the focused button (lang::ReturnPressesFocusedButton):
//
//   class TFindForm : public TLanguageController<QDialog> {
//       Q_OBJECT
//   public:
//       explicit TFindForm(QWidget* parent) : TLanguageController(parent) {
//           setObjectName("FindForm");
//           FindButton = new QPushButton(this);
//           FindButton->setObjectName("FindButton");
//           ApplyLanguage();
//           FindButton->setEnabled(false);   // the window's own set-up
//       }
//   };
template <class Base>
class TLanguageController : public Base {
public:
    using Base::Base;

    bool LanguageApplied() const { return applied_; }

protected:
    // Reads the texts once; later calls do nothing.
    void ApplyLanguage();

private:
    bool applied_ = false;
};

template <class Base>
void TLanguageController<Base>::ApplyLanguage() {
    if (applied_) return;
    applied_ = true;
    TLanguageTexts::Apply(*this, lang::LanguageFileName());
    lang::ReturnPressesFocusedButton(*this);
}
