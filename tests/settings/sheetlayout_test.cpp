// Card positions on the printed sheet: the expected rectangles are worked out by hand from the
// page numbers (millimetres / 25.4 x dots per inch, each rounded, then added up).
#include "settings/sheetlayout.h"

#include "model/itemkind.h"
#include "settings/designtype.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vlr {
namespace {

struct Page {
    int32_t units = 2;
    int32_t type = DesignType::BusinessCards;
    double paperWidth = 210, paperHeight = 297;
    double cardWidth = 74, cardHeight = 52;
    double left = 31, top = 18;
    int32_t rows = 5, columns = 2;
    double rowGap = 0, columnGap = 0;
    uint8_t rowFold = 0, columnFold = 0;
};

ItemList DesignOf(const Page& page) {
    ItemList design;
    ItemRecord* h = CreateRecord(design, ItemKind::Header);
    h->recordClass = RecordClass::Header;
    h->units = page.units;
    h->designType = page.type;
    h->paperWidth = page.paperWidth;
    h->paperHeight = page.paperHeight;
    h->canvasWidth = page.paperWidth;
    h->canvasHeight = page.paperHeight;
    h->cardWidth = page.cardWidth;
    h->cardHeight = page.cardHeight;
    h->leftMargin = page.left;
    h->topMargin = page.top;
    h->rows = page.rows;
    h->columns = page.columns;
    h->rowGap = page.rowGap;
    h->columnGap = page.columnGap;
    h->rowFold = page.rowFold;
    h->columnFold = page.columnFold;
    return design;
}

SheetLayout LayoutOf(const Page& page) {
    ItemList design = DesignOf(page);
    std::optional<SheetLayout> layout = SheetLayoutOf(design);
    EXPECT_TRUE(layout);
    return layout.value_or(SheetLayout{});
}

// Readers take the stored type's absolute value; what is then outside 1 ... 11 is no type.
TEST(DesignTypeOf, TheAbsoluteValueWithinOneToEleven) {
    const std::pair<int32_t, int32_t> cases[] = {{4, 4},
                                                 {-4, 4},
                                                 {1, 1},
                                                 {11, 11},
                                                 {-11, 11},
                                                 {0, 0},
                                                 {12, 0},
                                                 {-12, 0},
                                                 {-9, 9},
                                                 {std::numeric_limits<int32_t>::min(), 0},
                                                 {std::numeric_limits<int32_t>::max(), 0}};
    for (auto [stored, type] : cases) {
        ItemRecord header;
        header.designType = stored;
        EXPECT_EQ(DesignTypeOf(header), type) << stored;
    }
    // A stored business-card type read back negative still repeats its cards.
    EXPECT_TRUE(LayoutOf(Page{.type = -DesignType::BusinessCards}).repeatsCards);
    EXPECT_FALSE(LayoutOf(Page{.type = std::numeric_limits<int32_t>::min()}).repeatsCards);
}

TEST(CardPositions, TenBusinessCardsAt300Dpi) {
    const SheetLayout layout = LayoutOf(Page{});
    EXPECT_TRUE(layout.repeatsCards);
    EXPECT_EQ(layout.rows, 5);
    EXPECT_EQ(layout.columns, 2);
    const std::vector<CardRect> cards = CardPositions(layout, 300, 300);
    ASSERT_EQ(cards.size(), 10u);
    // left 31 mm = 366.14 -> 366; top 18 mm = 212.60 -> 213; card 74 mm = 874.02 -> 874,
    // 52 mm = 614.17 -> 614.
    EXPECT_EQ(cards[0], (CardRect{1, 1, 366, 213, 874, 614}));
    EXPECT_EQ(cards[1], (CardRect{1, 2, 1240, 213, 874, 614}));
    EXPECT_EQ(cards[2], (CardRect{2, 1, 366, 827, 874, 614}));
    EXPECT_EQ(cards[9], (CardRect{5, 2, 1240, 2669, 874, 614}));
    EXPECT_EQ(AreaIndex(layout, 5, 2), 10);
    EXPECT_EQ(AreaIndex(layout, 2, 1), 3);
}

TEST(CardPositions, ScreenPixelsAndGapsRoundEachPartFirst) {
    // At 96 dpi: left 117.17 -> 117, top 68.03 -> 68, card 279.69 -> 280 by 196.54 -> 197.
    const SheetLayout tenUp = LayoutOf(Page{});
    EXPECT_EQ(CardPosition(tenUp, 96, 96, 2, 2), (CardRect{2, 2, 397, 265, 280, 197}));

    // Eight to a page with 10 mm gaps at 300 dpi: left 26 mm -> 307, top 25 mm -> 295,
    // gap 118.11 -> 118.
    Page eight;
    eight.left = 26;
    eight.top = 25;
    eight.rows = 4;
    eight.rowGap = eight.columnGap = 10;
    EXPECT_EQ(CardPosition(LayoutOf(eight), 300, 300, 2, 2), (CardRect{2, 2, 1299, 1027, 874, 614}));

    // Inches: 3 1/2 x 2 cards, margins 1/2 and 3/4, gaps 1/2, at 300 dpi.
    Page inches{3, 4, 8.5, 11, 3.5, 2, 0.5, 0.75, 4, 2, 0.5, 0.5, 0, 0};
    EXPECT_EQ(CardPosition(LayoutOf(inches), 300, 300, 4, 2), (CardRect{4, 2, 1350, 2475, 1050, 600}));
    // Different resolutions across and down.
    EXPECT_EQ(CardPosition(LayoutOf(inches), 600, 300, 1, 2), (CardRect{1, 2, 2700, 225, 2100, 600}));
}

TEST(CardPositions, AFoldJoinsTwoPanelsIntoOneCard) {
    // A8 fold business cards, 5 per page: one column of cards 148 mm wide (1748.03 -> 1748).
    Page folded;
    folded.columnFold = 1;
    const SheetLayout layout = LayoutOf(folded);
    EXPECT_EQ(layout.rows, 5);
    EXPECT_EQ(layout.columns, 1);
    const std::vector<CardRect> cards = CardPositions(layout, 300, 300);
    ASSERT_EQ(cards.size(), 5u);
    EXPECT_EQ(cards[0], (CardRect{1, 1, 366, 213, 1748, 614}));
    EXPECT_EQ(cards[4], (CardRect{5, 1, 366, 2669, 1748, 614}));

    // Three rows with the row fold: one row of double-height cards.
    Page three;
    three.rows = 3;
    three.rowFold = 1;
    const SheetLayout tall = LayoutOf(three);
    EXPECT_EQ(tall.rows, 1);
    EXPECT_DOUBLE_EQ(tall.cardHeight, 104 / 25.4);
    // One row with the fold stays one row of single cards.
    three.rows = 1;
    EXPECT_DOUBLE_EQ(LayoutOf(three).cardHeight, 52 / 25.4);
}

TEST(CardPositions, SheetsAndPicturesAreOneCardAtThePaperCorner) {
    Page sheet;
    sheet.type = DesignType::Illustrations;
    const SheetLayout illustration = LayoutOf(sheet);
    EXPECT_FALSE(illustration.repeatsCards);
    EXPECT_EQ(CardPositions(illustration, 300, 300),
              (std::vector<CardRect>{{1, 1, 0, 0, 2480, 3508}})); // 2480.31 and 3507.87

    // A business card measured in pixels is a picture too; pixels go by the screen's dpi.
    Page pixels;
    pixels.units = 1;
    pixels.paperWidth = 350;
    pixels.paperHeight = 250;
    ItemList design = DesignOf(pixels);
    const SheetLayout picture =
        *SheetLayoutOf(FindRecord(design, ItemKind::Header), ScreenResolution(100, 50));
    EXPECT_FALSE(picture.repeatsCards);
    EXPECT_DOUBLE_EQ(picture.paperWidth, 3.5);
    EXPECT_DOUBLE_EQ(picture.cardHeight, 5.0);

    // A negative design type is read by its absolute value.
    Page negative;
    negative.type = -4;
    EXPECT_TRUE(LayoutOf(negative).repeatsCards);
}

TEST(CardPositions, DamagedNumbersNeverDriveAHugeOrNegativeGrid) {
    Page damaged;
    damaged.rows = 0;
    damaged.columns = 50000;
    damaged.cardWidth = -74;
    damaged.left = std::numeric_limits<double>::quiet_NaN();
    damaged.rowGap = std::numeric_limits<double>::infinity();
    const SheetLayout layout = LayoutOf(damaged);
    EXPECT_EQ(layout.rows, 1);
    EXPECT_EQ(layout.columns, 1000);
    EXPECT_EQ(layout.cardWidth, 0.0);
    EXPECT_EQ(layout.leftMargin, 0.0);
    EXPECT_EQ(layout.rowGap, 0.0);
    EXPECT_EQ(CardPositions(layout, 300, 300).size(), 1000u);
    Page negativeRows;
    negativeRows.rows = -7;
    EXPECT_EQ(LayoutOf(negativeRows).rows, 1);

    // Positions asked outside the grid are brought inside it; a layout made by hand with no
    // rows still has one.
    SheetLayout handMade;
    handMade.rows = 0;
    handMade.columns = -3;
    handMade.cardWidth = 1;
    EXPECT_EQ(CardPosition(handMade, 100, 100, 9, 9), (CardRect{1, 1, 0, 0, 100, 0}));
    EXPECT_EQ(CardPosition(LayoutOf(Page{}), 300, 300, 0, 7).column, 2);

    ItemList noHeader;
    EXPECT_FALSE(SheetLayoutOf(noHeader));
}

} // namespace
} // namespace vlr
