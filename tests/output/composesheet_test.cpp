// Composing the printed sheet: where the cards land, what their copies carry, which positions
// are blanked, and the pages of the preview and the export. Expected positions are worked out by
// hand: millimetres / 25.4 x dots per inch, rounded to the nearest pixel, halves to even.
#include "output/composesheet.h"

#include "sheetfixture.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::AddBox;
using test::AddHeader;
using test::kBlue;
using test::kRed;
using test::kWhite;
using test::Page;

ComposeResult Compose(ItemList& design, const ComposeDevice& device, std::string_view selection = {}) {
    return ComposeSheet(design, device, selection, test::PaintBoxes);
}

// An A4 page at 300 dpi: 2480 x 3508.
constexpr ComposeDevice kA4At300{300, 300, 0, 0, 2480, 3508};

TEST(ComposeSheet, TenBusinessCardsEachCarryTheDesignAt300Dpi) {
    ItemList design;
    AddHeader(design, Page{});
    // 10 ... 20 design pixels at 300 / 96 = 3.125: 31.25 -> 31 and 62.5 -> 62.
    AddBox(design, 10, 10, 20, 20, kRed);
    ComposeResult result = Compose(design, kA4At300);
    ASSERT_TRUE(result.ok());
    const SheetGeometry& g = result.geometry;
    EXPECT_EQ(g.imageWidth, 2480);
    EXPECT_EQ(g.imageHeight, 3508);
    // Margins 31 mm -> 366.14 -> 366 and 18 mm -> 212.6 -> 213; card 74 mm -> 874, 52 mm -> 614.
    EXPECT_EQ(g.view.originX, 366);
    EXPECT_EQ(g.view.originY, 213);
    EXPECT_EQ(g.cardW, 874);
    EXPECT_EQ(g.cardH, 614);
    EXPECT_EQ(g.rows, 5);
    EXPECT_EQ(g.columns, 2);
    for (int row = 1; row <= 5; ++row) {
        for (int column = 1; column <= 2; ++column) {
            const int x = 366 + (column - 1) * 874, y = 213 + (row - 1) * 614;
            SCOPED_TRACE(testing::Message() << "card " << row << ", " << column);
            EXPECT_EQ(result.sheet.pixel(x + 31, y + 31), kRed);
            EXPECT_EQ(result.sheet.pixel(x + 61, y + 61), kRed);
            EXPECT_EQ(result.sheet.pixel(x + 62, y + 46), kWhite);
            EXPECT_EQ(result.sheet.pixel(x + 30, y + 46), kWhite);
        }
    }
    EXPECT_TRUE(NeedsAreaChoice(design));
}

TEST(ComposeSheet, DrawsThroughTheProgramsItemDrawing) {
    // A filled rectangle 20 ... 60 design pixels into the card, at the screen's 96 dpi: each copy
    // starts at 117 + 280 (column - 1), 68 + 197 (row - 1).
    ItemList design;
    AddHeader(design, Page{});
    test::AddFilledRectangle(design, 20, 20, 60, 60, kBlue);
    ComposeResult result = ComposeSheet(design, ExportDevice(design), "  x");
    ASSERT_TRUE(result.ok());
    for (int row = 1; row <= 5; ++row) {
        for (int column = 1; column <= 2; ++column) {
            const int x = 117 + (column - 1) * 280, y = 68 + (row - 1) * 197;
            SCOPED_TRACE(testing::Message() << "card " << row << ", " << column);
            const bool prints = !(row == 2 && column == 1);
            EXPECT_EQ(result.sheet.pixel(x + 40, y + 40), prints ? kBlue : kWhite);
            EXPECT_EQ(result.sheet.pixel(x + 10, y + 40), kWhite);
        }
    }
}

TEST(ComposeSheet, FoldsJoinPanelsIntoFewerLargerCards) {
    // Two columns folded: one column of five cards, each 148 mm (1748 pixels) wide.
    ItemList folded;
    AddHeader(folded, Page{.columnFold = 1});
    // 300 design pixels lie beyond the first panel (279.7) inside the folded card; 937.5 -> 938.
    AddBox(folded, 300, 10, 310, 20, kBlue);
    ComposeResult result = Compose(folded, kA4At300);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.geometry.columns, 1);
    EXPECT_EQ(result.geometry.rows, 5);
    EXPECT_EQ(result.geometry.cardW, 1748);
    for (int row = 1; row <= 5; ++row) {
        EXPECT_EQ(result.sheet.pixel(366 + 938, 213 + (row - 1) * 614 + 31), kBlue) << "row " << row;
    }
    EXPECT_TRUE(NeedsAreaChoice(folded));

    // Three rows folded give one row of double-height cards: 104 mm -> 1228.35 -> 1228.
    ItemList rows;
    AddHeader(rows, Page{.rows = 3, .columns = 1, .rowFold = 1});
    std::optional<SheetGeometry> g = SheetGeometryOf(rows, kA4At300);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->rows, 1);
    EXPECT_EQ(g->columns, 1);
    EXPECT_EQ(g->cardH, 1228);
    EXPECT_FALSE(NeedsAreaChoice(rows));
}

