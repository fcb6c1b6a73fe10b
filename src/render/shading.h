// 3-D surfaces: an item with a surface value is drawn with a rounded, lit look instead of flat
// colours. Every pixel the item covers takes a colour from a brightness profile of the item's
// own colour, indexed by the pixel's distance from a light centre (discs, ellipses and the
// shapes cut from a disc) or from an edge (bars: squares, rectangles, wide line dashes and text
// lines), so that the item looks lit from the corner the design's light comes from.
//
// How the pixels are found: the item is painted into an exact mask - outline pixels in pure
// blue, fill pixels in pure red, with the item's real pen width and fill code - and only those
// pixels of the target change, blue ones from the outline colour's profile, red ones from the
// fill colour's (the text colour's for text). A row index past either end of the profile wraps
// once; one still outside leaves its pixel as it was. Masks cover only the part of the target
// the item touches. Degenerate geometry (a disc under 2 pixels, an ellipse without an axis, a
// bar of length 0) paints nothing.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "model/outline.h"
#include "render/dashpattern.h"
#include "render/rastercanvas.h"
#include "render/stroke.h"
#include "render/textdraw.h"

#include <cstdint>
#include <vector>

namespace vlr {

// lightDirection: where the light comes from.
namespace LightFrom {
inline constexpr int32_t TopLeft = 0;
inline constexpr int32_t TopRight = 1;
inline constexpr int32_t BottomLeft = 2;
inline constexpr int32_t BottomRight = 3;
} // namespace LightFrom

// The surface value the panels offer for a shaded item; any value but 0 shades.
inline constexpr int32_t kSurfaceRounded = 127;

// The brightening of dark and grey colours, so that their profile still shows a highlight:
// round((1 - (R + G + B) / 765) x (1 - D / 255) x 0.75 x weight), D the largest difference
// between two channels. White and pure colours get none.
int32_t ProfileBoost(int32_t colour, int32_t weight);

// length colours (0x00BBGGRR) from dark at both ends to the full colour plus the boost in the
// middle: row r has the factor (g x (255 - k) + k) / 255 with g = sin(pi (r + 1) / length) to
// the power 36 / length (kept within 1.5 ... 3). Empty for a length below 1.
std::vector<int32_t> ShadingProfile(int32_t length, int32_t surface, int32_t colour);

// The colours and pen of a shaded item.
struct SurfacePaint {
    int32_t surface = kSurfaceRounded; // k
    int32_t color = 0;                 // outline
    int32_t fillColor = FILL_NONE;     // a colour, FILL_NONE or FILL_AS_OUTLINE
    int32_t penWidth = 1;
    int32_t lightDirection = LightFrom::TopLeft; // 0 ... 3; other values count as 0
};

// The circle inscribed in the rectangle (its width is the diameter D), lit from a centre a sixth
// of D off the middle towards the light; the profile has p + round(1.5 D) rows, the row of a
// pixel is its distance from the light centre plus half the profile. Under 2 pixels across:
// nothing.
void ShadedDisc(RasterCanvas& canvas, const Rect& circle, const SurfacePaint& paint);
// The ellipse about the centre with half-length |centre, lengthPoint| and half-width the distance
// of widthPoint from that axis: like a disc over the ellipse's box, the rows stretched along the
// short axis so that the rings follow the ellipse. Nothing when either half-axis rounds to 0.
void ShadedEllipse(RasterCanvas& canvas, Point centre, Point lengthPoint, Point widthPoint,
                   const SurfacePaint& paint);
// A square or rectangle with corners p1, p2, p3 (in stored order) and the outline it is drawn
// with: a band across the edge p2-p3 whose rows count from the edge p1-p2, the highlight moved a
// quarter of the band towards the light. Corners stored clockwise or counter-clockwise shade
// alike. Nothing when p1 and p2 coincide or p2-p3 is shorter than half a pixel.
void ShadedBar(RasterCanvas& canvas, const DeviceOutline& outline, Point p1, Point p2, Point p3,
               const SurfacePaint& paint);
// One dash of a line 4 pixels wide or more: a band as wide as the line across its direction,
// the interior from the fill colour and the borders from the line colour.
void ShadedDash(RasterCanvas& canvas, const Quad& body, const LineStroke& stroke, int32_t lightDirection);
// One text line in its text colour: a band as high as the font's cell, counted from the bottom
// of the cell.
void ShadedTextLine(RasterCanvas& canvas, const ItemRecord& text, const TextLinePlacement& line,
                    const ViewTransform& transform, int32_t lightDirection);

// The disc whose shading the other shapes are cut from, covering the shape: polygons and stars
// about their centre with diameter round((R + p) x 2), R the (larger) radius; pies and arcs the
// same with their radius; point-list shapes and curves from s - round(sqrt2 s) to round(sqrt2 s)
// about the top-left corner of their points' box, s its larger side.
Rect CutoutDisc(const ItemRecord& shape, const DeviceOutline& outline, const ViewTransform& transform,
                int32_t penWidth);
// Paints the outline (blue) and fill (red) of the shape, each pixel taking the shading the disc
// has at that place in the outline or fill colour.
void DiscCutout(RasterCanvas& canvas, int32_t kind, const DeviceOutline& outline, const Rect& disc,
                const SurfacePaint& paint);

// The shaded body of a shape item, by kind: circles as discs, ellipses, squares and rectangles
// as bars, every other shape cut from a disc.
void DrawShadedShape(RasterCanvas& canvas, const ItemRecord& shape, const ViewTransform& transform,
                     int32_t lightDirection);

} // namespace vlr
