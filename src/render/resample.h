// Resizing rasters with a separable reconstruction filter: the clip scaling, the preview and
// export reductions, the shadows and the picture editor share it.
#pragma once

#include <QImage>

#include <cstdint>

namespace vlr {

namespace ResampleFilter {
inline constexpr int32_t Box = 0; // also every code not listed here
inline constexpr int32_t Triangle = 1;
inline constexpr int32_t Hermite = 2;
inline constexpr int32_t Bell = 3;
inline constexpr int32_t BSpline = 4;  // cubic B-spline
inline constexpr int32_t Lanczos3 = 5; // Lanczos, three lobes
inline constexpr int32_t Mitchell = 6; // Mitchell-Netravali, B = C = 1/3
} // namespace ResampleFilter

// The filter's support radius in source pixels: box 0.5, triangle and Hermite 1, Bell 1.5,
// B-spline and Mitchell 2, Lanczos 3.
double FilterSupport(int32_t filter);
// The filter's kernel at distance t (in pixels) from the sample.
double FilterKernel(int32_t filter, double t);

// Resizes source to target's size: every target pixel is the weighted sum of the source pixels
// within the filter's support about the point it maps to (pixel centres map onto pixel
// centres; when reducing, the kernel widens by the reduction so that every source pixel
// counts). The weights of each target pixel add up to 1, so a flat colour stays exactly flat;
// pixels beyond the edge repeat the edge; results are kept within 0 ... 255 per channel.
// Works on RGB32 and ARGB32 rasters (every byte a channel, premultiplied or not) and on 8-bit
// grey or alpha masks; source and target of the same depth. A null or empty source or target,
// or another format, is skipped and gives false.
bool ImageResample(const QImage& source, QImage& target, int32_t filter);

// A new raster of width x height in the source's format; null for a size of 0 or less or one
// that cannot be allocated.
QImage Resampled(const QImage& source, int32_t width, int32_t height, int32_t filter);

// ---- a part of a resized raster ----

// Resizing a source of sourceSize to targetSize, only the target pixels of part (a rectangle of
// the whole target, right and bottom excluded) read the source pixels of the rectangle this
// returns: those within the filter's reach, inside the source. Empty for an empty part or size.
QRect ResampleSourceFor(QSize sourceSize, QSize targetSize, const QRect& part, int32_t filter);

// Fills target with the pixels that part of the resized raster holds: exactly what
// ImageResample into a raster of targetSize gives there. source holds the source pixels from
// sourceOrigin on (at least ResampleSourceFor of the part); part takes target's size. False,
// and nothing written, when a raster is unsuitable (as for ImageResample), the part leaves the
// target, the source does not hold what the part reads, or the working memory cannot be had.
bool ImageResamplePart(const QImage& source, QPoint sourceOrigin, QSize sourceSize, QImage& target,
                       QPoint partOrigin, QSize targetSize, int32_t filter);

} // namespace vlr
