// The one render path: a design's items in stacking order through a view transform.
#include "render/drawdesign.h"

#include "model/itemlist.h"
#include "render/clip.h"
#include "render/rastercanvas.h"
#include "render/shading.h"
#include "render/shadow.h"
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
              const DrawOptions& options) {
    if (!item || raster.isNull() || !IsLiveItem(item)) {
        return;
    }
    const int32_t kind = item->kind;
    const bool shadow = options.shadows && item->shadowElevation != 0;
    const bool shaded = options.surfaces && item->surface != 0;
    const int32_t light = shadow || shaded ? LightDirection(design) : LightFrom::TopLeft;
    if (kind == ItemKind::Text) {
        // Line by line, the last line first, each with its shadow just before it.
        for (const TextLinePlacement& line : TextLinePlacements(raster, *item, view)) {
            if (shadow) {
                DrawTextLineShadow(raster, *item, line, view, light);
            }
            if (shaded) {
                ShadedTextLine(raster, *item, line, view, light);
            } else {
                DrawTextLine(raster, item->textColor, *item, line.line, line.start, line.end, view);
            }
        }
    } else if (kind == ItemKind::Line) {
        if (shadow) {
            DrawItemShadow(raster, *item, design, view, light);
        }
        ShadedDashPainter shadedDash;
        if (shaded) {
            shadedDash = [light](RasterCanvas& canvas, const Quad& body, const LineStroke& stroke) {
                ShadedDash(canvas, body, stroke, light);
            };
        }
        DrawLine(raster, design, *item, view, shadedDash);
    } else if (kind >= ItemKind::Triangle && kind <= ItemKind::Curve) {
        if (shadow) {
            DrawItemShadow(raster, *item, design, view, light);
        }
        if (shaded) {
            DrawShadedShape(raster, *item, view, light);
        } else {
            DrawShape(raster, *item, view);
        }
    } else if (kind == ItemKind::Clip) {
        if (options.pictures) {
            DrawClip(raster, *item, design, view, light, shadow, shaded);
        } else {
            DrawClipOutline(raster, *item, view);
        }
    }
    // Group markers, deletion records and the picture editor's outlines draw nothing.
}

} // namespace vlr
