// Line patterns: the built-in dash styles and the design's own patterns in device pixels, the
// walk that cuts a line into dashes, and the body and border quadrilaterals of one dash. Pure
// arithmetic on points, shared by the plain, shadow and shaded drawing of lines.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "model/screenresolution.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace vlr {

// dashPattern values 0 ... 4; values above 4 draw solid, negative ones name a pattern record.
namespace DashStyle {
inline constexpr int32_t Solid = 0;
inline constexpr int32_t Dot = 1;
inline constexpr int32_t Dash = 2;
inline constexpr int32_t Center = 3;
inline constexpr int32_t Phantom = 4;
} // namespace DashStyle

inline constexpr int32_t kMaxDashEntries = 12;

// Lengths in device pixels, alternately dash and gap, starting with a dash. A pattern of one
// entry is solid.
struct DashPattern {
    int32_t count = 1;
    std::array<int32_t, kMaxDashEntries> lengths{std::numeric_limits<int32_t>::max()};
    friend bool operator==(const DashPattern&, const DashPattern&) = default;
};

// The unit the built-in styles are measured in: the line weight in whole design pixels (at
// least 1) times the zoom, rounded; never negative.
int32_t DashUnit(double zoom, double lineWeightMm, const ScreenResolution& screen);
// "Dot", "Dash", "Center" and "Phantom" for the unit; every other style is solid.
DashPattern StandardDashPattern(int32_t style, int32_t unit);
// A line-pattern definition record's lengths (millimetres) in device pixels: each length in
// whole design pixels first, then times the zoom, so the pattern keeps its proportions on every
// device. At most kMaxDashEntries entries, each at least 1 pixel; a record without entries is
// solid.
DashPattern CustomDashPattern(const ItemRecord& definition, double zoom, const ScreenResolution& screen);
// The pattern a line is drawn with: its built-in style, or the design's first line-pattern
// definition whose kind is the line's negative dashPattern (solid without one).
DashPattern BuildDashPattern(const ItemList& design, const ItemRecord& line, double zoom);

// One dash from start to end, both on the device.
struct DashSegment {
    Point start;
    Point end;
    friend bool operator==(const DashSegment&, const DashSegment&) = default;
};

// Cuts the line s-e into the dashes of the pattern, stepping from s along direction (radians,
// counter-clockwise; a direction that is not a number is taken from s to e). Each dash ends
// where the running length puts it, except the one that reaches e, which ends on e; a gap that
// reaches e ends the walk. A solid pattern gives the one dash s-e.
// With a visible rectangle, dashes wholly outside it are left out and the stretches before and
// after it are passed over a whole pattern at a time, so the work follows the visible part of
// the line, not its length.
std::vector<DashSegment> DashSegments(Point s, Point e, double direction, const DashPattern& pattern,
                                      const std::optional<Rect>& visible = std::nullopt);

// The four corners of a dash of width w from d to x: P0, P1 on the left of the direction (towards
// direction + pi/2), P2, P3 on the right, in the order P0, P1, P2, P3. Along the axes the halves
// are whole pixels, round(w / 2) on the left.
using Quad = std::array<Point, 4>;
Quad DashBody(Point d, Point x, int32_t w, double direction);
// The four strips of border width b inside a dash body: along P0-P1, across the end P1-P2, along
// P3-P2 and across the start P0-P3.
std::array<Quad, 4> BorderStrips(const Quad& body, int32_t b, double direction);

} // namespace vlr
