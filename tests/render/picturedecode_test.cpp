// The decoders on pictures written by other encoders: sizes, colours at known pixels,
// transparency, interlace, reductions, and refusal of damaged and oversized pictures.
#include "render/picturedecode.h"

#include "picturefiles.h"
#include "render/gifdecode.h"
#include "render/jpegdecode.h"
#include "render/metafile.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace vlr::test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;
constexpr uint32_t kRed = 0xC81E28, kGreen = 0x28B43C, kBlue = 0x1E3CC8, kYellow = 0xF0DC32;

// 64 x 48 in four 32 x 24 quarters: red, green / blue, yellow. Block edges fall on the JPEG
// blocks, so each quarter stays flat after compression.
QImage Quarters() {
    QImage image(64, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 32, 24, QColor(QRgb(kRed)));
    painter.fillRect(32, 0, 32, 24, QColor(QRgb(kGreen)));
    painter.fillRect(0, 24, 32, 24, QColor(QRgb(kBlue)));
    painter.fillRect(32, 24, 32, 24, QColor(QRgb(kYellow)));
    return image;
}

void ExpectQuarters(const QImage& image, int width, int height, int tolerance) {
    ASSERT_EQ(image.size(), QSize(width, height));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(Rgb(image, width / 4, height / 4), kRed, tolerance));
    EXPECT_TRUE(Near(Rgb(image, width * 3 / 4, height / 4), kGreen, tolerance));
    EXPECT_TRUE(Near(Rgb(image, width / 4, height * 3 / 4), kBlue, tolerance));
    EXPECT_TRUE(Near(Rgb(image, width * 3 / 4, height * 3 / 4), kYellow, tolerance));
}

// The number of components in the frame header of a JPEG (byte 9 of a start-of-frame segment).
int JpegComponents(const Bytes& jpeg, uint8_t frameMarker) {
    for (size_t at = 2; at + 9 < jpeg.size(); ++at) {
        if (jpeg[at] == 0xFF && jpeg[at + 1] == frameMarker) {
            return jpeg[at + 9];
        }
    }
    return 0;
}

// ---- JPEG ----

TEST(DecodeJpeg, BaselineAndProgressivePicturesDecodeToTheirColours) {
    const Bytes baseline = JpegFile(Quarters());
    const Bytes progressive = JpegFile(Quarters(), true);
    ASSERT_EQ(JpegComponents(baseline, 0xC0), 3);    // a baseline frame
    ASSERT_EQ(JpegComponents(progressive, 0xC2), 3); // a progressive frame
    for (const Bytes& file : {baseline, progressive}) {
        const auto picture = DecodePictureStream(file, PictureFormat::Jpeg);
        ASSERT_TRUE(picture);
        ExpectQuarters(*picture, 64, 48, 6);
        EXPECT_EQ(picture->pixel(0, 0) >> 24, 0xFFu); // opaque RGB32 words
    }
}

TEST(DecodeJpeg, GreyscalePicturesGiveGreyPixels) {
    QImage grey(32, 16, QImage::Format_Grayscale8);
    grey.fill(0);
    for (int y = 0; y < 16; ++y) {
        std::fill_n(grey.scanLine(y) + 16, 16, uint8_t{200});
    }
    const Bytes file = JpegFile(grey);
    ASSERT_EQ(JpegComponents(file, 0xC0), 1);
    const auto picture = DecodeJpeg(file);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(32, 16));
    EXPECT_TRUE(Near(Rgb(*picture, 4, 8), 0x000000, 3));
    EXPECT_TRUE(Near(Rgb(*picture, 28, 8), 0xC8C8C8, 3));
}

TEST(DecodeJpeg, CmykPicturesAreConvertedFromTheirInks) {
    // Left half pure cyan ink, right half half-strength black: red = (255 - c)(255 - k) / 255.
    std::vector<uint32_t> inks;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            inks.push_back(x < 16 ? 0xFF000000u : 0x00000080u);
        }
    }
    const auto picture = DecodeJpeg(CmykJpegFile(32, 16, inks));
    ASSERT_TRUE(picture);
    EXPECT_TRUE(Near(Rgb(*picture, 4, 8), 0x00FFFF, 4));  // cyan
    EXPECT_TRUE(Near(Rgb(*picture, 28, 8), 0x7F7F7F, 4)); // 255 x 127 / 255
}

