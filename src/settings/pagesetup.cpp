// Page-setup blocks: field access, the orientation swap, the boxes that edit them and the checks
// that keep a design printable.
#include "settings/pagesetup.h"

#include "settings/designtype.h"
#include "settings/measure.h"

#include <utility>

namespace vlr {

namespace {

template <typename Block> auto& TextOf(Block& block, PageField field) {
    switch (field) {
    case PageField::PaperWidth:
        return block.paperWidth;
    case PageField::PaperHeight:
        return block.paperHeight;
    case PageField::CardWidth:
        return block.cardWidth;
    case PageField::CardHeight:
        return block.cardHeight;
    case PageField::LeftMargin:
        return block.leftMargin;
    case PageField::TopMargin:
        return block.topMargin;
    case PageField::RightMargin:
        return block.rightMargin;
    case PageField::BottomMargin:
        return block.bottomMargin;
    case PageField::Rows:
        return block.rows;
    case PageField::Columns:
        return block.columns;
    case PageField::RowGap:
        return block.rowGap;
    case PageField::ColumnGap:
        return block.columnGap;
    case PageField::Spare1:
        return block.spare1;
    case PageField::Spare2:
        break;
    }
    return block.spare2;
}

bool IsCount(PageField field) {
    return field == PageField::Rows || field == PageField::Columns;
}

bool IsSize(PageField field) {
    return field == PageField::PaperWidth || field == PageField::PaperHeight ||
           field == PageField::CardWidth || field == PageField::CardHeight;
}

const char* LimitText(int32_t unit) {
    switch (unit) {
    case 1:
        return "32000 pixels";
    case 2:
        return "10000 mm";
    default:
        return "400 inches";
    }
}

// What one card of the type is called in messages.
const char* CardNoun(int32_t designType) {
    if (designType == DesignType::Labels) {
        return "label";
    }
    return designType == DesignType::Brochures ? "brochure" : "card";
}

} // namespace

std::string& FieldText(miry_t& block, PageField field) {
    return TextOf(block, field);
}
const std::string& FieldText(const miry_t& block, PageField field) {
    return TextOf(block, field);
}

miry_t* CurrentBlock(pageset_t& pageset) {
    return IsMeasureUnit(pageset.units) ? &pageset.dims[pageset.units - 1] : nullptr;
}

const miry_t* CurrentBlock(const pageset_t& pageset) {
    return IsMeasureUnit(pageset.units) ? &pageset.dims[pageset.units - 1] : nullptr;
}

void TransposeBlock(miry_t& block) {
    std::swap(block.paperWidth, block.paperHeight);
    std::swap(block.cardWidth, block.cardHeight);
    std::swap(block.leftMargin, block.topMargin);
    std::swap(block.rightMargin, block.bottomMargin);
    std::swap(block.rows, block.columns);
    std::swap(block.rowGap, block.columnGap);
    std::swap(block.spare1, block.spare2);
    std::swap(block.rowFold, block.columnFold);
}

bool SwapOrientation(pageset_t& pageset, int32_t orientation) {
    miry_t* block = CurrentBlock(pageset);
    if (!block || (orientation != kPortrait && orientation != kLandscape) ||
        orientation == pageset.orientation) {
        return false;
    }
    pageset.orientation = orientation;
    TransposeBlock(*block);
    return true;
}

std::array<std::optional<PageBox>, kPageBoxCount> PageBoxes(int32_t unit, int32_t designType) {
    using F = PageField;
    std::array<std::optional<PageBox>, kPageBoxCount> boxes;
    if (!IsMeasureUnit(unit) || !IsDesignType(designType)) {
        return boxes;
    }
    if (unit == 1) {
        boxes[0] = PageBox{F::PaperWidth, "Image width"};
        boxes[1] = PageBox{F::PaperHeight, "Image height"};
        return boxes;
    }
    boxes[0] = PageBox{F::PaperWidth, "Paper width"};
    boxes[1] = PageBox{F::PaperHeight, "Paper height"};
    if (IsCardType(designType)) {
        const bool labels = designType == DesignType::Labels;
        boxes[2] = PageBox{F::CardWidth, labels ? "Label width" : "Card width"};
        boxes[3] = PageBox{F::CardHeight, labels ? "Label height" : "Card height"};
        boxes[4] = PageBox{F::LeftMargin, "Left margin"};
        boxes[5] = PageBox{F::TopMargin, "Top margin"};
        boxes[6] = PageBox{F::Rows, "Rows"};
        boxes[7] = PageBox{F::Columns, "Columns"};
        boxes[8] = PageBox{F::RowGap, "Row gap"};
        boxes[9] = PageBox{F::ColumnGap, "Column gap"};
    } else if (designType == DesignType::Brochures) {
        boxes[2] = PageBox{F::CardWidth, "Brochure width"};
        boxes[3] = PageBox{F::CardHeight, "Brochure height"};
        boxes[4] = PageBox{F::LeftMargin, "Left margin"};
        boxes[5] = PageBox{F::TopMargin, "Top margin"};
        boxes[6] = PageBox{F::BottomMargin, "Bottom margin"};
        boxes[7] = PageBox{F::RightMargin, "Right margin"};
        boxes[8] = PageBox{F::Rows, "Rows"};
        boxes[9] = PageBox{F::Columns, "Columns"};
    } else {
        boxes[2] = PageBox{F::LeftMargin, "Left margin"};
        boxes[3] = PageBox{F::TopMargin, "Top margin"};
        boxes[4] = PageBox{F::RightMargin, "Right margin"};
        boxes[5] = PageBox{F::BottomMargin, "Bottom margin"};
        if (designType != DesignType::Illustrations) {
            boxes[6] = PageBox{F::Rows, "Rows"};
            boxes[7] = PageBox{F::Columns, "Columns"};
            boxes[8] = PageBox{F::RowGap, "Row gap"};
            boxes[9] = PageBox{F::ColumnGap, "Column gap"};
        }
    }
    return boxes;
}

bool FoldBoxesShown(int32_t unit, int32_t designType) {
    return (unit == 2 || unit == 3) && IsDesignType(designType) && designType != DesignType::Illustrations;
}

PageValues ReadPageValues(const miry_t& block, int32_t unit) {
    PageValues values;
    for (int index = 0; index < kPageFieldCount; ++index) {
        auto field = static_cast<PageField>(index);
        const std::string& text = FieldText(block, field);
        if (IsCount(field)) {
            if (std::optional<int32_t> count = ParseWholeNumber(text)) {
                values[field] = *count;
            }
        } else {
            values[field] = ParseMeasure(text, unit);
        }
    }
    values.rowFold = block.rowFold != 0;
    values.columnFold = block.columnFold != 0;
    return values;
}

double LargestPageDimension(int32_t unit) {
    switch (unit) {
    case 1:
        return 32000.0;
    case 2:
        return 10000.0;
    default:
        return 400.0;
    }
}

std::optional<PageProblem> CheckPageValues(const PageValues& values, int32_t unit, int32_t designType) {
    if (!IsMeasureUnit(unit)) {
        return PageProblem{std::nullopt, "Choose a measuring unit."};
    }
    if (!IsDesignType(designType)) {
        return PageProblem{std::nullopt, "Choose a design type."};
    }
    bool cardShown = false;
    for (const std::optional<PageBox>& box : PageBoxes(unit, designType)) {
        if (!box) {
            continue;
        }
        cardShown = cardShown || box->field == PageField::CardWidth;
        const std::optional<double>& value = values[box->field];
        if (!value) {
            continue;
        }
        const std::string label = box->label;
        if (IsCount(box->field)) {
            if (*value < 1 || *value > kLargestRowsOrColumns) {
                return PageProblem{box->field, label + " must be a whole number from 1 to 1000."};
            }
        } else if (IsSize(box->field) && *value <= 0.0) {
            return PageProblem{box->field, label + " must be greater than 0."};
        } else if (*value < 0.0) {
            return PageProblem{box->field, label + " cannot be negative."};
        } else if (*value > LargestPageDimension(unit)) {
            return PageProblem{box->field, label + " cannot be more than " + LimitText(unit) + "."};
        }
    }
    if (!cardShown) {
        return std::nullopt;
    }

    // The designed card, doubled by its folds, must lie on the paper. Brochure panels start at
    // the paper's corner as far as this check goes: their margins only clip the fold guides.
    const bool cards = IsCardType(designType);
    const PageField needed[] = {PageField::PaperWidth, PageField::PaperHeight, PageField::CardWidth,
                                PageField::CardHeight, PageField::LeftMargin,  PageField::TopMargin};
    for (PageField field : needed) {
        const bool margin = field == PageField::LeftMargin || field == PageField::TopMargin;
        if (!values[field] && (cards || !margin)) {
            return std::nullopt;
        }
    }
    const double width = *values[PageField::CardWidth] * (values.columnFold ? 2.0 : 1.0) +
                         (cards ? *values[PageField::LeftMargin] : 0.0);
    const double height = *values[PageField::CardHeight] * (values.rowFold ? 2.0 : 1.0) +
                          (cards ? *values[PageField::TopMargin] : 0.0);
    auto exceeds = [](double length, double paper) { return length > paper + 1e-9 * (1.0 + paper); };
    if (exceeds(width, *values[PageField::PaperWidth]) || exceeds(height, *values[PageField::PaperHeight])) {
        return PageProblem{std::nullopt,
                           std::string("The ") + CardNoun(designType) + " does not fit on the paper."};
    }
    return std::nullopt;
}

PageValues EssentialPageValues(const PageValues& values, int32_t unit, int32_t designType) {
    using F = PageField;
    PageValues essential;
    essential.rowFold = values.rowFold;
    essential.columnFold = values.columnFold;
    auto keep = [&](F field) { essential[field] = values[field]; };
    keep(F::PaperWidth);
    keep(F::PaperHeight);
    if (unit == 1) {
        return essential;
    }
    if (IsCardType(designType)) {
        for (F field : {F::CardWidth, F::CardHeight, F::LeftMargin, F::TopMargin, F::Rows, F::Columns}) {
            keep(field);
        }
    } else if (designType == DesignType::Brochures) {
        keep(F::CardWidth);
        keep(F::CardHeight);
    }
    return essential;
}

std::optional<PageProblem> CheckPageSetup(const pageset_t& pageset, int32_t designType) {
    const miry_t* block = CurrentBlock(pageset);
    if (!block) {
        return PageProblem{std::nullopt, "Choose a measuring unit."};
    }
    return CheckPageValues(ReadPageValues(*block, pageset.units), pageset.units, designType);
}

} // namespace vlr
