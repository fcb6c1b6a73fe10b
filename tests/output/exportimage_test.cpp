// The exported picture files: which type a name asks for, the JPEG, bitmap and icon encoders, and
// writing that never leaves a partial file. Icon bytes are worked out by hand from the icon
// file layout (directory, bitmap header with doubled height, palette, colour rows, mask rows).
#include "output/exportimage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr {
namespace {

uint32_t Read32(const QByteArray& bytes, int offset) {
    return uint32_t(uint8_t(bytes[offset])) | uint32_t(uint8_t(bytes[offset + 1])) << 8 |
           uint32_t(uint8_t(bytes[offset + 2])) << 16 | uint32_t(uint8_t(bytes[offset + 3])) << 24;
}
uint16_t Read16(const QByteArray& bytes, int offset) {
    return uint16_t(uint8_t(bytes[offset]) | uint8_t(bytes[offset + 1]) << 8);
}
QByteArray Hex(const QByteArray& bytes, int offset, int length) {
    return bytes.mid(offset, length).toHex(' ');
}

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(ExportFileType, FollowsTheTrimmedLowerCasedExtension) {
    EXPECT_EQ(ExportFileTypeOf("/tmp/card.BMP "), ExportFileType::Bmp);
    EXPECT_EQ(ExportFileTypeOf("/tmp/card.bmp"), ExportFileType::Bmp);
    EXPECT_EQ(ExportFileTypeOf("/tmp/card.Ico"), ExportFileType::Ico);
    EXPECT_EQ(ExportFileTypeOf("/tmp/card.png"), ExportFileType::Jpeg);
    EXPECT_EQ(ExportFileTypeOf("/tmp/card.jpeg"), ExportFileType::Jpeg);
    EXPECT_EQ(ExportFileTypeOf("/tmp/card"), ExportFileType::Jpeg);
    EXPECT_EQ(ExportFileTypeOf("/tmp/pictures.bmp/card"), ExportFileType::Jpeg);
}

TEST(EncodeJpeg, WritesThreeColourComponentsThatDecodeToThePicture) {
    QImage image = Filled(40, 30, qRgb(255, 0, 0));
    Encoded jpeg = EncodeJpeg(image);
    ASSERT_TRUE(jpeg.ok()) << jpeg.error.toStdString();
    ASSERT_TRUE(jpeg.bytes.startsWith("\xFF\xD8"));
    // The baseline frame header: FF C0, length, precision, height, width, components.
    const qsizetype frame = jpeg.bytes.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    EXPECT_EQ(uint8_t(jpeg.bytes[frame + 5]) << 8 | uint8_t(jpeg.bytes[frame + 6]), 30);
    EXPECT_EQ(uint8_t(jpeg.bytes[frame + 7]) << 8 | uint8_t(jpeg.bytes[frame + 8]), 40);
    EXPECT_EQ(jpeg.bytes[frame + 9], 3);
    QImage decoded = QImage::fromData(jpeg.bytes, "JPEG");
    ASSERT_EQ(decoded.size(), QSize(40, 30));
    const QRgb centre = decoded.pixel(20, 15);
    EXPECT_GT(qRed(centre), 240);
    EXPECT_LT(qGreen(centre), 15);
}

TEST(EncodeJpeg, ACodecErrorIsReportedAndTheProgramGoesOn) {
    // The codec refuses sides above 65500 pixels.
    Encoded jpeg = EncodeJpeg(Filled(70000, 1, qRgb(0, 0, 0)));
    EXPECT_FALSE(jpeg.ok());
    EXPECT_TRUE(jpeg.error.contains("65500")) << jpeg.error.toStdString();
    EXPECT_TRUE(jpeg.bytes.isEmpty());
    EXPECT_FALSE(EncodeJpeg(QImage()).ok());
}

TEST(EncodeBmp, WritesTwentyFourBitsPerPixel) {
    Encoded bmp = EncodeBmp(Filled(3, 2, qRgb(0, 0, 255)));
    ASSERT_TRUE(bmp.ok());
    ASSERT_TRUE(bmp.bytes.startsWith("BM"));
    EXPECT_EQ(Read32(bmp.bytes, 18), 3u); // width
    EXPECT_EQ(Read32(bmp.bytes, 22), 2u); // height
    EXPECT_EQ(Read16(bmp.bytes, 28), 24); // bits per pixel
    // The first pixel of the bottom row, blue, green, red.
    EXPECT_EQ(Hex(bmp.bytes, int(Read32(bmp.bytes, 10)), 3), "ff 00 00");
}

TEST(EncodeIcon, WritesTheDirectoryHeaderPaletteColourRowsAndMaskBottomUp) {
    // White and red on top, black and blue below.
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 0, 0));
    image.setPixel(1, 1, qRgb(0, 0, 255));
    Encoded icon = EncodeIcon(image);
    ASSERT_TRUE(icon.ok());
    // 40 header + 1024 palette + 2 colour rows of 4 bytes + 2 mask rows of 4 bytes = 1080.
    ASSERT_EQ(icon.bytes.size(), 22 + 1080);
    EXPECT_EQ(Hex(icon.bytes, 0, 22), "00 00 01 00 01 00 02 02 08 00 00 00 00 00 38 04 00 00 16 00 00 00");
    EXPECT_EQ(Hex(icon.bytes, 22, 24),
              "28 00 00 00 02 00 00 00 04 00 00 00 01 00 08 00 00 00 00 00 10 00 00 00");
    EXPECT_EQ(Read32(icon.bytes, 46), 0u); // resolution and colour counts stay 0
    EXPECT_EQ(Read32(icon.bytes, 58), 0u);
    // Palette entries as blue, green, red, 0: 0 black, 5 blue, 180 red (the 6 x 6 x 6 cube).
    EXPECT_EQ(Hex(icon.bytes, 62, 4), "00 00 00 00");
    EXPECT_EQ(Hex(icon.bytes, 62 + 5 * 4, 4), "ff 00 00 00");
    EXPECT_EQ(Hex(icon.bytes, 62 + 180 * 4, 4), "00 00 ff 00");
    // The bottom row first: black, blue; then the top row with the transparent white as black.
    EXPECT_EQ(Hex(icon.bytes, 1086, 8), "00 05 00 00 00 b4 00 00");
    // Mask: only the top row's first pixel is set.
    EXPECT_EQ(Hex(icon.bytes, 1094, 8), "00 00 00 00 80 00 00 00");

    QImage decoded = QImage::fromData(icon.bytes, "ICO");
    ASSERT_EQ(decoded.size(), QSize(2, 2));
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 0);
    EXPECT_EQ(decoded.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(decoded.pixel(1, 1), qRgb(0, 0, 255));
}

