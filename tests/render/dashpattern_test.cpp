// Dash patterns in device pixels, the walk along a line and the dash quadrilaterals, checked
// against lengths and corners worked out by hand.
#include "render/dashpattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace vlr {
namespace {

const ScreenResolution kScreen96; // 3.7795 pixels per millimetre

DashPattern Pattern(std::vector<int32_t> lengths) {
    DashPattern pattern;
    pattern.count = static_cast<int32_t>(lengths.size());
    std::copy(lengths.begin(), lengths.end(), pattern.lengths.begin());
    return pattern;
}

std::vector<int32_t> Lengths(const DashPattern& pattern) {
    return {pattern.lengths.begin(), pattern.lengths.begin() + pattern.count};
}

constexpr int32_t kSolidLength = std::numeric_limits<int32_t>::max();

TEST(DashUnit, IsTheWeightInWholePixelsTimesTheZoom) {
    EXPECT_EQ(DashUnit(0.4, 0.0, kScreen96), 0); // round(0.4 x 1): a thin line far zoomed out
    EXPECT_EQ(DashUnit(1.0, 0.0, kScreen96), 1); // weight 0 still counts as one pixel
    EXPECT_EQ(DashUnit(2.0, 0.0, kScreen96), 2);
    EXPECT_EQ(DashUnit(1.0, 0.5, kScreen96), 2);   // round(1.89)
    EXPECT_EQ(DashUnit(1.0, 0.8, kScreen96), 3);   // round(3.02)
    EXPECT_EQ(DashUnit(6.25, 1.0, kScreen96), 25); // 4 pixels at 600 dpi
    EXPECT_EQ(DashUnit(1.0, std::nan(""), kScreen96), 1);
    EXPECT_EQ(DashUnit(-3.0, 1.0, kScreen96), 0);
}

TEST(StandardDashPattern, LengthsForEachUnit) {
    using V = std::vector<int32_t>;
    // "Dot": dash max(u, 1), gap max(2u, 1).
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dot, 0)), (V{1, 1}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dot, 1)), (V{1, 2}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dot, 3)), (V{3, 6}));
    // "Dash": 6u when above 4 (else 6), gap max(2u, 2).
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dash, 0)), (V{6, 2}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dash, 1)), (V{6, 2}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dash, 2)), (V{12, 4}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dash, 3)), (V{18, 6}));
    // "Center": long dash, gap 2u when above 2 (else 3), short dash max(2u, 2), gap.
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Center, 0)), (V{6, 3, 2, 3}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Center, 1)), (V{6, 3, 2, 3}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Center, 2)), (V{12, 4, 4, 4}));
    // "Phantom": one long and two short dashes.
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Phantom, 3)), (V{18, 6, 6, 6, 6, 6}));
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Phantom, 0)), (V{6, 3, 2, 3, 2, 3}));
    // "Solid" and every style the list does not know: one endless dash.
    for (int32_t style : {0, 5, 99, -1, std::numeric_limits<int32_t>::min()}) {
        EXPECT_EQ(Lengths(StandardDashPattern(style, 2)), (V{kSolidLength})) << style;
    }
    // A unit no line weight can give still yields lengths within range.
    EXPECT_EQ(Lengths(StandardDashPattern(DashStyle::Dash, std::numeric_limits<int32_t>::max())),
              (V{kSolidLength, kSolidLength}));
}

// A design holding a header-less list of pattern definitions and one line.
struct PatternDesign {
    ItemList design;
    ItemRecord* line = nullptr;

    ItemRecord* AddDefinition(int32_t kind, int32_t count, std::vector<double> millimetres) {
        ItemRecord* record = CreateRecord(design, kind);
        record->recordClass = RecordClass::LinePattern;
        record->segmentCount = count;
        for (size_t i = 0; i < millimetres.size(); ++i) {
            record->segmentLengths[i] = millimetres[i];
        }
        return record;
    }
    PatternDesign() { line = CreateRecord(design, ItemKind::Line); }
};

TEST(BuildDashPattern, CustomPatternKeepsItsPixelsPerDesignPixelAtEveryZoom) {
    PatternDesign d;
    d.AddDefinition(-1, 2, {2.0, 1.0});
    d.line->dashPattern = -1;
    using V = std::vector<int32_t>;
    // 2 mm = round(7.559) = 8 pixels, 1 mm = round(3.78) = 4, at 96 dpi; each doubled at zoom 2.
    EXPECT_EQ(Lengths(BuildDashPattern(d.design, *d.line, 1.0)), (V{8, 4}));
    EXPECT_EQ(Lengths(BuildDashPattern(d.design, *d.line, 2.0)), (V{16, 8}));
    // At 600 dpi (6.25 device pixels per design pixel) 8 x 6.25 = 50 and 4 x 6.25 = 25.
    EXPECT_EQ(Lengths(BuildDashPattern(d.design, *d.line, 6.25)), (V{50, 25}));
    // The line weight plays no part.
    d.line->lineWeight = 3.0;
    EXPECT_EQ(Lengths(BuildDashPattern(d.design, *d.line, 1.0)), (V{8, 4}));
}

