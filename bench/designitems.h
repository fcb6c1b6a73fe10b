// Making the benchmarks' designs: an item between two points, on top of the others.
#pragma once

#include "model/geometry.h"
#include "model/itemlist.h"

namespace vlr::bench {

inline ItemRecord* AddItem(ItemList& design, int32_t kind, Point from, Point to) {
    ItemRecord* item = CreateRecord(design, kind);
    item->x1 = from.x, item->y1 = from.y, item->x2 = to.x, item->y2 = to.y;
    item->zOrder = NextFreeNumber(design, Counter::ZOrder);
    SetWorldFromPixels(item, design.screen);
    return item;
}

} // namespace vlr::bench
