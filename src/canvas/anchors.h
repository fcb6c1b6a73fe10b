// The anchor strips along the top and left edges of a document window's viewport: where each
// gridline's anchor stands, which anchor the pointer is over, and the strips' pictures. Viewport
// coordinates are pixels of the viewport, whose background carries the strips and over which the
// canvas lies at the page's offset.
#pragma once

#include "canvas/grid.h"

#include <QImage>

#include <optional>

namespace vlr {

// The strips are this deep: anchor 7, tick 4 and a pixel.
inline constexpr int kStripDepth = 12;
inline constexpr int kAnchorSize = 7;

// A strip is live while its axis's gridlines and anchors are both shown.
bool StripLive(const ItemRecord* header, GridAxis axis);
// The left edge (top edge on the left strip) of the anchor of a gridline, in viewport pixels.
int64_t AnchorStart(const ItemRecord* header, Point pageOffset, GridAxis axis, int32_t position);
// The strip a viewport point is on: the top one when y < x, the left one otherwise, and neither
// deeper than the strip. The answer does not depend on what is shown.
std::optional<GridAxis> StripAt(Point viewport);
// The gridline position under a viewport point on a strip: nearest((x + boundLeft - pageOffset.x)
// / zoom) on the top strip, with y on the left one.
int32_t StripPosition(const ItemRecord* header, Point pageOffset, GridAxis axis, Point viewport);

// Clears every highlight of both lists, then highlights the first anchor of a live strip under
// the point (the top strip's first): an anchor covers its 7 pixels and the one after, from the
// strip's second pixel to its end. Returns the axis of the highlighted anchor, or none. changed
// tells whether any highlight came or went.
std::optional<GridAxis> HighlightAnchorAt(ItemRecord* grid, const ItemRecord* header, Point pageOffset,
                                          Point viewport, bool* changed = nullptr);
// Clears every highlight; true when there was one.
bool ClearHighlights(ItemRecord* grid);
// The highlighted gridline of an axis, or none.
const GridNode* HighlightedGridline(const ItemRecord* grid, GridAxis axis);

// The strip of an axis drawn over the background: the untouched texture first (saved when the
// background was filled), then, while the strip is live, an anchor with its tick for every
// gridline that is not removed; a highlighted one in red. Anchors before the viewport's start are
// left out.
void DrawAnchorStrip(QImage& background, const QImage& untouched, GridAxis axis, const ItemRecord* header,
                     const ItemRecord* grid, Point pageOffset);
// One anchor with its tick, its left (top) edge at start.
void DrawAnchor(QImage& background, GridAxis axis, int64_t start, bool highlighted);
// The texture repeated over the viewport's background, under the strips: a quiet weave 49
// pixels square.
QImage BackgroundTile();
// The untouched texture under a strip, taken from the freshly filled background.
QImage UntouchedStrip(const QImage& background, GridAxis axis);

// ---- the mouse on the strips ----

// What a button press on the strips started: the drag of an anchor (its axis, its centre where
// pressed and the pointer, viewport pixels), or a press on a strip outside the anchors.
struct StripPress {
    std::optional<GridAxis> dragging;
    Point press;
    Point pointer;
    bool moved = false;
    bool onStrip = false;
};
// Button down: the anchor under the point is highlighted and its drag starts; elsewhere on a
// strip the press is remembered for a Shift+click.
StripPress PressOnStrips(ItemRecord* grid, const ItemRecord* header, Point pageOffset, Point viewport);
// A move over the strips: during a drag the pointer is followed; otherwise the anchor under it is
// highlighted. Returns the cursor to show (west-east over a top anchor, north-south over a left
// one); redraw tells whether the strips need drawing again.
Qt::CursorShape MoveOnStrips(StripPress& press, ItemRecord* grid, const ItemRecord* header, Point pageOffset,
                             Point viewport, bool& redraw);
// What the release does: nothing; move the dragged gridline to the pointer, with the items
// standing on it moving from its old page coordinate to the new; or, after a Shift+click on a
// live strip, add a gridline under the pointer.
struct StripRelease {
    enum class Action { None, Move, Add } action = Action::None;
    GridAxis axis = GridAxis::X;
    int32_t from = 0, to = 0; // page coordinates of the items' move
    int32_t position = 0;     // the gridline's new position
};
StripRelease ReleaseOnStrips(const StripPress& press, const ItemRecord* header, Point pageOffset,
                             Point viewport, bool shift);
// Carries out a release: the dragged gridline moves with the items standing on it
// (MoveGridlineWithItems), or the Shift+click's gridline is added. True when the design changed.
bool ApplyStripRelease(ItemList& list, EditCanvas& canvas, const EditMetrics& metrics,
                       const StripRelease& release, const EditHooks& hooks);
// Both strips, and during a drag the dragged anchor at the pointer (red, as is the one it left).
void DrawAnchorStrips(QImage& background, const QImage& untouchedTop, const QImage& untouchedLeft,
                      const ItemRecord* header, const ItemRecord* grid, Point pageOffset,
                      const StripPress& press);

} // namespace vlr
