// The owner-drawn entries of the panels' lists, painted into pictures at single and double
// screen density: swatches, weight bars, frame weights, shadow samples and dash samples.
#include "panels/listentries.h"
#include "panels/sidepanel.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <set>

namespace vlr {
namespace {

constexpr int kEntryWidth = 140;
constexpr int kEntryHeight = 16;

TParams Factory() {
    TParams params;
    SetFactorySettings(params);
    return params;
}

// One entry painted at the given density onto white.
QImage Painted(const ListEntry& entry, double density = 1.0, int fontSize = 8) {
    QImage image(int(kEntryWidth * density), int(kEntryHeight * density), QImage::Format_RGB32);
    image.setDevicePixelRatio(density);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintListEntry(painter, QRect(0, 0, kEntryWidth, kEntryHeight), fontSize, entry);
    painter.end();
    return image;
}

// The number of device pixels in a column that are not white.
int InkInColumn(const QImage& image, int x) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        ink += image.pixel(x, y) != qRgb(255, 255, 255);
    }
    return ink;
}

ListEntry EntryNamed(const std::vector<ListEntry>& entries, const QString& name) {
    for (const ListEntry& entry : entries) {
        if (entry.text == name) {
            return entry;
        }
    }
    ADD_FAILURE() << name.toStdString();
    return {};
}

TEST(ListEntries, WeightBarsAreTheWeightInScreenPixelsAtMostTheEntrysHeight) {
    TParams params = Factory();
    // Slot A offered at 5 pixels, slot B at 20 (higher than an entry: not drawn).
    params.slots.weights[0] = {1.3, 5, 1, "Five", "5", 1, 0};
    params.slots.weights[1] = {5.3, 20, 1, "Twenty", "20", 1, 0};
    StyleList weights, frames;
    BuildWeightList(weights, params);
    BuildFrameWeightList(frames, params);
    const auto weightEntries = EntriesOf(EntryKind::Weight, weights, params, {}, 0);
    const auto frameEntries = EntriesOf(EntryKind::FrameWeight, frames, params, {}, 0);
    // At 96 pixels per inch (3.78 pixels per millimetre): a built-in bar is round(mm x 3.78) + 1
    // rows, cut at the 16 rows of the entry; a thin frame weight is a line of its pen width.
    struct Case {
        const std::vector<ListEntry>* list;
        const char* name;
        int rows;
    };
    const Case cases[] = {
        {&weightEntries, "Thin", 1},    {&weightEntries, "Medium", 3}, {&weightEntries, "Thick", 5},
        {&weightEntries, "Heavy", 9},   {&weightEntries, "Wide", 12},  {&weightEntries, "Broad", 16},
        {&weightEntries, "Five", 5},    {&weightEntries, "Twenty", 0}, {&frameEntries, "Thin", 1},
        {&frameEntries, "Medium", 2},   {&frameEntries, "Thick", 5},   {&frameEntries, "Broad", 16},
        {&frameEntries, "Five", 5},
    };
    for (const Case& each : cases) {
        const ListEntry entry = EntryNamed(*each.list, each.name);
        for (double density : {1.0, 2.0}) {
            const QImage image = Painted(entry, density);
            // Column 10 crosses the bar, never the name (from 26).
            EXPECT_EQ(InkInColumn(image, int(10 * density)), int(each.rows * density))
                << each.name << " at " << density;
        }
    }
    // "None" of the frame weights has no bar: its name starts at the left instead.
    const QImage none = Painted(EntryNamed(frameEntries, "None"));
    ListEntry plain;
    plain.text = "None";
    EXPECT_EQ(InkInColumn(none, 20), InkInColumn(Painted(plain), 20));
}

TEST(ListEntries, BarsShowTheLineColourAndNearWhiteAsSilver) {
    TParams params = Factory();
    StyleList weights;
    BuildWeightList(weights, params);
    struct Case {
        int32_t colour;
        QRgb drawn;
    };
    const Case cases[] = {{0x0000FF, qRgb(255, 0, 0)}, {0xFBFBFB, qRgb(0xC0, 0xC0, 0xC0)}, {0xFAFFFF, qRgb(255, 255, 250)}};
    for (const Case& each : cases) {
        const ListEntry thick = EntryNamed(EntriesOf(EntryKind::Weight, weights, params, {}, each.colour), "Thick");
        EXPECT_EQ(Painted(thick).pixel(10, 8), each.drawn) << std::hex << each.colour;
    }
}

