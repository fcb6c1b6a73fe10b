// Shadows on real pixels: the offset away from the light, the tone, the blur of the fade, the
// composite, and masks kept to what the target shows.
#include "render/shadow.h"

#include "lightingdesign.h"
#include "render/drawdesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace vlr {
namespace {

using namespace vlr::testing;

TEST(ShadowValues, OffsetSpreadShiftAndTone) {
    const ScreenResolution screen;
    // Elevation 8 is one step of 8.5: one pixel at 100 %; 4 rounds to no step at all.
    EXPECT_EQ(ShadowOffset(8, 1.0, screen), 1);
    EXPECT_EQ(ShadowOffset(4, 1.0, screen), 0);
    EXPECT_EQ(ShadowOffset(0, 1.0, screen), 0);
    // 50 / 8.5 = 5.88 -> 6 steps; at 600 dpi (zoom 6.25) 37.5 -> 38 (ties to even).
    EXPECT_EQ(ShadowOffset(50, 6.25, screen), 38);
    // 17 / 8.5 = 2 steps; on a 120-dpi screen 2.5 pixels -> 2.
    EXPECT_EQ(ShadowOffset(17, 1.0, ScreenResolution(120.0, 120.0)), 2);
    EXPECT_EQ(ShadowOffset(255, 1.0, screen), 30);

    EXPECT_DOUBLE_EQ(ShadowSpread(0), 1.0);
    EXPECT_DOUBLE_EQ(ShadowSpread(30), 2.0);
    EXPECT_DOUBLE_EQ(ShadowSpread(255), 5.0); // 9.5, limited

    EXPECT_EQ(ShadowShift(0, 4), (Point{4, 4}));
    EXPECT_EQ(ShadowShift(1, 4), (Point{-4, 4}));
    EXPECT_EQ(ShadowShift(2, 4), (Point{4, -4}));
    EXPECT_EQ(ShadowShift(3, 4), (Point{-4, -4}));

    EXPECT_EQ(ShadowTone(0x80), 0x800000); // blue only
    EXPECT_EQ(ShadowTone(0), 0);
}

TEST(ShadowValues, LightDirectionComesFromTheHeader) {
    LitDesign lit(3);
    EXPECT_EQ(LightDirection(lit.items), 3);
    FindRecord(lit.items, ItemKind::Header)->lightDirection = 7;
    EXPECT_EQ(LightDirection(lit.items), 0);
    ItemList headless;
    EXPECT_EQ(LightDirection(headless), 0);
}

TEST(ShadowBlurSize, ReductionByFadeAndZoom) {
    // At 100 % without fade the shadow stays sharp, and so it does when zoomed out.
    EXPECT_FALSE(ShadowBlurSize(100, 80, 0, 1.0));
    EXPECT_FALSE(ShadowBlurSize(100, 80, 0, 0.5));
    // Fade 10 halves the mask on the screen: 100 x 10 / 20 = 50.
    EXPECT_EQ(ShadowBlurSize(100, 80, 10, 1.0), QSize(50, 40));
    // At four times the screen resolution, without fade: a quarter.
    EXPECT_EQ(ShadowBlurSize(100, 80, 0, 4.0), QSize(25, 20));
    // 20 x 10 / 100 = 2, raised to 6.
    EXPECT_EQ(ShadowBlurSize(20, 20, 90, 1.0), QSize(6, 6));
    // Only one side would shrink (1 x 2 / 3 rounds to 1 again): no blur.
    EXPECT_FALSE(ShadowBlurSize(100, 1, 0, 1.5));
}

TEST(ShadowComposite, MultipliesWhatLiesBeneathByTheMaskValue) {
    RasterCanvas target(4, 3);
    const int32_t beneath = 200 | 100 << 8 | 50 << 16; // red 200, green 100, blue 50
    target.setBrush({beneath});
    target.FillRect({0, 0, 4, 3});
    QImage mask(3, 2, QImage::Format_Grayscale8);
    const std::array<std::array<uchar, 3>, 2> values = {{{255, 128, 0}, {254, 1, 200}}};
    for (int y = 0; y < 2; ++y) {
        std::copy(values[y].begin(), values[y].end(), mask.scanLine(y));
    }
    // Placed one column to the left of the target: its first column falls off.
    ShadowComposite(target, {-1, 1}, mask);
    // Row 0 of the target is not under the mask.
    EXPECT_EQ(target.pixel(0, 0), beneath);
    // 128: c - round(127 c / 255): 200 -> 100, 100 -> 50, 50 -> 25.
    EXPECT_EQ(target.pixel(0, 1), 100 | 50 << 8 | 25 << 16);
    // 0: black.
    EXPECT_EQ(target.pixel(1, 1), 0);
    // 1: 200 - round(254 x 200 / 255) = 1; 100 -> 0; 50 -> 0.
    EXPECT_EQ(target.pixel(0, 2), 1);
    // 200: 200 - round(55 x 200 / 255) = 157; 100 -> 78; 50 -> 39.
    EXPECT_EQ(target.pixel(1, 2), 157 | 78 << 8 | 39 << 16);
    EXPECT_EQ(target.pixel(2, 2), beneath);
    EXPECT_EQ(target.pixel(3, 1), beneath);
    // A mask wholly off the target changes nothing and does not fail.
    ShadowComposite(target, {100, -100}, mask);
    EXPECT_EQ(target.pixel(1, 2), 157 | 78 << 8 | 39 << 16);
}

// A red square from (40, 40) to (60, 60) with a sharp shadow five pixels off it (elevation 43
// is 5 steps; fade 0 at 100 % does not blur), lightness 128.
struct SquareWithShadow {
    LitDesign design;
    ItemRecord* square;
    explicit SquareWithShadow(int32_t lightDirection, int32_t fade = 0, int32_t lightness = 128)
        : design(lightDirection), square(design.Square(40, 40, 20)) {
        SetShadow(square, 43, fade, lightness);
    }
};

TEST(DrawShadow, FallsAwayFromTheLightInEachDirection) {
    // Probes just beyond each corner of the square; the one away from the light is in the shadow.
    const std::array<Point, 4> awayFrom = {Point{63, 63}, Point{37, 63}, Point{63, 37}, Point{37, 37}};
    for (int32_t light = 0; light < 4; ++light) {
        SquareWithShadow item(light);
        const RasterCanvas raster = Drawn(item.design, 100, 100);
        for (int32_t corner = 0; corner < 4; ++corner) {
            const Point probe = awayFrom[static_cast<size_t>(corner)];
            EXPECT_EQ(raster.pixel(probe.x, probe.y), corner == light ? Grey(128) : kWhite)
                << "light " << light << ", probe " << probe.x << "," << probe.y;
        }
        EXPECT_EQ(raster.pixel(50, 50), kRed); // the item lies over its shadow
    }
}

TEST(DrawShadow, ElevationZeroAndSwitchedOffShadowsDrawNothing) {
    SquareWithShadow flat(0);
    const RasterCanvas reference = Drawn(flat.design, 100, 100, {}, {.shadows = false});
    EXPECT_EQ(reference.pixel(63, 63), kWhite);

    flat.square->shadowElevation = 0;
    EXPECT_EQ(DifferentPixels(Drawn(flat.design, 100, 100), reference), 0);
    // Lightness 255 darkens nothing.
    SquareWithShadow invisible(0, 40, 255);
    EXPECT_EQ(DifferentPixels(Drawn(invisible.design, 100, 100), reference), 0);
}

TEST(DrawShadow, LightnessSetsTheTone) {
    SquareWithShadow black(0, 0, 0);
    EXPECT_EQ(Drawn(black.design, 100, 100).pixel(63, 63), 0);
    SquareWithShadow light(0, 0, 200);
    // 255 - round(55 x 255 / 255) = 200.
    EXPECT_EQ(Drawn(light.design, 100, 100).pixel(63, 63), Grey(200));
}

TEST(DrawShadow, FadeSoftensAndSpreadsTheShadow) {
    // The sharp shadow ends at 65; two pixels beyond it is white, inside it the full tone.
    const RasterCanvas sharp = Drawn(SquareWithShadow(0, 0).design, 100, 100);
    EXPECT_EQ(sharp.pixel(67, 55), kWhite);
    EXPECT_EQ(sharp.pixel(63, 55), Grey(128));

    SquareWithShadow soft(0, 30);
    const RasterCanvas softened = Drawn(soft.design, 100, 100);
    const int32_t beyond = Red(softened.pixel(67, 55)), inside = Red(softened.pixel(63, 55));
    EXPECT_LT(beyond, 255); // the blur carries the shadow past its edge
    EXPECT_GT(inside, 128); // and lightens it inside
    EXPECT_LT(inside, beyond);
    // The shadow stays grey: every channel alike.
    EXPECT_EQ(softened.pixel(67, 55), Grey(beyond));

    // More fade reaches farther.
    SquareWithShadow softer(0, 120);
    const RasterCanvas spread = Drawn(softer.design, 100, 100);
    EXPECT_LT(Red(spread.pixel(72, 55)), Red(softened.pixel(72, 55)));
}

TEST(DrawShadow, UnfilledShapesCastTheShadowOfTheirOutline) {
    SquareWithShadow ring(0);
    ring.square->fillColor = FILL_NONE;
    const RasterCanvas raster = Drawn(ring.design, 100, 100);
    // Inside the square lies the shadow of its left and top sides, five pixels in; the middle
    // stays white.
    EXPECT_EQ(raster.pixel(45, 52), Grey(128));
    EXPECT_EQ(raster.pixel(52, 45), Grey(128));
    EXPECT_EQ(raster.pixel(52, 52), kWhite);
    EXPECT_EQ(raster.pixel(65, 55), Grey(128)); // the right side's shadow
    EXPECT_EQ(raster.pixel(62, 55), kWhite);
}

TEST(DrawShadow, LinesAndTextLinesCastShadows) {
    LitDesign design(0);
    ItemRecord* line = design.Line({10, 20}, {90, 20}, 1.0); // 4 pixels wide
    SetShadow(line, 43, 0, 128);
    ItemRecord* text = design.Text(u"Ag\u07ECAg", {10, 120}, 80, 24, kBlue);
    SetShadow(text, 43, 0, 128);
    const RasterCanvas raster = Drawn(design, 100, 140);
    // The line covers rows 18 ... 21; its shadow lies 5 lower.
    EXPECT_EQ(raster.pixel(50, 25), Grey(128));
    EXPECT_EQ(raster.pixel(50, 15), kWhite);
    // Both text lines have grey shadow pixels (the text itself is blue), the upper one a line
    // height above.
    auto greyInRows = [&](int32_t top, int32_t bottom) {
        int32_t count = 0;
        for (int32_t y = top; y < bottom; ++y) {
            for (int32_t x = 0; x < raster.width(); ++x) {
                count += raster.pixel(x, y) == Grey(128);
            }
        }
        return count;
    };
    EXPECT_GT(greyInRows(100, 130), 20);
    EXPECT_GT(greyInRows(60, 95), 20);
}

TEST(DrawShadow, AtPrinterResolutionTheShadowIsTheScreenShadowScaled) {
    SquareWithShadow item(0, 30);
    const RasterCanvas screen = Drawn(item.design, 100, 100);
    const RasterCanvas printed =
        Drawn(item.design, 400, 400, DeviceTransform(384.0, 384.0, ScreenResolution()));
    // Each screen pixel against the mean of its 4 x 4 printed pixels, along a row through the
    // shadow beside the square and out beyond it.
    for (int32_t x = 61; x < 80; ++x) {
        int32_t sum = 0;
        for (int32_t dy = 0; dy < 4; ++dy) {
            for (int32_t dx = 0; dx < 4; ++dx) {
                sum += Red(printed.pixel(4 * x + dx, 4 * 55 + dy));
            }
        }
        EXPECT_NEAR(sum / 16.0, Red(screen.pixel(x, 55)), 20.0) << "column " << x;
    }
}

TEST(DrawShadow, AnItemDrawsTheSameAloneAsAmongOthersAndNothingBeyondItsReach) {
    SquareWithShadow alone(0, 60);
    alone.square->surface = 127;
    const RasterCanvas single = Drawn(alone.design, 200, 120);
    // Everything the item changed lies within its box grown by the shadow's reach: the offset
    // (5) and the blur of fade 60 at 100 % (about 4 x 70 / 10 = 28 pixels).
    for (int32_t y = 0; y < single.height(); ++y) {
        for (int32_t x = 0; x < single.width(); ++x) {
            if (x > 60 + 5 + 32 || y > 60 + 5 + 32) {
                ASSERT_EQ(single.pixel(x, y), kWhite) << x << "," << y;
            }
        }
    }
    SquareWithShadow among(0, 60);
    among.square->surface = 127;
    SetShadow(among.design.Circle({170, 60}, 15), 43, 60, 128);
    ItemRecord* far = among.design.Square(150, 5, 10);
    far->surface = 127;
    const RasterCanvas several = Drawn(among.design, 200, 120);
    for (int32_t y = 0; y < 120; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            ASSERT_EQ(several.pixel(x, y), single.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(DrawShadow, HugeAndFarAwayItemsNeverAskForHugeMasks) {
    LitDesign design(0);
    // A square two billion pixels wide around the raster, at 600 dpi, with a soft shadow and a
    // 3-D surface: only the raster's part (and the blur's reach) is ever worked on.
    ItemRecord* huge = design.Square(-1'000'000'000, -1'000'000'000, 2'000'000'000);
    SetShadow(huge, 255, 255, 0);
    huge->surface = 127;
    ItemRecord* far = design.Circle({2'000'000'000, 2'000'000'000}, 100'000);
    SetShadow(far, 255, 255, 0);
    const RasterCanvas raster = Drawn(design, 300, 200, DeviceTransform(600.0, 600.0, ScreenResolution()));
    EXPECT_NE(raster.pixel(150, 100), kWhite);

    // At a million times the screen, fade 255 blurs over hundreds of millions of pixels: no
    // mask that large is made, and the item is drawn without its shadow.
    LitDesign zoomed(0);
    ItemRecord* dot = zoomed.Circle({0, 0}, 1);
    SetShadow(dot, 255, 255, 0);
    const RasterCanvas close = Drawn(zoomed, 100, 100, {.scaleX = 1e6, .scaleY = 1e6});
    EXPECT_EQ(close.pixel(50, 50), kRed);

    // Far off the raster: nothing at all.
    LitDesign away(0);
    ItemRecord* off = away.Square(5000, 5000, 50);
    SetShadow(off, 100, 100, 0);
    const RasterCanvas untouched = Drawn(away, 100, 100);
    EXPECT_EQ(DifferentPixels(untouched, RasterCanvas(100, 100)), 0);
}

TEST(DrawShadow, AWideFadeOnALowElevationFadesOutWithoutAnEdge) {
    // Elevation 8 is one pixel; fade 255 blurs over about a hundred. The mask reaches as far as
    // the blur does, so the shadow thins out pixel by pixel instead of stopping at a hard edge.
    SquareWithShadow item(0, 255, 0);
    const RasterCanvas raster = Drawn(item.design, 260, 120);
    int32_t previous = Red(raster.pixel(61, 50));
    EXPECT_LT(previous, 255);
    for (int32_t x = 62; x < 200; ++x) {
        const int32_t level = Red(raster.pixel(x, 50));
        ASSERT_GE(level, previous) << x;
        ASSERT_LE(level - previous, 6) << x;
        previous = level;
    }
    EXPECT_EQ(previous, 255);
}

TEST(DrawShadow, ACurveBulgingBeyondItsNodesCastsItsWholeShadow) {
    LitDesign design(3); // the shadow falls up and to the left
    ItemRecord* curve = design.Add(ItemKind::Curve);
    curve->shapeMode = ShapeMode::Filled;
    // Straight from the first node to the second and on to the third, then back to the first
    // through handles far to the left: the closing segment swells to about x = 35.
    curve->pointList = {{.x = 60, .y = 40, .ctrl1X = 60, .ctrl1Y = 40, .ctrl2X = 140, .ctrl2Y = 40},
                        {.x = 140, .y = 40, .ctrl1X = 140, .ctrl1Y = 40, .ctrl2X = 100, .ctrl2Y = 100},
                        {.x = 100, .y = 100, .ctrl1X = 40, .ctrl1Y = 130, .ctrl2X = 0, .ctrl2Y = 60}};
    SetShadow(curve, 8, 0, 128);
    const RasterCanvas raster = Drawn(design, 200, 140);
    // The shadow lies one pixel further left and up, far beyond the nodes' box grown by the
    // shadow's own margin.
    int32_t leftmostShadow = raster.width();
    for (int32_t y = 0; y < raster.height(); ++y) {
        for (int32_t x = 0; x < raster.width(); ++x) {
            if (raster.pixel(x, y) == Grey(128)) {
                leftmostShadow = std::min(leftmostShadow, x);
                break;
            }
        }
    }
    EXPECT_LT(leftmostShadow, 40);
}

} // namespace
} // namespace vlr