TEST(DecodeJpeg, ReductionsDivideTheSizeRoundingUp) {
    const Bytes file = JpegFile(Quarters());
    ExpectQuarters(*DecodeJpeg(file, 1), 32, 24, 8);
    ExpectQuarters(*DecodeJpeg(file, 2), 16, 12, 8);
    ExpectQuarters(*DecodeJpeg(file, 3), 8, 6, 8);
    EXPECT_EQ(DecodeJpeg(file, 7)->size(), QSize(64, 48)); // unknown reductions: full size
    DecodeOptions eighth;
    eighth.jpegReduction = 3;
    EXPECT_EQ(DecodePictureStream(file, PictureFormat::Jpeg, eighth)->size(), QSize(8, 6));
    // 65 x 33 at an eighth: ceil(65 / 8) x ceil(33 / 8).
    EXPECT_EQ(DecodeJpeg(JpegFile(Quarters().scaled(65, 33)), 3)->size(), QSize(9, 5));
}

TEST(DecodeJpeg, ATruncatedPictureIsDamaged) {
    const Bytes file = JpegFile(Quarters());
    const Bytes half(file.begin(), file.begin() + static_cast<long>(file.size() / 2));
    EXPECT_FALSE(DecodeJpeg(half));
    const Bytes progressiveHalf = [] {
        const Bytes whole = JpegFile(Quarters(), true);
        return Bytes(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 2 / 3));
    }();
    EXPECT_FALSE(DecodeJpeg(progressiveHalf));
    // Even a stream that lacks only its end marker ran out of data while the decoder read it.
    EXPECT_FALSE(DecodeJpeg(Bytes(file.begin(), file.end() - 2)));
    EXPECT_TRUE(DecodeJpeg(file));
}

// Writes width and height into the first start-of-frame segment.
Bytes WithFrameSize(Bytes jpeg, uint16_t width, uint16_t height) {
    for (size_t at = 2; at + 9 < jpeg.size(); ++at) {
        if (jpeg[at] == 0xFF && (jpeg[at + 1] == 0xC0 || jpeg[at + 1] == 0xC2)) {
            jpeg[at + 5] = static_cast<uint8_t>(height >> 8), jpeg[at + 6] = static_cast<uint8_t>(height);
            jpeg[at + 7] = static_cast<uint8_t>(width >> 8), jpeg[at + 8] = static_cast<uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

TEST(DecodeJpeg, GarbageAndOversizedDeclarationsAreRefusedWithoutDecoding) {
    EXPECT_FALSE(DecodeJpeg(Bytes{}));
    EXPECT_FALSE(DecodeJpeg(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}));
    // 60000 x 60000 declared (3.6 gigapixels): refused from the header.
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(JpegFile(Quarters()), 60000, 60000)));
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(JpegFile(Quarters(), true), 60000, 60000)));
    // 10001 x 10000 is just over 100 megapixels.
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(JpegFile(Quarters()), 10001, 10000), 3));
}

