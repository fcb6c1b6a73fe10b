// The printed page of a sheet: one card picture at every position that prints, or the composed
// sheet in tiles.
#include "output/sheetoutput.h"

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "render/drawdesign.h"
#include "render/shadow.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace vlr {

namespace {

constexpr QRgb kPaper = 0xFFFFFFFFu;

// How far beyond the card's right and bottom edges the card picture is drawn, device pixels: an
// inch, or more where a soft shadow's mask reaches farther. Within this reach the design must
// draw nothing beyond those edges for the card to stand for every position; and a shadow whose
// mask stays within it is blurred exactly as on the whole sheet.
int64_t ReachBeyondTheCard(const ItemList& design, const SheetGeometry& g, double dpi) {
    int64_t reach = nearest(dpi);
    const double zoom = g.view.scaleY;
    for (const ItemRecord* item : StackingOrder(design)) {
        if (item->shadowElevation == 0) {
            continue;
        }
        const int64_t offset = std::llabs(ShadowOffset(item->shadowElevation, zoom, design.screen));
        const int64_t pen = std::max<int64_t>(
            std::clamp(
                PenWidthPixels(zoom, std::max<double>(item->lineWeight, item->lineWeightBase), design.screen),
                0, kMaxPenWidth),
            std::clamp<int64_t>(nearest(zoom * int32_t(item->penWidthPx)), 0, kMaxPenWidth));
        const int64_t margin =
            std::max<int64_t>(nearest(ShadowSpread(item->shadowFade) * 2.0 * offset) + 2 * pen,
                              offset + pen + BlurReach(item->shadowFade, zoom));
        // A text line's shadow starts from a box grown by the height of its letters.
        const int64_t letters =
            item->kind == ItemKind::Text
                ? nearest(2.0 * std::clamp(int32_t(item->fontSize), 0, kMaxFontPixels) / 72.0 * dpi)
                : 0;
        reach = std::max(reach, letters + margin + BlurReach(item->shadowFade, zoom) + 2);
    }
    return reach;
}

// Whether every live item lies, by its bounds, left of right and above bottom (device pixels):
// an item placed wholly beyond the card's reach would otherwise go unseen by the check of what
// is drawn there.
bool AnchoredWithin(const ItemList& design, const ViewTransform& view, int64_t right, int64_t bottom) {
    for (const ItemRecord* item : StackingOrder(design)) {
        const Point corner = ToDevice({item->boundRight, item->boundBottom}, view);
        if (corner.x >= right || corner.y >= bottom) {
            return false;
        }
    }
    return true;
}

// Whether the raster is paper white in the rectangle (right and bottom excluded).
bool Blank(const RasterCanvas& raster, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    for (int64_t y = std::max<int64_t>(top, 0); y < std::min<int64_t>(bottom, raster.height()); ++y) {
        const uint32_t* row = raster.scanLine(int32_t(y));
        const int64_t from = std::max<int64_t>(left, 0), to = std::min<int64_t>(right, raster.width());
        if (from < to && std::any_of(row + from, row + to, [](uint32_t pixel) { return pixel != kPaper; })) {
            return false;
        }
    }
    return true;
}

// The places of the cards that print, when every one lies wholly on the printable area (those
// wholly beyond it print nothing); none when a card crosses its edge.
std::optional<std::vector<QPoint>> CardPlaces(const SheetGeometry& g, std::string_view selection) {
    std::vector<QPoint> places;
    const int64_t stepX = int64_t{g.cardW} + g.colGap, stepY = int64_t{g.cardH} + g.rowGap;
    for (int32_t column = 1; column <= g.columns; ++column) {
        const int64_t left = g.view.originX + (column - 1) * stepX;
        if (left >= g.imageWidth) {
            break;
        }
        for (int32_t row = 1; row <= g.rows; ++row) {
            const int64_t top = g.view.originY + (row - 1) * stepY;
            if (top >= g.imageHeight) {
                break;
            }
            if (!AreaPrints(selection, row, column, g.columns)) {
                continue;
            }
            if (left < 0 || top < 0 || left + g.cardW > g.imageWidth || top + g.cardH > g.imageHeight) {
                return std::nullopt;
            }
            places.emplace_back(int(left), int(top));
        }
    }
    return places;
}

// The card picture: the design drawn on a raster from the printable area's corner to the reach
// beyond the card (the same corner and cuts as on the whole sheet), the card cut from it. None
// when the design draws beyond the card's right or bottom edge, or the raster cannot be had.
bool DrawCard(SheetOutput& output, ItemList& design, const ComposeDevice& device, const ItemPainter& paint) {
    const SheetGeometry& g = output.geometry;
    const int64_t reach = ReachBeyondTheCard(design, g, std::max(device.dpiX, device.dpiY));
    const int64_t cardRight = int64_t{g.view.originX} + g.cardW,
                  cardBottom = int64_t{g.view.originY} + g.cardH;
    const int64_t width = std::min(g.imageWidth, cardRight + reach);
    const int64_t height = std::min(g.imageHeight, cardBottom + reach);
    if (!WithinSheetLimits(width, height) || !AnchoredWithin(design, g.view, width, height)) {
        return false;
    }
    RasterCanvas raster(int32_t(width), int32_t(height), Smoothing::Antialiased, design.screen);
    if (raster.isNull()) {
        return false;
    }
    if (paint) {
        paint(raster, design, g.view);
    } else {
        DrawDesign(raster, design, g.view);
    }
    // Beyond the card's right edge, and below it, from its left edge on (what lies left of it or
    // above it is blanked on the sheet anyway).
    if (!Blank(raster, cardRight, g.view.originY, width, height) ||
        !Blank(raster, g.view.originX, cardBottom, cardRight, height)) {
        return false;
    }
    const QImage& image = raster.image();
    output.card = QImage(image.constBits() + size_t(g.view.originY) * size_t(image.bytesPerLine()) +
                             size_t(g.view.originX) * sizeof(uint32_t),
                         g.cardW, g.cardH, image.bytesPerLine(), image.format());
    output.cardRaster = std::move(raster);
    return true;
}

} // namespace

