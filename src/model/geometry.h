// Plane geometry on design pixels: the view transform through which every item is drawn, and
// the distance, direction, bounds and hit-distance helpers shared by the renderer, the canvas
// and the composer. Pure functions; degenerate input has defined results.
#pragma once

#include "model/itemrecord.h"

#include <array>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace vlr {

// Maps design pixels to device pixels: per-axis scale and an integer origin. The canvas uses
// the zoom as scale; printing and export use device resolution / screen resolution.
struct ViewTransform {
    double scaleX = 1.0;
    double scaleY = 1.0;
    int32_t originX = 0;
    int32_t originY = 0;
};

// The canvas at a zoom (1.0 = 100 %), its tile offset as origin. A zoom that is not a positive
// finite number draws at 100 %.
ViewTransform CanvasTransform(double zoom, Point origin = {});
// A printer or an exported picture: device resolution / screen resolution per axis, the position
// of the current copy as origin. A resolution that is not a positive finite number counts as the
// screen's, so that axis draws at scale 1.
ViewTransform DeviceTransform(double deviceDpiX, double deviceDpiY, const ScreenResolution& screen,
                              Point origin = {});

enum class Axis { Horizontal, Vertical };
// A page dimension in inches by its measuring unit (1 pixels, by the screen resolution of the
// axis; 2 millimetres, by 25.4; 3 inches and every unknown code unchanged).
double ToInches(double value, int32_t unit, Axis axis, const ScreenResolution& screen);
// Text angles are stored in tenths of a degree, counter-clockwise.
double TenthsToRadians(double tenths);

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A hit distance that means "nothing near".
inline constexpr int32_t kNoHit = std::numeric_limits<int32_t>::max();

Point ToDevice(Point point, const ViewTransform& transform);
// max(round(zoom), round(zoom * weightMm * pxPerMmY)): 0 means the thinnest line.
int32_t PenWidthPixels(double zoom, double weightMm, const ScreenResolution& screen);

double PointDistance(Point a, Point b);
// (centre.x + round(radius cos angle), centre.y - round(radius sin angle)); y grows downwards.
Point PolarPoint(Point centre, double angle, double radius);

struct PerpendicularFootResult {
    Point foot;
    bool withinSegment = false;
};
// The foot of the perpendicular from p onto the line a-b; nearly vertical and nearly horizontal
// lines are taken as exactly so.
PerpendicularFootResult PerpendicularFoot(Point a, Point b, Point p);

inline Point NodePoint(const PointNode& node) {
    return {node.x, node.y};
}
// Point i (1-based) of a point list; (0, 0) when the list is shorter.
Point PointAt(const std::vector<PointNode>& points, size_t i);
// Inclusive on every side.
bool PointInRect(Point point, const Rect& rect);

// One sample of an arc per this many radians of sweep (400 on a full turn).
inline constexpr double kArcStep = std::numbers::pi / 200.0;

// The directions of an arc from its centre to its start and end points, and its counter-clockwise
// sweep from the start, at most a full turn. end is start + sweep, possibly above 2 pi.
struct ArcSweep {
    double start = 0.0;
    double end = 0.0;
    double sweep = 0.0;
};
ArcSweep ArcSweepOf(Point centre, Point start, Point end);
// The sample positions of a sweep: round(sweep / kArcStep), at least 2.
int32_t ArcSampleCount(double sweep);

// Refits a shape's two points to its outline grown by a margin (the pen width or half a
// selection marker, whichever is larger) and derives its bounds, spans, length and world values.
void ShapeBounds(ItemRecord* item, const ScreenResolution& screen, int32_t markerWidth = 8,
                 int32_t markerHeight = 8);
Rect ArcBounds(Point centre, Point start, Point end);

int32_t EllipseHitDistance(Point centre, Point lengthPoint, Point widthPoint, Point p);
// kNoHit when no sample applies.
int32_t ArcHitDistance(int32_t kind, Point centre, Point p, Point end, Point start);
// The Bezier segment from a to b (a's control points) against p.
int32_t CurveSegmentHitDistance(const PointNode& a, const PointNode& b, Point p);

// Rotations about a pivot, from the saved points (the state when the drag began).
void RotatePointsAbout(std::vector<PointNode>& points, Point pivot, double delta);
// A line or text: its two saved points (baseX1 ... baseY2) rotated into x1 ... y2.
void RotateEndsAbout(ItemRecord* item, Point pivot, double delta);
// A picture: the saved rectangle's centre is rotated and the rectangle moved with it; the
// picture's own rotation carries the turn and is the caller's.
void RotateRectangleAbout(ItemRecord* item, Point pivot, double delta);

// Point and both control points of every node := saved + (dx, dy).
void MoveFromSaved(std::vector<PointNode>& points, int32_t dx, int32_t dy);
void SaveCurrentAsSaved(std::vector<PointNode>& points);
// The mean of the saved points, rounded; (0, 0) for an empty list.
Point PointCentroid(const std::vector<PointNode>& points);

// The corners of a picture's rectangle turned by its rotation about the rectangle's centre,
// the fifth equal to the first.
std::array<Point, 5> RotatedRectCorners(const ItemRecord* item);
// Keeps an ellipse's length axis (point 2) the longer one by swapping the axes when needed.
void NormalizeEllipse(ItemRecord* item);

} // namespace vlr
