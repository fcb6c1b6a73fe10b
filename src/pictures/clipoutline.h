// The clip outlines of the picture editor: rectangles and circles drawn on the picture in
// full-size picture pixels, the mapping between those and the pixels of the view, finding an
// outline and its markers under the pointer, and moving or resizing one by a marker. Plain
// functions over the editor's own list, whose history works as a design's does.
#pragma once

#include "model/geometry.h"
#include "model/itemlist.h"
#include "model/itemrecord.h"

#include <QSize>

#include <cstdint>
#include <vector>

namespace vlr {

// Per axis, with the scroll offset o in view pixels: v = round(p x zoom) - o and
// p = round((v + o) / zoom).
int32_t ViewFromPicture(int32_t picture, double zoom, int32_t offset);
int32_t PictureFromView(int32_t view, double zoom, int32_t offset);
Point ViewFromPicture(Point picture, double zoom, Point offset);
Point PictureFromView(Point view, double zoom, Point offset);

// A rectangle outline between two corners given in any order, stored top-left first and cut to
// the picture (bounds, full-size pixels), as one undo step on top of the others. None when
// nothing of it lies on the picture or it has no area.
ItemRecord* AddRectangleOutline(ItemList& clips, Point cornerA, Point cornerB, double zoom, QSize bounds,
                                const EditHooks& hooks = {});
// A round outline about centre through rim. None for a radius of 0.
ItemRecord* AddRoundOutline(ItemList& clips, Point centre, Point rim, double zoom,
                            const EditHooks& hooks = {});

// The live outlines from the bottom to the top.
std::vector<ItemRecord*> LiveOutlines(const ItemList& clips);
// The topmost live outline that holds the point (inside the rectangle, or the circle).
ItemRecord* OutlineAt(const ItemList& clips, Point picture);
int32_t OutlineRadius(const ItemRecord& outline);

// Marker codes: 7 the centre; 101 ... 104 a rectangle's corners from the top-left clockwise;
// 105 ... 108 the middles of its top, right, bottom and left sides, or a circle's rim below,
// right of, above and left of its centre.
inline constexpr int32_t kCentreMarker = 7;
struct OutlineMarker {
    int32_t code = 0;
    Point at;
};
std::vector<OutlineMarker> OutlineMarkers(const ItemRecord& outline);
// The marker whose square of halfSize picture pixels around it holds the point; 0 for none.
int32_t MarkerAt(const ItemRecord& outline, Point picture, int32_t halfSize);

// Opens the selected outline for a drag as one undo step: a new version, selected, whose drag
// base is where it stands now. False when nothing is selected.
bool BeginOutlineDrag(ItemList& clips, const EditHooks& hooks = {});
// Moves or resizes the outline by a marker, delta picture pixels away from its drag base (the
// move is never accumulated): the centre moves the whole outline, a corner moves that corner,
// a side that side, a circle's rim point sets its radius. Rectangles stay on the picture
// (bounds) and at least one pixel wide and high; a moved rectangle keeps its size.
void DragOutline(ItemRecord& outline, int32_t marker, Point delta, QSize bounds);

// Erase: the selected outline is removed (kept, deleted, for undo).
bool EraseSelectedOutline(ItemList& clips, const EditHooks& hooks = {});

} // namespace vlr
