// Page setups as kept for new files and edited by the page-setup pages: one block of dimension
// texts per measuring unit, read as numbers only through ParseMeasure. Also which boxes of the
// page-dimensions page edit which text, and the checks a page setup passes before a design takes
// it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vlr {

inline constexpr int kDesignTypeCount = 11;

// The dimensions of a page setup in one unit, as typed or written by a preset.
struct miry_t {
    int32_t preset = -1; // quick-select entry the values came from; -1 or past the list: none
    std::string paperWidth, paperHeight;
    std::string cardWidth, cardHeight;
    std::string leftMargin, topMargin, rightMargin, bottomMargin;
    std::string rows, columns;
    std::string rowGap, columnGap;
    std::string spare1, spare2;
    uint8_t rowFold = 0;
    uint8_t columnFold = 0;
    friend bool operator==(const miry_t&, const miry_t&) = default;
};

struct pageset_t {
    int32_t orientation = 1;    // 1 portrait, 2 landscape
    int32_t units = 3;          // 1 pixels, 2 millimetres, 3 inches
    std::array<miry_t, 3> dims; // index = units - 1
    friend bool operator==(const pageset_t&, const pageset_t&) = default;
};

// One page setup per design type, indexed by design type - 1.
using pagesetArr_t = std::array<pageset_t, kDesignTypeCount>;

inline constexpr int32_t kPortrait = 1;
inline constexpr int32_t kLandscape = 2;

constexpr bool IsMeasureUnit(int32_t unit) {
    return unit >= 1 && unit <= 3;
}

// The fourteen texts of a block, in the order a design's header keeps them.
enum class PageField {
    PaperWidth,
    PaperHeight,
    CardWidth,
    CardHeight,
    LeftMargin,
    TopMargin,
    RightMargin,
    BottomMargin,
    Rows,
    Columns,
    RowGap,
    ColumnGap,
    Spare1,
    Spare2
};
inline constexpr int kPageFieldCount = 14;

std::string& FieldText(miry_t& block, PageField field);
const std::string& FieldText(const miry_t& block, PageField field);

// The block of the page setup's unit; none when the unit is not 1 ... 3.
miry_t* CurrentBlock(pageset_t& pageset);
const miry_t* CurrentBlock(const pageset_t& pageset);

// Exchanges widths and heights, left and top margins, right and bottom margins, rows and
// columns, the gaps, the spares and the folds: the block seen in the other orientation.
void TransposeBlock(miry_t& block);

// Ticking the other orientation: sets it and transposes the current unit's block only. False (and nothing
// changed) when the orientation is already set, is not 1 or 2, or the unit is unknown.
bool SwapOrientation(pageset_t& pageset, int32_t orientation);

// ---- the boxes of the page-dimensions page ----

inline constexpr int kPageBoxCount = 10;

struct PageBox {
    PageField field;
    const char* label;
};

// What Edit1 ... Edit10 edit for a unit and design type; a box without a value is hidden.
std::array<std::optional<PageBox>, kPageBoxCount> PageBoxes(int32_t unit, int32_t designType);
// The "Row fold" and "Column fold" boxes are shown.
bool FoldBoxesShown(int32_t unit, int32_t designType);

// ---- numbers and checks ----

// The numbers of a block: dimensions through ParseMeasure, rows and columns as whole numbers.
// A text that does not read has no value.
struct PageValues {
    std::array<std::optional<double>, kPageFieldCount> value;
    bool rowFold = false;
    bool columnFold = false;
    std::optional<double>& operator[](PageField field) { return value[static_cast<int>(field)]; }
    const std::optional<double>& operator[](PageField field) const { return value[static_cast<int>(field)]; }
};
PageValues ReadPageValues(const miry_t& block, int32_t unit);

// The largest paper, card, margin or gap a page setup may give, in a unit: 32000 pixels,
// 10000 mm or 400 inches. Larger values cannot be drawn or printed sensibly.
double LargestPageDimension(int32_t unit);
inline constexpr int32_t kLargestRowsOrColumns = 1000;

// Why a page setup cannot become the page of a design, in words for the user.
struct PageProblem {
    std::optional<PageField> field; // the text at fault, when one is
    std::string message;
};

// Judges the values the page shows for the unit and design type: sizes above 0, margins and
// gaps not negative, nothing larger than LargestPageDimension, rows and columns 1 ... 1000, and
// the card (doubled by its folds) with its left and top margin on the paper. Values without a
// number are not judged.
std::optional<PageProblem> CheckPageValues(const PageValues& values, int32_t unit, int32_t designType);
// Only the values a design cannot do without, the others removed: the paper size; for card
// types in millimetres or inches also the card size, its left and top margins, rows and columns;
// for brochures the brochure size.
PageValues EssentialPageValues(const PageValues& values, int32_t unit, int32_t designType);
// The same for the current block of a page setup.
std::optional<PageProblem> CheckPageSetup(const pageset_t& pageset, int32_t designType);

} // namespace vlr
