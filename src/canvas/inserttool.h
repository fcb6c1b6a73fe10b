// The insertion tools: building a new line, text or shape from a short sequence of clicks on the
// canvas with a rubber-band preview between them, the press-and-drag alternative, the keys that act
// while inserting, the style a new item takes from the settings, and the continuation and point
// editing of splines and curves. Plain functions over the window's input state and the design's
// list; the document window calls them from its mouse, key and timer handlers.
//
// A click is a button release; its point is snapped first. Points of the current gesture are kept
// in canvas pixels (pointA, pointB) or, for the kinds built from a point list, in design pixels
// (insertPoints), the last of which follows the pointer.
#pragma once

#include "canvas/selecttool.h"

#include <Qt>

#include <string_view>
#include <vector>

namespace vlr {

struct TParams;

// The modes 1 (line), 31 (text), 100 ... 199 (shapes) and 297, 298 (a spline or curve continued).
bool IsInsertionMode(int32_t toolMode);

// Everything an insertion step works on.
struct InsertTarget {
    CanvasInput& input;
    ItemList& list;
    SelectWindow& window;
    TParams& params;
};

// ---- the mode a side panel gives ----

// Selecting a side panel: the interaction mode its code gives (109 ... 112 also choose the next
// spline's or curve's shapeMode). A change of mode takes the rubber band away, ends a continuation
// as Esc does, deselects everything and repaints. A drag or an area selection under way is left
// alone by panels that are no insertion panel.
void SelectInsertionPanel(InsertTarget target, int panelCode);
// The panel a window active again shows for its own mode, so that the line or text under way
// goes on: 98 for the line tool, 300 for the text tool, 0 (the main window's panel stays) for
// the others.
int OwnPanelOfMode(int32_t toolMode);
// The gesture so far is dropped (its preview erased); the mode stays. A continuation goes on.
void ResetInsertion(InsertTarget target);

// ---- the mouse, the timer and the keys ----

// A button press on the canvas; true when the press-and-drag timer is to start.
bool InsertMouseDown(InsertTarget target, Point canvas);
// The press-and-drag timer fired while the button is still held: the press counts as the first
// click, so that the release is the second.
void InsertPressHeld(InsertTarget target);
void InsertMouseMove(InsertTarget target, Point canvas);
void InsertMouseUp(InsertTarget target, Point canvas, Qt::KeyboardModifiers modifiers);
// Esc, Backspace, Enter and C during insertion; Ctrl-A, Ctrl-D and Ctrl-I in select mode. True
// when the key was taken.
bool InsertKeyDown(InsertTarget target, int key, Qt::KeyboardModifiers modifiers);
// A typed character in text mode after the first click: the new text is made holding it.
bool InsertTyped(InsertTarget target, std::u16string_view typed);

// ---- making the items (design pixels); each is one undo step on top of the design ----

// Triangles, squares, rectangles, splines and curves from their points (curve handles included).
ItemRecord* CreateFromPoints(ItemList& list, const TParams& params, int32_t kind,
                             const std::vector<PointNode>& points, int32_t shapeMode);
// Circles and polygons from centre and second click; stars from centre, tip and the point setting
// the spike length; pies and arcs from centre and the two ends; ellipses from centre, the end of
// the first axis and the point setting the width. margin: what a pie's box grows by.
ItemRecord* CreateFromClicks(ItemList& list, const TParams& params, int32_t kind, Point centre, Point second,
                             Point third, int32_t margin);
// A line with the line defaults, its end held to the preset direction when there is one; a custom
// dash pattern adds its definition to the design.
ItemRecord* CreateLine(ItemList& list, const TParams& params, Point start, Point end);
// A text without characters from its start to its end with the text defaults.
ItemRecord* CreateText(ItemList& list, const TParams& params, Point start, Point end);

// The free point q moved onto the line through the fixed point p at the angle (degrees, y up); a
// negative angle leaves q.
Point PresetDirection(Point p, Point q, double degrees);

// ---- settings read where an item is made: a value outside its list takes the list's default ----
int32_t CheckedSides(int32_t sides);
int32_t CheckedShapeMode(int32_t shapeMode);
int32_t CheckedFontSize(int32_t size);
int32_t CheckedFontWeight(int32_t weight);

} // namespace vlr
