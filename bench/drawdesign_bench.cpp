// Drawing a whole US Letter design of 1,000 items - texts, shapes and lines, one in eight with a
// soft shadow, and three clips of 12-megapixel photographs - at 100 % on the screen (816 x 1056)
// and at 600 dpi (5100 x 6600). Warm: the clips' derived bitmaps are kept from an earlier draw,
// as when a window repaints or the next sheet prints. Cold: a fresh copy of the design each
// time, so every photograph is decoded, cut and scaled again, as when a design is first opened.
#include "designitems.h"
#include "photojpeg.h"

#include "model/designfile.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "render/drawdesign.h"
#include "render/rastercanvas.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace vlr {
namespace {

constexpr int32_t kItemCount = 1000;
constexpr int32_t kClipCount = 3;
constexpr int32_t kPhotoWidth = 4000, kPhotoHeight = 3000;
// The page in design pixels at 96 dpi: 8 1/2 x 11 inches.
constexpr int32_t kPageWidth = 816, kPageHeight = 1056;

using bench::AddItem;

// The design as its file's bytes, so each cold iteration reads a copy that shares nothing.
std::vector<uint8_t> LetterDesign() {
    ItemList design;
    ItemRecord* header = CreateRecord(design, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 3;
    header->pxPerUnitX = header->pxPerUnitY = 96.0;
    header->designType = 1; // a whole sheet
    header->canvasWidth = header->paperWidth = 8.5;
    header->canvasHeight = header->paperHeight = 11.0;

    for (int32_t id = 1; id <= kClipCount; ++id) {
        ItemRecord* data = CreateRecord(design, ItemKind::PictureData);
        data->recordClass = RecordClass::PictureData;
        data->pictureId = id;
        data->clipShape = 4; // JPEG
        data->pictureStream = bench::PhotoJpeg();
    }

    std::mt19937 random(20261209);
    auto between = [&random](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    auto colour = [&random] { return int32_t(random() & 0xFFFFFF); };
    for (int32_t i = 0; i < kItemCount - kClipCount; ++i) {
        const Point at{between(0, kPageWidth - 120), between(0, kPageHeight - 80)};
        const int32_t width = between(20, 120), height = between(12, 80);
        ItemRecord* item = nullptr;
        switch (i % 6) {
        case 0:
        case 1: {
            item = AddItem(design, ItemKind::Text, at, {at.x + 100, at.y});
            SetText(item,
                    i % 12 == 0 ? u"Two lines of text\u07ECon a business card" : u"Velloran Business Cards");
            item->fontSize = between(8, 24);
            item->fontWeight = i % 4 == 0 ? 700 : 400;
            item->textColor = colour();
            SetFontName(*item, i % 3 == 0 ? "Times New Roman" : "Arial");
            break;
        }
        case 2:
            item = AddItem(design, ItemKind::Line, at, {at.x + width, at.y + height});
            item->color = colour();
            item->lineWeight = between(1, 20) / 10.0; // millimetres
            break;
        case 3:
            item = AddItem(design, ItemKind::Rectangle, at, {at.x + width, at.y + height});
            item->pointList = {{.x = at.x, .y = at.y},
                               {.x = at.x + width, .y = at.y},
                               {.x = at.x + width, .y = at.y + height},
                               {.x = at.x, .y = at.y + height}};
            break;
        case 4:
            item = AddItem(design, ItemKind::Ellipse, at, {at.x + width, at.y + height});
            item->pointList = {{.x = at.x + width / 2, .y = at.y + height / 2},
                               {.x = at.x + width, .y = at.y + height / 2},
                               {.x = at.x + width / 2, .y = at.y + height}};
            break;
        default:
            item = AddItem(design, ItemKind::Polygon, at, {at.x + width, at.y + height});
            item->pointList = {{.x = at.x + width / 2, .y = at.y},
                               {.x = at.x + width, .y = at.y + height / 3},
                               {.x = at.x + width * 4 / 5, .y = at.y + height},
                               {.x = at.x + width / 5, .y = at.y + height},
                               {.x = at.x, .y = at.y + height / 3}};
            break;
        }
        if (IsShapeKind(item->kind)) {
            item->shapeMode = 2; // closed and filled
            item->color = colour();
            item->fillColor = colour();
            item->lineWeight = between(0, 10) / 10.0;
        }
        if (i % 8 == 0) {
            item->shadowElevation = uint8_t(between(20, 90));
            item->shadowFade = uint8_t(between(0, 60));
            item->shadowLightness = uint8_t(between(0, 160));
        }
    }
    // Three photographs, a quarter of their width and height on the page, each with a shadow.
    for (int32_t id = 1; id <= kClipCount; ++id) {
        const Point at{40 + (id - 1) * 250, 300 + (id - 1) * 200};
        ItemRecord* clip = AddItem(design, ItemKind::Clip, at, {at.x + 240, at.y + 180});
        clip->pictureId = id;
        clip->srcRight = kPhotoWidth;
        clip->srcBottom = kPhotoHeight;
        clip->scaleX = clip->scaleY = 1.0;
        clip->mirrorX = clip->mirrorY = 1;
        clip->shadowElevation = 60;
        clip->shadowLightness = 100;
    }
    std::vector<uint8_t> bytes;
    WriteDesignToMemory(design, bytes);
    return bytes;
}

const std::vector<uint8_t>& DesignBytes() {
    static const std::vector<uint8_t> bytes = LetterDesign();
    return bytes;
}

bool ReadCopy(ItemList& design) {
    FixedAnswerPrompt yes(PromptAnswer::Yes);
    return ReadDesignFromMemory(DesignBytes(), design, yes).ok();
}

struct Target {
    int32_t width, height;
    ViewTransform view;
};
Target AtZoomOne() {
    return {kPageWidth, kPageHeight, CanvasTransform(1.0)};
}
Target At600Dpi() {
    return {5100, 6600, DeviceTransform(600, 600, ScreenResolution())};
}

void WhitePage(RasterCanvas& raster) {
    raster.image().fill(0xFFFFFFFFu);
}

void DrawWarm(benchmark::State& state, const Target& target) {
    ItemList design;
    RasterCanvas raster(target.width, target.height);
    if (!ReadCopy(design) || raster.isNull()) {
        state.SkipWithError("the design or the raster could not be made");
        return;
    }
    DrawDesign(raster, design, target.view); // fills the clips' derived bitmaps
    for (auto _ : state) {
        state.PauseTiming();
        WhitePage(raster);
        state.ResumeTiming();
        DrawDesign(raster, design, target.view);
        benchmark::DoNotOptimize(raster.scanLine(0));
    }
}

void DrawCold(benchmark::State& state, const Target& target) {
    RasterCanvas raster(target.width, target.height);
    if (raster.isNull()) {
        state.SkipWithError("the raster could not be made");
        return;
    }
    ItemList design;
    for (auto _ : state) {
        state.PauseTiming();
        design = ItemList(); // the previous copy is released outside the measurement
        const bool read = ReadCopy(design);
        WhitePage(raster);
        state.ResumeTiming();
        if (!read) {
            state.SkipWithError("the design could not be read");
            break;
        }
        DrawDesign(raster, design, target.view);
        benchmark::DoNotOptimize(raster.scanLine(0));
    }
}

void BM_DrawDesignWarm(benchmark::State& state) {
    DrawWarm(state, state.range(0) == 0 ? AtZoomOne() : At600Dpi());
}
BENCHMARK(BM_DrawDesignWarm)->ArgName("dpi600")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrawDesignCold(benchmark::State& state) {
    DrawCold(state, state.range(0) == 0 ? AtZoomOne() : At600Dpi());
}
BENCHMARK(BM_DrawDesignCold)->ArgName("dpi600")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace vlr
