// 3-D surfaces on real pixels: the brightness profile, the rows each body kind gives its pixels,
// the light's side, and degenerate bodies that draw nothing.
#include "render/shading.h"

#include "lightingdesign.h"
#include "render/drawdesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>

namespace vlr {
namespace {

using namespace vlr::testing;

// Row r of a profile of length L of white with surface 127, worked out by hand: no boost, so
// each channel is 255 x (g x 128 + 127) / 255 = g x 128 + 127, g = sin(pi (r + 1) / L) to the
// power 36 / L kept within 1.5 ... 3.
int32_t WhiteRow(int32_t row, int32_t length) {
    const double power = std::clamp(36.0 / length, 1.5, 3.0);
    const double g = std::pow(std::sin(std::numbers::pi * (row + 1) / length), power);
    return static_cast<int32_t>(std::lround(g * 128.0 + 127.0));
}

TEST(ProfileBoost, DarkAndGreyColoursAreLiftedPureOnesAndWhiteAreNot) {
    EXPECT_EQ(ProfileBoost(kWhite, 128), 0);
    EXPECT_EQ(ProfileBoost(0x000000, 128), 96); // 1 x 1 x 0.75 x 128
    EXPECT_EQ(ProfileBoost(kRed, 128), 0);      // channels 255 apart
    // Grey 128: (1 - 384 / 765) x 0.75 x 128 = 47.8.
    EXPECT_EQ(ProfileBoost(Grey(128), 128), 48);
    // (200, 100, 50): (1 - 350 / 765) x (1 - 150 / 255) x 0.75 x 255 = 42.7.
    EXPECT_EQ(ProfileBoost(200 | 100 << 8 | 50 << 16, 255), 43);
}

TEST(ShadingProfile, RowsRiseToTheColourInTheMiddle) {
    // Length 4: the power 9 is limited to 3; sin(pi/4)^3 x 128 + 127 = 172.3.
    EXPECT_EQ(ShadingProfile(4, 127, kWhite),
              (std::vector<int32_t>{Grey(172), Grey(255), Grey(172), Grey(127)}));
    // Black is boosted by 96: 96 x 172.25 / 255 = 64.8, and 96 x 127 / 255 = 47.8 at the end.
    EXPECT_EQ(ShadingProfile(4, 127, 0), (std::vector<int32_t>{Grey(65), Grey(96), Grey(65), Grey(48)}));
    // Surface 0 falls to black; (200, 100, 50) plus its boost 43 in the first row. Channels keep
    // their places: red in the low byte.
    EXPECT_EQ(ShadingProfile(2, 0, 200 | 100 << 8 | 50 << 16),
              (std::vector<int32_t>{243 | 143 << 8 | 93 << 16, 0}));
    // A long profile uses the power 1.5: sin(pi / 100)^1.5 x 128 + 127 = 127.7.
    const std::vector<int32_t> tall = ShadingProfile(100, 127, kWhite);
    ASSERT_EQ(tall.size(), 100u);
    EXPECT_EQ(tall[0], Grey(128));
    EXPECT_EQ(tall[49], Grey(255));
    EXPECT_TRUE(ShadingProfile(0, 127, kWhite).empty());
    EXPECT_TRUE(ShadingProfile(-5, 127, kWhite).empty());
}

// A white circle about (50, 50) of radius 30 with a 1-pixel red outline.
struct WhiteCircle {
    LitDesign design;
    ItemRecord* circle;
    explicit WhiteCircle(int32_t light) : design(light), circle(design.Circle({50, 50}, 30)) {
        circle->fillColor = kWhite;
        circle->surface = 127;
    }
};

TEST(ShadedDisc, EachPixelTakesTheRowOfItsDistanceFromTheLightCentre) {
    // Diameter 60, pen 1: the light centre lies at the mask corner (19, 19) + 30 - 10 for light
    // from the top left, (59, 59) for light from the bottom right; 1 + 90 = 91 rows, half 45.
    const RasterCanvas topLeft = Drawn(WhiteCircle(0).design, 100, 100);
    EXPECT_EQ(topLeft.pixel(39, 39), Grey(WhiteRow(45, 91)));
    EXPECT_EQ(topLeft.pixel(69, 39), Grey(WhiteRow(45 + 30, 91)));
    EXPECT_EQ(topLeft.pixel(39, 69), Grey(WhiteRow(45 + 30, 91)));
    // sqrt(20^2 + 20^2) = 28.3 -> 28; 45 + 28 = 73.
    EXPECT_EQ(topLeft.pixel(59, 59), Grey(WhiteRow(73, 91)));
    const RasterCanvas bottomRight = Drawn(WhiteCircle(3).design, 100, 100);
    EXPECT_EQ(bottomRight.pixel(59, 59), Grey(WhiteRow(45, 91)));
    EXPECT_EQ(bottomRight.pixel(39, 39), Grey(WhiteRow(73, 91)));
    // Outside the circle nothing changes.
    EXPECT_EQ(topLeft.pixel(10, 10), kWhite);
    EXPECT_EQ(topLeft.pixel(90, 50), kWhite);
}

TEST(ShadedDisc, LighterTowardsTheLightInEachDirection) {
    const std::array<Point, 4> towards = {Point{-1, -1}, Point{1, -1}, Point{-1, 1}, Point{1, 1}};
    for (int32_t light = 0; light < 4; ++light) {
        const RasterCanvas raster = Drawn(WhiteCircle(light).design, 100, 100);
        const Point to = towards[static_cast<size_t>(light)];
        const int32_t lit = Brightness(raster.pixel(50 + 14 * to.x, 50 + 14 * to.y));
        const int32_t dark = Brightness(raster.pixel(50 - 14 * to.x, 50 - 14 * to.y));
        EXPECT_GT(lit, dark + 30) << "light " << light;
    }
}

// A printed surface is the screen surface scaled: each screen pixel against the mean of the
// 4 x 4 pixels it becomes at 384 dpi, along the diagonal from the lit side to the dark side of a
// disc and across a shaded square.
TEST(DrawShaded, AtPrinterResolutionTheSurfaceIsTheScreenSurfaceScaled) {
    WhiteCircle disc(0);
    LitDesign squareDesign(0);
    ItemRecord* square = squareDesign.Square(20, 20, 60);
    square->fillColor = kWhite;
    square->surface = 127;
    const ViewTransform printer = DeviceTransform(384.0, 384.0, ScreenResolution());
    struct Case {
        const char* what;
        LitDesign& design;
        Point from, step;
        int32_t count;
    };
    for (const Case& c : {Case{"disc", disc.design, {32, 32}, {1, 1}, 36},
                          Case{"square", squareDesign, {24, 50}, {1, 0}, 52}}) {
        const RasterCanvas screen = Drawn(c.design, 100, 100);
        const RasterCanvas printed = Drawn(c.design, 400, 400, printer);
        for (int32_t i = 0; i < c.count; ++i) {
            const int32_t x = c.from.x + i * c.step.x, y = c.from.y + i * c.step.y;
            int32_t sum = 0;
            for (int32_t dy = 0; dy < 4; ++dy) {
                for (int32_t dx = 0; dx < 4; ++dx) {
                    sum += Brightness(printed.pixel(4 * x + dx, 4 * y + dy));
                }
            }
            EXPECT_NEAR(sum / 16.0, Brightness(screen.pixel(x, y)), 20.0) << c.what << " at " << x << "," << y;
        }
    }
}

TEST(ShadedBar, RowsCountAcrossTheSquareFromItsFirstEdge) {
    LitDesign design(0);
    ItemRecord* square = design.Square(20, 20, 60);
    square->fillColor = kWhite;
    square->surface = 127;
    const RasterCanvas raster = Drawn(design, 100, 100);
    // Band along p1-p2 (direction 0), 60 rows; the light moves the rows by
    // round(sin(5 pi / 4) x 15) = -11: row = 60 - 11 - (y - 20) = 69 - y, wrapped.
    for (int32_t x : {25, 50, 75}) {
        EXPECT_EQ(raster.pixel(x, 30), Grey(WhiteRow(39, 60))) << x;
        EXPECT_EQ(raster.pixel(x, 60), Grey(WhiteRow(9, 60))) << x;
        EXPECT_EQ(raster.pixel(x, 75), Grey(WhiteRow(54, 60))) << x; // -6 wraps to 54
    }
}

TEST(ShadedBar, CornersStoredEitherWayShadeAlike) {
    LitDesign clockwise(0), counter(0);
    ItemRecord* a = clockwise.Square(20, 20, 60);
    ItemRecord* b = counter.Square(20, 20, 60);
    std::reverse(b->pointList.begin(), b->pointList.end()); // from the bottom left, anticlockwise
    for (ItemRecord* square : {a, b}) {
        square->fillColor = kWhite;
        square->surface = 127;
    }
    const RasterCanvas one = Drawn(clockwise, 100, 100), other = Drawn(counter, 100, 100);
    // The rows differ by at most two of sixty: the brightest row is the same to two pixels and
    // no pixel differs by more than a little.
    auto brightestRow = [](const RasterCanvas& raster) {
        int32_t best = 0;
        for (int32_t y = 22; y < 79; ++y) {
            best = Red(raster.pixel(50, y)) > Red(raster.pixel(50, best)) ? y : best;
        }
        return best;
    };
    EXPECT_NEAR(brightestRow(one), brightestRow(other), 2);
    for (int32_t y = 22; y < 79; ++y) {
        EXPECT_NEAR(Red(one.pixel(50, y)), Red(other.pixel(50, y)), 16) << y;
    }
}

TEST(ShadedBar, ALineFourPixelsWideOrMoreIsShadedAcrossItsWidth) {
    LitDesign design(0);
    ItemRecord* line = design.Line({10, 50}, {90, 50}, 2.0); // 8 pixels
    line->color = kWhite;
    line->surface = 127;
    const RasterCanvas raster = Drawn(design, 100, 100);
    // The dash body runs from y = 46 to 54; rows count from its upper edge: 8 - 1 - (y - 46),
    // with the light's shift round(sin(5 pi / 4) x 2) = -1.
    for (int32_t y = 47; y <= 53; ++y) {
        EXPECT_EQ(raster.pixel(30, y), Grey(WhiteRow(53 - y, 8))) << y;
        EXPECT_EQ(raster.pixel(70, y), raster.pixel(30, y)) << y;
    }
    // With borders and a fill colour the interior is shaded from the fill, the borders from the
    // line colour: 2.5 mm is 9 pixels, the 0.8-mm border 3.
    LitDesign bordered(0);
    ItemRecord* framed = bordered.Line({10, 50}, {90, 50}, 2.5);
    framed->lineWeightBase = 0.8;
    framed->fillColor = kBlue;
    framed->surface = 127;
    const RasterCanvas frame = Drawn(bordered, 100, 100);
    // Down the column: white, border shades of red, interior shades of blue, border, white.
    std::string runs;
    for (int32_t y = 30; y < 70; ++y) {
        const int32_t c = frame.pixel(50, y);
        const char kind = c == kWhite                     ? 'w'
                          : Green(c) == 0 && Blue(c) == 0 ? 'r'
                          : Green(c) == 0 && Red(c) == 0  ? 'b'
                                                          : '?';
        if (runs.empty() || runs.back() != kind) {
            runs.push_back(kind);
        }
    }
    EXPECT_EQ(runs, "wrbrw");
    // Three pixels wide: flat.
    LitDesign thin(0);
    ItemRecord* narrow = thin.Line({10, 50}, {90, 50}, 0.75);
    ASSERT_EQ(int32_t(narrow->penWidthPx), 3);
    narrow->surface = 127;
    EXPECT_EQ(Drawn(thin, 100, 100).pixel(50, 50), kRed);
}

TEST(ShadedEllipse, LighterTowardsTheLightAndNothingWithoutAWidth) {
    for (int32_t light : {0, 3}) {
        LitDesign design(light);
        ItemRecord* ellipse = design.Add(ItemKind::Ellipse);
        ellipse->pointList = {{.x = 50, .y = 50}, {.x = 85, .y = 50}, {.x = 50, .y = 70}};
        ellipse->fillColor = kWhite;
        ellipse->surface = 127;
        const RasterCanvas raster = Drawn(design, 100, 100);
        const int32_t upperLeft = Brightness(raster.pixel(35, 42)),
                      lowerRight = Brightness(raster.pixel(65, 58));
        if (light == 0) {
            EXPECT_GT(upperLeft, lowerRight + 30);
            // Box (15, 30)-(85, 70); light centre (14 + 35 - 11, 29 + 20 - 6) = (38, 43);
            // 1 + 105 rows, half 53; stretch 1 - 20 / 35. Along the long axis the rows are the
            // distance; across it the distance grows by the stretch: 20 + round(8.57).
            EXPECT_EQ(raster.pixel(38, 43), Grey(WhiteRow(53, 106)));
            EXPECT_EQ(raster.pixel(58, 43), Grey(WhiteRow(53 + 20, 106)));
            EXPECT_EQ(raster.pixel(38, 63), Grey(WhiteRow(53 + 20 + 9, 106)));
        } else {
            EXPECT_GT(lowerRight, upperLeft + 30);
        }
    }
    LitDesign flat(0);
    ItemRecord* line = flat.Add(ItemKind::Ellipse);
    line->pointList = {{.x = 50, .y = 50}, {.x = 85, .y = 50}, {.x = 70, .y = 50}}; // width 0
    line->surface = 127;
    EXPECT_EQ(DifferentPixels(Drawn(flat, 100, 100), RasterCanvas(100, 100)), 0);
}

// Points from a file may lie further apart than an int32 difference reaches: the half-width is
// still worked out from the true distances (here 4e9 pixels long, 1e9 wide, centred far to the
// left), and the raster, inside the ellipse, is shaded.
TEST(ShadedEllipse, PointsTwoToThe31stApartAreMeasuredTruly) {
    RasterCanvas canvas(40, 40);
    SurfacePaint paint;
    paint.fillColor = 0x4080C0;
    paint.surface = 127;
    ShadedEllipse(canvas, {-2'000'000'000, 20}, {2'000'000'000, 20}, {-2'000'000'000, 1'000'000'020}, paint);
    EXPECT_GT(DifferentPixels(canvas, RasterCanvas(40, 40)), 0);
}

TEST(DiscCutout, OutlineAndFillAreCutFromTheDiscInTheirOwnColours) {
    LitDesign design(0);
    ItemRecord* polygon = design.Add(ItemKind::Polygon);
    polygon->vertexCount = 6;
    ASSERT_TRUE(RegularPolygonPoints(polygon->pointList, {50, 50}, {80, 50}, 6));
    polygon->color = kRed;
    polygon->fillColor = kBlue;
    polygon->surface = 127;
    const RasterCanvas raster = Drawn(design, 100, 100);
    // The disc: diameter round((30 + 1) x 2) = 62 from (19, 19); light centre (18, 18) + 31 - 10;
    // 1 + 93 = 94 rows. Pure colours have no boost, so blue is the white row.
    EXPECT_EQ(raster.pixel(39, 39), WhiteRow(47, 94) << 16);
    EXPECT_EQ(raster.pixel(59, 39), WhiteRow(47 + 20, 94) << 16);
    int32_t outline = 0, fill = 0;
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            const int32_t c = raster.pixel(x, y);
            if (c == kWhite) {
                continue;
            }
            ASSERT_TRUE(x >= 19 && x <= 81 && y >= 23 && y <= 77) << x << "," << y;
            if (Blue(c) == 0 && Green(c) == 0) {
                ++outline;
            } else {
                ASSERT_EQ(Red(c) | Green(c), 0) << x << "," << y;
                ++fill;
            }
        }
    }
    EXPECT_GT(outline, 100);
    EXPECT_GT(fill, 1500);
}

