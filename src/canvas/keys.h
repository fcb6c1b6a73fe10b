// The keys of a document window: which interaction on the canvas a key or a typed character goes
// to - the text being typed, the insertion tool, a drag, the view's scroll bars, the gridline
// under the pointer or the selection. Plain functions over the window's parts; the window offers
// them every key the main window has not taken already.
#pragma once

#include "canvas/inserttool.h"
#include "canvas/textedit.h"

#include <Qt>

#include <functional>
#include <string_view>

namespace vlr {

class CommandWindow;

// What a key can act on in one document window.
struct KeyTarget {
    TextEditTarget text;
    InsertTarget insertion;
    CommandWindow& commands;
    // The gridline whose anchor is under the pointer goes; false when there is none.
    std::function<bool()> deleteAnchor;
    // The shape panel shows its choices: only then does Ctrl-A continue a spline or curve.
    bool shapePanelShowing = false;
    // An arrow key moves the view; false when it did not (the keyboard focus is in another
    // control, the bar is hidden, another key).
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> scrollView;
};

// A key pressed: true when something on the canvas took it. Keys not taken pass on to the menus
// (Ctrl+Delete is the Edit menu's Cut).
bool DesignKeyDown(const KeyTarget& t, int key, Qt::KeyboardModifiers modifiers);
// Characters typed or composed: into the text being typed, or into a new text of the text tool,
// which stays open for typing. False when nothing took them.
bool DesignTyped(const KeyTarget& t, std::u16string_view typed);

} // namespace vlr