SheetOutput PrepareSheetOutput(ItemList& design, const ComposeDevice& device, std::string_view selection,
                               const ItemPainter& paint) {
    SheetOutput output;
    std::optional<SheetGeometry> geometry = SheetGeometryOf(design, device);
    if (geometry && geometry->repeatsCards && geometry->bleedX == 0 && geometry->bleedY == 0 &&
        geometry->cardW > 0 && geometry->cardH > 0 &&
        WithinSheetLimits(geometry->imageWidth, geometry->imageHeight)) {
        output.geometry = *geometry;
        std::optional<std::vector<QPoint>> places = CardPlaces(*geometry, selection);
        // When no card prints, the page stays white.
        if (places && (places->empty() || DrawCard(output, design, device, paint))) {
            output.cardPlaces = std::move(*places);
            output.byCards = true;
            output.status = ComposeStatus::Composed;
            return output;
        }
    }
    return ComposedSheetOutput(design, device, selection, paint);
}

SheetOutput ComposedSheetOutput(ItemList& design, const ComposeDevice& device, std::string_view selection,
                                const ItemPainter& paint) {
    ComposeResult composed = ComposeSheet(design, device, selection, paint);
    SheetOutput output;
    output.status = composed.status;
    output.geometry = composed.geometry;
    output.sheet = std::move(composed.sheet);
    return output;
}

int32_t DrawSheetOutput(QPainter& painter, const SheetOutput& output, QPoint origin) {
    if (!output.ok()) {
        return 0;
    }
    painter.save();
    // Otherwise a PDF carries the pictures as JPEG, blurring the printer's dots.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    int32_t pictures = 0;
    if (output.byCards) {
        // One picture drawn again and again: a PDF keeps it once.
        for (const QPoint& place : output.cardPlaces) {
            painter.drawImage(origin + place, output.card);
            ++pictures;
        }
    } else {
        const QImage& sheet = output.sheet.image();
        // Scaled (by a printer's calibration), a tile's edges fall between the printer's dots and
        // would let the paper show through where two tiles meet: each tile then reaches one pixel
        // into the tiles after it, which cover that pixel with the same colour.
        const int overlap = painter.transform().type() > QTransform::TxTranslate ? 1 : 0;
        const QRect whole = sheet.rect();
        for (const QRect& tile : SheetTiles(sheet.width(), sheet.height())) {
            if (Blank(output.sheet, tile.left(), tile.top(), tile.right() + 1, tile.bottom() + 1)) {
                continue; // white on white paper
            }
            painter.drawImage(origin + tile.topLeft(),
                              sheet.copy(tile.adjusted(0, 0, overlap, overlap) & whole));
            ++pictures;
        }
    }
    painter.restore();
    return pictures;
}

std::vector<PdfPicture> PdfPicturesOf(const SheetOutput& output, QPoint origin) {
    if (!output.ok()) {
        return {};
    }
    if (!output.byCards) {
        return {PdfPicture{output.sheet.image(), {origin}}};
    }
    PdfPicture card{output.card, {}};
    for (const QPoint& place : output.cardPlaces) {
        card.places.push_back(origin + place);
    }
    return {card};
}

} // namespace vlr