// The frame and tables of a progressive JPEG, then its first scan repeated `scans` times (each
// scan followed by a little entropy data), then the end marker.
Bytes RepeatedScans(int scans) {
    const Bytes file = JpegFile(Quarters(), true);
    size_t sos = 2;
    while (!(file[sos] == 0xFF && file[sos + 1] == 0xDA)) {
        ++sos;
    }
    const size_t scanHeader = 2 + (size_t{file[sos + 2]} << 8 | file[sos + 3]);
    Bytes out(file.begin(), file.begin() + static_cast<long>(sos));
    for (int i = 0; i < scans; ++i) {
        out.insert(out.end(), file.begin() + static_cast<long>(sos),
                   file.begin() + static_cast<long>(sos + scanHeader));
        out.insert(out.end(), 16, 0x00);
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

TEST(DecodeJpeg, APictureOfEndlessScansIsRefusedAtTheScanLimit) {
    EXPECT_TRUE(DecodeJpeg(RepeatedScans(20)));
    EXPECT_TRUE(DecodeJpeg(RepeatedScans(kMaxJpegScans)));
    EXPECT_FALSE(DecodeJpeg(RepeatedScans(kMaxJpegScans + 1)));
}

// ---- GIF ----

const std::vector<uint32_t> kPalette = {kRed, kGreen, kBlue, kYellow};

TEST(DecodeGif, TheFirstFrameDecodesWithItsPalette) {
    GifFrame frame{3, 2, 0, 0, {{0, 1, 2}, {3, 2, 1}}, kPalette};
    const auto picture = DecodePictureStream(GifFile(frame), PictureFormat::Gif);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(3, 2));
    EXPECT_EQ(picture->format(), QImage::Format_RGB32);
    EXPECT_EQ(Rgb(*picture, 0, 0), kRed);
    EXPECT_EQ(Rgb(*picture, 2, 0), kBlue);
    EXPECT_EQ(Rgb(*picture, 0, 1), kYellow);
    EXPECT_EQ(Rgb(*picture, 1, 1), kBlue);
}

TEST(DecodeGif, TheTransparentColourLeavesWhite) {
    GifFrame frame{2, 2, 0, 0, {{0, 1}, {1, 0}}, kPalette, 1};
    const auto picture = DecodeGif(GifFile(frame));
    ASSERT_TRUE(picture);
    EXPECT_EQ(Rgb(*picture, 0, 0), kRed);
    EXPECT_EQ(Rgb(*picture, 1, 0), kWhite);
    EXPECT_EQ(Rgb(*picture, 0, 1), kWhite);
}

TEST(DecodeGif, InterlacedRowsLandInTheirPlaces) {
    // Ten rows, row y in colour y mod 4: the passes store rows 0 8 | 4 | 2 6 | 1 3 5 7 9.
    GifFrame frame{2, 10, 0, 0, {}, kPalette, -1, true};
    for (uint8_t y = 0; y < 10; ++y) {
        frame.rows.push_back({static_cast<uint8_t>(y % 4), static_cast<uint8_t>(y % 4)});
    }
    const auto picture = DecodeGif(GifFile(frame));
    ASSERT_TRUE(picture);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(Rgb(*picture, 1, y), kPalette[static_cast<size_t>(y % 4)]) << "row " << y;
    }
}

TEST(DecodeGif, AFrameLiesAtItsOffsetOnAWhiteScreenAndIsCutAtItsEdge) {
    // A 3 x 2 frame at (2, 1) on a 4 x 4 screen: its last column falls off the screen.
    GifFrame frame{4, 4, 2, 1, {{0, 1, 2}, {3, 0, 1}}, kPalette};
    const auto picture = DecodeGif(GifFile(frame));
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(4, 4));
    EXPECT_EQ(Rgb(*picture, 0, 0), kWhite);
    EXPECT_EQ(Rgb(*picture, 1, 1), kWhite);
    EXPECT_EQ(Rgb(*picture, 2, 1), kRed);
    EXPECT_EQ(Rgb(*picture, 3, 1), kGreen);
    EXPECT_EQ(Rgb(*picture, 2, 2), kYellow);
    EXPECT_EQ(Rgb(*picture, 3, 2), kRed);
    EXPECT_EQ(Rgb(*picture, 3, 3), kWhite);
}

TEST(DecodeGif, IndicesBeyondTheColourTableAreBlack) {
    // A two-colour table; the encoder still writes indices up to 3 with its 8-bit code size.
    GifFrame frame{4, 1, 0, 0, {{0, 1, 2, 3}}, {kRed, kGreen}};
    const auto picture = DecodeGif(GifFile(frame));
    ASSERT_TRUE(picture);
    EXPECT_EQ(Rgb(*picture, 0, 0), kRed);
    EXPECT_EQ(Rgb(*picture, 1, 0), kGreen);
    EXPECT_EQ(Rgb(*picture, 2, 0), kBlack);
    EXPECT_EQ(Rgb(*picture, 3, 0), kBlack);
}

// The GIF header and a 1 x 1 screen without a colour table.
Bytes GifHeader(uint16_t width, uint16_t height) {
    Bytes bytes{'G', 'I', 'F', '8', '9', 'a'};
    PutLittle16(bytes, width);
    PutLittle16(bytes, height);
    bytes.insert(bytes.end(), {0x00, 0x00, 0x00});
    return bytes;
}

