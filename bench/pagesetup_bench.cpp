// The page-setup work that runs on every keystroke of the page-dimensions page (recognising the
// preset, checking the page) and the card grid a printer asks for, at its largest.
#include "settings/pagepresets.h"
#include "settings/sheetlayout.h"

#include <benchmark/benchmark.h>

namespace {

// The longest inch list (labels), with a block that matches none of its entries, so every entry
// is compared in full.
void BM_RecognizePresetInchLabels(benchmark::State& state) {
    vlr::pageset_t pageset = vlr::DefaultPageSetup(5, 3);
    pageset.dims[2].topMargin = "3/8";
    for (auto _ : state) {
        benchmark::DoNotOptimize(vlr::RecognizePreset(pageset, 5));
    }
}
BENCHMARK(BM_RecognizePresetInchLabels);

void BM_CheckPageSetup(benchmark::State& state) {
    const vlr::pageset_t pageset = vlr::DefaultPageSetup(4, 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(vlr::CheckPageSetup(pageset, 4));
    }
}
BENCHMARK(BM_CheckPageSetup);

// 1000 x 1000 cards at 600 dpi: the most positions a header can ask for.
void BM_CardPositionsLargestGrid(benchmark::State& state) {
    vlr::SheetLayout layout;
    layout.repeatsCards = true;
    layout.rows = layout.columns = 1000;
    layout.cardWidth = 0.5;
    layout.cardHeight = 0.25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vlr::CardPositions(layout, 600, 600).size());
    }
}
BENCHMARK(BM_CardPositionsLargestGrid)->Unit(benchmark::kMillisecond);

} // namespace
