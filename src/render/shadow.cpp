// Building, blurring and compositing the shadows of items.
#include "render/shadow.h"

#include "model/itemrecord.h"
#include "render/itemmask.h"
#include "render/resample.h"
#include "render/stroke.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <functional>

namespace vlr {

namespace {

// Masks narrower or lower than this are widened to it, so that a tiny item's shadow still has
// room to soften.
constexpr int64_t kMinMaskBox = 10;

double SaneZoom(double zoom) {
    return std::isfinite(zoom) && zoom > 0.0 ? zoom : 1.0;
}

// The reduction of the blur (10 / (fade + 10) / zoom per side).
double BlurScale(int32_t fade, double zoom) {
    return 10.0 / (std::clamp(fade, 0, 255) + 10.0) / SaneZoom(zoom);
}

} // namespace

int64_t BlurReach(int32_t fade, double zoom) {
    const double scale = BlurScale(fade, zoom);
    // Beyond a billion pixels no mask could be allocated anyway.
    return scale < 1.0 ? static_cast<int64_t>(std::ceil(std::min(4.5 / scale, 1e9))) + 2 : 0;
}

void CastShadow(RasterCanvas& raster, const ItemRecord& item, Rect box, int32_t penWidth, double zoom,
                int32_t lightDirection, const ShadowPainter& paint) {
    if (item.shadowElevation == 0 || raster.isNull()) {
        return;
    }
    zoom = SaneZoom(zoom);
    const int32_t offset = ShadowOffset(item.shadowElevation, zoom, raster.screen());
    // A small item's box is widened to the right and downwards.
    box = {std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right),
           std::max(box.top, box.bottom)};
    box.right = SaturateInt32(std::max<int64_t>(box.right, int64_t{box.left} + kMinMaskBox - 1));
    box.bottom = SaturateInt32(std::max<int64_t>(box.bottom, int64_t{box.top} + kMinMaskBox - 1));
    // The margin holds the offset shadow and its blur; at least twice the offset widened by the
    // fade, plus the pen on both sides.
    const int64_t pen = std::clamp(penWidth, 0, kMaxPenWidth);
    const int64_t reach = BlurReach(item.shadowFade, zoom);
    const int64_t margin =
        std::max<int64_t>(int64_t{nearest(ShadowSpread(item.shadowFade) * 2.0 * offset)} + 2 * pen,
                          std::llabs(offset) + pen + reach);
    const Rect mask{SaturatingAdd(box.left, -margin), SaturatingAdd(box.top, -margin),
                    SaturatingAdd(box.right, margin), SaturatingAdd(box.bottom, margin)};
    CastShadowInMask(raster, item, mask, zoom, lightDirection, paint);
}