TEST(EncodeIcon, TwoHundredFiftySixPixelsAreStoredAsZeroAndMoreAreRefused) {
    Encoded largest = EncodeIcon(Filled(256, 256, qRgb(0, 128, 0)));
    ASSERT_TRUE(largest.ok());
    EXPECT_EQ(largest.bytes[6], 0);
    EXPECT_EQ(largest.bytes[7], 0);
    EXPECT_EQ(Read32(largest.bytes, 26), 256u);
    EXPECT_EQ(Read32(largest.bytes, 30), 512u);

    Encoded tooWide = EncodeIcon(Filled(257, 16, qRgb(0, 128, 0)));
    EXPECT_FALSE(tooWide.ok());
    EXPECT_TRUE(tooWide.bytes.isEmpty());
    EXPECT_TRUE(tooWide.error.contains("257 x 16")) << tooWide.error.toStdString();
}

TEST(IconPalette, ColoursGoToTheNearerOfTheCubeAndTheGreys) {
    // Mid grey: the cube offers 153 (distance 3 x 25 squared), the greys 131 (3 x 3 squared).
    EXPECT_EQ(IconPaletteColour(IconPaletteIndex(qRgb(128, 128, 128))), qRgb(131, 131, 131));
    EXPECT_EQ(IconPaletteColour(IconPaletteIndex(qRgb(250, 5, 100))), qRgb(255, 0, 102));
    EXPECT_EQ(IconPaletteIndex(qRgb(255, 255, 255)), 215);
}

TEST(WriteExportFile, WritesTheChosenTypeAndReportsFailuresWithoutPartialFiles) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString bmp = folder.filePath("card.bmp");
    EXPECT_EQ(WriteExportFile(Filled(8, 8, qRgb(9, 9, 9)), bmp, ExportFileType::Bmp), QString());
    QFile written(bmp);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("BM"));

    // An encoder failure leaves the earlier file as it was.
    const QString jpeg = folder.filePath("card.jpg");
    ASSERT_EQ(WriteExportFile(Filled(8, 8, qRgb(9, 9, 9)), jpeg, ExportFileType::Jpeg), QString());
    const qint64 before = QFileInfo(jpeg).size();
    EXPECT_FALSE(WriteExportFile(Filled(70000, 1, qRgb(0, 0, 0)), jpeg, ExportFileType::Jpeg).isEmpty());
    EXPECT_EQ(QFileInfo(jpeg).size(), before);

    // A folder that does not exist: a message, no file, nothing left behind.
    const QString missing = folder.filePath("missing/card.ico");
    const QString error = WriteIcon(Filled(8, 8, qRgb(9, 9, 9)), missing);
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

} // namespace
} // namespace vlr