TEST(BuildDashPattern, MissingOrEmptyDefinitionsDrawSolid) {
    PatternDesign d;
    d.AddDefinition(-1, 2, {2.0, 1.0});
    d.line->dashPattern = -5; // no definition -5 in this design
    EXPECT_EQ(BuildDashPattern(d.design, *d.line, 1.0).count, 1);
    d.AddDefinition(-5, 0, {2.0, 1.0}); // a count of 0 has nothing to repeat
    EXPECT_EQ(BuildDashPattern(d.design, *d.line, 1.0).count, 1);
    d.AddDefinition(-6, -4, {2.0, 1.0});
    d.line->dashPattern = -6;
    EXPECT_EQ(BuildDashPattern(d.design, *d.line, 1.0).count, 1);
    // A definition that happens to carry kind 0 does not turn "Solid" lines into dashes.
    d.AddDefinition(0, 2, {2.0, 1.0});
    d.line->dashPattern = 0;
    EXPECT_EQ(BuildDashPattern(d.design, *d.line, 1.0).count, 1);
    // Built-in styles never look at definitions.
    d.AddDefinition(2, 2, {5.0, 5.0});
    d.line->dashPattern = 2;
    EXPECT_EQ(Lengths(BuildDashPattern(d.design, *d.line, 1.0)), (std::vector<int32_t>{6, 2}));
}

TEST(BuildDashPattern, FirstDefinitionOfTheKindCountsAndLengthsAreKeptInRange) {
    PatternDesign d;
    d.AddDefinition(-2, 2, {1.0, 1.0});
    d.AddDefinition(-2, 2, {3.0, 3.0});
    d.line->dashPattern = -2;
    EXPECT_EQ(Lengths(BuildDashPattern(d.design, *d.line, 1.0)), (std::vector<int32_t>{4, 4}));

    // More than twelve entries: the first twelve. Lengths that round to nothing, negative,
    // not a number or enormous: at least one pixel, at most the largest int.
    d.AddDefinition(-3, 40, {0.1, -2.0, std::nan(""), 1e300, 0.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0});
    d.line->dashPattern = -3;
    const DashPattern pattern = BuildDashPattern(d.design, *d.line, 0.25);
    ASSERT_EQ(pattern.count, 12);
    // 0.1 mm = round(0.378) = 0 pixels, x 0.25 = 0, raised to 1.
    EXPECT_EQ(pattern.lengths[0], 1);
    EXPECT_EQ(pattern.lengths[1], 1);
    EXPECT_EQ(pattern.lengths[2], 1);
    EXPECT_EQ(pattern.lengths[3], 536870912); // the largest int, then a quarter of it
    EXPECT_EQ(pattern.lengths[4], 1);
    EXPECT_EQ(pattern.lengths[5], 2); // 8 pixels at a quarter
}

TEST(DashSegments, SolidIsOneDashWhateverTheLength) {
    const DashPattern solid = StandardDashPattern(DashStyle::Solid, 1);
    EXPECT_EQ(DashSegments({3, 4}, {90, 4}, 0.0, solid), (std::vector<DashSegment>{{{3, 4}, {90, 4}}}));
    const Point far1{-2'000'000'000, 7}, far2{2'000'000'000, 7};
    EXPECT_EQ(DashSegments(far1, far2, 0.0, solid), (std::vector<DashSegment>{{far1, far2}}));
    // A pattern of one entry has no gaps: solid as well.
    EXPECT_EQ(DashSegments({0, 0}, {50, 0}, 0.0, Pattern({3})).size(), 1u);
}