void CastShadowInMask(RasterCanvas& raster, const ItemRecord& item, const Rect& mask, double zoom,
                      int32_t lightDirection, const ShadowPainter& paint) {
    if (item.shadowElevation == 0 || raster.isNull()) {
        return;
    }
    zoom = SaneZoom(zoom);
    const Point shift =
        ShadowShift(lightDirection, ShadowOffset(item.shadowElevation, zoom, raster.screen()));
    const int64_t fullWidth = int64_t{mask.right} - mask.left + 1;
    const int64_t fullHeight = int64_t{mask.bottom} - mask.top + 1;
    if (fullWidth < 1 || fullHeight < 1) {
        return;
    }
    const std::optional<QSize> reduced = ShadowBlurSize(fullWidth, fullHeight, item.shadowFade, zoom);
    const std::optional<Rect> area =
        MaskArea(raster, mask, 0, reduced ? BlurReach(item.shadowFade, zoom) : 0);
    if (!area) {
        return;
    }
    RasterCanvas painted = MaskRaster(raster, *area, 0xFFFFFF);
    if (painted.isNull()) {
        return;
    }
    paint(painted, ShadowTone(item.shadowLightness),
          MovedPoint(shift, -int64_t{area->left}, -int64_t{area->top}));

    // Only the blue channel is read back.
    QImage tones(painted.width(), painted.height(), QImage::Format_Grayscale8);
    if (tones.isNull()) {
        return;
    }
    const int32_t maskWidth = painted.width(), maskHeight = painted.height();
    for (int32_t y = 0; y < maskHeight; ++y) {
        const uint32_t* from = painted.scanLine(y);
        uchar* to = tones.scanLine(y);
        for (int32_t x = 0; x < maskWidth; ++x) {
            to[x] = static_cast<uchar>(from[x] & 0xFFu);
        }
    }
    painted = RasterCanvas();
    if (reduced) {
        // The mask cut to the target keeps the reduction of the whole mask, so that the
        // softness does not depend on how much of the item is in view.
        const int32_t width =
            std::clamp(nearest(double(tones.width()) * reduced->width() / static_cast<double>(fullWidth)), 1,
                       tones.width());
        const int32_t height =
            std::clamp(nearest(double(tones.height()) * reduced->height() / static_cast<double>(fullHeight)),
                       1, tones.height());
        if ((width < tones.width() || height < tones.height()) && !ShadowBlur(tones, QSize(width, height))) {
            return; // no room for the reduced mask: the item goes without its shadow
        }
    }
    ShadowComposite(raster, {area->left, area->top}, tones);
}

namespace {

// The mask fill of an item: its fill colour becomes the tone; no fill and a fill in the outline
// colour stay what they are.
int32_t ToneFill(int32_t fillColor, int32_t tone) {
    return fillColor == FILL_NONE || fillColor == FILL_AS_OUTLINE ? fillColor : tone;
}

void LineShadow(RasterCanvas& raster, const ItemRecord& line, const ItemList& design,
                const ViewTransform& transform, int32_t lightDirection) {
    const LineStroke stroke = LineStrokeOf(line, transform, raster.screen());
    const DashPattern pattern = BuildDashPattern(design, line, transform.scaleY);
    const Point s = ToDevice({line.x1, line.y1}, transform), e = ToDevice({line.x2, line.y2}, transform);
    const std::array<Point, 2> ends{s, e};
    CastShadow(raster, line, BoxOf(ends), stroke.width, transform.scaleY, lightDirection,
               [&](RasterCanvas& mask, int32_t tone, Point move) {
                   LineStroke toned = stroke;
                   toned.color = tone;
                   toned.fillColor = ToneFill(stroke.fillColor, tone);
                   toned.surface = 0;
                   StrokeLine(mask, MovedPoint(s, move.x, move.y), MovedPoint(e, move.x, move.y), toned,
                              pattern);
               });
}

void ShapeShadow(RasterCanvas& raster, const ItemRecord& shape, const ViewTransform& transform,
                 int32_t lightDirection) {
    const DeviceOutline outline = ShapeOutline(shape, transform);
    if (outline.form == OutlineForm::None) {
        return;
    }
    const int32_t pen = ShapePenWidth(shape, transform, raster.screen());
    CastShadow(raster, shape, outline.bounds, pen, transform.scaleY, lightDirection,
               [&](RasterCanvas& mask, int32_t tone, Point move) {
                   PaintShapeOutline(mask, shape.kind, MovedOutline(outline, move.x, move.y),
                                     {tone, ToneFill(shape.fillColor, tone), pen});
               });
}

} // namespace

int32_t LightDirection(const ItemList& design) {
    const ItemRecord* header = FindRecord(design, ItemKind::Header);
    const int32_t direction = header ? int32_t{header->lightDirection} : 0;
    return direction <= 3 ? direction : 0;
}

int32_t ShadowOffset(int32_t elevation, double zoom, const ScreenResolution& screen) {
    const double steps = nearest(elevation / 8.5);
    return nearest(steps / ScreenResolution::kDesignDpi * screen.dpiY() * SaneZoom(zoom));
}

double ShadowSpread(int32_t fade) {
    return std::clamp(fade / 30.0 + 1.0, 1.0, 5.0);
}

