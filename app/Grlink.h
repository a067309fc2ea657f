#pragma once
#include <QColor>
#include <QLabel>

#include <string>

class QMenu;
class QAction;

// A label that looks and acts like a hyperlink: blue and underlined under a hand cursor, purple
// while the left button is held on it; a click opens URL (or, without one, the caption when it
// is a web or mail address); its popup menu copies the caption.
class TGrlink : public QLabel {
    Q_OBJECT
public:
    explicit TGrlink(QWidget* owner = nullptr);

    std::string URL;                       // code page; blank: the caption is the target
    QColor ActiveColor = QColor(0x80, 0x00, 0x80);

    // The address a click opens: URL when it is not blank, else the caption when it carries the
    // scheme http, https or mailto; empty when there is nothing to open.
    std::string Target() const;
    // Opens the target (the user is told when no program could open it).
    void Click();
    // Puts the caption on the clipboard as text.
    void CopyClick();

    QMenu* PopupMenu;
    QAction* CopyItem;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor ColorOf() const;
    void SetColor(const QColor& color);

    QColor savedColor_;
    bool pressed_ = false;
};
