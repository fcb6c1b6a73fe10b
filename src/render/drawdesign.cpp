// The one render path: a design's items in stacking order through a view transform.
#include "render/drawdesign.h"

#include "model/itemlist.h"
#include "render/rastercanvas.h"
#include "render/stroke.h"
#include "render/textdraw.h"

#include <algorithm>

namespace vlr {

std::vector<ItemRecord*> StackingOrder(const ItemList& design) {
    // One pass over the records, then a sort: a stacking number of two billion costs nothing.
    std::vector<ItemRecord*> order;
    for (ItemRecord* record : design) {
        if (IsLiveItem(record) && record->zOrder >= 1) {
            order.push_back(record);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const ItemRecord* a, const ItemRecord* b) { return a->zOrder < b->zOrder; });
    // Of several live records with one number, the first in list order.
    order.erase(std::unique(order.begin(), order.end(),
                            [](const ItemRecord* a, const ItemRecord* b) { return a->zOrder == b->zOrder; }),
                order.end());
    return order;
}

void DrawDesign(RasterCanvas& raster, ItemList& design, const ViewTransform& view, const DrawOptions& options) {
    for (ItemRecord* item : StackingOrder(design)) {
        DrawItem(raster, item, design, view, options);
    }
}

void DrawItem(RasterCanvas& raster, ItemRecord* item, ItemList& design, const ViewTransform& view,
              const DrawOptions&) {
    if (!item || raster.isNull() || !IsLiveItem(item)) {
        return;
    }
    const int32_t kind = item->kind;
    if (kind == ItemKind::Text) {
        DrawTextItem(raster, *item, view);
    } else if (kind == ItemKind::Line) {
        DrawLine(raster, design, *item, view);
    } else if (kind >= ItemKind::Triangle && kind <= ItemKind::Curve) {
        DrawShape(raster, *item, view);
    }
    // Group markers, deletion records and the picture editor's outlines draw nothing.
}

} // namespace vlr
