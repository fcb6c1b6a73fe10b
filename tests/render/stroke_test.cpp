// Lines and shape outlines painted on real rasters: widths, borders, fills, dashes, and the
// same geometry on the screen and at printer resolution.
#include "render/stroke.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vlr {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlue = 0xFF0000; // 0x00BBGGRR
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;

ItemRecord* AddLine(ItemList& design, Point a, Point b, double weightMm, int32_t penWidthPx) {
    ItemRecord* line = CreateRecord(design, ItemKind::Line);
    line->x1 = a.x;
    line->y1 = a.y;
    line->x2 = b.x;
    line->y2 = b.y;
    line->direction = PointDirection(a, b);
    line->lineWeight = weightMm;
    line->penWidthPx = penWidthPx;
    line->color = kBlue;
    line->fillColor = FILL_AS_OUTLINE;
    return line;
}

int32_t CountInColumn(const RasterCanvas& canvas, int32_t x, int32_t colour) {
    int32_t count = 0;
    for (int32_t y = 0; y < canvas.height(); ++y) {
        count += canvas.pixel(x, y) == colour;
    }
    return count;
}

int32_t CountInRow(const RasterCanvas& canvas, int32_t y, int32_t colour) {
    int32_t count = 0;
    for (int32_t x = 0; x < canvas.width(); ++x) {
        count += canvas.pixel(x, y) == colour;
    }
    return count;
}

// How much blue ink an antialiased column holds, in pixels: a blue pixel's red channel falls
// from 255 to 0 as the ink covers it.
double InkInColumn(const RasterCanvas& canvas, int32_t x) {
    double ink = 0.0;
    for (int32_t y = 0; y < canvas.height(); ++y) {
        ink += (255 - (canvas.pixel(x, y) & 0xFF)) / 255.0;
    }
    return ink;
}

void Paint(RasterCanvas& canvas, int32_t colour) {
    canvas.setBrush({colour});
    canvas.FillRect({0, 0, canvas.width(), canvas.height()});
}

TEST(DrawLine, OneMillimetreLineOnTheScreenAndAt600Dpi) {
    const ScreenResolution screen;
    // 1 mm = round(3.78) = 4 design pixels, stored as the line's pixel width.
    ItemList design;
    ItemRecord* across = AddLine(design, {20, 50}, {180, 50}, 1.0, 4);
    ItemRecord* down = AddLine(design, {100, 10}, {100, 90}, 1.0, 4);

    RasterCanvas onScreen(200, 100, Smoothing::Exact);
    DrawLine(onScreen, design, *across, CanvasTransform(1.0));
    EXPECT_NEAR(CountInColumn(onScreen, 60, kBlue), 4, 1);
    RasterCanvas upright(200, 100, Smoothing::Exact);
    DrawLine(upright, design, *down, CanvasTransform(1.0));
    EXPECT_NEAR(CountInRow(upright, 50, kBlue), 4, 1);

    // At 600 dpi a design pixel is 6.25 device pixels: W = round(6.25 x 4) = 25 (1.06 mm).
    const ViewTransform printer = DeviceTransform(600, 600, screen);
    for (Smoothing smoothing : {Smoothing::Exact, Smoothing::Antialiased}) {
        RasterCanvas sheet(1250, 625, smoothing);
        DrawLine(sheet, design, *across, printer);
        const double thickness =
            smoothing == Smoothing::Exact ? CountInColumn(sheet, 600, kBlue) : InkInColumn(sheet, 600);
        // The body's 1-pixel outline lies on both of its edges, adding a pixel.
        EXPECT_NEAR(thickness, 25, 1);
        // The line lies on the device image of its ends: y = 50 x 6.25 = 312.5 -> 312.
        EXPECT_EQ(sheet.pixel(600, 312) & 0xFF, 0) << "the middle row is fully inked";
    }
}

