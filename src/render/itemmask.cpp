// Placing and allocating the masks of shadows and 3-D surfaces.
#include "render/itemmask.h"

#include <algorithm>
#include <cmath>

namespace vlr {

std::optional<Rect> MaskArea(const RasterCanvas& target, const Rect& box, int64_t margin, int64_t reach) {
    if (target.isNull()) {
        return std::nullopt;
    }
    margin = std::max<int64_t>(margin, 0);
    reach = std::max<int64_t>(reach, 0);
    // 64-bit sums: a box near the ends of the coordinate range grown by a margin stays exact.
    const int64_t left = std::max(int64_t{std::min(box.left, box.right)} - margin, -reach);
    const int64_t top = std::max(int64_t{std::min(box.top, box.bottom)} - margin, -reach);
    const int64_t right =
        std::min(int64_t{std::max(box.left, box.right)} + margin + 1, target.width() + reach);
    const int64_t bottom =
        std::min(int64_t{std::max(box.top, box.bottom)} + margin + 1, target.height() + reach);
    if (left >= right || top >= bottom) {
        return std::nullopt;
    }
    return Rect{SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
}

RasterCanvas MaskRaster(const RasterCanvas& target, const Rect& area, int32_t colour) {
    const int64_t width = int64_t{area.right} - area.left, height = int64_t{area.bottom} - area.top;
    if (width <= 0 || height <= 0 || width * height > kMaxRasterPixels) {
        return {};
    }
    RasterCanvas mask(static_cast<int32_t>(width), static_cast<int32_t>(height), Smoothing::Exact,
                      target.screen());
    if (!mask.isNull()) {
        mask.image().fill(QRgbFromColour(colour));
    }
    return mask;
}

Point MovedPoint(Point point, int64_t dx, int64_t dy) {
    return {SaturatingAdd(point.x, dx), SaturatingAdd(point.y, dy)};
}

DeviceOutline MovedOutline(const DeviceOutline& outline, int64_t dx, int64_t dy) {
    DeviceOutline moved = outline;
    for (Point& point : moved.points) {
        point = MovedPoint(point, dx, dy);
    }
    const Point topLeft = MovedPoint({outline.bounds.left, outline.bounds.top}, dx, dy);
    const Point bottomRight = MovedPoint({outline.bounds.right, outline.bounds.bottom}, dx, dy);
    moved.bounds = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return moved;
}

TextMetrics MetricsOf(RasterCanvas& canvas, const FontSpec& font) {
    const FontSpec previous = canvas.font();
    canvas.setFont(font);
    const TextMetrics metrics = canvas.GetTextMetrics();
    canvas.setFont(previous);
    return metrics;
}

Rect TextLineBox(RasterCanvas& canvas, const ItemRecord& text, const TextLinePlacement& line, double zoom) {
    const TextMetrics metrics = MetricsOf(canvas, TextFont(text, zoom, text.textColor));
    const double width = TextLineWidth(canvas, line.line, text, zoom);
    const double along = std::max(width, PointDistance(line.start, line.end));
    const double pad = std::max(metrics.height, 1);
    const double theta = TenthsToRadians(text.escapement);
    // Along the text (cos, -sin) and towards the top of the letters (-sin, -cos); y grows down.
    const double ux = std::cos(theta), uy = -std::sin(theta);
    const double nx = -std::sin(theta), ny = -std::cos(theta);
    double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
    for (double a : {-pad, along + pad}) {
        for (double b : {-metrics.descent - pad, metrics.ascent + pad}) {
            const double x = line.start.x + a * ux + b * nx, y = line.start.y + a * uy + b * ny;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return {nearest(std::floor(left)), nearest(std::floor(top)), nearest(std::ceil(right)),
            nearest(std::ceil(bottom))};
}

} // namespace vlr
