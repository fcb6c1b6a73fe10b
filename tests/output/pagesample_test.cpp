// The page-setup wizard's pictures: where the sample of a page setup lands in its area and which
// of its pixels are cards, folds and margins; the sketches of the type chooser.
#include "output/pagesample.h"

#include "settings/designtype.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vlr {
namespace {

const QSize kArea(300, 400);
const QRgb kGround = qRgb(0, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kSilver = qRgb(192, 192, 192);
const QRgb kWhite = qRgb(255, 255, 255);

struct Texts {
    std::string paperWidth, paperHeight, cardWidth = "", cardHeight = "", left = "", top = "", right = "",
                                         bottom = "", rows = "", columns = "", rowGap = "", columnGap = "";
    bool rowFold = false, columnFold = false;
};

pageset_t PageSetup(int32_t unit, const Texts& texts) {
    pageset_t pageset;
    pageset.units = unit;
    miry_t& block = pageset.dims[unit - 1];
    block.paperWidth = texts.paperWidth;
    block.paperHeight = texts.paperHeight;
    block.cardWidth = texts.cardWidth;
    block.cardHeight = texts.cardHeight;
    block.leftMargin = texts.left;
    block.topMargin = texts.top;
    block.rightMargin = texts.right;
    block.bottomMargin = texts.bottom;
    block.rows = texts.rows;
    block.columns = texts.columns;
    block.rowGap = texts.rowGap;
    block.columnGap = texts.columnGap;
    block.rowFold = texts.rowFold;
    block.columnFold = texts.columnFold;
    return pageset;
}

QImage Painted(int32_t type, const pageset_t& pageset, QPoint scroll = {}) {
    QImage image(kArea, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter painter(&image);
    PaintSample(painter, type, pageset, kArea, scroll);
    return image;
}

// The colours met along a line of pixels.
struct Colours {
    int red = 0, silver = 0, white = 0, other = 0;
};
Colours Along(const QImage& image, QPoint from, QPoint to) {
    Colours run;
    const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
    for (int i = 0; i <= steps; ++i) {
        const QRgb pixel = image.pixel(from + (to - from) * i / steps);
        (pixel == kRed ? run.red : pixel == kSilver ? run.silver : pixel == kWhite ? run.white : run.other)++;
    }
    return run;
}

// A4 paper, 210 x 297 mm, in the 300 x 400 area: f = 0.9 x 300 / 297, the sample 191 x 270
// (210 f = 190.9, 297 f = 270), its corner at ((300 - 191) / 2, (400 - 270) / 2) = (54, 65).
constexpr int kLeft = 54, kTop = 65;

struct PixelCase {
    const char* what;
    QPoint at; // in sample pixels
    QRgb colour;
};

struct SampleCase {
    const char* name;
    int32_t type;
    Texts texts;
    std::vector<PixelCase> pixels;
};

class SamplePixels : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SamplePixels, LandWhereTheHandWorkedGeometryPutsThem) {
    const SampleCase& sample = GetParam();
    const QImage image = Painted(sample.type, PageSetup(2, sample.texts));
    for (const PixelCase& pixel : sample.pixels) {
        EXPECT_EQ(image.pixel(QPoint(kLeft, kTop) + pixel.at), pixel.colour) << pixel.what;
    }
    EXPECT_EQ(image.pixel(10, 10), kGround) << "around the sample";
    EXPECT_NE(image.pixel(kLeft + 190, kTop + 269), kGround) << "the sample's last pixel";
    EXPECT_EQ(image.pixel(kLeft + 191, kTop + 100), kGround) << "right of the sample";
}

// "A8 business cards, 8 per page": cards 74 x 52 from margins 26, 25, gaps 10. In sample pixels
// the margins are 24 and 23, a card 67 x 47, the second column at 24 + nearest(76.4) = 100, the
// second row at 23 + nearest(56.4) = 79.
const SampleCase kBusinessCards{"BusinessCards",
                                DesignType::BusinessCards,
                                {"210", "297", "74", "52", "26", "25", "0", "0", "4", "2", "10", "10"},
                                {{"designed card, left edge", {24, 45}, kRed},
                                 {"designed card, right edge", {91, 45}, kRed},
                                 {"designed card, top edge", {50, 23}, kRed},
                                 {"designed card, bottom edge", {50, 70}, kRed},
                                 {"inside the card", {50, 45}, kWhite},
                                 {"in the column gap", {95, 45}, kWhite},
                                 {"second column, left edge", {100, 45}, kSilver},
                                 {"second column, right edge", {167, 45}, kSilver},
                                 {"second row, top edge", {50, 79}, kSilver},
                                 {"fourth row, bottom edge: 23 + nearest(3 x 56.4) + 47", {50, 239}, kSilver},
                                 {"in the left margin", {10, 45}, kWhite}}};

// Two A6 greeting cards folded down the middle: panels 95 x 135 (105 f = 95.5, 148 f = 134.5);
// the second column touches the first, the second row starts at 135.
const SampleCase kGreetingCards{
    "GreetingCardsWithColumnFold",
    DesignType::GreetingCards,
    {"210", "297", "105", "148", "0", "0", "0", "0", "2", "2", "0", "0", false, true},
    {{"left panel, left edge", {0, 60}, kRed},
     {"right panel, right edge", {190, 60}, kRed},
     {"designed card, bottom edge under the right panel", {150, 135}, kRed},
     {"second card, left edge", {0, 200}, kSilver},
     {"second card, right edge", {190, 200}, kSilver},
     {"inside the right panel", {150, 60}, kWhite}}};

// A4 illustration with 7 mm margins: 6 sample pixels from every edge.
const SampleCase kIllustration{"IllustrationMargins",
                               DesignType::Illustrations,
                               {"210", "297", "", "", "7", "7", "7", "7"},
                               {{"left margin", {6, 150}, kRed},
                                {"right margin", {185, 150}, kRed},
                                {"top margin", {100, 6}, kRed},
                                {"bottom margin", {100, 264}, kRed},
                                {"inside the margins", {100, 150}, kWhite},
                                {"outside the margins", {3, 150}, kWhite}}};

INSTANTIATE_TEST_SUITE_P(PageSample, SamplePixels,
                         ::testing::Values(kBusinessCards, kGreetingCards, kIllustration),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageSample, TheFoldInsideTheDesignedCardIsDottedAndNoGapSeparatesItsPanels) {
    const QImage image = Painted(DesignType::GreetingCards, PageSetup(2, kGreetingCards.texts));
    const Colours fold = Along(image, {kLeft + 95, kTop + 2}, {kLeft + 95, kTop + 133});
    EXPECT_GT(fold.red, 20);
    EXPECT_GT(fold.white, 20);
    EXPECT_EQ(fold.silver, 0);
    // Nothing stands beside the fold: the panels touch.
    EXPECT_EQ(Along(image, {kLeft + 96, kTop + 2}, {kLeft + 96, kTop + 133}).white, 132);
    EXPECT_EQ(Along(image, {kLeft + 94, kTop + 2}, {kLeft + 94, kTop + 133}).white, 132);
    // The edge between the two cards is solid, red but where the second card's edge meets it.
    const Colours edge = Along(image, {kLeft + 1, kTop + 135}, {kLeft + 189, kTop + 135});
    EXPECT_EQ(edge.white, 0);
    EXPECT_GE(edge.red, 188);
}

// A tri-fold brochure with 10 mm margins: margins 9 sample pixels, panels 90 high from the top
// margin, so folds at 99 and 189; the margin rectangle and the folds dotted silver, the folds
// cut at the margins.
TEST(PageSample, BrochureFoldsAndMarginsAreDottedSilverInsideTheMargins) {
    const QImage image = Painted(
        DesignType::Brochures,
        PageSetup(2, {"210", "297", "210", "99", "10", "10", "10", "10", "3", "1", "", "", true, false}));
    for (int y : {99, 189}) {
        const Colours fold = Along(image, {kLeft + 10, kTop + y}, {kLeft + 181, kTop + y});
        EXPECT_GT(fold.silver, 30) << y;
        EXPECT_GT(fold.white, 30) << y;
        EXPECT_EQ(fold.red, 0) << y;
        EXPECT_EQ(image.pixel(kLeft + 186, kTop + y), kWhite) << "beyond the right margin at " << y;
    }
    for (const auto& [from, to] : {std::pair{QPoint(9, 20), QPoint(9, 250)},
                                   {QPoint(182, 20), QPoint(182, 250)},
                                   {QPoint(20, 9), QPoint(170, 9)},
                                   {QPoint(20, 261), QPoint(170, 261)}}) {
        const Colours margin = Along(image, QPoint(kLeft, kTop) + from, QPoint(kLeft, kTop) + to);
        EXPECT_GT(margin.silver, 30);
        EXPECT_GT(margin.white, 30);
    }
    EXPECT_EQ(Along(image, {kLeft + 20, kTop + 40}, {kLeft + 170, kTop + 40}).white, 151) << "between folds";
}

TEST(PageSample, SizeFromThePaperScaledToTheArea) {
    // Letter in inches, 215.9 x 279.4 mm: f = 270 / 279, 0.9 of the area's smaller side high.
    SampleLayout letter = LayoutSample(PageSetup(3, {"8 1/2", "11"}), kArea);
    EXPECT_TRUE(letter.shown);
    EXPECT_FALSE(letter.actualSize);
    EXPECT_EQ(letter.size, QSize(209, 270));
    EXPECT_DOUBLE_EQ(letter.scale, 270.0 / 279.0);
    // Lying A4 in a wide area: the height of the area limits.
    EXPECT_EQ(LayoutSample(PageSetup(2, {"297", "210"}), QSize(600, 200)).size, QSize(180, 127));
    // Pixels are drawn at their own size.
    SampleLayout banner = LayoutSample(PageSetup(1, {"728", "90"}), kArea);
    EXPECT_TRUE(banner.actualSize);
    EXPECT_EQ(banner.size, QSize(728, 90));
    // Nothing for a paper that does not read, is empty or rounds to nothing.
    for (const pageset_t& pageset :
         {PageSetup(2, {"", "297"}), PageSetup(2, {"x", "297"}), PageSetup(2, {"0.4", "0.3"}),
          PageSetup(1, {"728", "9.5"}), PageSetup(1, {"0", "90"}), PageSetup(3, {"-8", "-11"})}) {
        EXPECT_FALSE(LayoutSample(pageset, kArea).shown) << pageset.dims[pageset.units - 1].paperWidth;
    }
}

TEST(PageSample, APixelSampleLargerThanTheAreaPaintsOnlyWhatTheAreaShowsAtTheScrollPosition) {
    // 728 x 90: wider than the area, so it starts at -scroll; centred vertically at 155.
    const pageset_t banner = PageSetup(1, {"728", "90"});
    for (QPoint scroll : {QPoint(0, 0), QPoint(428, 0), QPoint(5000, 0)}) {
        const QImage image = Painted(DesignType::DigitalImages, banner, scroll);
        EXPECT_EQ(image.pixel(299, 200), kWhite);
        EXPECT_EQ(image.pixel(0, 200), kWhite);
        EXPECT_EQ(image.pixel(150, 154), kGround);
        EXPECT_EQ(image.pixel(150, 245), kGround);
    }
    // A typed 100000 x 100000 fills the area and no more.
    const QImage huge =
        Painted(DesignType::DigitalImages, PageSetup(1, {"100000", "100000"}), {50000, 99700});
    EXPECT_EQ(huge.pixel(0, 0), kWhite);
    EXPECT_EQ(huge.pixel(299, 399), kWhite);
}

TEST(PageSample, RowsAndColumnsDrawnAreCapped) {
    // Labels of a hundredth of a millimetre, 100000 of them each way.
    const pageset_t tiny =
        PageSetup(2, {"210", "297", "0.01", "0.01", "0", "0", "0", "0", "100000", "100000", "0", "0"});
    const SampleLayout layout = LayoutSample(tiny, kArea);
    const std::vector<SampleStroke> strokes = SampleStrokes(DesignType::Labels, tiny, layout);
    EXPECT_LE(strokes.size(), size_t(4 * kMostSampleRowsOrColumns * kMostSampleRowsOrColumns));
    // Cards of 100 mm on A4: only the three rows and columns that start on the sample are drawn,
    // each card with at most four edges.
    const pageset_t large =
        PageSetup(2, {"210", "297", "100", "100", "0", "0", "0", "0", "1000", "1000", "0", "0"});
    const std::vector<SampleStroke> few =
        SampleStrokes(DesignType::Labels, large, LayoutSample(large, kArea));
    EXPECT_LE(few.size(), 36u);
    EXPECT_GE(few.size(), 9u);
    for (const SampleStroke& stroke : few) {
        for (QPoint end : {stroke.line.p1(), stroke.line.p2()}) {
            EXPECT_GE(end.x(), -1);
            EXPECT_LE(end.x(), 191);
            EXPECT_GE(end.y(), -1);
            EXPECT_LE(end.y(), 270);
        }
    }
}

TEST(TypeSketch, SketchesFollowTheirDrawings) {
    struct Check {
        int32_t type;
        QPoint at;
        bool grey;
    };
    const Check checks[] = {
        {DesignType::Illustrations, {10, 100}, true},   {DesignType::Illustrations, {90, 100}, false},
        {DesignType::Postcards, {90, 125}, false},      {DesignType::Postcards, {90, 135}, true},
        {DesignType::BusinessCards, {95, 60}, true},    {DesignType::BusinessCards, {60, 55}, false},
        {DesignType::Labels, {130, 100}, true},         {DesignType::Labels, {100, 58}, true},
        {DesignType::Labels, {100, 70}, false},         {DesignType::Brochures, {0, 87}, true},
        {DesignType::Brochures, {100, 100}, false},     {DesignType::TentCards, {90, 0}, true},
        {DesignType::TentCards, {90, 259}, true},       {DesignType::JewelCaseInserts, {33, 200}, true},
        {DesignType::JewelCaseInserts, {0, 240}, true}, {DesignType::CdDvdLabels, {65, 25}, true},
        {DesignType::CdDvdLabels, {65, 75}, false},     {DesignType::DvdCaseInserts, {10, 200}, true},
    };
    for (const Check& check : checks) {
        QImage image(kSketchWidth, kSketchHeight, QImage::Format_RGB32);
        image.fill(kGround);
        QPainter painter(&image);
        DrawTypeSketch(painter, check.type);
        painter.end();
        EXPECT_EQ(image.pixel(check.at), check.grey ? qRgb(128, 128, 128) : kWhite)
            << check.type << " at " << check.at.x() << "," << check.at.y();
        EXPECT_NE(image.pixel(179, 259), kGround) << "white ground over the whole sketch";
    }
}

} // namespace
} // namespace vlr