TEST(DrawLine, BorderedLineShowsFrameAndInterior) {
    // W = 10; the border weight 0.8 mm gives B = round(3.02) = 3 and 2B < W: a 3-pixel frame in
    // the line colour around the fill. The body reaches from y = 45 to y = 55.
    ItemList design;
    ItemRecord* line = AddLine(design, {20, 50}, {100, 50}, 2.65, 10);
    line->lineWeightBase = 0.8;
    line->fillColor = kWhite;
    RasterCanvas canvas(120, 100, Smoothing::Exact);
    Paint(canvas, kGreen);
    DrawLine(canvas, design, *line, CanvasTransform(1.0));

    EXPECT_EQ(canvas.pixel(60, 43), kGreen);
    EXPECT_EQ(canvas.pixel(60, 46), kBlue);
    EXPECT_EQ(canvas.pixel(60, 47), kBlue);
    EXPECT_EQ(canvas.pixel(60, 50), kWhite);
    EXPECT_EQ(canvas.pixel(60, 53), kBlue);
    EXPECT_EQ(canvas.pixel(60, 54), kBlue);
    EXPECT_EQ(canvas.pixel(60, 57), kGreen);
    EXPECT_NEAR(CountInColumn(canvas, 60, kBlue), 8, 1); // two frames of 3, within a pixel each
    EXPECT_NEAR(CountInColumn(canvas, 60, kWhite), 3, 1);
    // The frame also closes the ends: 3 pixels in from x = 20 and from x = 100.
    EXPECT_EQ(canvas.pixel(22, 50), kBlue);
    EXPECT_EQ(canvas.pixel(26, 50), kWhite);
    EXPECT_EQ(canvas.pixel(98, 50), kBlue);
    EXPECT_EQ(canvas.pixel(104, 50), kGreen);

    // Hollow: the background shows between the borders.
    line->fillColor = FILL_NONE;
    Paint(canvas, kGreen);
    DrawLine(canvas, design, *line, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(60, 50), kGreen);
    EXPECT_EQ(canvas.pixel(60, 46), kBlue);

    // In the outline colour: one colour throughout.
    line->fillColor = FILL_AS_OUTLINE;
    Paint(canvas, kGreen);
    DrawLine(canvas, design, *line, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(60, 50), kBlue);

    // Zoomed out to 50 % with a border of 0.5 mm: W = 5, B = max(round(0.5), round(0.95)) = 1,
    // too thin for a border strip, but 2B < W: the line is no plain one and keeps its fill inside
    // its 1-pixel outline.
    line->fillColor = kWhite;
    line->lineWeightBase = 0.5;
    Paint(canvas, kGreen);
    DrawLine(canvas, design, *line, CanvasTransform(0.5));
    EXPECT_GE(CountInColumn(canvas, 30, kWhite), 2);
    EXPECT_EQ(CountInColumn(canvas, 30, kBlue), 2); // the outline above and below

    // Border 1.32 mm = 5 pixels: 2 x 5 >= 10, the borders meet and the line is solid.
    line->lineWeightBase = 1.32;
    Paint(canvas, kGreen);
    DrawLine(canvas, design, *line, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(60, 50), kBlue);
    EXPECT_EQ(CountInColumn(canvas, 60, kWhite), 0);
}

TEST(LineStrokeOf, WidthBorderAndWhenALineIsSolid) {
    struct Case {
        double weight;
        int32_t penWidthPx;
        double base;
        double zoom;
        int32_t width, border;
        bool plain;
    };
    const Case cases[] = {
        {2.65, 10, 0.8, 1.0, 10, 3, false}, // B = round(3.02) = 3, 2B < W: bordered
        {2.65, 10, 1.32, 1.0, 10, 0, true}, // B = 5 and 2 x 5 >= 10: the borders meet, solid
        {0.0, 10, 0.8, 1.0, 10, 0, true},   // no weight: solid whatever the stored pixel width
        // W = 24, B = max(3, round(11.34)) = 11 and 22 < 24, but at 100 % the border (4 pixels) is
        // half the weight (8): solid.
        {2.0, 8, 1.0, 3.0, 24, 0, true},
        {2.65, 10, 0.5, 2.0, 20, 4, false}, // B = max(2, round(3.78)) = 4
        {2.65, 0, 0.5, 1.0, 1, 0, true},    // at least 1 pixel wide
        {2.65, std::numeric_limits<int32_t>::max(), 0.5, 1.0, kMaxPenWidth, 2, false},
        // At 25 %: W = round(2.5) = 2, B = max(round(0.25), round(0.47)) = 0, 2B < W: still
        // bordered, though no border strip shows.
        {2.65, 10, 0.5, 0.25, 2, 0, false},
    };
    ItemList design;
    for (const Case& c : cases) {
        ItemRecord* line = AddLine(design, {0, 0}, {100, 0}, c.weight, c.penWidthPx);
        line->lineWeightBase = c.base;
        const LineStroke stroke = LineStrokeOf(*line, CanvasTransform(c.zoom), ScreenResolution());
        EXPECT_EQ(stroke.width, c.width) << c.weight << " " << c.base << " " << c.zoom;
        EXPECT_EQ(stroke.border, c.border) << c.weight << " " << c.base << " " << c.zoom;
        EXPECT_EQ(stroke.plain, c.plain) << c.weight << " " << c.base << " " << c.zoom;
    }
}

