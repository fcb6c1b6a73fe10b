// How lines and shape outlines are painted: the fill codes, pen widths, the plain drawing of
// every shape kind and the drawing of line items with their dash patterns, borders and fills.
// Every function draws through a view transform, so the canvas, the preview, the printed sheet
// and the exported picture share it.
#pragma once

#include "model/outline.h"
#include "render/dashpattern.h"
#include "render/rastercanvas.h"

#include <cstdint>
#include <functional>

namespace vlr {

// fillColor codes besides a colour. For shapes: no fill, or a fill in the outline colour with a
// 1-pixel outline. For lines: hollow between the borders, or solid in the line colour.
inline constexpr int32_t FILL_NONE = -1;
inline constexpr int32_t FILL_AS_OUTLINE = -2;

// ---- lines ----

// Everything a line is painted with, in device pixels. Shadows and shaded drawing change the
// colours and paint the same dashes.
struct LineStroke {
    int32_t color = 0;
    int32_t fillColor = FILL_AS_OUTLINE;
    double direction = 0.0; // on the device
    int32_t surface = 0;
    int32_t width = 1;  // W, at least 1
    int32_t border = 0; // B; 0 for a plain line
    // Solid in its colour without borders. A line that is not plain fills its body with its fill
    // inside a 1-pixel outline, also where its border rounds to fewer than 2 pixels and no border
    // strips are drawn.
    bool plain = true;
};

// A line item's stroke at the transform's zoom (scaleY): W = round(zoom x penWidthPx), at least 1;
// B = the border weight's pen width. The line is plain (border 0) when the borders would meet
// (2B >= W), when it has no weight, or when at 100 % twice the border weight is at least the
// weight. The stored direction holds on the device, turned accordingly where the transform
// scales its axes differently.
LineStroke LineStrokeOf(const ItemRecord& line, const ViewTransform& transform,
                        const ScreenResolution& screen);

// Paints a 3-D dash body instead of the flat one (lines 4 pixels wide and more with a surface).
using ShadedDashPainter =
    std::function<void(RasterCanvas& canvas, const Quad& body, const LineStroke& stroke)>;

// The dashes of the line s-e: a pen of width W along the dash below 2 pixels; otherwise the dash
// body outlined by a 1-pixel pen in the line colour and filled (solid in the line colour, with
// the fill colour or hollow), and the four border strips when the border is 2 pixels or more.
// Without a shaded painter every dash is flat.
void StrokeLine(RasterCanvas& canvas, Point s, Point e, const LineStroke& stroke, const DashPattern& pattern,
                const ShadedDashPainter& shaded = {});
// A line item of the design, with the design's patterns.
void DrawLine(RasterCanvas& canvas, const ItemList& design, const ItemRecord& line,
              const ViewTransform& transform, const ShadedDashPainter& shaded = {});

// ---- shapes ----

struct ShapePaint {
    int32_t color = 0;
    int32_t fillColor = FILL_NONE;
    int32_t penWidth = 1; // 0 and 1 give the thinnest line
};

// The outline pen of a shape: PenWidthPixels(zoom, lineWeight) with the transform's scaleY.
int32_t ShapePenWidth(const ItemRecord& shape, const ViewTransform& transform,
                      const ScreenResolution& screen);

// Paints a device outline of a shape kind with a solid pen and the fill code: circles, polygons,
// stars, pies and solids are filled unless FILL_NONE; ellipses and oblongs as a stroked and
// filled path (even-odd, like polygons), their outline alone with FILL_NONE; arcs, open and
// closed figures are never filled. FILL_AS_OUTLINE fills in the outline colour with a 1-pixel pen
// wherever there is a fill, and draws a two-point figure of a point-list shape with 1 pixel.
void PaintShapeOutline(RasterCanvas& canvas, int32_t kind, const DeviceOutline& outline,
                       const ShapePaint& paint);
// A shape item drawn flat.
void DrawShape(RasterCanvas& canvas, const ItemRecord& shape, const ViewTransform& transform);

} // namespace vlr
