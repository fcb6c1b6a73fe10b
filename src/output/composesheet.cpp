// Composing the printed sheet of a design.
#include "output/composesheet.h"

#include "model/itemkind.h"
#include "model/numeric.h"
#include "render/devicescale.h"
#include "render/drawdesign.h"
#include "render/resample.h"
#include "settings/designtype.h"
#include "settings/sheetlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vlr {

namespace {

constexpr int32_t kPreviewDpi = 200;
constexpr int32_t kPreviewSmallest = 10;
constexpr int32_t kPreviewLargest = 32000;
// A letter page at the preview's 200 dpi, for inch papers too small to show on their own.
constexpr int32_t kLetterShortSide = 2550, kLetterLongSide = 3300;

const ItemRecord* HeaderOf(const ItemList& design) {
    return FindRecord(design, ItemKind::Header);
}

int32_t HalfOf(int32_t value) {
    return value / 2; // toward zero
}

int32_t AtLeastOne(int32_t value) {
    return value <= 0 ? 1 : value;
}

// The copies k = 0 ... count - 1 of an interval [start + k step, start + k step + size) that
// meet [0, limit): the first and the last k, or none.
std::optional<std::pair<int64_t, int64_t>> VisibleCopies(int64_t start, int64_t step, int64_t size,
                                                         int64_t count, int64_t limit) {
    if (count <= 0 || size <= 0) {
        return std::nullopt;
    }
    int64_t first = 0, last = count - 1;
    if (step > 0) {
        // start + k step + size > 0 and start + k step < limit.
        const int64_t below = -start - size; // k step > below
        first = below < 0 ? 0 : below / step + 1;
        const int64_t room = limit - 1 - start; // k step <= room
        last = room < 0 ? -1 : std::min(last, room / step);
    } else if (start >= limit || start + size <= 0) {
        return std::nullopt;
    }
    if (first > last) {
        return std::nullopt;
    }
    return std::make_pair(first, last);
}

// A rectangle of the sheet clipped to the image, as a raster rectangle.
std::optional<Rect> Clipped(const SheetRect& rect, int64_t width, int64_t height) {
    const int64_t left = std::max<int64_t>(rect.left, 0), top = std::max<int64_t>(rect.top, 0);
    const int64_t right = std::min(rect.right, width), bottom = std::min(rect.bottom, height);
    if (left >= right || top >= bottom) {
        return std::nullopt;
    }
    return Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

void FillWhite(RasterCanvas& sheet, const SheetRect& rect) {
    if (std::optional<Rect> area = Clipped(rect, sheet.width(), sheet.height())) {
        sheet.setBrush(Brush{0xFFFFFF, BrushStyle::Solid});
        sheet.FillRect(*area);
    }
}

// Copies source onto target, both clipped to the image; the two keep their pixel-for-pixel
// correspondence.
void CopyWithin(RasterCanvas& sheet, const SheetRect& source, const SheetRect& target) {
    const int64_t dx = target.left - source.left, dy = target.top - source.top;
    SheetRect from = source;
    // Only what lies inside the image both as source and as target.
    from.left = std::max({from.left, int64_t{0}, -dx});
    from.top = std::max({from.top, int64_t{0}, -dy});
    from.right = std::min({from.right, int64_t{sheet.width()}, sheet.width() - dx});
    from.bottom = std::min({from.bottom, int64_t{sheet.height()}, sheet.height() - dy});
    std::optional<Rect> sourceRect = Clipped(from, sheet.width(), sheet.height());
    if (!sourceRect) {
        return;
    }
    const Rect targetRect{int32_t(sourceRect->left + dx), int32_t(sourceRect->top + dy),
                          int32_t(sourceRect->right + dx), int32_t(sourceRect->bottom + dy)};
    sheet.CopyRect(targetRect, sheet, *sourceRect);
}

void CopyCards(RasterCanvas& sheet, const SheetGeometry& g, std::string_view selection) {
    const SheetRect source = CopyRectOf(g, 1, 1);
    const int64_t stepX = int64_t{g.cardW} + g.colGap, stepY = int64_t{g.cardH} + g.rowGap;
    // Only the positions whose copy reaches into the image are visited.
    const auto columns =
        VisibleCopies(source.left, stepX, source.right - source.left, g.columns, g.imageWidth);
    const auto rows = VisibleCopies(source.top, stepY, source.bottom - source.top, g.rows, g.imageHeight);
    if (!columns || !rows) {
        return;
    }
    for (int64_t c = columns->first; c <= columns->second; ++c) {
        for (int64_t r = rows->first; r <= rows->second; ++r) {
            if (c == 0 && r == 0) {
                continue;
            }
            const int32_t row = int32_t(r + 1), column = int32_t(c + 1);
            const SheetRect target = CopyRectOf(g, row, column);
            if (AreaPrints(selection, row, column, g.columns)) {
                CopyWithin(sheet, source, target);
            } else {
                FillWhite(sheet, target);
            }
        }
    }
}

QString Pixels(const SheetGeometry& g) {
    return QString("%1 x %2 pixels").arg(g.imageWidth).arg(g.imageHeight);
}

} // namespace

std::optional<SheetGeometry> SheetGeometryOf(const ItemList& design, const ComposeDevice& device) {
    const ItemRecord* header = HeaderOf(design);
    std::optional<SheetLayout> layout = SheetLayoutOf(header, design.screen);
    if (!layout) {
        return std::nullopt;
    }
    const double dpiX = device.dpiX, dpiY = device.dpiY;
    SheetGeometry g;
    g.imageWidth = int64_t{device.pageW} - 2 * int64_t{device.offsetX};
    g.imageHeight = int64_t{device.pageH} - 2 * int64_t{device.offsetY};
    g.repeatsCards = layout->repeatsCards;
    g.rows = layout->rows;
    g.columns = layout->columns;
    g.cardW = nearest(dpiX * layout->cardWidth);
    g.cardH = nearest(dpiY * layout->cardHeight);
    g.colGap = nearest(dpiX * layout->columnGap);
    g.rowGap = nearest(dpiY * layout->rowGap);

    // The device position of the design's (0, 0) inside the printable area.
    int32_t originX = 0, originY = 0;
    if (g.repeatsCards) {
        originX = SaturateInt32(int64_t{nearest(dpiX * layout->leftMargin)} - device.offsetX);
        originY = SaturateInt32(int64_t{nearest(dpiY * layout->topMargin)} - device.offsetY);
        // A copy takes along what was drawn up to half a gap beyond its card, never more than
        // the margin holds.
        if (g.colGap > 0) {
            g.bleedX = int32_t(std::min<int64_t>(std::abs(int64_t{originX}), HalfOf(g.colGap)));
        }
        if (g.rowGap >= 1) {
            g.bleedY = int32_t(std::min<int64_t>(std::abs(int64_t{originY}), HalfOf(g.rowGap)));
        }
    } else if (DesignTypeOf(*header) != DesignType::DigitalImages) {
        // The design's corner is the paper's corner.
        originX = -device.offsetX;
        originY = -device.offsetY;
    }
    g.view = DeviceTransform(dpiX, dpiY, design.screen, Point{originX, originY});
    return g;
}

SheetRect CopyRectOf(const SheetGeometry& g, int32_t row, int32_t column) {
    const int64_t dx = int64_t{column - 1} * (int64_t{g.cardW} + g.colGap);
    const int64_t dy = int64_t{row - 1} * (int64_t{g.cardH} + g.rowGap);
    const int64_t left = int64_t{g.view.originX} - g.bleedX + dx;
    const int64_t top = int64_t{g.view.originY} - g.bleedY + dy;
    return {left, top, left + g.cardW + 2 * int64_t{g.bleedX}, top + g.cardH + 2 * int64_t{g.bleedY}};
}

bool NeedsAreaChoice(const ItemList& design) {
    std::optional<SheetLayout> layout = SheetLayoutOf(design);
    return layout && layout->repeatsCards && (layout->rows > 1 || layout->columns > 1);
}

bool AreaPrints(std::string_view selection, int32_t row, int32_t column, int32_t columns) {
    const int64_t index = int64_t{column} + int64_t{columns} * (row - 1); // from 1
    return index < 1 || index > int64_t(selection.size()) || selection[size_t(index - 1)] != 'x';
}

bool WithinSheetLimits(int64_t width, int64_t height) {
    // The sides are checked first, so their product cannot overflow.
    return width >= 1 && height >= 1 && width <= kMaxSheetSide && height <= kMaxSheetSide &&
           width * height * int64_t{sizeof(uint32_t)} <= kMaxSheetBytes;
}

ComposeResult ComposeSheet(ItemList& design, const ComposeDevice& device, std::string_view selection,
                           const ItemPainter& paint) {
    ComposeResult result;
    std::optional<SheetGeometry> geometry = SheetGeometryOf(design, device);
    if (!geometry) {
        return result;
    }
    const SheetGeometry& g = *geometry;
    result.geometry = g;
    if (g.imageWidth < 1 || g.imageHeight < 1) {
        result.status = ComposeStatus::EmptyArea;
        return result;
    }
    if (!WithinSheetLimits(g.imageWidth, g.imageHeight)) {
        result.status = ComposeStatus::TooLarge;
        return result;
    }
    result.sheet =
        RasterCanvas(int32_t(g.imageWidth), int32_t(g.imageHeight), Smoothing::Antialiased, design.screen);
    if (result.sheet.isNull()) {
        result.status = ComposeStatus::OutOfMemory;
        return result;
    }
    RasterCanvas& sheet = result.sheet;
    if (paint) {
        paint(sheet, design, g.view);
    } else {
        DrawDesign(sheet, design, g.view);
    }

    if (g.repeatsCards) {
        if (g.rows > 1 || g.columns > 1) {
            CopyCards(sheet, g, selection);
        }
        const SheetRect first = CopyRectOf(g, 1, 1);
        if (!AreaPrints(selection, 1, 1, g.columns)) {
            FillWhite(sheet, {0, 0, first.right, first.bottom});
        }
        // Nothing drawn beyond the first card's left or top edge reaches the sheet.
        FillWhite(sheet, {0, 0, g.view.originX, g.imageHeight});
        FillWhite(sheet, {0, 0, g.imageWidth, g.view.originY});
    }
    result.status = ComposeStatus::Composed;
    return result;
}

QString ComposeMessage(ComposeStatus status, const SheetGeometry& geometry) {
    switch (status) {
    case ComposeStatus::Composed:
    case ComposeStatus::NoHeader:
        return {};
    case ComposeStatus::EmptyArea:
        return "The sheet cannot be composed: the unprintable edges of the paper leave nothing to print on.";
    case ComposeStatus::TooLarge:
        return "The sheet cannot be composed: at this resolution it would be " + Pixels(geometry) +
               ", more than the program can hold. Choose a lower resolution or a smaller paper.";
    case ComposeStatus::OutOfMemory:
        return "The sheet cannot be composed: there is not enough memory for " + Pixels(geometry) +
               ". Close other programs or choose a lower resolution.";
    }
    return {};
}

SheetPicture ReducedSheet(ItemList& design, const ComposeDevice& device, std::string_view selection,
                          QSize size, const ItemPainter& paint, double deviceScale) {
    SheetPicture picture;
    ComposeResult composed = ComposeSheet(design, device, selection, paint);
    if (!composed.ok()) {
        picture.message = ComposeMessage(composed.status, composed.geometry);
        return picture;
    }
    picture.image = Resampled(composed.sheet.image(), size.width(), size.height(), ResampleFilter::Triangle);
    if (picture.image.isNull()) {
        picture.message =
            QString("The picture cannot be made: there is not enough memory for %1 x %2 pixels.")
                .arg(size.width())
                .arg(size.height());
        return picture;
    }
    picture.shown = picture.image;
    if (deviceScale > 1.0) {
        const QSize dense = DeviceSize(size, deviceScale);
        QImage shown =
            Resampled(composed.sheet.image(), dense.width(), dense.height(), ResampleFilter::Triangle);
        if (!shown.isNull()) {
            shown.setDevicePixelRatio(deviceScale);
            picture.shown = std::move(shown);
        }
    }
    return picture;
}

ComposeDevice PreviewPageSize(const ItemList& design) {
    const ItemRecord* header = HeaderOf(design);
    ComposeDevice device{kPreviewDpi, kPreviewDpi, 0, 0, 1600, 1600};
    if (!header) {
        return device;
    }
    const double paperWidth = header->paperWidth, paperHeight = header->paperHeight;
    auto bounded = [](int32_t pixels) { return std::clamp(pixels, kPreviewSmallest, kPreviewLargest); };
    switch (int32_t(header->units)) {
    case 1: // pixels: at the screen's resolution, the image's own size
        device.dpiX = design.screen.dpiX();
        device.dpiY = design.screen.dpiY();
        device.pageW = bounded(nearest(paperWidth));
        device.pageH = bounded(nearest(paperHeight));
        break;
    case 2:
        device.pageW = bounded(nearest(paperWidth / 25.4 * kPreviewDpi));
        device.pageH = bounded(nearest(paperHeight / 25.4 * kPreviewDpi));
        break;
    default:
        if (!(paperWidth >= 2.0 && paperHeight >= 2.0)) { // also when a value is not a number
            const bool landscape = header->orientation == 2;
            device.pageW = landscape ? kLetterLongSide : kLetterShortSide;
            device.pageH = landscape ? kLetterShortSide : kLetterLongSide;
        } else {
            device.pageW = bounded(nearest(paperWidth * kPreviewDpi));
            device.pageH = bounded(nearest(paperHeight * kPreviewDpi));
        }
        break;
    }
    return device;
}

ComposeDevice PreviewDevice(const ItemList& design) {
    ComposeDevice device = PreviewPageSize(design);
    const ItemRecord* header = HeaderOf(design);
    if (header && header->units == 1) {
        // Pixel designs at twice their size, so the reduction to the screen smooths them.
        device.dpiX *= 2;
        device.dpiY *= 2;
        device.pageW *= 2;
        device.pageH *= 2;
    }
    return device;
}

ComposeDevice ExportDevice(const ItemList& design) {
    const ItemRecord* header = HeaderOf(design);
    ComposeDevice device{design.screen.dpiX(), design.screen.dpiY(), 0, 0, 1, 1};
    if (!header) {
        return device;
    }
    const double paperWidth = header->paperWidth, paperHeight = header->paperHeight;
    switch (int32_t(header->units)) {
    case 1:
        device.pageW = nearest(paperWidth);
        device.pageH = nearest(paperHeight);
        break;
    case 2:
        device.pageW = nearest(paperWidth / 25.4 * device.dpiX);
        device.pageH = nearest(paperHeight / 25.4 * device.dpiY);
        break;
    default:
        device.pageW = nearest(paperWidth * device.dpiX);
        device.pageH = nearest(paperHeight * device.dpiY);
        break;
    }
    device.pageW = AtLeastOne(device.pageW);
    device.pageH = AtLeastOne(device.pageH);
    return device;
}

std::optional<QSizeF> PaperInches(const ItemList& design) {
    std::optional<SheetLayout> layout = SheetLayoutOf(design);
    if (!layout) {
        return std::nullopt;
    }
    return QSizeF(layout->paperWidth, layout->paperHeight);
}

ComposeDevice PaperDevice(const ItemList& design, double dpi) {
    ComposeDevice device{dpi, dpi, 0, 0, 1, 1};
    if (std::optional<QSizeF> paper = PaperInches(design)) {
        device.pageW = AtLeastOne(nearest(paper->width() * dpi));
        device.pageH = AtLeastOne(nearest(paper->height() * dpi));
    }
    return device;
}

QSize DisplaySize(const ComposeDevice& device, const ScreenResolution& screen) {
    const double dpiX = device.dpiX > 0 ? device.dpiX : 1.0;
    const double dpiY = device.dpiY > 0 ? device.dpiY : 1.0;
    return {nearest(device.pageW / dpiX * screen.dpiX()), nearest(device.pageH / dpiY * screen.dpiY())};
}

std::vector<QRect> SheetTiles(int32_t width, int32_t height) {
    std::vector<QRect> tiles;
    for (int64_t x = 0; x < width; x += kTileSize) {
        for (int64_t y = 0; y < height; y += kTileSize) {
            tiles.emplace_back(int32_t(x), int32_t(y), int32_t(std::min<int64_t>(kTileSize, width - x)),
                               int32_t(std::min<int64_t>(kTileSize, height - y)));
        }
    }
    return tiles;
}

} // namespace vlr
