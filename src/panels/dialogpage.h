// A page shown inside one of the two dialog host windows. The host supplies the title, the two
// buttons and the window; the page its content and the left button's action.
#pragma once

#include <QSize>
#include <QWidget>

namespace vlr {

class DialogPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The client size the page would like; the host fits its window to it the first time.
    virtual QSize PreferredClientSize() const = 0;
    // The left button's action; false when the page refused what it shows (and has said why),
    // so that the host stays open with what the user typed.
    virtual bool RunAction() { return true; }
    // Runs before the page is freed.
    virtual void Release() {}

Q_SIGNALS:
    // The pointer is over something the page highlights together with the host's left button.
    void highlightAction();
};

} // namespace vlr
