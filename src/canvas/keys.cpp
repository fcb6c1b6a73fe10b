// The keys of a document window.
#include "canvas/keys.h"

#include "canvas/commands.h"

namespace vlr {

namespace {

// The text tool's mode and that of an existing text being typed into: the caret has the keys
// that would otherwise scroll the view or delete the selection.
bool TypingMode(int32_t toolMode) {
    return toolMode == 31 || toolMode == 37;
}

} // namespace

bool DesignKeyDown(const KeyTarget& t, int key, Qt::KeyboardModifiers modifiers) {
    const bool control = modifiers & Qt::ControlModifier;
    if (t.text.editing.open) {
        // Delete takes the gridline under the pointer first, then the character at the caret.
        if (key == Qt::Key_Delete && !control) {
            return t.deleteAnchor() || DeleteAtCaret(t.text);
        }
        if (TextEditingKeyDown(t.text, key, modifiers)) {
            return true;
        }
    }
    const bool continueKey = key == Qt::Key_A && control;
    if (!(continueKey && !t.shapePanelShowing) && InsertKeyDown(t.insertion, key, modifiers)) {
        return true;
    }
    CanvasInput& input = t.insertion.input;
    if (key == Qt::Key_Escape) {
        return CancelDrag(input, t.insertion.list, t.insertion.window);
    }
    // Without a selection to move, the arrow keys move the view.
    if (!FirstSelected(t.insertion.list) && !TypingMode(input.toolMode) && t.scrollView(key, modifiers)) {
        return true;
    }
    if (key != Qt::Key_Delete || control) {
        return false;
    }
    if (t.deleteAnchor()) {
        return true;
    }
    return !TypingMode(input.toolMode) && DeleteSelection(t.insertion.list, t.commands);
}

bool DesignTyped(const KeyTarget& t, std::u16string_view typed) {
    if (t.text.editing.open) {
        return TypeCharacter(t.text, typed);
    }
    const bool made = InsertTyped(t.insertion, typed);
    OpenNewText(t.text);
    return made;
}

} // namespace vlr
