// Text items: line splitting, fonts, line placement, and the geometry of drawn text on real
// rasters (baselines, angles, alignment, stacking). Glyph shapes are the font system's; the
// tests look only at where the ink lies.
#include "render/textdraw.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace vlr {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;
const std::u16string kSeparator(1, kLineSeparator);

ItemRecord* AddText(ItemList& design, std::u16string text, Point start, Point end, int32_t sizePoints = 36) {
    ItemRecord* item = CreateRecord(design, ItemKind::Text);
    SetText(item, text);
    item->x1 = start.x;
    item->y1 = start.y;
    item->x2 = end.x;
    item->y2 = end.y;
    item->fontSize = sizePoints;
    item->textColor = 0;
    SetFontName(*item, "Arial");
    return item;
}

// The ink of a raster (pixels that are not white) within an optional band of rows.
struct Ink {
    int32_t left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    int64_t count = 0;
    double sumX = 0, sumY = 0, sumXX = 0, sumYY = 0, sumXY = 0;
    bool empty() const { return count == 0; }
    double centreX() const { return (left + right) / 2.0; }
};

Ink InkOf(const RasterCanvas& canvas, int32_t fromRow = 0, std::optional<int32_t> toRow = std::nullopt) {
    Ink ink;
    for (int32_t y = fromRow; y <= toRow.value_or(canvas.height() - 1); ++y) {
        for (int32_t x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) != kWhite) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
                ink.sumX += x;
                ink.sumY += y;
                ink.sumXX += double(x) * x;
                ink.sumYY += double(y) * y;
                ink.sumXY += double(x) * y;
            }
        }
    }
    return ink;
}

// Ascent + descent + leading of Arial's stand-in at a pixel size, read from the font system
// directly.
int32_t FontSystemLineHeight(int32_t pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial")});
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent() + std::max(0, metrics.leading());
}

// A two-line text of 36 points (48 pixels) whose stored baseline lies at y = 150, drawn on an
// exact raster: the ink of its first line (above y = 150 - h) and of its last line.
struct TwoLines {
    Ink first, last;
};
TwoLines DrawTwoLines(const ItemRecord& text, int32_t rasterWidth) {
    RasterCanvas canvas(rasterWidth, 180, Smoothing::Exact);
    DrawTextItem(canvas, text, CanvasTransform(1.0));
    const int32_t h = FontSystemLineHeight(48);
    TwoLines ink{InkOf(canvas, 0, 150 - h), InkOf(canvas, 150 - h + 1)};
    EXPECT_FALSE(ink.first.empty());
    EXPECT_FALSE(ink.last.empty());
    return ink;
}

TEST(TextLines, SplitAtTheSeparatorOnly) {
    ItemList design;
    ItemRecord* text = AddText(design, u"A" + kSeparator + u"B\nC", {0, 0}, {10, 0});
    auto lines = TextLines(*text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], u"A");
    EXPECT_EQ(lines[1], u"B\nC"); // a newline is a character like any other
    SetText(text, u"AB" + kSeparator);
    lines = TextLines(*text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], u"");
    SetText(text, u"");
    EXPECT_TRUE(TextLines(*text).empty());
    text->wideText.reset();
    EXPECT_TRUE(TextLines(*text).empty());
    // A text of separators only: one more line than separators, all empty.
    SetText(text, std::u16string(5000, kLineSeparator));
    EXPECT_EQ(TextLines(*text).size(), 5001u);
}

