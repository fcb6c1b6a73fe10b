// The quick-select lists: every entry's text and numbers as the preset tables give them, choosing
// and recognising entries, and the factory page setups.
#include "settings/pagepresets.h"

#include "settings/designtype.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace vlr {
namespace {

// ---- the tables, typed in their printed form ----

// "210 x 297" -> {"210", "297"}; "8 1/2 x 11" -> {"8 1/2", "11"}.
std::pair<std::string, std::string> Pair(const std::string& text) {
    size_t cross = text.find(" x ");
    return {text.substr(0, cross), text.substr(cross + 3)};
}

// "26, 25, 0, 0", "1/4 each", "(empty)", "(empty), 1/2, (empty), 1/2" -> the texts, count of them.
std::vector<std::string> List(const std::string& text, size_t count) {
    if (text == "(empty)") {
        return std::vector<std::string>(count, "");
    }
    if (text.ends_with(" each")) {
        return std::vector<std::string>(count, text.substr(0, text.size() - 5));
    }
    std::vector<std::string> items;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        item.erase(0, item.find_first_not_of(' '));
        items.push_back(item == "(empty)" ? "" : item);
    }
    return items;
}

struct CardRow {
    int type;
    int index;
    const char* name;
    const char* orientation; // "portrait" or "landscape"
    const char* paper;
    const char* card;
    const char* margins; // left, top, right, bottom
    const char* grid;    // rows x columns
    const char* gaps;    // row gap, column gap
    const char* fold;    // "none", "row", "column"
};

