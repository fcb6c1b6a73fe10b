// Drawing a whole design, or one item of it, onto a raster through a view transform: the one
// render path of the canvas, the preview, the printed sheet, the exported picture and the batch
// tool.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"

namespace vlr {

class RasterCanvas;

struct DrawOptions {
    bool shadows = true;    // soft shadows of items that have one
    bool surfaces = true;   // 3-D surfaces of items that have one
    bool pictures = true;   // clips as their pictures; otherwise as their outlines
};

// Every live item in stacking order, each with its shadow first. Of several live records with
// one stacking number only the first in list order is drawn.
void DrawDesign(RasterCanvas& raster, ItemList& design, const ViewTransform& view, const DrawOptions& options = {});
// One item; the design gives the light direction, the line patterns and the pictures. Records
// that are not drawable items draw nothing.
void DrawItem(RasterCanvas& raster, ItemRecord* item, ItemList& design, const ViewTransform& view,
              const DrawOptions& options = {});
// The live items in the order DrawDesign draws them.
std::vector<ItemRecord*> StackingOrder(const ItemList& design);

} // namespace vlr
