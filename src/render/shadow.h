// Soft drop shadows. A shadow is painted just before its item as a darkening of the pixels
// already on the raster, offset away from the design's light: the item is painted into a white
// mask in the shadow's tone, moved by the offset, the mask is blurred, and every target pixel
// under a mask value b below 255 is multiplied by b / 255. A shadow never lightens and never
// tints white with anything but grey.
//
// The mask covers only what the blurred shadow can reach on the target: the item's box grown
// by the larger of the offset margin and the blur's reach, cut to the target grown by that
// reach. An item far off the target casts nothing, and one whose mask cannot be allocated is
// drawn without its shadow.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "model/screenresolution.h"
#include "render/rastercanvas.h"
#include "render/textdraw.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>

namespace vlr {

// The design's light direction from its header (0 top left, 1 top right, 2 bottom left, 3 bottom
// right); 0 without a header and for values above 3.
int32_t LightDirection(const ItemList& design);

// Device pixels the shadow lies off its item: the elevation in whole design steps of 8.5
// (rounded), at the screen's vertical resolution, times the zoom, rounded.
int32_t ShadowOffset(int32_t elevation, double zoom, const ScreenResolution& screen);
// fade / 30 + 1, kept within 1 ... 5.
double ShadowSpread(int32_t fade);
// A picture's: fade / 85 + 1, kept within 1 ... 2.
double PictureShadowSpread(int32_t fade);
// The offset away from the light: right and down for light from the top left, and so on.
Point ShadowShift(int32_t lightDirection, int32_t offset);
// The colour the item is painted into the mask with: blue is the lightness, red and green 0.
int32_t ShadowTone(int32_t lightness);

// The size a mask of width x height passes through when it is blurred: each side times
// 10 / (fade + 10) / zoom, rounded, at least 6. Nothing when the mask stays sharp (one side would
// not shrink): at 100 % without fade there is no blur; at higher zooms the shadow keeps the
// softness it has on the screen.
std::optional<QSize> ShadowBlurSize(int64_t width, int64_t height, int32_t fade, double zoom);
// How far the blur carries a mask pixel, in pixels: the B-spline reaches two pixels of the
// reduced mask on the way down and two on the way up; rounding of the reduced size is allowed
// for. 0 when the mask stays sharp.
int64_t BlurReach(int32_t fade, double zoom);
// Blurs an 8-bit mask by resampling it down to the reduced size and back with the cubic
// B-spline filter. False (mask unchanged) when it cannot be done.
bool ShadowBlur(QImage& mask, QSize reduced);
// Multiplies every target pixel under the 8-bit mask (its top-left corner at the point) by
// value / 255 where the value is below 255: each channel c becomes c - round((255 - b) c / 255).
// Mask pixels outside the target are ignored.
void ShadowComposite(RasterCanvas& target, Point at, const QImage& mask);

// Paints the item into the mask in the tone, every point moved by the vector.
using ShadowPainter = std::function<void(RasterCanvas& mask, int32_t tone, Point move)>;
// Casts the shadow of an item whose device box is given and whose pen is penWidth wide: builds
// the mask over the part of the target the shadow can reach, lets the painter paint the item
// into it, blurs it and darkens the target under it.
void CastShadow(RasterCanvas& raster, const ItemRecord& item, Rect box, int32_t penWidth, double zoom,
                int32_t lightDirection, const ShadowPainter& paint);
// The same through a mask of a given place on the target (inclusive corners), cut to what its
// blur can reach there: the painter paints into it moved by the shadow's offset.
void CastShadowInMask(RasterCanvas& raster, const ItemRecord& item, const Rect& mask, double zoom,
                      int32_t lightDirection, const ShadowPainter& paint);

// The shadow of a line or shape item (nothing for other kinds, or without elevation).
void DrawItemShadow(RasterCanvas& raster, const ItemRecord& item, const ItemList& design,
                    const ViewTransform& transform, int32_t lightDirection);
// The shadow of one line of a text item.
void DrawTextLineShadow(RasterCanvas& raster, const ItemRecord& text, const TextLinePlacement& line,
                        const ViewTransform& transform, int32_t lightDirection);

} // namespace vlr
