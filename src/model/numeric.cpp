// Rounding and angle helpers shared by the model and the renderer.
#include "model/numeric.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace vlr {

int32_t nearest(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (value <= lowest) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<int32_t>::max();
    }
    // The default floating-point environment rounds to nearest with ties to even.
    return static_cast<int32_t>(std::nearbyint(value));
}

int32_t SaturateInt32(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

double ReducedAngle(double angle) {
    const double reduced = std::fmod(angle, 2.0 * kPi);
    return reduced < 0.0 ? reduced + 2.0 * kPi : reduced;
}

double PointDirection(Point from, Point to) {
    constexpr double pi = kPi;
    if (to.y == from.y) {
        return to.x < from.x ? pi : 0.0;
    }
    if (to.x == from.x) {
        return to.y > from.y ? 3.0 * pi / 2.0 : pi / 2.0;
    }
    // Differences in double: int32 coordinates far apart would overflow an int32 difference.
    double angle = std::atan2(static_cast<double>(from.y) - to.y, static_cast<double>(to.x) - from.x);
    if (angle < 0.0) {
        angle += 2.0 * pi;
    }
    return angle;
}

} // namespace vlr