const CardRow kMillimetreCards[] = {
    {2, 0, "A5 postcards, 2 per A4 page", "portrait", "210 x 297", "210 x 148", "0, 0, 0, 0", "2 x 1", "0, 0",
     "none"},
    {2, 1, "A6 postcards, 4 per A4 page", "portrait", "210 x 297", "105 x 148", "0, 0, 0, 0", "2 x 2", "0, 0",
     "none"},
    {2, 2, "210 x 99 postcards, 3 per A4 page", "portrait", "210 x 297", "210 x 99", "0, 0, 0, 0", "3 x 1",
     "0, 0", "none"},
    {3, 0, "A6 postcards, 2 per A4 page, vertical", "portrait", "210 x 297", "105 x 148", "0, 0, 0, 0",
     "2 x 2", "0, 0", "column"},
    {3, 1, "A6 postcards, 2 per A4 page, horizontal", "landscape", "297 x 210", "148 x 105", "0, 0, 0, 0",
     "2 x 2", "0, 0", "row"},
    {3, 2, "A6 postcards, 2 per A4 page, vertical", "portrait", "210 x 297", "105 x 148", "0, 0, 0, 0",
     "2 x 2", "0, 0", "row"},
    {3, 3, "A6 postcards, 2 per A4 page, horizontal", "landscape", "297 x 210", "148 x 105", "0, 0, 0, 0",
     "2 x 2", "0, 0", "column"},
    {4, 0, "A8 business cards, 8 per page", "portrait", "210 x 297", "74 x 52", "26, 25, 0, 0", "4 x 2",
     "10, 10", "none"},
    {4, 1, "A8 business cards, 10 per page", "portrait", "210 x 297", "74 x 52", "31, 18, 0, 0", "5 x 2",
     "0, 0", "none"},
    {4, 2, "A8 fold business cards, 5 per page", "portrait", "210 x 297", "74 x 52", "31, 18, 0, 0", "5 x 2",
     "0, 0", "column"},
    {4, 3, "A8 vertical cards, 8 per page", "landscape", "297 x 210", "52 x 74", "25, 26, 0, 0", "2 x 4",
     "10, 10", "none"},
    {4, 4, "A8 vertical cards, 10 per page", "landscape", "297 x 210", "52 x 74", "18, 31, 0, 0", "2 x 5",
     "0, 0", "none"},
    {4, 5, "A8 fold vertical cards, 5 per page", "landscape", "297 x 210", "52 x 74", "18, 31, 0, 0", "2 x 5",
     "0, 0", "row"},
    {4, 6, "85 \xC3\x97 54 business cards, 8 per page", "portrait", "210 x 297", "85 x 54", "15, 25, 0, 0",
     "4 x 2", "10, 10", "none"},
    {4, 7, "85 \xC3\x97 54 business cards, 10 per page", "portrait", "210 x 297", "85 x 54", "20, 14, 0, 0",
     "5 x 2", "0, 0", "none"},
    {4, 8, "85 \xC3\x97 54 fold business cards, 5 per page", "portrait", "210 x 297", "85 x 54",
     "20, 14, 0, 0", "5 x 2", "0, 0", "column"},
    {4, 9, "85 \xC3\x97 54 vertical cards, 8 per page", "landscape", "297 x 210", "54 x 85", "25, 15, 0, 0",
     "2 x 4", "10, 10", "none"},
    {4, 10, "85 \xC3\x97 54 vertical cards, 10 per page", "landscape", "297 x 210", "54 x 85", "14, 20, 0, 0",
     "2 x 5", "0, 0", "none"},
    {4, 11, "85 \xC3\x97 54 fold vertical cards, 5 per page", "landscape", "297 x 210", "54 x 85",
     "14, 20, 0, 0", "2 x 5", "0, 0", "row"},
    {5, 0, "20 x 10 labels, A4 paper", "portrait", "210 x 297", "20 x 10", "5, 9, 5, 9", "28 x 10", "0, 0",
     "none"},
    {5, 1, "37 x 18 labels, A4 paper", "portrait", "210 x 297", "37 x 18", "13, 5, 13, 5", "16 x 5", "0, 0",
     "none"},
    {5, 2, "40 x 20 labels, A4 paper", "portrait", "210 x 297", "40 x 20", "5, 9, 5, 9", "14 x 5", "0, 0",
     "none"},
    {5, 3, "50 x 30 labels, A4 paper", "portrait", "210 x 297", "50 x 30", "5, 14, 5, 14", "9 x 4", "0, 0",
     "none"},
    {5, 4, "60 x 40 labels, A4 paper", "portrait", "210 x 297", "60 x 40", "15, 9, 15, 9", "7 x 3", "0, 0",
     "none"},
    {5, 5, "80 x 50 labels, A4 paper", "portrait", "210 x 297", "80 x 50", "25, 24, 25, 24", "5 x 2", "0, 0",
     "none"},
    {5, 6, "100 x 60 labels, A4 paper", "portrait", "210 x 297", "100 x 60", "5, 29, 5, 29", "4 x 2", "0, 0",
     "none"},
    {5, 7, "100 x 70 labels, A4 paper", "portrait", "210 x 297", "100 x 70", "5, 9, 5, 9", "4 x 2", "0, 0",
     "none"},
    {5, 8, "100 x 80 labels, A4 paper", "portrait", "210 x 297", "100 x 80", "5, 29, 5, 29", "3 x 2", "0, 0",
     "none"},
    {5, 9, "100 x 90 labels, A4 paper", "portrait", "210 x 297", "100 x 90", "5, 14, 5, 14", "3 x 2", "0, 0",
     "none"},
    {10, 0, "Half-fold brochures, A4 paper", "portrait", "210 x 297", "210 x 148", "0, 0, 0, 0", "3 x 1",
     "0, 0", "row"},
    {10, 1, "Tri-fold brochures, A4 paper", "portrait", "210 x 297", "210 x 99", "0, 0, 0, 0", "3 x 1",
     "0, 0", "row"},
    {11, 0, "Tent Cards, 2 per A4 page", "portrait", "210 x 297", "190 x 69", "10, 10, 10, 10", "4 x 1",
     "0, 0", "row"},
    {11, 1, "Tent Cards, 3 per A4 page", "portrait", "210 x 297", "190 x 46", "10, 10, 10, 10", "6 x 1",
     "0, 0", "row"},
};

