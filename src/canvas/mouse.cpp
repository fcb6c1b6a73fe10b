// The mouse on a document window's canvas.
#include "canvas/mouse.h"

namespace vlr {

bool SelectionMode(int32_t toolMode) {
    return toolMode == 0 || toolMode == 8 || IsDragMode(toolMode);
}

bool CanvasMouseDown(TextEditTarget text, InsertTarget insertion, Point canvas,
                     Qt::KeyboardModifiers modifiers) {
    if (text.editing.open) {
        if (PlaceCaretByClick(text, canvas)) {
            return false;
        }
        CloseTextEditing(text);
    }
    CanvasInput& input = insertion.input;
    if (SelectionMode(input.toolMode)) {
        SelectMouseDown(input, insertion.list, insertion.window, canvas, modifiers);
        return false;
    }
    return IsInsertionMode(input.toolMode) && InsertMouseDown(insertion, canvas);
}

PointerTool CanvasMouseMove(InsertTarget insertion, Point canvas, Qt::KeyboardModifiers modifiers) {
    CanvasInput& input = insertion.input;
    if (input.mouseBusy) {
        return PointerTool::None;
    }
    if (SelectionMode(input.toolMode)) {
        SelectMouseMove(input, insertion.list, insertion.window, canvas, modifiers);
        return PointerTool::Selection;
    }
    if (IsInsertionMode(input.toolMode)) {
        InsertMouseMove(insertion, canvas);
        return PointerTool::Insertion;
    }
    return PointerTool::None;
}

void CanvasMouseUp(TextEditTarget text, InsertTarget insertion, Point canvas,
                   Qt::KeyboardModifiers modifiers) {
    if (text.editing.open && PlaceCaretByClick(text, canvas)) {
        return;
    }
    CanvasInput& input = insertion.input;
    if (!input.mouseBusy && SelectionMode(input.toolMode)) {
        SelectMouseUp(input, insertion.list, insertion.window, canvas, modifiers);
    } else if (!input.mouseBusy && IsInsertionMode(input.toolMode)) {
        InsertMouseUp(insertion, canvas, modifiers);
        OpenNewText(text);
    }
}

} // namespace vlr
