// The stored picture of a clip: finding and decoding it, its base orientation, the colour
// adjustments, turning, cropping and mirroring, checked pixel by pixel.
#include "render/picture.h"

#include "picturefiles.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

namespace vlr::test {
namespace {

// A raster whose pixel (x, y) holds the number 16 y + x + 1 as its colour, so that every pixel
// can be followed through a turn or a mirror.
QImage Numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            row[x] = 0xFF000000u | static_cast<uint32_t>(16 * y + x + 1);
        }
    }
    return image;
}

// The numbers of a raster, row by row.
std::vector<std::vector<uint32_t>> Numbers(const QImage& image) {
    std::vector<std::vector<uint32_t>> rows;
    for (int y = 0; y < image.height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < image.width(); ++x) {
            rows.back().push_back(Rgb(image, x, y));
        }
    }
    return rows;
}

using Rows = std::vector<std::vector<uint32_t>>;

// The 4 x 2 raster numbered 1 2 3 4 / 17 18 19 20.
const Rows kUpright = {{1, 2, 3, 4}, {17, 18, 19, 20}};

TEST(OrientPicture, WithoutTurnOrMirrorThePictureStays) {
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, 0)), kUpright);
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, 45)), kUpright); // not a quarter turn
}

TEST(OrientPicture, MirrorsAndFlips) {
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), -1, 1, 0)), (Rows{{4, 3, 2, 1}, {20, 19, 18, 17}}));
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, -1, 0)), (Rows{{17, 18, 19, 20}, {1, 2, 3, 4}}));
    // A half turn mirrors and flips; a mirrored half turn only flips.
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, 180)), (Rows{{20, 19, 18, 17}, {4, 3, 2, 1}}));
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), -1, 1, 180)), (Rows{{17, 18, 19, 20}, {1, 2, 3, 4}}));
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, -180)), (Rows{{20, 19, 18, 17}, {4, 3, 2, 1}}));
}

TEST(OrientPicture, QuarterTurnsGoCounterClockwiseWithSidesSwapped) {
    // Turned left: the right column becomes the top row.
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, 90)), (Rows{{4, 20}, {3, 19}, {2, 18}, {1, 17}}));
    // Three quarters: the left column becomes the top row, read upwards.
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, 270)), (Rows{{17, 1}, {18, 2}, {19, 3}, {20, 4}}));
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), 1, 1, 450)),
              Numbers(OrientPicture(Numbered(4, 2), 1, 1, 90)));
}

TEST(OrientPicture, AMirroredQuarterTurnTurnsTheOtherWayThenMirrors) {
    // mirrorX -1, 90: turned by -90 (clockwise: the left column becomes the top row, read
    // upwards), giving 17 1 / 18 2 / 19 3 / 20 4, then mirrored left to right.
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), -1, 1, 90)), (Rows{{1, 17}, {2, 18}, {3, 19}, {4, 20}}));
    // Both signs negative turn by +90 and then mirror and flip.
    EXPECT_EQ(Numbers(OrientPicture(Numbered(4, 2), -1, -1, 90)), (Rows{{17, 1}, {18, 2}, {19, 3}, {20, 4}}));
}

TEST(OrientPicture, OddSizesLoseTheirLastColumnAndRowBeforeAQuarterTurn) {
    // 5 x 3 becomes 4 x 2 (numbers 1 ... 4 / 17 ... 20), then turns to 2 x 4.
    const QImage turned = OrientPicture(Numbered(5, 3), 1, 1, 90);
    EXPECT_EQ(turned.size(), QSize(2, 4));
    EXPECT_EQ(Numbers(turned), (Rows{{4, 20}, {3, 19}, {2, 18}, {1, 17}}));
    EXPECT_EQ(OrientPicture(Numbered(5, 3), 1, 1, 180).size(), QSize(5, 3)); // a half turn keeps all
    EXPECT_EQ(EvenSized(Numbered(5, 4)).size(), QSize(4, 4));
    EXPECT_EQ(EvenSized(Numbered(6, 3)).size(), QSize(6, 2));
}

// ---- RotateRaster ----

