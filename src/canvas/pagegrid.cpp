// Respacing the gridlines over a changed page.
#include "canvas/pagegrid.h"

#include "model/history.h"
#include "model/itemkind.h"
#include "model/numeric.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

// More lines than a screen can show apart; a page of 32000 pixels with a gridline every pixel
// would otherwise give a list as long.
constexpr int64_t kMostGridlines = 10000;

void Equalize(std::vector<GridNode>& nodes, double distance, double pixelsPerUnit, double pageExtent,
              int32_t pageStart) {
    const double stepPixels = distance * pixelsPerUnit;
    if (!std::isfinite(stepPixels) || !(distance > 0.0) || nearest(stepPixels) < 1 ||
        !std::isfinite(pageExtent)) {
        return;
    }
    const int64_t step = nearest(stepPixels);
    const int64_t count =
        static_cast<int64_t>(std::clamp(std::trunc(pageExtent / distance), 0.0, double(kMostGridlines)));
    nodes.clear();
    for (int64_t k = 1; k <= count; ++k) {
        nodes.push_back({SaturateInt32(pageStart + k * step), 0, 0});
    }
}

} // namespace

void RespaceGridlines(ItemList& design, const EditHooks& hooks) {
    const ItemRecord* header = FindRecord(design, ItemKind::Header);
    if (!header) {
        return;
    }
    ItemRecord* grid = EditGridlines(design, hooks);
    if (!grid) {
        return;
    }
    // Gridline positions count from the canvas origin, which lies the page's offset before its
    // edges, in pixels at 100 %.
    const double zoom = std::isfinite(header->zoom) && header->zoom > 0.0 ? double(header->zoom) : 1.0;
    const int32_t pageLeft = nearest(header->boundLeft / zoom);
    const int32_t pageTop = nearest(header->boundTop / zoom);
    Equalize(grid->gridX, header->gridDensityX, header->pxPerUnitX, header->canvasWidth, pageLeft);
    Equalize(grid->gridY, header->gridDensityY, header->pxPerUnitY, header->canvasHeight, pageTop);
}

} // namespace vlr
