// The program's own PDF writer: pictures compressed in bands on every core come back pixel for
// pixel at each of their places, the document's title keeps any character, and a file that
// cannot be made is reported without touching anything.
#include "output/sheetpdf.h"

#include "pdfcheck.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr {
namespace {

// A picture whose every pixel differs from its neighbours, of an odd width (rows that are no
// whole number of 32-bit words) and tall enough for three bands of a megabyte.
QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = qRgb(x % 256, y % 256, int(state >> 24));
        }
    }
    return image;
}

TEST(WritePicturePdf, PicturesComeBackPixelForPixelAtEachPlace) {
    if (!test::HavePdfTools()) {
        GTEST_SKIP() << "pdftocairo (poppler-utils) is not installed";
    }
    QTemporaryDir folder;
    const QString pdf = folder.filePath("pictures.pdf");
    const QImage tall = Noise(333, 2500), small = Noise(40, 30);
    // 800 x 2600 pixels at 100 dpi.
    PdfPage page{QSizeF(576, 1872), 100, 100, QTransform(), QString::fromUtf8("Café – Ünïcode"), "tests"};
    const PdfWriteResult written = WritePicturePdf(
        pdf, page, {{tall, {{10, 20}, {400, 60}}}, {small, {{750, 2565}}}, {QImage(), {{0, 0}}}});
    ASSERT_TRUE(written.ok()) << written.reason.toStdString();
    EXPECT_EQ(test::PdfInfo(pdf, "Title"), QString::fromUtf8("Café – Ünïcode"));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("/Subtype /Image"), 2); // each picture once

    const QImage rendered = test::RenderPdf(pdf, 100);
    ASSERT_EQ(rendered.size(), QSize(800, 2600));
    EXPECT_EQ(test::DifferentPixels(rendered.copy(10, 20, 333, 2500), tall), 0);
    EXPECT_EQ(test::DifferentPixels(rendered.copy(400, 60, 333, 2500), tall), 0);
    EXPECT_EQ(test::DifferentPixels(rendered.copy(750, 2565, 40, 30), small), 0);
    EXPECT_EQ(rendered.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(rendered.pixel(380, 2590), qRgb(255, 255, 255));
}

TEST(WritePicturePdf, AFileThatCannotBeMadeIsReportedAndNothingIsLeft) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath("missing/page.pdf");
    PdfPage page{QSizeF(72, 72), 100, 100, QTransform(), "Nothing", "tests"};
    const PdfWriteResult written = WritePicturePdf(pdf, page, {{Noise(10, 10), {{0, 0}}}});
    EXPECT_EQ(written.status, PdfWriteStatus::CannotCreate);
    EXPECT_FALSE(written.reason.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
} // namespace vlr