TEST(ShadedTextLine, LettersAreShadedFromTheTextColourWithTheHighlightTowardsTheLight) {
    // The row of the brightest letter pixel, for light from the top left and from the bottom left.
    std::array<int32_t, 2> brightestRow{};
    for (int32_t i = 0; i < 2; ++i) {
        LitDesign design(i == 0 ? 0 : 2);
        ItemRecord* text = design.Text(u"HIH", {10, 70}, 180, 40, 0x008000); // green 128
        text->surface = 127;
        const RasterCanvas raster = Drawn(design, 200, 100);
        std::set<int32_t> shades;
        int32_t best = -1;
        for (int32_t y = 0; y < 100; ++y) {
            for (int32_t x = 0; x < 200; ++x) {
                const int32_t c = raster.pixel(x, y);
                if (c == kWhite) {
                    continue;
                }
                // Every letter pixel is a shade of the boosted green: red and blue alike.
                ASSERT_EQ(Red(c), Blue(c)) << x << "," << y;
                ASSERT_GT(Green(c), Red(c)) << x << "," << y;
                shades.insert(c);
                if (best < 0 || Green(c) > Green(raster.pixel(x, best))) {
                    best = y;
                }
            }
        }
        EXPECT_GE(shades.size(), 5u);
        brightestRow[static_cast<size_t>(i)] = best;
    }
    EXPECT_LT(brightestRow[0], brightestRow[1]);
}

