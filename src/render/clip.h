// Drawing picture items (clips): a rectangular or round part of a picture stored once in the
// design, cut out, scaled to its place, colour-adjusted, mirrored, framed, turned and composited
// over what is already on the raster, after its soft shadow.
//
// Only what lands on the raster is made: the clip's picture scaled to its device size is a
// window of a picture that may be far larger than any raster (a full page at 1,200 dpi), and
// the cut is scaled for that window alone, reading only the source pixels within the filter's
// reach, with exactly the pixels the whole scaled picture holds there.
//
// The two expensive steps - decoding and cutting-and-scaling the picture, then adjusting and
// mirroring it - are kept as derived bitmaps in the clip's child list: an unadjusted bitmap and
// an adjusted copy of the window last drawn. Each holds a key of everything it was made from
// (the picture data, the cut, the orientation, the size, the adjustments) and its window; a
// bitmap whose key no longer matches or whose window does not hold the one asked for is made
// again, so a change of zoom, cut or adjustment can never show a stale picture, and drawing the
// same clip again (the next tile, the next copy on a sheet) costs only the compositing. The
// bitmaps of a design keep together at most its budget (ItemList::derivedBitmaps, 512 MB), the
// least recently drawn going first; a window larger than half the budget is not kept but made
// and drawn in bands of rows.
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
// otherwise made and kept there (when the budget allows). Null when the picture cannot be had
// (no picture data, a stream that does not decode, a cut that misses the picture, a size of 0
// or beyond the picture cap).
QImage ClipBitmap(ItemRecord& clip, const ItemList& design, int32_t width, int32_t height);
// The bytes the derived bitmaps of the design's clips hold.
int64_t KeptClipBytes(const ItemList& design);

// The shadow of the clip (only with both an elevation and a lightness), then the clip. shaded
// false draws the frame flat whatever its surface. A clip whose picture cannot be had draws
// nothing at all, not even its shadow.
void DrawClip(RasterCanvas& raster, ItemRecord& clip, const ItemList& design, const ViewTransform& view,
              int32_t lightDirection, bool shadow, bool shaded);
// The clip as its outline only (the document window without pictures): a one-pixel rectangle,
// turned with the clip, or circle in the frame colour.
void DrawClipOutline(RasterCanvas& raster, const ItemRecord& clip, const ViewTransform& view);

} // namespace vlr
