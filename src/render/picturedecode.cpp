// Decoding by format code; Windows bitmaps and icons through Qt's image readers after their
// declared sizes have been checked here.
#include "render/picturedecode.h"

#include "render/gifdecode.h"
#include "render/jpegdecode.h"
#include "render/littleendian.h"
#include "render/metafile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>

namespace vlr {

namespace {

// The size a device-independent bitmap header declares (the header's first byte at `at`): the
// old 12-byte header holds 16-bit sides, the later ones 32-bit sides, the height negative for
// rows stored top-down. Nothing when the header is cut off.
std::optional<QSize> BitmapHeaderSize(std::span<const uint8_t> bytes, size_t at) {
    const uint32_t headerSize = Little32(bytes, at);
    if (headerSize == 12 && at + 12 <= bytes.size()) {
        return QSize(static_cast<int>(Little16(bytes, at + 4)), static_cast<int>(Little16(bytes, at + 6)));
    }
    if (headerSize >= 40 && at + 16 <= bytes.size()) {
        const int64_t width = static_cast<int32_t>(Little32(bytes, at + 4));
        const int64_t height = std::llabs(static_cast<int32_t>(Little32(bytes, at + 8)));
        if (width > kMaxPicturePixels || height > kMaxPicturePixels) {
            return QSize(-1, -1);
        }
        return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return std::nullopt;
}

// A colour mask Qt's reader turns into the channel's 8 bits: one run of at most 8 bits. A wider
// channel would come out empty, a broken run as noise.
bool ReadableMask(uint32_t mask) {
    if (mask == 0) {
        return true;
    }
    const uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0 && std::popcount(mask) <= 8;
}

// A bitmap file the reader draws true: a header size it knows (it would read any other as the
// 12-byte one), a declared size within the cap, colour masks it can read, pixels that start
// after the palette or masks it reads (it never goes back for them), and, when the rows are
// stored uncompressed, all of them (it would leave missing rows undefined).
bool BitmapFileAcceptable(std::span<const uint8_t> bytes) {
    if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const uint32_t headerSize = Little32(bytes, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 64 && headerSize != 108 && headerSize != 124) {
        return false;
    }
    const std::optional<QSize> size = BitmapHeaderSize(bytes, 14);
    if (!size || !AcceptablePictureSize(size->width(), size->height())) {
        return false;
    }
    const bool oldHeader = headerSize == 12;
    const uint32_t bitsPerPixel = Little16(bytes, oldHeader ? 24 : 28);
    const uint32_t compression = oldHeader ? 0 : Little32(bytes, 30);
    const uint64_t pixelsAt = Little32(bytes, 10);
    // The palette: as many entries as the header names, or as the bits allow; three bytes each
    // after the 12-byte header, four after the others. Colour masks after a 40-byte header.
    uint64_t tailEnd = 14 + uint64_t{headerSize};
    if (bitsPerPixel <= 8) {
        const uint32_t named = oldHeader ? 0 : Little32(bytes, 46);
        tailEnd += (named != 0 ? uint64_t{named} : uint64_t{1} << bitsPerPixel) * (oldHeader ? 3 : 4);
    } else if (compression == 3 && headerSize == 40) {
        tailEnd += 12;
    }
    if (tailEnd > pixelsAt) {
        return false;
    }
    if (compression == 3) {
        // In the 64-byte header of OS/2 the code means Huffman coding; in the others the masks
        // follow the first 40 bytes, the alpha mask only in the longer headers.
        if (headerSize == 64 || !ReadableMask(Little32(bytes, 54)) || !ReadableMask(Little32(bytes, 58)) ||
            !ReadableMask(Little32(bytes, 62)) || (headerSize >= 108 && !ReadableMask(Little32(bytes, 66)))) {
            return false;
        }
    }
    if (compression != 0 && compression != 3) { // run-length codes end where they say
        return true;
    }
    const uint64_t rowBytes = (uint64_t{static_cast<uint32_t>(size->width())} * bitsPerPixel + 31) / 32 * 4;
    return pixelsAt + rowBytes * static_cast<uint32_t>(size->height()) <= bytes.size();
}

struct IconEntry {
    int index = 0;
    QSize size; // as the image data declares it (the directory's bytes say at most 256)
    int32_t bits = 0;
};

// The icon directory: 0, 1, the image count, then 16 bytes per image: width, height (0 means
// 256), colour count, reserved, planes, bits per pixel, data size and data offset. Each image
// is a PNG file or a bitmap header whose height counts the colour and the mask rows. Nothing
// when the directory is damaged or any image declares a size beyond the cap; images the reader
// would draw wrong are left out.
std::optional<std::vector<IconEntry>> IconDirectory(std::span<const uint8_t> bytes) {
    if (Little16(bytes, 0) != 0 || Little16(bytes, 2) != 1) {
        return std::nullopt;
    }
    const uint32_t count = Little16(bytes, 4);
    if (count == 0 || 6 + size_t{count} * 16 > bytes.size()) {
        return std::nullopt;
    }
    std::vector<IconEntry> entries;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + size_t{i} * 16;
        const size_t offset = Little32(bytes, entry + 12);
        if (offset >= bytes.size()) {
            return std::nullopt;
        }
        QSize size;
        static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
        if (std::equal(std::begin(kPng), std::end(kPng), bytes.begin() + offset,
                       bytes.begin() + std::min(bytes.size(), offset + 4))) {
            const uint32_t width = Big32(bytes, offset + 16), height = Big32(bytes, offset + 20);
            if (width > kMaxPicturePixels || height > kMaxPicturePixels) {
                return std::nullopt;
            }
            size = QSize(static_cast<int>(width), static_cast<int>(height));
        } else {
            const std::optional<QSize> header = BitmapHeaderSize(bytes, offset);
            if (!header) {
                return std::nullopt;
            }
            // The reader takes every image for one with the 40-byte header: after a longer one
            // it would read the pixels from the wrong place. Such an image is not offered.
            if (Little32(bytes, offset) != 40) {
                continue;
            }
            size = QSize(header->width(), header->height() / 2);
        }
        if (!AcceptablePictureSize(size.width(), size.height())) {
            return std::nullopt;
        }
        entries.push_back({static_cast<int>(i), size, static_cast<int32_t>(Little16(bytes, entry + 6))});
    }
    if (entries.empty()) {
        return std::nullopt;
    }
    return entries;
}

// The image of the wished size, otherwise the largest, more colours first among equals.
int ChooseIcon(const std::vector<IconEntry>& entries, QSize wished) {
    const IconEntry* best = &entries.front();
    for (const IconEntry& entry : entries) {
        const bool fits = !wished.isEmpty() && (entry.size == wished || entry.size == wished.transposed());
        const bool bestFits =
            !wished.isEmpty() && (best->size == wished || best->size == wished.transposed());
        const int64_t area = int64_t{entry.size.width()} * entry.size.height();
        const int64_t bestArea = int64_t{best->size.width()} * best->size.height();
        if (fits != bestFits ? fits : area != bestArea ? area > bestArea : entry.bits > best->bits) {
            best = &entry;
        }
    }
    return best->index;
}

std::optional<QImage> ReadWithQt(std::span<const uint8_t> stream, const char* format, int imageIndex) {
    AllowPictureAllocations();
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(stream.data()),
                                               static_cast<qsizetype>(stream.size()));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    if (imageIndex > 0 && !reader.jumpToImage(imageIndex)) {
        return std::nullopt;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    return OpaqueOnWhite(image);
}

} // namespace

namespace {
std::atomic<int64_t> pixelLimit{kMaxPicturePixels};
}

bool AcceptablePictureSize(int64_t width, int64_t height) {
    const int64_t limit = PicturePixelLimit();
    return width >= 1 && height >= 1 && width <= limit && height <= limit && width * height <= limit;
}

int64_t PicturePixelLimit() {
    return pixelLimit.load(std::memory_order_relaxed);
}

void LimitPicturePixels(int64_t pixels) {
    pixelLimit.store(std::clamp<int64_t>(pixels, 1, kMaxPicturePixels), std::memory_order_relaxed);
}

void AllowPictureAllocations() {
    // Four bytes a pixel, in megabytes, rounded up.
    constexpr int kNeededMegabytes = static_cast<int>((kMaxPicturePixels * 4 + (1 << 20) - 1) >> 20);
    const int current = QImageReader::allocationLimit();
    if (current != 0 && current < kNeededMegabytes) {
        QImageReader::setAllocationLimit(kNeededMegabytes);
    }
}

QImage OpaqueOnWhite(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_RGB32);
    }
    QImage raster = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (raster.isNull()) {
        return raster;
    }
    // Premultiplied channels over white: c + (255 - alpha).
    for (int y = 0; y < raster.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(raster.scanLine(y));
        for (int x = 0; x < raster.width(); ++x) {
            const uint32_t pixel = row[x];
            const uint32_t white = 255 - (pixel >> 24);
            const uint32_t add = white << 16 | white << 8 | white;
            row[x] = 0xFF000000u | ((pixel & 0x00FFFFFFu) + add);
        }
    }
    raster.reinterpretAsFormat(QImage::Format_RGB32);
    return raster;
}

std::optional<QImage> DecodePictureStream(std::span<const uint8_t> stream, int32_t format,
                                          const DecodeOptions& options) {
    switch (format) {
    case PictureFormat::Gif:
        return DecodeGif(stream);
    case PictureFormat::Bitmap:
        if (!BitmapFileAcceptable(stream)) {
            return std::nullopt;
        }
        return ReadWithQt(stream, "bmp", 0);
    case PictureFormat::Icon: {
        const auto entries = IconDirectory(stream);
        if (!entries) {
            return std::nullopt;
        }
        return ReadWithQt(stream, "ico", ChooseIcon(*entries, options.iconSize));
    }
    case PictureFormat::Jpeg:
        return DecodeJpeg(stream, options.jpegReduction);
    case PictureFormat::Metafile:
        return DecodeMetafile(stream);
    default:
        return std::nullopt;
    }
}

} // namespace vlr