TEST(DrawShaded, SwitchedOffSurfacesDrawFlat) {
    WhiteCircle item(0);
    RasterCanvas plain(100, 100);
    DrawShape(plain, *item.circle, {});
    EXPECT_EQ(DifferentPixels(Drawn(item.design, 100, 100, {}, {.surfaces = false}), plain), 0);
    EXPECT_NE(Drawn(item.design, 100, 100).pixel(50, 50), kWhite);
}

TEST(DrawShaded, DegenerateBodiesDrawOnlyTheirShadow) {
    // A rectangle of length 0: the shaded body draws nothing, the shadow is still cast.
    LitDesign design(0);
    ItemRecord* flat = design.Add(ItemKind::Rectangle);
    flat->shapeMode = ShapeMode::Filled;
    flat->pointList = {{.x = 20, .y = 20}, {.x = 80, .y = 20}, {.x = 80, .y = 20}, {.x = 20, .y = 20}};
    flat->surface = 127;
    SetShadow(flat, 43, 0, 128);
    // A circle of radius 0 and a polygon of two sides: no body either.
    design.Circle({50, 60}, 0)->surface = 127;
    ItemRecord* polygon = design.Add(ItemKind::Polygon);
    polygon->vertexCount = 2;
    polygon->pointList = {{.x = 50, .y = 80}, {.x = 60, .y = 80}, {.x = 40, .y = 80}};
    polygon->surface = 127;
    const RasterCanvas raster = Drawn(design, 100, 100);
    EXPECT_EQ(raster.pixel(50, 25), Grey(128));
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            ASSERT_TRUE(raster.pixel(x, y) == kWhite || raster.pixel(x, y) == Grey(128)) << x << "," << y;
        }
    }
    // A zero-length side p1-p2.
    RasterCanvas canvas(50, 50);
    DeviceOutline outline;
    outline.form = OutlineForm::Polygon;
    outline.filled = true;
    outline.points = {{10, 10}, {10, 10}, {10, 40}, {10, 40}};
    outline.bounds = {10, 10, 10, 40};
    ShadedBar(canvas, outline, {10, 10}, {10, 10}, {10, 40}, {});
    EXPECT_EQ(DifferentPixels(canvas, RasterCanvas(50, 50)), 0);
}

TEST(ShadedTextLine, ATallNarrowLetterIsShadedWhole) {
    // A single "I" is far taller than it is wide: every part of it is shaded, up to the top of
    // the letter the flat drawing inks.
    LitDesign design(0);
    ItemRecord* text = design.Text(u"I", {20, 110}, 0, 72, 0x008000);
    text->surface = 127;
    auto topmostInk = [](const RasterCanvas& raster) {
        for (int32_t y = 0; y < raster.height(); ++y) {
            for (int32_t x = 0; x < raster.width(); ++x) {
                if (raster.pixel(x, y) != kWhite) {
                    return y;
                }
            }
        }
        return raster.height();
    };
    const int32_t flatTop = topmostInk(Drawn(design, 80, 130, {}, {.surfaces = false}));
    ASSERT_LT(flatTop, 60);
    EXPECT_NEAR(topmostInk(Drawn(design, 80, 130)), flatTop, 2);
}

} // namespace
} // namespace vlr