TEST(TextFont, SizeScalesWithTheZoomAndTheCharacterSetIsKept) {
    ItemList design;
    ItemRecord* text = AddText(design, u"x", {0, 0}, {10, 0}, 12);
    text->escapement = 450;
    text->fontWeight = 700;
    text->italic = 1;
    text->underline = 1;
    text->charset = 204;
    FontSpec font = TextFont(*text, 2.0, 0x123456);
    EXPECT_EQ(font.face, QStringLiteral("Arial"));
    EXPECT_EQ(font.sizePoints, 24.0);
    EXPECT_EQ(font.escapement, 450);
    EXPECT_EQ(font.weight, 700);
    EXPECT_TRUE(font.italic);
    EXPECT_TRUE(font.underline);
    EXPECT_FALSE(font.strikeOut);
    EXPECT_EQ(font.charset, 204);
    EXPECT_EQ(font.colour, 0x123456);
    // round(12 x 6.25) = 75 points at 600 dpi; 12 x 0.625 = 7.5 rounds to the even 8.
    EXPECT_EQ(TextFont(*text, 6.25, 0).sizePoints, 75.0);
    EXPECT_EQ(TextFont(*text, 0.625, 0).sizePoints, 8.0);
    text->charset = -7;
    EXPECT_EQ(TextFont(*text, 1.0, 0).charset, 0);
    // Measuring leaves out the underline and the angle; the drawn font advances alike.
    RasterCanvas canvas(10, 10);
    const int32_t measured = TextLineWidth(canvas, u"Underlined", *text, 1.0);
    EXPECT_GT(measured, 0);
    canvas.setFont(TextFont(*text, 1.0, 0));
    EXPECT_EQ(canvas.TextWidth(u"Underlined"), measured);
}

TEST(FaceName, Utf8OrOneCharacterPerByte) {
    ItemList design;
    ItemRecord* text = AddText(design, u"x", {0, 0}, {10, 0});
    SetFontName(*text, "Times New Roman");
    EXPECT_EQ(FaceName(*text), QStringLiteral("Times New Roman"));
    SetFontName(*text, "\xD0\x96 Sans"); // Cyrillic Zhe in UTF-8
    EXPECT_EQ(FaceName(*text), QString::fromUtf8("\xD0\x96 Sans"));
    SetFontName(*text, "Caf\xE9"); // a byte of a Western code page
    EXPECT_EQ(FaceName(*text), QString::fromUtf8("Caf\xC3\xA9"));
}

TEST(TextLinePlacements, LinesStackUpwardsFromTheStoredBaseline) {
    ItemList design;
    ItemRecord* text =
        AddText(design, u"A" + kSeparator + u"B" + kSeparator + u"C", {50, 100}, {250, 100}, 12);
    RasterCanvas canvas(300, 200);
    // 12 points on a 96-dpi screen are 16 pixels.
    const int32_t h = FontSystemLineHeight(16);
    EXPECT_EQ(TextLineHeight(canvas, *text), h);

    auto placed = TextLinePlacements(canvas, *text, CanvasTransform(1.0));
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].number, 3);
    EXPECT_EQ(placed[0].line, u"C");
    EXPECT_EQ(placed[0].start, (Point{50, 100}));
    EXPECT_EQ(placed[0].end, (Point{250, 100}));
    EXPECT_EQ(placed[1].line, u"B");
    EXPECT_EQ(placed[1].start, (Point{50, 100 - h}));
    EXPECT_EQ(placed[2].line, u"A");
    EXPECT_EQ(placed[2].start, (Point{50, 100 - 2 * h}));
    EXPECT_EQ(placed[2].end, (Point{250, 100 - 2 * h}));

    // Reading upwards (90 degrees), earlier lines lie to the left.
    text->escapement = 900;
    placed = TextLinePlacements(canvas, *text, CanvasTransform(1.0));
    EXPECT_EQ(placed[1].start, (Point{50 - h, 100}));
    EXPECT_EQ(placed[2].start, (Point{50 - 2 * h, 100}));

    // At 200 % the spacing is twice the rounded height at 100 %, from the doubled baseline.
    text->escapement = 0;
    placed = TextLinePlacements(canvas, *text, CanvasTransform(2.0));
    EXPECT_EQ(placed[0].start, (Point{100, 200}));
    EXPECT_EQ(placed[1].start, (Point{100, 200 - 2 * h}));

    // At 30 degrees each line moves h towards the top of the letters: (-sin 30, -cos 30) x h.
    text->escapement = 300;
    placed = TextLinePlacements(canvas, *text, CanvasTransform(1.0));
    EXPECT_EQ(placed[1].start, (Point{50 + nearest(std::cos(kPi * 2.0 / 3.0) * h),
                                      100 - nearest(std::sin(kPi * 2.0 / 3.0) * h)}));

    SetText(text, u"");
    EXPECT_TRUE(TextLinePlacements(canvas, *text, CanvasTransform(1.0)).empty());
}

