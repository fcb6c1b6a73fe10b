// Shape outlines from stored points: generators, curve handles and device outlines.
#include "model/outline.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace vlr {

namespace {

PointNode NewNode(Point point) {
    return {.x = point.x, .y = point.y, .savedX = point.x, .savedY = point.y};
}

Point Ctrl1(const PointNode& node) {
    return {node.ctrl1X, node.ctrl1Y};
}
Point Ctrl2(const PointNode& node) {
    return {node.ctrl2X, node.ctrl2Y};
}
void SetCtrl1(PointNode& node, Point point) {
    node.ctrl1X = point.x;
    node.ctrl1Y = point.y;
}
void SetCtrl2(PointNode& node, Point point) {
    node.ctrl2X = point.x;
    node.ctrl2Y = point.y;
}

// The interior rule at one node. prev and next may be the same node (a closed curve of two
// nodes), so everything is computed before anything is written.
void SmoothNode(PointNode& prev, PointNode& node, const PointNode& next, double k) {
    const Point at = NodePoint(node), before = NodePoint(prev), after = NodePoint(next);
    const double towardsPrev = PointDirection(at, before);
    double opening = PointDirection(at, after) - towardsPrev;
    if (opening < 0.0) {
        opening += 2.0 * kPi;
    }
    const double bisector = towardsPrev + opening / 2.0;
    const Point forward = PolarPoint(at, bisector + kPi / 2.0, k * PointDistance(at, after));
    const Point backward = PolarPoint(at, bisector - kPi / 2.0, k * PointDistance(before, at));
    SetCtrl1(node, forward);
    SetCtrl2(prev, backward);
}

// The corners of a regular polygon about C after K, counted on from K in steps of 2 pi / n.
std::vector<Point> PolygonRing(Point centre, Point corner, int32_t n, int32_t count) {
    std::vector<Point> ring;
    ring.reserve(static_cast<size_t>(count) + 1);
    const double start = PointDirection(centre, corner), radius = PointDistance(centre, corner);
    const double step = 2.0 * kPi / n;
    for (int32_t j = 1; j <= count; ++j) {
        ring.push_back(PolarPoint(centre, start + j * step, radius));
    }
    return ring;
}

// The vertices of a star about C after the tip T, in steps of pi / n: inner (radius |CI|) at odd
// steps, tips at even ones.
std::vector<Point> StarRing(Point centre, Point tip, Point inner, int32_t n, int32_t count) {
    std::vector<Point> ring;
    ring.reserve(static_cast<size_t>(count) + 1);
    const double start = PointDirection(centre, tip), step = kPi / n;
    const double tipRadius = PointDistance(centre, tip), innerRadius = PointDistance(centre, inner);
    for (int32_t j = 1; j <= count; ++j) {
        ring.push_back(PolarPoint(centre, start + j * step, j % 2 == 1 ? innerRadius : tipRadius));
    }
    return ring;
}

// The stored points of a polygon or a star: the centre, the defining point, then the ring.
void StoreRing(std::vector<PointNode>& list, Point centre, Point first, const std::vector<Point>& ring) {
    list.clear();
    list.reserve(ring.size() + 2);
    list.push_back(NewNode(centre));
    list.push_back(NewNode(first));
    for (Point point : ring) {
        list.push_back(NewNode(point));
    }
}

// The defining point followed by the ring: the corners or vertices as drawn.
std::vector<Point> WithFirst(Point first, std::vector<Point> ring) {
    ring.insert(ring.begin(), first);
    return ring;
}

} // namespace

Rect BoxOf(std::span<const Point> points) {
    if (points.empty()) {
        return {};
    }
    Rect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (Point point : points) {
        box.left = std::min(box.left, point.x);
        box.right = std::max(box.right, point.x);
        box.top = std::min(box.top, point.y);
        box.bottom = std::max(box.bottom, point.y);
    }
    return box;
}

