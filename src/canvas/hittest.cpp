// Which item the pointer is on.
#include "canvas/hittest.h"

#include "model/itemlist.h"
#include "model/outline.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

// Circles and ellipses are flattened into this many chords for crossing tests, a Bezier segment
// into this many.
constexpr int kEllipseChords = 64;
constexpr int kBezierChords = 16;

Point First(const ItemRecord& item) {
    return {item.x1, item.y1};
}
Point Second(const ItemRecord& item) {
    return {item.x2, item.y2};
}

double HalfLineWidth(const ItemRecord& item, const ScreenResolution& screen) {
    const double weight = item.lineWeight;
    return std::isfinite(weight) && weight > 0.0 ? weight * screen.pxPerMmY() / 2.0 : 0.0;
}

int32_t Rounded(double value) {
    return nearest(value);
}

// The distance from p to the segment a-b where the perpendicular from p meets it. A segment of
// at most two pixels has no direction worth the name: its nearer end stands in for it.
std::optional<double> SegmentDistance(Point a, Point b, Point p) {
    if (std::abs(int64_t{a.x} - b.x) <= 2 && std::abs(int64_t{a.y} - b.y) <= 2) {
        return std::min(PointDistance(a, p), PointDistance(b, p));
    }
    const PerpendicularFootResult foot = PerpendicularFoot(a, b, p);
    if (!foot.withinSegment) {
        return std::nullopt;
    }
    return PointDistance(foot.foot, p);
}

// The smallest distance to the edges between consecutive points from index first on, and back
// to the first of them when closed.
std::optional<double> EdgeDistance(const std::vector<PointNode>& points, size_t first, bool closed, Point p) {
    std::optional<double> best;
    auto consider = [&](const PointNode& a, const PointNode& b) {
        if (auto d = SegmentDistance(NodePoint(a), NodePoint(b), p); d && (!best || *d < *best)) {
            best = d;
        }
    };
    for (size_t i = first; i + 1 < points.size(); ++i) {
        consider(points[i], points[i + 1]);
    }
    if (closed && points.size() > first + 1) {
        consider(points.back(), points[first]);
    }
    return best;
}

bool ClosedFigure(const ItemRecord& item) {
    switch (static_cast<int32_t>(item.kind)) {
    case ItemKind::Triangle:
    case ItemKind::Square:
    case ItemKind::Rectangle:
    case ItemKind::Polygon:
    case ItemKind::Star:
        return true;
    case ItemKind::Spline:
    case ItemKind::Curve:
        return item.shapeMode != 0;
    default:
        return false;
    }
}

// The corners of a clip's box, turned with the clip, the first repeated at the end.
std::array<Point, 5> ClipCorners(const ItemRecord& clip) {
    if (clip.rotation != 0.0) {
        return RotatedRectCorners(&clip);
    }
    const Point a{clip.boundLeft, clip.boundTop}, b{clip.boundRight, clip.boundTop},
        c{clip.boundRight, clip.boundBottom}, d{clip.boundLeft, clip.boundBottom};
    return {a, b, c, d, a};
}

bool InsideConvex(const std::array<Point, 5>& corners, Point p) {
    // Inside (or on) a convex quadrilateral: p lies on the same side of every edge.
    int sign = 0;
    for (size_t i = 0; i < 4; ++i) {
        const int64_t ex = int64_t{corners[i + 1].x} - corners[i].x,
                      ey = int64_t{corners[i + 1].y} - corners[i].y;
        const int64_t px = int64_t{p.x} - corners[i].x, py = int64_t{p.y} - corners[i].y;
        const int64_t cross = ex * py - ey * px;
        const int side = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (side != 0) {
            if (sign != 0 && side != sign) {
                return false;
            }
            sign = side;
        }
    }
    return true;
}

int32_t LineHeightOf(const ItemRecord& text, const HitMeasure& measure) {
    return measure.textLineHeight ? std::max(measure.textLineHeight(text), 0) : 0;
}

std::vector<Point> Ellipse(Point centre, double radiusX, double radiusY, double turn) {
    std::vector<Point> points;
    for (int i = 0; i <= kEllipseChords; ++i) {
        const double t = 2.0 * kPi * i / kEllipseChords;
        const double ax = radiusX * std::cos(t), ay = radiusY * std::sin(t);
        // Turned counter-clockwise on the screen, where y grows downwards.
        points.push_back({nearest(centre.x + ax * std::cos(turn) - ay * std::sin(turn)),
                          nearest(centre.y - ax * std::sin(turn) - ay * std::cos(turn))});
    }
    return points;
}

