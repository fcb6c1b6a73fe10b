// The picture editor's state.
#include "pictures/pictureeditor.h"

#include "model/numeric.h"
#include "render/jpegdecode.h"
#include "render/picture.h"
#include "render/picturedecode.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>

namespace vlr {

namespace {

// The zoom buttons' steps in percent.
constexpr std::array<double, 8> kZoomOutSteps = {12.5, 25, 50, 100, 125, 150, 175, 200};
constexpr std::array<double, 8> kZoomInSteps = {25, 50, 100, 125, 150, 175, 200, 300};

int32_t WholePercent(double zoom) {
    return nearest(zoom * 100.0);
}

std::optional<QImage> Decode(const PictureEditor& editor, int32_t scale) {
    DecodeOptions options;
    options.jpegReduction = editor.format == PictureFormat::Jpeg ? scale : DecodeScale::Full;
    return DecodePictureStream(editor.stream, editor.format, options);
}

void Orient(PictureEditor& editor) {
    editor.oriented = OrientPicture(editor.raster, editor.mirrorX, editor.mirrorY, editor.turn);
}

bool QuarterTurned(int32_t turn) {
    return turn == 90 || turn == 270;
}

} // namespace

int32_t PictureFormatOfPath(const QString& path) {
    QString extension = QFileInfo(path.trimmed()).suffix().trimmed().toUpper();
    while (extension.startsWith('.')) {
        extension.remove(0, 1);
    }
    if (extension == "JPG" || extension == "JPEG") {
        return PictureFormat::Jpeg;
    }
    if (extension == "GIF") {
        return PictureFormat::Gif;
    }
    if (extension == "BMP") {
        return PictureFormat::Bitmap;
    }
    if (extension == "ICO") {
        return PictureFormat::Icon;
    }
    if (extension == "EMF" || extension == "WMF") {
        return PictureFormat::Metafile;
    }
    return 0;
}

int32_t InitialDecodeScale(QSize eighth, QSize view) {
    if (eighth.width() <= 0 || eighth.height() <= 0) {
        return DecodeScale::Eighth;
    }
    const int k =
        std::min(std::max(view.width(), 0) / eighth.width(), std::max(view.height(), 0) / eighth.height());
    if (k < 2) {
        return DecodeScale::Eighth;
    }
    if (k < 4) {
        return DecodeScale::Quarter;
    }
    return k < 8 ? DecodeScale::Half : DecodeScale::Full;
}

int32_t DecodeScaleForPercent(int32_t percent) {
    if (percent < 25) {
        return DecodeScale::Eighth;
    }
    if (percent < 50) {
        return DecodeScale::Quarter;
    }
    return percent < 100 ? DecodeScale::Half : DecodeScale::Full;
}

double ZoomOutFrom(double zoom) {
    const int32_t percent = WholePercent(zoom);
    double result = kZoomOutSteps.front();
    for (double step : kZoomOutSteps) {
        if (step < percent) {
            result = step;
        }
    }
    return result / 100.0;
}

double ZoomInFrom(double zoom) {
    const int32_t percent = WholePercent(zoom);
    for (double step : kZoomInSteps) {
        if (step > percent) {
            return step / 100.0;
        }
    }
    return kZoomInSteps.back() / 100.0;
}

int TrackPosition(double zoom) {
    return std::clamp(WholePercent(zoom), 1, 300);
}

void ClearPicture(PictureEditor& editor) {
    FreeList(editor.clips);
    editor = PictureEditor{};
}

bool LoadPicture(PictureEditor& editor, std::vector<uint8_t> stream, int32_t format,
                 const std::string& fileName, QSize view) {
    ClearPicture(editor);
    PictureEditor loading;
    loading.format = format;
    loading.stream = std::move(stream);
    loading.fileName = fileName;
    std::optional<QImage> decoded;
    if (format == PictureFormat::Jpeg) {
        std::optional<QSize> full = JpegSize(loading.stream);
        decoded = full ? Decode(loading, DecodeScale::Eighth) : std::nullopt;
        if (decoded) {
            loading.fullSize = *full;
            loading.decodeScale = InitialDecodeScale(decoded->size(), view);
            if (loading.decodeScale != DecodeScale::Eighth) {
                decoded = Decode(loading, loading.decodeScale);
            }
        }
    } else if (format != 0) {
        decoded = Decode(loading, DecodeScale::Full);
        if (decoded) {
            loading.fullSize = decoded->size();
        }
    }
    // A single row or column cannot be shown, cut or drawn as a clip.
    if (!decoded || decoded->isNull() || loading.fullSize.width() < 2 || loading.fullSize.height() < 2) {
        return false;
    }
    loading.raster = std::move(*decoded);
    loading.editorZoom = 1.0 / (1 << loading.decodeScale);
    Orient(loading);
    editor = std::move(loading);
    return true;
}

bool LoadPictureFile(PictureEditor& editor, const QString& path, QSize view) {
    ClearPicture(editor);
    const int32_t format = PictureFormatOfPath(path);
    QFile file(path.trimmed());
    if (format == 0 || file.size() > kMaxPictureFileBytes || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    const QString name = QFileInfo(path.trimmed()).absoluteFilePath();
    return LoadPicture(editor, std::vector<uint8_t>(bytes.begin(), bytes.end()), format, name.toStdString(),
                       view);
}

void SetEditorZoom(PictureEditor& editor, double zoom) {
    editor.editorZoom = std::clamp(zoom, kMinEditorZoom, kMaxEditorZoom);
    if (editor.format != PictureFormat::Jpeg || !editor.loaded()) {
        return;
    }
    const int32_t needed = DecodeScaleForPercent(WholePercent(editor.editorZoom));
    if (needed >= editor.decodeScale) {
        return;
    }
    if (std::optional<QImage> finer = Decode(editor, needed); finer && !finer->isNull()) {
        editor.raster = std::move(*finer);
        editor.decodeScale = needed;
        Orient(editor);
    }
}

void MirrorPicture(PictureEditor& editor) {
    // On a quarter-turned picture the vertical sign is what mirrors it on the screen.
    (QuarterTurned(editor.turn) ? editor.mirrorY : editor.mirrorX) *= -1;
    Orient(editor);
}

void FlipPicture(PictureEditor& editor) {
    (QuarterTurned(editor.turn) ? editor.mirrorX : editor.mirrorY) *= -1;
    Orient(editor);
}

void TurnPictureLeft(PictureEditor& editor) {
    editor.turn -= 90;
    if (editor.turn < 0) {
        editor.turn += 360;
    }
    Orient(editor);
}

void TurnPictureRight(PictureEditor& editor) {
    editor.turn += 90;
    if (editor.turn >= 360) {
        editor.turn -= 360;
    }
    Orient(editor);
}

void SetOrientation(PictureEditor& editor, int32_t mirrorX, int32_t mirrorY, int32_t turn) {
    editor.mirrorX = mirrorX < 0 ? -1 : 1;
    editor.mirrorY = mirrorY < 0 ? -1 : 1;
    // Only quarter turns exist; a stored angle of another size turns the picture not at all, as
    // drawing the placed picture does.
    const int32_t normal = ((turn % 360) + 360) % 360;
    editor.turn = normal % 90 == 0 ? normal : 0;
    Orient(editor);
}

QSize OrientedSize(const PictureEditor& editor) {
    const QSize full = editor.fullSize;
    if (!QuarterTurned(editor.turn)) {
        return full;
    }
    return {full.height() - full.height() % 2, full.width() - full.width() % 2};
}

} // namespace vlr
