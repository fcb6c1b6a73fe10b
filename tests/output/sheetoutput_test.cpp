// The printed page by cards against the composed sheet in tiles: for the designs whose cards
// differ and those whose cards are alike, both PDFs are rasterised by the PDF tools and must
// show the same pixels; where the cards are alike the page holds one picture at each card
// that prints.
#include "output/printsheet.h"
#include "output/sheetoutput.h"

#include "pdfcheck.h"
#include "sheetfixture.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::AddHeader;
using test::Page;

constexpr int kDpi = 100;

void PdfPrinter(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(kDpi);
    printer.setPageSize(QPageSize(QPageSize::Letter));
}

// What the program's own drawing puts on a card of width x height design pixels: a framed
// fill, two lines of text, a line and a shadowed ellipse, all inside the card; with overflow an
// ellipse reaching beyond the card's right edge and a bar beyond its bottom edge as well.
void AddCard(ItemList& design, int32_t width, int32_t height, bool overflow) {
    ItemRecord* fill = test::AddFilledRectangle(design, 8, 8, width / 2, height / 2, 0x40C0F0);
    fill->lineWeight = 0.4;
    fill->color = 0x202080;
    ItemRecord* text = CreateRecord(design, ItemKind::Text);
    text->x1 = 14, text->y1 = height / 2 + 6, text->x2 = width - 14, text->y2 = text->y1;
    SetText(text, u"Ada Velloran\u07ECDesign and Print");
    SetFontName(*text, "Arial");
    text->fontSize = 10;
    text->textColor = 0x102040;
    text->zOrder = NextFreeNumber(design, Counter::ZOrder);
    SetWorldFromPixels(text, design.screen);
    ItemRecord* line = CreateRecord(design, ItemKind::Line);
    line->x1 = 10, line->y1 = height - 12, line->x2 = width - 10, line->y2 = height - 30;
    line->color = 0x0000C0;
    line->lineWeight = 0.6;
    line->zOrder = NextFreeNumber(design, Counter::ZOrder);
    SetWorldFromPixels(line, design.screen);
    const int32_t right = overflow ? width + 30 : width * 5 / 6;
    ItemRecord* ellipse = test::AddFilledRectangle(design, width * 2 / 3, 12, right, height / 3, 0x3080F0);
    ellipse->kind = ItemKind::Ellipse;
    const int32_t cx = (width * 2 / 3 + right) / 2, cy = (12 + height / 3) / 2;
    ellipse->pointList = {{.x = cx, .y = cy}, {.x = right, .y = cy}, {.x = cx, .y = height / 3}};
    ellipse->shadowElevation = 17, ellipse->shadowFade = 10, ellipse->shadowLightness = 90;
    if (overflow) {
        test::AddFilledRectangle(design, width / 3, height - 6, width / 2, height + 25, 0x20A020);
    }
}

struct Case {
    const char* name;
    Page page;
    const char* selection;
    bool overflow;
    bool byCards;   // the page goes by cards
    int32_t places; // cards placed, when it does
};

// The card's size in design pixels at 96 dpi, folds included.
std::pair<int32_t, int32_t> CardPixels(const Page& page) {
    const double perUnit = page.units == 2 ? 96 / 25.4 : 96.0;
    return {int32_t(page.cardWidth * perUnit * (page.columnFold ? 2 : 1)),
            int32_t(page.cardHeight * perUnit * (page.rowFold ? 2 : 1))};
}

TEST(SheetOutput, ByCardsOrInTilesThePrintedPixelsAreTheComposedSheets) {
    if (!test::HavePdfTools()) {
        GTEST_SKIP() << "pdftocairo (poppler-utils) is not installed";
    }
    Page greeting{.units = 3,
                  .type = 3,
                  .paperWidth = 8.5,
                  .paperHeight = 11,
                  .cardWidth = 4.25,
                  .cardHeight = 5.5,
                  .left = 0,
                  .top = 0,
                  .rows = 2,
                  .columns = 2,
                  .columnFold = 1};
    Page tent{.units = 3,
              .type = 11,
              .paperWidth = 8.5,
              .paperHeight = 11,
              .cardWidth = 8.5,
              .cardHeight = 5.5,
              .left = 0,
              .top = 0,
              .rows = 2,
              .columns = 1,
              .rowFold = 1};
    // Thirty labels of 66.7 x 25.4 mm with gaps of 3.2 mm between the columns: each label
    // carries a bleed of half a gap, so the labels differ at the sheet's edges.
    Page labels{.units = 2,
                .type = 5,
                .paperWidth = 215.9,
                .paperHeight = 279.4,
                .cardWidth = 66.7,
                .cardHeight = 25.4,
                .left = 4.8,
                .top = 12.7,
                .rows = 10,
                .columns = 3,
                .columnGap = 3.2};
    const Case cases[] = {
        {"folded greeting card", greeting, "", false, true, 2},
        {"tent card", tent, "", false, true, 1},
        {"labels with gaps", labels, "", false, false, 0},
        {"ten cards, some switched off", test::TenUpLetter(), "x xx  x", false, true, 6},
        {"ten cards reaching beyond their right and bottom edges", test::TenUpLetter(), "", true, false, 0},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ItemList design;
        AddHeader(design, c.page);
        const auto [width, height] = CardPixels(c.page);
        AddCard(design, width, height, c.overflow);

        const QString byCards = folder.filePath("cards.pdf"), inTiles = folder.filePath("tiles.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, byCards);
        const PrintResult printed = PrintSheet(printer, design, "Cards", c.selection);
        ASSERT_TRUE(printed.ok()) << printed.message.toStdString();
        EXPECT_EQ(printed.byCards, c.byCards);
        if (c.byCards) {
            EXPECT_EQ(printed.pictures, c.places);
            // One picture however many cards: the PDF stores it once.
            QFile file(byCards);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll().count("/Subtype /Image"), c.places > 0 ? 1 : 0);
        }

        QPrinter tilePrinter(QPrinter::HighResolution);
        PdfPrinter(tilePrinter, inTiles);
        const SheetOutput composed = ComposedSheetOutput(design, PrinterDevice(tilePrinter), c.selection);
        ASSERT_TRUE(composed.ok());
        QPainter painter(&tilePrinter);
        DrawSheetOutput(painter, composed, {0, 0});
        ASSERT_TRUE(painter.end());

        const QImage cards = test::RenderPdf(byCards, kDpi), tiles = test::RenderPdf(inTiles, kDpi);
        ASSERT_EQ(cards.size(), QSize(850, 1100));
        EXPECT_EQ(test::DifferentPixels(cards, tiles), 0);
        EXPECT_EQ(test::DifferentPixels(tiles, composed.sheet.image()), 0) << "the tiles are exact";
    }
}

} // namespace
} // namespace vlr
