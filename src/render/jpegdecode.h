// JPEG pictures through libjpeg, at full size or reduced by 2, 4 or 8 while decoding.
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>
#include <span>

namespace vlr {

// reduction 0 ... 3 divides the size by 2^reduction (rounded up) as the decoder's scaled
// inverse transform does it; other values decode at full size. Colour, greyscale and CMYK
// pictures are accepted. Errors, a stream that ends before the picture does, more than
// kMaxJpegScans progressive scans or a declared size beyond kMaxPicturePixels give nothing;
// other corrupt-data warnings (stray bytes between markers, common in camera files) are
// tolerated because the picture still decodes whole.
std::optional<QImage> DecodeJpeg(std::span<const uint8_t> stream, int32_t reduction = 0);

// The full size its header declares, without decoding; nothing for a stream without a readable
// header or beyond kMaxPicturePixels.
std::optional<QSize> JpegSize(std::span<const uint8_t> stream);

// A progressive picture of thousands of tiny scans takes minutes to decode; real encoders
// write about ten.
inline constexpr int32_t kMaxJpegScans = 500;

} // namespace vlr
