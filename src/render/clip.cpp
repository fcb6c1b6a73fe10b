// Clip drawing, a scan line at a time, with the clip's derived bitmaps as its cache.
#include "render/clip.h"

#include "model/itemkind.h"
#include "render/itemmask.h"
#include "render/picture.h"
#include "render/picturedecode.h"
#include "render/resample.h"
#include "render/shading.h"
#include "render/shadow.h"
#include "render/stroke.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>
#include <span>
#include <type_traits>
#include <vector>

namespace vlr {

namespace {

constexpr int32_t kKeyVersion = 1;

// Everything a derived bitmap was made from, stored at the start of its stream; the pixels
// (RGB32 rows without padding) follow.
struct BitmapKey {
    int64_t streamSize = 0;
    uint64_t streamSample = 0;
    int32_t version = kKeyVersion;
    int32_t format = 0, pictureId = 0, iconWidth = 0, iconHeight = 0;
    int32_t clipShape = 0, srcLeft = 0, srcTop = 0, srcRight = 0, srcBottom = 0;
    int32_t mirrorX = 0, mirrorY = 0, turnAngle = 0;
    int32_t width = 0, height = 0;
    // Adjusted copies only.
    int32_t saturation = 0, contrast = 0, lightness = 0, flips = 0;
    int32_t unused = 0;
};
static_assert(std::has_unique_object_representations_v<BitmapKey>, "keys are compared byte by byte");
constexpr size_t kKeyBytes = sizeof(BitmapKey);
static_assert(kKeyBytes % 16 == 0, "the pixels after the key stay aligned");

// A cheap fingerprint of a picture stream: its size and its first and last 4 KiB. A picture
// replaced under the same id changes it in practice, and it costs nothing per draw.
uint64_t StreamSample(std::span<const uint8_t> stream) {
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](std::span<const uint8_t> bytes) {
        for (const uint8_t byte : bytes) {
            hash = (hash ^ byte) * 1099511628211ull;
        }
    };
    constexpr size_t kSample = 4096;
    mix(stream.first(std::min(stream.size(), kSample)));
    if (stream.size() > kSample) {
        mix(stream.last(std::min(stream.size() - kSample, kSample)));
    }
    return hash;
}

ItemRecord* FindChild(ItemRecord& clip, int32_t kind) {
    for (ItemRecord* child : clip.childList) {
        if (child->kind == kind) {
            return child;
        }
    }
    return nullptr;
}

void DropChild(ItemRecord& clip, int32_t kind) {
    while (ItemRecord* child = FindChild(clip, kind)) {
        RemoveRecord(clip.childList, child);
    }
}

int64_t PixelBytes(const BitmapKey& key) {
    return int64_t{key.width} * key.height * 4;
}

// The derived bitmap of the kind when its key matches, seen in place (read only).
QImage CachedBitmap(ItemRecord& clip, int32_t kind, const BitmapKey& key) {
    const ItemRecord* child = FindChild(clip, kind);
    if (child == nullptr) {
        return {};
    }
    const std::vector<uint8_t>& stream = child->pictureStream;
    if (stream.size() != kKeyBytes + static_cast<size_t>(PixelBytes(key)) ||
        std::memcmp(stream.data(), &key, kKeyBytes) != 0) {
        return {};
    }
    return QImage(stream.data() + kKeyBytes, key.width, key.height, key.width * 4, QImage::Format_RGB32);
}

// A new derived bitmap of the kind in place of the old one, its pixels to be written through
// the image returned. Null when the memory cannot be had.
QImage NewBitmap(ItemRecord& clip, int32_t kind, const BitmapKey& key) {
    DropChild(clip, kind); // never two large bitmaps of one kind at once
    try {
        auto child = std::make_unique<ItemRecord>();
        child->kind = kind;
        child->x2 = key.width;
        child->y2 = key.height;
        child->pictureStream.resize(kKeyBytes + static_cast<size_t>(PixelBytes(key)));
        std::memcpy(child->pictureStream.data(), &key, kKeyBytes);
        uchar* pixels = child->pictureStream.data() + kKeyBytes;
        LinkAtTail(clip.childList, child.release());
        return QImage(pixels, key.width, key.height, key.width * 4, QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// The part of the oriented picture the clip shows: a rectangle cut to the picture, or the square
// about a round clip's centre, white where it leaves the picture.
QImage CutPicture(const QImage& picture, const ItemRecord& clip) {
    if (clip.clipShape == ClipShape::Round) {
        const Point centre{clip.srcLeft, clip.srcTop};
        const int32_t radius = nearest(PointDistance(centre, {clip.srcRight, clip.srcBottom}));
        if (radius <= 0) {
            return {};
        }
        const Rect square{SaturatingAdd(centre.x, -int64_t{radius}), SaturatingAdd(centre.y, -int64_t{radius}),
                          SaturatingAdd(centre.x, radius), SaturatingAdd(centre.y, radius)};
        // A square wholly beside the picture would show nothing of it: the clip draws nothing
        // rather than a white disc.
        if (square.right <= 0 || square.bottom <= 0 || square.left >= picture.width() ||
            square.top >= picture.height()) {
            return {};
        }
        return CropOnWhite(picture, square);
    }
    const Rect cut{clip.srcLeft, clip.srcTop, clip.srcRight, clip.srcBottom};
    const bool whole = std::min(cut.left, cut.right) <= 0 && std::min(cut.top, cut.bottom) <= 0 &&
                       std::max(cut.left, cut.right) >= picture.width() &&
                       std::max(cut.top, cut.bottom) >= picture.height();
    return whole ? picture : CropRaster(picture, cut);
}

// The picture cut and scaled, before adjustments.
QImage UnadjustedBitmap(ItemRecord& clip, const ItemList& design, const BitmapKey& key) {
    if (QImage cached = CachedBitmap(clip, ItemKind::UnadjustedBitmap, key); !cached.isNull()) {
        return cached;
    }
    // Whatever was made from another cut or size goes before the new one is made.
    ClearChildList(&clip);
    const std::optional<QImage> picture = DecodePictureData(&clip, design);
    if (!picture) {
        return {};
    }
    const QImage cut = CutPicture(*picture, clip);
    if (cut.isNull()) {
        return {};
    }
    QImage bitmap = NewBitmap(clip, ItemKind::UnadjustedBitmap, key);
    if (bitmap.isNull() || !ImageResample(cut, bitmap, ResampleFilter::Mitchell)) {
        DropChild(clip, ItemKind::UnadjustedBitmap);
        return {};
    }
    return bitmap;
}

// The scaled bitmap adjusted and mirrored; the bitmap itself when there is nothing to change.
QImage AdjustedBitmap(ItemRecord& clip, const QImage& unadjusted, BitmapKey key) {
    key.saturation = clip.saturation;
    key.contrast = clip.contrast;
    key.lightness = clip.lightness;
    const bool mirror = clip.scaleX < 0.0, flip = clip.scaleY < 0.0;
    key.flips = (mirror ? 1 : 0) | (flip ? 2 : 0);
    if (key.saturation == 0 && key.contrast == 0 && key.lightness == 0 && key.flips == 0) {
        DropChild(clip, ItemKind::AdjustedBitmap);
        return unadjusted;
    }
    if (QImage cached = CachedBitmap(clip, ItemKind::AdjustedBitmap, key); !cached.isNull()) {
        return cached;
    }
    QImage adjusted = NewBitmap(clip, ItemKind::AdjustedBitmap, key);
    if (adjusted.isNull()) {
        return {};
    }
    const int32_t width = key.width, height = key.height;
    for (int32_t y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(unadjusted.constScanLine(flip ? height - 1 - y : y));
        auto* to = reinterpret_cast<uint32_t*>(adjusted.scanLine(y));
        if (mirror) {
            std::reverse_copy(from, from + width, to);
        } else {
            std::copy(from, from + width, to);
        }
    }
    AdjustColours(adjusted, key.saturation, key.contrast, key.lightness);
    return adjusted;
}

// The turn of a clip in radians; a value that is not a number does not turn.
double ClipRotation(const ItemRecord& clip) {
    return std::isfinite(clip.rotation) ? clip.rotation : 0.0;
}

// How the frame looks: flat in one colour, or with each bar shaded across its width.
struct FrameLook {
    int32_t width = 0;
    QRgb flat = 0;
    std::vector<QRgb> profile; // empty: flat
    int32_t sideShift = 0;     // of the left and right bars' profile rows
    int32_t topShift = 0;      // of the top and bottom bars'
};

FrameLook FrameLookOf(const ItemRecord& clip, int32_t width, int32_t lightDirection, bool shaded) {
    FrameLook look;
    look.width = width;
    look.flat = QRgbFromColour(clip.color);
    if (!shaded || clip.surface == 0 || width <= 3) {
        return look;
    }
    for (const int32_t colour : ShadingProfile(width, clip.surface, clip.color)) {
        look.profile.push_back(QRgbFromColour(colour));
    }
    // The highlight moves a quarter of the bar towards the light, as the clip is turned.
    constexpr double pi = std::numbers::pi;
    constexpr std::array<double, 4> kLight{pi / 4, 7 * pi / 4, 3 * pi / 4, 5 * pi / 4};
    const double lambda = kLight[static_cast<size_t>(std::clamp(lightDirection, 0, 3))] - ClipRotation(clip);
    const double quarter = width / 4;
    look.sideShift = nearest(std::sin(pi - lambda) * quarter);
    look.topShift = nearest(std::sin(pi / 2 - lambda) * quarter);
    return look;
}

// The frame pixel (i, j) of a framed rectangle of width x height; nothing where a shaded bar's
// profile row falls outside the profile even after wrapping once.
std::optional<QRgb> FramePixel(const FrameLook& look, int64_t i, int64_t j, int64_t width, int64_t height) {
    if (look.profile.empty()) {
        return look.flat;
    }
    const int64_t a = look.width;
    const int64_t sideDistance = std::min(i, width - 1 - i), topDistance = std::min(j, height - 1 - j);
    // Corners are mitred: a pixel belongs to the bar whose outer edge is nearer.
    int64_t row = 0;
    if (topDistance < sideDistance) {
        row = (j < a ? j : j - (height - a)) + look.topShift;
    } else {
        row = (i < a ? i : i - (width - a)) + look.sideShift;
    }
    if (row >= a) {
        row -= a;
    } else if (row < 0) {
        row += a;
    }
    if (row < 0 || row >= a) {
        return std::nullopt;
    }
    return look.profile[static_cast<size_t>(row)];
}

// Paints the frame of a framed rectangle of width x height whose top-left pixel is at `at` onto
// an RGB32 target of targetWidth x targetHeight whose rows the function gives.
template <typename Rows>
void PaintFrame(Rows rows, int32_t targetWidth, int32_t targetHeight, Point at, int64_t width, int64_t height,
                const FrameLook& look) {
    const int64_t a = look.width;
    if (a <= 0) {
        return;
    }
    const int64_t firstY = std::max<int64_t>(at.y, 0), endY = std::min<int64_t>(int64_t{at.y} + height, targetHeight);
    auto paintSpan = [&](uint32_t* row, int64_t j, int64_t fromI, int64_t toI) {
        const int64_t fromX = std::max<int64_t>(int64_t{at.x} + fromI, 0);
        const int64_t toX = std::min<int64_t>(int64_t{at.x} + toI, targetWidth);
        for (int64_t x = fromX; x < toX; ++x) {
            if (const std::optional<QRgb> colour = FramePixel(look, x - at.x, j, width, height)) {
                row[x] = *colour;
            }
        }
    };
    for (int64_t y = firstY; y < endY; ++y) {
        uint32_t* row = rows(static_cast<int32_t>(y));
        const int64_t j = y - at.y;
        if (j < a || j >= height - a) {
            paintSpan(row, j, 0, width);
        } else {
            paintSpan(row, j, 0, a);
            paintSpan(row, j, width - a, width);
        }
    }
}

// Copies the picture's pixels onto the raster with its top-left pixel at `at`.
void CompositeRows(RasterCanvas& raster, const QImage& picture, Point at) {
    const int64_t firstY = std::max<int64_t>(at.y, 0);
    const int64_t endY = std::min<int64_t>(int64_t{at.y} + picture.height(), raster.height());
    const int64_t fromX = std::max<int64_t>(at.x, 0);
    const int64_t toX = std::min<int64_t>(int64_t{at.x} + picture.width(), raster.width());
    for (int64_t y = firstY; y < endY && fromX < toX; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(picture.constScanLine(static_cast<int>(y - at.y)));
        std::copy(from + (fromX - at.x), from + (toX - at.x), raster.scanLine(static_cast<int32_t>(y)) + fromX);
    }
}

// The pixels of the ellipse inscribed in the picture's box are copied onto the raster.
void CompositeInscribed(RasterCanvas& raster, const QImage& picture, Point at) {
    const double centreX = (picture.width() - 1) / 2.0, centreY = (picture.height() - 1) / 2.0;
    const double radiusX = picture.width() / 2.0, radiusY = picture.height() / 2.0;
    const int64_t firstY = std::max<int64_t>(at.y, 0);
    const int64_t endY = std::min<int64_t>(int64_t{at.y} + picture.height(), raster.height());
    for (int64_t y = firstY; y < endY; ++y) {
        const int64_t j = y - at.y;
        const double dy = (static_cast<double>(j) - centreY) / radiusY;
        if (dy * dy > 1.0) {
            continue;
        }
        const double half = radiusX * std::sqrt(1.0 - dy * dy);
        const int64_t fromI = static_cast<int64_t>(std::ceil(centreX - half));
        const int64_t toI = static_cast<int64_t>(std::floor(centreX + half)) + 1;
        const int64_t fromX = std::max<int64_t>(int64_t{at.x} + fromI, 0);
        const int64_t toX = std::min<int64_t>(int64_t{at.x} + toI, raster.width());
        if (fromX >= toX) {
            continue;
        }
        const auto* from = reinterpret_cast<const uint32_t*>(picture.constScanLine(static_cast<int>(j)));
        std::copy(from + (fromX - at.x), from + (toX - at.x), raster.scanLine(static_cast<int32_t>(y)) + fromX);
    }
}

// The size of the raster a framed picture of width x height turns into by the angle, both even.
std::pair<int64_t, int64_t> TurnedSize(int64_t width, int64_t height, double angle) {
    const double sine = std::sin(angle), cosine = std::cos(angle);
    auto side = [](double a, double b) {
        const int64_t value = std::llabs(std::llround(a)) + std::llabs(std::llround(b));
        return value % 2 == 0 ? value : value + 1;
    };
    return {side(height * sine, width * cosine), side(width * sine, height * cosine)};
}

// The corners of the box (inclusive corners) turned about its centre as the picture turns.
std::array<Point, 4> TurnedCorners(const Rect& box, double angle) {
    const double centreX = (double(box.left) + box.right) / 2.0, centreY = (double(box.top) + box.bottom) / 2.0;
    const double sine = std::sin(angle), cosine = std::cos(angle);
    const std::array<std::pair<double, double>, 4> corners{{{box.left, box.top},
                                                            {box.right, box.top},
                                                            {box.right, box.bottom},
                                                            {box.left, box.bottom}}};
    std::array<Point, 4> turned{};
    for (size_t k = 0; k < corners.size(); ++k) {
        const double x = corners[k].first - centreX, y = corners[k].second - centreY;
        turned[k] = {nearest(centreX + cosine * x + sine * y), nearest(centreY - sine * x + cosine * y)};
    }
    return turned;
}

Rect BoxOfPoints(std::span<const Point> points) {
    Rect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point point : points) {
        box = {std::min(box.left, point.x), std::min(box.top, point.y), std::max(box.right, point.x),
               std::max(box.bottom, point.y)};
    }
    return box;
}

// The framed clip's box, inclusive corners.
Rect FramedBox(const ClipPlace& place) {
    const int64_t a = place.frame;
    return {SaturatingAdd(place.picture.left, -a), SaturatingAdd(place.picture.top, -a),
            SaturatingAdd(place.picture.right, a - 1), SaturatingAdd(place.picture.bottom, a - 1)};
}

// The shadow of the framed clip: its box, turned with the clip, or its circle in the tone. A
// picture spreads its shadow by fade / 85 + 1 (at most 2) in a mask that starts at the corner of
// the framed box facing the light and reaches away from it: (d - a + spread x the box's side)
// pixels with d the shadow's offset and a the frame. A turned clip turns its shape about its own
// centre inside that mask, so that its shadow stays beside it.
void ClipShadow(RasterCanvas& raster, const ItemRecord& clip, const ClipPlace& place, double zoom,
                int32_t lightDirection) {
    const Rect framed = FramedBox(place);
    const std::array<Point, 4> corners = TurnedCorners(framed, ClipRotation(clip));
    const bool round = clip.clipShape == ClipShape::Round;
    const Rect box = round ? framed : BoxOfPoints(corners);
    const int64_t offset = ShadowOffset(clip.shadowElevation, zoom, raster.screen());
    const double spread = PictureShadowSpread(clip.shadowFade);
    const int64_t width = offset - place.frame + std::llround((int64_t{box.right} - box.left + 1) * spread);
    const int64_t height = offset - place.frame + std::llround((int64_t{box.bottom} - box.top + 1) * spread);
    if (width < 1 || height < 1) {
        return;
    }
    const bool fromRight = lightDirection == 1 || lightDirection == 3;
    const bool fromBottom = lightDirection == 2 || lightDirection == 3;
    const Rect mask{fromRight ? SaturatingAdd(box.right, 1 - width) : box.left,
                    fromBottom ? SaturatingAdd(box.bottom, 1 - height) : box.top,
                    fromRight ? box.right : SaturatingAdd(box.left, width - 1),
                    fromBottom ? box.bottom : SaturatingAdd(box.top, height - 1)};
    if (round) {
        CastShadowInMask(raster, clip, mask, zoom, lightDirection,
                         [&](RasterCanvas& painted, int32_t tone, Point move) {
                             const Point from = MovedPoint({framed.left, framed.top}, move.x, move.y);
                             const Point to = MovedPoint({framed.right, framed.bottom}, move.x, move.y);
                             painted.setPen({tone, 1});
                             painted.setBrush({tone, BrushStyle::Solid});
                             painted.Ellipse({from.x, from.y, to.x, to.y});
                         });
        return;
    }
    CastShadowInMask(raster, clip, mask, zoom, lightDirection,
                     [&](RasterCanvas& painted, int32_t tone, Point move) {
                         std::array<Point, 4> moved{};
                         for (size_t k = 0; k < corners.size(); ++k) {
                             moved[k] = MovedPoint(corners[k], move.x, move.y);
                         }
                         painted.setPen({tone, 1});
                         painted.setBrush({tone, BrushStyle::Solid});
                         painted.Polygon(moved);
                     });
}

// A rectangle clip turned by the angle: the picture made even-sized, framed, turned into the
// pixels already under its place and put back, only where that place is on the raster.
void DrawTurnedClip(RasterCanvas& raster, const QImage& bitmap, const ClipPlace& place, const FrameLook& look,
                    double angle) {
    const QImage even = EvenSized(bitmap);
    const int64_t a = place.frame;
    if (even.isNull() || even.width() == 0 || even.height() == 0) {
        return;
    }
    const int64_t framedWidth = even.width() + 2 * a, framedHeight = even.height() + 2 * a;
    if (!AcceptablePictureSize(framedWidth, framedHeight)) {
        return;
    }
    QImage framed(static_cast<int>(framedWidth), static_cast<int>(framedHeight), QImage::Format_RGB32);
    if (framed.isNull()) {
        return;
    }
    for (int y = 0; y < even.height(); ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(even.constScanLine(y));
        std::copy(from, from + even.width(), reinterpret_cast<uint32_t*>(framed.scanLine(static_cast<int>(y + a))) + a);
    }
    PaintFrame([&framed](int32_t y) { return reinterpret_cast<uint32_t*>(framed.scanLine(y)); }, framed.width(),
               framed.height(), {0, 0}, framedWidth, framedHeight, look);

    const auto [turnedWidth, turnedHeight] = TurnedSize(framedWidth, framedHeight, angle);
    const int64_t left = int64_t{place.picture.left} - ((turnedWidth - framedWidth) / 2 + a);
    const int64_t top = int64_t{place.picture.top} - ((turnedHeight - framedHeight) / 2 + a);
    // Only the window of the turned raster that lies on the raster is made.
    const int64_t fromX = std::max<int64_t>(left, 0), toX = std::min<int64_t>(left + turnedWidth, raster.width());
    const int64_t fromY = std::max<int64_t>(top, 0), toY = std::min<int64_t>(top + turnedHeight, raster.height());
    if (fromX >= toX || fromY >= toY) {
        return;
    }
    QImage window = raster.image().copy(static_cast<int>(fromX), static_cast<int>(fromY),
                                        static_cast<int>(toX - fromX), static_cast<int>(toY - fromY));
    if (window.isNull() || !RotateRasterPart(framed, window, turnedWidth, turnedHeight,
                                             {static_cast<int32_t>(fromX - left), static_cast<int32_t>(fromY - top)},
                                             angle)) {
        return;
    }
    CompositeRows(raster, window, {static_cast<int32_t>(fromX), static_cast<int32_t>(fromY)});
}

// A round clip: the square picture (turned about its centre when the clip turns) shows through
// the circle inscribed in it, then the ring of the frame.
void DrawRoundClip(RasterCanvas& raster, const ItemRecord& clip, QImage bitmap, const ClipPlace& place,
                   int32_t lightDirection, bool shaded) {
    const double angle = ClipRotation(clip);
    if (angle != 0.0) {
        QImage turned(bitmap.size(), QImage::Format_RGB32);
        if (turned.isNull()) {
            return;
        }
        turned.fill(Qt::white);
        RotateRaster(bitmap, turned, angle);
        bitmap = turned;
    }
    CompositeInscribed(raster, bitmap, {place.picture.left, place.picture.top});
    const int32_t a = place.frame;
    if (a <= 0) {
        return;
    }
    const int64_t grow = nearest((a - 1) / 2.0);
    const Rect ring{SaturatingAdd(place.picture.left, -grow), SaturatingAdd(place.picture.top, -grow),
                    SaturatingAdd(place.picture.right, grow), SaturatingAdd(place.picture.bottom, grow)};
    const int64_t across = int64_t{place.picture.right} - place.picture.left;
    if (shaded && clip.surface != 0 && a > 3 && across > 4) {
        ShadedDisc(raster, ring, {clip.surface, clip.color, FILL_NONE, a, lightDirection});
        return;
    }
    raster.setPen({clip.color, a});
    raster.setBrush({0, BrushStyle::Clear});
    raster.Ellipse(ring);
}

} // namespace

std::optional<ClipPlace> ClipPlacement(const ItemRecord& clip, const ViewTransform& view,
                                       const ScreenResolution& screen) {
    ClipPlace place;
    const Point p1 = ToDevice({clip.x1, clip.y1}, view), p2 = ToDevice({clip.x2, clip.y2}, view);
    if (clip.clipShape == ClipShape::Round) {
        const int64_t radius = nearest(PointDistance(p1, p2));
        place.picture = {SaturatingAdd(p1.x, -radius), SaturatingAdd(p1.y, -radius), SaturatingAdd(p1.x, radius),
                         SaturatingAdd(p1.y, radius)};
    } else {
        // Placed from the smaller corner whichever point comes first.
        place.picture = {std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::max(p1.x, p2.x), std::max(p1.y, p2.y)};
    }
    if (place.picture.right <= place.picture.left || place.picture.bottom <= place.picture.top) {
        return std::nullopt;
    }
    if (clip.hasFrame != 0) {
        place.frame = std::clamp(PenWidthPixels(view.scaleY, clip.lineWeight, screen), 0, kMaxPenWidth);
    }
    return place;
}

QImage ClipBitmap(ItemRecord& clip, const ItemList& design, int32_t width, int32_t height) {
    const ItemRecord* data = FindPictureData(&clip, design);
    if (data == nullptr || data->pictureStream.empty() || width <= 0 || height <= 0 ||
        !AcceptablePictureSize(width, height)) {
        return {};
    }
    BitmapKey key;
    key.streamSize = static_cast<int64_t>(data->pictureStream.size());
    key.streamSample = StreamSample(data->pictureStream);
    key.format = data->clipShape;
    key.pictureId = data->pictureId;
    key.iconWidth = data->x2;
    key.iconHeight = data->y2;
    key.clipShape = clip.clipShape == ClipShape::Round ? ClipShape::Round : ClipShape::Rectangle;
    key.srcLeft = clip.srcLeft;
    key.srcTop = clip.srcTop;
    key.srcRight = clip.srcRight;
    key.srcBottom = clip.srcBottom;
    key.mirrorX = clip.mirrorX;
    key.mirrorY = clip.mirrorY;
    key.turnAngle = clip.turnAngle;
    key.width = width;
    key.height = height;
    const QImage unadjusted = UnadjustedBitmap(clip, design, key);
    if (unadjusted.isNull()) {
        return {};
    }
    return AdjustedBitmap(clip, unadjusted, key);
}

void DrawClip(RasterCanvas& raster, ItemRecord& clip, const ItemList& design, const ViewTransform& view,
              int32_t lightDirection, bool shadow, bool shaded) {
    if (raster.isNull() || clip.kind != ItemKind::Clip) {
        return;
    }
    const std::optional<ClipPlace> place = ClipPlacement(clip, view, raster.screen());
    if (!place) {
        return;
    }
    const int64_t width = int64_t{place->picture.right} - place->picture.left;
    const int64_t height = int64_t{place->picture.bottom} - place->picture.top;
    if (!AcceptablePictureSize(width, height)) {
        return;
    }
    const QImage bitmap = ClipBitmap(clip, design, static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (bitmap.isNull()) {
        return;
    }
    if (shadow && clip.shadowElevation != 0 && clip.shadowLightness != 0) {
        ClipShadow(raster, clip, *place, view.scaleY, lightDirection);
    }
    if (clip.clipShape == ClipShape::Round) {
        DrawRoundClip(raster, clip, bitmap, *place, lightDirection, shaded);
        return;
    }
    const FrameLook look = FrameLookOf(clip, place->frame, lightDirection, shaded);
    const double angle = ClipRotation(clip);
    if (angle != 0.0) {
        DrawTurnedClip(raster, bitmap, *place, look, angle);
        return;
    }
    CompositeRows(raster, bitmap, {place->picture.left, place->picture.top});
    const Rect framed = FramedBox(*place);
    PaintFrame([&raster](int32_t y) { return raster.scanLine(y); }, raster.width(), raster.height(),
               {framed.left, framed.top}, int64_t{framed.right} - framed.left + 1,
               int64_t{framed.bottom} - framed.top + 1, look);
}

void DrawClipOutline(RasterCanvas& raster, const ItemRecord& clip, const ViewTransform& view) {
    if (raster.isNull() || clip.kind != ItemKind::Clip) {
        return;
    }
    const std::optional<ClipPlace> place = ClipPlacement(clip, view, raster.screen());
    if (!place) {
        return;
    }
    raster.setPen({clip.color, 1});
    raster.setBrush({0, BrushStyle::Clear});
    const Rect box{place->picture.left, place->picture.top, place->picture.right - 1, place->picture.bottom - 1};
    if (clip.clipShape == ClipShape::Round) {
        raster.Ellipse(box);
        return;
    }
    const std::array<Point, 4> corners = TurnedCorners(box, ClipRotation(clip));
    raster.Polygon(corners);
}

} // namespace vlr