const CardRow kInchCards[] = {
    {2, 0, "4 x 6 postcards, 2 per page", "portrait", "8 1/2 x 11", "6 x 4", "1 1/4, 1, 1 1/4, 1", "2 x 1",
     "1, (empty)", "none"},
    {2, 1, "5 1/2 x 4 1/4 postcards, 4 per page", "landscape", "11 x 8 1/2", "5 1/2 x 4 1/4", "(empty)",
     "2 x 2", "(empty)", "none"},
    {3, 0, "4 1/4 x 5 1/2 greeting cards, 2 per page, vertical", "portrait", "8 1/2 x 11", "4 1/4 x 5 1/2",
     "(empty)", "2 x 2", "(empty)", "column"},
    {3, 1, "5 1/2 x 4 1/4 greeting cards, 2 per page, horizontal", "landscape", "11 x 8 1/2", "5 1/2 x 4 1/4",
     "(empty)", "2 x 2", "(empty)", "row"},
    {3, 2, "4 1/4 x 5 1/2 greeting cards, 2 per page, vertical", "portrait", "8 1/2 x 11", "4 1/4 x 5 1/2",
     "(empty)", "2 x 2", "(empty)", "row"},
    {3, 3, "5 1/2 x 4 1/4 greeting cards, 2 per page, horizontal", "landscape", "11 x 8 1/2", "5 1/2 x 4 1/4",
     "(empty)", "2 x 2", "(empty)", "column"},
    {4, 0, "Business Cards, 8 per page", "portrait", "8 1/2 x 11", "3 1/2 x 2", "1/2, 3/4, 1/2, 3/4", "4 x 2",
     "1/2, 1/2", "none"},
    {4, 1, "Business Cards, 10 per page", "portrait", "8 1/2 x 11", "3 1/2 x 2", "3/4, 1/2, 3/4, 3/4",
     "5 x 2", "(empty)", "none"},
    {4, 2, "Business Cards, 12 per page", "landscape", "11 x 8 1/2", "3 1/2 x 2", "1/4 each", "4 x 3",
     "(empty)", "none"},
    {4, 3, "Vertical business cards, 8 per page", "landscape", "11 x 8 1/2", "2 x 3 1/2",
     "3/4, 1/2, 3/4, 1/2", "2 x 4", "1/2, 1/2", "none"},
    {4, 4, "Vertical business cards, 10 per page", "landscape", "11 x 8 1/2", "2 x 3 1/2",
     "1/2, 3/4, 3/4, 3/4", "2 x 5", "(empty)", "none"},
    {4, 5, "Vertical business cards, 12 per page", "portrait", "8 1/2 x 11", "2 x 3 1/2", "1/4 each", "3 x 4",
     "(empty)", "none"},
    {4, 6, "Fold business cards, 5 per page", "portrait", "8 1/2 x 11", "3 1/2 x 2", "3/4, 1/2, 3/4, 3/4",
     "5 x 2", "(empty)", "column"},
    {4, 7, "Fold vertical business cards, 5 per page", "landscape", "11 x 8 1/2", "2 x 3 1/2",
     "1/2, 3/4, 3/4, 3/4", "2 x 5", "(empty)", "row"},
    {5, 0, "1/2 x 1/4 labels, letter-size paper", "portrait", "8 1/2 x 11", "1/2 x 1/4", "1/4 each",
     "42 x 16", "(empty)", "none"},
    {5, 1, "3/4 x 1/4 labels, letter-size paper", "portrait", "8 1/2 x 11", "3/4 x 1/4", "1/2, 1/4, 1/2, 1/4",
     "42 x 10", "(empty)", "none"},
    {5, 2, "1 x 1/2 labels, letter-size paper", "portrait", "8 1/2 x 11", "1 x 1/2", "1/4 each", "21 x 8",
     "(empty)", "none"},
    {5, 3, "1 1/4 x 3/4 labels, letter-size paper", "portrait", "8 1/2 x 11", "1 1/4 x 3/4",
     "1/2, 1/4, 1/2, 1/4", "14 x 6", "(empty)", "none"},
    {5, 4, "1 1/2 x 3/4 labels, letter-size paper", "portrait", "8 1/2 x 11", "1 1/2 x 3/4",
     "1/2, 1/4, 1/2, 1/4", "14 x 5", "(empty)", "none"},
    {5, 5, "1 3/4 x 3/4 labels, letter-size paper", "portrait", "8 1/2 x 11", "1 3/4 x 3/4",
     "3/4, 1/4, 3/4, 1/4", "14 x 4", "(empty)", "none"},
    {5, 6, "2 x 1 labels, letter-size paper", "portrait", "8 1/2 x 11", "2 x 1", "1/4, 1/2, 1/4, 1/2",
     "10 x 4", "(empty)", "none"},
    {5, 7, "2 1/2 x 1 1/4 labels, letter-size paper", "portrait", "8 1/2 x 11", "2 1/2 x 1 1/4", "1/2 each",
     "8 x 3", "(empty)", "none"},
    {5, 8, "3 x 1 1/2 labels, letter-size paper", "portrait", "8 1/2 x 11", "3 x 1 1/2",
     "1 1/4, 1/4, 1 1/4, 1/4", "7 x 2", "(empty)", "none"},
    {10, 0, "Half-fold brochures, letter-size paper", "portrait", "8 1/2 x 11", "8 1/2 x 5 1/2", "(empty)",
     "2 x 1", "(empty)", "row"},
    {10, 1, "Tri-fold brochures, letter-size paper", "portrait", "8 1/2 x 11", "8 1/2 x 3 2/3", "(empty)",
     "3 x 1", "(empty)", "row"},
    {11, 0, "Tent Cards 8 1/2 x 2 1/2", "portrait", "8 1/2 x 11", "8 1/2 x 2 1/2",
     "(empty), 1/2, (empty), 1/2", "4 x 1", "(empty)", "row"},
    {11, 1, "Tent Cards 11 x 3 1/2", "landscape", "11 x 8 1/2", "11 x 3 1/2", "(empty), 3/4, (empty), 3/4",
     "2 x 1", "(empty)", "row"},
};

