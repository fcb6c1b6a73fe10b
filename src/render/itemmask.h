// The small exact rasters that shadows and 3-D surfaces paint an item into before they touch
// the target: where such a mask lies on the target, how far it may reach, and how outlines and
// points move into it. A mask covers only the part of the target the item can change, so a
// huge or far-away item costs nothing and never asks for a huge raster.
#pragma once

#include "model/geometry.h"
#include "model/outline.h"
#include "render/rastercanvas.h"
#include "render/textdraw.h"

#include <cstdint>
#include <optional>

namespace vlr {

// The pixels of box (inclusive corners) grown by margin on every side, cut to the target
// raster grown by reach on every side: the part of a mask worth painting. Right and bottom are
// exclusive. Nothing when no pixel is left, also when the target has no pixels.
std::optional<Rect> MaskArea(const RasterCanvas& target, const Rect& box, int64_t margin, int64_t reach);

// An exact raster of the area's size filled with one colour, drawing with the target's screen
// resolution so that pens and fonts match; null when it cannot be allocated.
RasterCanvas MaskRaster(const RasterCanvas& target, const Rect& area, int32_t colour);

// A point and an outline moved by (dx, dy), kept within the coordinate range.
Point MovedPoint(Point point, int64_t dx, int64_t dy);
DeviceOutline MovedOutline(const DeviceOutline& outline, int64_t dx, int64_t dy);

// The metrics of a font on the raster; the raster keeps its own font.
TextMetrics MetricsOf(RasterCanvas& canvas, const FontSpec& font);
// A box holding every pixel a text line can ink at the zoom: its cell from the descent below
// to the ascent above the baseline, from the line's start along the text for the longer of the
// line's width and its baseline, grown by the cell's height on every side for glyphs that
// overhang, turned by the text's angle.
Rect TextLineBox(RasterCanvas& canvas, const ItemRecord& text, const TextLinePlacement& line, double zoom);

} // namespace vlr
