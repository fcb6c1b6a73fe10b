// Settings that stand for list positions, counts and sizes, checked where they are used: the
// stored values pass through the registry and older versions unchecked, and a value outside its
// range must give a usable item or list entry, never a wrong one.
#pragma once

#include "settings/stylelists.h"

#include <cstdint>

namespace vlr {

// The position when it is one of the list's entries, else the list's default.
int CheckedPosition(int position, int entryCount, int fallback);
// Sides of a polygon and spikes of a star: 3 ... 20, anything else 5.
int32_t CheckedSides(int32_t sides);
// A spline's or curve's mode: 0 open, 1 closed, 2 solid; anything else 0.
int32_t CheckedShapeMode(int32_t mode);
// A font size in points below 1 becomes 12.
int32_t CheckedFontSize(int32_t points);
// A font weight kept within 100 ... 900.
int32_t CheckedFontWeight(int32_t weight);
// The custom pattern slot (1 ... 12) behind a position of the pattern list; 0 for the built-in
// positions, "Customize..." and positions past the list.
int32_t PatternSlotAt(const StyleList& list, int position);

} // namespace vlr
