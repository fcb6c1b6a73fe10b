// Selection, stacking, groups and searches over a design's records. Loops run over the records,
// never over a numeric range taken from a file, so a stacking number or group id of two billion
// costs no more than a small one.
#include "model/itemlist.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <vector>

namespace vlr {

bool IsLiveItem(const ItemRecord* record) {
    return record && IsItemClass(record) && record->deleted == 0;
}

bool IsSelected(const ItemRecord* record) {
    return record && IsItemClass(record) && record->suspended == 0 && record->deleted == 0 &&
           record->selected == 255;
}

void SelectOnly(ItemList& list, ItemRecord* record) {
    for (ItemRecord* each : list) {
        each->selected = 0;
    }
    if (record) {
        record->selected = 255;
    }
}

void SelectLastItem(ItemList& list) {
    ItemRecord* record = list.last;
    while (record && !IsItemClass(record)) {
        record = record->prev;
    }
    if (record && record->suspended == 0 && record->deleted == 0) {
        SelectOnly(list, record);
    }
}

ItemRecord* FirstSelected(const ItemList& list) {
    for (ItemRecord* record : list) {
        if (IsSelected(record)) {
            return record;
        }
    }
    return nullptr;
}

ItemRecord* SoleSelected(const ItemList& list) {
    ItemRecord* found = nullptr;
    for (ItemRecord* record : list) {
        if (IsSelected(record)) {
            if (found) {
                return nullptr;
            }
            found = record;
        }
    }
    return found;
}

ItemRecord* LastSuspended(const ItemList& list) {
    ItemRecord* found = nullptr;
    for (ItemRecord* record : list) {
        if (record->suspended != 0) {
            found = record;
        }
    }
    return found;
}

int32_t FirstSelectedStep(const ItemList& list) {
    for (ItemRecord* record : list) {
        if (IsSelected(record) && !IsMarker(record)) {
            return record->undoStep;
        }
    }
    return -1;
}

int CountSelectedUnits(ItemList& list, bool countGroupsOnce) {
    // A set of counted groups does the work of marking each counted group's records, without a
    // pass over the list per group; the marks end cleared either way.
    ClearMarks(list);
    std::unordered_set<int32_t> countedGroups;
    int count = 0;
    for (ItemRecord* record : list) {
        if (!IsSelected(record)) {
            continue;
        }
        if (countGroupsOnce && record->groupId > 0) {
            if (countedGroups.insert(record->groupId).second) {
                ++count;
            }
        } else {
            ++count;
        }
    }
    ClearMarks(list);
    return count;
}

bool AnyGroupSelected(const ItemList& list) {
    for (ItemRecord* record : list) {
        if (IsSelected(record) && record->groupId > 0) {
            return true;
        }
    }
    return false;
}

bool AllSelectedGrouped(const ItemList& list) {
    for (ItemRecord* record : list) {
        if (IsSelected(record) && record->groupId == 0) {
            return false;
        }
    }
    return true;
}

int CountSelectedMarkers(const ItemList& list) {
    int count = 0;
    for (ItemRecord* record : list) {
        if (IsSelected(record) && IsMarker(record)) {
            ++count;
        }
    }
    return count;
}

ItemRecord* LastSelectedMarker(const ItemList& list) {
    ItemRecord* found = nullptr;
    for (ItemRecord* record : list) {
        if (IsSelected(record) && IsMarker(record)) {
            found = record;
        }
    }
    return found;
}

bool SameKindSelection(const ItemList& list) {
    const ItemRecord* reference = nullptr;
    for (ItemRecord* record : list) {
        if (!IsSelected(record) || IsMarker(record)) {
            continue;
        }
        if (!reference) {
            reference = record;
            continue;
        }
        if (record->kind != reference->kind) {
            return false;
        }
        bool curveKind = record->kind == ItemKind::Spline || record->kind == ItemKind::Curve;
        if (curveKind && (record->shapeMode == 0) != (reference->shapeMode == 0)) {
            return false;
        }
    }
    return reference != nullptr;
}

// ---- stacking ----

int32_t MaxZOrder(const ItemList& list) {
    int32_t largest = 0;
    for (ItemRecord* record : list) {
        if (IsItemClass(record)) {
            largest = std::max<int32_t>(largest, record->zOrder);
        }
    }
    return largest;
}

int32_t NextZOrder(ItemList& list) {
    return NextFreeNumber(list, Counter::ZOrder);
}

NumberSequence StackingSequence(const ItemList& list) {
    return NumberSequence(list, Counter::ZOrder);
}

ItemRecord* FindByZOrder(const ItemList& list, int32_t zOrder) {
    for (ItemRecord* record : list) {
        if (IsLiveItem(record) && record->zOrder == zOrder) {
            return record;
        }
    }
    return nullptr;
}

void ShiftStacking(ItemList& list, int64_t low, int64_t high, int32_t delta, const ItemRecord* except) {
    if (low > high) {
        return;
    }
    std::unordered_set<int32_t> moved;
    std::vector<ItemRecord*> toMove;
    for (ItemRecord* record : list) {
        int32_t z = record->zOrder;
        if (record != except && IsLiveItem(record) && z >= low && z <= high && moved.insert(z).second) {
            toMove.push_back(record);
        }
    }
    for (ItemRecord* record : toMove) {
        record->zOrder = SaturateInt32(static_cast<int64_t>(record->zOrder) + delta);
    }
}

void SendToBack(ItemList& list, ItemRecord* record) {
    if (list.empty() || !record) {
        return;
    }
    ShiftStacking(list, 1, static_cast<int64_t>(record->zOrder) - 1, +1);
    record->zOrder = 1;
}

void BringToFront(ItemList& list, ItemRecord* record) {
    if (list.empty() || !record) {
        return;
    }
    int32_t front = MaxZOrder(list);
    ShiftStacking(list, static_cast<int64_t>(record->zOrder) + 1, front, -1);
    record->zOrder = front;
}

// ---- groups ----

int32_t NextGroupId(ItemList& list) {
    return NextFreeNumber(list, Counter::GroupId);
}

bool GroupInUse(const ItemList& list, int32_t id) {
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->groupId == id) {
            return true;
        }
    }
    return false;
}