TEST(DecodeGif, EndlessExtensionsAndMissingFramesFailInsteadOfLooping) {
    Bytes comments = GifHeader(1, 1);
    for (int i = 0; i < kMaxGifExtensionBlocks + 10; ++i) {
        comments.insert(comments.end(), {0x21, 0xFE, 0x01, 'x', 0x00}); // one comment each
    }
    comments.push_back(0x3B);
    EXPECT_FALSE(DecodeGif(comments));
    // One comment of endless data blocks, never terminated.
    Bytes blocks = GifHeader(1, 1);
    blocks.insert(blocks.end(), {0x21, 0xFE});
    for (int i = 0; i < kMaxGifExtensionBlocks + 10; ++i) {
        blocks.insert(blocks.end(), {0x01, 'x'});
    }
    EXPECT_FALSE(DecodeGif(blocks));
    Bytes noFrame = GifHeader(1, 1);
    noFrame.push_back(0x3B);
    EXPECT_FALSE(DecodeGif(noFrame));
}

TEST(DecodeGif, DamagedAndOversizedPicturesAreRefused) {
    const Bytes file =
        GifFile({4, 4, 0, 0, {{0, 1, 2, 3}, {3, 2, 1, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}}, kPalette});
    EXPECT_FALSE(DecodeGif(Bytes(file.begin(), file.end() - 8))); // cut inside the pixel data
    Bytes huge = file;
    huge[6] = huge[8] = 0x60, huge[7] = huge[9] = 0xEA; // screen 60000 x 60000
    EXPECT_FALSE(DecodeGif(huge));
    EXPECT_FALSE(DecodeGif(Bytes{'G', 'I', 'F'}));
}

// ---- Windows bitmaps ----

TEST(DecodeBitmap, PalettedBitmapsOfOneFourAndEightBits) {
    const std::vector<uint32_t> two = {kBlack, kWhite};
    const auto mono = DecodePictureStream(
        BitmapFile(10, 2, 1, two,
                   PackedRows({{1, 0, 1, 0, 1, 0, 1, 0, 1, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1}}, 1)),
        PictureFormat::Bitmap);
    ASSERT_TRUE(mono);
    ASSERT_EQ(mono->size(), QSize(10, 2));
    EXPECT_EQ(mono->format(), QImage::Format_RGB32);
    EXPECT_EQ(Rgb(*mono, 0, 0), kWhite);
    EXPECT_EQ(Rgb(*mono, 1, 0), kBlack);
    EXPECT_EQ(Rgb(*mono, 9, 0), kWhite); // in the second byte of the row
    EXPECT_EQ(Rgb(*mono, 8, 1), kBlack);
    EXPECT_EQ(Rgb(*mono, 9, 1), kWhite);

    const auto four = DecodePictureStream(
        BitmapFile(3, 2, 4, kPalette, PackedRows({{0, 1, 2}, {3, 3, 0}}, 4)), PictureFormat::Bitmap);
    ASSERT_TRUE(four);
    EXPECT_EQ(Rgb(*four, 0, 0), kRed);
    EXPECT_EQ(Rgb(*four, 2, 0), kBlue);
    EXPECT_EQ(Rgb(*four, 1, 1), kYellow);

    const auto eight = DecodePictureStream(BitmapFile(2, 2, 8, kPalette, PackedRows({{3, 2}, {1, 0}}, 8)),
                                           PictureFormat::Bitmap);
    ASSERT_TRUE(eight);
    EXPECT_EQ(Rgb(*eight, 0, 0), kYellow);
    EXPECT_EQ(Rgb(*eight, 0, 1), kGreen); // rows are stored bottom-up
}

TEST(DecodeBitmap, DirectColourBitmapsOf24And32Bits) {
    const auto rgb = DecodePictureStream(
        BitmapFile(3, 2, 24, {}, DirectRows({{kRed, kGreen, kBlue}, {kYellow, kWhite, kBlack}}, 24)),
        PictureFormat::Bitmap);
    ASSERT_TRUE(rgb);
    ASSERT_EQ(rgb->size(), QSize(3, 2));
    EXPECT_EQ(Rgb(*rgb, 0, 0), kRed);
    EXPECT_EQ(Rgb(*rgb, 2, 0), kBlue);
    EXPECT_EQ(Rgb(*rgb, 0, 1), kYellow);
    // 32-bit rows without a colour mask: the fourth byte carries nothing.
    const auto words = DecodePictureStream(
        BitmapFile(2, -2, 32, {}, DirectRows({{kBlue, kGreen}, {kRed, kYellow}}, 32)), PictureFormat::Bitmap);
    ASSERT_TRUE(words);
    // Height -2: stored top-down, so the first stored row (the last given) is on top.
    EXPECT_EQ(Rgb(*words, 0, 0), kRed);
    EXPECT_EQ(Rgb(*words, 1, 1), kGreen);
}

