// The picture editor with a 12-megapixel photograph: what the user waits for after choosing it
// (the picture shown in a 640 x 480 view), after zooming to 100 % (the full-size decode), after a
// quarter turn at full size, and for one repaint of the view at 100 % and 300 %.
#include "photojpeg.h"

#include "pictures/pictureeditor.h"
#include "pictures/pictureview.h"
#include "render/picturedecode.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace vlr {
namespace {

constexpr QSize kView(640, 480);

void OpenPhotoInTheEditor(benchmark::State& state) {
    const std::vector<uint8_t>& photo = bench::PhotoJpeg();
    for (auto _ : state) {
        PictureEditor editor;
        if (!LoadPicture(editor, photo, PictureFormat::Jpeg, "photo.jpg", kView)) {
            state.SkipWithError("the photograph did not load");
            break;
        }
        benchmark::DoNotOptimize(editor.oriented.constBits());
    }
}
BENCHMARK(OpenPhotoInTheEditor)->Unit(benchmark::kMillisecond);

void ZoomPhotoToFullSize(benchmark::State& state) {
    const std::vector<uint8_t>& photo = bench::PhotoJpeg();
    for (auto _ : state) {
        state.PauseTiming();
        PictureEditor editor;
        LoadPicture(editor, photo, PictureFormat::Jpeg, "photo.jpg", kView);
        state.ResumeTiming();
        SetEditorZoom(editor, 1.0);
        benchmark::DoNotOptimize(editor.oriented.constBits());
    }
}
BENCHMARK(ZoomPhotoToFullSize)->Unit(benchmark::kMillisecond);

void TurnPhotoAtFullSize(benchmark::State& state) {
    PictureEditor editor;
    LoadPicture(editor, bench::PhotoJpeg(), PictureFormat::Jpeg, "photo.jpg", kView);
    SetEditorZoom(editor, 1.0);
    for (auto _ : state) {
        TurnPictureRight(editor);
        benchmark::DoNotOptimize(editor.oriented.constBits());
    }
}
BENCHMARK(TurnPhotoAtFullSize)->Unit(benchmark::kMillisecond);

void RepaintEditorView(benchmark::State& state) {
    PictureEditor editor;
    LoadPicture(editor, bench::PhotoJpeg(), PictureFormat::Jpeg, "photo.jpg", kView);
    SetEditorZoom(editor, static_cast<double>(state.range(0)) / 100.0);
    TPictureView view(editor);
    view.resize(kView);
    view.Refresh();
    QImage target(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view.viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(RepaintEditorView)->ArgName("percent")->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vlr