double PictureShadowSpread(int32_t fade) {
    return std::clamp(fade / 85.0 + 1.0, 1.0, 2.0);
}

Point ShadowShift(int32_t lightDirection, int32_t offset) {
    const bool fromRight = lightDirection == 1 || lightDirection == 3;
    const bool fromBottom = lightDirection == 2 || lightDirection == 3;
    return {fromRight ? -offset : offset, fromBottom ? -offset : offset};
}

int32_t ShadowTone(int32_t lightness) {
    return std::clamp(lightness, 0, 255) << 16;
}

std::optional<QSize> ShadowBlurSize(int64_t width, int64_t height, int32_t fade, double zoom) {
    const double scale = BlurScale(fade, zoom);
    const int64_t reducedWidth = nearest(static_cast<double>(width) * scale);
    const int64_t reducedHeight = nearest(static_cast<double>(height) * scale);
    if (reducedWidth >= width || reducedHeight >= height) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(std::clamp<int64_t>(reducedWidth, 6, INT_MAX)),
                 static_cast<int>(std::clamp<int64_t>(reducedHeight, 6, INT_MAX)));
}

bool ShadowBlur(QImage& mask, QSize reduced) {
    if (mask.isNull() || reduced.isEmpty()) {
        return false;
    }
    const QImage small = Resampled(mask, reduced.width(), reduced.height(), ResampleFilter::BSpline);
    return !small.isNull() && ImageResample(small, mask, ResampleFilter::BSpline);
}

void ShadowComposite(RasterCanvas& target, Point at, const QImage& mask) {
    if (target.isNull() || mask.isNull() || mask.format() != QImage::Format_Grayscale8) {
        return;
    }
    // The columns of the mask that lie on the target.
    const int64_t first = std::max<int64_t>(0, -int64_t{at.x});
    const int64_t last = std::min<int64_t>(mask.width(), int64_t{target.width()} - at.x);
    for (int32_t my = 0; my < mask.height(); ++my) {
        uint32_t* pixels = target.scanLine(SaturatingAdd(at.y, my));
        if (!pixels) {
            continue;
        }
        const uchar* values = mask.constScanLine(my);
        for (int64_t mx = first; mx < last; ++mx) {
            const uint32_t darkness = 255u - values[mx];
            if (darkness == 0) {
                continue;
            }
            uint32_t& pixel = pixels[at.x + mx];
            auto darken = [darkness](uint32_t channel) {
                return channel - (darkness * channel + 127u) / 255u;
            };
            pixel = 0xFF000000u | darken((pixel >> 16) & 0xFFu) << 16 | darken((pixel >> 8) & 0xFFu) << 8 |
                    darken(pixel & 0xFFu);
        }
    }
}

void DrawItemShadow(RasterCanvas& raster, const ItemRecord& item, const ItemList& design,
                    const ViewTransform& transform, int32_t lightDirection) {
    if (item.shadowElevation == 0) {
        return;
    }
    const int32_t kind = item.kind;
    if (kind == ItemKind::Line) {
        LineShadow(raster, item, design, transform, lightDirection);
    } else if (kind >= ItemKind::Triangle && kind <= ItemKind::Curve) {
        ShapeShadow(raster, item, transform, lightDirection);
    }
}

void DrawTextLineShadow(RasterCanvas& raster, const ItemRecord& text, const TextLinePlacement& line,
                        const ViewTransform& transform, int32_t lightDirection) {
    if (text.shadowElevation == 0 || line.line.empty() || raster.isNull()) {
        return;
    }
    CastShadow(raster, text, TextLineBox(raster, text, line, transform.scaleY), 0, transform.scaleY,
               lightDirection, [&](RasterCanvas& mask, int32_t tone, Point move) {
                   DrawTextLine(mask, tone, text, line.line, MovedPoint(line.start, move.x, move.y),
                                MovedPoint(line.end, move.x, move.y), transform);
               });
}

} // namespace vlr
