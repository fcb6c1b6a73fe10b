// Sending a design's sheet to a printer: the printer's resolution, paper and unprintable edges
// decide the composition; the sheet travels in tiles of 512 x 512 pixels, each at its place on
// the paper.
#pragma once

#include "output/composesheet.h"

#include <QString>

#include <string_view>

class QPrinter;

namespace vlr {

// Offers the design's paper on the printer (the print dialog may still change it); designs
// without a header leave the printer's paper.
void UseDesignPaper(QPrinter& printer, const ItemList& design);

// The printer's resolution, its whole paper and its unprintable edges, device pixels. The
// printer is set to full-page mode: its origin is the paper's corner.
ComposeDevice PrinterDevice(QPrinter& printer);

enum class PrintStatus {
    Printed,
    NoHeader,     // nothing to print, nothing started
    NotComposed,  // the sheet could not be composed; no job was started
    CannotStart,  // the printer refused to begin the job
    PrinterError, // the printer reported an error during the job
};

struct PrintResult {
    PrintStatus status = PrintStatus::NoHeader;
    QString message; // in words for the user, for every status but Printed and NoHeader
    int32_t tiles = 0;
    bool ok() const { return status == PrintStatus::Printed; }
};

// Composes the sheet for the printer and prints it as one job titled title, with the copy count
// already set on the printer. The sheet is composed before the job begins, so a sheet that cannot
// be composed starts no job. Images go to the printer losslessly.
PrintResult PrintSheet(QPrinter& printer, ItemList& design, const QString& title, std::string_view selection,
                       const ItemPainter& paint = {});

} // namespace vlr
