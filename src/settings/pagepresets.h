// The quick-select lists of page presets (per unit and design type), choosing an entry,
// recognising the entry a page setup matches, and the factory page setup of each design type.
#pragma once

#include "settings/pagesetup.h"

#include <array>
#include <cstdint>
#include <span>

namespace vlr {

enum class PresetOrientation { Kept, Portrait, Landscape };

// Which texts an entry writes.
enum class PresetKind {
    PixelSize,  // the image size only
    PixelPhoto, // the image size, the smaller number as the width in portrait
    Sheet,      // the paper size and the four margins
    Cards,      // paper, card, margins, rows and columns, gaps and both folds
};

enum class PresetFold { None, Row, Column };

struct PagePreset {
    const char* name; // UTF-8
    PresetKind kind;
    PresetOrientation orientation;
    // paper width, paper height, card width, card height, left, top, right, bottom margin,
    // rows, columns, row gap, column gap; the entry writes those its kind names
    std::array<const char*, 12> texts;
    PresetFold fold = PresetFold::None;
    // Postcards also match their transposed values under the other orientation.
    bool transposable = false;
};

// The list for a unit and design type; empty for types and units without one.
std::span<const PagePreset> PresetList(int32_t unit, int32_t designType);

// Choosing an entry of the current unit's list: stores its index in the block's preset, writes
// the entry's texts (an empty text clears the field), sets the orientation the entry names.
// False, with nothing changed, for an index outside the list or an unknown unit.
bool ChoosePreset(pageset_t& pageset, int32_t designType, int32_t index);

// Stores in the current block the index of the last entry of the list that the block matches,
// or -1; returns it. Nothing happens for an unknown unit (-1 is returned).
int32_t RecognizePreset(pageset_t& pageset, int32_t designType);

// The factory page setup of a design type (a type outside 1 ... 11 gets that of Illustrations):
// portrait, in the preferred unit (Digital Images: landscape, in pixels), every block holding the
// entry named for it.
pageset_t DefaultPageSetup(int32_t designType, int32_t preferredUnit);

} // namespace vlr
