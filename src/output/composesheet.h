// The printed sheet of a design: the design drawn once at the target's resolution, its first card
// copied pixel for pixel into every row and column of the sheet, the positions the user switched
// off blanked. Printing, the print preview and the export only choose the target.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "render/rastercanvas.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace vlr {

// The target of a composition.
struct ComposeDevice {
    double dpiX = 0.0, dpiY = 0.0;    // dots per inch
    int32_t offsetX = 0, offsetY = 0; // the unprintable edge of the paper, device pixels (printing only)
    int32_t pageW = 0, pageH = 0;     // the whole sheet, device pixels
    friend bool operator==(const ComposeDevice&, const ComposeDevice&) = default;
};

// The largest sheet the program composes: no side above 32767 pixels (the raster engine's
// coordinates stay exact) and at most a gigabyte of pixels, the most a raster may hold: a Letter
// or A4 sheet at 1200 dpi fits (about 540 MB), a tabloid one only up to about 1150 dpi.
inline constexpr int64_t kMaxSheetSide = 32767;
inline constexpr int64_t kMaxSheetBytes = int64_t{1} << 30;
// A raster of width x height pixels has something to hold (both sides at least 1) and keeps to
// those limits.
bool WithinSheetLimits(int64_t width, int64_t height);

// Where the parts of the sheet lie on the composed image, device pixels.
struct SheetGeometry {
    int64_t imageWidth = 0, imageHeight = 0; // the printable area: the page less twice the offsets
    ViewTransform view;                      // the design's scale and the position of its (0, 0)
    bool repeatsCards = false;               // card layouts: copies, blanked positions, white strips
    int32_t rows = 1, columns = 1;           // effective, after the folds
    int32_t cardW = 0, cardH = 0;            // one card, doubled by its folds
    int32_t colGap = 0, rowGap = 0;
    int32_t bleedX = 0, bleedY = 0; // what each copy carries beyond its card's edges
};

// The geometry of a design's sheet on a device; none without a header.
std::optional<SheetGeometry> SheetGeometryOf(const ItemList& design, const ComposeDevice& device);

// The left, top, right and bottom edge of card (row, column) with its bleed, from 1; the source of
// every copy is card (1, 1).
struct SheetRect {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const SheetRect&, const SheetRect&) = default;
};
SheetRect CopyRectOf(const SheetGeometry& geometry, int32_t row, int32_t column);

// The user chooses the card positions to print: a card layout of more than one card.
bool NeedsAreaChoice(const ItemList& design);

// Position (row, column), both from 1, of the selection text prints unless its character is "x";
// a position past the end of the text prints.
bool AreaPrints(std::string_view selection, int32_t row, int32_t column, int32_t columns);

enum class ComposeStatus {
    Composed,
    NoHeader,    // the design has no header: nothing to compose
    EmptyArea,   // the unprintable edges leave nothing of the page
    TooLarge,    // a side or the whole sheet beyond the limits above
    OutOfMemory, // the pixels could not be allocated
};

struct ComposeResult {
    ComposeStatus status = ComposeStatus::NoHeader;
    RasterCanvas sheet; // the composed image when Composed
    SheetGeometry geometry;
    bool ok() const { return status == ComposeStatus::Composed; }
};

// Draws the design at a view transform. Composing uses the one render path of the program
// (DrawDesign with shadows, surfaces and pictures); tests may give a simpler stand-in.
using ItemPainter = std::function<void(RasterCanvas& raster, ItemList& design, const ViewTransform& view)>;

// Composes the sheet: the design drawn at the device's resolution with its (0, 0) at the card
// origin; on card layouts card (1, 1) with its bleed copied to every other position (columns
// outer, rows inner) or the position filled white when the selection switches it off, card
// (1, 1) itself blanked when switched off, and the strips left of and above the first card made
// white. The size is checked before any pixel is allocated.
ComposeResult ComposeSheet(ItemList& design, const ComposeDevice& device, std::string_view selection,
                           const ItemPainter& paint = {});

// The user's words for a composition that failed; empty for Composed.
QString ComposeMessage(ComposeStatus status, const SheetGeometry& geometry);

// A composed sheet reduced to a size with the triangle filter: the picture the preview shows and
// the export writes. On failure the image is null and message says why (empty without a header).
// For a screen of deviceScale device pixels per pixel, shown is the same sheet reduced to size x
// deviceScale with that device pixel ratio, which the preview paints; otherwise it is the image.
struct SheetPicture {
    QImage image;
    QString message;
    QImage shown;
};
SheetPicture ReducedSheet(ItemList& design, const ComposeDevice& device, std::string_view selection,
                          QSize size, const ItemPainter& paint = {}, double deviceScale = 1.0);

// ---- the devices of the preview and the export ----

// The page the preview composes on: 200 dpi and the paper's size (1600 x 1600 without a header),
// pixel designs at the screen's resolution and their own size; at least 10 pixels a side, at
// most 32000. Inch papers narrower or lower than 2 inches preview on a letter page of 2550 x 3300
// (3300 x 2550 in landscape).
ComposeDevice PreviewPageSize(const ItemList& design);
// The preview's composition: pixel designs at twice their size and resolution.
ComposeDevice PreviewDevice(const ItemList& design);
// The export's composition: the screen's resolution, the paper's size; at least 1 pixel a side.
ComposeDevice ExportDevice(const ItemList& design);
// The paper at a resolution, without unprintable edges: the sheet a file printer gets.
ComposeDevice PaperDevice(const ItemList& design, double dpi);
// The sheet at its physical size on the screen: page / dpi x screen dpi per axis, a dpi of 0 or
// less counting as 1.
QSize DisplaySize(const ComposeDevice& device, const ScreenResolution& screen);

// The tiles a printer receives: 512 x 512, smaller at the right and bottom edges, by columns of
// tiles and then rows.
inline constexpr int32_t kTileSize = 512;
std::vector<QRect> SheetTiles(int32_t width, int32_t height);

// The design's paper in inches (pixel designs at the design's screen resolution); none without a
// header.
std::optional<QSizeF> PaperInches(const ItemList& design);

} // namespace vlr
