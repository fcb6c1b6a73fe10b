// A PDF file of one page made only of placed pictures, written by the program itself: a sheet
// printed to a file. Each picture is stored once, losslessly, and placed at any number of
// positions with a transform, so the page shows the pictures' pixels exactly; the pictures are
// compressed quickly on every core, which a page of a hundred megapixels needs.
#pragma once

#include <QImage>
#include <QPoint>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <vector>

namespace vlr {

// The page: the paper in points (1/72 inch) and the device pixels the pictures are placed in,
// counted from the paper's top-left corner, y downwards.
struct PdfPage {
    QSizeF paperPoints;
    double dpiX = 0.0, dpiY = 0.0;
    // Applied to the whole page content in device pixels, after the pictures are placed: the
    // printer's calibration. Identity for none.
    QTransform correction;
    QString title, creator;
};

// A picture and the places of its top-left corner, device pixels.
struct PdfPicture {
    QImage image;
    std::vector<QPoint> places;
};

enum class PdfWriteStatus {
    Written,
    CannotCreate, // the file could not be made; nothing was written and the old file is as it was
    WriteFailed,  // writing failed on the way; the old file is as it was
};

struct PdfWriteResult {
    PdfWriteStatus status = PdfWriteStatus::Written;
    QString reason; // in the operating system's words, when not Written
    bool ok() const { return status == PdfWriteStatus::Written; }
};

// Writes the page to path through a temporary file that takes the name only when complete.
PdfWriteResult WritePicturePdf(const QString& path, const PdfPage& page,
                               const std::vector<PdfPicture>& pictures);

} // namespace vlr