TEST(DecodeBitmap, RunLengthEncodedBitmapsOfFourAndEightBits) {
    // RLE8, bottom row first: 3 x index 2, end of line; 1 x 0 then 2 x 1, end of bitmap.
    const Bytes rle8 = {3, 2, 0, 0, 1, 0, 2, 1, 0, 1};
    const auto eight = DecodePictureStream(BitmapFile(3, 2, 8, kPalette, rle8, 1), PictureFormat::Bitmap);
    ASSERT_TRUE(eight);
    EXPECT_EQ(Rgb(*eight, 0, 1), kBlue);
    EXPECT_EQ(Rgb(*eight, 2, 1), kBlue);
    EXPECT_EQ(Rgb(*eight, 0, 0), kRed);
    EXPECT_EQ(Rgb(*eight, 2, 0), kGreen);
    // RLE4: a run of 4 alternating indices 3 and 1 (byte 0x31), end of line; 4 x index 2, end.
    const Bytes rle4 = {4, 0x31, 0, 0, 4, 0x22, 0, 1};
    const auto four = DecodePictureStream(BitmapFile(4, 2, 4, kPalette, rle4, 2), PictureFormat::Bitmap);
    ASSERT_TRUE(four);
    EXPECT_EQ(Rgb(*four, 0, 1), kYellow);
    EXPECT_EQ(Rgb(*four, 1, 1), kGreen);
    EXPECT_EQ(Rgb(*four, 2, 1), kYellow);
    EXPECT_EQ(Rgb(*four, 3, 0), kBlue);
}

TEST(DecodeBitmap, OversizedAndDamagedHeadersAreRefused) {
    Bytes huge = BitmapFile(60000, 60000, 24, {}, DirectRows({{kRed}}, 24));
    EXPECT_FALSE(DecodePictureStream(huge, PictureFormat::Bitmap));
    EXPECT_FALSE(DecodePictureStream(BitmapFile(0, 5, 24, {}, {}), PictureFormat::Bitmap));
    EXPECT_FALSE(DecodePictureStream(BitmapFile(-4, 5, 24, {}, {}), PictureFormat::Bitmap));
    const Bytes good = BitmapFile(2, 2, 24, {}, DirectRows({{kRed, kRed}, {kRed, kRed}}, 24));
    EXPECT_FALSE(DecodePictureStream(Bytes(good.begin(), good.begin() + 20), PictureFormat::Bitmap));
    EXPECT_FALSE(DecodePictureStream(good, PictureFormat::Icon)); // the format code decides
    EXPECT_FALSE(DecodePictureStream(good, 0));
    EXPECT_FALSE(DecodePictureStream(good, 6));
}

// Header variants, made here byte by byte: the 12-byte header of OS/2 bitmaps, and the 108- and
// 124-byte headers that carry colour masks of any width.
struct Masks {
    uint32_t red, green, blue, alpha;
};

Bytes CoreHeader(int width, int height, int bitsPerPixel) {
    Bytes bytes;
    PutLittle32(bytes, 12);
    PutLittle16(bytes, static_cast<uint32_t>(width));
    PutLittle16(bytes, static_cast<uint32_t>(height));
    PutLittle16(bytes, 1);
    PutLittle16(bytes, static_cast<uint32_t>(bitsPerPixel));
    return bytes;
}

// A header of 40, 108 or 124 bytes; from 108 bytes on it holds the masks.
Bytes InfoHeader(uint32_t size, int width, int height, int bitsPerPixel, int compression, Masks masks = {}) {
    Bytes bytes;
    for (uint32_t value : {size, uint32_t(width), uint32_t(height)}) {
        PutLittle32(bytes, value);
    }
    PutLittle16(bytes, 1);
    PutLittle16(bytes, static_cast<uint32_t>(bitsPerPixel));
    for (uint32_t value : {uint32_t(compression), 0u, 3780u, 3780u, 0u, 0u}) {
        PutLittle32(bytes, value);
    }
    if (size >= 108) {
        for (uint32_t value : {masks.red, masks.green, masks.blue, masks.alpha, 0x73524742u}) {
            PutLittle32(bytes, value); // the last: the colour space "sRGB"
        }
        bytes.resize(size, 0); // end points, gamma, and for 124 bytes intent and profile
    }
    return bytes;
}