struct SheetRow {
    int index;
    const char* name;
    const char* paper;
    const char* margins;
};

const SheetRow kMillimetreSheets[] = {
    {0, "A0 - drawings, posters", "841 x 1189", "7 each"},
    {1, "A1 - drawings, posters, flip charts", "594 x 841", "7 each"},
    {2, "A2 - flip charts, diagrams", "420 x 594", "7 each"},
    {3, "A3 - newspapers, large tables", "297 x 420", "7 each"},
    {4, "A4 - letters, magazines, forms, catalogs", "210 x 297", "7 each"},
    {5, "A5 - note pads, books", "148 x 210", "7 each"},
    {6, "A6 - books, postcards", "105 x 148", "7 each"},
    {7, "A7 - index cards", "74 x 105", "7 each"},
    {8, "C4 - envelopes for A4 letters unfolded", "229 x 324", "7 each"},
    {9, "C5 - envelopes for A5 letters unfolded", "162 x 229", "7 each"},
    {10, "C6 - envelopes for A6 postcards", "114 x 162", "7 each"},
    {11, "C6/C5 - envelopes for A4 letters folded twice", "114 x 229", "7 each"},
    {12, "DL - envelopes for A4 letters folded twice", "110 x 220", "7 each"},
    {13, "B4 - newspapers, envelopes for C4", "250 x 353", "7 each"},
    {14, "B5 - books, envelopes for C5", "176 x 250", "7 each"},
    {15, "B6 - books, envelopes for C6", "125 x 176", "7 each"},
    {16, "B7 - passports", "88 x 125", "7 each"},
    {17, "B8 - playing cards", "62 x 88", "7 each"},
    {18, "Photo - 90 x 130", "90 x 130", "(empty)"},
    {19, "Photo - 130 x 180", "130 x 180", "(empty)"},
};

const SheetRow kInchSheets[] = {
    {0, "Letter 8 1/2 x 11", "8 1/2 x 11", "1/4 each"},
    {1, "Legal 8 1/2 x 14", "8 1/2 x 14", "1/4 each"},
    {2, "Executive 7 1/4 x 10 1/2", "7 1/4 x 10 1/2", "1/4 each"},
    {3, "Ledger/Tabloid 11 x 17", "11 x 17", "1/4 each"},
    {4, "Envelope #10 4 1/8 x 9 1/2", "4 1/8 x 9 1/2", "1/4 each"},
    {5, "Envelope Monarch 3 7/8 x 7 1/2", "3 7/8 x 7 1/2", "1/4 each"},
    {6, "Photo 4 x 6", "4 x 6", "(empty)"},
    {7, "Photo 5 x 7", "5 x 7", "(empty)"},
};

struct PixelRow {
    int index;
    const char* name;
    const char* orientation; // "kept", "portrait", "landscape"
    const char* portraitSize;
    const char* landscapeSize;
};

const PixelRow kPixels[] = {
    {0, "Small Photo 250 x 350", "kept", "250 x 350", "350 x 250"},
    {1, "Medium Photo 350 x 500", "kept", "350 x 500", "500 x 350"},
    {2, "Large Photo 500 x 700", "kept", "500 x 700", "700 x 500"},
    {3, "Leaderboard 728 x 90", "landscape", "728 x 90", "728 x 90"},
    {4, "Banner 468 x 60", "landscape", "468 x 60", "468 x 60"},
    {5, "Half Banner 234 x 60", "landscape", "234 x 60", "234 x 60"},
    {6, "Skyscraper 120 x 600", "portrait", "120 x 600", "120 x 600"},
    {7, "Wide Skyscraper 160 x 600", "portrait", "160 x 600", "160 x 600"},
    {8, "Vertical Banner 120 x 240", "portrait", "120 x 240", "120 x 240"},
    {9, "Button 125 x 125", "kept", "125 x 125", "125 x 125"},
    {10, "Medium Rectangle 300 x 250", "landscape", "300 x 250", "300 x 250"},
    {11, "Square 250 x 250", "kept", "250 x 250", "250 x 250"},
    {12, "Large Rectangle 336 x 280", "landscape", "336 x 280", "336 x 280"},
    {13, "Small Rectangle 180 x 150", "landscape", "180 x 150", "180 x 150"},
};

