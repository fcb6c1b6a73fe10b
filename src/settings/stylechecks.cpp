// Settings checked where they are used.
#include "settings/stylechecks.h"

namespace vlr {

namespace {
// "Solid", "Dot", "Dash", "Center", "Phantom", then "Customize..." at this position.
constexpr int kPatternCustomizePosition = 5;
} // namespace

int CheckedPosition(int position, int entryCount, int fallback) {
    return position >= 0 && position < entryCount ? position : fallback;
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
