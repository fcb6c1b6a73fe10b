// velloran-batch sheet and export as a user runs them: the files they write, their sizes worked
// out from the sample's A4 page (210 x 297 mm), and the exit codes.
#include "../output/pdfcheck.h"
#include "batchrun.h"

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
