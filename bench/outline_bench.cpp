// Outlines of 10,000 shapes of every kind, as the canvas and the print composer compute them
// before painting: at 100 %, at 250 % and at 600 dpi.
#include "model/outline.h"

#include <benchmark/benchmark.h>

#include <array>
#include <random>

namespace {

constexpr int kShapes = 10'000;

vlr::PointNode Node(int32_t x, int32_t y) {
    return {.x = x, .y = y, .savedX = x, .savedY = y};
}

// Shapes of the eleven kinds in turn, of card-sized extents and typical point counts.
std::vector<vlr::ItemRecord*> MixedShapes(vlr::ItemList& list) {
    constexpr std::array kinds = {vlr::ItemKind::Triangle, vlr::ItemKind::Square,  vlr::ItemKind::Rectangle,
                                  vlr::ItemKind::Circle,   vlr::ItemKind::Ellipse, vlr::ItemKind::Polygon,
                                  vlr::ItemKind::Star,     vlr::ItemKind::Pie,     vlr::ItemKind::Arc,
                                  vlr::ItemKind::Spline,   vlr::ItemKind::Curve};
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> coordinate(0, 400), extent(5, 120), count(3, 12);
    std::vector<vlr::ItemRecord*> shapes;
    for (int i = 0; i < kShapes; ++i) {
        const int32_t kind = kinds[i % kinds.size()];
        vlr::ItemRecord* shape = vlr::CreateRecord(list, kind);
        const vlr::Point centre{coordinate(random), coordinate(random)};
        const vlr::Point corner{centre.x + extent(random), centre.y - extent(random)};
        shape->vertexCount = count(random);
        shape->shapeMode = i % 3;
        switch (kind) {
        case vlr::ItemKind::Polygon:
            vlr::RegularPolygonPoints(shape->pointList, centre, corner, shape->vertexCount);
            break;
        case vlr::ItemKind::Star:
            vlr::StarPoints(shape->pointList, centre, {centre.x + 10, centre.y + 10}, corner,
                            shape->vertexCount);
            break;
        case vlr::ItemKind::Pie:
        case vlr::ItemKind::Arc:
            vlr::ArcPoints(shape->pointList, centre, corner, {centre.x - 30, centre.y + extent(random)});
            break;
        case vlr::ItemKind::Square:
        case vlr::ItemKind::Circle:
            vlr::SquareFromEdge(shape->pointList, centre, corner);
            break;
        default:
            for (int32_t j = 0; j < shape->vertexCount; ++j) {
                shape->pointList.push_back(Node(coordinate(random), coordinate(random)));
            }
            if (kind == vlr::ItemKind::Curve) {
                vlr::SmoothCurve(shape->pointList, shape->shapeMode, vlr::kDefaultTension);
            }
            break;
        }
        shapes.push_back(shape);
    }
    return shapes;
}

void BM_OutlinesOfMixedShapes(benchmark::State& state) {
    vlr::ItemList list;
    const std::vector<vlr::ItemRecord*> shapes = MixedShapes(list);
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    const vlr::ViewTransform transform{scale, scale, 17, 23};
    size_t points = 0;
    for (auto _ : state) {
        for (const vlr::ItemRecord* shape : shapes) {
            vlr::DeviceOutline outline = vlr::ShapeOutline(*shape, transform);
            points += outline.points.size();
            benchmark::DoNotOptimize(outline);
        }
    }
    state.SetItemsProcessed(state.iterations() * kShapes);
    state.counters["points_per_pass"] = static_cast<double>(points) / static_cast<double>(state.iterations());
}
// Scales in percent: the canvas at 100 % and 250 %, and 600 dpi over a 96-dpi screen (625 %).
BENCHMARK(BM_OutlinesOfMixedShapes)->Arg(100)->Arg(250)->Arg(625)->Unit(benchmark::kMillisecond);

} // namespace