namespace {

PointNode DeviceNode(const PointNode& node, const ViewTransform& transform) {
    PointNode device;
    const Point point = ToDevice(NodePoint(node), transform);
    device.x = point.x;
    device.y = point.y;
    SetCtrl1(device, ToDevice(Ctrl1(node), transform));
    SetCtrl2(device, ToDevice(Ctrl2(node), transform));
    return device;
}

// Triangles, squares, rectangles, splines and solids: the points in list order by mode.
DeviceOutline PointListOutline(std::vector<Point> points, int32_t shapeMode) {
    DeviceOutline outline;
    if (points.size() < 2) {
        return outline;
    }
    if (points.size() == 2) {
        outline.form = OutlineForm::Polyline;
    } else if (shapeMode == ShapeMode::Filled) {
        outline.form = OutlineForm::Polygon;
        outline.filled = true;
    } else {
        outline.form = OutlineForm::Polyline;
        if (shapeMode == ShapeMode::Closed && points.front() != points.back()) {
            points.push_back(points.front());
        }
    }
    outline.points = std::move(points);
    outline.bounds = BoxOf(outline.points);
    return outline;
}

} // namespace

void SquareFromEdge(std::vector<PointNode>& list, Point a, Point b) {
    const Point side = PolarPoint({0, 0}, PointDirection(a, b) + kPi / 2.0, PointDistance(a, b));
    list = {NewNode(a), NewNode(b), NewNode({SaturatingAdd(b.x, side.x), SaturatingAdd(b.y, side.y)}),
            NewNode({SaturatingAdd(a.x, side.x), SaturatingAdd(a.y, side.y)})};
}

bool RegularPolygonPoints(std::vector<PointNode>& list, Point centre, Point corner, int32_t n) {
    if (!IsDrawableVertexCount(n)) {
        return false;
    }
    StoreRing(list, centre, corner, PolygonRing(centre, corner, n, n));
    return true;
}

bool StarPoints(std::vector<PointNode>& list, Point centre, Point inner, Point tip, int32_t n) {
    if (!IsDrawableVertexCount(n)) {
        return false;
    }
    StoreRing(list, centre, tip, StarRing(centre, tip, inner, n, 2 * n));
    return true;
}

void ArcPoints(std::vector<PointNode>& list, Point centre, Point start, Point end) {
    list = {NewNode(centre), NewNode(start),
            NewNode(PolarPoint(centre, PointDirection(centre, end), PointDistance(centre, start)))};
}

void SmoothInteriorNodes(std::vector<PointNode>& list, double k) {
    for (size_t i = 1; i + 1 < list.size(); ++i) {
        SmoothNode(list[i - 1], list[i], list[i + 1], k);
    }
}

void OpenCurveEnds(std::vector<PointNode>& list, double k) {
    if (list.size() < 2) {
        return;
    }
    const Point first = NodePoint(list[0]), second = NodePoint(list[1]);
    SetCtrl1(list[0], PolarPoint(first, PointDirection(first, second), k * PointDistance(first, second)));
    PointNode& predecessor = list[list.size() - 2];
    const Point last = NodePoint(list.back()), before = NodePoint(predecessor);
    SetCtrl2(predecessor, PolarPoint(last, PointDirection(last, before), k * PointDistance(last, before)));
}

void ClosedCurveEnds(std::vector<PointNode>& list, double k) {
    if (list.size() < 2) {
        return;
    }
    SmoothNode(list.back(), list.front(), list[1], k);
    SmoothNode(list[list.size() - 2], list.back(), list.front(), k);
}

void SmoothCurve(std::vector<PointNode>& list, int32_t shapeMode, double k) {
    SmoothInteriorNodes(list, k);
    if (shapeMode == ShapeMode::Open) {
        OpenCurveEnds(list, k);
    } else {
        ClosedCurveEnds(list, k);
    }
}

