// The page-setup wizard repaints its sample after every keystroke: a sheet of business cards, a
// label sheet at the most rows and columns the sample draws, and a typed 100000 x 100000 pixel
// image, each into an area of the wizard's size.
#include "output/pagesample.h"

#include "settings/designtype.h"
#include "settings/pagepresets.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

const QSize kArea(290, 480);

void PaintInto(benchmark::State& state, int32_t type, const vlr::pageset_t& pageset) {
    QImage area(kArea, QImage::Format_RGB32);
    for (auto _ : state) {
        area.fill(Qt::gray);
        QPainter painter(&area);
        vlr::PaintSample(painter, type, pageset, kArea, QPoint(0, 0));
        painter.end();
        benchmark::DoNotOptimize(area.constBits());
    }
}

void BM_SampleBusinessCards(benchmark::State& state) {
    PaintInto(state, vlr::DesignType::BusinessCards,
              vlr::DefaultPageSetup(vlr::DesignType::BusinessCards, 3));
}
BENCHMARK(BM_SampleBusinessCards)->Unit(benchmark::kMicrosecond);

// 1000 x 1000 labels of 0.2 x 0.2 mm: the sample stops at its 200 rows and columns.
void BM_SampleMostLabels(benchmark::State& state) {
    vlr::pageset_t pageset = vlr::DefaultPageSetup(vlr::DesignType::Labels, 2);
    vlr::miry_t& block = pageset.dims[1];
    block.cardWidth = block.cardHeight = "0.2";
    block.rows = block.columns = "1000";
    block.rowGap = block.columnGap = "0.8";
    PaintInto(state, vlr::DesignType::Labels, pageset);
}
BENCHMARK(BM_SampleMostLabels)->Unit(benchmark::kMillisecond);

void BM_SampleHugePixelImage(benchmark::State& state) {
    vlr::pageset_t pageset = vlr::DefaultPageSetup(vlr::DesignType::DigitalImages, 1);
    pageset.dims[0].paperWidth = pageset.dims[0].paperHeight = "100000";
    PaintInto(state, vlr::DesignType::DigitalImages, pageset);
}
BENCHMARK(BM_SampleHugePixelImage)->Unit(benchmark::kMicrosecond);

} // namespace
