// Which item the pointer is on: how far a design point lies from each item's outline, the item a
// click picks from a stack of them, the items an area selection takes, and the clip a double
// click opens. Plain functions over the design's list in design pixels.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vlr {

// What hit testing reads besides the records.
struct HitMeasure {
    ScreenResolution screen;
    // A click this far from an outline (design pixels) still hits it: the marker width + 2.
    int32_t reach = 10;
    // The line height of a text at its own size (design pixels); a text without one is only its
    // baseline.
    std::function<int32_t(const ItemRecord& text)> textLineHeight;
};

// The items a click, an area or a double click can take: drawn design items that are neither
// deleted nor suspended.
bool IsPickable(const ItemRecord* item);

// The four corners of a text's box: its baseline from the first point to the second, and the same
// line lines x lineHeight further towards the top of the letters.
std::array<Point, 4> TextBox(const ItemRecord& text, int32_t lineHeight);

// How far p lies from the item's outline, less half its line width, in design pixels: none when
// the item is no candidate for p (a line or an edge whose perpendicular from p misses it; a text
// gives 1 anywhere inside its box).
std::optional<int32_t> ItemHitDistance(const ItemRecord& item, Point p, const HitMeasure& measure);

// The item a click at p picks: the nearest within reach (an item exactly at the reach counts),
// and among equally near ones the one on top. None when nothing is that near.
ItemRecord* PickItem(const ItemList& list, Point p, const HitMeasure& measure);

// The outline of an item in design pixels as polylines (a closed one repeats its first point),
// curves and circles flattened: what an area's sides can cross.
std::vector<std::vector<Point>> OutlinePolylines(const ItemRecord& item, const HitMeasure& measure);

// Whether an area selection takes the item: its bounds lie wholly inside area (design pixels, a
// group marker by its centre); with partial set, also when a side of area crosses its outline.
bool AreaTakes(const ItemRecord& item, const Rect& area, bool partial, const HitMeasure& measure);

// The clip a double click at p opens: among the pickable clips whose box (turned with the clip)
// holds p, the one on top. None when no clip holds it.
ItemRecord* ClipAtPoint(const ItemList& list, Point p);

} // namespace vlr
