// Metafile signatures, and Windows metafiles played by libwmf's raster device.
//
// libwmf reads the metafile from memory and draws it into a true-colour raster of a size given
// here; its own messages are switched off. The raster size comes from the metafile's frame and
// is checked against the picture cap before anything is drawn. Enhanced metafiles are a
// different record set that libwmf does not play.
#include "render/metafile.h"

#include "render/littleendian.h"
#include "render/picturedecode.h"

#include <QByteArray>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#ifdef VLR_HAVE_LIBWMF
#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif

namespace vlr {

namespace {

#ifdef VLR_HAVE_LIBWMF

// The metafile's pixels at 96 to the inch.
constexpr double kMetafileDpi = 96.0;

int CollectBytes(void* context, char* buffer, int length) {
    static_cast<QByteArray*>(context)->append(buffer, length);
    return length;
}

struct Player {
    wmfAPI* api = nullptr;
    ~Player() {
        if (api != nullptr) {
            wmf_mem_close(api);
            wmf_api_destroy(api);
        }
    }
};

// Where the header's longest record (in 16-bit words) is stored: after the placeable header, if
// any, 12 bytes into the Windows header.
constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kLongestRecordAt = 12;

std::optional<QImage> PlayWindowsMetafile(std::span<const uint8_t> stream, MetafileType type) {
    // libwmf takes a writable pointer; it only reads through it.
    std::vector<unsigned char> bytes(stream.begin(), stream.end());
    // libwmf sets aside room for the longest record the header names: no record is longer than
    // the file, and a damaged header must not make a small file take gigabytes.
    const size_t longestAt = (type == MetafileType::Placeable ? kPlaceableHeaderSize : 0) + kLongestRecordAt;
    if (longestAt + 4 <= bytes.size()) {
        const uint32_t fileWords = static_cast<uint32_t>(std::min<size_t>(bytes.size() / 2, UINT32_MAX));
        const uint32_t longest = std::min(Little32(bytes, longestAt), fileWords);
        for (size_t k = 0; k < 4; ++k) {
            bytes[longestAt + k] = static_cast<unsigned char>(longest >> (8 * k));
        }
    }
    Player player;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&player.api, flags, &options) != wmf_E_None || player.api == nullptr) {
        return std::nullopt;
    }
    if (wmf_mem_open(player.api, bytes.data(), static_cast<long>(bytes.size())) != wmf_E_None) {
        return std::nullopt;
    }
    wmfD_Rect frame{};
    if (wmf_scan(player.api, 0, &frame) != wmf_E_None) {
        return std::nullopt;
    }
    float widthFloat = 0, heightFloat = 0;
    if (wmf_size(player.api, &widthFloat, &heightFloat) != wmf_E_None) {
        return std::nullopt;
    }
    // Checked as real numbers first: the library's own integer conversion is not guarded.
    unsigned int width = 0, height = 0;
    if (!std::isfinite(widthFloat) || !std::isfinite(heightFloat) || widthFloat <= 0 || heightFloat <= 0 ||
        widthFloat > kMaxPicturePixels || heightFloat > kMaxPicturePixels ||
        wmf_display_size(player.api, &width, &height, kMetafileDpi, kMetafileDpi) != wmf_E_None ||
        !AcceptablePictureSize(width, height)) {
        return std::nullopt;
    }
    // The device hands the finished raster over as a PNG file through our sink at the end of
    // playing; asking it for its raster instead would leave that raster to a release function
    // the library does not export.
    QByteArray png;
    wmf_gd_t* device = WMF_GD_GetData(player.api);
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = CollectBytes;
    device->bbox = frame;
    device->width = width;
    device->height = height;
    if (wmf_play(player.api, 0, &frame) != wmf_E_None) {
        return std::nullopt;
    }
    QImage raster;
    if (!raster.loadFromData(png, "png") ||
        raster.size() != QSize(static_cast<int>(width), static_cast<int>(height))) {
        return std::nullopt;
    }
    return OpaqueOnWhite(raster);
}

#endif

} // namespace

MetafileType MetafileTypeOf(std::span<const uint8_t> stream) {
    if (Little32(stream, 0) == 0x9AC6CDD7u) {
        return MetafileType::Placeable;
    }
    if (Little32(stream, 0) == 1 && Little32(stream, 40) == 0x464D4520u) { // " EMF"
        return MetafileType::Enhanced;
    }
    // A Windows metafile header: type 1 (memory) or 2 (disk), 9 words long, version 1 or 3.
    const uint32_t type = Little16(stream, 0), version = Little16(stream, 4);
    if ((type == 1 || type == 2) && Little16(stream, 2) == 9 && (version == 0x0100 || version == 0x0300)) {
        return MetafileType::Windows;
    }
    return MetafileType::Unknown;
}

bool CanPlayWindowsMetafiles() {
#ifdef VLR_HAVE_LIBWMF
    return true;
#else
    return false;
#endif
}

std::optional<QImage> DecodeMetafile(std::span<const uint8_t> stream) {
    const MetafileType type = MetafileTypeOf(stream);
    if (type != MetafileType::Placeable && type != MetafileType::Windows) {
        return std::nullopt;
    }
#ifdef VLR_HAVE_LIBWMF
    return PlayWindowsMetafile(stream, type);
#else
    return std::nullopt;
#endif
}

} // namespace vlr