TEST(DashSegments, DashesFollowTheRunningLengthAndTheLastEndsOnTheEnd) {
    // Dash 6, gap 2 along 20 pixels: 0-6, 8-14, 16-22 cut to 20.
    EXPECT_EQ(DashSegments({0, 0}, {20, 0}, 0.0, Pattern({6, 2})),
              (std::vector<DashSegment>{{{0, 0}, {6, 0}}, {{8, 0}, {14, 0}}, {{16, 0}, {20, 0}}}));
    // Upwards on the screen (direction pi/2): y decreases.
    EXPECT_EQ(DashSegments({5, 30}, {5, 10}, kPi / 2.0, Pattern({4, 4})),
              (std::vector<DashSegment>{{{5, 30}, {5, 26}}, {{5, 22}, {5, 18}}, {{5, 14}, {5, 10}}}));
    // Down and to the right (7 pi / 4): 6 pixels along are (round(4.24), round(4.24)).
    const auto diagonal = DashSegments({0, 0}, {20, 20}, 7.0 * kPi / 4.0, Pattern({6, 2}));
    ASSERT_EQ(diagonal.size(), 4u);
    EXPECT_EQ(diagonal[0], (DashSegment{{0, 0}, {4, 4}}));
    EXPECT_EQ(diagonal[1], (DashSegment{{6, 6}, {10, 10}})); // 8 -> 5.66, 14 -> 9.90
    EXPECT_EQ(diagonal[3].end, (Point{20, 20}));
}

TEST(DashSegments, GapEndingOnTheEndStopsTheWalk) {
    // Dash 6, gap 6 on a 12-pixel line: the gap ends exactly on the end; no dash of length 0.
    EXPECT_EQ(DashSegments({0, 0}, {12, 0}, 0.0, Pattern({6, 6})),
              (std::vector<DashSegment>{{{0, 0}, {6, 0}}}));
    // One pixel longer: the second dash is that pixel.
    EXPECT_EQ(DashSegments({0, 0}, {13, 0}, 0.0, Pattern({6, 6})),
              (std::vector<DashSegment>{{{0, 0}, {6, 0}}, {{12, 0}, {13, 0}}}));
    // A line of no length still shows one dash, where it stands.
    EXPECT_EQ(DashSegments({7, 7}, {7, 7}, 0.0, Pattern({6, 6})),
              (std::vector<DashSegment>{{{7, 7}, {7, 7}}}));
}

TEST(DashSegments, OddCountsRepeatFromTheFirstDash) {
    // 4, 2, 3: dash 0-4, gap to 6, dash 6-9, then again dash 9-13 with no gap, gap to 15, dash 15-18,
    // dash 18-20.
    EXPECT_EQ(
        DashSegments({0, 0}, {20, 0}, 0.0, Pattern({4, 2, 3})),
        (std::vector<DashSegment>{
            {{0, 0}, {4, 0}}, {{6, 0}, {9, 0}}, {{9, 0}, {13, 0}}, {{15, 0}, {18, 0}}, {{18, 0}, {20, 0}}}));
}

TEST(DashSegments, DirectionThatIsNotANumberIsTakenFromTheEnds) {
    const auto dashes = DashSegments({0, 0}, {0, -20}, std::nan(""), Pattern({5, 5}));
    EXPECT_EQ(dashes, (std::vector<DashSegment>{{{0, 0}, {0, -5}}, {{0, -10}, {0, -15}}}));
    // Lengths of 0 or less count as one pixel, so the walk always moves on.
    EXPECT_EQ(DashSegments({0, 0}, {4, 0}, 0.0, Pattern({0, -7})).size(), 2u);
}

// Every dash of the whole walk that touches the rectangle.
std::vector<DashSegment> Touching(const std::vector<DashSegment>& all, const Rect& r) {
    std::vector<DashSegment> touching;
    for (const DashSegment& dash : all) {
        if (std::max(dash.start.x, dash.end.x) >= r.left && std::min(dash.start.x, dash.end.x) <= r.right &&
            std::max(dash.start.y, dash.end.y) >= r.top && std::min(dash.start.y, dash.end.y) <= r.bottom) {
            touching.push_back(dash);
        }
    }
    return touching;
}

TEST(DashSegments, VisibleRectangleKeepsExactlyTheDashesThatReachIt) {
    const Rect visible{-12, -12, 212, 112};
    struct Case {
        Point s, e;
        std::vector<int32_t> lengths;
    };
    const std::vector<Case> cases = {
        {{-100000, 50}, {100000, 50}, {1, 1}},            // through the rectangle
        {{-100000, 50}, {57, 50}, {6, 2}},                // ending inside it
        {{150, 60}, {90000, 60}, {4, 2, 3}},              // starting inside it, odd count
        {{-70001, 40000}, {70001, -40000}, {5, 3, 1, 3}}, // slanting across
        {{-90000, -5000}, {90000, -5000}, {2, 2}},        // passing outside it
        {{-90000, 300}, {100, 60}, {7, 5}},               // ending inside after a long slant
    };
    for (const Case& c : cases) {
        const DashPattern pattern = Pattern(c.lengths);
        const double direction = PointDirection(c.s, c.e);
        const auto whole = DashSegments(c.s, c.e, direction, pattern);
        const auto shown = DashSegments(c.s, c.e, direction, pattern, visible);
        EXPECT_EQ(shown, Touching(whole, visible))
            << c.s.x << "," << c.s.y << " -> " << c.e.x << "," << c.e.y;
    }
}

