// Drawing picture items (clips): a rectangular or round part of a picture stored once in the
// design, cut out, scaled to its place, colour-adjusted, mirrored, framed, turned and composited
// over what is already on the raster, after its soft shadow.
//
// The two expensive steps - decoding and cutting-and-scaling the picture, then adjusting and
// mirroring it - are kept as derived bitmaps in the clip's child list: an unadjusted bitmap and
// an adjusted copy at the device size last drawn. Each holds a key of everything it was made
// from (the picture data, the cut, the orientation, the size, the adjustments); a bitmap whose
// key no longer matches is made again, so a change of zoom, cut or adjustment can never show a
// stale picture, and drawing the same clip again (the next tile, the next copy on a sheet)
// costs only the compositing.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "render/rastercanvas.h"

#include <QImage>

#include <cstdint>
#include <optional>

namespace vlr {

// Where a clip lies on the device: the picture's own pixels (right and bottom excluded),
// before its frame. A round clip's rectangle is the square about its centre.
struct ClipPlace {
    Rect picture;
    int32_t frame = 0; // frame width in pixels on every side; 0 without a frame
};
// Nothing for a clip of no area (both points on one row or column, a round clip of radius 0).
std::optional<ClipPlace> ClipPlacement(const ItemRecord& clip, const ViewTransform& view, const ScreenResolution& screen);

// The clip's picture cut and scaled to width x height (Mitchell filter), adjusted by the clip's
// saturation, contrast and lightness and mirrored by the signs of its scales: the bitmap the
// clip shows before its frame. Taken from the clip's derived bitmaps when they still match,
// otherwise made and kept there. Null when the picture cannot be had (no picture data, a stream
// that does not decode, a cut that misses the picture, a size of 0 or beyond the picture cap).
QImage ClipBitmap(ItemRecord& clip, const ItemList& design, int32_t width, int32_t height);

// The shadow of the clip (only with both an elevation and a lightness), then the clip. shaded
// false draws the frame flat whatever its surface. A clip whose picture cannot be had draws
// nothing at all, not even its shadow.
void DrawClip(RasterCanvas& raster, ItemRecord& clip, const ItemList& design, const ViewTransform& view,
              int32_t lightDirection, bool shadow, bool shaded);
// The clip as its outline only (the document window without pictures): a one-pixel rectangle,
// turned with the clip, or circle in the frame colour.
void DrawClipOutline(RasterCanvas& raster, const ItemRecord& clip, const ViewTransform& view);

} // namespace vlr