// A page setup whose every text is junk, so what an entry leaves alone is seen.
pageset_t JunkPageSetup(int unit, int orientation) {
    pageset_t pageset;
    pageset.units = unit;
    pageset.orientation = orientation;
    for (miry_t& block : pageset.dims) {
        for (int field = 0; field < kPageFieldCount; ++field) {
            FieldText(block, static_cast<PageField>(field)) = "junk";
        }
        block.preset = 77;
        block.rowFold = 1;
        block.columnFold = 1;
    }
    return pageset;
}

int OrientationCode(const std::string& name) {
    return name == "landscape" ? 2 : 1;
}

void ExpectCardRow(const CardRow& row, int unit) {
    SCOPED_TRACE(row.name);
    std::span<const PagePreset> list = PresetList(unit, row.type);
    ASSERT_LT(static_cast<size_t>(row.index), list.size());
    EXPECT_STREQ(list[row.index].name, row.name);

    // Chosen under the other orientation, so the entry's own orientation shows.
    const int orientation = OrientationCode(row.orientation);
    pageset_t pageset = JunkPageSetup(unit, 3 - orientation);
    ASSERT_TRUE(ChoosePreset(pageset, row.type, row.index));
    EXPECT_EQ(pageset.orientation, orientation);
    const miry_t& block = pageset.dims[unit - 1];
    EXPECT_EQ(block.preset, row.index);
    EXPECT_EQ(std::make_pair(block.paperWidth, block.paperHeight), Pair(row.paper));
    EXPECT_EQ(std::make_pair(block.cardWidth, block.cardHeight), Pair(row.card));
    EXPECT_EQ((std::vector{block.leftMargin, block.topMargin, block.rightMargin, block.bottomMargin}),
              List(row.margins, 4));
    EXPECT_EQ(std::make_pair(block.rows, block.columns), Pair(row.grid));
    EXPECT_EQ((std::vector{block.rowGap, block.columnGap}), List(row.gaps, 2));
    EXPECT_EQ(block.rowFold, std::string(row.fold) == "row" ? 1 : 0);
    EXPECT_EQ(block.columnFold, std::string(row.fold) == "column" ? 1 : 0);
    EXPECT_EQ(block.spare1, "junk"); // not named by any entry
    // The other units' blocks are untouched.
    EXPECT_EQ(pageset.dims[unit == 2 ? 2 : 1].paperWidth, "junk");
}

TEST(PagePresets, MillimetreCardEntriesWriteTheirTwelveTextsFoldsAndOrientation) {
    for (const CardRow& row : kMillimetreCards) {
        ExpectCardRow(row, 2);
    }
}

TEST(PagePresets, InchCardEntriesWriteTheirTwelveTextsFoldsAndOrientation) {
    for (const CardRow& row : kInchCards) {
        ExpectCardRow(row, 3);
    }
}

TEST(PagePresets, IllustrationEntriesWriteOnlyPaperAndMarginsAndKeepTheOrientation) {
    for (int unit : {2, 3}) {
        const auto& rows =
            unit == 2 ? std::vector<SheetRow>(std::begin(kMillimetreSheets), std::end(kMillimetreSheets))
                      : std::vector<SheetRow>(std::begin(kInchSheets), std::end(kInchSheets));
        ASSERT_EQ(PresetList(unit, DesignType::Illustrations).size(), rows.size());
        for (const SheetRow& row : rows) {
            SCOPED_TRACE(row.name);
            EXPECT_STREQ(PresetList(unit, DesignType::Illustrations)[row.index].name, row.name);
            for (int orientation : {1, 2}) {
                pageset_t pageset = JunkPageSetup(unit, orientation);
                ASSERT_TRUE(ChoosePreset(pageset, DesignType::Illustrations, row.index));
                const miry_t& block = pageset.dims[unit - 1];
                EXPECT_EQ(pageset.orientation, orientation);
                EXPECT_EQ(std::make_pair(block.paperWidth, block.paperHeight), Pair(row.paper));
                EXPECT_EQ(
                    (std::vector{block.leftMargin, block.topMargin, block.rightMargin, block.bottomMargin}),
                    List(row.margins, 4));
                EXPECT_EQ(block.cardWidth, "junk");
                EXPECT_EQ(block.rows, "junk");
                EXPECT_EQ(block.rowGap, "junk");
                EXPECT_EQ(block.rowFold, 1); // folds are not written
            }
        }
    }
}

