// Direct manipulation: what dragging a marker does to the selected items. Each step of a drag is
// computed from the drag base that opening the edit kept (base points, saved points, rotation
// base), never added to the step before, so the pointer can go anywhere and come back. Plain
// functions over the design's list in design pixels; the window only converts the pointer.
#pragma once

#include "canvas/grid.h"
#include "canvas/selection.h"
#include "model/geometry.h"
#include "model/itemrecord.h"

#include <cstdint>

namespace vlr {

// The drag states of marker drags (values of the window's toolMode).
namespace DragMode {
inline constexpr int32_t Text = 33;
inline constexpr int32_t Shape = 46; // point-list shapes, pies, arcs and a group's centre
inline constexpr int32_t Circle = 47;
inline constexpr int32_t Ellipse = 48;
inline constexpr int32_t Clip = 52;
inline constexpr int32_t Placing = 53; // pasted items follow the pointer until a click
inline constexpr int32_t GroupTurn = 58;
inline constexpr int32_t Line = 1001;
} // namespace DragMode

bool IsDragMode(int32_t toolMode);

// One drag: the marker code applied to every selected item and where the press was.
struct MarkerDrag {
    int32_t code = 0;    // 7 moves; a mixed selection only ever moves
    int32_t grabbed = 0; // the code of the marker under the press: which of an item's equivalent
                         // markers (a circle's four rim points) the pointer holds
    Point start;         // the press point snapped to the gridlines, design pixels
    Point startRaw;      // the press point as pressed
};

// Makes the current state of the selected items their drag base, for items that did not come
// from opening an edit (pasted items being placed). A group marker's base turn is its direction.
void SaveDragBase(ItemList& list);
// After the edit opened: a group marker keeps the group's turn in its direction, which becomes its
// rotation base.
void PrepareGroupBase(ItemList& list);

// One step of the drag with the pointer at pointer (design pixels, unsnapped), applied to every
// selected item from its drag base. The pointer is snapped to the gridlines first; handles that
// follow it land where the snapped pointer puts them.
void ApplyDrag(ItemList& list, const MarkerDrag& drag, Point pointer, const SnapFrame& frame,
               const EditMetrics& metrics);

// An angle in radians brought into 0 ... 2 pi; within a degree of 0 it is exactly 0.
double TurnAngle(double angle);

} // namespace vlr
