// Turning a stored or loaded picture file into a raster, by the format code a picture data
// record carries. The same decoders serve drawing a design and inserting a picture.
//
// Every decoder returns a QImage in Format_RGB32 (0xFFRRGGBB, the raster format of the whole
// renderer) or nothing when the stream cannot be decoded. Parts of a picture that are
// transparent (GIF transparency, icon masks, bitmaps with an alpha channel) come out white, the
// colour of the paper. Sizes declared in a picture's header are checked before anything is
// decoded: a picture of more than kMaxPicturePixels counts as undecodable.
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>
#include <span>

namespace vlr {

namespace PictureFormat {
inline constexpr int32_t Gif = 1;
inline constexpr int32_t Bitmap = 2;
inline constexpr int32_t Icon = 3;
inline constexpr int32_t Jpeg = 4;
inline constexpr int32_t Metafile = 5; // an enhanced or a Windows metafile
} // namespace PictureFormat

// 100 megapixels: a 400-megabyte raster, more than any photograph a card is made from.
inline constexpr int64_t kMaxPicturePixels = 100'000'000;

struct DecodeOptions {
    // JPEG only: 0 full size, 1 half, 2 quarter, 3 eighth; the raster is the size divided by
    // 2^reduction, rounded up. Other values decode at full size.
    int32_t jpegReduction = 0;
    // Icon files hold several images: the one of this size (in either orientation) is taken
    // when present, otherwise the largest. An empty size takes the largest.
    QSize iconSize;
};

// The picture by its format code (1 GIF, first frame; 2 Windows bitmap; 3 icon; 4 JPEG;
// 5 metafile). Any other code, a damaged or truncated stream, or a declared size beyond the cap
// gives nothing.
std::optional<QImage> DecodePictureStream(std::span<const uint8_t> stream, int32_t format,
                                          const DecodeOptions& options = {});

// Any picture as an opaque RGB32 raster: pixels with an alpha channel are laid over white.
QImage OpaqueOnWhite(const QImage& image);

// Width and height within 1 ... and at most PicturePixelLimit pixels in all.
bool AcceptablePictureSize(int64_t width, int64_t height);
// kMaxPicturePixels, unless LimitPicturePixels lowered it.
int64_t PicturePixelLimit();
// Lowers the size cap of the whole process (never above kMaxPicturePixels). The fuzzer does, so
// that no input may spend a second on a hundred megapixels and it tries thousands a second.
void LimitPicturePixels(int64_t pixels);

// Qt's image readers refuse pictures beyond a fixed allocation limit; raises that limit as far
// as the largest picture accepted here needs (never lowers it).
void AllowPictureAllocations();

} // namespace vlr
