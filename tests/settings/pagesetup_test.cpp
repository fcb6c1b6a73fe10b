// Page-setup blocks: the orientation swap, which box edits which text, and the checks that keep
// nonsense out of a design's page.
#include "settings/pagesetup.h"

#include <gtest/gtest.h>

#include <vector>

namespace vlr {
namespace {

miry_t Numbered() {
    return {3, "pw", "ph", "cw", "ch", "l", "t", "r", "b", "rows", "cols", "rg", "cg", "s1", "s2", 1, 0};
}

TEST(SwapOrientation, ExchangesThePairsOfTheCurrentBlockOnly) {
    pageset_t pageset;
    pageset.units = 2;
    pageset.dims = {Numbered(), Numbered(), Numbered()};
    ASSERT_TRUE(SwapOrientation(pageset, 2));
    EXPECT_EQ(pageset.orientation, 2);
    const miry_t swapped{3,      "ph",   "pw", "ch", "cw", "t",  "l", "b", "r",
                         "cols", "rows", "cg", "rg", "s2", "s1", 0,   1};
    EXPECT_EQ(pageset.dims[1], swapped);
    EXPECT_EQ(pageset.dims[0], Numbered());
    EXPECT_EQ(pageset.dims[2], Numbered());

    // Ticking the orientation already set, or an unknown one, does nothing.
    EXPECT_FALSE(SwapOrientation(pageset, 2));
    EXPECT_FALSE(SwapOrientation(pageset, 3));
    EXPECT_EQ(pageset.dims[1], swapped);
    pageset.units = 0;
    EXPECT_FALSE(SwapOrientation(pageset, 1));
    EXPECT_EQ(pageset.orientation, 2);
}

struct Shown {
    PageField field;
    std::string label;
    friend bool operator==(const Shown&, const Shown&) = default;
};

std::vector<std::optional<Shown>> Boxes(int unit, int type) {
    std::vector<std::optional<Shown>> boxes;
    for (const std::optional<PageBox>& box : PageBoxes(unit, type)) {
        boxes.push_back(box ? std::optional<Shown>(Shown{box->field, box->label}) : std::nullopt);
    }
    return boxes;
}

TEST(PageBoxes, EachUnitAndTypeShowsItsOwnBoxes) {
    using F = PageField;
    const std::optional<Shown> none;
    // Pixels, any type: the image size only.
    for (int type = 1; type <= 11; ++type) {
        EXPECT_EQ(Boxes(1, type),
                  (std::vector<std::optional<Shown>>{Shown{F::PaperWidth, "Image width"},
                                                     Shown{F::PaperHeight, "Image height"}, none, none, none,
                                                     none, none, none, none, none}))
            << type;
        EXPECT_FALSE(FoldBoxesShown(1, type));
    }
    EXPECT_EQ(Boxes(2, 4), (std::vector<std::optional<Shown>>{
                               Shown{F::PaperWidth, "Paper width"}, Shown{F::PaperHeight, "Paper height"},
                               Shown{F::CardWidth, "Card width"}, Shown{F::CardHeight, "Card height"},
                               Shown{F::LeftMargin, "Left margin"}, Shown{F::TopMargin, "Top margin"},
                               Shown{F::Rows, "Rows"}, Shown{F::Columns, "Columns"},
                               Shown{F::RowGap, "Row gap"}, Shown{F::ColumnGap, "Column gap"}}));
    EXPECT_EQ(Boxes(3, 5)[2], (Shown{F::CardWidth, "Label width"}));
    EXPECT_EQ(Boxes(3, 5)[3], (Shown{F::CardHeight, "Label height"}));
    // Brochures: Edit7 edits the bottom margin, Edit8 the right margin.
    EXPECT_EQ(Boxes(2, 10),
              (std::vector<std::optional<Shown>>{
                  Shown{F::PaperWidth, "Paper width"}, Shown{F::PaperHeight, "Paper height"},
                  Shown{F::CardWidth, "Brochure width"}, Shown{F::CardHeight, "Brochure height"},
                  Shown{F::LeftMargin, "Left margin"}, Shown{F::TopMargin, "Top margin"},
                  Shown{F::BottomMargin, "Bottom margin"}, Shown{F::RightMargin, "Right margin"},
                  Shown{F::Rows, "Rows"}, Shown{F::Columns, "Columns"}}));
    EXPECT_EQ(Boxes(3, 8), (std::vector<std::optional<Shown>>{
                               Shown{F::PaperWidth, "Paper width"}, Shown{F::PaperHeight, "Paper height"},
                               Shown{F::LeftMargin, "Left margin"}, Shown{F::TopMargin, "Top margin"},
                               Shown{F::RightMargin, "Right margin"}, Shown{F::BottomMargin, "Bottom margin"},
                               Shown{F::Rows, "Rows"}, Shown{F::Columns, "Columns"},
                               Shown{F::RowGap, "Row gap"}, Shown{F::ColumnGap, "Column gap"}}));
    // Illustrations hide rows, columns, gaps and folds.
    const auto illustrations = Boxes(2, 1);
    EXPECT_EQ(illustrations[5], (Shown{F::BottomMargin, "Bottom margin"}));
    EXPECT_EQ(std::count(illustrations.begin(), illustrations.end(), none), 4);
    EXPECT_FALSE(FoldBoxesShown(2, 1));
    EXPECT_TRUE(FoldBoxesShown(2, 9));
    EXPECT_TRUE(FoldBoxesShown(3, 4));
    // Unknown units and types show nothing.
    for (const auto& box : Boxes(0, 4)) {
        EXPECT_FALSE(box);
    }
    EXPECT_FALSE(Boxes(2, 12)[0]);
    EXPECT_FALSE(FoldBoxesShown(4, 4));
}

TEST(ReadPageValues, DimensionsByTheUnitsRulesCountsAsWholeNumbers) {
    miry_t block;
    block.paperWidth = "8 1/2\"";
    block.paperHeight = " 11 ";
    block.cardWidth = "abc";
    block.leftMargin = "";
    block.rows = "5";
    block.columns = "2.5";
    block.rowFold = 7;
    PageValues inches = ReadPageValues(block, 3);
    EXPECT_EQ(inches[PageField::PaperWidth], 8.5);
    EXPECT_EQ(inches[PageField::PaperHeight], 11.0);
    EXPECT_FALSE(inches[PageField::CardWidth]);
    EXPECT_EQ(inches[PageField::LeftMargin], 0.0);
    EXPECT_EQ(inches[PageField::Rows], 5.0);
    EXPECT_FALSE(inches[PageField::Columns]);
    EXPECT_TRUE(inches.rowFold);
    EXPECT_FALSE(inches.columnFold);
    // In millimetres the fraction does not read.
    EXPECT_FALSE(ReadPageValues(block, 2)[PageField::PaperWidth]);
}

// The values of a millimetre business-card page, A8 cards ten to a page.
miry_t CardBlock() {
    return {1, "210", "297", "74", "52", "31", "18", "0", "0", "5", "2", "0", "0", "", "", 0, 0};
}

std::optional<PageProblem> Check(const miry_t& block, int type = 4, int unit = 2) {
    pageset_t pageset;
    pageset.units = unit;
    pageset.dims[unit - 1] = block;
    return CheckPageSetup(pageset, type);
}

TEST(CheckPageSetup, NonsenseInAShownBoxGetsAMessageNamingTheBox) {
    EXPECT_FALSE(Check(CardBlock()));
    struct Case {
        PageField field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {PageField::PaperWidth, "", "Paper width must be greater than 0."},
        {PageField::PaperHeight, "-3", "Paper height must be greater than 0."},
        {PageField::CardWidth, "0", "Card width must be greater than 0."},
        {PageField::PaperWidth, "1e308", "Paper width cannot be more than 10000 mm."},
        {PageField::LeftMargin, "-1", "Left margin cannot be negative."},
        {PageField::ColumnGap, "20000", "Column gap cannot be more than 10000 mm."},
        {PageField::Rows, "0", "Rows must be a whole number from 1 to 1000."},
        {PageField::Columns, "1001", "Columns must be a whole number from 1 to 1000."},
        {PageField::CardWidth, "211", "The card does not fit on the paper."},
        {PageField::LeftMargin, "137", "The card does not fit on the paper."}, // 137 + 74 > 210
    };
    for (const Case& c : cases) {
        miry_t block = CardBlock();
        FieldText(block, c.field) = c.text;
        std::optional<PageProblem> problem = Check(block);
        ASSERT_TRUE(problem) << c.text;
        EXPECT_EQ(problem->message, c.message);
    }
    // A margin that just fits: 136 + 74 = 210.
    miry_t block = CardBlock();
    block.leftMargin = "136";
    EXPECT_FALSE(Check(block));
}

TEST(CheckPageSetup, TextsThatDoNotReadAndHiddenBoxesAreNotJudged) {
    miry_t block = CardBlock();
    block.cardWidth = "abc";
    block.rows = "2.5";
    block.rightMargin = "-5"; // no right margin box for cards
    block.spare1 = "-1";
    EXPECT_FALSE(Check(block));
    // Illustrations show no rows.
    block = CardBlock();
    block.rows = "0";
    EXPECT_FALSE(Check(block, 1));
    EXPECT_TRUE(Check(block, 4));
}

TEST(CheckPageSetup, FoldedCardsMustFitTwiceAndBrochuresIgnoreTheirMargins) {
    miry_t block = CardBlock();
    block.columnFold = 1; // 31 + 2 x 74 = 179
    EXPECT_FALSE(Check(block));
    block.cardWidth = "90"; // 31 + 180 > 210
    EXPECT_EQ(Check(block)->message, "The card does not fit on the paper.");
    EXPECT_EQ(Check(block, 5)->message, "The label does not fit on the paper.");

    miry_t brochure{1, "210", "297", "210", "99", "20", "20", "0", "0", "3", "1", "", "", "", "", 1, 0};
    EXPECT_FALSE(Check(brochure, 10));
    brochure.cardHeight = "149"; // folded: 298 > 297
    EXPECT_EQ(Check(brochure, 10)->message, "The brochure does not fit on the paper.");
}

TEST(CheckPageSetup, PixelsInchesAndUnknownUnitsOrTypes) {
    miry_t image;
    image.paperWidth = "32000";
    image.paperHeight = "250";
    EXPECT_FALSE(Check(image, 9, 1));
    image.paperWidth = "32001";
    EXPECT_EQ(Check(image, 9, 1)->message, "Image width cannot be more than 32000 pixels.");
    image.paperWidth = "abc";
    EXPECT_FALSE(Check(image, 9, 1));

    miry_t letter{0, "8 1/2", "401", "", "", "1/4", "1/4", "1/4", "1/4", "", "", "", "", "", "", 0, 0};
    EXPECT_EQ(Check(letter, 1, 3)->message, "Paper height cannot be more than 400 inches.");

    pageset_t pageset;
    pageset.units = 4;
    EXPECT_EQ(CheckPageSetup(pageset, 4)->message, "Choose a measuring unit.");
    EXPECT_EQ(Check(CardBlock(), 0)->message, "Choose a design type.");
}

} // namespace
} // namespace vlr