std::vector<Point> FlattenBezier(const std::vector<Point>& points) {
    std::vector<Point> flat;
    if (points.empty()) {
        return flat;
    }
    flat.push_back(points[0]);
    for (size_t i = 0; i + 3 < points.size(); i += 3) {
        const Point p0 = points[i], p1 = points[i + 1], p2 = points[i + 2], p3 = points[i + 3];
        for (int k = 1; k <= kBezierChords; ++k) {
            const double t = double(k) / kBezierChords, u = 1.0 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            flat.push_back({nearest(a * p0.x + b * p1.x + c * p2.x + d * p3.x),
                            nearest(a * p0.y + b * p1.y + c * p2.y + d * p3.y)});
        }
    }
    return flat;
}

int Orientation(Point a, Point b, Point c) {
    const int64_t cross =
        (int64_t{b.x} - a.x) * (int64_t{c.y} - a.y) - (int64_t{b.y} - a.y) * (int64_t{c.x} - a.x);
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}

bool OnSegment(Point a, Point b, Point p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool SegmentsCross(Point a, Point b, Point c, Point d) {
    const int o1 = Orientation(a, b, c), o2 = Orientation(a, b, d), o3 = Orientation(c, d, a),
              o4 = Orientation(c, d, b);
    if (o1 != o2 && o3 != o4) {
        return true;
    }
    return (o1 == 0 && OnSegment(a, b, c)) || (o2 == 0 && OnSegment(a, b, d)) ||
           (o3 == 0 && OnSegment(c, d, a)) || (o4 == 0 && OnSegment(c, d, b));
}

} // namespace

bool IsPickable(const ItemRecord* item) {
    return IsLiveItem(item) && item->suspended == 0 && IsDesignItemKind(item->kind);
}

std::array<Point, 4> TextBox(const ItemRecord& text, int32_t lineHeight) {
    const Point start = First(text), end = Second(text);
    const double direction = start == end ? TenthsToRadians(text.escapement) : PointDirection(start, end);
    const int32_t height = SaturateInt32(int64_t{std::max(LineCount(&text), 1)} * std::max(lineHeight, 0));
    const double up = direction + kPi / 2.0;
    return {start, end, PolarPoint(end, up, height), PolarPoint(start, up, height)};
}

