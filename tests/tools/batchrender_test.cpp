// velloran-batch render as a user runs it: the size of the picture worked out by hand from the
// page and the scale, where the page's corner lands, shadows and surfaces drawn, and the exit
// codes of everything that goes wrong, none of which leaves a picture behind.
#include "batchrun.h"
#include "renderdesigns.h"

#include "model/itemkind.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr::test {
namespace {

constexpr int32_t kRed = 0x0000FF, kBlue = 0xFF0000; // 0x00BBGGRR
constexpr QRgb kWhite = 0xFFFFFFFF;

// A page of 3 1/2 x 2 inches: 336 x 192 design pixels at 96 dpi.
ItemList CardPage() {
    return PageDesign(3, 3.5, 2.0);
}

class BatchRender : public testing::Test {
protected:
    QString Path(const QString& name) const { return folder.filePath(name); }
    QString Saved(ItemList& design, const QString& name) const {
        const QString path = Path(name);
        EXPECT_TRUE(Save(design, path.toStdString()));
        return path;
    }
    // The picture of a render that must succeed; null (with the failure recorded) otherwise.
    QImage Rendered(const QString& design, QStringList options = {}) const {
        const QString out = Path("page.png");
        QFile::remove(out);
        const BatchRun run = Batch(QStringList{"render", design, "-o", out} + options);
        EXPECT_EQ(run.exitCode, 0) << options.join(' ').toStdString() << ": " << run.errors.toStdString();
        return QImage(out);
    }
    // A render that must fail with the exit code and leave no picture.
    void ExpectRefused(const QStringList& arguments, int exitCode, const QString& message = {}) const {
        const QString out = Path("refused.png");
        const BatchRun run = Batch(QStringList{"render"} + arguments + QStringList{"-o", out});
        EXPECT_EQ(run.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains(message)) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << arguments.join(' ').toStdString();
    }
    QTemporaryDir folder;
};

TEST_F(BatchRender, AtAZoomThePictureIsThePagesPixelSizeAtThatZoom) {
    ItemList card = CardPage();
    const QString design = Saved(card, "card.vlrn");
    EXPECT_EQ(Rendered(design).size(), QSize(336, 192));
    EXPECT_EQ(Rendered(design, {"--zoom", "2"}).size(), QSize(672, 384));
    EXPECT_EQ(Rendered(design, {"--zoom", "0.25"}).size(), QSize(84, 48));
    // The sample's card of 85 x 55 mm at 96 / 25.4 pixels a millimetre: 321.3 x 207.9.
    EXPECT_EQ(Rendered(VLR_SAMPLE).size(), QSize(321, 208));
}

TEST_F(BatchRender, AtAResolutionThePictureIsThePagesInchesTimesTheDots) {
    ItemList card = CardPage();
    EXPECT_EQ(Rendered(Saved(card, "card.vlrn"), {"--dpi", "300"}).size(), QSize(1050, 600));
    // 85 / 25.4 x 300 = 1003.9, 55 / 25.4 x 300 = 649.6.
    EXPECT_EQ(Rendered(VLR_SAMPLE, {"--dpi", "300"}).size(), QSize(1004, 650));
    // A page of 400 x 250 pixels is 4.1667 x 2.6042 inches at 96 pixels to the inch ...
    ItemList pixels = PageDesign(1, 400, 250);
    const QString pixelDesign = Saved(pixels, "pixels.vlrn");
    EXPECT_EQ(Rendered(pixelDesign, {"--dpi", "300"}).size(), QSize(1250, 781));
    // ... and half of that at 192 (625 x 390.6), while its own pixel size stays.
    EXPECT_EQ(Rendered(pixelDesign, {"--dpi", "300", "--screen-dpi", "192"}).size(), QSize(625, 391));
    EXPECT_EQ(Rendered(pixelDesign, {"--screen-dpi", "192"}).size(), QSize(400, 250));
}

TEST_F(BatchRender, ThePagesCornerIsTheTopLeftPixelWhateverItsMarginInTheWindow) {
    // The page lies half an inch inside the window; the picture must not show that margin.
    ItemList card = CardPage();
    AddBox(card, {0, 0, 10, 10}, kRed);
    AddBox(card, {326, 182, 336, 192}, kBlue); // the far corner of the page
    const QString design = Saved(card, "corners.vlrn");

    const QImage atZoom = Rendered(design);
    ASSERT_EQ(atZoom.size(), QSize(336, 192));
    EXPECT_NE(atZoom.pixel(0, 0), kWhite);
    EXPECT_EQ(atZoom.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(atZoom.pixel(332, 188), qRgb(0, 0, 255));
    EXPECT_EQ(atZoom.pixel(52, 52), kWhite); // where the box would be with the margin

    // At 300 dpi a design pixel is 3.125 device pixels: the box covers 0 ... 31.
    const QImage atDpi = Rendered(design, {"--dpi", "300"});
    ASSERT_EQ(atDpi.size(), QSize(1050, 600));
    EXPECT_NE(atDpi.pixel(0, 0), kWhite);
    EXPECT_EQ(atDpi.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(atDpi.pixel(28, 28), qRgb(255, 0, 0));
    EXPECT_EQ(atDpi.pixel(40, 40), kWhite);
    EXPECT_EQ(atDpi.pixel(1040, 590), qRgb(0, 0, 255));
}

TEST_F(BatchRender, ShadowsAndSurfacesAreDrawn) {
    ItemList flat = CardPage();
    AddBox(flat, {40, 40, 90, 90}, kRed);
    const QImage flatPage = Rendered(Saved(flat, "flat.vlrn"));

    // Elevation 85 lies 10 pixels away from the light in the top left; lightness 0 is black.
    ItemList shadowed = CardPage();
    ItemRecord* box = AddBox(shadowed, {40, 40, 90, 90}, kRed);
    box->shadowElevation = 85;
    box->shadowLightness = 0;
    const QImage shadowedPage = Rendered(Saved(shadowed, "shadowed.vlrn"));
    ASSERT_FALSE(flatPage.isNull());
    ASSERT_FALSE(shadowedPage.isNull());
    EXPECT_EQ(flatPage.pixel(96, 96), kWhite);
    EXPECT_LT(qRed(shadowedPage.pixel(96, 96)), 128);
    EXPECT_EQ(shadowedPage.pixel(65, 65), qRgb(255, 0, 0));
    EXPECT_EQ(shadowedPage.pixel(36, 65), kWhite); // the side towards the light

    // A 3-D surface shades the face of the box, which drawn flat is one red.
    ItemList raised = CardPage();
    AddBox(raised, {40, 40, 90, 90}, kRed)->surface = 127;
    const QImage raisedPage = Rendered(Saved(raised, "raised.vlrn"));
    ASSERT_EQ(raisedPage.size(), flatPage.size());
    int shadedPixels = 0;
    for (int y = 41; y < 90; ++y) {
        for (int x = 41; x < 90; ++x) {
            shadedPixels += raisedPage.pixel(x, y) != flatPage.pixel(x, y);
        }
    }
    EXPECT_GT(shadedPixels, 0);
}

TEST_F(BatchRender, WhatCannotBeReadOrDrawnExitsWithAMessageAndWritesNothing) {
    ExpectRefused({Path("missing.vlrn")}, 1, "cannot read");
    ExpectRefused({VLR_CORPUS "/wrong-magic-first.vlrn"}, 3, "not a valid design file");
    ExpectRefused({VLR_CORPUS "/no-header.vlrn"}, 3);
    // The sample's card at 10000 % would be 32126 x 20787 pixels: each side fits, but not 2.7
    // gigabytes of them.
    ExpectRefused({VLR_SAMPLE, "--zoom", "100"}, 1, "32126 x 20787 pixels");
    // At 10000 dpi its width is 33465 pixels, beyond the largest side.
    ExpectRefused({VLR_SAMPLE, "--dpi", "10000"}, 1, "33465 x 21654 pixels");
    ItemList empty = PageDesign(3, 0.0, 2.0);
    ExpectRefused({Saved(empty, "empty.vlrn")}, 1, "0 x 192 pixels");
    // An invalid file opens when forced.
    EXPECT_EQ(Rendered(VLR_CORPUS "/wrong-magic-first.vlrn", {"--force"}).isNull(), false);

    // A picture that cannot be written is reported, and an earlier file of that name stays.
    EXPECT_EQ(Batch({"render", VLR_SAMPLE, "-o", Path("no-folder/page.png")}).exitCode, 1);
    const QString earlier = Path("earlier.png");
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier");
    file.close();
    EXPECT_EQ(Batch({"render", VLR_SAMPLE, "-o", earlier, "--zoom", "100"}).exitCode, 1);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier");
}

TEST_F(BatchRender, WrongUsageExitsWithTwoAndWritesNothing) {
    ExpectRefused({VLR_SAMPLE, "--zoom", "2", "--dpi", "300"}, 2, "usage");
    for (const char* zoom : {"0.009", "100.5", "0", "-1", "nan", "inf", "2x", ""}) {
        ExpectRefused({VLR_SAMPLE, "--zoom", zoom}, 2);
    }
    for (const char* dpi : {"0.5", "10001", "nan", "-300"}) {
        ExpectRefused({VLR_SAMPLE, "--dpi", dpi}, 2);
    }
    ExpectRefused({VLR_SAMPLE, "--screen-dpi", "0"}, 2);
    ExpectRefused({VLR_SAMPLE, "--smooth"}, 2);
    ExpectRefused({VLR_SAMPLE, VLR_SAMPLE}, 2);
    ExpectRefused({VLR_SAMPLE, "--zoom"}, 2);
    EXPECT_EQ(Batch({"render", VLR_SAMPLE}).exitCode, 2);
    EXPECT_EQ(Batch({"render", VLR_SAMPLE, "-o", Path("page.jpg")}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(Path("page.jpg")));
}

} // namespace
} // namespace vlr::test
