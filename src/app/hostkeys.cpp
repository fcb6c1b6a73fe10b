// The dialog hosts from the keyboard.
#include "app/hostkeys.h"

#include <QWidget>

namespace vlr {

namespace {
constexpr int kAboutPage = 45;
constexpr int kFirstTimeSetupPage = 60;
} // namespace

HostKey DialogHostKey(int pageCode, bool hasPage, int key, Qt::KeyboardModifiers modifiers) {
    if (pageCode == 0 || (modifiers & ~Qt::KeypadModifier)) {
        return HostKey::None;
    }
    if (key == Qt::Key_Escape) {
        return pageCode == kFirstTimeSetupPage ? HostKey::Swallow : HostKey::Cancel;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        return hasPage && pageCode != kAboutPage ? HostKey::Accept : HostKey::None;
    }
    return HostKey::None;
}

QWidget* FirstFocusControl(QWidget* page) {
    if (!page) {
        return nullptr;
    }
    // The focus chain runs through the page's controls in their tab order.
    for (QWidget* widget = page->nextInFocusChain(); widget && widget != page;
         widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
            widget->isVisibleTo(page)) {
            return widget;
        }
    }
    return nullptr;
}

} // namespace vlr