void RenameGroup(ItemList& list, int32_t from, int32_t to) {
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->groupId == from) {
            record->groupId = to;
        }
    }
}

void MarkGroup(ItemList& list, int32_t id, bool flag) {
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->groupId == id) {
            record->mark = flag ? 255 : 0;
        }
    }
}

void ClearMarks(ItemList& list) {
    for (ItemRecord* record : list) {
        record->mark = 0;
    }
}

Point GroupCentre(const ItemList& list, int32_t id) {
    int64_t sumX = 0, sumY = 0, count = 0;
    for (ItemRecord* record : list) {
        if (IsSelected(record) && record->groupId == id && !IsMarker(record) &&
            record->kind != ItemKind::Deletion) {
            sumX += static_cast<int64_t>(record->x1) + record->x2;
            sumY += static_cast<int64_t>(record->y1) + record->y2;
            count += 2;
        }
    }
    if (count == 0) {
        return {0, 0};
    }
    return {nearest(static_cast<double>(sumX) / static_cast<double>(count)),
            nearest(static_cast<double>(sumY) / static_cast<double>(count))};
}

namespace {

// Every selected record gets the group id; selected group markers become deletion records, so
// a former group's marker disappears.
void RegroupSelection(ItemList& list, int32_t groupId) {
    for (ItemRecord* record : list) {
        if (!IsSelected(record)) {
            continue;
        }
        record->groupId = groupId;
        if (IsMarker(record)) {
            record->kind = ItemKind::Deletion;
        }
    }
}

void AfterGroupChange(const EditHooks& hooks) {
    if (hooks.redraw) {
        hooks.redraw();
    }
    if (hooks.refreshPanels) {
        hooks.refreshPanels();
    }
}

} // namespace

