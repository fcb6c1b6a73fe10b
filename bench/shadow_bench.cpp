// Shadows and 3-D surfaces of an item two inches across, on the screen (96 dpi) and on a 600-dpi
// raster, by kind; and a 600-dpi business card with a dozen shadowed, shaded items. The pixel
// rate counts the item's two-inch box at the raster's resolution.
#include "model/outline.h"
#include "render/drawdesign.h"
#include "render/shading.h"
#include "render/shadow.h"
#include "render/textdraw.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace vlr;

constexpr int32_t kTwoInches = 192;  // design pixels
constexpr int32_t kRasterSide = 288; // three inches

enum Kind : int64_t { Circle, Square, Star, Ellipse, Line, Text, KindCount };
constexpr std::array<const char*, KindCount> kKindNames = {"circle",  "square", "star",
                                                           "ellipse", "line",   "text"};

ItemList DesignWithHeader() {
    ItemList design;
    CreateRecord(design, ItemKind::Header)->recordClass = RecordClass::Header;
    return design;
}

// An item of a kind, 2 x half across about the centre, with the "Medium" shadow (elevation 50,
// fade 20, lightness 110) and a rounded surface.
ItemRecord* AddItem(ItemList& design, int64_t kind, Point centre, int32_t half, int32_t zOrder) {
    const Point rim{centre.x + half, centre.y};
    ItemRecord* item = nullptr;
    switch (kind) {
    case Circle:
        item = CreateRecord(design, ItemKind::Circle);
        item->pointList = {{.x = centre.x, .y = centre.y}, {.x = rim.x, .y = rim.y}};
        break;
    case Square:
        item = CreateRecord(design, ItemKind::Square);
        item->shapeMode = ShapeMode::Filled;
        SquareFromEdge(item->pointList, {centre.x - half, centre.y + half},
                       {centre.x + half, centre.y + half});
        break;
    case Star:
        item = CreateRecord(design, ItemKind::Star);
        item->vertexCount = 5;
        StarPoints(item->pointList, centre, {centre.x + half / 2, centre.y}, rim, 5);
        break;
    case Ellipse:
        item = CreateRecord(design, ItemKind::Ellipse);
        item->pointList = {{.x = centre.x, .y = centre.y},
                           {.x = rim.x, .y = rim.y},
                           {.x = centre.x, .y = centre.y + half * 2 / 3}};
        break;
    case Line:
        item = CreateRecord(design, ItemKind::Line);
        item->x1 = centre.x - half;
        item->y1 = centre.y;
        item->x2 = rim.x;
        item->y2 = rim.y;
        break;
    default:
        item = CreateRecord(design, ItemKind::Text);
        item->wideText = u"Velloran";
        item->x1 = centre.x - half;
        item->y1 = centre.y + half / 5;
        item->x2 = rim.x;
        item->y2 = rim.y + half / 5;
        item->fontSize = half * 40 / 96;
        item->fontWeight = 700;
        item->alignment = 1;
        item->textColor = 0x2060C0;
        break;
    }
    // Lines 5 mm wide with 1-mm borders; shapes with half-millimetre outlines.
    const double weight = kind == Line ? 5.0 : 0.5;
    item->lineWeight = weight;
    item->penWidthPx = PenWidthPixels(1.0, weight, ScreenResolution());
    item->lineWeightBase = 1.0;
    item->direction = 0.0;
    item->zOrder = zOrder;
    item->color = 0x0000A0;
    item->fillColor = 0x40C0F0;
    item->shadowElevation = 50;
    item->shadowFade = 20;
    item->shadowLightness = 110;
    item->surface = kSurfaceRounded;
    return item;
}

// One item two inches across in the middle of a three-inch raster.
struct TwoInchItem {
    ItemList design = DesignWithHeader();
    ItemRecord* item;
    explicit TwoInchItem(int64_t kind)
        : item(AddItem(design, kind, {kRasterSide / 2, kRasterSide / 2}, kTwoInches / 2, 1)) {}
};

ViewTransform TransformFor(int64_t dpi) {
    return DeviceTransform(double(dpi), double(dpi), ScreenResolution());
}

RasterCanvas RasterFor(int64_t dpi, int32_t side = kRasterSide) {
    return RasterCanvas(static_cast<int32_t>(side * dpi / 96), static_cast<int32_t>(side * dpi / 96));
}

void CountPixels(benchmark::State& state, int64_t dpi) {
    const double side = 2.0 * double(dpi);
    state.counters["pixels/s"] =
        benchmark::Counter(side * side, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(kKindNames[static_cast<size_t>(state.range(1))]);
}

void BM_Shadow(benchmark::State& state) {
    const int64_t dpi = state.range(0);
    TwoInchItem two(state.range(1));
    const ViewTransform transform = TransformFor(dpi);
    RasterCanvas raster = RasterFor(dpi);
    const std::vector<TextLinePlacement> lines = TextLinePlacements(raster, *two.item, transform);
    for (auto _ : state) {
        if (two.item->kind == ItemKind::Text) {
            for (const TextLinePlacement& line : lines) {
                DrawTextLineShadow(raster, *two.item, line, transform, LightFrom::TopLeft);
            }
        } else {
            DrawItemShadow(raster, *two.item, two.design, transform, LightFrom::TopLeft);
        }
        benchmark::DoNotOptimize(raster.scanLine(0));
    }
    CountPixels(state, dpi);
}
BENCHMARK(BM_Shadow)
    ->ArgNames({"dpi", "kind"})
    ->ArgsProduct({{96, 600}, {Circle, Square, Star, Ellipse, Line, Text}})
    ->Unit(benchmark::kMillisecond);

void BM_Surface(benchmark::State& state) {
    const int64_t dpi = state.range(0);
    TwoInchItem two(state.range(1));
    const ViewTransform transform = TransformFor(dpi);
    RasterCanvas raster = RasterFor(dpi);
    for (auto _ : state) {
        DrawItem(raster, two.item, two.design, transform, {.shadows = false});
        benchmark::DoNotOptimize(raster.scanLine(0));
    }
    CountPixels(state, dpi);
}
BENCHMARK(BM_Surface)
    ->ArgNames({"dpi", "kind"})
    ->ArgsProduct({{96, 600}, {Circle, Square, Star, Ellipse, Line, Text}})
    ->Unit(benchmark::kMillisecond);

// A 3.5 x 2 inch card at 600 dpi (2100 x 1200) with twelve items of every kind, 0.6 inch across,
// in a 4 x 3 grid, each with its shadow and surface: what printing one card position costs.
void BM_CardOfADozenShadowedItems(benchmark::State& state) {
    ItemList design = DesignWithHeader();
    for (int32_t i = 0; i < 12; ++i) {
        AddItem(design, i % KindCount, {42 + 84 * (i % 4), 36 + 64 * (i / 4)}, 28, i + 1);
    }
    const ViewTransform transform = TransformFor(600);
    RasterCanvas card(2100, 1200);
    for (auto _ : state) {
        DrawDesign(card, design, transform);
        benchmark::DoNotOptimize(card.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_CardOfADozenShadowedItems)->Unit(benchmark::kMillisecond);

} // namespace
