// The raster operations checked on the pixels they leave.
#include "render/rastercanvas.h"

#include "model/outline.h"
#include "render/devicescale.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QSet>

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <limits>

namespace vlr {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kRed = 0x0000FF; // 0x00BBGGRR
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kGreen = 0x00FF00;

RasterCanvas Canvas(int32_t w, int32_t h, Smoothing smoothing, int32_t penColour = kBlue,
                    int32_t penWidth = 1, int32_t brushColour = kRed) {
    RasterCanvas canvas(w, h, smoothing);
    canvas.setPen({penColour, penWidth});
    canvas.setBrush({brushColour});
    return canvas;
}

// The pixels of a row as a string: '.' white, 'b' blue, 'r' red, '+' anything else.
std::string Row(const RasterCanvas& canvas, int32_t y, int32_t from, int32_t to) {
    std::string row;
    for (int32_t x = from; x <= to; ++x) {
        int32_t c = canvas.pixel(x, y);
        row += c == kWhite ? '.' : c == kBlue ? 'b' : c == kRed ? 'r' : '+';
    }
    return row;
}

// Exact rasters hold exactly the colour; antialiased ones may blend sharp corners and curves
// with their neighbourhood, but the colour still dominates each channel.
bool Shows(const RasterCanvas& canvas, int32_t x, int32_t y, int32_t colour) {
    const int32_t actual = canvas.pixel(x, y);
    if (canvas.smoothing() == Smoothing::Exact || actual == colour) {
        return actual == colour;
    }
    for (int shift : {0, 8, 16}) {
        if (std::abs(((actual >> shift) & 0xFF) - ((colour >> shift) & 0xFF)) > 96) {
            return false;
        }
    }
    return true;
}

class BothSmoothings : public ::testing::TestWithParam<Smoothing> {};
INSTANTIATE_TEST_SUITE_P(Raster, BothSmoothings, ::testing::Values(Smoothing::Exact, Smoothing::Antialiased),
                         [](const auto& info) {
                             return info.param == Smoothing::Exact ? "Exact" : "Antialiased";
                         });

TEST(RasterCanvas, PixelsAreBlueGreenRedBytesOfWhiteRows) {
    RasterCanvas canvas(20, 10);
    EXPECT_EQ(canvas.pixel(19, 9), kWhite);
    EXPECT_EQ(canvas.pixel(20, 0), -1);
    EXPECT_EQ(canvas.scanLine(10), nullptr);
    canvas.setPixel(3, 2, 0x00336699); // red 0x99, green 0x66, blue 0x33
    canvas.setPixel(-1, 2, kRed);      // ignored
    const auto* bytes = reinterpret_cast<const uint8_t*>(canvas.scanLine(2));
    EXPECT_EQ(bytes[12], 0x33);
    EXPECT_EQ(bytes[13], 0x66);
    EXPECT_EQ(bytes[14], 0x99);
    EXPECT_EQ(canvas.pixel(3, 2), 0x00336699);
    EXPECT_EQ(QRgbFromColour(0x7F336699), 0xFF996633u); // the high byte is ignored

    EXPECT_TRUE(RasterCanvas(-3, 5).isNull());
    EXPECT_TRUE(RasterCanvas(1 << 20, 1 << 20).isNull()); // a terabyte is refused, not attempted
    RasterCanvas null(0, 5);
    EXPECT_TRUE(null.isNull());
    null.Polygon(std::vector<Point>{{0, 0}, {5, 0}, {0, 5}});
    null.FillRect({0, 0, 5, 5});
    null.TextOut(0, 0, u"x");
    EXPECT_EQ(null.pixel(0, 0), -1);
}

TEST_P(BothSmoothings, APolygonIsOutlinedOnItsCornersAndFilledInside) {
    RasterCanvas canvas = Canvas(30, 30, GetParam());
    canvas.Polygon(std::vector<Point>{{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    EXPECT_EQ(Row(canvas, 15, 8, 22), "..brrrrrrrrrb..");
    EXPECT_EQ(Row(canvas, 10, 11, 19), "bbbbbbbbb");
    EXPECT_TRUE(Shows(canvas, 10, 10, kBlue));
    EXPECT_TRUE(Shows(canvas, 20, 20, kBlue));
    EXPECT_EQ(Row(canvas, 9, 8, 22), "...............");
    EXPECT_EQ(Row(canvas, 21, 8, 22), "...............");
}

TEST_P(BothSmoothings, ThePolygonInteriorFollowsTheEvenOddRule) {
    // A pentagram about (50, 50): the pentagon in the middle is crossed twice and stays empty.
    RasterCanvas canvas = Canvas(100, 100, GetParam());
    canvas.Polygon(std::vector<Point>{{50, 10}, {26, 82}, {88, 38}, {12, 38}, {74, 82}});
    EXPECT_EQ(canvas.pixel(50, 50), kWhite);
    EXPECT_EQ(canvas.pixel(50, 25), kRed); // inside the top tip
    EXPECT_TRUE(Shows(canvas, 50, 10, kBlue));
    EXPECT_EQ(canvas.pixel(5, 5), kWhite);
}

TEST_P(BothSmoothings, ThinPensLightOnePixelRowWidePensSpreadAboutTheLine) {
    RasterCanvas thin = Canvas(20, 12, GetParam(), kBlue, 0);
    thin.Polyline(std::vector<Point>{{2, 5}, {12, 5}});
    EXPECT_EQ(Row(thin, 5, 0, 14), "..bbbbbbbbbbb..");
    EXPECT_EQ(Row(thin, 4, 0, 14), "...............");
    EXPECT_EQ(Row(thin, 6, 0, 14), "...............");
    RasterCanvas one = Canvas(20, 12, GetParam(), kBlue, 1);
    one.Polyline(std::vector<Point>{{2, 5}, {12, 5}});
    EXPECT_EQ(one.image(), thin.image());
    one.Polyline(std::vector<Point>{{0, 0}}); // a single point draws nothing
    EXPECT_EQ(one.image(), thin.image());

    RasterCanvas wide = Canvas(20, 12, GetParam(), kBlue, 5);
    wide.Polyline(std::vector<Point>{{2, 5}, {12, 5}});
    for (int32_t y = 3; y <= 7; ++y) {
        EXPECT_EQ(wide.pixel(7, y), kBlue) << y;
    }
    EXPECT_EQ(wide.pixel(7, 1), kWhite);
    EXPECT_EQ(wide.pixel(7, 9), kWhite);

    RasterCanvas dotted(20, 12, GetParam());
    dotted.setPen({kBlue, 1, PenStyle::Dotted});
    dotted.Polyline(std::vector<Point>{{2, 5}, {12, 5}});
    const std::string dots = Row(dotted, 5, 2, 12);
    EXPECT_NE(dots.find('.'), std::string::npos);
    EXPECT_NE(dots.find_first_not_of('.'), std::string::npos);
}

TEST_P(BothSmoothings, EllipsesAreInscribedInTheirRectangle) {
    RasterCanvas canvas = Canvas(40, 40, GetParam());
    canvas.Ellipse({10, 10, 30, 30});
    EXPECT_EQ(canvas.pixel(20, 20), kRed);
    EXPECT_TRUE(Shows(canvas, 10, 20, kBlue));
    EXPECT_TRUE(Shows(canvas, 20, 30, kBlue));
    EXPECT_EQ(canvas.pixel(12, 12), kWhite); // the corner of the rectangle lies outside
    EXPECT_EQ(canvas.pixel(8, 20), kWhite);
}

TEST(RasterCanvas, BezierSegmentsAreStrokedNotFilled) {
    // Midway, the cubic (0, 10), (10, 0), (20, 0), (30, 10) passes (15, 2.5).
    RasterCanvas canvas = Canvas(40, 20, Smoothing::Exact);
    canvas.PolyBezier(std::vector<Point>{{0, 10}, {10, 0}, {20, 0}, {30, 10}});
    EXPECT_TRUE(canvas.pixel(15, 2) == kBlue || canvas.pixel(15, 3) == kBlue);
    EXPECT_EQ(canvas.pixel(15, 7), kWhite);

    // Points after the last complete segment are ignored.
    RasterCanvas longer = Canvas(40, 20, Smoothing::Exact);
    longer.PolyBezier(std::vector<Point>{{0, 10}, {10, 0}, {20, 0}, {30, 10}, {35, 15}, {39, 19}});
    EXPECT_EQ(longer.image(), canvas.image());
}

TEST_P(BothSmoothings, APathIsClosedFilledAndOutlinedWhenStrokedAndFilled) {
    RasterCanvas canvas = Canvas(100, 80, GetParam());
    const EllipseBezier ellipse = EllipseBezierPoints({50, 40}, {90, 40}, {50, 20});
    const QImage blank = canvas.image();
    canvas.BeginPath();
    canvas.PolyBezier(ellipse.points);
    canvas.Polyline(std::vector<Point>{{2, 2}, {12, 2}, {2, 12}}); // an open figure
    canvas.EndPath();
    EXPECT_EQ(canvas.image(), blank); // collected, not drawn
    canvas.StrokeAndFillPath();
    EXPECT_EQ(canvas.pixel(50, 40), kRed);
    EXPECT_TRUE(Shows(canvas, 50, 20, kBlue));
    EXPECT_TRUE(Shows(canvas, 89, 40, kBlue) || Shows(canvas, 90, 40, kBlue));
    EXPECT_EQ(canvas.pixel(50, 16), kWhite);
    EXPECT_EQ(canvas.pixel(4, 5), kRed); // the open triangle was closed and filled
}

TEST(RasterCanvas, FillRectExcludesRightAndBottomAndClips) {
    RasterCanvas canvas(10, 8);
    canvas.setBrush({kGreen});
    canvas.FillRect({6, 5, 2, 3}); // corners in either order
    EXPECT_EQ(Row(canvas, 3, 0, 9), "..++++....");
    EXPECT_EQ(Row(canvas, 4, 0, 9), "..++++....");
    EXPECT_EQ(Row(canvas, 5, 0, 9), "..........");
    canvas.setBrush({kRed, BrushStyle::Clear});
    canvas.FillRect({0, 0, 10, 8});
    EXPECT_EQ(canvas.pixel(0, 0), kWhite);
    canvas.setBrush({kRed});
    canvas.FillRect({std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 1});
    EXPECT_EQ(Row(canvas, 0, 0, 9), "rrrrrrrrrr");
    EXPECT_EQ(Row(canvas, 1, 0, 9), "..........");
    canvas.setBrush({kWhite});
    canvas.FillRect({0, 0, 10, 8});
    EXPECT_EQ(Row(canvas, 0, 0, 9), "..........");
    EXPECT_EQ(canvas.image().pixel(9, 7), 0xFFFFFFFFu);
}

TEST(RasterCanvas, CopyRectCopiesScalesAndReadsOverlapsBeforeWriting) {
    RasterCanvas source(4, 2);
    for (int32_t x = 0; x < 4; ++x) {
        source.setPixel(x, 0, x + 1);
        source.setPixel(x, 1, 0x10 + x);
    }
    RasterCanvas target(6, 4);
    target.CopyRect({1, 1, 3, 3}, source, {2, 0, 4, 2});
    EXPECT_EQ(target.pixel(1, 1), 3);
    EXPECT_EQ(target.pixel(2, 2), 0x13);
    EXPECT_EQ(target.pixel(3, 1), kWhite);
    target.Draw(4, 3, source); // clipped at the right and bottom edges
    EXPECT_EQ(target.pixel(5, 3), 2);

    // Doubled: each source pixel becomes a 2 x 2 block.
    RasterCanvas doubled(8, 4);
    doubled.CopyRect({0, 0, 8, 4}, source, {0, 0, 4, 2});
    EXPECT_EQ(doubled.pixel(1, 1), 1);
    EXPECT_EQ(doubled.pixel(2, 0), 2);
    EXPECT_EQ(doubled.pixel(7, 3), 0x13);

    // Shifted one pixel right within one raster: the old pixels move, nothing is smeared.
    source.CopyRect({1, 0, 4, 1}, source, {0, 0, 3, 1});
    EXPECT_EQ(Row(source, 0, 0, 3), "++++");
    EXPECT_EQ(source.pixel(1, 0), 1);
    EXPECT_EQ(source.pixel(2, 0), 2);
    EXPECT_EQ(source.pixel(3, 0), 3);
}

// The box of the pixels that are not white.
Rect InkBox(const RasterCanvas& canvas, QSet<int32_t>* colours = nullptr) {
    Rect box{canvas.width(), canvas.height(), -1, -1};
    for (int32_t y = 0; y < canvas.height(); ++y) {
        for (int32_t x = 0; x < canvas.width(); ++x) {
            int32_t c = canvas.pixel(x, y);
            if (c != kWhite) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
                if (colours) {
                    colours->insert(c);
                }
            }
        }
    }
    return box;
}

TEST(RasterCanvas, TextHangsFromItsReferencePointAndTurnsAboutIt) {
    RasterCanvas canvas(200, 200, Smoothing::Exact);
    canvas.setFont({.sizePoints = 18.0, .colour = kBlue});
    const TextMetrics metrics = canvas.GetTextMetrics();
    const int32_t width = canvas.TextWidth(u"Hello");
    canvas.TextOut(100, 100, u"Hello");
    QSet<int32_t> colours;
    Rect ink = InkBox(canvas, &colours);
    EXPECT_EQ(colours, QSet<int32_t>{kBlue}); // exact: no blended pixels
    EXPECT_GE(ink.left, 100);
    EXPECT_GE(ink.top, 100);
    EXPECT_LE(ink.right, 100 + width);
    EXPECT_LE(ink.bottom, 100 + metrics.height);

    // Reading upwards: the cell turns a quarter counter-clockwise about (100, 100).
    RasterCanvas turned(200, 200, Smoothing::Exact);
    turned.setFont({.sizePoints = 18.0, .escapement = 900, .colour = kBlue});
    turned.TextOut(100, 100, u"Hello");
    ink = InkBox(turned);
    EXPECT_GE(ink.left, 100);
    EXPECT_LE(ink.right, 100 + metrics.height);
    EXPECT_GE(ink.top, 100 - width);
    EXPECT_LE(ink.bottom, 100);
    EXPECT_EQ(turned.TextWidth(u"Hello"), width); // widths are measured unturned

    // Smooth glyphs blend into what lies beneath, which stays.
    RasterCanvas smooth(200, 60);
    smooth.setBrush({kRed});
    smooth.FillRect({0, 0, 200, 60});
    smooth.setFont({.sizePoints = 18.0, .colour = kBlue});
    smooth.TextOut(10, 10, u"Hello");
    colours.clear();
    InkBox(smooth, &colours);
    EXPECT_TRUE(colours.contains(kRed));
    EXPECT_TRUE(colours.contains(kBlue));
    EXPECT_GT(colours.size(), 2);
}

TEST(RasterCanvas, FontSizesAndMetrics) {
    EXPECT_EQ(FontPixelHeight(10.0, ScreenResolution()), 13); // 10 x 96 / 72 = 13.3
    EXPECT_EQ(FontPixelHeight(10.0, ScreenResolution(96, 120)), 17);
    EXPECT_EQ(FontPixelHeight(0.0, ScreenResolution()), 1);
    EXPECT_EQ(FontPixelHeight(std::nan(""), ScreenResolution()), 1);
    EXPECT_EQ(FontPixelHeight(1e12, ScreenResolution()), kMaxFontPixels);

    RasterCanvas canvas(10, 10);
    canvas.setFont({.sizePoints = 30.0});
    const TextMetrics small = canvas.GetTextMetrics();
    canvas.setFont({.sizePoints = 60.0});
    const TextMetrics large = canvas.GetTextMetrics();
    EXPECT_EQ(large.height, large.ascent + large.descent);
    EXPECT_GE(large.height, FontPixelHeight(60.0, canvas.screen())); // the cell holds the em
    EXPECT_NEAR(double(large.height) / small.height, 2.0, 0.1);
    EXPECT_GE(large.maxCharWidth, large.averageCharWidth);
    EXPECT_EQ(canvas.TextWidth(u""), 0);
    EXPECT_GT(canvas.TextWidth(u"WW"), canvas.TextWidth(u"W"));
}

TEST(RasterCanvas, AMissingFaceFallsBackToTheDefaultFace) {
    RasterCanvas canvas(10, 10);
    canvas.setFont({.face = QStringLiteral("No Such Face Anywhere"), .sizePoints = 24.0});
    const int32_t missing = canvas.TextWidth(u"The quick brown fox");
    canvas.setFont(
        {.face = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), .sizePoints = 24.0});
    EXPECT_EQ(canvas.TextWidth(u"The quick brown fox"), missing);
    EXPECT_GT(missing, 0);
}

TEST(RasterCanvas, LocksNestAndExcludeOtherThreads) {
    RasterCanvas canvas = Canvas(10, 10, Smoothing::Exact);
    canvas.Polygon(std::vector<Point>{{1, 1}, {8, 1}, {8, 8}, {1, 8}});
    {
        CanvasLock outer(canvas);
        canvas.Lock();
        EXPECT_TRUE(canvas.IsLocked());
        EXPECT_EQ(canvas.pixel(4, 4), kRed); // the drawing is complete under the lock
        EXPECT_FALSE(std::async(std::launch::async, [&canvas] { return canvas.TryLock(); }).get());
        canvas.Unlock();
        EXPECT_TRUE(canvas.IsLocked());
    }
    EXPECT_FALSE(canvas.IsLocked());
    canvas.Unlock(); // unmatched: ignored
    EXPECT_TRUE(canvas.TryLock());
    canvas.Unlock();
}

TEST(RasterCanvas, FarCoordinatesAndHugePensDoNotBreakTheRaster) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    for (Smoothing smoothing : {Smoothing::Exact, Smoothing::Antialiased}) {
        RasterCanvas canvas = Canvas(50, 50, smoothing, kBlue, hi);
        canvas.Polygon(std::vector<Point>{{lo, lo}, {hi, 25}, {25, hi}});
        canvas.Polyline(std::vector<Point>{{lo, 25}, {hi, 25}});
        canvas.Ellipse({lo, lo, hi, hi});
        canvas.PolyBezier(std::vector<Point>{{0, 0}, {hi, 0}, {0, hi}, {lo, 10}});
        canvas.setPen({kBlue, -7});
        canvas.Polyline(std::vector<Point>{{0, 49}, {49, 49}});
        EXPECT_EQ(canvas.pixel(25, 49), kBlue);
        canvas.setFont({.sizePoints = 1e9, .escapement = std::numeric_limits<int32_t>::min(), .weight = -3});
        canvas.TextOut(0, 0, u"x");
        EXPECT_FALSE(canvas.isNull());
    }
}

// A hexagon outline at 600 dpi drawn on a mask: the fill covers the centre, the outline runs
// through the corners, and nothing lies beyond them.
TEST(RasterCanvas, DrawsShapeOutlinesWhereTheyRun) {
    const DeviceOutline hexagon =
        ShapeOutline(ItemKind::Polygon, 0, 6, {PointNode{.x = 16, .y = 16}, PointNode{.x = 16, .y = 0}},
                     DeviceTransform(600, 600, ScreenResolution()));
    ASSERT_EQ(hexagon.points.size(), 6u);
    EXPECT_EQ(hexagon.points[0], (Point{100, 0}));
    RasterCanvas mask = Canvas(201, 201, Smoothing::Exact);
    mask.Polygon(hexagon.points);
    EXPECT_EQ(mask.pixel(100, 100), kRed);
    EXPECT_EQ(mask.pixel(100, 0), kBlue);
    EXPECT_EQ(mask.pixel(100, 200), kBlue); // the opposite corner, 200 pixels below
    EXPECT_EQ(mask.pixel(5, 5), kWhite);    // outside the slanted edge
}

// A raster for a screen of two device pixels per window pixel: window coordinates, the device's
// density. A 1-pixel line along row 10 covers device rows 20 and 21 alone;
// rectangles fill their device pixels exactly, at 1.5 too; device addressing reaches each pixel.
TEST(RasterCanvas, ADenseRasterDrawsWindowCoordinatesAtTheDevicesDensity) {
    RasterCanvas dense(40, 30, Smoothing::Antialiased, {}, 2.0);
    EXPECT_EQ(dense.width(), 40);
    EXPECT_EQ(dense.image().size(), QSize(80, 60));
    EXPECT_EQ(dense.image().devicePixelRatio(), 2.0);
    dense.setPen({kBlue, 1});
    dense.Polyline(std::vector<Point>{{5, 10}, {30, 10}});
    // Window pixels 5 ... 30 of row 10 are device pixels 10 ... 61 of rows 20 and 21.
    for (int32_t y : {19, 20, 21, 22}) {
        const bool lit = y == 20 || y == 21;
        EXPECT_EQ(Row(dense, y, 8, 63), ".." + std::string(52, lit ? 'b' : '.') + "..") << "device row " << y;
    }
    dense.setBrush({kRed});
    dense.FillRect({1, 1, 3, 2});
    EXPECT_EQ(Row(dense, 2, 0, 7), "..rrrr..");
    EXPECT_EQ(Row(dense, 4, 0, 7), "........");
    {
        const DevicePixels device(dense);
        EXPECT_EQ(dense.width(), 80);
        dense.FillRect({79, 59, 80, 60});
        EXPECT_EQ(dense.image().devicePixelRatio(), 1.0);
    }
    EXPECT_EQ(dense.pixel(79, 59), kRed);
    EXPECT_EQ(dense.height(), 30);
    EXPECT_EQ(dense.image().devicePixelRatio(), 2.0);

    // At 1.5 window pixels 1 ... 3 are device pixels 1.5 ... 4.5: 2 ... 4 once rounded.
    RasterCanvas between(10, 10, Smoothing::Antialiased, {}, 1.5);
    EXPECT_EQ(between.image().size(), QSize(15, 15));
    between.setBrush({kRed});
    between.FillRect({1, 0, 3, 1});
    EXPECT_EQ(Row(between, 0, 0, 6), "..rr...");
    EXPECT_EQ(DeviceCover({1, 0, 3, 1}, 1.5), (Rect{1, 0, 5, 2}));
}

} // namespace
} // namespace vlr
