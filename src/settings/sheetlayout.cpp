// The card grid of a printed sheet.
#include "settings/sheetlayout.h"

#include "model/geometry.h"
#include "model/itemkind.h"
#include "model/numeric.h"
#include "settings/designtype.h"
#include "settings/pagesetup.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vlr {

namespace {

double Finite(double value) {
    return std::isfinite(value) ? value : 0.0;
}
double NotNegative(double value) {
    return std::max(0.0, Finite(value));
}

// Folding joins two neighbouring panels into one card: half as many, each twice as large.
void Fold(int32_t count, bool folded, double& size, int32_t& effective) {
    effective = count;
    if (folded && count > 1) {
        effective = count / 2;
        size *= 2.0;
    }
    effective = std::clamp(effective, 1, kLargestRowsOrColumns);
}

double Device(double dpi, double inches) {
    return static_cast<double>(nearest(dpi * inches));
}

} // namespace

std::optional<SheetLayout> SheetLayoutOf(const ItemList& design) {
    return SheetLayoutOf(FindRecord(design, ItemKind::Header), design.screen);
}

std::optional<SheetLayout> SheetLayoutOf(const ItemRecord* header, const ScreenResolution& screen) {
    if (!header) {
        return std::nullopt;
    }
    const int32_t units = header->units;
    auto inchesX = [&](double value) { return ToInches(value, units, Axis::Horizontal, screen); };
    auto inchesY = [&](double value) { return ToInches(value, units, Axis::Vertical, screen); };

    SheetLayout layout;
    layout.repeatsCards = IsCardType(DesignTypeOf(*header)) && units != 1;
    layout.paperWidth = inchesX(NotNegative(header->paperWidth));
    layout.paperHeight = inchesY(NotNegative(header->paperHeight));
    if (!layout.repeatsCards) {
        // The design's corner is the paper's corner and the design is the whole sheet.
        layout.cardWidth = inchesX(NotNegative(header->canvasWidth));
        layout.cardHeight = inchesY(NotNegative(header->canvasHeight));
        return layout;
    }
    layout.leftMargin = inchesX(Finite(header->leftMargin));
    layout.topMargin = inchesY(Finite(header->topMargin));
    layout.cardWidth = inchesX(NotNegative(header->cardWidth));
    layout.cardHeight = inchesY(NotNegative(header->cardHeight));
    layout.rowGap = inchesY(NotNegative(header->rowGap));
    layout.columnGap = inchesX(NotNegative(header->columnGap));
    Fold(header->rows, header->rowFold != 0, layout.cardHeight, layout.rows);
    Fold(header->columns, header->columnFold != 0, layout.cardWidth, layout.columns);
    return layout;
}

CardRect CardPosition(const SheetLayout& layout, double dpiX, double dpiY, int32_t row, int32_t column) {
    CardRect card;
    card.row = std::clamp(row, 1, std::clamp(layout.rows, 1, kLargestRowsOrColumns));
    card.column = std::clamp(column, 1, std::clamp(layout.columns, 1, kLargestRowsOrColumns));
    const double cardWidth = Device(dpiX, layout.cardWidth);
    const double cardHeight = Device(dpiY, layout.cardHeight);
    const double left =
        Device(dpiX, layout.leftMargin) + (card.column - 1) * (cardWidth + Device(dpiX, layout.columnGap));
    const double top =
        Device(dpiY, layout.topMargin) + (card.row - 1) * (cardHeight + Device(dpiY, layout.rowGap));
    card.left = nearest(left);
    card.top = nearest(top);
    card.width = nearest(cardWidth);
    card.height = nearest(cardHeight);
    return card;
}

std::vector<CardRect> CardPositions(const SheetLayout& layout, double dpiX, double dpiY) {
    std::vector<CardRect> cards;
    const int32_t rows = std::clamp(layout.rows, 1, kLargestRowsOrColumns);
    const int32_t columns = std::clamp(layout.columns, 1, kLargestRowsOrColumns);
    cards.reserve(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int32_t row = 1; row <= rows; ++row) {
        for (int32_t column = 1; column <= columns; ++column) {
            cards.push_back(CardPosition(layout, dpiX, dpiY, row, column));
        }
    }
    return cards;
}

int32_t AreaIndex(const SheetLayout& layout, int32_t row, int32_t column) {
    return column + std::clamp(layout.columns, 1, kLargestRowsOrColumns) * (row - 1);
}

} // namespace vlr