// A bitmap file of a header, what follows it (palette or masks) and the pixels, which start right
// after that, as the file header says.
Bytes BitmapOf(const Bytes& header, const Bytes& tail, const Bytes& pixels) {
    const uint32_t offset = 14 + static_cast<uint32_t>(header.size() + tail.size());
    Bytes bytes{'B', 'M'};
    PutLittle32(bytes, offset + static_cast<uint32_t>(pixels.size()));
    PutLittle32(bytes, 0);
    PutLittle32(bytes, offset);
    for (const Bytes* part : {&header, &tail, &pixels}) {
        bytes.insert(bytes.end(), part->begin(), part->end());
    }
    return bytes;
}

// Pixels of 16 or 32 bits, rows given top first, each channel full or empty: red, green, blue
// and alpha set all the bits of their masks.
Bytes MaskedRows(const std::vector<std::vector<uint32_t>>& rows, int bitsPerPixel, Masks masks) {
    Bytes bytes;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const size_t start = bytes.size();
        for (uint32_t colour : *row) {
            uint32_t value = masks.alpha;
            value |= (colour & 0xFF0000) != 0 ? masks.red : 0;
            value |= (colour & 0x00FF00) != 0 ? masks.green : 0;
            value |= (colour & 0x0000FF) != 0 ? masks.blue : 0;
            bitsPerPixel == 16 ? PutLittle16(bytes, value) : PutLittle32(bytes, value);
        }
        while ((bytes.size() - start) % 4 != 0) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

// Variants Qt's reader draws wrong are refused, as a damaged picture is: colour masks wider than
// 8 bits (the channel comes out empty) and an OS/2 bitmap whose palette is shorter than its bits
// allow (the pixels come out shifted). The same files made the usual way decode true.
TEST(DecodeBitmap, HeaderVariantsTheReaderDrawsWrongAreRefused) {
    constexpr uint32_t kCyan = 0x00FFFF, kMagenta = 0xFF00FF, kFullRed = 0xFF0000, kFullGreen = 0x00FF00;
    const std::vector<std::vector<uint32_t>> colours = {{kFullRed, kFullGreen, 0x0000FF},
                                                        {kCyan, kMagenta, kWhite}};
    auto decodes = [&](const Bytes& file) {
        const auto picture = DecodePictureStream(file, PictureFormat::Bitmap);
        if (!picture || picture->size() != QSize(3, 2)) {
            return false;
        }
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_TRUE(Near(Rgb(*picture, x, y), colours[y][x], 8)) << x << "," << y;
            }
        }
        return true;
    };
    // Red 11 bits, green 11, blue 10, the masks after a 40-byte header; and 5, 6, 5.
    for (auto [masks, refused] : {std::pair{Masks{0xFFE00000, 0x001FFC00, 0x000003FF, 0}, true},
                                  std::pair{Masks{0xF800, 0x07E0, 0x001F, 0}, false}}) {
        Bytes tail;
        for (uint32_t mask : {masks.red, masks.green, masks.blue}) {
            PutLittle32(tail, mask);
        }
        const int bits = masks.red > 0xFFFF ? 32 : 16;
        EXPECT_EQ(decodes(BitmapOf(InfoHeader(40, 3, 2, bits, 3), tail, MaskedRows(colours, bits, masks))),
                  !refused)
            << std::hex << masks.red;
    }
    // In the longer headers: alpha 4 bits, red 6, green 17, blue 5; alpha 4, red 1, green 9, blue
    // 2 in 16 bits; and the usual 8 bits each.
    for (auto [masks, bits, refused] :
         {std::tuple{Masks{0x0FC00000, 0x003FFFE0, 0x0000001F, 0xF0000000}, 32, true},
          std::tuple{Masks{0x0800, 0x07FC, 0x0003, 0xF000}, 16, true},
          std::tuple{Masks{0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 32, false}}) {
        for (uint32_t size : {108u, 124u}) {
            EXPECT_EQ(decodes(BitmapOf(InfoHeader(size, 3, 2, bits, 3, masks), {},
                                       MaskedRows(colours, bits, masks))),
                      !refused)
                << size << " " << std::hex << masks.green;
        }
    }

    // OS/2, eight bits: a palette of six colours of three bytes each, then 32 x 32 pixels.
    std::vector<std::vector<uint8_t>> indices(32, std::vector<uint8_t>(32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            indices[y][x] = static_cast<uint8_t>((x + y) % 6);
        }
    }
    for (size_t entries : {6u, 256u}) {
        Bytes palette;
        for (size_t i = 0; i < entries; ++i) {
            const uint32_t colour = i < 6 ? colours[i / 3][i % 3] : 0;
            palette.insert(palette.end(), {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)});
        }
        const auto picture = DecodePictureStream(
            BitmapOf(CoreHeader(32, 32, 8), palette, PackedRows(indices, 8)), PictureFormat::Bitmap);
        if (entries == 6) {
            EXPECT_FALSE(picture);
            continue;
        }
        ASSERT_TRUE(picture);
        EXPECT_EQ(Rgb(*picture, 0, 0), kFullRed);
        EXPECT_EQ(Rgb(*picture, 4, 0), kMagenta);
        EXPECT_EQ(Rgb(*picture, 31, 31), colours[(62 % 6) / 3][(62 % 6) % 3]);
    }
}

