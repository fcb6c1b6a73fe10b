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
const QRgb kGround = qRgb(0, 0, 255), kRed = qRgb(255, 0, 0), kSilver = qRgb(192, 192, 192);
const QRgb kWhite = qRgb(255, 255, 255);

// Paper, card, margins (left, top, right, bottom), rows, columns, gaps (row, column).
pageset_t PageSetup(int32_t unit, std::vector<std::string> texts, bool rowFold = false,
                    bool columnFold = false) {
    texts.resize(12);
    pageset_t pageset;
    pageset.units = unit;
    miry_t& block = pageset.dims[unit - 1];
    for (int field = 0; field < 12; ++field) {
        FieldText(block, static_cast<PageField>(field)) = texts[field];
    }
    block.rowFold = rowFold;
    block.columnFold = columnFold;
    return pageset;
}

QImage Painted(int32_t type, const pageset_t& pageset, QPoint scroll = {}) {
    QImage image(kArea, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter painter(&image);
    PaintSample(painter, type, pageset, kArea, scroll);
    return image;
}

// A4 in the 300 x 400 area: f = 0.9 x 300 / 297, the sample 191 x 270 (210 f = 190.9,
// 297 f = 270) with its corner at ((300 - 191) / 2, (400 - 270) / 2).
const QPoint kCorner(54, 65);

// What a run of sample pixels from one point to another shows.
enum class Shows { Solid, Dotted, White };
struct Probe {
    const char* what;
    QPoint from, to;
    Shows shows;
    QRgb colour = kWhite;
};

void Check(const QImage& image, const Probe& probe) {
    int colour = 0, white = 0, other = 0;
    const QPoint step = probe.to - probe.from;
    const int count = std::max(std::abs(step.x()), std::abs(step.y()));
    for (int i = 0; i <= count; ++i) {
        const QRgb pixel = image.pixel(kCorner + probe.from + (count ? step * i / count : QPoint()));
        (pixel == kWhite ? white : pixel == probe.colour ? colour : other)++;
    }
    switch (probe.shows) {
    case Shows::Solid:
        EXPECT_EQ(colour, count + 1) << probe.what;
        break;
    case Shows::Dotted:
        EXPECT_GT(colour, count / 4) << probe.what;
        EXPECT_GT(white, count / 4) << probe.what;
        EXPECT_EQ(other, 0) << probe.what;
        break;
    case Shows::White:
        EXPECT_EQ(white, count + 1) << probe.what;
        break;
    }
}

struct SampleCase {
    const char* name;
    int32_t type;
    pageset_t pageset;
    std::vector<Probe> probes;
};

class SamplePixels : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SamplePixels, LandWhereTheHandWorkedGeometryPutsThem) {
    const QImage image = Painted(GetParam().type, GetParam().pageset);
    for (const Probe& probe : GetParam().probes) {
        Check(image, probe);
    }
    EXPECT_EQ(image.pixel(10, 10), kGround) << "around the sample";
    EXPECT_EQ(image.pixel(kCorner + QPoint(191, 100)), kGround) << "right of the sample";
}

