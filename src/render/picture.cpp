// Stored pictures of clips and the raster operations on them, a scan line at a time.
#include "render/picture.h"

#include "model/itemkind.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace vlr {

namespace {

inline uint32_t Clamp255(int64_t value) {
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, 255));
}

// Target (i, j) -> source column and row, with X and Y the doubled offsets of the pixel centre
// from the turned raster's centre, so that even sizes turn onto whole pixels. The target is the
// part of the W x H turned raster that starts at the origin.
template <typename Pixel>
void Turn(const QImage& source, QImage& target, int64_t W, int64_t H, int64_t originX, int64_t originY,
          double angle) {
    const int64_t w = source.width(), h = source.height();
    const double cosine = std::cos(angle), sine = std::sin(angle);
    // Integer halving truncates toward zero, also for a target smaller than the source.
    const int64_t offsetX = (W - w) / 2 + w / 2 - originX, offsetY = (H - h) / 2 + h / 2 - originY;
    for (int64_t j = 0; j < target.height(); ++j) {
        auto* row = reinterpret_cast<Pixel*>(target.scanLine(static_cast<int>(j)));
        const double Y = static_cast<double>(2 * (j - offsetY) + 1);
        for (int64_t i = 0; i < target.width(); ++i) {
            const double X = static_cast<double>(2 * (i - offsetX) + 1);
            const int64_t sourceX =
                w / 2 + (static_cast<int64_t>(std::nearbyint(cosine * X - sine * Y)) - 1) / 2;
            const int64_t sourceY =
                h / 2 + (static_cast<int64_t>(std::nearbyint(sine * X + cosine * Y)) - 1) / 2;
            if (sourceX >= 0 && sourceX < w && sourceY >= 0 && sourceY < h) {
                row[i] =
                    reinterpret_cast<const Pixel*>(source.constScanLine(static_cast<int>(sourceY)))[sourceX];
            }
        }
    }
}

bool Is32Bit(const QImage& image) {
    return image.depth() == 32;
}

} // namespace

const ItemRecord* FindPictureData(const ItemRecord* item, const ItemList& design) {
    if (item == nullptr) {
        return nullptr;
    }
    const int32_t id = item->pictureId;
    for (const ItemRecord* record : design) {
        if (record->kind == ItemKind::PictureData && record->pictureId == id) {
            return record;
        }
    }
    return nullptr;
}

std::optional<QImage> DecodePictureData(const ItemRecord* item, const ItemList& design) {
    const ItemRecord* data = FindPictureData(item, design);
    if (data == nullptr || data->pictureStream.empty()) {
        return std::nullopt;
    }
    DecodeOptions options;
    // The picture's size as it was stored, to pick the same image of an icon file.
    options.iconSize = QSize(data->x2, data->y2);
    std::optional<QImage> picture = DecodePictureStream(data->pictureStream, data->clipShape, options);
    if (!picture || picture->width() <= 1 || picture->height() <= 1) {
        return std::nullopt;
    }
    return OrientPicture(*picture, item->mirrorX, item->mirrorY, item->turnAngle);
}

QImage EvenSized(const QImage& picture) {
    const int width = picture.width() & ~1, height = picture.height() & ~1;
    if (width == picture.width() && height == picture.height()) {
        return picture;
    }
    return picture.copy(0, 0, width, height);
}

QImage OrientPicture(const QImage& picture, int32_t mirrorX, int32_t mirrorY, int32_t turnAngle) {
    int32_t signX = mirrorX < 0 ? -1 : 1, signY = mirrorY < 0 ? -1 : 1;
    const int32_t turn = ((turnAngle % 360) + 360) % 360;
    QImage oriented = picture;
    if (turn == 90 || turn == 270) {
        const QImage even = EvenSized(picture);
        QImage turned(even.height(), even.width(), QImage::Format_RGB32);
        if (even.isNull() || turned.isNull()) {
            return picture;
        }
        turned.fill(Qt::white);
        const double angle = signX * signY * turn * std::numbers::pi / 180.0;
        if (!RotateRaster(even, turned, angle)) {
            return picture;
        }
        oriented = turned;
    } else if (turn == 180) {
        signX = -signX, signY = -signY;
    }
    MirrorRaster(oriented, signX < 0, signY < 0);
    return oriented;
}

