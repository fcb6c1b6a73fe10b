// Where the masks of shadows and 3-D surfaces lie on the target, and masks that cannot be made.
#include "render/itemmask.h"

#include "lightingdesign.h"

#include <gtest/gtest.h>

#include <limits>

namespace vlr {
namespace {

using namespace vlr::testing;

TEST(MaskArea, TheBoxGrownByItsMarginAndCutToTheTargetAndTheReach) {
    const RasterCanvas target(100, 50);
    // Wholly inside: the box (inclusive corners) grown by 3, right and bottom exclusive.
    EXPECT_EQ(MaskArea(target, {10, 10, 20, 30}, 3, 0), (Rect{7, 7, 24, 34}));
    // Corners in either order.
    EXPECT_EQ(MaskArea(target, {20, 30, 10, 10}, 3, 0), (Rect{7, 7, 24, 34}));
    // Hanging over the edges: cut to the target, or to the target grown by the reach.
    EXPECT_EQ(MaskArea(target, {-40, 40, 120, 60}, 5, 0), (Rect{0, 35, 100, 50}));
    EXPECT_EQ(MaskArea(target, {-40, 40, 120, 60}, 5, 8), (Rect{-8, 35, 108, 58}));
    // Off the target (and beyond the reach): nothing.
    EXPECT_FALSE(MaskArea(target, {200, 10, 220, 20}, 5, 0));
    EXPECT_FALSE(MaskArea(target, {200, 10, 220, 20}, 5, 90));
    EXPECT_TRUE(MaskArea(target, {200, 10, 220, 20}, 5, 96));
    // A box at the ends of the coordinate range stays exact.
    constexpr int32_t kFar = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(MaskArea(target, {-kFar - 1, -kFar - 1, kFar, kFar}, 1000, 0), (Rect{0, 0, 100, 50}));
    EXPECT_FALSE(MaskArea(RasterCanvas(), {0, 0, 10, 10}, 0, 0));
}

TEST(MaskRaster, AnExactRasterOfOneColourOrNoneWhenTooLarge) {
    const RasterCanvas target(10, 10, Smoothing::Antialiased, ScreenResolution(120.0, 120.0));
    const RasterCanvas mask = MaskRaster(target, {-5, 2, 15, 6}, kBlue);
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(mask.width(), 20);
    EXPECT_EQ(mask.height(), 4);
    EXPECT_EQ(mask.smoothing(), Smoothing::Exact);
    EXPECT_EQ(mask.screen().dpiY(), 120.0); // pens and fonts as on the target
    EXPECT_EQ(mask.pixel(0, 0), kBlue);
    EXPECT_EQ(mask.pixel(19, 3), kBlue);
    EXPECT_TRUE(MaskRaster(target, {0, 0, 1 << 15, 1 << 15}, 0).isNull()); // a gigapixel mask
    EXPECT_TRUE(MaskRaster(target, {5, 5, 5, 9}, 0).isNull());
}

TEST(TextLineBox, HoldsTheLettersOfATurnedLine) {
    LitDesign design;
    ItemRecord* text = design.Text(u"Wide line", {100, 100}, 10, 30, 0);
    for (int32_t escapement : {0, 900, 1800, 2700, 450}) {
        text->escapement = escapement;
        RasterCanvas raster(200, 200);
        DrawTextItem(raster, *text, {});
        const std::vector<TextLinePlacement> lines = TextLinePlacements(raster, *text, {});
        ASSERT_EQ(lines.size(), 1u);
        const Rect box = TextLineBox(raster, *text, lines[0], 1.0);
        int32_t ink = 0;
        for (int32_t y = 0; y < 200; ++y) {
            for (int32_t x = 0; x < 200; ++x) {
                if (raster.pixel(x, y) != kWhite) {
                    ++ink;
                    ASSERT_TRUE(x >= box.left && x <= box.right && y >= box.top && y <= box.bottom)
                        << "escapement " << escapement << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(ink, 100) << escapement;
    }
}

} // namespace
} // namespace vlr
