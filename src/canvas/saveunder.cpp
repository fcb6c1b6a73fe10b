// Saved pixels under temporary pictures.
#include "canvas/saveunder.h"

#include "render/devicescale.h"

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
    // On a dense screen the rectangle's device pixels are kept, 1:1.
    const Rect device = DeviceCover(clipped, raster.deviceScale());
    saved.pixels = RasterCanvas(device.right - device.left, device.bottom - device.top, Smoothing::Exact);
    saved.source = {0, 0, device.right - device.left, device.bottom - device.top};
    saved.destination = clipped;
    saved.pixels.CopyRect(saved.source, raster, device);
    saved.holding = true;
}

void PutBack(const SaveUnder& saved, RasterCanvas& raster) {
    if (saved.holding && !saved.pixels.isNull()) {
        CanvasLock lock(raster);
        raster.CopyRect(DeviceCover(saved.destination, raster.deviceScale()), saved.pixels, saved.source);
    }
}

bool RestoreArea(SaveUnder& saved, RasterCanvas& raster) {
    if (!saved.holding || saved.pixels.isNull()) {
        return false;
    }
    PutBack(saved, raster);
    saved.holding = false;
    return true;
}

} // namespace vlr
