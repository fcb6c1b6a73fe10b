// GIF decoding with giflib, record by record up to the first frame, so that no later frame is
// read and every count and position taken from the file is checked before it is used.
#include "render/gifdecode.h"

#include "render/picturedecode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace vlr {

namespace {

struct MemoryReader {
    std::span<const uint8_t> stream;
    size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t count =
        std::min(static_cast<size_t>(std::max(length, 0)), reader->stream.size() - reader->position);
    std::memcpy(buffer, reader->stream.data() + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, CloseGif>;

// The row of the frame that the n-th decoded row fills. Interlaced frames store every eighth
// row from 0, every eighth from 4, every fourth from 2 and every second from 1.
int FrameRow(int n, int height, bool interlaced) {
    if (!interlaced) {
        return n;
    }
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = kStart[pass] < height ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (n < rows) {
            return kStart[pass] + n * kStep[pass];
        }
        n -= rows;
    }
    return -1;
}

// Reads the extension record whose code comes next; returns the transparent colour index of a
// graphic control block (or keeps the one given), -2 on failure.
int ReadExtension(GifFileType* gif, int transparent, int32_t& blocksLeft) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
        return -2;
    }
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        transparent = (block[1] & 0x01) != 0 ? block[4] : -1;
    }
    while (block != nullptr) {
        if (--blocksLeft < 0 || DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            return -2;
        }
    }
    return transparent;
}

bool PaintFrame(GifFileType* gif, int transparent, QImage& raster) {
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0 ||
        int64_t{frame.Width} * frame.Height > PicturePixelLimit()) {
        return false;
    }
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr || colours->ColorCount <= 0) {
        return false;
    }
    uint32_t palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = 0xFF000000u; // indices beyond the table
    }
    for (int i = 0; i < std::min(colours->ColorCount, 256); ++i) {
        const GifColorType& c = colours->Colors[i];
        palette[i] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
    }
    std::vector<GifPixelType> indices(static_cast<size_t>(frame.Width));
    const int visibleWidth = std::max(0, std::min(frame.Width, raster.width() - frame.Left));
    for (int n = 0; n < frame.Height; ++n) {
        if (DGifGetLine(gif, indices.data(), frame.Width) == GIF_ERROR) {
            return false;
        }
        const int y = frame.Top + FrameRow(n, frame.Height, frame.Interlace);
        if (y >= raster.height() || visibleWidth == 0) {
            continue;
        }
        auto* row = reinterpret_cast<uint32_t*>(raster.scanLine(y)) + frame.Left;
        for (int x = 0; x < visibleWidth; ++x) {
            if (indices[x] != transparent) {
                row[x] = palette[indices[x]];
            }
        }
    }
    return true;
}

} // namespace

std::optional<QImage> DecodeGif(std::span<const uint8_t> stream) {
    MemoryReader reader{stream};
    int error = 0;
    GifHandle gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif) {
        return std::nullopt;
    }
    int transparent = -1;
    int32_t blocksLeft = kMaxGifExtensionBlocks;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
            return std::nullopt;
        }
        if (type == EXTENSION_RECORD_TYPE) {
            transparent = ReadExtension(gif.get(), transparent, blocksLeft);
            if (transparent == -2 || --blocksLeft < 0) {
                return std::nullopt;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            return std::nullopt; // the end of the file, or garbage, before any frame
        }
        break;
    }
    // A screen declared empty takes the frame's extent.
    int64_t width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0) {
        width = int64_t{gif->Image.Left} + gif->Image.Width;
        height = int64_t{gif->Image.Top} + gif->Image.Height;
    }
    if (!AcceptablePictureSize(width, height)) {
        return std::nullopt;
    }
    QImage raster(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (raster.isNull()) {
        return std::nullopt;
    }
    raster.fill(Qt::white);
    if (!PaintFrame(gif.get(), transparent, raster)) {
        return std::nullopt;
    }
    return raster;
}

} // namespace vlr
