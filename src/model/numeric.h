// Rounding and angle helpers shared by the model and the renderer: every real value that
// becomes an integer coordinate goes through nearest().
#pragma once

#include <cstdint>
#include <numbers>

namespace vlr {

// A point in design pixels.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). NaN gives 0 and values outside
// the int32 range give its nearest end, so a value read from a file can never overflow.
int32_t nearest(double value);

// Clamps a 64-bit intermediate (a sum, a span, a counter) into the int32 range.
int32_t SaturateInt32(int64_t value);
// A coordinate moved by an offset, kept within the int32 range.
inline int32_t SaturatingAdd(int32_t a, int64_t b) {
    return SaturateInt32(static_cast<int64_t>(a) + b);
}

inline constexpr double kPi = std::numbers::pi;

// An angle in radians brought into [0, 2pi) by whole turns.
double ReducedAngle(double angle);

// Direction of the vector from -> to in radians, counter-clockwise as seen on the screen (y grows
// downwards), 0 pointing right, in [0, 2pi). Identical points give 0.
double PointDirection(Point from, Point to);

} // namespace vlr