// ---- icons ----

TEST(DecodeIcon, TheMaskAndTheAlphaChannelLeaveWhite) {
    // 2 x 2: opaque red, masked-out green / half-transparent blue, opaque yellow.
    const IconImage image = BitmapIconImage(
        {{0xFF000000u | kRed, 0xFF000000u | kGreen}, {0x80000000u | 0x0000FF, 0xFF000000u | kYellow}},
        {{false, true}, {false, false}});
    const auto picture = DecodePictureStream(IconFile({image}), PictureFormat::Icon);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(2, 2));
    EXPECT_EQ(picture->format(), QImage::Format_RGB32);
    EXPECT_EQ(Rgb(*picture, 0, 0), kRed);
    EXPECT_EQ(Rgb(*picture, 1, 1), kYellow);
    // Blue at alpha 128 over white: red and green 255 - 128 = 127, blue 255.
    EXPECT_TRUE(Near(Rgb(*picture, 0, 1), 0x7F7FFF, 2));
}

TEST(DecodeIcon, TheStoredSizeChoosesTheImageOtherwiseTheLargest) {
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(QColor(QRgb(kRed)));
    QImage large(48, 48, QImage::Format_ARGB32);
    large.fill(QColor(QRgb(kBlue)));
    QImage middle(32, 32, QImage::Format_ARGB32);
    middle.fill(QColor(QRgb(kGreen)));
    const Bytes file = IconFile({PngIconImage(small), PngIconImage(large), PngIconImage(middle)});
    const auto largest = DecodePictureStream(file, PictureFormat::Icon);
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->size(), QSize(48, 48));
    EXPECT_EQ(Rgb(*largest, 10, 10), kBlue);
    DecodeOptions stored;
    stored.iconSize = QSize(32, 32);
    const auto chosen = DecodePictureStream(file, PictureFormat::Icon, stored);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->size(), QSize(32, 32));
    EXPECT_EQ(Rgb(*chosen, 10, 10), kGreen);
}

// An icon image may carry a 124-byte header where the usual one has 40 bytes; the reader would
// draw it shifted, so such an image is not offered: alone it makes the icon undecodable, beside
// a usual image it leaves that one.
TEST(DecodeIcon, AnImageWithALongerHeaderIsLeftOut) {
    const IconImage usual =
        BitmapIconImage({{0xFF000000u | kRed, 0xFF000000u | kGreen, 0xFF000000u | kBlue},
                         {0xFF000000u | kYellow, 0xFF000000u | kWhite, 0xFF000000u | kBlack}},
                        {{false, false, false}, {false, false, false}});
    IconImage longer = BitmapIconImage(
        {{0xFF000000u | kBlue, 0xFF000000u | kBlue, 0xFF000000u | kBlue, 0xFF000000u | kBlue}},
        {{false, false, false, false}});
    Bytes header = InfoHeader(124, 4, 2, 32, 0, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000});
    header.insert(header.end(), longer.data.begin() + 40, longer.data.end());
    longer.data = header;
    EXPECT_FALSE(DecodePictureStream(IconFile({longer}), PictureFormat::Icon));
    const auto picture = DecodePictureStream(IconFile({longer, usual}), PictureFormat::Icon);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size(), QSize(3, 2));
    EXPECT_EQ(Rgb(*picture, 0, 0), kRed);
    EXPECT_EQ(Rgb(*picture, 2, 1), kBlack);
}