TEST(DashSegments, EnormousDottedLineWalksOnlyItsVisiblePart) {
    // Four thousand million one-pixel dots; only those near a 100-pixel raster are walked.
    const auto dots = DashSegments({-2'000'000'000, 50}, {2'000'000'000, 50}, 0.0, Pattern({1, 1}),
                                   Rect{-10, -10, 110, 110});
    ASSERT_GE(dots.size(), 55u);
    ASSERT_LE(dots.size(), 65u);
    for (const DashSegment& dot : dots) {
        EXPECT_EQ(dot.end.x - dot.start.x, 1);
        EXPECT_EQ(dot.start.x % 2, 0); // dots start at even running lengths from an even start
    }
    // Missing the raster altogether leaves nothing, still cheaply.
    EXPECT_TRUE(DashSegments({-2'000'000'000, 5000}, {2'000'000'000, 5000}, 0.0, Pattern({1, 1}),
                             Rect{-10, -10, 110, 110})
                    .empty());
}

TEST(DashBody, AxisDirectionsSplitTheWidthIntoWholePixels) {
    EXPECT_EQ(DashBody({20, 50}, {80, 50}, 10, 0.0), (Quad{Point{20, 45}, {80, 45}, {80, 55}, {20, 55}}));
    // Width 5: round(2.5) = 2 on the left (up for direction 0), 3 on the right.
    EXPECT_EQ(DashBody({20, 50}, {80, 50}, 5, 0.0), (Quad{Point{20, 48}, {80, 48}, {80, 53}, {20, 53}}));
    // Upwards: the left is -x.
    EXPECT_EQ(DashBody({50, 80}, {50, 20}, 4, kPi / 2.0),
              (Quad{Point{48, 80}, {48, 20}, {52, 20}, {52, 80}}));
    // Leftwards: the left is +y (down on the screen).
    EXPECT_EQ(DashBody({80, 50}, {20, 50}, 4, kPi), (Quad{Point{80, 52}, {20, 52}, {20, 48}, {80, 48}}));
    // Downwards, also when stored as just under a full turn from 3 pi / 2 ... or as -pi / 2.
    const Quad down{Point{52, 20}, {52, 80}, {48, 80}, {48, 20}};
    EXPECT_EQ(DashBody({50, 20}, {50, 80}, 4, 3.0 * kPi / 2.0), down);
    EXPECT_EQ(DashBody({50, 20}, {50, 80}, 4, -kPi / 2.0), down);
}

TEST(DashBody, SlantedBodiesAreRoundedFromTheirEnds) {
    // Direction pi/4, width 4: v = (cos 3pi/4, -sin 3pi/4) = (-0.707, -0.707).
    // P0 = round(0 - 1.414) = (-1, -1); P1 = round(10 - 1.414, -10 - 1.414) = (9, -11);
    // P2 = round(P1 + 2.828) = (12, -8); P3 = round(P0 + 2.828) = (2, 2).
    EXPECT_EQ(DashBody({0, 0}, {10, -10}, 4, kPi / 4.0), (Quad{Point{-1, -1}, {9, -11}, {12, -8}, {2, 2}}));
}

TEST(BorderStrips, FourStripsInsideTheBody) {
    const Quad body{Point{20, 45}, {80, 45}, {80, 55}, {20, 55}};
    const std::array<Quad, 4> strips = BorderStrips(body, 3, 0.0);
    EXPECT_EQ(strips[0], (Quad{Point{20, 45}, {80, 45}, {80, 48}, {20, 48}})); // top edge, 3 down
    EXPECT_EQ(strips[1], (Quad{Point{80, 45}, {80, 55}, {77, 55}, {77, 45}})); // end, 3 back
    EXPECT_EQ(strips[2], (Quad{Point{20, 55}, {80, 55}, {80, 52}, {20, 52}})); // bottom edge, 3 up
    EXPECT_EQ(strips[3], (Quad{Point{20, 45}, {20, 55}, {23, 55}, {23, 45}})); // start, 3 forward
}

} // namespace
} // namespace vlr
