// Printing the sheet to a PDF printer: the printer's numbers, the tiles, lossless pictures at
// the card positions the page setup gives, and the failures that start no job.
#include "output/printsheet.h"

#include "pdfcheck.h"
#include "sheetfixture.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::AddBox;
using test::AddHeader;
using test::Page;
using test::TenUpLetter;

void PdfPrinter(QPrinter& printer, const QString& path, int dpi) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(QPageSize::Letter));
}

TEST(PrinterDevice, APdfPrinterHasNoUnprintableEdgeAndItsOriginAtThePaperCorner) {
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, "unused.pdf", 600);
    EXPECT_EQ(PrinterDevice(printer), (ComposeDevice{600, 600, 0, 0, 5100, 6600}));
    EXPECT_TRUE(printer.fullPage());
}

TEST(PrintSheet, TenCardsLandWhereThePageSetupPutsThemInLosslessTiles) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath("cards.pdf");
    ItemList design;
    AddHeader(design, TenUpLetter());
    // The whole card in red; 3.5 x 96 = 336 by 192 design pixels.
    AddBox(design, 0, 0, 336, 192, test::kRed);
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, pdf, 100);
    PrintResult result = PrintSheet(printer, design, "Ten cards", "", test::PaintBoxes);
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(result.tiles, 2 * 3); // 850 x 1100 pixels

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_FALSE(bytes.contains("/DCTDecode")); // no picture went through JPEG

    if (!test::HavePdfTools()) {
        GTEST_SKIP()
            << "pdfinfo and pdftocairo (poppler-utils) are not installed; the PDF's pixels are not checked";
    }
    EXPECT_EQ(test::PdfInfo(pdf, "Page size"), "612 x 792 pts (letter)");
    EXPECT_EQ(test::PdfInfo(pdf, "Title"), "Ten cards");
    const QImage page = test::RenderPdf(pdf, 100);
    ASSERT_EQ(page.size(), QSize(850, 1100));
    // Cards of 350 x 200 pixels from (75, 50); exact pixels, as the pictures are lossless.
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const int left = 75 + column * 350, top = 50 + row * 200;
            SCOPED_TRACE(testing::Message() << "card " << row + 1 << ", " << column + 1);
            EXPECT_EQ(page.pixel(left, top), qRgb(255, 0, 0));
            EXPECT_EQ(page.pixel(left + 349, top + 199), qRgb(255, 0, 0));
        }
    }
    EXPECT_EQ(page.pixel(74, 60), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(100, 49), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(775, 60), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(100, 1050), qRgb(255, 255, 255));
}

TEST(PrintSheet, ASheetThatCannotBeComposedStartsNoJob) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath("never.pdf");
    ItemList design;
    AddHeader(design, TenUpLetter());
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, pdf, 600);
    printer.setPageSize(QPageSize(QSizeF(60, 60), QPageSize::Inch)); // 36000 pixels a side
    PrintResult result = PrintSheet(printer, design, "Too large", "");
    EXPECT_EQ(result.status, PrintStatus::NotComposed);
    EXPECT_TRUE(result.message.startsWith("The sheet cannot be composed"));
    EXPECT_FALSE(QFile::exists(pdf));

    ItemList empty;
    EXPECT_EQ(PrintSheet(printer, empty, "Nothing", "").status, PrintStatus::NoHeader);
}

TEST(PrintSheet, APrinterThatCannotBeginIsReported) {
    QTemporaryDir folder;
    ItemList design;
    AddHeader(design, TenUpLetter());
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = folder.filePath("missing/cards.pdf");
    PdfPrinter(printer, pdf, 72);
    PrintResult result = PrintSheet(printer, design, "Cards", "");
    EXPECT_EQ(result.status, PrintStatus::CannotStart);
    EXPECT_TRUE(result.message.contains(pdf)) << result.message.toStdString();
}

} // namespace
} // namespace vlr