TEST(DrawTextItem, LettersStandOnTheBaselineAndLinesStack) {
    ItemList design;
    // "H" has no descender, so its ink ends on the row above the baseline.
    ItemRecord* text = AddText(design, u"HHH" + kSeparator + u"HHH", {20, 150}, {300, 150});
    const auto [upper, lower] = DrawTwoLines(*text, 320);
    const int32_t h = FontSystemLineHeight(48);
    EXPECT_NEAR(lower.bottom, 149, 1);
    EXPECT_NEAR(upper.bottom, 149 - h, 1);
    EXPECT_NEAR(lower.top - upper.top, h, 1);
    // Capitals of a 48-pixel font are about 34 pixels high.
    EXPECT_NEAR(lower.bottom - lower.top, 34, 6);
    // Left aligned: the ink starts a side bearing after the start.
    EXPECT_GE(lower.left, 20);
    EXPECT_LE(lower.left, 26);
    EXPECT_EQ(lower.left, upper.left);
}

TEST(DrawTextItem, RotatedTextRunsAtItsAngle) {
    for (int32_t escapement : {300, 900, 1350}) {
        ItemList design;
        ItemRecord* text = AddText(design, u"HHHHHHHH", {200, 200}, {200, 200}, 24);
        text->escapement = escapement;
        RasterCanvas canvas(400, 400, Smoothing::Exact);
        DrawTextItem(canvas, *text, CanvasTransform(1.0));
        const Ink ink = InkOf(canvas);
        ASSERT_GT(ink.count, 100) << escapement;
        // The principal axis of the ink runs along the baseline (angles counter-clockwise on the
        // screen, where y grows downwards).
        const double n = double(ink.count);
        const double mx = ink.sumX / n, my = ink.sumY / n;
        const double sxx = ink.sumXX / n - mx * mx, syy = ink.sumYY / n - my * my;
        const double sxy = ink.sumXY / n - mx * my;
        const double axis = 0.5 * std::atan2(-2.0 * sxy, sxx - syy);
        const double expected = escapement / 10.0 * kPi / 180.0;
        double difference = std::remainder(axis - expected, kPi); // an axis has no sense
        EXPECT_LT(std::fabs(difference), 2.0 * kPi / 180.0) << escapement;
        // The letters lie ahead of the start along the baseline and above it.
        const double ux = std::cos(expected), uy = -std::sin(expected);
        const double tx = std::cos(expected + kPi / 2.0), ty = -std::sin(expected + kPi / 2.0);
        const double along = (mx - 200) * ux + (my - 200) * uy;
        const double above = (mx - 200) * tx + (my - 200) * ty;
        EXPECT_GT(along, 50) << escapement;
        EXPECT_GT(above, 5) << escapement; // about half the capital height, 16 pixels
        EXPECT_LT(above, 25) << escapement;
    }
}

TEST(DrawTextItem, CentredAndRightAlignedLinesLineUp) {
    const std::u16string lines = u"HHHHHH" + kSeparator + u"HH";
    for (int32_t alignment : {TextAlignment::Centre, TextAlignment::Right}) {
        ItemList design;
        ItemRecord* text = AddText(design, lines, {20, 150}, {420, 150});
        text->alignment = static_cast<uint8_t>(alignment);
        // The last line ("HH") stands on the stored baseline, the first one line above it.
        const auto [wide, narrow] = DrawTwoLines(*text, 440);
        EXPECT_GT(wide.right - wide.left, 2 * (narrow.right - narrow.left));
        if (alignment == TextAlignment::Centre) {
            EXPECT_NEAR(wide.centreX(), narrow.centreX(), 1.5);
            EXPECT_NEAR(wide.centreX(), 220, 2);
        } else {
            EXPECT_NEAR(wide.right, narrow.right, 1);
            EXPECT_LE(wide.right, 420);
            EXPECT_GE(wide.right, 412);
        }
    }
}