void StraightenLastSegment(std::vector<PointNode>& list, double k) {
    if (list.size() < 2) {
        return;
    }
    PointNode& before = list[list.size() - 2];
    const Point from = NodePoint(before), moving = NodePoint(list.back());
    const double direction = PointDirection(from, moving);
    const double length = k * PointDistance(from, moving);
    SetCtrl1(before, PolarPoint(from, direction, length));
    SetCtrl2(before, PolarPoint(moving, direction + kPi, length));
    if (list.size() >= 3) {
        SmoothNode(list[list.size() - 3], before, list.back(), k);
    }
}

EllipseBezier EllipseBezierPoints(Point centre, Point lengthPoint, Point widthPoint) {
    const double theta = PointDirection(centre, lengthPoint);
    const int64_t a = nearest(PointDistance(centre, lengthPoint));
    const Point foot = PerpendicularFoot(centre, lengthPoint, widthPoint).foot;
    const int64_t b = nearest(PointDistance(widthPoint, foot));
    const int32_t left = SaturatingAdd(centre.x, -a), right = SaturatingAdd(centre.x, a);
    const int32_t top = SaturatingAdd(centre.y, -b), bottom = SaturatingAdd(centre.y, b);
    const int64_t kx = nearest(2.0 * static_cast<double>(a) * kBezierKappaHalf);
    const int64_t ky = nearest((static_cast<double>(bottom) - top) * kBezierKappaHalf);
    const int32_t cx = centre.x, cy = centre.y;

    EllipseBezier ellipse;
    ellipse.points = {
        Point{left, cy},   Point{left, SaturatingAdd(cy, -ky)},   Point{SaturatingAdd(cx, -kx), top},
        Point{cx, top},    Point{SaturatingAdd(cx, kx), top},     Point{right, SaturatingAdd(cy, -ky)},
        Point{right, cy},  Point{right, SaturatingAdd(cy, ky)},   Point{SaturatingAdd(cx, kx), bottom},
        Point{cx, bottom}, Point{SaturatingAdd(cx, -kx), bottom}, Point{left, SaturatingAdd(cy, ky)},
        Point{left, cy}};
    for (Point& point : ellipse.points) {
        point = PolarPoint(centre, PointDirection(centre, point) + theta, PointDistance(centre, point));
    }
    ellipse.bounds = BoxOf(ellipse.points);
    return ellipse;
}

std::vector<Point> ArcPolyline(Point centre, Point start, Point end) {
    const ArcSweep arc = ArcSweepOf(centre, start, end);
    const double radius = PointDistance(centre, start);
    const int32_t n = ArcSampleCount(arc.sweep);
    const double step = arc.sweep / (n - 1);
    std::vector<Point> polyline;
    polyline.reserve(static_cast<size_t>(n));
    polyline.push_back(start);
    for (int32_t j = 1; j <= n - 2; ++j) {
        const Point sample = PolarPoint(centre, arc.start + j * step, radius);
        if (sample != polyline.back()) {
            polyline.push_back(sample);
        }
    }
    polyline.push_back(PolarPoint(centre, arc.end, radius));
    return polyline;
}

std::vector<Point> PolygonCorners(Point centre, Point corner, int32_t n) {
    if (!IsDrawableVertexCount(n)) {
        return {};
    }
    return WithFirst(corner, PolygonRing(centre, corner, n, n - 1));
}

std::vector<Point> StarVertices(Point centre, Point tip, Point inner, int32_t n) {
    if (!IsDrawableVertexCount(n)) {
        return {};
    }
    return WithFirst(tip, StarRing(centre, tip, inner, n, 2 * n - 1));
}

std::vector<Point> CurveBezierPoints(const std::vector<PointNode>& nodes, bool closed) {
    std::vector<Point> bezier;
    if (nodes.empty()) {
        return bezier;
    }
    bezier.reserve(3 * nodes.size() + 1);
    Point lastAppended = NodePoint(nodes[0]);
    for (size_t i = 0; i < nodes.size(); ++i) {
        const Point point = NodePoint(nodes[i]);
        if (i > 0 && point == lastAppended) {
            continue;
        }
        bezier.push_back(point);
        lastAppended = point;
        if (i + 1 < nodes.size()) {
            bezier.push_back(Ctrl1(nodes[i]));
            bezier.push_back(Ctrl2(nodes[i]));
        }
    }
    // When the last nodes repeat the one before, the handles towards them lead nowhere: without
    // this the array would end in the middle of a segment and no cubic could be drawn from it.
    if (bezier.size() % 3 != 1) {
        bezier.resize(bezier.size() - 2);
    }
    if (closed) {
        bezier.push_back(Ctrl1(nodes.back()));
        bezier.push_back(Ctrl2(nodes.back()));
        bezier.push_back(NodePoint(nodes.front()));
    }
    return bezier;
}

