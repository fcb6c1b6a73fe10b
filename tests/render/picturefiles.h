// Picture files made in the tests by encoders other than the decoders under test: Windows
// bitmaps, icons and metafiles written byte by byte from their published layouts, GIFs through
// giflib's encoder, JPEGs through Qt's writer and libjpeg's compressor.
#pragma once

#include <QImage>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vlr::test {

using Bytes = std::vector<uint8_t>;

void PutLittle16(Bytes& bytes, uint32_t value);
void PutLittle32(Bytes& bytes, uint32_t value);

// A bitmap file: file header, 40-byte information header, palette (0x00RRGGBB entries) and the
// pixel data as given (rows bottom-up and padded, or run-length codes). compression 0 plain,
// 1 RLE8, 2 RLE4. height < 0 stores rows top-down.
Bytes BitmapFile(int32_t width, int32_t height, int bitsPerPixel, const std::vector<uint32_t>& palette,
                 const Bytes& pixelData, int compression = 0);
// Rows of palette indices (top row first) packed at bitsPerPixel, stored bottom-up, each row
// padded to 4 bytes.
Bytes PackedRows(const std::vector<std::vector<uint8_t>>& rows, int bitsPerPixel);
// Rows of 0xRRGGBB colours (top row first) as 24- or 32-bit pixels, bottom-up, padded.
Bytes DirectRows(const std::vector<std::vector<uint32_t>>& rows, int bitsPerPixel);

// One image of an icon file: either a PNG file or a bitmap (32-bit pixels 0xAARRGGBB, top row
// first, with an AND mask of the given transparent pixels).
struct IconImage {
    int width = 0;
    int height = 0;
    Bytes data; // what the directory entry points at
};
IconImage BitmapIconImage(const std::vector<std::vector<uint32_t>>& argbRows,
                          const std::vector<std::vector<bool>>& transparent);
IconImage PngIconImage(const QImage& image);
Bytes IconFile(const std::vector<IconImage>& images);

// A GIF written by giflib: one frame of palette indices (rows top-first as the picture shows
// them), optionally with a transparent index, interlaced or not, at an offset on the screen.
struct GifFrame {
    int screenWidth = 0, screenHeight = 0;
    int left = 0, top = 0;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<uint32_t> palette; // 0xRRGGBB; its size is rounded up to a power of two
    int transparent = -1;
    bool interlaced = false;
};
Bytes GifFile(const GifFrame& frame);

// A JPEG written by Qt's writer at quality 100: baseline or progressive; a Grayscale8 image
// gives a one-component (greyscale) file.
Bytes JpegFile(const QImage& image, bool progressive = false);
// A CMYK JPEG written by libjpeg with an Adobe marker; ink values stored inverted as such
// files store them. Pixels are given as 0xCCMMYYKK.
Bytes CmykJpegFile(int width, int height, const std::vector<uint32_t>& inks);

// A placeable Windows metafile of width x height twips (1440 to the inch) that fills its whole
// frame with a solid brush of colour 0x00BBGGRR, no pen.
Bytes FilledMetafile(int twipsWide, int twipsHigh, uint32_t colour);

// Pixels 0xRRGGBB of a decoded raster.
uint32_t Rgb(const QImage& image, int x, int y);
// Whether every channel of two 0xRRGGBB colours differs by at most tolerance.
bool Near(uint32_t actual, uint32_t expected, int tolerance);

} // namespace vlr::test
