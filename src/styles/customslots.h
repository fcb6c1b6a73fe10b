// Saving what the customisation pages edit: every typed value of the twelve slots is checked and
// converted into the values the lists and the drawing use, so that what a page saves is exactly
// what the settings loader takes back at the next start.
#pragma once

#include "settings/stylelists.h"

#include <optional>
#include <string>

namespace vlr {

// A slot that cannot be saved as it stands, and the message that tells the user why.
struct SlotRefusal {
    int slot = 0; // 0 ... 11
    std::string message;
};

// Each Save works in place on a copy of the page's slots. On success every slot is converted and
// its flags set: offered when it goes into the lists, chosen for the slot being edited
// (editedSlot 0 ... 11, -1 for none) when that one is offered. On a refusal the copy is half
// converted and is to be dropped.

// Line weights: a value with an inch mark is inches; 0 or an empty value removes the weight.
std::optional<SlotRefusal> SaveWeightSlots(custThickness_t& slots, int editedSlot, double pxPerMmX);
// Line patterns: a first dash of 0 or empty removes the pattern; the pattern is offered when
// its first dash and first space are both longer than 0 mm.
std::optional<SlotRefusal> SavePatternSlots(custPattern_t& slots, int editedSlot, double pxPerMmX);

enum class DirectionList { LineDirections, TextAngles, FontSizes };
// Angles are kept in degrees 0 ... 360, font sizes as whole points 1 ... kLargestFontSize; an
// empty value removes the entry.
std::optional<SlotRefusal> SaveDirectionSlots(custDirection_t& slots, int editedSlot, DirectionList list);

} // namespace vlr