DeviceOutline ShapeOutline(int32_t kind, int32_t shapeMode, int32_t vertexCount,
                           const std::vector<PointNode>& points, const ViewTransform& transform) {
    auto device = [&](size_t i) { return ToDevice(PointAt(points, i), transform); };
    DeviceOutline outline;
    switch (kind) {
    case ItemKind::Circle: {
        const Point centre = device(1);
        const int64_t radius = nearest(PointDistance(centre, device(2)));
        outline.form = OutlineForm::Ellipse;
        outline.filled = true;
        outline.bounds = {SaturatingAdd(centre.x, -radius), SaturatingAdd(centre.y, -radius),
                          SaturatingAdd(centre.x, radius), SaturatingAdd(centre.y, radius)};
        return outline;
    }
    case ItemKind::Ellipse: {
        const EllipseBezier ellipse = EllipseBezierPoints(device(1), device(2), device(3));
        outline.form = OutlineForm::Bezier;
        outline.filled = true;
        outline.points.assign(ellipse.points.begin(), ellipse.points.end());
        outline.bounds = ellipse.bounds;
        return outline;
    }
    case ItemKind::Polygon:
        outline.points = PolygonCorners(device(1), device(2), vertexCount);
        break;
    case ItemKind::Star:
        outline.points = StarVertices(device(1), device(2), device(3), vertexCount);
        break;
    case ItemKind::Pie:
    case ItemKind::Arc: {
        const Point centre = device(1), start = device(2);
        outline.points = ArcPolyline(centre, start, device(3));
        if (kind == ItemKind::Arc) {
            outline.form = OutlineForm::Polyline;
            outline.bounds = BoxOf(outline.points);
            return outline;
        }
        outline.points.push_back(centre);
        outline.points.push_back(start);
        break;
    }
    case ItemKind::Triangle:
    case ItemKind::Square:
    case ItemKind::Rectangle:
    case ItemKind::Spline: {
        std::vector<Point> mapped;
        mapped.reserve(points.size());
        for (const PointNode& node : points) {
            mapped.push_back(ToDevice(NodePoint(node), transform));
        }
        return PointListOutline(std::move(mapped), shapeMode);
    }
    case ItemKind::Curve: {
        if (points.size() < 2) {
            return outline;
        }
        if (points.size() == 2) {
            outline.form = OutlineForm::Polyline;
            outline.points = {device(1), device(2)};
        } else {
            std::vector<PointNode> nodes;
            nodes.reserve(points.size());
            for (const PointNode& node : points) {
                nodes.push_back(DeviceNode(node, transform));
            }
            outline.form = OutlineForm::Bezier;
            outline.filled = shapeMode == ShapeMode::Filled;
            outline.points = CurveBezierPoints(nodes, shapeMode == ShapeMode::Closed || outline.filled);
        }
        outline.bounds = BoxOf(outline.points);
        return outline;
    }
    default:
        return outline;
    }
    // Polygons, stars and pies: a filled polygon, or nothing for an undrawable vertex count.
    if (!outline.points.empty()) {
        outline.form = OutlineForm::Polygon;
        outline.filled = true;
        outline.bounds = BoxOf(outline.points);
    }
    return outline;
}

DeviceOutline ShapeOutline(const ItemRecord& item, const ViewTransform& transform) {
    return ShapeOutline(item.kind, item.shapeMode, item.vertexCount, item.pointList, transform);
}

} // namespace vlr
