// The pointer in select mode: clicking and Shift+clicking items, selecting an area with Ctrl held
// (Shift+Ctrl also takes items the area only crosses), the cursor over markers, and the marker
// drags that move, stretch, reshape and turn the selection, each finished drag one undo step.
// Plain functions over the design's list and the window's input state; the document window
// calls them from its mouse handlers and lends them its canvas through SelectWindow.
//
// The insertion tools, text editing and the document commands build on this state:
// - CanvasInput is the document window's whole interaction state (mode, clicks, the points of
//   the current gesture); the insertion tools use its mode, clicks and points.
// - A drag opens its edit through SelectWindow::BeginEdit (the window's BeginEdit) only once the
//   pointer has moved, and a drag that changed nothing is taken back, so no press on a marker
//   leaves an empty undo step or loses the redo history.
// - PanelForSelection is the side panel of a selection, for every command that changes it.
// - StartPlacement lets pasted items follow the pointer until a click; CancelDrag is Esc.
#pragma once

#include "canvas/grid.h"
#include "canvas/hittest.h"
#include "canvas/manipulate.h"
#include "canvas/markers.h"
#include "canvas/saveunder.h"
#include "canvas/selection.h"

#include <Qt>

#include <optional>
#include <vector>

namespace vlr {

// The style of a spline or curve being continued, kept while its item is hidden; the preview
// uses it.
struct Continuation {
    int32_t serial = 0; // the continued item
    int32_t kind = 0;
    int32_t color = 0;
    int32_t fillColor = -1;
    int32_t shapeMode = 0;
    double lineWeight = 0.0;
    double tension = 0.0;
};

// The interaction state of a document window.
struct CanvasInput {
    int32_t toolMode = 0;            // 0 select; 8 area selection; the drag modes (DragMode); the insertion
                                     // modes 1, 31, 100 ... 199, 297, 298; 37 text editing
    int32_t clickCount = 0;          // clicks collected in the current mode
    int32_t dragCode = 0;            // the marker code being dragged
    bool inputBlocked = false;       // swallows the rest of a click (after Esc) until the next press
    bool mouseBusy = false;          // canvas mouse input is ignored (a double click being handled)
    Point pointA, pointB, lastPoint; // canvas pixels: first click or drag start, second click, last
                                     // rubber-band point
    Point pressPoint;                // canvas pixels: where the button went down
    Point mouseRaw;                  // canvas pixels: the last pointer position
    Rect copyArea;                   // canvas pixels: the last area selection, for copying it as a picture

    // ---- select mode ----
    MarkerDrag drag;
    bool editOpen = false;        // the drag has opened its edit (the pointer moved)
    int32_t editStep = 0;         // its undo step
    bool wasModified = false;     // the design's modified flag before the edit
    bool clickDeselected = false; // the last Shift+click took its item out of the selection
    bool partialArea = false;     // Shift was held when the area selection began
    SaveUnder bandUnder;          // the pixels under the rubber band (area selection, insertion)

    // ---- insertion ----
    std::vector<PointNode> insertPoints; // design pixels: the points so far, the last following the pointer
    Continuation continuation;           // modes 297, 298
    bool turnHintShown = false;          // the turning points' hint page came once for this item
    int32_t typingSerial = 0;            // the text just made, which typing goes on into
};

// What select mode needs of the document window besides the canvas of the edit.
class SelectWindow : public EditCanvas {
public:
    virtual RasterCanvas& raster() = 0;
    // The design-to-canvas transform of the window's zoom and tile.
    virtual ViewTransform transform() const = 0;
    virtual Point DesignFromCanvas(Point canvas) const = 0;
    virtual SnapFrame snapFrame() const = 0;
    virtual EditMetrics editMetrics() const = 0;
    virtual MarkerStyle markerStyle() const = 0;
    // Opens the selection for editing as one new undo step; returns the step.
    virtual int32_t BeginEdit(bool drawCopies) = 0;
    // The background of the edited selection, saved when the edit opened (or the last preview).
    virtual SaveUnder& selectionUnder() = 0;
    // The canvas's pixels changed: show them.
    virtual void CanvasChanged() = 0;
    // Repaints the whole canvas; with markers, they follow 100 ms later.
    virtual void RedrawAll(bool markers) = 0;
    // The records changed (versions added or taken back): the Undo and Redo commands and the
    // commands that depend on the selection follow.
    virtual void RecordsChanged() = 0;
    virtual void ShowPanel(int panelCode) = 0;
    // Tells the side panel shown how far the insertion under way has come (a line: 1 once its
    // first point is placed, 0 before).
    virtual void PanelStep(int /*step*/) {}
    virtual void SetCanvasCursor(Qt::CursorShape cursor) = 0;
    // Whether the main window shows the line panel (and not, say, the line's hint page already).
    virtual bool LinePanelShowing() const { return true; }
};

// The side panel a selection shows: 20 (the insert panel) for none, 59 for items of different
// kinds, else the fine-tune panel of the clicked item's kind (or the first selected one's when
// the click took nothing): 301 text, 99 line, 200 ... 204 triangle, square, rectangle, circle,
// ellipse, 299 polygon, 206 star, 207 pie, 208 arc, 209 spline (210 a solid clicked), 211 curve
// (212 an oblong clicked), 401 clip. 0 (no panel) when only group markers are selected.
int PanelForSelection(const ItemList& list, const ItemRecord* clicked);

// The measure of hit tests on the window.
HitMeasure WindowHitMeasure(const SelectWindow& window);

// The mouse handlers of select mode and its drags; points are canvas pixels. Shift and Ctrl
// come from modifiers.
void SelectMouseDown(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas,
                     Qt::KeyboardModifiers modifiers);
// The rubber band of an area selection under way, in design pixels; none otherwise.
std::optional<Rect> AreaBand(const CanvasInput& input, const SelectWindow& window, Point canvas);
void SelectMouseMove(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas,
                     Qt::KeyboardModifiers modifiers);
void SelectMouseUp(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas,
                   Qt::KeyboardModifiers modifiers);

// Esc during a drag: the drag ends as if it had never begun (the items as they were, still
// selected); pasted items being placed are deleted. The rest of the click is swallowed. False
// when no drag was under way.
bool CancelDrag(CanvasInput& input, ItemList& list, SelectWindow& window);

// Pasted items (selected, already their own undo step) follow the pointer with their centre
// until the next click.
void StartPlacement(CanvasInput& input, ItemList& list, SelectWindow& window);

// What a double click at a design point opens: the only selected item when it is a text, else the
// clip under the point (selected now), else nothing.
struct DoubleClickTarget {
    enum class Kind { None, Text, Clip } kind = Kind::None;
    ItemRecord* item = nullptr;
};
DoubleClickTarget DoubleClickAt(ItemList& list, Point design);

} // namespace vlr
