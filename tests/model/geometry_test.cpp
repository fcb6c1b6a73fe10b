// Geometry helpers against values worked out by hand.
#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace vlr {
namespace {

constexpr double pi = std::numbers::pi;

PointNode Node(int32_t x, int32_t y) {
    return {.x = x, .y = y, .savedX = x, .savedY = y};
}

TEST(ViewTransform, ToDeviceRoundsTiesToEvenThenAddsTheOrigin) {
    ViewTransform half{.scaleX = 0.5, .scaleY = 0.5};
    EXPECT_EQ(ToDevice({1, 3}, half), (Point{0, 2}));   // 0.5 -> 0, 1.5 -> 2
    EXPECT_EQ(ToDevice({5, -5}, half), (Point{2, -2})); // 2.5 -> 2, -2.5 -> -2
    ViewTransform print{.scaleX = 600.0 / 96.0, .scaleY = 600.0 / 96.0, .originX = 100, .originY = -7};
    EXPECT_EQ(ToDevice({96, 48}, print), (Point{700, 293}));
}

TEST(ViewTransform, CanvasZoomAndDeviceResolutions) {
    ViewTransform canvas = CanvasTransform(2.5, {10, 20});
    EXPECT_EQ(ToDevice({3, 5}, canvas), (Point{18, 32})); // 7.5 -> 8, 12.5 -> 12
    for (double bad : {0.0, -2.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(CanvasTransform(bad).scaleX, 1.0);
    }
    // A 600 x 300 dpi printer against a 120 x 96 dpi screen.
    ViewTransform printer = DeviceTransform(600, 300, ScreenResolution(120, 96), {-5, 0});
    EXPECT_EQ(printer.scaleX, 5.0);
    EXPECT_EQ(printer.scaleY, 3.125);
    EXPECT_EQ(ToDevice({10, 10}, printer), (Point{45, 31})); // 31.25 -> 31
    EXPECT_EQ(DeviceTransform(0, std::nan(""), ScreenResolution()).scaleY, 1.0);
    // Far points saturate instead of wrapping.
    EXPECT_EQ(ToDevice({std::numeric_limits<int32_t>::max(), 0}, canvas).x,
              std::numeric_limits<int32_t>::max());
}

TEST(Units, InchesAndTextAngles) {
    ScreenResolution screen(96, 120);
    // Units: 1 pixels, 2 millimetres, 3 inches.
    EXPECT_DOUBLE_EQ(ToInches(192, 1, Axis::Horizontal, screen), 2.0);
    EXPECT_DOUBLE_EQ(ToInches(192, 1, Axis::Vertical, screen), 1.6);
    EXPECT_DOUBLE_EQ(ToInches(63.5, 2, Axis::Vertical, screen), 2.5);
    EXPECT_DOUBLE_EQ(ToInches(2.5, 3, Axis::Vertical, screen), 2.5);
    EXPECT_DOUBLE_EQ(ToInches(2.5, 9, Axis::Horizontal, screen), 2.5); // unknown units count as inches
    EXPECT_DOUBLE_EQ(TenthsToRadians(900), pi / 2);
    EXPECT_DOUBLE_EQ(TenthsToRadians(-450), -pi / 4);
}

TEST(PenWidthPixels, ThinnestAtZeroWeightAndMillimetresAtZoom) {
    ScreenResolution screen; // 96 dpi
    EXPECT_EQ(PenWidthPixels(1.0, 0.0, screen), 1);
    EXPECT_EQ(PenWidthPixels(0.4, 0.0, screen), 0);
    EXPECT_EQ(PenWidthPixels(2.0, 1.0, screen), 8);           // round(2 * 3.7795)
    EXPECT_EQ(PenWidthPixels(600.0 / 96.0, 1.0, screen), 24); // 1 mm at 600 dpi = 23.6
}

TEST(PolarPoint, AnglesAreCounterClockwiseOnScreen) {
    EXPECT_EQ(PolarPoint({10, 10}, 0.0, 5.0), (Point{15, 10}));
    EXPECT_EQ(PolarPoint({10, 10}, pi / 2, 5.0), (Point{10, 5}));
    EXPECT_EQ(PolarPoint({10, 10}, pi, 5.0), (Point{5, 10}));
    EXPECT_EQ(PolarPoint({0, 0}, pi / 4, 10.0), (Point{7, -7}));
}

TEST(PerpendicularFoot, NearlyVerticalAndHorizontalLinesAndSlopes) {
    auto vertical = PerpendicularFoot({10, 10}, {11, 50}, {30, 20});
    EXPECT_EQ(vertical.foot, (Point{10, 20}));
    EXPECT_TRUE(vertical.withinSegment);
    auto horizontal = PerpendicularFoot({0, 5}, {100, 5}, {40, -30});
    EXPECT_EQ(horizontal.foot, (Point{40, 5}));
    EXPECT_TRUE(horizontal.withinSegment);
    // The diagonal y = x: the foot of (10, 0) is (5, 5).
    auto diagonal = PerpendicularFoot({0, 0}, {20, 20}, {10, 0});
    EXPECT_EQ(diagonal.foot, (Point{5, 5}));
    EXPECT_TRUE(diagonal.withinSegment);
    EXPECT_FALSE(PerpendicularFoot({0, 0}, {20, 20}, {40, 40}).withinSegment);
}

TEST(ShapeBounds, PadsTheOutlineByTheLargerOfPenAndHalfAMarker) {
    ScreenResolution screen;
    ItemRecord rectangle;
    rectangle.kind = ItemKind::Rectangle;
    rectangle.penWidthPx = 1;
    rectangle.pointList = {Node(40, 40), Node(120, 40), Node(120, 90), Node(40, 90)};
    ShapeBounds(&rectangle, screen);
    EXPECT_EQ(rectangle.x1, 36);
    EXPECT_EQ(rectangle.y1, 36);
    EXPECT_EQ(rectangle.x2, 124);
    EXPECT_EQ(rectangle.y2, 94);
    EXPECT_EQ(rectangle.spanX, 88);
    EXPECT_EQ(rectangle.spanLength, 105); // sqrt(88^2 + 58^2) = 105.4
    EXPECT_DOUBLE_EQ(double(rectangle.worldX2), 124 * screen.pxPerMmX());

    rectangle.penWidthPx = 10;
    ShapeBounds(&rectangle, screen);
    EXPECT_EQ(rectangle.x1, 30);

    ItemRecord dot;
    dot.kind = ItemKind::Spline;
    dot.penWidthPx = 1;
    dot.pointList = {Node(7, 7), Node(7, 7)};
    ShapeBounds(&dot, screen);
    EXPECT_EQ(dot.spanX, 8); // twice the margin
    EXPECT_EQ(dot.spanY, 8);

    ItemRecord empty;
    empty.kind = ItemKind::Triangle;
    ShapeBounds(&empty, screen);
    EXPECT_EQ((Rect{empty.boundLeft, empty.boundTop, empty.boundRight, empty.boundBottom}),
              (Rect{-4, -4, 4, 4}));
}

TEST(ShapeBounds, CirclesEllipsesStarsAndCurveHandles) {
    ScreenResolution screen;
    ItemRecord circle;
    circle.kind = ItemKind::Circle;
    circle.pointList = {Node(100, 100), Node(130, 140)}; // radius 50
    ShapeBounds(&circle, screen);
    EXPECT_EQ(circle.x1, 46);
    EXPECT_EQ(circle.y2, 154);

    ItemRecord ellipse;
    ellipse.kind = ItemKind::Ellipse;
    ellipse.pointList = {Node(220, 70), Node(270, 70), Node(220, 45)};
    ShapeBounds(&ellipse, screen);
    EXPECT_EQ((Rect{ellipse.x1, ellipse.y1, ellipse.x2, ellipse.y2}), (Rect{166, 16, 274, 124}));

    ItemRecord star;
    star.kind = ItemKind::Star;
    star.pointList = {Node(0, 0), Node(0, -20), Node(3, -4)};
    ShapeBounds(&star, screen);
    EXPECT_EQ(star.x1, -24);

    ItemRecord curve;
    curve.kind = ItemKind::Curve;
    curve.pointList = {Node(0, 0), Node(10, 0)};
    curve.pointList[0].ctrl1X = 5;
    curve.pointList[0].ctrl1Y = -30;
    ShapeBounds(&curve, screen);
    EXPECT_EQ(curve.y1, -34);
}

TEST(ArcBounds, AQuarterArcGrowsByTheRadiusPlusOne) {
    // From (10, 0) counter-clockwise to straight up: the arc's top reaches y = -11 (radius + 1).
    Rect bounds = ArcBounds({0, 0}, {10, 0}, {0, -10});
    EXPECT_EQ(bounds.left, -1);
    EXPECT_EQ(bounds.right, 12);
    EXPECT_EQ(bounds.top, -12);
    EXPECT_EQ(bounds.bottom, 1);
}

TEST(ArcBounds, ASweepPastTheLeftAndTheBottomWrapsAroundZero) {
    // From straight up counter-clockwise to the right: three quarters of a turn.
    ArcSweep arc = ArcSweepOf({0, 0}, {0, -10}, {10, 0});
    EXPECT_DOUBLE_EQ(arc.start, pi / 2);
    EXPECT_DOUBLE_EQ(arc.sweep, 3 * pi / 2);
    EXPECT_EQ(ArcSampleCount(arc.sweep), 300);
    EXPECT_EQ(ArcSampleCount(pi), 200);
    EXPECT_EQ(ArcSampleCount(0.0), 2);
    EXPECT_EQ(ArcBounds({0, 0}, {0, -10}, {10, 0}), (Rect{-12, -12, 12, 12}));
}

TEST(HitDistances, FarPointsSaturateInsteadOfOverflowing) {
    constexpr int32_t largest = std::numeric_limits<int32_t>::max();
    // The focal-sum deviation of about 4e9 squares to far beyond the int range.
    EXPECT_EQ(EllipseHitDistance({0, 0}, {5, 0}, {0, 3}, {2000000000, 0}), largest);
    EXPECT_EQ(ArcHitDistance(ItemKind::Arc, {0, 0}, {-2000000000, 2000000000}, {0, -10}, {10, 0}), largest);

    ScreenResolution screen;
    ItemRecord wide;
    wide.kind = ItemKind::Spline;
    wide.pointList = {Node(std::numeric_limits<int32_t>::min(), 0), Node(largest, 0)};
    ShapeBounds(&wide, screen);
    EXPECT_EQ(wide.x1, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(wide.x2, largest);
    EXPECT_EQ(wide.spanX, largest);
    EXPECT_EQ(wide.spanLength, largest);
}

TEST(HitDistances, CircleEllipseArcAndCurve) {
    // A circle of radius 10 given as an ellipse: distance from the outline.
    EXPECT_EQ(EllipseHitDistance({0, 0}, {10, 0}, {0, -10}, {13, 0}), 3);
    // An ellipse with semi-axes 5 and 3 (foci at +-4): a point on it deviates by 0.
    EXPECT_EQ(EllipseHitDistance({0, 0}, {5, 0}, {0, 3}, {0, 3}), 0);
    // 2 pixels outside the end of the length axis: the focal sums differ by 4, squared 16.
    EXPECT_EQ(EllipseHitDistance({0, 0}, {5, 0}, {0, 3}, {7, 0}), 16);

    // An arc from (10, 0) to straight up; (7, -7) lies on it.
    EXPECT_LE(ArcHitDistance(ItemKind::Arc, {0, 0}, {7, -7}, {0, -10}, {10, 0}), 1);
    EXPECT_EQ(ArcHitDistance(ItemKind::Arc, {0, 0}, {5, 0}, {0, -10}, {10, 0}), 5);
    // A pie also has its two radii: (5, 0) lies on the first.
    EXPECT_EQ(ArcHitDistance(ItemKind::Pie, {0, 0}, {5, 0}, {0, -10}, {10, 0}), 0);

    PointNode a = Node(0, 0), b = Node(100, 0);
    a.ctrl1X = 30;
    a.ctrl2X = 70;
    EXPECT_EQ(CurveSegmentHitDistance(a, b, {50, 6}), 6);
    EXPECT_EQ(CurveSegmentHitDistance(a, b, {-3, -4}), 5);
    EXPECT_EQ(CurveSegmentHitDistance(a, b, {200, 0}), 100);
}

TEST(Rotation, PointsRotateFromTheirSavedPlaces) {
    std::vector<PointNode> points = {Node(10, 0)};
    points[0].savedCtrl1X = 20;
    RotatePointsAbout(points, {0, 0}, pi / 2);
    EXPECT_EQ(NodePoint(points[0]), (Point{0, -10}));
    EXPECT_EQ((Point{points[0].ctrl1X, points[0].ctrl1Y}), (Point{0, -20}));
    RotatePointsAbout(points, {0, 0}, pi); // again from the saved place, not the current
    EXPECT_EQ(NodePoint(points[0]), (Point{-10, 0}));

    ItemRecord line;
    line.baseX1 = 0;
    line.baseY1 = 0;
    line.baseX2 = 10;
    line.baseY2 = 0;
    RotateEndsAbout(&line, {0, 0}, pi / 2);
    EXPECT_EQ(line.x2, 0);
    EXPECT_EQ(line.y2, -10);

    ItemRecord picture;
    picture.baseX1 = 10;
    picture.baseY1 = -5;
    picture.baseX2 = 30;
    picture.baseY2 = 5; // centre (20, 0)
    RotateRectangleAbout(&picture, {0, 0}, pi / 2);
    EXPECT_EQ((Rect{picture.x1, picture.y1, picture.x2, picture.y2}), (Rect{-10, -25, 10, -15}));
}

TEST(PointLists, MoveSaveAndCentroid) {
    std::vector<PointNode> points = {Node(0, 0), Node(3, 4)};
    MoveFromSaved(points, 10, -10);
    EXPECT_EQ(NodePoint(points[1]), (Point{13, -6}));
    EXPECT_EQ(points[0].ctrl2Y, -10);
    EXPECT_EQ(PointCentroid(points), (Point{2, 2})); // of the saved points: (1.5, 2) rounds to 2
    SaveCurrentAsSaved(points);
    EXPECT_EQ(PointCentroid(points), (Point{12, -8}));
    EXPECT_EQ(PointCentroid({}), (Point{0, 0}));
    EXPECT_EQ(PointAt(points, 2), (Point{13, -6}));
    EXPECT_EQ(PointAt(points, 3), (Point{0, 0}));
    EXPECT_EQ(PointAt(points, 0), (Point{0, 0}));
}

TEST(RotatedRectCorners, TurnsTheRectangleAboutItsCentre) {
    ItemRecord picture;
    picture.boundLeft = -10;
    picture.boundRight = 10;
    picture.boundTop = -5;
    picture.boundBottom = 5;
    picture.rotation = pi / 2;
    std::array<Point, 5> corners = RotatedRectCorners(&picture);
    EXPECT_EQ(corners[0], (Point{-5, 10})); // (left, top) turned a quarter counter-clockwise
    EXPECT_EQ(corners[2], (Point{5, -10}));
    EXPECT_EQ(corners[4], corners[0]);
}

TEST(NormalizeEllipse, KeepsTheLengthAxisTheLongerOne) {
    ItemRecord ellipse;
    ellipse.kind = ItemKind::Ellipse;
    ellipse.pointList = {Node(0, 0), Node(5, 0), Node(0, -20)};
    NormalizeEllipse(&ellipse);
    EXPECT_EQ(NodePoint(ellipse.pointList[1]), (Point{0, -20}));
    EXPECT_EQ(NodePoint(ellipse.pointList[2]), (Point{-5, 0}));
    EXPECT_EQ(ellipse.pointList[1].savedY, -20);
    EXPECT_DOUBLE_EQ(double(ellipse.direction), pi / 2);

    NormalizeEllipse(&ellipse); // already normal: unchanged
    EXPECT_EQ(NodePoint(ellipse.pointList[1]), (Point{0, -20}));
}

} // namespace
} // namespace vlr
