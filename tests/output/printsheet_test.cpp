// Printing the sheet to a PDF printer: the printer's numbers, the tiles, lossless pictures at
// the card positions the page setup gives, and the failures that start no job.
#include "output/printsheet.h"

#include "pdfcheck.h"
#include "sheetfixture.h"

#include <QFile>
#include <QPageLayout>
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
    EXPECT_TRUE(result.byCards);
    EXPECT_EQ(result.pictures, 10); // the card at each position

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

// A design on letter paper lying on its side prints on landscape letter (the standard size,
// turned), not on a custom upright page eleven inches wide; A4 in millimetres likewise.
TEST(UseDesignPaper, ALandscapeDesignGetsTheStandardPaperTurned) {
    struct Case {
        test::Page page;
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
        QSize pixels; // the paper at 100 dpi
    };
    const Case cases[] = {
        {{.units = 3, .type = 1, .orientation = 2, .paperWidth = 11, .paperHeight = 8.5},
         QPageSize::Letter,
         QPageLayout::Landscape,
         {1100, 850}},
        {{.units = 3, .type = 1, .paperWidth = 8.5, .paperHeight = 11},
         QPageSize::Letter,
         QPageLayout::Portrait,
         {850, 1100}},
        {{.units = 2, .type = 1, .orientation = 2, .paperWidth = 297, .paperHeight = 210},
         QPageSize::A4,
         QPageLayout::Landscape,
         {1169, 826}}, // the standard A4 of 842 x 595 points
        {{.units = 3, .type = 1, .orientation = 2, .paperWidth = 7, .paperHeight = 5},
         QPageSize::Custom,
         QPageLayout::Landscape,
         {700, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixels.width());
        ItemList design;
        AddHeader(design, c.page);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(100);
        UseDesignPaper(printer, design);
        EXPECT_EQ(printer.pageLayout().pageSize().id(), c.size);
        EXPECT_EQ(printer.pageLayout().orientation(), c.orientation);
        const ComposeDevice device = PrinterDevice(printer);
        EXPECT_EQ(QSize(device.pageW, device.pageH), c.pixels);
    }

    if (!test::HavePdfTools()) {
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed; the PDF's page is not checked";
    }
    QTemporaryDir folder;
    const QString pdf = folder.filePath("landscape.pdf");
    ItemList design;
    AddHeader(design, {.units = 3, .type = 1, .orientation = 2, .paperWidth = 11, .paperHeight = 8.5});
    AddBox(design, 0, 0, 96, 48, test::kRed); // an inch by half an inch at the paper's corner
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(100);
    UseDesignPaper(printer, design);
    ASSERT_TRUE(PrintSheet(printer, design, "Landscape", "", test::PaintBoxes).ok());
    EXPECT_EQ(test::PdfInfo(pdf, "Page size"), "792 x 612 pts (letter)");
    EXPECT_EQ(test::PdfInfo(pdf, "Page rot"), "0");
    const QImage page = test::RenderPdf(pdf, 100);
    ASSERT_EQ(page.size(), QSize(1100, 850));
    EXPECT_EQ(page.pixel(90, 40), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(110, 40), qRgb(255, 255, 255));
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
