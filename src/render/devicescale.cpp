// Device pixels of denser screens.
#include "render/devicescale.h"

#include "model/numeric.h"
#include "render/rastercanvas.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

enum class Rounding { Nearest, Down, Up };

int32_t Scaled(int32_t value, double scale, Rounding rounding = Rounding::Nearest) {
    const double exact = value * scale;
    const double whole = rounding == Rounding::Down ? std::floor(exact)
                         : rounding == Rounding::Up ? std::ceil(exact)
                                                    : std::nearbyint(exact);
    return SaturateInt32(static_cast<int64_t>(whole));
}

} // namespace

Rect DeviceRect(const Rect& rect, double scale) {
    return {Scaled(rect.left, scale), Scaled(rect.top, scale), Scaled(rect.right, scale),
            Scaled(rect.bottom, scale)};
}

Rect DeviceCover(const Rect& rect, double scale) {
    const int32_t left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
    const int32_t top = std::min(rect.top, rect.bottom), bottom = std::max(rect.top, rect.bottom);
    return {Scaled(left, scale, Rounding::Down), Scaled(top, scale, Rounding::Down),
            Scaled(right, scale, Rounding::Up), Scaled(bottom, scale, Rounding::Up)};
}

QSize DeviceSize(QSize size, double scale) {
    return {Scaled(size.width(), scale, Rounding::Up), Scaled(size.height(), scale, Rounding::Up)};
}

ViewTransform DeviceView(const ViewTransform& view, double scale) {
    return {view.scaleX * scale, view.scaleY * scale, Scaled(view.originX, scale),
            Scaled(view.originY, scale)};
}

void DrawItemAtDensity(RasterCanvas& raster, ItemRecord* item, ItemList& design, const ViewTransform& view,
                       const DrawOptions& options) {
    const double scale = raster.deviceScale();
    DevicePixels device(raster);
    DrawItem(raster, item, design, DeviceView(view, scale), options);
}

} // namespace vlr
