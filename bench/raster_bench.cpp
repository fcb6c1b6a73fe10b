// The raster layer on a US Letter sheet at 600 dpi (5100 x 6600 pixels): filling the whole sheet
// against a plain memset of the same bytes, and painting shape outlines with and without
// antialiasing.
#include "model/outline.h"
#include "render/rastercanvas.h"


#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

constexpr int32_t kSheetWidth = 5100;
constexpr int32_t kSheetHeight = 6600;

void BM_MemsetOfASheet(benchmark::State& state) {
    const size_t bytes = size_t{kSheetWidth} * kSheetHeight * sizeof(uint32_t);
    auto buffer = std::make_unique<uint8_t[]>(bytes);
    int value = 0;
    for (auto _ : state) {
        std::memset(buffer.get(), value++ & 0xFF, bytes);
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_MemsetOfASheet)->Unit(benchmark::kMillisecond);

// White, as a sheet is cleared before the design is drawn on it, and a colour.
void BM_FillRectOfASheet(benchmark::State& state) {
    vlr::RasterCanvas sheet(kSheetWidth, kSheetHeight);
    const bool white = state.range(0) != 0;
    int32_t colour = 0;
    for (auto _ : state) {
        sheet.setBrush({white ? 0xFFFFFF : 0x102030 + (colour++ & 0xFF)});
        sheet.FillRect({0, 0, kSheetWidth, kSheetHeight});
        benchmark::DoNotOptimize(sheet.scanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * size_t{kSheetWidth} * kSheetHeight * sizeof(uint32_t)));
}
BENCHMARK(BM_FillRectOfASheet)->ArgName("white")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A 10 x 10 grid of filled, outlined stars and ellipses spread over the sheet (one card each),
// with a half-millimetre pen (12 pixels), as a printed sheet of a design draws them.
void BM_PaintOutlinesOnASheet(benchmark::State& state) {
    const auto smoothing = state.range(0) ? vlr::Smoothing::Antialiased : vlr::Smoothing::Exact;
    vlr::RasterCanvas sheet(kSheetWidth, kSheetHeight, smoothing);
    sheet.setPen({0x203040, 12});
    sheet.setBrush({0x80C0F0});
    const vlr::ViewTransform printer = vlr::DeviceTransform(600, 600, vlr::ScreenResolution());
    std::vector<vlr::DeviceOutline> outlines;
    for (int32_t row = 0; row < 10; ++row) {
        for (int32_t column = 0; column < 10; ++column) {
            const int32_t x = 40 + column * 80, y = 40 + row * 100;
            std::vector<vlr::PointNode> points = {
                {.x = x, .y = y}, {.x = x, .y = y - 35}, {.x = x + 10, .y = y - 8}};
            outlines.push_back(vlr::ShapeOutline(
                (row + column) % 2 ? vlr::ItemKind::Star : vlr::ItemKind::Ellipse, 0, 7, points, printer));
        }
    }
    for (auto _ : state) {
        for (const vlr::DeviceOutline& outline : outlines) {
            if (outline.form == vlr::OutlineForm::Polygon) {
                sheet.Polygon(outline.points);
            } else {
                sheet.BeginPath();
                sheet.PolyBezier(outline.points);
                sheet.EndPath();
                sheet.StrokeAndFillPath();
            }
        }
        benchmark::DoNotOptimize(sheet.scanLine(0)); // finishes the painting
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(outlines.size()));
}
BENCHMARK(BM_PaintOutlinesOnASheet)->ArgName("antialiased")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