std::optional<int32_t> ItemHitDistance(const ItemRecord& item, Point p, const HitMeasure& measure) {
    const double half = HalfLineWidth(item, measure.screen);
    const std::vector<PointNode>& points = item.pointList;
    auto outline = [&](std::optional<double> d) -> std::optional<int32_t> {
        if (!d) {
            return std::nullopt;
        }
        return std::max(1, Rounded(*d - half));
    };
    switch (static_cast<int32_t>(item.kind)) {
    case ItemKind::Text: {
        if (const int32_t lineHeight = LineHeightOf(item, measure); lineHeight > 0) {
            const std::array<Point, 4> box = TextBox(item, lineHeight);
            if (InsideConvex({box[0], box[1], box[2], box[3], box[0]}, p)) {
                return 1;
            }
        }
        const std::optional<double> d = SegmentDistance(First(item), Second(item), p);
        return d ? std::optional<int32_t>(Rounded(*d)) : std::nullopt;
    }
    case ItemKind::Line:
        return outline(SegmentDistance(First(item), Second(item), p));
    case ItemKind::Triangle:
    case ItemKind::Square:
    case ItemKind::Rectangle:
    case ItemKind::Spline:
        return outline(EdgeDistance(points, 0, ClosedFigure(item), p));
    case ItemKind::Polygon:
    case ItemKind::Star:
        // The centre point is no corner.
        return outline(EdgeDistance(points, 1, true, p));
    case ItemKind::Curve: {
        int32_t best = kNoHit;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            best = std::min(best, CurveSegmentHitDistance(points[i], points[i + 1], p));
        }
        if (item.shapeMode != 0 && points.size() > 2) {
            best = std::min(best, CurveSegmentHitDistance(points.back(), points.front(), p));
        }
        return best == kNoHit ? std::nullopt : outline(double(best));
    }
    case ItemKind::Circle: {
        if (points.size() < 2) {
            return std::nullopt;
        }
        const Point centre = NodePoint(points[0]);
        const double radius = PointDistance(centre, NodePoint(points[1]));
        return std::max(0, Rounded(std::fabs(PointDistance(centre, p) - radius) - half));
    }
    case ItemKind::Ellipse: {
        if (points.size() < 3) {
            return std::nullopt;
        }
        const int32_t d =
            EllipseHitDistance(NodePoint(points[0]), NodePoint(points[1]), NodePoint(points[2]), p);
        return std::max(0, Rounded(d - half));
    }
    case ItemKind::Pie:
    case ItemKind::Arc: {
        if (points.size() < 3) {
            return std::nullopt;
        }
        const int32_t d =
            ArcHitDistance(item.kind, NodePoint(points[0]), p, NodePoint(points[2]), NodePoint(points[1]));
        return d == kNoHit ? std::nullopt : std::optional<int32_t>(std::max(0, Rounded(d - half)));
    }
    case ItemKind::Clip: {
        if (item.clipShape == ClipShape::Round) {
            const double radius = PointDistance(First(item), Second(item));
            return Rounded(std::fabs(radius - PointDistance(First(item), p)));
        }
        const std::array<Point, 5> corners = ClipCorners(item);
        std::optional<double> best;
        for (size_t i = 0; i < 4; ++i) {
            if (auto d = SegmentDistance(corners[i], corners[i + 1], p); d && (!best || *d < *best)) {
                best = d;
            }
        }
        return best ? std::optional<int32_t>(Rounded(*best)) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

ItemRecord* PickItem(const ItemList& list, Point p, const HitMeasure& measure) {
    ItemRecord* chosen = nullptr;
    int32_t best = measure.reach;
    for (ItemRecord* item : list) {
        if (!IsPickable(item)) {
            continue;
        }
        const std::optional<int32_t> d = ItemHitDistance(*item, p, measure);
        if (!d) {
            continue;
        }
        // Equally near: the one on top wins; no choice yet counts as stacking number 0.
        if (*d < best || (*d == best && item->zOrder > (chosen ? int32_t(chosen->zOrder) : 0))) {
            chosen = item;
            best = *d;
        }
    }
    return chosen;
}

std::vector<std::vector<Point>> OutlinePolylines(const ItemRecord& item, const HitMeasure& measure) {
    switch (static_cast<int32_t>(item.kind)) {
    case ItemKind::Text: {
        const std::array<Point, 4> box = TextBox(item, LineHeightOf(item, measure));
        return {{box[0], box[1], box[2], box[3], box[0]}};
    }
    case ItemKind::Line:
        return {{First(item), Second(item)}};
    case ItemKind::Clip: {
        if (item.clipShape == ClipShape::Round) {
            const double radius = PointDistance(First(item), Second(item));
            return {Ellipse(First(item), radius, radius, 0.0)};
        }
        const std::array<Point, 5> corners = ClipCorners(item);
        return {{corners.begin(), corners.end()}};
    }
    default:
        break;
    }
    if (!IsShapeKind(item.kind)) {
        return {};
    }
    const DeviceOutline outline = ShapeOutline(item, ViewTransform{});
    switch (outline.form) {
    case OutlineForm::Polyline:
        return {outline.points};
    case OutlineForm::Polygon: {
        std::vector<Point> closed = outline.points;
        if (!closed.empty()) {
            closed.push_back(closed.front());
        }
        return {closed};
    }
    case OutlineForm::Ellipse: {
        const Rect& r = outline.bounds;
        const Point centre{SaturateInt32((int64_t{r.left} + r.right) / 2),
                           SaturateInt32((int64_t{r.top} + r.bottom) / 2)};
        return {Ellipse(centre, (double(r.right) - r.left) / 2.0, (double(r.bottom) - r.top) / 2.0, 0.0)};
    }
    case OutlineForm::Bezier: {
        std::vector<Point> flat = FlattenBezier(outline.points);
        if (outline.filled && !flat.empty()) {
            flat.push_back(flat.front());
        }
        return {flat};
    }
    case OutlineForm::None:
        break;
    }
    return {};
}

bool AreaTakes(const ItemRecord& item, const Rect& area, bool partial, const HitMeasure& measure) {
    Rect bounds{item.boundLeft, item.boundTop, item.boundRight, item.boundBottom};
    if (IsMarker(&item)) {
        bounds = {item.x1, item.y1, item.x1, item.y1};
    }
    if (bounds.left >= area.left && bounds.right <= area.right && bounds.top >= area.top &&
        bounds.bottom <= area.bottom) {
        return true;
    }
    if (!partial) {
        return false;
    }
    const Point corners[5] = {{area.left, area.top},
                              {area.right, area.top},
                              {area.right, area.bottom},
                              {area.left, area.bottom},
                              {area.left, area.top}};
    for (const std::vector<Point>& line : OutlinePolylines(item, measure)) {
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            for (size_t side = 0; side < 4; ++side) {
                if (SegmentsCross(line[i], line[i + 1], corners[side], corners[side + 1])) {
                    return true;
                }
            }
        }
    }
    return false;
}

ItemRecord* ClipAtPoint(const ItemList& list, Point p) {
    ItemRecord* chosen = nullptr;
    for (ItemRecord* item : list) {
        if (IsPickable(item) && item->kind == ItemKind::Clip && InsideConvex(ClipCorners(*item), p) &&
            (!chosen || item->zOrder > chosen->zOrder)) {
            chosen = item;
        }
    }
    return chosen;
}

} // namespace vlr
