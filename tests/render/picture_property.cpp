// The decoders' promise on arbitrary bytes.
#include "picture_property.h"

#include "render/picture.h"
#include "render/picturedecode.h"
#include "render/resample.h"

namespace vlr::test {

std::string CheckDecodePromise(std::span<const uint8_t> stream, int32_t format, int32_t reduction,
                               bool* decoded) {
    DecodeOptions options;
    options.jpegReduction = reduction;
    const std::optional<QImage> picture = DecodePictureStream(stream, format, options);
    if (decoded != nullptr) {
        *decoded = picture.has_value();
    }
    if (!picture) {
        return "";
    }
    if (picture->format() != QImage::Format_RGB32) {
        return "a decoded picture is not RGB32";
    }
    if (!AcceptablePictureSize(picture->width(), picture->height())) {
        return "a decoded picture is outside the size cap";
    }
    // The later steps of drawing a clip, on a part small enough to be quick.
    QImage part = CropRaster(*picture, {0, 0, 64, 64});
    const QImage oriented = OrientPicture(part, -1, 1, 90 * (reduction + 1));
    if (oriented.isNull() && part.width() > 1 && part.height() > 1) {
        return "orienting a picture lost it";
    }
    AdjustColours(part, 40, -30, 20);
    const QImage scaled = Resampled(part, 7, 5, ResampleFilter::Mitchell);
    if (scaled.size() != QSize(7, 5)) {
        return "resampling a decoded picture failed";
    }
    return "";
}

} // namespace vlr::test
