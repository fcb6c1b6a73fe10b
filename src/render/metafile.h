// Metafile pictures: telling the kinds apart by their signatures and playing Windows
// metafiles into a raster.
#pragma once

#include <QImage>

#include <optional>
#include <span>

namespace vlr {

enum class MetafileType {
    Unknown,
    Enhanced,  // header record of type 1 with the signature " EMF" at byte 40
    Placeable, // the 0x9AC6CDD7 key, then a Windows metafile
    Windows,   // a Windows metafile without the placeable header
};

MetafileType MetafileTypeOf(std::span<const uint8_t> stream);

// A Windows metafile, placeable or not, played onto white at its own size (its frame at 96
// pixels to the inch). Enhanced metafiles have no player here and give nothing, as do
// metafiles whose size is below 2 or beyond kMaxPicturePixels, damaged ones, and every
// metafile in a build without the metafile library.
std::optional<QImage> DecodeMetafile(std::span<const uint8_t> stream);

// Whether this build can play Windows metafiles.
bool CanPlayWindowsMetafiles();

} // namespace vlr
