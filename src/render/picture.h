// The stored picture of a clip: decoding it from the design's picture data, its base
// orientation, the colour adjustments of a clip, turning a raster by any angle, and the
// cropping and mirroring the clip drawing uses. Rasters are QImages in Format_RGB32.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "render/picturedecode.h"

#include <QImage>

#include <cstdint>
#include <optional>

namespace vlr {

// The first picture data record of the design whose pictureId is the item's.
const ItemRecord* FindPictureData(const ItemRecord* item, const ItemList& design);

// The item's picture, decoded from its picture data by the record's format code and turned and
// mirrored by the item's base orientation (OrientPicture). Nothing when the design holds no
// such record, the record has no stream, the stream does not decode, or the decoded picture is
// 1 pixel or less in either direction: such a clip draws nothing.
std::optional<QImage> DecodePictureData(const ItemRecord* item, const ItemList& design);

// The base orientation chosen when the picture was inserted: mirrorX < 0 mirrors left to right,
// mirrorY < 0 flips top to bottom, turnAngle (degrees, counted modulo 360) turns by quarter
// turns. A quarter turn first drops the last column and row of an odd-sized picture so that the
// turn moves every pixel exactly, then turns counter-clockwise by mirrorX x mirrorY x the angle
// with width and height swapped; a half turn is a mirror and a flip. Other angles do not turn.
// When a raster for the turn cannot be had, the picture is returned as it was.
QImage OrientPicture(const QImage& picture, int32_t mirrorX, int32_t mirrorY, int32_t turnAngle);

// The picture less its last column when its width is odd and its last row when its height is
// odd, so that a turn about its centre lands on whole pixels.
QImage EvenSized(const QImage& picture);

// Per pixel and in this order, each step skipped when its value is 0 and each channel kept
// within 0 ... 255 after each step: saturation s moves every channel X away from the pixel's
// lightness L = (max + min of its channels) / 2 to X + (s (X - L)) / 128; contrast c moves it
// away from 128 to X + (c (X - 128)) / 256; lightness l adds l. Divisions round toward zero;
// values from files of any size are safe (64-bit arithmetic). Works in place on RGB32.
void AdjustColours(QImage& raster, int32_t saturation, int32_t contrast, int32_t lightness);

// Turns source counter-clockwise by angle (radians) about its centre into target, which is
// already sized and filled with what shows where the turned picture does not reach. Every
// target pixel (i, j) takes the source pixel found by turning its centre back, when that lies
// inside the source; no interpolation. Source and target are both 32-bit or both 8-bit rasters;
// otherwise, or when either is empty, nothing happens and false is returned.
bool RotateRaster(const QImage& source, QImage& target, double angle);
// The same for the part of a width x height target whose top-left pixel is origin: the part
// gets exactly the pixels it would hold in the whole target. Spares the whole target when only
// a window of it is shown.
bool RotateRasterPart(const QImage& source, QImage& part, int64_t width, int64_t height, Point origin,
                      double angle);

// The pixels of rect (corners in either order; right and bottom excluded, as for every
// rectangle of the raster layer) that lie on the raster. A rectangle that misses the raster or
// has no area gives a null image.
QImage CropRaster(const QImage& raster, const Rect& rect);
// The rectangle's pixels at its full size: what lies off the raster is white. A rectangle
// without area or of more than kMaxPicturePixels gives a null image.
QImage CropOnWhite(const QImage& raster, const Rect& rect);

// In place: left to right and/or top to bottom.
void MirrorRaster(QImage& raster, bool leftToRight, bool topToBottom);

} // namespace vlr
