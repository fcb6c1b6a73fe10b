// The dialog hosts from the keyboard: Return presses the accepting button, Escape the cancelling
// one, and a page opens with the focus on its first control.
#pragma once

#include <Qt>

class QWidget;

namespace vlr {

enum class HostKey { None, Accept, Cancel, Swallow };

// What a key does on a host showing page code (0 none); hasPage: the code has a page.
// The About page's left button opens the web page, so Return leaves it alone; the first-time
// setup ends the program on Cancel, so Escape does nothing there.
HostKey DialogHostKey(int pageCode, bool hasPage, int key, Qt::KeyboardModifiers modifiers);

// The first control of a page that takes the focus by the Tab key; none when it has none.
QWidget* FirstFocusControl(QWidget* page);

} // namespace vlr