TEST(LineStrokeOf, DirectionFollowsAxesScaledDifferently) {
    const ScreenResolution screen;
    ItemList design;
    ItemRecord* line = AddLine(design, {0, 0}, {100, 100}, 0.0, 1);
    EXPECT_DOUBLE_EQ(LineStrokeOf(*line, CanvasTransform(1.0), screen).direction, 7.0 * kPi / 4.0);
    // Twice as wide as high: the device line (0, 0)-(200, 100) falls by atan(1/2).
    const ViewTransform wide{2.0, 1.0, 0, 0};
    const LineStroke stroke = LineStrokeOf(*line, wide, screen);
    EXPECT_NEAR(stroke.direction, 2.0 * kPi - std::atan(0.5), 1e-12);
    // Every dash lies on the device line.
    line->dashPattern = DashStyle::Dash;
    for (const DashSegment& dash :
         DashSegments({0, 0}, {200, 100}, stroke.direction, BuildDashPattern(design, *line, 1.0))) {
        for (Point p : {dash.start, dash.end}) {
            EXPECT_LE(std::fabs(p.y - p.x / 2.0) * 2.0 / std::sqrt(5.0), 1.0) << p.x << "," << p.y;
        }
    }
    // A stored direction that is not a number is taken from the device ends.
    line->direction = std::nan("");
    EXPECT_NEAR(LineStrokeOf(*line, wide, screen).direction, 2.0 * kPi - std::atan(0.5), 1e-12);
}

TEST(DrawLine, ThinDashedLineRepeatsSixOnTwoOff) {
    // "Dash" at a unit of 1: dash 6, gap 2, drawn with a 1-pixel pen that lights both ends.
    ItemList design;
    ItemRecord* line = AddLine(design, {10, 20}, {90, 20}, 0.0, 1);
    line->dashPattern = DashStyle::Dash;
    RasterCanvas canvas(100, 40, Smoothing::Exact);
    DrawLine(canvas, design, *line, CanvasTransform(1.0));
    for (int32_t k = 0; k <= 8; ++k) {
        EXPECT_EQ(canvas.pixel(13 + 8 * k, 20), kBlue) << k;  // inside a dash
        EXPECT_EQ(canvas.pixel(17 + 8 * k, 20), kWhite) << k; // between two dashes
    }
    // The last dash runs from 72 to 78 pixels along; its gap ends exactly on the end, where no
    // dash of length 0 is painted.
    EXPECT_EQ(canvas.pixel(88, 20), kBlue);
    EXPECT_EQ(canvas.pixel(89, 20), kWhite);
    EXPECT_EQ(canvas.pixel(90, 20), kWhite);
    // Two pixels longer, the line ends in a dash cut at the end.
    line->x2 = 92;
    DrawLine(canvas, design, *line, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(91, 20), kBlue);
    EXPECT_EQ(canvas.pixel(92, 20), kBlue);
    EXPECT_EQ(canvas.pixel(93, 20), kWhite);
}

TEST(DrawLine, EnormousLinesDrawOnlyWhatTheRasterShows) {
    ItemList design;
    ItemRecord* dashed = AddLine(design, {-2'000'000'000, 50}, {2'000'000'000, 50}, 0.0, 1);
    dashed->dashPattern = DashStyle::Dash;
    RasterCanvas canvas(200, 100, Smoothing::Exact);
    DrawLine(canvas, design, *dashed, CanvasTransform(1.0));
    // Dashes start every 8 pixels from an x divisible by 8, so x = 7 mod 8 is a gap.
    EXPECT_EQ(canvas.pixel(7, 50), kWhite);
    EXPECT_EQ(canvas.pixel(15, 50), kWhite);
    EXPECT_EQ(canvas.pixel(199, 50), kWhite);
    EXPECT_EQ(canvas.pixel(10, 50), kBlue);
    EXPECT_EQ(CountInRow(canvas, 50, kBlue), 175); // 7 of every 8 pixels

    // A wide bordered solid line from far away: its body is cut near the raster.
    ItemRecord* wide = AddLine(design, {-2'000'000'000, 30}, {2'000'000'000, 30}, 2.65, 10);
    wide->lineWeightBase = 0.8;
    wide->fillColor = kRed;
    DrawLine(canvas, design, *wide, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(100, 30), kRed);
    EXPECT_EQ(canvas.pixel(100, 26), kBlue);
    EXPECT_EQ(canvas.pixel(0, 26), kBlue); // no end strip shows at the raster's edges
    EXPECT_EQ(canvas.pixel(0, 30), kRed);
    EXPECT_EQ(canvas.pixel(199, 30), kRed);
}

