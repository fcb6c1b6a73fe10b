// Where the cards of a design lie on the printed sheet: the effective grid (folded pairs of
// panels make one card), and each card's rectangle in device pixels at a given resolution.
#pragma once

#include "model/itemrecord.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vlr {

struct SheetLayout {
    // Card types measured in millimetres or inches: the design is one card, repeated over the
    // rows and columns. Otherwise the design is the whole sheet, one "card" at the paper corner.
    bool repeatsCards = false;
    int32_t rows = 1, columns = 1; // effective, 1 ... 1000
    // Inches.
    double paperWidth = 0.0, paperHeight = 0.0;
    double leftMargin = 0.0, topMargin = 0.0;
    double cardWidth = 0.0, cardHeight = 0.0; // doubled where a fold joins two panels
    double rowGap = 0.0, columnGap = 0.0;
};

// The layout a design's header describes; none without a header. Pixel values are converted at
// the screen's resolution. Values that are not finite count as 0, negative sizes and gaps as 0.
std::optional<SheetLayout> SheetLayoutOf(const ItemList& design);
std::optional<SheetLayout> SheetLayoutOf(const ItemRecord* header, const ScreenResolution& screen);

// A card's rectangle in device pixels, measured from the paper's corner (a printer's unprintable
// offset is not subtracted).
struct CardRect {
    int32_t row = 1, column = 1; // from 1
    int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const CardRect&, const CardRect&) = default;
};

// Card (row, column) at dpiX x dpiY: margins, card sizes and gaps are each rounded to device
// pixels first, then card c starts at margin + (c - 1) x (card + gap). Rows and columns outside
// the layout are brought inside it.
CardRect CardPosition(const SheetLayout& layout, double dpiX, double dpiY, int32_t row, int32_t column);
// Every card, row by row.
std::vector<CardRect> CardPositions(const SheetLayout& layout, double dpiX, double dpiY);

// The position of card (row, column) in a print-area selection text, from 1: column + columns x
// (row - 1).
int32_t AreaIndex(const SheetLayout& layout, int32_t row, int32_t column);

} // namespace vlr