TEST(RotateRaster, AQuarterTurnMovesEveryPixelOnce) {
    QImage target(2, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    ASSERT_TRUE(RotateRaster(Numbered(4, 2), target, std::numbers::pi / 2));
    EXPECT_EQ(Numbers(target), (Rows{{4, 20}, {3, 19}, {2, 18}, {1, 17}}));
}

TEST(RotateRaster, TheSourceIsCentredAndUncoveredPixelsKeepTheirColour) {
    // 2 x 2 into 4 x 4 without turning: the source sits in the middle, the border stays.
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(0xFF00FF00u);
    ASSERT_TRUE(RotateRaster(Numbered(2, 2), target, 0.0));
    EXPECT_EQ(Numbers(target), (Rows{{0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00},
                                     {0x00FF00, 1, 2, 0x00FF00},
                                     {0x00FF00, 17, 18, 0x00FF00},
                                     {0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00}}));
}

TEST(RotateRaster, AnEighthTurnTakesTheNearestSourcePixelOfEachCentre) {
    // 4 x 4 turned by 45 degrees into 6 x 6. Target (0, 0): X = Y = 2 (0 - 1 - 2) + 1 = -5;
    // cos X - sin Y = 0 -> source x = 2 + trunc(-1 / 2) = 2; sin X + cos Y = -7.07 -> -7 ->
    // source y = 2 + trunc(-8 / 2) = -2: outside, the corner keeps its colour. Target (3, 0):
    // X = 1, Y = -5: 4.24 -> 4 -> x = 2 + 1 = 3; -2.83 -> -3 -> y = 2 - 2 = 0: pixel 4.
    // Target (0, 3): X = -5, Y = 1: -4.24 -> -4 -> x = 2 - 2 = 0; -2.83 -> -3 -> y = 0: pixel 1.
    QImage target(6, 6, QImage::Format_RGB32);
    target.fill(Qt::white);
    ASSERT_TRUE(RotateRaster(Numbered(4, 4), target, std::numbers::pi / 4));
    EXPECT_EQ(Rgb(target, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(target, 3, 0), 4u);
    EXPECT_EQ(Rgb(target, 0, 3), 1u);
}

TEST(RotateRaster, MasksOfOneByteTurnAndOtherInputIsRefused) {
    QImage mask(4, 2, QImage::Format_Grayscale8);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            mask.scanLine(y)[x] = static_cast<uint8_t>(10 * y + x);
        }
    }
    QImage turned(2, 4, QImage::Format_Grayscale8);
    ASSERT_TRUE(RotateRaster(mask, turned, std::numbers::pi / 2));
    EXPECT_EQ(turned.constScanLine(0)[0], 3); // the right column on top
    EXPECT_EQ(turned.constScanLine(0)[1], 13);
    EXPECT_EQ(turned.constScanLine(3)[0], 0);

    QImage rgb(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(RotateRaster(mask, rgb, 0.0));
    EXPECT_FALSE(RotateRaster(QImage(), rgb, 0.0));
    QImage empty;
    EXPECT_FALSE(RotateRaster(Numbered(2, 2), empty, 0.0));
    EXPECT_FALSE(RotateRaster(Numbered(2, 2), rgb, std::numeric_limits<double>::quiet_NaN()));
}

// ---- AdjustColours ----

uint32_t Adjusted(uint32_t rgb, int32_t saturation, int32_t contrast, int32_t lightness) {
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(0xFF000000u | rgb);
    AdjustColours(image, saturation, contrast, lightness);
    EXPECT_EQ(image.pixel(0, 0) >> 24, 0xFFu);
    return Rgb(image, 0, 0);
}

TEST(AdjustColours, SaturationMovesChannelsAboutTheLightness) {
    // (200, 100, 50): L = (200 + 50) / 2 = 125.
    EXPECT_EQ(Adjusted(0xC86432, -128, 0, 0), 0x7D7D7Du); // every channel becomes L
    // +128 doubles each distance from L: 275 -> 255, 75, -25 -> 0.
    EXPECT_EQ(Adjusted(0xC86432, 128, 0, 0), 0xFF4B00u);
    // (10, 12, 11), L = 11, s = 100: red 10 + trunc(-100 / 128) = 10 (toward zero, not 9).
    EXPECT_EQ(Adjusted(0x0A0C0B, 100, 0, 0), 0x0A0C0Bu);
    // Grey pixels have no colour to move.
    EXPECT_EQ(Adjusted(0x808080, 127, 0, 0), 0x808080u);
}

TEST(AdjustColours, ContrastMovesChannelsAbout128) {
    // 256 doubles the distance: 200 -> 272 -> 255, 100 -> 72, 50 -> -28 -> 0.
    EXPECT_EQ(Adjusted(0xC86432, 0, 256, 0), 0xFF4800u);
    // -256 makes every channel 128.
    EXPECT_EQ(Adjusted(0xC86432, 0, -256, 0), 0x808080u);
    // 3 on 50: 50 + trunc(3 x -78 / 256) = 50 + trunc(-0.91) = 50.
    EXPECT_EQ(Adjusted(0x323232, 0, 3, 0), 0x323232u);
}

TEST(AdjustColours, LightnessAddsAndClamps) {
    EXPECT_EQ(Adjusted(0xC86432, 0, 0, 300), 0xFFFFFFu);
    EXPECT_EQ(Adjusted(0xC86432, 0, 0, -60), 0x8C2800u); // 140, 40, -10 -> 0
    EXPECT_EQ(Adjusted(0xC86432, 0, 0, 0), 0xC86432u);
}

TEST(AdjustColours, StepsRunInOrderEachClamped) {
    // Contrast 256 takes 250 to 372, kept at 255; then lightness -100 gives 155. (Lightness
    // first would give 150 and then 172.)
    EXPECT_EQ(Adjusted(0xFAFAFA, 0, 256, -100), 0x9B9B9Bu);
    // Saturation first: (200, 100, 50) at -128 is grey 125; contrast 256 then gives 122.
    EXPECT_EQ(Adjusted(0xC86432, -128, 256, 0), 0x7A7A7Au);
}

TEST(AdjustColours, ValuesFromFilesOfAnySizeNeitherOverflowNorWrap) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    // (200, 100, 50), L = 125: channels above L go to one end, those below to the other.
    EXPECT_EQ(Adjusted(0xC86432, kMax, 0, 0), 0xFF0000u);
    EXPECT_EQ(Adjusted(0xC86432, kMin, 0, 0), 0x00FFFFu);
    EXPECT_EQ(Adjusted(0xC86432, 0, kMax, 0), 0xFF0000u);
    EXPECT_EQ(Adjusted(0xC86432, 0, kMin, 0), 0x00FFFFu);
    EXPECT_EQ(Adjusted(0xC86432, 0, 0, kMax), 0xFFFFFFu);
    EXPECT_EQ(Adjusted(0xC86432, 0, 0, kMin), 0x000000u);
    EXPECT_EQ(Adjusted(0xC86432, kMin, kMax, kMin), 0x000000u);
}