TEST(DrawLine, NullRasterAndDegenerateLinesAreHarmless) {
    ItemList design;
    ItemRecord* line = AddLine(design, {5, 5}, {5, 5}, 2.65, 10);
    RasterCanvas none;
    DrawLine(none, design, *line, CanvasTransform(1.0));
    // A line of no length shows a cross-section of its width where it stands.
    RasterCanvas canvas(20, 20, Smoothing::Exact);
    DrawLine(canvas, design, *line, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(5, 2), kBlue);
    EXPECT_EQ(canvas.pixel(15, 15), kWhite);
}

ItemRecord* AddShape(ItemList& design, int32_t kind, std::vector<Point> points, int32_t fillColor,
                     int32_t shapeMode = 2) {
    ItemRecord* shape = CreateRecord(design, kind);
    for (Point p : points) {
        shape->pointList.push_back({.x = p.x, .y = p.y});
    }
    shape->shapeMode = shapeMode;
    shape->lineWeight = 2.0; // PenWidthPixels(1, 2 mm) = round(7.56) = 8
    shape->color = kBlue;
    shape->fillColor = fillColor;
    return shape;
}

TEST(DrawShape, FillCodesOfARectangle) {
    const std::vector<Point> corners = {{40, 40}, {120, 40}, {120, 100}, {40, 100}};
    ItemList design;
    RasterCanvas canvas(160, 140, Smoothing::Exact);

    // In the outline colour: filled, with a 1-pixel outline whatever the weight.
    DrawShape(canvas, *AddShape(design, ItemKind::Rectangle, corners, FILL_AS_OUTLINE), CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(80, 70), kBlue);
    EXPECT_EQ(canvas.pixel(40, 70), kBlue);
    EXPECT_EQ(canvas.pixel(38, 70), kWhite);
    EXPECT_EQ(canvas.pixel(80, 38), kWhite);

    // No fill: the 8-pixel outline alone.
    Paint(canvas, kWhite);
    DrawShape(canvas, *AddShape(design, ItemKind::Rectangle, corners, FILL_NONE), CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(80, 70), kWhite);
    EXPECT_EQ(canvas.pixel(38, 70), kBlue);
    EXPECT_EQ(canvas.pixel(42, 70), kBlue);
    EXPECT_NEAR(CountInRow(canvas, 70, kBlue), 2 * 8, 2);

    // A colour: the fill inside the 8-pixel outline.
    Paint(canvas, kWhite);
    DrawShape(canvas, *AddShape(design, ItemKind::Rectangle, corners, kRed), CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(80, 70), kRed);
    EXPECT_EQ(canvas.pixel(42, 70), kBlue);
    EXPECT_EQ(canvas.pixel(38, 70), kBlue);

    // A weight from a damaged file: the widest pen the painter takes, which covers everything.
    ItemRecord* heavy = AddShape(design, ItemKind::Rectangle, corners, FILL_NONE);
    heavy->lineWeight = 1e12;
    Paint(canvas, kWhite);
    DrawShape(canvas, *heavy, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(80, 70), kBlue);
    EXPECT_EQ(canvas.pixel(0, 0), kBlue);
}