TEST(ComposeSheet, ASingleCardKeepsWhatReachesRightOrDownAndBlanksWhatReachesLeftOrUp) {
    ItemList design;
    AddHeader(design, Page{.rows = 1, .columns = 1});
    EXPECT_FALSE(NeedsAreaChoice(design));
    // At the screen's 96 dpi: margins 117.17 -> 117 and 68.03 -> 68, card 280 x 197.
    AddBox(design, -20, -20, 300, 217, kRed);
    ComposeResult result = Compose(design, ExportDevice(design));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.sheet.pixel(117, 68), kRed);
    EXPECT_EQ(result.sheet.pixel(116, 78), kWhite); // left of the card
    EXPECT_EQ(result.sheet.pixel(127, 67), kWhite); // above the card
    EXPECT_EQ(result.sheet.pixel(117 + 280 + 10, 78), kRed);
    EXPECT_EQ(result.sheet.pixel(127, 68 + 197 + 10), kRed);
}

TEST(ComposeSheet, CopiesCarryABleedOfAtMostTheMarginAndHalfTheGap) {
    // Margins 3 mm -> 11 pixels, gap 10 mm -> 37.8 -> 38, half 19: a bleed of 11.
    ItemList design;
    AddHeader(design, Page{.left = 3, .top = 3, .rows = 1, .columns = 2, .columnGap = 10});
    AddBox(design, 0, 0, 295, 50, kRed); // 15 pixels beyond the card's right edge (280)
    ComposeResult result = Compose(design, ExportDevice(design));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.geometry.colGap, 38);
    EXPECT_EQ(result.geometry.bleedX, 11);
    EXPECT_EQ(result.geometry.bleedY, 0);
    const int firstRight = 11 + 280, secondRight = firstRight + 38 + 280;
    EXPECT_EQ(result.sheet.pixel(firstRight + 13, 20), kRed);    // the design itself reaches 15
    EXPECT_EQ(result.sheet.pixel(secondRight + 5, 20), kRed);    // within the copy's bleed
    EXPECT_EQ(result.sheet.pixel(secondRight + 13, 20), kWhite); // beyond it

    // Without a gap the copies carry nothing beyond their cards.
    ItemList noGap;
    AddHeader(noGap, Page{.left = 3, .top = 3, .rows = 1, .columns = 2});
    AddBox(noGap, 0, 0, 295, 50, kRed);
    ComposeResult plain = Compose(noGap, ExportDevice(noGap));
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain.geometry.bleedX, 0);
    EXPECT_EQ(plain.sheet.pixel(11 + 2 * 280 + 5, 20), kWhite);
}

TEST(ComposeSheet, SwitchedOffPositionsAreBlankAndMissingOnesPrint) {
    // 2 x 2 cards of 280 x 197 with 10 mm margins (37.8 -> 38), the whole card coloured.
    ItemList design;
    AddHeader(design, Page{.left = 10, .top = 10, .rows = 2, .columns = 2});
    AddBox(design, 0, 0, 280, 197, kRed);
    auto centre = [](int row, int column) {
        return std::make_pair(38 + (column - 1) * 280 + 140, 38 + (row - 1) * 197 + 98);
    };
    auto colourAt = [&](const ComposeResult& result, int row, int column) {
        auto [x, y] = centre(row, column);
        return result.sheet.pixel(x, y);
    };
    // Areas 1 and 3 (top left, bottom left) off, 2 and 4 on.
    ComposeResult xSpaceX = Compose(design, ExportDevice(design), "x x");
    ASSERT_TRUE(xSpaceX.ok());
    EXPECT_EQ(colourAt(xSpaceX, 1, 1), kWhite);
    EXPECT_EQ(colourAt(xSpaceX, 1, 2), kRed);
    EXPECT_EQ(colourAt(xSpaceX, 2, 1), kWhite);
    EXPECT_EQ(colourAt(xSpaceX, 2, 2), kRed);
    // A shorter text prints the positions it does not reach; only a small x switches one off.
    ComposeResult shortText = Compose(design, ExportDevice(design), "xX");
    ASSERT_TRUE(shortText.ok());
    EXPECT_EQ(colourAt(shortText, 1, 1), kWhite);
    EXPECT_EQ(colourAt(shortText, 1, 2), kRed);
    EXPECT_EQ(colourAt(shortText, 2, 1), kRed);
    EXPECT_EQ(colourAt(shortText, 2, 2), kRed);
}

