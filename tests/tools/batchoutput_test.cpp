// velloran-batch sheet and export as a user runs them: the files they write, their sizes worked
// out from the sample's A4 page (210 x 297 mm), and the exit codes.
#include "../output/pdfcheck.h"
#include "batchrun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using vlr::test::Batch;
using vlr::test::BatchRun;

class BatchOutput : public testing::Test {
protected:
    QString Out(const QString& name) const { return folder.filePath(name); }
    QTemporaryDir folder;
};

TEST_F(BatchOutput, SheetAsPngIsTheComposedPictureAtTheRequestedResolution) {
    // 210 / 25.4 x 100 = 826.8 -> 827, 297 -> 1169.3 -> 1169.
    const BatchRun run =
        Batch({"sheet", VLR_SAMPLE, "-o", Out("sheet.png"), "--dpi", "100", "--select", "x x"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(QImage(Out("sheet.png")).size(), QSize(827, 1169));
}

TEST_F(BatchOutput, SheetAsPdfHasTheDesignsPaper) {
    const BatchRun run = Batch({"sheet", VLR_SAMPLE, "-o", Out("sheet.pdf"), "--dpi", "150"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile pdf(Out("sheet.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_FALSE(bytes.contains("/DCTDecode"));
    if (!vlr::test::HavePdfTools()) {
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed; the page size is not checked";
    }
    EXPECT_EQ(vlr::test::PdfInfo(Out("sheet.pdf"), "Page size"), "595 x 842 pts (A4)");
    EXPECT_EQ(vlr::test::PdfInfo(Out("sheet.pdf"), "Title"), "sample");
}

// The calibration the editor stored for a printer, in a settings folder of the test's own.
class BatchCalibration : public BatchOutput {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(Out("config/Tessarine")));
        QFile store(Out("config/Tessarine/PrinterCalibration.ini"));
        ASSERT_TRUE(store.open(QIODevice::WriteOnly));
        // A tenth of an inch right and two tenths up: 10 and 20 pixels at 100 dpi.
        store.write("[General]\nprinters=1\nprinter1=Office\noffsetx1=2.54\noffsety1=-5.08\nscalex1=100\n"
                    "scaley1=100\n");
        environment.insert("XDG_CONFIG_HOME", Out("config"));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(BatchCalibration, SheetWithAPrinterIsCorrectedByItsCalibration) {
    BatchRun run = Batch({"sheet", VLR_SAMPLE, "-o", Out("plain.pdf"), "--dpi", "100"}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    run = Batch({"sheet", VLR_SAMPLE, "-o", Out("office.pdf"), "--dpi", "100", "--printer", "Office"},
                environment);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    if (!vlr::test::HavePdfTools()) {
        GTEST_SKIP() << "pdftocairo (poppler-utils) is not installed; the pages are not compared";
    }
    const QImage plain = vlr::test::RenderPdf(Out("plain.pdf"), 100),
                 office = vlr::test::RenderPdf(Out("office.pdf"), 100);
    ASSERT_EQ(plain.size(), QSize(827, 1170)); // A4's 595 x 842 points
    ASSERT_EQ(office.size(), plain.size());
    EXPECT_GT(vlr::test::DifferentPixels(plain, office), 0);
    EXPECT_EQ(vlr::test::DifferentPixels(plain.copy(0, 20, 817, 1150), office.copy(10, 0, 817, 1150)), 0);
}

TEST_F(BatchCalibration, TestPageAndItsOptions) {
    BatchRun run = Batch({"test-page", "-o", Out("letter.pdf")}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    run = Batch({"test-page", VLR_SAMPLE, "-o", Out("a4.pdf"), "--printer", "Office"}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    run = Batch({"sheet", VLR_SAMPLE, "-o", Out("x.pdf"), "--printer", "Nowhere"}, environment);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("no valid calibration of the printer Nowhere"))
        << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(Out("x.pdf")));
    EXPECT_EQ(Batch({"sheet", VLR_SAMPLE, "-o", Out("x.png"), "--printer", "Office"}, environment).exitCode,
              2);
    EXPECT_EQ(Batch({"test-page", "-o", Out("x.png")}, environment).exitCode, 2);
    EXPECT_EQ(Batch({"test-page", "-o", Out("x.pdf"), "--printer"}, environment).exitCode, 2);
    EXPECT_EQ(Batch({"export", VLR_SAMPLE, "-o", Out("x.jpg"), "--printer", "Office"}, environment).exitCode,
              2);
    if (!vlr::test::HavePdfTools()) {
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed; the pages are not checked";
    }
    EXPECT_EQ(vlr::test::PdfInfo(Out("letter.pdf"), "Page size"), "612 x 792 pts (letter)");
    EXPECT_EQ(vlr::test::PdfInfo(Out("a4.pdf"), "Page size"), "595 x 842 pts (A4)");
    EXPECT_EQ(vlr::test::PdfInfo(Out("a4.pdf"), "Title"), "Printer Calibration Test Page");
}

TEST_F(BatchOutput, ExportWritesTheTypeTheExtensionAsksFor) {
    // The exact export of an A4 design on a 96-dpi screen: 794 x 1123, Exact and Smooth alike.
    BatchRun run = Batch({"export", VLR_SAMPLE, "-o", Out("card.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile jpeg(Out("card.jpg"));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpeg.readAll().startsWith("\xFF\xD8"));
    EXPECT_EQ(QImage(Out("card.jpg")).size(), QSize(794, 1123));
    run = Batch({"export", VLR_SAMPLE, "-o", Out("card.bmp"), "--smooth"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(QImage(Out("card.bmp"), "BMP").size(), QSize(794, 1123));
}

TEST_F(BatchOutput, FailuresExitWithAMessage) {
    BatchRun run = Batch({"sheet", QString(VLR_SAMPLE) + ".missing", "-o", Out("x.pdf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("cannot read")) << run.errors.toStdString();
    run = Batch({"export", QString(VLR_SAMPLE) + ".missing", "-o", Out("x.jpg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("cannot read")) << run.errors.toStdString();
    // An icon of a whole page is refused.
    run = Batch({"export", VLR_SAMPLE, "-o", Out("card.ico")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("An icon can be at most 256 x 256 pixels")) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(Out("card.ico")));
    // A page too large for the resolution.
    run = Batch({"sheet", VLR_SAMPLE, "-o", Out("huge.png"), "--dpi", "9000"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("The sheet cannot be composed")) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(Out("huge.png")));
    // Wrong usage.
    EXPECT_EQ(Batch({"sheet", VLR_SAMPLE, "-o", Out("sheet.tif")}).exitCode, 2);
    EXPECT_EQ(Batch({"sheet", VLR_SAMPLE}).exitCode, 2);
    EXPECT_EQ(Batch({"sheet", VLR_SAMPLE, "-o", Out("a.pdf"), "--dpi", "0"}).exitCode, 2);
    EXPECT_EQ(Batch({"export", VLR_SAMPLE, "-o", Out("a.jpg"), "--dpi", "100"}).exitCode, 2);
}

} // namespace
