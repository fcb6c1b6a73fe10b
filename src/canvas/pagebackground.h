// The page as the document window shows it under the items: the canvas colour, and the page's
// guides in silver - the printable area dotted, the page's edge solid, card and brochure folds
// dotted - drawn from the document header's page fields.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "render/rastercanvas.h"

namespace vlr {

// Paints the part of the canvas under area (canvas pixels, corners in either order, clipped to
// the canvas); view maps the page's design pixels onto the canvas.
void PaintPageBackground(RasterCanvas& canvas, const ItemRecord& header, const ViewTransform& view,
                         const Rect& area);

} // namespace vlr