TEST(ComposeSheet, CopiesPartlyOffTheImageKeepTheirPixelsInPlace) {
    // A left margin of -5 mm puts the first card 19 pixels off the sheet (-18.9 -> -19).
    ItemList design;
    AddHeader(design, Page{.left = -5, .top = 0, .rows = 1, .columns = 2});
    AddBox(design, 0, 0, 279, 100, kRed); // device -19 ... 260
    ComposeResult result = Compose(design, ExportDevice(design));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.geometry.view.originX, -19);
    EXPECT_EQ(result.sheet.pixel(5, 10), kRed);
    EXPECT_EQ(result.sheet.pixel(270, 10), kWhite); // the copy's hidden part stays off the sheet
    EXPECT_EQ(result.sheet.pixel(285, 10), kRed);
    EXPECT_EQ(result.sheet.pixel(539, 10), kRed);
    EXPECT_EQ(result.sheet.pixel(540, 10), kWhite);
}

TEST(ComposeSheet, AThousandByAThousandGridFillsOnlyWhatFitsOnThePaper) {
    // Cards of 1 mm (3.78 -> 4 pixels) on a 794-pixel-wide page: the 199th column is the last.
    ItemList design;
    AddHeader(design,
              Page{.cardWidth = 1, .cardHeight = 1, .left = 0, .top = 0, .rows = 1000, .columns = 1000});
    AddBox(design, 0, 0, 2, 2, kRed);
    ComposeResult result = Compose(design, ExportDevice(design), "xx");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.geometry.rows, 1000);
    EXPECT_EQ(result.sheet.pixel(0, 0), kWhite);    // position 1 switched off
    EXPECT_EQ(result.sheet.pixel(5, 1), kWhite);    // position 2 as well
    EXPECT_EQ(result.sheet.pixel(8, 1), kRed);      // position 3 prints
    EXPECT_EQ(result.sheet.pixel(793, 1), kRed);    // column 199
    EXPECT_EQ(result.sheet.pixel(793, 1121), kRed); // row 281 (1123 / 4)
}

TEST(ComposeSheet, ReportsSheetsThatCannotBeComposedInsteadOfAllocatingThem) {
    ItemList empty;
    EXPECT_EQ(ComposeSheet(empty, kA4At300, {}).status, ComposeStatus::NoHeader);

    ItemList design;
    AddHeader(design,
              Page{.units = 3, .type = DesignType::Illustrations, .paperWidth = 40, .paperHeight = 60});
    // 48000 x 72000 pixels at 1200 dpi: beyond the largest side.
    ComposeResult large = ComposeSheet(design, PaperDevice(design, 1200), {});
    EXPECT_EQ(large.status, ComposeStatus::TooLarge);
    EXPECT_TRUE(large.sheet.isNull());
    EXPECT_TRUE(ComposeMessage(large.status, large.geometry).startsWith("The sheet cannot be composed"));
    EXPECT_TRUE(ComposeMessage(large.status, large.geometry).contains("48000 x 72000 pixels"));
    // 20000 x 20000 pixels fit every side but not the whole: 1.6 gigabytes.
    EXPECT_EQ(ComposeSheet(design, ComposeDevice{600, 600, 0, 0, 20000, 20000}, {}).status,
              ComposeStatus::TooLarge);
    // Unprintable edges wider than half the paper leave nothing.
    EXPECT_EQ(ComposeSheet(design, ComposeDevice{300, 300, 1300, 10, 2480, 3508}, {}).status,
              ComposeStatus::EmptyArea);

    // A pixel design of 32000 x 32000 is previewed at twice its size.
    ItemList pixels;
    AddHeader(pixels,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 32000, .paperHeight = 32000});
    EXPECT_EQ(ComposeSheet(pixels, PreviewDevice(pixels), {}).status, ComposeStatus::TooLarge);
}

