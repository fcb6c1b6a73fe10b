// Dash patterns in device pixels and the walk along a line.
#include "render/dashpattern.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

DashPattern PatternOf(std::initializer_list<int64_t> lengths) {
    DashPattern pattern;
    pattern.count = static_cast<int32_t>(lengths.size());
    std::transform(lengths.begin(), lengths.end(), pattern.lengths.begin(),
                   [](int64_t length) { return std::max(1, SaturateInt32(length)); });
    return pattern;
}

// The stretch [first, last] of the ray s + t (ux, -uy), t >= 0, that lies within the rectangle;
// first > last when it misses.
struct RayStretch {
    double first = 0.0;
    double last = kInfinity;
};

// Narrows the stretch to where origin + t * step lies within [low, high].
void NarrowToSlab(RayStretch& stretch, double origin, double step, double low, double high) {
    if (std::fabs(step) < 1e-12) {
        if (origin < low || origin > high) {
            stretch = {kInfinity, -kInfinity};
        }
        return;
    }
    double enter = (low - origin) / step, leave = (high - origin) / step;
    if (enter > leave) {
        std::swap(enter, leave);
    }
    stretch.first = std::max(stretch.first, enter);
    stretch.last = std::min(stretch.last, leave);
}

RayStretch StretchWithin(Point s, double ux, double uy, const Rect& rect) {
    // Dash ends are rounded onto whole pixels, so the rectangle is taken a little larger.
    constexpr double kRounding = 2.0;
    RayStretch stretch;
    NarrowToSlab(stretch, s.x, ux, rect.left - kRounding, rect.right + kRounding);
    NarrowToSlab(stretch, s.y, -uy, rect.top - kRounding, rect.bottom + kRounding);
    return stretch;
}

bool BoxesMeet(Point a, Point b, const Rect& rect) {
    return std::max(a.x, b.x) >= rect.left && std::min(a.x, b.x) <= rect.right &&
           std::max(a.y, b.y) >= rect.top && std::min(a.y, b.y) <= rect.bottom;
}

Point Offset(Point p, double dx, double dy) {
    return {SaturateInt32(static_cast<int64_t>(p.x) + nearest(dx)),
            SaturateInt32(static_cast<int64_t>(p.y) + nearest(dy))};
}

} // namespace

int32_t DashUnit(double zoom, double lineWeightMm, const ScreenResolution& screen) {
    const int32_t weightPixels = std::max(1, nearest(lineWeightMm * screen.pxPerMmY()));
    return std::max(0, nearest(zoom * weightPixels));
}

DashPattern StandardDashPattern(int32_t style, int32_t unit) {
    const int64_t u = std::max(0, unit);
    const int64_t longDash = 6 * u > 4 ? 6 * u : 6;
    const int64_t gap = 2 * u > 2 ? 2 * u : 3; // the gaps of the centre styles
    const int64_t shortDash = std::max<int64_t>(2 * u, 2);
    switch (style) {
    case DashStyle::Dot:
        return PatternOf({std::max<int64_t>(u, 1), std::max<int64_t>(2 * u, 1)});
    case DashStyle::Dash:
        return PatternOf({longDash, std::max<int64_t>(2 * u, 2)});
    case DashStyle::Center:
        return PatternOf({longDash, gap, shortDash, gap});
    case DashStyle::Phantom:
        return PatternOf({longDash, gap, shortDash, gap, shortDash, gap});
    default:
        return {};
    }
}

DashPattern CustomDashPattern(const ItemRecord& definition, double zoom, const ScreenResolution& screen) {
    const int32_t count = definition.segmentCount;
    if (count < 1) {
        return {};
    }
    DashPattern pattern;
    pattern.count = std::min(count, kMaxDashEntries);
    for (int32_t i = 0; i < pattern.count; ++i) {
        int32_t length =
            nearest(double(definition.segmentLengths[static_cast<size_t>(i)]) * screen.pxPerMmX());
        if (zoom != 1.0) {
            length = nearest(length * zoom);
        }
        pattern.lengths[static_cast<size_t>(i)] = std::max(1, length);
    }
    return pattern;
}

DashPattern BuildDashPattern(const ItemList& design, const ItemRecord& line, double zoom) {
    const int32_t style = line.dashPattern;
    const DashPattern standard =
        StandardDashPattern(style, DashUnit(zoom, double(line.lineWeight), design.screen));
    // Only negative values name a definition: 0 is "Solid" whatever a damaged file holds.
    if (style >= 0) {
        return standard;
    }
    for (const ItemRecord* record : design) {
        if (record->recordClass == RecordClass::LinePattern && record->kind == style) {
            return CustomDashPattern(*record, zoom, design.screen);
        }
    }
    return standard;
}

