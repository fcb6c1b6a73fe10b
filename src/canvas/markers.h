// The markers of selected items: the small squares on their points and the rotation dot that the
// user drags to move, stretch, reshape and turn them; the pixels saved under each, so that they
// are taken away without a repaint; and what the pointer over a marker means (the drag a press
// would start, the cursor).
//
// Marker codes (an item's points are design pixels; markers stand on the canvas):
//   1, 2, 3      a line's or text's first end, second end and midpoint (the move handle); a
//                pie's or arc's centre, start and end point
//   1 ... 4      a circle's rim at 0, 90, 180 and 270 degrees; an ellipse's axis ends (1 and 3
//                on its first axis)
//   3            the centre of a group marker (the move handle of the group)
//   5            the rotation dot; 6 the dotted line to it (saved pixels only, no handle)
//   7            the centre of a shape or clip (move handle)
//   -n           vertex n of a shape's point list (a polygon's or star's centre point has none)
//   101 ... 104  a rectangular clip's corners, top left clockwise
//   105 ... 108  its side midpoints top, right, bottom, left; a round clip's rim below, right,
//                above and left of its centre
//   205 ... 208  the side midpoints of a square or rectangle whose first side is horizontal, on
//                the sides 3-4, 2-3, 1-2 and 4-1
//   500          a group marker's rotation dot
#pragma once

#include "canvas/saveunder.h"
#include "model/geometry.h"
#include "model/itemrecord.h"

#include <Qt>

#include <cstdint>
#include <vector>

namespace vlr {

struct TParams;

// How markers look; the values are settings.
struct MarkerStyle {
    int32_t width = 8;
    int32_t height = 8;
    int32_t penColour = 0x808080;
    int32_t fillColour = 0x00FFFF;   // yellow
    int32_t centreColour = 0x0000FF; // red: a group's centre
    int32_t dotColour = 0x00FF00;    // green: the rotation dot
    int32_t dotDistance = 40;        // canvas pixels from the centre to the rotation dot
    int32_t bandColour = 0x0000FF;   // red: the dotted rubber band of an area selection
    int32_t guideColour = 0xC0C0C0;  // silver: a dragged text's frame and the guides of a drag
};

MarkerStyle MarkerStyleOf(const TParams& params);

// One marker on the canvas, kept in its item's backgroundCache with the pixels under it.
struct MarkerNode : SavedPixels {
    int32_t code = 0;
    Rect screenRect; // canvas pixels, inclusive on every side
    Rect savedRect;  // the same size at (0, 0) in the saved picture
    SaveUnder savedPixels;
    uint64_t order = 0; // when it was saved: markers are taken away newest first
};

struct MarkerPoint {
    int32_t code = 0;
    Point at; // canvas pixels
};

// The markers of one item in the order they are saved and hit, and the dotted line from the
// centre to the rotation dot when there is one.
struct MarkerSet {
    std::vector<MarkerPoint> markers;
    bool dottedLine = false;
    Point lineFrom, lineTo;
};

// The point an item is moved and turned by, in design pixels: a line's or text's midpoint, a
// triangle's centroid, the middle of a square's or rectangle's box, the centre point of a circle,
// ellipse, polygon or star, the mean of a spline's or curve's points, the middle of a pie's or
// arc's bounds, a clip's centre, a group marker's point. From the drag base (base points, saved
// points) when base is set.
Point ItemCentre(const ItemRecord& item, bool base = false);
// The direction (radians) from the centre to the rotation dot, from the current points.
double RotationDirection(const ItemRecord& item);
// A line with a preset direction or a text with a chosen angle: no rotation dot, and its ends move
// only along that direction.
bool HasPresetAngle(const ItemRecord& item);
// A square or rectangle whose first side is horizontal has side markers.
bool HasSideMarkers(const ItemRecord& item);

// The markers of an item on the canvas of the transform. single: the item is the only one
// selected, which adds its centre and rotation dot.
MarkerSet MarkerPointsOf(const ItemRecord& item, bool single, const ViewTransform& view,
                         const MarkerStyle& style);

// The canvas rectangle (inclusive) a marker at a point covers.
Rect MarkerRect(Point at, const MarkerStyle& style);

// Takes the item's markers off the canvas (its saved pixels back, newest first) and frees them.
void EraseMarkersOf(RasterCanvas& raster, ItemRecord* item);
// The same for every item, across items newest first, so overlapping markers leave nothing.
void EraseAllMarkers(RasterCanvas& raster, const ItemList& list);
// Erases the item's markers, then saves the pixels under every new one before painting any, so
// that no saved picture holds another marker of the item.
void DrawMarkers(RasterCanvas& raster, ItemRecord* item, bool single, const ViewTransform& view,
                 const MarkerStyle& style);
// The marker pass: the markers of every selected item, those of group markers last so that they
// lie on top.
void DrawAllMarkers(RasterCanvas& raster, const ItemList& list, const ViewTransform& view,
                    const MarkerStyle& style);
// Exactly one item is selected (each member of a group counts).
bool SingleSelected(const ItemList& list);

// What a press on a marker would start.
struct MarkerHit {
    int32_t state = 0;   // the drag mode: 33 text, 1001 line, 46 shapes and groups, 47 circle,
                         // 48 ellipse, 52 clip, 58 a group's rotation; 0 no marker
    int32_t code = 0;    // the marker code the drag applies (a circle's 1 ... 4 all give 1, an
                         // ellipse's 3 gives 1 and 4 gives 2)
    int32_t grabbed = 0; // the marker's own code
    Qt::CursorShape cursor = Qt::ArrowCursor;
    ItemRecord* item = nullptr;
};
// The first marker under the canvas point, items in list order and each item's markers in order.
// single: exactly one item is selected, which gives side markers their sizing cursors.
MarkerHit MarkerAt(const ItemList& list, Point canvas, bool single);

} // namespace vlr