TEST(PagePresets, PixelEntriesFollowOrSetTheOrientation) {
    for (int type = 1; type <= 11; ++type) {
        ASSERT_EQ(PresetList(1, type).size(), std::size(kPixels)) << type;
    }
    for (const PixelRow& row : kPixels) {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(PresetList(1, DesignType::DigitalImages)[row.index].name, row.name);
        for (int orientation : {1, 2}) {
            pageset_t pageset = JunkPageSetup(1, orientation);
            ASSERT_TRUE(ChoosePreset(pageset, DesignType::DigitalImages, row.index));
            const std::string fixed = row.orientation;
            const int expected = fixed == "kept" ? orientation : OrientationCode(fixed);
            EXPECT_EQ(pageset.orientation, expected);
            const miry_t& block = pageset.dims[0];
            EXPECT_EQ(std::make_pair(block.paperWidth, block.paperHeight),
                      Pair(expected == 1 ? row.portraitSize : row.landscapeSize));
            EXPECT_EQ(block.leftMargin, "junk");
            EXPECT_EQ(block.preset, row.index);
        }
    }
}

TEST(PagePresets, ListsExistOnlyForTheOfferedTypes) {
    const size_t millimetres[12] = {0, 20, 3, 4, 12, 10, 0, 0, 0, 0, 2, 2};
    const size_t inches[12] = {0, 8, 2, 4, 8, 9, 0, 0, 0, 0, 2, 2};
    for (int type = 1; type <= 11; ++type) {
        EXPECT_EQ(PresetList(2, type).size(), millimetres[type]) << type;
        EXPECT_EQ(PresetList(3, type).size(), inches[type]) << type;
    }
    EXPECT_TRUE(PresetList(0, 4).empty());
    EXPECT_TRUE(PresetList(4, 4).empty());
    EXPECT_TRUE(PresetList(2, 0).empty());
    EXPECT_TRUE(PresetList(2, 12).empty());
}

TEST(PagePresets, ChoosingOutsideTheListOrWithAnUnknownUnitChangesNothing) {
    pageset_t pageset = JunkPageSetup(2, 1);
    const pageset_t before = pageset;
    EXPECT_FALSE(ChoosePreset(pageset, DesignType::BusinessCards, 12));
    EXPECT_FALSE(ChoosePreset(pageset, DesignType::BusinessCards, -1));
    EXPECT_FALSE(ChoosePreset(pageset, DesignType::DigitalImages, 0)); // no millimetre list
    pageset.units = 0;
    EXPECT_FALSE(ChoosePreset(pageset, DesignType::BusinessCards, 0));
    pageset.units = 2;
    EXPECT_EQ(pageset, before);
}

// ---- recognising ----

TEST(RecognizePreset, EveryEntryIsRecognisedRightAfterItWasChosen) {
    for (int unit = 1; unit <= 3; ++unit) {
        for (int type = 1; type <= 11; ++type) {
            for (size_t index = 0; index < PresetList(unit, type).size(); ++index) {
                pageset_t pageset = JunkPageSetup(unit, 1);
                ASSERT_TRUE(ChoosePreset(pageset, type, static_cast<int32_t>(index)));
                pageset.dims[unit - 1].preset = 99;
                EXPECT_EQ(RecognizePreset(pageset, type), static_cast<int32_t>(index))
                    << "unit " << unit << " type " << type;
                EXPECT_EQ(pageset.dims[unit - 1].preset, static_cast<int32_t>(index));
            }
        }
    }
}

TEST(RecognizePreset, TurningA8CardsToLandscapeFindsTheVerticalCards) {
    pageset_t pageset = JunkPageSetup(2, 1);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::BusinessCards, 0)); // A8 business cards, 8 per page
    ASSERT_TRUE(SwapOrientation(pageset, 2));
    const miry_t& block = pageset.dims[1];
    EXPECT_EQ(block.paperWidth, "297");
    EXPECT_EQ(block.paperHeight, "210");
    EXPECT_EQ(block.cardWidth, "52");
    EXPECT_EQ(block.cardHeight, "74");
    EXPECT_EQ(block.leftMargin, "25");
    EXPECT_EQ(block.topMargin, "26");
    EXPECT_EQ(block.rows, "2");
    EXPECT_EQ(block.columns, "4");
    EXPECT_EQ(RecognizePreset(pageset, DesignType::BusinessCards), 3); // A8 vertical cards, 8 per page
}

TEST(RecognizePreset, A4ChosenInLandscapeStaysRecognisedAfterTheRightMarginChanges) {
    pageset_t pageset = JunkPageSetup(2, 2);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::Illustrations, 4));
    EXPECT_EQ(pageset.orientation, 2);
    EXPECT_EQ(pageset.dims[1].paperWidth, "210");
    EXPECT_EQ(pageset.dims[1].paperHeight, "297");
    pageset.dims[1].rightMargin = "20"; // right and bottom margins are not compared
    EXPECT_EQ(RecognizePreset(pageset, DesignType::Illustrations), 4);
    // The paper turned by hand still is A4.
    pageset.dims[1].paperWidth = "297";
    pageset.dims[1].paperHeight = "210";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::Illustrations), 4);
    pageset.dims[1].leftMargin = "8";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::Illustrations), -1);
}

