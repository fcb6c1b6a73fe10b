// Shape outlines, point generators and curve handles against values worked out by hand.
#include "model/outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vlr {
namespace {

constexpr double pi = std::numbers::pi;

PointNode Node(int32_t x, int32_t y) {
    return {.x = x, .y = y, .savedX = x, .savedY = y};
}
std::vector<Point> PointsOf(const std::vector<PointNode>& list) {
    std::vector<Point> points;
    for (const PointNode& node : list) {
        points.push_back(NodePoint(node));
    }
    return points;
}
Point Ctrl1(const PointNode& node) {
    return {node.ctrl1X, node.ctrl1Y};
}
Point Ctrl2(const PointNode& node) {
    return {node.ctrl2X, node.ctrl2Y};
}

TEST(PointGenerators, SquarePolygonStarAndArc) {
    std::vector<PointNode> list = {Node(99, 99)};
    SquareFromEdge(list, {0, 0}, {3, 4}); // the side (3, 4) turned a quarter: (4, -3)
    EXPECT_EQ(PointsOf(list), (std::vector<Point>{{0, 0}, {3, 4}, {7, 1}, {4, -3}}));
    EXPECT_EQ(list[2].savedX, 7);

    ASSERT_TRUE(RegularPolygonPoints(list, {0, 0}, {10, 0}, 4));
    EXPECT_EQ(PointsOf(list), (std::vector<Point>{{0, 0}, {10, 0}, {0, -10}, {-10, 0}, {0, 10}, {10, 0}}));
    EXPECT_FALSE(RegularPolygonPoints(list, {0, 0}, {10, 0}, 2));
    EXPECT_FALSE(RegularPolygonPoints(list, {0, 0}, {10, 0}, 1024001));
    EXPECT_EQ(list.size(), 6u); // refused counts leave the list alone

    // Tip straight up at radius 10, inner radius |(3, 4)| = 5; steps of 45 degrees.
    ASSERT_TRUE(StarPoints(list, {0, 0}, {3, 4}, {0, -10}, 4));
    EXPECT_EQ(
        PointsOf(list),
        (std::vector<Point>{
            {0, 0}, {0, -10}, {-4, -4}, {-10, 0}, {-4, 4}, {0, 10}, {4, 4}, {10, 0}, {4, -4}, {0, -10}}));

    ArcPoints(list, {0, 0}, {10, 0}, {0, -3}); // the end is moved onto the circle
    EXPECT_EQ(PointsOf(list), (std::vector<Point>{{0, 0}, {10, 0}, {0, -10}}));
}

TEST(CurveHandles, InteriorNodesGetTangentsAcrossTheirNeighbours) {
    // A right-angle turn at (10, 0): the tangent runs along (1, 1), handles half a segment long.
    std::vector<PointNode> list = {Node(0, 0), Node(10, 0), Node(10, 10)};
    SmoothInteriorNodes(list, 0.5);
    EXPECT_EQ(Ctrl1(list[1]), (Point{14, 4}));
    EXPECT_EQ(Ctrl2(list[0]), (Point{6, -4}));
    EXPECT_EQ(Ctrl1(list[0]), (Point{0, 0})); // the ends are the end rule's

    OpenCurveEnds(list, 0.5);
    EXPECT_EQ(Ctrl1(list[0]), (Point{5, 0}));  // along the first chord
    EXPECT_EQ(Ctrl2(list[1]), (Point{10, 5})); // along the last chord, from the last node
}

TEST(CurveHandles, ClosedCurvesSmoothTheFirstAndLastNodesAcrossTheClosingSegment) {
    std::vector<PointNode> list = {Node(0, 0), Node(10, 0), Node(10, 10), Node(0, 10)};
    ClosedCurveEnds(list, 0.5);
    EXPECT_EQ(Ctrl1(list[0]), (Point{4, -4}));
    EXPECT_EQ(Ctrl2(list[3]), (Point{-4, 4}));
    EXPECT_EQ(Ctrl1(list[3]), (Point{-4, 6}));
    EXPECT_EQ(Ctrl2(list[2]), (Point{4, 14}));

    std::vector<Point> bezier = CurveBezierPoints(list, true);
    ASSERT_EQ(bezier.size(), 13u);
    EXPECT_EQ((std::vector<Point>(bezier.end() - 3, bezier.end())),
              (std::vector<Point>{{-4, 6}, {-4, 4}, {0, 0}}));
}

TEST(CurveHandles, TheSegmentBeingDrawnStartsStraight) {
    std::vector<PointNode> list = {Node(0, 0), Node(10, 0), Node(20, 10)};
    StraightenLastSegment(list, 0.5);
    EXPECT_EQ(Ctrl2(list[1]), (Point{15, 5})); // on the chord, k |(10, 10)| back from the end
    EXPECT_EQ(Ctrl1(list[1]), (Point{17, 3})); // then smoothed across (0, 0) and (20, 10)
    EXPECT_EQ(Ctrl2(list[0]), (Point{5, -2}));
}

TEST(CurveBezierPoints, CountsSkipsRepeatedNodesAndNeverEndsMidSegment) {
    std::vector<PointNode> three = {Node(0, 0), Node(10, 0), Node(20, 5)};
    EXPECT_EQ(CurveBezierPoints(three, false).size(), 7u);
    EXPECT_EQ(CurveBezierPoints(three, true).size(), 10u);

    // A repeated node in the middle is skipped with its handles.
    std::vector<PointNode> middle = {Node(0, 0), Node(10, 0), Node(10, 0), Node(20, 0)};
    middle[2].ctrl1X = 77;
    std::vector<Point> bezier = CurveBezierPoints(middle, false);
    ASSERT_EQ(bezier.size(), 7u);
    EXPECT_EQ(bezier[6], (Point{20, 0}));
    EXPECT_NE(bezier[4].x, 77);

    // A repeated last node: the segment towards it is dropped, the array ends on (10, 0).
    std::vector<PointNode> tail = {Node(0, 0), Node(10, 0), Node(10, 0)};
    tail[2].ctrl1X = 3;
    tail[2].ctrl2X = 4;
    EXPECT_EQ(CurveBezierPoints(tail, false).size(), 4u);
    bezier = CurveBezierPoints(tail, true);
    EXPECT_EQ(bezier, (std::vector<Point>{{0, 0}, {0, 0}, {0, 0}, {10, 0}, {3, 0}, {4, 0}, {0, 0}}));
}

TEST(EllipseBezierPoints, AxisAlignedAndTurnedEllipses) {
    // Half-length 100, half-width 50: kx = round(200 x 0.27614237) = 55, ky = round(100 x ...) = 28.
    EllipseBezier flat = EllipseBezierPoints({200, 100}, {300, 100}, {200, 50});
    EXPECT_EQ((std::vector<Point>(flat.points.begin(), flat.points.end())), (std::vector<Point>{{100, 100},
                                                                                                {100, 72},
                                                                                                {145, 50},
                                                                                                {200, 50},
                                                                                                {255, 50},
                                                                                                {300, 72},
                                                                                                {300, 100},
                                                                                                {300, 128},
                                                                                                {255, 150},
                                                                                                {200, 150},
                                                                                                {145, 150},
                                                                                                {100, 128},
                                                                                                {100, 100}}));
    EXPECT_EQ(flat.bounds, (Rect{100, 50, 300, 150}));

    // The same ellipse with its length axis straight up: turned a quarter counter-clockwise.
    EllipseBezier upright = EllipseBezierPoints({200, 100}, {200, 0}, {150, 100});
    EXPECT_EQ(upright.points[0], (Point{200, 200}));
    EXPECT_EQ(upright.points[1], (Point{172, 200}));
    EXPECT_EQ(upright.bounds, (Rect{150, 0, 250, 200}));

    // A width point on the axis: a flat double line.
    EllipseBezier line = EllipseBezierPoints({0, 0}, {40, 0}, {20, 0});
    EXPECT_EQ(line.bounds, (Rect{-40, 0, 40, 0}));
}

TEST(ArcPolyline, SamplesEveryArcStepOfTheSweep) {
    // A half circle: 200 positions, S, 198 interior samples, the end.
    std::vector<Point> half = ArcPolyline({0, 0}, {1000, 0}, {-1000, 0});
    ASSERT_EQ(half.size(), 200u);
    EXPECT_EQ(half[0], (Point{1000, 0}));
    EXPECT_EQ(half[1], (Point{1000, -16})); // 1000 x sin(pi / 199) = 15.8
    EXPECT_EQ(half[199], (Point{-1000, 0}));

    // End and start in one direction: no sweep, two points.
    EXPECT_EQ(ArcPolyline({0, 0}, {10, 0}, {20, 0}), (std::vector<Point>{{10, 0}, {10, 0}}));

    // An end just clockwise of the start sweeps almost a full turn.
    std::vector<Point> almost = ArcPolyline({0, 0}, {100, 0}, {100, 1});
    EXPECT_GT(almost.size(), 300u);
    EXPECT_EQ(almost.back(), (Point{100, 1}));

    // A small radius repeats rounded samples; none is appended twice in a row.
    std::vector<Point> small = ArcPolyline({0, 0}, {2, 0}, {-2, 0});
    EXPECT_LT(small.size(), 20u);
    for (size_t i = 1; i + 1 < small.size(); ++i) {
        EXPECT_NE(small[i], small[i - 1]);
    }
}

TEST(PolygonAndStarVertices, StartAtTheDefiningPointAndRefuseBadCounts) {
    EXPECT_EQ(PolygonCorners({0, 0}, {0, -10}, 4),
              (std::vector<Point>{{0, -10}, {-10, 0}, {0, 10}, {10, 0}}));
    EXPECT_EQ(StarVertices({0, 0}, {0, -10}, {3, 4}, 4),
              (std::vector<Point>{{0, -10}, {-4, -4}, {-10, 0}, {-4, 4}, {0, 10}, {4, 4}, {10, 0}, {4, -4}}));
    for (int32_t n : {0, 2, 1024001, -5}) {
        EXPECT_TRUE(PolygonCorners({0, 0}, {0, -10}, n).empty()) << n;
        EXPECT_TRUE(StarVertices({0, 0}, {0, -10}, {3, 4}, n).empty()) << n;
    }
}

TEST(ShapeOutline, PointListShapesByMode) {
    std::vector<PointNode> triangle = {Node(0, 0), Node(10, 0), Node(0, 10)};
    DeviceOutline filled = ShapeOutline(ItemKind::Triangle, ShapeMode::Filled, 0, triangle, {});
    EXPECT_EQ(filled.form, OutlineForm::Polygon);
    EXPECT_TRUE(filled.filled);
    EXPECT_EQ(filled.points.size(), 3u);

    DeviceOutline closed = ShapeOutline(ItemKind::Spline, ShapeMode::Closed, 0, triangle, {});
    EXPECT_EQ(closed.form, OutlineForm::Polyline);
    EXPECT_EQ(closed.points.back(), (Point{0, 0}));
    EXPECT_EQ(closed.points.size(), 4u);
    triangle.push_back(Node(0, 0)); // already closed: not closed twice
    EXPECT_EQ(ShapeOutline(ItemKind::Spline, ShapeMode::Closed, 0, triangle, {}).points.size(), 4u);
    EXPECT_EQ(ShapeOutline(ItemKind::Spline, ShapeMode::Open, 0, triangle, {}).form, OutlineForm::Polyline);

    std::vector<PointNode> two = {Node(0, 0), Node(10, 0)};
    DeviceOutline segment = ShapeOutline(ItemKind::Rectangle, ShapeMode::Filled, 0, two, {});
    EXPECT_EQ(segment.form, OutlineForm::Polyline);
    EXPECT_FALSE(segment.filled);
    EXPECT_EQ(ShapeOutline(ItemKind::Curve, ShapeMode::Filled, 0, two, {}).points,
              (std::vector<Point>{{0, 0}, {10, 0}}));
    EXPECT_EQ(ShapeOutline(ItemKind::Spline, ShapeMode::Open, 0, {Node(1, 1)}, {}).form, OutlineForm::None);
    EXPECT_EQ(ShapeOutline(ItemKind::Line, 0, 0, two, {}).form, OutlineForm::None);
    EXPECT_EQ(ShapeOutline(ItemKind::Polygon, 0, 2, two, {}).form, OutlineForm::None);
}

TEST(ShapeOutline, PointsAreMappedBeforeRadiiAndAnglesAreTaken) {
    // Zoom 2.5 with the tile origin (100, 50).
    ViewTransform zoom = CanvasTransform(2.5, {100, 50});
    std::vector<PointNode> rectangle = {Node(10, 10), Node(50, 10), Node(50, 30), Node(10, 30)};
    EXPECT_EQ(ShapeOutline(ItemKind::Rectangle, ShapeMode::Filled, 0, rectangle, zoom).points,
              (std::vector<Point>{{125, 75}, {225, 75}, {225, 125}, {125, 125}}));

    // A circle at 600 dpi: centre (96, 96) -> (600, 600), radius 48 design pixels -> 300.
    ItemRecord circle;
    circle.kind = ItemKind::Circle;
    circle.pointList = {Node(96, 96), Node(96, 48)};
    DeviceOutline disc = ShapeOutline(circle, DeviceTransform(600, 600, ScreenResolution()));
    EXPECT_EQ(disc.form, OutlineForm::Ellipse);
    EXPECT_EQ(disc.bounds, (Rect{300, 300, 900, 900}));

    // Radius |(3, 3)| = 4.24 design pixels. Mapped first, (3, 3) becomes (8, 8), 11.3 device
    // pixels away: 11 (rounding in design pixels first would give 4 x 2.5 = 10).
    circle.pointList = {Node(0, 0), Node(3, 3)};
    EXPECT_EQ(ShapeOutline(circle, CanvasTransform(2.5)).bounds, (Rect{-11, -11, 11, 11}));
}

// Every kind at 100 %, 250 % and 600 dpi: each outline point lies within a pixel of the ideal
// figure scaled by the transform.
TEST(ShapeOutline, EveryKindStaysWithinAPixelOfTheScaledFigure) {
    for (double s : {1.0, 2.5, 600.0 / 96.0}) {
        SCOPED_TRACE(s);
        const ViewTransform transform{s, s, 0, 0};
        auto near = [s](Point p, double x, double y) { return std::hypot(p.x - x * s, p.y - y * s) <= 1.0; };
        auto onCircle = [s](Point p, double cx, double cy, double r) {
            return std::fabs(std::hypot(p.x - cx * s, p.y - cy * s) - r * s) <= 1.0;
        };

        std::vector<PointNode> triangle = {Node(10, 10), Node(50, 10), Node(30, 43)};
        DeviceOutline outline = ShapeOutline(ItemKind::Triangle, ShapeMode::Filled, 0, triangle, transform);
        EXPECT_TRUE(near(outline.points[2], 30, 43));

        outline = ShapeOutline(ItemKind::Circle, 0, 0, {Node(100, 100), Node(130, 140)}, transform);
        EXPECT_LE(std::abs(outline.bounds.right - 150 * s), 1.0);
        EXPECT_LE(std::abs(outline.bounds.top - 50 * s), 1.0);

        outline =
            ShapeOutline(ItemKind::Ellipse, 0, 0, {Node(200, 100), Node(300, 100), Node(200, 50)}, transform);
        ASSERT_EQ(outline.points.size(), 13u);
        EXPECT_TRUE(near(outline.points[0], 100, 100));
        EXPECT_TRUE(near(outline.points[3], 200, 50));
        EXPECT_TRUE(near(outline.points[6], 300, 100));
        EXPECT_TRUE(near(outline.points[9], 200, 150));

        outline = ShapeOutline(ItemKind::Polygon, 0, 6, {Node(100, 100), Node(100, 60)}, transform);
        ASSERT_EQ(outline.points.size(), 6u);
        for (size_t j = 0; j < 6; ++j) {
            const double angle = pi / 2 + j * pi / 3;
            EXPECT_TRUE(near(outline.points[j], 100 + 40 * std::cos(angle), 100 - 40 * std::sin(angle))) << j;
        }

        // Tips at radius 40, inner vertices at |(12, 16)| = 20.
        outline =
            ShapeOutline(ItemKind::Star, 0, 5, {Node(100, 100), Node(100, 60), Node(112, 116)}, transform);
        ASSERT_EQ(outline.points.size(), 10u);
        for (size_t j = 0; j < 10; ++j) {
            const double angle = pi / 2 + j * pi / 5, r = j % 2 ? 20 : 40;
            EXPECT_TRUE(near(outline.points[j], 100 + r * std::cos(angle), 100 - r * std::sin(angle))) << j;
        }

        // A quarter of radius 48 from (144, 96) up to (96, 48); the pie adds the centre and the
        // start. Multiples of 8 map to whole device pixels, so only the samples are rounded.
        const std::vector<PointNode> arcPoints = {Node(96, 96), Node(144, 96), Node(96, 16)};
        outline = ShapeOutline(ItemKind::Pie, 0, 0, arcPoints, transform);
        EXPECT_EQ(outline.form, OutlineForm::Polygon);
        EXPECT_TRUE(near(outline.points[outline.points.size() - 2], 96, 96));
        EXPECT_TRUE(near(outline.points.back(), 144, 96));
        outline = ShapeOutline(ItemKind::Arc, 0, 0, arcPoints, transform);
        EXPECT_EQ(outline.form, OutlineForm::Polyline);
        EXPECT_TRUE(near(outline.points.back(), 96, 48));
        for (Point p : outline.points) {
            EXPECT_TRUE(onCircle(p, 96, 96, 48));
            EXPECT_TRUE(p.x >= 96 * s && p.y <= 96 * s);
        }

        std::vector<PointNode> curve = {Node(0, 0), Node(40, 0), Node(40, 40)};
        curve[0].ctrl1X = 11;
        curve[1].ctrl2Y = -7;
        outline = ShapeOutline(ItemKind::Curve, ShapeMode::Filled, 0, curve, transform);
        EXPECT_EQ(outline.form, OutlineForm::Bezier);
        ASSERT_EQ(outline.points.size(), 10u);
        EXPECT_TRUE(near(outline.points[1], 11, 0));
        EXPECT_TRUE(near(outline.points[5], 0, -7));
        EXPECT_TRUE(near(outline.points[6], 40, 40));

        // The closed curve comes back to its first node; the oblong fills the same ring.
        for (int32_t mode : {ShapeMode::Closed, ShapeMode::Filled}) {
            outline = ShapeOutline(ItemKind::Curve, mode, 0, curve, transform);
            EXPECT_EQ(outline.filled, mode == ShapeMode::Filled);
            EXPECT_TRUE(near(outline.points.back(), 0, 0)) << mode;
        }

        // Squares, rectangles and splines run through their points in list order: filled as
        // a polygon, closed back to the first point, or left open.
        const std::vector<PointNode> square = {Node(10, 10), Node(50, 10), Node(50, 50), Node(10, 50)};
        const std::vector<PointNode> rectangle = {Node(8, 16), Node(88, 16), Node(88, 56), Node(8, 56)};
        struct Case {
            int32_t kind, mode;
            const std::vector<PointNode>& points;
            OutlineForm form;
            size_t count;
        };
        for (const Case& c : {Case{ItemKind::Square, ShapeMode::Filled, square, OutlineForm::Polygon, 4},
                              Case{ItemKind::Rectangle, ShapeMode::Filled, rectangle, OutlineForm::Polygon, 4},
                              Case{ItemKind::Spline, ShapeMode::Filled, triangle, OutlineForm::Polygon, 3},
                              Case{ItemKind::Spline, ShapeMode::Closed, triangle, OutlineForm::Polyline, 4},
                              Case{ItemKind::Spline, ShapeMode::Open, triangle, OutlineForm::Polyline, 3}}) {
            SCOPED_TRACE(testing::Message() << c.kind << " mode " << c.mode);
            outline = ShapeOutline(c.kind, c.mode, 0, c.points, transform);
            EXPECT_EQ(outline.form, c.form);
            ASSERT_EQ(outline.points.size(), c.count);
            for (size_t j = 0; j < c.count; ++j) {
                const PointNode& node = c.points[j % c.points.size()];
                EXPECT_TRUE(near(outline.points[j], node.x, node.y)) << j;
            }
        }
    }
}

} // namespace
} // namespace vlr