TEST(AdjustColours, EveryPixelOfEveryRowIsAdjusted) {
    QImage image = Numbered(7, 5);
    AdjustColours(image, 0, 0, 10);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            // Blue carries the number (at most 16 x 4 + 7); red and green were 0.
            EXPECT_EQ(Rgb(image, x, y), 0x0A0A00u + static_cast<uint32_t>(16 * y + x + 1) + 10u)
                << x << "," << y;
        }
    }
    QImage null;
    AdjustColours(null, 10, 10, 10); // nothing to adjust, nothing happens
    EXPECT_TRUE(null.isNull());
}

// ---- cropping and mirroring ----

TEST(CropRaster, TheRectangleInEitherCornerOrderCutOffAtTheRaster) {
    const QImage picture = Numbered(6, 4);
    EXPECT_EQ(Numbers(CropRaster(picture, {1, 1, 4, 3})), (Rows{{18, 19, 20}, {34, 35, 36}}));
    EXPECT_EQ(Numbers(CropRaster(picture, {4, 3, 1, 1})), (Rows{{18, 19, 20}, {34, 35, 36}}));
    EXPECT_EQ(Numbers(CropRaster(picture, {-5, 2, 2, 100})), (Rows{{33, 34}, {49, 50}}));
    EXPECT_TRUE(CropRaster(picture, {6, 0, 9, 4}).isNull()); // beside the raster
    EXPECT_TRUE(CropRaster(picture, {2, 2, 2, 3}).isNull()); // no width
    EXPECT_TRUE(
        CropRaster(picture, {std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 1})
            .size() == QSize(6, 1));
}

TEST(CropOnWhite, TheSquareKeepsItsSizeWhiteWhereItLeavesThePicture) {
    const QImage square = CropOnWhite(Numbered(4, 4), {-1, 2, 2, 5});
    ASSERT_EQ(square.size(), QSize(3, 3));
    EXPECT_EQ(Numbers(square),
              (Rows{{0xFFFFFF, 33, 34}, {0xFFFFFF, 49, 50}, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF}}));
    EXPECT_TRUE(CropOnWhite(Numbered(4, 4), {0, 0, 0, 3}).isNull());
    EXPECT_TRUE(CropOnWhite(Numbered(4, 4), {-60000, -60000, 60000, 60000}).isNull()); // beyond the cap
}