TEST(DecodeIcon, DamagedDirectoriesAndOversizedImagesAreRefused) {
    IconImage image = BitmapIconImage({{0xFF000000u | kRed}}, {{false}});
    Bytes file = IconFile({image});
    EXPECT_FALSE(DecodePictureStream(Bytes(file.begin(), file.begin() + 10), PictureFormat::Icon));
    Bytes pastTheEnd = file;
    pastTheEnd[18] = 0xFF; // the image's offset beyond the file
    EXPECT_FALSE(DecodePictureStream(pastTheEnd, PictureFormat::Icon));
    Bytes huge = file;
    // The bitmap header's width and (doubled) height: 60000 x 60000.
    const size_t header = 22;
    huge[header + 4] = 0x60, huge[header + 5] = 0xEA;
    huge[header + 8] = 0xC0, huge[header + 9] = 0xD4, huge[header + 10] = 0x01;
    EXPECT_FALSE(DecodePictureStream(huge, PictureFormat::Icon));
}

// ---- metafiles ----

TEST(DecodeMetafile, SignaturesTellTheKindsApart) {
    const Bytes placeable = FilledMetafile(1440, 720, 0x0000FF);
    EXPECT_EQ(MetafileTypeOf(placeable), MetafileType::Placeable);
    EXPECT_EQ(MetafileTypeOf(Bytes(placeable.begin() + 22, placeable.end())), MetafileType::Windows);
    Bytes enhanced(88, 0);
    enhanced[0] = 1;
    enhanced[40] = ' ', enhanced[41] = 'E', enhanced[42] = 'M', enhanced[43] = 'F';
    EXPECT_EQ(MetafileTypeOf(enhanced), MetafileType::Enhanced);
    EXPECT_FALSE(DecodePictureStream(enhanced, PictureFormat::Metafile));
    EXPECT_EQ(MetafileTypeOf(Bytes{1, 0, 0, 0}), MetafileType::Unknown);
    EXPECT_EQ(MetafileTypeOf(Bytes{}), MetafileType::Unknown);
    EXPECT_FALSE(DecodePictureStream(Bytes{1, 2, 3}, PictureFormat::Metafile));
}

TEST(DecodeMetafile, APlaceableMetafilePlaysAtItsOwnSize) {
    if (!CanPlayWindowsMetafiles()) {
        GTEST_SKIP() << "built without the metafile library";
    }
    // One inch by half an inch at 96 pixels to the inch, filled with red (0x00BBGGRR 0x0000FF).
    const auto picture = DecodePictureStream(FilledMetafile(1440, 720, 0x0000FF), PictureFormat::Metafile);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(96, 48));
    EXPECT_EQ(picture->format(), QImage::Format_RGB32);
    EXPECT_EQ(Rgb(*picture, 48, 24), 0xFF0000u);
    // A frame of 60000 inches each way is refused before anything is drawn.
    Bytes huge = FilledMetafile(1440, 720, 0x0000FF);
    // One unit per inch instead of 1440 (0x05A0): 1440 x 720 inches. The checksum changes by
    // the same bits.
    huge[14] = 0x01, huge[15] = 0x00;
    huge[20] ^= 0xA0 ^ 0x01, huge[21] ^= 0x05;
    EXPECT_FALSE(DecodePictureStream(huge, PictureFormat::Metafile));

    // A header naming a longest record of 8 gigabytes: no record is longer than the file, so
    // the picture plays as it is, without the player setting gigabytes aside.
    Bytes longest = FilledMetafile(1440, 720, 0x0000FF);
    const size_t at = 22 + 12; // after the placeable header, in the Windows header
    longest[at] = longest[at + 1] = longest[at + 2] = longest[at + 3] = 0xFF;
    const auto played = DecodePictureStream(longest, PictureFormat::Metafile);
    ASSERT_TRUE(played);
    EXPECT_EQ(Rgb(*played, 48, 24), 0xFF0000u);
}

} // namespace
} // namespace vlr::test