TEST(WithinSheetLimits, SidesUpTo32767AndAGigabyteOfPixelsAtMost) {
    EXPECT_TRUE(WithinSheetLimits(1, 1));
    EXPECT_TRUE(WithinSheetLimits(32767, 1));
    EXPECT_FALSE(WithinSheetLimits(32768, 1));
    EXPECT_FALSE(WithinSheetLimits(1, 32768));
    // 16384 x 16384 x 4 bytes is exactly 2^30; one more row is over.
    EXPECT_TRUE(WithinSheetLimits(16384, 16384));
    EXPECT_FALSE(WithinSheetLimits(16384, 16385));
    // Nothing to hold, and sides so large their product would overflow.
    EXPECT_FALSE(WithinSheetLimits(0, 100));
    EXPECT_FALSE(WithinSheetLimits(100, -1));
    EXPECT_FALSE(WithinSheetLimits(int64_t{1} << 40, int64_t{1} << 40));
}

TEST(AreaPrints, OnlyASmallXInsideTheTextSwitchesAPositionOff) {
    EXPECT_TRUE(AreaPrints("", 1, 1, 2));
    EXPECT_FALSE(AreaPrints("x", 1, 1, 2));
    EXPECT_FALSE(AreaPrints("x x", 2, 1, 2)); // index 1 + 2 x 1 = 3
    EXPECT_TRUE(AreaPrints("x x", 1, 2, 2));
    EXPECT_TRUE(AreaPrints("X", 1, 1, 2));
    EXPECT_TRUE(AreaPrints("xxxx", 3, 1, 2)); // past the end
}

TEST(SheetTiles, CutByColumnsThenRowsWithSmallerEdgeTiles) {
    EXPECT_EQ(SheetTiles(1024, 100).size(), 2u); // two columns, not three
    const std::vector<QRect> tiles = SheetTiles(1025, 513);
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles[0], QRect(0, 0, 512, 512));
    EXPECT_EQ(tiles[1], QRect(0, 512, 512, 1));
    EXPECT_EQ(tiles[2], QRect(512, 0, 512, 512));
    EXPECT_EQ(tiles[5], QRect(1024, 512, 1, 1));
    // A letter page at 600 dpi (5100 x 6600): 10 x 13 tiles.
    EXPECT_EQ(SheetTiles(5100, 6600).size(), 130u);
    EXPECT_TRUE(SheetTiles(0, 100).empty());
}

TEST(PreviewPageSize, FollowsTheUnitOfThePaper) {
    ItemList none;
    EXPECT_EQ(PreviewPageSize(none), (ComposeDevice{200, 200, 0, 0, 1600, 1600}));

    // A4: 210 / 25.4 x 200 = 1653.5 -> 1654, 297 -> 2338.6 -> 2339; on a 96-dpi screen
    // 1654 / 200 x 96 = 793.9 -> 794 and 1122.7 -> 1123.
    ItemList a4;
    AddHeader(a4, Page{.type = DesignType::Illustrations});
    EXPECT_EQ(PreviewPageSize(a4), (ComposeDevice{200, 200, 0, 0, 1654, 2339}));
    EXPECT_EQ(DisplaySize(PreviewPageSize(a4), a4.screen), QSize(794, 1123));
    EXPECT_EQ(ExportDevice(a4), (ComposeDevice{96, 96, 0, 0, 794, 1123}));

    // An inch paper of 1 inch: a letter page at 200 dpi, turned with the orientation.
    ItemList small;
    AddHeader(small, Page{.units = 3, .type = DesignType::Illustrations, .paperWidth = 1, .paperHeight = 11});
    EXPECT_EQ(PreviewPageSize(small), (ComposeDevice{200, 200, 0, 0, 2550, 3300}));
    ItemList wide;
    AddHeader(wide, Page{.units = 3, .orientation = 2, .paperWidth = 11, .paperHeight = 1.5});
    EXPECT_EQ(PreviewPageSize(wide), (ComposeDevice{200, 200, 0, 0, 3300, 2550}));
    ItemList huge;
    AddHeader(huge, Page{.units = 3, .paperWidth = 400, .paperHeight = 8.5});
    EXPECT_EQ(PreviewPageSize(huge), (ComposeDevice{200, 200, 0, 0, 32000, 1700}));

    // A 728 x 90 digital image: its own size at the screen's resolution, composed at twice both.
    ItemList banner;
    AddHeader(banner,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 728, .paperHeight = 90});
    EXPECT_EQ(PreviewPageSize(banner), (ComposeDevice{96, 96, 0, 0, 728, 90}));
    EXPECT_EQ(PreviewDevice(banner), (ComposeDevice{192, 192, 0, 0, 1456, 180}));
    EXPECT_EQ(DisplaySize(PreviewDevice(banner), banner.screen), QSize(728, 90));
    EXPECT_EQ(ExportDevice(banner), (ComposeDevice{96, 96, 0, 0, 728, 90}));
    ItemList tiny;
    AddHeader(tiny, Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 4, .paperHeight = 0});
    EXPECT_EQ(PreviewPageSize(tiny), (ComposeDevice{96, 96, 0, 0, 10, 10}));
    EXPECT_EQ(ExportDevice(tiny), (ComposeDevice{96, 96, 0, 0, 4, 1}));
}

