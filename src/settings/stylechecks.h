// Settings that stand for list positions, checked where the side panels use them: the stored
// values pass through the registry and older versions unchecked, and a value outside its list
// must give the list's default, never a wrong entry. (Sides, shape modes, font sizes and weights
// are checked by the insertion tools' own checks.)
#pragma once

#include "settings/stylelists.h"

#include <cstdint>

namespace vlr {

// The position when it is one of the list's entries, else the list's default.
int CheckedPosition(int position, int entryCount, int fallback);
// The custom pattern slot (1 ... 12) behind a position of the pattern list; 0 for the built-in
// positions, "Customize..." and positions past the list.
int32_t PatternSlotAt(const StyleList& list, int position);

} // namespace vlr
