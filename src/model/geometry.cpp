// Plane geometry on design pixels. Coordinates are int32; every sum, difference and square that
// could leave that range is taken in double or 64 bits and comes back through nearest() or a
// saturating conversion.
#include "model/geometry.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

bool PositiveFinite(double value) {
    return std::isfinite(value) && value > 0.0;
}

void Grow(Rect& rect, Point point) {
    rect.left = std::min(rect.left, point.x);
    rect.right = std::max(rect.right, point.x);
    rect.top = std::min(rect.top, point.y);
    rect.bottom = std::max(rect.bottom, point.y);
}

// An angle as a turn to the left or right, in (-pi, pi].
double SignedTurn(double angle) {
    const double reduced = ReducedAngle(angle);
    return reduced > kPi ? reduced - 2.0 * kPi : reduced;
}

Point RotatedAbout(Point pivot, Point saved, double delta) {
    return PolarPoint(pivot, PointDirection(pivot, saved) + delta, PointDistance(pivot, saved));
}

} // namespace

ViewTransform CanvasTransform(double zoom, Point origin) {
    double scale = PositiveFinite(zoom) ? zoom : 1.0;
    return {scale, scale, origin.x, origin.y};
}

ViewTransform DeviceTransform(double deviceDpiX, double deviceDpiY, const ScreenResolution& screen,
                              Point origin) {
    return {PositiveFinite(deviceDpiX) ? deviceDpiX / screen.dpiX() : 1.0,
            PositiveFinite(deviceDpiY) ? deviceDpiY / screen.dpiY() : 1.0, origin.x, origin.y};
}

double ToInches(double value, int32_t unit, Axis axis, const ScreenResolution& screen) {
    switch (unit) {
    case 1: // pixels
        return value / (axis == Axis::Horizontal ? screen.dpiX() : screen.dpiY());
    case 2: // millimetres
        return value / 25.4;
    default:
        return value;
    }
}

double TenthsToRadians(double tenths) {
    return tenths / 10.0 * kPi / 180.0;
}

ArcSweep ArcSweepOf(Point centre, Point start, Point end) {
    ArcSweep arc{PointDirection(centre, start), PointDirection(centre, end), 0.0};
    if (arc.start > arc.end) {
        arc.end += 2.0 * kPi;
    }
    arc.sweep = arc.end - arc.start;
    if (arc.sweep > 2.0 * kPi) {
        arc.sweep -= 2.0 * kPi;
    }
    return arc;
}

int32_t ArcSampleCount(double sweep) {
    return std::max(2, nearest(sweep / kArcStep));
}

Point ToDevice(Point point, const ViewTransform& transform) {
    return {SaturatingAdd(nearest(point.x * transform.scaleX), transform.originX),
            SaturatingAdd(nearest(point.y * transform.scaleY), transform.originY)};
}

int32_t PenWidthPixels(double zoom, double weightMm, const ScreenResolution& screen) {
    return std::max(nearest(zoom), nearest(zoom * weightMm * screen.pxPerMmY()));
}

