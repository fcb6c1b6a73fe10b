// Pictures written by another program (see pictures/README.md): each decodes to its size and to
// the colours of its quarters.
#include "render/picturedecode.h"

#include "picturefiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vlr::test {
namespace {

constexpr uint32_t kRed = 0xC81E28, kGreen = 0x28B43C, kBlue = 0x1E3CC8, kYellow = 0xF0DC32;

Bytes Load(const char* name) {
    std::ifstream in(std::string(VLR_PICTURES_DIR "/") + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The centres of the four quarters of a width x height picture.
struct Quarter {
    int x, y;
    uint32_t colour;
};
std::vector<Quarter> Quarters(int width, int height, uint32_t topLeft = kRed, uint32_t topRight = kGreen,
                              uint32_t bottomLeft = kBlue, uint32_t bottomRight = kYellow) {
    return {{width / 4, height / 4, topLeft},
            {width * 3 / 4, height / 4, topRight},
            {width / 4, height * 3 / 4, bottomLeft},
            {width * 3 / 4, height * 3 / 4, bottomRight}};
}

void ExpectPicture(const char* name, int32_t format, QSize size, const std::vector<Quarter>& quarters,
                   int tolerance) {
    SCOPED_TRACE(name);
    const Bytes file = Load(name);
    ASSERT_FALSE(file.empty());
    const auto picture = DecodePictureStream(file, format);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), size);
    EXPECT_EQ(picture->format(), QImage::Format_RGB32);
    for (const Quarter& quarter : quarters) {
        EXPECT_TRUE(Near(Rgb(*picture, quarter.x, quarter.y), quarter.colour, tolerance))
            << std::hex << Rgb(*picture, quarter.x, quarter.y) << " at " << std::dec << quarter.x << ","
            << quarter.y;
    }
}

TEST(SamplePictures, JpegBaselineProgressiveAndCmyk) {
    ExpectPicture("baseline.jpg", PictureFormat::Jpeg, {32, 24}, Quarters(32, 24), 8);
    ExpectPicture("progressive.jpg", PictureFormat::Jpeg, {32, 24}, Quarters(32, 24), 8);
    ExpectPicture("cmyk.jpg", PictureFormat::Jpeg, {32, 24}, Quarters(32, 24), 12);
}

TEST(SamplePictures, GreyscaleJpegHasGreyQuartersInTheirLightnessOrder) {
    const auto picture = DecodePictureStream(Load("grey.jpg"), PictureFormat::Jpeg);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(32, 24));
    std::vector<int> grey;
    for (const Quarter& quarter : Quarters(32, 24)) {
        const uint32_t pixel = Rgb(*picture, quarter.x, quarter.y);
        EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
        EXPECT_EQ(pixel & 0xFF, pixel >> 16);
        grey.push_back(static_cast<int>(pixel & 0xFF));
    }
    // Yellow is lightest, then green; red and blue are darker than green.
    EXPECT_GT(grey[3], grey[1]);
    EXPECT_GT(grey[1], grey[0]);
    EXPECT_GT(grey[1], grey[2]);
}

TEST(SamplePictures, InterlacedGifWithATransparentQuarter) {
    ExpectPicture("transparent-interlaced.gif", PictureFormat::Gif, {32, 24},
                  Quarters(32, 24, kRed, 0xFFFFFF, kBlue, kYellow), 0);
}

TEST(SamplePictures, BitmapsOfOneFourEightTwentyFourAndThirtyTwoBits) {
    ExpectPicture("mono.bmp", PictureFormat::Bitmap, {32, 24}, Quarters(32, 24, 0, 0xFFFFFF, 0, 0xFFFFFF), 0);
    ExpectPicture("palette.bmp", PictureFormat::Bitmap, {32, 24}, Quarters(32, 24), 0);
    ExpectPicture("rle8.bmp", PictureFormat::Bitmap, {32, 24}, Quarters(32, 24), 0);
    ExpectPicture("truecolour.bmp", PictureFormat::Bitmap, {32, 24}, Quarters(32, 24), 0);
    // Half transparent over white: (c + 255) / 2.
    ExpectPicture("alpha32.bmp", PictureFormat::Bitmap, {32, 24},
                  Quarters(32, 24, 0xE48F94, 0x94DA9E, 0x8F9EE4, 0xF8EE99), 2);
}

TEST(SamplePictures, Icon) {
    ExpectPicture("icon.ico", PictureFormat::Icon, {32, 32}, Quarters(32, 32), 2);
}

} // namespace
} // namespace vlr::test