TEST(MirrorRaster, LeftToRightAndTopToBottom) {
    QImage picture = Numbered(3, 2);
    MirrorRaster(picture, true, false);
    EXPECT_EQ(Numbers(picture), (Rows{{3, 2, 1}, {19, 18, 17}}));
    MirrorRaster(picture, false, true);
    EXPECT_EQ(Numbers(picture), (Rows{{19, 18, 17}, {3, 2, 1}}));
}

// ---- DecodePictureData ----

class DecodePictureDataTest : public ::testing::Test {
protected:
    ItemRecord* AddPictureData(int32_t id, int32_t format, Bytes stream) {
        ItemRecord* data = CreateRecord(design, ItemKind::PictureData);
        data->pictureId = id;
        data->clipShape = format;
        data->pictureStream = std::move(stream);
        return data;
    }
    ItemRecord* AddClip(int32_t id) {
        ItemRecord* clip = CreateRecord(design, ItemKind::Clip);
        clip->pictureId = id;
        clip->mirrorX = 1;
        clip->mirrorY = 1;
        clip->turnAngle = 0;
        return clip;
    }
    // A 4 x 2 bitmap: red green blue yellow / white black red green.
    static Bytes Picture() {
        return BitmapFile(
            4, 2, 24, {},
            DirectRows({{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}, {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00}},
                       24));
    }
    ItemList design;
};

TEST_F(DecodePictureDataTest, TheFirstRecordWithTheItemsPictureIdIsDecodedAndOriented) {
    AddPictureData(7, 4, Bytes{1, 2, 3}); // another picture
    AddPictureData(42, 2, Picture());
    AddPictureData(42, 2, BitmapFile(1, 1, 24, {}, DirectRows({{0}}, 24))); // a later duplicate
    ItemRecord* clip = AddClip(42);
    auto picture = DecodePictureData(clip, design);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(4, 2));
    EXPECT_EQ(Rgb(*picture, 0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(*picture, 1, 1), 0x000000u);

    clip->turnAngle = 90;
    picture = DecodePictureData(clip, design);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(2, 4));
    EXPECT_EQ(Rgb(*picture, 0, 0), 0xFFFF00u); // the right column on top
    EXPECT_EQ(Rgb(*picture, 1, 3), 0xFFFFFFu);

    clip->turnAngle = 0;
    clip->mirrorY = -1;
    picture = DecodePictureData(clip, design);
    ASSERT_TRUE(picture);
    EXPECT_EQ(Rgb(*picture, 0, 0), 0xFFFFFFu); // flipped
}

TEST_F(DecodePictureDataTest, MissingDamagedAndDegeneratePicturesDrawNothing) {
    EXPECT_FALSE(DecodePictureData(AddClip(1), design)); // no picture data at all
    EXPECT_FALSE(DecodePictureData(nullptr, design));
    AddPictureData(2, 2, {});
    EXPECT_FALSE(DecodePictureData(AddClip(2), design)); // no stream
    AddPictureData(3, 4, Picture());
    EXPECT_FALSE(DecodePictureData(AddClip(3), design)); // a bitmap stored as a JPEG
    AddPictureData(4, 9, Picture());
    EXPECT_FALSE(DecodePictureData(AddClip(4), design)); // an unknown format code
    Bytes truncated = Picture();
    truncated.resize(30);
    AddPictureData(5, 2, truncated);
    EXPECT_FALSE(DecodePictureData(AddClip(5), design));
    // One pixel wide or high is too little to draw.
    AddPictureData(6, 2, BitmapFile(1, 5, 24, {}, DirectRows({{0}, {0}, {0}, {0}, {0}}, 24)));
    EXPECT_FALSE(DecodePictureData(AddClip(6), design));
    AddPictureData(8, 2, BitmapFile(5, 1, 24, {}, DirectRows({{0, 0, 0, 0, 0}}, 24)));
    EXPECT_FALSE(DecodePictureData(AddClip(8), design));
    AddPictureData(9, 2, BitmapFile(2, 2, 24, {}, DirectRows({{0, 0}, {0, 0}}, 24)));
    EXPECT_TRUE(DecodePictureData(AddClip(9), design));
}

} // namespace
} // namespace vlr::test
