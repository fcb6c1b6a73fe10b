// GIF pictures through giflib: the first frame on its logical screen.
#pragma once

#include <QImage>

#include <optional>
#include <span>

namespace vlr {

// The raster has the size of the GIF's logical screen (the first frame's own size when the
// screen is declared empty). The screen is white; the first frame is painted at its offset,
// interlaced rows in their places, its transparent colour leaving the white; colour indices
// beyond the frame's colour table are black; parts of the frame outside the screen are cut
// off. A screen or frame beyond kMaxPicturePixels, a stream without a frame or one that ends
// inside the frame gives nothing.
std::optional<QImage> DecodeGif(std::span<const uint8_t> stream);

// Extension records and their data blocks read before the first frame, at most; a file with
// more is taken as hostile.
inline constexpr int32_t kMaxGifExtensionBlocks = 1 << 16;

} // namespace vlr
