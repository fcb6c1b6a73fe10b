// Picture work on sizes the program meets: a 12-megapixel photograph decoded at full size and
// at an eighth (the picture editor's first look), a 600-dpi Letter sheet reduced to a quarter
// with the triangle filter (the export and preview), and the adjustments and turn of a clip.
#include "photojpeg.h"

#include "render/jpegdecode.h"
#include "render/picture.h"
#include "render/resample.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <vector>

namespace vlr {
namespace {

void BM_DecodeTwelveMegapixelJpeg(benchmark::State& state) {
    const std::vector<uint8_t>& jpeg = bench::PhotoJpeg();
    const auto reduction = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        std::optional<QImage> picture = DecodeJpeg(jpeg, reduction);
        if (!picture) {
            state.SkipWithError("the picture did not decode");
            break;
        }
        benchmark::DoNotOptimize(picture->constBits());
    }
    state.counters["bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_DecodeTwelveMegapixelJpeg)->ArgName("reduction")->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

QImage Sheet() {
    QImage sheet(5100, 6600, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(sheet.scanLine(y));
        for (int x = 0; x < sheet.width(); ++x) {
            row[x] = 0xFF000000u | uint32_t((x / 7) & 0xFF) << 16 | uint32_t((y / 5) & 0xFF) << 8 |
                     uint32_t((x ^ y) & 0xFF);
        }
    }
    return sheet;
}

void BM_ResampleLetterSheetToAQuarter(benchmark::State& state) {
    static const QImage sheet = Sheet();
    QImage target(1275, 1650, QImage::Format_RGB32);
    const auto filter = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        ImageResample(sheet, target, filter);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ResampleLetterSheetToAQuarter)->ArgName("filter")->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

void BM_AdjustColoursOfTwelveMegapixels(benchmark::State& state) {
    QImage picture(4000, 3000, QImage::Format_RGB32);
    picture.fill(0xFF8040C0u);
    for (auto _ : state) {
        AdjustColours(picture, 20, 30, -10);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_AdjustColoursOfTwelveMegapixels)->Unit(benchmark::kMillisecond);

void BM_RotateClipByThirtyDegrees(benchmark::State& state) {
    QImage clip(2000, 1500, QImage::Format_RGB32);
    clip.fill(0xFF336699u);
    QImage target(2482, 2300, QImage::Format_RGB32);
    for (auto _ : state) {
        RotateRaster(clip, target, M_PI / 6);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_RotateClipByThirtyDegrees)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vlr