INSTANTIATE_TEST_SUITE_P(
    PageSample, SamplePixels,
    ::testing::Values(
        // "A8 business cards, 8 per page": cards 74 x 52 from margins 26, 25, gaps 10. In sample
        // pixels the margins are 24 and 23, a card 67 x 47, the second column at
        // 24 + nearest(76.4) = 100, the second row at 23 + nearest(56.4) = 79, the fourth row's
        // bottom at 23 + nearest(3 x 56.4) + 47 = 239.
        SampleCase{"BusinessCards",
                   DesignType::BusinessCards,
                   PageSetup(2, {"210", "297", "74", "52", "26", "25", "0", "0", "4", "2", "10", "10"}),
                   {{"designed card, left edge", {24, 23}, {24, 70}, Shows::Solid, kRed},
                    {"designed card, right edge", {91, 23}, {91, 70}, Shows::Solid, kRed},
                    {"designed card, top", {24, 23}, {91, 23}, Shows::Solid, kRed},
                    {"designed card, bottom", {24, 70}, {91, 70}, Shows::Solid, kRed},
                    {"inside the card", {25, 45}, {90, 45}, Shows::White},
                    {"in the column gap", {92, 45}, {99, 45}, Shows::White},
                    {"second column", {100, 30}, {100, 60}, Shows::Solid, kSilver},
                    {"second row", {30, 79}, {85, 79}, Shows::Solid, kSilver},
                    {"fourth row, bottom", {30, 239}, {85, 239}, Shows::Solid, kSilver},
                    {"the margin", {10, 10}, {10, 260}, Shows::White}}},
        // Two A6 greeting cards folded down the middle: panels 95 x 135 (105 f = 95.5,
        // 148 f = 134.5); the right panel touches the left one (the 5 mm column gap falls only
        // between folded pairs), the fold between them is dotted, the second card starts at 135.
        SampleCase{
            "GreetingCardsWithColumnFold",
            DesignType::GreetingCards,
            PageSetup(2, {"210", "297", "105", "148", "0", "0", "0", "0", "2", "2", "0", "5"}, false, true),
            {{"the fold", {95, 2}, {95, 133}, Shows::Dotted, kRed},
             {"no gap beside the fold", {94, 2}, {94, 133}, Shows::White},
             {"no gap beside the fold", {96, 2}, {96, 133}, Shows::White},
             {"designed card, right edge", {190, 0}, {190, 135}, Shows::Solid, kRed},
             {"designed card, bottom", {0, 135}, {190, 135}, Shows::Solid, kRed},
             {"second card, left edge", {0, 136}, {0, 269}, Shows::Solid, kSilver},
             {"second card, no fold line", {95, 137}, {95, 268}, Shows::Solid, kSilver}}},
        // An A4 illustration with 7 mm margins: 6 sample pixels from every edge.
        SampleCase{"IllustrationMargins",
                   DesignType::Illustrations,
                   PageSetup(2, {"210", "297", "", "", "7", "7", "7", "7"}),
                   {{"left margin", {6, 40}, {6, 269}, Shows::Solid, kRed},
                    {"right margin", {185, 0}, {185, 269}, Shows::Solid, kRed},
                    {"top margin", {100, 6}, {190, 6}, Shows::Solid, kRed},
                    {"bottom margin", {0, 264}, {190, 264}, Shows::Solid, kRed},
                    {"inside the margins", {7, 150}, {184, 150}, Shows::White},
                    {"outside the margins", {0, 150}, {5, 150}, Shows::White}}},
        // A tri-fold brochure with 10 mm margins: margins at 9 sample pixels, panels 90 high from
        // the top margin, so folds at 99 and 189, cut at the margins.
        SampleCase{"BrochureFoldsAndMargins",
                   DesignType::Brochures,
                   PageSetup(2, {"210", "297", "210", "99", "10", "10", "10", "10", "3", "1"}, true, false),
                   {{"first fold", {10, 99}, {181, 99}, Shows::Dotted, kSilver},
                    {"second fold", {10, 189}, {181, 189}, Shows::Dotted, kSilver},
                    {"folds end at the right margin", {184, 99}, {190, 99}, Shows::White},
                    {"left margin", {9, 20}, {9, 250}, Shows::Dotted, kSilver},
                    {"right margin", {182, 20}, {182, 250}, Shows::Dotted, kSilver},
                    {"bottom margin", {20, 261}, {170, 261}, Shows::Dotted, kSilver},
                    {"between the folds", {20, 40}, {170, 40}, Shows::White}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageSample, SizeFromThePaperScaledToTheArea) {
    // Letter in inches, 215.9 x 279.4 mm: f = 270 / 279, 0.9 of the area's smaller side high.
    const SampleLayout letter = LayoutSample(PageSetup(3, {"8 1/2", "11"}), kArea);
    EXPECT_TRUE(letter.shown && !letter.actualSize);
    EXPECT_EQ(letter.size, QSize(209, 270));
    EXPECT_DOUBLE_EQ(letter.scale, 270.0 / 279.0);
    // Lying A4 in a wide area: the height of the area limits.
    EXPECT_EQ(LayoutSample(PageSetup(2, {"297", "210"}), QSize(600, 200)).size, QSize(180, 127));
    EXPECT_EQ(LayoutSample(PageSetup(1, {"728", "90"}), kArea).size, QSize(728, 90));
    // Nothing for a paper that does not read, is empty or rounds to nothing.
    for (const pageset_t& pageset :
         {PageSetup(2, {"", "297"}), PageSetup(2, {"x", "297"}), PageSetup(2, {"0.4", "0.3"}),
          PageSetup(1, {"728", "9.5"}), PageSetup(1, {"0", "90"}), PageSetup(3, {"-8", "11"})}) {
        EXPECT_FALSE(LayoutSample(pageset, kArea).shown);
    }
}

TEST(PageSample, APixelSampleLargerThanTheAreaPaintsOnlyWhatTheAreaShowsAtTheScrollPosition) {
    // 728 x 90: wider than the area, so it starts at -scroll; centred vertically at 155.
    for (QPoint scroll : {QPoint(0, 0), QPoint(428, 0), QPoint(5000, 0)}) {
        const QImage image = Painted(DesignType::DigitalImages, PageSetup(1, {"728", "90"}), scroll);
        EXPECT_EQ(image.pixel(0, 200), kWhite);
        EXPECT_EQ(image.pixel(299, 200), kWhite);
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
    // 100000 labels each way of a hundredth of a millimetre: without a cap this would not end.
    const pageset_t tiny =
        PageSetup(2, {"210", "297", "0.01", "0.01", "0", "0", "0", "0", "100000", "100000"});
    EXPECT_LE(SampleStrokes(DesignType::Labels, tiny, LayoutSample(tiny, kArea)).size(),
              size_t(4 * kMostSampleRowsOrColumns * kMostSampleRowsOrColumns));
    // Cards of 100 mm on A4: only the three rows and columns that start on the sample are drawn.
    const pageset_t large = PageSetup(2, {"210", "297", "100", "100", "0", "0", "0", "0", "1000", "1000"});
    const std::vector<SampleStroke> few =
        SampleStrokes(DesignType::Labels, large, LayoutSample(large, kArea));
    EXPECT_LE(few.size(), 36u);
    for (const SampleStroke& stroke : few) {
        EXPECT_TRUE(QRect(-1, -1, 193, 272).contains(stroke.line.p2()));
    }
}

TEST(TypeSketch, SketchesFollowTheirDrawings) {
    struct Pixel {
        int32_t type;
        QPoint at;
        bool grey;
    };
    using namespace DesignType;
    for (const Pixel& pixel : {Pixel{Illustrations, {10, 100}, true},
                               {Illustrations, {90, 100}, false},
                               {Postcards, {90, 125}, false},
                               {Postcards, {90, 135}, true},
                               {BusinessCards, {95, 60}, true},
                               {BusinessCards, {60, 55}, false},
                               {Labels, {130, 100}, true},
                               {Labels, {100, 58}, true},
                               {Labels, {100, 70}, false},
                               {Brochures, {0, 87}, true},
                               {TentCards, {90, 259}, true},
                               {JewelCaseInserts, {33, 200}, true},
                               {JewelCaseInserts, {0, 240}, true},
                               {CdDvdLabels, {65, 75}, false},
                               {DvdCaseInserts, {10, 200}, true}}) {
        QImage image(kSketchWidth, kSketchHeight, QImage::Format_RGB32);
        image.fill(kGround);
        QPainter painter(&image);
        DrawTypeSketch(painter, pixel.type);
        painter.end();
        EXPECT_EQ(image.pixel(pixel.at), pixel.grey ? qRgb(128, 128, 128) : kWhite) << pixel.type;
        EXPECT_NE(image.pixel(179, 259), kGround) << "the white ground fills the sketch";
    }
}

} // namespace
} // namespace vlr
