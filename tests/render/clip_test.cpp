// Clips on a raster, checked pixel by pixel: where the cut lands, how it is adjusted, mirrored,
// framed and turned, the round clip, the shadow, the derived bitmaps that cache the work, and
// clips whose fields or pictures are hostile.
#include "render/clip.h"

#include "model/itemkind.h"
#include "render/drawdesign.h"
#include "picturefiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <set>

namespace vlr::test {
namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kYellow = 0xFFFF00;
constexpr uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080;

// A 40 x 20 bitmap in four quadrants: red, blue / green, yellow.
Bytes Quadrants() {
    std::vector<std::vector<uint32_t>> rows;
    for (int y = 0; y < 20; ++y) {
        rows.emplace_back();
        for (int x = 0; x < 40; ++x) {
            rows.back().push_back(y < 10 ? (x < 20 ? kRed : kBlue) : (x < 20 ? kGreen : kYellow));
        }
    }
    return BitmapFile(40, 20, 24, {}, DirectRows(rows, 24));
}

class ClipTest : public ::testing::Test {
protected:
    ClipTest() {
        ItemRecord* data = CreateRecord(design, ItemKind::PictureData);
        data->pictureId = 5;
        data->clipShape = 2; // a Windows bitmap
        data->pictureStream = Quadrants();
    }
    // A rectangle clip of the whole picture, unscaled at (x, y).
    ItemRecord* AddClip(int32_t x, int32_t y) {
        ItemRecord* clip = CreateRecord(design, ItemKind::Clip);
        clip->pictureId = 5;
        clip->clipShape = ClipShape::WholePicture;
        clip->srcLeft = 0, clip->srcTop = 0, clip->srcRight = 40, clip->srcBottom = 20;
        clip->x1 = x, clip->y1 = y, clip->x2 = x + 40, clip->y2 = y + 20;
        clip->mirrorX = 1, clip->mirrorY = 1, clip->turnAngle = 0;
        clip->scaleX = 1.0, clip->scaleY = 1.0;
        clip->zOrder = 1;
        return clip;
    }
    RasterCanvas Drawn(ItemRecord* clip, const ViewTransform& view = {}, int width = 100, int height = 60) {
        RasterCanvas raster(width, height, Smoothing::Exact);
        DrawClip(raster, *clip, design, view, 0, true, true);
        return raster;
    }
    static uint32_t At(const RasterCanvas& raster, int x, int y) { return Rgb(raster.image(), x, y); }
    static bool AllWhite(const RasterCanvas& raster) {
        for (int y = 0; y < raster.height(); ++y) {
            for (int x = 0; x < raster.width(); ++x) {
                if (At(raster, x, y) != kWhite) {
                    return false;
                }
            }
        }
        return true;
    }
    static ItemRecord* Child(ItemRecord* clip, int32_t kind) {
        for (ItemRecord* child : clip->childList) {
            if (child->kind == kind) {
                return child;
            }
        }
        return nullptr;
    }
    ItemList design;
};

TEST_F(ClipTest, TheCutLandsBetweenTheClipsPointsWhicheverCornersComeFirst) {
    ItemRecord* clip = AddClip(10, 10);
    clip->clipShape = ClipShape::Rectangle;
    // The right half of the picture, its corners given right to left, on a 20 x 20 place.
    clip->srcLeft = 40, clip->srcRight = 20, clip->srcTop = 0, clip->srcBottom = 20;
    clip->x2 = 30, clip->y2 = 30;
    RasterCanvas raster = Drawn(clip);
    EXPECT_EQ(At(raster, 12, 12), kBlue);
    EXPECT_EQ(At(raster, 27, 12), kBlue);
    EXPECT_EQ(At(raster, 12, 27), kYellow);
    EXPECT_EQ(At(raster, 9, 20), kWhite);
    EXPECT_EQ(At(raster, 30, 20), kWhite);
    EXPECT_EQ(At(raster, 20, 30), kWhite);

    // The same clip stored from its bottom-right corner lands on the same pixels.
    std::swap(clip->x1, clip->x2);
    std::swap(clip->y1, clip->y2);
    RasterCanvas swapped = Drawn(clip);
    EXPECT_EQ(swapped.image(), raster.image());
}

TEST_F(ClipTest, TheCutIsScaledToThePlaceThroughTheViewTransform) {
    ItemRecord* clip = AddClip(5, 5);
    RasterCanvas raster = Drawn(clip, CanvasTransform(2.0), 120, 80);
    // 40 x 20 at (10, 10) ... (90, 50).
    EXPECT_EQ(At(raster, 11, 11), kRed);
    EXPECT_EQ(At(raster, 88, 11), kBlue);
    EXPECT_EQ(At(raster, 11, 48), kGreen);
    EXPECT_EQ(At(raster, 88, 48), kYellow);
    EXPECT_EQ(At(raster, 9, 30), kWhite);
    EXPECT_EQ(At(raster, 90, 30), kWhite);
    EXPECT_EQ(At(raster, 50, 50), kWhite);
}

TEST_F(ClipTest, NegativeScalesMirrorAndBothTurnThePictureHalfWay) {
    ItemRecord* clip = AddClip(0, 0);
    clip->scaleX = -1.0;
    RasterCanvas mirrored = Drawn(clip);
    EXPECT_EQ(At(mirrored, 2, 2), kBlue);
    EXPECT_EQ(At(mirrored, 37, 17), kGreen);
    clip->scaleY = -0.5;
    RasterCanvas halfTurned = Drawn(clip);
    EXPECT_EQ(At(halfTurned, 2, 2), kYellow);
    EXPECT_EQ(At(halfTurned, 37, 2), kGreen);
    EXPECT_EQ(At(halfTurned, 2, 17), kBlue);
    EXPECT_EQ(At(halfTurned, 37, 17), kRed);
}

TEST_F(ClipTest, AdjustmentsChangeTheClipAndExtremeValuesStayWithinAByte) {
    ItemRecord* clip = AddClip(0, 0);
    clip->lightness = 300;
    EXPECT_EQ(At(Drawn(clip), 5, 5), kWhite);
    clip->lightness = 0;
    clip->saturation = -128; // every pixel its grey
    EXPECT_EQ(At(Drawn(clip), 5, 5), 0x7F7F7Fu);
    clip->saturation = std::numeric_limits<int32_t>::min();
    clip->contrast = std::numeric_limits<int32_t>::max();
    clip->lightness = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(At(Drawn(clip), 5, 5), 0u);
}

TEST_F(ClipTest, DerivedBitmapsAreKeptReusedAndMadeAgainWhenTheClipChanges) {
    ItemRecord* clip = AddClip(0, 0);
    Drawn(clip);
    ItemRecord* scaled = Child(clip, ItemKind::UnadjustedBitmap);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(Child(clip, ItemKind::AdjustedBitmap), nullptr); // nothing to adjust
    EXPECT_EQ(scaled->x2, 40);
    EXPECT_EQ(scaled->y2, 20);

    // Drawn again, the same bitmap serves.
    Drawn(clip);
    EXPECT_EQ(Child(clip, ItemKind::UnadjustedBitmap), scaled);

    // An adjustment adds an adjusted copy and keeps the scaled bitmap.
    clip->lightness = 300;
    EXPECT_EQ(At(Drawn(clip), 5, 5), kWhite);
    EXPECT_EQ(Child(clip, ItemKind::UnadjustedBitmap), scaled);
    EXPECT_NE(Child(clip, ItemKind::AdjustedBitmap), nullptr);
    clip->lightness = 0;
    EXPECT_EQ(At(Drawn(clip), 5, 5), kRed); // no stale adjusted copy
    EXPECT_EQ(Child(clip, ItemKind::AdjustedBitmap), nullptr);

    // Another cut and another zoom make the picture again.
    clip->srcLeft = 20;
    EXPECT_EQ(At(Drawn(clip), 5, 5), kBlue);
    RasterCanvas zoomed = Drawn(clip, CanvasTransform(2.0), 100, 60);
    EXPECT_EQ(Child(clip, ItemKind::UnadjustedBitmap)->x2, 80);
    EXPECT_EQ(At(zoomed, 5, 5), kBlue);

    // A picture replaced under the same id shows at once.
    ItemRecord* data = design.first; // the picture data
    data->pictureStream = BitmapFile(2, 2, 24, {}, DirectRows({{kGreen, kGreen}, {kGreen, kGreen}}, 24));
    clip->srcLeft = 0, clip->srcRight = 2, clip->srcBottom = 2;
    EXPECT_EQ(At(Drawn(clip), 5, 5), kGreen);
}

TEST_F(ClipTest, FramesAreFlatUpToThreePixelsAndShadedFromFour) {
    ItemRecord* clip = AddClip(20, 20);
    clip->hasFrame = 1;
    clip->color = 0x0000FF; // red, stored as 0x00BBGGRR
    clip->surface = 127;
    clip->lineWeight = 0.8; // 3 pixels at 96 dpi and 100 %
    RasterCanvas flat = Drawn(clip);
    for (int x = 17; x < 20; ++x) {
        EXPECT_EQ(At(flat, x, 30), kRed) << x;
    }
    EXPECT_EQ(At(flat, 16, 30), kWhite);
    EXPECT_EQ(At(flat, 30, 42), kRed);  // below the picture
    EXPECT_EQ(At(flat, 62, 42), kRed);  // the corner
    EXPECT_EQ(At(flat, 30, 43), kWhite);

    clip->lineWeight = 2.2; // 8 pixels: the bars are shaded across their width
    RasterCanvas shaded = Drawn(clip);
    std::set<uint32_t> across;
    for (int x = 12; x < 20; ++x) {
        across.insert(At(shaded, x, 30));
    }
    EXPECT_GT(across.size(), 3u);
    EXPECT_EQ(At(shaded, 11, 30), kWhite);
    EXPECT_EQ(At(shaded, 25, 25), kRed); // the picture itself

    // Without 3-D effects the same frame is flat.
    RasterCanvas plain(100, 60, Smoothing::Exact);
    DrawClip(plain, *clip, design, {}, 0, true, false);
    EXPECT_EQ(At(plain, 12, 30), kRed);
    EXPECT_EQ(At(plain, 19, 30), kRed);
}

TEST_F(ClipTest, ATurnedClipKeepsItsCentreAndShowsTheBackgroundInItsCorners) {
    ItemRecord* clip = AddClip(30, 20);
    clip->rotation = std::numbers::pi / 2; // a quarter turn counter-clockwise
    RasterCanvas raster(100, 60, Smoothing::Exact);
    raster.setPen({0x808080, 1});
    raster.setBrush({0x808080});
    raster.FillRect({0, 0, 100, 60});
    DrawClip(raster, *clip, design, {}, 0, true, true);
    // The 40 x 20 picture stands 20 x 40 about its centre (50, 30): its right half (blue,
    // yellow) on top, its left half (red, green) below, its top row on the left.
    EXPECT_EQ(At(raster, 44, 14), kBlue);
    EXPECT_EQ(At(raster, 55, 14), kYellow);
    EXPECT_EQ(At(raster, 44, 45), kRed);
    EXPECT_EQ(At(raster, 55, 45), kGreen);
    EXPECT_EQ(At(raster, 35, 30), kGrey);  // beside the turned picture
    EXPECT_EQ(At(raster, 50, 8), kGrey);   // above it
}

TEST_F(ClipTest, TilesOfATurnedFramedClipMatchTheWholeDrawing) {
    ItemRecord* clip = AddClip(20, 12);
    clip->rotation = 0.5;
    clip->hasFrame = 1;
    clip->lineWeight = 1.5;
    clip->surface = 127;
    RasterCanvas whole(90, 64, Smoothing::Exact);
    DrawClip(whole, *clip, design, {}, 0, true, true);
    EXPECT_FALSE(AllWhite(whole));
    for (const Point tile : {Point{0, 0}, Point{37, 0}, Point{0, 29}, Point{37, 29}}) {
        RasterCanvas part(53, 35, Smoothing::Exact);
        DrawClip(part, *clip, design, CanvasTransform(1.0, {-tile.x, -tile.y}), 0, true, true);
        const QImage expected = whole.image().copy(tile.x, tile.y, 53, 35);
        for (int y = 0; y < 35; ++y) {
            for (int x = 0; x < 53; ++x) {
                ASSERT_EQ(At(part, x, y), Rgb(expected, x, y))
                    << "tile " << tile.x << "," << tile.y << " pixel " << x << "," << y;
            }
        }
    }
}

TEST_F(ClipTest, ARoundClipShowsItsCircleAndLeavesTheSquaresCorners) {
    ItemRecord* clip = AddClip(0, 0);
    clip->clipShape = ClipShape::Round;
    // The circle of radius 8 about (30, 5) in the picture: the blue quadrant and the yellow one.
    clip->srcLeft = 30, clip->srcTop = 10, clip->srcRight = 30, clip->srcBottom = 2;
    clip->x1 = 50, clip->y1 = 30, clip->x2 = 50, clip->y2 = 14; // radius 16 on the raster
    RasterCanvas raster = Drawn(clip);
    EXPECT_EQ(At(raster, 50, 20), kBlue);
    EXPECT_EQ(At(raster, 50, 40), kYellow);
    EXPECT_EQ(At(raster, 35, 15), kWhite); // a corner of the square
    EXPECT_EQ(At(raster, 64, 44), kWhite);

    clip->hasFrame = 1;
    clip->lineWeight = 0.8; // 3 pixels, flat
    clip->color = 0x00FF00;  // green
    RasterCanvas framed = Drawn(clip);
    EXPECT_EQ(At(framed, 50, 14), kGreen); // the rim
    EXPECT_EQ(At(framed, 34, 30), kGreen);
    EXPECT_EQ(At(framed, 50, 22), kBlue);
}

TEST_F(ClipTest, TheShadowFallsAwayFromTheLightOnlyWithElevationAndLightness) {
    ItemRecord* clip = AddClip(20, 10);
    clip->shadowElevation = 60, clip->shadowLightness = 60;
    RasterCanvas shadowed = Drawn(clip);
    // Light from the top left: darker right of and below the clip, nothing above or left.
    EXPECT_LT(At(shadowed, 62, 25) & 0xFF, 0xF0u);
    EXPECT_LT(At(shadowed, 40, 32) & 0xFF, 0xF0u);
    EXPECT_EQ(At(shadowed, 15, 20), kWhite);
    EXPECT_EQ(At(shadowed, 40, 5), kWhite);

    RasterCanvas lit(100, 60, Smoothing::Exact);
    DrawClip(lit, *clip, design, {}, 3, true, true); // from the bottom right
    EXPECT_LT(At(lit, 17, 15) & 0xFF, 0xF0u);
    EXPECT_EQ(At(lit, 62, 25), kWhite);

    clip->shadowLightness = 0;
    RasterCanvas without = Drawn(clip);
    EXPECT_EQ(At(without, 62, 25), kWhite);
    EXPECT_EQ(At(without, 40, 32), kWhite);
}

// A picture's shadow has its own spread, fade / 85 + 1 (at most 2), in a mask anchored at the
// corner of the clip facing the light: nothing of it, blurred or not, reaches past that corner's
// two sides. Elevation 43 is an offset of round(43 / 8.5) = 5 pixels at 100 %.
TEST_F(ClipTest, APicturesShadowSpreadsAwayFromTheCornerFacingTheLight) {
    ItemRecord* clip = AddClip(20, 10); // the picture covers x 20 ... 59, y 10 ... 29
    clip->shadowElevation = 43, clip->shadowLightness = 128;
    // Without fade: a sharp copy 5 pixels away in a mask of (5 + 40) x (5 + 20) pixels.
    RasterCanvas sharp = Drawn(clip);
    EXPECT_EQ(At(sharp, 64, 34), kGrey);
    EXPECT_EQ(At(sharp, 64, 15), kGrey);
    EXPECT_EQ(At(sharp, 65, 20), kWhite);
    EXPECT_EQ(At(sharp, 40, 35), kWhite);

    struct Case {
        int32_t light;
        double rotation;
        Rect lit; // pixels on the light's side of the corner: the shadow never reaches them
        Point shaded;
    };
    // Fade 85: spread 2, a mask of (5 + 80) x (5 + 40), blurred.
    const Case cases[] = {
        {0, 0.0, {0, 0, 19, 59}, {70, 25}},
        {0, 0.0, {0, 0, 99, 9}, {70, 25}},
        {3, 0.0, {60, 0, 99, 59}, {10, 10}},
        {3, 0.0, {0, 30, 99, 59}, {10, 10}},
        // Turned a quarter about its centre (39.5, 19.5) the picture covers about x 30 ... 49.
        {0, std::numbers::pi / 2, {0, 0, 28, 59}, {55, 20}},
    };
    clip->shadowFade = 85;
    for (const Case& c : cases) {
        clip->rotation = c.rotation;
        RasterCanvas raster(100, 60, Smoothing::Exact);
        DrawClip(raster, *clip, design, {}, c.light, true, true);
        for (int32_t y = c.lit.top; y <= c.lit.bottom; ++y) {
            for (int32_t x = c.lit.left; x <= c.lit.right; ++x) {
                ASSERT_EQ(At(raster, x, y), kWhite) << c.light << " " << c.rotation << ": " << x << "," << y;
            }
        }
        EXPECT_LT(At(raster, c.shaded.x, c.shaded.y) & 0xFF, 0xF0u) << c.light << " " << c.rotation;
    }
}

TEST_F(ClipTest, ClipsThatCannotBeDrawnLeaveTheRasterAsItWas) {
    ItemRecord* clip = AddClip(10, 10);
    clip->shadowElevation = 60, clip->shadowLightness = 60;
    auto expectNothing = [&](const char* what) {
        EXPECT_TRUE(AllWhite(Drawn(clip))) << what;
        EXPECT_TRUE(AllWhite(Drawn(clip, CanvasTransform(7.0)))) << what;
    };
    clip->pictureId = 6;
    expectNothing("no picture data");
    clip->pictureId = 5;
    clip->clipShape = ClipShape::Rectangle;
    clip->srcLeft = 500, clip->srcRight = 600;
    expectNothing("a cut beside the picture");
    clip->srcLeft = 10, clip->srcRight = 10;
    expectNothing("a cut of no width");
    clip->srcRight = 20;
    clip->x2 = clip->x1;
    expectNothing("a place of no width");
    clip->x2 = clip->x1 - 5'000'000, clip->y2 = 1'000'000; // beyond the largest side of a clip
    expectNothing("a place five million pixels wide");
    // A place of a million pixels square, a trillion pixels in all, shows the part on the
    // raster: the top left of the cut (red) enlarged 100,000 times.
    clip->x2 = 1'000'000;
    EXPECT_EQ(At(Drawn(clip), 50, 50), kRed);
    EXPECT_EQ(At(Drawn(clip), 5, 50), kWhite);
    clip->clipShape = ClipShape::Round;
    clip->srcLeft = clip->srcRight = 3;
    clip->srcTop = clip->srcBottom = 3;
    expectNothing("a round cut of radius 0");
    clip->srcLeft = INT_MIN, clip->srcRight = INT_MAX;
    expectNothing("a round cut of a radius beyond the picture cap");
    clip->x2 = clip->x1 + 30, clip->y2 = clip->y1 + 30;
    clip->srcLeft = clip->srcTop = 500;
    clip->srcRight = 510, clip->srcBottom = 500;
    expectNothing("a round cut wholly beside the picture");
    clip->srcLeft = clip->srcTop = -20;
    clip->srcRight = -10, clip->srcBottom = -20;
    expectNothing("a round cut wholly above and before the picture");
    clip->srcLeft = clip->srcTop = 10;
    clip->srcRight = 20, clip->srcBottom = 10;
    EXPECT_FALSE(AllWhite(Drawn(clip))) << "a round cut within the picture draws";

    // A turn that is not a number draws the clip unturned.
    ItemRecord* upright = AddClip(0, 0);
    upright->rotation = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(At(Drawn(upright), 5, 5), kRed);
    EXPECT_EQ(At(Drawn(upright), 35, 15), kYellow);
}

TEST_F(ClipTest, TheDesignDrawsClipsInStackingOrderOrAsOutlinesWithoutPictures) {
    ItemRecord* clip = AddClip(10, 10);
    clip->shadowElevation = 60, clip->shadowLightness = 60;
    clip->color = 0; // black outline
    RasterCanvas full(100, 60, Smoothing::Exact);
    DrawDesign(full, design, {});
    EXPECT_EQ(At(full, 15, 15), kRed);

    RasterCanvas outlined(100, 60, Smoothing::Exact);
    DrawOptions options;
    options.pictures = false;
    DrawDesign(outlined, design, {}, options);
    EXPECT_EQ(At(outlined, 10, 20), 0u);   // the left edge
    EXPECT_EQ(At(outlined, 49, 20), 0u);   // the right edge
    EXPECT_EQ(At(outlined, 15, 15), kWhite); // no picture
    EXPECT_EQ(At(outlined, 55, 35), kWhite); // no shadow
}

// The clip cut to the part of it that lands on the raster before it is scaled gives the pixels
// the whole clip scaled and then cut gives there, for rectangle and round clips, mirrored and
// adjusted; what the clip keeps is no larger than that part. With a budget too small to keep
// the part, it is made in bands and not kept, with the same pixels.
TEST_F(ClipTest, APartOnTheRasterShowsWhatTheWholeClipShowsThere) {
    for (const int32_t shape : {ClipShape::Rectangle, ClipShape::Round}) {
        SCOPED_TRACE(shape == ClipShape::Round ? "round" : "rectangle");
        ItemRecord* clip = AddClip(5, 5);
        clip->clipShape = shape;
        if (shape == ClipShape::Round) {
            clip->srcLeft = 20, clip->srcTop = 10, clip->srcRight = 29, clip->srcBottom = 10; // radius 9
            clip->x1 = 100, clip->y1 = 70, clip->x2 = 160, clip->y2 = 70;                     // radius 60
        } else {
            clip->srcLeft = 3, clip->srcTop = 2, clip->srcRight = 37, clip->srcBottom = 19;
            clip->x2 = 205, clip->y2 = 125;
        }
        clip->scaleX = -1.0, clip->lightness = 20, clip->contrast = 30;
        const RasterCanvas whole = Drawn(clip, {}, 220, 140);
        ClearChildList(clip);
        // 60 x 40 pixels of the whole, from (100, 50) on.
        ViewTransform partView;
        partView.originX = -100, partView.originY = -50;
        const RasterCanvas part = Drawn(clip, partView, 60, 40);
        EXPECT_EQ(part.image(), whole.image().copy(100, 50, 60, 40));
        for (const int32_t kind : {ItemKind::UnadjustedBitmap, ItemKind::AdjustedBitmap}) {
            ASSERT_NE(Child(clip, kind), nullptr);
            EXPECT_EQ(Child(clip, kind)->x2, 60);
            EXPECT_EQ(Child(clip, kind)->y2, 40);
        }
        ClearChildList(clip);
        design.derivedBitmaps.budget = 60 * 40 * 4; // half of it is less than the part
        EXPECT_EQ(Drawn(clip, partView, 60, 40).image(), part.image());
        EXPECT_EQ(KeptClipBytes(design), 0);
        design.derivedBitmaps.budget = ItemList().derivedBitmaps.budget;
        RemoveRecord(design, clip);
    }
}

// A plain rectangle clip too large to keep is scaled straight onto the raster in bands of rows,
// on every core at once; it shows what the kept bitmap shows, also where it starts beyond the
// raster's corner.
TEST_F(ClipTest, AClipScaledStraightOntoTheRasterInBandsShowsWhatItsKeptBitmapShows) {
    ItemRecord* clip = AddClip(-30, -50);
    clip->x2 = 640, clip->y2 = 1960; // 670 x 2010 pixels, more than one band of them on the raster
    const RasterCanvas kept = Drawn(clip, {}, 700, 1900);
    ASSERT_GT(KeptClipBytes(design), 0);
    ClearChildList(clip);
    design.derivedBitmaps.budget = 0;
    const RasterCanvas banded = Drawn(clip, {}, 700, 1900);
    EXPECT_EQ(KeptClipBytes(design), 0);
    EXPECT_EQ(banded.image(), kept.image());
    EXPECT_EQ(At(banded, 0, 0), kRed);
    EXPECT_EQ(At(banded, 699, 1899), kWhite); // right of the clip
    EXPECT_EQ(At(banded, 600, 1899), kYellow);
}

// A photograph filling a US Letter page printed at 1,200 dpi is 10,200 x 13,200 pixels, more
// than a picture may have: it is drawn where it meets the raster (here a band across the middle
// of the page), not dropped.
TEST_F(ClipTest, AFullPageClipAt1200DpiIsDrawnWhereItMeetsTheRaster) {
    ItemRecord* clip = AddClip(0, 0);
    clip->x2 = 816, clip->y2 = 1056; // the page in design pixels
    // 660 rows and 255 columns of the page to a pixel of the picture: rows 1000 ... 1019 lie in
    // its second row (red, blue), rows 12000 ... 12019 in its nineteenth (green, yellow), and
    // columns 100 and 10000 in its first and last columns.
    const RasterCanvas upper =
        Drawn(clip, DeviceTransform(1200, 1200, ScreenResolution(), {0, -1000}), 10200, 20);
    EXPECT_EQ(At(upper, 100, 0), kRed);
    EXPECT_EQ(At(upper, 10000, 19), kBlue);
    const RasterCanvas lower =
        Drawn(clip, DeviceTransform(1200, 1200, ScreenResolution(), {0, -12000}), 10200, 20);
    EXPECT_EQ(At(lower, 100, 0), kGreen);
    EXPECT_EQ(At(lower, 10000, 19), kYellow);
    // What the clip keeps is the band it was drawn on.
    EXPECT_GE(KeptClipBytes(design), int64_t{10200} * 20 * 4);
    EXPECT_LE(KeptClipBytes(design), int64_t{10200} * 20 * 4 + 1024);
}

// Fifty clips of 10,000 x 10,000 pixels over one small picture: every one is drawn, the bitmaps
// the design keeps stay within its budget, the least recently drawn going first, and what the
// clips show is what they show with room for all.
TEST_F(ClipTest, ManyHugeClipsOfOneSmallPictureKeepWithinTheDesignsBudget) {
    for (int32_t i = 0; i < 50; ++i) {
        ItemRecord* clip = AddClip(-i * 150, -i * 90);
        clip->x2 = clip->x1 + 10000, clip->y2 = clip->y1 + 10000;
        clip->lightness = i; // adjusted copies as well
        clip->zOrder = i + 1;
    }
    RasterCanvas roomy(200, 120, Smoothing::Exact);
    DrawDesign(roomy, design, {});
    // A scaled and an adjusted bitmap of 200 x 120 pixels for each clip but the first, which
    // has nothing to adjust: 99 bitmaps of 96,000 bytes of pixels, each with a small header.
    EXPECT_GE(KeptClipBytes(design), 99 * 96'000);
    EXPECT_LE(KeptClipBytes(design), 99 * 97'024);
    for (ItemRecord* record : design) {
        ClearChildList(record);
    }
    design.derivedBitmaps.budget = 1'600'000; // room for about sixteen of the hundred bitmaps
    RasterCanvas tight(200, 120, Smoothing::Exact);
    DrawDesign(tight, design, {});
    EXPECT_LE(KeptClipBytes(design), design.derivedBitmaps.budget);
    EXPECT_GT(KeptClipBytes(design), 0);
    EXPECT_EQ(tight.image(), roomy.image());
}

// A clip changed at random, field after field, and drawn after every change: with whatever the
// earlier drawings left in its child list it must look exactly as it does drawn from nothing,
// and no value may crash or hang the drawing.
TEST_F(ClipTest, KeptBitmapsNeverChangeWhatAClipLooksLike) {
    ItemRecord* clip = AddClip(10, 10);
    std::mt19937 random(20261209);
    auto pick = [&random](std::initializer_list<int32_t> values) {
        return *(values.begin() + std::uniform_int_distribution<size_t>(0, values.size() - 1)(random));
    };
    for (int step = 0; step < 150; ++step) {
        switch (step % 9) {
        case 0: clip->clipShape = pick({0, 1, 2}); break;
        case 1:
            clip->srcLeft = pick({-5, 0, 10, 39, 40}), clip->srcRight = pick({0, 20, 40, 60});
            clip->srcTop = pick({0, 5, 20}), clip->srcBottom = pick({0, 10, 20, 25});
            break;
        case 2: clip->x2 = pick({10, 11, 30, 80}), clip->y2 = pick({-20, 10, 40}); break;
        case 3:
            clip->saturation = pick({0, -128, 64, INT_MIN}), clip->contrast = pick({0, 100});
            clip->lightness = pick({0, -40, 300});
            break;
        case 4: clip->scaleX = pick({1, -1}), clip->scaleY = pick({1, -1}); break;
        case 5: clip->rotation = pick({0, 1, 3}) * 0.7; break;
        case 6:
            clip->hasFrame = static_cast<uint8_t>(pick({0, 1})), clip->lineWeight = pick({0, 1, 2});
            clip->surface = static_cast<uint8_t>(pick({0, 127}));
            break;
        case 7: clip->mirrorX = pick({1, -1}), clip->turnAngle = pick({0, 90, 180, 270}); break;
        default: clip->shadowElevation = static_cast<uint8_t>(pick({0, 30})), clip->shadowLightness = 80; break;
        }
        const double zoom = pick({1, 2}) * 0.75;
        RasterCanvas kept(100, 60, Smoothing::Exact);
        DrawClip(kept, *clip, design, CanvasTransform(zoom), 0, true, true);
        ClearChildList(clip);
        RasterCanvas fresh(100, 60, Smoothing::Exact);
        DrawClip(fresh, *clip, design, CanvasTransform(zoom), 0, true, true);
        ASSERT_EQ(kept.image(), fresh.image()) << "step " << step;
    }
}

} // namespace
} // namespace vlr::test