std::vector<DashSegment> DashSegments(Point s, Point e, double direction, const DashPattern& pattern,
                                      const std::optional<Rect>& visible) {
    std::vector<DashSegment> dashes;
    const int32_t count = std::clamp(pattern.count, 0, kMaxDashEntries);
    if (count <= 1) {
        if (!visible || BoxesMeet(s, e, *visible)) {
            dashes.push_back({s, e});
        }
        return dashes;
    }
    if (!std::isfinite(direction)) {
        direction = PointDirection(s, e);
    }
    std::array<double, kMaxDashEntries> lengths{};
    double period = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        lengths[static_cast<size_t>(i)] = std::max(1, pattern.lengths[static_cast<size_t>(i)]);
        period += lengths[static_cast<size_t>(i)];
    }
    const double ux = std::cos(direction), uy = std::sin(direction);
    const double length = PointDistance(s, e);
    auto at = [&](double t) { return Offset(s, ux * t, -uy * t); };
    // A point is past the end when it lies as far from s as e does. Running lengths are doubles:
    // exact for every whole number a line can reach, and one more pixel past the end stops the
    // walk even where the dash ends were held at the edge of the coordinate range.
    auto pastEnd = [&](Point point, double t) {
        return PointDistance(s, point) >= length || t >= length + 1.0;
    };
    const RayStretch shown = visible ? StretchWithin(s, ux, uy, *visible) : RayStretch{};

    double t = 0.0;   // where the current dash starts
    size_t entry = 0; // its entry, always a dash
    Point dashStart = s;
    // Moves on by whole patterns towards target, so the dashes that follow fall exactly where the
    // walk would have put them; stays clear of the end, where the last dash is cut off.
    auto passOver = [&](double target) {
        const double room = std::min(target, length - 2.0) - t;
        if (entry == 0 && room > period) {
            t += std::floor(room / period) * period;
            dashStart = at(t);
        }
    };
    while (true) {
        passOver(t > shown.last ? kInfinity : shown.first);
        const double dashEnd = t + lengths[entry];
        Point dashStop = at(dashEnd);
        const bool last = pastEnd(dashStop, dashEnd);
        if (last) {
            dashStop = e;
        }
        if (!visible || BoxesMeet(dashStart, dashStop, *visible)) {
            dashes.push_back({dashStart, dashStop});
        }
        if (last) {
            break;
        }
        const double gap = entry + 1 < size_t(count) ? lengths[entry + 1] : 0.0;
        t = dashEnd + gap;
        entry = entry + 2 < size_t(count) ? entry + 2 : 0;
        dashStart = at(t);
        // A gap that ends on the end or beyond it leaves nothing to draw.
        if (pastEnd(dashStart, t)) {
            break;
        }
    }
    return dashes;
}

Quad DashBody(Point d, Point x, int32_t w, double direction) {
    const double theta = ReducedAngle(direction);
    for (int32_t quarter = 0; quarter <= 4; ++quarter) {
        if (std::fabs(theta - quarter * kPi / 2.0) < 0.0001) {
            // Whole pixels: the left half towards direction + pi/2, the rest to the right.
            static constexpr std::array<Point, 4> kLeft = {Point{0, -1}, Point{-1, 0}, Point{0, 1},
                                                           Point{1, 0}};
            const Point left = kLeft[static_cast<size_t>(quarter % 4)];
            const int64_t leftWidth = nearest(w / 2.0), rightWidth = int64_t{w} - leftWidth;
            auto move = [&](Point p, int64_t distance) {
                return Point{SaturateInt32(p.x + left.x * distance), SaturateInt32(p.y + left.y * distance)};
            };
            return {move(d, leftWidth), move(x, leftWidth), move(x, -rightWidth), move(d, -rightWidth)};
        }
    }
    const double vx = std::cos(direction + kPi / 2.0), vy = -std::sin(direction + kPi / 2.0);
    const double half = w / 2.0;
    const Point p0 = Offset(d, half * vx, half * vy), p1 = Offset(x, half * vx, half * vy);
    return {p0, p1, Offset(p1, -w * vx, -w * vy), Offset(p0, -w * vx, -w * vy)};
}

std::array<Quad, 4> BorderStrips(const Quad& body, int32_t b, double direction) {
    // Each strip: an edge of the body and that edge moved b inwards.
    auto strip = [b](Point from, Point to, double inwards) {
        return Quad{from, to, PolarPoint(to, inwards, b), PolarPoint(from, inwards, b)};
    };
    return {strip(body[0], body[1], direction - kPi / 2.0), strip(body[1], body[2], direction + kPi),
            strip(body[3], body[2], direction + kPi / 2.0), strip(body[0], body[3], direction)};
}

} // namespace vlr