void AdjustColours(QImage& raster, int32_t saturation, int32_t contrast, int32_t lightness) {
    if (raster.isNull() || !Is32Bit(raster) || (saturation == 0 && contrast == 0 && lightness == 0)) {
        return;
    }
    // Saturation moves a channel by trunc(s (X - L) / 128), a function of X - L in -255 ... 255;
    // contrast and lightness are functions of the channel alone.
    std::array<int64_t, 511> saturationShift{};
    for (int64_t d = -255; d <= 255; ++d) {
        saturationShift[static_cast<size_t>(d + 255)] = int64_t{saturation} * d / 128;
    }
    std::array<uint8_t, 256> tone{};
    for (int64_t x = 0; x < 256; ++x) {
        int64_t value = x;
        if (contrast != 0) {
            value = Clamp255(value + int64_t{contrast} * (value - 128) / 256);
        }
        if (lightness != 0) {
            value = Clamp255(value + lightness);
        }
        tone[static_cast<size_t>(x)] = static_cast<uint8_t>(value);
    }
    for (int y = 0; y < raster.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(raster.scanLine(y));
        for (int x = 0; x < raster.width(); ++x) {
            const uint32_t pixel = row[x];
            int64_t red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
            if (saturation != 0) {
                const int64_t lightnessOf = (std::max({red, green, blue}) + std::min({red, green, blue})) / 2;
                red = Clamp255(red + saturationShift[static_cast<size_t>(red - lightnessOf + 255)]);
                green = Clamp255(green + saturationShift[static_cast<size_t>(green - lightnessOf + 255)]);
                blue = Clamp255(blue + saturationShift[static_cast<size_t>(blue - lightnessOf + 255)]);
            }
            row[x] = (pixel & 0xFF000000u) | uint32_t{tone[static_cast<size_t>(red)]} << 16 |
                     uint32_t{tone[static_cast<size_t>(green)]} << 8 | tone[static_cast<size_t>(blue)];
        }
    }
}

bool RotateRaster(const QImage& source, QImage& target, double angle) {
    return RotateRasterPart(source, target, target.width(), target.height(), {0, 0}, angle);
}

bool RotateRasterPart(const QImage& source, QImage& part, int64_t width, int64_t height, Point origin,
                      double angle) {
    if (source.isNull() || part.isNull() || source.depth() != part.depth() || !std::isfinite(angle)) {
        return false;
    }
    if (Is32Bit(source)) {
        Turn<uint32_t>(source, part, width, height, origin.x, origin.y, angle);
        return true;
    }
    if (source.depth() == 8) {
        Turn<uint8_t>(source, part, width, height, origin.x, origin.y, angle);
        return true;
    }
    return false;
}

QImage CropRaster(const QImage& raster, const Rect& rect) {
    const int64_t left = std::max<int64_t>(std::min(rect.left, rect.right), 0);
    const int64_t top = std::max<int64_t>(std::min(rect.top, rect.bottom), 0);
    const int64_t right = std::min<int64_t>(std::max(rect.left, rect.right), raster.width());
    const int64_t bottom = std::min<int64_t>(std::max(rect.top, rect.bottom), raster.height());
    if (raster.isNull() || right <= left || bottom <= top) {
        return {};
    }
    return raster.copy(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                       static_cast<int>(bottom - top));
}

QImage CropOnWhite(const QImage& raster, const Rect& rect) {
    const int64_t left = std::min(rect.left, rect.right), top = std::min(rect.top, rect.bottom);
    const int64_t width = int64_t{std::max(rect.left, rect.right)} - left;
    const int64_t height = int64_t{std::max(rect.top, rect.bottom)} - top;
    if (raster.isNull() || !AcceptablePictureSize(width, height)) {
        return {};
    }
    QImage square(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (square.isNull()) {
        return {};
    }
    square.fill(Qt::white);
    const QImage source = raster.convertToFormat(QImage::Format_RGB32);
    // The part on the raster, in the raster's coordinates.
    const int64_t fromX = std::max<int64_t>(left, 0), toX = std::min<int64_t>(left + width, source.width());
    const int64_t fromY = std::max<int64_t>(top, 0), toY = std::min<int64_t>(top + height, source.height());
    for (int64_t y = fromY; y < toY && fromX < toX; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(source.constScanLine(static_cast<int>(y)));
        auto* out = reinterpret_cast<uint32_t*>(square.scanLine(static_cast<int>(y - top)));
        std::copy(in + fromX, in + toX, out + (fromX - left));
    }
    return square;
}

void MirrorRaster(QImage& raster, bool leftToRight, bool topToBottom) {
    if (!raster.isNull() && (leftToRight || topToBottom)) {
        raster.mirror(leftToRight, topToBottom);
    }
}

} // namespace vlr
