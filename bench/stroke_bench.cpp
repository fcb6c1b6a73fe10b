// Drawing a busy 6 x 4 inch design: 1,000 lines and shapes of every kind, weight, pattern and
// fill, and 200 texts of one to three lines in several faces, sizes, angles and alignments, on
// the screen at 100 % (576 x 384 pixels) and on a 600-dpi raster (3600 x 2400 pixels).
#include "model/outline.h"
#include "render/stroke.h"
#include "render/textdraw.h"


#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>

namespace {

using namespace vlr;

constexpr int32_t kDesignWidth = 576;
constexpr int32_t kDesignHeight = 384;

struct BusyDesign {
    ItemList design;
    std::vector<ItemRecord*> strokes; // lines and shapes
    std::vector<ItemRecord*> texts;

    BusyDesign() {
        std::mt19937 random(20240611);
        auto pick = [&random](int32_t low, int32_t high) {
            return std::uniform_int_distribution<int32_t>(low, high)(random);
        };
        auto point = [&] { return Point{pick(0, kDesignWidth), pick(0, kDesignHeight)}; };
        constexpr std::array<double, 6> weights = {0.0, 0.1, 0.5, 1.0, 2.0, 3.0};
        constexpr std::array<int32_t, 4> fills = {FILL_NONE, FILL_AS_OUTLINE, 0x80C0F0, 0xFFFFFF};
        const ScreenResolution screen;

        ItemRecord* pattern = CreateRecord(design, -1);
        pattern->recordClass = RecordClass::LinePattern;
        pattern->segmentCount = 4;
        pattern->segmentLengths[0] = 3.0;
        pattern->segmentLengths[1] = 1.0;
        pattern->segmentLengths[2] = 0.5;
        pattern->segmentLengths[3] = 1.0;

        constexpr std::array<int32_t, 10> shapeKinds = {
            ItemKind::Rectangle, ItemKind::Circle, ItemKind::Ellipse, ItemKind::Polygon, ItemKind::Star,
            ItemKind::Pie,       ItemKind::Arc,    ItemKind::Spline,  ItemKind::Curve,   ItemKind::Triangle};
        for (int32_t i = 0; i < 1000; ++i) {
            const double weight = weights[static_cast<size_t>(pick(0, 5))];
            const int32_t kind = i % 2 == 0 ? ItemKind::Line : shapeKinds[static_cast<size_t>(pick(0, 9))];
            ItemRecord* item = CreateRecord(design, kind);
            item->color = pick(0, 0xFFFFFF);
            item->fillColor = fills[static_cast<size_t>(pick(0, 3))];
            item->lineWeight = weight;
            item->penWidthPx = PenWidthPixels(1.0, weight, screen);
            if (kind == ItemKind::Line) {
                const Point a = point(), b = point();
                item->x1 = a.x;
                item->y1 = a.y;
                item->x2 = b.x;
                item->y2 = b.y;
                item->direction = PointDirection(a, b);
                item->dashPattern = pick(-1, 4);
                item->lineWeightBase = pick(0, 1) ? 0.1 : 0.0;
            } else {
                const Point centre = point();
                const int32_t radius = pick(5, 60);
                const Point rim{centre.x + radius, centre.y}, inner{centre.x + radius / 2, centre.y};
                switch (kind) {
                case ItemKind::Polygon:
                    item->vertexCount = pick(3, 9);
                    RegularPolygonPoints(item->pointList, centre, rim, item->vertexCount);
                    break;
                case ItemKind::Star:
                    item->vertexCount = pick(4, 9);
                    StarPoints(item->pointList, centre, inner, rim, item->vertexCount);
                    break;
                case ItemKind::Rectangle:
                    SquareFromEdge(item->pointList, centre, rim);
                    break;
                case ItemKind::Circle:
                case ItemKind::Ellipse:
                case ItemKind::Pie:
                case ItemKind::Arc: {
                    const Point third =
                        kind == ItemKind::Ellipse ? Point{centre.x, centre.y - radius / 2} : point();
                    for (Point p : {centre, rim, third}) {
                        item->pointList.push_back({.x = p.x, .y = p.y});
                    }
                    break;
                }
                default: // triangles, splines and curves: a few points about the centre
                    for (int32_t n = kind == ItemKind::Triangle ? 3 : pick(3, 8); n > 0; --n) {
                        item->pointList.push_back(
                            {.x = centre.x + pick(-radius, radius), .y = centre.y + pick(-radius, radius)});
                    }
                    break;
                }
                item->shapeMode = pick(0, 2);
                if (kind == ItemKind::Curve) {
                    SmoothCurve(item->pointList, item->shapeMode, kBezierKappaHalf);
                }
            }
            strokes.push_back(item);
        }

        // Four faces in the sizes the text panel offers, plain, bold, italic and both.
        constexpr std::array<const char*, 4> faces = {"Arial", "Times New Roman", "Verdana", "Courier New"};
        constexpr std::array<int32_t, 7> sizes = {8, 10, 12, 14, 18, 24, 36};
        for (int32_t i = 0; i < 200; ++i) {
            ItemRecord* text = CreateRecord(design, ItemKind::Text);
            std::u16string content = u"Velloran " + std::u16string(1, char16_t(u'A' + i % 26)) + u" cards";
            for (int32_t extra = pick(0, 2); extra > 0; --extra) {
                content += kLineSeparator;
                content += u"Line of text";
            }
            SetText(text, content);
            const Point start = point();
            text->x1 = start.x;
            text->y1 = start.y;
            text->x2 = start.x + pick(20, 200);
            text->y2 = start.y;
            SetFontName(*text, faces[static_cast<size_t>(pick(0, 3))]);
            text->fontSize = sizes[static_cast<size_t>(pick(0, 6))];
            text->escapement = pick(0, 3) == 0 ? pick(0, 3599) : 0;
            text->alignment = static_cast<uint8_t>(pick(1, 3));
            text->fontWeight = pick(0, 1) ? 700 : 400;
            text->italic = static_cast<uint8_t>(pick(0, 1));
            text->textColor = pick(0, 0xFFFFFF);
            texts.push_back(text);
        }
    }
};

const BusyDesign& Design() {
    static const BusyDesign design;
    return design;
}

ViewTransform TransformFor(int64_t dpi) {
    return dpi == 96 ? CanvasTransform(1.0) : DeviceTransform(double(dpi), double(dpi), ScreenResolution());
}

RasterCanvas RasterFor(int64_t dpi) {
    return RasterCanvas(static_cast<int32_t>(kDesignWidth * dpi / 96),
                        static_cast<int32_t>(kDesignHeight * dpi / 96));
}

// which: 0 every line and shape, 1 the lines alone, 2 the shapes alone.
void BM_DrawLinesAndShapes(benchmark::State& state) {
    const BusyDesign& busy = Design();
    const ViewTransform transform = TransformFor(state.range(0));
    const int64_t which = state.range(1);
    RasterCanvas raster = RasterFor(state.range(0));
    int64_t drawn = 0;
    for (auto _ : state) {
        for (const ItemRecord* item : busy.strokes) {
            const bool line = item->kind == ItemKind::Line;
            if (which == 1 && !line) {
                continue;
            }
            if (which == 2 && line) {
                continue;
            }
            if (line) {
                DrawLine(raster, busy.design, *item, transform);
            } else {
                DrawShape(raster, *item, transform);
            }
            ++drawn;
        }
        benchmark::DoNotOptimize(raster.scanLine(0)); // finishes the painting
    }
    state.SetItemsProcessed(drawn);
}
BENCHMARK(BM_DrawLinesAndShapes)
    ->ArgNames({"dpi", "which"})
    ->ArgsProduct({{96, 600}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

void BM_DrawTexts(benchmark::State& state) {
    const BusyDesign& busy = Design();
    const ViewTransform transform = TransformFor(state.range(0));
    RasterCanvas raster = RasterFor(state.range(0));
    for (auto _ : state) {
        for (const ItemRecord* text : busy.texts) {
            DrawTextItem(raster, *text, transform);
        }
        benchmark::DoNotOptimize(raster.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(busy.texts.size()));
}
BENCHMARK(BM_DrawTexts)->ArgName("dpi")->Arg(96)->Arg(600)->Unit(benchmark::kMillisecond);

// The pure walk of a 1-pixel dotted line a hundred thousand times longer than the raster it is
// drawn on: the cost follows the raster, not the line.
void BM_DashWalkOfAnEnormousLine(benchmark::State& state) {
    const DashPattern dots = StandardDashPattern(DashStyle::Dot, 1);
    const Rect raster{0, 0, 3600, 2400};
    const Point from{-200'000'000, 1200}, to{200'000'000, 1300};
    for (auto _ : state) {
        benchmark::DoNotOptimize(DashSegments(from, to, PointDirection(from, to), dots, raster));
    }
}
BENCHMARK(BM_DashWalkOfAnEnormousLine)->Unit(benchmark::kMicrosecond);

} // namespace
