// Pixels saved under a temporary picture on a raster (rubber band, dragged outline, marker), so
// that it is removed by copying them back instead of repainting.
#pragma once

#include "model/geometry.h"
#include "render/rastercanvas.h"

namespace vlr {

struct SaveUnder {
    bool holding = false;
    Rect destination; // on the raster, in its window pixels
    Rect source;      // in its own raster: the destination's device pixels
    RasterCanvas pixels;
};

// Saves the raster's pixels under a rectangle (corners in either order), clipped to the raster,
// under the raster's lock; nothing is held when nothing of it lies on the raster.
void SaveArea(SaveUnder& saved, RasterCanvas& raster, const Rect& area);
// Copies held pixels back and keeps them.
void PutBack(const SaveUnder& saved, RasterCanvas& raster);
// Copies held pixels back and lets go of them; false when none were held.
bool RestoreArea(SaveUnder& saved, RasterCanvas& raster);

} // namespace vlr
