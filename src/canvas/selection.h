// Opening the selection for editing and moving it: the first and last steps of every direct
// manipulation on the canvas (marker drags, moving items with a gridline, placing pasted items).
// Plain functions over the design's list; what they need of the window showing it comes through
// EditCanvas.
#pragma once

#include "model/geometry.h"
#include "model/itemlist.h"
#include "model/itemrecord.h"
#include "render/rastercanvas.h"

#include <cstdint>
#include <vector>

namespace vlr {

// The canvas a design is edited on, as the selection's editing sees it. The document window
// implements it.
class EditCanvas {
public:
    virtual ~EditCanvas();
    // Canvas pixels of a design point at the window's zoom and tile.
    virtual Point CanvasFromDesign(Point design) const = 0;
    virtual double zoom() const = 0;
    // The whole canvas, in canvas pixels.
    virtual Rect WholeCanvas() const = 0;
    // Erases every marker from the canvas.
    virtual void EraseMarkers() = 0;
    // Repaints area (canvas pixels) as if the selected items were not there - background,
    // gridlines and every other item that meets it - and keeps those pixels as the background of
    // the drag.
    virtual void RepaintUnderSelection(const Rect& area) = 0;
    // Draws an item without shadow and 3-D surface, and a text with its frame.
    virtual void DrawQuick(ItemRecord* item) = 0;
    // The average character width of a text's font at the zoom, in canvas pixels.
    virtual int32_t AverageCharWidth(const ItemRecord& text) const = 0;
    // The line height of a text at its own size, in design pixels (0 when it cannot be measured).
    virtual int32_t TextLineHeight(const ItemRecord& text) const = 0;
};

// What the editing reads besides the list: the marker size and the resolution that turns line
// weights into pixels.
struct EditMetrics {
    int32_t markerWidth = 8;
    int32_t markerHeight = 8;
    ScreenResolution screen;
};

// The canvas area the selected items cover: the union of their bounds on the canvas (a text's box
// with all its lines, a turned clip's turned corners), each grown by half a marker or its line
// width at zoom, whichever is larger (a text by its average character width instead of the line
// width, a framed clip also by its frame). With any visible item casting a shadow the area is the
// whole canvas, as a shadow can fall anywhere. An empty Rect when nothing is selected.
Rect SelectionArea(const ItemList& list, const EditCanvas& canvas, const EditMetrics& metrics);

// Opens the selection for editing: purges the redo history, erases the markers, repaints the
// selection's area without it (keeping that background for the drag), then makes a new version
// of every selected record as one undo step; the selection is then those versions, each with its
// drag base (base points, rotation, saved points). With drawCopies the versions are drawn quickly.
// Returns the undo step.
int32_t BeginEdit(ItemList& list, EditCanvas& canvas, const EditMetrics& metrics, const EditHooks& hooks,
                  bool drawCopies);

// The move of a drag by (dx, dy) design pixels from the drag base, applied to every selected
// record: both points of a text, line or group marker, every point of a shape, a clip's box.
// Later calls replace earlier ones: the move is never accumulated.
void MoveSelection(ItemList& list, int32_t dx, int32_t dy);

// An edited record's derived values from its points: a shape's padded box and bounds around its
// outline, the bounds and world values of the others.
void DeriveEditedGeometry(ItemRecord* item, const EditMetrics& metrics);

// The end of a drag: a polygon's and star's further corners follow their first ones, an ellipse's
// longer axis becomes its first, and every selected record derives its geometry again.
void FinishEdit(ItemList& list, const EditMetrics& metrics);

// True when no selected version differs in its geometry (points, box, turn, angle) from the
// record it replaced: the edit changed nothing.
bool EditChangedNothing(const ItemList& list);

// Takes back an edit opened with BeginEdit as if it had never been opened: the versions of the
// step leave the list and the records they replaced are live and selected again; the design's
// modified flag returns to wasModified. (The redo history it purged stays purged.)
void CancelEdit(ItemList& list, int32_t step, bool wasModified);

// The area a partial repaint of rect (canvas pixels) covers: rect grown to the bounds of every
// visible item it touches, or the whole canvas when any visible item casts a shadow.
Rect PartialRepaintArea(const ItemList& list, const EditCanvas& canvas, const Rect& rect);

// An item's extent on the canvas with what its drawing may add around its bounds: thick outlines,
// shadows, a turned clip's corners, a text's lines above its baseline. Repaints of an area redraw
// every item whose extent meets it.
Rect PaintedExtent(const ItemRecord& item, const EditCanvas& canvas);

// The average character width of a text's font at a zoom, and its line height at its own size,
// measured on a raster whose font is put back afterwards; 0 on a null raster.
int32_t TextCharWidth(RasterCanvas& raster, const ItemRecord& text, double zoom);
int32_t TextLineHeightOn(RasterCanvas& raster, const ItemRecord& text);

// The serials of the selected records, and selecting them again afterwards: a record that an
// edit replaced by a new version passes its selection on to that version.
std::vector<int32_t> SelectedSerials(const ItemList& list);
void RestoreSelection(ItemList& list, const std::vector<int32_t>& serials);

} // namespace vlr
