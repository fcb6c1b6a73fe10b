// Shape outlines: the points each shape kind stores, the generators that make them when a shape
// is inserted or edited, the handle rules of curves, and the outlines in device pixels that the
// plain, shadow and shaded drawing paint. Pure functions on design and device points.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vlr {

// shapeMode of splines and curves (triangles, squares and rectangles are made filled).
namespace ShapeMode {
inline constexpr int32_t Open = 0;
inline constexpr int32_t Closed = 1;
inline constexpr int32_t Filled = 2;
} // namespace ShapeMode

// Handle length of a quarter ellipse per unit of its axis: half of the usual cubic circle
// constant, and the default tension of curves.
inline constexpr double kBezierKappaHalf = kDefaultTension;

// Polygons and stars are made and drawn only with 3 ... kMaxVertexCount corners or tips.
inline constexpr int32_t kMaxVertexCount = 1024000;
constexpr bool IsDrawableVertexCount(int32_t n) {
    return n >= 3 && n <= kMaxVertexCount;
}

// ---- point generators: each replaces the list; every new node's saved point equals its point
// and its control points are zero ----

// A, B, B + v, A + v with v the edge A-B turned a quarter counter-clockwise.
void SquareFromEdge(std::vector<PointNode>& list, Point a, Point b);
// C, K, then n corners about C starting one step after K (the last lands on K again). False and
// the list unchanged when n is not a drawable vertex count.
bool RegularPolygonPoints(std::vector<PointNode>& list, Point centre, Point corner, int32_t n);
// C, T, then 2n vertices about C alternating between the inner radius |CI| (odd) and the tip
// radius |CT| (even), so point 3 is the first inner vertex. False and the list unchanged when n is
// not a drawable vertex count.
bool StarPoints(std::vector<PointNode>& list, Point centre, Point inner, Point tip, int32_t n);
// C, S, and the point at the direction of E on the circle through S.
void ArcPoints(std::vector<PointNode>& list, Point centre, Point start, Point end);

// ---- curve handles (k is the curve's tension) ----

// Every node with two neighbours gets a tangent perpendicular to the bisector of the angle
// between them; each handle is k times the length of its own segment. Sets the node's ctrl1
// and its predecessor's ctrl2.
void SmoothInteriorNodes(std::vector<PointNode>& list, double k);
// The end segments of an open curve leave and enter their end points along the chord.
void OpenCurveEnds(std::vector<PointNode>& list, double k);
// A closed curve: the first node is smoothed with the last as its predecessor and the last with
// the first as its successor; the closing segment runs from the last node's handles to the first.
void ClosedCurveEnds(std::vector<PointNode>& list, double k);
// The full recomputation after a node is added, moved or deleted or the mode changes: interior
// nodes, then the end rule of the mode (open for ShapeMode::Open, closed otherwise).
void SmoothCurve(std::vector<PointNode>& list, int32_t shapeMode, double k);
// While the last node follows the mouse: the segment to it starts straight, and the node
// before it is smoothed when it has a predecessor.
void StraightenLastSegment(std::vector<PointNode>& list, double k);

// ---- outline producers, on device points ----

// The ellipse about C with half-length |CL| along the direction of L and half-width the distance
// of W from that axis, as 13 points of four cubic segments, and their bounding box.
struct EllipseBezier {
    std::array<Point, 13> points;
    Rect bounds;
};
EllipseBezier EllipseBezierPoints(Point centre, Point lengthPoint, Point widthPoint);
// The arc from S counter-clockwise to the direction of E, sampled every kArcStep of sweep:
// S, the interior samples that differ from the one before, then the end point.
std::vector<Point> ArcPolyline(Point centre, Point start, Point end);
// n corners starting at K; empty when n is not a drawable vertex count.
std::vector<Point> PolygonCorners(Point centre, Point corner, int32_t n);
// 2n vertices starting at the tip T, inner vertices at the radius |CI|; empty when n is not a
// drawable vertex count.
std::vector<Point> StarVertices(Point centre, Point tip, Point inner, int32_t n);
// The nodes of a curve (points and handles already in device pixels) as consecutive cubic
// segments: point, ctrl1, ctrl2, next point ...; closed through the last node's handles back to
// the first point when asked. A node on the same place as the one before is skipped, and the
// array always ends on a node point.
std::vector<Point> CurveBezierPoints(const std::vector<PointNode>& nodes, bool closed);

// The smallest rectangle holding the points, corners inclusive; (0, 0, 0, 0) for no points.
Rect BoxOf(std::span<const Point> points);

// How an outline is painted.
enum class OutlineForm {
    None,     // nothing is drawn
    Polyline, // joined segments
    Polygon,  // closed by the painter, even-odd interior
    Ellipse,  // the ellipse inscribed in bounds
    Bezier,   // consecutive cubic segments: start point, then three points per segment
};

struct DeviceOutline {
    OutlineForm form = OutlineForm::None;
    // The interior takes the item's fill (when it has one); otherwise only the outline is drawn.
    bool filled = false;
    std::vector<Point> points;
    // The box of the points; for OutlineForm::Ellipse the ellipse's rectangle.
    Rect bounds;
};

// The outline of a shape from its stored points, mapped through the transform first so that
// radii and angles come from device points.
DeviceOutline ShapeOutline(int32_t kind, int32_t shapeMode, int32_t vertexCount,
                           const std::vector<PointNode>& points, const ViewTransform& transform);
DeviceOutline ShapeOutline(const ItemRecord& item, const ViewTransform& transform);

} // namespace vlr