TEST(RecognizePreset, NumbersAreComparedAsTheUnitReadsThem) {
    // Millimetres as whole numbers: "7.0" does not read, " 7 " does.
    pageset_t pageset = JunkPageSetup(2, 1);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::Illustrations, 4));
    pageset.dims[1].leftMargin = " 7 ";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::Illustrations), 4);
    pageset.dims[1].leftMargin = "7.0";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::Illustrations), -1);

    // Inches through the fraction rules; an empty text is 0.
    pageset = JunkPageSetup(3, 1);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::BusinessCards, 0));
    miry_t& block = pageset.dims[2];
    block.paperWidth = "8.5";
    block.cardWidth = "3-1/2";
    block.leftMargin = "0,5\"";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::BusinessCards), 0);
    block.topMargin = "x";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::BusinessCards), -1);

    pageset = JunkPageSetup(3, 1);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::BusinessCards, 1)); // gaps empty
    pageset.dims[2].rowGap = "0";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::BusinessCards), 1);
}

TEST(RecognizePreset, EntriesDifferingOnlyInTheFoldAreToldApartAndTheLastMatchWins) {
    pageset_t pageset = JunkPageSetup(2, 1);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::GreetingCards, 0)); // column fold
    pageset.dims[1].columnFold = 0;
    pageset.dims[1].rowFold = 1;
    EXPECT_EQ(RecognizePreset(pageset, DesignType::GreetingCards), 2);
    pageset.dims[1].rowFold = 0;
    EXPECT_EQ(RecognizePreset(pageset, DesignType::GreetingCards), -1);
}

TEST(RecognizePreset, OrientedEntriesMatchOnlyUnderTheirOrientationButPostcardsAlsoTransposed) {
    // Business cards: the portrait entry's texts under landscape match nothing.
    pageset_t pageset = JunkPageSetup(2, 1);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::BusinessCards, 1));
    pageset.orientation = 2;
    EXPECT_EQ(RecognizePreset(pageset, DesignType::BusinessCards), -1);

    // Postcards turned by the orientation box still name their entry.
    for (int unit : {2, 3}) {
        for (int32_t index = 0; index < static_cast<int32_t>(PresetList(unit, DesignType::Postcards).size());
             ++index) {
            pageset = JunkPageSetup(unit, 1);
            ASSERT_TRUE(ChoosePreset(pageset, DesignType::Postcards, index));
            ASSERT_TRUE(SwapOrientation(pageset, 3 - pageset.orientation));
            EXPECT_EQ(RecognizePreset(pageset, DesignType::Postcards), index) << unit;
            // The transposed texts under the entry's own orientation are no match.
            pageset.orientation = 3 - pageset.orientation;
            EXPECT_EQ(RecognizePreset(pageset, DesignType::Postcards), -1) << unit;
        }
    }
}

TEST(RecognizePreset, PhotoSizesMatchInEitherOrderAndBannersOnlyAsListed) {
    pageset_t pageset = JunkPageSetup(1, 1);
    pageset.dims[0].paperWidth = "500";
    pageset.dims[0].paperHeight = "350";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::DigitalImages), 1);
    pageset.dims[0].paperWidth = "90";
    pageset.dims[0].paperHeight = "728";
    pageset.orientation = 2;
    EXPECT_EQ(RecognizePreset(pageset, DesignType::DigitalImages), -1);
    pageset.dims[0].paperWidth = "728";
    pageset.dims[0].paperHeight = "90";
    EXPECT_EQ(RecognizePreset(pageset, DesignType::DigitalImages), 3);
    pageset.orientation = 1;
    EXPECT_EQ(RecognizePreset(pageset, DesignType::DigitalImages), -1);
}

TEST(RecognizePreset, TypesWithoutAListAndUnknownUnits) {
    pageset_t pageset = JunkPageSetup(2, 1);
    EXPECT_EQ(RecognizePreset(pageset, DesignType::CdDvdLabels), -1);
    EXPECT_EQ(pageset.dims[1].preset, -1);
    pageset.units = 7;
    EXPECT_EQ(RecognizePreset(pageset, DesignType::BusinessCards), -1);
    EXPECT_EQ(pageset.dims[1].preset, -1); // untouched by the unknown unit
    EXPECT_EQ(pageset.dims[2].preset, 77);
}

// ---- factory page setups ----