void JoinItems(ItemList& list, const EditHooks& hooks) {
    if (hooks.makeNewVersions) {
        hooks.makeNewVersions(list);
    }
    int32_t group = NextGroupId(list);
    int32_t step = FirstSelectedStep(list);
    if (step < 0) {
        return;
    }
    RegroupSelection(list, group);
    Point centre = GroupCentre(list, group);

    ItemRecord* marker = CreateRecord(list, ItemKind::GroupMarker);
    marker->groupId = group;
    marker->selected = 255;
    marker->undoStep = step;
    marker->x1 = marker->x2 = marker->baseX1 = marker->baseX2 = centre.x;
    marker->y1 = marker->y2 = marker->baseY1 = marker->baseY2 = centre.y;
    SetWorldFromPixels(marker, list.screen);
    marker->spanLength = 0;
    marker->direction = 0.0;
    AfterGroupChange(hooks);
}

void SplitGroup(ItemList& list, const EditHooks& hooks) {
    if (hooks.makeNewVersions) {
        hooks.makeNewVersions(list);
    }
    RegroupSelection(list, 0);
    SelectOnly(list, nullptr);
    AfterGroupChange(hooks);
}

void CompactGroupIds(ItemList& list) {
    // Renaming the largest id into the smallest hole until no hole is left fills the holes in
    // ascending order with the ids above the final count in descending order; one sorted pass
    // gives the same renaming.
    std::vector<int32_t> ids;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->groupId > 0) {
            ids.push_back(record->groupId);
        }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const int64_t count = static_cast<int64_t>(ids.size());

    std::vector<int32_t> holes;
    size_t next = 0;
    for (int64_t id = 1; id <= count; ++id) {
        if (next < ids.size() && ids[next] == id) {
            ++next;
        } else {
            holes.push_back(static_cast<int32_t>(id));
        }
    }
    std::vector<int32_t> above(ids.begin() + static_cast<std::ptrdiff_t>(next), ids.end());
    std::reverse(above.begin(), above.end());

    if (holes.empty()) {
        return;
    }
    std::vector<std::pair<int32_t, int32_t>> renames; // sorted by old id, for lookup
    for (size_t i = 0; i < holes.size(); ++i) {
        renames.emplace_back(above[i], holes[i]);
    }
    std::sort(renames.begin(), renames.end());
    for (ItemRecord* record : list) {
        if (!IsItemClass(record) || record->groupId <= count) {
            continue;
        }
        auto found =
            std::lower_bound(renames.begin(), renames.end(), std::pair<int32_t, int32_t>(record->groupId, 0));
        if (found != renames.end() && found->first == record->groupId) {
            record->groupId = found->second;
        }
    }
}

void SelectGroupOf(ItemList& list, ItemRecord* record, bool flag) {
    if (!record || record->groupId <= 0) {
        return;
    }
    int32_t group = record->groupId;
    for (ItemRecord* each : list) {
        if (each != record && IsLiveItem(each) && each->groupId == group) {
            each->selected = flag ? 255 : 0;
        }
    }
}

// ---- searches ----

ItemRecord* FindBySerial(const ItemList& list, int32_t serial) {
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->serial == serial) {
            return record;
        }
    }
    return nullptr;
}

ItemRecord* FindPictureData(const ItemList& list, int32_t pictureId) {
    for (ItemRecord* record : list) {
        if (record->kind == ItemKind::PictureData && record->pictureId == pictureId) {
            return record;
        }
    }
    return nullptr;
}

int CountPictureUsers(const ItemList& list, int32_t pictureId) {
    int count = 0;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->pictureId == pictureId) {
            ++count;
        }
    }
    return count;
}

bool LiveClipOfPicture(const ItemList& list, int32_t pictureId) {
    for (ItemRecord* record : list) {
        if (record->kind == ItemKind::Clip && record->deleted == 0 && record->pictureId == pictureId) {
            return true;
        }
    }
    return false;
}

bool ClipboardHasItems(const ItemList& list) {
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->suspended == 0 && record->deleted == 0) {
            return true;
        }
    }
    return false;
}

std::optional<int32_t> NextPatternId(const ItemList& list) {
    int64_t smallest = 0;
    for (ItemRecord* record : list) {
        if (record->recordClass == RecordClass::LinePattern) {
            smallest = std::min<int64_t>(smallest, record->kind);
        }
    }
    int64_t id = smallest - 1;
    if (id < std::numeric_limits<int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(id);
}

} // namespace vlr
