// The batch tool's jobs as a user runs them, each as a process of its own so that its wall time
// and its peak memory (the child's maximum resident set) are the user's:
// - a ten-up US Letter business-card sheet (a rectangle, three lines of text, a line and a
//   1600 x 1200 photo clip on each card) to PDF at 600 dpi, with the PDF's size;
// - copying a design of 100,000 items (about 67 MB), as megabytes of the file per second;
// - a full-page photo clip on US Letter to PDF at 1,200 dpi.
// When the build names an earlier velloran-batch (cmake -DVELLORAN_BASELINE_BATCH=/path), each
// job runs with it as well, side by side in the same run. Run with --benchmark_repetitions=5
// for medians.
#include "childprocess.h"
#include "designitems.h"
#include "largedesign.h"
#include "photojpeg.h"

#include "model/designfile.h"
#include "model/geometry.h"
#include "model/itemlist.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace vlr {
namespace {

using bench::AddItem;

ItemRecord* AddLetterHeader(ItemList& design, int32_t designType) {
    ItemRecord* header = CreateRecord(design, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 3; // inches
    header->pxPerUnitX = header->pxPerUnitY = 96.0;
    header->designType = designType;
    header->orientation = 1;
    header->paperWidth = header->canvasWidth = 8.5;
    header->paperHeight = header->canvasHeight = 11.0;
    return header;
}

void AddPhoto(ItemList& design, int32_t pictureId, const std::vector<uint8_t>& jpeg) {
    ItemRecord* data = CreateRecord(design, ItemKind::PictureData);
    data->recordClass = RecordClass::PictureData;
    data->pictureId = pictureId;
    data->clipShape = 4; // the format code of picture data: JPEG
    data->pictureStream = jpeg;
    SetText(data, u"photo.jpg");
}

ItemRecord* AddClip(ItemList& design, int32_t pictureId, Point from, Point to, Rect cut) {
    ItemRecord* clip = AddItem(design, ItemKind::Clip, from, to);
    clip->pictureId = pictureId;
    clip->clipShape = 1; // a rectangle
    clip->srcLeft = cut.left, clip->srcTop = cut.top, clip->srcRight = cut.right,
    clip->srcBottom = cut.bottom;
    clip->scaleX = clip->scaleY = 1.0;
    clip->mirrorX = clip->mirrorY = 1;
    return clip;
}

bool Save(ItemList& design, const QString& path) {
    return WriteDesign(path.toStdString(), design);
}

// "Business Cards, 10 per page": cards of 3 1/2 x 2 inches (336 x 192 design pixels), margins
// 3/4 and 1/2 inch, no gaps.
bool WriteTenUpSheet(const QString& path) {
    ItemList design;
    ItemRecord* header = AddLetterHeader(design, 4);
    header->canvasWidth = header->cardWidth = 3.5;
    header->canvasHeight = header->cardHeight = 2.0;
    header->leftMargin = 0.75;
    header->topMargin = 0.5;
    header->rows = 5;
    header->columns = 2;
    AddPhoto(design, 1, bench::PhotoJpeg(1600, 1200));

    ItemRecord* frame = AddItem(design, ItemKind::Rectangle, {6, 6}, {330, 186});
    frame->pointList = {{.x = 6, .y = 6}, {.x = 330, .y = 6}, {.x = 330, .y = 186}, {.x = 6, .y = 186}};
    frame->shapeMode = 1; // closed
    frame->color = 0x804000;
    frame->lineWeight = 0.5; // millimetres
    ItemRecord* text = AddItem(design, ItemKind::Text, {18, 70}, {190, 70});
    SetText(text, u"Ada Velloran\u07ECDesign and Print\u07EC+1 555 0100");
    text->fontSize = 11;
    text->textColor = 0x402000;
    SetFontName(*text, "Arial");
    ItemRecord* line = AddItem(design, ItemKind::Line, {18, 160}, {190, 160});
    line->color = 0x0000C0;
    line->lineWeight = 0.4;
    AddClip(design, 1, {200, 36}, {320, 126}, {0, 0, 1600, 1200});
    return Save(design, path);
}

// A sheet design whose whole US Letter page is a photo clip.
bool WriteFullPagePhoto(const QString& path) {
    ItemList design;
    AddLetterHeader(design, 1);
    AddPhoto(design, 1, bench::PhotoJpeg());
    AddClip(design, 1, {0, 0}, {816, 1056}, {875, 0, 3125, 3000}); // a portrait part of the photo
    return Save(design, path);
}

bool WriteLargeDesign(const QString& path) {
    const std::vector<uint8_t> bytes = bench::MakeLargeDesignBytes(); // not kept: see RunForPeakMemory
    std::ofstream file(path.toStdString(), std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bool(file);
}

struct Designs {
    QTemporaryDir folder;
    QString tenUp = folder.filePath("tenup.vlrn");
    QString fullPage = folder.filePath("fullpage.vlrn");
    QString large = folder.filePath("large.vlrn");
    bool ok =
        folder.isValid() && WriteTenUpSheet(tenUp) && WriteFullPagePhoto(fullPage) && WriteLargeDesign(large);
};
Designs& Shared() {
    static Designs designs;
    return designs;
}

// One run of the job per iteration; the counters are those of the last run.
void Job(benchmark::State& state, const std::string& program, const QString& design, const QString& output,
         const std::vector<std::string>& options) {
    Designs& designs = Shared();
    if (!designs.ok) {
        state.SkipWithError("the designs could not be written");
        return;
    }
    std::vector<std::string> arguments{design.toStdString(), "-o", output.toStdString()};
    if (options.front() == "copy") {
        arguments = {design.toStdString(), output.toStdString()};
    }
    arguments.insert(arguments.begin(), options.front());
    arguments.insert(arguments.end(), options.begin() + 1, options.end());
    double peak = 0;
    for (auto _ : state) {
        QFile::remove(output);
        peak = bench::RunForPeakMemory(program, arguments);
        if (peak < 0) {
            state.SkipWithError((program + " failed").c_str());
            return;
        }
    }
    state.counters["peak_MiB"] = peak;
    state.counters["output_MB"] = double(QFileInfo(output).size()) / 1e6;
}

void TenUpSheet(benchmark::State& state, const std::string& program) {
    Job(state, program, Shared().tenUp, Shared().folder.filePath("tenup.pdf"), {"sheet", "--dpi", "600"});
}

void FullPagePhoto(benchmark::State& state, const std::string& program) {
    Job(state, program, Shared().fullPage, Shared().folder.filePath("fullpage.pdf"),
        {"sheet", "--dpi", "1200"});
}

void CopyLargeDesign(benchmark::State& state, const std::string& program) {
    Job(state, program, Shared().large, Shared().folder.filePath("copy.vlrn"), {"copy"});
    // Megabytes of the file read and written again per second of the whole process.
    state.counters["file_MBps"] = benchmark::Counter(double(QFileInfo(Shared().large).size()) / 1e6,
                                                     benchmark::Counter::kIsIterationInvariantRate);
}

void Register(const char* name, void (*job)(benchmark::State&, const std::string&),
              const std::string& program) {
    benchmark::RegisterBenchmark(name, job, program)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

// Each job for this build and, when the build names one, for the earlier tool just after it.
const int registered = [] {
    const std::string current = VLR_BATCH, baseline = VLR_BASELINE_BATCH;
    const std::pair<const char*, void (*)(benchmark::State&, const std::string&)> jobs[] = {
        {"BM_TenUpSheetPdf600", TenUpSheet},
        {"BM_CopyLargeDesign", CopyLargeDesign},
        {"BM_FullPagePhotoPdf1200", FullPagePhoto}};
    for (const auto& [name, job] : jobs) {
        Register((std::string(name) + "/current").c_str(), job, current);
        if (!baseline.empty()) {
            Register((std::string(name) + "/baseline").c_str(), job, baseline);
        }
    }
    return 0;
}();

} // namespace
} // namespace vlr