TEST(PaperDevice, TheWholePaperAtTheRequestedResolution) {
    ItemList letter;
    AddHeader(letter, Page{.units = 3, .paperWidth = 8.5, .paperHeight = 11});
    EXPECT_EQ(PaperDevice(letter, 600), (ComposeDevice{600, 600, 0, 0, 5100, 6600}));
    // Pixel papers are measured at the design's resolution: 192 pixels are 2 inches.
    ItemList pixels;
    AddHeader(pixels,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 192, .paperHeight = 96});
    EXPECT_EQ(PaperDevice(pixels, 300), (ComposeDevice{300, 300, 0, 0, 600, 300}));
}

TEST(SheetGeometry, SheetTypesPutTheDesignAtThePaperCornerAndDigitalImagesAtThePrintableCorner) {
    const ComposeDevice printer{600, 600, 25, 30, 5100, 6600};
    ItemList sheet;
    AddHeader(sheet,
              Page{.units = 3, .type = DesignType::Illustrations, .paperWidth = 8.5, .paperHeight = 11});
    std::optional<SheetGeometry> g = SheetGeometryOf(sheet, printer);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->imageWidth, 5100 - 50);
    EXPECT_EQ(g->imageHeight, 6600 - 60);
    EXPECT_EQ(g->view.originX, -25);
    EXPECT_EQ(g->view.originY, -30);
    EXPECT_DOUBLE_EQ(g->view.scaleX, 6.25); // 600 / 96
    EXPECT_FALSE(g->repeatsCards);

    ItemList picture;
    AddHeader(picture,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 728, .paperHeight = 90});
    g = SheetGeometryOf(picture, printer);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->view.originX, 0);
    EXPECT_EQ(g->view.originY, 0);

    // Cards: the margin less the printer's edge.
    ItemList cards;
    AddHeader(cards, Page{});
    g = SheetGeometryOf(cards, ComposeDevice{300, 300, 50, 40, 2480, 3508});
    ASSERT_TRUE(g);
    EXPECT_EQ(g->view.originX, 366 - 50);
    EXPECT_EQ(g->view.originY, 213 - 40);
}

// On a screen of two device pixels per pixel the preview shows the sheet reduced to twice the
// display size, marked with that ratio, so a box's edge at design pixel 101 falls sharp between
// device pixels 201 and 202; the picture the export writes stays the display-size one.
TEST(ReducedSheet, ADenseScreenGetsThePreviewAtItsDensityAndTheExportStays) {
    ItemList banner;
    AddHeader(banner,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 728, .paperHeight = 90});
    test::AddBox(banner, 101, 21, 300, 60, test::kRed);
    const ComposeDevice device = PreviewDevice(banner);
    const QSize display = DisplaySize(device, banner.screen);
    const SheetPicture plain = ReducedSheet(banner, device, {}, display, test::PaintBoxes);
    const SheetPicture dense = ReducedSheet(banner, device, {}, display, test::PaintBoxes, 2.0);
    ASSERT_FALSE(dense.image.isNull());
    EXPECT_EQ(dense.image, plain.image);
    EXPECT_EQ(plain.shown, plain.image);
    EXPECT_EQ(dense.shown.size(), QSize(1456, 180));
    EXPECT_EQ(dense.shown.devicePixelRatio(), 2.0);
    EXPECT_EQ(dense.shown.pixel(201, 80), qRgb(255, 255, 255));
    EXPECT_EQ(dense.shown.pixel(202, 80), qRgb(255, 0, 0));
}

} // namespace
} // namespace vlr