double PointDistance(Point a, Point b) {
    double dx = static_cast<double>(b.x) - a.x;
    double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

Point PolarPoint(Point centre, double angle, double radius) {
    return {SaturatingAdd(centre.x, nearest(radius * std::cos(angle))),
            SaturatingAdd(centre.y, -static_cast<int64_t>(nearest(radius * std::sin(angle))))};
}

PerpendicularFootResult PerpendicularFoot(Point a, Point b, Point p) {
    PerpendicularFootResult result;
    int64_t dx = static_cast<int64_t>(a.x) - b.x;
    if (std::llabs(dx) <= 2) {
        result.foot = {a.x, p.y}; // taken as vertical
    } else {
        double slope = (static_cast<double>(a.y) - b.y) / static_cast<double>(dx);
        if (a.y == b.y || std::fabs(slope) < 0.0001) {
            result.foot = {p.x, a.y}; // taken as horizontal
        } else {
            double normal = -1.0 / slope;
            double intercept = a.y - slope * a.x;
            double fx = ((p.y - normal * p.x) - intercept) / (slope - normal);
            result.foot = {nearest(fx), nearest(intercept + slope * fx)};
        }
    }
    auto between = [](int32_t v, int32_t e1, int32_t e2) {
        return e1 == e2 || (v >= std::min(e1, e2) && v <= std::max(e1, e2));
    };
    result.withinSegment = between(result.foot.x, a.x, b.x) && between(result.foot.y, a.y, b.y);
    return result;
}

Point PointAt(const std::vector<PointNode>& points, size_t i) {
    if (i < 1 || i > points.size()) {
        return {0, 0};
    }
    return NodePoint(points[i - 1]);
}

bool PointInRect(Point point, const Rect& rect) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

void ShapeBounds(ItemRecord* item, const ScreenResolution& screen, int32_t markerWidth,
                 int32_t markerHeight) {
    const std::vector<PointNode>& points = item->pointList;
    const int32_t margin = std::max({int32_t(item->penWidthPx), markerWidth / 2, markerHeight / 2});
    const Point p1 = PointAt(points, 1), p2 = PointAt(points, 2), p3 = PointAt(points, 3);

    Rect extent;
    auto around = [&extent](Point centre, int64_t radius) {
        extent = {SaturatingAdd(centre.x, -radius), SaturatingAdd(centre.y, -radius),
                  SaturatingAdd(centre.x, radius), SaturatingAdd(centre.y, radius)};
    };
    switch (static_cast<int32_t>(item->kind)) {
    case ItemKind::Circle:
        around(p1, nearest(PointDistance(p1, p2)));
        break;
    case ItemKind::Ellipse: {
        Point foot = PerpendicularFoot(p1, p2, p3).foot;
        around(p1, std::max(nearest(PointDistance(p1, p2)), nearest(PointDistance(p3, foot))));
        break;
    }
    case ItemKind::Polygon:
        around(p1, std::max(1, nearest(PointDistance(p1, p2))));
        break;
    case ItemKind::Star:
        around(p1, std::max(nearest(PointDistance(p1, p2)), nearest(PointDistance(p1, p3))));
        break;
    case ItemKind::Pie:
    case ItemKind::Arc:
        extent = ArcBounds(p1, p2, p3);
        break;
    default:
        // A shape without points has the empty extent at the origin, not an inverted one.
        if (!points.empty()) {
            extent = {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
                      std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
            for (const PointNode& node : points) {
                Grow(extent, NodePoint(node));
                if (item->kind == ItemKind::Curve) {
                    Grow(extent, {node.ctrl1X, node.ctrl1Y});
                    Grow(extent, {node.ctrl2X, node.ctrl2Y});
                }
            }
        }
        break;
    }

    item->x1 = SaturatingAdd(extent.left, -margin);
    item->y1 = SaturatingAdd(extent.top, -margin);
    item->x2 = SaturatingAdd(extent.right, margin);
    item->y2 = SaturatingAdd(extent.bottom, margin);
    SetWorldFromPixels(item, screen);
    item->boundLeft = std::min<int32_t>(item->x1, item->x2);
    item->boundRight = std::max<int32_t>(item->x1, item->x2);
    item->boundTop = std::min<int32_t>(item->y1, item->y2);
    item->boundBottom = std::max<int32_t>(item->y1, item->y2);
    item->spanX = SaturateInt32(std::llabs(static_cast<int64_t>(item->x2) - item->x1));
    item->spanY = SaturateInt32(std::llabs(static_cast<int64_t>(item->y2) - item->y1));
    double spanX = item->spanX, spanY = item->spanY;
    item->spanLength = nearest(std::sqrt(spanX * spanX + spanY * spanY));
}

Rect ArcBounds(Point centre, Point start, Point end) {
    Rect rect{std::min(centre.x, start.x), std::min(centre.y, start.y), std::max(centre.x, start.x),
              std::max(centre.y, start.y)};
    const ArcSweep arc = ArcSweepOf(centre, start, end);
    const int32_t n = ArcSampleCount(arc.sweep);
    const double step = arc.sweep / (n - 1);
    const double radius = PointDistance(centre, start) + 1.0;
    for (int32_t k = 1; k <= n - 2; ++k) {
        Grow(rect, PolarPoint(centre, arc.start + k * step, radius));
    }
    Grow(rect, PolarPoint(centre, arc.end, radius));
    return {SaturatingAdd(rect.left, -1), SaturatingAdd(rect.top, -1), SaturatingAdd(rect.right, 1),
            SaturatingAdd(rect.bottom, 1)};
}

int32_t EllipseHitDistance(Point centre, Point lengthPoint, Point widthPoint, Point p) {
    double a = PointDistance(centre, lengthPoint);
    Point foot = PerpendicularFoot(centre, lengthPoint, widthPoint).foot;
    double b = PointDistance(widthPoint, foot);
    if (nearest(a) == nearest(b)) {
        return SaturateInt32(
            std::llabs(static_cast<int64_t>(nearest(PointDistance(centre, p))) - nearest(a)));
    }
    double major = std::max(a, b), minor = std::min(a, b);
    double focal = std::sqrt(major * major - minor * minor);
    double phi = a > b ? PointDirection(centre, lengthPoint) : PointDirection(foot, widthPoint);
    Point focus1 = PolarPoint(centre, phi, focal);
    Point focus2 = PolarPoint(centre, phi, -focal);
    double deviation = 2.0 * major - (PointDistance(focus1, p) + PointDistance(focus2, p));
    return nearest(deviation * deviation); // the square of the deviation, saturated
}

int32_t ArcHitDistance(int32_t kind, Point centre, Point p, Point end, Point start) {
    int32_t result = kNoHit;
    if (kind == ItemKind::Pie) {
        for (Point edge : {start, end}) {
            PerpendicularFootResult foot = PerpendicularFoot(centre, edge, p);
            if (foot.withinSegment) {
                result = std::min(result, nearest(PointDistance(p, foot.foot)));
            }
        }
    }
    const ArcSweep arc = ArcSweepOf(centre, start, end);
    const double radius = PointDistance(centre, start);
    const int32_t n = ArcSampleCount(arc.sweep);
    const double step = arc.sweep / (n - 1);
    for (int32_t k = 1; k <= n - 2; ++k) {
        result =
            std::min(result, nearest(PointDistance(p, PolarPoint(centre, arc.start + k * step, radius))));
    }
    return result;
}

int32_t CurveSegmentHitDistance(const PointNode& a, const PointNode& b, Point p) {
    Point pa = NodePoint(a), pb = NodePoint(b);
    Point handle1{a.ctrl1X, a.ctrl1Y}, handle2{a.ctrl2X, a.ctrl2Y};
    double h1 = PointDirection(pa, handle1);
    double r1 = SignedTurn(PointDirection(pa, pb) - h1);
    Point q1 = PolarPoint(pa, h1 + r1 / 2.0, PointDistance(pa, handle1));
    double h2 = PointDirection(pb, handle2);
    double r2 = SignedTurn(PointDirection(pb, pa) - h2);
    Point q2 = PolarPoint(pb, h2 + r2 / 2.0, PointDistance(pb, handle2));

    int32_t result = kNoHit;
    PerpendicularFootResult foot = PerpendicularFoot(q1, q2, p);
    if (!foot.withinSegment) {
        foot = PerpendicularFoot(q2, q1, p);
    }
    if (foot.withinSegment) {
        result = nearest(PointDistance(p, foot.foot));
    }
    return std::min({result, nearest(PointDistance(pa, p)), nearest(PointDistance(pb, p))});
}

void RotatePointsAbout(std::vector<PointNode>& points, Point pivot, double delta) {
    for (PointNode& node : points) {
        Point point = RotatedAbout(pivot, {node.savedX, node.savedY}, delta);
        Point ctrl1 = RotatedAbout(pivot, {node.savedCtrl1X, node.savedCtrl1Y}, delta);
        Point ctrl2 = RotatedAbout(pivot, {node.savedCtrl2X, node.savedCtrl2Y}, delta);
        node.x = point.x;
        node.y = point.y;
        node.ctrl1X = ctrl1.x;
        node.ctrl1Y = ctrl1.y;
        node.ctrl2X = ctrl2.x;
        node.ctrl2Y = ctrl2.y;
    }
}

void RotateEndsAbout(ItemRecord* item, Point pivot, double delta) {
    Point first = RotatedAbout(pivot, {item->baseX1, item->baseY1}, delta);
    Point second = RotatedAbout(pivot, {item->baseX2, item->baseY2}, delta);
    item->x1 = first.x;
    item->y1 = first.y;
    item->x2 = second.x;
    item->y2 = second.y;
}

void RotateRectangleAbout(ItemRecord* item, Point pivot, double delta) {
    // Integer halving of the sums truncates toward zero.
    Point centre{SaturateInt32((static_cast<int64_t>(item->baseX1) + item->baseX2) / 2),
                 SaturateInt32((static_cast<int64_t>(item->baseY1) + item->baseY2) / 2)};
    Point moved = RotatedAbout(pivot, centre, delta);
    int64_t dx = static_cast<int64_t>(moved.x) - centre.x;
    int64_t dy = static_cast<int64_t>(moved.y) - centre.y;
    item->x1 = SaturatingAdd(item->baseX1, dx);
    item->y1 = SaturatingAdd(item->baseY1, dy);
    item->x2 = SaturatingAdd(item->baseX2, dx);
    item->y2 = SaturatingAdd(item->baseY2, dy);
}

void MoveFromSaved(std::vector<PointNode>& points, int32_t dx, int32_t dy) {
    for (PointNode& node : points) {
        node.x = SaturatingAdd(node.savedX, dx);
        node.y = SaturatingAdd(node.savedY, dy);
        node.ctrl1X = SaturatingAdd(node.savedCtrl1X, dx);
        node.ctrl1Y = SaturatingAdd(node.savedCtrl1Y, dy);
        node.ctrl2X = SaturatingAdd(node.savedCtrl2X, dx);
        node.ctrl2Y = SaturatingAdd(node.savedCtrl2Y, dy);
    }
}

void SaveCurrentAsSaved(std::vector<PointNode>& points) {
    for (PointNode& node : points) {
        node.savedX = node.x;
        node.savedY = node.y;
        node.savedCtrl1X = node.ctrl1X;
        node.savedCtrl1Y = node.ctrl1Y;
        node.savedCtrl2X = node.ctrl2X;
        node.savedCtrl2Y = node.ctrl2Y;
    }
}

Point PointCentroid(const std::vector<PointNode>& points) {
    if (points.empty()) {
        return {0, 0};
    }
    double sumX = 0.0, sumY = 0.0;
    for (const PointNode& node : points) {
        sumX += node.savedX;
        sumY += node.savedY;
    }
    double count = static_cast<double>(points.size());
    return {nearest(sumX / count), nearest(sumY / count)};
}

std::array<Point, 5> RotatedRectCorners(const ItemRecord* item) {
    Point centre{SaturateInt32((static_cast<int64_t>(item->boundLeft) + item->boundRight) / 2),
                 SaturateInt32((static_cast<int64_t>(item->boundTop) + item->boundBottom) / 2)};
    const Point corners[4] = {{item->boundLeft, item->boundTop},
                              {item->boundRight, item->boundTop},
                              {item->boundRight, item->boundBottom},
                              {item->boundLeft, item->boundBottom}};
    std::array<Point, 5> turned;
    for (int i = 0; i < 4; ++i) {
        turned[i] = PolarPoint(centre, PointDirection(centre, corners[i]) + item->rotation,
                               PointDistance(centre, corners[i]));
    }
    turned[4] = turned[0];
    return turned;
}

void NormalizeEllipse(ItemRecord* item) {
    std::vector<PointNode>& points = item->pointList;
    if (points.size() < 3) {
        return;
    }
    Point centre = NodePoint(points[0]), lengthPoint = NodePoint(points[1]),
          widthPoint = NodePoint(points[2]);
    int32_t length = nearest(PointDistance(centre, lengthPoint));
    int32_t width =
        nearest(PointDistance(widthPoint, PerpendicularFoot(centre, lengthPoint, widthPoint).foot));
    if (length >= width) {
        return;
    }
    double theta = PointDirection(centre, lengthPoint) + kPi / 2.0;
    Point newLength = PolarPoint(centre, theta, width);
    Point newWidth = PolarPoint(centre, theta + kPi / 2.0, length);
    points[1].x = points[1].savedX = newLength.x;
    points[1].y = points[1].savedY = newLength.y;
    points[2].x = points[2].savedX = newWidth.x;
    points[2].y = points[2].savedY = newWidth.y;
    item->direction = PointDirection(centre, newLength);
}

} // namespace vlr
