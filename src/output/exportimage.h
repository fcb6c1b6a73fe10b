// Writing a design's picture to a file: JPEG, 24-bit bitmap or icon, chosen by the file name's
// extension. Every file is encoded in memory first and then written through a temporary file that
// takes the target's name only when complete, so a failure never leaves half a picture behind.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace vlr {

enum class ExportFileType { Jpeg, Bmp, Ico };

// The extension of the whole name, trimmed and lower-cased: ".bmp" a bitmap, ".ico" an icon,
// anything else (".jpg", ".png", none) JPEG.
ExportFileType ExportFileTypeOf(const QString& fileName);

// An encoded file, or the reason it could not be encoded.
struct Encoded {
    QByteArray bytes;
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

// 24-bit colour through the JPEG codec at its default settings.
Encoded EncodeJpeg(const QImage& image);
// A 24-bit Windows bitmap.
Encoded EncodeBmp(const QImage& image);
// A single-image icon file of 8 bits per pixel from a fixed palette of 256 colours; white pixels
// are transparent. Icons are at most 256 pixels a side (256 is stored as 0).
inline constexpr int kLargestIconSide = 256;
Encoded EncodeIcon(const QImage& image);
// The palette index a colour (0xFFRRGGBB) is written with, and the palette itself (0x00RRGGBB).
int IconPaletteIndex(QRgb colour);
QRgb IconPaletteColour(int index);

// Writes bytes over path through a temporary file; the reason of a failure, empty on success.
QString WriteFileSafely(const QString& path, const QByteArray& bytes);
// Encodes the picture as its type and writes it; the reason of a failure, empty on success.
QString WriteExportFile(const QImage& image, const QString& path, ExportFileType type);
// The icon writer on its own.
QString WriteIcon(const QImage& image, const QString& path);

} // namespace vlr
