// Clip drawing, a scan line at a time, with the clip's derived bitmaps as its cache.
#include "render/clip.h"

#include "model/itemkind.h"
#include "render/itemmask.h"
#include "render/parallel.h"
#include "render/picture.h"
#include "render/picturedecode.h"
#include "render/resample.h"
#include "render/shading.h"
#include "render/shadow.h"
#include "render/stroke.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace vlr {

namespace {

constexpr int32_t kKeyVersion = 2;

// Everything a derived bitmap was made from, stored at the start of its stream; the pixels
// (RGB32 rows without padding) follow its window.
struct BitmapKey {
    int64_t streamSize = 0;
    uint64_t streamSample = 0;
    int32_t version = kKeyVersion;
    int32_t format = 0, pictureId = 0, iconWidth = 0, iconHeight = 0;
    int32_t clipShape = 0, srcLeft = 0, srcTop = 0, srcRight = 0, srcBottom = 0;
    int32_t mirrorX = 0, mirrorY = 0, turnAngle = 0;
    int32_t width = 0, height = 0; // the whole scaled picture
    // Adjusted copies only.
    int32_t saturation = 0, contrast = 0, lightness = 0, flips = 0;
    int32_t unused = 0;
};
static_assert(std::has_unique_object_representations_v<BitmapKey>, "keys are compared byte by byte");
// The part of the whole scaled picture a bitmap holds, and when it was last drawn.
struct BitmapWindow {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    uint64_t lastUse = 0;
    uint64_t unused = 0;
};
constexpr size_t kHeaderBytes = sizeof(BitmapKey) + sizeof(BitmapWindow);
static_assert(kHeaderBytes % 16 == 0, "the pixels after the header stay aligned");

// No side of a clip's whole scaled picture beyond this (a thousand metres at 100 %): the
// scaling plans every row and column of it.
constexpr int64_t kMaxClipSide = int64_t{1} << 22;
// The rows of a window too large to keep are made and drawn in bands of at most this many bytes
// all together.
constexpr int64_t kBandBytes = int64_t{32} << 20;
constexpr int64_t kInPlaceBandBytes = int64_t{4} << 20;

// The order of drawing, for keeping the bitmaps drawn last.
uint64_t NextUse() {
    static std::atomic<uint64_t> clock{0};
    return ++clock;
}

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

bool IsDerivedBitmap(const ItemRecord* child) {
    return (child->kind == ItemKind::UnadjustedBitmap || child->kind == ItemKind::AdjustedBitmap) &&
           child->pictureStream.size() >= kHeaderBytes;
}

BitmapWindow WindowOf(const ItemRecord* child) {
    BitmapWindow window;
    std::memcpy(&window, child->pictureStream.data() + sizeof(BitmapKey), sizeof window);
    return window;
}

int64_t PixelBytes(const QRect& window) {
    return int64_t{window.width()} * window.height() * 4;
}

// The part of a bitmap's pixels that shows window, seen in place.
QImage WindowView(ItemRecord* child, const BitmapWindow& stored, const QRect& window) {
    const int32_t width = stored.right - stored.left;
    uint8_t* pixels =
        child->pictureStream.data() + kHeaderBytes +
        (size_t(window.top() - stored.top) * size_t(width) + size_t(window.left() - stored.left)) * 4;
    return QImage(pixels, window.width(), window.height(), qsizetype(width) * 4, QImage::Format_RGB32);
}

// The derived bitmap of the kind when its key matches and it holds the window, seen in place
// (read only).
QImage CachedBitmap(ItemRecord& clip, int32_t kind, const BitmapKey& key, const QRect& window) {
    ItemRecord* child = FindChild(clip, kind);
    if (child == nullptr || !IsDerivedBitmap(child) ||
        std::memcmp(child->pictureStream.data(), &key, sizeof key) != 0) {
        return {};
    }
    BitmapWindow stored = WindowOf(child);
    const QRect held(QPoint(stored.left, stored.top), QPoint(stored.right - 1, stored.bottom - 1));
    if (child->pictureStream.size() != kHeaderBytes + size_t(PixelBytes(held)) || !held.contains(window)) {
        return {};
    }
    stored.lastUse = NextUse();
    std::memcpy(child->pictureStream.data() + sizeof(BitmapKey), &stored, sizeof stored);
    return WindowView(child, stored, window);
}

// The derived bitmaps of the design's records that are not the clip's, least recently drawn
// first, dropped until the bitmaps of the whole design and bytes more fit three quarters of the
// budget (so that the next ones do not count the design again at once); what is kept then.
int64_t DropOldestBitmaps(const ItemList& design, const ItemRecord& clip, int64_t bytes) {
    struct Kept {
        uint64_t lastUse;
        ItemRecord* owner;
        ItemRecord* child;
    };
    std::vector<Kept> others;
    int64_t total = 0;
    for (ItemRecord* record : design) {
        for (ItemRecord* child : record->childList) {
            if (IsDerivedBitmap(child)) {
                total += static_cast<int64_t>(child->pictureStream.size());
                if (record != &clip) {
                    others.push_back({WindowOf(child).lastUse, record, child});
                }
            }
        }
    }
    const int64_t room = design.derivedBitmaps.budget / 4 * 3;
    if (total + bytes > room) {
        std::sort(others.begin(), others.end(),
                  [](const Kept& a, const Kept& b) { return a.lastUse < b.lastUse; });
        for (const Kept& kept : others) {
            if (total + bytes <= room) {
                break;
            }
            total -= static_cast<int64_t>(kept.child->pictureStream.size());
            RemoveRecord(kept.owner->childList, kept.child);
        }
    }
    return total;
}

// The largest bitmap a clip keeps: half the design's budget, so that a clip's two fit.
int64_t KeptLimit(const ItemList& design) {
    return design.derivedBitmaps.budget / 2;
}

// A new derived bitmap of the kind for the window in place of the old one, its pixels to be
// written through the image returned. Null when it is larger than a clip keeps or the memory
// cannot be had.
QImage NewBitmap(ItemRecord& clip, const ItemList& design, int32_t kind, const BitmapKey& key,
                 const QRect& window) {
    DropChild(clip, kind); // never two large bitmaps of one kind at once
    const int64_t bytes = PixelBytes(window) + int64_t{kHeaderBytes};
    if (window.isEmpty() || bytes > KeptLimit(design)) {
        return {};
    }
    int64_t& kept = design.derivedBitmaps.keptBytes;
    if (kept + bytes > design.derivedBitmaps.budget) {
        kept = DropOldestBitmaps(design, clip, bytes);
    }
    try {
        auto child = std::make_unique<ItemRecord>();
        child->kind = kind;
        child->x2 = window.width();
        child->y2 = window.height();
        child->pictureStream.resize(size_t(bytes));
        const BitmapWindow stored{window.left(),       window.top(), window.right() + 1,
                                  window.bottom() + 1, NextUse(),    0};
        std::memcpy(child->pictureStream.data(), &key, sizeof key);
        std::memcpy(child->pictureStream.data() + sizeof key, &stored, sizeof stored);
        ItemRecord* made = child.release();
        LinkAtTail(clip.childList, made);
        kept += bytes;
        return WindowView(made, stored, window);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// The cut of the oriented picture that the scaling reads: the rectangle of a rectangle clip, or
// the square about a round clip's centre, white where it leaves the picture.
struct ClipCut {
    QImage picture; // the oriented picture, kept alive while pixels looks into it
    QImage pixels;  // the cut's pixels from origin on
    QPoint origin;
    QSize size; // the whole cut
};

// The round clip's square in the picture; nothing for a radius of 0, a square beyond the
// picture cap or one wholly beside the picture (which would show a white disc, not the picture).
std::optional<Rect> RoundCut(const ItemRecord& clip, const QImage& picture) {
    const Point centre{clip.srcLeft, clip.srcTop};
    const int32_t radius = nearest(PointDistance(centre, {clip.srcRight, clip.srcBottom}));
    if (radius <= 0 || !AcceptablePictureSize(2 * int64_t{radius}, 2 * int64_t{radius})) {
        return std::nullopt;
    }
    const Rect square{SaturatingAdd(centre.x, -int64_t{radius}), SaturatingAdd(centre.y, -int64_t{radius}),
                      SaturatingAdd(centre.x, radius), SaturatingAdd(centre.y, radius)};
    if (square.right <= 0 || square.bottom <= 0 || square.left >= picture.width() ||
        square.top >= picture.height()) {
        return std::nullopt;
    }
    return square;
}

// What scaling part of the whole target (targetSize) reads of the clip's cut: a rectangle cut
// is seen in place, of a round one only the part the scaling reaches is made. Nothing when the
// cut shows nothing of the picture.
std::optional<ClipCut> CutFor(const ItemRecord& clip, const QImage& picture, QSize targetSize,
                              const QRect& part) {
    ClipCut cut;
    cut.picture = picture;
    if (clip.clipShape == ClipShape::Round) {
        const std::optional<Rect> square = RoundCut(clip, picture);
        if (!square) {
            return std::nullopt;
        }
        cut.size = QSize(square->right - square->left, square->bottom - square->top);
        const QRect reach = part.isEmpty()
                                ? QRect()
                                : ResampleSourceFor(cut.size, targetSize, part, ResampleFilter::Mitchell);
        if (!reach.isEmpty()) {
            cut.origin = reach.topLeft();
            cut.pixels =
                CropOnWhite(picture, {square->left + reach.left(), square->top + reach.top(),
                                      square->left + reach.right() + 1, square->top + reach.bottom() + 1});
            if (cut.pixels.isNull()) {
                return std::nullopt;
            }
        }
        return cut;
    }
    const Rect wanted{clip.srcLeft, clip.srcTop, clip.srcRight, clip.srcBottom};
    const int64_t left = std::max<int64_t>(std::min(wanted.left, wanted.right), 0);
    const int64_t top = std::max<int64_t>(std::min(wanted.top, wanted.bottom), 0);
    const int64_t right = std::min<int64_t>(std::max(wanted.left, wanted.right), picture.width());
    const int64_t bottom = std::min<int64_t>(std::max(wanted.top, wanted.bottom), picture.height());
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    cut.size = QSize(int(right - left), int(bottom - top));
    cut.pixels = QImage(picture.constBits() + size_t(top) * size_t(picture.bytesPerLine()) + size_t(left) * 4,
                        cut.size.width(), cut.size.height(), picture.bytesPerLine(), QImage::Format_RGB32);
    return cut;
}

// The clip's oriented picture, decoded once per drawing and only when a bitmap must be made.
class PictureSource {
public:
    PictureSource(const ItemRecord& clip, const ItemList& design) : clip_(clip), design_(design) {}
    const QImage* get() {
        if (!tried_) {
            tried_ = true;
            picture_ = DecodePictureData(&clip_, design_);
            if (picture_ && picture_->format() != QImage::Format_RGB32) {
                picture_ = picture_->convertToFormat(QImage::Format_RGB32);
            }
        }
        return picture_ ? &*picture_ : nullptr;
    }

private:
    const ItemRecord& clip_;
    const ItemList& design_;
    bool tried_ = false;
    std::optional<QImage> picture_;
};

// Scales part (a rectangle of the whole scaled picture) of the clip's cut into target.
bool ScalePart(const ItemRecord& clip, PictureSource& source, const BitmapKey& key, const QRect& part,
               QImage& target) {
    const QImage* picture = source.get();
    if (picture == nullptr) {
        return false;
    }
    const QSize whole(key.width, key.height);
    const std::optional<ClipCut> cut = CutFor(clip, *picture, whole, part);
    return cut && ImageResamplePart(cut->pixels, cut->origin, cut->size, target, part.topLeft(), whole,
                                    ResampleFilter::Mitchell);
}

// The window of the whole scaled picture that a window of the shown picture comes from: the
// shown picture is the scaled one mirrored by the key's flips.
QRect UnmirroredWindow(const QRect& window, const BitmapKey& key) {
    QRect from = window;
    if (key.flips & 1) {
        from.moveLeft(key.width - 1 - window.right());
    }
    if (key.flips & 2) {
        from.moveTop(key.height - 1 - window.bottom());
    }
    return from;
}

// The shown pixels of a window from the scaled pixels of its unmirrored window: mirrored and
// flipped as the key says, then colour-adjusted.
void ShowInto(const QImage& scaled, QImage& shown, const BitmapKey& key) {
    const bool mirror = (key.flips & 1) != 0, flip = (key.flips & 2) != 0;
    const int32_t width = shown.width(), height = shown.height();
    for (int32_t y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(scaled.constScanLine(flip ? height - 1 - y : y));
        auto* to = reinterpret_cast<uint32_t*>(shown.scanLine(y));
        if (mirror) {
            std::reverse_copy(from, from + width, to);
        } else {
            std::copy(from, from + width, to);
        }
    }
    AdjustColours(shown, key.saturation, key.contrast, key.lightness);
}

// The key of the clip's shown picture: the scaled one's with its adjustments and flips.
BitmapKey ShownKey(const ItemRecord& clip, BitmapKey key) {
    key.saturation = clip.saturation;
    key.contrast = clip.contrast;
    key.lightness = clip.lightness;
    key.flips = (clip.scaleX < 0.0 ? 1 : 0) | (clip.scaleY < 0.0 ? 2 : 0);
    return key;
}

bool ChangesNothing(const BitmapKey& shown) {
    return shown.saturation == 0 && shown.contrast == 0 && shown.lightness == 0 && shown.flips == 0;
}

// The window of the clip's shown picture, from the clip's kept bitmaps when they hold it,
// otherwise made and kept there. Null when the picture cannot be had or the window is too
// large to keep.
QImage KeptWindow(ItemRecord& clip, const ItemList& design, PictureSource& source, const BitmapKey& scaledKey,
                  const QRect& window) {
    const BitmapKey shownKey = ShownKey(clip, scaledKey);
    const bool adjusted = !ChangesNothing(shownKey);
    if (adjusted) {
        if (QImage cached = CachedBitmap(clip, ItemKind::AdjustedBitmap, shownKey, window);
            !cached.isNull()) {
            return cached;
        }
    }
    const QRect scaledWindow = UnmirroredWindow(window, shownKey);
    QImage scaled = CachedBitmap(clip, ItemKind::UnadjustedBitmap, scaledKey, scaledWindow);
    if (scaled.isNull()) {
        // Whatever was made from another cut, size or window goes before the new one is made.
        ClearChildList(&clip);
        scaled = NewBitmap(clip, design, ItemKind::UnadjustedBitmap, scaledKey, scaledWindow);
        if (scaled.isNull() || !ScalePart(clip, source, scaledKey, scaledWindow, scaled)) {
            DropChild(clip, ItemKind::UnadjustedBitmap);
            return {};
        }
    }
    if (!adjusted) {
        DropChild(clip, ItemKind::AdjustedBitmap);
        return scaled;
    }
    QImage shown = NewBitmap(clip, design, ItemKind::AdjustedBitmap, shownKey, window);
    if (shown.isNull()) {
        return {};
    }
    ShowInto(scaled, shown, shownKey);
    return shown;
}

// The same window made for one drawing and not kept; null when it cannot be made.
QImage PassingWindow(const ItemRecord& clip, PictureSource& source, const BitmapKey& scaledKey,
                     const QRect& window) {
    const BitmapKey shownKey = ShownKey(clip, scaledKey);
    QImage scaled = LargeImage(window.width(), window.height());
    if (scaled.isNull() || !ScalePart(clip, source, scaledKey, UnmirroredWindow(window, shownKey), scaled)) {
        return {};
    }
    if (ChangesNothing(shownKey)) {
        return scaled;
    }
    QImage shown = LargeImage(window.width(), window.height());
    if (!shown.isNull()) {
        ShowInto(scaled, shown, shownKey);
    }
    return shown;
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

// The raster's rows, taken once so that threads writing rows of their own neither finish the
// raster's drawing nor make it copy its pixels while another writes.
class RasterRows {
public:
    explicit RasterRows(RasterCanvas& raster)
        : first_(raster.scanLine(0)), width_(raster.width()), height_(raster.height()),
          stride_(size_t(std::as_const(raster).image().bytesPerLine()) / sizeof(uint32_t)) {}
    uint32_t* operator()(int32_t y) const { return first_ + size_t(y) * stride_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    size_t strideBytes() const { return stride_ * sizeof(uint32_t); }

private:
    uint32_t* first_;
    int32_t width_, height_;
    size_t stride_; // in pixels
};

// Copies the picture's pixels onto the raster with its top-left pixel at `at`.
void CompositeRows(const RasterRows& raster, const QImage& picture, Point at) {
    const int64_t firstY = std::max<int64_t>(at.y, 0);
    const int64_t endY = std::min<int64_t>(int64_t{at.y} + picture.height(), raster.height());
    const int64_t fromX = std::max<int64_t>(at.x, 0);
    const int64_t toX = std::min<int64_t>(int64_t{at.x} + picture.width(), raster.width());
    for (int64_t y = firstY; y < endY && fromX < toX; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(picture.constScanLine(static_cast<int>(y - at.y)));
        std::copy(from + (fromX - at.x), from + (toX - at.x), raster(static_cast<int32_t>(y)) + fromX);
    }
}

// The pixels of the ellipse inscribed in the whole picture (whole, its top-left pixel at `at`)
// that part (the pixels of the whole from partOrigin on) holds are copied onto the raster.
void CompositeInscribed(const RasterRows& raster, const QImage& part, QSize whole, Point at,
                        QPoint partOrigin) {
    const double centreX = (whole.width() - 1) / 2.0, centreY = (whole.height() - 1) / 2.0;
    const double radiusX = whole.width() / 2.0, radiusY = whole.height() / 2.0;
    const int64_t firstY = std::max<int64_t>(int64_t{at.y} + partOrigin.y(), 0);
    const int64_t endY = std::min<int64_t>(int64_t{at.y} + partOrigin.y() + part.height(), raster.height());
    for (int64_t y = firstY; y < endY; ++y) {
        const int64_t j = y - at.y;
        const double dy = (static_cast<double>(j) - centreY) / radiusY;
        if (dy * dy > 1.0) {
            continue;
        }
        const double half = radiusX * std::sqrt(1.0 - dy * dy);
        const int64_t fromI =
            std::max<int64_t>(static_cast<int64_t>(std::ceil(centreX - half)), partOrigin.x());
        const int64_t toI = std::min<int64_t>(static_cast<int64_t>(std::floor(centreX + half)) + 1,
                                              int64_t{partOrigin.x()} + part.width());
        const int64_t fromX = std::max<int64_t>(int64_t{at.x} + fromI, 0);
        const int64_t toX = std::min<int64_t>(int64_t{at.x} + toI, raster.width());
        if (fromX >= toX) {
            continue;
        }
        const auto* from =
            reinterpret_cast<const uint32_t*>(part.constScanLine(static_cast<int>(j - partOrigin.y())));
        std::copy(from + (fromX - at.x - partOrigin.x()), from + (toX - at.x - partOrigin.x()),
                  raster(static_cast<int32_t>(y)) + fromX);
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
    CompositeRows(RasterRows(raster), window, {static_cast<int32_t>(fromX), static_cast<int32_t>(fromY)});
}

// The ring of a round clip's frame.
void DrawRoundFrame(RasterCanvas& raster, const ItemRecord& clip, const ClipPlace& place,
                    int32_t lightDirection, bool shaded) {
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

// A turned round clip: its whole square picture turned about its centre shows through the
// circle inscribed in it.
void DrawTurnedRoundClip(RasterCanvas& raster, const QImage& bitmap, const ClipPlace& place, double angle) {
    QImage turned(bitmap.size(), QImage::Format_RGB32);
    if (turned.isNull()) {
        return;
    }
    turned.fill(Qt::white);
    RotateRaster(bitmap, turned, angle);
    CompositeInscribed(RasterRows(raster), turned, turned.size(), {place.picture.left, place.picture.top},
                       {0, 0});
}

// The key of the clip's scaled picture of width x height; nothing without picture data.
std::optional<BitmapKey> ScaledKey(const ItemRecord& clip, const ItemList& design, int64_t width,
                                   int64_t height) {
    const ItemRecord* data = FindPictureData(&clip, design);
    if (data == nullptr || data->pictureStream.empty() || width <= 0 || height <= 0 || width > kMaxClipSide ||
        height > kMaxClipSide) {
        return std::nullopt;
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
    key.width = static_cast<int32_t>(width);
    key.height = static_cast<int32_t>(height);
    return key;
}

// Whether the clip's cut shows something of its picture; decodes the picture if need be.
bool PictureCanBeHad(const ItemRecord& clip, PictureSource& source, const BitmapKey& key) {
    const QImage* picture = source.get();
    return picture != nullptr && CutFor(clip, *picture, QSize(key.width, key.height), QRect()).has_value();
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
    const std::optional<BitmapKey> key = ScaledKey(clip, design, width, height);
    if (!key || !AcceptablePictureSize(width, height)) {
        return {};
    }
    PictureSource source(clip, design);
    const QRect whole(0, 0, width, height);
    QImage bitmap = KeptWindow(clip, design, source, *key, whole);
    return bitmap.isNull() ? PassingWindow(clip, source, *key, whole) : bitmap;
}

int64_t KeptClipBytes(const ItemList& design) {
    int64_t total = 0;
    for (const ItemRecord* record : design) {
        for (const ItemRecord* child : record->childList) {
            if (IsDerivedBitmap(child)) {
                total += static_cast<int64_t>(child->pictureStream.size());
            }
        }
    }
    return total;
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
    const Point at{place->picture.left, place->picture.top};
    const int64_t width = int64_t{place->picture.right} - at.x,
                  height = int64_t{place->picture.bottom} - at.y;
    const std::optional<BitmapKey> key = ScaledKey(clip, design, width, height);
    if (!key) {
        return;
    }
    const double angle = ClipRotation(clip);
    if (angle != 0.0 && !AcceptablePictureSize(width, height)) {
        return; // a turn reads the whole picture
    }
    // Only what lands on the raster is made: the window of the picture under the raster, the
    // whole picture when it turns.
    QRect window(0, 0, key->width, key->height);
    if (angle == 0.0) {
        const int64_t left = std::max<int64_t>(0, -int64_t{at.x}), top = std::max<int64_t>(0, -int64_t{at.y});
        const int64_t right = std::min<int64_t>(width, int64_t{raster.width()} - at.x);
        const int64_t bottom = std::min<int64_t>(height, int64_t{raster.height()} - at.y);
        window = right > left && bottom > top
                     ? QRect(int(left), int(top), int(right - left), int(bottom - top))
                     : QRect();
    }
    PictureSource source(clip, design);
    QImage shown = window.isEmpty() ? QImage() : KeptWindow(clip, design, source, *key, window);
    // A clip whose picture cannot be had draws nothing at all, not even its shadow.
    if (shown.isNull() && !PictureCanBeHad(clip, source, *key)) {
        return;
    }
    if (shown.isNull() && angle != 0.0) {
        shown = PassingWindow(clip, source, *key, window);
        if (shown.isNull()) {
            return;
        }
    }
    if (shadow && clip.shadowElevation != 0 && clip.shadowLightness != 0) {
        ClipShadow(raster, clip, *place, view.scaleY, lightDirection);
    }
    const bool round = clip.clipShape == ClipShape::Round;
    if (angle != 0.0) {
        if (round) {
            DrawTurnedRoundClip(raster, shown, *place, angle);
        } else {
            DrawTurnedClip(raster, shown, *place, FrameLookOf(clip, place->frame, lightDirection, shaded),
                           angle);
        }
    } else {
        const QSize whole(key->width, key->height);
        const RasterRows rows(raster);
        auto composite = [&](const QImage& part, QPoint origin) {
            if (round) {
                CompositeInscribed(rows, part, whole, at, origin);
            } else {
                CompositeRows(rows, part, {at.x + origin.x(), at.y + origin.y()});
            }
        };
        if (!shown.isNull()) {
            composite(shown, window.topLeft());
        } else if (!window.isEmpty()) {
            // Too large to keep: made and drawn a band of rows at a time, the bands on every core
            // at once. Each band holds what the whole picture has there and writes only its own
            // rows of the raster. The picture is decoded by now (PictureCanBeHad).
            // A plain rectangle's scaled pixels are what it shows: they are scaled straight onto
            // the raster, in smaller bands that share the work evenly among the cores. Other
            // bands are made on their own, together no larger than one band.
            const bool inPlace = !round && ChangesNothing(ShownKey(clip, *key));
            const int64_t bandBytes = inPlace ? kInPlaceBandBytes : kBandBytes / ParallelWorkers();
            const int32_t bandRows =
                int32_t(std::clamp<int64_t>(bandBytes / (int64_t{window.width()} * 4), 1, window.height()));
            const int32_t bands = int32_t((int64_t{window.height()} + bandRows - 1) / bandRows);
            ForEachInParallel(bands, [&](int32_t index) {
                const int32_t top = window.top() + index * bandRows;
                const QRect band(window.left(), top, window.width(),
                                 std::min(bandRows, window.bottom() + 1 - top));
                if (inPlace) {
                    QImage onRaster(reinterpret_cast<uchar*>(rows(at.y + band.top()) + at.x + band.left()),
                                    band.width(), band.height(), qsizetype(rows.strideBytes()),
                                    QImage::Format_RGB32);
                    ScalePart(clip, source, *key, band, onRaster);
                } else if (const QImage part = PassingWindow(clip, source, *key, band); !part.isNull()) {
                    composite(part, band.topLeft());
                }
            });
        }
        if (!round) {
            const Rect framed = FramedBox(*place);
            PaintFrame([&raster](int32_t y) { return raster.scanLine(y); }, raster.width(), raster.height(),
                       {framed.left, framed.top}, int64_t{framed.right} - framed.left + 1,
                       int64_t{framed.bottom} - framed.top + 1,
                       FrameLookOf(clip, place->frame, lightDirection, shaded));
        }
    }
    if (round) {
        DrawRoundFrame(raster, clip, *place, lightDirection, shaded);
    }
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
