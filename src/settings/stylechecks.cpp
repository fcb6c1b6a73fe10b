// Settings checked where they are used.
#include "settings/stylechecks.h"

#include <algorithm>

namespace vlr {

namespace {
// "Solid", "Dot", "Dash", "Center", "Phantom", then "Customize..." at this position.
constexpr int kPatternCustomizePosition = 5;
} // namespace

int CheckedPosition(int position, int entryCount, int fallback) {
    return position >= 0 && position < entryCount ? position : fallback;
}

int32_t CheckedSides(int32_t sides) {
    return sides >= 3 && sides <= 20 ? sides : 5;
}

int32_t CheckedShapeMode(int32_t mode) {
    return mode >= 0 && mode <= 2 ? mode : 0;
}

int32_t CheckedFontSize(int32_t points) {
    return points < 1 ? 12 : points;
}

int32_t CheckedFontWeight(int32_t weight) {
    return std::clamp(weight, 100, 900);
}

int32_t PatternSlotAt(const StyleList& list, int position) {
    const int index = position - kPatternCustomizePosition - 1;
    if (index < 0 || index >= kSlotCount || position >= list.count()) {
        return 0;
    }
    const int32_t slot = list.slotMap[static_cast<size_t>(index)];
    return slot >= 1 && slot <= kSlotCount ? slot : 0;
}

} // namespace vlr