TEST(ListEntries, ColourSwatchesAreFramedWholePixelsAtEveryDensity) {
    TParams params = Factory();
    StyleList fills;
    BuildFillColourList(fills, params.slots);
    const std::vector<QColor> swatches = ColourSwatches(fills, params.slots, true, 0x00FF00);
    const auto entries = EntriesOf(EntryKind::Text, fills, params, swatches, 0);
    struct Case {
        const char* name;
        QRgb inside;
    };
    // "Solid" shows the outline colour passed, "Clear" only its frame.
    const Case cases[] = {{"Red", qRgb(255, 0, 0)}, {"Solid", qRgb(0, 255, 0)}, {"Clear", qRgb(255, 255, 255)}};
    for (const Case& each : cases) {
        const ListEntry entry = EntryNamed(entries, each.name);
        EXPECT_EQ(entry.kind, EntryKind::Colour);
        for (double density : {1.0, 2.0}) {
            const QImage image = Painted(entry, density);
            auto at = [&](int x, int y) { return image.pixel(int(x * density), int(y * density)); };
            // The swatch spans (3, 3) up to (21, 13): its frame black, its inside the colour.
            EXPECT_EQ(at(3, 3), qRgb(0, 0, 0)) << each.name;
            EXPECT_EQ(at(20, 12), qRgb(0, 0, 0)) << each.name;
            EXPECT_EQ(at(10, 8), each.inside) << each.name;
            EXPECT_EQ(at(2, 8), qRgb(255, 255, 255)) << each.name;
            EXPECT_EQ(at(21, 8), qRgb(255, 255, 255)) << each.name;
            // Left of the name every device pixel is one of the three colours: no blurred edge.
            std::set<QRgb> seen;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < int(26 * density); ++x) {
                    seen.insert(image.pixel(x, y));
                }
            }
            const std::set<QRgb> allowed = {qRgb(0, 0, 0), qRgb(255, 255, 255), each.inside};
            EXPECT_TRUE(std::includes(allowed.begin(), allowed.end(), seen.begin(), seen.end()))
                << each.name << " at " << density << ": " << seen.size() << " colours";
        }
    }
    // A custom colour carries the word "Custom"; "Customize..." no swatch.
    params.slots.customColours[0] = 0x123456;
    BuildColourList(fills, params.slots);
    const auto colours = EntriesOf(EntryKind::Text, fills, params, ColourSwatches(fills, params.slots, false, 0), 0);
    EXPECT_EQ(colours.back().text, "Custom");
    EXPECT_TRUE(EntryNamed(colours, kCustomize).customize);
    EXPECT_FALSE(EntryNamed(colours, kCustomize).swatch.isValid());
}

TEST(ListEntries, ShadowSamplesForTheThreeBuiltInShadowsOnly) {
    TParams params = Factory();
    params.slots.shadows[0] = {"Mine", 40, 10, 90, 0, 0, 1};
    StyleList shadows;
    BuildShadowList(shadows, params);
    const auto entries = EntriesOf(EntryKind::Shadow, shadows, params, {}, 0);
    for (const char* name : {"Slight", "Medium", "Broad"}) {
        const ListEntry entry = EntryNamed(entries, name);
        EXPECT_TRUE(entry.sample) << name;
        // A white card framed in black with a grey shadow at its lower right.
        const QImage image = Painted(entry, 2.0);
        EXPECT_EQ(image.pixel(6, 6), qRgb(0, 0, 0)) << name;
        EXPECT_EQ(image.pixel(12, 12), qRgb(255, 255, 255)) << name;
        const QRgb shade = image.pixel(2 * 16, 2 * 12);
        EXPECT_EQ(qRed(shade), qGreen(shade)) << name;
        EXPECT_LT(qRed(shade), 200) << name;
    }
    for (const char* name : {"None", "Mine", kCustomize}) {
        EXPECT_FALSE(EntryNamed(entries, name).sample) << name;
    }
}

TEST(ListEntries, PatternSamplesHaveTheirDashesAndGaps) {
    TParams params = Factory();
    params.slots.patterns[0].name = "Long";
    params.slots.patterns[0].count = 2;
    params.slots.patterns[0].pixels = {10, 4};
    params.slots.patterns[0].offered = 1;
    StyleList patterns;
    BuildPatternList(patterns, params);
    const auto entries = EntriesOf(EntryKind::Pattern, patterns, params, {}, 0);
    // The ink along the sample's row, from x = 3 up to 40.
    auto row = [](const ListEntry& entry) {
        const QImage image = Painted(entry);
        QString ink;
        for (int x = 3; x < 40; ++x) {
            ink += image.pixel(x, 7) == qRgb(0, 0, 0) ? '#' : '.';
        }
        return ink;
    };
    EXPECT_EQ(row(EntryNamed(entries, "Solid")), QString(37, '#'));
    EXPECT_EQ(row(EntryNamed(entries, "Long")), "##########....##########....#########");
    const QString dots = row(EntryNamed(entries, "Dot"));
    EXPECT_TRUE(dots.contains('#') && dots.contains('.')) << dots.toStdString();
}

} // namespace
} // namespace vlr
