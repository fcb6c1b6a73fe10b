// Copying page setups into a design's header item and reading its texts back.
#include "settings/pageheader.h"

#include "model/itemkind.h"
#include "settings/designtype.h"
#include "settings/pagepresets.h"
#include "settings/params.h"

#include <cmath>

namespace vlr {

namespace {

DoubleField* HeaderDimension(ItemRecord* header, PageField field) {
    switch (field) {
    case PageField::PaperWidth:
        return &header->paperWidth;
    case PageField::PaperHeight:
        return &header->paperHeight;
    case PageField::CardWidth:
        return &header->cardWidth;
    case PageField::CardHeight:
        return &header->cardHeight;
    case PageField::LeftMargin:
        return &header->leftMargin;
    case PageField::TopMargin:
        return &header->topMargin;
    case PageField::RightMargin:
        return &header->rightMargin;
    case PageField::BottomMargin:
        return &header->bottomMargin;
    case PageField::RowGap:
        return &header->rowGap;
    case PageField::ColumnGap:
        return &header->columnGap;
    case PageField::Spare1:
        return &header->spare1;
    case PageField::Spare2:
        return &header->spare2;
    case PageField::Rows:
    case PageField::Columns:
        break;
    }
    return nullptr;
}

Int32Field& HeaderCount(ItemRecord* header, PageField field) {
    return field == PageField::Rows ? header->rows : header->columns;
}

double HeaderValue(ItemRecord* header, PageField field) {
    if (DoubleField* dimension = HeaderDimension(header, field)) {
        return *dimension;
    }
    return HeaderCount(header, field);
}

// UTF-8 to UTF-16; a byte that does not start a well-formed sequence becomes U+FFFD.
void AppendUtf16(std::u16string& out, std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80           ? 1
                     : (lead >> 5) == 0x6  ? 2
                     : (lead >> 4) == 0xE  ? 3
                     : (lead >> 3) == 0x1E ? 4
                                           : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        bool wellFormed = length > 0 && i + static_cast<size_t>(length) <= text.size();
        for (int k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (!wellFormed || code < kSmallest[length] || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            i += 1;
            continue;
        }
        i += static_cast<size_t>(length);
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8Of(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

// The fourteen texts, each followed by the separator. A separator typed inside a text is left
// out, so the texts are read back at their positions.
std::u16string HeaderText(const miry_t& block) {
    std::u16string text;
    for (int index = 0; index < kPageFieldCount; ++index) {
        std::u16string field;
        AppendUtf16(field, FieldText(block, static_cast<PageField>(index)));
        std::erase(field, kLineSeparator);
        text += field;
        text.push_back(kLineSeparator);
    }
    return text;
}

bool IsFiniteScale(double scale) {
    return std::isfinite(scale) && scale > 0.0;
}

// The numbers of the block that become the header's, the header's own standing in for texts
// that do not read; a problem when the result is not a drawable, printable page.
std::optional<PageProblem> CheckAgainstHeader(const PageValues& read, ItemRecord* header, int32_t unit,
                                              int32_t designType) {
    if (std::optional<PageProblem> problem = CheckPageValues(read, unit, designType)) {
        return problem;
    }
    PageValues result = read;
    for (int index = 0; index < kPageFieldCount; ++index) {
        auto field = static_cast<PageField>(index);
        if (!result[field]) {
            result[field] = HeaderValue(header, field);
        }
    }
    return CheckPageValues(EssentialPageValues(result, unit, designType), unit, designType);
}

} // namespace

double UnitScaleX(int32_t unit, const ScreenResolution& screen) {
    return unit == 1 ? 1.0 : unit == 2 ? screen.pxPerMmX() : screen.dpiX();
}

double UnitScaleY(int32_t unit, const ScreenResolution& screen) {
    return unit == 1 ? 1.0 : unit == 2 ? screen.pxPerMmY() : screen.dpiY();
}

ApplyResult ApplyPageSetup(ItemList& design, const pageset_t& pageset, int32_t designType, bool quiet,
                           const defaults_t& defaults, const PageRedisplay& redisplay) {
    ItemRecord* header = FindRecord(design, ItemKind::Header);
    if (!header) {
        return {ApplyStatus::NoHeader, {}};
    }
    const miry_t* block = CurrentBlock(pageset);
    if (!block) {
        return {ApplyStatus::BadUnit, {}};
    }
    const int32_t unit = pageset.units;
    const PageValues read = ReadPageValues(*block, unit);
    if (std::optional<PageProblem> problem = CheckAgainstHeader(read, header, unit, designType)) {
        return {ApplyStatus::Refused, problem->message};
    }

    header->orientation = pageset.orientation == kLandscape ? kLandscape : kPortrait;
    header->designType = designType;
    header->presetIndex = block->preset;
    // Values the check did not judge (boxes hidden for this type) are taken only when sane.
    const double largest = LargestPageDimension(unit);
    for (int index = 0; index < kPageFieldCount; ++index) {
        auto field = static_cast<PageField>(index);
        if (!read[field]) {
            continue;
        }
        const double value = *read[field];
        if (DoubleField* dimension = HeaderDimension(header, field)) {
            if (value >= 0.0 && value <= largest) {
                *dimension = value;
            }
        } else if (value >= 1 && value <= kLargestRowsOrColumns) {
            HeaderCount(header, field) = static_cast<int32_t>(value);
        }
    }
    header->rowFold = block->rowFold ? 1 : 0;
    header->columnFold = block->columnFold ? 1 : 0;
    header->wideText = HeaderText(*block);

    // A card type's canvas is one card; in pixels every design is a picture of the image size
    // (the pixel page has no card boxes).
    if (IsCardType(designType) && unit != 1) {
        header->canvasWidth = header->cardWidth * (header->columnFold ? 2.0 : 1.0);
        header->canvasHeight = header->cardHeight * (header->rowFold ? 2.0 : 1.0);
    } else {
        header->canvasWidth = double(header->paperWidth);
        header->canvasHeight = double(header->paperHeight);
    }

    const double scaleX = UnitScaleX(unit, design.screen);
    const double scaleY = UnitScaleY(unit, design.screen);
    if (header->units != unit) {
        // The page keeps its place on the canvas: its offsets stay the same in design pixels.
        const double oldScaleX = header->pxPerUnitX, oldScaleY = header->pxPerUnitY;
        if (IsFiniteScale(oldScaleX) && IsFiniteScale(oldScaleY)) {
            header->canvasLeft = header->canvasLeft * (oldScaleX / scaleX);
            header->canvasTop = header->canvasTop * (oldScaleY / scaleY);
        }
        const defaultsRec_t& grid = defaults.perUnit[unit - 1];
        if (IsFiniteScale(grid.gridX) && IsFiniteScale(grid.gridY)) {
            header->gridDensityX = grid.gridX;
            header->gridDensityY = grid.gridY;
        }
    }
    header->units = unit;
    header->pxPerUnitX = scaleX;
    header->pxPerUnitY = scaleY;
    HeaderGeometry(header);

    if (!quiet) {
        header->modified = 1;
        if (redisplay) {
            redisplay();
        }
    }
    return {};
}

ApplyResult ApplyNewDesignPage(ItemList& design, const TParams& params) {
    ItemRecord* header = FindRecord(design, ItemKind::Header);
    if (!header) {
        return {ApplyStatus::NoHeader, {}};
    }
    const defaults_t& defaults = params.state.defaults;
    const int32_t unit = IsMeasureUnit(defaults.units) ? defaults.units : 3;
    header->units = unit;
    header->pxPerUnitX = UnitScaleX(unit, design.screen);
    header->pxPerUnitY = UnitScaleY(unit, design.screen);
    constexpr double kPaper[3][2] = {{200.0, 200.0}, {210.0, 297.0}, {8.5, 11.0}};
    header->paperWidth = kPaper[unit - 1][0];
    header->paperHeight = kPaper[unit - 1][1];
    for (DoubleField* field : {&header->cardWidth, &header->cardHeight, &header->leftMargin,
                               &header->topMargin, &header->rightMargin, &header->bottomMargin,
                               &header->rowGap, &header->columnGap, &header->spare1, &header->spare2}) {
        *field = 0.0;
    }
    header->rows = 0;
    header->columns = 0;
    header->rowFold = 0;
    header->columnFold = 0;

    const int32_t type = IsDesignType(params.state.pspage) ? params.state.pspage : DesignType::BusinessCards;
    ApplyResult result = ApplyPageSetup(design, params.state.pagesets[type - 1], type, true, defaults);
    // Types whose factory page is empty fall back to the factory page of Illustrations.
    for (int32_t fallback : {type, DesignType::Illustrations}) {
        if (result.applied()) {
            break;
        }
        result = ApplyPageSetup(design, DefaultPageSetup(fallback, unit), type, true, defaults);
    }
    return result;
}

bool ReadBackPageTexts(const ItemRecord* header, miry_t& block) {
    if (!header || !header->wideText) {
        return false;
    }
    const std::u16string_view text = *header->wideText;
    size_t start = 0;
    for (int index = 0; index < kPageFieldCount; ++index) {
        std::string& field = FieldText(block, static_cast<PageField>(index));
        if (start > text.size()) {
            field.clear();
            continue;
        }
        size_t end = text.find(kLineSeparator, start);
        if (end == std::u16string_view::npos) {
            end = text.size();
        }
        field = Utf8Of(text.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

} // namespace vlr
