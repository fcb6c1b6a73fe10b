// What a printer's page receives for a design's sheet. Where every card position that prints
// holds the same picture (the usual case), the card is drawn once at the device's resolution
// and placed at each of those positions: the page then carries one picture, however many
// cards it has. Otherwise (a bleed, an item reaching beyond the card's right or bottom edge, a
// card across the edge of the printable area, a sheet that is not made of cards) the whole
// sheet is composed and sent in tiles of 512 x 512 pixels, as the composer makes it. Either
// way the paper shows the same pixels.
#pragma once

#include "output/composesheet.h"
#include "output/sheetpdf.h"

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <string_view>
#include <vector>

class QPainter;

namespace vlr {

struct SheetOutput {
    ComposeStatus status = ComposeStatus::NoHeader;
    SheetGeometry geometry;
    bool byCards = false;
    // By cards: the card picture and where its top-left pixel goes on the printable area, one
    // place per card that prints (none when no card prints).
    QImage card;
    std::vector<QPoint> cardPlaces;
    // Otherwise: the composed sheet.
    RasterCanvas sheet;
    bool ok() const { return status == ComposeStatus::Composed; }

    // Holds the pixels the card picture shows.
    RasterCanvas cardRaster;
};

// Makes what the device's page receives: the card picture when every card that prints holds the
// same one, otherwise the composed sheet. Nothing is sent yet.
SheetOutput PrepareSheetOutput(ItemList& design, const ComposeDevice& device, std::string_view selection,
                               const ItemPainter& paint = {});

// The composed sheet, for tiles, whatever the cards hold.
SheetOutput ComposedSheetOutput(ItemList& design, const ComposeDevice& device, std::string_view selection,
                                const ItemPainter& paint = {});

// Draws the output onto the page, the printable area's top-left corner at origin (device
// pixels): each card picture at its place, or each tile of the composed sheet that is not
// blank white (the paper is white already), at 1:1 size and losslessly. The painter's own
// transform, if any, applies to the whole page (a printer's calibration); tiles then overlap by a
// pixel so that no gap opens between them. Returns the number of pictures drawn.
int32_t DrawSheetOutput(QPainter& painter, const SheetOutput& output, QPoint origin);

// The same page as pictures of a PDF file the program writes itself: the card picture with its
// places, or the composed sheet whole (a picture of its own per tile would only cost more).
std::vector<PdfPicture> PdfPicturesOf(const SheetOutput& output, QPoint origin);

} // namespace vlr
