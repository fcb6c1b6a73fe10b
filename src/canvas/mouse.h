// The mouse on a document window's canvas: which interaction a button press, a move or a release
// goes to - the text being typed, the selection tools or the insertion tools - as the pointer's
// mode decides. Plain functions over the window's parts; the window calls them from its
// viewport's handlers with canvas points and keeps the press-and-drag timer and the cursor.
#pragma once

#include "canvas/inserttool.h"
#include "canvas/textedit.h"

#include <Qt>

namespace vlr {

// Select mode, the area selection and the drags belong to the selection; the insertion tools and
// text editing have the other modes.
bool SelectionMode(int32_t toolMode);

// A left-button press. While a text is being typed, a press inside it places the caret and does
// nothing else; one elsewhere ends the typing and acts as usual. True when the press-and-drag
// timer is to start.
bool CanvasMouseDown(TextEditTarget text, InsertTarget insertion, Point canvas,
                     Qt::KeyboardModifiers modifiers);
// A move: which tool followed it (none while the mouse input waits or in another mode).
enum class PointerTool { None, Selection, Insertion };
PointerTool CanvasMouseMove(InsertTarget insertion, Point canvas, Qt::KeyboardModifiers modifiers);
// A left-button release. Inside the text being typed it places the caret; the text tool's second
// click opens the text it made for typing.
void CanvasMouseUp(TextEditTarget text, InsertTarget insertion, Point canvas,
                   Qt::KeyboardModifiers modifiers);

} // namespace vlr