TEST(DrawShape, CirclesEllipsesAndArcs) {
    ItemList design;
    RasterCanvas canvas(200, 200, Smoothing::Exact);
    // Circle of radius 40 about (100, 100), top at y = 60.
    ItemRecord* circle = AddShape(design, ItemKind::Circle, {{100, 100}, {140, 100}}, FILL_AS_OUTLINE);
    DrawShape(canvas, *circle, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(100, 100), kBlue);
    EXPECT_EQ(canvas.pixel(100, 57), kWhite); // a 1-pixel outline, not an 8-pixel one
    circle->fillColor = FILL_NONE;
    Paint(canvas, kWhite);
    DrawShape(canvas, *circle, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(100, 100), kWhite);
    EXPECT_EQ(canvas.pixel(100, 57), kBlue);

    // Ellipse about (100, 100), half-length 60 along x, half-width 30.
    ItemRecord* ellipse = AddShape(design, ItemKind::Ellipse, {{100, 100}, {160, 100}, {100, 70}}, FILL_NONE);
    Paint(canvas, kWhite);
    DrawShape(canvas, *ellipse, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(100, 100), kWhite);
    EXPECT_EQ(canvas.pixel(100, 70), kBlue);
    EXPECT_EQ(canvas.pixel(160, 100), kBlue);
    ellipse->fillColor = kRed;
    DrawShape(canvas, *ellipse, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(100, 100), kRed);

    // An arc is never filled and keeps its pen even with FILL_AS_OUTLINE: the upper half circle.
    ItemRecord* arc = AddShape(design, ItemKind::Arc, {{100, 100}, {140, 100}, {60, 100}}, FILL_AS_OUTLINE);
    Paint(canvas, kWhite);
    DrawShape(canvas, *arc, CanvasTransform(1.0));
    EXPECT_EQ(canvas.pixel(100, 60), kBlue);
    EXPECT_EQ(canvas.pixel(100, 57), kBlue);
    EXPECT_EQ(canvas.pixel(100, 90), kWhite);
    EXPECT_EQ(canvas.pixel(100, 140), kWhite); // nothing below the chord
}

TEST(DrawShape, TwoPointFiguresAndOpenFigures) {
    ItemList design;
    RasterCanvas canvas(200, 100, Smoothing::Exact);
    // Two points of a point-list shape: one segment; 1 pixel in the outline colour code.
    ItemRecord* segment = AddShape(design, ItemKind::Spline, {{20, 50}, {180, 50}}, FILL_AS_OUTLINE, 0);
    DrawShape(canvas, *segment, CanvasTransform(1.0));
    EXPECT_EQ(CountInColumn(canvas, 100, kBlue), 1);
    segment->fillColor = FILL_NONE;
    Paint(canvas, kWhite);
    DrawShape(canvas, *segment, CanvasTransform(1.0));
    EXPECT_NEAR(CountInColumn(canvas, 100, kBlue), 8, 1);

    // An open spline of three points is a polyline with the item's pen.
    ItemRecord* open =
        AddShape(design, ItemKind::Spline, {{20, 50}, {100, 50}, {180, 50}}, FILL_AS_OUTLINE, 0);
    Paint(canvas, kWhite);
    DrawShape(canvas, *open, CanvasTransform(1.0));
    EXPECT_NEAR(CountInColumn(canvas, 60, kBlue), 8, 1);

    // A polygon of 2 sides has no outline at all.
    ItemRecord* polygon = AddShape(design, ItemKind::Polygon, {{100, 50}, {130, 50}}, kRed);
    polygon->vertexCount = 2;
    Paint(canvas, kWhite);
    DrawShape(canvas, *polygon, CanvasTransform(1.0));
    EXPECT_EQ(CountInColumn(canvas, 100, kWhite), canvas.height());
}

TEST(DrawShape, SelfCrossingOutlinesFillEvenOddWhateverTheirKind) {
    // A five-pointed star drawn in one stroke: its centre is wound round twice and stays empty
    // by the even-odd rule; the tips are filled.
    const std::vector<Point> star = {{100, 20}, {53, 165}, {176, 75}, {24, 75}, {147, 165}};
    ItemList design;
    ItemRecord* solid = AddShape(design, ItemKind::Spline, star, kRed);
    ItemRecord* oblong = AddShape(design, ItemKind::Curve, star, kRed);
    // Straight segments: each node's handles at a third and two thirds of the way to the next.
    for (size_t i = 0; i < star.size(); ++i) {
        const Point a = star[i], b = star[(i + 1) % star.size()];
        PointNode& node = oblong->pointList[i];
        node.ctrl1X = a.x + (b.x - a.x) / 3;
        node.ctrl1Y = a.y + (b.y - a.y) / 3;
        node.ctrl2X = a.x + 2 * (b.x - a.x) / 3;
        node.ctrl2Y = a.y + 2 * (b.y - a.y) / 3;
    }
    for (ItemRecord* shape : {solid, oblong}) {
        shape->lineWeight = 0.0;
        RasterCanvas canvas(200, 200, Smoothing::Exact);
        DrawShape(canvas, *shape, CanvasTransform(1.0));
        EXPECT_EQ(canvas.pixel(100, 110), kWhite) << shape->kind;
        EXPECT_EQ(canvas.pixel(100, 45), kRed) << shape->kind; // top tip
        EXPECT_EQ(canvas.pixel(45, 80), kRed) << shape->kind;  // left tip
    }
}

} // namespace
} // namespace vlr
