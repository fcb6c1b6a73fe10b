// The printed sheet of a ten-up US Letter business-card design (a text, two shapes, a shadowed
// item and a 12-megapixel photo clip) at 600 dpi: the batch tool writing it as PDF and as PNG,
// each run as its own process so its wall time and peak memory are the user's; the composition
// alone in this process; and a plain memset of the sheet's bytes (5100 x 6600 x 4) beside them.
#include "childprocess.h"

#include "model/designfile.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "output/composesheet.h"
#include "output/exportimage.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int32_t kSheetWidth = 5100, kSheetHeight = 6600;

// A photo-like picture of 4000 x 3000 as a JPEG file.
std::vector<uint8_t> Photo() {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            line[x] = qRgb((x * 7 + y) & 0xFF, (y * 3 + (x >> 3)) & 0xFF, ((x ^ y) >> 2) & 0xFF);
        }
    }
    const QByteArray jpeg = vlr::EncodeJpeg(photo).bytes;
    return {jpeg.begin(), jpeg.end()};
}

vlr::ItemRecord* AddItem(vlr::ItemList& design, int32_t kind, int32_t left, int32_t top, int32_t right,
                         int32_t bottom) {
    vlr::ItemRecord* item = vlr::CreateRecord(design, kind);
    item->x1 = left;
    item->y1 = top;
    item->x2 = right;
    item->y2 = bottom;
    item->zOrder = vlr::NextFreeNumber(design, vlr::Counter::ZOrder);
    vlr::SetWorldFromPixels(item, design.screen);
    return item;
}

// "Business Cards, 10 per page": 3 1/2 x 2 inch cards, margins 3/4 and 1/2.
std::string WriteDesign(const QString& folder) {
    vlr::ItemList design;
    vlr::ItemRecord* header = vlr::CreateRecord(design, vlr::ItemKind::Header);
    header->recordClass = vlr::RecordClass::Header;
    header->zoom = 1.0;
    header->units = 3;
    header->pxPerUnitX = 96.0;
    header->pxPerUnitY = 96.0;
    header->designType = 4;
    header->orientation = 1;
    header->paperWidth = 8.5;
    header->paperHeight = 11.0;
    header->cardWidth = header->canvasWidth = 3.5;
    header->cardHeight = header->canvasHeight = 2.0;
    header->leftMargin = 0.75;
    header->topMargin = 0.5;
    header->rows = 5;
    header->columns = 2;

    vlr::ItemRecord* text = AddItem(design, vlr::ItemKind::Text, 20, 20, 300, 60);
    vlr::SetText(text, u"Velloran Business Cards\u07ECPrinted at 600 dpi");
    text->fontSize = 14;
    text->textColor = 0x402000;
    vlr::ItemRecord* frame = AddItem(design, vlr::ItemKind::Rectangle, 4, 4, 332, 188);
    frame->pointList = {{.x = 4, .y = 4}, {.x = 332, .y = 4}, {.x = 332, .y = 188}, {.x = 4, .y = 188}};
    frame->shapeMode = 1; // closed
    frame->color = 0x804000;
    frame->lineWeight = 0.5;
    vlr::ItemRecord* ring = AddItem(design, vlr::ItemKind::Ellipse, 250, 120, 310, 170);
    ring->pointList = {{.x = 280, .y = 145}, {.x = 310, .y = 145}, {.x = 280, .y = 170}};
    ring->color = 0x0000C0;
    ring->fillColor = 0x80C0FF;
    ring->shadowElevation = 8; // the shadowed item
    ring->shadowFade = 4;
    vlr::ItemRecord* data = vlr::CreateRecord(design, vlr::ItemKind::PictureData);
    data->recordClass = vlr::RecordClass::PictureData;
    data->pictureId = 1;
    data->pictureStream = Photo();
    vlr::SetText(data, u"photo.jpg");
    vlr::ItemRecord* clip = AddItem(design, vlr::ItemKind::Clip, 20, 80, 200, 180);
    clip->pictureId = 1;
    clip->srcRight = 4000;
    clip->srcBottom = 3000;

    const std::string path = QDir(folder).filePath("tenup.vlrn").toStdString();
    vlr::WriteDesign(path, design);
    return path;
}

struct Fixture {
    QTemporaryDir folder;
    std::string design = WriteDesign(folder.path());
};
Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BatchSheet(benchmark::State& state, const char* output) {
    Fixture& fixture = Shared();
    const std::string out = fixture.folder.filePath(output).toStdString();
    double peak = 0;
    for (auto _ : state) {
        peak = std::max(peak, vlr::bench::RunForPeakMemory(
                                  VLR_BATCH, {"sheet", fixture.design, "-o", out, "--dpi", "600"}));
        if (peak < 0) {
            state.SkipWithError("velloran-batch sheet failed");
            return;
        }
    }
    state.counters["peak_MiB"] = peak;
}

void BM_BatchSheetPdf(benchmark::State& state) {
    BatchSheet(state, "tenup.pdf");
}
BENCHMARK(BM_BatchSheetPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_BatchSheetPng(benchmark::State& state) {
    BatchSheet(state, "tenup.png");
}
BENCHMARK(BM_BatchSheetPng)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The composition alone: allocating the sheet, drawing the design once, the nine copies.
void BM_ComposeSheet(benchmark::State& state) {
    vlr::ItemList design;
    vlr::FixedAnswerPrompt yes(vlr::PromptAnswer::Yes);
    if (!vlr::ReadDesign(Shared().design, design, yes).ok()) {
        state.SkipWithError("cannot read the design");
        return;
    }
    const vlr::ComposeDevice device = vlr::PaperDevice(design, 600);
    for (auto _ : state) {
        vlr::ComposeResult result = vlr::ComposeSheet(design, device, {});
        benchmark::DoNotOptimize(result.sheet.scanLine(0));
    }
}
BENCHMARK(BM_ComposeSheet)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemsetOfTheSheet(benchmark::State& state) {
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
BENCHMARK(BM_MemsetOfTheSheet)->Unit(benchmark::kMillisecond);

} // namespace
