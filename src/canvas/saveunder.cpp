// Saved pixels under temporary pictures.
#include "canvas/saveunder.h"

#include <algorithm>

namespace vlr {

void SaveArea(SaveUnder& saved, RasterCanvas& raster, const Rect& area) {
    CanvasLock lock(raster);
    const Rect clipped{std::max(0, std::min(area.left, area.right)),
                       std::max(0, std::min(area.top, area.bottom)),
                       std::min(raster.width(), std::max(area.left, area.right)),
                       std::min(raster.height(), std::max(area.top, area.bottom))};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) {
        saved.holding = false;
        return;
    }
    saved.pixels = RasterCanvas(clipped.right - clipped.left, clipped.bottom - clipped.top, Smoothing::Exact);
    saved.source = {0, 0, clipped.right - clipped.left, clipped.bottom - clipped.top};
    saved.destination = clipped;
    saved.pixels.CopyRect(saved.source, raster, clipped);
    saved.holding = true;
}

bool RestoreArea(SaveUnder& saved, RasterCanvas& raster) {
    if (!saved.holding || saved.pixels.isNull()) {
        return false;
    }
    CanvasLock lock(raster);
    raster.CopyRect(saved.destination, saved.pixels, saved.source);
    saved.holding = false;
    return true;
}

} // namespace vlr
