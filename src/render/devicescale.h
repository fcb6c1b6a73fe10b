// Screens denser than the design's pixels (a device pixel ratio above 1): where a rectangle of
// window pixels lies in the device pixels of a picture made for such a screen, and the design
// drawn at the screen's own density.
#pragma once

#include "model/geometry.h"
#include "render/drawdesign.h"

#include <QSize>

namespace vlr {

class RasterCanvas;

// Each edge on the nearest device pixel edge, so that neighbouring rectangles share their
// device edges: what a fill covers.
Rect DeviceRect(const Rect& rect, double scale);
// Every device pixel that drawing inside the rectangle may touch, partly covered ones at
// fractional scales included: what pixels saved under a temporary picture must hold.
Rect DeviceCover(const Rect& rect, double scale);
// The device pixels of a picture of size window pixels.
QSize DeviceSize(QSize size, double scale);
// A view of the canvas drawn scale times as dense.
ViewTransform DeviceView(const ViewTransform& view, double scale);
// One item at the raster's device density: the view taken to its device pixels, every
// coordinate of the drawing in device pixels.
void DrawItemAtDensity(RasterCanvas& raster, ItemRecord* item, ItemList& design, const ViewTransform& view,
                       const DrawOptions& options = {});

} // namespace vlr
