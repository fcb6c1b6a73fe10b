// Sending a design's sheet to a printer: the printer's resolution, paper and unprintable edges
// decide the composition; the page receives the card picture at every card position that
// prints, or the composed sheet in tiles of 512 x 512 pixels (sheetoutput.h).
#pragma once

#include "output/sheetoutput.h"
#include "settings/printercalibration.h"

#include <QString>
#include <QTransform>

#include <functional>
#include <string_view>

class QPainter;
class QPrinter;

namespace vlr {

// Offers the design's paper on the printer (the print dialog may still change it): the standard
// size it is (or a size of its own), upright or turned as the design lies. Designs without a
// header leave the printer's paper.
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
    bool byCards = false; // the card picture at every position that prints, not tiles
    int32_t pictures = 0; // the pictures the printer received
    bool ok() const { return status == PrintStatus::Printed; }
};

// Composes the sheet for the printer and prints it as one job titled title, with the copy count
// already set on the printer. The sheet is composed before the job begins, so a sheet that cannot
// be composed starts no job. Images go to the printer losslessly; a printer that writes a PDF file
// gets the file from the program's own writer (sheetpdf.h). The page is corrected by the
// printer's calibration.
PrintResult PrintSheet(QPrinter& printer, ItemList& design, const QString& title, std::string_view selection,
                       const ItemPainter& paint = {}, const PrinterCalibration& calibration = {});

// Draws one page on the printer as one job: the job begins, draw paints the page and says how
// many pictures it sent, the job ends; failures in the user's words.
PrintResult PrintPage(QPrinter& printer, const std::function<int32_t(QPainter&)>& draw);

// ---- calibration ----

// The name a printer's calibration is kept under: its print queue, or "PDF file" for a printer
// that writes files.
QString CalibrationName(const QPrinter& printer);

// The calibration as a transform of device pixels from the paper's top-left corner: scaled about
// that corner, then shifted.
QTransform CalibrationTransform(const PrinterCalibration& calibration, double dpiX, double dpiY);

// How many of the card positions that print lie on the paper as the page setup places them, but
// not once the calibration has moved them; 0 for designs that are not made of cards.
int32_t CardsMovedOffThePaper(const ItemList& design, std::string_view selection,
                              const PrinterCalibration& calibration);
// The warning that says so, for the printer of that name.
QString CardsOffThePaperWarning(int32_t cards, const QString& printer);

} // namespace vlr