TEST(DefaultPageSetup, BusinessCardsHoldTheTenPerPageEntries) {
    const pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 2);
    EXPECT_EQ(pageset.orientation, 1);
    EXPECT_EQ(pageset.units, 2);
    miry_t pixels;
    pixels.preset = 0;
    pixels.paperWidth = "350";
    pixels.paperHeight = "250";
    EXPECT_EQ(pageset.dims[0], pixels);
    const miry_t millimetres{1,   "210", "297", "74", "52", "31", "18", "0", "0",
                             "5", "2",   "0",   "0",  "",   "",   0,    0};
    EXPECT_EQ(pageset.dims[1], millimetres);
    const miry_t inches{1,   "8 1/2", "11", "3 1/2", "2", "3/4", "1/2", "3/4", "3/4",
                        "5", "2",     "",   "",      "",  "",    0,     0};
    EXPECT_EQ(pageset.dims[2], inches);
}

TEST(DefaultPageSetup, EachTypeStartsFromItsEntry) {
    struct Expected {
        int type;
        int mmPreset;
        const char* mmCardHeight;
        int inchPreset;
        const char* inchCardWidth;
        uint8_t rowFold;
    };
    const Expected expected[] = {
        {1, 4, "", 0, "", 0},         {2, 0, "148", 0, "6", 0}, {3, 0, "148", 0, "4 1/4", 0},
        {4, 1, "52", 1, "3 1/2", 0},  {5, 1, "18", 6, "2", 0},  {10, 1, "99", 1, "8 1/2", 1},
        {11, 0, "69", 0, "8 1/2", 1},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.type);
        const pageset_t pageset = DefaultPageSetup(e.type, 3);
        EXPECT_EQ(pageset.units, 3);
        EXPECT_EQ(pageset.orientation, 1);
        EXPECT_EQ(pageset.dims[1].preset, e.mmPreset);
        EXPECT_EQ(pageset.dims[1].cardHeight, e.mmCardHeight);
        EXPECT_EQ(pageset.dims[2].preset, e.inchPreset);
        EXPECT_EQ(pageset.dims[2].cardWidth, e.inchCardWidth);
        EXPECT_EQ(pageset.dims[1].rowFold, e.rowFold);
        EXPECT_EQ(pageset.dims[2].rowFold, e.rowFold);
    }
    // Greeting cards fold between the columns.
    EXPECT_EQ(DefaultPageSetup(3, 2).dims[1].columnFold, 1);
    // Illustrations: A4 and letter with their margins.
    const pageset_t illustrations = DefaultPageSetup(1, 2);
    EXPECT_EQ(illustrations.dims[1].paperWidth, "210");
    EXPECT_EQ(illustrations.dims[1].bottomMargin, "7");
    EXPECT_EQ(illustrations.dims[2].paperWidth, "8 1/2");
    EXPECT_EQ(illustrations.dims[2].leftMargin, "1/4");
    EXPECT_EQ(illustrations.dims[2].rows, "");
}

TEST(DefaultPageSetup, UnofferedTypesAreEmptyAndDigitalImagesAreLandscapePixels) {
    for (int type : {6, 7, 8, 9}) {
        const pageset_t pageset = DefaultPageSetup(type, 2);
        EXPECT_EQ(pageset.dims[1], miry_t{}) << type;
        EXPECT_EQ(pageset.dims[2], miry_t{}) << type;
        EXPECT_EQ(pageset.dims[0].paperWidth, "350");
    }
    EXPECT_EQ(DefaultPageSetup(6, 2).units, 2);
    const pageset_t digital = DefaultPageSetup(9, 2);
    EXPECT_EQ(digital.units, 1);
    EXPECT_EQ(digital.orientation, 2);
    // An unknown preferred unit gives inches.
    EXPECT_EQ(DefaultPageSetup(4, 0).units, 3);
}

TEST(DefaultPageSetup, EveryOfferedFactoryPageAndEveryEntryPassesTheChecks) {
    for (int type = 1; type <= 11; ++type) {
        for (int unit = 1; unit <= 3; ++unit) {
            pageset_t pageset = DefaultPageSetup(type, unit);
            pageset.units = unit;
            const bool empty = type >= 6 && type <= 9 && unit != 1;
            EXPECT_EQ(CheckPageSetup(pageset, type).has_value(), empty) << type << " " << unit;
            for (size_t index = 0; index < PresetList(unit, type).size(); ++index) {
                ASSERT_TRUE(ChoosePreset(pageset, type, static_cast<int32_t>(index)));
                std::optional<PageProblem> problem = CheckPageSetup(pageset, type);
                EXPECT_FALSE(problem) << type << " " << unit << " " << index << ": " << problem->message;
            }
        }
    }
}

} // namespace
} // namespace vlr