TEST(DrawTextItem, LineWiderThanItsBaselineStartsAtTheStart) {
    ItemList design;
    ItemRecord* left = AddText(design, u"HHHHHH", {20, 100}, {60, 100});
    ItemRecord* right = AddText(design, u"HHHHHH", {20, 100}, {60, 100});
    right->alignment = TextAlignment::Right;
    RasterCanvas leftCanvas(300, 120, Smoothing::Exact), rightCanvas(300, 120, Smoothing::Exact);
    DrawTextItem(leftCanvas, *left, CanvasTransform(1.0));
    DrawTextItem(rightCanvas, *right, CanvasTransform(1.0));
    EXPECT_EQ(leftCanvas.image(), rightCanvas.image());
}

TEST(DrawTextItem, GlyphsScaleWithTheZoomAndLinesFarAwayAreSkipped) {
    ItemList design;
    ItemRecord* text = AddText(design, u"HH", {10, 60}, {200, 60}, 24);
    RasterCanvas small(300, 300, Smoothing::Exact), large(300, 300, Smoothing::Exact);
    DrawTextItem(small, *text, CanvasTransform(1.0));
    DrawTextItem(large, *text, CanvasTransform(2.0));
    const Ink one = InkOf(small), two = InkOf(large);
    EXPECT_NEAR(two.bottom - two.top + 1, 2 * (one.bottom - one.top + 1), 2);
    EXPECT_NEAR(two.bottom, 119, 1);

    // Lines far beside the raster leave it as it was.
    ItemRecord* far =
        AddText(design, std::u16string(200, u'H') + kSeparator + u"HH", {-1'000'000, 60}, {-900, 60});
    RasterCanvas canvas(100, 100, Smoothing::Exact);
    DrawTextItem(canvas, *far, CanvasTransform(1.0));
    EXPECT_TRUE(InkOf(canvas).empty());
}

TEST(DrawTextItem, DrawsTheUnicodeTextItHolds) {
    // Cyrillic letters with the default character set are drawn as themselves, not as the
    // question marks of a narrowing to an 8-bit code page.
    ItemList design;
    ItemRecord* cyrillic = AddText(design, u"\u0416\u0416\u0416", {20, 80}, {300, 80});
    ItemRecord* marks = AddText(design, u"???", {20, 80}, {300, 80});
    RasterCanvas a(320, 100, Smoothing::Exact), b(320, 100, Smoothing::Exact);
    DrawTextItem(a, *cyrillic, CanvasTransform(1.0));
    DrawTextItem(b, *marks, CanvasTransform(1.0));
    ASSERT_FALSE(InkOf(a).empty());
    EXPECT_NE(a.image(), b.image());
    // Zhe is wider than a question mark.
    RasterCanvas measure(10, 10);
    EXPECT_GT(TextLineWidth(measure, u"\u0416\u0416\u0416", *cyrillic, 1.0),
              TextLineWidth(measure, u"???", *marks, 1.0));
}

TEST(DrawTextItem, DamagedValuesDrawWithoutHarm) {
    ItemList design;
    ItemRecord* text = AddText(design, u"HH" + kSeparator + u"H", {10, 50}, {90, 50});
    text->fontSize = -40;
    text->escapement = std::numeric_limits<int32_t>::min();
    text->fontWeight = 123456;
    text->alignment = 77;
    RasterCanvas canvas(100, 100);
    DrawTextItem(canvas, *text, CanvasTransform(1.0));
    text->fontSize = std::numeric_limits<int32_t>::max();
    text->escapement = 0;
    DrawTextItem(canvas, *text, CanvasTransform(1.0));
    RasterCanvas none;
    DrawTextItem(none, *text, CanvasTransform(1.0));
    EXPECT_FALSE(InkOf(canvas).empty());
}

} // namespace
} // namespace vlr
