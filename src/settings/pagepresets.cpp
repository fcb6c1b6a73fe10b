// The quick-select lists: every entry with its texts, choosing and recognising entries, and the
// factory page setups built from them.
#include "settings/pagepresets.h"

#include "model/itemrecord.h"
#include "settings/designtype.h"
#include "settings/measure.h"

#include <algorithm>

namespace vlr {

namespace {

using O = PresetOrientation;
using Fold = PresetFold;

constexpr PagePreset Pixels(const char* name, O orientation, const char* width, const char* height) {
    return {
        name, PresetKind::PixelSize, orientation, {width, height, "", "", "", "", "", "", "", "", "", ""}};
}

// A photo size; the texts give the smaller number first.
constexpr PagePreset Photo(const char* name, const char* smaller, const char* larger) {
    return {name, PresetKind::PixelPhoto, O::Kept, {smaller, larger, "", "", "", "", "", "", "", "", "", ""}};
}

constexpr PagePreset Sheet(const char* name, const char* width, const char* height, const char* margin) {
    return {name,
            PresetKind::Sheet,
            O::Kept,
            {width, height, "", "", margin, margin, margin, margin, "", "", "", ""}};
}

struct CardTexts {
    const char* paperWidth;
    const char* paperHeight;
    const char* cardWidth;
    const char* cardHeight;
    const char* left;
    const char* top;
    const char* right;
    const char* bottom;
    const char* rows;
    const char* columns;
    const char* rowGap;
    const char* columnGap;
};

constexpr PagePreset Cards(const char* name, O orientation, CardTexts t, Fold fold = Fold::None) {
    return {name,
            PresetKind::Cards,
            orientation,
            {t.paperWidth, t.paperHeight, t.cardWidth, t.cardHeight, t.left, t.top, t.right, t.bottom, t.rows,
             t.columns, t.rowGap, t.columnGap},
            fold,
            false};
}

constexpr PagePreset Postcards(const char* name, O orientation, CardTexts t) {
    PagePreset preset = Cards(name, orientation, t);
    preset.transposable = true;
    return preset;
}

const PagePreset kPixelList[] = {
    Photo("Small Photo 250 x 350", "250", "350"),
    Photo("Medium Photo 350 x 500", "350", "500"),
    Photo("Large Photo 500 x 700", "500", "700"),
    Pixels("Leaderboard 728 x 90", O::Landscape, "728", "90"),
    Pixels("Banner 468 x 60", O::Landscape, "468", "60"),
    Pixels("Half Banner 234 x 60", O::Landscape, "234", "60"),
    Pixels("Skyscraper 120 x 600", O::Portrait, "120", "600"),
    Pixels("Wide Skyscraper 160 x 600", O::Portrait, "160", "600"),
    Pixels("Vertical Banner 120 x 240", O::Portrait, "120", "240"),
    Pixels("Button 125 x 125", O::Kept, "125", "125"),
    Pixels("Medium Rectangle 300 x 250", O::Landscape, "300", "250"),
    Pixels("Square 250 x 250", O::Kept, "250", "250"),
    Pixels("Large Rectangle 336 x 280", O::Landscape, "336", "280"),
    Pixels("Small Rectangle 180 x 150", O::Landscape, "180", "150"),
};

// ---- millimetres ----

const PagePreset kIllustrationsMm[] = {
    Sheet("A0 - drawings, posters", "841", "1189", "7"),
    Sheet("A1 - drawings, posters, flip charts", "594", "841", "7"),
    Sheet("A2 - flip charts, diagrams", "420", "594", "7"),
    Sheet("A3 - newspapers, large tables", "297", "420", "7"),
    Sheet("A4 - letters, magazines, forms, catalogs", "210", "297", "7"),
    Sheet("A5 - note pads, books", "148", "210", "7"),
    Sheet("A6 - books, postcards", "105", "148", "7"),
    Sheet("A7 - index cards", "74", "105", "7"),
    Sheet("C4 - envelopes for A4 letters unfolded", "229", "324", "7"),
    Sheet("C5 - envelopes for A5 letters unfolded", "162", "229", "7"),
    Sheet("C6 - envelopes for A6 postcards", "114", "162", "7"),
    Sheet("C6/C5 - envelopes for A4 letters folded twice", "114", "229", "7"),
    Sheet("DL - envelopes for A4 letters folded twice", "110", "220", "7"),
    Sheet("B4 - newspapers, envelopes for C4", "250", "353", "7"),
    Sheet("B5 - books, envelopes for C5", "176", "250", "7"),
    Sheet("B6 - books, envelopes for C6", "125", "176", "7"),
    Sheet("B7 - passports", "88", "125", "7"),
    Sheet("B8 - playing cards", "62", "88", "7"),
    Sheet("Photo - 90 x 130", "90", "130", ""),
    Sheet("Photo - 130 x 180", "130", "180", ""),
};

const PagePreset kPostcardsMm[] = {
    Postcards("A5 postcards, 2 per A4 page", O::Portrait,
              {"210", "297", "210", "148", "0", "0", "0", "0", "2", "1", "0", "0"}),
    Postcards("A6 postcards, 4 per A4 page", O::Portrait,
              {"210", "297", "105", "148", "0", "0", "0", "0", "2", "2", "0", "0"}),
    Postcards("210 x 99 postcards, 3 per A4 page", O::Portrait,
              {"210", "297", "210", "99", "0", "0", "0", "0", "3", "1", "0", "0"}),
};

const PagePreset kGreetingCardsMm[] = {
    Cards("A6 postcards, 2 per A4 page, vertical", O::Portrait,
          {"210", "297", "105", "148", "0", "0", "0", "0", "2", "2", "0", "0"}, Fold::Column),
    Cards("A6 postcards, 2 per A4 page, horizontal", O::Landscape,
          {"297", "210", "148", "105", "0", "0", "0", "0", "2", "2", "0", "0"}, Fold::Row),
    Cards("A6 postcards, 2 per A4 page, vertical", O::Portrait,
          {"210", "297", "105", "148", "0", "0", "0", "0", "2", "2", "0", "0"}, Fold::Row),
    Cards("A6 postcards, 2 per A4 page, horizontal", O::Landscape,
          {"297", "210", "148", "105", "0", "0", "0", "0", "2", "2", "0", "0"}, Fold::Column),
};

const PagePreset kBusinessCardsMm[] = {
    Cards("A8 business cards, 8 per page", O::Portrait,
          {"210", "297", "74", "52", "26", "25", "0", "0", "4", "2", "10", "10"}),
    Cards("A8 business cards, 10 per page", O::Portrait,
          {"210", "297", "74", "52", "31", "18", "0", "0", "5", "2", "0", "0"}),
    Cards("A8 fold business cards, 5 per page", O::Portrait,
          {"210", "297", "74", "52", "31", "18", "0", "0", "5", "2", "0", "0"}, Fold::Column),
    Cards("A8 vertical cards, 8 per page", O::Landscape,
          {"297", "210", "52", "74", "25", "26", "0", "0", "2", "4", "10", "10"}),
    Cards("A8 vertical cards, 10 per page", O::Landscape,
          {"297", "210", "52", "74", "18", "31", "0", "0", "2", "5", "0", "0"}),
    Cards("A8 fold vertical cards, 5 per page", O::Landscape,
          {"297", "210", "52", "74", "18", "31", "0", "0", "2", "5", "0", "0"}, Fold::Row),
    Cards("85 \u00d7 54 business cards, 8 per page", O::Portrait,
          {"210", "297", "85", "54", "15", "25", "0", "0", "4", "2", "10", "10"}),
    Cards("85 \u00d7 54 business cards, 10 per page", O::Portrait,
          {"210", "297", "85", "54", "20", "14", "0", "0", "5", "2", "0", "0"}),
    Cards("85 \u00d7 54 fold business cards, 5 per page", O::Portrait,
          {"210", "297", "85", "54", "20", "14", "0", "0", "5", "2", "0", "0"}, Fold::Column),
    Cards("85 \u00d7 54 vertical cards, 8 per page", O::Landscape,
          {"297", "210", "54", "85", "25", "15", "0", "0", "2", "4", "10", "10"}),
    Cards("85 \u00d7 54 vertical cards, 10 per page", O::Landscape,
          {"297", "210", "54", "85", "14", "20", "0", "0", "2", "5", "0", "0"}),
    Cards("85 \u00d7 54 fold vertical cards, 5 per page", O::Landscape,
          {"297", "210", "54", "85", "14", "20", "0", "0", "2", "5", "0", "0"}, Fold::Row),
};

const PagePreset kLabelsMm[] = {
    Cards("20 x 10 labels, A4 paper", O::Portrait,
          {"210", "297", "20", "10", "5", "9", "5", "9", "28", "10", "0", "0"}),
    Cards("37 x 18 labels, A4 paper", O::Portrait,
          {"210", "297", "37", "18", "13", "5", "13", "5", "16", "5", "0", "0"}),
    Cards("40 x 20 labels, A4 paper", O::Portrait,
          {"210", "297", "40", "20", "5", "9", "5", "9", "14", "5", "0", "0"}),
    Cards("50 x 30 labels, A4 paper", O::Portrait,
          {"210", "297", "50", "30", "5", "14", "5", "14", "9", "4", "0", "0"}),
    Cards("60 x 40 labels, A4 paper", O::Portrait,
          {"210", "297", "60", "40", "15", "9", "15", "9", "7", "3", "0", "0"}),
    Cards("80 x 50 labels, A4 paper", O::Portrait,
          {"210", "297", "80", "50", "25", "24", "25", "24", "5", "2", "0", "0"}),
    Cards("100 x 60 labels, A4 paper", O::Portrait,
          {"210", "297", "100", "60", "5", "29", "5", "29", "4", "2", "0", "0"}),
    Cards("100 x 70 labels, A4 paper", O::Portrait,
          {"210", "297", "100", "70", "5", "9", "5", "9", "4", "2", "0", "0"}),
    Cards("100 x 80 labels, A4 paper", O::Portrait,
          {"210", "297", "100", "80", "5", "29", "5", "29", "3", "2", "0", "0"}),
    Cards("100 x 90 labels, A4 paper", O::Portrait,
          {"210", "297", "100", "90", "5", "14", "5", "14", "3", "2", "0", "0"}),
};

const PagePreset kBrochuresMm[] = {
    Cards("Half-fold brochures, A4 paper", O::Portrait,
          {"210", "297", "210", "148", "0", "0", "0", "0", "3", "1", "0", "0"}, Fold::Row),
    Cards("Tri-fold brochures, A4 paper", O::Portrait,
          {"210", "297", "210", "99", "0", "0", "0", "0", "3", "1", "0", "0"}, Fold::Row),
};

const PagePreset kTentCardsMm[] = {
    Cards("Tent Cards, 2 per A4 page", O::Portrait,
          {"210", "297", "190", "69", "10", "10", "10", "10", "4", "1", "0", "0"}, Fold::Row),
    Cards("Tent Cards, 3 per A4 page", O::Portrait,
          {"210", "297", "190", "46", "10", "10", "10", "10", "6", "1", "0", "0"}, Fold::Row),
};

// ---- inches ----

const PagePreset kIllustrationsInches[] = {
    Sheet("Letter 8 1/2 x 11", "8 1/2", "11", "1/4"),
    Sheet("Legal 8 1/2 x 14", "8 1/2", "14", "1/4"),
    Sheet("Executive 7 1/4 x 10 1/2", "7 1/4", "10 1/2", "1/4"),
    Sheet("Ledger/Tabloid 11 x 17", "11", "17", "1/4"),
    Sheet("Envelope #10 4 1/8 x 9 1/2", "4 1/8", "9 1/2", "1/4"),
    Sheet("Envelope Monarch 3 7/8 x 7 1/2", "3 7/8", "7 1/2", "1/4"),
    Sheet("Photo 4 x 6", "4", "6", ""),
    Sheet("Photo 5 x 7", "5", "7", ""),
};

const PagePreset kPostcardsInches[] = {
    Postcards("4 x 6 postcards, 2 per page", O::Portrait,
              {"8 1/2", "11", "6", "4", "1 1/4", "1", "1 1/4", "1", "2", "1", "1", ""}),
    Postcards("5 1/2 x 4 1/4 postcards, 4 per page", O::Landscape,
              {"11", "8 1/2", "5 1/2", "4 1/4", "", "", "", "", "2", "2", "", ""}),
};

const PagePreset kGreetingCardsInches[] = {
    Cards("4 1/4 x 5 1/2 greeting cards, 2 per page, vertical", O::Portrait,
          {"8 1/2", "11", "4 1/4", "5 1/2", "", "", "", "", "2", "2", "", ""}, Fold::Column),
    Cards("5 1/2 x 4 1/4 greeting cards, 2 per page, horizontal", O::Landscape,
          {"11", "8 1/2", "5 1/2", "4 1/4", "", "", "", "", "2", "2", "", ""}, Fold::Row),
    Cards("4 1/4 x 5 1/2 greeting cards, 2 per page, vertical", O::Portrait,
          {"8 1/2", "11", "4 1/4", "5 1/2", "", "", "", "", "2", "2", "", ""}, Fold::Row),
    Cards("5 1/2 x 4 1/4 greeting cards, 2 per page, horizontal", O::Landscape,
          {"11", "8 1/2", "5 1/2", "4 1/4", "", "", "", "", "2", "2", "", ""}, Fold::Column),
};

const PagePreset kBusinessCardsInches[] = {
    Cards("Business Cards, 8 per page", O::Portrait,
          {"8 1/2", "11", "3 1/2", "2", "1/2", "3/4", "1/2", "3/4", "4", "2", "1/2", "1/2"}),
    Cards("Business Cards, 10 per page", O::Portrait,
          {"8 1/2", "11", "3 1/2", "2", "3/4", "1/2", "3/4", "3/4", "5", "2", "", ""}),
    Cards("Business Cards, 12 per page", O::Landscape,
          {"11", "8 1/2", "3 1/2", "2", "1/4", "1/4", "1/4", "1/4", "4", "3", "", ""}),
    Cards("Vertical business cards, 8 per page", O::Landscape,
          {"11", "8 1/2", "2", "3 1/2", "3/4", "1/2", "3/4", "1/2", "2", "4", "1/2", "1/2"}),
    Cards("Vertical business cards, 10 per page", O::Landscape,
          {"11", "8 1/2", "2", "3 1/2", "1/2", "3/4", "3/4", "3/4", "2", "5", "", ""}),
    Cards("Vertical business cards, 12 per page", O::Portrait,
          {"8 1/2", "11", "2", "3 1/2", "1/4", "1/4", "1/4", "1/4", "3", "4", "", ""}),
    Cards("Fold business cards, 5 per page", O::Portrait,
          {"8 1/2", "11", "3 1/2", "2", "3/4", "1/2", "3/4", "3/4", "5", "2", "", ""}, Fold::Column),
    Cards("Fold vertical business cards, 5 per page", O::Landscape,
          {"11", "8 1/2", "2", "3 1/2", "1/2", "3/4", "3/4", "3/4", "2", "5", "", ""}, Fold::Row),
};

const PagePreset kLabelsInches[] = {
    Cards("1/2 x 1/4 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "1/2", "1/4", "1/4", "1/4", "1/4", "1/4", "42", "16", "", ""}),
    Cards("3/4 x 1/4 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "3/4", "1/4", "1/2", "1/4", "1/2", "1/4", "42", "10", "", ""}),
    Cards("1 x 1/2 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "1", "1/2", "1/4", "1/4", "1/4", "1/4", "21", "8", "", ""}),
    Cards("1 1/4 x 3/4 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "1 1/4", "3/4", "1/2", "1/4", "1/2", "1/4", "14", "6", "", ""}),
    Cards("1 1/2 x 3/4 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "1 1/2", "3/4", "1/2", "1/4", "1/2", "1/4", "14", "5", "", ""}),
    Cards("1 3/4 x 3/4 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "1 3/4", "3/4", "3/4", "1/4", "3/4", "1/4", "14", "4", "", ""}),
    Cards("2 x 1 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "2", "1", "1/4", "1/2", "1/4", "1/2", "10", "4", "", ""}),
    Cards("2 1/2 x 1 1/4 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "2 1/2", "1 1/4", "1/2", "1/2", "1/2", "1/2", "8", "3", "", ""}),
    Cards("3 x 1 1/2 labels, letter-size paper", O::Portrait,
          {"8 1/2", "11", "3", "1 1/2", "1 1/4", "1/4", "1 1/4", "1/4", "7", "2", "", ""}),
};

const PagePreset kBrochuresInches[] = {
    Cards("Half-fold brochures, letter-size paper", O::Portrait,
          {"8 1/2", "11", "8 1/2", "5 1/2", "", "", "", "", "2", "1", "", ""}, Fold::Row),
    Cards("Tri-fold brochures, letter-size paper", O::Portrait,
          {"8 1/2", "11", "8 1/2", "3 2/3", "", "", "", "", "3", "1", "", ""}, Fold::Row),
};

const PagePreset kTentCardsInches[] = {
    Cards("Tent Cards 8 1/2 x 2 1/2", O::Portrait,
          {"8 1/2", "11", "8 1/2", "2 1/2", "", "1/2", "", "1/2", "4", "1", "", ""}, Fold::Row),
    Cards("Tent Cards 11 x 3 1/2", O::Landscape,
          {"11", "8 1/2", "11", "3 1/2", "", "3/4", "", "3/4", "2", "1", "", ""}, Fold::Row),
};

// The fields an entry writes, in the order of its texts.
constexpr PageField kEntryFields[12] = {
    PageField::PaperWidth, PageField::PaperHeight, PageField::CardWidth,   PageField::CardHeight,
    PageField::LeftMargin, PageField::TopMargin,   PageField::RightMargin, PageField::BottomMargin,
    PageField::Rows,       PageField::Columns,     PageField::RowGap,      PageField::ColumnGap};

int WrittenFieldCount(PresetKind kind) {
    switch (kind) {
    case PresetKind::PixelSize:
    case PresetKind::PixelPhoto:
        return 2;
    case PresetKind::Sheet:
        return 8; // paper, card (skipped), margins
    case PresetKind::Cards:
        break;
    }
    return 12;
}

bool Writes(PresetKind kind, int index) {
    if (kind == PresetKind::Sheet && (index == 2 || index == 3)) {
        return false;
    }
    return index < WrittenFieldCount(kind);
}

// A text as the lists compare it: inches through ParseMeasure, millimetres and pixels as whole
// numbers; an empty text is 0.
std::optional<double> ListNumber(std::string_view text, int32_t unit) {
    if (unit == 3) {
        return ParseMeasure(text, unit);
    }
    if (Trim(text).empty()) {
        return 0.0;
    }
    if (std::optional<int32_t> whole = ParseWholeNumber(text)) {
        return *whole;
    }
    return std::nullopt;
}

bool SameNumber(const std::string& current, const char* entryText, int32_t unit) {
    std::optional<double> a = ListNumber(current, unit);
    std::optional<double> b = ListNumber(entryText, unit);
    return a && b && *a == *b;
}

bool EitherOrder(PresetKind kind) {
    return kind == PresetKind::PixelPhoto || kind == PresetKind::Sheet;
}

// The block holds every value the entry writes; right and bottom margins are not compared.
bool HoldsEntry(const miry_t& block, const PagePreset& entry, int32_t unit) {
    for (int i = 0; i < 12; ++i) {
        PageField field = kEntryFields[i];
        if (!Writes(entry.kind, i) || field == PageField::RightMargin || field == PageField::BottomMargin) {
            continue;
        }
        if (i < 2 && EitherOrder(entry.kind)) {
            continue; // the paper size is compared below
        }
        if (!SameNumber(FieldText(block, field), entry.texts[i], unit)) {
            return false;
        }
    }
    if (EitherOrder(entry.kind)) {
        const bool inOrder = SameNumber(block.paperWidth, entry.texts[0], unit) &&
                             SameNumber(block.paperHeight, entry.texts[1], unit);
        const bool turned = SameNumber(block.paperWidth, entry.texts[1], unit) &&
                            SameNumber(block.paperHeight, entry.texts[0], unit);
        if (!inOrder && !turned) {
            return false;
        }
    }
    if (entry.kind == PresetKind::Cards) {
        return block.rowFold == (entry.fold == Fold::Row ? 1 : 0) &&
               block.columnFold == (entry.fold == Fold::Column ? 1 : 0);
    }
    return true;
}

int32_t OrientationOf(PresetOrientation orientation) {
    return orientation == O::Landscape ? kLandscape : kPortrait;
}

bool Matches(const pageset_t& pageset, const miry_t& block, const PagePreset& entry, int32_t unit) {
    if (entry.orientation == O::Kept || pageset.orientation == OrientationOf(entry.orientation)) {
        if (HoldsEntry(block, entry, unit)) {
            return true;
        }
    }
    if (entry.transposable && pageset.orientation != OrientationOf(entry.orientation)) {
        miry_t transposed = block;
        TransposeBlock(transposed);
        return HoldsEntry(transposed, entry, unit);
    }
    return false;
}

// Writes the entry's texts into a block; a photo size follows the orientation.
void WriteEntry(miry_t& block, const PagePreset& entry, int32_t orientation) {
    for (int i = 0; i < 12; ++i) {
        if (Writes(entry.kind, i)) {
            FieldText(block, kEntryFields[i]) = entry.texts[i];
        }
    }
    if (entry.kind == PresetKind::PixelPhoto && orientation == kLandscape) {
        std::swap(block.paperWidth, block.paperHeight);
    }
    if (entry.kind == PresetKind::Cards) {
        block.rowFold = entry.fold == Fold::Row ? 1 : 0;
        block.columnFold = entry.fold == Fold::Column ? 1 : 0;
    }
}

} // namespace

std::span<const PagePreset> PresetList(int32_t unit, int32_t designType) {
    if (unit == 1) {
        return kPixelList;
    }
    if (unit == 2) {
        switch (designType) {
        case DesignType::Illustrations:
            return kIllustrationsMm;
        case DesignType::Postcards:
            return kPostcardsMm;
        case DesignType::GreetingCards:
            return kGreetingCardsMm;
        case DesignType::BusinessCards:
            return kBusinessCardsMm;
        case DesignType::Labels:
            return kLabelsMm;
        case DesignType::Brochures:
            return kBrochuresMm;
        case DesignType::TentCards:
            return kTentCardsMm;
        default:
            return {};
        }
    }
    if (unit == 3) {
        switch (designType) {
        case DesignType::Illustrations:
            return kIllustrationsInches;
        case DesignType::Postcards:
            return kPostcardsInches;
        case DesignType::GreetingCards:
            return kGreetingCardsInches;
        case DesignType::BusinessCards:
            return kBusinessCardsInches;
        case DesignType::Labels:
            return kLabelsInches;
        case DesignType::Brochures:
            return kBrochuresInches;
        case DesignType::TentCards:
            return kTentCardsInches;
        default:
            return {};
        }
    }
    return {};
}

bool ChoosePreset(pageset_t& pageset, int32_t designType, int32_t index) {
    miry_t* block = CurrentBlock(pageset);
    if (!block) {
        return false;
    }
    std::span<const PagePreset> list = PresetList(pageset.units, designType);
    if (index < 0 || static_cast<size_t>(index) >= list.size()) {
        return false;
    }
    const PagePreset& entry = list[static_cast<size_t>(index)];
    if (entry.orientation != O::Kept) {
        pageset.orientation = OrientationOf(entry.orientation);
    }
    block->preset = index;
    WriteEntry(*block, entry, pageset.orientation);
    return true;
}

int32_t RecognizePreset(pageset_t& pageset, int32_t designType) {
    miry_t* block = CurrentBlock(pageset);
    if (!block) {
        return -1;
    }
    std::span<const PagePreset> list = PresetList(pageset.units, designType);
    int32_t found = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (Matches(pageset, *block, list[i], pageset.units)) {
            found = static_cast<int32_t>(i);
        }
    }
    block->preset = found;
    return found;
}

pageset_t DefaultPageSetup(int32_t designType, int32_t preferredUnit) {
    if (!IsDesignType(designType)) {
        designType = DesignType::Illustrations;
    }
    pageset_t pageset;
    pageset.orientation = kPortrait;
    pageset.units = IsMeasureUnit(preferredUnit) ? preferredUnit : 3;
    if (designType == DesignType::DigitalImages) {
        pageset.orientation = kLandscape;
        pageset.units = 1;
    }
    miry_t& pixels = pageset.dims[0];
    pixels.preset = 0;
    pixels.paperWidth = "350";
    pixels.paperHeight = "250";

    // The entries the millimetre and inch blocks start from; -1: all texts empty.
    struct Start {
        int32_t millimetres, inches;
    };
    constexpr Start kStarts[11] = {{4, 0},   {0, 0},   {0, 0},   {1, 1}, {1, 6}, {-1, -1},
                                   {-1, -1}, {-1, -1}, {-1, -1}, {1, 1}, {0, 0}};
    const Start start = kStarts[designType - 1];
    const int32_t entries[2] = {start.millimetres, start.inches};
    for (int32_t unit = 2; unit <= 3; ++unit) {
        const int32_t index = entries[unit - 2];
        if (index < 0) {
            continue;
        }
        miry_t& block = pageset.dims[unit - 1];
        block.preset = index;
        WriteEntry(block, PresetList(unit, designType)[static_cast<size_t>(index)], kPortrait);
    }
    return pageset;
}

} // namespace vlr
