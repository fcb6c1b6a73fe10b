// The design's own grid: the gridlines record and the one operation that changes it, the
// gridlines a page starts with or gains when it grows, the snapping of points to gridlines and the
// gridlines drawn on the canvas. Plain functions over the document header and the gridlines
// record; the document window, the selection and the insertion tools call them.
//
// Gridline positions are design pixels at 100 % measured from the canvas origin, which lies
// PageLeft(header) pixels before the page's left edge (PageTop above its top edge): a gridline at
// p stands at page coordinate p - PageLeft.
#pragma once

#include "canvas/selection.h"
#include "model/geometry.h"
#include "model/itemlist.h"
#include "model/itemrecord.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vlr {

class RasterCanvas;

// GridAxis::X: the gridlines at x positions (vertical lines, the horizontal grid, anchors on the
// top strip); GridAxis::Y: those at y positions (horizontal lines, the left strip).
enum class GridAxis { X, Y };

// More gridlines than this per axis are never generated, whatever a file's page and density say.
inline constexpr int64_t kMostGridlines = 10000;

// The live gridlines record of a design, or none.
ItemRecord* LiveGridlines(const ItemList& list);
// The nodes of one axis.
std::vector<GridNode>& GridNodes(ItemRecord* grid, GridAxis axis);
const std::vector<GridNode>& GridNodes(const ItemRecord* grid, GridAxis axis);

// The page's distance from the canvas origin in design pixels: nearest(boundLeft / zoom) and
// nearest(boundTop / zoom).
int32_t PageLeft(const ItemRecord* header);
int32_t PageTop(const ItemRecord* header);

// The distance between gridlines in design pixels, nearest(density x pixels per unit); 0 (no
// gridlines) when the density is not a positive finite number or the step is under a pixel.
int32_t GridStep(double density, double pixelsPerUnit);
// start + k x step for k = first ... trunc(extent / density): the gridlines of a page extent in
// units. None when GridStep is 0; never more than the page's extent in pixels has steps, nor
// kMostGridlines.
std::vector<GridNode> SpacedGridlines(int64_t start, double density, double pixelsPerUnit, double extent,
                                      int first);

// The gridlines of a new design: from the page's left (top) edge, which carries a gridline, one
// density apart to the page's end.
void FillDefaultGridlines(ItemRecord* grid, const ItemRecord* header);
// After the page grew on a ruler: the steps past the last gridline and before the page's new end
// get gridlines; the others stay. Not an undoable edit.
void AddGridlinesForGrownPage(ItemRecord* grid, const ItemRecord* header, GridAxis axis);
// After the page's start was dragged on a ruler by delta design pixels: every gridline of the
// axis moves with it; when one would stand before the canvas origin, all move further so that
// the first stands on it.
void ShiftGrid(ItemRecord* grid, GridAxis axis, int32_t delta);

// The header's grid flags: for type 0 none, 1 the horizontal grid (x), 2 the vertical (y), 3 both.
// False without a header.
enum class GridFlag { Shown, Anchors, Snap };
bool SetGridFlags(ItemRecord* header, GridFlag flag, int type);

// True when the axis's gridlines and their anchors are both shown: only then can its gridlines be
// moved, added or deleted.
bool GridEditable(const ItemRecord* header, GridAxis axis);

enum class GridAction {
    Move,     // the highlighted gridlines of the axis to position
    Remove,   // the highlighted gridlines of both axes
    Add,      // a gridline of the axis at position
    Equalize, // the axis respaced one density apart from the page's start (no gridline on it)
};
// The one place where gridlines change. An edit that changes something makes a new version of
// the gridlines record as one undo step and returns true; one that changes nothing (no
// highlighted gridline, the same position, an axis whose gridlines or anchors are hidden) leaves
// the design and its redo history as they were and returns false.
bool EditGrid(ItemList& list, GridAxis axis, GridAction action, int32_t position = 0,
              const EditHooks& hooks = {});
// The Delete key over an anchor: the highlighted gridlines of both axes go, as one undo step,
// when the gridlines and anchors of either axis are shown. False when nothing went.
bool RemoveHighlightedGridlines(ItemList& list, const EditHooks& hooks = {});
// After the page setup changed: both axes respaced as Equalize does, whether or not the gridlines
// are shown, as one new version of the gridlines record (one undo step). An axis whose density
// gives no step keeps its lines; an edit that changes nothing makes no version.
void RespaceGridlines(ItemList& list, const EditHooks& hooks = {});

// Equalizes the horizontal grid (axes 2), the vertical grid (4) or both (6), each an edit of its
// own. True when either changed.
bool EqualizeGridAxes(ItemList& list, int axes, const EditHooks& hooks = {});

// ---- snapping ----

// What snapping reads: the header (zoom, snap flags, page position), the gridlines record and the
// canvas tile's offset. A frame without header or gridlines snaps nothing.
struct SnapFrame {
    const ItemRecord* header = nullptr;
    const ItemRecord* grid = nullptr;
    Point tileOffset;
};

// The gridline nearest to position (absolute difference; the first in list order on a tie),
// skipping removed ones; none when the axis has none.
std::optional<int32_t> NearestGridline(const std::vector<GridNode>& nodes, int64_t position);
// A canvas point taken to the nearest gridline on every axis whose snap is on, however far away,
// and whether or not the gridlines are shown. Other axes keep the point as the design sees it.
Point SnapPoint(const SnapFrame& frame, Point canvas);
// The same in design coordinates (page pixels at 100 %).
Point SnapDesignPoint(const SnapFrame& frame, Point design);
// After a vertex drag: a point whose snapped coordinate differs from its own by more than 0 and
// less than 7 % of the horizontal gridline spacing takes it (both axes compare with that
// spacing); the point's saved copy and curve handles stay.
void SoftSnapPoints(const SnapFrame& frame, std::vector<PointNode>& points);
// A clip moved to centre (design coordinates) with the given half sizes: per axis, its two edges
// are snapped and of the two centres they give the one nearer to centre is taken.
Point SnapClipEdges(const SnapFrame& frame, Point centre, int32_t halfWidth, int32_t halfHeight);

// ---- the canvas ----

// The shown gridlines, 1 pixel wide across the page, on the canvas within area (canvas pixels).
// Drawn under the items; printed and exported pictures never show them.
void DrawGridlines(RasterCanvas& canvas, const ItemRecord* header, const ItemRecord* grid, Point tileOffset,
                   const Rect& area);

// An item moves with a gridline at page coordinate position when one of its coordinates on the
// axis lies within 2 pixels of it: a text's or line's end points, every point of a shape (pies
// and arcs too), the centre of a circle or ellipse (a circle also centre +- radius), a
// rectangular clip's two box edges, a round clip's centre +- radius.
bool StandsOnGridline(const ItemRecord* item, GridAxis axis, int32_t position);

// The end of an anchor's drag: the visible items standing on the gridline at page coordinate from
// move by to - from (one undo step, as a finished drag without snapping), then the highlighted
// gridline of the axis moves to position (another). The selection is the same afterwards, in the
// moved items' new versions. True when anything changed.
bool MoveGridlineWithItems(ItemList& list, EditCanvas& canvas, const EditMetrics& metrics, GridAxis axis,
                           int32_t from, int32_t to, int32_t position, const EditHooks& hooks = {});

} // namespace vlr
