// The rulers without a window: ticks and labels per unit and zoom, the strip that follows the
// scrolling, the page-edge drags and the tooltip's lengths.
#include "canvas/rulers.h"

#include <gtest/gtest.h>

#include <map>

namespace vlr {
namespace {

// The tallest tick at each position: where series meet, that is the one seen.
std::map<int32_t, int32_t> Tallest(const RulerScale& scale) {
    std::map<int32_t, int32_t> tallest;
    for (const RulerTick& tick : scale.ticks) {
        tallest[tick.position] = std::max(tallest[tick.position], tick.height);
    }
    return tallest;
}

int32_t TickAt(const RulerScale& scale, int32_t position) {
    auto tallest = Tallest(scale);
    auto found = tallest.find(position);
    return found == tallest.end() ? 0 : found->second;
}

constexpr double kPxPerMm = 96.0 / 25.4;

TEST(RulerScale, TicksAndLabelsFollowTheUnitAndTheZoom) {
    struct Case {
        const char* what;
        int32_t units;
        double zoom, perUnit;
        std::map<int32_t, int32_t> ticks; // position -> tallest height; 0 = no tick
        std::vector<RulerLabel> labels;
    };
    const Case cases[] = {
        {"pixels 100%",
         1,
         1.0,
         1.0,
         {{5, 0}, {10, 1}, {50, 1}, {100, 11}, {200, 11}},
         {{100, 100}, {200, 200}}},
        {"pixels 200%", 1, 2.0, 1.0, {{10, 1}, {20, 1}, {200, 11}}, {{200, 100}, {400, 200}}},
        {"pixels 20%", 1, 0.2, 1.0, {{2, 0}, {4, 1}, {20, 11}}, {{20, 100}, {40, 200}, {60, 300}}},
        // 10 mm = nearest(37.8) = 38 pixels; quarters of 9.5 round to even: 10, 19, 28.
        {"mm 100%", 2, 1.0, kPxPerMm, {{10, 1}, {19, 4}, {28, 1}, {38, 11}, {57, 4}}, {{38, 10}, {76, 20}}},
        {"mm 25%", 2, 0.25, kPxPerMm, {{9, 11}, {4, 4}, {2, 1}}, {}},
        {"inches 100%", 3, 1.0, 96.0, {{6, 0}, {12, 1}, {24, 4}, {48, 8}, {96, 11}}, {{96, 1}}},
        {"inches 200%", 3, 2.0, 96.0, {{6, 0}, {12, 1}, {48, 4}, {96, 8}, {192, 11}}, {{192, 1}}},
        {"inches 300%", 3, 3.0, 96.0, {{9, 1}, {18, 1}, {72, 4}, {288, 11}}, {{288, 1}}},
        {"inches 25%", 3, 0.25, 96.0, {{12, 0}, {24, 11}}, {{24, 1}, {48, 2}, {72, 3}}},
        {"inches 12.5%", 3, 0.125, 96.0, {{12, 11}}, {}},
    };
    for (const Case& each : cases) {
        RulerScale scale = ComputeRulerScale(each.units, each.zoom, each.perUnit, 0, 420);
        for (auto [position, height] : each.ticks) {
            EXPECT_EQ(TickAt(scale, position), height) << each.what << " at " << position;
        }
        ASSERT_GE(scale.labels.size(), each.labels.size()) << each.what;
        EXPECT_EQ(std::vector<RulerLabel>(scale.labels.begin(), scale.labels.begin() + each.labels.size()),
                  each.labels)
            << each.what;
        if (each.labels.empty()) {
            EXPECT_TRUE(scale.labels.empty()) << each.what;
        }
        EXPECT_EQ(TickAt(scale, 0), 0) << each.what << ": the page's start carries no tick";
    }
}

TEST(RulerScale, AStripFurtherAlongTheLongPageCountsOnFromItsStart) {
    // Pixels at 100 %: the strip covers page pixels 1030 ... 1629.
    RulerScale scale = ComputeRulerScale(1, 1.0, 1.0, 1030, 600);
    EXPECT_EQ(scale.labels.front(), (RulerLabel{70, 1100}));
    EXPECT_EQ(scale.labels.back(), (RulerLabel{570, 1600}));
    EXPECT_EQ(TickAt(scale, 10), 1); // page pixel 1040
    EXPECT_EQ(TickAt(scale, 5), 0);
    for (const RulerTick& tick : scale.ticks) {
        EXPECT_GE(tick.position, 0);
        EXPECT_LT(tick.position, 600);
    }
}

TEST(RulerStrip, CoversTheViewportsPartOfThePageAtEveryScrollPositionWithoutDividingByZero) {
    EXPECT_EQ(RulerStripLength(600, 300), 600);
    EXPECT_EQ(RulerStripLength(600, 1000), 1000);
    EXPECT_EQ(RulerStripLength(600, 4000), 1600);
    EXPECT_EQ(RulerStripLength(2000, 4000), 2000); // a wide window gets a whole ruler
    EXPECT_EQ(RulerOffset(600, 4000, 1520, 20), 1000);
    EXPECT_EQ(RulerOffset(600, 4000, 3420, 20), 2400);
    EXPECT_EQ(RulerOffset(600, 300, 50, 20), 0);
    for (int32_t viewport : {600, 1599, 1600, 1601, 2400}) {
        const int64_t page = 5000, start = 20;
        const int32_t length = RulerStripLength(viewport, page);
        for (int64_t scroll = 0; scroll <= page + start - viewport + 40; scroll += 37) {
            const int32_t offset = RulerOffset(viewport, page, scroll, start);
            const int64_t from = std::max<int64_t>(0, scroll - start);
            const int64_t to = std::min<int64_t>(page, scroll - start + viewport);
            EXPECT_LE(offset, from) << viewport << " " << scroll;
            EXPECT_GE(offset + length, to) << viewport << " " << scroll;
        }
    }
}

TEST(RulerStrip, TheRulerIsLightYellowExactlyOverThePage) {
    QImage strip = DrawRulerStrip(ComputeRulerScale(1, 1.0, 1.0, 0, 200), 200, true, RulerLabelFont());
    EXPECT_EQ(strip.pixel(100, kRulerThickness - 11), qRgb(80, 80, 80)); // the 11-high major tick
    EXPECT_EQ(strip.pixel(100, 0), qRgb(255, 255, 225));
    QImage ruler = ComposeRuler(strip, 300, 40, 40, 140, true);
    EXPECT_EQ(ruler.pixel(39, 2), qRgb(192, 192, 192));
    EXPECT_EQ(ruler.pixel(40, 2), qRgb(255, 255, 225));
    EXPECT_EQ(ruler.pixel(139, 2), qRgb(255, 255, 225));
    EXPECT_EQ(ruler.pixel(140, 2), qRgb(192, 192, 192));
    // The left ruler's ticks run from its right edge.
    QImage left = DrawRulerStrip(ComputeRulerScale(1, 1.0, 1.0, 0, 200), 200, false, RulerLabelFont());
    EXPECT_EQ(left.pixel(kRulerThickness - 1, 10), qRgb(80, 80, 80));
    EXPECT_EQ(left.pixel(kRulerThickness - 2, 10), qRgb(255, 255, 225));
}

TEST(RulerDrag, ThePagesEdgesAnswerWithinFivePixelsAndAPageKeepsFive) {
    struct Case {
        int64_t pointer;
        PageEdge edge;
    };
    for (Case each : {Case{124, PageEdge::End}, Case{116, PageEdge::End}, Case{125, PageEdge::None},
                      Case{24, PageEdge::Start}, Case{16, PageEdge::Start}, Case{15, PageEdge::None},
                      Case{70, PageEdge::None}}) {
        EXPECT_EQ(PageEdgeNear(each.pointer, 20, 100), each.edge) << each.pointer;
    }
    EXPECT_EQ(PageEdgeNear(22, 20, 3), PageEdge::End);
    EXPECT_EQ(DraggedPageExtent(100, 50), 150);
    EXPECT_EQ(DraggedPageExtent(100, -96), 5);
    EXPECT_EQ(DraggedPageExtent(100, -5000), 5);
}

TEST(RulerDrag, TheTooltipWritesLengthsInTheDesignsUnit) {
    struct Case {
        double value;
        int32_t units;
        const char* text;
    };
    const Case cases[] = {
        {0.00005, 1, "None"},       {1.0, 1, "1 Pixel"},    {250.4, 1, "250 Pixels"}, {5.0, 1, "5 Pixels"},
        {25.4, 2, "25 mm"},         {1.0, 2, "1 mm"},       {1.0, 3, "1 Inch"},       {2.5, 3, "2.5 Inches"},
        {8.1234, 3, "8.12 Inches"}, {0.5, 3, "0.5 Inches"}, {3.0, 3, "3 Inches"},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(FormatLength(each.value, each.units), each.text) << each.value;
    }
    EXPECT_EQ(FormatLength(2.5, 3, ','), "2,5 Inches");
}

} // namespace
} // namespace vlr
